/*
 * VNInput: keyboard and mouse samples. SDL key and button events update a live 256-byte
 * key array and a live cursor as VNSysUpdate dispatches them; VNInputUpdate copies that
 * live state into the current sample once per frame, and queries only read the samples.
 * A press that is released again before the next sample (a touchpad tap, a quick key tap
 * at a low frame rate) still shows: that sample sees the key down, the one after sees it
 * released.
 */
#include "Input/VNInput.h"
#include "Input/VNInputInternal.h"
#include "System/VNSystem.h"

#include <SDL.h>
#include <string.h>

namespace
{

const uint8_t kDownBit = 0x80;

struct InputState
{
  uint8_t live[256];
  // Set when a key goes down, cleared by each sample: a press the sample must not miss.
  bool pressedSinceSample[256];
  uint8_t current[256];
  uint8_t previous[256];
  int liveX, liveY;
  int cursorX, cursorY;
  int deltaX, deltaY;
  int cursorCounter;
};

InputState sInput;

struct KeyPair
{
  SDL_Keycode sdl;
  uint8_t vk;
};

// Keys whose virtual-key code is not their upper-case ASCII code.
const KeyPair kKeyTable[] = {
    {SDLK_BACKSPACE, VN_KEY_BACK},  {SDLK_TAB, VN_KEY_TAB},       {SDLK_RETURN, VN_KEY_RETURN},
    {SDLK_KP_ENTER, VN_KEY_RETURN}, {SDLK_ESCAPE, VN_KEY_ESCAPE}, {SDLK_SPACE, VN_KEY_SPACE},
    {SDLK_PAGEUP, VN_KEY_PRIOR},    {SDLK_PAGEDOWN, VN_KEY_NEXT}, {SDLK_END, VN_KEY_END},
    {SDLK_HOME, VN_KEY_HOME},       {SDLK_LEFT, VN_KEY_LEFT},     {SDLK_UP, VN_KEY_UP},
    {SDLK_RIGHT, VN_KEY_RIGHT},     {SDLK_DOWN, VN_KEY_DOWN},     {SDLK_INSERT, VN_KEY_INSERT},
    {SDLK_DELETE, VN_KEY_DELETE},   {SDLK_F1, VN_KEY_F1},         {SDLK_F2, VN_KEY_F2},
    {SDLK_F3, VN_KEY_F3},           {SDLK_F4, VN_KEY_F4},         {SDLK_F5, VN_KEY_F5},
    {SDLK_F6, VN_KEY_F6},           {SDLK_F7, VN_KEY_F7},         {SDLK_F8, VN_KEY_F8},
    {SDLK_LSHIFT, VN_KEY_LSHIFT},   {SDLK_RSHIFT, VN_KEY_RSHIFT}, {SDLK_LCTRL, VN_KEY_LCONTROL},
    {SDLK_RCTRL, VN_KEY_RCONTROL},  {SDLK_LALT, VN_KEY_LMENU},    {SDLK_RALT, VN_KEY_RMENU},
    {SDLK_SLASH, VN_KEY_OEM_2},
};

bool IsDown(const uint8_t* keys, uint8_t key)
{
  return (keys[key] & kDownBit) != 0;
}

// The side-less Shift, Control and Alt codes are down while either side is.
void UpdateGenericModifier(uint8_t generic, uint8_t left, uint8_t right)
{
  const bool down = IsDown(sInput.live, left) || IsDown(sInput.live, right);
  if (down && !IsDown(sInput.live, generic))
    sInput.pressedSinceSample[generic] = true;
  sInput.live[generic] = down ? kDownBit : 0;
}

int Truncate(float value)
{
  return static_cast<int>(value);
}

} // namespace

void VNInputSetKeyDown(uint8_t vk, bool down)
{
  if (vk == 0)
    return;
  if (down && !IsDown(sInput.live, vk))
    sInput.pressedSinceSample[vk] = true;
  sInput.live[vk] = down ? kDownBit : 0;
  UpdateGenericModifier(VN_KEY_SHIFT, VN_KEY_LSHIFT, VN_KEY_RSHIFT);
  UpdateGenericModifier(VN_KEY_CONTROL, VN_KEY_LCONTROL, VN_KEY_RCONTROL);
  UpdateGenericModifier(VN_KEY_MENU, VN_KEY_LMENU, VN_KEY_RMENU);
}

void VNInputSetCursor(int x, int y)
{
  sInput.liveX = x;
  sInput.liveY = y;
}

