#include "Framework/Settings.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include <map>

#include "Framework/UserFiles.h"

namespace
{

const float kVolumeStep = 0.25f;

bool ReadVolume(const std::map<std::string, std::string>& values, const char* key, float& volume,
                std::string& error)
{
  auto found = values.find(key);
  if (found == values.end())
    return true;
  char* end = nullptr;
  const float value = strtof(found->second.c_str(), &end);
  if (found->second.empty() || *end != '\0' || isnan(value))
  {
    error = std::string(key) + " is not a number";
    return false;
  }
  volume = roundf(fminf(fmaxf(value, 0.0f), 1.0f) / kVolumeStep) * kVolumeStep;
  return true;
}

bool ReadYesNo(const std::map<std::string, std::string>& values, const char* key, bool& flag,
               std::string& error)
{
  auto found = values.find(key);
  if (found == values.end())
    return true;
  const std::string& value = found->second;
  if (value == "true" || value == "yes" || value == "1")
    flag = true;
  else if (value == "false" || value == "no" || value == "0")
    flag = false;
  else
  {
    error = std::string(key) + " is neither true nor false";
    return false;
  }
  return true;
}

} // namespace

bool ParseSettings(const std::string& text, Settings& settings, std::string& error)
{
  std::map<std::string, std::string> values;
  Settings read = settings;
  if (!ParseKeptText(text, values, error) ||
      !ReadVolume(values, "audio.music", read.musicVolume, error) ||
      !ReadVolume(values, "audio.effects", read.effectVolume, error) ||
      !ReadYesNo(values, "display.fullscreen", read.fullScreen, error))
    return false;
  settings = read;
  return true;
}

std::string FormatSettings(const Settings& settings)
{
  char text[256];
  snprintf(text, sizeof text,
           "# Kestrin settings, rewritten when they change in the game.\n"
           "[audio]\n"
           "# 0 to 1 in steps of 0.25\n"
           "music = %.2f\n"
           "effects = %.2f\n"
           "\n"
           "[display]\n"
           "fullscreen = %s\n",
           settings.musicVolume, settings.effectVolume, settings.fullScreen ? "true" : "false");
  return text;
}
