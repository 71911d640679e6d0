// The game as the program starts it: the real Application, the real frame loop and every
// registered level, driven by input a script pushes onto the event queue while it runs.
#include <SDL.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "CapturedOutput.h"
#include "Framework/Application.h"
#include "Framework/LevelManager.h"
#include "Framework/SoundManager.h"
#include "Levels/MainMenu.h"
#include "TestInput.h"
#include "Vorn.h"

namespace
{
using Clock = std::chrono::steady_clock;

// Steps run at fixed times after the script starts, on a thread of their own; SDL's event
// queue takes pushes from any thread. The loop's frames see them as a user's input.
class InputScript
{
public:
  void At(double seconds, std::function<void()> step) { steps.push_back({seconds, step}); }

  void Start()
  {
    worker = std::thread(
        [this]
        {
          const Clock::time_point start = Clock::now();
          for (const Step& step : steps)
          {
            const Clock::time_point due =
                start + std::chrono::milliseconds(static_cast<int>(step.seconds * 1000.0));
            while (!stopped && Clock::now() < due)
              std::this_thread::sleep_for(std::chrono::milliseconds(5));
            if (stopped)
              return;
            step.action();
          }
        });
  }

  void Stop()
  {
    stopped = true;
    if (worker.joinable())
      worker.join();
  }

private:
  struct Step
  {
    double seconds;
    std::function<void()> action;
  };
  std::vector<Step> steps;
  std::thread worker;
  std::atomic<bool> stopped{false};
};

// A menu widget's centre in window pixels: offsets from the screen centre, y up, stretched
// by the full-screen scale.
void MoveTo(float x, float y)
{
  InjectMouseMove(static_cast<int>((640.0f + x) * gVNScreenScaleX),
                  static_cast<int>((360.0f - y) * gVNScreenScaleY));
}

class StartupTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    gQuitGame = false;
    ASSERT_TRUE(application.Init(nullptr, 1, "Kestrin"));
  }

  void TearDown() override
  {
    script.Stop();
    application.Destroy();
    gQuitGame = false;
  }

  // Runs the game with the script; true when the game ended by itself before the
  // script's last resort closed the window.
  bool RunWithScript(double lastResort)
  {
    script.At(lastResort,
              [this]
              {
                closedByScript = true;
                InjectWindowEvent(SDL_WINDOWEVENT_CLOSE);
              });
    const Clock::time_point start = Clock::now();
    script.Start();
    application.Run();
    seconds = std::chrono::duration<double>(Clock::now() - start).count();
    script.Stop();
    return !closedByScript;
  }

  void TapKey(double at, unsigned char vk)
  {
    script.At(at, [vk] { InjectKey(vk, true); });
    script.At(at + 0.2, [vk] { InjectKey(vk, false); });
  }

  void ClickAt(double at, float x, float y)
  {
    script.At(at, [x, y] { MoveTo(x, y); });
    script.At(at + 0.1, [] { InjectMouseButton(VN_KEY_LBUTTON, true); });
    script.At(at + 0.3, [] { InjectMouseButton(VN_KEY_LBUTTON, false); });
  }

  MainMenu* Menu() const
  {
    auto found = LevelManager::Instance()->levels.find("Main Menu");
    return found == LevelManager::Instance()->levels.end() ? nullptr
                                                           : dynamic_cast<MainMenu*>(found->second);
  }

  Application application;
  InputScript script;
  std::atomic<bool> closedByScript{false};
  double seconds = 0.0;
};

TEST_F(StartupTest, TheGamesOwnMenuIsEnteredAtOnceAndDestroyedWithTheGame)
{
  ASSERT_NE(nullptr, Menu());
  EXPECT_EQ(Menu(), LevelManager::Instance()->current);
  EXPECT_TRUE(Menu()->active);
  EXPECT_TRUE(SoundManager::Instance()->pendingMusic.empty())
      << "no change sound and no music before the splash's last second";

  gQuitGame = true;
  const std::string output = StdoutOf(
      [this]
      {
        application.Run();
        application.Destroy();
      });
  EXPECT_NE(std::string::npos, output.find("MainMenu Destroy")) << output;
}

TEST_F(StartupTest, TheSplashIgnoresInputThenPlayLeadsToALevelWithItsMusic)
{
  // During the splash: Escape and a click where Exit will be.
  TapKey(0.5, VN_KEY_ESCAPE);
  ClickAt(1.0, 0.0f, -250.0f);
  // After it: Play, then level 1.
  ClickAt(4.0, 0.0f, 50.0f);
  ClickAt(4.8, 0.0f, 0.0f);
  EXPECT_FALSE(RunWithScript(6.5)) << "the game quit by itself";

  EXPECT_GE(seconds, 6.0);
  ASSERT_NE(nullptr, LevelManager::Instance()->current);
  EXPECT_EQ("Level1", LevelManager::Instance()->current->name);
  EXPECT_EQ("Assets/Sound/Level1BGM.ogg", SoundManager::Instance()->pendingMusic);
  ASSERT_NE(nullptr, Menu());
  EXPECT_LE(Menu()->splashTimer, 0.0f);
}
} // namespace
