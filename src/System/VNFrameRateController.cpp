/*
 * VNFrameRateController: frame timing on std::chrono::steady_clock. End sleeps through
 * most of the wait for the minimum frame time and spins on the clock for the last
 * stretch, since a sleep may overshoot its deadline by a scheduler tick; the cap so holds
 * to a fraction of a millisecond at little CPU. The wait counts towards the measured
 * frame time.
 */
#include "System/VNFrameRateController.h"

#include <chrono>
#include <thread>

namespace
{

using Clock = std::chrono::steady_clock;

// How long before the deadline the sleep stops and the spin takes over.
const double kSpinSeconds = 0.001;

struct FrameRateState
{
  uint32_t frameCount;
  double maxFrameRate;
  double minFrameTime;
  double frameTime;
  double secondsPerTick;
  Clock::rep frameStart;
  Clock::rep frameEnd;
};

FrameRateState sFrameRate;

Clock::rep ReadCounter()
{
  return Clock::now().time_since_epoch().count();
}

double SecondsPerTick()
{
  return static_cast<double>(Clock::period::num) / static_cast<double>(Clock::period::den);
}

void ResetFrameTimes()
{
  if (sFrameRate.maxFrameRate != 0.0)
    sFrameRate.minFrameTime = 1.0 / sFrameRate.maxFrameRate;
  else
    sFrameRate.minFrameTime = 0.0;
  sFrameRate.frameTime = sFrameRate.minFrameTime;
}

// Elapsed seconds since Start, kept as the frame time.
double MeasureFrame()
{
  sFrameRate.frameEnd = ReadCounter();
  const uint64_t ticks = static_cast<uint64_t>(sFrameRate.frameEnd - sFrameRate.frameStart);
  sFrameRate.frameTime = static_cast<double>(ticks) * sFrameRate.secondsPerTick;
  return sFrameRate.frameTime;
}

} // namespace

void VNFrameRateControllerInit(uint32_t maxFrameRate)
{
  sFrameRate.frameCount = 0;
  sFrameRate.maxFrameRate = static_cast<double>(maxFrameRate);
  ResetFrameTimes();
  // Known from Init on, so an End before the first Start measures time instead of
  // spinning forever on a zero tick length.
  sFrameRate.secondsPerTick = SecondsPerTick();
  sFrameRate.frameStart = ReadCounter();
}

void VNFrameRateControllerReset(void)
{
  sFrameRate.frameCount = 0;
  ResetFrameTimes();
}

void VNFrameRateControllerStart(void)
{
  sFrameRate.secondsPerTick = SecondsPerTick();
  sFrameRate.frameStart = ReadCounter();
}

void VNFrameRateControllerEnd(void)
{
  double remaining = sFrameRate.minFrameTime - MeasureFrame();
  while (remaining > kSpinSeconds)
  {
    std::this_thread::sleep_for(std::chrono::duration<double>(remaining - kSpinSeconds));
    remaining = sFrameRate.minFrameTime - MeasureFrame();
  }
  while (sFrameRate.minFrameTime > MeasureFrame())
    ;

  ++sFrameRate.frameCount;
}

double VNFrameRateControllerGetFrameTime(void)
{
  return sFrameRate.frameTime;
}

uint32_t VNFrameRateControllerGetFrameCount(void)
{
  return sFrameRate.frameCount;
}
