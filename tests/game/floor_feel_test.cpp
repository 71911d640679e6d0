// How a floor feels to walk and to look at: a straight walk at a gap slides around the
// corner instead of snagging while walls still stop the player, and wherever the player
// stands on a floor, its sprite stays clear of the heads-up icons and the Pause button.
#include <gtest/gtest.h>

#include <memory>

#include "Actors/Player.h"
#include "Framework/Button2D.h"
#include "PlayTestSupport.h"
#include "World/Grid2D.h"

namespace
{
constexpr float kFrame = 1.0f / 60.0f;

// A one-tile gap between two desks in row 3 (col 3), and a two-tile doorway in the wall
// at col 6 (rows 4 and 5).
const std::vector<std::string> kGaps = {"##########", "#.....#..#", "#.....#..#",
                                        "###.###..#", "#........#", "#........#",
                                        "#.....#..#", "#.....#..#", "##########"};
const float kRows = 9.0f;
// Cell centres: x = col * 50, y = (rows - row) * 50.
float RowY(float row)
{
  return (kRows - row) * 50.0f;
}

struct SlideCase
{
  const char* what;
  VNVec2 start;
  unsigned char key;
  // The player got through when the walked axis passes this value.
  float beyond;
  bool passes;
};

TEST(CornerSlide, StraightWalksSlideThroughGapsAndWallsStillStop)
{
  EnsureTestWindow();
  ResetGame();
  ReleaseAllKeys();
  Grid2D grid(WriteFloor("Gaps", kGaps));
  const SlideCase cases[] = {
      {"up, centred on the desk gap", {150.0f, RowY(5)}, 'W', RowY(3) + 10.0f, true},
      {"up, half a tile right of the gap", {175.0f, RowY(5)}, 'W', RowY(3) + 10.0f, true},
      {"up, half a tile left of the gap", {125.0f, RowY(5)}, 'W', RowY(3) + 10.0f, true},
      {"up into the flat wall", {50.0f, RowY(5)}, 'W', RowY(3) + 10.0f, false},
      {"right, just above the doorway", {200.0f, RowY(4) + 30.0f}, 'D', 350.0f, true},
      {"left, just below the doorway", {400.0f, RowY(5) - 5.0f}, 'A', 250.0f, true},
      {"right, into the wall a tile above the doorway", {200.0f, RowY(2)}, 'D', 280.0f, false},
  };
  for (const SlideCase& c : cases)
  {
    Player player;
    player.tilemap = &grid;
    player.position = c.start;
    InjectKey(c.key, true);
    for (int i = 0; i < 90; ++i)
    {
      DispatchAndSample();
      player.Update(kFrame);
    }
    InjectKey(c.key, false);
    DispatchAndSample();
    const bool vertical = c.key == 'W' || c.key == 'S';
    const float along = vertical ? player.position.y : player.position.x;
    const bool through = c.key == 'A' || c.key == 'S' ? along < c.beyond : along > c.beyond;
    EXPECT_EQ(c.passes, through) << c.what << ": ended at (" << player.position.x << ", "
                                 << player.position.y << ")";
    // Nothing ever ends up inside a wall.
    EXPECT_TRUE(grid.IsWalkableAt(player.position.x, player.position.y)) << c.what;
  }
  ReleaseAllKeys();
  ResetGame();
}

class HeadsUp : public FloorTest
{
};

// A floor larger than the view; the player starts in each corner and beside each edge.
TEST_F(HeadsUp, ThePlayerIsNeverDrawnUnderTheIconsOrThePauseButton)
{
  std::vector<std::string> rows(22, "#" + std::string(38, '.') + "#");
  rows.front() = rows.back() = std::string(40, '#');
  rows[10][30] = 'X';
  const std::pair<int, int> starts[] = {{1, 1},  {38, 1},  {1, 19}, {38, 19},
                                        {20, 1}, {20, 19}, {1, 10}, {38, 10}};
  for (const auto& [col, row] : starts)
  {
    std::vector<std::string> floor = rows;
    floor[size_t(row)][size_t(col)] = 'P';
    Enter("HeadsUp" + std::to_string(col) + "x" + std::to_string(row), floor);
    Play();
    for (int i = 0; i < 120; ++i)
      RunFrame(kFrame);
    const Player* player = level->players.at(0);
    // The card icon too: it shows once the player holds a card.
    SetHidden(Button("keyUI"), false);
    for (const char* name : {"iconJ", "iconK", "Pause", "keyUI"})
    {
      const Button2D* icon = Button(name);
      ASSERT_NE(nullptr, icon) << name;
      ASSERT_FALSE(icon->hidden) << name;
      const bool apartX = std::fabs(icon->position.x - player->position.x) >=
                          icon->width / 2.0f + player->width / 2.0f;
      const bool apartY = std::fabs(icon->position.y - player->position.y) >=
                          icon->height / 2.0f + player->height / 2.0f;
      EXPECT_TRUE(apartX || apartY)
          << name << " covers the player standing at col " << col << ", row " << row;
    }
  }
}
} // namespace
