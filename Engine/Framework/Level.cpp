#include "Framework/Level.h"

#include <stdio.h>

#include "Framework/Camera.h"
#include "Framework/TextureManager.h"
#include "World/AssetManifest.h"
#include "World/Grid2D.h"

Level::Level() : camera(Camera::Instance()) {}

// Levels are deleted at shutdown without being unloaded.
Level::~Level()
{
  printf("BaseLevel destroy\n");
  for (auto& [id, texture] : tileTextures)
    TextureManager::Instance()->Release(texture);
  tileTextures.clear();
  delete tilemap;
  tilemap = nullptr;
  camera = nullptr;
}

void Level::LoadTilemap(std::string file)
{
  delete tilemap;
  camera = Camera::Instance();
  tilemap = new Grid2D(file);
  active = true;
}

void Level::CreateTilemap(const VNVec2& sizeInTiles, float tileSize)
{
  delete tilemap;
  camera = Camera::Instance();
  tilemap = new Grid2D(static_cast<int>(sizeInTiles.x), static_cast<int>(sizeInTiles.y));
  tilemap->ResizeTile(tileSize, tileSize);
  active = true;
}

void Level::LoadAssets(std::string manifestFile)
{
  if (!tilemap)
    return;
  LoadAssetManifest(manifestFile, *tilemap, tileTextures);
}

void Level::DrawTilemap()
{
  if (!tilemap)
    return;
  const int layerCount = static_cast<int>(tilemap->layerNames.size());
  for (int i = 0; i < layerCount; ++i)
  {
    if (tilemap->GetLayerName(i) != "EVENTS")
      tilemap->DrawLayer(i);
  }
}
