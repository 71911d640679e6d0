/*
 * AssetManifest: reading the manifest that gives each tile, item and event id its image
 * and sets the walkable floor limit. Tiles and items offset their ids by the group's
 * "firstgid" when it is 0 or more; events always do, a missing firstgid counting as -1.
 */
#include "World/AssetManifest.h"

#include <limits.h>
#include <stdio.h>
#include <string.h>

#include <tinyxml2.h>

#include "World/TextFile.h"
#include "World/XmlAttribute.h"

using tinyxml2::XMLDocument;
using tinyxml2::XMLElement;

namespace
{

void Refuse(const std::string& fileName)
{
  printf("Failed to load Tilemap%s\n", fileName.c_str());
  fflush(stdout);
}

// Appends the entries of one group. offsetAlways: add firstgid even when it is negative.
void ReadGroup(const XMLElement* group, const char* entryName, bool offsetAlways,
               const std::string& fileName, AssetManifest& manifest)
{
  int firstGid = IntAttribute(group, "firstgid", -1);
  for (const XMLElement* entry = group->FirstChildElement(entryName); entry;
       entry = entry->NextSiblingElement(entryName))
  {
    const char* source = entry->Attribute("source");
    if (!source)
    {
      printf("Asset manifest %s: <%s> on line %d has no \"source\"; skipped\n", fileName.c_str(),
             entryName, entry->GetLineNum());
      fflush(stdout);
      continue;
    }
    long long id = IntAttribute(entry, "id", -1);
    if (offsetAlways || firstGid >= 0)
      id += firstGid;
    if (id < INT_MIN || id > INT_MAX)
    {
      printf("Asset manifest %s: <%s> on line %d has an id out of range; skipped\n",
             fileName.c_str(), entryName, entry->GetLineNum());
      fflush(stdout);
      continue;
    }
    // The entry stays, so its id still shows untextured, as for a missing image.
    if (strlen(source) >= sizeof(VNGfxTexture::path))
    {
      printf("Asset manifest %s: <%s> on line %d has a \"source\" longer than %zu bytes; "
             "it gets no image\n",
             fileName.c_str(), entryName, entry->GetLineNum(), sizeof(VNGfxTexture::path) - 1);
      fflush(stdout);
    }
    ManifestEntry read;
    read.id = static_cast<int>(id);
    read.source = source;
    manifest.entries.push_back(read);
  }
}

} // namespace

bool ParseAssetManifest(const char* text, size_t size, const std::string& fileName,
                        AssetManifest& manifest)
{
  manifest = AssetManifest();
  XMLDocument document(true);
  if (!text || document.Parse(text, size) != tinyxml2::XML_SUCCESS)
  {
    document.PrintError();
    Refuse(fileName);
    return false;
  }

  for (const XMLElement* tileset = document.FirstChildElement("tileset"); tileset;
       tileset = tileset->NextSiblingElement("tileset"))
  {
    int floor = IntAttribute(tileset, "floor", 0);
    manifest.hasWalkableLimit = true;
    manifest.walkableLimit = floor < INT_MAX ? floor + 1 : INT_MAX;
    ReadGroup(tileset, "tile", false, fileName, manifest);
  }
  for (const XMLElement* items = document.FirstChildElement("items"); items;
       items = items->NextSiblingElement("items"))
    ReadGroup(items, "item", false, fileName, manifest);
  for (const XMLElement* events = document.FirstChildElement("events"); events;
       events = events->NextSiblingElement("events"))
    ReadGroup(events, "event", true, fileName, manifest);
  return true;
}

bool ReadAssetManifest(const std::string& fileName, AssetManifest& manifest)
{
  manifest = AssetManifest();
  std::string text;
  std::string error;
  if (!ReadTextFile(fileName, kManifestMaxFileBytes, text, error))
  {
    printf("Asset manifest %s cannot be read (%s)\n", fileName.c_str(), error.c_str());
    Refuse(fileName);
    return false;
  }
  return ParseAssetManifest(text.data(), text.size(), fileName, manifest);
}
