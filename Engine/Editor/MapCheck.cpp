/*
 * MapCheck: the editor's checks before a test run or a save. Markers are read from the
 * "EVENTS" layer, walkability from the grid itself.
 */
#include "Editor/MapCheck.h"

#include <stdio.h>

#include "World/Grid2D.h"

namespace
{

const int kCardCode = 50;
const int kStartCode = 101;
const int kExitCode = 102;
const int kFirstCoworkerCode = 103;

std::string CellName(const Grid2D& grid, int cell)
{
  char text[48];
  snprintf(text, sizeof(text), "X %d, Y %d", cell % grid.width,
           grid.height - 1 - cell / grid.width);
  return text;
}

// Every cell reachable from `start` over walkable cells, four-way.
std::vector<bool> ReachableFrom(const Grid2D& grid, int start)
{
  const int width = grid.width;
  const int count = width * grid.height;
  std::vector<bool> reached(static_cast<size_t>(count), false);
  std::vector<int> pending = {start};
  reached[start] = true;
  while (!pending.empty())
  {
    const int at = pending.back();
    pending.pop_back();
    const int col = at % width;
    const int row = at / width;
    const int next[4][2] = {{col - 1, row}, {col + 1, row}, {col, row - 1}, {col, row + 1}};
    for (const auto& [c, r] : next)
    {
      if (c < 0 || c >= width || r < 0 || r >= grid.height)
        continue;
      const int cell = r * width + c;
      if (!reached[cell] && grid.IsWalkable(c, r))
      {
        reached[cell] = true;
        pending.push_back(cell);
      }
    }
  }
  return reached;
}

} // namespace

std::vector<std::string> FindMapProblems(const Grid2D& grid)
{
  std::vector<std::string> problems;
  auto layer = grid.layers.find("EVENTS");
  const size_t count = static_cast<size_t>(grid.width) * static_cast<size_t>(grid.height);
  if (layer == grid.layers.end() || layer->second.size() < count || count == 0)
    return {"no player start (id 101) and no exit (id 102)"};
  const std::vector<int>& events = layer->second;

  std::vector<int> starts, exits, cards, coworkers;
  for (size_t i = 0; i < count; ++i)
  {
    const int code = events[i];
    const int cell = static_cast<int>(i);
    if (code == kStartCode)
      starts.push_back(cell);
    else if (code == kExitCode)
      exits.push_back(cell);
    else if (code == kCardCode)
      cards.push_back(cell);
    else if (code >= kFirstCoworkerCode)
      coworkers.push_back(cell);
  }

  if (starts.empty())
    problems.push_back("no player start (id 101)");
  else if (starts.size() > 1)
    problems.push_back(std::to_string(starts.size()) + " player starts, at " +
                       CellName(grid, starts[0]) + " and " + CellName(grid, starts[1]));
  if (exits.empty())
    problems.push_back("no exit (id 102)");

  auto walkable = [&](int cell) { return grid.IsWalkable(cell % grid.width, cell / grid.width); };
  for (int cell : coworkers)
  {
    if (!walkable(cell))
      problems.push_back("co-worker at " + CellName(grid, cell) + " is not on a walkable cell");
  }
  if (starts.size() != 1)
    return problems;

  const int start = starts[0];
  if (!walkable(start))
  {
    problems.push_back("player start at " + CellName(grid, start) + " is not on a walkable cell");
    return problems;
  }
  const std::vector<bool> reached = ReachableFrom(grid, start);
  for (int cell : exits)
  {
    if (!reached[cell])
      problems.push_back("exit at " + CellName(grid, cell) + " cannot be reached from the start");
  }
  for (int cell : cards)
  {
    if (!reached[cell])
      problems.push_back("access card at " + CellName(grid, cell) +
                         " cannot be reached from the start");
  }
  return problems;
}
