#pragma once

#include <string>

// What the player chose on the options page, kept between runs in settings.ini.
struct Settings
{
  // 0 to 1 in quarters: the options page's sliders have five places.
  float musicVolume = 1.0f;
  float effectVolume = 1.0f;
  bool fullScreen = true;
};

// Reads settings.ini text into settings: unknown keys are ignored, volumes are clamped to 0
// to 1 and rounded to the nearest quarter. False, with the fault in `error`, when the text
// is malformed (a line that is no key = value, a volume that is no number, a display mode
// that is no yes/no); settings are then left as they were.
bool ParseSettings(const std::string& text, Settings& settings, std::string& error);
std::string FormatSettings(const Settings& settings);
