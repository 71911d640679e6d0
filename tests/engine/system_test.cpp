// The window's life: opening, full screen and back, a frame's wait and dispatch, closing,
// opening again after an exit; and the frame-rate controller on its own.
#include "TestInput.h"
#include "TestWindow.h"

#include "Vorn.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <vector>

namespace
{

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start)
{
  return std::chrono::duration<double>(Clock::now() - start).count();
}

std::vector<std::array<uintptr_t, 2>> sReceived; // message and wParam

// Records every message and leaves it to the engine's own handling.
intptr_t RecordingProc(void* window, unsigned int message, uintptr_t wParam, intptr_t lParam)
{
  sReceived.push_back({message, wParam});
  return VNSysDefaultWindowProc(window, message, wParam, lParam);
}

// Each test opens the window and closes the engine afterwards.
class System : public ::testing::Test
{
protected:
  void SetUp() override
  {
    ASSERT_EQ(1, VNSysInit(nullptr, 1, 1280, 720, 0, 60, RecordingProc));
    window = static_cast<SDL_Window*>(VNSysGetWindowHandle());
    SettleWindowEvents();
    sReceived.clear();
  }
  void TearDown() override { VNSysExit(); }

  std::array<int, 4> Placement() const
  {
    std::array<int, 4> at;
    SDL_GetWindowPosition(window, &at[0], &at[1]);
    SDL_GetWindowSize(window, &at[2], &at[3]);
    return at;
  }

  SDL_Window* window = nullptr;
};

TEST_F(System, TheWindowOpensCentredAndFullScreenCoversTheScreenUntilSwitchedBack)
{
  EXPECT_EQ((std::array<int, 4>{320, 180, 1280, 720}), Placement());
  EXPECT_EQ(1, VNSysDoesWindowExist());

  VNToogleFullScreen(true);
  EXPECT_EQ((std::array<int, 4>{0, 0, 1920, 1080}), Placement());
  EXPECT_EQ(1.5f, gVNScreenScaleX);
  EXPECT_EQ(1.5f, gVNScreenScaleY);
  EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_BORDERLESS);
  EXPECT_FALSE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) << "the mode never changes";

  VNToogleFullScreen(false);
  EXPECT_EQ((std::array<int, 4>{320, 180, 1280, 720}), Placement());
  EXPECT_EQ(1.0f, gVNScreenScaleX);
  EXPECT_FALSE(SDL_GetWindowFlags(window) & SDL_WINDOW_BORDERLESS);
}

TEST_F(System, AFrameDispatchesItsMessagesAndACloseEndsTheWindow)
{
  VNInputReset();
  VNSysFrameStart();
  InjectWheel(2);
  InjectWheel(-1);
  InjectKey('E', true);
  InjectWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
  VNSysFrameEnd();
  EXPECT_EQ(1u, VNFrameRateControllerGetFrameCount());

  std::vector<int> wheel;
  for (const auto& message : sReceived)
    if (message[0] == uintptr_t(VN_MSG_MOUSEWHEEL))
      wheel.push_back(static_cast<int16_t>(message[1] >> 16));
  EXPECT_EQ((std::vector<int>{240, -120}), wheel);
  EXPECT_EQ(0, gVNSysAppActive);
  VNInputUpdate();
  EXPECT_TRUE(VNInputCheckCurr('E'));
  InjectKey('E', false);

  // A close request destroys the window by the end of the frame; more frames are harmless.
  VNSysFrameStart();
  InjectWindowEvent(SDL_WINDOWEVENT_CLOSE);
  VNSysFrameEnd();
  EXPECT_EQ(0, VNSysDoesWindowExist());
  EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_HIDDEN);
  EXPECT_EQ(uintptr_t(VN_MSG_DESTROY), sReceived.back()[0]);
  VNSysFrameStart();
  VNSysFrameEnd();
}

TEST(FrameRateController, FramesLastAtLeastTheMinimumAndLongOnesAreNotClamped)
{
  VNFrameRateControllerInit(30);
  EXPECT_DOUBLE_EQ(1.0 / 30.0, VNFrameRateControllerGetFrameTime());
  VNFrameRateControllerEnd(); // before any Start: returns and counts
  Clock::time_point start = Clock::now();
  VNFrameRateControllerStart();
  VNFrameRateControllerEnd();
  EXPECT_GE(SecondsSince(start), 1.0 / 30.0) << "an empty frame waits out the minimum";
  VNFrameRateControllerStart();
  start = Clock::now();
  while (SecondsSince(start) < 0.05)
  {
  }
  VNFrameRateControllerEnd();
  EXPECT_GE(VNFrameRateControllerGetFrameTime(), 0.05);
  EXPECT_EQ(3u, VNFrameRateControllerGetFrameCount());
}

} // namespace
