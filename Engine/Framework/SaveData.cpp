#include "Framework/SaveData.h"

#include <stdio.h>

SaveData* SaveData::instance = nullptr;

namespace
{

// Reads the file and hands its text to parse; what parse fills keeps its defaults when the
// file cannot be read or understood.
template <typename Parse> void LoadKept(KeptFile& file, const char* what, Parse parse)
{
  std::string text;
  std::string error;
  if (!ReadKeptFile(file, text, error))
    printf("Kestrin: no %s read from %s (%s); using the defaults\n", what, file.path.c_str(),
           error.c_str());
  else if (!parse(text, error))
  {
    file.setAsideOnSave = true;
    printf("Kestrin: the %s file %s is malformed (%s); using the defaults, the file moves to "
           "%s.bad at the next save\n",
           what, file.path.c_str(), error.c_str(), file.path.c_str());
  }
  fflush(stdout);
}

} // namespace

SaveData* SaveData::Instance()
{
  if (!instance)
    instance = new SaveData();
  return instance;
}

void SaveData::Destroy()
{
  delete instance;
  instance = nullptr;
}

void SaveData::Load(const std::string& settingsPath, const std::string& progressPath)
{
  settings = Settings();
  progress = Progress();
  settingsFile = KeptFile();
  progressFile = KeptFile();
  settingsFile.path = settingsPath;
  progressFile.path = progressPath;
  LoadKept(settingsFile, "settings",
           [this](const std::string& text, std::string& error)
           { return ParseSettings(text, settings, error); });
  LoadKept(progressFile, "progress",
           [this](const std::string& text, std::string& error)
           { return ParseProgress(text, progress, error); });
}

void SaveData::LoadFromUserFolders()
{
  const std::string config = UserConfigFolder();
  const std::string data = UserDataFolder();
  if (config.empty() || data.empty())
  {
    *this = SaveData();
    printf("Kestrin: no home folder (HOME and XDG_CONFIG_HOME or XDG_DATA_HOME unset); settings "
           "and progress are not kept\n");
    fflush(stdout);
    return;
  }
  Load(config + "/settings.ini", data + "/progress.ini");
}

bool SaveData::SaveSettings()
{
  return WriteKeptFile(settingsFile, FormatSettings(settings));
}

bool SaveData::SaveProgress()
{
  return WriteKeptFile(progressFile, FormatProgress(progress));
}
