#include "Framework/CommandLine.h"

#include <stdlib.h>

#include <vector>

#include "World/LevelFile.h"
#include "World/TextFile.h"

#ifndef KESTRIN_VERSION
#define KESTRIN_VERSION "0.0.0"
#endif

namespace
{

// Reads a whole level file just to know it can be read; the game reads it again to play.
bool Unreadable(const std::string& file, const char* option, std::string& error)
{
  std::string text;
  std::string reason;
  if (ReadTextFile(file, kLevelMaxFileBytes, text, reason))
    return false;
  error = std::string("cannot read the ") + option + " file \"" + file + "\": " + reason;
  return true;
}

bool ReadFrames(const std::string& value, int& frames)
{
  char* end = nullptr;
  const long count = strtol(value.c_str(), &end, 10);
  if (value.empty() || *end != '\0' || count < 1 || count > 1000000)
    return false;
  frames = static_cast<int>(count);
  return true;
}

} // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv)
{
  CommandLine result;
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
  auto fail = [&result](const std::string& error)
  {
    result.action = CommandLine::kError;
    result.error = error;
    return result;
  };

  for (size_t i = 0; i < args.size(); ++i)
  {
    std::string option = args[i];
    std::string value;
    bool hasValue = false;
    const size_t equals = option.find('=');
    if (option.compare(0, 2, "--") == 0 && equals != std::string::npos)
    {
      value = option.substr(equals + 1);
      option = option.substr(0, equals);
      hasValue = true;
    }
    const bool takesValue = option == "--level" || option == "--edit" || option == "--benchmark" ||
                            option == "--frames";
    if (takesValue && !hasValue)
    {
      if (i + 1 >= args.size())
        return fail(option + " needs a value");
      value = args[++i];
    }
    else if (!takesValue && hasValue)
      return fail(option + " takes no value");

    if (option == "--help" || option == "-h")
      result.action = CommandLine::kHelp;
    else if (option == "--version")
      result.action = result.action == CommandLine::kHelp ? result.action : CommandLine::kVersion;
    else if (option == "--windowed")
      result.display = CommandLine::kWindowed;
    else if (option == "--fullscreen")
      result.display = CommandLine::kFullScreen;
    else if (option == "--level")
      result.levelFile = value;
    else if (option == "--edit")
      result.editFile = value;
    else if (option == "--benchmark")
      result.benchmarkLevel = value;
    else if (option == "--frames")
    {
      if (!ReadFrames(value, result.frames))
        return fail("--frames needs a whole number from 1 to 1000000, not \"" + value + "\"");
    }
    else
      return fail("unknown option \"" + args[i] + "\" (try --help)");
  }

  if (result.action != CommandLine::kPlay)
    return result;
  const int modes =
      !result.levelFile.empty() + !result.editFile.empty() + !result.benchmarkLevel.empty();
  if (modes > 1)
    return fail("--level, --edit and --benchmark cannot be combined");
  if (result.frames && result.benchmarkLevel.empty())
    return fail("--frames goes with --benchmark");
  std::string error;
  if ((!result.levelFile.empty() && Unreadable(result.levelFile, "level", error)) ||
      (!result.editFile.empty() && Unreadable(result.editFile, "edit", error)))
    return fail(error);
  return result;
}

std::string CommandLineHelp()
{
  return "Usage: kestrin [OPTION]...\n"
         "A top-down stealth game: cross the office floor without being caught.\n"
         "\n"
         "  --windowed           play in a 1280 x 720 window this time\n"
         "  --fullscreen         play full screen this time\n"
         "  --level FILE         play a level file at once, then go to the main menu\n"
         "  --edit FILE          open a level file in the level editor\n"
         "  --benchmark LEVEL    run the benchmark on a level\n"
         "  --frames N           frames the benchmark runs\n"
         "  --help               show this help and exit\n"
         "  --version            show the version and exit\n"
         "\n"
         "Settings are kept in $XDG_CONFIG_HOME/kestrin/settings.ini, progress and test runs\n"
         "in $XDG_DATA_HOME/kestrin/. Alt+Enter switches between full screen and a window.\n";
}

std::string VersionText()
{
  return std::string("kestrin ") + KESTRIN_VERSION + "\n";
}
