#include "CapturedOutput.h"
#include "TestInput.h"
#include "TestWindow.h"

#include "Input/VNInput.h"
#include "System/VNFrameRateController.h"
#include "System/VNSystem.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace
{

struct Message
{
  unsigned int id;
  uintptr_t wParam;
};

std::vector<Message> sReceived;

// Records every message and leaves the rest to the window system, as a game would.
intptr_t RecordingProc(void* window, unsigned int message, uintptr_t wParam, intptr_t lParam)
{
  sReceived.push_back({message, wParam});
  return VNSysPlatformDefaultProc(window, message, wParam, lParam);
}

// The window's position and size as SDL has them.
void ExpectPlacement(SDL_Window* window, int x, int y, int w, int h)
{
  int at[4] = {-1, -1, -1, -1};
  SDL_GetWindowPosition(window, &at[0], &at[1]);
  SDL_GetWindowSize(window, &at[2], &at[3]);
  EXPECT_EQ(x, at[0]);
  EXPECT_EQ(y, at[1]);
  EXPECT_EQ(w, at[2]);
  EXPECT_EQ(h, at[3]);
}

// Each test opens its own window and closes the engine afterwards.
class VNSystemTest : public ::testing::Test
{
protected:
  void Open(VNWindowProc proc)
  {
    sReceived.clear();
    ASSERT_EQ(1, VNSysInit(nullptr, 1, 1280, 720, 0, 60, proc));
    window = static_cast<SDL_Window*>(VNSysGetWindowHandle());
    ASSERT_NE(nullptr, window);
  }
  // Lets the window's own start-up events through and forgets them.
  void Settle()
  {
    SettleWindowEvents();
    sReceived.clear();
  }
  void TearDown() override
  {
    if (window)
      VNSysExit();
  }

  SDL_Window* window = nullptr;
};

TEST_F(VNSystemTest, InitCentresTheWindowAndFullScreenStretchesItOverTheScreenAndBack)
{
  const std::string output = StdoutOf([this] { Open(nullptr); });
  EXPECT_NE(std::string::npos, output.find("Vorn Engine version: 3.04\n\n")) << output;

  ExpectPlacement(window, 320, 180, 1280, 720);
  EXPECT_STREQ("Vorn Engine", SDL_GetWindowTitle(window));
  EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_OPENGL);
  EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN);
  EXPECT_FALSE(SDL_GetWindowFlags(window) & SDL_WINDOW_BORDERLESS);
  EXPECT_EQ(1, VNSysDoesWindowExist());
  EXPECT_EQ(1.0f, gVNScreenScaleX);
  EXPECT_EQ(1.0f, gVNScreenScaleY);
  EXPECT_DOUBLE_EQ(1.0 / 60.0, VNFrameRateControllerGetFrameTime());

  EXPECT_NE(0, VNSysSetWindowTitle("Kestrin"));
  EXPECT_STREQ("Kestrin", SDL_GetWindowTitle(window));

  for (int round = 0; round < 2; ++round)
  {
    VNToogleFullScreen(true);
    EXPECT_FLOAT_EQ(1.5f, gVNScreenScaleX);
    EXPECT_FLOAT_EQ(1.5f, gVNScreenScaleY);
    ExpectPlacement(window, 0, 0, 1920, 1080);
    EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_BORDERLESS);
    EXPECT_FALSE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN)
        << "the display mode is never changed";

    VNToogleFullScreen(false);
    EXPECT_EQ(1.0f, gVNScreenScaleX);
    EXPECT_EQ(1.0f, gVNScreenScaleY);
    ExpectPlacement(window, 320, 180, 1280, 720);
    EXPECT_FALSE(SDL_GetWindowFlags(window) & SDL_WINDOW_BORDERLESS);
  }
}

TEST_F(VNSystemTest, DefaultProcFollowsActivation)
{
  Open(nullptr);
  Settle();
  InjectWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
  VNSysUpdate();
  EXPECT_EQ(0, gVNSysAppActive);
  InjectWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
  VNSysUpdate();
  EXPECT_EQ(1, gVNSysAppActive);

  // Only the low word of wParam says whether the window is active.
  EXPECT_EQ(0, VNSysDefaultWindowProc(window, VN_MSG_ACTIVATE, 0x00010000, 0));
  EXPECT_EQ(0, gVNSysAppActive);
  VNSysDefaultWindowProc(window, VN_MSG_ACTIVATE, VN_WA_CLICKACTIVE, 0);
  EXPECT_EQ(1, gVNSysAppActive);
}

TEST_F(VNSystemTest, ClosingUnderTheDefaultProcEndsTheWindowByTheNextFrame)
{
  Open(nullptr);
  VNSysFrameStart();
  InjectWindowEvent(SDL_WINDOWEVENT_CLOSE);
  EXPECT_EQ(1, VNSysDoesWindowExist());
  VNSysFrameEnd();

  EXPECT_EQ(0, VNSysDoesWindowExist());
  EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_HIDDEN);

  // A further frame on the closed window is harmless.
  VNSysFrameStart();
  VNSysFrameEnd();
  EXPECT_EQ(0, VNSysDoesWindowExist());
}

TEST_F(VNSystemTest, ACustomProcReplacesTheDefaultHandling)
{
  Open(RecordingProc);
  ASSERT_FALSE(sReceived.empty());
  EXPECT_EQ(unsigned(VN_MSG_CREATE), sReceived.front().id);
  Settle();
  const int activeBefore = gVNSysAppActive;

  InjectWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
  InjectWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
  InjectWindowEvent(SDL_WINDOWEVENT_CLOSE);
  VNSysUpdate();

  std::vector<unsigned int> ids;
  for (const Message& message : sReceived)
    ids.push_back(message.id);
  EXPECT_EQ(
      (std::vector<unsigned int>{VN_MSG_ACTIVATE, VN_MSG_ACTIVATE, VN_MSG_CLOSE, VN_MSG_DESTROY}),
      ids);
  EXPECT_EQ(1, VNSysDoesWindowExist()) << "only the default procedure clears the flag";
  EXPECT_EQ(activeBefore, gVNSysAppActive);
  EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_HIDDEN);
}

TEST_F(VNSystemTest, FrameEndWaitsOutTheFrameThenDispatches)
{
  Open(RecordingProc);
  Settle();
  VNInputReset();

  const auto start = std::chrono::steady_clock::now();
  VNSysFrameStart();
  InjectWheel(2);
  InjectWheel(-1);
  InjectKey('E', true);
  VNSysFrameEnd();
  const double elapsed =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  EXPECT_GE(elapsed, 1.0 / 60.0);
  EXPECT_EQ(1u, VNFrameRateControllerGetFrameCount());
  std::vector<int> wheelDeltas;
  for (const Message& message : sReceived)
    if (message.id == VN_MSG_MOUSEWHEEL)
      wheelDeltas.push_back(static_cast<int16_t>((message.wParam >> 16) & 0xFFFF));
  EXPECT_EQ((std::vector<int>{240, -120}), wheelDeltas);

  VNInputUpdate();
  EXPECT_TRUE(VNInputCheckCurr('E'));

  VNSysReset();
  EXPECT_EQ(0u, VNFrameRateControllerGetFrameCount());
  EXPECT_DOUBLE_EQ(1.0 / 60.0, VNFrameRateControllerGetFrameTime());
  EXPECT_FALSE(VNInputCheckCurr('E'));
  InjectKey('E', false);
  VNSysUpdate();
}

} // namespace
