#include "services/d_folders.h"
#include "services/d_sound.h"
#include "tests/services/wave_maker.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace tb {
namespace fs = std::filesystem;

namespace {

struct TPlayed {
    std::uint8_t Entry;
    std::string Wave;
    bool Asynchronous;
};

// Records what the bank asks to play, and the messages processed around it.
class TRecordingPlayer : public TSoundPlayer {
public:
    explicit TRecordingPlayer(std::vector<TPlayed>& played, int& forgotten)
        : Played(played), Forgotten(forgotten) {}
    void Play(std::uint8_t entry, const std::string& wave, bool asynchronous) override {
        Played.push_back({entry, wave, asynchronous});
    }
    void Forget() override { ++Forgotten; }

private:
    std::vector<TPlayed>& Played;
    int& Forgotten;
};

// A set folder with the waves of the given effects; each file's tone is its effect number.
fs::path WriteSet(const fs::path& folder, const std::vector<TEffect>& effects) {
    fs::create_directories(folder);
    for (TEffect effect : effects)
        test::WriteFile(folder / std::string(EffectFileName(effect)),
                        test::MakeWave(20, static_cast<int>(effect) + 1));
    return folder;
}

std::vector<TEffect> AllEffects() {
    std::vector<TEffect> effects;
    for (int i = 0; i < EffectCount; ++i)
        effects.push_back(static_cast<TEffect>(i));
    return effects;
}

struct SoundBank : ::testing::Test {
    test::TempFolder dir;
    std::vector<TPlayed> played;
    int forgotten = 0;
    TSoundBank bank{std::make_unique<TRecordingPlayer>(played, forgotten)};
};

} // namespace

TEST(WaveCheck, AcceptsWholeImagesAndRefusesDamagedOnes) {
    const std::string wave = test::MakeWave(10);
    EXPECT_TRUE(IsPlayableWave(wave));
    EXPECT_TRUE(IsPlayableWave(wave + "trailing bytes after the RIFF image"));

    EXPECT_FALSE(IsPlayableWave(""));
    EXPECT_FALSE(IsPlayableWave(wave.substr(0, 11)));
    EXPECT_FALSE(IsPlayableWave(wave.substr(0, wave.size() - 1))); // cut off
    // Not RIFF, not WAVE, format 2 (compressed), a block align that does not fit one channel
    // of 16 bits, a data chunk claiming more than the image holds, a RIFF size ending early.
    const std::size_t at[] = {0, 8, 20, 32, 40, 4};
    const char byte[] = {'X', 'A', 2, 3, '\xFF', 4};
    for (int i = 0; i < 6; ++i) {
        std::string bad = wave;
        bad[at[i]] = byte[i];
        if (at[i] == 4) bad[5] = bad[6] = bad[7] = 0;
        EXPECT_FALSE(IsPlayableWave(bad)) << at[i];
    }
    // A chunk before the format is stepped over, an odd one with its pad byte.
    std::string extra = "LIST";
    test::PutLe(extra, 3, 4);
    extra += "abc";
    extra += '\0';
    const auto fitRiffSize = [](std::string image) {
        const auto riff = static_cast<std::uint32_t>(image.size() - 8);
        for (int i = 0; i < 4; ++i)
            image[4 + i] = static_cast<char>(riff >> (8 * i) & 0xFF);
        return image;
    };
    EXPECT_TRUE(IsPlayableWave(fitRiffSize(wave.substr(0, 12) + extra + wave.substr(12))));
    // Without the data chunk there is nothing to play.
    EXPECT_FALSE(IsPlayableWave(fitRiffSize(wave.substr(0, 36))));
    // Samples before their format cannot be read.
    EXPECT_FALSE(
        IsPlayableWave(fitRiffSize(wave.substr(0, 12) + wave.substr(36) + wave.substr(12, 24))));
}

