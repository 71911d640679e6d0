#pragma once

#include <stddef.h>

#include <map>
#include <string>
#include <vector>

#include "World/EventRecord.h"

// The level file: an XML dialect of TMX. A `map` with "width" and "height" holds
// `layer`s of `data`/`tile gid` cells (row 0 first) and `eventlist`s of `event`s
// ("trigger", "X", "Y" counted from the bottom row, "pattern"). Layer data may also be
// Tiled's csv text; a map without an event list takes its events from a layer named
// "EVENTS". This module is the one reader and writer of the format; the grid, the editor
// and tools go through it.

// The contents of a level file, independent of any drawing.
struct LevelContent
{
  int width = 0;
  int height = 0;
  // Written to the file; reading always gives 50, whatever the file says.
  float tileWidth = 50.0f;
  float tileHeight = 50.0f;
  // Tile layers in file order, then one layer per event list.
  std::vector<std::string> layerNames;
  std::map<std::string, std::vector<int>> layers;
  std::vector<EventRecord> events;
};

// Largest map a level file may describe, in cells.
enum
{
  kLevelMaxCells = 1000 * 1000
};
// Largest level file read, in bytes. The reader keeps only as many layers as the writer
// can write back within this size whatever their cells hold, so every level read can be
// saved and read again: a map of the largest size keeps two tile layers and its events.
enum
{
  kLevelMaxFileBytes = 160 * 1024 * 1024
};

// Reads a level file. A file that cannot be used is refused with one line naming it and
// what is wrong, and the result is false with `level` empty. Smaller faults (an unnamed
// layer, an event without trigger, surplus tiles, layers beyond what a level file can
// hold) are reported one line each and skipped; the rest of the file is kept. An event
// outside the map keeps its record, with one line, but sets no cell and spawns nothing.
bool ReadLevelFile(const std::string& fileName, LevelContent& level);
// The same on text already in memory; fileName only names the source in messages.
bool ParseLevelFile(const char* text, size_t size, const std::string& fileName,
                    LevelContent& level);

// Whether an event record lies on a width x height map (record.y counts rows from 1).
bool EventOnMap(const EventRecord& record, int width, int height);

// File name of the tileset Tiled shows the cells with; level files refer to it beside them.
extern const char* const kTiledTilesetFile;

// The line the last refused or faulty level file was reported with, without the file name.
const std::string& LevelFileLastReport();

// The level file text for `level`, which Tiled also opens: the map refers to the tileset
// file beside it, and a layer named "EVENTS" is written both as a csv layer and as the
// event list the game reads.
std::string FormatLevelFile(const LevelContent& level);
// Writes the level file through a temporary file beside it, synced and then renamed
// over fileName. False, with one line naming the file, when any step fails; the
// previous file is then untouched.
bool WriteLevelFile(const std::string& fileName, const LevelContent& level);
