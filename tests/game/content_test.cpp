// The shipped content against what the game asks of it: every image and sound the code or
// the manifest names exists and decodes through the engine, sheets have the frame layout
// the actors draw, music loops are long and seamless, and every level file loads quietly
// with a start, exits and co-workers placed where the tutorial's hints say.
#include <GL/gl.h>
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "Actors/Enemy.h"
#include "CapturedOutput.h"
#include "Framework/Level.h"
#include "ScratchFolder.h"
#include "TestWindow.h"
#include "Vorn.h"
#include "World/AssetManifest.h"
#include "World/EventRecord.h"
#include "World/Grid2D.h"

namespace
{
namespace fs = std::filesystem;

const char* const kLevelFiles[] = {"TutorialLevel.tmx", "Level1.tmx", "Level2.tmx",
                                   "Level3.tmx",        "Level4.tmx", "Level5.tmx"};
const char* const kMusic[] = {"Assets/Sound/MainMenu.ogg",  "Assets/Sound/TutorialBGM.ogg",
                              "Assets/Sound/Level1BGM.ogg", "Assets/Sound/Level2BGM.ogg",
                              "Assets/Sound/Level3BGM.ogg", "Assets/Sound/Level4BGM.ogg",
                              "Assets/Sound/Level5BGM.ogg"};

// The repository, found from this file's own path (tests/game/content_test.cpp).
fs::path SourceRoot()
{
  return fs::path(__FILE__).parent_path().parent_path().parent_path();
}

// Every file the game loads: the asset paths written as string literals in the game's
// and the engine's sources, and the music, whose names levels may build from parts.
std::set<std::string> FilesNamedInCode()
{
  std::set<std::string> files(std::begin(kMusic), std::end(kMusic));
  const std::regex literal("\"(Assets/[A-Za-z0-9_/.-]+\\.(png|ogg|wav|ico|tsm))\"");
  size_t scanned = 0;
  for (const char* folder : {"Engine", "src"})
    for (const auto& entry : fs::recursive_directory_iterator(SourceRoot() / folder))
    {
      const std::string ext = entry.path().extension().string();
      if (ext != ".cpp" && ext != ".h")
        continue;
      const std::string source = ReadText(entry.path().string());
      for (std::sregex_iterator it(source.begin(), source.end(), literal), end; it != end; ++it)
      {
        files.insert((*it)[1]);
        ++scanned;
      }
    }
  EXPECT_GT(scanned, 0u) << "no asset names found in the sources under " << SourceRoot();
  return files;
}

// FilesNamedInCode and every image the level manifest lists.
std::set<std::string> AllNamedFiles()
{
  std::set<std::string> files = FilesNamedInCode();
  AssetManifest manifest;
  EXPECT_TRUE(ReadAssetManifest("Assets/Assets.tsm", manifest));
  for (const ManifestEntry& entry : manifest.entries)
    files.insert(entry.source);
  return files;
}

std::string Extension(const std::string& file)
{
  return fs::path(file).extension().string();
}

// Width and height from a PNG's header; false when the file is not a PNG.
bool PngSize(const std::string& path, int& width, int& height)
{
  std::ifstream in(path, std::ios::binary);
  unsigned char head[24] = {};
  if (!in.read(reinterpret_cast<char*>(head), sizeof head))
    return false;
  static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  if (!std::equal(signature, signature + 8, head))
    return false;
  width = (head[16] << 24) | (head[17] << 16) | (head[18] << 8) | head[19];
  height = (head[20] << 24) | (head[21] << 16) | (head[22] << 8) | head[23];
  return true;
}

// An image as 8-bit RGBA rows, through SDL2_image.
struct Pixels
{
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;
  uint8_t Alpha(int x, int y) const { return rgba[(size_t(y) * width + x) * 4 + 3]; }
};

Pixels ReadImage(const std::string& path)
{
  Pixels image;
  SDL_Surface* loaded = IMG_Load(path.c_str());
  if (!loaded)
    return image;
  SDL_Surface* rgba = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
  SDL_FreeSurface(loaded);
  if (!rgba)
    return image;
  image.width = rgba->w;
  image.height = rgba->h;
  image.rgba.resize(size_t(rgba->w) * rgba->h * 4);
  for (int y = 0; y < rgba->h; ++y)
    std::copy_n(static_cast<uint8_t*>(rgba->pixels) + size_t(y) * rgba->pitch, size_t(rgba->w) * 4,
                image.rgba.begin() + long(size_t(y) * rgba->w * 4));
  SDL_FreeSurface(rgba);
  return image;
}

// True when every frame of a one-column sheet has something drawn in it.
bool EveryFrameDrawn(const Pixels& sheet, int rows)
{
  const int frameHeight = sheet.height / rows;
  for (int row = 0; row < rows; ++row)
  {
    bool drawn = false;
    for (int y = row * frameHeight; y < (row + 1) * frameHeight && !drawn; ++y)
      for (int x = 0; x < sheet.width && !drawn; ++x)
        drawn = sheet.Alpha(x, y) > 128;
    if (!drawn)
      return false;
  }
  return true;
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

// Loads a level file and its manifest; `printed` receives what they wrote to the console.
std::unique_ptr<FileLevel> LoadLevelFile(const std::string& file, std::string& printed)
{
  auto level = std::make_unique<FileLevel>();
  printed = StdoutOf(
      [&]
      {
        level->LoadTilemap(file);
        level->LoadAssets("Assets/Assets.tsm");
      });
  return level;
}

std::vector<const EventRecord*> Events(const Grid2D& grid, const std::string& trigger)
{
  std::vector<const EventRecord*> found;
  for (const EventRecord* e : grid.events)
    if (e->trigger == trigger)
      found.push_back(e);
  return found;
}

VNVec2 World(const EventRecord* e)
{
  return {e->x * 50.0f, e->y * 50.0f};
}

float Distance(VNVec2 a, VNVec2 b)
{
  return std::hypot(a.x - b.x, a.y - b.y);
}

} // namespace

TEST(ContentFiles, EverythingTheCodeAndTheManifestNameExists)
{
  for (const std::string& file : AllNamedFiles())
    EXPECT_TRUE(fs::is_regular_file(file)) << file << " is named but missing from the game folder";
  for (const char* level : kLevelFiles)
    EXPECT_TRUE(fs::is_regular_file(level)) << level;
}

TEST(ContentFiles, ImagesDecodeThroughTheTextureLoader)
{
  EnsureTestWindow();
  for (const std::string& file : AllNamedFiles())
  {
    // Everything but the sounds, the window icon and the manifest is drawn as an image.
    if (std::set<std::string>{".ogg", ".wav", ".ico", ".tsm"}.count(Extension(file)))
      continue;
    int width = 0, height = 0;
    ASSERT_TRUE(PngSize(file, width, height)) << file << " is not a PNG";
    VNGfxTexture* texture = VNGfxTextureLoad(file.c_str());
    ASSERT_NE(nullptr, texture) << file;
    // A file the loader cannot decode becomes a stand-in checker of another size.
    glBindTexture(GL_TEXTURE_2D, *texture->name);
    GLint texWidth = 0, texHeight = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &texWidth);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &texHeight);
    EXPECT_EQ(width, texWidth) << file;
    EXPECT_EQ(height, texHeight) << file;
    std::vector<uint8_t> pixels(size_t(texWidth) * texHeight * 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    bool picture = false;
    for (size_t i = 0; i < pixels.size() && !picture; i += 4)
    {
      const bool magenta = pixels[i] == 255 && pixels[i + 1] == 0 && pixels[i + 2] == 255;
      const bool black = pixels[i] == 0 && pixels[i + 1] == 0 && pixels[i + 2] == 0;
      picture = pixels[i + 3] > 0 && !magenta && !black;
    }
    EXPECT_TRUE(picture) << file << " decoded to nothing but the stand-in colours";
    VNGfxTextureUnload(texture);
  }
}

