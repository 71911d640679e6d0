// Synth: voices, drums, reverb and loop folding.
#include "Synth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace
{
constexpr double kPi = 3.14159265358979323846;
constexpr double kTailSeconds = 4.0;

// A tiny deterministic noise source (the same music on every run).
struct Noise
{
  uint32_t state = 0x12345678u;
  float Next()
  {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return float(state) / 2147483648.0f - 1.0f;
  }
};

float Saw(double phase)
{
  return float(2.0 * (phase - std::floor(phase)) - 1.0);
}

float Square(double phase, double duty)
{
  return (phase - std::floor(phase)) < duty ? 1.0f : -1.0f;
}

float Triangle(double phase)
{
  double p = phase - std::floor(phase);
  return float(p < 0.5 ? 4 * p - 1 : 3 - 4 * p);
}

// Attack, then exponential decay towards sustain, and a release after the note's end.
float Envelope(double t, double length, double attack, double decay, double sustain, double release)
{
  double level;
  if (t < attack)
    level = t / attack;
  else
    level = sustain + (1 - sustain) * std::exp(-(t - attack) / decay);
  if (t > length)
    level *= std::exp(-(t - length) / release);
  return float(level);
}

std::vector<float> RenderVoice(Voice voice, double seconds, double hz, Noise& noise)
{
  double release =
      voice == Voice::Pad ? 1.2 : (voice == Voice::Pluck || voice == Voice::Bell ? 0.6 : 0.12);
  size_t count = size_t((seconds + release * 5) * kSampleRate);
  std::vector<float> out(count, 0.0f);
  if (voice == Voice::Pluck)
  {
    // Karplus-Strong: a noise burst in a delay line, averaged as it circulates.
    size_t period = std::max<size_t>(2, size_t(kSampleRate / hz));
    // Smoothed noise gives a rounder, less buzzy pluck than raw white noise.
    std::vector<float> line(period);
    float smooth = 0;
    for (float& v : line)
    {
      smooth += 0.5f * (noise.Next() - smooth);
      v = smooth * 1.6f;
    }
    float last = 0;
    for (size_t i = 0; i < count; ++i)
    {
      size_t k = i % period;
      float v = line[k];
      float damp = double(i) / kSampleRate > seconds ? 0.47f : 0.4985f;
      line[k] = damp * (v + last);
      last = v;
      out[i] = v * 0.8f;
    }
    return out;
  }
  float lowpass = 0;
  for (size_t i = 0; i < count; ++i)
  {
    double t = double(i) / kSampleRate;
    double phase = hz * t;
    float s = 0;
    switch (voice)
    {
    case Voice::Piano:
    {
      float env = Envelope(t, seconds, 0.005, 0.6, 0.25, 0.25);
      float trem = 1.0f + 0.15f * float(std::sin(2 * kPi * 5.0 * t));
      s = env * trem *
          float(std::sin(2 * kPi * phase) + 0.25 * std::sin(4 * kPi * phase) * std::exp(-t * 6));
      break;
    }
    case Voice::Pad:
    {
      float env = Envelope(t, seconds, 0.4, 1.0, 0.8, 1.2);
      float raw = (Saw(phase * 1.003) + Saw(phase * 0.997) + 0.5f * Saw(phase * 2.001)) / 2.5f;
      lowpass += 0.06f * (raw - lowpass);
      s = env * lowpass * 1.6f;
      break;
    }
    case Voice::Bass:
    {
      float env = Envelope(t, seconds, 0.006, 0.35, 0.55, 0.06);
      s = env * (0.75f * float(std::sin(2 * kPi * phase)) + 0.35f * Triangle(phase));
      break;
    }
    case Voice::Lead:
    {
      float vib = float(0.006 * std::sin(2 * kPi * 5.5 * t) * std::min(1.0, t * 3));
      float env = Envelope(t, seconds, 0.01, 0.3, 0.7, 0.08);
      float raw = Square(phase * (1 + vib), 0.35);
      lowpass += 0.18f * (raw - lowpass);
      s = env * lowpass * 0.6f;
      break;
    }
    case Voice::Arp:
    {
      float env = Envelope(t, seconds, 0.003, 0.09, 0.0, 0.05);
      float raw = Saw(phase) * 0.6f + Square(phase * 0.5, 0.5) * 0.3f;
      lowpass += 0.25f * (raw - lowpass);
      s = env * lowpass;
      break;
    }
    case Voice::Bell:
    {
      float env = Envelope(t, seconds, 0.002, 0.8, 0.0, 0.6);
      double mod = 2.2 * std::exp(-t * 3) * std::sin(2 * kPi * phase * 3.5);
      s = env * float(std::sin(2 * kPi * phase + mod));
      break;
    }
    case Voice::Organ:
    {
      float env = Envelope(t, seconds, 0.02, 1.0, 0.9, 0.08);
      s = env * float(0.6 * std::sin(2 * kPi * phase) + 0.3 * std::sin(4 * kPi * phase) +
                      0.15 * std::sin(6 * kPi * phase) + 0.1 * std::sin(8 * kPi * phase));
      break;
    }
    case Voice::Pluck: break;
    }
    out[i] = s;
  }
  return out;
}

std::vector<float> RenderDrum(Drum drum, Noise& noise)
{
  double seconds = drum == Drum::OpenHat ? 0.35 : (drum == Drum::Kick ? 0.45 : 0.25);
  size_t count = size_t(seconds * kSampleRate);
  std::vector<float> out(count);
  float hp = 0, lastNoise = 0, band = 0;
  double phase = 0;
  for (size_t i = 0; i < count; ++i)
  {
    double t = double(i) / kSampleRate;
    float n = noise.Next();
    // A crude high-pass: the noise minus its previous value.
    float high = n - lastNoise;
    lastNoise = n;
    float s = 0;
    switch (drum)
    {
    case Drum::Kick:
    {
      double hz = 45 + 110 * std::exp(-t * 28);
      phase += hz / kSampleRate;
      s = float(std::sin(2 * kPi * phase) * std::exp(-t * 9));
      if (i < 200)
        s += 0.3f * n * float(1 - i / 200.0);
      break;
    }
    case Drum::Snare:
    {
      phase += 190.0 / kSampleRate;
      band += 0.35f * (n - band);
      s = float(0.45 * std::sin(2 * kPi * phase) * std::exp(-t * 30) +
                0.7 * band * std::exp(-t * 16));
      break;
    }
    case Drum::Hat:
      hp += 0.6f * (high - hp);
      s = float(hp * std::exp(-t * 70)) * 0.6f;
      break;
    case Drum::OpenHat:
      hp += 0.6f * (high - hp);
      s = float(hp * std::exp(-t * 12)) * 0.45f;
      break;
    case Drum::Rim:
      phase += 1700.0 / kSampleRate;
      s = float(std::sin(2 * kPi * phase) * std::exp(-t * 90) + 0.3 * high * std::exp(-t * 120));
      break;
    case Drum::Shaker:
    {
      float env = float(std::min(1.0, t * 60) * std::exp(-t * 35));
      s = high * env * 0.4f;
      break;
    }
    }
    out[i] = s;
  }
  return out;
}

// Every note and hit starts with a two-millisecond ramp: a sound that jumps straight to
// full level clicks, also where a loop starts on a downbeat.
std::vector<float> Ramped(std::vector<float> samples)
{
  const size_t ramp = std::min<size_t>(samples.size(), kSampleRate / 500);
  for (size_t i = 0; i < ramp; ++i)
    samples[i] *= float(i) / float(ramp);
  return samples;
}

Noise& SharedNoise()
{
  static Noise noise;
  return noise;
}
} // namespace

