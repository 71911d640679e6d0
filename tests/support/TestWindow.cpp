#include "TestWindow.h"

#include "System/VNSystem.h"

#include <SDL.h>
#include <gtest/gtest.h>

void SettleWindowEvents()
{
  const int kQuietRounds = 3;
  const int kMaxRounds = 50;
  int quiet = 0;
  for (int round = 0; round < kMaxRounds && quiet < kQuietRounds; ++round)
  {
    SDL_Delay(10);
    SDL_PumpEvents();
    const bool pending =
        SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0;
    quiet = pending ? 0 : quiet + 1;
    VNSysUpdate();
  }
}

void EnsureTestWindow()
{
  static bool open = false;
  if (open)
    return;
  ASSERT_EQ(1, VNSysInit(nullptr, 1, 1280, 720, 0, 60, nullptr))
      << "the engine window could not be opened (is an X server running?)";
  open = true;
  SettleWindowEvents();
}
