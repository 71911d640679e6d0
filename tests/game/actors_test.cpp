// The player and the co-workers on their own: walking against walls, disguise, stealth,
// card pick-up, the pad; the co-workers' visit cycle, their detection meter and vision.
#include <gtest/gtest.h>

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

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

// An open room with a wall column at col 2 on rows 3 to 5.
const std::vector<std::string> kRoom = {
    "############", "#..........#", "#..........#", "#.#........#", "#.#........#",
    "#.#........#", "#..........#", "#..........#", "############",
};

class PlayerTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    EnsureTestWindow();
    ResetGame();
    ReleaseAllKeys();
    grid = std::make_unique<Grid2D>(WriteFloor("PlayerRoom", kRoom));
    player = std::make_unique<Player>();
    player->tilemap = grid.get();
    player->keys = &keys;
    player->position = CellCentre(6, 4, 9);
  }

  void TearDown() override
  {
    DetachVirtualPad();
    ReleaseAllKeys();
    player.reset();
    for (Key* key : keys)
      delete key;
    keys.clear();
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

  void Hold(const std::string& vks, bool down)
  {
    for (char vk : vks)
      InjectKey(vk, down);
  }

  // A key pressed for exactly one update.
  void Tap(unsigned char vk)
  {
    InjectKey(vk, true);
    Step();
    InjectKey(vk, false);
    DispatchAndSample();
  }

  Key* AddKey(float dx, float dy, int value)
  {
    Key* key = new Key(player->position.x + dx, player->position.y + dy);
    key->cardValue = value;
    keys.push_back(key);
    return key;
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
    SCOPED_TRACE(std::string("keys '") + c.keys + "' at " + std::to_string(c.col));
    player->position = CellCentre(c.col, c.row, 9);
    player->frame = 0;
    Hold(c.keys, true);
    Step();
    Hold(c.keys, false);
    EXPECT_NEAR(CellCentre(c.col, c.row, 9).x + c.dx, player->position.x, 1e-3f);
    EXPECT_NEAR(CellCentre(c.col, c.row, 9).y + c.dy, player->position.y, 1e-3f);
    EXPECT_EQ(c.frame, player->frame);
  }
}

TEST_F(PlayerTest, DisguiseConcealsAndFreezesTheBodyThenCoolsDownForThreeSeconds)
{
  AddKey(20.0f, 0.0f, Key::kAccessCard);
  InjectKey('J', true);
  Step();
  EXPECT_TRUE(player->transformed);
  EXPECT_TRUE(player->concealed);
  EXPECT_FALSE(player->smoke->hidden);
  EXPECT_GE(player->frame, 8);

  // Disguised: walking, stealth and pick-up do nothing.
  const VNVec2 still = player->position;
  Hold("DKE", true);
  Step(2);
  Hold("DKE", false);
  EXPECT_FLOAT_EQ(still.x, player->position.x);
  EXPECT_FALSE(player->stealthUsed);
  EXPECT_EQ(1u, keys.size());

  InjectKey('J', false);
  Step();
  EXPECT_FALSE(player->transformed);
  EXPECT_FALSE(player->concealed);
  EXPECT_EQ(0, player->frame);
  EXPECT_FLOAT_EQ(0.5f, player->iconJ->tint.r) << "the J icon is grey while cooling down";
  Tap('J');
  EXPECT_FALSE(player->transformed) << "J during the cooldown";
  Step(static_cast<int>(3.0f / kDt));
  EXPECT_FLOAT_EQ(1.0f, player->iconJ->tint.r);
  Tap('J');
  EXPECT_TRUE(player->transformed);
}

TEST_F(PlayerTest, StealthRunsOncePerFloorForTwoSecondsAtThreeQuartersSpeed)
{
  Step(static_cast<int>(1.6f / kDt)); // past the heads-up's start
  EXPECT_FALSE(player->iconK->hidden);
  InjectKey('D', true);
  const float x = player->position.x;
  Tap('K');
  EXPECT_TRUE(player->stealthed);
  EXPECT_TRUE(player->concealed);
  EXPECT_FLOAT_EQ(0.5f, player->tint.a);
  EXPECT_NEAR(x + 135.0f * kDt, player->position.x, 1e-3f);
  EXPECT_TRUE(player->iconK->hidden);
  InjectKey('D', false);

  Step(static_cast<int>(2.0f / kDt) - 1);
  EXPECT_TRUE(player->stealthed);
  Step();
  EXPECT_FALSE(player->stealthed);
  EXPECT_FALSE(player->concealed);
  EXPECT_FLOAT_EQ(1.0f, player->tint.a);
  Tap('K');
  EXPECT_FALSE(player->stealthed) << "a second stealth on the same floor";
  EXPECT_TRUE(player->iconK->hidden);
}

