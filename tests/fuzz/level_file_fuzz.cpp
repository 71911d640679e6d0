// Fuzzes the level file reader, then checks that what it accepted prints to a file that
// reads back to the same level once the writer's normal form is reached.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>

#include "World/LevelFile.h"

namespace
{

// Levels larger than this are read but not printed: printing them is slow, not risky.
const long long kLargestPrinted = 10000;

std::string Normalised(const std::string& text)
{
  LevelContent level;
  if (!ParseLevelFile(text.data(), text.size(), "fuzz.tmx", level))
  {
    fprintf(stderr, "the writer's output was refused:\n%s\n", text.c_str());
    abort();
  }
  return FormatLevelFile(level);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  LevelContent level;
  if (!ParseLevelFile(reinterpret_cast<const char*>(data), size, "fuzz.tmx", level))
    return 0;
  if (static_cast<long long>(level.width) * level.height > kLargestPrinted)
    return 0;

  // One pass moves event lists behind the tile layers and drops codes no event has;
  // after that, writing and reading must not change the level any more.
  std::string once = Normalised(FormatLevelFile(level));
  std::string twice = Normalised(once);
  if (once != twice)
  {
    fprintf(stderr, "writing is not stable:\n%s\n---\n%s\n", once.c_str(), twice.c_str());
    abort();
  }
  return 0;
}
