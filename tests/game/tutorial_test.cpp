#include <GL/gl.h>
#include <stdlib.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Actors/Enemy.h"
#include "Actors/Player.h"
#include "Levels/TutorialLevel.h"
#include "PlayTestSupport.h"

namespace
{
const float kFrame = 1.0f / 60.0f;

using TutorialProbe = LevelProbe<TutorialLevel>;
// Where the hint pictures are taken from: the window's centre in the world.
const VNVec2 kCamera = {640.0f, 600.0f};

struct Rgb
{
  int r;
  int g;
  int b;
};

class TutorialTest : public FloorTest
{
protected:
  void SetUp() override
  {
    FloorTest::SetUp();
    InjectMouseMove(5, 5);
    DispatchAndSample();
    tutorial = new TutorialProbe();
    LevelManager::Instance()->AddLevel(tutorial);
    LevelManager::Instance()->ChangeLevel("TutorialLevel");
    ASSERT_EQ(1u, tutorial->players.size()) << "the shipped tutorial floor has one player";
    player = tutorial->players[0];
  }

  // The co-worker spawned from the event record at index, or null.
  Enemy* Coworker(int index)
  {
    for (Enemy* enemy : tutorial->enemies)
      if (enemy->index == index)
        return enemy;
    return nullptr;
  }

  // Pixels within `slack` of the ink colour in the window rectangle where a text of some
  // characters printed at world point (x, y) lies, seen from kCamera.
  static int InkPixels(int x, int y, int characters, Rgb ink, int slack)
  {
    const int left = static_cast<int>(x - kCamera.x + 640.0f) - 2;
    const int bottom = static_cast<int>(y - kCamera.y + 360.0f) - 8;
    const int width = characters * 16;
    const int height = 36;
    std::vector<unsigned char> block(static_cast<size_t>(width) * height * 4);
    glReadPixels(left, bottom, width, height, GL_RGBA, GL_UNSIGNED_BYTE, block.data());
    int count = 0;
    for (size_t i = 0; i < block.size(); i += 4)
      count += abs(block[i] - ink.r) <= slack && abs(block[i + 1] - ink.g) <= slack &&
               abs(block[i + 2] - ink.b) <= slack;
    return count;
  }

  // Draws the floor, and everything on it when whole, seen from kCamera.
  void DrawView(bool whole)
  {
    VNGfxSetCamPosition(kCamera.x, kCamera.y);
    VNGfxSetBackgroundColor(0.0f, 0.0f, 0.0f);
    VNGfxStart();
    VNGfxSetRenderMode(VN_GFX_RENDER_COLOR);
    tutorial->DrawTilemap();
    if (whole)
      tutorial->Draw();
    glFinish();
  }