TEST_F(SoundBank, LoadsTheSixteenEffectsInOrderWithTheirModes) {
    bank.LoadSoundSet(WriteSet(dir / "Classic", AllEffects()));

    EXPECT_EQ(std::tuple(bank.LoadedCount(), bank.LoadError, forgotten), std::tuple(16, 0, 1));
    int asynchronous = 0;
    for (int i = 0; i < EffectCount; ++i) {
        const auto effect = static_cast<TEffect>(i);
        EXPECT_EQ(bank.EffectEntry(effect), i + 1);
        EXPECT_EQ(bank.Entry(static_cast<std::uint8_t>(i + 1)), test::MakeWave(20, i + 1));
        EXPECT_EQ(bank.IsAsynchronous(static_cast<std::uint8_t>(i + 1)),
                  EffectIsAsynchronous(effect));
        asynchronous += bank.IsAsynchronous(static_cast<std::uint8_t>(i + 1)) ? 1 : 0;
    }
    EXPECT_EQ(std::tuple(asynchronous, bank.IsAsynchronous(0), bank.ErrorSound),
              std::tuple(11, false, bank.EffectEntry(TEffect::Error)));
    EXPECT_EQ(std::tuple(EffectFileName(TEffect::Refused), EffectFileName(TEffect::Exit)),
              std::tuple("tb_stup.wav", "tb_exit.wav"));

    // The win effect waits, the pick effect does not.
    bank.Play(TEffect::Win);
    bank.Play(TEffect::Pick);
    ASSERT_EQ(played.size(), 2u);
    EXPECT_EQ(std::tuple(played[0].Entry, played[0].Asynchronous, played[0].Wave),
              std::tuple(bank.EffectEntry(TEffect::Win), false,
                         test::MakeWave(20, static_cast<int>(TEffect::Win) + 1)));
    EXPECT_TRUE(played[1].Asynchronous);
    // Direct calls choose their mode.
    bank.PlaySoundEntry(bank.EffectEntry(TEffect::Input), true);
    EXPECT_TRUE(played.back().Asynchronous);

    // A second set starts numbering again.
    bank.LoadSoundSet(WriteSet(dir / "Second", {TEffect::Win, TEffect::Champion}));
    EXPECT_EQ(std::tuple(forgotten, bank.LoadedCount(), bank.EffectEntry(TEffect::Win),
                         bank.EffectEntry(TEffect::Champion), bank.EffectEntry(TEffect::Error)),
              std::tuple(2, 2, 1, 2, 0));
    for (int entry = 1; entry <= 16; ++entry) // only the champion (2) does not wait
        EXPECT_EQ(bank.IsAsynchronous(static_cast<std::uint8_t>(entry)), entry == 2) << entry;
}

TEST_F(SoundBank, MissingAndDamagedFilesLeaveTheirEffectsSilent) {
    const fs::path set = WriteSet(dir / "Partial", {TEffect::Refused, TEffect::Win, TEffect::Exit});
    test::WriteFile(set / "tb_kill.wav", test::MakeWave(20).substr(0, 30)); // cut off
    test::WriteFile(set / "tb_ston.wav", "RIFF nonsense");
    fs::create_directories(set / "tb_box.wav"); // a folder, not a file
    bank.LoadSoundSet(set);

    EXPECT_EQ(std::tuple(bank.LoadedCount(), bank.LoadError, bank.ErrorSound), std::tuple(3, 2, 0));
    // Kill is not given the refused sound.
    EXPECT_EQ((std::array{bank.EffectEntry(TEffect::Error), bank.EffectEntry(TEffect::Refused),
                          bank.EffectEntry(TEffect::Kill), bank.EffectEntry(TEffect::Win),
                          bank.EffectEntry(TEffect::Stone), bank.EffectEntry(TEffect::Exit)}),
              (std::array<std::uint8_t, 6>{0, 1, 0, 2, 0, 3}));
    EXPECT_EQ(std::tuple(bank.IsAsynchronous(1), bank.IsAsynchronous(2)), std::tuple(true, false));

    for (int i = 0; i < EffectCount; ++i)
        bank.Play(static_cast<TEffect>(i));
    std::vector<int> entries;
    for (const TPlayed& p : played)
        entries.push_back(p.Entry);
    EXPECT_EQ(entries, (std::vector<int>{1, 2, 3}));

    // A folder that does not exist loads nothing and plays nothing.
    bank.LoadSoundSet(dir / "NoSuchSet");
    EXPECT_EQ(bank.LoadedCount(), 0);
    bank.Play(TEffect::Exit);
    EXPECT_EQ(played.size(), 3u);
}

