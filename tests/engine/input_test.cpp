#include "TestInput.h"
#include "TestWindow.h"

#include "Input/VNInput.h"
#include "System/VNSystem.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <utility>

namespace
{

using XY = std::pair<int, int>;

XY Cursor()
{
  XY at;
  VNInputGetCursorPosition(&at.first, &at.second);
  return at;
}

XY Delta()
{
  XY moved;
  VNInputGetCursorPositionDelta(&moved.first, &moved.second);
  return moved;
}

class VNInputTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    EnsureTestWindow();
    SettleWindowEvents();
    VNInputReset();
  }
};

TEST_F(VNInputTest, PressHoldReleaseAreEachSeenForOneFrame)
{
  InjectKey('W', true);
  DispatchAndSample();
  EXPECT_TRUE(VNInputCheckTriggered('W'));
  EXPECT_TRUE(VNInputCheckCurr('W'));
  EXPECT_FALSE(VNInputCheckPrev('W'));
  EXPECT_FALSE(VNInputCheckReleased('W'));

  for (int frame = 0; frame < 5; ++frame)
  {
    DispatchAndSample();
    EXPECT_FALSE(VNInputCheckTriggered('W')) << "frame " << frame;
    EXPECT_TRUE(VNInputCheckCurr('W')) << "frame " << frame;
    EXPECT_TRUE(VNInputCheckPrev('W')) << "frame " << frame;
    EXPECT_FALSE(VNInputCheckReleased('W')) << "frame " << frame;
  }

  InjectKey('W', false);
  DispatchAndSample();
  EXPECT_TRUE(VNInputCheckReleased('W'));
  EXPECT_FALSE(VNInputCheckCurr('W'));
  EXPECT_TRUE(VNInputCheckPrev('W'));

  DispatchAndSample();
  EXPECT_FALSE(VNInputCheckReleased('W'));
  EXPECT_FALSE(VNInputCheckPrev('W'));
  EXPECT_FALSE(VNInputCheckCurr('S')) << "another key was never pressed";
}

TEST_F(VNInputTest, OnlyASampleSeesDispatchedEvents)
{
  InjectKey(VN_KEY_SPACE, true);
  VNSysUpdate();
  EXPECT_FALSE(VNInputCheckCurr(VN_KEY_SPACE)) << "queries must not sample";
  VNInputUpdate();
  EXPECT_TRUE(VNInputCheckTriggered(VN_KEY_SPACE));
  InjectKey(VN_KEY_SPACE, false);
}

TEST_F(VNInputTest, SDLKeysAndButtonsArriveUnderTheirVirtualKeyCodesAndEitherShiftIsShift)
{
  const struct
  {
    SDL_Keycode sdl;
    uint8_t vk;
  } keys[] = {{SDLK_ESCAPE, 0x1B}, {SDLK_SPACE, 0x20}, {SDLK_TAB, 0x09},  {SDLK_RETURN, 0x0D},
              {SDLK_F1, 0x70},     {SDLK_F8, 0x77},    {SDLK_LEFT, 0x25}, {SDLK_UP, 0x26},
              {SDLK_RIGHT, 0x27},  {SDLK_DOWN, 0x28},  {SDLK_a, 'A'},     {SDLK_w, 'W'},
              {SDLK_z, 'Z'},       {SDLK_0, '0'},      {SDLK_9, '9'}};
  for (const auto& key : keys)
  {
    InjectSDLKey(key.sdl, true);
    DispatchAndSample();
    EXPECT_TRUE(VNInputCheckTriggered(key.vk)) << SDL_GetKeyName(key.sdl);
    InjectSDLKey(key.sdl, false);
    DispatchAndSample();
    EXPECT_TRUE(VNInputCheckReleased(key.vk)) << SDL_GetKeyName(key.sdl);
  }

  const uint8_t buttons[] = {0x01, 0x02, 0x04};
  for (uint8_t vk : buttons)
  {
    InjectMouseButton(vk, true);
    DispatchAndSample();
    EXPECT_TRUE(VNInputCheckTriggered(vk)) << int(vk);
    InjectMouseButton(vk, false);
    DispatchAndSample();
    EXPECT_TRUE(VNInputCheckReleased(vk)) << int(vk);
  }

  // Either shift key holds the generic shift.
  InjectSDLKey(SDLK_LSHIFT, true);
  InjectSDLKey(SDLK_RSHIFT, true);
  DispatchAndSample();
  EXPECT_TRUE(VNInputCheckCurr(0xA0));
  EXPECT_TRUE(VNInputCheckCurr(0xA1));
  EXPECT_TRUE(VNInputCheckCurr(0x10));

  InjectSDLKey(SDLK_LSHIFT, false);
  DispatchAndSample();
  EXPECT_FALSE(VNInputCheckCurr(0xA0));
  EXPECT_TRUE(VNInputCheckCurr(0x10)) << "right shift is still down";

  InjectSDLKey(SDLK_RSHIFT, false);
  DispatchAndSample();
  EXPECT_TRUE(VNInputCheckReleased(0x10));
}

