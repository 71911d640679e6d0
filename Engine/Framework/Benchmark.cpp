#include "Framework/Benchmark.h"

#include <stdio.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <vector>

#include "Framework/Application.h"
#include "Framework/LevelManager.h"
#include "Framework/SoundManager.h"
#include "Vorn.h"

namespace
{
// Levels show their loading picture for 1.5 s of game time, with every co-worker
// standing still; the frames measured start after it.
const double kWarmUpSeconds = 2.0;

double Median(std::vector<double> values)
{
  if (values.empty())
    return 0.0;
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  if (values.size() % 2 == 1)
    return values[middle];
  return (values[middle - 1] + values[middle]) / 2.0;
}

double CpuMilliseconds()
{
  return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

double WallMilliseconds()
{
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// Every sound still starts and ends as in play, at volume 0.
void SilenceSound()
{
  SoundManager* sound = SoundManager::Instance();
  sound->musicVolume = 0.0f;
  sound->currentMusicVolume = 0.0f;
  sound->effectVolume = 0.0f;
}
} // namespace

int RunBenchmark(const std::string& level, int frames)
{
  if (frames < 1)
    frames = 1;
  VNSysMuteOutput();
  Application application;
  if (!application.Init(nullptr, 1, "Kestrin benchmark"))
  {
    application.Destroy();
    VNSysRestoreOutput();
    fprintf(stderr, "benchmark: the engine could not start graphics\n");
    return 1;
  }
  LevelManager* levels = LevelManager::Instance();
  if (!levels->levels.count(level))
  {
    application.Destroy();
    VNSysRestoreOutput();
    fprintf(stderr, "benchmark: no level named \"%s\"\n", level.c_str());
    return 2;
  }

  VNFrameRateControllerInit(0);
  SilenceSound();
  levels->ChangeLevel(level);

  double played = 0.0;
  while (played < kWarmUpSeconds && !gQuitGame)
  {
    application.Frame();
    played += VNFrameRateControllerGetFrameTime();
  }

  std::vector<double> cpu;
  std::vector<double> wall;
  cpu.reserve(static_cast<size_t>(frames));
  wall.reserve(static_cast<size_t>(frames));
  for (int i = 0; i < frames && !gQuitGame; ++i)
  {
    const double cpuStart = CpuMilliseconds();
    const double wallStart = WallMilliseconds();
    application.Frame();
    cpu.push_back(CpuMilliseconds() - cpuStart);
    wall.push_back(WallMilliseconds() - wallStart);
  }

  const int width = static_cast<int>(VNGetWindowWidth() * gVNScreenScaleX + 0.5f);
  const int height = static_cast<int>(VNGetWindowHeight() * gVNScreenScaleY + 0.5f);
  const double worst = wall.empty() ? 0.0 : *std::max_element(wall.begin(), wall.end());
  application.Destroy();
  VNSysRestoreOutput();
  printf("benchmark %s: %zu frames at %dx%d, %.1f ms CPU per frame (median), %.1f ms per frame "
         "(median), worst %.1f ms\n",
         level.c_str(), wall.size(), width, height, Median(cpu), Median(wall), worst);
  fflush(stdout);
  return 0;
}