TEST(ContentFiles, SheetsHaveTheFramesTheActorsDraw)
{
  // The player: 1 column, 11 rows, each frame drawn 50 x 100.
  const Pixels player = ReadImage("Assets/player.png");
  ASSERT_GT(player.width, 0);
  EXPECT_EQ(0, player.height % 11);
  EXPECT_EQ(player.width * 2, player.height / 11) << "player frames are not 1:2";
  EXPECT_TRUE(EveryFrameDrawn(player, 11));

  // Co-workers: 1 column, 4 rows (down, left, up, right), drawn 45 x 90.
  for (const char* file : {"Assets/enemy.png", "Assets/boss.png", "Assets/enemy2.png"})
  {
    const Pixels sheet = ReadImage(file);
    ASSERT_GT(sheet.width, 0) << file;
    EXPECT_EQ(0, sheet.height % 4) << file;
    EXPECT_EQ(sheet.width * 2, sheet.height / 4) << file;
    EXPECT_TRUE(EveryFrameDrawn(sheet, 4)) << file;
  }
  // The three co-workers must look different.
  EXPECT_NE(ReadImage("Assets/enemy.png").rgba, ReadImage("Assets/boss.png").rgba);
  EXPECT_NE(ReadImage("Assets/enemy.png").rgba, ReadImage("Assets/enemy2.png").rgba);
  EXPECT_NE(ReadImage("Assets/boss.png").rgba, ReadImage("Assets/enemy2.png").rgba);

  // Everything else is one frame stretched to the size it is drawn at: its shape must
  // match that size, or it shows squashed.
  struct Drawn
  {
    const char* file;
    float width, height;
  };
  const Drawn drawn[] = {
      {"Assets/smoke.png", 70, 80},
      {"Assets/b1.png", 66, 65},
      {"Assets/iconE.png", 32, 32},
      {"Assets/iconKey.png", 75, 75},
      {"Assets/iconJ.png", 75, 75},
      {"Assets/iconK2.png", 75, 75},
      {"Assets/pause.png", 154, 74},
      {"Assets/Retry2.png", 154, 74},
      {"Assets/MainMenu.png", 154, 74},
      {"Assets/GameOver.png", 593, 122},
      {"Assets/loading.png", 1280, 720},
      {"Assets/main_menu.png", 1280, 720},
      {"Assets/mainTitle.png", 640, 204},
      {"Assets/optionTitle.png", 288, 86},
      {"Assets/creditscreen.png", 1280, 720},
      {"Assets/Ombrel.png", 1280, 720},
      {"Assets/b_play.png", 262, 68},
      {"Assets/level_back.png", 262, 56},
      {"Assets/level_3.png", 195, 56},
      {"Assets/fullscreen.png", 350, 90},
      {"Assets/plus.png", 56, 56},
      {"Assets/slider.png", 280, 26},
      {"Assets/slider2.png", 28, 56},
      {"Assets/option2.png", 150, 240},
      {"Assets/Tilemap/keycard.png", 50, 50},
  };
  for (const Drawn& d : drawn)
  {
    int width = 0, height = 0;
    ASSERT_TRUE(PngSize(d.file, width, height)) << d.file;
    EXPECT_NEAR(d.width / d.height, float(width) / float(height), 0.03f * d.width / d.height)
        << d.file;
  }
}

