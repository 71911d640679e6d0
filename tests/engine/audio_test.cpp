#include <gtest/gtest.h>
#include <SDL.h>
#include <stdlib.h>

#include <string>

#include "ScratchFolder.h"
#include "TestSound.h"
#include "Vorn.h"

namespace
{

// Polls until the handle's sound has ended; false if it still plays after two seconds.
bool WaitUntilEnded(int channel)
{
  for (int i = 0; i < 200; ++i)
  {
    VNAudioUpdate();
    if (!VNAudioChannelIsPlaying(channel))
      return true;
    SDL_Delay(10);
  }
  return false;
}

class AudioTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    ASSERT_TRUE(WriteToneWav(folder.File("loop.wav"), 440.0f, 1.0f, 0.5f));
    ASSERT_TRUE(WriteToneWav(folder.File("long.wav"), 330.0f, 3.0f, 0.5f));
    ASSERT_TRUE(WriteToneWav(folder.File("blip.wav"), 880.0f, 0.03f, 0.5f));
    ASSERT_EQ(VNAudioInit(2), 1);
    loop = Open("loop.wav");
    longTone = Open("long.wav");
    blip = Open("blip.wav");
  }

  void TearDown() override
  {
    VNAudioSoundRelease(loop);
    VNAudioSoundRelease(longTone);
    VNAudioSoundRelease(blip);
    VNAudioExit();
  }

  VNAudioSound* Open(const char* name)
  {
    VNAudioSound* sound = VNAudioSoundOpen(folder.File(name).c_str());
    EXPECT_NE(sound, nullptr) << name;
    return sound;
  }

  ScratchFolder folder;
  VNAudioSound* loop = nullptr;
  VNAudioSound* longTone = nullptr;
  VNAudioSound* blip = nullptr;
};

TEST_F(AudioTest, ChannelsKeepTheirOwnSoundLoopFlagAndVolume)
{
  EXPECT_EQ(VNAudioGetChannelCount(), 2);
  const int music = VNAudioPlay(loop, 1);
  const int effect = VNAudioPlay(longTone, 0);
  ASSERT_GT(music, 0);
  ASSERT_GT(effect, 0);
  EXPECT_NE(VNAudioChannelGetIndex(music), VNAudioChannelGetIndex(effect));
  EXPECT_EQ(VNAudioChannelGetSound(music), loop);
  EXPECT_STREQ(VNAudioSoundGetFile(VNAudioChannelGetSound(effect)),
               folder.File("long.wav").c_str());
  EXPECT_EQ(VNAudioChannelIsLooping(music), 1);
  EXPECT_EQ(VNAudioChannelIsLooping(effect), 0);
  EXPECT_FLOAT_EQ(VNAudioChannelGetVolume(music), 1.0f);

  VNAudioChannelSetVolume(music, 0.25f);
  EXPECT_NEAR(VNAudioChannelGetVolume(music), 0.25f, 1e-6f);
  EXPECT_NEAR(VNAudioChannelGetVolume(effect), 1.0f, 1e-6f);
  VNAudioChannelSetVolume(music, -0.02f);
  EXPECT_EQ(VNAudioChannelGetVolume(music), 0.0f);
  VNAudioChannelSetVolume(music, 3.0f);
  EXPECT_EQ(VNAudioChannelGetVolume(music), 1.0f);

  VNAudioChannelStop(music);
  EXPECT_EQ(VNAudioChannelIsPlaying(music), 0);
  EXPECT_EQ(VNAudioChannelGetSound(music), nullptr);
  EXPECT_EQ(VNAudioChannelIsPlaying(effect), 1);

  // The looping sound does not end by itself.
  const int looping = VNAudioPlay(blip, 1);
  SDL_Delay(150);
  VNAudioUpdate();
  EXPECT_EQ(VNAudioChannelIsPlaying(looping), 1);
}

TEST_F(AudioTest, HandleOfAnEndedSoundNeverReachesTheNextOne)
{
  const int ended = VNAudioPlay(blip, 0);
  ASSERT_GT(ended, 0);
  ASSERT_TRUE(WaitUntilEnded(ended));
  EXPECT_EQ(VNAudioChannelGetVolume(ended), 0.0f);
  EXPECT_EQ(VNAudioChannelGetIndex(ended), -1);

  // Both channels busy again: one of them is the channel the ended sound used.
  const int first = VNAudioPlay(loop, 1);
  const int second = VNAudioPlay(loop, 1);
  EXPECT_NE(first, ended);
  EXPECT_NE(second, ended);
  VNAudioChannelSetVolume(ended, 0.1f);
  VNAudioChannelStop(ended);
  EXPECT_EQ(VNAudioChannelIsPlaying(first), 1);
  EXPECT_EQ(VNAudioChannelIsPlaying(second), 1);
  EXPECT_EQ(VNAudioChannelGetVolume(first), 1.0f);
  EXPECT_EQ(VNAudioChannelGetVolume(second), 1.0f);
}

