#include "Framework/SoundManager.h"

#include <stdio.h>

namespace
{
// Channel 0 is kept for the end-of-level sounds, so no effect can cut them off. Music and
// effects share the others, enough that a burst of effects never takes the music's channel
// and effects rarely take each other's.
const int kChannels = 8;
const int kEndSoundChannel = 0;
} // namespace

SoundManager* SoundManager::instance = nullptr;

SoundManager* SoundManager::Instance()
{
  if (!instance)
    instance = new SoundManager();
  return instance;
}

void SoundManager::Destroy()
{
  delete instance;
  instance = nullptr;
}

SoundManager::SoundManager()
{
  VNAudioInit(kChannels);
  VNAudioReserveChannels(kEndSoundChannel + 1);
}

SoundManager::~SoundManager()
{
  for (auto& [name, entry] : sounds)
  {
    VNAudioSoundRelease(entry->sound);
    delete entry;
  }
  sounds.clear();
  VNAudioExit();
}

void SoundManager::Load(std::string name, int kind)
{
  if (sounds.find(name) != sounds.end())
    return;
  SoundEntry* entry = new SoundEntry();
  entry->kind = kind;
  sounds[name] = entry;
  if (kind == SoundEntry::kEffect)
    Open(name);
}

VNAudioSound* SoundManager::Open(const std::string& name)
{
  auto found = sounds.find(name);
  if (found == sounds.end())
    return nullptr;
  SoundEntry* entry = found->second;
  if (!entry->opened && !entry->sound)
    entry->sound = entry->kind == SoundEntry::kMusic ? VNAudioSoundOpenStreamed(name.c_str())
                                                     : VNAudioSoundOpen(name.c_str());
  entry->opened = true;
  return entry->sound;
}

void SoundManager::Play(std::string name, bool loop)
{
  if (sounds.find(name) == sounds.end())
    Load(name, loop ? SoundEntry::kMusic : SoundEntry::kEffect);

  if (sounds[name]->kind == SoundEntry::kEffect)
  {
    PlayNow(name, loop);
    return;
  }
  // Music always loops; it starts from Update once the playing track has faded out.
  pendingMusic = name;
  fading = true;
}

void SoundManager::PlayNow(const std::string& name, bool loop)
{
  auto found = sounds.find(name);
  if (found == sounds.end())
  {
    printf("SoundManager::PlayNow: \"%s\" was never loaded\n", name.c_str());
    return;
  }
  const SoundEntry* entry = found->second;
  Open(name);
  if (entry->kind == SoundEntry::kEffect)
  {
    // An effect is a one-shot for good, even when a later request asks for a loop.
    effectChannel = VNAudioPlay(entry->sound, 0);
    VNAudioChannelSetVolume(effectChannel, effectVolume);
    return;
  }
  // The track that faded out gives its channel back.
  VNAudioChannelStop(musicChannel);
  musicChannel = VNAudioPlay(entry->sound, loop);
  // A new channel plays at full volume; start the track where the fade stands so it
  // fades in from silence instead of bursting out for a frame first.
  VNAudioChannelSetVolume(musicChannel, currentMusicVolume);
}

int SoundManager::PlayEndSound(const std::string& name)
{
  if (sounds.find(name) == sounds.end())
    Load(name, SoundEntry::kEffect);
  const int channel = VNAudioPlayOnChannel(Open(name), 0, kEndSoundChannel);
  VNAudioChannelSetVolume(channel, effectVolume);
  return channel;
}

void SoundManager::Update(const float& dt)
{
  if (fading)
  {
    if (currentMusicVolume > 0.0f)
    {
      currentMusicVolume -= dt;
      VNAudioChannelSetVolume(musicChannel, currentMusicVolume);
    }
    else
    {
      fading = false;
      PlayNow(pendingMusic, true);
    }
  }
  else if (musicVolume > currentMusicVolume)
  {
    currentMusicVolume += dt;
    VNAudioChannelSetVolume(musicChannel, currentMusicVolume);
  }
  VNAudioUpdate();
}
