#include "tools/assets/sounds/tb_synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tb::synth {

namespace {

constexpr double Pi = std::numbers::pi;

void PutLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>(value >> (8 * i) & 0xFF);
}

// One cycle of a wave at phase 0..1.
double Wave(TWave wave, double phase, double duty) {
    switch (wave) {
    case TWave::Sine:
        return std::sin(2.0 * Pi * phase);
    case TWave::Triangle:
        return 1.0 - 4.0 * std::abs(phase - 0.5);
    case TWave::Square:
        return phase < duty ? 1.0 : -1.0;
    case TWave::Saw:
        return 2.0 * phase - 1.0;
    }
    return 0.0;
}

// The smoothing factor of a one-pole filter with its corner at `cutoffHz`.
double OnePole(int rate, double cutoffHz) {
    return 1.0 - std::exp(-2.0 * Pi * cutoffHz / rate);
}

} // namespace

std::size_t Frames(int rate, double seconds) {
    return seconds <= 0.0 ? 0 : static_cast<std::size_t>(std::lround(seconds * rate));
}

TSamples Render(const TTone& tone, int rate, double seconds) {
    const std::size_t n = Frames(rate, seconds);
    TSamples out(n);
    const double to = tone.To > 0.0 ? tone.To : tone.From;
    const double ratio = to / tone.From;
    double total = 1.0;
    for (double overtone : tone.Overtones)
        total += std::abs(overtone);
    double phase = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = n > 1 ? static_cast<double>(i) / static_cast<double>(n - 1) : 0.0;
        double freq = tone.From * std::pow(ratio, t);
        if (tone.VibratoHz > 0.0) {
            const double wobble =
                std::sin(2.0 * Pi * tone.VibratoHz * static_cast<double>(i) / rate);
            freq *= std::pow(2.0, tone.VibratoCents * wobble / 1200.0);
        }
        double value = Wave(tone.Wave, phase, tone.Duty);
        for (std::size_t k = 0; k < tone.Overtones.size(); ++k) {
            const double harmonic = static_cast<double>(k + 2);
            if (freq * harmonic >= rate / 2.0) break; // above what the rate can carry
            value +=
                tone.Overtones[k] * Wave(tone.Wave, std::fmod(phase * harmonic, 1.0), tone.Duty);
        }
        out[i] = static_cast<float>(value / total);
        phase += freq / rate;
        phase -= std::floor(phase);
    }
    return out;
}

TSamples Noise(int rate, double seconds, std::uint32_t seed, double holdHz) {
    const std::size_t n = Frames(rate, seconds);
    TSamples out(n);
    std::uint32_t state = seed != 0 ? seed : 0x9E3779B9u; // xorshift never leaves 0
    const std::size_t hold =
        holdHz > 0.0 ? std::max<std::size_t>(1, static_cast<std::size_t>(rate / holdHz)) : 1;
    float value = 0.0f;
    for (std::size_t i = 0; i < n; ++i) {
        if (i % hold == 0) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            value = static_cast<float>(state) / 2147483648.0f - 1.0f;
        }
        out[i] = value;
    }
    return out;
}

void Adsr(TSamples& samples, int rate, double attack, double decay, double sustain,
          double release) {
    const std::size_t n = samples.size();
    const std::size_t a = std::min(Frames(rate, attack), n);
    const std::size_t d = Frames(rate, decay);
    const std::size_t r = std::min(Frames(rate, release), n - a);
    for (std::size_t i = 0; i < n; ++i) {
        double gain = sustain;
        if (i < a)
            gain = static_cast<double>(i) / static_cast<double>(a);
        else if (i - a < d)
            gain = 1.0 - (1.0 - sustain) * static_cast<double>(i - a) / static_cast<double>(d);
        if (i >= n - r) gain *= static_cast<double>(n - i) / static_cast<double>(r);
        samples[i] = static_cast<float>(samples[i] * gain);
    }
}

void Pluck(TSamples& samples, int rate, double attack, double halfLife) {
    const std::size_t a = std::min(Frames(rate, attack), samples.size());
    const double perSample = std::pow(0.5, 1.0 / (halfLife * rate));
    double gain = 1.0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (i < a) {
            samples[i] = static_cast<float>(samples[i] * static_cast<double>(i) / a);
        } else {
            samples[i] = static_cast<float>(samples[i] * gain);
            gain *= perSample;
        }
    }
}

void Ramp(TSamples& samples, float from, float to) {
    const std::size_t n = samples.size();
    for (std::size_t i = 0; i < n; ++i) {
        const float t = n > 1 ? static_cast<float>(i) / static_cast<float>(n - 1) : 0.0f;
        samples[i] *= from + (to - from) * t;
    }
}

void LowPass(TSamples& samples, int rate, double cutoffHz) {
    LowPassSweep(samples, rate, cutoffHz, cutoffHz);
}

