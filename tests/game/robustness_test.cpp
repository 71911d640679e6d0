// Faults found by playing and auditing: taps between two frames, files that used to hang
// or kill the game, and who owns what for how long (partner draws, overlay buttons, sound
// channels, GL objects).
#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <functional>

#include "Actors/Enemy.h"
#include "Actors/Player.h"
#include "CapturedOutput.h"
#include "Editor/Editor.h"
#include "Framework/Application.h"
#include "Framework/TextureManager.h"
#include "PlayTestSupport.h"
#include "TestSound.h"
#include "World/AssetManifest.h"
#include "World/LevelFile.h"

// The game draws its random numbers with rand(); this program's own rand stands in for the
// C library's, so a test can script the draws and count them.
std::function<int(int draw)> gScriptedRand;
int gRandDraws = 0;
extern "C" int rand(void) noexcept
{
  const int draw = gRandDraws++;
  return gScriptedRand ? gScriptedRand(draw) : static_cast<int>(random() & RAND_MAX);
}

namespace
{
namespace fs = std::filesystem;
const float kFrame = 1.0f / 60.0f;

// What four samples from now see of key: T triggered, H held, R released, - up.
std::string Frames(uint8_t key)
{
  std::string seen;
  for (int frame = 0; frame < 4; ++frame)
  {
    DispatchAndSample();
    seen += VNInputCheckTriggered(key)  ? 'T'
            : VNInputCheckReleased(key) ? 'R'
            : VNInputCheckCurr(key)     ? 'H'
                                        : '-';
  }
  return seen;
}

TEST(InputTap, ATapBetweenTwoSamplesTriggersThenReleases)
{
  EnsureTestWindow();
  SettleWindowEvents();
  // Each row: the key changed and the key watched; the changes (d down, u up) before the
  // next sample, '|' standing for samples taken; what the samples from then on see.
  const struct
  {
    uint8_t changed, watched;
    const char* steps;
    const char* expected;
  } cases[] = {
      {'J', 'J', "du", "TR--"},
      {VN_KEY_LBUTTON, VN_KEY_LBUTTON, "du", "TR--"},
      {VN_KEY_RBUTTON, VN_KEY_RBUTTON, "dudu", "TR--"},
      {VN_KEY_LSHIFT, VN_KEY_SHIFT, "du", "TR--"},
      {'K', 'K', "dud", "THHH"},
      // A key held across samples reads as it always did.
      {'W', 'W', "d|udu", "R---"},
      {'W', 'W', "d|dd", "HHHH"},
  };
  for (const auto& c : cases)
  {
    const auto change = c.changed <= VN_KEY_MBUTTON ? InjectMouseButton : InjectKey;
    VNInputReset();
    for (const char* step = c.steps; *step; ++step)
      *step == '|' ? (void)Frames(c.changed) : change(c.changed, *step == 'd');
    EXPECT_EQ(c.expected, Frames(c.watched)) << c.steps;
    change(c.changed, false);
    Frames(c.changed);
  }
}

// True when action returns true in a child process within 20 s: a hang or a fatal signal
// fails the test rather than the test program.
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

TEST(BadInput, SpecialFilesLinksAndTheFileSizeLimit)
{
  EnsureTestWindow(); // the engine's start also sets SIGXFSZ aside
  ScratchFolder folder;
  const std::string fifo = folder.File("pipe.tmx");
  ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));
  // Opened as a level, a manifest, an image or in the editor, a FIFO is refused at once.
  EXPECT_TRUE(InChild([&] { return !ReadLevelFile(fifo, *new LevelContent()); }));
  EXPECT_TRUE(InChild([&] { return !ReadAssetManifest(fifo, *new AssetManifest()); }));
  EXPECT_TRUE(InChild([&] { return VNGfxTextureLoad(fifo.c_str()) != nullptr; }));
  EXPECT_TRUE(InChild([&] { return (new Editor())->LoadLevel(fifo), true; }));

  // Saves replace what links point to and keep the links; special files stay.
  const Grid2D grid(1, 1);
  ASSERT_TRUE(grid.SaveTMX(folder.File("plain.tmx")));
  fs::create_directory(folder.File("maps"));
  fs::create_symlink("maps/real.tmx", folder.File("link.tmx"));
  fs::create_symlink("link.tmx", folder.File("chain.tmx"));
  fs::create_symlink("absent.tmx", folder.File("maps/dangling.tmx"));
  for (const auto& [name, target] : {std::pair{"link.tmx", "maps/real.tmx"},
                                     {"chain.tmx", "maps/real.tmx"},
                                     {"maps/dangling.tmx", "maps/absent.tmx"}})
  {
    WriteText(folder.File("maps/real.tmx"), "old");
    ASSERT_TRUE(grid.SaveTMX(folder.File(name))) << name;
    EXPECT_TRUE(fs::is_symlink(folder.File(name))) << name;
    EXPECT_EQ(ReadText(folder.File("plain.tmx")), ReadText(folder.File(target))) << name;
  }
  EXPECT_FALSE(grid.SaveTMX(fifo));
  EXPECT_TRUE(fs::is_fifo(fifo));

  // Past the file-size limit a save fails, keeping the previous file and no temporary one.
  WriteText(folder.File("maps/real.tmx"), "old");
  const auto entries = [&]
  { return std::distance(fs::recursive_directory_iterator(folder.path), {}); };
  const auto before = entries();
  EXPECT_TRUE(InChild(
      [&]
      {
        const rlimit limit = {16, 16};
        return setrlimit(RLIMIT_FSIZE, &limit) == 0 && !grid.SaveTMX(folder.File("link.tmx"));
      }));
  EXPECT_EQ("old", ReadText(folder.File("maps/real.tmx")));
  EXPECT_EQ(before, entries());
}

