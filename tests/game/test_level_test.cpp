#include <gtest/gtest.h>

#include "Actors/Enemy.h"
#include "Actors/Key.h"
#include "Actors/Player.h"
#include "PlayTestSupport.h"
#include "World/Grid2D.h"

namespace
{
const float kFrame = 1.0f / 60.0f;

const std::vector<std::string> kOpenFloor = {
    "##########", "#........#", "#.P....X.#", "#........#", "##########",
};

const std::vector<std::string> kCardFloor = {
    "##########", "#........#", "#.P..K.X.#", "#....K...#", "##########",
};

const std::vector<std::string> kGuardedFloor = {
    "##########", "#........#", "#.P.E..X.#", "#......E.#", "##########",
};

// Draws the current level as the main loop does; a GL error halts the program.
void DrawFrame()
{
  Level* current = LevelManager::Instance()->current;
  VNGfxStart();
  VNGfxSetRenderMode(VN_GFX_RENDER_COLOR);
  if (current)
  {
    current->DrawTilemap();
    current->Draw();
    Camera::Instance()->DrawOverlay();
  }
  VNGfxEnd();
}

using GameplayLevelTest = FloorTest;

TEST_F(GameplayLevelTest, NameComesFromTheFileUpToTheFirstDot)
{
  TestLevel levelThree("Level3.tmx");
  EXPECT_EQ("Level3", levelThree.name);
  EXPECT_EQ("Level3.tmx", levelThree.fileName);
  TestLevel testRun("tmp.bin");
  EXPECT_EQ("tmp", testRun.name);
}

TEST_F(GameplayLevelTest, LoadingPictureForOneAndAHalfSecondsThenPlay)
{
  Enter("OpenFloor", kOpenFloor);
  ASSERT_EQ(1u, level->players.size());
  Player* player = level->players[0];
  EXPECT_EQ("Player1", player->name);
  EXPECT_FLOAT_EQ(100.0f, player->position.x);
  EXPECT_FLOAT_EQ(150.0f, player->position.y);
  ASSERT_EQ(1u, level->exits.size());
  EXPECT_FLOAT_EQ(350.0f, level->exits[0].x);
  EXPECT_TRUE(level->noCardNeeded);
  EXPECT_EQ(&player->position, Camera::Instance()->followTarget);
  EXPECT_TRUE(Camera::Instance()->followMode);

  EXPECT_EQ(TestLevel::kLoading, level->playState);
  ASSERT_NE(nullptr, Button("Loading"));
  EXPECT_FALSE(Button("Loading")->hidden);
  EXPECT_TRUE(Button("Pause")->hidden);

  // Nothing moves while the picture shows: three half-second frames reach 1.5 s.
  InjectKey('D', true);
  for (int i = 0; i < 3; ++i)
  {
    RunFrame(0.5f);
    EXPECT_EQ(TestLevel::kLoading, level->playState);
    EXPECT_TRUE(Button("Pause")->hidden);
  }
  EXPECT_FLOAT_EQ(100.0f, player->position.x);

  RunFrame(0.5f);
  EXPECT_EQ(TestLevel::kPlaying, level->playState);
  EXPECT_FALSE(Button("Pause")->hidden);
  EXPECT_FALSE(Button("Loading")->hidden);
  EXPECT_FLOAT_EQ(0.0f, Button("Loading")->tint.a);
  DrawFrame();
}

TEST_F(GameplayLevelTest, EscapeWithinFortyUnitsWhenNoCardIsNeeded)
{
  Enter("OpenFloor", kOpenFloor);
  Play();
  Player* player = level->players[0];
  player->position = {level->exits[0].x - 40.1f, level->exits[0].y};
  RunFrame(kFrame);
  EXPECT_EQ(TestLevel::kPlaying, level->playState);

  player->position = {level->exits[0].x - 39.9f, level->exits[0].y};
  RunFrame(kFrame);
  EXPECT_EQ(TestLevel::kEscaped, level->playState);
  EXPECT_FALSE(Button("Game_State")->hidden);
  EXPECT_EQ("Assets/Escaped.png", Button("Game_State")->textureName);
  EXPECT_FALSE(Button("MainMenu")->hidden);
  EXPECT_TRUE(Button("Retry")->hidden);

  // The floor is frozen on the escape screen.
  InjectKey('A', true);
  const VNVec2 at = player->position;
  RunFrame(kFrame);
  EXPECT_FLOAT_EQ(at.x, player->position.x);
  DrawFrame();
}

TEST_F(GameplayLevelTest, ExitNeedsTheRealCardAndADecoyDoesNotOpenIt)
{
  Enter("CardFloor", kCardFloor);
  ASSERT_EQ(2u, level->keys.size());
  EXPECT_FALSE(level->noCardNeeded);
  EXPECT_EQ(Key::kAccessCard, level->keys[0]->cardValue + level->keys[1]->cardValue);
  Key* real = level->keys[0]->cardValue ? level->keys[0] : level->keys[1];
  Key* decoy = real == level->keys[0] ? level->keys[1] : level->keys[0];
  const VNVec2 realHome = real->home;
  Play();

  Player* player = level->players[0];
  player->position = level->exits[0];
  RunFrame(kFrame);
  EXPECT_EQ(TestLevel::kPlaying, level->playState);

  player->position = decoy->home;
  Tap('E');
  EXPECT_EQ(0, player->heldCard);
  ASSERT_EQ(1u, level->keys.size());
  player->position = level->exits[0];
  RunFrame(kFrame);
  EXPECT_EQ(TestLevel::kPlaying, level->playState);

  player->position = realHome;
  Tap('E');
  EXPECT_EQ(Key::kAccessCard, player->heldCard);
  EXPECT_TRUE(level->keys.empty());
  player->position = level->exits[0];
  RunFrame(kFrame);
  EXPECT_EQ(TestLevel::kEscaped, level->playState);
}

TEST_F(GameplayLevelTest, FullMeterEntersTheCaptureScreenUnlessThePlayerEscapesInThatFrame)
{
  Enter("Guarded", kGuardedFloor);
  Play();
  Enemy* guard = level->enemies[0];
  Player* player = level->players[0];
  EXPECT_EQ(&player->position, guard->playerPosition);
  EXPECT_EQ(&player->concealed, guard->playerConcealed);

  guard->detection = 0.99f;
  player->position = {guard->position.x + 30.0f, guard->position.y};
  RunFrame(kFrame);
  EXPECT_TRUE(guard->caught);
  EXPECT_EQ(TestLevel::kCaught, level->playState);
  EXPECT_FALSE(Button("Game_State")->hidden);
  EXPECT_EQ("Assets/GameOver.png", Button("Game_State")->textureName);
  EXPECT_FALSE(Button("Retry")->hidden);
  EXPECT_FALSE(Button("MainMenu")->hidden);
  // The pause button stays but does nothing here, nor does Esc.
  EXPECT_FALSE(Button("Pause")->hidden);
  Press(VN_KEY_ESCAPE);
  EXPECT_EQ(TestLevel::kCaught, level->playState);
  DrawFrame();
  Release(VN_KEY_ESCAPE);

  // Caught at the exit: the escape wins.
  LevelManager::Instance()->ChangeLevel(level->name);
  Play();
  guard = level->enemies[1];
  player = level->players[0];
  player->position = {level->exits[0].x + 10.0f, level->exits[0].y};
  guard->position = {player->position.x, player->position.y - 30.0f};
  guard->detection = 0.99f;
  RunFrame(kFrame);
  EXPECT_TRUE(guard->caught);
  EXPECT_EQ(TestLevel::kEscaped, level->playState);
  EXPECT_EQ("Assets/Escaped.png", Button("Game_State")->textureName);
  EXPECT_TRUE(Button("Retry")->hidden);
}

TEST_F(GameplayLevelTest, CoWorkersAskingInOneFrameGetTheirPathsInThatFrame)
{
  Enter("Office", {
                      "##########",
                      "#........#",
                      "#.E....E.#",
                      "#........#",
                      "#.E....E.#",
                      "#........#",
                      "##########",
                  });
  ASSERT_EQ(4u, level->enemies.size());
  EXPECT_TRUE(level->players.empty());
  EXPECT_EQ(nullptr, Button("iconJ"));
  Play();
  Enemy* first = level->enemies[0];
  Enemy* third = level->enemies[2];
  for (Enemy* enemy : level->enemies)
  {
    enemy->timer = 1000.0f;
    EXPECT_EQ(nullptr, enemy->playerPosition);
  }
  first->timer = 0.0f;
  third->timer = 0.0f;
  // Off its desk the third cannot be chosen, but it still chooses.
  third->position.x += 10.0f;
  RunFrame(0.05f);
  EXPECT_EQ(Enemy::kVisiting, first->state);
  EXPECT_EQ(Enemy::kVisiting, third->state);
  EXPECT_FALSE(first->pathRequested);
  EXPECT_FALSE(third->pathRequested);
  EXPECT_GT(first->pathCount, 1);
  EXPECT_NE(0, first->partner);
  EXPECT_NE(2, first->partner);

  // Without a player they go on visiting each other for a long while.
  for (int i = 0; i < 600; ++i)
    RunFrame(0.05f);
  EXPECT_EQ(TestLevel::kPlaying, level->playState);
  DrawFrame();
}

TEST_F(GameplayLevelTest, SeveralStartsMakeSeveralPlayersAndAnyMayEscape)
{
  Enter("TwoStarts", {
                         "##########",
                         "#.P......#",
                         "#.P....X.#",
                         "#....E...#",
                         "##########",
                     });
  ASSERT_EQ(2u, level->players.size());
  Play();
  Player* first = level->players[0];
  Player* second = level->players[1];
  EXPECT_EQ(&first->position, Camera::Instance()->followTarget);
  EXPECT_EQ(&first->position, level->enemies[0]->playerPosition);

  const float firstX = first->position.x;
  const float secondX = second->position.x;
  Press('D', 0.1f);
  EXPECT_GT(first->position.x, firstX);
  EXPECT_GT(second->position.x, secondX);
  Release('D');
  DrawFrame();

  second->position = level->exits[0];
  RunFrame(kFrame);
  EXPECT_EQ(TestLevel::kEscaped, level->playState);
}

TEST_F(GameplayLevelTest, UnreadableFileGivesAnEmptyFloorThatStillPauses)
{
  EnterFile(FloorFolder() + "/Missing.tmx");
  EXPECT_TRUE(level->players.empty());
  EXPECT_TRUE(level->enemies.empty());
  EXPECT_TRUE(level->exits.empty());
  Play();
  EXPECT_EQ(TestLevel::kPlaying, level->playState);
  DrawFrame();
  Press(VN_KEY_ESCAPE);
  EXPECT_EQ(TestLevel::kPaused, level->playState);
}
} // namespace
