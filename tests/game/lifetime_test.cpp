// Who owns what, and for how long: the partner choice's draws, overlay buttons, sound
// channels, and the GL objects freed at shutdown.
#include <SDL.h>
#include <gtest/gtest.h>

#include <stdlib.h>

#include <functional>

#include "Actors/Enemy.h"
#include "Actors/Player.h"
#include "CapturedOutput.h"
#include "Editor/Editor.h"
#include "Framework/Application.h"
#include "PlayTestSupport.h"
#include "TestSound.h"

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
const float kFrame = 1.0f / 60.0f;

TEST(Lifetime, ThePartnerChoiceEndsAndDrawsAsBeforeWhereverItUsedToEnd)
{
  EnsureTestWindow();
  Enemy::partnerAttempts = 10;
  // Co-worker 0 chooses; 1 is reserved, 2 is reserved too unless a row frees it.
  const struct
  {
    bool twoFree;
    std::function<int(int)> draws;
    int expectedDraws; // 0: more than the script would ever need to end the old way
    int expectedPartner;
  } cases[] = {
      // A round of ten draws ends on its last draw only; here the third round does.
      {false, [](int draw) { return draw == 29 ? 0 : 1 + draw % 2; }, 30, 0},
      {true, [](int draw) { return draw < 4 ? 1 : 2; }, 5, 2},
      // Never drawn itself: the old loop only ended when the script gave up at 100000.
      {false, [](int draw) { return draw < 100000 ? 1 : 0; }, 0, 0},
  };
  for (const auto& c : cases)
  {
    std::vector<Enemy*> enemies;
    for (int i = 0; i < 3; ++i)
    {
      enemies.push_back(new Enemy("Assets/enemy.png", i, 100.0f * i, 0.0f));
      enemies.back()->enemies = &enemies;
      enemies.back()->reserved = i == 1 || (i == 2 && !c.twoFree);
    }
    enemies[0]->timer = 0.0f;
    gRandDraws = 0;
    gScriptedRand = c.draws;
    enemies[0]->Update(kFrame);
    gScriptedRand = nullptr;
    if (c.expectedDraws)
      EXPECT_EQ(c.expectedDraws, gRandDraws);
    else
      EXPECT_LT(gRandDraws, 100000);
    EXPECT_EQ(c.expectedPartner, enemies[0]->partner);
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

class LifetimeSound : public FloorTest
{
protected:
  // A tone under a game sound's name, so its length does not depend on the asset.
  void LongTone(const std::string& name, int kind)
  {
    const std::string file = folder.File(std::to_string(tones++) + ".wav");
    ASSERT_TRUE(WriteToneWav(file, 440.0f, 10.0f, 0.1f));
    SoundEntry* entry = new SoundEntry();
    entry->kind = kind;
    entry->sound = VNAudioSoundOpen(file.c_str());
    SoundManager::Instance()->sounds[name] = entry;
  }

  ScratchFolder folder;
  int tones = 0;
};

TEST_F(LifetimeSound, HoverSoundsOnTheCaptureScreenLeaveTheLoseSoundAndTheMusic)
{
  SoundManager* sound = SoundManager::Instance();
  for (const char* effect : {"Assets/Sound/MouseOver.wav", "Assets/Sound/LoseSound.ogg"})
    LongTone(effect, SoundEntry::kEffect);
  LongTone("Music", SoundEntry::kMusic);
  sound->PlayNow("Music", true);
  InjectMouseMove(5, 5);
  Enter("Caught", {"#####", "#P.E#", "#####"});
  Play();
  level->enemies[0]->detection = 0.99f;
  const VNVec2 guard = level->enemies[0]->position;
  level->players[0]->position = {guard.x - 30.0f, guard.y};
  RunFrame(kFrame);
  ASSERT_EQ(TestLevel::kCaught, level->playState);

  std::vector<int> hovers;
  for (int i = 0; i < 5; ++i)
  {
    PointAt(*Button(i % 2 ? "Retry" : "MainMenu"));
    RunFrame(kFrame);
    hovers.push_back(sound->effectChannel);
  }
  EXPECT_TRUE(VNAudioChannelIsPlaying(level->endSoundChannel));
  EXPECT_TRUE(VNAudioChannelIsPlaying(sound->musicChannel));
  for (int hover : hovers)
    EXPECT_TRUE(VNAudioChannelIsPlaying(hover)) << "effects take no channel from each other";
}

TEST_F(LifetimeSound, TheFadedOutTrackStopsWhenTheNextStarts)
{
  LongTone("A", SoundEntry::kMusic);
  LongTone("B", SoundEntry::kMusic);
  SoundManager* sound = SoundManager::Instance();
  sound->PlayNow("A", true);
  const int first = sound->musicChannel;
  sound->Play("B", true);
  for (int i = 0; i < 5 && sound->musicChannel == first; ++i)
    sound->Update(0.5f);
  EXPECT_TRUE(VNAudioChannelIsPlaying(sound->musicChannel));
  EXPECT_FALSE(VNAudioChannelIsPlaying(first));
}

// Last in this program: Destroy closes the engine, and with it the shared test window.
TEST(LifetimeLast, LevelsAreDestroyedWhileTheGLContextExists)
{
  struct ContextProbe : MenuStub
  {
    ~ContextProbe() override { *hadContext = SDL_GL_GetCurrentContext() != nullptr; }
    bool* hadContext = nullptr;
  };
  bool hadContext = false;
  ContextProbe* probe = new ContextProbe();
  probe->hadContext = &hadContext;
  LevelManager::Instance()->AddLevel(probe);
  Application application;
  ASSERT_TRUE(application.Init(nullptr, 1, "Kestrin"));
  gQuitGame = true;
  application.Run();
  const std::string output = StdoutOf([&] { application.Destroy(); });
  gQuitGame = false;
  EXPECT_TRUE(hadContext);
  EXPECT_EQ(nullptr, SDL_GL_GetCurrentContext()) << "the engine is closed at the end";
  const std::string last = "Kestrin Engine Destroy\n";
  EXPECT_EQ(last, output.substr(output.size() - std::min(output.size(), last.size()))) << output;
}

} // namespace
