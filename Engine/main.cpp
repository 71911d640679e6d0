#include "Framework/Application.h"
#include "Framework/Benchmark.h"
#include "Vorn.h"

#include <stdlib.h>
#include <string.h>

#include <filesystem>

int main(int argc, char** argv)
{
  // Run from anywhere: the game reads everything relative to the folder it ships in.
  if (!std::filesystem::exists("Assets/Assets.tsm"))
    VNSysChangeToProgramFolder();

  // kestrin --benchmark LEVEL [--frames N]
  if (argc >= 3 && strcmp(argv[1], "--benchmark") == 0)
  {
    int frames = kBenchmarkDefaultFrames;
    if (argc >= 5 && strcmp(argv[3], "--frames") == 0)
      frames = atoi(argv[4]);
    return RunBenchmark(argv[2], frames);
  }

  Application* application = new Application();
  const std::string title = "Kestrin";
  const bool started = application->Init(nullptr, 1, title);
  application->Run();
  application->Destroy();
  delete application;
  return started ? 0 : 1;
}
