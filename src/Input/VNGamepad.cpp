/*
 * VNGamepad: SDL game controllers read into the engine's pad record. Controller slots
 * are filled in the order SDL lists the devices; a slot whose controller was unplugged
 * is closed and refilled by the next query, which is all hot-plugging needs.
 */
#include "Input/VNGamepad.h"

#include <SDL.h>
#include <string.h>

namespace
{

const unsigned kMaxPads = 4;

struct PadSlot
{
  SDL_GameController* controller;
  VNGamepadState last;
};

struct GamepadState
{
  PadSlot slots[kMaxPads];
};

GamepadState sGamepad;

struct ButtonMask
{
  SDL_GameControllerButton button;
  uint16_t mask;
};

const ButtonMask kButtons[] = {
    {SDL_CONTROLLER_BUTTON_DPAD_UP, VN_PAD_DPAD_UP},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, VN_PAD_DPAD_DOWN},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, VN_PAD_DPAD_LEFT},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, VN_PAD_DPAD_RIGHT},
    {SDL_CONTROLLER_BUTTON_START, VN_PAD_START},
    {SDL_CONTROLLER_BUTTON_BACK, VN_PAD_BACK},
    {SDL_CONTROLLER_BUTTON_LEFTSTICK, VN_PAD_LEFT_THUMB},
    {SDL_CONTROLLER_BUTTON_RIGHTSTICK, VN_PAD_RIGHT_THUMB},
    {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, VN_PAD_LEFT_SHOULDER},
    {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, VN_PAD_RIGHT_SHOULDER},
    {SDL_CONTROLLER_BUTTON_A, VN_PAD_A},
    {SDL_CONTROLLER_BUTTON_B, VN_PAD_B},
    {SDL_CONTROLLER_BUTTON_X, VN_PAD_X},
    {SDL_CONTROLLER_BUTTON_Y, VN_PAD_Y},
};

bool IsOpenedByUs(SDL_JoystickID id)
{
  for (const PadSlot& slot : sGamepad.slots)
    if (slot.controller &&
        SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(slot.controller)) == id)
      return true;
  return false;
}

// Opens the first game controller no other slot holds.
SDL_GameController* OpenNextController()
{
  for (int i = 0; i < SDL_NumJoysticks(); ++i)
  {
    if (!SDL_IsGameController(i) || IsOpenedByUs(SDL_JoystickGetDeviceInstanceID(i)))
      continue;
    if (SDL_GameController* controller = SDL_GameControllerOpen(i))
      return controller;
  }
  return nullptr;
}

// SDL's y axes grow downward and reach -32768; the record's grow upward.
int16_t FlipAxis(Sint16 value)
{
  return value == -32768 ? int16_t(32767) : int16_t(-value);
}

uint8_t TriggerByte(Sint16 value)
{
  return value <= 0 ? 0 : uint8_t(int32_t(value) * 255 / 32767);
}

void Read(SDL_GameController* controller, VNGamepadState* state)
{
  for (const ButtonMask& entry : kButtons)
    if (SDL_GameControllerGetButton(controller, entry.button))
      state->buttons |= entry.mask;
  state->leftTrigger =
      TriggerByte(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_TRIGGERLEFT));
  state->rightTrigger =
      TriggerByte(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_TRIGGERRIGHT));
  state->thumbLX = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX);
  state->thumbLY = FlipAxis(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY));
  state->thumbRX = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_RIGHTX);
  state->thumbRY = FlipAxis(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_RIGHTY));
}

bool SameInputs(const VNGamepadState& a, const VNGamepadState& b)
{
  return a.buttons == b.buttons && a.leftTrigger == b.leftTrigger &&
         a.rightTrigger == b.rightTrigger && a.thumbLX == b.thumbLX && a.thumbLY == b.thumbLY &&
         a.thumbRX == b.thumbRX && a.thumbRY == b.thumbRY;
}

} // namespace

int VNGamepadGetState(unsigned index, VNGamepadState* state)
{
  memset(state, 0, sizeof(*state));
  if (index >= kMaxPads || !SDL_WasInit(SDL_INIT_GAMECONTROLLER))
    return 0;

  PadSlot& slot = sGamepad.slots[index];
  if (slot.controller && !SDL_GameControllerGetAttached(slot.controller))
  {
    SDL_GameControllerClose(slot.controller);
    slot.controller = nullptr;
  }
  if (!slot.controller)
    slot.controller = OpenNextController();
  if (!slot.controller)
    return 0;

  Read(slot.controller, state);
  // The packet number moves only when something on the pad changed.
  state->packetNumber = slot.last.packetNumber;
  if (!SameInputs(*state, slot.last))
    ++state->packetNumber;
  slot.last = *state;
  return 1;
}

void VNGamepadExit(void)
{
  for (PadSlot& slot : sGamepad.slots)
  {
    if (slot.controller)
      SDL_GameControllerClose(slot.controller);
    slot = PadSlot();
  }
}
