#pragma once

#include <string>
#include <vector>

class Grid2D;

// What keeps an edited map from being played, one line per problem naming its cell as
// the level file counts it (X from the left, Y from the bottom row): not exactly one
// player start, no exit, a player start, exit or access card off the walkable cells
// reachable from the start (four-way steps), a co-worker on a cell that is not walkable.
// Empty when the map is playable.
std::vector<std::string> FindMapProblems(const Grid2D& grid);