TEST_F(PlayerTest, CardsArePickedUpWithinReachAndADecoyVanishesLeavingTheHandEmpty)
{
  Key* real = AddKey(55.0f, 0.0f, Key::kAccessCard);
  Step();
  EXPECT_TRUE(player->iconE->hidden);
  Tap('E');
  EXPECT_EQ(1u, keys.size()) << "out of reach";

  AddKey(-10.0f, 0.0f, 0);
  Step();
  EXPECT_FALSE(player->iconE->hidden);
  Tap('E');
  EXPECT_EQ(0, player->heldCard);
  ASSERT_EQ(1u, keys.size());
  EXPECT_EQ(real, keys[0]) << "the decoy is taken and gone";

  real->home.x = player->position.x + 54.0f;
  Tap('E');
  EXPECT_EQ(Key::kAccessCard, player->heldCard);
  EXPECT_TRUE(keys.empty());
  Step();
  EXPECT_FALSE(player->keyIcon->hidden);
  AddKey(0.0f, 10.0f, 0);
  Tap('E');
  EXPECT_EQ(Key::kAccessCard, player->heldCard) << "a carried card is never swapped";
  EXPECT_EQ(1u, keys.size());
}

TEST_F(PlayerTest, PadXDisguisesWhileHeldAndTheStickWalksOnlyPastItsDeadZone)
{
  if (AttachVirtualPad() < 0)
    GTEST_SKIP() << "no virtual game controller available";
  SetVirtualPadButton(VN_PAD_X, true);
  Step(2);
  EXPECT_TRUE(player->transformed);
  SetVirtualPadButton(VN_PAD_X, false);
  Step();
  EXPECT_FALSE(player->transformed) << "letting go of X ends the disguise";

  // SDL's stick y grows downward; half of full tilt is inside the dead zone.
  const std::pair<short, float> tilts[] = {{-30000, kStep}, {-16384, 0.0f}, {0, 0.0f}};
  for (const auto& [tilt, dy] : tilts)
  {
    SetVirtualPadStick(1, tilt);
    Step();
    const float y = player->position.y;
    Step();
    EXPECT_NEAR(y + dy, player->position.y, 1e-3f) << "stick at " << tilt;
  }
}

