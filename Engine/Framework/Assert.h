// The game's assertion: when the condition does not hold, the report names the
// condition, where it failed and why, and the program ends with status 1.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace AssertReport
{

[[noreturn]] inline void Fail(const char* condition, int line, const char* function,
                              const char* file, const char* message)
{
  std::printf("VN_ASSERT_MESG: %s\nLine: %d\nFunc: %s\nFile: %s\n", condition, line, function,
              file);
  std::printf("Mesg: %s\n", message);
  std::fflush(stdout);
  std::exit(1);
}

} // namespace AssertReport

#define VN_ASSERT_MESG(condition, message)                                                         \
  do                                                                                               \
  {                                                                                                \
    if (!(condition))                                                                              \
      AssertReport::Fail(#condition, __LINE__, __func__, __FILE__, message);                       \
  } while (0)
