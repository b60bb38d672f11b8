#include "services/d_folders.h"
#include "services/d_inifile.h"
#include "services/d_settings.h"
#include "services/d_sound.h"
#include "tests/services/wave_maker.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

namespace tb {
namespace fs = std::filesystem;

namespace {

struct SettingsTest : ::testing::Test {
    test::TempProgramFolder Dir;
    TSoundBank Bank{std::make_unique<test::TSilentPlayer>()};
    TSettingsEnvironment Env;
    int AboutBoxShown = 0;
    std::string AboutBoxFont;
    std::string AboutBoxSkin; // the Skin setting when the about box appeared
    int AboutBoxSounds = -1;  // the sound effects loaded by then

    SettingsTest() {
        Env.Sounds = &Bank;
        Env.Folders = Dir.Layout();
        Env.InstalledFonts = {"DejaVu Sans", "arial", "Tahoma"};
        Env.ShowAboutBox = [this](const TSettings& s) {
            ++AboutBoxShown;
            AboutBoxFont = s.FontName;
            AboutBoxSkin = s.Skin;
            AboutBoxSounds = Bank.LoadedCount();
        };
    }

    void WriteIni(const std::string& text) { test::WriteFile(Dir / "tobbin.ini", text); }
    TSettings Read() {
        TSettings s;
        ReadSettings(s, Env);
        return s;
    }
};

// The settings the file gives (everything WriteSettings writes or keeps).
std::string Stored(const TSettings& s) {
    std::string text;
    for (const std::string* value : {&s.Waves, &s.Skin, &s.Sprites, &s.Language, &s.Player})
        text += *value + "|";
    for (const TColour* colour : {&s.Menu, &s.MenuSel, &s.MenuFont, &s.MenuSelFont, &s.List,
                                  &s.ListFont, &s.Grid, &s.GridFont})
        text += colour->Name + "|";
    for (int number :
         {int{s.SoundOn}, int{s.SoundRandom}, int{s.Jpeg}, int{s.SpritesRandom}, int{s.Size},
          int{s.Backgrounds}, int{s.FontSize}, int{s.CustomMenu}, int{s.BoldFont}, int{s.Frugal},
          int{s.Speed}, int{s.Slow}, int{s.Normal}, int{s.Fast}, int{s.Booster}, int{s.Multi}})
        text += std::to_string(number) + "|";
    return text;
}

} // namespace

TEST(IniFile, ReadsKeysRegardlessOfCaseAndWritesPlainLines) {
    TIniFile ini;
    ini.LoadText("; a comment\n[Sound]\non = 0 \nWaves=Bells\r\nBad=x1\n[game]\nLevel=-7\n");
    // A value that is not a number gives the default.
    EXPECT_EQ(std::tuple(ini.ReadString("SOUND", "waves", "Classic"),
                         ini.ReadString("Sound", "Missing", "dflt"),
                         ini.ReadBool("Sound", "On", true), ini.ReadBool("Sound", "Bad", true),
                         ini.ReadInteger("Sound", "Bad", 5), ini.ReadInteger("Game", "Level", 1)),
              std::tuple("Bells", "dflt", false, true, 5, -7));
    EXPECT_TRUE(ini.SectionExists("GAME") && ini.KeyExists("Sound", "ON"));
    const auto entries = ini.SectionEntries("Sound");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(std::tuple(entries[0].first, entries[2].second), std::tuple("on", "x1"));

    ini.WriteBool("Sound", "On", true);
    ini.WriteString("Game", "Player", "Ann\r\n[Sound]\nOn=0"); // stays one line
    ini.EraseSection("Missing");
    ini.WriteInteger("New", "Key", 12);
    const std::string text = ini.Text();
    for (const char* line : {"on=1\r\n", "Player=Ann  [Sound] On=0\r\n", "[New]\r\nKey=12\r\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    EXPECT_EQ(text.find("\n\n"), std::string::npos); // every line end is CR LF
    TIniFile again;
    again.LoadText(text);
    EXPECT_EQ(
        std::tuple(again.ReadBool("Sound", "On", false), again.ReadInteger("Game", "Level", 0)),
        std::tuple(true, -7));

    ini.EraseSection("Game");
    EXPECT_FALSE(ini.SectionExists("Game"));
    EXPECT_FALSE(ini.Load("/no/such/folder/tobbin.ini"));
    EXPECT_FALSE(ini.SectionExists("Sound"));
}

TEST(Colours, NamesNumbersAndUnknownTexts) {
    TColour c = NamedColour("Navy");
    EXPECT_EQ(std::tuple(c.Rgb, c.System), std::tuple(0x000080u, false));
    // Numbers keep blue in the high byte.
    for (const auto& [text, name, rgb] : {std::tuple("moneygreen", "MoneyGreen", 0xC0DCC0u),
                                          {"clMaroon", "Maroon", 0x800000u},
                                          {"$000000FF", "$000000FF", 0xFF0000u},
                                          {"16711680", "$00FF0000", 0x0000FFu}}) {
        ASSERT_TRUE(ColourFromText(text, c)) << text;
        EXPECT_EQ(std::tuple(c.Name, c.Rgb, c.System), std::tuple(name, rgb, false)) << text;
    }
    ASSERT_TRUE(ColourFromText("HighlightText", c));
    EXPECT_EQ(std::tuple(c.System, c.Role), std::tuple(true, TSystemColour::HighlightText));
    ASSERT_TRUE(ColourFromText("3DLight", c));
    EXPECT_EQ(c.Role, TSystemColour::Light3D);

    const TColour before = NamedColour("Yellow");
    c = before;
    for (const char* bad : {"NoSuchColour", "", "cl", "$", "$1000000", "-1", "$12G", "Menu2"}) {
        EXPECT_FALSE(ColourFromText(bad, c)) << bad;
        EXPECT_EQ(c, before) << bad;
    }
    EXPECT_THROW(NamedColour("yellow"), std::invalid_argument); // defaults use exact names
    for (std::string_view name : ColourNames())
        EXPECT_EQ(NamedColour(name).Name, name);
}

TEST(Tables, ScreenClassSpeedsAndFonts) {
    const int sizes[][3] = {{1600, 1200, 5}, {1920, 1080, 4}, {1599, 1200, 4}, {1280, 1024, 4},
                            {1280, 1023, 3}, {1024, 768, 3},  {1023, 768, 2},  {800, 600, 2},
                            {799, 1200, 1},  {2000, 599, 1},  {0, 0, 1}};
    for (const auto& [width, height, screenClass] : sizes)
        EXPECT_EQ(ScreenClass(width, height), screenClass) << width << "x" << height;

    TSettings s;
    EXPECT_EQ(SpeedTable(s), (std::array<std::uint16_t, 5>{40, 180, 120, 60, 10}));
    EXPECT_EQ(StepDelay(s, 1), 180);
    EXPECT_EQ(std::tuple(SoundGap(s, 1), SoundGap(s, 2), SoundGap(s, 3), SoundGap(s, 4)),
              std::tuple(85, 70, 55, 42));
    s.Booster = 0;
    EXPECT_EQ(SoundGap(s, 4), 0);
    EXPECT_THROW(StepDelay(s, 0), std::out_of_range);
    EXPECT_THROW(StepDelay(s, 5), std::out_of_range);

    // The first font of the list that is installed.
    EXPECT_EQ(FirstInstalledFont(InterfaceFontChoices(), {"Arial", "tahoma"}), "Tahoma");
    EXPECT_EQ(FirstInstalledFont(InterfaceFontChoices(), {"DejaVu Sans"}), "");
    EXPECT_EQ(FirstInstalledFont({}, {"Arial"}), "");
}

TEST_F(SettingsTest, AMissingFileGivesTheBuiltInValues) {
    const fs::path classic = Dir / "wav" / "Classic";
    fs::create_directories(classic);
    test::WriteFile(classic / "tb_win.wav", test::MakeWave(10));
    Env.ScreenWidth = 1280;
    Env.ScreenHeight = 1024;
    const TSettings s = Read();

    EXPECT_EQ(Stored(s), "Classic|Standard|Apples|English||MoneyGreen|Yellow|Navy|Maroon|Yellow|"
                         "Maroon|Navy|Aqua|1|1|1|1|0|1|9|1|0|0|3|180|120|60|10|40|");
    // The Classic set was loaded; a missing colour key gives the named default, not the
    // system colour.
    EXPECT_EQ(std::tuple(Bank.SoundOn, Bank.LoadedCount(), Bank.EffectEntry(TEffect::Win)),
              std::tuple(true, 1, 1));
    EXPECT_EQ(std::tuple(s.SkinPictureName(TSkinPicture::Box), s.Game, s.Level, s.Menu.System,
                         s.ScreenClassNumber, s.FontName, s.FixedFontName),
              std::tuple("tb_box.jpg", "", 1, false, 4, "Tahoma", "Courier New"));
    EXPECT_EQ(std::tuple(AboutBoxShown, AboutBoxFont), std::tuple(1, "Tahoma"));

    // A record never read holds the system colours of menus.
    const TSettings fresh;
    EXPECT_EQ(
        std::tuple(fresh.Menu.System, fresh.Menu.Role, fresh.MenuSelFont.Role, fresh.List.Name),
        std::tuple(true, TSystemColour::Menu, TSystemColour::HighlightText, "Yellow"));
}

TEST_F(SettingsTest, ValuesAreClampedAndBadOnesKeepTheirDefaults) {
    WriteIni("[Global]\r\nFontsize=3\r\n[Graphics]\r\nSize=9\r\nJPEG=0\r\n"
             "[Colors]\r\nMenu=NoSuchColour\r\nGrid=white\r\nGridFont=$00008000\r\n"
             "[Speed]\r\nSpeed=9\r\nSlow=70000\r\nNormal=-1\r\nFast=25\r\nMulti=abc\r\n"
             "[Game]\r\nLevel=99999999999\r\nPlayer=Ann #0\r\n"
             "[Sound]\r\nOn=0\r\nWaves=Bells\r\n[Graphics]\r\nSkin=Winter\r\n");
    fs::create_directories(Dir / "wav" / "Bells");
    test::WriteFile(Dir / "wav" / "Bells" / "tb_error.wav", test::MakeWave(5));
    TSettings s = Read();
    EXPECT_EQ(std::tuple(s.FontSize, s.Size, s.Jpeg, s.SkinPictureName(TSkinPicture::Splash),
                         s.SkinPictureName(TSkinPicture::Finish)),
              std::tuple(7, 4, false, "tb_spl.bmp", "tb_fin.bmp"));
    // An unknown name leaves the system menu colour.
    EXPECT_EQ(std::tuple(s.Menu.System, s.Menu.Role, s.Grid.Name, s.GridFont.Rgb),
              std::tuple(true, TSystemColour::Menu, "White", 0x008000u));
    EXPECT_EQ(std::tuple(s.Speed, s.Slow, s.Normal, s.Fast, s.Multi, s.Level, s.Player),
              std::tuple(3, 180, 120, 25, 40, 1, "Ann #0"));
    // The Bells set; the sound set is loaded before the about box appears, the skin read after.
    EXPECT_EQ(std::tuple(s.SoundOn, Bank.SoundOn, Bank.EffectEntry(TEffect::Error)),
              std::tuple(false, false, 1));
    EXPECT_EQ(std::tuple(AboutBoxSounds, AboutBoxSkin, s.Skin),
              std::tuple(1, "Standard", "Winter"));

    WriteIni("[Global]\r\nFontsize=20\r\n[Graphics]\r\nSize=-2\r\n[Game]\r\nLevel=-3\r\n");
    s = Read();
    EXPECT_EQ(std::tuple(s.FontSize, s.Size, s.Level), std::tuple(12, 0, -3));

    // Few colours: no JPEG pictures and no backgrounds unless the file says so.
    Env.ColourDepth = 8;
    WriteIni("[Graphics]\r\nBackgrounds=1\r\n");
    s = Read();
    EXPECT_EQ(std::tuple(s.Jpeg, s.Backgrounds), std::tuple(false, true));
    WriteIni("");
    EXPECT_FALSE(Read().Backgrounds);
}

TEST_F(SettingsTest, AnUnreadableFileGivesTheDefaultsAndTheFoldersReadTheRenamedList) {
    fs::create_directories(Dir / "tobbin.ini"); // a folder where the file should be
    test::WriteFile(Dir / "tobbin-renamed.txt", " Old Name > New Name \r\nOld>\r\n");
    TSettings s = Read();
    EXPECT_EQ(std::tuple(s.Waves, s.Menu.Name), std::tuple("Classic", "MoneyGreen"));
    const TRenamedGames renamed = ProgramFolders(Dir.Path()).Renamed;
    std::string name = "old name";
    EXPECT_TRUE(renamed.Lookup(name));
    EXPECT_EQ(name, "New Name");
    name = "Old";
    EXPECT_FALSE(renamed.Lookup(name));

    fs::remove_all(Dir / "tobbin.ini");
    std::string junk;
    for (int i = 0; i < 4000; ++i)
        junk += static_cast<char>((i * 7919) % 256);
    WriteIni(junk);
    s = Read();
    EXPECT_EQ(std::tuple(s.FontSize, s.Sprites), std::tuple(9, "Apples"));
}

TEST_F(SettingsTest, WritingKeepsUnwrittenKeysAndWritesInItsOrder) {
    WriteIni("[Splash]\r\n; a note\r\n# "
             "another\r\nImage=party\r\nLine1=Hello\r\n[Graphics]\r\nJPEG=0\r\nBackgrounds=0\r\n"
             "[Global]\r\nFrugal=1\r\n[Game]\r\nGame=Old Game\r\nLevel=5\r\nExtra=x\r\n");
    TSettings s = Read();
    EXPECT_TRUE(s.Frugal);
    s.Language = "Deutsch";
    s.BoldFont = true;
    s.FontSize = 11;
    s.Sprites = "Pears";
    s.Size = 2;
    s.SpritesRandom = false;
    s.Menu = NamedColour("Menu");
    s.GridFont = NamedColour("Lime");
    ColourFromText("$00123456", s.List);
    s.Player = "Ann #0";
    s.Speed = 1;
    s.SoundOn = false;
    s.Waves = "Bells";
    s.Jpeg = true;        // never written
    s.Backgrounds = true; // never written
    s.Frugal = false;     // never written

    const TSettingsWrite result = WriteSettings(Dir.Layout(), s, false);
    ASSERT_TRUE(result.Written);
    EXPECT_EQ(result.Report, "");
    EXPECT_FALSE(fs::exists(Dir / "tobbin.ini.tmp"));
    const std::string text = test::ReadFile(Dir / "tobbin.ini");
    // Comments stay too; no game open: the Game section holds only the player.
    for (const char* part :
         {"; a note\r\n# another\r\nImage=party\r\nLine1=Hello\r\n", "JPEG=0\r\nBackgrounds=0\r\n",
          "Frugal=1\r\nLanguage=Deutsch\r\nBoldFont=1\r\nCustomMenu=1\r\nFontsize=11\r\n",
          "Sprites=Pears\r\nSkin=Standard\r\nRandom=0\r\nSize=2\r\n",
          "[Colors]\r\nMenu=Menu\r\nMenuFont=Navy\r\nMenuSel=Yellow\r\nMenuSelFont=Maroon\r\n"
          "List=$00123456\r\nListFont=Maroon\r\nGrid=Navy\r\nGridFont=Lime\r\n",
          "[Game]\r\nPlayer=Ann #0\r\n",
          "[Speed]\r\nSpeed=1\r\nSlow=180\r\nNormal=120\r\nFast=60\r\nBooster=10\r\nMulti=40\r\n",
          "[Sound]\r\nOn=0\r\nRandom=1\r\nWaves=Bells\r\n"})
        EXPECT_NE(text.find(part), std::string::npos) << part;
    EXPECT_EQ(std::tuple(text.find("Old Game"), text.find("Extra")),
              std::tuple(std::string::npos, std::string::npos));

    s.Game = "My Game";
    s.Level = 7;
    ASSERT_TRUE(WriteSettings(Dir.Layout(), s, true).Written);
    const TSettings back = Read();
    EXPECT_EQ(std::tuple(back.Game, back.Level, back.List, back.Menu, back.GridFont),
              std::tuple("My Game", 7, s.List, s.Menu, s.GridFont));
    s.Jpeg = s.Backgrounds = false; // the file's values, never written
    s.Frugal = true;
    EXPECT_EQ(Stored(back), Stored(s));
}

TEST_F(SettingsTest, DamagedSectionHeadersGiveTheSameSettingsAndBytesAtEveryWrite) {
    const char* const damaged[] = {
        "[Colors\r\nGrid=Lime\r\n",
        "[Graphics]\r\nRandom=1\r\n[Graphics\r\nRandom=0\r\nSize=2\r\n",
        "[Graphics]]\r\nSize=3\r\n[ Sound ]\r\nOn=0\r\n",
        "Grid=Lime\r\n[Colors]\r\nMenu=Red\r\n[colors]\r\nList=Aqua\r\n",
        "[Splash\r\nImage=party\r\n[Global]\r\nFrugal=1\r\njunk line\r\n[]\r\nA=1\r\n",
        "[Sound]\r\nOn=0\r\nOn=1\r\n[Speed]\r\nSlow=200",
    };
    for (const char* text : damaged) {
        WriteIni(text);
        TSettings first = Read();
        ASSERT_TRUE(WriteSettings(Dir.Layout(), first, false).Written) << text;
        const std::string written = test::ReadFile(Dir / "tobbin.ini");
        TSettings second = Read();
        EXPECT_EQ(Stored(second), Stored(first)) << text;
        ASSERT_TRUE(WriteSettings(Dir.Layout(), second, false).Written) << text;
        EXPECT_EQ(test::ReadFile(Dir / "tobbin.ini"), written) << text;
    }
    // A header without its bracket still names its section.
    WriteIni(damaged[0]);
    EXPECT_EQ(Read().Grid.Name, "Lime");
}

TEST_F(SettingsTest, AnUnreadableFileIsKeptAndAnUnwritableFolderReportedOnce) {
    std::string big = "[Splash]\r\nImage=party\r\n[Global]\r\nFrugal=1\r\n";
    big += "[Padding]\r\n" + std::string(TIniFile::MaxFileSize, 'x') + "=1\r\n";
    WriteIni(big);
    TSettings s = Read(); // too large: the built-in values
    EXPECT_FALSE(s.Frugal);
    ASSERT_TRUE(WriteSettings(Dir.Layout(), s, false).Written);
    EXPECT_EQ(test::ReadFile(Dir / "tobbin.ini.bak"), big);
    EXPECT_LT(test::ReadFile(Dir / "tobbin.ini").size(), 4096u);
    // A readable file is rewritten in place, with no further copy.
    ASSERT_TRUE(WriteSettings(Dir.Layout(), s, false).Written);
    EXPECT_FALSE(fs::exists(Dir / "tobbin.ini.bak1"));

    test::WriteFile(Dir / "plain-file", "x");
    TFolders blocked = Dir.Layout();
    blocked.SettingsFolder = Dir / "plain-file" / "settings"; // below a file: never writable
    const TSettingsWrite first = WriteSettings(blocked, s, false);
    ASSERT_FALSE(first.Written);
    EXPECT_NE(first.Report.find("The settings could not be saved in"), std::string::npos);
    EXPECT_NE(first.Report.find("tobbin.ini"), std::string::npos);
    const TSettingsWrite second = WriteSettings(blocked, s, true);
    EXPECT_EQ(std::tuple(second.Written, second.Report), std::tuple(false, ""));
}

} // namespace tb
