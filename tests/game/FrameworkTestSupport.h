// Helpers shared by the game's framework and editor tests: what the sound manager's
// effect channel plays.
#pragma once

#include <string>

#include "CapturedOutput.h"
#include "Framework/Level.h"
#include "Framework/SoundManager.h"

// True while the effect channel plays the sound opened from file.
inline bool EffectPlaying(const std::string& file)
{
  const int channel = SoundManager::Instance()->effectChannel;
  const VNAudioSound* sound = VNAudioChannelGetSound(channel);
  return VNAudioChannelIsPlaying(channel) && sound && file == VNAudioSoundGetFile(sound);
}

// Silences the effect channel so the next request can be told apart from the last one.
inline void StopEffect()
{
  VNAudioChannelStop(SoundManager::Instance()->effectChannel);
}
