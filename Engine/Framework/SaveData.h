#pragma once

#include <string>

#include "Framework/Progress.h"
#include "Framework/Settings.h"
#include "Framework/UserFiles.h"

// What the game keeps between runs, each part with its file: the settings in the user's
// configuration folder, the progress in the user's data folder.
class SaveData
{
public:
  static SaveData* Instance();
  static void Destroy();

  // Reads both files. A file that is missing, unreadable or malformed leaves that part at
  // its defaults and prints one line on stdout saying so.
  void Load(const std::string& settingsPath, const std::string& progressPath);
  // The files under the user's folders. Until a load, nothing is read or written.
  void LoadFromUserFolders();
  // Write the part when it differs from its file; a failure prints one line and keeps the
  // values for the rest of the run.
  bool SaveSettings();
  bool SaveProgress();

  Settings settings;
  Progress progress;
  KeptFile settingsFile;
  KeptFile progressFile;

private:
  static SaveData* instance;
};
