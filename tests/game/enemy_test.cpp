#include <gtest/gtest.h>

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <cmath>
#include <list>
#include <memory>

#include "Actors/Enemy.h"
#include "PlayTestSupport.h"
#include "World/Grid2D.h"

namespace
{
// A mesh's vertex positions (x, y, z each), read back from its buffer.
std::vector<float> Vertices(const VNGfxVertexList* mesh)
{
  std::vector<float> xyz(mesh->vertexCount * 3);
  glBindBuffer(GL_ARRAY_BUFFER, mesh->buffers[0]);
  glGetBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(xyz.size() * sizeof(float)),
                     xyz.data());
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  return xyz;
}

// Largest distance from the centre among a mesh's vertices.
float FanRadius(const VNGfxVertexList* mesh)
{
  const std::vector<float> xyz = Vertices(mesh);
  float radius = 0.0f;
  for (size_t i = 0; i < xyz.size(); i += 3)
    radius = std::max(radius, std::hypot(xyz[i], xyz[i + 1]));
  return radius;
}

// What the level does for its co-workers each frame: update each, answering a path
// request at once with the grid's search.
void StepFloor(std::vector<Enemy*>& enemies, Grid2D& grid, float dt)
{
  for (Enemy* enemy : enemies)
  {
    enemy->Update(dt);
    if (enemy->pathRequested)
      enemy->SetPath(grid.FindPath(enemy->position, enemies[enemy->partner]->home));
  }
}

class EnemyTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    EnsureTestWindow();
    Enemy::partnerAttempts = 10;
  }

  void TearDown() override
  {
    for (Enemy* enemy : enemies)
      delete enemy;
    enemies.clear();
  }

  Enemy* Add(VNVec2 at)
  {
    Enemy* enemy = new Enemy("Assets/enemy.png", static_cast<int>(enemies.size()), at.x, at.y);
    enemy->enemies = &enemies;
    enemies.push_back(enemy);
    return enemy;
  }

  std::vector<Enemy*> enemies;
};

TEST_F(EnemyTest, BuildFanMakesOneTrianglePerStepWithinTheAngles)
{
  VNGfxVertexList* cone = BuildFan(-50.0f, 50.0f, 180.0f, 2.0f);
  VNGfxVertexList* circle = BuildFan(0.0f, 360.0f, 60.0f, 2.0f);
  VNGfxVertexList* none = BuildFan(30.0f, 30.0f, 60.0f, 2.0f);
  EXPECT_EQ(150u, cone->vertexCount);
  EXPECT_EQ(540u, circle->vertexCount);
  EXPECT_EQ(0u, none->vertexCount);
  EXPECT_NEAR(180.0f, FanRadius(cone), 1e-3f);
  EXPECT_NEAR(60.0f, FanRadius(circle), 1e-3f);

  const std::vector<float> xyz = Vertices(cone);
  for (size_t i = 0; i < xyz.size(); i += 9)
  {
    EXPECT_FLOAT_EQ(0.0f, xyz[i]); // every triangle starts at the centre
    for (size_t corner = 3; corner < 9; corner += 3)
    {
      const float angle = std::atan2(xyz[i + corner + 1], xyz[i + corner]);
      EXPECT_LE(std::fabs(angle), 50.001f * 3.14159265f / 180.0f);
    }
  }
  VNGfxMeshFree(cone);
  VNGfxMeshFree(circle);
  VNGfxMeshFree(none);
}