uint8_t VNInputKeyFromSDLKey(int32_t sdlKeycode)
{
  if (sdlKeycode >= SDLK_a && sdlKeycode <= SDLK_z)
    return static_cast<uint8_t>('A' + (sdlKeycode - SDLK_a));
  if (sdlKeycode >= SDLK_0 && sdlKeycode <= SDLK_9)
    return static_cast<uint8_t>(sdlKeycode);
  for (const KeyPair& pair : kKeyTable)
    if (pair.sdl == sdlKeycode)
      return pair.vk;
  return 0;
}

int32_t VNInputSDLKeyFromKey(uint8_t vk)
{
  if (vk >= 'A' && vk <= 'Z')
    return SDLK_a + (vk - 'A');
  if (vk >= '0' && vk <= '9')
    return vk;
  for (const KeyPair& pair : kKeyTable)
    if (pair.vk == vk)
      return pair.sdl;
  return SDLK_UNKNOWN;
}

uint8_t VNInputKeyFromSDLButton(uint8_t sdlButton)
{
  switch (sdlButton)
  {
  case SDL_BUTTON_LEFT: return VN_KEY_LBUTTON;
  case SDL_BUTTON_RIGHT: return VN_KEY_RBUTTON;
  case SDL_BUTTON_MIDDLE: return VN_KEY_MBUTTON;
  default: return 0;
  }
}

uint8_t VNInputSDLButtonFromKey(uint8_t vk)
{
  switch (vk)
  {
  case VN_KEY_LBUTTON: return SDL_BUTTON_LEFT;
  case VN_KEY_RBUTTON: return SDL_BUTTON_RIGHT;
  case VN_KEY_MBUTTON: return SDL_BUTTON_MIDDLE;
  default: return 0;
  }
}

int VNInputInit(void)
{
  return 1;
}

void VNInputExit(void) {}

void VNInputReset(void)
{
  memset(sInput.current, 0, sizeof(sInput.current));
  memset(sInput.previous, 0, sizeof(sInput.previous));
  memset(sInput.pressedSinceSample, 0, sizeof(sInput.pressedSinceSample));
  sInput.cursorX = sInput.cursorY = 0;
  sInput.deltaX = sInput.deltaY = 0;
}

void VNInputUpdate(void)
{
  memcpy(sInput.previous, sInput.current, sizeof(sInput.current));
  memcpy(sInput.current, sInput.live, sizeof(sInput.live));
  // A key that went down and up again since the last sample counts as down in this one,
  // unless it was already down then: a key held across samples reads as it always did.
  for (int key = 0; key < 256; ++key)
  {
    if (sInput.pressedSinceSample[key] && !IsDown(sInput.previous, static_cast<uint8_t>(key)))
      sInput.current[key] |= kDownBit;
    sInput.pressedSinceSample[key] = false;
  }

  sInput.deltaX = sInput.liveX - sInput.cursorX;
  sInput.deltaY = sInput.liveY - sInput.cursorY;
  sInput.cursorX = sInput.liveX;
  sInput.cursorY = sInput.liveY;
}

bool VNInputCheckCurr(uint8_t key)
{
  return IsDown(sInput.current, key);
}

bool VNInputCheckPrev(uint8_t key)
{
  return IsDown(sInput.previous, key);
}

bool VNInputCheckTriggered(uint8_t key)
{
  return IsDown(sInput.current, key) && !IsDown(sInput.previous, key);
}

bool VNInputCheckReleased(uint8_t key)
{
  return IsDown(sInput.previous, key) && !IsDown(sInput.current, key);
}

void VNInputGetCursorPosition(int* x, int* y)
{
  *x = Truncate(static_cast<float>(sInput.cursorX) / gVNScreenScaleX);
  *y = Truncate(static_cast<float>(sInput.cursorY) / gVNScreenScaleY);
}

void VNInputGetCursorPositionDelta(int* dx, int* dy)
{
  *dx = Truncate(static_cast<float>(sInput.deltaX) / gVNScreenScaleX);
  *dy = Truncate(static_cast<float>(sInput.deltaY) / gVNScreenScaleY);
}

int VNInputShowCursor(int show)
{
  sInput.cursorCounter += show ? 1 : -1;
  SDL_ShowCursor(sInput.cursorCounter >= 0 ? SDL_ENABLE : SDL_DISABLE);
  return sInput.cursorCounter;
}

void VNInputSetCursorVisible(int visible)
{
  sInput.cursorCounter = visible ? 0 : -1;
  SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}
