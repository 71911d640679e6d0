// FindPath on the grids co-workers meet: an open floor corner to corner, a serpentine
// maze, and goals walled off so the search must exhaust the floor (50 x 50, 200 x 200,
// 1000 x 1000). Prints the median wall and CPU time of several runs and the path length.
//   bench_findpath [case ...]   (cases: open50 maze50 unreachable50 unreachable200 walled1000)
#include <stdio.h>
#include <string.h>

#include <functional>
#include <string>

#include "BenchClock.h"
#include "World/Grid2D.h"

namespace
{
const int kWall = 20;

struct Case
{
  const char* name;
  int size;
  int runs;
  // Puts the walls on the grid and gives the start and goal cells.
  std::function<void(Grid2D&, int&, int&, int&, int&)> build;
};

void Wall(Grid2D& grid, int col, int row)
{
  grid.SetTileAt("OBJECTS", col, row, kWall);
}

// A wall around the goal cell (col, row).
void Enclose(Grid2D& grid, int col, int row)
{
  for (int dc = -1; dc <= 1; ++dc)
    for (int dr = -1; dr <= 1; ++dr)
      if (dc || dr)
        Wall(grid, col + dc, row + dr);
}

void Open(Grid2D&, int& sc, int& sr, int& gc, int& gr)
{
  sc = 0;
  sr = 1;
  gc = 49;
  gr = 49;
}

// Walls on every fourth row with one gap, alternately at the right and the left end.
void Maze(Grid2D& grid, int& sc, int& sr, int& gc, int& gr)
{
  for (int row = 3; row < grid.height; row += 4)
  {
    const int gap = (row / 4) % 2 ? 0 : grid.width - 1;
    for (int col = 0; col < grid.width; ++col)
      if (col != gap)
        Wall(grid, col, row);
  }
  sc = 0;
  sr = 1;
  gc = grid.width - 1;
  gr = grid.height - 1;
}

void Unreachable(Grid2D& grid, int& sc, int& sr, int& gc, int& gr)
{
  sc = 0;
  sr = 1;
  gc = grid.width - 3;
  gr = grid.height - 3;
  Enclose(grid, gc, gr);
}

// A floor ringed by walls, the goal walled off in the middle: every cell is visited.
void Walled(Grid2D& grid, int& sc, int& sr, int& gc, int& gr)
{
  for (int i = 0; i < grid.width; ++i)
  {
    Wall(grid, i, 1);
    Wall(grid, i, grid.height - 1);
    Wall(grid, 0, i);
    Wall(grid, grid.width - 1, i);
  }
  sc = 2;
  sr = 2;
  gc = grid.width / 2;
  gr = grid.height / 2;
  Enclose(grid, gc, gr);
}

VNVec2 At(const Grid2D& grid, int col, int row)
{
  return VNVec2{col * grid.tileWidth, (grid.height - row) * grid.tileHeight};
}
} // namespace

int main(int argc, char** argv)
{
  const Case cases[] = {
      {"open50", 50, 21, Open},
      {"maze50", 50, 21, Maze},
      {"unreachable50", 50, 21, Unreachable},
      {"unreachable200", 200, 5, Unreachable},
      {"walled1000", 1000, 3, Walled},
  };
  if (!VNSysInit(nullptr, 0, 320, 200, 0, 60, nullptr))
  {
    fprintf(stderr, "bench_findpath: the engine could not start graphics\n");
    return 1;
  }
  for (const Case& test : cases)
  {
    bool wanted = argc < 2;
    for (int i = 1; i < argc; ++i)
      wanted = wanted || strcmp(argv[i], test.name) == 0;
    if (!wanted)
      continue;
    Grid2D grid(test.size, test.size);
    grid.AddLayer("OBJECTS");
    grid.walkableLimit = 2;
    int sc = 0, sr = 0, gc = 0, gr = 0;
    test.build(grid, sc, sr, gc, gr);
    std::vector<double> times;
    std::vector<double> cpuTimes;
    size_t length = 0;
    for (int run = 0; run < test.runs; ++run)
    {
      const double start = WallMs();
      const double cpuStart = CpuMs();
      length = grid.FindPath(At(grid, sc, sr), At(grid, gc, gr)).size();
      cpuTimes.push_back(CpuMs() - cpuStart);
      times.push_back(WallMs() - start);
    }
    printf("findpath %s: %.3f ms (median of %d), %.3f ms CPU, path of %zu cells\n", test.name,
           Median(times), test.runs, Median(cpuTimes), length);
    fflush(stdout);
  }
  VNSysExit();
  return 0;
}
