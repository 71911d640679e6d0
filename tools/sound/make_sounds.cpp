// make_sounds: composes and renders the game's seven music loops, its win, lose and
// level-change sounds and the two button sounds, and writes them under the Assets/Sound/
// folder given as the only argument (default "Assets/Sound"). Exit status 1 when a file
// could not be written.
#include "AudioFiles.h"
#include "Synth.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace
{
const std::vector<int> kMajor{0, 4, 7};
const std::vector<int> kMinor{0, 3, 7};
const std::vector<int> kMinor7{0, 3, 7, 10};
const std::vector<int> kMajor7{0, 4, 7, 11};
const std::vector<int> kDom7{0, 4, 7, 10};
const std::vector<int> kMinor9{0, 3, 7, 10, 14};
const std::vector<int> kDim7{0, 3, 6, 9};

// A mix as long as the given number of four-beat bars.
Mix LoopOfBars(double bpm, int bars)
{
  return Mix(bars * 4 * 60.0 / bpm, bpm);
}

// One drum line: a 16-step pattern per bar ('x' loud, 'o' soft), repeated for bars.
void DrumLine(Mix& mix, Drum drum, int firstBar, int bars, const std::string& steps, float volume)
{
  for (int bar = firstBar; bar < firstBar + bars; ++bar)
    for (size_t i = 0; i < steps.size(); ++i)
      if (steps[i] == 'x' || steps[i] == 'o')
        mix.Hit(drum, bar * 4 + i * 4.0 / steps.size(), steps[i] == 'x' ? volume : volume * 0.5f);
}

// A melody: midi numbers with lengths in beats; 0 is a rest.
struct Tone
{
  int midi;
  double beats;
};

double Melody(Mix& mix, Voice voice, double beat, const std::vector<Tone>& tones, float volume)
{
  for (const Tone& t : tones)
  {
    if (t.midi > 0)
      mix.Note(voice, beat, t.beats * 0.9, t.midi, volume);
    beat += t.beats;
  }
  return beat;
}

std::vector<float> MenuTheme()
{
  // Late-evening lounge: electric piano, walking bass, brushed drums, a vibraphone tune.
  const double bpm = 92;
  const int bars = 16;
  Mix mix = LoopOfBars(bpm, bars);
  const int roots[4] = {50, 43, 48, 45};
  const std::vector<int>* chords[4] = {&kMinor9, &kDom7, &kMajor7, &kDom7};
  for (int bar = 0; bar < bars; ++bar)
  {
    int k = bar % 4;
    mix.Chord(Voice::Piano, bar * 4, 1.2, roots[k] + 12, *chords[k], 0.16f);
    mix.Chord(Voice::Piano, bar * 4 + 2.5, 1.3, roots[k] + 12, *chords[k], 0.12f);
    const int walk[4] = {0, 7, 12, 10};
    for (int b = 0; b < 4; ++b)
      mix.Note(Voice::Bass, bar * 4 + b, 0.9, roots[k] - 12 + walk[b] + (b == 3 && k == 3 ? -1 : 0),
               0.5f);
  }
  DrumLine(mix, Drum::Hat, 0, bars, "x..ox..ox..ox..o", 0.12f);
  DrumLine(mix, Drum::Rim, 0, bars, "....x.......x...", 0.12f);
  DrumLine(mix, Drum::Kick, 0, bars, "x.........x.....", 0.35f);
  const std::vector<Tone> tune = {
      {74, 1.5}, {72, 0.5}, {69, 1}, {65, 1}, {67, 1.5}, {69, 0.5}, {71, 2}, {72, 1.5}, {71, 0.5},
      {67, 1},   {64, 1},   {69, 3}, {0, 1},  {74, 1},   {77, 1},   {76, 1}, {74, 1},   {72, 1.5},
      {71, 0.5}, {67, 2},   {69, 1}, {72, 1}, {71, 1},   {67, 1},   {69, 4}};
  Melody(mix, Voice::Bell, 16, tune, 0.18f);
  Melody(mix, Voice::Bell, 48, {{81, 2}, {79, 2}, {76, 4}, {74, 2}, {72, 2}, {69, 4}}, 0.1f);
  mix.Reverb(0.35f, 0.8f);
  return mix.FinishLoop(0.8f);
}

std::vector<float> TutorialTheme()
{
  // Bright and curious: plucked arpeggios, bouncing bass, shaker, a bell tune.
  const double bpm = 112;
  const int bars = 16;
  Mix mix = LoopOfBars(bpm, bars);
  const int roots[4] = {48, 45, 41, 43};
  const std::vector<int>* chords[4] = {&kMajor, &kMinor, &kMajor, &kMajor};
  for (int bar = 0; bar < bars; ++bar)
  {
    int k = bar % 4;
    const int order[8] = {0, 1, 2, 1, 0, 2, 1, 2};
    for (int i = 0; i < 8; ++i)
    {
      int interval = (*chords[k])[size_t(order[i])] + (i >= 4 ? 12 : 0);
      mix.Note(Voice::Pluck, bar * 4 + i * 0.5, 0.45, roots[k] + 12 + interval, 0.3f);
    }
    mix.Note(Voice::Bass, bar * 4, 0.8, roots[k] - 12, 0.5f);
    mix.Note(Voice::Bass, bar * 4 + 1.5, 0.4, roots[k] - 12, 0.35f);
    mix.Note(Voice::Bass, bar * 4 + 2, 0.8, roots[k] - 5, 0.45f);
  }
  DrumLine(mix, Drum::Shaker, 0, bars, "xoxoxoxoxoxoxoxo", 0.18f);
  DrumLine(mix, Drum::Rim, 0, bars, "....x.......x...", 0.14f);
  DrumLine(mix, Drum::Kick, 4, bars - 4, "x.......x.......", 0.4f);
  const std::vector<Tone> tune = {{72, 1}, {76, 1}, {79, 1.5}, {76, 0.5}, {81, 2}, {79, 1},
                                  {76, 1}, {77, 1}, {76, 1},   {74, 1},   {71, 1}, {72, 4}};
  Melody(mix, Voice::Bell, 16, tune, 0.2f);
  Melody(mix, Voice::Bell, 32, tune, 0.2f);
  Melody(mix, Voice::Bell, 48,
         {{84, 2}, {83, 2}, {81, 2}, {79, 2}, {77, 2}, {76, 2}, {74, 2}, {79, 2}}, 0.14f);
  mix.Reverb(0.25f, 0.75f);
  return mix.FinishLoop(0.8f);
}

std::vector<float> Level1Theme()
{
  // Tiptoeing: a staccato pizzicato bass walking in A minor, rim clicks, sparse bells.
  const double bpm = 100;
  const int bars = 16;
  Mix mix = LoopOfBars(bpm, bars);
  const int lines[4][8] = {{45, 0, 48, 0, 52, 0, 51, 0},
                           {45, 0, 48, 0, 52, 53, 52, 0},
                           {41, 0, 45, 0, 48, 0, 47, 0},
                           {40, 0, 44, 0, 47, 0, 44, 0}};
  for (int bar = 0; bar < bars; ++bar)
  {
    for (int i = 0; i < 8; ++i)
      if (lines[bar % 4][i])
        mix.Note(Voice::Pluck, bar * 4 + i * 0.5, 0.2, lines[bar % 4][i], 0.55f);
    if (bar >= 4)
    {
      const int roots[4] = {57, 57, 53, 52};
      mix.Chord(Voice::Pad, bar * 4, 3.5, roots[bar % 4], bar % 4 == 3 ? kMajor : kMinor, 0.05f);
    }
  }
  DrumLine(mix, Drum::Rim, 0, bars, "..x...x...x..x..", 0.12f);
  DrumLine(mix, Drum::Shaker, 2, bars - 2, "x.o.x.o.x.o.x.oo", 0.14f);
  DrumLine(mix, Drum::Kick, 8, 8, "x.......x..x....", 0.35f);
  const std::vector<Tone> tune = {{76, 0.5}, {0, 1.5}, {77, 0.5}, {76, 0.5}, {0, 1},
                                  {72, 0.5}, {0, 1.5}, {71, 0.5}, {72, 0.5}, {0, 1}};
  for (int start : {16, 32, 48})
    Melody(mix, Voice::Bell, start, tune, 0.12f);
  mix.Reverb(0.3f, 0.78f);
  return mix.FinishLoop(0.8f);
}

std::vector<float> Level2Theme()
{
  // Spy surf: a driving E-minor ostinato, backbeat drums, a twangy square lead.
  const double bpm = 118;
  const int bars = 20;
  Mix mix = LoopOfBars(bpm, bars);
  const int ostinato[8] = {40, 40, 43, 40, 45, 40, 43, 42};
  for (int bar = 0; bar < bars; ++bar)
  {
    int shift = (bar % 8) >= 6 ? 5 : 0;
    for (int i = 0; i < 8; ++i)
      mix.Note(Voice::Bass, bar * 4 + i * 0.5, 0.35, ostinato[i] + shift, 0.5f);
    mix.Chord(Voice::Pad, bar * 4, 4, 52 + shift, kMinor7, 0.04f);
  }
  DrumLine(mix, Drum::Kick, 0, bars, "x.....x...x.....", 0.45f);
  DrumLine(mix, Drum::Snare, 2, bars - 2, "....x.......x...", 0.3f);
  DrumLine(mix, Drum::Hat, 0, bars, "x.x.x.x.x.x.x.xo", 0.12f);
  const std::vector<Tone> tune = {{64, 0.5}, {67, 0.5}, {71, 1},   {70, 0.5}, {71, 0.5}, {69, 1},
                                  {67, 0.5}, {64, 0.5}, {66, 1},   {64, 2},   {0, 2},    {71, 0.5},
                                  {74, 0.5}, {76, 1},   {74, 0.5}, {71, 0.5}, {69, 1},   {67, 1},
                                  {69, 0.5}, {67, 0.5}, {64, 3},   {0, 1}};
  Melody(mix, Voice::Lead, 16, tune, 0.22f);
  Melody(mix, Voice::Lead, 48, tune, 0.22f);
  mix.Reverb(0.22f, 0.72f);
  return mix.FinishLoop(0.8f);
}

std::vector<float> Level3Theme()
{
  // Tension: sixteenth-note arpeggios over C minor, pumping bass, steady kick.
  const double bpm = 126;
  const int bars = 20;
  Mix mix = LoopOfBars(bpm, bars);
  const int roots[4] = {48, 44, 51, 46};
  const std::vector<int>* chords[4] = {&kMinor, &kMajor, &kMajor, &kMajor};
  for (int bar = 0; bar < bars; ++bar)
  {
    int k = bar % 4;
    for (int i = 0; i < 16; ++i)
    {
      int interval = (*chords[k])[size_t(i % 3)] + 12 * ((i / 3) % 2);
      mix.Note(Voice::Arp, bar * 4 + i * 0.25, 0.2, roots[k] + 12 + interval,
               bar < 4 ? 0.12f : 0.18f);
    }
    for (int i = 0; i < 8; ++i)
      mix.Note(Voice::Bass, bar * 4 + i * 0.5, 0.3, roots[k] - 12, i % 2 ? 0.3f : 0.5f);
    mix.Chord(Voice::Pad, bar * 4, 4, roots[k] + 12, *chords[k], 0.04f);
  }
  DrumLine(mix, Drum::Kick, 4, bars - 4, "x...x...x...x...", 0.45f);
  DrumLine(mix, Drum::Snare, 8, bars - 8, "....x.......x..o", 0.28f);
  DrumLine(mix, Drum::Hat, 0, bars, "..x...x...x...x.", 0.14f);
  mix.Reverb(0.25f, 0.75f);
  return mix.FinishLoop(0.8f);
}

std::vector<float> Level4Theme()
{
  // Dread: organ drones, diminished stabs, half-time drums, distant bells.
  const double bpm = 104;
  const int bars = 16;
  Mix mix = LoopOfBars(bpm, bars);
  const int roots[4] = {42, 42, 38, 37};
  for (int bar = 0; bar < bars; ++bar)
  {
    int k = bar % 4;
    mix.Chord(Voice::Organ, bar * 4, 3.8, roots[k] + 12, k == 3 ? kDim7 : kMinor, 0.06f);
    mix.Note(Voice::Bass, bar * 4, 1.5, roots[k] - 12, 0.55f);
    mix.Note(Voice::Bass, bar * 4 + 2.5, 0.5, roots[k] - 12, 0.4f);
    mix.Note(Voice::Bass, bar * 4 + 3, 0.9, roots[k] - 11, 0.45f);
    if (bar % 2 == 1)
      mix.Chord(Voice::Arp, bar * 4 + 3.5, 0.3, roots[k] + 24, kDim7, 0.1f);
  }
  DrumLine(mix, Drum::Kick, 0, bars, "x.........x.....", 0.5f);
  DrumLine(mix, Drum::Snare, 4, bars - 4, "........x.......", 0.32f);
  DrumLine(mix, Drum::Hat, 0, bars, "x.o.x.o.x.o.x.o.", 0.1f);
  for (int start : {8, 24, 40, 56})
    Melody(mix, Voice::Bell, start, {{78, 1}, {77, 1}, {74, 2}, {0, 2}, {73, 2}}, 0.1f);
  mix.Reverb(0.4f, 0.82f);
  return mix.FinishLoop(0.8f);
}

std::vector<float> Level5Theme()
{
  // The final floor: fast arpeggios, a wailing lead, busy drums in D minor.
  const double bpm = 140;
  const int bars = 24;
  Mix mix = LoopOfBars(bpm, bars);
  const int roots[4] = {50, 46, 48, 45};
  const std::vector<int>* chords[4] = {&kMinor, &kMajor, &kMajor, &kMajor};
  for (int bar = 0; bar < bars; ++bar)
  {
    int k = bar % 4;
    for (int i = 0; i < 16; ++i)
    {
      const int order[4] = {0, 1, 2, 1};
      int interval = (*chords[k])[size_t(order[i % 4])] + (i >= 8 ? 12 : 0);
      mix.Note(Voice::Arp, bar * 4 + i * 0.25, 0.18, roots[k] + 12 + interval, 0.16f);
    }
    for (int i = 0; i < 16; ++i)
      mix.Note(Voice::Bass, bar * 4 + i * 0.25, 0.2, roots[k] - 12 + (i % 4 == 2 ? 12 : 0), 0.4f);
    mix.Chord(Voice::Pad, bar * 4, 4, roots[k], *chords[k], 0.05f);
  }
  DrumLine(mix, Drum::Kick, 0, bars, "x.x...x.x.x...x.", 0.5f);
  DrumLine(mix, Drum::Snare, 0, bars, "....x.......x.xo", 0.32f);
  DrumLine(mix, Drum::Hat, 0, bars, "xoxoxoxoxoxoxoxo", 0.1f);
  DrumLine(mix, Drum::OpenHat, 0, bars, "..............x.", 0.12f);
  const std::vector<Tone> tune = {{74, 1}, {77, 1}, {81, 1.5}, {79, 0.5}, {77, 1}, {76, 1},
                                  {74, 2}, {72, 1}, {74, 1},   {76, 1},   {77, 1}, {76, 2},
                                  {73, 2}, {74, 1}, {77, 1},   {81, 2},   {82, 1}, {81, 1},
                                  {79, 2}, {77, 1}, {76, 1},   {74, 1},   {73, 1}, {74, 4}};
  Melody(mix, Voice::Lead, 32, tune, 0.2f);
  Melody(mix, Voice::Lead, 64, tune, 0.2f);
  mix.Reverb(0.2f, 0.72f);
  return mix.FinishLoop(0.8f);
}

std::vector<float> WinJingle()
{
  // A rising major fanfare, then a warm chord dying away into silence.
  const double bpm = 120;
  Mix mix(8.0, bpm);
  Melody(mix, Voice::Lead, 0, {{72, 0.5}, {76, 0.5}, {79, 0.5}, {84, 1.5}}, 0.3f);
  Melody(mix, Voice::Bell, 0, {{84, 0.5}, {88, 0.5}, {91, 0.5}, {96, 1.5}}, 0.12f);
  mix.Chord(Voice::Pad, 1.5, 3, 60, kMajor7, 0.12f);
  mix.Note(Voice::Bass, 1.5, 2, 36, 0.5f);
  mix.Hit(Drum::Kick, 1.5, 0.4f);
  mix.Hit(Drum::OpenHat, 1.5, 0.2f);
  mix.Reverb(0.35f, 0.8f);
  return mix.FinishOneShot(0.8f);
}

std::vector<float> LoseJingle()
{
  // Three falling steps and a low, sagging note.
  const double bpm = 100;
  Mix mix(8.0, bpm);
  Melody(mix, Voice::Lead, 0, {{67, 0.75}, {66, 0.75}, {65, 0.75}, {64, 2.5}}, 0.3f);
  mix.Chord(Voice::Organ, 2.25, 2.5, 52, kDim7, 0.08f);
  mix.Note(Voice::Bass, 2.25, 2.5, 28, 0.5f);
  mix.Hit(Drum::Kick, 2.25, 0.4f);
  mix.Reverb(0.35f, 0.8f);
  return mix.FinishOneShot(0.8f);
}

std::vector<float> LevelChange()
{
  // A filtered noise whoosh rising into a two-note chime.
  Mix mix(1.2, 120);
  std::vector<float> whoosh(size_t(0.5 * kSampleRate));
  uint32_t state = 0x9e3779b9u;
  float low = 0;
  for (size_t i = 0; i < whoosh.size(); ++i)
  {
    state = state * 1664525u + 1013904223u;
    float n = float(state >> 8) / 8388608.0f - 1.0f;
    float t = float(i) / float(whoosh.size());
    low += (0.02f + 0.25f * t) * (n - low);
    whoosh[i] = low * std::sin(3.14159f * t);
  }
  mix.Add(0.0, whoosh, 0.8f);
  mix.Note(Voice::Bell, 0.8, 0.5, 79, 0.3f);
  mix.Note(Voice::Bell, 1.1, 0.8, 84, 0.3f);
  mix.Reverb(0.25f, 0.7f);
  return mix.FinishOneShot(0.7f);
}

std::vector<float> Blip(double seconds, double startHz, double endHz, double decay)
{
  std::vector<float> out(size_t(seconds * kSampleRate));
  double phase = 0;
  for (size_t i = 0; i < out.size(); ++i)
  {
    double t = double(i) / kSampleRate;
    double hz = startHz + (endHz - startHz) * t / seconds;
    phase += hz / kSampleRate;
    double envelope = std::min(1.0, t * 2000) * std::exp(-t * decay);
    double sine = std::sin(2 * 3.14159265 * phase);
    // Square and sine, 60:40.
    out[i] = float(envelope * (sine > 0 ? 0.5 : -0.5) * 0.6 + envelope * 0.4 * sine);
  }
  return out;
}
} // namespace

