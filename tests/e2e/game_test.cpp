// The game as the program runs it: the real Application and frame loop, from start-up into
// the main menu, through Play and the first level's button onto a floor, walked to its
// exit with injected keys, back to the menu and out through Exit. The input is a script
// run from inside the frames, so the run does not depend on how fast they come.
#include <gtest/gtest.h>

#include <functional>

#include "../game/PlayTestSupport.h"
#include "Actors/Player.h"
#include "CapturedOutput.h"
#include "Framework/Application.h"
#include "Levels/MainMenu.h"

namespace
{
const int kFrameLimit = 60 * 60;

// One step a frame, in order; a step that answers false is tried again in the next frame.
std::vector<std::function<bool()>> gScript;
size_t gNextStep = 0;
int gFrames = 0;

void RunScript()
{
  if (gNextStep < gScript.size() && gScript[gNextStep]())
    ++gNextStep;
  if (++gFrames >= kFrameLimit)
    gQuitGame = true;
}

// The game's own menu and floor, with the script run at the start of their updates.
class ScriptedMenu : public MainMenu
{
public:
  void Update(const float& dt) override
  {
    RunScript();
    MainMenu::Update(dt);
  }
};

class ScriptedFloor : public LevelProbe<TestLevel>
{
public:
  using LevelProbe::LevelProbe;
  void Update(const float& dt) override
  {
    RunScript();
    TestLevel::Update(dt);
  }
};

// Steps that click an overlay button: point, press, release.
void AddClick(const std::string& name)
{
  gScript.push_back([name] { return PointAt(name), true; });
  gScript.push_back([] { return InjectMouseButton(VN_KEY_LBUTTON, true), true; });
  gScript.push_back([] { return InjectMouseButton(VN_KEY_LBUTTON, false), true; });
}

TEST(Game, StartsIntoTheMenuPlaysAFloorToItsExitAndQuitsFromTheMenu)
{
  gQuitGame = false;
  // Registered before the game's own levels, the scripted menu takes the name "Main Menu"
  // and the game's registration under that name is turned away.
  ScriptedMenu* menu = new ScriptedMenu();
  LevelManager::Instance()->AddLevel(menu);
  Application application;
  ASSERT_TRUE(application.Init(nullptr, 1, "Kestrin"));
  ASSERT_EQ(menu, LevelManager::Instance()->current) << "the menu is entered at start";
  EXPECT_TRUE(menu->active);
  // The floor takes the registered Level1's place (a floor needs the GL context start-up made).
  Level*& registered = LevelManager::Instance()->levels["Level1"];
  ASSERT_NE(nullptr, registered);
  delete registered;
  ScriptedFloor* floor =
      new ScriptedFloor(WriteFloor("Level1", {"########", "#P....X#", "#......#", "########"}));
  registered = floor;

  // Each step waits for what it names, then acts.
  float walked = 0.0f;
  gScript.push_back([&] { return menu->splashTimer <= 0.0f && !Button("Play")->hidden; });
  AddClick("Play");
  AddClick("l1");
  gScript.push_back(
      [&] { return floor->playState == TestLevel::kPlaying && (InjectKey('D', true), true); });
  gScript.push_back(
      [&]
      {
        walked = floor->players.empty() ? 0.0f : floor->players[0]->position.x - 50.0f;
        return floor->playState == TestLevel::kEscaped && (InjectKey('D', false), true);
      });
  AddClick("MainMenu");
  gScript.push_back([&] { return LevelManager::Instance()->current == menu; });
  AddClick("Exit");

  const std::string output = StdoutOf(
      [&]
      {
        application.Run();
        application.Destroy();
      });
  EXPECT_EQ(gScript.size(), gNextStep) << "the game ended waiting at step " << gNextStep;
  EXPECT_GT(walked, 200.0f) << "the player walked to the exit";
  EXPECT_LT(gFrames, kFrameLimit) << "Exit did not end the game";
  EXPECT_NE(std::string::npos, output.find("MainMenu Destroy")) << output;
}
} // namespace
