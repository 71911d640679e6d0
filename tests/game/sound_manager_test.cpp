#include <gtest/gtest.h>
#include <SDL.h>
#include <math.h>
#include <stdint.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "Framework/SoundManager.h"
#include "ScratchFolder.h"
#include "TestSound.h"

namespace
{

const float kTolerance = 1e-5f;

std::string PlayingFile(int channel)
{
  VNAudioSound* sound = VNAudioChannelGetSound(channel);
  return sound ? VNAudioSoundGetFile(sound) : "";
}

class SoundManagerTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    SoundManager::Destroy();
    ASSERT_TRUE(WriteToneWav(trackA, 440.0f, 1.0f, 0.5f));
    ASSERT_TRUE(WriteToneWav(trackB, 660.0f, 1.0f, 0.5f));
    ASSERT_TRUE(WriteToneWav(click, 880.0f, 2.0f, 0.5f));
  }
  void TearDown() override { SoundManager::Destroy(); }

  ScratchFolder folder;
  const std::string trackA = folder.File("TrackA.wav");
  const std::string trackB = folder.File("TrackB.wav");
  const std::string click = folder.File("Click.wav");
};

TEST_F(SoundManagerTest, MusicFadesOutStartsLoopingThenFadesInFrameByFrame)
{
  SoundManager* sound = SoundManager::Instance();
  const float dt = 0.25f;

  // At start the fade stands at full volume, so even the first track waits for it.
  sound->Play(trackA, true);
  EXPECT_TRUE(sound->fading);
  EXPECT_EQ(sound->pendingMusic, trackA);
  for (float expected : {0.75f, 0.5f, 0.25f, 0.0f})
  {
    sound->Update(dt);
    EXPECT_NEAR(sound->currentMusicVolume, expected, kTolerance);
    EXPECT_EQ(VNAudioChannelIsPlaying(sound->musicChannel), 0);
  }
  sound->Update(dt);
  EXPECT_FALSE(sound->fading);
  const int first = sound->musicChannel;
  EXPECT_EQ(PlayingFile(first), trackA);
  EXPECT_EQ(VNAudioChannelIsLooping(first), 1);
  EXPECT_EQ(VNAudioChannelGetVolume(first), 0.0f);
  for (float expected : {0.25f, 0.5f, 0.75f, 1.0f, 1.0f})
  {
    sound->Update(dt);
    EXPECT_NEAR(sound->currentMusicVolume, expected, kTolerance);
    EXPECT_NEAR(VNAudioChannelGetVolume(first), expected, kTolerance);
  }

  // The next track: the playing one fades out, then the new one takes over the music
  // channel handle while the old one is left silent.
  sound->Play(trackB, true);
  for (float expected : {0.75f, 0.5f, 0.25f, 0.0f})
  {
    sound->Update(dt);
    EXPECT_NEAR(VNAudioChannelGetVolume(first), expected, kTolerance);
    EXPECT_EQ(sound->musicChannel, first);
  }
  sound->Update(dt);
  const int second = sound->musicChannel;
  EXPECT_NE(second, first);
  EXPECT_EQ(PlayingFile(second), trackB);
  EXPECT_EQ(VNAudioChannelGetVolume(second), 0.0f);
  sound->Update(dt);
  EXPECT_NEAR(VNAudioChannelGetVolume(second), 0.25f, kTolerance);

  // Both channels hold a looping track now; an effect must not cut the audible one.
  sound->Play(click, false);
  EXPECT_EQ(PlayingFile(sound->effectChannel), click);
  EXPECT_EQ(VNAudioChannelIsPlaying(second), 1);
}

TEST_F(SoundManagerTest, TwoMusicRequestsWithinASecondStartOnlyTheSecond)
{
  SoundManager* sound = SoundManager::Instance();
  const float dt = 1.0f / 60.0f;
  sound->Play(trackA, true);
  int frames = 0;
  for (; frames < 30; ++frames)
    sound->Update(dt);
  sound->Play(trackB, true);

  // The fade goes on from where it stands: about one second after the first request.
  while (!VNAudioChannelIsPlaying(sound->musicChannel) && frames < 200)
  {
    sound->Update(dt);
    ++frames;
  }
  EXPECT_GE(frames, 60);
  EXPECT_LE(frames, 62);
  EXPECT_EQ(PlayingFile(sound->musicChannel), trackB);

  for (int i = 0; i < 120; ++i)
  {
    sound->Update(dt);
    ASSERT_EQ(PlayingFile(sound->musicChannel), trackB);
  }
  EXPECT_GE(sound->currentMusicVolume, sound->musicVolume);
}

TEST_F(SoundManagerTest, KindIsFixedByTheFirstRequest)
{
  SoundManager* sound = SoundManager::Instance();
  sound->effectVolume = 0.5f;

  sound->Play(click, false);
  const int first = sound->effectChannel;
  EXPECT_EQ(PlayingFile(first), click);
  EXPECT_EQ(VNAudioChannelIsLooping(first), 0);
  EXPECT_NEAR(VNAudioChannelGetVolume(first), 0.5f, kTolerance);

  // Asked again with loop on, it is still an effect: at once, once, music untouched.
  sound->Play(click, true);
  EXPECT_NE(sound->effectChannel, first);
  EXPECT_EQ(PlayingFile(sound->effectChannel), click);
  EXPECT_EQ(VNAudioChannelIsLooping(sound->effectChannel), 0);
  EXPECT_FALSE(sound->fading);
  EXPECT_EQ(sound->musicChannel, -1);

  // Loaded up front as music, a one-shot request still goes through the fade and loops.
  sound->Load(trackA, SoundEntry::kMusic);
  sound->Load(trackA, SoundEntry::kEffect);
  EXPECT_EQ(sound->sounds[trackA]->kind, SoundEntry::kMusic);
  sound->currentMusicVolume = 0.0f;
  sound->Play(trackA, false);
  EXPECT_EQ(VNAudioChannelIsPlaying(sound->musicChannel), 0);
  sound->Update(1.0f / 60.0f);
  EXPECT_EQ(PlayingFile(sound->musicChannel), trackA);
  EXPECT_EQ(VNAudioChannelIsLooping(sound->musicChannel), 1);
}

