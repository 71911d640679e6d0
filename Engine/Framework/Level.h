#pragma once

#include <map>
#include <string>

#include "Vorn.h"

class Camera;
class Grid2D;

// A screen of the game. The level manager calls Load when it becomes current, Update and
// Draw once per frame while it is, and Unload when it stops being current. A level lives
// from start-up to shutdown; only its contents come and go.
class Level
{
public:
  Level();
  virtual ~Level();

  Level(const Level&) = delete;
  Level& operator=(const Level&) = delete;

  virtual void Load() = 0;
  virtual void Unload() = 0;
  virtual void Update(const float& dt) = 0;
  virtual void Draw() = 0;

  // Replaces the tile grid with one read from a level file.
  void LoadTilemap(std::string file);
  // Replaces the tile grid with an empty one of sizeInTiles cells of tileSize units.
  void CreateTilemap(const VNVec2& sizeInTiles, float tileSize);
  // Fills tileTextures from the asset manifest; nothing without a tile grid.
  void LoadAssets(std::string manifestFile);
  // Draws every tile layer but the one named "EVENTS".
  virtual void DrawTilemap();

  std::string name;
  std::string fileName;
  bool active = false;
  Grid2D* tilemap = nullptr;
  Camera* camera = nullptr;
  // Each texture here holds one reference in the texture cache.
  std::map<int, VNGfxTexture*> tileTextures;
};
