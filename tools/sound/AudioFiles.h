// AudioFiles: mono float samples written as OGG Vorbis or 16-bit PCM WAV.
#pragma once

#include <string>
#include <vector>

// quality: libvorbis' VBR quality, -0.1 to 1.0. Both return false and print the reason
// when the file cannot be written.
bool WriteOgg(const std::string& path, const std::vector<float>& samples, int rate, float quality);
bool WriteWav(const std::string& path, const std::vector<float>& samples, int rate);
