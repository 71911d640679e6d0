// The player and the co-workers on their own: walking against walls and sliding through
// gaps, disguise, stealth,
// card pick-up; the co-workers' visit cycle, their detection meter and their vision.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <list>
#include <memory>
#include <tuple>

#include "Actors/Enemy.h"
#include "Actors/Key.h"
#include "Actors/Player.h"
#include "PlayTestSupport.h"

namespace
{
const float kDt = 0.125f;
const float kStep = 180.0f * kDt;

class PlayerTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    EnsureTestWindow();
    ResetGame();
    ReleaseAllKeys();
    // An open room with a wall column at col 2 on rows 3 to 5.
    grid = std::make_unique<Grid2D>(
        WriteFloor("Room", {"############", "#..........#", "#..........#", "#.#........#",
                            "#.#........#", "#.#........#", "#..........#", "############"}));
    player = std::make_unique<Player>();
    player->tilemap = grid.get();
    player->keys = &keys;
    player->position = CellCentre(6, 4, 8);
  }

  void TearDown() override
  {
    DetachVirtualPad();
    ReleaseAllKeys();
    player.reset();
    for (Key* key : keys)
      delete key;
    ResetGame();
  }

  // Frames of input as the main loop reads it around the player's update.
  void Step(int frames = 1)
  {
    for (int i = 0; i < frames; ++i)
    {
      DispatchAndSample();
      Gamepad::Update();
      player->Update(kDt);
      Gamepad::EndFrame();
    }
  }

  // Keys held for exactly one update.
  void Tap(const std::string& vks)
  {
    for (char vk : vks)
      InjectKey(vk, true);
    Step();
    for (char vk : vks)
      InjectKey(vk, false);
    DispatchAndSample();
  }

  Key* AddKey(float dx, float dy, int value)
  {
    keys.push_back(new Key(player->position.x + dx, player->position.y + dy));
    keys.back()->cardValue = value;
    return keys.back();
  }

  std::unique_ptr<Grid2D> grid;
  std::unique_ptr<Player> player;
  std::vector<Key*> keys;
};

TEST_F(PlayerTest, WalksEightWaysSlidesAlongWallsAndOfOppositeKeysTheLaterWins)
{
  const float diagonal = kStep / std::sqrt(2.0f);
  const struct
  {
    const char* keys;
    int col, row;
    float dx, dy;
    int frame;
  } cases[] = {{"WD", 6, 4, diagonal, diagonal, 5}, {"SA", 6, 4, -diagonal, -diagonal, 1},
               {"WS", 6, 4, 0.0f, -kStep, 0},       {"AD", 6, 4, kStep, 0.0f, 6},
               {"", 6, 4, 0.0f, 0.0f, 0},           {"A", 3, 4, 0.0f, 0.0f, 2},
               {"AW", 3, 4, 0.0f, kStep, 3},        {"W", 6, 1, 0.0f, 0.0f, 4}};
  for (const auto& c : cases)
  {
    SCOPED_TRACE(std::string("keys '") + c.keys + "' at col " + std::to_string(c.col));
    const VNVec2 start = CellCentre(c.col, c.row, 8);
    player->position = start;
    player->frame = 0;
    Tap(c.keys);
    EXPECT_NEAR(start.x + c.dx, player->position.x, 1e-3f);
    EXPECT_NEAR(start.y + c.dy, player->position.y, 1e-3f);
    EXPECT_EQ(c.frame, player->frame);
  }
}

TEST_F(PlayerTest, DisguiseConcealsAndFreezesTheBodyThenCoolsDownForThreeSeconds)
{
  AddKey(20.0f, 0.0f, Key::kAccessCard);
  InjectKey('J', true);
  Step();
  EXPECT_TRUE(player->concealed);
  EXPECT_FALSE(player->smoke->hidden);
  EXPECT_GE(player->frame, 8);
  const VNVec2 still = player->position;
  Tap("DKE");
  EXPECT_FLOAT_EQ(still.x, player->position.x);
  EXPECT_FALSE(player->stealthUsed);
  EXPECT_EQ(1u, keys.size()) << "no pick-up in disguise";

  InjectKey('J', false);
  Step();
  EXPECT_FALSE(player->concealed);
  EXPECT_EQ(0, player->frame);
  EXPECT_FLOAT_EQ(0.5f, player->iconJ->tint.r) << "the J icon is grey while cooling down";
  Tap("J");
  EXPECT_FALSE(player->transformed) << "J during the cooldown";
  Step(static_cast<int>(3.0f / kDt));
  EXPECT_FLOAT_EQ(1.0f, player->iconJ->tint.r);
  Tap("J");
  EXPECT_TRUE(player->transformed);
}

