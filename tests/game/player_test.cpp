#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "Actors/Key.h"
#include "Actors/Player.h"
#include "Framework/Button2D.h"
#include "PlayTestSupport.h"
#include "World/Grid2D.h"

namespace
{
const float kDt = 0.125f;

// An open room with a wall column at col 2 on rows 3 to 5.
const std::vector<std::string> kRoom = {
    "############", "#..........#", "#..........#", "#.#........#", "#.#........#",
    "#.#........#", "#..........#", "#..........#", "############",
};
const int kRoomHeight = 9;

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
    player->position = CellCentre(6, 4, kRoomHeight);
  }

  void TearDown() override
  {
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

  // Presses a key for exactly one update.
  void Tap(unsigned char vk)
  {
    SetKey(vk, true);
    player->Update(kDt);
    SetKey(vk, false);
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

TEST_F(PlayerTest, WalksDiagonallyAtFullSpeedAndOppositeKeysLetTheLaterWin)
{
  const float step = 180.0f * kDt;
  const float diagonal = step / std::sqrt(2.0f);
  // Of two opposite keys, down beats up and right beats left; with nothing held the row
  // stays as it was and the player stands still.
  const struct
  {
    const char* keys;
    float dx, dy;
    int frame;
  } cases[] = {{"WD", diagonal, diagonal, 5},
               {"WS", 0.0f, -step, 0},
               {"AD", step, 0.0f, 6},
               {"SA", -diagonal, -diagonal, 1},
               {"", 0.0f, 0.0f, 1}};
  for (const auto& c : cases)
  {
    SCOPED_TRACE(c.keys);
    for (const char* vk = c.keys; *vk; ++vk)
      InjectKey(*vk, true);
    const VNVec2 before = player->position;
    Step();
    EXPECT_NEAR(before.x + c.dx, player->position.x, 1e-3f);
    EXPECT_NEAR(before.y + c.dy, player->position.y, 1e-3f);
    EXPECT_EQ(c.frame, player->frame);
    for (const char* vk = c.keys; *vk; ++vk)
      InjectKey(*vk, false);
  }
}

TEST_F(PlayerTest, WallStopsTheBodyButTurnsItAndTheFreeAxisSlides)
{
  // Right of the wall column: left is blocked.
  player->position = CellCentre(3, 4, kRoomHeight);
  const VNVec2 start = player->position;
  InjectKey('A', true);
  Step(3);
  EXPECT_FLOAT_EQ(start.x, player->position.x);
  EXPECT_FLOAT_EQ(start.y, player->position.y);
  EXPECT_EQ(2, player->frame);

  // Holding up as well slides along the wall at full speed.
  InjectKey('W', true);
  Step();
  EXPECT_FLOAT_EQ(start.x, player->position.x);
  EXPECT_NEAR(start.y + 180.0f * kDt, player->position.y, 1e-3f);
  EXPECT_EQ(3, player->frame);

  // The outer wall at the top stops walking up.
  InjectKey('A', false);
  player->position = CellCentre(6, 1, kRoomHeight);
  const VNVec2 top = player->position;
  Step();
  EXPECT_FLOAT_EQ(top.y, player->position.y);
  EXPECT_EQ(4, player->frame);
}

TEST_F(PlayerTest, DisguiseHoldsStillThenCoolsDownWithAGreyIcon)
{
  ASSERT_NE(nullptr, player->iconJ);
  SetKey('J', true);
  // The smoke follows the player and fades out over half a second.
  for (float alpha : {1.0f, 0.75f, 0.5f, 0.25f, 0.0f})
  {
    player->Update(kDt);
    EXPECT_FALSE(player->smoke->hidden);
    EXPECT_FLOAT_EQ(alpha, player->smoke->tint.a);
    EXPECT_FLOAT_EQ(player->position.x, player->smoke->position.x);
  }
  player->Update(kDt);
  EXPECT_TRUE(player->smoke->hidden);
  EXPECT_TRUE(player->transformed);
  EXPECT_TRUE(player->concealed);
  EXPECT_GE(player->frame, 8);
  EXPECT_LE(player->frame, 10);

  // Disguised: walking, stealth and pick-up do nothing, the prompt keeps its visibility.
  AddKey(20.0f, 0.0f, Key::kAccessCard);
  player->iconE->hidden = true;
  const VNVec2 still = player->position;
  for (unsigned char vk : {'D', 'K', 'E'})
    InjectKey(vk, true);
  Step(2);
  EXPECT_FLOAT_EQ(still.x, player->position.x);
  EXPECT_FALSE(player->stealthUsed);
  EXPECT_EQ(0, player->heldCard);
  EXPECT_EQ(1u, keys.size());
  EXPECT_TRUE(player->iconE->hidden);
  for (unsigned char vk : {'D', 'K', 'E'})
    InjectKey(vk, false);

  SetKey('J', false);
  player->Update(kDt);
  EXPECT_FALSE(player->transformed);
  EXPECT_EQ(0, player->frame);
  EXPECT_FLOAT_EQ(0.5f, player->iconJ->tint.r);
  EXPECT_NEAR(3.0f - kDt, player->transformCooldown, 1e-5f);

  // J again during the cooldown does nothing; once it has run out J works and the icon
  // is white again.
  Tap('J');
  EXPECT_FALSE(player->transformed);
  Step(static_cast<int>(3.0f / kDt));
  EXPECT_FLOAT_EQ(1.0f, player->iconJ->tint.r);
  SetKey('J', true);
  player->Update(kDt);
  EXPECT_TRUE(player->transformed);
}

TEST_F(PlayerTest, StealthRunsOnceAtReducedSpeed)
{
  ASSERT_NE(nullptr, player->iconK);
  Step(static_cast<int>(1.6f / kDt)); // past the heads-up start
  EXPECT_FALSE(player->iconK->hidden);

  InjectKey('D', true);
  SetKey('K', true);
  VNVec2 before = player->position;
  player->Update(kDt);
  EXPECT_TRUE(player->stealthed);
  EXPECT_TRUE(player->concealed);
  EXPECT_FLOAT_EQ(0.5f, player->tint.a);
  EXPECT_NEAR(before.x + 135.0f * kDt, player->position.x, 1e-3f);
  EXPECT_TRUE(player->iconK->hidden);
  SetKey('K', false);
  InjectKey('D', false);

  // Two seconds of stealth in all, then full speed and opacity.
  Step(static_cast<int>(2.0f / kDt) - 1);
  EXPECT_TRUE(player->stealthed);
  Step();
  EXPECT_FALSE(player->stealthed);
  EXPECT_FLOAT_EQ(1.0f, player->tint.a);
  EXPECT_FALSE(player->concealed);

  // A second press does nothing; the icon stays hidden.
  Tap('K');
  EXPECT_FALSE(player->stealthed);
  EXPECT_LE(player->stealthTime, 0.0f);
  Step(4);
  EXPECT_TRUE(player->iconK->hidden);
}

TEST_F(PlayerTest, StealthInTheFirstSecondAndAHalfLeavesTheIconShown)
{
  Tap('K');
  EXPECT_TRUE(player->stealthUsed);
  // The heads-up start un-hides the icon again and nothing hides it afterwards.
  Step(static_cast<int>(3.0f / kDt));
  EXPECT_FALSE(player->iconK->hidden);
  EXPECT_FALSE(player->iconJ->hidden);
}

TEST_F(PlayerTest, PicksUpACardWithinReachOnly)
{
  Key* far = AddKey(55.0f, 0.0f, Key::kAccessCard);
  Step();
  EXPECT_TRUE(player->iconE->hidden);
  Tap('E');
  EXPECT_EQ(0, player->heldCard);
  ASSERT_EQ(1u, keys.size());

  far->home.x = player->position.x + 54.0f;
  Step();
  EXPECT_FALSE(player->iconE->hidden);
  EXPECT_EQ("Assets/iconE.png", player->iconE->textureName);
  EXPECT_FLOAT_EQ(player->position.y + 50.0f, player->iconE->position.y);
  EXPECT_TRUE(player->keyIcon->hidden);

  Tap('E');
  EXPECT_EQ(Key::kAccessCard, player->heldCard);
  EXPECT_TRUE(keys.empty());
  Step();
  EXPECT_FALSE(player->keyIcon->hidden);
}

TEST_F(PlayerTest, DecoyVanishesAndACarriedCardBlocksFurtherPickUps)
{
  AddKey(10.0f, 0.0f, 0);
  Key* second = AddKey(-10.0f, 0.0f, Key::kAccessCard);
  // The first key within reach in list order is the one taken.
  Tap('E');
  EXPECT_EQ(0, player->heldCard);
  ASSERT_EQ(1u, keys.size());
  EXPECT_EQ(second, keys[0]);
  Step();
  EXPECT_TRUE(player->keyIcon->hidden);

  Tap('E');
  EXPECT_EQ(Key::kAccessCard, player->heldCard);
  Key* third = AddKey(0.0f, 10.0f, Key::kAccessCard);
  Tap('E');
  ASSERT_EQ(1u, keys.size());
  EXPECT_EQ(third, keys[0]);
}

TEST_F(PlayerTest, SecondPlayerOnTheScreenGetsNoHeadsUpAndFreesCleanly)
{
  Player second;
  EXPECT_EQ(nullptr, second.iconJ);
  EXPECT_EQ(nullptr, second.iconK);
  EXPECT_EQ(nullptr, second.keyIcon);
  second.tilemap = grid.get();
  second.position = CellCentre(4, 6, kRoomHeight);
  SetKey('K', true);
  second.Update(kDt);
  EXPECT_TRUE(second.stealthed);
  SetKey('K', false);
  SetKey('J', true);
  second.Update(kDt);
  EXPECT_TRUE(second.transformed);
  EXPECT_EQ(player->iconJ, Camera::Instance()->FindButton("iconJ"));
}

TEST_F(PlayerTest, PadXDisguisesWhileHeldAndTheLeftStickWalksPastItsThreshold)
{
  if (AttachVirtualPad() < 0)
    GTEST_SKIP() << "no virtual game controller available";
  SetVirtualPadButton(VN_PAD_X, true);
  Step(2);
  EXPECT_TRUE(player->transformed);
  SetVirtualPadButton(VN_PAD_X, false);
  Step();
  EXPECT_FALSE(player->transformed);
  EXPECT_NEAR(3.0f - kDt, player->transformCooldown, 1e-5f);

  // SDL's stick y grows downward; the pad record's grows upward.
  SetVirtualPadStick(1, -30000);
  VNVec2 before = player->position;
  Step();
  EXPECT_NEAR(before.y + 180.0f * kDt, player->position.y, 1e-3f);
  EXPECT_EQ(4, player->frame);
  // Half of full tilt is inside the dead zone.
  SetVirtualPadStick(1, -16384);
  Step();
  before = player->position;
  Step();
  EXPECT_FLOAT_EQ(before.y, player->position.y);
  SetVirtualPadStick(1, 0);
  DetachVirtualPad();
  Step();
}
} // namespace
