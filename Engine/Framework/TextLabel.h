#pragma once

#include <string>

#include "Framework/Transform.h"

// A piece of overlay text printed at its position, in its tint (black unless its owner
// changes it). The width is an estimate used to centre captions: 20 units per character.
struct TextLabel : Transform
{
  std::string text;
  float width = 0.0f;
  float height = 30.0f;
  // Drawn with a dark outline, for text over the floor whatever its colour.
  bool outlined = false;

  TextLabel() { tint = {0.0f, 0.0f, 0.0f, 1.0f}; }
  TextLabel(const std::string& labelText, float x, float y) : TextLabel()
  {
    position = {x, y};
    SetText(labelText);
  }

  void SetText(const std::string& labelText)
  {
    text = labelText;
    width = static_cast<float>(text.size()) * 20.0f;
  }
};
