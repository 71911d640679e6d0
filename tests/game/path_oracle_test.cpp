// FindPath against a plain reference search that scans its open list in insertion order,
// on random floors (tie-heavy open ones among them), through cell changes made between
// searches, from starts inside the grid and just below it.
#include <stdlib.h>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "TestWindow.h"
#include "World/Grid2D.h"

namespace
{
using Cells = std::vector<std::pair<int, int>>;

// The search FindPath must match: 8 neighbours (columns outer, rows inner), 10 / 25 step
// costs, h in cells along the axes, the first opened among the least f goes next, an open
// cell takes a new parent only for a smaller f, closed cells stay closed.
Cells Reference(const Grid2D& grid, int startCol, int startRow, int goalCol, int goalRow)
{
  struct Node
  {
    int col, row, g, f, parent;
  };
  std::vector<Node> nodes = {{startCol, startRow, 0, 0, -1}};
  std::vector<int> open = {0};
  std::vector<bool> closed(size_t(grid.width) * grid.height, false);
  auto openAt = [&](int col, int row)
  {
    for (int index : open)
      if (nodes[index].col == col && nodes[index].row == row)
        return index;
    return -1;
  };
  for (int current = 0;;)
  {
    const Node here = nodes[current];
    for (int dx = -1; dx <= 1; ++dx)
      for (int dy = -1; dy <= 1; ++dy)
      {
        const int col = here.col + dx, row = here.row + dy;
        if ((!dx && !dy) || !grid.IsWalkable(col, row) || closed[size_t(row) * grid.width + col])
          continue;
        const int g = here.g + (dx && dy ? 25 : 10);
        const int f = g + abs(col - goalCol) + abs(row - goalRow);
        const int found = openAt(col, row);
        if (found < 0)
        {
          nodes.push_back({col, row, g, f, current});
          open.push_back(int(nodes.size()) - 1);
        }
        else if (nodes[found].f > f)
          nodes[found] = {col, row, g, f, current};
      }
    open.erase(std::find(open.begin(), open.end(), current));
    if (here.col >= 0 && here.col < grid.width && here.row >= 0 && here.row < grid.height)
      closed[size_t(here.row) * grid.width + here.col] = true;
    if (open.empty())
      return {};
    current = open.front();
    for (int index : open)
      if (nodes[index].f < nodes[current].f)
        current = index;
    if (nodes[current].col == goalCol && nodes[current].row == goalRow)
    {
      Cells path;
      for (int at = current; at >= 0; at = nodes[at].parent)
        path.insert(path.begin(), {nodes[at].col, nodes[at].row});
      return path;
    }
  }
}

// Row height is just below the grid: world y under 0, where a co-worker may stand.
Cells Search(Grid2D& grid, int startCol, int startRow, int goalCol, int goalRow)
{
  Cells cells;
  auto at = [&](int col, int row)
  {
    return VNVec2{col * grid.tileWidth,
                  (grid.height - row) * grid.tileHeight - (row == grid.height)};
  };
  for (const VNVec2& point : grid.FindPath(at(startCol, startRow), at(goalCol, goalRow)))
    cells.push_back({int(point.x), grid.height - int(point.y)});
  return cells;
}
} // namespace

TEST(PathOracleTest, RandomFloorsGiveTheReferencePathsThroughCellChanges)
{
  EnsureTestWindow();
  std::mt19937 random(1234);
  int found = 0, missed = 0;
  for (int floor = 0; floor < 60; ++floor)
  {
    const int width = 6 + int(random() % 30), height = 6 + int(random() % 30);
    const int wallPercent = int(random() % 45); // 0 gives open floors full of ties
    Grid2D grid(width, height);
    grid.AddLayer("OBJECTS");
    grid.walkableLimit = 2;
    for (int cell = 0; cell < width * height; ++cell)
    {
      if (int(random() % 100) < wallPercent)
        grid.SetTile(random() % 2 ? "OBJECTS" : "BACKGROUND", cell, random() % 2 ? 9 : 5);
      else if (random() % 4 == 0)
        grid.SetTile("BACKGROUND", cell, int(random() % 3)); // floor ids 0 to 2 are walkable
    }
    for (int search = 0; search < 12; ++search)
    {
      const int sc = int(random() % width), sr = 1 + int(random() % height);
      const int gc = int(random() % width), gr = int(random() % height);
      if (sc == gc && sr == gr)
        continue;
      const Cells expected = Reference(grid, sc, sr, gc, gr);
      ASSERT_EQ(expected, Search(grid, sc, sr, gc, gr))
          << "floor " << floor << ", " << width << " x " << height << ", from (" << sc << ", " << sr
          << ") to (" << gc << ", " << gr << ")";
      (expected.empty() ? missed : found) += 1;
      // The next search must see these changes: a wall, a cleared cell, a new limit.
      grid.SetTile("OBJECTS", int(random() % (width * height)), 9);
      grid.SetTile("BACKGROUND", int(random() % (width * height)), 0);
      if (search == 6)
        grid.walkableLimit = 5;
    }
  }
  EXPECT_GT(found, 100) << "too few searches found a path to compare";
  EXPECT_GT(missed, 20) << "too few searches exhausted their region";
}