int main(int argc, char** argv)
{
  const std::string dir = std::string(argc > 1 ? argv[1] : "Assets/Sound") + "/";
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (error)
  {
    std::printf("make_sounds: cannot create %s: %s\n", dir.c_str(), error.message().c_str());
    return 1;
  }
  struct Piece
  {
    const char* file;
    std::vector<float> (*make)();
  };
  const Piece pieces[] = {
      {"MainMenu.ogg", MenuTheme},    {"TutorialBGM.ogg", TutorialTheme},
      {"Level1BGM.ogg", Level1Theme}, {"Level2BGM.ogg", Level2Theme},
      {"Level3BGM.ogg", Level3Theme}, {"Level4BGM.ogg", Level4Theme},
      {"Level5BGM.ogg", Level5Theme}, {"WinSound.ogg", WinJingle},
      {"LoseSound.ogg", LoseJingle},  {"GameIn.ogg", LevelChange},
  };
  int failures = 0;
  for (const Piece& piece : pieces)
  {
    std::vector<float> samples = piece.make();
    std::printf("%-16s %6.1f s\n", piece.file, double(samples.size()) / kSampleRate);
    failures += WriteOgg(dir + piece.file, samples, kSampleRate, 0.2f) ? 0 : 1;
  }
  failures += WriteWav(dir + "MouseClick.wav", Blip(0.05, 1400, 700, 90), kSampleRate) ? 0 : 1;
  failures += WriteWav(dir + "MouseOver.wav", Blip(0.04, 900, 1300, 110), kSampleRate) ? 0 : 1;
  if (failures)
    std::printf("make_sounds: %d file(s) could not be written\n", failures);
  return failures ? 1 : 0;
}
