#pragma once

#include <map>
#include <string>

// How far a player has come, kept between runs in progress.ini: each floor escaped at least
// once, by level name, with its best time.
struct Progress
{
  // Seconds of the fastest escape, by level name; a floor absent here was never escaped.
  std::map<std::string, float> bestTimes;
};

// Records an escape from a floor after `seconds` of play. True when it changed the
// record: the floor's first escape or a faster one.
bool RecordEscape(Progress& progress, const std::string& level, float seconds);
// Reads progress.ini text: a `[LevelName]` heading per floor with `best_time` in seconds
// (clamped to zero and up); other keys are ignored. False, with the fault in `error`, when
// the text is malformed; progress is then left as it was.
bool ParseProgress(const std::string& text, Progress& progress, std::string& error);
std::string FormatProgress(const Progress& progress);
// A run's time as minutes, seconds and tenths: "1:05.3".
std::string FormatRunTime(float seconds);
