/*
 * VNOutput: standard output moved to /dev/null by descriptor, so that everything written
 * through printf, puts or std::cout is dropped, and moved back afterwards.
 */
#include "System/VNOutput.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

namespace
{
// The saved descriptor of the real standard output; -1 while not muted.
int sSavedOutput = -1;
} // namespace

int VNSysMuteOutput(void)
{
  if (sSavedOutput >= 0)
    return 1;
  fflush(stdout);
  const int saved = dup(STDOUT_FILENO);
  const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (saved < 0 || null < 0 || dup2(null, STDOUT_FILENO) < 0)
  {
    if (saved >= 0)
      close(saved);
    if (null >= 0)
      close(null);
    return 0;
  }
  close(null);
  sSavedOutput = saved;
  return 1;
}

void VNSysRestoreOutput(void)
{
  if (sSavedOutput < 0)
    return;
  fflush(stdout);
  dup2(sSavedOutput, STDOUT_FILENO);
  close(sSavedOutput);
  sSavedOutput = -1;
}
