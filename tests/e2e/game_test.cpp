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
  EXPECT_EQ(menu, LevelManager::Instance()->current) << "the menu is entered at start";
  EXPECT_TRUE(menu->active);
  // The floor takes the registered Level1's place (a floor needs the GL context start-up made).
  Level*& registered = LevelManager::Instance()->levels["Level1"];
  ASSERT_NE(nullptr, registered);
  delete registered;
  ScriptedFloor* floor =
      new ScriptedFloor(WriteFloor("Level1", {"########", "#P....X#", "#......#", "########"}));
  registered = floor;

  bool menuShown = false, played = false, escaped = false;
  float walked = 0.0f;
  gScript.push_back([&]
                    { return menuShown = menu->splashTimer <= 0.0f && !Button("Play")->hidden; });
  AddClick("Play");
  AddClick("l1");
  gScript.push_back(
      [&]
      {
        played =
            LevelManager::Instance()->current == floor && floor->playState == TestLevel::kPlaying;
        return played ? (InjectKey('D', true), true) : false;
      });
  gScript.push_back(
      [&]
      {
        escaped = floor->playState == TestLevel::kEscaped;
        if (escaped)
        {
          InjectKey('D', false);
          walked = floor->players[0]->position.x - 50.0f;
        }
        return escaped;
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
  EXPECT_TRUE(menuShown);
  EXPECT_TRUE(played);
  EXPECT_TRUE(escaped);
  EXPECT_GT(walked, 200.0f);
  EXPECT_EQ(gScript.size(), gNextStep) << "the game ended at step " << gNextStep;
  EXPECT_LT(gFrames, kFrameLimit) << "Exit did not end the game";
  EXPECT_NE(std::string::npos, output.find("MainMenu Destroy")) << output;
}
} // namespace