TEST(ContentFiles, TheWindowIconDecodes)
{
  SDL_Surface* icon = IMG_Load("Assets/SetupIcon.ico");
  ASSERT_NE(nullptr, icon) << IMG_GetError();
  EXPECT_GE(icon->w, 32);
  EXPECT_EQ(icon->w, icon->h);
  SDL_FreeSurface(icon);
}

TEST(ContentSound, EverySoundOpensThroughTheAudioFamily)
{
  ASSERT_TRUE(VNAudioInit(2) || VNAudioIsOpen());
  std::vector<std::string> sounds;
  for (const std::string& file : FilesNamedInCode())
    if (Extension(file) == ".ogg" || Extension(file) == ".wav")
      sounds.push_back(file);
  ASSERT_EQ(12u, sounds.size());
  for (const std::string& file : sounds)
  {
    VNAudioSound* sound = VNAudioSoundOpen(file.c_str());
    EXPECT_NE(nullptr, sound) << file;
    VNAudioSoundRelease(sound);
  }
}

TEST(ContentSound, MusicLoopsAreLongDistinctAndSeamless)
{
  ASSERT_TRUE(VNAudioInit(2) || VNAudioIsOpen());
  int frequency = 0, channels = 0;
  Uint16 format = 0;
  ASSERT_TRUE(Mix_QuerySpec(&frequency, &format, &channels));
  ASSERT_TRUE(format == AUDIO_S16SYS || format == AUDIO_F32SYS)
      << "unexpected mixer format " << format;

  std::set<std::vector<uint8_t>> seen;
  for (const char* file : kMusic)
  {
    Mix_Chunk* chunk = Mix_LoadWAV(file);
    ASSERT_NE(nullptr, chunk) << file << ": " << Mix_GetError();
    const size_t bytesPerSample = format == AUDIO_S16SYS ? 2 : 4;
    const size_t frames = chunk->alen / (bytesPerSample * size_t(channels));
    EXPECT_GE(double(frames) / frequency, 30.0) << file;

    // The first channel as floats.
    std::vector<float> wave(frames);
    for (size_t i = 0; i < frames; ++i)
    {
      const uint8_t* at = chunk->abuf + i * bytesPerSample * size_t(channels);
      if (format == AUDIO_S16SYS)
        wave[i] = float(*reinterpret_cast<const int16_t*>(at)) / 32768.0f;
      else
        wave[i] = *reinterpret_cast<const float*>(at);
    }
    // Looping joins the last sample to the first: that step must look like any other
    // step of the music, not like a cut.
    std::vector<float> steps(frames - 1);
    for (size_t i = 1; i < frames; ++i)
      steps[i - 1] = std::fabs(wave[i] - wave[i - 1]);
    std::nth_element(steps.begin(), steps.begin() + long(steps.size() * 99 / 100), steps.end());
    const float typicalStep = steps[steps.size() * 99 / 100];
    EXPECT_LE(std::fabs(wave.front() - wave.back()), typicalStep)
        << file << " clicks where it loops";

    EXPECT_TRUE(seen.insert(std::vector<uint8_t>(
                                chunk->abuf, chunk->abuf + std::min<Uint32>(chunk->alen, 1 << 20)))
                    .second)
        << file << " sounds the same as another track";
    Mix_FreeChunk(chunk);
  }
}

