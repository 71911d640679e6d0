#include <gtest/gtest.h>

#include <set>

#include "Actors/Key.h"
#include "PlayTestSupport.h"

namespace
{
using KeyCardTest = FloorTest;

TEST_F(KeyCardTest, OneCardIsAlwaysRealAndAmongSeveralTheChoiceIsMadeAtEachLoad)
{
  Enter("OneCard", {"######", "#PK.X#", "######"});
  ASSERT_EQ(1u, level->keys.size());
  EXPECT_EQ(Key::kAccessCard, level->keys[0]->cardValue);

  Enter("ThreeCards", {"########", "#PK.K.K#", "#.....X#", "########"});
  std::set<size_t> realPlaces;
  for (int load = 0; load < 20; ++load)
  {
    ASSERT_EQ(3u, level->keys.size());
    int real = 0;
    for (size_t i = 0; i < level->keys.size(); ++i)
    {
      const int value = level->keys[i]->cardValue;
      EXPECT_TRUE(value == 0 || value == Key::kAccessCard) << value;
      if (value == Key::kAccessCard)
      {
        ++real;
        realPlaces.insert(i);
      }
    }
    EXPECT_EQ(1, real);
    LevelManager::Instance()->ChangeLevel(level->name);
  }
  EXPECT_GT(realPlaces.size(), 1u) << "the real card never moved in 20 loads";
}
} // namespace
