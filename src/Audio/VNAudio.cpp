/*
 * VNAudio: sounds and channels on SDL_mixer.
 *
 * Every sound, music included, is decoded whole into a Mix_Chunk and played on a mixer
 * channel. SDL_mixer's own music stream would save the decoded memory, but there is only
 * one of it, while the game needs two channels that can both hold a looping sound and
 * whose volumes it sets frame by frame during a cross-fade; with chunks both behave alike.
 * The price is memory: about 10 MB for each minute of decoded sound.
 *
 * A channel handle is a serial number given to each play and never reused in a process;
 * each mixer channel remembers the serial of its current play, so a handle whose play has
 * ended simply matches no channel.
 */
#include "Audio/VNAudio.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

struct VNAudioSound
{
  Mix_Chunk* chunk;
  std::string file;
};

namespace
{

const int kFrequency = 44100;
const int kOutputChannels = 2;
const int kChunkFrames = 1024;

struct Voice
{
  int handle; // 0 while the channel holds no play of ours
  VNAudioSound* sound;
  bool looping;
  float volume;
};

struct AudioState
{
  bool open;
  bool ownsSubsystem;
  std::vector<Voice> voices;
  int reserved; // channels 0 to reserved - 1 only play when asked for by index
};

AudioState sAudio;

// Outside the state on purpose: it survives VNAudioExit, so a handle from an earlier
// session can never name a later play.
int sLastHandle = 0;

int NextHandle()
{
  sLastHandle = sLastHandle == INT32_MAX ? 1 : sLastHandle + 1;
  return sLastHandle;
}

void ClearVoice(Voice& voice)
{
  voice = Voice{0, nullptr, false, 0.0f};
}

// The voice still playing the given handle, or null.
Voice* FindVoice(int handle)
{
  if (!sAudio.open || handle <= 0)
    return nullptr;
  for (size_t i = 0; i < sAudio.voices.size(); ++i)
  {
    Voice& voice = sAudio.voices[i];
    if (voice.handle != handle)
      continue;
    if (!Mix_Playing(static_cast<int>(i)))
    {
      ClearVoice(voice);
      return nullptr;
    }
    return &voice;
  }
  return nullptr;
}

int VoiceIndex(const Voice* voice)
{
  return static_cast<int>(voice - sAudio.voices.data());
}

// Whether channel a is a better one to take over than b when every channel is busy: a
// one-shot before a looping sound (a one-shot loses only its tail, a loop would be gone for
// good), then a silent channel before an audible one, then the older play (handles grow
// with time, wrap-around aside).
bool CheaperToTake(const Voice& a, const Voice& b)
{
  if (a.looping != b.looping)
    return !a.looping;
  const bool aSilent = a.volume <= 0.0f;
  const bool bSilent = b.volume <= 0.0f;
  if (aSilent != bSilent)
    return aSilent;
  return a.handle < b.handle;
}

int PickChannel()
{
  const size_t first = static_cast<size_t>(sAudio.reserved);
  size_t best = first;
  for (size_t i = first; i < sAudio.voices.size(); ++i)
  {
    if (!Mix_Playing(static_cast<int>(i)))
      return static_cast<int>(i);
    if (CheaperToTake(sAudio.voices[i], sAudio.voices[best]))
      best = i;
  }
  return static_cast<int>(best);
}

bool OpenMixer()
{
  return Mix_OpenAudioDevice(kFrequency, AUDIO_S16SYS, kOutputChannels, kChunkFrames, nullptr, 0) ==
         0;
}

// Swaps whatever driver SDL has (or failed to get) for the silent one.
bool StartDummyDriver()
{
  if (SDL_WasInit(SDL_INIT_AUDIO))
    return SDL_AudioInit("dummy") == 0;
  // The hint outranks SDL_AUDIODRIVER from the environment only with override priority.
  SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
  const bool started = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  SDL_ResetHint(SDL_HINT_AUDIODRIVER);
  sAudio.ownsSubsystem = started;
  return started;
}

} // namespace

int VNAudioInit(int channels)
{
  if (sAudio.open)
    return 1;
  if (channels < 1)
    channels = 1;

  sAudio.ownsSubsystem = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  bool opened = sAudio.ownsSubsystem && OpenMixer();
  if (!opened)
  {
    printf("VNAudioInit: no audio device (%s); sound stays silent\n", SDL_GetError());
    opened = StartDummyDriver() && OpenMixer();
  }
  if (!opened)
  {
    printf("VNAudioInit: the silent audio driver failed too (%s)\n", SDL_GetError());
    if (sAudio.ownsSubsystem)
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
    sAudio = AudioState{};
    return 0;
  }

  // WAV decodes without help; OGG needs its decoder loaded first.
  if ((Mix_Init(MIX_INIT_OGG) & MIX_INIT_OGG) == 0)
    printf("VNAudioInit: no OGG decoder (%s); OGG files will not open\n", Mix_GetError());
  Mix_AllocateChannels(channels);
  sAudio.voices.assign(static_cast<size_t>(channels), Voice{0, nullptr, false, 0.0f});
  sAudio.open = true;
  return 1;
}

