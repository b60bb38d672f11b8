// Damaged copies of real files: cut off, bits flipped, bytes thrown in. Each
// reader must give a result and never crash; the seed is fixed, so a failure
// repeats.
#include "services/d_error.h"
#include "services/d_file.h"
#include "services/d_folders.h"
#include "services/d_language.h"
#include "services/d_settings.h"
#include "services/d_sound.h"
#include "tests/services/wave_maker.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

namespace tb {
namespace fs = std::filesystem;

constexpr int Copies = 300;
using test::Damage;

TEST(DamagedInputs, LanguageFilesAlwaysGiveAResult) {
    test::TempProgramFolder dir;
    const std::string german = ReadWholeFile(fs::path(TOBBIN_DATA_DIR) / "tlg" / "deutsch.tlg");
    std::mt19937 random(20240601);
    int loaded = 0;
    for (int i = 0; i < Copies; ++i) {
        const std::string copy = Damage(german, random);
        const TLanguageFile file = ParseLanguageFile(copy);
        for (const auto& [section, captions] : file.Sections)
            for (const auto& [tag, caption] : captions) {
                ASSERT_GT(tag, 0);
                ASSERT_FALSE(caption.empty());
                ASSERT_LE(caption.size(), TLanguageFile::MaxValueLength);
            }

        test::WriteFile(dir / "tlg" / "deutsch.tlg", copy);
        TLanguageState state;
        const TLanguageLoad load = state.LoadLanguage(dir.Layout(), "Deutsch");
        loaded += load.Loaded;
        ASSERT_EQ(load.Loaded ? "" : load.Message,
                  load.Loaded ? "" : ErrorMessage(ErrIncompatibleLanguage));
        ASSERT_EQ(std::tuple(TextCount(TextList::More), TextCount(TextList::Errors)),
                  std::tuple(59, 8));
        RestoreBuiltInTexts();
    }
    EXPECT_GT(loaded, Copies / 2); // most damage leaves the version line readable
}

TEST(DamagedInputs, SettingsFilesAlwaysGiveUsableSettings) {
    test::TempProgramFolder dir;
    TSoundBank bank(std::make_unique<test::TSilentPlayer>());
    TSettingsEnvironment env;
    env.Folders = dir.Layout();
    env.Sounds = &bank;
    TSettings written;
    written.Player = "Ann #0";
    written.Game = "My Game";
    written.Level = 3;
    written.FontSize = 11;
    written.Size = 2;
    ASSERT_TRUE(WriteSettings(dir.Layout(), written, true).Written);
    const std::string original = test::ReadFile(dir / "tobbin.ini");

    std::mt19937 random(20240602);
    for (int i = 0; i < Copies; ++i) {
        test::WriteFile(dir / "tobbin.ini", Damage(original, random));
        TSettings s;
        ReadSettings(s, env);
        ASSERT_TRUE(s.FontSize >= 7 && s.FontSize <= 12 && s.Size <= 4 && s.Speed >= 1 &&
                    s.Speed <= 4)
            << s.FontSize << " " << s.Size << " " << s.Speed;
        ASSERT_NO_THROW(SoundGap(s, s.Speed));
        ASSERT_TRUE(WriteSettings(dir.Layout(), s, i % 2 == 0).Written);
    }
}

TEST(DamagedInputs, WaveFilesAreCheckedBeforeTheMixerSeesThem) {
    test::TempFolder dir;
    const std::string wave = test::MakeWave(40);
    auto mixer = MakeMixerPlayer();
    TSoundBank bank(std::make_unique<test::TSilentPlayer>());
    std::mt19937 random(20240603);
    int playable = 0;
    for (int i = 0; i < Copies; ++i) {
        const std::string copy = Damage(wave, random);
        if (IsPlayableWave(copy)) {
            ++playable;
            mixer->Play(static_cast<std::uint8_t>(1 + i % 200), copy, true);
        }
        test::WriteFile(dir / "tb_error.wav", copy);
        bank.LoadSoundSet(dir.Path());
        ASSERT_EQ(bank.LoadedCount(), IsPlayableWave(copy) ? 1 : 0);
        if (i % 20 == 0) mixer->Forget();
    }
    mixer->Forget();
    EXPECT_GT(playable, 0);      // flipped sample bits still play
    EXPECT_LT(playable, Copies); // cut-off copies never do
}

} // namespace tb
