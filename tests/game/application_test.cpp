// The application's own window and frame loop, with a probe registered as the main menu.
#include <GL/gl.h>
#include <SDL.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CapturedOutput.h"
#include "Framework/Application.h"
#include "Framework/Camera.h"
#include "Framework/Level.h"
#include "Framework/LevelManager.h"
#include "TestInput.h"
#include "TestWindow.h"

namespace
{

// Records what the main loop does to it and can act from its update.
class ProbeLevel : public Level
{
public:
  explicit ProbeLevel(bool* destroyed) : destroyed(destroyed)
  {
    name = "Main Menu";
    camera = nullptr; // no follow, no wheel decay
  }
  ~ProbeLevel() override { *destroyed = true; }
  void Load() override { ++loads; }
  void Unload() override {}
  void Update(const float& dt) override
  {
    timeSteps.push_back(dt);
    onUpdate(static_cast<int>(timeSteps.size()));
  }
  void Draw() override
  {
    unsigned char pixel[4] = {};
    glReadPixels(960, 540, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    centreRed.push_back(pixel[0]);
  }

  bool* destroyed;
  int loads = 0;
  std::vector<float> timeSteps;
  std::vector<int> centreRed;
  std::function<void(int frame)> onUpdate;
};

TEST(Application, StartsFullScreenOnTheMainMenuAndStopsAfterTheFrameThatClosedTheWindow)
{
  bool probeDestroyed = false;
  ProbeLevel* probe = new ProbeLevel(&probeDestroyed);
  LevelManager::Instance()->AddLevel(probe);
  Application application;
  ASSERT_TRUE(application.Init(nullptr, 1, "Kestrin"));
  SettleWindowEvents();
  SDL_Window* window = static_cast<SDL_Window*>(VNSysGetWindowHandle());
  EXPECT_STREQ("Kestrin", SDL_GetWindowTitle(window));
  EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_BORDERLESS);
  EXPECT_FLOAT_EQ(1.5f, gVNScreenScaleX) << "1280 x 720 drawn on the 1920 x 1080 screen";
  EXPECT_TRUE(Camera::Instance()->edgeScroll);
  EXPECT_EQ(8u, LevelManager::Instance()->levels.size()) << "the probe and the seven others";
  EXPECT_EQ(probe, LevelManager::Instance()->current) << "registered first, it is the menu";
  EXPECT_EQ(1, probe->loads);

  // Two wheel turns in frame 1 (both count), frame 2 held up, the window closed in frame 3.
  const float impulse = Camera::Instance()->wheelImpulse;
  probe->onUpdate = [](int frame)
  {
    if (frame == 1)
    {
      InjectWheel(2);
      InjectWheel(-1);
    }
    if (frame == 2)
      SDL_Delay(300);
    if (frame == 3)
      InjectWindowEvent(SDL_WINDOWEVENT_CLOSE);
  };
  application.Run();
  EXPECT_TRUE(gQuitGame);
  ASSERT_EQ(3u, probe->timeSteps.size()) << "no update after the closing frame";
  EXPECT_EQ(3u, probe->centreRed.size()) << "the closing frame is still drawn";
  EXPECT_FLOAT_EQ(1.0f / 60.0f, probe->timeSteps[0]) << "the first step is not zero";
  EXPECT_GE(probe->timeSteps[1], 1.0f / 60.0f);
  EXPECT_FLOAT_EQ(kLongestTimeStep, probe->timeSteps[2])
      << "a held-up frame is not passed on whole";
  EXPECT_NEAR(179, probe->centreRed[2], 1) << "frames are cleared light grey";
  EXPECT_FLOAT_EQ(impulse + 120.0f, Camera::Instance()->wheelImpulse);

  const std::string output = StdoutOf([&] { application.Destroy(); });
  EXPECT_TRUE(probeDestroyed);
  EXPECT_NE(std::string::npos, output.find("Kestrin Engine Destroy\n")) << output;
  EXPECT_TRUE(LevelManager::Instance()->levels.empty());
}

} // namespace