void VNAudioExit(void)
{
  if (!sAudio.open)
    return;
  Mix_HaltChannel(-1);
  Mix_CloseAudio();
  Mix_Quit();
  if (sAudio.ownsSubsystem)
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  sAudio = AudioState{};
}

void VNAudioUpdate(void)
{
  if (!sAudio.open)
    return;
  for (size_t i = 0; i < sAudio.voices.size(); ++i)
  {
    if (sAudio.voices[i].handle != 0 && !Mix_Playing(static_cast<int>(i)))
      ClearVoice(sAudio.voices[i]);
  }
}

VNAudioSound* VNAudioSoundOpen(const char* file)
{
  if (!file)
    return nullptr;
  if (!sAudio.open)
  {
    printf("VNAudioSoundOpen: cannot open \"%s\": audio is not initialised\n", file);
    return nullptr;
  }
  SDL_RWops* stream = SDL_RWFromFile(file, "rb");
  if (!stream)
  {
    printf("VNAudioSoundOpen: cannot open \"%s\": %s\n", file, SDL_GetError());
    return nullptr;
  }
  Mix_Chunk* chunk = Mix_LoadWAV_RW(stream, 1);
  if (!chunk)
  {
    printf("VNAudioSoundOpen: cannot decode \"%s\": %s\n", file, Mix_GetError());
    return nullptr;
  }
  return new VNAudioSound{chunk, file};
}

void VNAudioSoundRelease(VNAudioSound* sound)
{
  if (!sound)
    return;
  if (sAudio.open)
  {
    for (size_t i = 0; i < sAudio.voices.size(); ++i)
    {
      if (sAudio.voices[i].sound != sound)
        continue;
      Mix_HaltChannel(static_cast<int>(i));
      ClearVoice(sAudio.voices[i]);
    }
  }
  // Also halts any mixer channel still reading the chunk.
  Mix_FreeChunk(sound->chunk);
  delete sound;
}

const char* VNAudioSoundGetFile(const VNAudioSound* sound)
{
  return sound ? sound->file.c_str() : "";
}

int VNAudioPlay(VNAudioSound* sound, int loop)
{
  if (!sAudio.open || !sound)
    return -1;
  return VNAudioPlayOnChannel(sound, loop, PickChannel());
}

int VNAudioPlayOnChannel(VNAudioSound* sound, int loop, int index)
{
  if (!sAudio.open || !sound || index < 0 || index >= VNAudioGetChannelCount())
    return -1;
  Mix_HaltChannel(index);
  Mix_Volume(index, MIX_MAX_VOLUME);
  if (Mix_PlayChannel(index, sound->chunk, loop ? -1 : 0) < 0)
  {
    printf("VNAudioPlay: cannot play \"%s\": %s\n", sound->file.c_str(), Mix_GetError());
    ClearVoice(sAudio.voices[index]);
    return -1;
  }
  Voice& voice = sAudio.voices[index];
  voice = Voice{NextHandle(), sound, loop != 0, 1.0f};
  return voice.handle;
}

void VNAudioReserveChannels(int count)
{
  sAudio.reserved = std::max(0, std::min(count, VNAudioGetChannelCount() - 1));
}

void VNAudioChannelSetVolume(int channel, float volume)
{
  Voice* voice = FindVoice(channel);
  if (!voice)
    return;
  if (!(volume > 0.0f))
    volume = 0.0f;
  if (volume > 1.0f)
    volume = 1.0f;
  voice->volume = volume;
  Mix_Volume(VoiceIndex(voice), static_cast<int>(volume * MIX_MAX_VOLUME + 0.5f));
}

void VNAudioChannelStop(int channel)
{
  Voice* voice = FindVoice(channel);
  if (!voice)
    return;
  Mix_HaltChannel(VoiceIndex(voice));
  ClearVoice(*voice);
}

int VNAudioChannelIsPlaying(int channel)
{
  return FindVoice(channel) ? 1 : 0;
}

float VNAudioChannelGetVolume(int channel)
{
  const Voice* voice = FindVoice(channel);
  return voice ? voice->volume : 0.0f;
}

int VNAudioChannelIsLooping(int channel)
{
  const Voice* voice = FindVoice(channel);
  return voice && voice->looping ? 1 : 0;
}

VNAudioSound* VNAudioChannelGetSound(int channel)
{
  Voice* voice = FindVoice(channel);
  return voice ? voice->sound : nullptr;
}

int VNAudioChannelGetIndex(int channel)
{
  const Voice* voice = FindVoice(channel);
  return voice ? VoiceIndex(voice) : -1;
}

int VNAudioIsOpen(void)
{
  return sAudio.open ? 1 : 0;
}

const char* VNAudioGetDriverName(void)
{
  const char* name = sAudio.open ? SDL_GetCurrentAudioDriver() : nullptr;
  return name ? name : "";
}

int VNAudioGetChannelCount(void)
{
  return static_cast<int>(sAudio.voices.size());
}
