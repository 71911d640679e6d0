// Channels on two mixer channels: what each keeps, which one gives way when all are busy,
// handles that outlive their sound, and silence instead of failure without a device.
#include "ScratchFolder.h"
#include "TestSound.h"
#include "Vorn.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <vector>

namespace
{

// Polls until the handle's sound has ended; false if it still plays after two seconds.
bool WaitUntilEnded(int channel)
{
  for (int i = 0; i < 200 && VNAudioChannelIsPlaying(channel); ++i)
  {
    SDL_Delay(10);
    VNAudioUpdate();
  }
  return !VNAudioChannelIsPlaying(channel);
}

// The mixer's output from the first sample a sound makes, gathered on the audio thread.
std::vector<Sint16> sHeard;
void Hear(void*, Uint8* stream, int length)
{
  const Sint16* samples = reinterpret_cast<const Sint16*>(stream);
  const Sint16* end = samples + length / 2;
  if (sHeard.empty())
    samples = std::find_if(samples, end, [](Sint16 sample) { return sample != 0; });
  sHeard.insert(sHeard.end(), samples, end);
}

// What the mixer made of one play of sound, until it ended (or two seconds for a loop).
std::vector<Sint16> Listen(VNAudioSound* sound, int loop)
{
  SDL_LockAudio();
  sHeard.clear();
  SDL_UnlockAudio();
  Mix_SetPostMix(Hear, nullptr);
  const int channel = VNAudioPlay(sound, loop);
  WaitUntilEnded(channel);
  VNAudioChannelStop(channel);
  Mix_SetPostMix(nullptr, nullptr);
  return sHeard;
}

class Audio : public ::testing::Test
{
protected:
  void SetUp() override
  {
    ASSERT_TRUE(WriteToneWav(folder.File("long.wav"), 330.0f, 3.0f, 0.5f));
    ASSERT_TRUE(WriteToneWav(folder.File("blip.wav"), 880.0f, 0.03f, 0.5f));
    ASSERT_EQ(1, VNAudioInit(2));
    longTone = VNAudioSoundOpen(folder.File("long.wav").c_str());
    blip = VNAudioSoundOpen(folder.File("blip.wav").c_str());
    ASSERT_TRUE(longTone && blip);
  }
  void TearDown() override
  {
    VNAudioSoundRelease(longTone);
    VNAudioSoundRelease(blip);
    VNAudioExit();
  }

