// The shipped floors are winnable, guarded and fair, each shown with the real Player:
// - winnable: with the co-workers left out, the player is steered with injected keys at
//   a fixed frame time along the shortest route of cells it can stand in (its own and the
//   one below, since its feet reach into the next row) to the real access card, where
//   the floor has cards, and on to the nearest exit;
// - guarded: on Level2 to Level5 the same walk with the co-workers present, without
//   disguise or stealth, is caught;
// - fair: a recorded key script (Levels/Replays/<floor>.txt, staged beside the program:
//   keys held, frames) that the game, co-workers included, plays to the escape banner.
//   The game is exact for a fixed frame time and a given rand() sequence: every run
//   starts it as a fresh program does (srand(1)) right before entering the floor.
// The tutorial's hints also stay clear of the heads-up icons.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <optional>
#include <queue>
#include <set>
#include <string>
#include <vector>

#include "Actors/Enemy.h"
#include "Actors/Key.h"
#include "Actors/Player.h"
#include "Levels/TutorialLevel.h"
#include "FloorRoutes.h"
#include "PlayTestSupport.h"
#include "World/Grid2D.h"

namespace
{
constexpr float kFrame = 1.0f / 60.0f;
// The manifest's id of the floor tile drawn as an exit pad.
constexpr int kExitFloorTile = 4;

// Cells the player can stand in: its feet reach into the row below.
bool Standable(const Grid2D& grid, Cell cell)
{
  return grid.IsWalkable(cell.col, cell.row) && grid.IsWalkable(cell.col, cell.row + 1);
}

class FloorRoute : public FloorTest, public ::testing::WithParamInterface<const char*>
{
protected:
  bool Playing() const { return floor->playState == TestLevel::kPlaying; }

  // Enters the floor with the class the game plays it with, rand() as at program start,
  // and unless `untilPlay` is false runs frames until play begins.
  void EnterFloor(bool untilPlay = true)
  {
    floor.emplace(NewFloor(GetParam()));
    srand(1);
    LevelManager::Instance()->AddLevel(floor->level);
    LevelManager::Instance()->ChangeLevel(floor->level->name);
    for (int i = 0; i < 10 && untilPlay && floor->playState == TestLevel::kLoading; ++i)
      RunFrame(0.5f);
    ASSERT_TRUE(Playing() || !untilPlay);
    ASSERT_EQ(1u, floor->players.size());
    player = floor->players[0];
  }

  // Holds one walking key until the player has covered the distance along that axis.
  // False when the player stops short (a wall it cannot pass).
  bool Hold(unsigned char vk, float VNVec2::*axis, float target)
  {
    InjectKey(vk, true);
    const float sign = target > player->position.*axis ? 1.0f : -1.0f;
    bool arrived = false;
    for (int frame = 0; frame < 1200 && !arrived && Playing(); ++frame)
    {
      const float before = player->position.*axis;
      RunFrame(kFrame);
      const float after = player->position.*axis;
      // The player moves 3 units a frame, and stops up to one step short of a cell
      // centre when the next cell is blocked (it probes one step ahead).
      arrived = (target - after) * sign <= 3.5f;
      if (!arrived && std::fabs(after - before) < 0.01f)
        break;
    }
    InjectKey(vk, false);
    RunFrame(kFrame);
    return arrived || !Playing();
  }

  // Walks the shortest route of standable cells to one of the goals, cell centre by cell
  // centre, holding each key along straight runs, until it arrives or play ends.
  void WalkTo(const std::set<Cell>& goals)
  {
    const Grid2D& grid = *floor->level->tilemap;
    const std::vector<Cell> route = FindRoute(grid, CellAt(grid, player->position), goals,
                                              [&grid](Cell cell) { return Standable(grid, cell); });
    ASSERT_TRUE(!route.empty() || goals.count(CellAt(grid, player->position)))
        << GetParam() << ": no way from (" << player->position.x << ", " << player->position.y
        << ")";
    for (size_t i = 0; i < route.size() && Playing();)
    {
      const Cell from = CellAt(grid, player->position);
      const bool horizontal = route[i].row == from.row;
      size_t end = i;
      while (end + 1 < route.size() &&
             (horizontal ? route[end + 1].row == from.row : route[end + 1].col == from.col))
        ++end;
      const VNVec2 target = CellCentre(route[end].col, route[end].row, grid.height);
      const bool ok = horizontal
                          ? Hold(target.x > player->position.x ? 'D' : 'A', &VNVec2::x, target.x)
                          : Hold(target.y > player->position.y ? 'W' : 'S', &VNVec2::y, target.y);
      ASSERT_TRUE(ok) << GetParam() << ": the player stopped at (" << player->position.x << ", "
                      << player->position.y << ") on its way to (" << target.x << ", " << target.y
                      << ")";
      i = end + 1;
    }
  }

