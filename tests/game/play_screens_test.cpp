#include <SDL.h>
#include <gtest/gtest.h>

#include "Actors/Enemy.h"
#include "Actors/Player.h"
#include "PlayTestSupport.h"
#include "TestSound.h"

namespace
{
const float kFrame = 1.0f / 60.0f;

const std::vector<std::string> kGuardedFloor = {
    "##########", "#........#", "#.P.E..X.#", "#........#", "##########",
};

bool CursorShown()
{
  return SDL_ShowCursor(SDL_QUERY) == SDL_ENABLE;
}

class PlayScreensTest : public FloorTest
{
protected:
  void SetUp() override
  {
    FloorTest::SetUp();
    // The cursor starts in a corner, away from every button and its hover sound.
    InjectMouseMove(5, 5);
    DispatchAndSample();
    Enter("Guarded", kGuardedFloor);
    Play();
    player = level->players[0];
  }

  void TearDown() override
  {
    DetachVirtualPad();
    FloorTest::TearDown();
  }

  void Capture()
  {
    Enemy* guard = level->enemies[0];
    guard->detection = 0.99f;
    level->players[0]->position = {guard->position.x + 30.0f, guard->position.y};
    RunFrame(kFrame);
    ASSERT_EQ(TestLevel::kCaught, level->playState);
  }

  void Escape()
  {
    level->players[0]->position = level->exits[0];
    RunFrame(kFrame);
    ASSERT_EQ(TestLevel::kEscaped, level->playState);
  }

  // Registers a short tone under a game sound's name, so that sound can be heard.
  VNAudioSound* Tone(const std::string& name, int kind = SoundEntry::kEffect)
  {
    const std::string wav = FloorFolder() + "/tone.wav";
    EXPECT_TRUE(WriteToneWav(wav, 440.0f, 3.0f, 0.2f));
    SoundEntry* entry = new SoundEntry();
    entry->kind = kind;
    entry->sound = VNAudioSoundOpen(wav.c_str());
    EXPECT_NE(nullptr, entry->sound);
    SoundManager::Instance()->sounds[name] = entry;
    return entry->sound;
  }

  // Starts a looping tone as the level's music; returns its channel.
  int StartMusic()
  {
    SoundManager* sound = SoundManager::Instance();
    sound->musicChannel = VNAudioPlay(Tone("music.wav"), 1);
    EXPECT_TRUE(VNAudioChannelIsPlaying(sound->musicChannel));
    return sound->musicChannel;
  }

  void PadButton(unsigned short mask)
  {
    SetVirtualPadButton(mask, true);
    RunFrame(kFrame);
    SetVirtualPadButton(mask, false);
    RunFrame(kFrame);
  }

