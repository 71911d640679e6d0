#pragma once

#include <string>

// One event of a level file: who or what appears where. x and y are tile coordinates
// (column, rows counted up from below the map), so x and y times the tile size give the
// world centre of the event's cell.
struct EventRecord
{
  std::string trigger;
  float x = 0.0f;
  float y = 0.0f;
  int pattern = 0;
};
