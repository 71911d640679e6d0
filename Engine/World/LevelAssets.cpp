/*
 * LevelAssets: gives a level the images of the asset manifest. Every manifest entry
 * takes one reference in the texture cache, which the level gives back per map entry
 * when it is destroyed.
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
    // An id keeps the first texture stored for it; later entries still take a reference.
    VNGfxTexture* texture = cache->Acquire(entry.source);
    tileTextures.insert({entry.id, texture});
  }
  grid.SetTextures(tileTextures);
}
