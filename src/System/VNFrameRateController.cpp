/*
 * VNFrameRateController: frame timing on std::chrono::steady_clock. End spins on the
 * clock, without sleeping or yielding, until the minimum frame time has passed since
 * Start, so the cap holds exactly; the wait counts towards the measured frame time.
 */
#include "System/VNFrameRateController.h"

#include <chrono>

namespace
{

using Clock = std::chrono::steady_clock;

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
  do
  {
    sFrameRate.frameEnd = ReadCounter();
    const uint64_t ticks = static_cast<uint64_t>(sFrameRate.frameEnd - sFrameRate.frameStart);
    sFrameRate.frameTime = static_cast<double>(ticks) * sFrameRate.secondsPerTick;
  } while (sFrameRate.minFrameTime > sFrameRate.frameTime);

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