TEST_F(EnemyTest, VisitCycleOfTwoCoWorkersAlongGridPaths)
{
  const std::vector<std::string> hall = {
      "##########", "#........#", "#........#", "#........#", "##########",
  };
  Grid2D grid(WriteFloor("EnemyHall", hall));
  // The visited co-worker comes first so its state is seen after the visitor's update.
  Enemy* host = Add(CellCentre(8, 2, 5));
  Enemy* visitor = Add(CellCentre(1, 2, 5));
  host->timer = 1000.0f;
  visitor->timer = 0.25f;
  const float dt = 0.05f;

  int frames = 0;
  while (visitor->state == Enemy::kAtDesk && frames++ < 100)
    StepFloor(enemies, grid, dt);
  ASSERT_EQ(Enemy::kVisiting, visitor->state);
  ASSERT_EQ(0, visitor->partner);
  EXPECT_FALSE(visitor->pathRequested);
  EXPECT_FALSE(visitor->available);
  EXPECT_FALSE(host->available);
  EXPECT_TRUE(host->reserved);
  EXPECT_EQ(Enemy::kBubbleNone, visitor->bubble);
  EXPECT_EQ(10, Enemy::partnerAttempts);
  ASSERT_EQ(8, visitor->pathCount);
  EXPECT_FLOAT_EQ(visitor->home.x, visitor->waypoints.front().x);
  EXPECT_FLOAT_EQ(host->home.x, visitor->waypoints.back().x);
  EXPECT_FLOAT_EQ(host->home.y, visitor->waypoints.back().y);

  // The visited co-worker waits at its desk without counting its own time.
  const float hostTimer = host->timer;
  frames = 0;
  while (visitor->state == Enemy::kVisiting && frames++ < 200)
  {
    StepFloor(enemies, grid, dt);
    EXPECT_EQ(Enemy::kAtDesk, host->state);
    if (visitor->state == Enemy::kVisiting)
    {
      EXPECT_FLOAT_EQ(hostTimer, host->timer);
    }
  }
  ASSERT_EQ(Enemy::kChatting, visitor->state);
  // The visitor stops one waypoint short of the desk, facing it.
  EXPECT_FLOAT_EQ(visitor->waypoints[6].x, visitor->position.x);
  EXPECT_FLOAT_EQ(visitor->waypoints[6].y, visitor->position.y);
  EXPECT_EQ(3, visitor->direction);
  EXPECT_EQ(Enemy::kBubbleChatting, visitor->bubble);
  EXPECT_EQ(Enemy::kBubbleChatting, host->bubble);
  EXPECT_EQ("Assets/b3.png", visitor->bubbleSprite->textureName);
  EXPECT_FLOAT_EQ(visitor->timer, host->timer);
  EXPECT_GE(visitor->timer, 1.0f);
  EXPECT_LE(visitor->timer, 6.0f);

  frames = 0;
  while (visitor->state == Enemy::kChatting && frames++ < 200)
    StepFloor(enemies, grid, dt);
  ASSERT_EQ(Enemy::kReturning, visitor->state);
  // The host is released with both timers at zero.
  EXPECT_EQ(Enemy::kAtDesk, host->state);
  EXPECT_TRUE(host->available);
  EXPECT_FALSE(host->reserved);
  EXPECT_FLOAT_EQ(0.0f, host->timer);
  EXPECT_FLOAT_EQ(0.0f, visitor->timer);
  EXPECT_EQ(Enemy::kBubbleNone, visitor->bubble);
  // The way home is the way there reversed.
  EXPECT_FLOAT_EQ(host->home.x, visitor->waypoints.front().x);
  EXPECT_FLOAT_EQ(visitor->home.x, visitor->waypoints.back().x);

  frames = 0;
  while (visitor->state == Enemy::kReturning && frames++ < 300)
  {
    StepFloor(enemies, grid, dt);
    // While the visitor walks home it keeps the host at its desk, working.
    EXPECT_EQ(Enemy::kAtDesk, host->state);
    EXPECT_EQ(Enemy::kBubbleWorking, host->bubble);
  }
  ASSERT_EQ(Enemy::kAtDesk, visitor->state);
  EXPECT_FLOAT_EQ(visitor->home.x, visitor->position.x);
  EXPECT_FLOAT_EQ(visitor->home.y, visitor->position.y);
  EXPECT_TRUE(visitor->available);
  EXPECT_FALSE(visitor->reserved);
  EXPECT_GE(visitor->timer, 0.0f);
  EXPECT_LE(visitor->timer, 9.0f);
  EXPECT_TRUE(visitor->bubble == Enemy::kBubbleNone || visitor->bubble == Enemy::kBubbleAsleep ||
              visitor->bubble == Enemy::kBubbleWorking);
}

