#include "System/VNFrameRateController.h"

#include <gtest/gtest.h>

#include <chrono>

namespace
{

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start)
{
  return std::chrono::duration<double>(Clock::now() - start).count();
}

void Frame()
{
  VNFrameRateControllerStart();
  VNFrameRateControllerEnd();
}

TEST(FrameRateController, FirstFrameTimeIsTheMinimumAndResetRestoresIt)
{
  VNFrameRateControllerInit(60);
  EXPECT_DOUBLE_EQ(1.0 / 60.0, VNFrameRateControllerGetFrameTime());
  EXPECT_EQ(0u, VNFrameRateControllerGetFrameCount());

  // An End before any Start still returns and counts the frame.
  VNFrameRateControllerEnd();
  EXPECT_GE(VNFrameRateControllerGetFrameTime(), 1.0 / 60.0);
  Frame();
  ASSERT_EQ(2u, VNFrameRateControllerGetFrameCount());
  ASSERT_GT(VNFrameRateControllerGetFrameTime(), 1.0 / 60.0);

  VNFrameRateControllerReset();
  EXPECT_EQ(0u, VNFrameRateControllerGetFrameCount());
  EXPECT_DOUBLE_EQ(1.0 / 60.0, VNFrameRateControllerGetFrameTime());
}

TEST(FrameRateController, EndWaitsOutTheMinimumFrameTimeButDoesNotClampLongFrames)
{
  for (uint32_t rate : {60u, 30u})
  {
    VNFrameRateControllerInit(rate);
    const Clock::time_point start = Clock::now();
    Frame();
    const double elapsed = SecondsSince(start);

    EXPECT_GE(elapsed, 1.0 / rate) << "rate " << rate;
    EXPECT_GE(VNFrameRateControllerGetFrameTime(), 1.0 / rate) << "rate " << rate;
    EXPECT_LE(VNFrameRateControllerGetFrameTime(), elapsed) << "rate " << rate;
    EXPECT_EQ(1u, VNFrameRateControllerGetFrameCount()) << "rate " << rate;
  }

  // A frame longer than the minimum reports its full length.
  VNFrameRateControllerStart();
  const Clock::time_point start = Clock::now();
  while (SecondsSince(start) < 0.05)
  {
  }
  VNFrameRateControllerEnd();
  EXPECT_GE(VNFrameRateControllerGetFrameTime(), 0.05);
}

TEST(FrameRateController, RateZeroMeasuresWithoutWaiting)
{
  VNFrameRateControllerInit(0);
  EXPECT_EQ(0.0, VNFrameRateControllerGetFrameTime());
  const Clock::time_point start = Clock::now();
  Frame();
  const double elapsed = SecondsSince(start);

  EXPECT_LE(VNFrameRateControllerGetFrameTime(), elapsed);
  EXPECT_LT(VNFrameRateControllerGetFrameTime(), 1.0 / 60.0);
  EXPECT_EQ(1u, VNFrameRateControllerGetFrameCount());
}

} // namespace
