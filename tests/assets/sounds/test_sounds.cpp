// The staged sound sets: complete, well-formed, within their lengths, loud
// enough without clipping, click-free, and every sound its own.

#include "services/d_folders.h"
#include "services/d_settings.h"
#include "services/d_sound.h"
#include "tests/services/wave_maker.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace tb {
namespace fs = std::filesystem;

namespace {

// Loudness floor (about -6 dBFS) and clipping ceiling, in steps of full scale.
constexpr int Floor = 16384;
constexpr int Ceiling = 29491; // 0.9 of 32767
// An end sample this small makes no audible click.
constexpr int Quiet = 330;

std::uint32_t Le(const std::string& bytes, std::size_t pos, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[pos + static_cast<std::size_t>(i)]);
    return value;
}

struct TWave {
    std::string Fault; // empty when the file is a canonical 16-bit PCM mono wave
    std::uint32_t Rate = 0;
    std::vector<int> Samples{};
    double Seconds() const { return static_cast<double>(Samples.size()) / Rate; }
};

TWave Parse(const std::string& b) {
    TWave w;
    if (b.size() < 46) return {"shorter than a header and one sample"};
    const std::uint32_t rate = Le(b, 24, 4);
    const std::pair<bool, const char*> faults[] = {
        {b.substr(0, 4) != "RIFF" || b.substr(8, 8) != "WAVEfmt ", "not RIFF/WAVE"},
        {Le(b, 4, 4) != b.size() - 8, "RIFF size is not the file's"},
        {Le(b, 16, 4) != 16 || Le(b, 20, 2) != 1, "not plain PCM"},
        {Le(b, 22, 2) != 1, "not mono"},
        {Le(b, 34, 2) != 16 || Le(b, 32, 2) != 2, "not 16-bit"},
        {rate != 22050 && rate != 44100, "odd sample rate"},
        {Le(b, 28, 4) != rate * 2, "wrong bytes a second"},
        {b.substr(36, 4) != "data" || Le(b, 40, 4) != b.size() - 44, "data size"},
    };
    for (const auto& [fault, text] : faults)
        if (fault) return {text};
    w.Rate = rate;
    for (std::size_t pos = 44; pos + 1 < b.size(); pos += 2)
        w.Samples.push_back(static_cast<std::int16_t>(Le(b, pos, 2)));
    return w;
}

// The longest an effect may last: the frequent ones must not pile up, the
// ones the game waits for must not hold it up.
double MaxSeconds(TEffect effect) {
    using enum TEffect;
    if (effect == Stone || effect == Pick || effect == Box) return 0.15;
    return effect == Input ? 0.25 : effect == Exit ? 0.8 : 2.0;
}

// The mean absolute difference of two sounds, in steps; different lengths
// count as different.
double Difference(const TWave& a, const TWave& b) {
    if (a.Samples.size() != b.Samples.size() || a.Rate != b.Rate) return 1e9;
    double sum = 0.0;
    for (std::size_t i = 0; i < a.Samples.size(); ++i)
        sum += std::abs(a.Samples[i] - b.Samples[i]);
    return sum / static_cast<double>(a.Samples.size());
}

// The folders of the staged build, whose sound sets are the shipped ones.
const TFolders& Staged() {
    static const TFolders folders = ProgramFolders(TOBBIN_PROGRAM_FOLDER);
    return folders;
}

std::vector<std::string> SetNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(Staged().SoundsFolder))
        if (entry.is_directory()) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(SoundSets, EverySoundIsAWellFormedWaveTheBankLoads) {
    for (const std::string& name : SetNames()) {
        const fs::path folder = SoundSetFolder(Staged(), name);
        TSoundBank bank(std::make_unique<test::TSilentPlayer>());
        bank.LoadSoundSet(folder);
        EXPECT_EQ(std::tuple(bank.LoadedCount(), bank.LoadError), std::tuple(EffectCount, 0))
            << name;
        for (int i = 0; i < EffectCount; ++i) {
            const auto effect = static_cast<TEffect>(i);
            const std::string file = std::string(EffectFileName(effect));
            SCOPED_TRACE(name + "/" + file);
            ASSERT_TRUE(fs::is_regular_file(folder / file));
            const std::string bytes = test::ReadFile(folder / file);
            EXPECT_TRUE(IsPlayableWave(bytes));
            EXPECT_EQ(bank.Entry(bank.EffectEntry(effect)), bytes);
            const TWave wave = Parse(bytes);
            ASSERT_EQ(wave.Fault, "");

            // Not too long, long enough to hear, loud enough, not clipped, no clicks at the ends.
            int peak = 0;
            for (int s : wave.Samples)
                peak = std::max(peak, std::abs(s));
            EXPECT_TRUE(wave.Seconds() <= MaxSeconds(effect) && wave.Seconds() >= 0.02 &&
                        peak >= Floor && peak <= Ceiling &&
                        std::abs(wave.Samples.front()) <= Quiet &&
                        std::abs(wave.Samples.back()) <= Quiet)
                << wave.Seconds() << " s, peak " << peak;
        }
    }
}

TEST(SoundSets, TheDefaultSetAndAnotherAreStagedAndEverySoundIsItsOwn) {
    const std::vector<std::string> names = SetNames();
    EXPECT_GE(names.size(), 2u) << "shuffling needs at least two sets";
    EXPECT_NE(std::find(names.begin(), names.end(), TSettings{}.Waves), names.end())
        << "the default set " << TSettings{}.Waves << " is missing";
    std::map<std::string, std::vector<TWave>> sets;
    for (const std::string& name : names)
        for (int i = 0; i < EffectCount; ++i)
            sets[name].push_back(
                Parse(test::ReadFile(SoundSetFolder(Staged(), name) /
                                     std::string(EffectFileName(static_cast<TEffect>(i))))));
    // A sound differs from another by more than rounding: at least 1% of full scale on average.
    constexpr double Distinct = 327.0;
    for (const auto& [name, waves] : sets)
        for (int i = 0; i < EffectCount; ++i)
            for (int j = i + 1; j < EffectCount; ++j)
                EXPECT_GT(Difference(waves[i], waves[j]), Distinct)
                    << name << ": " << EffectFileName(static_cast<TEffect>(i)) << " and "
                    << EffectFileName(static_cast<TEffect>(j)) << " sound the same";
    for (std::size_t a = 0; a < names.size(); ++a)
        for (std::size_t b = a + 1; b < names.size(); ++b)
            for (int i = 0; i < EffectCount; ++i)
                EXPECT_GT(Difference(sets[names[a]][i], sets[names[b]][i]), Distinct)
                    << names[a] << " and " << names[b] << " share "
                    << EffectFileName(static_cast<TEffect>(i));
}

} // namespace tb
