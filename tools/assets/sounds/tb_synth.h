#pragma once
// A small synthesiser for the game's sound effects: oscillators with gliding
// pitch, seeded noise, envelopes, simple filters, mixing, and a writer of
// 16-bit PCM mono wave images. Samples are floats in -1..1.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tb::synth {

using TSamples = std::vector<float>;

// The number of samples in `seconds` at `rate` samples a second (never negative).
std::size_t Frames(int rate, double seconds);

enum class TWave : std::uint8_t { Sine, Triangle, Square, Saw };

// One oscillator note. The pitch glides exponentially from From to To over
// the note; a vibrato wobbles it by VibratoCents at VibratoHz.
struct TTone {
    TWave Wave = TWave::Sine;
    double From = 440.0; // Hz at the start
    double To = 0.0;     // Hz at the end; 0 keeps From
    double Duty = 0.5;   // the high part of a square wave's cycle
    double VibratoHz = 0.0;
    double VibratoCents = 0.0;
    // Amplitudes of the overtones 2, 3, ... added on top of the fundamental.
    std::vector<double> Overtones;
};

// `seconds` of a tone at full amplitude (before any envelope).
TSamples Render(const TTone& tone, int rate, double seconds);

// White noise from a fixed seed, so every run gives the same samples. With
// holdHz above 0 each random value is held for 1/holdHz seconds (a coarse,
// chip-like noise).
TSamples Noise(int rate, double seconds, std::uint32_t seed, double holdHz = 0.0);

// Envelopes, applied in place.
// Linear attack, linear decay to `sustain`, held, linear release at the end.
void Adsr(TSamples& samples, int rate, double attack, double decay, double sustain, double release);
// Linear attack, then an exponential decay halving every `halfLife` seconds.
void Pluck(TSamples& samples, int rate, double attack, double halfLife);
// A linear rise from `from` to `to` over the whole sound (a swell or a fade).
void Ramp(TSamples& samples, float from, float to);

// One-pole filters; the sweep glides its cutoff exponentially over the sound.
void LowPass(TSamples& samples, int rate, double cutoffHz);
void LowPassSweep(TSamples& samples, int rate, double fromHz, double toHz);
void HighPass(TSamples& samples, int rate, double cutoffHz);
// A resonant band-pass (state-variable filter) around `centreHz`.
void BandPass(TSamples& samples, int rate, double centreHz, double q);
// Repeats of the sound, `delay` seconds apart, each `feedback` times softer;
// the sound grows by the echoes' length.
void Echo(TSamples& samples, int rate, double delay, double feedback, int repeats);
// Soft clipping: brings the peak to 1, then bends it through tanh(drive x),
// so that a burst with a sharp start sounds fuller at the same peak.
void Saturate(TSamples& samples, float drive);
// Rounds each sample to `levels` steps (a coarse, chip-like sound).
void Crush(TSamples& samples, int levels);

// Adds `sound` times `gain` into `into` from `atSeconds` on, growing `into` as needed.
void Mix(TSamples& into, const TSamples& sound, int rate, double atSeconds, float gain = 1.0f);
// `first` followed by `second`.
TSamples Then(TSamples first, const TSamples& second);

// The largest absolute sample.
float Peak(const TSamples& samples);
// Removes a constant offset: subtracts the mean.
void RemoveDc(TSamples& samples);
// Linear fades of `seconds` at both ends (shortened for a very short sound),
// so that the first and the last sample are silent.
void Fade(TSamples& samples, int rate, double seconds);
// Scales the sound so that its peak is `peak`; a silent sound stays silent.
void Normalise(TSamples& samples, float peak);
// The last steps of every effect: no offset, faded ends, peak at `peak`.
void Finish(TSamples& samples, int rate, double fadeSeconds, float peak);

// A canonical 44-byte-header RIFF/WAVE image: 16-bit PCM, one channel.
// Samples are clamped to -1..1 and rounded to the nearest step.
std::string EncodeWave(const TSamples& samples, int rate);

} // namespace tb::synth
