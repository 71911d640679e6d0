#pragma once

#include "Framework/Sprite2D.h"

// A key card lying on the floor. One card of a level is the real access card (value 50),
// the others are decoys (value 0) that vanish when taken.
class Key : public Sprite2D
{
public:
  // The card's value every exit asks for.
  static constexpr int kAccessCard = 50;

  Key(float x, float y);

  int cardValue = 0;
  // Where the card lies; the player's pick-up distance is measured to it.
  VNVec2 home;
};
