#include "Framework/TextureManager.h"

TextureManager* TextureManager::instance = nullptr;

TextureManager* TextureManager::Instance()
{
  if (!instance)
    instance = new TextureManager();
  return instance;
}

void TextureManager::Destroy()
{
  delete instance;
  instance = nullptr;
}

TextureManager::~TextureManager()
{
  for (auto& [file, entry] : textures)
  {
    VNGfxTextureUnload(entry->texture);
    delete entry;
  }
  textures.clear();
}

bool TextureManager::Load(std::string file)
{
  if (textures.find(file) == textures.end())
  {
    TextureEntry* entry = new TextureEntry();
    entry->texture = VNGfxTextureLoad(file.c_str());
    textures[file] = entry;
  }
  return true;
}

VNGfxTexture* TextureManager::Acquire(const std::string& file)
{
  Load(file);
  TextureEntry* entry = textures[file];
  ++entry->refCount;
  return entry->texture;
}

bool TextureManager::Release(VNGfxTexture* texture)
{
  if (!texture)
    return false;
  for (auto& [file, entry] : textures)
  {
    if (entry->texture != texture)
      continue;
    if (entry->refCount > 0)
      --entry->refCount;
    return true;
  }
  return false;
}

TextureEntry* TextureManager::Find(const std::string& file)
{
  auto it = textures.find(file);
  return it == textures.end() ? nullptr : it->second;
}

bool TextureManager::Unload(const std::string& file)
{
  auto found = textures.find(file);
  if (found == textures.end() || found->second->refCount > 0)
    return false;
  VNGfxTextureUnload(found->second->texture);
  delete found->second;
  textures.erase(found);
  VNSysReturnFreedMemory();
  return true;
}
