// Files that used to hang or kill the game: special files, oversized images and levels,
// saves through links or past the file-size limit, events off the map.
#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <functional>
#include <vector>

#include "Actors/Enemy.h"
#include "Actors/Player.h"
#include "CapturedOutput.h"
#include "Editor/Editor.h"
#include "Framework/TextureManager.h"
#include "PlayTestSupport.h"
#include "World/AssetManifest.h"
#include "World/LevelFile.h"

namespace
{
namespace fs = std::filesystem;

// Runs action in a child process with a deadline; true when it returned true there, so a
// hang or a fatal signal fails the test instead of the test program.
bool InChild(const std::function<bool()>& action)
{
  fflush(stdout);
  const pid_t child = fork();
  if (child == 0)
  {
    alarm(20);
    _exit(action() ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

LevelContent OneCellLevel(int gid)
{
  LevelContent level;
  level.width = level.height = 1;
  level.layerNames = {"BACKGROUND"};
  level.layers["BACKGROUND"] = {gid};
  return level;
}

TEST(BadInput, SpecialFilesAreRefusedWithoutWaiting)
{
  EnsureTestWindow();
  ScratchFolder folder;
  const std::string fifo = folder.File("pipe.tmx");
  ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));
  EXPECT_TRUE(InChild(
      [&]
      {
        LevelContent level;
        AssetManifest manifest;
        return !ReadLevelFile(fifo, level) && !ReadAssetManifest(fifo, manifest);
      }));
  EXPECT_TRUE(InChild([&] { return VNGfxTextureLoad(fifo.c_str()) != nullptr; }));
  EXPECT_TRUE(InChild(
      [&]
      {
        Editor editor;
        editor.LoadLevel(fifo);
        return editor.tilemap->width == 50;
      }));
  // Nor is a special file replaced by a save.
  EXPECT_FALSE(WriteLevelFile(fifo, OneCellLevel(1)));
  EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST(BadInput, ASaveThroughALinkReplacesItsTargetAndKeepsTheLink)
{
  ScratchFolder folder;
  fs::create_directory(folder.File("maps"));
  WriteText(folder.File("maps/real.tmx"), "old");
  fs::create_symlink("maps/real.tmx", folder.File("link.tmx"));
  fs::create_symlink("link.tmx", folder.File("chain.tmx"));
  fs::create_symlink("absent.tmx", folder.File("maps/dangling.tmx"));
  const struct
  {
    const char* saved;
    const char* target;
  } cases[] = {{"link.tmx", "maps/real.tmx"},
               {"chain.tmx", "maps/real.tmx"},
               {"maps/dangling.tmx", "maps/absent.tmx"}};
  int gid = 0;
  for (const auto& c : cases)
  {
    ASSERT_TRUE(WriteLevelFile(folder.File(c.saved), OneCellLevel(++gid))) << c.saved;
    EXPECT_TRUE(fs::is_symlink(folder.File(c.saved))) << c.saved;
    LevelContent read;
    ASSERT_TRUE(ReadLevelFile(folder.File(c.target), read)) << c.saved;
    EXPECT_EQ(std::vector<int>{gid}, read.layers["BACKGROUND"]) << c.saved;
  }
}

TEST(BadInput, ASaveBeyondTheFileSizeLimitFailsAndLeavesNoTemporaryFile)
{
  EnsureTestWindow(); // the engine's start-up is what sets SIGXFSZ aside
  ScratchFolder folder;
  const std::string file = folder.File("level.tmx");
  WriteText(file, "previous");
  EXPECT_TRUE(InChild(
      [&]
      {
        const rlimit limit = {16, 16};
        setrlimit(RLIMIT_FSIZE, &limit);
        return !Grid2D(2, 2).SaveTMX(file);
      }));
  EXPECT_EQ("previous", ReadText(file));
  EXPECT_EQ(1, std::distance(fs::directory_iterator(folder.path), fs::directory_iterator()));
}

TEST(BadInput, EverythingTheReaderKeepsTheWriterCanWriteWithinTheReadersLimit)
{
  std::string layers;
  for (int i = 0; i < 2000; ++i)
    layers += "<layer name=\"L" + std::to_string(i) + "\"/>";
  const std::string text = "<map width=\"100\" height=\"100\">" + layers + "</map>";
  LevelContent kept;
  StdoutOf([&] { ParseLevelFile(text.data(), text.size(), "many.tmx", kept); });
  ASSERT_FALSE(kept.layerNames.empty());

  // The widest a layer of that map can be written: every cell the longest number.
  LevelContent one = kept;
  one.layerNames = {"L1999"};
  one.layers = {{"L1999", std::vector<int>(100 * 100, INT_MIN)}};
  const size_t layerBytes = FormatLevelFile(one).size();
  EXPECT_LE(kept.layerNames.size() * layerBytes, size_t{kLevelMaxFileBytes});
}

TEST(BadInput, ImagesLargerThanGLAllowsBecomeThePlaceholder)
{
  EnsureTestWindow();
  ScratchFolder folder;
  GLint most = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &most);
  const std::string wide = folder.File("wide.bmp");
  SDL_Surface* image = SDL_CreateRGBSurfaceWithFormat(0, most + 1, 1, 32, SDL_PIXELFORMAT_RGBA32);
  ASSERT_EQ(0, SDL_SaveBMP(image, wide.c_str()));
  SDL_FreeSurface(image);
  const std::vector<unsigned char> pixels(static_cast<size_t>(most + 1) * 4, 255);
  while (glGetError() != GL_NO_ERROR)
    ;

  for (int fromMemory = 0; fromMemory < 2; ++fromMemory)
  {
    VNGfxTexture* texture = nullptr;
    const std::string output = StdoutOf(
        [&]
        {
          texture = fromMemory ? VNGfxTextureLoadFromMemory(pixels.data(), 1, most + 1)
                               : VNGfxTextureLoad(wide.c_str());
        });
    EXPECT_EQ(GL_NO_ERROR, glGetError()) << fromMemory;
    EXPECT_NE(std::string::npos, output.find(fromMemory ? "checker" : wide)) << output;
    ASSERT_NE(nullptr, texture);
    GLint width = 0;
    glBindTexture(GL_TEXTURE_2D, *texture->name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(2, width) << "the placeholder";
    VNGfxTextureUnload(texture);
  }
}

TEST(BadInput, AManifestPathLongerThanATextureHoldsIsReportedAndKept)
{
  const std::string text = "<tileset><tile id=\"3\" source=\"" + std::string(300, 'a') + "\"/>" +
                           "<tile id=\"4\" source=\"Assets/ok.png\"/></tileset>";
  AssetManifest manifest;
  const std::string output =
      StdoutOf([&] { ParseAssetManifest(text.data(), text.size(), "long.tsm", manifest); });
  EXPECT_EQ(2u, manifest.entries.size());
  EXPECT_NE(std::string::npos, output.find("long.tsm: <tile> on line 1")) << output;
  EXPECT_EQ(1, std::count(output.begin(), output.end(), '\n')) << output;
}

TEST_F(FloorTest, AnEventOffTheMapKeepsItsRecordButSpawnsNothing)
{
  std::string path = WriteFloor("Offmap", {"#####", "#P.E#", "#####"});
  std::string text = ReadText(path);
  text.insert(text.find("</eventlist>"), "<event trigger=\"SPAWN\" X=\"500\" Y=\"-500\"/>"
                                         "<event trigger=\"ENEMY\" X=\"-1\" Y=\"0\"/>");
  WriteText(path, text);
  const std::string output = StdoutOf([&] { EnterFile(path); });
  EXPECT_EQ(4u, level->tilemap->events.size());
  ASSERT_EQ(1u, level->players.size());
  EXPECT_FLOAT_EQ(50.0f, level->players[0]->position.x);
  ASSERT_EQ(1u, level->enemies.size());
  EXPECT_EQ(1, level->enemies[0]->index);
  EXPECT_NE(std::string::npos, output.find("X 500, Y -500 lies outside")) << output;

  // Entering again takes no further reference on the tile textures.
  const TextureEntry* tile =
      TextureManager::Instance()->Find(level->tileTextures.begin()->second->path);
  const int references = tile->refCount;
  LevelManager::Instance()->ChangeLevel(level->name);
  EXPECT_EQ(references, tile->refCount);
}

} // namespace
