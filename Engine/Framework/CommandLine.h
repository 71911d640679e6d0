#pragma once

#include <string>

// What the program was asked to do on its command line.
struct CommandLine
{
  enum Action
  {
    kPlay,
    kHelp,
    kVersion,
    // `error` says what is wrong; the program stops with exit status 2 before any window.
    kError
  };
  // The display mode forced for this run, or left to the settings.
  enum Display
  {
    kDisplayFromSettings,
    kWindowed,
    kFullScreen
  };

  Action action = kPlay;
  Display display = kDisplayFromSettings;
  // A level file to play at once as a test run, or to open in the editor; empty for neither.
  std::string levelFile;
  std::string editFile;
  // The benchmark's level and frame count; frames is 0 when not given.
  std::string benchmarkLevel;
  int frames = 0;
  std::string error;
};

// Reads the arguments after the program name. Options take their value as the next
// argument or after "="; the last of --windowed and --fullscreen wins. A level or edit
// file that cannot be read is an error, named with the reason.
CommandLine ParseCommandLine(int argc, const char* const* argv);
// The text of --help.
std::string CommandLineHelp();
// The text of --version.
std::string VersionText();
