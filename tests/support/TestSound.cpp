#include "TestSound.h"

#include <math.h>
#include <stdint.h>

#include <fstream>
#include <vector>

namespace
{

const uint32_t kSampleRate = 44100;

// Appends a little-endian value of `bytes` bytes, or a four-letter chunk tag.
void Put(std::vector<char>& out, uint32_t value, int bytes)
{
  for (int i = 0; i < bytes; ++i)
    out.push_back(static_cast<char>(value >> (8 * i)));
}

void PutTag(std::vector<char>& out, const char* tag)
{
  out.insert(out.end(), tag, tag + 4);
}

} // namespace

bool WriteToneWav(const std::string& path, float frequency, float seconds, float amplitude)
{
  const uint32_t frames = static_cast<uint32_t>(seconds * kSampleRate);
  const uint32_t dataBytes = frames * 2;

  std::vector<char> out;
  PutTag(out, "RIFF");
  Put(out, 36 + dataBytes, 4);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  Put(out, 16, 4);
  Put(out, 1, 2); // PCM
  Put(out, 1, 2); // mono
  Put(out, kSampleRate, 4);
  Put(out, kSampleRate * 2, 4); // bytes per second
  Put(out, 2, 2);               // bytes per frame
  Put(out, 16, 2);              // bits per sample
  PutTag(out, "data");
  Put(out, dataBytes, 4);
  for (uint32_t i = 0; i < frames; ++i)
  {
    const double phase = 2.0 * M_PI * frequency * i / kSampleRate;
    Put(out, static_cast<uint16_t>(static_cast<int16_t>(amplitude * 32767.0 * sin(phase))), 2);
  }

  std::ofstream file(path, std::ios::binary);
  file.write(out.data(), static_cast<std::streamsize>(out.size()));
  file.close();
  return !file.fail();
}