// A mesh's largest distance from its centre, read back from its vertex buffer.
float FanRadius(const VNGfxVertexList* mesh)
{
  std::vector<float> xyz(mesh->vertexCount * 3);
  glBindBuffer(GL_ARRAY_BUFFER, mesh->buffers[0]);
  glGetBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(xyz.size() * sizeof(float)),
                     xyz.data());
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  float radius = 0.0f;
  for (size_t i = 0; i < xyz.size(); i += 3)
    radius = std::max(radius, std::hypot(xyz[i], xyz[i + 1]));
  return radius;
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
    Enemy* enemy = new Enemy("Assets/enemy.png", static_cast<int>(enemies.size()), at.x, at.y);
    enemy->enemies = &enemies;
    enemies.push_back(enemy);
    return enemy;
  }

  // What the level does each frame: update every co-worker, answering a path request at
  // once with the grid's search. Returns after the frame in which until() holds, or fails.
  void RunUntil(Grid2D& grid, const std::function<bool()>& until, float dt = 0.05f)
  {
    for (int frame = 0; frame < 400; ++frame)
    {
      for (Enemy* enemy : enemies)
      {
        enemy->Update(dt);
        if (enemy->pathRequested)
          enemy->SetPath(grid.FindPath(enemy->position, enemies[enemy->partner]->home));
      }
      if (until())
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
  EXPECT_EQ(0, visitor->partner);
  EXPECT_TRUE(host->reserved);
  ASSERT_EQ(8, visitor->pathCount);
  EXPECT_FLOAT_EQ(host->home.x, visitor->waypoints.back().x);

  RunUntil(grid, [&] { return visitor->state != Enemy::kVisiting; });
  ASSERT_EQ(Enemy::kChatting, visitor->state);
  EXPECT_EQ(Enemy::kAtDesk, host->state);
  EXPECT_FLOAT_EQ(visitor->waypoints[6].x, visitor->position.x) << "one cell short of the desk";
  EXPECT_EQ(3, visitor->direction) << "facing the host";
  EXPECT_EQ(Enemy::kBubbleChatting, host->bubble);
  EXPECT_FLOAT_EQ(visitor->timer, host->timer);

  RunUntil(grid, [&] { return visitor->state != Enemy::kChatting; });
  ASSERT_EQ(Enemy::kReturning, visitor->state);
  EXPECT_TRUE(host->available);
  EXPECT_FALSE(host->reserved);
  EXPECT_FLOAT_EQ(visitor->home.x, visitor->waypoints.back().x) << "the way back reversed";

  RunUntil(grid, [&] { return visitor->state == Enemy::kAtDesk; });
  EXPECT_FLOAT_EQ(visitor->home.x, visitor->position.x);
  EXPECT_FLOAT_EQ(visitor->home.y, visitor->position.y);
  EXPECT_TRUE(visitor->available);
}

TEST_F(CoworkerTest, ALoneCoWorkerVisitsItsOwnDeskAndCarriesOn)
{
  Grid2D grid(WriteFloor("Cell", {"#####", "#...#", "#####"}));
  Enemy* alone = Add(CellCentre(2, 1, 3));
  alone->timer = 0.0f;
  RunUntil(
      grid, [&] { return alone->state == Enemy::kChatting; }, 0.1f);
  RunUntil(
      grid, [&] { return alone->state == Enemy::kAtDesk; }, 0.1f);
  EXPECT_FLOAT_EQ(alone->home.x, alone->position.x);
}

TEST_F(CoworkerTest, DetectionRisesInSightSinksOutOfItAndAFullMeterCatches)
{
  Enemy* watcher = Add({500.0f, 500.0f});
  Add({2000.0f, 2000.0f});
  VNVec2 player;
  bool concealed = false;
  watcher->playerPosition = &player;
  watcher->playerConcealed = &concealed;
  watcher->partner = 1;
  enum Mode
  {
    kDesk,
    kWalking,
    kChatting,
    kConcealed,
    kAsleep
  };
  // One update of 0.05 s with the player at (dx, dy) from the co-worker, who faces down.
  const struct
  {
    const char* what;
    int mode;
    float dx, dy, before, after;
    int bubble;
  } cases[] = {
      {"desk cone", kDesk, 0, -100, 0, 0.25f, Enemy::kBubbleSpotted},
      {"desk circle", kDesk, 65, 0, 0, 0.25f, Enemy::kBubbleSpotted},
      {"desk, behind", kDesk, 0, 100, 0, 0, Enemy::kBubbleSpotted},
      {"desk, behind, sinks", kDesk, 0, 100, 0.8f, 0.675f, Enemy::kBubbleSpotted},
      {"desk, beyond the cone", kDesk, 0, -150, 0, 0.05f, Enemy::kBubbleNone},
      {"outer ring creeps", kDesk, 300, 0, 0.3f, 0.35f, Enemy::kBubbleNone},
      {"outer ring capped", kDesk, 0, 477, 0.42f, 0.42f, Enemy::kBubbleNone},
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
    EXPECT_EQ(0, watcher->direction);
  }
}

TEST_F(CoworkerTest, VisionIsRebuiltForEachStateAndDrawnRedWhenTheMeterIsFull)
{
  Enemy* watcher = Add({500.0f, 500.0f});
  VNVec2 player = {500.0f, 2000.0f};
  watcher->playerPosition = &player;
  watcher->timer = 1000.0f;
  const std::tuple<int, float, float> shapes[] = {{Enemy::kAtDesk, 70.0f, 120.0f},
                                                  {Enemy::kChatting, 100.0f, 0.0f}};
  for (const auto& [state, circle, cone] : shapes)
  {
    watcher->state = state;
    watcher->Update(0.05f);
    EXPECT_NEAR(circle, FanRadius(watcher->circleMesh), 1e-3f) << "state " << state;
    EXPECT_NEAR(cone, FanRadius(watcher->coneMesh), 1e-3f) << "state " << state;
  }

  VNGfxSetCamPosition(watcher->position.x, watcher->position.y);
  // Leaving render mode makes the next draw upload the moved camera.
  VNGfxSetRenderMode(VN_GFX_RENDER_NONE);
  VNGfxSetBackgroundColor(0.0f, 0.0f, 0.0f);
  VNGfxStart();
  watcher->detection = 1.0f;
  watcher->DrawVision();
  unsigned char inside[4] = {}, outside[4] = {};
  glReadPixels(640, 360 - 30, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, inside);
  glReadPixels(640 + 300, 360, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, outside);
  EXPECT_GT(inside[0], 200);
  EXPECT_LT(inside[1], 50);
  EXPECT_LT(outside[0], 50);
  VNGfxSetCamPosition(0.0f, 0.0f);
}
} // namespace