double MidiToHz(int midi)
{
  return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

Mix::Mix(double seconds, double bpm)
    : buffer(size_t((seconds + kTailSeconds) * kSampleRate), 0.0f),
      length(size_t(seconds * kSampleRate)), bpm(bpm)
{
}

void Mix::Add(double seconds, const std::vector<float>& samples, float volume)
{
  size_t start = size_t(seconds * kSampleRate);
  for (size_t i = 0; i < samples.size() && start + i < buffer.size(); ++i)
    buffer[start + i] += samples[i] * volume;
}

void Mix::Note(Voice voice, double beat, double beats, int midi, float volume)
{
  Add(beat * BeatSeconds(),
      Ramped(RenderVoice(voice, beats * BeatSeconds(), MidiToHz(midi), SharedNoise())), volume);
}

void Mix::Chord(Voice voice, double beat, double beats, int root, const std::vector<int>& intervals,
                float volume)
{
  for (int interval : intervals)
    Note(voice, beat, beats, root + interval, volume);
}

void Mix::Hit(Drum drum, double beat, float volume)
{
  Add(beat * BeatSeconds(), Ramped(RenderDrum(drum, SharedNoise())), volume);
}

void Mix::Reverb(float mix, float feedback)
{
  // Four parallel combs into two all-passes (Schroeder), mixed back in.
  const size_t combs[4] = {1557, 1617, 1491, 1422};
  const size_t allpasses[2] = {225, 556};
  std::vector<float> wet(buffer.size(), 0.0f);
  for (size_t delay : combs)
  {
    std::vector<float> line(delay, 0.0f);
    float damp = 0;
    for (size_t i = 0; i < buffer.size(); ++i)
    {
      float out = line[i % delay];
      damp += 0.3f * (out - damp);
      line[i % delay] = buffer[i] + damp * feedback;
      wet[i] += out * 0.25f;
    }
  }
  for (size_t delay : allpasses)
  {
    std::vector<float> line(delay, 0.0f);
    for (size_t i = 0; i < wet.size(); ++i)
    {
      float delayed = line[i % delay];
      float in = wet[i];
      line[i % delay] = in + delayed * 0.5f;
      wet[i] = delayed - in * 0.5f;
    }
  }
  for (size_t i = 0; i < buffer.size(); ++i)
    buffer[i] = buffer[i] * (1 - mix * 0.5f) + wet[i] * mix;
}

namespace
{
void Normalise(std::vector<float>& samples, float peak)
{
  float mean = 0;
  for (float s : samples)
    mean += s;
  mean /= float(std::max<size_t>(1, samples.size()));
  float top = 1e-6f;
  for (float& s : samples)
  {
    s -= mean;
    top = std::max(top, std::fabs(s));
  }
  for (float& s : samples)
    s *= peak / top;
}
} // namespace

std::vector<float> Mix::FinishLoop(float peak)
{
  std::vector<float> out(buffer.begin(), buffer.begin() + long(length));
  for (size_t i = length; i < buffer.size(); ++i)
    out[(i - length) % length] += buffer[i];
  Normalise(out, peak);
  return out;
}

std::vector<float> Mix::FinishOneShot(float peak)
{
  std::vector<float> out(buffer.begin(), buffer.begin() + long(length));
  Normalise(out, peak);
  size_t fade = std::min<size_t>(out.size(), kSampleRate / 20);
  for (size_t i = 0; i < fade; ++i)
    out[out.size() - 1 - i] *= float(i) / float(fade);
  return out;
}
