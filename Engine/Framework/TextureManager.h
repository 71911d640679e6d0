#pragma once

#include <stdint.h>

#include <map>
#include <string>

#include "Vorn.h"

struct TextureEntry
{
  VNGfxTexture* texture = nullptr;
  int32_t refCount = 0;
};

// Textures shared by file name. Each holder of a texture owns one reference. A texture
// nobody holds stays cached, so that switching levels does not decode the same images
// again; every texture is deleted at shutdown (Destroy).
class TextureManager
{
public:
  static TextureManager* Instance();
  static void Destroy();

  // Makes sure the cache holds file, without adding a reference. Always true.
  bool Load(std::string file);
  // Loads file if needed and takes one reference on it. Null when the image cannot be loaded.
  VNGfxTexture* Acquire(const std::string& file);
  // Gives back one reference to texture, which stays cached. False for a texture the
  // cache does not hold.
  bool Release(VNGfxTexture* texture);
  // Frees the texture cached under file now, for a picture not needed again; one still
  // referenced stays. False when the cache does not hold it unreferenced.
  bool Unload(const std::string& file);
  // The entry cached under file, or null.
  TextureEntry* Find(const std::string& file);

  std::map<std::string, TextureEntry*> textures;

private:
  TextureManager() = default;
  ~TextureManager();

  static TextureManager* instance;
};
