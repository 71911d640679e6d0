// The asset manifest: which id each entry gets, the floor limit, references taken in the
// texture cache, and manifests that cannot be read.
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "Framework/TextureManager.h"
#include "FrameworkTestSupport.h"
#include "TestWindow.h"
#include "World/AssetManifest.h"
#include "World/Grid2D.h"
#include "ScratchFolder.h"

namespace
{

AssetManifest Parse(const std::string& text)
{
  AssetManifest manifest;
  EXPECT_TRUE(ParseAssetManifest(text.data(), text.size(), "test.tsm", manifest)) << text;
  return manifest;
}

std::vector<std::pair<int, std::string>> Entries(const AssetManifest& manifest)
{
  std::vector<std::pair<int, std::string>> entries;
  for (const ManifestEntry& entry : manifest.entries)
    entries.push_back({entry.id, entry.source});
  return entries;
}

bool EndsWith(const std::string& text, const std::string& end)
{
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

} // namespace

TEST(AssetManifestRead, GivesEachEntryItsId)
{
  AssetManifest manifest = Parse(
      "<events><event id=\"51\" name=\"KEY\" source=\"key.png\"/><event source=\"e.png\"/></events>"
      "<events firstgid=\"0\"><event id=\"101\" source=\"spawn.png\"/></events>"
      "<items firstgid=\"8\"><item id=\"1\" source=\"desk.png\"/></items>"
      "<items><item id=\"30\" source=\"plant.png\"/></items>"
      "<tileset firstgid=\"1\" floor=\"2\"><tile id=\"0\" source=\"a.png\"/>"
      "<tile id=\"7\" source=\"b.png\"/><image source=\"ignored.png\"/></tileset>"
      "<tileset floor=\"5\"><tile id=\"0\" source=\"c.png\"/><tile id=\"7\" source=\"d.png\"/>"
      "<tile source=\"e.png\"/></tileset>"
      "<tileset firstgid=\"-4\"><tile id=\"3\" source=\"f.png\"/></tileset>"
      "<Tileset firstgid=\"1\"><tile id=\"0\" source=\"case.png\"/></Tileset>");
  std::vector<std::pair<int, std::string>> expected = {
      {1, "a.png"},    {8, "b.png"},  {0, "c.png"},      {7, "d.png"},
      {-1, "e.png"},   {3, "f.png"},  {9, "desk.png"},   {30, "plant.png"},
      {50, "key.png"}, {-2, "e.png"}, {101, "spawn.png"}};
  EXPECT_EQ(expected, Entries(manifest)) << "tilesets, then items, then events";
  EXPECT_TRUE(manifest.hasWalkableLimit);
  EXPECT_EQ(1, manifest.walkableLimit) << "the last tileset's floor (absent: 0) + 1 wins";

  manifest = Parse("<tileset floor=\"2\"/><tileset floor=\"5\"/>");
  EXPECT_EQ(6, manifest.walkableLimit);
  manifest = Parse("<items firstgid=\"9\"/>");
  EXPECT_FALSE(manifest.hasWalkableLimit);
}

TEST(AssetManifestRead, SkipsEntriesWithoutASourceOrAnId)
{
  AssetManifest manifest;
  const std::string output = StdoutOf(
      [&]
      {
        manifest =
            Parse("<tileset>\n<tile id=\"1\"/>\n<tile id=\"2\" source=\"b.png\"/></tileset>\n"
                  "<events firstgid=\"-2147483648\"><event id=\"-5\" source=\"x.png\"/></events>");
      });
  EXPECT_EQ((std::vector<std::pair<int, std::string>>{{2, "b.png"}}), Entries(manifest));
  EXPECT_NE(std::string::npos,
            output.find("Asset manifest test.tsm: <tile> on line 2 has no \"source\""))
      << output;
  EXPECT_NE(std::string::npos, output.find("<event> on line 4 has an id out of range")) << output;
}

TEST(AssetManifestRead, RefusesWhatIsNotAManifestWithTheFixedMessage)
{
  for (const std::string text : {"", "<tileset>", "not xml at all", "<a></b>"})
  {
    AssetManifest manifest;
    manifest.walkableLimit = 9;
    const std::string output = StdoutOf(
        [&] {
          EXPECT_FALSE(ParseAssetManifest(text.data(), text.size(), "Assets/Assets.tsm", manifest));
        });
    EXPECT_TRUE(EndsWith(output, "\nFailed to load TilemapAssets/Assets.tsm\n")) << output;
    EXPECT_TRUE(manifest.entries.empty());
  }

  ScratchFolder folder;
  AssetManifest manifest;
  const std::string huge = folder.File("huge.tsm");
  WriteText(huge, "<tileset/>");
  std::filesystem::resize_file(huge, kManifestMaxFileBytes + 1);
  const std::string output = StdoutOf(
      [&]
      {
        EXPECT_FALSE(ReadAssetManifest(folder.File("absent.tsm"), manifest));
        EXPECT_FALSE(ReadAssetManifest(huge, manifest));
      });
  EXPECT_NE(std::string::npos, output.find("absent.tsm cannot be read (No such file")) << output;
  EXPECT_NE(std::string::npos,
            output.find("Failed to load Tilemap" + folder.File("absent.tsm") + "\n"))
      << output;
  EXPECT_TRUE(EndsWith(output, "Failed to load Tilemap" + huge + "\n")) << output;
}

class AssetManifestLoad : public testing::Test
{
protected:
  void SetUp() override
  {
    EnsureTestWindow();
    grid = std::make_unique<Grid2D>(4, 4);
    manifest = folder.File("Assets.tsm");
    WriteText(manifest, "<tileset firstgid=\"1\" floor=\"3\">"
                        "<tile id=\"0\" source=\"" +
                            Image("floor") +
                            "\"/>"
                            "<tile id=\"0\" source=\"" +
                            Image("other") +
                            "\"/>"
                            "<tile id=\"1\" source=\"" +
                            Image("floor") +
                            "\"/></tileset>"
                            "<events><event id=\"103\" source=\"" +
                            Image("worker") + "\"/></events>");
  }
  void TearDown() override { TextureManager::Destroy(); }

