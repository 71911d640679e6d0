/*
 * VNOutput: standard output switched off and back on, for runs whose only output must
 * be one result line (the game's benchmark mode).
 */
#pragma once

extern "C"
{

  /* Sends standard output to the null device until VNSysRestoreOutput; the original
 * stream is kept. Nonzero on success; a second call while muted does nothing. */
  int VNSysMuteOutput(void);
  /* Gives standard output back its original destination; nothing when not muted. */
  void VNSysRestoreOutput(void);
}