TEST_F(PlayerTest, PadXDisguisesOnlyWhileHeld)
{
  if (AttachVirtualPad() < 0)
    GTEST_SKIP() << "no virtual game controller available";
  SetVirtualPadButton(VN_PAD_X, true);
  Step(2);
  EXPECT_TRUE(player->transformed);
  SetVirtualPadButton(VN_PAD_X, false);
  Step();
  EXPECT_FALSE(player->transformed);
}

TEST_F(PlayerTest, StealthRunsOncePerFloorForTwoSecondsAtThreeQuartersSpeed)
{
  Step(static_cast<int>(0.5f / kDt)); // while the heads-up's start shows every icon
  EXPECT_FALSE(player->iconK->hidden);
  const float x = player->position.x;
  Tap("DK");
  EXPECT_TRUE(player->concealed);
  EXPECT_FLOAT_EQ(0.5f, player->tint.a);
  EXPECT_NEAR(x + 135.0f * kDt, player->position.x, 1e-3f);
  EXPECT_TRUE(player->iconK->hidden);
  Step(static_cast<int>(2.0f / kDt) - 1);
  EXPECT_TRUE(player->stealthed);
  EXPECT_TRUE(player->iconK->hidden) << "the spent stealth's icon came back";
  Step();
  EXPECT_FALSE(player->concealed);
  EXPECT_FLOAT_EQ(1.0f, player->tint.a);
  Tap("K");
  EXPECT_FALSE(player->stealthed) << "a second stealth on the same floor";
}

TEST_F(PlayerTest, CardsArePickedUpWithinReachAndADecoyVanishesLeavingTheHandEmpty)
{
  Key* real = AddKey(55.0f, 0.0f, Key::kAccessCard);
  Tap("E");
  EXPECT_TRUE(player->iconE->hidden);
  EXPECT_EQ(1u, keys.size()) << "out of reach";
  AddKey(-10.0f, 0.0f, 0);
  Step();
  EXPECT_FALSE(player->iconE->hidden);
  Tap("E");
  EXPECT_EQ(0, player->heldCard);
  ASSERT_EQ(1u, keys.size());
  EXPECT_EQ(real, keys[0]) << "the decoy is taken and gone";

  real->home.x = player->position.x + 54.0f;
  Tap("E");
  EXPECT_EQ(Key::kAccessCard, player->heldCard);
  EXPECT_TRUE(keys.empty());
  Step();
  EXPECT_FALSE(player->keyIcon->hidden);
  AddKey(0.0f, 10.0f, 0);
  Step();
  EXPECT_TRUE(player->iconE->hidden) << "E is offered over a decoy where it does nothing";
  Tap("E");
  EXPECT_EQ(Key::kAccessCard, player->heldCard) << "a carried card is never swapped";
}

// A one-tile gap between two desks in row 3 (col 3), and a two-tile doorway in the wall
// at col 6 (rows 4 and 5).
const std::vector<std::string> kGaps = {"##########", "#.....#..#", "#.....#..#",
                                        "###.###..#", "#........#", "#........#",
                                        "#.....#..#", "#.....#..#", "##########"};

float RowY(int row)
{
  return CellCentre(0, row, 9).y;
}

// A straight walk at a gap slides around the corner instead of snagging; walls still stop.
TEST_F(PlayerTest, StraightWalksSlideThroughGapsAndWallsStillStop)
{
  Grid2D gaps(WriteFloor("Gaps", kGaps));
  const struct
  {
    const char* what;
    VNVec2 start;
    unsigned char key;
    float beyond; // the player got through when the walked axis passes this value
    bool passes;
  } cases[] = {
      {"up, centred on the desk gap", {150.0f, RowY(5)}, 'W', RowY(3) + 10.0f, true},
      {"up, half a tile right of the gap", {175.0f, RowY(5)}, 'W', RowY(3) + 10.0f, true},
      {"up, half a tile left of the gap", {125.0f, RowY(5)}, 'W', RowY(3) + 10.0f, true},
      {"up into the flat wall", {50.0f, RowY(5)}, 'W', RowY(3) + 10.0f, false},
      {"right, just above the doorway", {200.0f, RowY(4) + 30.0f}, 'D', 350.0f, true},
      {"left, just below the doorway", {400.0f, RowY(5) - 5.0f}, 'A', 250.0f, true},
      {"right, into the wall a tile above the doorway", {200.0f, RowY(2)}, 'D', 280.0f, false},
  };
  for (const auto& c : cases)
  {
    Player walker;
    walker.tilemap = &gaps;
    walker.position = c.start;
    InjectKey(c.key, true);
    for (int i = 0; i < 90; ++i)
    {
      DispatchAndSample();
      walker.Update(1.0f / 60.0f);
    }
    InjectKey(c.key, false);
    DispatchAndSample();
    const bool vertical = c.key == 'W' || c.key == 'S';
    const float along = vertical ? walker.position.y : walker.position.x;
    const bool through = c.key == 'A' || c.key == 'S' ? along < c.beyond : along > c.beyond;
    EXPECT_EQ(c.passes, through) << c.what << ": ended at (" << walker.position.x << ", "
                                 << walker.position.y << ")";
    // Nothing ever ends up inside a wall.
    EXPECT_TRUE(gaps.IsWalkableAt(walker.position.x, walker.position.y)) << c.what;
  }
}