void LowPassSweep(TSamples& samples, int rate, double fromHz, double toHz) {
    const std::size_t n = samples.size();
    double state = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = n > 1 ? static_cast<double>(i) / static_cast<double>(n - 1) : 0.0;
        const double k = OnePole(rate, fromHz * std::pow(toHz / fromHz, t));
        state += k * (samples[i] - state);
        samples[i] = static_cast<float>(state);
    }
}

void HighPass(TSamples& samples, int rate, double cutoffHz) {
    const double k = OnePole(rate, cutoffHz);
    double low = 0.0;
    for (float& s : samples) {
        low += k * (s - low);
        s = static_cast<float>(s - low);
    }
}

void BandPass(TSamples& samples, int rate, double centreHz, double q) {
    const double f = 2.0 * std::sin(Pi * std::min(centreHz, rate / 6.0) / rate);
    const double damping = 1.0 / q;
    double low = 0.0;
    double band = 0.0;
    for (float& s : samples) {
        low += f * band;
        const double high = s - low - damping * band;
        band += f * high;
        s = static_cast<float>(band);
    }
}

void Echo(TSamples& samples, int rate, double delay, double feedback, int repeats) {
    const std::size_t step = Frames(rate, delay);
    if (step == 0 || repeats <= 0) return;
    const TSamples dry = samples;
    samples.resize(dry.size() + step * static_cast<std::size_t>(repeats), 0.0f);
    double gain = 1.0;
    for (int k = 1; k <= repeats; ++k) {
        gain *= feedback;
        const std::size_t offset = step * static_cast<std::size_t>(k);
        for (std::size_t i = 0; i < dry.size(); ++i)
            samples[offset + i] += static_cast<float>(dry[i] * gain);
    }
}

void Saturate(TSamples& samples, float drive) {
    Normalise(samples, 1.0f);
    const float scale = 1.0f / std::tanh(drive);
    for (float& s : samples)
        s = std::tanh(drive * s) * scale;
}

void Crush(TSamples& samples, int levels) {
    for (float& s : samples)
        s = std::round(s * static_cast<float>(levels)) / static_cast<float>(levels);
}

void Mix(TSamples& into, const TSamples& sound, int rate, double atSeconds, float gain) {
    const std::size_t offset = Frames(rate, atSeconds);
    if (into.size() < offset + sound.size()) into.resize(offset + sound.size(), 0.0f);
    for (std::size_t i = 0; i < sound.size(); ++i)
        into[offset + i] += sound[i] * gain;
}

TSamples Then(TSamples first, const TSamples& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

float Peak(const TSamples& samples) {
    float peak = 0.0f;
    for (float s : samples)
        peak = std::max(peak, std::abs(s));
    return peak;
}

void RemoveDc(TSamples& samples) {
    if (samples.empty()) return;
    double sum = 0.0;
    for (float s : samples)
        sum += s;
    const auto mean = static_cast<float>(sum / static_cast<double>(samples.size()));
    for (float& s : samples)
        s -= mean;
}

void Fade(TSamples& samples, int rate, double seconds) {
    const std::size_t n = samples.size();
    const std::size_t f = std::min(Frames(rate, seconds), n / 2);
    for (std::size_t i = 0; i < f; ++i) {
        const float gain = static_cast<float>(i) / static_cast<float>(f);
        samples[i] *= gain;
        samples[n - 1 - i] *= gain;
    }
    if (f == 0 && n > 0) { // too short to fade: silence the ends themselves
        samples.front() = 0.0f;
        samples.back() = 0.0f;
    }
}

void Normalise(TSamples& samples, float peak) {
    const float current = Peak(samples);
    if (current <= 0.0f) return;
    const float gain = peak / current;
    for (float& s : samples)
        s = std::clamp(s * gain, -peak, peak);
}

void Finish(TSamples& samples, int rate, double fadeSeconds, float peak) {
    RemoveDc(samples);
    Fade(samples, rate, fadeSeconds);
    Normalise(samples, peak);
}

std::string EncodeWave(const TSamples& samples, int rate) {
    const auto dataSize = static_cast<std::uint32_t>(samples.size() * 2);
    const auto sampleRate = static_cast<std::uint32_t>(rate);
    std::string wave = "RIFF";
    wave.reserve(44 + dataSize);
    PutLe(wave, 36 + dataSize, 4);
    wave += "WAVEfmt ";
    PutLe(wave, 16, 4);             // format chunk size
    PutLe(wave, 1, 2);              // PCM
    PutLe(wave, 1, 2);              // one channel
    PutLe(wave, sampleRate, 4);     // samples a second
    PutLe(wave, sampleRate * 2, 4); // bytes a second
    PutLe(wave, 2, 2);              // bytes a frame
    PutLe(wave, 16, 2);             // bits a sample
    wave += "data";
    PutLe(wave, dataSize, 4);
    for (float s : samples) {
        const auto value =
            static_cast<std::int16_t>(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f));
        PutLe(wave, static_cast<std::uint16_t>(value), 2);
    }
    return wave;
}

} // namespace tb::synth