TEST_F(VNInputTest, ResetForgetsTheSamplesButNotTheHeldKey)
{
  InjectKey('A', true);
  DispatchAndSample();
  ASSERT_TRUE(VNInputCheckCurr('A'));

  VNInputReset();
  EXPECT_FALSE(VNInputCheckCurr('A'));
  EXPECT_FALSE(VNInputCheckPrev('A'));
  EXPECT_FALSE(VNInputCheckTriggered('A'));

  // Still held on the keyboard, so the first sample after the reset shows a new press.
  DispatchAndSample();
  EXPECT_TRUE(VNInputCheckTriggered('A'));
  DispatchAndSample();
  EXPECT_FALSE(VNInputCheckTriggered('A'));
  InjectKey('A', false);
  DispatchAndSample();
}

TEST_F(VNInputTest, CursorPositionAndDelta)
{
  InjectMouseMove(100, 50);
  DispatchAndSample();
  EXPECT_EQ(XY(100, 50), Cursor());
  EXPECT_EQ(XY(100, 50), Delta()) << "the first sample after a reset moves from (0, 0)";

  // Only where the cursor ends up counts, not the way there.
  InjectMouseMove(90, 80);
  InjectMouseMove(110, 45);
  DispatchAndSample();
  EXPECT_EQ(XY(10, -5), Delta());
  DispatchAndSample();
  EXPECT_EQ(XY(0, 0), Delta());

  VNInputReset();
  EXPECT_EQ(XY(0, 0), Cursor());
  DispatchAndSample();
  EXPECT_EQ(XY(110, 45), Delta());
}

TEST_F(VNInputTest, FullScreenCursorReadsInLogicalPixels)
{
  VNToogleFullScreen(true);
  SettleWindowEvents();
  ASSERT_FLOAT_EQ(1.5f, gVNScreenScaleX) << "tests expect a 1920 x 1080 screen";
  ASSERT_FLOAT_EQ(1.5f, gVNScreenScaleY);

  InjectMouseMove(1918, 1078);
  DispatchAndSample();
  EXPECT_EQ(XY(1278, 718), Cursor()) << "1278.67 truncates";

  InjectMouseMove(1916, 1076);
  DispatchAndSample();
  InjectMouseMove(1919, 1079);
  DispatchAndSample();
  const XY corner = Cursor(), moved = Delta();
  VNToogleFullScreen(false);
  SettleWindowEvents();
  EXPECT_EQ(XY(1279, 719), corner);
  EXPECT_EQ(XY(2, 2), moved);

  InjectMouseMove(1000, 700);
  DispatchAndSample();
  EXPECT_EQ(XY(1000, 700), Cursor()) << "windowed again: client pixels";
}

TEST_F(VNInputTest, CursorCounterAndIdempotentVisibility)
{
  VNInputSetCursorVisible(1);
  EXPECT_EQ(-1, VNInputShowCursor(0));
  EXPECT_EQ(SDL_DISABLE, SDL_ShowCursor(SDL_QUERY));
  EXPECT_EQ(0, VNInputShowCursor(1));
  EXPECT_EQ(SDL_ENABLE, SDL_ShowCursor(SDL_QUERY));

  // Hiding every frame runs the counter down; one show is then not enough.
  for (int frame = 0; frame < 5; ++frame)
    VNInputShowCursor(0);
  EXPECT_EQ(-4, VNInputShowCursor(1));
  EXPECT_EQ(SDL_DISABLE, SDL_ShowCursor(SDL_QUERY));

  // The visibility call does what it says however often it was called before.
  VNInputSetCursorVisible(1);
  EXPECT_EQ(SDL_ENABLE, SDL_ShowCursor(SDL_QUERY));
  for (int frame = 0; frame < 5; ++frame)
    VNInputSetCursorVisible(0);
  EXPECT_EQ(SDL_DISABLE, SDL_ShowCursor(SDL_QUERY));
  VNInputSetCursorVisible(1);
  EXPECT_EQ(SDL_ENABLE, SDL_ShowCursor(SDL_QUERY));
  EXPECT_EQ(-1, VNInputShowCursor(0)) << "the counter is back at 0 after showing";
  VNInputSetCursorVisible(1);
}

} // namespace