TEST(ContentLevels, EveryLevelLoadsQuietlyAndItsCoworkersCanMeetButDoNotSeeTheStart)
{
  EnsureTestWindow();
  int cardLevels = 0, decoyLevels = 0;
  std::vector<size_t> coworkers;
  for (const char* file : kLevelFiles)
  {
    SCOPED_TRACE(file);
    std::string printed;
    auto level = LoadLevelFile(file, printed);
    EXPECT_EQ("", printed) << "printed while loading";
    const Grid2D& grid = *level->tilemap;
    ASSERT_GT(grid.width, 0);
    ASSERT_GE(grid.layerNames.size(), 3u);

    const auto spawns = Events(grid, "SPAWN");
    const auto enemies = Events(grid, "ENEMY");
    ASSERT_EQ(1u, spawns.size());
    EXPECT_GE(Events(grid, "EXIT").size(), 1u);
    ASSERT_GE(enemies.size(), 1u);
    for (const EventRecord* e : grid.events)
    {
      EXPECT_TRUE(e->trigger == "SPAWN" || e->trigger == "EXIT" || e->trigger == "ENEMY" ||
                  e->trigger == "KEY")
          << e->trigger;
      // Actors stand on free floor, and the path search needs co-workers' desks free.
      EXPECT_TRUE(grid.IsWalkable(int(e->x), grid.height - int(e->y)))
          << e->trigger << " at " << e->x << ", " << e->y;
    }
    const size_t cards = Events(grid, "KEY").size();
    cardLevels += cards > 0;
    decoyLevels += cards > 1;
    if (std::string(file) != "TutorialLevel.tmx")
      coworkers.push_back(enemies.size());

    // Every tile painted on the floor and object layers has an image.
    for (int layer = 0; layer < 2; ++layer)
      for (int id : grid.layers.at(grid.layerNames[size_t(layer)]))
        if (id > 0)
        {
          auto found = level->tileTextures.find(id);
          ASSERT_TRUE(found != level->tileTextures.end() && found->second) << "tile " << id;
        }

    // The floor is one open region for the co-workers when each desk connects to the first.
    for (size_t i = 1; i < enemies.size(); ++i)
      EXPECT_FALSE(level->tilemap->FindPath(World(enemies[i]), World(enemies[0])).empty())
          << "co-worker at " << enemies[i]->x << ", " << enemies[i]->y
          << " cannot reach the others";

    // Each co-worker alone, so that it stays at its desk watching for the first
    // half-second, as every co-worker does when the floor starts, does not see the start.
    VNVec2 player = World(spawns[0]);
    bool concealed = false;
    for (size_t index = 0; index < grid.events.size(); ++index)
    {
      const EventRecord* record = grid.events[index];
      if (record->trigger != "ENEMY")
        continue;
      Enemy coworker("Assets/enemy.png", int(index), record->x * 50.0f, record->y * 50.0f);
      std::vector<Enemy*> alone = {&coworker};
      coworker.enemies = &alone;
      coworker.playerPosition = &player;
      coworker.playerConcealed = &concealed;
      for (int frame = 0; frame < 30; ++frame)
      {
        coworker.Update(1.0f / 60.0f);
        EXPECT_NE(Enemy::kBubbleSpotted, coworker.bubble) << "co-worker " << index;
      }
      EXPECT_FALSE(coworker.caught);
      EXPECT_LT(coworker.detection, 0.5f) << "co-worker " << index;
    }
  }
  EXPECT_GE(cardLevels - 1, 2) << "at least two levels besides the tutorial need the access card";
  EXPECT_GE(decoyLevels, 1) << "one level hides the card among decoys";
  EXPECT_TRUE(std::is_sorted(coworkers.begin(), coworkers.end()))
      << "levels get harder from 1 to 5";
  EXPECT_GT(coworkers.back(), coworkers.front());
}

