// The game's own frame loop plays the shipped Level1: a stand-in main menu enters it, and
// from inside the loop the player is steered with injected W, A, S and D presses along a
// route of floor cells to the nearest exit, until the escape banner shows.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>

#include "../game/PlayTestSupport.h"
#include "Actors/Enemy.h"
#include "Actors/Player.h"
#include "Framework/Application.h"

namespace
{
// Give up after a minute of frames.
const int kFrameLimit = 60 * 60;
// Frames to keep running once the banner is up.
const int kFramesAfterEscape = 30;

// Enters Level1 in its first update, as the main menu's level page would.
class MenuStandIn : public Level
{
public:
  MenuStandIn() { name = "Main Menu"; }
  void Load() override {}
  void Unload() override {}
  void Update(const float&) override
  {
    if (entered)
      return;
    entered = true;
    LevelManager::Instance()->ChangeLevel("Level1");
  }
  void Draw() override {}
  bool entered = false;
};

// Level1 as shipped, steered from inside its own update.
class PilotedLevel1 : public TestLevel
{
public:
  PilotedLevel1() : TestLevel("Level1.tmx") {}

  void Load() override
  {
    TestLevel::Load();
    loaded = true;
    sawLoading = playState == kLoading && Button("Loading") && !Button("Loading")->hidden;
    musicRequested = SoundManager::Instance()->pendingMusic;
    // The walk is about reaching the exit: the co-workers go on about their work but
    // do not watch the player, so a run does not depend on frame timing near them.
    for (Enemy* enemy : enemies)
    {
      enemy->playerPosition = nullptr;
      enemy->playerConcealed = nullptr;
    }
    if (!players.empty())
    {
      start = players.front()->position;
      PlanRoute(*players.front());
    }
  }

  void Update(const float& dt) override
  {
    ++frames;
    if (playState == kPlaying && !players.empty())
      Steer(*players.front(), dt);
    TestLevel::Update(dt);

    if (playState == kEscaped)
    {
      if (framesSinceEscape == 0)
      {
        Button2D* banner = Button("Game_State");
        bannerShown = banner && !banner->hidden && banner->textureName == "Assets/Escaped.png";
        mainMenuShown = Button("MainMenu") && !Button("MainMenu")->hidden;
        walked = VNVec2Distance(&start, &players.front()->position);
        HoldKeys(false, false, false, false);
      }
      if (++framesSinceEscape >= kFramesAfterEscape)
        gQuitGame = true;
    }
    if (frames >= kFrameLimit)
      gQuitGame = true;
  }

  bool loaded = false;
  bool sawLoading = false;
  bool bannerShown = false;
  bool mainMenuShown = false;
  std::string musicRequested;
  VNVec2 start = {0.0f, 0.0f};
  // How far the player was from its start when it escaped.
  float walked = 0.0f;
  int frames = 0;
  int framesSinceEscape = 0;
  size_t routeLength = 0;
  std::deque<VNVec2> route;

private:
  // Shortest route over floor cells with four neighbours, from the player's cell to the
  // nearest exit cell. Each waypoint sits a little above its cell's centre, where the
  // player's side probes (at its position and 35 units lower) both stay in that row.
  void PlanRoute(const Player& player)
  {
    const Grid2D& grid = *tilemap;
    std::set<Cell> goals;
    for (const VNVec2& exit : exits)
      goals.insert(CellAt(grid, exit));
    const auto floor = [&grid](Cell cell) { return grid.IsWalkable(cell.col, cell.row); };
    for (const Cell& cell : FindRoute(grid, CellAt(grid, player.position), goals, floor))
      route.push_back({CellCentre(grid, cell).x, CellCentre(grid, cell).y + 12.0f});
    routeLength = route.size();
  }

  // Holds the keys that move the player towards the next waypoint. Pressed keys reach
  // the game through the window's event queue, so they act from the next frame on and the
  // player always takes one step more than asked. The tolerance is wider than a step, so
  // that extra step never carries it out of reach again: otherwise a slow frame rate could
  // keep it swinging around a waypoint for good.
  void Steer(const Player& player, float dt)
  {
    const float tolerance = std::max(4.0f, 1.25f * 180.0f * dt);
    while (!route.empty() && std::fabs(route.front().x - player.position.x) <= tolerance &&
           std::fabs(route.front().y - player.position.y) <= tolerance + 4.0f)
      route.pop_front();
    if (route.empty())
    {
      HoldKeys(false, false, false, false);
      return;
    }
    const float dx = route.front().x - player.position.x;
    const float dy = route.front().y - player.position.y;
    HoldKeys(dy > tolerance, dy < -tolerance, dx < -tolerance, dx > tolerance);
  }

  void HoldKeys(bool up, bool down, bool left, bool right)
  {
    const bool want[4] = {up, down, left, right};
    const unsigned char keys[4] = {'W', 'S', 'A', 'D'};
    for (int i = 0; i < 4; ++i)
    {
      if (want[i] != held[i])
        InjectKey(keys[i], want[i]);
      held[i] = want[i];
    }
  }

  bool held[4] = {false, false, false, false};
};

TEST(Level1EndToEnd, WalkingToTheExitShowsTheEscapeBanner)
{
  gQuitGame = false;
  // Registered before the game's own levels, the stand-in takes the name "Main Menu" and
  // the game's own registration under that name is turned away.
  MenuStandIn* menu = new MenuStandIn();
  LevelManager::Instance()->AddLevel(menu);

  Application application;
  ASSERT_TRUE(application.Init(nullptr, 1, "Kestrin"));
  ASSERT_EQ(menu, LevelManager::Instance()->current);
  // The piloted Level1 takes the registered one's place (it needs the GL context the
  // game's start-up has just made).
  Level*& registered = LevelManager::Instance()->levels["Level1"];
  ASSERT_NE(nullptr, registered);
  delete registered;
  PilotedLevel1* level = new PilotedLevel1();
  registered = level;
  application.Run();

  EXPECT_TRUE(menu->entered);
  EXPECT_TRUE(level->loaded);
  EXPECT_TRUE(level->sawLoading);
  EXPECT_EQ("Assets/Sound/Level1BGM.ogg", level->musicRequested);
  EXPECT_GT(level->routeLength, 10u) << "no route from the start to an exit";
  EXPECT_TRUE(level->bannerShown) << "no escape after " << level->frames << " frames, "
                                  << level->route.size() << " waypoints short";
  EXPECT_GT(level->walked, 1000.0f);
  EXPECT_TRUE(level->mainMenuShown);
  EXPECT_EQ(kFramesAfterEscape, level->framesSinceEscape);
  application.Destroy();
}
} // namespace
