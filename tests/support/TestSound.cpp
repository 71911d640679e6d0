#include "TestSound.h"

#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <filesystem>
#include <vector>

namespace
{

const uint32_t kSampleRate = 44100;

void PutU32(std::vector<uint8_t>& out, uint32_t value)
{
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutU16(std::vector<uint8_t>& out, uint16_t value)
{
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void PutTag(std::vector<uint8_t>& out, const char* tag)
{
  out.insert(out.end(), tag, tag + 4);
}

}  // namespace

std::string MakeTempFolder()
{
  const char* base = getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/kestrin-sound-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  return mkdtemp(buffer.data()) ? std::string(buffer.data()) : std::string();
}

void RemoveTempFolder(const std::string& folder)
{
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

bool WriteToneWav(const std::string& path, float frequency, float seconds, float amplitude)
{
  const uint32_t frames = static_cast<uint32_t>(seconds * kSampleRate);
  const uint32_t dataBytes = frames * 2;

  std::vector<uint8_t> out;
  PutTag(out, "RIFF");
  PutU32(out, 36 + dataBytes);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  PutU32(out, 16);
  PutU16(out, 1);  // PCM
  PutU16(out, 1);  // mono
  PutU32(out, kSampleRate);
  PutU32(out, kSampleRate * 2);
  PutU16(out, 2);
  PutU16(out, 16);
  PutTag(out, "data");
  PutU32(out, dataBytes);
  for (uint32_t i = 0; i < frames; ++i)
  {
    const double phase = 2.0 * M_PI * frequency * i / kSampleRate;
    PutU16(out, static_cast<uint16_t>(static_cast<int16_t>(amplitude * 32767.0 * sin(phase))));
  }

  FILE* file = fopen(path.c_str(), "wb");
  if (!file)
    return false;
  const bool written = fwrite(out.data(), 1, out.size(), file) == out.size();
  return fclose(file) == 0 && written;
}