  TutorialProbe* tutorial = nullptr;
  Player* player = nullptr;
};

TEST_F(TutorialTest, PlayStartsInTheFirstFrameWithThePauseButtonShown)
{
  EXPECT_EQ(TestLevel::kPlaying, tutorial->playState);
  ASSERT_NE(nullptr, Button("Pause"));
  EXPECT_FALSE(Button("Pause")->hidden);
  ASSERT_NE(nullptr, Button("Game_State"));
  EXPECT_FALSE(Button("Game_State")->disabled);
  EXPECT_EQ(nullptr, Button("Loading"));
  EXPECT_NE(0u, tutorial->fontBase);
  EXPECT_EQ("Assets/Sound/TutorialBGM.ogg", SoundManager::Instance()->pendingMusic);

  Enemy* roamer = Coworker(11);
  ASSERT_NE(nullptr, roamer);
  const float timer = roamer->timer;
  const float startY = player->position.y;
  InjectKey('W', true);
  RunFrame(kFrame);
  EXPECT_LT(roamer->timer, timer) << "the co-workers run from the first frame";
  EXPECT_GT(player->position.y, startY) << "the player walks from the first frame";
  InjectKey('W', false);

  // A retry builds a fresh floor without a loading state either.
  LevelManager::Instance()->ChangeLevel("TutorialLevel");
  EXPECT_EQ(TestLevel::kPlaying, tutorial->playState);
  EXPECT_NE(0u, tutorial->fontBase);
  EXPECT_EQ(1u, tutorial->players.size());
}

TEST_F(TutorialTest, PinnedCoworkersKeepTheirBubblesAndNeverLeaveTheirDesks)
{
  for (int index = TutorialLevel::kFirstPinned; index <= TutorialLevel::kLastPinned; ++index)
    ASSERT_NE(nullptr, Coworker(index)) << "the floor has a co-worker at record " << index;

  bool someoneVisited = false;
  for (int frame = 0; frame < 400; ++frame)
  {
    RunFrame(0.1f);
    ASSERT_EQ(TestLevel::kPlaying, tutorial->playState) << "frame " << frame;
    for (Enemy* enemy : tutorial->enemies)
    {
      if (enemy->index < TutorialLevel::kFirstPinned || enemy->index > TutorialLevel::kLastPinned)
      {
        someoneVisited |= enemy->state != Enemy::kAtDesk;
        continue;
      }
      ASSERT_EQ(Enemy::kAtDesk, enemy->state) << "record " << enemy->index;
      ASSERT_FLOAT_EQ(enemy->home.x, enemy->position.x) << "record " << enemy->index;
      ASSERT_FLOAT_EQ(enemy->home.y, enemy->position.y) << "record " << enemy->index;
      const int bubble = enemy->index == TutorialLevel::kSleeper  ? Enemy::kBubbleAsleep
                         : enemy->index == TutorialLevel::kWorker ? Enemy::kBubbleWorking
                                                                 : Enemy::kBubbleNone;
      ASSERT_EQ(bubble, enemy->bubble) << "record " << enemy->index;
    }
  }
  EXPECT_TRUE(someoneVisited) << "the free co-workers still visit each other";
}

TEST_F(TutorialTest, TheSleeperNeverCatchesWhileTheWorkerDoes)
{
  Enemy* sleeper = Coworker(TutorialLevel::kSleeper);
  Enemy* worker = Coworker(TutorialLevel::kWorker);
  ASSERT_NE(nullptr, sleeper);
  ASSERT_NE(nullptr, worker);

  player->position = {sleeper->position.x, sleeper->position.y - 30.0f};
  for (int frame = 0; frame < 120; ++frame)
    RunFrame(kFrame);
  // One long frame, as after a stall, fills a waking co-worker's meter at once.
  RunFrame(0.5f);
  EXPECT_EQ(TestLevel::kPlaying, tutorial->playState);
  EXPECT_EQ(Enemy::kBubbleAsleep, sleeper->bubble);
  EXPECT_EQ("Assets/b2.png", sleeper->bubbleSprite->textureName)
      << "the spotted image is chosen before the bubble is pinned";

  player->position = {worker->position.x, worker->position.y - 30.0f};
  for (int frame = 0; frame < 60 && tutorial->playState == TestLevel::kPlaying; ++frame)
    RunFrame(kFrame);
  EXPECT_EQ(TestLevel::kCaught, tutorial->playState);
}

TEST_F(TutorialTest, StealthComesBackButARunIsNotLengthened)
{
  ASSERT_FALSE(tutorial->exits.empty());
  Button2D* iconK = Button("iconK");
  ASSERT_NE(nullptr, iconK);
  for (int run = 0; run < 3; ++run)
  {
    Press('K', 0.1f);
    Release('K', 0.1f);
    EXPECT_TRUE(player->stealthed) << "run " << run;
    EXPECT_FALSE(iconK->hidden) << "run " << run;

    // A press halfway through does not start the two seconds again.
    for (int i = 0; i < 8; ++i)
      RunFrame(0.1f);
    Press('K', 0.1f);
    InjectKey('K', false);
    for (int i = 0; i < 8; ++i)
      RunFrame(0.1f);
    EXPECT_TRUE(player->stealthed) << "1.9 s into run " << run;
    RunFrame(0.1f);
    RunFrame(0.1f);
    EXPECT_FALSE(player->stealthed) << "2.1 s into run " << run;
  }
}

TEST_F(TutorialTest, HintsArePrintedInTheirColours)
{
  const Rgb red = {255, 0, 0};
  const Rgb green = {83, 127, 75};
  // Away from every co-worker and the player, so only the texts can bring these colours.
  player->position = {1000.0f, 1500.0f};
  RunFrame(kFrame);

  DrawView(false);
  const int floorRed = InkPixels(100, 470, 26, red, 30);
  const int floorGreen = InkPixels(168, 735, 5, green, 6);
  const int floorHint = InkPixels(735, 330, 5, red, 30);

  DrawView(true);
  EXPECT_GT(InkPixels(100, 470, 26, red, 30), floorRed + 40)
      << "\"Movement Controls: W A S D\" in red";
  EXPECT_GT(InkPixels(168, 735, 5, green, 6), floorGreen + 15) << "\"Sleep\" in green";
  EXPECT_GT(InkPixels(735, 330, 5, red, 30), floorHint + 15) << "\"HINT:\" in red";
  EXPECT_EQ(0, InkPixels(168, 735, 5, red, 30)) << "\"Sleep\" is not red";
}
} // namespace