TEST_F(AudioTest, FullChannelsGiveUpAOneShotThenASilentLoopThenTheOldest)
{
  const int music = VNAudioPlay(loop, 1);
  const int oneShot = VNAudioPlay(longTone, 0);
  const int next = VNAudioPlay(blip, 0);
  EXPECT_EQ(VNAudioChannelIsPlaying(music), 1);
  EXPECT_EQ(VNAudioChannelIsPlaying(oneShot), 0);
  EXPECT_EQ(VNAudioChannelIsPlaying(next), 1);
  VNAudioChannelStop(next);

  const int silentLoop = VNAudioPlay(loop, 1);
  VNAudioChannelSetVolume(silentLoop, 0.0f);
  const int effect = VNAudioPlay(longTone, 0);
  EXPECT_EQ(VNAudioChannelIsPlaying(music), 1);
  EXPECT_EQ(VNAudioChannelIsPlaying(silentLoop), 0);
  EXPECT_EQ(VNAudioChannelIsPlaying(effect), 1);
  VNAudioChannelStop(effect);

  const int newer = VNAudioPlay(loop, 1);
  const int last = VNAudioPlay(loop, 1);
  EXPECT_EQ(VNAudioChannelIsPlaying(music), 0);
  EXPECT_EQ(VNAudioChannelIsPlaying(newer), 1);
  EXPECT_EQ(VNAudioChannelIsPlaying(last), 1);
}

TEST_F(AudioTest, MissingFilesNullSoundsAndUnknownHandlesAreHarmless)
{
  EXPECT_EQ(VNAudioSoundOpen(folder.File("missing.wav").c_str()), nullptr);
  EXPECT_EQ(VNAudioSoundOpen(nullptr), nullptr);
  EXPECT_EQ(VNAudioPlay(nullptr, 1), -1);
  for (int handle : {-1, 0, 123456})
  {
    VNAudioChannelSetVolume(handle, 0.5f);
    VNAudioChannelStop(handle);
    EXPECT_EQ(VNAudioChannelIsPlaying(handle), 0);
    EXPECT_EQ(VNAudioChannelGetSound(handle), nullptr);
  }
  VNAudioSoundRelease(nullptr);

  // Releasing a sound that is playing stops its channel first.
  VNAudioSound* doomed = Open("long.wav");
  const int channel = VNAudioPlay(doomed, 1);
  ASSERT_EQ(VNAudioChannelIsPlaying(channel), 1);
  VNAudioSoundRelease(doomed);
  EXPECT_EQ(VNAudioChannelIsPlaying(channel), 0);
  EXPECT_EQ(VNAudioChannelGetSound(channel), nullptr);
}

TEST_F(AudioTest, NoDeviceMeansTheSilentDriverAndNothingFails)
{
  const int before = VNAudioPlay(loop, 1);
  VNAudioSound* kept = Open("blip.wav");
  VNAudioExit();
  VNAudioSoundRelease(kept);
  EXPECT_EQ(VNAudioIsOpen(), 0);
  EXPECT_EQ(VNAudioChannelIsPlaying(before), 0);
  EXPECT_EQ(VNAudioPlay(loop, 1), -1);

  const char* previous = getenv("SDL_AUDIODRIVER");
  const std::string saved = previous ? previous : "";
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  const int opened = VNAudioInit(2);
  if (previous)
    setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
  else
    unsetenv("SDL_AUDIODRIVER");

  ASSERT_EQ(opened, 1);
  EXPECT_STREQ(VNAudioGetDriverName(), "dummy");
  // Sounds opened in the earlier session still play; the old handle names nothing new.
  const int after = VNAudioPlay(blip, 0);
  EXPECT_GT(after, 0);
  EXPECT_NE(after, before);
  EXPECT_EQ(VNAudioChannelIsPlaying(before), 0);
  // The silent driver still plays in real time, so one-shots end.
  EXPECT_TRUE(WaitUntilEnded(after));
}

} // namespace