TEST(ContentLevels, TheTutorialFloorFitsItsHints)
{
  EnsureTestWindow();
  std::string printed;
  auto level = LoadLevelFile("TutorialLevel.tmx", printed);
  const Grid2D& grid = *level->tilemap;
  const auto& events = grid.events;
  ASSERT_GT(events.size(), 10u);
  for (size_t i = 5; i <= 10; ++i)
    EXPECT_EQ("ENEMY", events[i]->trigger) << "record " << i << " is pinned by the tutorial";

  // Where the hints are printed (world positions) and what must be next to them.
  const VNVec2 sleepText = {168, 735}, workText = {470, 735}, walkingText = {1317, 405};
  const VNVec2 pickUpText = {245, 1590}, escapeText = {380, 1315}, movementText = {100, 470};
  EXPECT_LT(Distance(World(events[9]), sleepText), 160.0f) << "the sleeper stands by \"Sleep\"";
  EXPECT_LT(Distance(World(events[10]), workText), 160.0f) << "the worker stands by \"Work\"";
  EXPECT_LT(Distance(World(Events(grid, "SPAWN")[0]), movementText), 250.0f);

  int walkers = 0;
  for (size_t i = 0; i < events.size(); ++i)
    if (events[i]->trigger == "ENEMY" && (i < 5 || i > 10) &&
        Distance(World(events[i]), walkingText) < 320.0f)
      ++walkers;
  EXPECT_GE(walkers, 2) << "a pair that walks where \"WALKING STATE\" is printed";

  const auto keys = Events(grid, "KEY");
  ASSERT_EQ(1u, keys.size());
  EXPECT_LT(Distance(World(keys[0]), pickUpText), 300.0f)
      << "the card lies by \"Press E when near\"";

  bool exitThatWay = false;
  for (const EventRecord* e : Events(grid, "EXIT"))
    exitThatWay =
        exitThatWay || (World(e).x < escapeText.x && std::fabs(World(e).y - escapeText.y) < 100.0f);
  EXPECT_TRUE(exitThatWay) << "an exit lies left of \" <<< THIS WAY TO ESCAPE <<< \"";

  // Every hint starts on open floor, not on a wall.
  const VNVec2 hints[] = {
      {100, 470},  {100, 330},   {100, 290},   {100, 250},   {40, 1020},   {168, 735},  {168, 700},
      {470, 735},  {468, 700},   {735, 330},   {670, 290},   {712, 250},   {1317, 405}, {1335, 365},
      {1050, 715}, {1230, 1970}, {1430, 1840}, {1352, 1040}, {1350, 1000}, {1330, 960}, {380, 1315},
      {218, 1835}, {212, 1795},  {218, 1755},  {235, 1715},  {245, 1590},  {285, 1550}};
  for (const VNVec2& hint : hints)
  {
    const int col = int(std::floor(hint.x / 50.0f + 0.5f));
    const int row = int((grid.height * 50.0f - hint.y) / 50.0f + 0.5f);
    const int floor = grid.layers.at(grid.layerNames[0])[size_t(row * grid.width + col)];
    EXPECT_LE(floor, grid.walkableLimit)
        << "hint at " << hint.x << ", " << hint.y << " lies on a wall";
  }
}
