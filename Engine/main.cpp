#include "Framework/Application.h"
#include "Framework/Benchmark.h"
#include "Framework/CommandLine.h"
#include "Framework/SaveData.h"
#include "Vorn.h"

#include <stdio.h>

#include <filesystem>
#include <string>

namespace
{

#ifndef KESTRIN_DATA_FROM_PROGRAM
#define KESTRIN_DATA_FROM_PROGRAM "../share/kestrin"
#endif

const char* const kDataMarker = "Assets/Assets.tsm";
// Where an installed program's data lies, from the program's folder.
const char* const kInstalledData = KESTRIN_DATA_FROM_PROGRAM;
const int kUsageError = 2;

// The game reads everything relative to its data folder: the working folder when it holds
// the game's data, else the program's own folder (a build folder), else the installed data
// beside the program's folder.
void EnterDataFolder()
{
  if (std::filesystem::exists(kDataMarker))
    return;
  VNSysChangeToProgramFolder();
  std::error_code failure;
  if (!std::filesystem::exists(kDataMarker) &&
      std::filesystem::exists(std::string(kInstalledData) + "/" + kDataMarker))
    std::filesystem::current_path(kInstalledData, failure);
  if (failure || !std::filesystem::exists(kDataMarker))
    printf("Kestrin: cannot find the game's data (%s) beside the program or in %s\n", kDataMarker,
           kInstalledData);
}

// Level files named on the command line stay the same files once the data folder is entered.
void MakeAbsolute(std::string& file)
{
  std::error_code failure;
  if (!file.empty())
    file = std::filesystem::absolute(file, failure).string();
}

} // namespace

int main(int argc, char** argv)
{
  CommandLine commandLine = ParseCommandLine(argc, argv);
  switch (commandLine.action)
  {
  case CommandLine::kHelp: fputs(CommandLineHelp().c_str(), stdout); return 0;
  case CommandLine::kVersion: fputs(VersionText().c_str(), stdout); return 0;
  case CommandLine::kError:
    fprintf(stderr, "kestrin: %s\n", commandLine.error.c_str());
    return kUsageError;
  case CommandLine::kPlay: break;
  }
  MakeAbsolute(commandLine.levelFile);
  MakeAbsolute(commandLine.editFile);
  EnterDataFolder();
  if (!commandLine.benchmarkLevel.empty())
    return RunBenchmark(commandLine.benchmarkLevel,
                        commandLine.frames > 0 ? commandLine.frames : kBenchmarkDefaultFrames);
  SaveData::Instance()->LoadFromUserFolders();

  Application* application = new Application();
  application->display = commandLine.display;
  const std::string title = "Kestrin";
  const bool started = application->Init(nullptr, 1, title);
  if (started)
    application->StartWith(commandLine);
  application->Run();
  application->Destroy();
  delete application;
  return started ? 0 : 1;
}