TEST_F(EnemyTest, SingleCoWorkerVisitsItsOwnDeskAndCarriesOn)
{
  const std::vector<std::string> room = {
      "#####",
      "#...#",
      "#...#",
      "#####",
  };
  Grid2D grid(WriteFloor("EnemyCell", room));
  Enemy* alone = Add(CellCentre(2, 2, 4));
  alone->timer = 0.0f;
  StepFloor(enemies, grid, 0.1f);
  EXPECT_EQ(0, alone->partner);
  EXPECT_EQ(Enemy::kVisiting, alone->state);
  EXPECT_TRUE(alone->reserved);
  EXPECT_EQ(0, alone->pathCount);

  // An empty path: it has arrived at once and chats where it stands.
  StepFloor(enemies, grid, 0.1f);
  EXPECT_EQ(Enemy::kChatting, alone->state);
  int frames = 0;
  while (alone->state != Enemy::kAtDesk && frames++ < 100)
    StepFloor(enemies, grid, 0.1f);
  EXPECT_EQ(Enemy::kAtDesk, alone->state);
  EXPECT_FLOAT_EQ(alone->home.x, alone->position.x);
  EXPECT_FLOAT_EQ(alone->home.y, alone->position.y);
  EXPECT_EQ(10, Enemy::partnerAttempts);
}

class DetectionTest : public EnemyTest
{
protected:
  void SetUp() override
  {
    EnemyTest::SetUp();
    watcher = Add({500.0f, 500.0f});
    Add({2000.0f, 2000.0f}); // a colleague to be the partner
    watcher->timer = 1000.0f;
    watcher->playerPosition = &player;
    watcher->playerConcealed = &concealed;
  }

  // Puts the player at an offset from the watcher and updates it once.
  void Watch(float dx, float dy, float dt = 0.05f)
  {
    player = {watcher->position.x + dx, watcher->position.y + dy};
    watcher->Update(dt);
  }

  // Makes the watcher walk straight down (facing down) towards a far waypoint.
  void WalkDown()
  {
    watcher->state = Enemy::kReturning;
    watcher->partner = 1;
    watcher->SetPath(std::list<VNVec2>{{10.0f, -20.0f}});
  }

  Enemy* watcher = nullptr;
  VNVec2 player = {0.0f, 0.0f};
  bool concealed = false;
};

TEST_F(DetectionTest, AtTheDeskTheCircleAndTheConeFillTheMeterUntilItCatches)
{
  Watch(0.0f, -100.0f); // ahead, inside the 120 cone
  EXPECT_FLOAT_EQ(0.25f, watcher->detection);
  EXPECT_EQ(Enemy::kBubbleSpotted, watcher->bubble);
  EXPECT_FLOAT_EQ(70.0f, watcher->closeRadius);
  EXPECT_FLOAT_EQ(120.0f, watcher->sightRange);

  watcher->detection = 0.0f;
  Watch(0.0f, 100.0f); // behind, outside the 70 circle
  EXPECT_FLOAT_EQ(0.0f, watcher->detection);
  EXPECT_EQ(Enemy::kBubbleSpotted, watcher->bubble);

  Watch(65.0f, 0.0f); // beside, inside the circle
  EXPECT_FLOAT_EQ(0.25f, watcher->detection);

  watcher->detection = 0.8f;
  Watch(0.0f, 100.0f); // behind: sinks by 2.5 per second
  EXPECT_FLOAT_EQ(0.675f, watcher->detection);

  // From empty, four twentieths of a second in the circle fill the meter.
  watcher->detection = 0.0f;
  for (int i = 0; i < 3; ++i)
    Watch(30.0f, 0.0f);
  EXPECT_FALSE(watcher->caught);
  Watch(30.0f, 0.0f);
  EXPECT_TRUE(watcher->caught);
}

TEST_F(DetectionTest, OuterRingCreepsToTheCapAndFarAwayTheMeterSinks)
{
  for (int i = 0; i < 20; ++i)
    Watch(300.0f, 0.0f);
  EXPECT_EQ(Enemy::kBubbleNone, watcher->bubble);
  EXPECT_GE(watcher->detection, 0.4f - 1e-4f);
  EXPECT_LE(watcher->detection, 0.45f + 1e-4f);
  EXPECT_FALSE(watcher->caught);

  const float capped = watcher->detection;
  Watch(0.0f, 477.0f); // just inside the 477.5 ring: no more rise above the cap
  EXPECT_FLOAT_EQ(capped, watcher->detection);
  Watch(0.0f, 478.0f); // just outside: sinks
  EXPECT_FLOAT_EQ(capped - 0.125f, watcher->detection);
}

