#include <gtest/gtest.h>

#include <set>

#include "Actors/Key.h"
#include "Actors/Player.h"
#include "Framework/Button2D.h"
#include "PlayTestSupport.h"

namespace
{
using KeyCardTest = FloorTest;

TEST_F(KeyCardTest, CardLiesWhereItWasPutAsADecoyUntilChosen)
{
  Key key(150.0f, 200.0f);
  EXPECT_EQ(0, key.cardValue);
  EXPECT_FLOAT_EQ(150.0f, key.home.x);
  EXPECT_FLOAT_EQ(200.0f, key.home.y);
  EXPECT_FLOAT_EQ(150.0f, key.position.x);
  EXPECT_FLOAT_EQ(200.0f, key.position.y);
  EXPECT_FLOAT_EQ(50.0f, key.width);
  EXPECT_FLOAT_EQ(50.0f, key.height);
  EXPECT_EQ("Assets/Tilemap/keycard.png", key.textureName);
}

TEST_F(KeyCardTest, OneCardIsAlwaysRealAndAmongSeveralTheChoiceIsMadeAtEachLoad)
{
  Enter("OneCard", {"######", "#PK.X#", "######"});
  ASSERT_EQ(1u, level->keys.size());
  EXPECT_EQ(Key::ACCESS_CARD, level->keys[0]->cardValue);

  Enter("ThreeCards", {"########", "#PK.K.K#", "#.....X#", "########"});
  std::set<size_t> realPlaces;
  for (int load = 0; load < 20; ++load)
  {
    ASSERT_EQ(3u, level->keys.size());
    int real = 0;
    for (size_t i = 0; i < level->keys.size(); ++i)
    {
      if (level->keys[i]->cardValue == Key::ACCESS_CARD)
      {
        ++real;
        realPlaces.insert(i);
      }
      else
      {
        EXPECT_EQ(0, level->keys[i]->cardValue);
      }
    }
    EXPECT_EQ(1, real);
    LevelManager::Instance()->ChangeLevel(level->name);
  }
  EXPECT_GT(realPlaces.size(), 1u) << "the real card never moved in 20 loads";
}

TEST_F(KeyCardTest, DecoysVanishWhenTakenAndLeaveTheHeadsUpEmpty)
{
  Enter("ThreeCards", {"########", "#PK.K.K#", "#.....X#", "########"});
  Play();
  Player* player = level->players[0];
  std::vector<VNVec2> decoys;
  for (Key* key : level->keys)
  {
    if (key->cardValue != Key::ACCESS_CARD)
      decoys.push_back(key->home);
  }
  ASSERT_EQ(2u, decoys.size());
  for (const VNVec2& decoy : decoys)
  {
    player->position = decoy;
    Press('E');
    Release('E');
  }
  EXPECT_EQ(1u, level->keys.size());
  EXPECT_EQ(Key::ACCESS_CARD, level->keys[0]->cardValue);
  EXPECT_EQ(0, player->heldCard);
  EXPECT_TRUE(Button("keyUI")->hidden);
}
}  // namespace