class CoworkerTest : public ::testing::Test
{
protected:
  void SetUp() override { EnsureTestWindow(); }

  void TearDown() override
  {
    for (Enemy* enemy : enemies)
      delete enemy;
  }

  Enemy* Add(VNVec2 at)
  {
    enemies.push_back(new Enemy("Assets/enemy.png", static_cast<int>(enemies.size()), at.x, at.y));
    enemies.back()->enemies = &enemies;
    return enemies.back();
  }

  // Frames as the level runs them (a path request is answered at once with the grid's
  // search) until the frame in which done() holds.
  void RunUntil(Grid2D& grid, const std::function<bool()>& done)
  {
    for (int frame = 0; frame < 400; ++frame)
    {
      for (Enemy* enemy : enemies)
      {
        enemy->Update(0.05f);
        if (enemy->pathRequested)
          enemy->SetPath(grid.FindPath(enemy->position, enemies[enemy->partner]->home));
      }
      if (done())
        return;
    }
    FAIL() << "the co-workers never got there";
  }

  std::vector<Enemy*> enemies;
};

TEST_F(CoworkerTest, VisitsAColleagueAlongAGridPathChatsAndWalksHome)
{
  Grid2D grid(WriteFloor("Hall", {"##########", "#........#", "#........#", "##########"}));
  // The host comes first, so its state is seen after the visitor's update.
  Enemy* host = Add(CellCentre(8, 2, 4));
  Enemy* visitor = Add(CellCentre(1, 2, 4));
  host->timer = 1000.0f;
  visitor->timer = 0.2f;
  RunUntil(grid, [&] { return visitor->state == Enemy::kVisiting; });
  EXPECT_TRUE(host->reserved);
  ASSERT_EQ(8, visitor->pathCount);
  EXPECT_FLOAT_EQ(host->home.x, visitor->waypoints.back().x);

  RunUntil(grid, [&] { return visitor->state != Enemy::kVisiting; });
  ASSERT_EQ(Enemy::kChatting, visitor->state);
  EXPECT_FLOAT_EQ(visitor->waypoints[6].x, visitor->position.x) << "one cell short of the desk";
  EXPECT_EQ(3, visitor->direction) << "facing the host";
  EXPECT_EQ(Enemy::kBubbleChatting, host->bubble);
  EXPECT_FLOAT_EQ(visitor->timer, host->timer);

  RunUntil(grid, [&] { return visitor->state != Enemy::kChatting; });
  ASSERT_EQ(Enemy::kReturning, visitor->state);
  EXPECT_FALSE(host->reserved);
  EXPECT_FLOAT_EQ(visitor->home.x, visitor->waypoints.back().x) << "the way back reversed";
  RunUntil(grid, [&] { return visitor->state == Enemy::kAtDesk; });
  EXPECT_FLOAT_EQ(visitor->home.x, visitor->position.x);
  EXPECT_TRUE(visitor->available);
}

TEST_F(CoworkerTest, ALoneCoWorkerVisitsItsOwnDeskAndCarriesOn)
{
  Grid2D grid(WriteFloor("Cell", {"#####", "#...#", "#####"}));
  Enemy* alone = Add(CellCentre(2, 1, 3));
  alone->timer = 0.0f;
  RunUntil(grid, [&] { return alone->state == Enemy::kChatting; });
  RunUntil(grid, [&] { return alone->state == Enemy::kAtDesk; });
}

// The co-worker at (500, 500) faces down; the player stands at (dx, dy) from it.
enum Watch
{
  kDesk,
  kWalking,
  kChatting,
  kConcealed,
  kAsleep
};

