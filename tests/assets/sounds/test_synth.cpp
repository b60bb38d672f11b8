// The synthesiser's steps where a slip would spoil every sound: levels,
// fades and pitch.

#include "tools/assets/sounds/tb_synth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace tb::synth {

namespace {

// The largest absolute sample of an encoded wave, in steps.
int EncodedPeak(const std::string& wave) {
    int peak = 0;
    for (std::size_t pos = 44; pos + 1 < wave.size(); pos += 2) {
        const auto low = static_cast<unsigned char>(wave[pos]);
        const auto high = static_cast<unsigned char>(wave[pos + 1]);
        peak =
            std::max(peak, std::abs(static_cast<int>(static_cast<std::int16_t>(high << 8 | low))));
    }
    return peak;
}

int ZeroCrossings(const TSamples& samples) {
    int count = 0;
    for (std::size_t i = 1; i < samples.size(); ++i)
        if ((samples[i - 1] < 0.0f) != (samples[i] < 0.0f)) ++count;
    return count;
}

} // namespace

TEST(Synth, NormaliseScalesToTheLevelWithoutClipping) {
    // Lopsided, the larger swing on either side, far beyond full scale: only
    // scaled, never clipped, and its loudest sample lands on the level.
    for (const float sign : {1.0f, -1.0f}) {
        TSamples s = {0.0f, 3.0f * sign, -5.0f * sign, 1.0f * sign, 0.0f};
        Normalise(s, 0.8f);
        const TSamples expected = {0.0f, 0.48f * sign, -0.8f * sign, 0.16f * sign, 0.0f};
        for (std::size_t i = 0; i < s.size(); ++i)
            EXPECT_NEAR(s[i], expected[i], 1e-6f) << i;
    }
    // Finished and encoded, a whole tone peaks at the level to the step.
    TSamples tone = Render(TTone{}, 22050, 0.2);
    for (float& v : tone)
        v = v < 0.0f ? 7.0f * v : 2.0f * v;
    Finish(tone, 22050, 0.003, 0.8f);
    EXPECT_NEAR(EncodedPeak(EncodeWave(tone, 22050)), static_cast<int>(0.8 * 32767), 1);
    TSamples silent(500, 0.25f); // only an offset: nothing to hear
    Finish(silent, 22050, 0.003, 0.8f);
    for (float v : silent)
        ASSERT_EQ(v, 0.0f);
}

TEST(Synth, FadeSilencesBothEndsOfAnyLength) {
    for (std::size_t n : {1u, 2u, 3u, 7u, 200u, 5000u}) {
        TSamples s(n, 1.0f);
        Fade(s, 44100, 0.003);
        EXPECT_EQ(std::tuple(s.front(), s.back()), std::tuple(0.0f, 0.0f)) << n;
        for (std::size_t i = 1; i < n / 2; ++i)
            ASSERT_LE(s[i - 1], s[i]) << n << " does not rise at " << i;
        EXPECT_TRUE(n != 5000 || s[n / 2] == 1.0f) << "the middle is left alone";
    }
}

TEST(Synth, PitchFollowsTheGlide) {
    // A steady 440 Hz second crosses zero twice a cycle.
    EXPECT_NEAR(ZeroCrossings(Render(TTone{}, 44100, 1.0)), 880, 2);
    // An exponential glide from 200 to 800 Hz in a second passes 600 / ln 4 cycles.
    TTone glide;
    glide.From = 200.0;
    glide.To = 800.0;
    EXPECT_NEAR(ZeroCrossings(Render(glide, 44100, 1.0)), 2.0 * 600.0 / std::log(4.0), 3);
    // The same seed gives the same noise, another seed other noise.
    EXPECT_EQ(Noise(22050, 0.05, 7), Noise(22050, 0.05, 7));
    EXPECT_NE(Noise(22050, 0.05, 7), Noise(22050, 0.05, 8));
}

} // namespace tb::synth
