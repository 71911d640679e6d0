// Synth: a small offline synthesiser for the game's music and effects. Notes are
// rendered one at a time into a mono float buffer at 44.1 kHz; a piece that loops is
// rendered past its end and the tail is folded back onto its start, so the loop point
// has no click and reverb or release tails carry across it.
#pragma once

#include <cstddef>
#include <vector>

constexpr int kSampleRate = 44100;

enum class Voice
{
  Pluck, // plucked string (pizzicato, guitar)
  Piano, // soft electric piano
  Pad,   // detuned saws, slow attack, low-passed
  Bass,  // round sine-triangle bass
  Lead,  // square lead with vibrato
  Arp,   // short bright saw blip
  Bell,  // two-operator FM bell
  Organ, // drawbar-like sine stack
};

enum class Drum
{
  Kick,
  Snare,
  Hat,
  OpenHat,
  Rim,
  Shaker,
};

class Mix
{
public:
  // bpm sets the beat length used by every position and length below (in beats).
  Mix(double seconds, double bpm);

  void Note(Voice voice, double beat, double beats, int midi, float volume);
  void Chord(Voice voice, double beat, double beats, int root, const std::vector<int>& intervals,
             float volume);
  void Hit(Drum drum, double beat, float volume);
  // Adds raw samples (effects built by hand) at a time in seconds.
  void Add(double seconds, const std::vector<float>& samples, float volume);

  // Room reverb over the whole buffer (mix 0..1).
  void Reverb(float mix, float feedback);
  // Folds everything past the loop length onto the start, trims, and normalises the
  // peak to the given level. A piece that does not loop just trims (with a fade).
  std::vector<float> FinishLoop(float peak);
  std::vector<float> FinishOneShot(float peak);

  double BeatSeconds() const { return 60.0 / bpm; }

private:
  std::vector<float> buffer;
  std::size_t length; // the piece's own length in samples; the buffer holds a tail beyond it
  double bpm;
};

double MidiToHz(int midi);
