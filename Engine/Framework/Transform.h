#pragma once

#include "Vorn.h"

// Red, green, blue and alpha multipliers, each nominally 0 to 1.
struct Color4
{
  float r = 1.0f;
  float g = 1.0f;
  float b = 1.0f;
  float a = 1.0f;
};

// Where a drawable sits in the world: the centre point, scale factors, rotation in degrees
// (counter-clockwise) and a tint whose alpha is the transparency.
struct Transform
{
  VNVec2 position = {0.0f, 0.0f};
  VNVec2 scale = {0.0f, 0.0f};
  float rotation = 180.0f;
  Color4 tint;
};
