/*
 * TiledTileset: writes the image-collection tileset that level files refer to, so that
 * Tiled opens them with the right images.
 */
#include "World/TiledTileset.h"

#include <stdio.h>

#include <filesystem>
#include <set>

#include <tinyxml2.h>

#include "World/AssetManifest.h"
#include "World/LevelFile.h"
#include "World/TextFile.h"

namespace fs = std::filesystem;

namespace
{
// The cell size the game draws tiles at.
const int kTileSize = 50;

std::string ImagePath(const std::string& source, const fs::path& folder)
{
  std::error_code error;
  const fs::path image = fs::absolute(source, error);
  if (error)
    return source;
  const fs::path relative = fs::relative(image, folder, error);
  return error || relative.empty() ? image.generic_string() : relative.generic_string();
}
} // namespace

std::string FormatTiledTileset(const AssetManifest& manifest, const std::string& folder)
{
  std::error_code error;
  const fs::path base = fs::absolute(folder.empty() ? "." : folder, error);

  tinyxml2::XMLDocument document;
  document.InsertFirstChild(document.NewDeclaration());
  tinyxml2::XMLElement* tileset = document.NewElement("tileset");
  tileset->SetAttribute("version", "1.10");
  tileset->SetAttribute("name", "kestrin");
  tileset->SetAttribute("tilewidth", kTileSize);
  tileset->SetAttribute("tileheight", kTileSize);
  tileset->SetAttribute("columns", 0);
  document.InsertEndChild(tileset);
  tinyxml2::XMLElement* grid = tileset->InsertNewChildElement("grid");
  grid->SetAttribute("orientation", "orthogonal");
  grid->SetAttribute("width", 1);
  grid->SetAttribute("height", 1);

  // An id keeps its first image, as the game does.
  std::set<int> written;
  for (const ManifestEntry& entry : manifest.entries)
  {
    if (entry.id < 1 || !written.insert(entry.id).second)
      continue;
    tinyxml2::XMLElement* tile = tileset->InsertNewChildElement("tile");
    tile->SetAttribute("id", entry.id - 1);
    tinyxml2::XMLElement* image = tile->InsertNewChildElement("image");
    image->SetAttribute("source", ImagePath(entry.source, base).c_str());
  }
  tileset->SetAttribute("tilecount", static_cast<int>(written.size()));

  tinyxml2::XMLPrinter printer;
  document.Print(&printer);
  return std::string(printer.CStr(), static_cast<size_t>(printer.CStrSize() - 1));
}

bool WriteTiledTilesetBeside(const std::string& levelFile, const std::string& manifestFile)
{
  AssetManifest manifest;
  if (!ReadAssetManifest(manifestFile, manifest))
    return false;
  const fs::path folder = fs::path(levelFile).parent_path();
  const std::string file = (folder / kTiledTilesetFile).string();
  std::string error;
  if (ReplaceTextFile(file, FormatTiledTileset(manifest, folder.string()), error))
    return true;
  printf("Tileset %s not written: %s\n", file.c_str(), error.c_str());
  fflush(stdout);
  return false;
}
