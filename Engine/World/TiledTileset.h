#pragma once

#include <string>

struct AssetManifest;

// The tileset that lets Tiled show a level file's cells with the game's images: an
// image-collection tileset with one tile per manifest entry. A level file refers to it
// with firstgid 1 and its tiles count from 0 (as the manifest's own tileset does), so a
// cell's gid is its manifest id. Ids below 1 have no place in it (gid 0 is an empty cell).

// The tileset text, with image paths relative to the folder the tileset is written in
// (absolute ones where no relative path exists). Image paths of the manifest are taken
// from the current folder.
std::string FormatTiledTileset(const AssetManifest& manifest, const std::string& folder);
// Writes the tileset for the manifest beside a level file, as kTiledTilesetFile. False, with one line, when
// the manifest cannot be read or the tileset not written.
bool WriteTiledTilesetBeside(const std::string& levelFile, const std::string& manifestFile);