TEST_F(SoundManagerTest, MissingFilesAreSilentForThemselvesOnly)
{
  SoundManager* sound = SoundManager::Instance();
  const std::string missing = folder.File("Missing.ogg");
  sound->Play(missing, false);
  ASSERT_EQ(sound->sounds.count(missing), 1u);
  EXPECT_EQ(sound->sounds[missing]->sound, nullptr);
  EXPECT_EQ(VNAudioChannelIsPlaying(sound->effectChannel), 0);

  sound->currentMusicVolume = 0.0f;
  sound->Play(folder.File("MissingMusic.ogg"), true);
  sound->Update(1.0f / 60.0f);
  EXPECT_FALSE(sound->fading);
  EXPECT_EQ(VNAudioChannelIsPlaying(sound->musicChannel), 0);

  sound->PlayNow("never loaded", true);
  sound->Play(click, false);
  EXPECT_EQ(PlayingFile(sound->effectChannel), click);
}

TEST_F(SoundManagerTest, DestroyReleasesEverythingAndTheNextInstanceStartsFresh)
{
  SoundManager* sound = SoundManager::Instance();
  sound->Play(click, false);
  const int oldEffect = sound->effectChannel;
  ASSERT_EQ(VNAudioChannelIsPlaying(oldEffect), 1);
  SoundManager::Destroy();
  EXPECT_EQ(VNAudioIsOpen(), 0);

  sound = SoundManager::Instance();
  EXPECT_EQ(VNAudioIsOpen(), 1);
  EXPECT_TRUE(sound->sounds.empty());
  EXPECT_EQ(sound->effectChannel, -1);
  EXPECT_EQ(VNAudioChannelIsPlaying(oldEffect), 0);
}

// Root mean square of each 10 ms of a 16-bit stereo 44100 Hz recording.
std::vector<double> Loudness(const std::string& file)
{
  const std::string bytes = ReadText(file);
  const int16_t* samples = reinterpret_cast<const int16_t*>(bytes.data());
  const size_t count = bytes.size() / sizeof(int16_t);
  const size_t window = 441 * 2;
  std::vector<double> loudness;
  for (size_t start = 0; start + window <= count; start += window)
  {
    double sum = 0.0;
    for (size_t i = start; i < start + window; ++i)
      sum += static_cast<double>(samples[i]) * samples[i];
    loudness.push_back(sqrt(sum / window));
  }
  return loudness;
}

// Runs the frames in real time, so the recording follows the fade.
void RunFrames(SoundManager* sound, int frames, float dt)
{
  for (int i = 0; i < frames; ++i)
  {
    sound->Update(dt);
    SDL_Delay(20);
  }
}

TEST_F(SoundManagerTest, FadeReallyLowersWhatIsHeard)
{
  const std::string recording = folder.File("heard.raw");
  const char* previous = getenv("SDL_AUDIODRIVER");
  const std::string saved = previous ? previous : "";
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", recording.c_str(), 1);
  SoundManager* sound = SoundManager::Instance();
  if (previous)
    setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
  else
    unsetenv("SDL_AUDIODRIVER");
  unsetenv("SDL_DISKAUDIOFILE");
  ASSERT_STREQ(VNAudioGetDriverName(), "disk");

  // Fades of twenty frames each: track A in, held, out; track B in, held.
  const float dt = 0.05f;
  sound->currentMusicVolume = 0.0f;
  sound->Play(trackA, true);
  RunFrames(sound, 1 + 20 + 15, dt);
  sound->Play(trackB, true);
  RunFrames(sound, 20 + 1 + 20 + 15, dt);
  SoundManager::Destroy();

  const std::vector<double> loudness = Loudness(recording);
  ASSERT_GT(loudness.size(), 50u);
  double full = 0.0;
  for (double value : loudness)
    full = fmax(full, value);
  ASSERT_GT(full, 1000.0);

  // Find A at full volume, then the silence the fade-out leads to, then B at full.
  size_t i = 0;
  while (i < loudness.size() && loudness[i] < 0.9 * full)
    ++i;
  ASSERT_LT(i, loudness.size()) << "track A never reached full volume";
  while (i < loudness.size() && loudness[i] >= 0.9 * full)
    ++i;
  int halfway = 0;
  while (i < loudness.size() && loudness[i] >= 0.02 * full)
  {
    halfway += loudness[i] > 0.2 * full && loudness[i] < 0.8 * full;
    ++i;
  }
  ASSERT_LT(i, loudness.size()) << "track A never faded to silence";
  EXPECT_GE(halfway, 3) << "track A was cut off instead of fading out";

  // Track B starts from silence and rises gradually.
  while (i < loudness.size() && loudness[i] < 0.02 * full)
    ++i;
  ASSERT_LT(i, loudness.size()) << "track B was never heard";
  EXPECT_LT(loudness[i], 0.5 * full) << "track B burst in at full volume";
  bool reachedFull = false;
  for (; i < loudness.size(); ++i)
    reachedFull = reachedFull || loudness[i] >= 0.9 * full;
  EXPECT_TRUE(reachedFull) << "track B never faded in";
}

} // namespace
