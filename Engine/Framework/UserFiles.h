#pragma once

#include <map>
#include <string>

// The folders the game keeps its files in, after the XDG base directories: settings in
// $XDG_CONFIG_HOME/kestrin (default ~/.config/kestrin), progress and every other file the
// game writes in $XDG_DATA_HOME/kestrin (default ~/.local/share/kestrin). A relative XDG
// path is ignored, as the convention asks. Empty when neither it nor HOME is usable.
std::string UserConfigFolder();
std::string UserDataFolder();
// The path of a file the game writes for itself, in the user's data folder (made when
// missing), or in the system's temporary folder when there is no usable data folder.
std::string UserDataFile(const std::string& fileName);

// A small text file of `key = value` lines under `[section]` headings that the game keeps
// between runs. It remembers the text it last read or wrote, so a save of the same text
// writes nothing.
struct KeptFile
{
  std::string path;
  // The file's text as last read or written; empty when there was no file.
  std::string onDisk;
  // The file could not be understood: the first save moves it to path + ".bad" before
  // replacing it, so nothing a player had is lost.
  bool setAsideOnSave = false;
  // A failed save was reported; later failures of the same file stay quiet.
  bool failureReported = false;
};

// Values by "section.key" (a key before any heading has no prefix). False, with the line
// number in `error`, at the first line that is neither blank, a `#` or `;` comment, a
// heading nor `key = value`.
bool ParseKeptText(const std::string& text, std::map<std::string, std::string>& values,
                   std::string& error);
// Reads the file into text and remembers it; false with the reason when it is missing or
// unreadable.
bool ReadKeptFile(KeptFile& file, std::string& text, std::string& error);
// Replaces the file with text (folder created, written to a temporary file, synced and
// renamed), unless the file already holds it. False, with one line on stdout the first
// time, when it cannot be written; the previous file is then untouched. A file without a
// path is kept nowhere: false, silently.
bool WriteKeptFile(KeptFile& file, const std::string& text);
