// A playable floor through the level manager: the loading picture, exits with and without
// the access card, capture, the pause, capture and escape screens with their sounds, retry,
// the pad on those screens, the heads-up icons clear of the player, and the tutorial's
// own rules.
#include <SDL.h>
#include <gtest/gtest.h>

#include <set>

#include "Actors/Enemy.h"
#include "Actors/Key.h"
#include "Actors/Player.h"
#include "Levels/TutorialLevel.h"
#include "PlayTestSupport.h"
#include "TestSound.h"

namespace
{
const float kFrame = 1.0f / 60.0f;

const std::vector<std::string> kOpenFloor = {"######", "#P..X#", "#....#", "######"};
const std::vector<std::string> kGuardedFloor = {
    "##########", "#........#", "#.P.E..X.#", "#......E.#", "##########",
};

class PlayTest : public FloorTest
{
protected:
  void EnterGuarded()
  {
    Enter("Guarded", kGuardedFloor);
    Play();
    player = level->players[0];
  }

  void Capture()
  {
    Enemy* guard = level->enemies[0];
    guard->detection = 0.99f;
    level->players[0]->position = {guard->position.x + 30.0f, guard->position.y};
    RunFrame(kFrame);
    ASSERT_EQ(TestLevel::kCaught, level->playState);
  }

  // Registers a sound under one of the game's sound names in place of whatever was loaded
  // there: a short tone, or a silent entry.
  VNAudioSound* Register(const std::string& name, int kind, bool tone = true)
  {
    SoundEntry*& entry = SoundManager::Instance()->sounds[name];
    if (entry)
      VNAudioSoundRelease(entry->sound);
    delete entry;
    entry = new SoundEntry();
    entry->kind = kind;
    const std::string wav = FloorFolder() + "/tone.wav";
    if (tone && WriteToneWav(wav, 440.0f, 3.0f, 0.2f))
      entry->sound = VNAudioSoundOpen(wav.c_str());
    EXPECT_EQ(tone, entry->sound != nullptr) << name;
    return entry->sound;
  }

