/*
 * VNAudio: sounds opened by file name and played on a small set of mixer channels, each
 * with its own volume and loop flag. A channel is named by an int handle that belongs to
 * one play only: once that sound has ended, been stopped or lost its channel, the handle
 * answers "not playing" and every call on it does nothing. With no usable audio device the
 * module runs on SDL's silent "dummy" driver, so sounds still start, play and end on time.
 */
#pragma once

#include <stdint.h>

extern "C"
{

  /* A sound decoded from a file; opaque to clients. */
  typedef struct VNAudioSound VNAudioSound;

  /* Opens the mixer with `channels` channels (at least 1). Falls back to the silent driver
 * when no device opens. Returns 1 when the mixer is open (on whichever driver), 0 when even
 * the silent driver failed; every other call is then a harmless no-op. Calling it again
 * while open does nothing and returns 1. */
  int VNAudioInit(int channels);
  /* Stops every channel and closes the mixer. Sounds stay valid until released. */
  void VNAudioExit(void);
  /* Once a frame: forgets channels whose sound has ended. */
  void VNAudioUpdate(void);

  /* Decodes a WAV, OGG or other supported file. Null (and one line on standard output)
 * when it cannot be read or the mixer is not open. The caller owns the result. */
  VNAudioSound* VNAudioSoundOpen(const char* file);
  /* Opens an Ogg Vorbis file to be decoded as it plays, each play from its own reader of
 * the file: little memory and no wait for decoding, for music. Any other file is opened
 * as VNAudioSoundOpen does. */
  VNAudioSound* VNAudioSoundOpenStreamed(const char* file);
  /* Stops any channel playing the sound, then frees it. Null is ignored. Valid before or
 * after VNAudioExit. */
  void VNAudioSoundRelease(VNAudioSound* sound);
  /* The file name the sound was opened from. */
  const char* VNAudioSoundGetFile(const VNAudioSound* sound);

  /* Starts the sound at volume 1 on a free channel, looping forever when loop is nonzero.
 * When every channel is busy one is taken over (see VNAudio.cpp for which).
 * Returns the channel handle, or -1 when nothing plays (null sound, mixer closed). */
  int VNAudioPlay(VNAudioSound* sound, int loop);
  /* Starts the sound on mixer channel `index` (0 to count - 1), stopping whatever played
 * there; otherwise as VNAudioPlay. -1 also for an index out of range. */
  int VNAudioPlayOnChannel(VNAudioSound* sound, int loop, int index);
  /* Keeps mixer channels 0 to count - 1 for VNAudioPlayOnChannel: VNAudioPlay neither
 * starts a sound there nor takes one over. At most all channels but one; VNAudioInit
 * starts with none kept. */
  void VNAudioReserveChannels(int count);
  /* Volume from 0 to 1; values outside are clamped. */
  void VNAudioChannelSetVolume(int channel, float volume);
  void VNAudioChannelStop(int channel);
  /* 1 while the handle's sound is still playing. */
  int VNAudioChannelIsPlaying(int channel);

  /* State queries; a handle that is not playing reads 0 / null. */
  float VNAudioChannelGetVolume(int channel);
  int VNAudioChannelIsLooping(int channel);
  VNAudioSound* VNAudioChannelGetSound(int channel);
  /* Which mixer channel (0 to count - 1) the handle plays on, or -1. */
  int VNAudioChannelGetIndex(int channel);

  /* 1 while the mixer is open. */
  int VNAudioIsOpen(void);
  /* The SDL audio driver in use ("pulseaudio", "dummy", "disk"...), or "" when closed. */
  const char* VNAudioGetDriverName(void);
  int VNAudioGetChannelCount(void);
}
