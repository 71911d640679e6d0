// Level files and Tiled: what our writer saves opens in Tiled with the game's images, and
// maps Tiled saves (csv layers, no event list) load in the game and the editor.

#include <filesystem>
#include <set>

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include "EditorTestSupport.h"
#include "World/LevelFile.h"

namespace
{
// A map as Tiled saves it: csv layers and no event list; 2147483652 is gid 4 flipped.
const char kTiledMap[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<map version="1.10" tiledversion="1.10.2" orientation="orthogonal" renderorder="right-down" width="4" height="3" tilewidth="50" tileheight="50" infinite="0" nextlayerid="4" nextobjectid="1">
 <tileset firstgid="1" source="kestrin-tiles.tsx"/>
 <layer id="1" name="BACKGROUND" width="4" height="3"><data encoding="csv">
5,5,5,5,
1,2,3,2147483652,
1,1,1,1
</data></layer>
 <layer id="3" name="EVENTS" width="4" height="3"><data encoding="csv">
0,0,0,0,
101,0,103,102,
50,0,0,0
</data></layer>
</map>)";

std::string TiledMapWith(const std::string& data)
{
  std::string map = kTiledMap;
  const size_t at = map.find("<data encoding=\"csv\">");
  return map.replace(at, map.find("</data>") - at, data);
}
} // namespace

TEST(TiledFile, SavedLevelsReferToATilesetOfTheManifestImagesBesideThem)
{
  Editor* editor = EnterNewEditor();
  editor->tilemap->ResizeTile(70.0f, 70.0f);
  ScratchFolder elsewhere;
  VNSysFileDialogQueueAnswer(elsewhere.File("level.tmx").c_str());
  StdoutOf([&] { editor->SaveLevel(); });

  tinyxml2::XMLDocument level;
  ASSERT_EQ(tinyxml2::XML_SUCCESS, level.LoadFile(elsewhere.File("level.tmx").c_str()));
  const tinyxml2::XMLElement* map = level.FirstChildElement("map");
  EXPECT_STREQ("orthogonal", map->Attribute("orientation"));
  EXPECT_STREQ("50", map->Attribute("tilewidth")) << "the logical size, whatever the zoom";
  EXPECT_EQ(1, map->FirstChildElement("tileset")->IntAttribute("firstgid"));
  int layers = 0;
  for (auto* layer = map->FirstChildElement("layer"); layer; layer = layer->NextSiblingElement())
    layers += layer->IntAttribute("width") == 50 && layer->IntAttribute("height") == 50;
  EXPECT_EQ(3, layers);

  const std::string tilesetFile = map->FirstChildElement("tileset")->Attribute("source");
  tinyxml2::XMLDocument tileset;
  ASSERT_EQ(tinyxml2::XML_SUCCESS, tileset.LoadFile(elsewhere.File(tilesetFile).c_str()));
  std::set<int> gids;
  for (auto* tile = tileset.FirstChildElement("tileset")->FirstChildElement("tile"); tile;
       tile = tile->NextSiblingElement("tile"))
  {
    gids.insert(tile->IntAttribute("id") + 1);
    const char* image = tile->FirstChildElement("image")->Attribute("source");
    EXPECT_TRUE(std::filesystem::exists(elsewhere.File(image))) << image;
  }
  EXPECT_EQ(std::set<int>(ManifestIds().begin(), ManifestIds().end()), gids);
}

TEST(TiledFile, TiledCsvMapsLoadWithTheirEventsAndReadBackFromOurWriter)
{
  LevelContent tiled;
  ASSERT_TRUE(ParseLevelFile(kTiledMap, sizeof(kTiledMap) - 1, "tiled.tmx", tiled));
  EXPECT_EQ((std::vector<int>{5, 5, 5, 5, 1, 2, 3, 4, 1, 1, 1, 1}), tiled.layers["BACKGROUND"]);
  // The events of the event layer, in cell order, as the event list would give them.
  const std::vector<std::tuple<std::string, float, float>> expected = {
      {"SPAWN", 0.0f, 2.0f}, {"ENEMY", 2.0f, 2.0f}, {"EXIT", 3.0f, 2.0f}, {"KEY", 0.0f, 1.0f}};
  for (const std::string& text : {std::string(kTiledMap), FormatLevelFile(tiled)})
  {
    LevelContent level;
    ASSERT_TRUE(ParseLevelFile(text.data(), text.size(), "again.tmx", level)) << text;
    EXPECT_EQ(tiled.layers, level.layers);
    std::vector<std::tuple<std::string, float, float>> events;
    for (const EventRecord& event : level.events)
      events.emplace_back(event.trigger, event.x, event.y);
    EXPECT_EQ(expected, events) << text;
  }
}

TEST(TiledFile, EncodingsWeDoNotReadRefuseTheFileSayingWhy)
{
  const std::pair<std::string, std::string> cases[] = {
      {"<data encoding=\"base64\" compression=\"zlib\">eJxjYGBgAAAABAAB", "base64 with zlib"},
      {"<data encoding=\"base64\">AQAAAA==", "base64, which"},
      {"<data encoding=\"csv\" compression=\"gzip\">1", "csv with gzip"},
      {"<data encoding=\"csv\"><chunk x=\"0\" y=\"0\">1</chunk>", "chunks"},
      {"<data encoding=\"csv\">1,x,3", "value 2 is not a tile id"},
  };
  for (const auto& [data, why] : cases)
  {
    const std::string text = TiledMapWith(data);
    LevelContent level;
    const std::string output =
        StdoutOf([&] { EXPECT_FALSE(ParseLevelFile(text.data(), text.size(), "t.tmx", level)); });
    EXPECT_NE(std::string::npos, output.find("layer \"BACKGROUND\"")) << output;
    EXPECT_NE(std::string::npos, output.find(why)) << output;
  }

  Editor* editor = EnterNewEditor();
  const Grid2D* edited = editor->tilemap;
  WriteText("packed.tmx", TiledMapWith(cases[0].first));
  StdoutOf([&] { editor->LoadLevel("packed.tmx"); });
  EXPECT_EQ(edited, editor->tilemap);
  EXPECT_NE(std::string::npos, editor->message.find("base64 with zlib")) << editor->message;
}
