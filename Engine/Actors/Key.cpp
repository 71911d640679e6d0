#include "Actors/Key.h"

Key::Key(float x, float y) : Sprite2D(1, 1, "Assets/Tilemap/keycard.png", x, y), home{x, y}
{
  width = 50.0f;
  height = 50.0f;
  meshBuilt = false;
}
