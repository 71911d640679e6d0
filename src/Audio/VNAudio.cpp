/*
 * VNAudio: sounds and channels on SDL_mixer.
 *
 * Effects are decoded whole into a Mix_Chunk and played on a mixer channel. Music is
 * streamed, yet played on a mixer channel too: SDL_mixer's own music stream would do, but
 * there is only one of it, while the game needs two channels that can both hold a looping
 * sound and whose volumes it sets frame by frame during a cross-fade. A streamed play is a
 * looping chunk of silence whose samples a channel effect replaces with the file's, decoded
 * on the audio thread as the mixer asks for them; the channel's volume and its end work
 * as for any chunk. Decoded whole, a minute of sound would take about 10 MB.
 *
 * A channel handle is a serial number given to each play and never reused in a process;
 * each mixer channel remembers the serial of its current play, so a handle whose play has
 * ended simply matches no channel.
 */
#include "Audio/VNAudio.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <errno.h>
#include <stdio.h>
#include <string.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <string>
#include <vector>

struct VNAudioSound
{
  Mix_Chunk* chunk; // null for a streamed sound
  std::string file;
  double seconds; // a streamed sound's length
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
  // What a streamed play's channel plays and its effect overwrites; the mixer's format.
  std::vector<Uint8> silence;
  Mix_Chunk* silentChunk;
  int frequency;
  Uint16 format;
  int outputChannels;
};

// One play of a streamed sound, with its own decoder. Only the audio thread touches it
// while the channel plays; the channel's end frees it.
struct StreamPlay
{
  OggVorbis_File file;
  SDL_AudioStream* convert;
  bool looping;
  bool ended;
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

// Opens path for decoding; false (with the reason in SDL_GetError) when it is not an Ogg
// Vorbis file that can be read.
bool OpenVorbis(const char* path, OggVorbis_File* file)
{
  FILE* stream = fopen(path, "rb");
  if (!stream)
  {
    SDL_SetError("%s", strerror(errno));
    return false;
  }
  if (ov_open(stream, file, nullptr, 0) != 0)
  {
    fclose(stream);
    SDL_SetError("not an Ogg Vorbis file");
    return false;
  }
  return true;
}

// The channel effect of a streamed play: fills the mixer's buffer with the next decoded
// samples, from the start again when looping, and silence after a one-shot's end.
void FillFromStream(int, void* buffer, int length, void* data)
{
  StreamPlay* play = static_cast<StreamPlay*>(data);
  Uint8* out = static_cast<Uint8*>(buffer);
  bool decodedSinceRewind = true;
  while (length > 0)
  {
    const int got = SDL_AudioStreamGet(play->convert, out, length);
    if (got > 0)
    {
      out += got;
      length -= got;
      continue;
    }
    if (play->ended)
    {
      memset(out, 0, static_cast<size_t>(length));
      return;
    }
    char pcm[4096];
    int section = 0;
    const long read =
        ov_read(&play->file, pcm, sizeof pcm, SDL_BYTEORDER == SDL_BIG_ENDIAN, 2, 1, &section);
    if (read > 0)
    {
      SDL_AudioStreamPut(play->convert, pcm, static_cast<int>(read));
      decodedSinceRewind = true;
    }
    else if (read == OV_HOLE)
      continue;
    // A file that decodes to nothing must not rewind forever.
    else if (read == 0 && play->looping && decodedSinceRewind && ov_pcm_seek(&play->file, 0) == 0)
      decodedSinceRewind = false;
    else
    {
      play->ended = true;
      SDL_AudioStreamFlush(play->convert);
    }
  }
}

void EndStream(int, void* data)
{
  StreamPlay* play = static_cast<StreamPlay*>(data);
  ov_clear(&play->file);
  if (play->convert)
    SDL_FreeAudioStream(play->convert);
  delete play;
}

// Starts a streamed sound on mixer channel index (already halted); false when it cannot.
bool PlayStream(const VNAudioSound* sound, bool loop, int index)
{
  StreamPlay* play = new StreamPlay{};
  if (!OpenVorbis(sound->file.c_str(), &play->file))
  {
    delete play;
    return false;
  }
  const vorbis_info* info = ov_info(&play->file, -1);
  play->convert = SDL_NewAudioStream(AUDIO_S16SYS, static_cast<Uint8>(info->channels),
                                     static_cast<int>(info->rate), sAudio.format,
                                     static_cast<Uint8>(sAudio.outputChannels), sAudio.frequency);
  play->looping = loop;
  // Registered on the halted channel before it starts, so that its first samples are
  // already the file's; from here the channel's end frees the play.
  if (!play->convert || !Mix_RegisterEffect(index, FillFromStream, EndStream, play))
  {
    EndStream(index, play);
    return false;
  }
  // A one-shot's channel ends after the sound: the mixer checks the time once a buffer and
  // the first buffer may start up to one buffer after the play, so allow two.
  const double bufferMs = 1000.0 * kChunkFrames / sAudio.frequency;
  const int ticks = loop ? -1 : static_cast<int>(sound->seconds * 1000.0 + 2.0 * bufferMs + 1.0);
  if (Mix_PlayChannelTimed(index, sAudio.silentChunk, -1, ticks) < 0)
  {
    Mix_UnregisterEffect(index, FillFromStream);
    return false;
  }
  return true;
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
  Mix_QuerySpec(&sAudio.frequency, &sAudio.format, &sAudio.outputChannels);
  sAudio.silence.assign(static_cast<size_t>(kChunkFrames * sAudio.outputChannels *
                                            SDL_AUDIO_BITSIZE(sAudio.format) / 8),
                        0);
  sAudio.silentChunk =
      Mix_QuickLoad_RAW(sAudio.silence.data(), static_cast<Uint32>(sAudio.silence.size()));
  sAudio.voices.assign(static_cast<size_t>(channels), Voice{0, nullptr, false, 0.0f});
  sAudio.open = true;
  return 1;
}

void VNAudioExit(void)
{
  if (!sAudio.open)
    return;
  Mix_HaltChannel(-1);
  Mix_FreeChunk(sAudio.silentChunk);
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
  return new VNAudioSound{chunk, file, 0.0};
}

VNAudioSound* VNAudioSoundOpenStreamed(const char* file)
{
  // Without a mixer, or for a file that is no Ogg Vorbis, it fails or decodes as usual.
  OggVorbis_File vorbis;
  if (!file || !sAudio.open || !OpenVorbis(file, &vorbis))
    return VNAudioSoundOpen(file);
  const double seconds = ov_time_total(&vorbis, -1);
  ov_clear(&vorbis);
  return new VNAudioSound{nullptr, file, seconds};
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
  // Also halts any mixer channel still reading the chunk; a streamed sound has none.
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
  const bool started = sound->chunk ? Mix_PlayChannel(index, sound->chunk, loop ? -1 : 0) >= 0
                                    : PlayStream(sound, loop != 0, index);
  if (!started)
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
