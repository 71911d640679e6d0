// The first game controller, sampled once per frame: its raw state and, for fourteen
// buttons, whether each is held and whether it went down this frame.
#pragma once

#include "Vorn.h"

class Gamepad
{
public:
  // Button numbers, used to index held, previous and triggered.
  enum Button
  {
    A = 0,
    B,
    X,
    Y,
    DPAD_UP,
    DPAD_DOWN,
    DPAD_LEFT,
    DPAD_RIGHT,
    LEFT_SHOULDER,
    RIGHT_SHOULDER,
    LEFT_THUMB,
    RIGHT_THUMB,
    START,
    BACK,
    BUTTON_COUNT
  };

  // Reads the pad (all zero when none is connected) and works out held and triggered.
  static void Update();
  // This frame's held buttons become the previous frame's.
  static void EndFrame();
  // Any bit of the button's mask set in the state as last read.
  static bool IsHeld(int button);
  // Reads the pad again into state; true when one is connected.
  static bool IsConnected();
  // The pad mask of a button number.
  static uint16_t Mask(int button);

  static VNGamepadState state;
  static bool previous[BUTTON_COUNT];
  static bool held[BUTTON_COUNT];
  static bool triggered[BUTTON_COUNT];
};
