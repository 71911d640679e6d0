// The shipped content against what the game asks of it: every image and sound the code or
// the manifest names exists and decodes, music loops seamlessly, and every level file
// loads quietly with what a floor needs on walkable cells.
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CapturedOutput.h"
#include "PlayTestSupport.h"
#include "World/AssetManifest.h"

namespace
{
namespace fs = std::filesystem;

const char* const kLevelFiles[] = {"TutorialLevel.tmx", "Level1.tmx", "Level2.tmx",
                                   "Level3.tmx",        "Level4.tmx", "Level5.tmx"};
const char* const kMusic[] = {"Assets/Sound/MainMenu.ogg",  "Assets/Sound/TutorialBGM.ogg",
                              "Assets/Sound/Level1BGM.ogg", "Assets/Sound/Level2BGM.ogg",
                              "Assets/Sound/Level3BGM.ogg", "Assets/Sound/Level4BGM.ogg",
                              "Assets/Sound/Level5BGM.ogg"};

// Every file the game loads: the asset paths written as string literals in the game's
// and the engine's sources (found through the build folder's cache, where the tests
// run), the music, whose names levels build from parts, and the manifest's images.
std::set<std::string> NamedFiles()
{
  std::set<std::string> files(std::begin(kMusic), std::end(kMusic));
  std::string root;
  std::ifstream cache("CMakeCache.txt");
  for (std::string line; std::getline(cache, line);)
    if (line.rfind("CMAKE_HOME_DIRECTORY:INTERNAL=", 0) == 0)
      root = line.substr(line.find('=') + 1);
  EXPECT_FALSE(root.empty()) << "no source folder in CMakeCache.txt";
  const std::regex literal("\"(Assets/[A-Za-z0-9_/.-]+\\.(png|ogg|wav|ico|tsm))\"");
  for (const char* folder : {"Engine", "src"})
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(root) / folder))
    {
      if (!entry.is_regular_file())
        continue;
      const std::string source = ReadText(entry.path().string());
      for (std::sregex_iterator it(source.begin(), source.end(), literal), end; it != end; ++it)
        files.insert((*it)[1]);
    }
  AssetManifest manifest;
  EXPECT_TRUE(ReadAssetManifest("Assets/Assets.tsm", manifest));
  for (const ManifestEntry& entry : manifest.entries)
    files.insert(entry.source);
  EXPECT_GT(files.size(), std::size(kMusic) + manifest.entries.size() / 2);
  return files;
}

TEST(Content, EveryNamedFileExistsAndDecodes)
{
  EnsureTestWindow();
  ASSERT_TRUE(VNAudioInit(2) || VNAudioIsOpen());
  for (const std::string& file : NamedFiles())
  {
    ASSERT_TRUE(fs::is_regular_file(file)) << file << " is named but missing";
    const std::string ext = fs::path(file).extension().string();
    // Music is decoded by the loop test below.
    if ((ext == ".ogg" || ext == ".wav") && !std::count(std::begin(kMusic), std::end(kMusic), file))
    {
      VNAudioSound* sound = VNAudioSoundOpen(file.c_str());
      EXPECT_NE(nullptr, sound) << file;
      VNAudioSoundRelease(sound);
    }
    // The loader draws a stand-in checker, and says so, for an image it cannot decode.
    if (ext == ".png")
    {
      EXPECT_EQ("", StdoutOf([&] { VNGfxTextureUnload(VNGfxTextureLoad(file.c_str())); }));
    }
  }
}

TEST(Content, MusicLoopsAreLongDistinctAndSeamless)
{
  ASSERT_TRUE(VNAudioInit(2) || VNAudioIsOpen());
  int frequency = 0, channels = 0;
  Uint16 format = 0;
  ASSERT_TRUE(Mix_QuerySpec(&frequency, &format, &channels));
  ASSERT_TRUE(format == AUDIO_S16SYS || format == AUDIO_F32SYS) << format;
  const size_t bytesPerFrame = (format == AUDIO_S16SYS ? 2 : 4) * size_t(channels);
  std::set<std::vector<uint8_t>> seen;
  for (const char* file : kMusic)
  {
    Mix_Chunk* chunk = Mix_LoadWAV(file);
    ASSERT_NE(nullptr, chunk) << file << ": " << Mix_GetError();
    const size_t frames = chunk->alen / bytesPerFrame;
    EXPECT_GE(double(frames) / frequency, 30.0) << file;
    // The first channel; looping joins its last sample to its first, a step that must
    // look like any other step of the music, not like a cut.
    auto sample = [&](size_t i)
    {
      const uint8_t* at = chunk->abuf + i * bytesPerFrame;
      return format == AUDIO_S16SYS ? *reinterpret_cast<const int16_t*>(at) / 32768.0f
                                    : *reinterpret_cast<const float*>(at);
    };
    std::vector<float> steps(frames - 1);
    for (size_t i = 1; i < frames; ++i)
      steps[i - 1] = std::fabs(sample(i) - sample(i - 1));
    std::nth_element(steps.begin(), steps.begin() + long(steps.size() * 99 / 100), steps.end());
    EXPECT_LE(std::fabs(sample(0) - sample(frames - 1)), steps[steps.size() * 99 / 100])
        << file << " clicks where it loops";
    EXPECT_TRUE(
        seen.insert({chunk->abuf, chunk->abuf + std::min<Uint32>(chunk->alen, 1 << 20)}).second)
        << file << " sounds the same as another track";
    Mix_FreeChunk(chunk);
  }
}

// A level with nothing of its own: only its grid and tile textures.
class FileLevel : public Level
{
public:
  void Load() override {}
  void Unload() override {}
  void Update(const float&) override {}
  void Draw() override {}
};

TEST(Content, EveryLevelLoadsQuietlyWithAStartExitsAndActorsOnFreeFloor)
{
  EnsureTestWindow();
  ScratchFolder folder;
  for (const char* file : kLevelFiles)
  {
    SCOPED_TRACE(file);
    FileLevel level;
    EXPECT_EQ("", StdoutOf(
                      [&]
                      {
                        level.LoadTilemap(file);
                        level.LoadAssets("Assets/Assets.tsm");
                      }));
    const Grid2D& grid = *level.tilemap;
    ASSERT_GE(grid.layerNames.size(), 3u);
    std::map<std::string, int> counts;
    for (const EventRecord* e : grid.events)
    {
      ++counts[e->trigger];
      EXPECT_TRUE(grid.IsWalkable(int(e->x), grid.height - int(e->y)))
          << e->trigger << " at " << e->x << ", " << e->y << " is not on free floor";
    }
    EXPECT_EQ(1, counts["SPAWN"]);
    EXPECT_GE(counts["EXIT"], 1);
    EXPECT_EQ(grid.events.size(),
              size_t(counts["SPAWN"] + counts["EXIT"] + counts["ENEMY"] + counts["KEY"]))
        << "a trigger the game does not know";
    // Every tile painted on the floor and object layers has an image.
    for (int layer = 0; layer < 2; ++layer)
      for (int id : grid.layers.at(grid.layerNames[size_t(layer)]))
        EXPECT_TRUE(id <= 0 || level.tileTextures.count(id)) << "tile " << id << " has no image";

    // Saved again, the level reads back the same.
    ASSERT_TRUE(grid.SaveTMX(folder.File(file)));
    Grid2D again(folder.File(file));
    EXPECT_EQ(grid.layers, again.layers);
    EXPECT_EQ(grid.events.size(), again.events.size());
  }
}

} // namespace
