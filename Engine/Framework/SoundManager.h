#pragma once

#include <stdint.h>

#include <map>
#include <string>

#include "Vorn.h"

struct SoundEntry
{
  static constexpr int32_t kMusic = 0;
  static constexpr int32_t kEffect = 1;

  VNAudioSound* sound = nullptr; // null until opened, or when the file could not be opened
  int32_t kind = kEffect;        // fixed at load; decides how every later Play is handled
  bool opened = false;           // music is opened when first played, effects at load
};

// Every sound of the game by file name. Effects play at once on the effect channel; music
// waits for the playing track to fade out, then starts looping and fades in.
class SoundManager
{
public:
  static SoundManager* Instance();
  // Releases every sound, then closes the audio device.
  static void Destroy();

  // Registers name with its kind (SoundEntry::Music or Effect); nothing if already
  // loaded. Effects are decoded at once; music is streamed, opened when first played.
  void Load(std::string name, int kind);
  // The sound of a registered name, opened now if it was not yet; null for a name never
  // loaded or a file that cannot be opened.
  VNAudioSound* Open(const std::string& name);
  // Loads name on first use (looping requests as music, the others as effects), then
  // plays an effect at once or queues music behind the fade.
  void Play(std::string name, bool loop);
  // Starts name now on its channel: an effect once, music looping when loop is set.
  // A name never loaded does nothing.
  void PlayNow(const std::string& name, bool loop);
  // Plays name once at the effect volume on the channel kept for end-of-level sounds,
  // whatever kind it was loaded as (loading it as an effect on first use), replacing the
  // end sound before. Returns the VNAudio channel handle, -1 when nothing plays.
  int PlayEndSound(const std::string& name);
  // One fade step (volumes move by dt per second), then the audio update.
  void Update(const float& dt);

  float musicVolume = 1.0f;        // where music fades in to
  float effectVolume = 1.0f;       // given to each effect as it starts
  float currentMusicVolume = 1.0f; // where the fade stands now
  std::string pendingMusic;        // starts when the fade-out ends
  bool fading = false;
  std::map<std::string, SoundEntry*> sounds;
  int musicChannel = -1; // VNAudio channel handles; -1 until something was started
  int effectChannel = -1;

private:
  SoundManager();
  ~SoundManager();

  static SoundManager* instance;
};
