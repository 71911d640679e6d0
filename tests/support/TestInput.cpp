#include "TestInput.h"
#include "TestWindow.h"

#include "Input/VNGamepad.h"
#include "Input/VNInput.h"
#include "Input/VNInputInternal.h"
#include "System/VNSystem.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace
{

SDL_Joystick* sVirtualPad = nullptr;

struct PadButton
{
  unsigned short mask;
  SDL_GameControllerButton button;
};

const PadButton kPadButtons[] = {
    {VN_PAD_A, SDL_CONTROLLER_BUTTON_A},
    {VN_PAD_B, SDL_CONTROLLER_BUTTON_B},
    {VN_PAD_X, SDL_CONTROLLER_BUTTON_X},
    {VN_PAD_Y, SDL_CONTROLLER_BUTTON_Y},
    {VN_PAD_BACK, SDL_CONTROLLER_BUTTON_BACK},
    {VN_PAD_START, SDL_CONTROLLER_BUTTON_START},
    {VN_PAD_LEFT_THUMB, SDL_CONTROLLER_BUTTON_LEFTSTICK},
    {VN_PAD_RIGHT_THUMB, SDL_CONTROLLER_BUTTON_RIGHTSTICK},
    {VN_PAD_LEFT_SHOULDER, SDL_CONTROLLER_BUTTON_LEFTSHOULDER},
    {VN_PAD_RIGHT_SHOULDER, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER},
    {VN_PAD_DPAD_UP, SDL_CONTROLLER_BUTTON_DPAD_UP},
    {VN_PAD_DPAD_DOWN, SDL_CONTROLLER_BUTTON_DPAD_DOWN},
    {VN_PAD_DPAD_LEFT, SDL_CONTROLLER_BUTTON_DPAD_LEFT},
    {VN_PAD_DPAD_RIGHT, SDL_CONTROLLER_BUTTON_DPAD_RIGHT},
};

void Push(SDL_Event& event)
{
  event.common.timestamp = SDL_GetTicks();
  ASSERT_EQ(1, SDL_PushEvent(&event)) << SDL_GetError();
}

int DeviceIndexOf(SDL_JoystickID id)
{
  for (int i = 0; i < SDL_NumJoysticks(); ++i)
    if (SDL_JoystickGetDeviceInstanceID(i) == id)
      return i;
  return -1;
}

// An event of the given type addressed to the engine window.
SDL_Event WindowEvent(Uint32 type)
{
  SDL_Event event = {};
  event.type = type;
  event.window.windowID = SDL_GetWindowID(static_cast<SDL_Window*>(VNSysGetWindowHandle()));
  return event;
}

} // namespace

void InjectKey(unsigned char vk, bool down)
{
  const SDL_Keycode key = VNInputSDLKeyFromKey(vk);
  ASSERT_NE(SDLK_UNKNOWN, key) << "no SDL key for virtual key " << int(vk);
  InjectSDLKey(key, down);
}

void InjectSDLKey(int key, bool down)
{
  SDL_Event event = WindowEvent(down ? SDL_KEYDOWN : SDL_KEYUP);
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.sym = key;
  event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
  Push(event);
}

void InjectMouseButton(unsigned char vk, bool down)
{
  const Uint8 button = VNInputSDLButtonFromKey(vk);
  ASSERT_NE(0, button) << "virtual key " << int(vk) << " is not a mouse button";
  SDL_Event event = WindowEvent(down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP);
  event.button.button = button;
  event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.button.clicks = 1;
  Push(event);
}

void InjectMouseMove(int x, int y)
{
  SDL_Event event = WindowEvent(SDL_MOUSEMOTION);
  event.motion.x = x;
  event.motion.y = y;
  Push(event);
}

void InjectWheel(int notches)
{
  SDL_Event event = WindowEvent(SDL_MOUSEWHEEL);
  event.wheel.y = notches;
  event.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
  Push(event);
}

void InjectWindowEvent(int sdlWindowEventId)
{
  SDL_Event event = WindowEvent(SDL_WINDOWEVENT);
  event.window.event = static_cast<Uint8>(sdlWindowEventId);
  Push(event);
}

void DispatchAndSample()
{
  VNSysUpdate();
  VNInputUpdate();
}

int AttachVirtualPad()
{
  EnsureTestWindow();
  if (sVirtualPad)
    return DeviceIndexOf(SDL_JoystickInstanceID(sVirtualPad));
  const int index = SDL_JoystickAttachVirtual(
      SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MAX, 0);
  if (index < 0)
    return -1;
  sVirtualPad = SDL_JoystickOpen(index);
  if (!sVirtualPad)
  {
    SDL_JoystickDetachVirtual(index);
    return -1;
  }
  // Start at rest as a real pad does: sticks centred, triggers released. SDL takes an
  // axis's first value as its rest position.
  for (int axis = 0; axis < SDL_CONTROLLER_AXIS_MAX; ++axis)
  {
    const bool trigger =
        axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT || axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT;
    SDL_JoystickSetVirtualAxis(sVirtualPad, axis, trigger ? SDL_JOYSTICK_AXIS_MIN : 0);
  }
  VNSysUpdate();
  // The game reads the pad every frame, so the engine opens it right after it is
  // plugged in, while it is still at rest.
  VNGamepadState state;
  VNGamepadGetState(0, &state);
  return index;
}

void SetVirtualPadButton(unsigned short mask, bool down)
{
  ASSERT_NE(nullptr, sVirtualPad) << "no virtual pad attached";
  for (const PadButton& entry : kPadButtons)
    if (mask & entry.mask)
      SDL_JoystickSetVirtualButton(sVirtualPad, entry.button, down ? 1 : 0);
}

void SetVirtualPadStick(int axis, short value)
{
  ASSERT_NE(nullptr, sVirtualPad) << "no virtual pad attached";
  SDL_JoystickSetVirtualAxis(sVirtualPad, axis, value);
}

void DetachVirtualPad()
{
  if (!sVirtualPad)
    return;
  const int index = DeviceIndexOf(SDL_JoystickInstanceID(sVirtualPad));
  SDL_JoystickClose(sVirtualPad);
  sVirtualPad = nullptr;
  if (index >= 0)
    SDL_JoystickDetachVirtual(index);
  VNSysUpdate();
}
