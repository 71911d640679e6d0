// Keyboard, mouse and pad as a frame sees them: SDL events dispatched by the real
// VNSysUpdate, samples taken once a frame, the cursor in logical pixels, and a virtual
// game controller plugged in and out while running.
#include "TestInput.h"
#include "TestWindow.h"

#include "Framework/Gamepad.h"
#include "Vorn.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <string>

namespace
{

using Ints = std::array<int, 4>;

// The cursor position and its movement over the last frame.
Ints Cursor()
{
  Ints c;
  VNInputGetCursorPosition(&c[0], &c[1]);
  VNInputGetCursorPositionDelta(&c[2], &c[3]);
  return c;
}

// Current, previous, triggered and released, as a string such as "CP--".
std::string Sample(uint8_t key)
{
  return std::string() + (VNInputCheckCurr(key) ? 'C' : '-') + (VNInputCheckPrev(key) ? 'P' : '-') +
         (VNInputCheckTriggered(key) ? 'T' : '-') + (VNInputCheckReleased(key) ? 'R' : '-');
}

class Input : public ::testing::Test
{
protected:
  void SetUp() override
  {
    EnsureTestWindow();
    SettleWindowEvents();
    VNInputReset();
  }
  void TearDown() override { DetachVirtualPad(); }
};

TEST_F(Input, EachPressAndReleaseIsSeenForOneFrameOnlyWhenSampled)
{
  // Per frame: 'd' presses W before the dispatch, 'u' releases it, '.' does nothing.
  const char* const frames = "d...u..";
  const char* const seen[] = {"C-T-", "CP--", "CP--", "CP--", "-P-R", "----", "----"};
  for (int frame = 0; frames[frame]; ++frame)
  {
    if (frames[frame] != '.')
      InjectKey('W', frames[frame] == 'd');
    DispatchAndSample();
    EXPECT_EQ(seen[frame], Sample('W')) << "frame " << frame;
  }

  // A dispatch alone does not sample.
  InjectKey(VN_KEY_SPACE, true);
  VNSysUpdate();
  EXPECT_EQ("----", Sample(VN_KEY_SPACE));
  InjectKey(VN_KEY_SPACE, false);
  DispatchAndSample();

  // A reset forgets the samples; a key still held then shows as a new press.
  InjectKey('A', true);
  DispatchAndSample();
  VNInputReset();
  EXPECT_EQ("----", Sample('A'));
  DispatchAndSample();
  EXPECT_EQ("C-T-", Sample('A'));
  InjectKey('A', false);
  DispatchAndSample();
}

TEST_F(Input, KeysAndButtonsArriveUnderTheirVirtualKeyCodesAndEitherShiftIsShift)
{
  // An SDL key of 0 stands for the mouse button of that virtual-key code.
  const struct
  {
    SDL_Keycode sdl;
    uint8_t vk;
  } keys[] = {{SDLK_ESCAPE, 0x1B}, {SDLK_SPACE, 0x20}, {SDLK_TAB, 0x09},  {SDLK_RETURN, 0x0D},
              {SDLK_F1, 0x70},     {SDLK_F8, 0x77},    {SDLK_LEFT, 0x25}, {SDLK_DOWN, 0x28},
              {SDLK_a, 'A'},       {SDLK_z, 'Z'},      {SDLK_0, '0'},     {SDLK_9, '9'},
              {0, 0x01},           {0, 0x02},          {0, 0x04}};
  for (const auto& key : keys)
    for (bool down : {true, false})
    {
      if (key.sdl)
        InjectSDLKey(key.sdl, down);
      else
        InjectMouseButton(key.vk, down);
      DispatchAndSample();
      EXPECT_EQ(down ? "C-T-" : "-P-R", Sample(key.vk)) << int(key.vk);
    }

  InjectSDLKey(SDLK_LSHIFT, true);
  InjectSDLKey(SDLK_RSHIFT, true);
  DispatchAndSample();
  InjectSDLKey(SDLK_LSHIFT, false);
  DispatchAndSample();
  EXPECT_EQ("-P-R", Sample(VN_KEY_LSHIFT));
  EXPECT_EQ("CP--", Sample(VN_KEY_SHIFT)) << "right shift is still down";
  InjectSDLKey(SDLK_RSHIFT, false);
  DispatchAndSample();
  EXPECT_EQ("-P-R", Sample(VN_KEY_SHIFT));
}

TEST_F(Input, CursorMovesInLogicalPixelsAndOnlyWhereItEndsUpCounts)
{
  InjectMouseMove(100, 50);
  DispatchAndSample();
  EXPECT_EQ((Ints{100, 50, 100, 50}), Cursor()) << "a reset puts the cursor at (0, 0)";
  InjectMouseMove(90, 80);
  InjectMouseMove(110, 45);
  DispatchAndSample();
  EXPECT_EQ((Ints{110, 45, 10, -5}), Cursor());

  // Full screen on a 1920 x 1080 screen: screen pixels over 1.5, truncated.
  VNToogleFullScreen(true);
  SettleWindowEvents();
  InjectMouseMove(1916, 1076);
  DispatchAndSample();
  InjectMouseMove(1919, 1079);
  DispatchAndSample();
  const Ints fullScreen = Cursor();
  VNToogleFullScreen(false);
  SettleWindowEvents();
  EXPECT_EQ((Ints{1279, 719, 2, 2}), fullScreen);
}

TEST_F(Input, PadPlugsInAndOutWhileRunningReadsAsARecordAndTriggersOncePerPress)
{
  VNGamepadState state;
  EXPECT_EQ(0, VNGamepadGetState(0, &state));
  ASSERT_GE(AttachVirtualPad(), 0) << SDL_GetError();

  // Sticks are signed with y up; triggers run from 0 to 255.
  const short axes[] = {12000, -32768, -32768, 32767, 32767, 0};
  for (int axis = 0; axis < 6; ++axis)
    SetVirtualPadStick(axis, axes[axis]);
  VNSysUpdate();
  EXPECT_EQ(1, VNGamepadGetState(0, &state));
  EXPECT_EQ((std::array<int, 6>{12000, 32767, -32768, -32767, 255, 127}),
            (std::array<int, 6>{state.thumbLX, state.thumbLY, state.thumbRX, state.thumbRY,
                                state.leftTrigger, state.rightTrigger}));

  for (unsigned short mask = 1; mask; mask <<= 1)
  {
    if (mask & 0x0C00)
      continue; // no buttons have these bits
    SetVirtualPadButton(mask, true);
    VNSysUpdate();
    VNGamepadGetState(0, &state);
    EXPECT_EQ(mask, state.buttons);
    SetVirtualPadButton(mask, false);
  }

  SetVirtualPadButton(VN_PAD_START, true);
  DetachVirtualPad();
  EXPECT_EQ(0, VNGamepadGetState(0, &state));
  EXPECT_EQ(0, state.buttons + state.thumbLX + state.leftTrigger) << "an unplugged pad reads zero";
  ASSERT_GE(AttachVirtualPad(), 0) << SDL_GetError();
  EXPECT_EQ(1, VNGamepadGetState(0, &state)) << "plugged in again";

  // The game's pad triggers a button once per press.
  const char* const frames = "d..ud.u";
  for (int frame = 0; frames[frame]; ++frame)
  {
    if (frames[frame] != '.')
      SetVirtualPadButton(VN_PAD_A, frames[frame] == 'd');
    VNSysUpdate();
    Gamepad::Update();
    EXPECT_EQ(frame == 0 || frame == 4, Gamepad::triggered[Gamepad::A]) << "frame " << frame;
    Gamepad::EndFrame();
  }
}

} // namespace
