/*
 * UserFiles: where the game keeps its own files, and the small key = value files it keeps
 * there. Replacing a file goes through the atomic text-file writer, so a crash or a full
 * disk never leaves half a settings or progress file behind.
 */
#include "Framework/UserFiles.h"

#include <stdio.h>
#include <stdlib.h>

#include <filesystem>
#include <sstream>

#include "World/TextFile.h"

namespace
{

// Settings and progress files are a few hundred bytes; anything far larger is not ours.
const size_t kKeptFileMaxBytes = 1024 * 1024;

std::string BaseFolder(const char* variable, const char* homeRelative)
{
  const char* value = getenv(variable);
  if (value && value[0] == '/')
    return value;
  const char* home = getenv("HOME");
  if (home && home[0] == '/')
    return std::string(home) + homeRelative;
  return "";
}

std::string GameFolder(const std::string& base)
{
  return base.empty() ? base : base + "/kestrin";
}

std::string Trim(const std::string& text)
{
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos)
    return "";
  const size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

} // namespace

std::string UserConfigFolder()
{
  return GameFolder(BaseFolder("XDG_CONFIG_HOME", "/.config"));
}

std::string UserDataFolder()
{
  return GameFolder(BaseFolder("XDG_DATA_HOME", "/.local/share"));
}

std::string UserDataFile(const std::string& fileName)
{
  std::error_code failure;
  std::filesystem::path folder = UserDataFolder();
  if (folder.empty() || (!std::filesystem::is_directory(folder, failure) &&
                         !std::filesystem::create_directories(folder, failure)))
    folder = std::filesystem::temp_directory_path(failure);
  return (folder / fileName).string();
}

bool ParseKeptText(const std::string& text, std::map<std::string, std::string>& values,
                   std::string& error)
{
  values.clear();
  std::istringstream lines(text);
  std::string line;
  std::string section;
  int number = 0;
  while (std::getline(lines, line))
  {
    ++number;
    line = Trim(line);
    if (line.empty() || line[0] == '#' || line[0] == ';')
      continue;
    if (line.front() == '[' && line.back() == ']')
    {
      section = Trim(line.substr(1, line.size() - 2));
      continue;
    }
    const size_t equals = line.find('=');
    const std::string key = equals == std::string::npos ? "" : Trim(line.substr(0, equals));
    if (key.empty())
    {
      error = "line " + std::to_string(number) + " is not key = value";
      values.clear();
      return false;
    }
    values[section.empty() ? key : section + "." + key] = Trim(line.substr(equals + 1));
  }
  return true;
}

bool ReadKeptFile(KeptFile& file, std::string& text, std::string& error)
{
  file.onDisk.clear();
  if (!ReadTextFile(file.path, kKeptFileMaxBytes, text, error))
    return false;
  file.onDisk = text;
  return true;
}

bool WriteKeptFile(KeptFile& file, const std::string& text)
{
  if (text == file.onDisk && !file.setAsideOnSave)
    return true;
  // Not kept anywhere: there was no home folder, or nothing was loaded.
  if (file.path.empty())
    return false;

  std::string error;
  std::error_code failure;
  const std::filesystem::path path(file.path);
  if (!std::filesystem::exists(path.parent_path(), failure) &&
      std::filesystem::create_directories(path.parent_path(), failure))
    std::filesystem::permissions(path.parent_path(), std::filesystem::perms::owner_all, failure);
  if (failure)
    error = "cannot create its folder (" + failure.message() + ")";

  if (error.empty() && file.setAsideOnSave)
  {
    std::filesystem::rename(path, file.path + ".bad", failure);
    if (failure && std::filesystem::exists(path))
      error = "cannot keep the unreadable file aside (" + failure.message() + ")";
  }
  if (error.empty() && ReplaceTextFile(file.path, text, error))
  {
    file.onDisk = text;
    file.setAsideOnSave = false;
    return true;
  }

  if (!file.failureReported)
  {
    printf("Kestrin: cannot save %s: %s\n", file.path.c_str(), error.c_str());
    fflush(stdout);
  }
  file.failureReported = true;
  return false;
}
