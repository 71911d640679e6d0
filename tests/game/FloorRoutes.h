// Floors and routes over their cells, shared by the floor proofs and the replay finder.
#pragma once

#include <cmath>
#include <functional>
#include <queue>
#include <set>
#include <string>
#include <vector>

#include "Levels/TutorialLevel.h"
#include "PlayTestSupport.h"
#include "World/Grid2D.h"

// The parts of a floor the walks read, whichever class plays it.
struct FloorView
{
  TestLevel* level;
  int& playState;
  std::vector<Player*>& players;
  std::vector<Enemy*>& enemies;
  std::vector<Key*>& keys;
  std::vector<VNVec2>& exits;
  bool& noCardNeeded;
};

// A new level for the floor file, of the class the game plays it with; not yet entered.
inline FloorView NewFloor(const std::string& file)
{
  const auto view = [](auto* p) -> FloorView
  { return {p, p->playState, p->players, p->enemies, p->keys, p->exits, p->noCardNeeded}; };
  if (file == "TutorialLevel.tmx")
    return view(new LevelProbe<TutorialLevel>());
  return view(new FloorProbe(file));
}

// A grid cell by column and row (row 0 at the top).
struct Cell
{
  int col;
  int row;
  bool operator<(const Cell& other) const
  {
    return col != other.col ? col < other.col : row < other.row;
  }
  bool operator==(const Cell& other) const { return col == other.col && row == other.row; }
};

inline Cell CellAt(const Grid2D& grid, VNVec2 point)
{
  return {static_cast<int>(std::lround(point.x / grid.tileWidth)),
          grid.height - static_cast<int>(std::lround(point.y / grid.tileHeight))};
}

inline VNVec2 CellCentre(const Grid2D& grid, Cell cell)
{
  return {cell.col * grid.tileWidth, (grid.height - cell.row) * grid.tileHeight};
}

// Shortest four-way route over the cells `open` accepts, from start to any goal cell,
// start excluded; empty when there is none (or when the start is a goal).
inline std::vector<Cell> FindRoute(const Grid2D& grid, Cell start, const std::set<Cell>& goals,
                                   const std::function<bool(Cell)>& open)
{
  const auto index = [&](Cell c) { return static_cast<size_t>(c.row * grid.width + c.col); };
  std::vector<int> from(static_cast<size_t>(grid.width * grid.height), -1);
  std::queue<Cell> frontier;
  frontier.push(start);
  from[index(start)] = static_cast<int>(index(start));
  while (!frontier.empty())
  {
    const Cell cell = frontier.front();
    frontier.pop();
    if (goals.count(cell))
    {
      std::vector<Cell> route;
      for (Cell c = cell; !(c == start);
           c = {from[index(c)] % grid.width, from[index(c)] / grid.width})
        route.insert(route.begin(), c);
      return route;
    }
    for (const Cell next : {Cell{cell.col + 1, cell.row}, Cell{cell.col - 1, cell.row},
                            Cell{cell.col, cell.row + 1}, Cell{cell.col, cell.row - 1}})
    {
      if (next.col < 0 || next.row < 0 || next.col >= grid.width || next.row >= grid.height ||
          from[index(next)] >= 0 || !open(next))
        continue;
      from[index(next)] = static_cast<int>(index(cell));
      frontier.push(next);
    }
  }
  return {};
}
