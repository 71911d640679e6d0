// Helpers shared by the game's framework, world and editor tests: what the sound
// manager's effect channel plays, and a level that logs what is done to it.
#pragma once

#include <functional>
#include <string>
#include <vector>

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

// A level that writes what the framework does to it into a shared log, and runs an
// optional step inside its Load and Update.
class RecordingLevel : public Level
{
public:
  RecordingLevel(const std::string& levelName, std::vector<std::string>& eventLog) : log(eventLog)
  {
    name = levelName;
  }
  ~RecordingLevel() override { log.push_back(name + " destroyed"); }

  void Load() override
  {
    log.push_back(name + " Load");
    if (onLoad)
      onLoad();
  }
  void Unload() override { log.push_back(name + " Unload"); }
  void Update(const float&) override
  {
    log.push_back(name + " Update");
    if (onUpdate)
      onUpdate();
    log.push_back(name + " Update done");
  }
  void Draw() override { log.push_back(name + " Draw"); }

  std::vector<std::string>& log;
  std::function<void()> onLoad;
  std::function<void()> onUpdate;
};