TEST_F(DetectionTest, WalkingCoWorkerCatchesAheadInAFifthOfASecondButNotBehind)
{
  WalkDown();
  for (int i = 0; i < 3; ++i)
    Watch(0.0f, -170.0f);
  EXPECT_EQ(0, watcher->direction);
  EXPECT_FLOAT_EQ(60.0f, watcher->closeRadius);
  EXPECT_FLOAT_EQ(180.0f, watcher->sightRange);
  EXPECT_FALSE(watcher->caught);
  Watch(0.0f, -170.0f);
  EXPECT_TRUE(watcher->caught);

  watcher->caught = false;
  watcher->detection = 0.8f;
  float last = watcher->detection;
  for (int i = 0; i < 10; ++i)
  {
    Watch(0.0f, 170.0f);
    EXPECT_LE(watcher->detection, last);
    last = watcher->detection;
  }
  EXPECT_GE(last, 0.4f - 0.125f);
  EXPECT_LE(last, 0.425f);
  EXPECT_FALSE(watcher->caught);
}

TEST_F(DetectionTest, ConcealedPlayerAndSleepingCoWorkerResetTheMeter)
{
  concealed = true;
  for (int i = 0; i < 120; ++i)
  {
    Watch(30.0f, 0.0f, 1.0f / 60.0f);
    EXPECT_LE(watcher->detection, 5.0f / 60.0f + 1e-6f);
  }
  EXPECT_FALSE(watcher->caught);
  EXPECT_EQ(Enemy::kBubbleSpotted, watcher->bubble);

  // Asleep: far away it sleeps on; within 477.5 it wakes and then watches normally.
  concealed = false;
  watcher->detection = 0.3f;
  watcher->bubble = Enemy::kBubbleAsleep;
  Watch(0.0f, 600.0f);
  EXPECT_EQ(Enemy::kBubbleAsleep, watcher->bubble);
  EXPECT_FLOAT_EQ(0.0f, watcher->detection);
  Watch(0.0f, 300.0f);
  EXPECT_EQ(Enemy::kBubbleNone, watcher->bubble);
  EXPECT_FLOAT_EQ(0.05f, watcher->detection);
  Watch(0.0f, 300.0f);
  EXPECT_FLOAT_EQ(0.1f, watcher->detection);
}

TEST_F(DetectionTest, VisionShapesFollowTheStateAndShrinkingRebuildsThem)
{
  EXPECT_NEAR(60.0f, FanRadius(watcher->circleMesh), 1e-3f);
  EXPECT_NEAR(180.0f, FanRadius(watcher->coneMesh), 1e-3f);

  // Without a player nothing is watched and the shapes stay.
  watcher->playerPosition = nullptr;
  watcher->Update(0.05f);
  EXPECT_NEAR(180.0f, FanRadius(watcher->coneMesh), 1e-3f);

  watcher->playerPosition = &player;
  Watch(0.0f, 1000.0f);
  EXPECT_NEAR(70.0f, FanRadius(watcher->circleMesh), 1e-3f);
  EXPECT_NEAR(120.0f, FanRadius(watcher->coneMesh), 1e-3f);

  // Chatting: a wide circle and no cone.
  watcher->state = Enemy::kChatting;
  Watch(90.0f, 0.0f);
  EXPECT_NEAR(100.0f, FanRadius(watcher->circleMesh), 1e-3f);
  EXPECT_NEAR(0.0f, FanRadius(watcher->coneMesh), 1e-3f);
  EXPECT_GT(watcher->detection, 0.0f);
  watcher->detection = 0.0f;
  Watch(0.0f, -150.0f); // straight ahead, but there is no cone
  EXPECT_EQ(Enemy::kBubbleNone, watcher->bubble);
  EXPECT_FLOAT_EQ(0.05f, watcher->detection);
}

TEST_F(DetectionTest, VisionIsDrawnRedWhenTheMeterIsFull)
{
  VNGfxSetCamPosition(watcher->position.x, watcher->position.y);
  // Leaving render mode makes the next draw upload the moved camera.
  VNGfxSetRenderMode(VN_GFX_RENDER_NONE);
  VNGfxSetBackgroundColor(0.0f, 0.0f, 0.0f);
  VNGfxStart();
  watcher->detection = 1.0f;
  watcher->DrawVision();
  // 30 units below the co-worker (inside the circle) is the window's centre moved down.
  unsigned char inside[4] = {}, outside[4] = {};
  glReadPixels(640, 360 - 30, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, inside);
  glReadPixels(640 + 300, 360, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, outside);
  EXPECT_GT(inside[0], 200);
  EXPECT_LT(inside[1], 50);
  EXPECT_LT(outside[0], 50);
  VNGfxSetCamPosition(0.0f, 0.0f);
}
} // namespace
