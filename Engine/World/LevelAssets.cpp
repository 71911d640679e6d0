/*
 * LevelAssets: gives a level the images of the asset manifest. Each id of the level's
 * tileTextures holds one reference in the texture cache, taken when the id first comes
 * in and given back when the level is destroyed, however often the level is entered.
 */
#include "Framework/TextureManager.h"
#include "World/AssetManifest.h"
#include "World/Grid2D.h"

void LoadAssetManifest(const std::string& fileName, Grid2D& grid,
                       std::map<int, VNGfxTexture*>& tileTextures)
{
  AssetManifest manifest;
  if (!ReadAssetManifest(fileName, manifest))
    return;
  if (manifest.hasWalkableLimit)
    grid.walkableLimit = manifest.walkableLimit;

  TextureManager* cache = TextureManager::Instance();
  for (const ManifestEntry& entry : manifest.entries)
  {
    // An id keeps the first texture stored for it, from this or an earlier entry.
    if (tileTextures.count(entry.id) == 0)
      tileTextures[entry.id] = cache->Acquire(entry.source);
  }
  grid.SetTextures(tileTextures);
}
