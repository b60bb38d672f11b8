#pragma once
// Tiny wave images for the sound tests (16-bit PCM, a square tone), and a
// player that never needs a sound device.

#include "services/d_sound.h"

#include <cstdint>
#include <string>

namespace tb::test {

class TSilentPlayer : public TSoundPlayer {
public:
    void Play(std::uint8_t, const std::string&, bool) override {}
};

inline void PutLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>(value >> (8 * i) & 0xFF);
}

// A mono 16-bit PCM wave of `ms` milliseconds at `rate` samples a second;
// `tone` makes each file's samples different.
inline std::string MakeWave(int ms, int tone = 1, std::uint32_t rate = 8000) {
    const std::uint32_t frames = rate * static_cast<std::uint32_t>(ms) / 1000;
    std::string data;
    for (std::uint32_t i = 0; i < frames; ++i) {
        const bool high = (i / static_cast<std::uint32_t>(4 + tone)) % 2 == 0;
        PutLe(data, high ? 0x2000u : 0xE000u, 2);
    }
    std::string wave = "RIFF";
    PutLe(wave, static_cast<std::uint32_t>(4 + 8 + 16 + 8 + data.size()), 4);
    wave += "WAVEfmt ";
    PutLe(wave, 16, 4);
    PutLe(wave, 1, 2);        // PCM
    PutLe(wave, 1, 2);        // mono
    PutLe(wave, rate, 4);     // samples a second
    PutLe(wave, rate * 2, 4); // bytes a second
    PutLe(wave, 2, 2);        // bytes a frame
    PutLe(wave, 16, 2);       // bits a sample
    wave += "data";
    PutLe(wave, static_cast<std::uint32_t>(data.size()), 4);
    return wave + data;
}

} // namespace tb::test