TEST_F(SoundBank, SwitchOffAndEntriesOutsideTheBankPlayNothing) {
    int processed = 0;
    bank.ProcessMessages = [&] { ++processed; };
    bank.LoadSoundSet(WriteSet(dir / "Two", {TEffect::Error, TEffect::Refused}));
    ASSERT_EQ(bank.LoadedCount(), 2);

    bank.SoundOn = false;
    bank.PlayEffect(1);
    bank.PlaySoundEntry(2, false);
    bank.SoundOn = true; // no message processing either
    for (int entry : {0, 3, 255})
        bank.PlayEffect(static_cast<std::uint8_t>(entry));
    EXPECT_TRUE(played.empty());
    EXPECT_EQ(processed, 0);

    bank.PlayEffect(2);
    ASSERT_EQ(played.size(), 1u);
    EXPECT_EQ(processed, 2); // before and after the sound
}

TEST_F(SoundBank, AddSoundCountsUpAndStopsAtTheLastEntry) {
    test::WriteFile(dir / "a.wav", test::MakeWave(5));
    EXPECT_EQ(bank.AddSound(dir / "missing.wav"), 0);
    EXPECT_EQ(bank.LoadError, 2);
    for (int i = 1; i <= TSoundBank::MaxEntries; ++i)
        ASSERT_EQ(bank.AddSound(dir / "a.wav"), i);
    EXPECT_THROW(bank.AddSound(dir / "a.wav"), std::overflow_error);
    EXPECT_EQ(bank.LoadedCount(), 255);
}

// The real mixer, on SDL's dummy audio driver set by the test main: it plays
// without a sound card, a synchronous sound has finished when the call
// returns, and a new sound stops the one playing.
TEST(MixerPlayer, PlaysSilentlyWithoutASoundCard) {
    test::TempFolder dir;
    auto player = MakeMixerPlayer();
    TSoundPlayer& mixer = *player;
    const std::string longWave = test::MakeWave(3000);
    const std::string shortWave = test::MakeWave(30, 3);

    mixer.Play(1, longWave, true);
    if (!mixer.Playing()) GTEST_SKIP() << "no audio device could be opened here";
    mixer.Play(2, shortWave, false); // stops the long one, waits for itself
    EXPECT_FALSE(mixer.Playing());

    mixer.Play(3, "RIFF damaged", true); // refused before it reaches the mixer
    EXPECT_FALSE(mixer.Playing());
    mixer.Play(1, longWave, true);
    EXPECT_TRUE(mixer.Playing());
    mixer.Forget(); // the bank reloads: the playing sound stops
    EXPECT_FALSE(mixer.Playing());

    // The bank on the mixer, from a set folder.
    TSoundBank bank(std::move(player));
    bank.LoadSoundSet(WriteSet(dir / "Set", AllEffects()));
    bank.Play(TEffect::Kill);
    bank.Play(TEffect::Pick);
    bank.PlaySoundEntry(bank.ErrorSound, false);
}

// With no audio driver at all the bank still loads and playing is a silent no-op.
TEST(MixerPlayerDeathTest, NoAudioDriverIsSilent) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
            test::TempFolder dir;
            TSoundBank bank;
            bank.LoadSoundSet(WriteSet(dir / "Set", AllEffects()));
            if (bank.LoadedCount() != 16) std::exit(2);
            bank.Play(TEffect::Kill);
            bank.Play(TEffect::Error);
            bank.PlayEffect(16);
            std::exit(0);
        },
        testing::ExitedWithCode(0), "");
}

TEST(Folders, SkinsSpritesAndSoundSetsLieBelowTheProgramFolder) {
    test::TempProgramFolder dir;
    const fs::path& p = dir.Path();
    const TFolders& f = dir.Layout();
    EXPECT_EQ(std::tuple(f.SkinsFolder, SkinFolder(f, "Standard"), SoundSetFolder(f, "Classic"),
                         SpriteSetFolder(f, 1, "Apples"), SpriteSizeFolder(f, 4), f.HelpFolder),
              std::tuple(p / "img/skins", p / "img/skins/Standard", p / "wav/Classic",
                         p / "img/Small/Apples", p / "img/Huge", p / "help"));
    EXPECT_EQ(std::tuple(SpriteSizeName(3), SpriteSizeName(0)), std::tuple("Large", ""));
    EXPECT_THROW(SpriteSizeFolder(f, 5), std::out_of_range);
}

} // namespace tb
