// Frame pacing at 60 frames per second with a light frame (about 2 ms of work): the CPU
// the process uses, and how far the measured frame times stray from the cap.
//   bench_pacing [frames]
#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include "BenchClock.h"
#include "Vorn.h"

int main(int argc, char** argv)
{
  const int frames = argc > 1 ? atoi(argv[1]) : 300;
  const unsigned rate = 60;
  const double cap = 1.0 / rate;
  VNFrameRateControllerInit(rate);

  std::vector<double> times;
  volatile double sink = 0.0;
  const double cpuStart = CpuMs();
  const double wallStart = WallMs();
  for (int i = 0; i < frames; ++i)
  {
    VNFrameRateControllerStart();
    const double workEnd = WallMs() + 2.0;
    while (WallMs() < workEnd)
      sink = sink + sqrt(sink + i);
    VNFrameRateControllerEnd();
    times.push_back(VNFrameRateControllerGetFrameTime());
  }
  const double cpu = CpuMs() - cpuStart;
  const double wall = WallMs() - wallStart;

  double under = 0.0;
  double over = 0.0;
  for (double t : times)
  {
    under = fmax(under, cap - t);
    over = fmax(over, t - cap);
  }
  printf("pacing: %d frames at %u fps, %.1f %% of a core, frame time median %.3f ms, "
         "shortest %.3f ms under the cap, longest %.3f ms over it\n",
         frames, rate, 100.0 * cpu / wall, 1000.0 * Median(times), 1000.0 * under, 1000.0 * over);
  return 0;
}
