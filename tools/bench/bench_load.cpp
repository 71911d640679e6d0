// Level loads as the player meets them: the game's start up to its first menu frame, then
// switches between the menu and the floors, each floor twice so that the second visit
// shows what is kept from the first. Run it from the build folder.
//   bench_load
#include <stdio.h>

#include <string>

#include "BenchClock.h"
#include "Framework/Application.h"
#include "Framework/LevelManager.h"
#include "Vorn.h"

int main()
{
  const double start = WallMs();
  Application application;
  if (!application.Init(nullptr, 1, "bench_load"))
  {
    fprintf(stderr, "bench_load: the engine could not start graphics\n");
    return 1;
  }
  application.Frame();
  const double firstFrame = WallMs() - start;
  // CPU time counts from exec: the loader and static start-up are in it too.
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
  VNSysExit();
  application.Destroy();
  printf("load start: %.1f ms from Init to the first menu frame, %.1f ms CPU from exec\n",
         firstFrame, firstFrameCpu);
  for (const std::string& line : lines)
    printf("%s\n", line.c_str());
  return 0;
}