  ScratchFolder folder;
  VNAudioSound* longTone = nullptr;
  VNAudioSound* blip = nullptr;
};

TEST_F(Audio, FullChannelsGiveUpAOneShotThenASilentLoopThenTheOldest)
{
  const int music = VNAudioPlay(longTone, 1);
  const int oneShot = VNAudioPlay(longTone, 0);
  VNAudioChannelSetVolume(music, 0.25f);
  const int next = VNAudioPlay(blip, 0);
  EXPECT_EQ(1, VNAudioChannelIsPlaying(music));
  EXPECT_EQ(0, VNAudioChannelIsPlaying(oneShot));
  VNAudioChannelStop(next);

  const int silentLoop = VNAudioPlay(longTone, 1);
  VNAudioChannelSetVolume(silentLoop, 0.0f);
  const int effect = VNAudioPlay(longTone, 0);
  EXPECT_EQ(1, VNAudioChannelIsPlaying(music));
  EXPECT_EQ(0, VNAudioChannelIsPlaying(silentLoop));
  VNAudioChannelStop(effect);

  VNAudioPlay(longTone, 1);
  const int last = VNAudioPlay(longTone, 1);
  EXPECT_EQ(0, VNAudioChannelIsPlaying(music));
  EXPECT_EQ(longTone, VNAudioChannelGetSound(last));
}

TEST_F(Audio, HandlesOfEndedSoundsAndUnknownHandlesTouchNothing)
{
  const int ended = VNAudioPlay(blip, 0);
  const int looping = VNAudioPlay(blip, 1);
  ASSERT_TRUE(WaitUntilEnded(ended));
  EXPECT_EQ(1, VNAudioChannelIsPlaying(looping)) << "a looping sound does not end by itself";
  VNAudioChannelStop(looping);

  // Both mixer channels are busy again, one of them the channel the ended sound used.
  const int first = VNAudioPlay(longTone, 1);
  const int second = VNAudioPlay(longTone, 1);
  for (int handle : {ended, -1, 0, 123456})
  {
    VNAudioChannelSetVolume(handle, 0.1f);
    VNAudioChannelStop(handle);
    EXPECT_EQ(nullptr, VNAudioChannelGetSound(handle));
  }
  EXPECT_EQ(2.0f, VNAudioChannelGetVolume(first) + VNAudioChannelGetVolume(second));

  EXPECT_EQ(-1, VNAudioPlay(nullptr, 1));
  // Releasing a sound that is playing stops its channel first.
  VNAudioSound* doomed = VNAudioSoundOpen(folder.File("long.wav").c_str());
  const int channel = VNAudioPlay(doomed, 1);
  VNAudioSoundRelease(doomed);
  EXPECT_EQ(0, VNAudioChannelIsPlaying(channel));
  EXPECT_EQ(nullptr, VNAudioChannelGetSound(channel));
}

TEST_F(Audio, WithoutADeviceTheSilentDriverPlaysAndNothingFails)
{
  const int before = VNAudioPlay(longTone, 1);
  VNAudioExit();
  EXPECT_EQ(0, VNAudioIsOpen());
  EXPECT_EQ(0, VNAudioChannelIsPlaying(before));
  EXPECT_EQ(-1, VNAudioPlay(longTone, 1));

  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  const int opened = VNAudioInit(2);
  setenv("SDL_AUDIODRIVER", "dummy", 1); // as every test runs
  ASSERT_EQ(1, opened);
  EXPECT_STREQ("dummy", VNAudioGetDriverName());

  // Sounds opened before still play, in real time, and the old handle names nothing new.
  const int after = VNAudioPlay(blip, 0);
  EXPECT_GT(after, 0);
  EXPECT_NE(before, after);
  EXPECT_EQ(0, VNAudioChannelIsPlaying(before));
  EXPECT_TRUE(WaitUntilEnded(after));
}

// The game's shortest Ogg, streamed, against the same file decoded whole: the same samples,
// a loop that starts over, a one-shot that ends, and a release while it plays.
TEST_F(Audio, AStreamedOggSoundsAsTheDecodedOneLoopsAndEnds)
{
  const char* const kOgg = "Assets/Sound/GameIn.ogg";
  VNAudioSound* decoded = VNAudioSoundOpen(kOgg);
  VNAudioSound* streamed = VNAudioSoundOpenStreamed(kOgg);
  ASSERT_TRUE(decoded && streamed);

  std::vector<Sint16> whole = Listen(decoded, 0);
  whole.erase(std::find_if(whole.rbegin(), whole.rend(), [](Sint16 s) { return s != 0; }).base(),
              whole.end());
  const std::vector<Sint16> stream = Listen(streamed, 0);
  ASSERT_GT(whole.size(), 44100u) << "the decoded sound made no sound";
  ASSERT_GE(stream.size(), whole.size()) << "the streamed one-shot ended early";
  EXPECT_TRUE(std::equal(whole.begin(), whole.end(), stream.begin()));

  const std::vector<Sint16> looped = Listen(streamed, 1);
  ASSERT_GT(looped.size(), whole.size() * 3 / 2) << "the loop ended";
  EXPECT_TRUE(std::equal(whole.begin(), whole.begin() + 1000, looped.begin() + whole.size()))
      << "the loop did not start over after the file's end";

  const int channel = VNAudioPlay(streamed, 1);
  VNAudioSoundRelease(streamed);
  EXPECT_EQ(0, VNAudioChannelIsPlaying(channel));
  VNAudioSoundRelease(decoded);
}

} // namespace