TEST(BadInput, TheReaderAndWriterKeepWithinEachOthersLimits)
{
  std::string text = "<map width=\"100\" height=\"100\">";
  for (int i = 0; i < 2000; ++i)
    text += "<layer name=\"L" + std::to_string(i) + "\"/>";
  text += "</map>";
  LevelContent kept;
  StdoutOf([&] { ParseLevelFile(text.data(), text.size(), "many.tmx", kept); });
  // The widest a layer of that map can be written: every cell the longest number.
  LevelContent one = kept;
  one.layerNames = {"L1999"};
  one.layers = {{"L1999", std::vector<int>(100 * 100, INT_MIN)}};
  EXPECT_LE(kept.layerNames.size() * FormatLevelFile(one).size(), size_t{kLevelMaxFileBytes});

  // A manifest path longer than a texture holds is reported and kept.
  text = "<tileset><tile id=\"3\" source=\"" + std::string(300, 'a') + "\"/>" +
         "<tile id=\"4\" source=\"Assets/ok.png\"/></tileset>";
  AssetManifest manifest;
  const std::string output =
      StdoutOf([&] { ParseAssetManifest(text.data(), text.size(), "long.tsm", manifest); });
  EXPECT_EQ(2u, manifest.entries.size());
  EXPECT_NE(std::string::npos, output.find("long.tsm: <tile> on line 1")) << output;
  EXPECT_EQ(1, std::count(output.begin(), output.end(), '\n')) << output;
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
  while (glGetError() != GL_NO_ERROR)
    ;
  VNGfxTexture* texture = nullptr;
  const std::string output = StdoutOf([&] { texture = VNGfxTextureLoad(wide.c_str()); });
  EXPECT_EQ(GL_NO_ERROR, glGetError());
  EXPECT_NE(std::string::npos, output.find(wide)) << output;
  GLint width = 0;
  glBindTexture(GL_TEXTURE_2D, *texture->name);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  EXPECT_EQ(2, width) << "the placeholder";
  VNGfxTextureUnload(texture);
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

TEST(Lifetime, ThePartnerChoiceEndsAndDrawsAsBeforeWhereverItUsedToEnd)
{
  EnsureTestWindow();
  // Co-worker 0 chooses, 1 is reserved, 2 too unless free. Only the tenth draw of a round
  // can end it on an unfit one. The last row never draws 0 itself: the old loop ended only
  // when the script gave up after 100000 draws (-1: fewer than that).
  const struct
  {
    bool twoFree;
    std::function<int(int)> draws;
    int count;
    int partner;
  } cases[] = {
      {false, [](int draw) { return draw == 29 ? 0 : 1 + draw % 2; }, 30, 0},
      {true, [](int draw) { return draw < 4 ? 1 : 2; }, 5, 2},
      {false, [](int draw) { return draw < 100000 ? 1 : 0; }, -1, 0},
  };
  for (const auto& c : cases)
  {
    std::vector<Enemy*> enemies;
    for (int i = 0; i < 3; ++i)
      enemies.push_back(new Enemy("Assets/enemy.png", i, 100.0f * i, 0.0f));
    for (Enemy* enemy : enemies)
      enemy->enemies = &enemies;
    enemies[1]->reserved = true;
    enemies[2]->reserved = !c.twoFree;
    enemies[0]->timer = 0.0f;
    Enemy::partnerAttempts = 10;
    gRandDraws = 0;
    gScriptedRand = c.draws;
    enemies[0]->Update(kFrame);
    gScriptedRand = nullptr;
    EXPECT_TRUE(c.count < 0 ? gRandDraws < 100000 : gRandDraws == c.count) << gRandDraws;
    EXPECT_EQ(c.partner, enemies[0]->partner);
    EXPECT_TRUE(enemies[0]->pathRequested);
    for (Enemy* enemy : enemies)
      delete enemy;
  }
}

TEST(Lifetime, TheEditorHoldsTheButtonsTheCameraKept)
{
  EnsureTestWindow();
  Camera* camera = Camera::Instance();
  Button2D* earlier = camera->AddButton(std::make_unique<Button2D>("Savelevel"));
  EXPECT_EQ(earlier, camera->AddButton(std::make_unique<Button2D>("Savelevel")));
  Editor editor;
  editor.Load();
  EXPECT_EQ(earlier, editor.saveButton);
  EXPECT_EQ(camera->FindButton("Loadlevel"), editor.loadButton);
  editor.Unload();
  Camera::Destroy();
}

// A ten-second tone registered under a game sound's name, so no asset's length matters.
void LongTone(const ScratchFolder& folder, const std::string& name, int kind)
{
  const std::string file = folder.File(std::to_string(SoundManager::Instance()->sounds.size()));
  ASSERT_TRUE(WriteToneWav(file, 440.0f, 10.0f, 0.1f));
  SoundManager::Instance()->sounds[name] = new SoundEntry{VNAudioSoundOpen(file.c_str()), kind};
}

TEST_F(FloorTest, EndSoundsMusicAndEffectsKeepTheirChannels)
{
  SoundManager* sound = SoundManager::Instance();
  ScratchFolder folder;
  for (const char* effect : {"Assets/Sound/MouseOver.wav", "Assets/Sound/LoseSound.ogg"})
    LongTone(folder, effect, SoundEntry::kEffect);
  LongTone(folder, "A", SoundEntry::kMusic);
  LongTone(folder, "B", SoundEntry::kMusic);
  sound->PlayNow("A", true);
  InjectMouseMove(5, 5);
  Enter("Caught", {"#####", "#P.E#", "#####"});
  Play();
  level->enemies[0]->detection = 0.99f;
  const VNVec2 guard = level->enemies[0]->position;
  level->players[0]->position = {guard.x - 30.0f, guard.y};
  RunFrame(kFrame);
  ASSERT_EQ(TestLevel::kCaught, level->playState);

  // The pointer moving over Retry and Menu while the lose sound plays.
  std::vector<int> hovers;
  for (int i = 0; i < 5; ++i)
  {
    PointAt(i % 2 ? "Retry" : "MainMenu");
    RunFrame(kFrame);
    hovers.push_back(sound->effectChannel);
  }
  EXPECT_TRUE(VNAudioChannelIsPlaying(level->endSoundChannel));
  EXPECT_TRUE(VNAudioChannelIsPlaying(sound->musicChannel));
  for (int hover : hovers)
    EXPECT_TRUE(VNAudioChannelIsPlaying(hover)) << "effects take no channel from each other";

  // The faded-out track stops when the next one starts.
  const int first = sound->musicChannel;
  sound->Play("B", true);
  for (int i = 0; i < 5 && sound->musicChannel == first; ++i)
    sound->Update(0.5f);
  EXPECT_TRUE(VNAudioChannelIsPlaying(sound->musicChannel));
  EXPECT_FALSE(VNAudioChannelIsPlaying(first));
}

struct ContextProbe : MenuStub
{
  ~ContextProbe() override { hadContext = SDL_GL_GetCurrentContext() != nullptr; }
  static bool hadContext;
};
bool ContextProbe::hadContext = false;

// Last in this program: Destroy closes the engine, and with it the shared test window.
TEST(LifetimeLast, LevelsAreDestroyedWhileTheGLContextExists)
{
  LevelManager::Instance()->AddLevel(new ContextProbe());
  Application application;
  ASSERT_TRUE(application.Init(nullptr, 1, "Kestrin"));
  gQuitGame = true;
  application.Run();
  const std::string output = StdoutOf([&] { application.Destroy(); });
  EXPECT_TRUE(ContextProbe::hadContext);
  EXPECT_EQ(nullptr, SDL_GL_GetCurrentContext()) << "the engine is closed at the end";
  const std::string last = "Kestrin Engine Destroy\n";
  EXPECT_EQ(last, output.substr(output.size() - std::min(output.size(), last.size()))) << output;
}

} // namespace