  // The shortest walk to the real card (taken within about 54.8 units: from its cell or
  // a neighbour) where the floor has cards, and on to an exit (within 40 units: its cell).
  void WalkShortestRoute()
  {
    const Grid2D& grid = *floor->level->tilemap;
    ASSERT_TRUE(Standable(grid, CellAt(grid, player->position)))
        << "the start is not a place to stand";
    for (const Key* key : floor->keys)
    {
      if (key->cardValue != Key::kAccessCard)
        continue;
      std::set<Cell> nearCard;
      const Cell at = CellAt(grid, key->home);
      for (const Cell c : {at, Cell{at.col + 1, at.row}, Cell{at.col - 1, at.row},
                           Cell{at.col, at.row + 1}, Cell{at.col, at.row - 1}})
        if (Standable(grid, c))
          nearCard.insert(c);
      ASSERT_NO_FATAL_FAILURE(WalkTo(nearCard));
      if (!Playing())
        return;
      Tap('E');
      ASSERT_EQ(Key::kAccessCard, player->heldCard) << GetParam() << ": the card was not picked up";
    }
    ASSERT_TRUE(floor->noCardNeeded || player->heldCard == Key::kAccessCard) << "no real card";
    std::set<Cell> exitCells;
    for (const VNVec2& exit : floor->exits)
      if (Standable(grid, CellAt(grid, exit)))
        exitCells.insert(CellAt(grid, exit));
    ASSERT_FALSE(exitCells.empty()) << "no exit has room to stand";
    ASSERT_NO_FATAL_FAILURE(WalkTo(exitCells));
    RunFrame(kFrame);
  }

