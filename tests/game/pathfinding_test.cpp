// A* paths over the tile grid: shape and cost of the routes, and searches that fail.
#include <stdlib.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TestWindow.h"
#include "World/Grid2D.h"
#include "ScratchFolder.h"

namespace
{

struct Cell
{
  int col;
  int row;
};

class PathTest : public testing::Test
{
protected:
  void SetUp() override { EnsureTestWindow(); }

  // An open floor of empty cells with an objects layer on which walls are set.
  static void Open(Grid2D& grid)
  {
    grid.AddLayer("OBJECTS");
    grid.walkableLimit = 2;
  }

  // The world centre of a cell.
  static VNVec2 At(const Grid2D& grid, Cell cell)
  {
    return VNVec2{cell.col * grid.tileWidth, (grid.height - cell.row) * grid.tileHeight};
  }

  // The path's points back as cells.
  static std::vector<std::pair<int, int>> Cells(const Grid2D& grid, const std::list<VNVec2>& path)
  {
    std::vector<std::pair<int, int>> cells;
    for (const VNVec2& point : path)
      cells.push_back({static_cast<int>(point.x), grid.height - static_cast<int>(point.y)});
    return cells;
  }

  // Sum of 10 per straight and 25 per diagonal step; fails the test on a jump or a
  // step onto a cell that cannot be walked.
  static int Cost(const Grid2D& grid, const std::list<VNVec2>& path)
  {
    std::vector<std::pair<int, int>> cells = Cells(grid, path);
    int cost = 0;
    for (size_t i = 1; i < cells.size(); ++i)
    {
      int dx = abs(cells[i].first - cells[i - 1].first);
      int dy = abs(cells[i].second - cells[i - 1].second);
      EXPECT_TRUE(dx <= 1 && dy <= 1 && dx + dy > 0) << "step " << i << " is not to a neighbour";
      EXPECT_TRUE(grid.IsWalkable(cells[i].first, cells[i].second))
          << "step " << i << " onto a wall";
      cost += dx + dy == 2 ? 25 : 10;
    }
    return cost;
  }
};

} // namespace

TEST_F(PathTest, AStraightLineRunsFromStartToGoalInTileCoordinates)
{
  Grid2D grid(10, 10);
  Open(grid);
  std::list<VNVec2> path = grid.FindPath(At(grid, {2, 5}), At(grid, {5, 5}));
  std::vector<std::pair<int, int>> expected = {{2, 5}, {3, 5}, {4, 5}, {5, 5}};
  EXPECT_EQ(expected, Cells(grid, path));
  ASSERT_EQ(4u, path.size());
  EXPECT_FLOAT_EQ(2.0f, path.front().x);
  EXPECT_FLOAT_EQ(5.0f, path.front().y) << "tile y is height - row";

  // Any point inside a cell stands for that cell.
  path = grid.FindPath(VNVec2{110.0f, 240.0f}, VNVec2{240.0f, 260.0f});
  EXPECT_EQ(expected, Cells(grid, path));
}

TEST_F(PathTest, PrefersStraightStepsOverDiagonals)
{
  Grid2D grid(10, 10);
  Open(grid);
  std::list<VNVec2> path = grid.FindPath(At(grid, {2, 2}), At(grid, {5, 5}));
  EXPECT_EQ(7u, path.size()) << "six straight steps (60) beat three diagonal ones (75)";
  EXPECT_EQ(60, Cost(grid, path));

  // A wall between start and goal: around it by four straight steps (40), not by two
  // diagonal ones (50).
  grid.SetTileAt("OBJECTS", 2, 3, 7);
  path = grid.FindPath(At(grid, {1, 3}), At(grid, {3, 3}));
  ASSERT_EQ(5u, path.size());
  EXPECT_EQ(40, Cost(grid, path));
  EXPECT_EQ(std::make_pair(1, 3), Cells(grid, path).front());
  EXPECT_EQ(std::make_pair(3, 3), Cells(grid, path).back());
}

TEST_F(PathTest, StepsDiagonallyBetweenTwoBlockedNeighbours)
{
  Grid2D grid(5, 5);
  Open(grid);
  for (Cell wall :
       {Cell{2, 1}, Cell{1, 2}, Cell{3, 2}, Cell{2, 3}, Cell{3, 3}, Cell{1, 3}, Cell{3, 1}})
    grid.SetTileAt("OBJECTS", wall.col, wall.row, 9);
  std::vector<std::pair<int, int>> expected = {{1, 1}, {2, 2}};
  EXPECT_EQ(expected, Cells(grid, grid.FindPath(At(grid, {1, 1}), At(grid, {2, 2}))));
}

TEST_F(PathTest, FailsWithAnEmptyPath)
{
  Grid2D grid(8, 8);
  Open(grid);
  EXPECT_TRUE(grid.FindPath(At(grid, {3, 3}), At(grid, {3, 3})).empty()) << "same cell";
  EXPECT_TRUE(grid.FindPath(VNVec2{140.0f, 240.0f}, VNVec2{160.0f, 260.0f}).empty())
      << "two points of one cell";

  // The goal walled in on all eight sides.
  for (int col = 4; col <= 6; ++col)
    for (int row = 4; row <= 6; ++row)
      if (col != 5 || row != 5)
        grid.SetTileAt("OBJECTS", col, row, 9);
  EXPECT_TRUE(grid.FindPath(At(grid, {1, 1}), At(grid, {5, 5})).empty()) << "walled in";
  EXPECT_TRUE(grid.FindPath(At(grid, {1, 1}), At(grid, {4, 4})).empty()) << "goal on a wall";
  EXPECT_TRUE(grid.FindPath(At(grid, {1, 1}), At(grid, {3, 0})).empty()) << "goal on the top row";
}

TEST_F(PathTest, FollowsTheCorridorOfAMapReadFromAFile)
{
  // A corridor along row 1, down through column 8 and back along row 3; 5 is wall.
  const char* rows[] = {"5555555555", "5111111115", "5555555515", "5111111115", "5555555555"};
  std::string tiles;
  for (const char* row : rows)
    for (const char* c = row; *c; ++c)
      tiles += std::string("<tile gid=\"") + *c + "\"/>";
  ScratchFolder folder;
  std::string file = folder.File("corridor.tmx");
  WriteText(file, "<map width=\"10\" height=\"5\"><layer name=\"FLOOR\"><data>" + tiles +
                      "</data></layer><layer name=\"THINGS\"/></map>");
  Grid2D grid(file);
  grid.walkableLimit = 2;

  std::list<VNVec2> path = grid.FindPath(At(grid, {1, 1}), At(grid, {1, 3}));
  std::vector<std::pair<int, int>> cells = Cells(grid, path);
  ASSERT_EQ(17u, cells.size());
  EXPECT_EQ(160, Cost(grid, path));
  EXPECT_EQ(std::make_pair(8, 1), cells[7]);
  EXPECT_EQ(std::make_pair(8, 2), cells[8]);
  EXPECT_EQ(std::make_pair(1, 3), cells[16]);
}
