// Level loads as the player meets them: the game's start up to its first menu frame, then
// switches between the menu and the floors, each floor twice so that the second visit
// shows what is kept from the first. Run it from the build folder.
//   bench_load
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <string>

#include "BenchClock.h"
#include "Framework/Application.h"
#include "Framework/LevelManager.h"
#include "Vorn.h"

int main(int argc, char** argv)
{
  // The program notes the time and starts itself again, so that the start is timed from
  // exec: the loader and the static start-up count too.
  if (argc != 3 || strcmp(argv[1], "--started-at") != 0)
  {
    char startedAt[32];
    snprintf(startedAt, sizeof startedAt, "%.3f", WallMs());
    execl("/proc/self/exe", argv[0], "--started-at", startedAt, static_cast<char*>(nullptr));
    perror("bench_load: cannot start itself again");
    return 1;
  }
  const double start = atof(argv[2]);
  Application application;
  if (!application.Init(nullptr, 1, "bench_load"))
  {
    fprintf(stderr, "bench_load: the engine could not start graphics\n");
    return 1;
  }
  application.Frame();
  const double firstFrame = WallMs() - start;
  const double firstFrameCpu = CpuMs();

  const char* const route[] = {"Level1", "Main Menu", "Level5", "Main Menu",
                               "Level1", "Main Menu", "Level5", "Main Menu"};
  std::vector<std::string> lines;
  for (const char* level : route)
  {
    const double switchStart = WallMs();
    const double switchCpu = CpuMs();
    LevelManager::Instance()->ChangeLevel(level);
    application.Frame();
    char line[160];
    snprintf(line, sizeof line, "load %s: %.1f ms to its first frame, %.1f ms CPU", level,
             WallMs() - switchStart, CpuMs() - switchCpu);
    lines.push_back(line);
  }
  application.Destroy();
  printf("load start: %.1f ms from exec to the first menu frame, %.1f ms CPU\n", firstFrame,
         firstFrameCpu);
  for (const std::string& line : lines)
    printf("%s\n", line.c_str());
  return 0;
}
