#include "TestInput.h"
#include "TestWindow.h"

#include "Framework/Application.h"
#include "Framework/Camera.h"
#include "Framework/Level.h"
#include "Framework/LevelManager.h"
#include "Vorn.h"

#include "CapturedOutput.h"

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace
{

// A level that records what the main loop does to it, and can act from its update.
class ProbeLevel : public Level
{
public:
  explicit ProbeLevel(bool* destroyed) : destroyed(destroyed)
  {
    name = "Main Menu";
    camera = nullptr; // keep the camera out of the way: no follow, no wheel decay
  }
  ~ProbeLevel() override { *destroyed = true; }

  void Load() override { ++loads; }
  void Unload() override {}
  void Update(const float& dt) override
  {
    timeSteps.push_back(dt);
    wheelDeltaSeen.push_back(gMouseWheelDelta);
    if (onUpdate)
      onUpdate(static_cast<int>(timeSteps.size()));
  }
  void Draw() override
  {
    ++draws;
    unsigned char pixel[4] = {};
    glReadPixels(960, 540, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    centrePixels.push_back(pixel[0] | (pixel[1] << 8) | (pixel[2] << 16));
  }

  bool* destroyed;
  int loads = 0;
  int draws = 0;
  std::vector<float> timeSteps;
  std::vector<int32_t> wheelDeltaSeen;
  std::vector<unsigned> centrePixels;
  std::function<void(int frame)> onUpdate;
};

class ApplicationTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    gQuitGame = false;
    gMouseWheelDelta = 0;
    probe = new ProbeLevel(&probeDestroyed);
    LevelManager::Instance()->AddLevel(probe);
  }
  void TearDown() override
  {
    application.Destroy();
    gQuitGame = false;
  }

  void Start()
  {
    ASSERT_TRUE(application.Init(nullptr, 1, "Kestrin"));
    SettleWindowEvents();
  }

  Application application;
  ProbeLevel* probe = nullptr;
  bool probeDestroyed = false;
};

TEST_F(ApplicationTest, InitEntersTheMainMenuFullScreenAndDestroyDeletesTheLevels)
{
  Start();
  SDL_Window* window = static_cast<SDL_Window*>(VNSysGetWindowHandle());
  ASSERT_NE(nullptr, window);
  EXPECT_STREQ("Kestrin", SDL_GetWindowTitle(window));
  EXPECT_TRUE(application.fullScreen);
  EXPECT_TRUE(Camera::Instance()->edgeScroll);
  EXPECT_FLOAT_EQ(1.5f, gVNScreenScaleX);
  EXPECT_FLOAT_EQ(1.5f, gVNScreenScaleY);
  EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_BORDERLESS);

  std::vector<std::string> names;
  for (const auto& entry : LevelManager::Instance()->levels)
    names.push_back(entry.first);
  const std::vector<std::string> expected = {"Level Editor", "Level1",       "Level2",
                                             "Level3",       "Level4",       "Level5",
                                             "Main Menu",    "TutorialLevel"};
  EXPECT_EQ(expected, names);
  // The probe came first under "Main Menu", so the game's own menu was turned away.
  EXPECT_EQ(probe, LevelManager::Instance()->levels["Main Menu"]);
  EXPECT_EQ(probe, LevelManager::Instance()->current);
  EXPECT_TRUE(probe->active);
  EXPECT_EQ(1, probe->loads);

  gQuitGame = true;
  application.Run();
  EXPECT_TRUE(probe->timeSteps.empty()) << "no frame runs once the game is quitting";

  const std::string output = StdoutOf([this] { application.Destroy(); });
  EXPECT_TRUE(probeDestroyed);
  EXPECT_NE(std::string::npos, output.find("Kestrin Engine Destroy\n")) << output;
  EXPECT_TRUE(LevelManager::Instance()->levels.empty()) << "a fresh manager after Destroy";
}

TEST_F(ApplicationTest, TheLoopEndsAfterTheFrameInWhichTheWindowWasClosed)
{
  Start();
  probe->onUpdate = [this](int frame)
  {
    if (frame == 3)
      InjectWindowEvent(SDL_WINDOWEVENT_CLOSE);
  };
  application.Run();

  EXPECT_TRUE(gQuitGame);
  EXPECT_EQ(3u, probe->timeSteps.size()) << "no update after the closing frame";
  EXPECT_EQ(3, probe->draws) << "the closing frame is still drawn";
  EXPECT_EQ(3u, VNFrameRateControllerGetFrameCount());
}

TEST_F(ApplicationTest, FramesStepBySixtiethsClearToGreyAndQuittingStillDrawsTheFrame)
{
  Start();
  probe->onUpdate = [](int frame) { gQuitGame = frame == 4; };
  application.Run();
  EXPECT_EQ(4, probe->draws);
  ASSERT_EQ(4u, probe->timeSteps.size());
  EXPECT_FLOAT_EQ(1.0f / 60.0f, probe->timeSteps[0]) << "the first frame's step is not zero";
  for (size_t i = 1; i < probe->timeSteps.size(); ++i)
    EXPECT_GE(probe->timeSteps[i], 1.0f / 60.0f) << "frame " << i;

  // Each frame is cleared with the colour the frame before set: light grey from the
  // second frame on.
  ASSERT_EQ(4u, probe->centrePixels.size());
  for (size_t i = 1; i < probe->centrePixels.size(); ++i)
  {
    const unsigned pixel = probe->centrePixels[i];
    for (int channel = 0; channel < 3; ++channel)
      EXPECT_NEAR(179, int((pixel >> (8 * channel)) & 0xFF), 1) << "frame " << i;
  }
}

TEST_F(ApplicationTest, EveryWheelTurnOfAFrameReachesTheCamera)
{
  Start();
  probe->onUpdate = [](int frame)
  {
    if (frame == 1)
    {
      InjectWheel(2);
      InjectWheel(-1);
    }
    gQuitGame = frame == 2;
  };
  const float impulseBefore = Camera::Instance()->wheelImpulse;
  application.Run();

  ASSERT_EQ(2u, probe->wheelDeltaSeen.size());
  EXPECT_EQ(0, probe->wheelDeltaSeen[1]) << "the delta is consumed before the level update";
  EXPECT_FLOAT_EQ(impulseBefore + 120.0f, Camera::Instance()->wheelImpulse);
}

} // namespace
