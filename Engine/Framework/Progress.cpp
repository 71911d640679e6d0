#include "Framework/Progress.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include "Framework/UserFiles.h"

namespace
{
const char* const kBestTimeKey = ".best_time";
// Ten hours: longer runs read as this much, and the time display keeps its width.
const float kLongestRun = 36000.0f;
} // namespace

bool RecordEscape(Progress& progress, const std::string& level, float seconds)
{
  seconds = fminf(fmaxf(seconds, 0.0f), kLongestRun);
  auto found = progress.bestTimes.find(level);
  if (found != progress.bestTimes.end() && found->second <= seconds)
    return false;
  progress.bestTimes[level] = seconds;
  return true;
}

bool ParseProgress(const std::string& text, Progress& progress, std::string& error)
{
  std::map<std::string, std::string> values;
  if (!ParseKeptText(text, values, error))
    return false;

  Progress read;
  const std::string suffix = kBestTimeKey;
  for (const auto& [key, value] : values)
  {
    if (key.size() <= suffix.size() ||
        key.compare(key.size() - suffix.size(), suffix.size(), suffix))
      continue;
    char* end = nullptr;
    const float seconds = strtof(value.c_str(), &end);
    if (value.empty() || *end != '\0' || isnan(seconds))
    {
      error = key + " is not a number";
      return false;
    }
    RecordEscape(read, key.substr(0, key.size() - suffix.size()), seconds);
  }
  progress = read;
  return true;
}

std::string FormatProgress(const Progress& progress)
{
  std::string text = "# Kestrin progress: the floors escaped and the best time on each, in "
                     "seconds.\n";
  char line[64];
  for (const auto& [level, seconds] : progress.bestTimes)
  {
    snprintf(line, sizeof line, "best_time = %.2f\n", seconds);
    text += "\n[" + level + "]\n" + line;
  }
  return text;
}

std::string FormatRunTime(float seconds)
{
  const int tenths = static_cast<int>(fminf(fmaxf(seconds, 0.0f), kLongestRun) * 10.0f);
  char text[32];
  snprintf(text, sizeof text, "%d:%02d.%d", tenths / 600, tenths / 10 % 60, tenths % 10);
  return text;
}