TEST_F(CoworkerTest, DetectionRisesInSightSinksOutOfItAndAFullMeterCatches)
{
  Enemy* watcher = Add({500.0f, 500.0f});
  Add({2000.0f, 2000.0f});
  VNVec2 player;
  bool concealed = false;
  watcher->playerPosition = &player;
  watcher->playerConcealed = &concealed;
  watcher->partner = 1;
  const struct
  {
    const char* what;
    Watch mode;
    float dx, dy, before, after;
    int bubble;
  } cases[] = {
      {"desk cone", kDesk, 0, -100, 0, 0.25f, Enemy::kBubbleSpotted},
      {"desk circle", kDesk, 65, 0, 0, 0.25f, Enemy::kBubbleSpotted},
      {"desk, behind", kDesk, 0, 100, 0, 0, Enemy::kBubbleSpotted},
      {"desk, behind, sinks", kDesk, 0, 100, 0.8f, 0.675f, Enemy::kBubbleSpotted},
      {"past the desk cone", kDesk, 0, -150, 0, 0.05f, Enemy::kBubbleNone},
      {"outer ring creeps", kDesk, 300, 0, 0.3f, 0.35f, Enemy::kBubbleNone},
      {"outer ring capped", kDesk, 0, 477, 0.42f, 0.42f, Enemy::kBubbleNone},
      {"outer ring stops at the cap", kDesk, 300, 0, 0.38f, 0.4f, Enemy::kBubbleNone},
      {"far away sinks", kDesk, 0, 478, 0.42f, 0.295f, Enemy::kBubbleNone},
      {"walking cone", kWalking, 0, -170, 0, 0.25f, Enemy::kBubbleSpotted},
      {"walking, behind", kWalking, 0, 170, 0.8f, 0.675f, Enemy::kBubbleSpotted},
      {"chatting circle", kChatting, 90, 0, 0, 0.25f, Enemy::kBubbleSpotted},
      {"chatting has no cone", kChatting, 0, -150, 0, 0.05f, Enemy::kBubbleNone},
      {"concealed", kConcealed, 30, 0, 0.9f, 0.25f, Enemy::kBubbleSpotted},
      {"asleep, far", kAsleep, 0, 600, 0.3f, 0, Enemy::kBubbleAsleep},
      {"asleep wakes", kAsleep, 0, 300, 0.3f, 0.05f, Enemy::kBubbleNone},
      {"caught", kDesk, 30, 0, 0.8f, 1.05f, Enemy::kBubbleSpotted},
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.what);
    watcher->position = watcher->home;
    watcher->state = c.mode == kWalking    ? Enemy::kReturning
                     : c.mode == kChatting ? Enemy::kChatting
                                           : Enemy::kAtDesk;
    watcher->SetPath(std::list<VNVec2>{{10.0f, -20.0f}}); // straight down
    watcher->timer = 1000.0f;
    watcher->bubble = c.mode == kAsleep ? Enemy::kBubbleAsleep : Enemy::kBubbleNone;
    watcher->detection = c.before;
    watcher->caught = false;
    concealed = c.mode == kConcealed;
    player = {watcher->position.x + c.dx, watcher->position.y + c.dy};
    watcher->Update(0.05f);
    EXPECT_NEAR(c.after, watcher->detection, 1e-5f);
    EXPECT_EQ(c.bubble, watcher->bubble);
    EXPECT_EQ(c.after >= 1.0f, watcher->caught);
  }
}

TEST_F(CoworkerTest, VisionIsDrawnRedWhenFullAndReshapedForEachState)
{
  Enemy* watcher = Add({500.0f, 500.0f});
  VNVec2 player = {500.0f, 2000.0f};
  watcher->playerPosition = &player;
  watcher->timer = 1000.0f;
  VNGfxSetCamPosition(watcher->position.x, watcher->position.y);
  // Points straight below the co-worker: inside and past its desk cone (120), inside and
  // past its chatting circle (100), which has no cone.
  const std::tuple<int, int, bool> views[] = {{Enemy::kAtDesk, 110, true},
                                              {Enemy::kAtDesk, 130, false},
                                              {Enemy::kChatting, 90, true},
                                              {Enemy::kChatting, 110, false}};
  for (const auto& [state, below, drawn] : views)
  {
    watcher->state = state;
    watcher->Update(0.05f);
    watcher->detection = 1.0f;
    // Leaving render mode makes the next draw upload the moved camera.
    VNGfxSetRenderMode(VN_GFX_RENDER_NONE);
    VNGfxSetBackgroundColor(0.0f, 0.0f, 0.0f);
    VNGfxStart();
    watcher->DrawVision();
    unsigned char pixel[4] = {};
    glReadPixels(640, 360 - below, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(drawn, pixel[0] > 200) << "state " << state << ", " << below << " below";
    EXPECT_LT(pixel[1], 50);
  }
  VNGfxSetCamPosition(0.0f, 0.0f);
}
} // namespace
