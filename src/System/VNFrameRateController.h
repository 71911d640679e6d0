/*
 * VNFrameRateController: measures each frame with a monotonic high-resolution clock and
 * caps the frame rate by waiting at the end of the frame until the minimum frame time
 * has passed. The measured time of the last frame is the game's time step.
 */
#pragma once

#include <stdint.h>

extern "C"
{

  /* maxFrameRate in frames per second; 0 means no cap. */
  void VNFrameRateControllerInit(uint32_t maxFrameRate);
  /* Frame count back to 0, frame time back to the minimum frame time. */
  void VNFrameRateControllerReset(void);
  void VNFrameRateControllerStart(void);
  /* Waits until the minimum frame time has passed since Start (sleeping, then spinning
 * the last stretch), then counts the frame. */
  void VNFrameRateControllerEnd(void);
  /* Duration of the last completed frame in seconds (1/rate right after Init or Reset). */
  double VNFrameRateControllerGetFrameTime(void);
  /* Frames completed since the last Init or Reset. */
  uint32_t VNFrameRateControllerGetFrameCount(void);
}
