// Sound files written by tests, so no test depends on the game's own assets.
#pragma once

#include <string>

// Writes a mono 16-bit 44100 Hz WAV holding a sine tone of the given frequency (Hz),
// length (seconds) and peak amplitude (0 to 1). False when the file cannot be written.
bool WriteToneWav(const std::string& path, float frequency, float seconds, float amplitude);
