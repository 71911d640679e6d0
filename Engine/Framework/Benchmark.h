#pragma once

#include <string>

// Frames measured when the command line names no count.
constexpr int kBenchmarkDefaultFrames = 300;

// Plays level with no frame cap, full screen at the screen's size and the sound silent,
// the player standing at the start while the co-workers go about their rounds, and
// prints one line on stdout:
//   benchmark LEVEL: N frames at WxH, C ms CPU per frame (median), W ms per frame
//   (median), worst X ms
// CPU is the process's CPU time over all threads. The game's own output is dropped
// meanwhile. Returns 0; an unknown level prints one line on stderr and returns 2, a
// failed start returns 1.
int RunBenchmark(const std::string& level, int frames);
