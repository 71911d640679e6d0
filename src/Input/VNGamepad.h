/*
 * VNGamepad: the first game controller read into a fixed record:
 * a 16-bit button mask, two trigger bytes and two thumb sticks as signed 16-bit with
 * y up. Controllers may be plugged in and out while the program runs.
 */
#pragma once

#include <stdint.h>

extern "C"
{

  enum
  {
    VN_PAD_DPAD_UP = 0x0001,
    VN_PAD_DPAD_DOWN = 0x0002,
    VN_PAD_DPAD_LEFT = 0x0004,
    VN_PAD_DPAD_RIGHT = 0x0008,
    VN_PAD_START = 0x0010,
    VN_PAD_BACK = 0x0020,
    VN_PAD_LEFT_THUMB = 0x0040,
    VN_PAD_RIGHT_THUMB = 0x0080,
    VN_PAD_LEFT_SHOULDER = 0x0100,
    VN_PAD_RIGHT_SHOULDER = 0x0200,
    VN_PAD_A = 0x1000,
    VN_PAD_B = 0x2000,
    VN_PAD_X = 0x4000,
    VN_PAD_Y = 0x8000
  };

  struct VNGamepadState
  {
    uint32_t packetNumber;
    uint16_t buttons;
    uint8_t leftTrigger, rightTrigger;
    int16_t thumbLX, thumbLY, thumbRX, thumbRY;
  };

  /* Fills *state (all zero when no pad) and returns 1 when pad `index` is connected,
 * 0 otherwise. The pad's state is as of the last VNSysUpdate. Pads plugged in while the
 * program runs are picked up by the next call. */
  int VNGamepadGetState(unsigned index, VNGamepadState* state);
  /* Closes every controller the engine opened; VNSysExit calls it. */
  void VNGamepadExit(void);
}