  // Image paths need not exist: the cache holds a stand-in texture for each.
  std::string Image(const std::string& name) { return folder.File(name + ".png"); }
  int References(const std::string& name)
  {
    TextureEntry* entry = TextureManager::Instance()->Find(Image(name));
    return entry ? entry->refCount : -1;
  }

  ScratchFolder folder;
  std::string manifest;
  std::unique_ptr<Grid2D> grid;
  std::map<int, VNGfxTexture*> tileTextures;
};

TEST_F(AssetManifestLoad, FillsTheTexturesTakingAReferencePerId)
{
  VNGfxTexture earlier = {};
  tileTextures[7] = &earlier;
  LoadAssetManifest(manifest, *grid, tileTextures);

  TextureManager* cache = TextureManager::Instance();
  ASSERT_NE(nullptr, cache->Find(Image("floor")));
  VNGfxTexture* floor = cache->Find(Image("floor"))->texture;
  EXPECT_EQ(floor, tileTextures[1]) << "an id keeps its first texture";
  EXPECT_EQ(floor, tileTextures[2]);
  EXPECT_EQ(cache->Find(Image("worker"))->texture, tileTextures[102]);
  EXPECT_EQ(&earlier, tileTextures[7]) << "textures from earlier calls stay";
  EXPECT_EQ(4u, tileTextures.size());
  EXPECT_EQ(2, References("floor"));
  EXPECT_EQ(-1, References("other")) << "a repeated id takes no reference";
  EXPECT_EQ(1, References("worker"));
  EXPECT_EQ(tileTextures, grid->textures);
  EXPECT_EQ(4, grid->walkableLimit);

  LoadAssetManifest(manifest, *grid, tileTextures);
  EXPECT_EQ(4u, tileTextures.size());
  EXPECT_EQ(2, References("floor")) << "ids already held take no more references";
}

TEST_F(AssetManifestLoad, AManifestThatCannotBeReadChangesNothing)
{
  LoadAssetManifest(manifest, *grid, tileTextures);
  std::map<int, VNGfxTexture*> before = tileTextures;
  WriteText(manifest, "<tileset floor=\"9\">");
  const std::string output = StdoutOf(
      [&]
      {
        LoadAssetManifest(manifest, *grid, tileTextures);
        LoadAssetManifest(folder.File("absent.tsm"), *grid, tileTextures);
      });
  EXPECT_NE(std::string::npos, output.find("Failed to load Tilemap" + manifest + "\n")) << output;
  EXPECT_TRUE(EndsWith(output, "Failed to load Tilemap" + folder.File("absent.tsm") + "\n"))
      << output;
  EXPECT_EQ(before, tileTextures);
  EXPECT_EQ(before, grid->textures);
  EXPECT_EQ(4, grid->walkableLimit);
  EXPECT_EQ(2, References("floor"));
}

TEST_F(AssetManifestLoad, ALevelLoadsItsAssetsOnlyWithATilemap)
{
  std::vector<std::string> log;
  RecordingLevel level("L", log);
  level.LoadAssets(manifest);
  EXPECT_TRUE(level.tileTextures.empty());
  level.CreateTilemap(VNVec2{5.0f, 5.0f}, 50.0f);
  level.LoadAssets(manifest);
  EXPECT_EQ(3u, level.tileTextures.size());
  EXPECT_EQ(level.tileTextures, level.tilemap->textures);
  EXPECT_EQ(4, level.tilemap->walkableLimit);
}
