#pragma once

#include <vector>

#include "Framework/Sprite2D.h"

class Button2D;
class Grid2D;
class Key;

// The character the user steers through a floor. It walks in eight directions against the
// walls of the tile grid, disguises as an office object while J is held, turns
// half-transparent for two seconds once per level (K) and picks up key cards (E). While
// disguised or stealthed it is concealed: co-workers cannot build up their detection.
class Player : public Sprite2D
{
public:
  Player();
  ~Player() override;

  // One frame of play; the level calls it only while play runs.
  void Update(const float& dt) override;
  // The body, then the smoke puff and the E prompt. The heads-up icons are drawn by the
  // camera overlay.
  void Draw() override;

  // Key cards still lying in the level; a taken card is removed from it and deleted.
  std::vector<Key*>* keys = nullptr;
  // Value of the carried card: 0 none, Key::kAccessCard the access card.
  int heldCard = 0;
  Grid2D* tilemap = nullptr;
  // Row of the sprite sheet: 0 down, then clockwise to 7 down-right; 8 to 10 disguised.
  int frame = 0;
  Sprite2D* smoke = nullptr;
  float stealthTime = 0.0f;
  // Heads-up icons, owned by the camera overlay. Null when the overlay already showed
  // another player's icons under the same names (only the first player has a heads-up).
  Button2D* iconJ = nullptr;
  Button2D* iconK = nullptr;
  float hudTime = 0.0f;
  Sprite2D* iconE = nullptr;
  Button2D* keyIcon = nullptr;
  float transformCooldown = 0.0f;
  bool stealthUsed = false;
  bool transformed = false;
  bool stealthed = false;
  bool concealed = false;
  float smokeTime = 0.0f;

private:
  struct WalkInput
  {
    bool up;
    bool down;
    bool left;
    bool right;
  };

  static WalkInput ReadWalkInput();
  void UpdateHeadsUp(const float& dt);
  void UpdateDisguise(const float& dt);
  VNVec2 Walk(const float& dt);
  // A straight walk along heading (one axis, unit length) blocked by a corner within half
  // a tile to one side: the sideways step that slides the player around it, or zero (a
  // flat wall, or no room beside).
  VNVec2 SlideAroundCorner(const VNVec2& heading, float s) const;
  bool CanStep(float x0, float y0, float x1, float y1) const;
  void PickUpKey();
  void StartStealth();
};
