#pragma once

#include <stddef.h>

#include <map>
#include <string>
#include <vector>

#include "Vorn.h"

class Grid2D;

// The asset manifest ("Assets/Assets.tsm"): top-level `tileset`, `items` and `events`
// elements whose `tile`, `item` and `event` children give an image ("source") to each
// tile id, and a tileset's "floor": the highest walkable floor id but one.

struct ManifestEntry
{
  int id = 0;
  std::string source;
};

struct AssetManifest
{
  // Tilesets first, then items, then events, each in document order.
  std::vector<ManifestEntry> entries;
  // Set by a tileset: its floor + 1, the last tileset winning.
  bool hasWalkableLimit = false;
  int walkableLimit = 0;
};

// Largest manifest read, in bytes.
enum
{
  kManifestMaxFileBytes = 4 * 1024 * 1024
};

// Reads a manifest. An unreadable or malformed file prints its reason and then
// "Failed to load Tilemap" joined to the file name, and gives false. Entries without
// "source" are skipped with a line each.
bool ReadAssetManifest(const std::string& fileName, AssetManifest& manifest);
// The same on text already in memory; fileName only names the source in messages.
bool ParseAssetManifest(const char* text, size_t size, const std::string& fileName,
                        AssetManifest& manifest);

// Loads the image of every id not yet in tileTextures through the texture cache, taking
// one reference per id (an id keeps its first texture), hands the grid a copy and sets
// its walkableLimit. A manifest that cannot be read changes nothing.
void LoadAssetManifest(const std::string& fileName, Grid2D& grid,
                       std::map<int, VNGfxTexture*>& tileTextures);
