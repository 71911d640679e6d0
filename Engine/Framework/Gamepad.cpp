#include "Framework/Gamepad.h"

namespace
{

const unsigned kPadIndex = 0;

const uint16_t kMasks[Gamepad::BUTTON_COUNT] = {
    VN_PAD_A,
    VN_PAD_B,
    VN_PAD_X,
    VN_PAD_Y,
    VN_PAD_DPAD_UP,
    VN_PAD_DPAD_DOWN,
    VN_PAD_DPAD_LEFT,
    VN_PAD_DPAD_RIGHT,
    VN_PAD_LEFT_SHOULDER,
    VN_PAD_RIGHT_SHOULDER,
    VN_PAD_LEFT_THUMB,
    VN_PAD_RIGHT_THUMB,
    VN_PAD_START,
    VN_PAD_BACK,
};

} // namespace

VNGamepadState Gamepad::state = {};
bool Gamepad::previous[BUTTON_COUNT] = {};
bool Gamepad::held[BUTTON_COUNT] = {};
bool Gamepad::triggered[BUTTON_COUNT] = {};

uint16_t Gamepad::Mask(int button)
{
  return button >= 0 && button < BUTTON_COUNT ? kMasks[button] : 0;
}

void Gamepad::Update()
{
  VNGamepadGetState(kPadIndex, &state);
  for (int i = 0; i < BUTTON_COUNT; ++i)
  {
    held[i] = (state.buttons & kMasks[i]) == kMasks[i];
    triggered[i] = held[i] && !previous[i];
  }
}

void Gamepad::EndFrame()
{
  for (int i = 0; i < BUTTON_COUNT; ++i)
    previous[i] = held[i];
}

bool Gamepad::IsHeld(int button)
{
  return (state.buttons & Mask(button)) != 0;
}

bool Gamepad::IsConnected()
{
  return VNGamepadGetState(kPadIndex, &state) == 1;
}