  std::optional<FloorView> floor;
  Player* player = nullptr;
};

class Winnable : public FloorRoute
{
};
class Guarded : public FloorRoute
{
};
class Replayed : public FloorRoute
{
};
class HintsInView : public FloorRoute
{
};

TEST_P(Winnable, ThePlayerWalksPastTheCardToAnExit)
{
  ASSERT_NO_FATAL_FAILURE(EnterFloor());
  const std::string music = floor->level->name == "TutorialLevel" ? "Tutorial" : floor->level->name;
  EXPECT_EQ("Assets/Sound/" + music + "BGM.ogg", SoundManager::Instance()->pendingMusic);
  for (Enemy* coworker : floor->enemies)
    delete coworker;
  floor->enemies.clear();
  ASSERT_NO_FATAL_FAILURE(WalkShortestRoute());
  EXPECT_EQ(TestLevel::kEscaped, floor->playState)
      << GetParam() << ": the player reached the exit but did not escape";
}

// A pad of exit tiles with an exit event under only some of them looks open where it is
// not: testers walked over such tiles with the card and nothing happened.
TEST_P(Winnable, EveryTileDrawnAsAnExitLetsTheCardHolderOut)
{
  ASSERT_NO_FATAL_FAILURE(EnterFloor());
  for (Enemy* coworker : floor->enemies)
    delete coworker;
  floor->enemies.clear();
  player->heldCard = Key::kAccessCard;
  const Grid2D& grid = *floor->level->tilemap;
  const std::vector<int>& ground = grid.layers.at(grid.layerNames[0]);
  int tiles = 0;
  for (int row = 0; row < grid.height; ++row)
    for (int col = 0; col < grid.width; ++col)
    {
      if (ground[size_t(row * grid.width + col)] != kExitFloorTile || !Standable(grid, {col, row}))
        continue;
      ++tiles;
      floor->playState = TestLevel::kPlaying;
      player->position = CellCentre(grid, {col, row});
      RunFrame(kFrame);
      EXPECT_EQ(TestLevel::kEscaped, floor->playState)
          << GetParam() << ": the exit tile at column " << col << ", row " << row;
    }
  EXPECT_GT(tiles, 0);
}

TEST_P(Guarded, TheShortestWalkWithoutDisguiseOrStealthIsCaught)
{
  ASSERT_NO_FATAL_FAILURE(EnterFloor());
  ASSERT_NO_FATAL_FAILURE(WalkShortestRoute());
  EXPECT_EQ(TestLevel::kCaught, floor->playState)
      << GetParam() << ": the shortest walk passed every co-worker unseen";
}

// A script line is the keys held (any of W A S D J K E, or - for none) and a frame count.
TEST_P(Replayed, TheRecordedKeysWinWithTheCoworkersPresent)
{
  const std::string name = std::string(GetParam()).substr(0, std::string(GetParam()).find('.'));
  std::ifstream script("Replays/" + name + ".txt");
  ASSERT_TRUE(script) << "no replay for " << name;
  ASSERT_NO_FATAL_FAILURE(EnterFloor(false));
  std::string held, keys;
  int frames = 0, line = 0;
  while (script >> keys >> frames)
  {
    ++line;
    ASSERT_EQ(std::string::npos, keys.find_first_not_of("-WASDJKE")) << name << " line " << line;
    for (const char key : std::string("WASDJKE"))
      if ((keys.find(key) == std::string::npos) != (held.find(key) == std::string::npos))
        InjectKey(static_cast<unsigned char>(key), keys.find(key) != std::string::npos);
    held = keys;
    for (int i = 0; i < frames; ++i)
      RunFrame(kFrame);
    ASSERT_NE(TestLevel::kCaught, floor->playState) << name << ": caught by line " << line;
  }
  EXPECT_TRUE(script.eof()) << name << ": unreadable line after line " << line;
  EXPECT_EQ(TestLevel::kEscaped, floor->playState) << name << ": the replay did not escape";
}

// No hint is drawn under a shown heads-up icon (J, K, the card, PAUSE) with the camera over
// any place the player can stand, or up to most of a tile above it as it trails a walk.
// No engine call measures text, so a hint's box is conservative: the font height (24) per
// character and above the baseline, a third of it below, and the 2-unit outline.
TEST_P(HintsInView, NoHintIsDrawnUnderAHeadsUpIcon)
{
  ASSERT_NO_FATAL_FAILURE(EnterFloor());
  player->heldCard = Key::kAccessCard;
  RunFrame(kFrame);
  Camera* camera = Camera::Instance();
  const Grid2D& grid = *floor->level->tilemap;
  std::set<std::string> covered;
  for (int row = 0; row < grid.height; ++row)
    for (int col = 0; col < grid.width; ++col)
      for (const float lift : {0.0f, 12.5f, 25.0f, 37.5f})
      {
        if (!Standable(grid, {col, row}))
          continue;
        const VNVec2 at = CellCentre(grid, {col, row});
        camera->Scroll(at.x - camera->position.x, at.y + lift - camera->position.y);
        camera->Update(0.0f);
        for (const TutorialLevel::Hint* hint : TutorialLevel::ShownHints())
          for (const auto& [name, icon] : camera->screenButtons)
            if (!icon->hidden && hint->x - 2.0f < icon->position.x + icon->width / 2.0f &&
                icon->position.x - icon->width / 2.0f <
                    hint->x + 24.0f * std::strlen(hint->text) + 2.0f &&
                hint->y - 10.0f < icon->position.y + icon->height / 2.0f &&
                icon->position.y - icon->height / 2.0f < hint->y + 26.0f)
              covered.insert(name + " covers \"" + hint->text + "\"");
      }
  EXPECT_TRUE(covered.empty()) << ::testing::PrintToString(covered);
}

const auto kFloorName = [](const ::testing::TestParamInfo<const char*>& info)
{
  const std::string name = info.param;
  return name.substr(0, name.find('.'));
};
INSTANTIATE_TEST_SUITE_P(ShippedFloors, Winnable,
                         ::testing::Values("TutorialLevel.tmx", "Level1.tmx", "Level2.tmx",
                                           "Level3.tmx", "Level4.tmx", "Level5.tmx"),
                         kFloorName);
INSTANTIATE_TEST_SUITE_P(ShippedFloors, Guarded,
                         ::testing::Values("Level2.tmx", "Level3.tmx", "Level4.tmx", "Level5.tmx"),
                         kFloorName);
INSTANTIATE_TEST_SUITE_P(ShippedFloors, HintsInView, ::testing::Values("TutorialLevel.tmx"),
                         kFloorName);
INSTANTIATE_TEST_SUITE_P(ShippedFloors, Replayed,
                         ::testing::Values("TutorialLevel.tmx", "Level1.tmx", "Level2.tmx",
                                           "Level3.tmx", "Level4.tmx", "Level5.tmx"),
                         kFloorName);

} // namespace