  // Starts a looping tone as the level's music; returns its channel.
  int StartMusic()
  {
    SoundManager* sound = SoundManager::Instance();
    sound->musicChannel = VNAudioPlay(Register("music.wav", SoundEntry::kMusic), 1);
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

  bool Shown(const char* name) { return Button(name) && !Button(name)->hidden; }

  Player* player = nullptr;
};

TEST_F(PlayTest, TheLoadingPictureHoldsTheFloorStillForOneAndAHalfSeconds)
{
  EXPECT_EQ("tmp", TestLevel("tmp.bin").name) << "a level is named by its file up to the dot";
  Enter("Open", kOpenFloor);
  EXPECT_TRUE(Shown("Loading"));
  EXPECT_FALSE(Shown("Pause"));
  InjectKey('D', true);
  const float x = level->players[0]->position.x;
  for (int i = 0; i < 3; ++i)
    RunFrame(0.5f);
  EXPECT_EQ(TestLevel::kLoading, level->playState);
  EXPECT_FLOAT_EQ(x, level->players[0]->position.x);
  RunFrame(0.5f);
  EXPECT_EQ(TestLevel::kPlaying, level->playState);
  EXPECT_TRUE(Shown("Pause"));
  EXPECT_FLOAT_EQ(0.0f, Button("Loading")->tint.a);
  EXPECT_EQ("", level->messageLabel->text) << "a floor without cards has nothing to tell";
  RunFrame(kFrame);
  EXPECT_GT(level->players[0]->position.x, x);

  EnterFile(FloorFolder() + "/Missing.tmx");
  EXPECT_TRUE(level->players.empty()) << "an unreadable file gives an empty floor";
  Play();
  Press(VN_KEY_ESCAPE);
  EXPECT_EQ(TestLevel::kPaused, level->playState);
}

TEST_F(PlayTest, AnExitWithinFortyUnitsEndsTheFloorWithOneWinSoundAndNoMusic)
{
  Enter("Open", kOpenFloor);
  Play();
  player = level->players[0];
  const int music = StartMusic();
  VNAudioSound* win = Register("Assets/Sound/WinSound.ogg", SoundEntry::kMusic);
  player->position = {level->exits[0].x - 40.1f, level->exits[0].y};
  RunFrame(kFrame);
  EXPECT_EQ(TestLevel::kPlaying, level->playState);
  player->position.x += 0.2f;
  RunFrame(kFrame);
  ASSERT_EQ(TestLevel::kEscaped, level->playState);
  EXPECT_EQ("Assets/Escaped.png", Button("Game_State")->textureName);
  EXPECT_TRUE(Shown("MainMenu"));
  EXPECT_FALSE(Shown("Retry"));
  EXPECT_FALSE(Shown("Pause"));
  EXPECT_FALSE(VNAudioChannelIsPlaying(music));
  const int winChannel = level->endSoundChannel;
  EXPECT_EQ(win, VNAudioChannelGetSound(winChannel));
  EXPECT_FALSE(VNAudioChannelIsLooping(winChannel));

  // Frozen: walking, the pause button and Esc do nothing, and the sound is not started again.
  const VNVec2 at = player->position;
  InjectKey('A', true);
  Click("Pause");
  Press(VN_KEY_ESCAPE);
  for (int i = 0; i < 30; ++i)
    RunFrame(kFrame);
  EXPECT_EQ(TestLevel::kEscaped, level->playState);
  EXPECT_FLOAT_EQ(at.x, player->position.x);
  EXPECT_EQ(winChannel, level->endSoundChannel);
  EXPECT_TRUE(VNAudioChannelIsPlaying(winChannel));
}

TEST_F(PlayTest, OneCardIsRealChosenAtEachLoadAndOnlyItOpensTheExit)
{
  Enter("Cards", {"##########", "#.P.K..X.#", "#..K.....#", "#K.......#", "##########"});
  std::set<size_t> realPlaces;
  VNVec2 real{};
  for (int load = 0; load < 12; ++load)
  {
    ASSERT_EQ(3u, level->keys.size());
    int count = 0;
    for (size_t i = 0; i < 3; ++i)
      if (level->keys[i]->cardValue == Key::kAccessCard)
      {
        ++count;
        realPlaces.insert(i);
        real = level->keys[i]->home;
      }
    EXPECT_EQ(1, count);
    if (load < 11)
      LevelManager::Instance()->ChangeLevel(level->name);
  }
  EXPECT_GT(realPlaces.size(), 1u) << "the real card never moved in 12 loads";
  Play();
  EXPECT_EQ("FIND THE ACCESS CARD TO LEAVE", level->messageLabel->text) << "told as play begins";
  for (int i = 0; i < 3 * 60; ++i)
    RunFrame(kFrame);
  ASSERT_EQ("", level->messageLabel->text);
  player = level->players[0];
  player->position = level->exits[0];
  RunFrame(kFrame);
  EXPECT_EQ(TestLevel::kPlaying, level->playState);
  EXPECT_EQ("FIND THE ACCESS CARD TO LEAVE", level->messageLabel->text);
  for (const Key* key : level->keys)
    if (key->cardValue != Key::kAccessCard)
      player->position = key->home;
  Tap('E');
  ASSERT_EQ(2u, level->keys.size());
  EXPECT_EQ("THAT CARD WAS A DECOY", level->messageLabel->text);
  for (int i = 0; i < 3 * 60; ++i)
    RunFrame(kFrame);
  EXPECT_EQ("", level->messageLabel->text) << "a message outstays its time";
  player->position = real;
  Tap('E');
  EXPECT_EQ("", level->messageLabel->text) << "the real card taken for a decoy";
  ASSERT_EQ(Key::kAccessCard, player->heldCard);
  player->position = level->exits[0];
  RunFrame(kFrame);
  EXPECT_EQ(TestLevel::kEscaped, level->playState);
}

TEST_F(PlayTest, AFullMeterCapturesUnlessThePlayerEscapesInTheSameFrame)
{
  EnterGuarded();
  Capture();
  EXPECT_EQ("Assets/GameOver.png", Button("Game_State")->textureName);
  EXPECT_TRUE(Shown("Retry"));
  EXPECT_TRUE(Shown("MainMenu"));
  EXPECT_FALSE(Shown("Pause"));
  Press(VN_KEY_ESCAPE);
  EXPECT_EQ(TestLevel::kCaught, level->playState) << "Esc does not pause a capture";
  Release(VN_KEY_ESCAPE);

  LevelManager::Instance()->ChangeLevel(level->name);
  Play();
  Enemy* guard = level->enemies[1];
  level->players[0]->position = {level->exits[0].x + 10.0f, level->exits[0].y};
  guard->position = {level->exits[0].x + 10.0f, level->exits[0].y - 30.0f};
  guard->detection = 0.99f;
  RunFrame(kFrame);
  EXPECT_TRUE(guard->caught);
  EXPECT_EQ(TestLevel::kEscaped, level->playState);
  EXPECT_FALSE(Shown("Retry"));
}

TEST_F(PlayTest, EscPausesAndResumesOncePerPressAndTheButtonsDoTheSame)
{
  EnterGuarded();
  Press(VN_KEY_ESCAPE);
  ASSERT_EQ(TestLevel::kPaused, level->playState);
  EXPECT_EQ("Assets/Paused.png", Button("Game_State")->textureName);
  EXPECT_EQ("Assets/Resume.png", Button("Retry")->textureName);
  EXPECT_FALSE(Shown("Pause"));
  // Held Esc does not toggle again, the floor is frozen, and R does not retry.
  InjectKey('D', true);
  const float x = player->position.x;
  for (int i = 0; i < 5; ++i)
    RunFrame(kFrame);
  Press('R');
  EXPECT_EQ(TestLevel::kPaused, level->playState);
  EXPECT_FLOAT_EQ(x, player->position.x);
  EXPECT_EQ(player, level->players[0]);
  Release(VN_KEY_ESCAPE);
  Press(VN_KEY_ESCAPE);
  EXPECT_EQ(TestLevel::kPlaying, level->playState);
  EXPECT_TRUE(Shown("Pause"));
  EXPECT_FALSE(Shown("Game_State"));
  RunFrame(kFrame);
  EXPECT_GT(player->position.x, x);
  Release(VN_KEY_ESCAPE);
  Release('D');

  // A disguise let go of during the pause ends as play resumes.
  Press('J');
  ASSERT_TRUE(player->transformed);
  Press(VN_KEY_ESCAPE);
  Release('J');
  Release(VN_KEY_ESCAPE);
  Press(VN_KEY_ESCAPE);
  Release(VN_KEY_ESCAPE);
  EXPECT_FALSE(player->transformed);

  const int music = StartMusic();
  Click("Pause");
  EXPECT_EQ(TestLevel::kPaused, level->playState);
  Click("Retry");
  EXPECT_EQ(TestLevel::kPlaying, level->playState) << "Resume";
  Click("Pause");
  Click("MainMenu");
  EXPECT_EQ(menu, LevelManager::Instance()->current);
  EXPECT_EQ(1, menu->loads);
  EXPECT_TRUE(VNAudioChannelIsPlaying(music)) << "the level change fades the music, not the pause";
}

TEST_F(PlayTest, RetryAfterACaptureBuildsTheFloorAnew)
{
  EnterGuarded();
  Capture();
  player->stealthUsed = true;
  level->enemies[0]->position.x += 33.0f;
  Press('R');
  EXPECT_EQ(level, LevelManager::Instance()->current);
  EXPECT_EQ(TestLevel::kLoading, level->playState);
  EXPECT_FALSE(level->endSoundPlayed);
  EXPECT_FALSE(Shown("Retry"));
  ASSERT_EQ(1u, level->players.size());
  EXPECT_FALSE(level->players[0]->stealthUsed);
  ASSERT_EQ(2u, level->enemies.size());
  Enemy* guard = level->enemies[0];
  EXPECT_FALSE(guard->caught);
  EXPECT_FLOAT_EQ(0.0f, guard->detection);
  EXPECT_FLOAT_EQ(guard->home.x, guard->position.x);
  EXPECT_EQ(&level->players[0]->position, guard->playerPosition);
  Release('R');

  // A co-worker's path is found in the frame it asks for one.
  Play();
  guard->timer = 0.0f;
  RunFrame(kFrame);
  EXPECT_EQ(Enemy::kVisiting, guard->state);
  EXPECT_FALSE(guard->pathRequested);
  EXPECT_GT(guard->pathCount, 1);

  guard->state = Enemy::kAtDesk;
  Capture();
  Click("Retry");
  EXPECT_EQ(TestLevel::kLoading, level->playState);
  EXPECT_EQ(0, menu->loads);
}

TEST_F(PlayTest, MainMenuFromTheCaptureScreenSilencesTheMusicAndTheLoseSound)
{
  EnterGuarded();
  const int music = StartMusic();
  VNAudioSound* lose = Register("Assets/Sound/LoseSound.ogg", SoundEntry::kMusic);
  Capture();
  const int loseChannel = level->endSoundChannel;
  EXPECT_EQ(lose, VNAudioChannelGetSound(loseChannel));
  RunFrame(kFrame);
  EXPECT_TRUE(VNAudioChannelIsPlaying(music)) << "the music goes on under the lose sound";
  EXPECT_TRUE(VNAudioChannelIsPlaying(loseChannel));

  // Silent hover, click and change sounds take no mixer channel over: the level must stop
  // the lose sound itself.
  for (const char* effect :
       {"Assets/Sound/MouseOver.wav", "Assets/Sound/MouseClick.wav", "Assets/Sound/GameIn.ogg"})
    Register(effect, SoundEntry::kEffect, false);
  Click("MainMenu");
  EXPECT_EQ(menu, LevelManager::Instance()->current);
  EXPECT_FALSE(VNAudioChannelIsPlaying(music));
  EXPECT_FALSE(VNAudioChannelIsPlaying(loseChannel));
}

TEST_F(PlayTest, ThePadDrivesTheScreensWithItsOwnImagesAndHidesTheCursor)
{
  EnterGuarded();
  if (AttachVirtualPad() < 0)
    GTEST_SKIP() << "no virtual game controller available";
  RunFrame(kFrame);
  EXPECT_EQ(SDL_DISABLE, SDL_ShowCursor(SDL_QUERY));
  EXPECT_EQ("Assets/iconJ2.png", Button("iconJ")->textureName);
  PadButton(VN_PAD_START);
  EXPECT_EQ(TestLevel::kPaused, level->playState);
  PadButton(VN_PAD_START);
  EXPECT_EQ(TestLevel::kPlaying, level->playState);
  Capture();
  EXPECT_EQ("Assets/Retry2.png", Button("Retry")->textureName);
  PadButton(VN_PAD_X);
  EXPECT_EQ(TestLevel::kLoading, level->playState);
  Play();
  PadButton(VN_PAD_START);
  PadButton(VN_PAD_B);
  EXPECT_EQ(menu, LevelManager::Instance()->current);
}

TEST_F(PlayTest, TheTutorialPlaysAtOnceKeepsItsPinnedCoWorkersAndGivesStealthBack)
{
  // A floor of its own: the start and the exit first, then the free co-workers, then the
  // pinned ones two cells apart in a row further down.
  using Tutorial = TutorialLevel;
  static_assert(Tutorial::kFirstPinned >= 2, "the start and the exit are the first records");
  const int pinned = Tutorial::kLastPinned - Tutorial::kFirstPinned + 1;
  const int width = 2 * std::max(pinned, Tutorial::kFirstPinned + 2) + 3;
  std::vector<std::string> rows(13, "#" + std::string(width - 2, '.') + "#");
  rows.front() = rows.back() = std::string(width, '#');
  rows[1].replace(1, 3, "P.X");
  for (int i = 2; i < Tutorial::kFirstPinned; ++i)
    rows[3][2 * i + 2] = 'E';
  for (int i = 0; i < pinned; ++i)
    rows[10][2 * i + 2] = 'E';
  EnterGameFolder();
  WriteFloor("TutorialLevel", rows);
  auto* tutorial = new LevelProbe<Tutorial>();
  LevelManager::Instance()->AddLevel(tutorial);
  LevelManager::Instance()->ChangeLevel("TutorialLevel");
  ASSERT_EQ(1u, tutorial->players.size());
  player = tutorial->players[0];
  EXPECT_EQ(TestLevel::kPlaying, tutorial->playState) << "no loading picture";
  EXPECT_TRUE(Shown("Pause"));

  // Stealth comes back after each run, but a press during a run does not lengthen it.
  // Frames stay short: one long frame lets the far co-workers' meters creep past full.
  const auto run = [](int frames)
  {
    for (int i = 0; i < frames; ++i)
      RunFrame(0.1f);
  };
  for (int round = 0; round < 2; ++round)
  {
    Tap('K');
    EXPECT_TRUE(player->stealthed) << round;
    run(10);
    Tap('K');
    run(9);
    EXPECT_TRUE(player->stealthed) << round;
    run(2);
    EXPECT_FALSE(player->stealthed) << round;
  }

  const Enemy* sleeper = nullptr;
  const Enemy* worker = nullptr;
  bool someoneVisited = false;
  for (int frame = 0; frame < 300; ++frame)
  {
    run(1);
    for (const Enemy* enemy : tutorial->enemies)
    {
      someoneVisited |= enemy->state != Enemy::kAtDesk;
      if (enemy->index < Tutorial::kFirstPinned)
        continue;
      ASSERT_EQ(Enemy::kAtDesk, enemy->state) << enemy->index;
      ASSERT_FLOAT_EQ(enemy->home.x, enemy->position.x) << enemy->index;
      sleeper = enemy->index == Tutorial::kSleeper ? enemy : sleeper;
      worker = enemy->index == Tutorial::kWorker ? enemy : worker;
      const int bubble = enemy == sleeper  ? Enemy::kBubbleAsleep
                         : enemy == worker ? Enemy::kBubbleWorking
                                           : Enemy::kBubbleNone;
      ASSERT_EQ(bubble, enemy->bubble) << enemy->index;
    }
  }
  EXPECT_TRUE(someoneVisited) << "the free co-workers still visit each other";
  ASSERT_TRUE(sleeper && worker);

  player->position = {sleeper->position.x, sleeper->position.y - 30.0f};
  for (int frame = 0; frame < 60; ++frame)
    RunFrame(kFrame);
  RunFrame(0.5f); // one long frame, as after a stall
  EXPECT_EQ(TestLevel::kPlaying, tutorial->playState) << "the sleeper never catches";
  player->position = {worker->position.x, worker->position.y - 30.0f};
  for (int frame = 0; frame < 60 && tutorial->playState == TestLevel::kPlaying; ++frame)
    RunFrame(kFrame);
  EXPECT_EQ(TestLevel::kCaught, tutorial->playState);
}

// A floor larger than the view; the player starts in each corner and beside each edge.
TEST_F(PlayTest, ThePlayerIsNeverDrawnUnderTheIconsOrThePauseButton)
{
  std::vector<std::string> rows(22, "#" + std::string(38, '.') + "#");
  rows.front() = rows.back() = std::string(40, '#');
  rows[10][30] = 'X';
  const std::pair<int, int> starts[] = {{1, 1},  {38, 1},  {1, 19}, {38, 19},
                                        {20, 1}, {20, 19}, {1, 10}, {38, 10}};
  for (const auto& [col, row] : starts)
  {
    std::vector<std::string> floor = rows;
    floor[size_t(row)][size_t(col)] = 'P';
    Enter("HeadsUp" + std::to_string(col) + "x" + std::to_string(row), floor);
    Play();
    for (int i = 0; i < 120; ++i)
      RunFrame(kFrame);
    player = level->players.at(0);
    // The card icon too: it shows once the player holds a card.
    SetHidden(Button("keyUI"), false);
    for (const char* name : {"iconJ", "iconK", "Pause", "keyUI"})
    {
      const Button2D* icon = Button(name);
      ASSERT_NE(nullptr, icon) << name;
      ASSERT_FALSE(icon->hidden) << name;
      const bool apartX = std::fabs(icon->position.x - player->position.x) >=
                          icon->width / 2.0f + player->width / 2.0f;
      const bool apartY = std::fabs(icon->position.y - player->position.y) >=
                          icon->height / 2.0f + player->height / 2.0f;
      EXPECT_TRUE(apartX || apartY)
          << name << " covers the player standing at col " << col << ", row " << row;
    }
  }
}
} // namespace