  Player* player = nullptr;
};

TEST_F(PlayScreensTest, EscPausesAndResumesOncePerPress)
{
  const char* const screen[] = {"Game_State", "Retry", "MainMenu"};
  Press(VN_KEY_ESCAPE);
  EXPECT_EQ(TestLevel::kPaused, level->playState);
  for (const char* shown : screen)
    EXPECT_FALSE(Button(shown)->hidden) << shown;
  EXPECT_EQ("Assets/Paused.png", Button("Game_State")->textureName);
  EXPECT_EQ("Assets/Resume.png", Button("Retry")->textureName);
  EXPECT_TRUE(Button("Pause")->hidden);

  // Held Esc does not toggle, the floor is frozen, and R does nothing here.
  InjectKey('D', true);
  const float x = player->position.x;
  for (int i = 0; i < 5; ++i)
    RunFrame(kFrame);
  EXPECT_EQ(TestLevel::kPaused, level->playState);
  EXPECT_FLOAT_EQ(x, player->position.x);
  Press('R');
  EXPECT_EQ(TestLevel::kPaused, level->playState);
  EXPECT_EQ(player, level->players[0]);

  Release(VN_KEY_ESCAPE);
  EXPECT_EQ(TestLevel::kPaused, level->playState);
  Press(VN_KEY_ESCAPE);
  EXPECT_EQ(TestLevel::kPlaying, level->playState);
  for (const char* hidden : screen)
    EXPECT_TRUE(Button(hidden)->hidden) << hidden;
  EXPECT_FALSE(Button("Pause")->hidden);
  RunFrame(kFrame);
  EXPECT_EQ(TestLevel::kPlaying, level->playState);
  EXPECT_GT(player->position.x, x);
}

TEST_F(PlayScreensTest, MouseButtonsPauseResumeAndLeaveForTheMenuWithTheMusicLeftAlone)
{
  const int music = StartMusic();
  Click("Pause");
  EXPECT_EQ(TestLevel::kPaused, level->playState);
  Click("Retry");
  EXPECT_EQ(TestLevel::kPlaying, level->playState);
  Click("Pause");
  Click("MainMenu");
  EXPECT_EQ(menu, LevelManager::Instance()->current);
  EXPECT_EQ(1, menu->loads);
  EXPECT_TRUE(VNAudioChannelIsPlaying(music));
}

TEST_F(PlayScreensTest, RetryReloadsTheLevelWithEverythingAnew)
{
  Capture();
  EXPECT_EQ("Assets/Retry.png", Button("Retry")->textureName);
  EXPECT_TRUE(level->endSoundPlayed);
  player->stealthUsed = true;
  level->enemies[0]->position.x += 33.0f;
  level->enemies[0]->timer = 0.0f;

  Press('R');
  EXPECT_EQ(level, LevelManager::Instance()->current);
  EXPECT_EQ(TestLevel::kLoading, level->playState);
  EXPECT_FALSE(level->endSoundPlayed);
  ASSERT_EQ(1u, level->players.size());
  EXPECT_FALSE(level->players[0]->stealthUsed);
  EXPECT_EQ(1u, level->exits.size());
  ASSERT_EQ(1u, level->enemies.size());
  Enemy* enemy = level->enemies[0];
  EXPECT_FALSE(enemy->caught);
  EXPECT_FLOAT_EQ(0.0f, enemy->detection);
  EXPECT_FLOAT_EQ(enemy->home.x, enemy->position.x);
  EXPECT_FLOAT_EQ(enemy->home.y, enemy->position.y);
  EXPECT_EQ(Enemy::kAtDesk, enemy->state);
  EXPECT_GE(enemy->timer, 1.0f);
  EXPECT_LE(enemy->timer, 10.0f);
  EXPECT_EQ(&level->players[0]->position, enemy->playerPosition);
  // A co-worker knows where its record stands among all the file's events.
  EXPECT_EQ(1, enemy->index);
  for (const char* hidden : {"Retry", "MainMenu", "Game_State"})
    EXPECT_TRUE(Button(hidden)->hidden) << hidden;
  EXPECT_FALSE(Button("Loading")->hidden);
  Release('R');

  // The retry button does the same.
  Play();
  Capture();
  Click("Retry");
  EXPECT_EQ(TestLevel::kLoading, level->playState);
  EXPECT_EQ(0, menu->loads);
}

TEST_F(PlayScreensTest, MainMenuFromTheCaptureScreenSilencesMusicAndLoseSound)
{
  const int music = StartMusic();
  // Registered with the music, as the main menu does.
  VNAudioSound* lose = Tone("Assets/Sound/LoseSound.ogg", SoundEntry::kMusic);
  Capture();
  const int loseChannel = level->endSoundChannel;
  EXPECT_EQ(lose, VNAudioChannelGetSound(loseChannel));
  EXPECT_FALSE(VNAudioChannelIsLooping(loseChannel));
  // The music goes on under the lose sound, unfaded.
  EXPECT_TRUE(VNAudioChannelIsPlaying(music));
  EXPECT_EQ(music, SoundManager::Instance()->musicChannel);
  RunFrame(kFrame);
  EXPECT_FALSE(SoundManager::Instance()->fading);
  EXPECT_TRUE(VNAudioChannelIsPlaying(loseChannel));

  // The hover, click and change sounds play nothing here, so none of them takes the lose
  // sound's mixer channel over: it must be stopped by the level.
  for (const char* effect :
       {"Assets/Sound/MouseOver.wav", "Assets/Sound/MouseClick.wav", "Assets/Sound/GameIn.ogg"})
    SoundManager::Instance()->sounds[effect] = new SoundEntry();
  Click("MainMenu");
  EXPECT_EQ(menu, LevelManager::Instance()->current);
  EXPECT_FALSE(VNAudioChannelIsPlaying(music));
  EXPECT_FALSE(VNAudioChannelIsPlaying(loseChannel));
}

TEST_F(PlayScreensTest, EscapeStopsTheMusicAndPlaysTheWinSoundOnce)
{
  const int music = StartMusic();
  // Registered with the music, as the main menu does: it still sounds at once, once.
  VNAudioSound* win = Tone("Assets/Sound/WinSound.ogg", SoundEntry::kMusic);
  Escape();
  EXPECT_FALSE(VNAudioChannelIsPlaying(music));
  const int winChannel = level->endSoundChannel;
  EXPECT_EQ(win, VNAudioChannelGetSound(winChannel));
  EXPECT_TRUE(VNAudioChannelIsPlaying(winChannel));
  EXPECT_FALSE(VNAudioChannelIsLooping(winChannel));
  // The pause button stays on screen but neither it nor Esc pauses any more.
  EXPECT_FALSE(Button("Pause")->hidden);
  Click("Pause");
  Press(VN_KEY_ESCAPE);
  for (int i = 0; i < 60; ++i)
    RunFrame(kFrame);
  EXPECT_EQ(TestLevel::kEscaped, level->playState);
  EXPECT_EQ(winChannel, level->endSoundChannel);
  EXPECT_TRUE(level->endSoundPlayed);
  EXPECT_FALSE(SoundManager::Instance()->fading);
  EXPECT_TRUE(SoundManager::Instance()->pendingMusic.empty());
}

TEST_F(PlayScreensTest, PadDrivesTheScreensAndSwitchesImagesAndCursorInTheNextFrame)
{
  RunFrame(kFrame);
  EXPECT_TRUE(CursorShown());
  if (AttachVirtualPad() < 0)
    GTEST_SKIP() << "no virtual game controller available";
  // The images a pad player sees, against those of keyboard and mouse.
  const std::pair<const char*, const char*> images[] = {
      {"iconJ", "Assets/iconJ"}, {"iconK", "Assets/iconK"}, {"MainMenu", "Assets/MainMenu"}};
  const auto expectImages = [&](const char* suffix)
  {
    for (const auto& [button, image] : images)
      EXPECT_EQ(std::string(image) + suffix + ".png", Button(button)->textureName) << button;
  };
  RunFrame(kFrame);
  expectImages("2");
  EXPECT_FALSE(CursorShown());

  PadButton(VN_PAD_START);
  EXPECT_EQ(TestLevel::kPaused, level->playState);
  PadButton(VN_PAD_START);
  EXPECT_EQ(TestLevel::kPlaying, level->playState);

  Capture();
  EXPECT_EQ("Assets/Retry2.png", Button("Retry")->textureName);
  expectImages("2");
  // Hidden once, not counted down frame by frame: one frame without the pad shows it.
  DetachVirtualPad();
  RunFrame(kFrame);
  EXPECT_EQ("Assets/Retry.png", Button("Retry")->textureName);
  expectImages("");
  EXPECT_TRUE(CursorShown());

  ASSERT_GE(AttachVirtualPad(), 0);
  RunFrame(kFrame);
  PadButton(VN_PAD_X);
  EXPECT_EQ(TestLevel::kLoading, level->playState);

  Play();
  Escape();
  EXPECT_EQ("Assets/MainMenu2.png", Button("MainMenu")->textureName);
  PadButton(VN_PAD_B);
  EXPECT_EQ(menu, LevelManager::Instance()->current);
}
} // namespace
