#include "services/d_codepage.h"
#include "services/d_error.h"
#include "services/d_file.h"
#include "services/d_folders.h"
#include "services/d_language.h"
#include "services/d_messages.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace tb {
namespace fs = std::filesystem;

namespace {

const fs::path ShippedLanguages = fs::path(TOBBIN_DATA_DIR) / "tlg";

struct LanguageTest : ::testing::Test {
    test::TempProgramFolder Dir;
    TLanguageState State;

    LanguageTest() {
        RestoreBuiltInTexts();
        State.SetSettingsFont("Verdana");
    }
    ~LanguageTest() override { RestoreBuiltInTexts(); }

    void WriteLanguage(const std::string& fileName, const std::string& text) {
        test::WriteFile(Dir / "tlg" / fileName, text);
    }
    void ShipGerman() {
        fs::copy_file(ShippedLanguages / "deutsch.tlg", Dir / "tlg" / "deutsch.tlg");
    }
};

const std::string Version35 = "[Version]\r\nVersion=3.5\r\n";

} // namespace

TEST(CodePage, CharsetsSelectTheirCodePagesAndTextsGoBothWays) {
    const int pairs[][2] = {{0, 1252},   {238, 1250}, {204, 1251}, {161, 1253}, {162, 1254},
                            {177, 1255}, {178, 1256}, {186, 1257}, {1, 1252},   {128, 1252}};
    for (const auto& [charset, codePage] : pairs)
        EXPECT_EQ(CodePageOfCharset(charset), codePage) << charset;
    EXPECT_THROW(TCodePage(437), Error);

    // "Příliš žluťoučký kůň" in Windows-1250, "Привет, Тоббин!" in Windows-1251.
    const std::string russian = "\xCF\xF0\xE8\xE2\xE5\xF2, \xD2\xEE\xE1\xE1\xE8\xED!";
    const std::string russianUtf8 =
        "\u041f\u0440\u0438\u0432\u0435\u0442, \u0422\u043e\u0431\u0431\u0438\u043d!";
    for (const auto& [charset, bytes, utf8] :
         {std::tuple(
              238, std::string("P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2"),
              std::string("P\u0159\u00edli\u0161 \u017elu\u0165ou\u010dk\u00fd k\u016f\u0148")),
          std::tuple(204, russian, russianUtf8)}) {
        const TCodePage page = TCodePage::OfCharset(charset);
        EXPECT_EQ(std::tuple(page.ToUtf8(bytes), page.FromUtf8(utf8)), std::tuple(utf8, bytes));
    }
    // The same bytes mean other letters in another code page.
    EXPECT_NE(TCodePage(1252).ToUtf8(russian), russianUtf8);
    EXPECT_EQ(TCodePage(1252).ToUtf8("\x80 \xE4"), "\u20ac \u00e4");
    EXPECT_EQ(TCodePage(1252).ToUtf8(""), "");
    EXPECT_EQ(TCodePage(1252).ToUtf8(std::string(5000, 'a')), std::string(5000, 'a'));
}

TEST(CodePage, CharactersTheCodePageCannotHoldAreRefused) {
    const TCodePage western(1252);
    try {
        western.FromUtf8("Tobbin \u0416");
        FAIL() << "a Cyrillic letter in code page 1252";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("U+0416"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("1252"), std::string::npos) << e.what();
    }
    EXPECT_THROW(TCodePage(1251).FromUtf8("\u00e4"), Error); // no ä in Cyrillic
    EXPECT_THROW(western.FromUtf8("\xC3"), Error);           // cut-off UTF-8
    EXPECT_THROW(western.FromUtf8("a\xFF"), Error);          // not UTF-8
    try {
        western.ToUtf8("ab\x81");
        FAIL() << "0x81 is no character in code page 1252";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("0x81"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(western.CanDecode("\x81"));
    EXPECT_TRUE(western.CanDecode("\xE4\xF6\xFC"));
    EXPECT_FALSE(TCodePage(1251).CanDecode("\x98"));
}

TEST_F(LanguageTest, OnlyAFileOfVersionThreeOrLaterIsTaken) {
    for (const char* version : {"3.5", "3.1", "3.00", "3.54"}) {
        WriteLanguage("test.tlg", std::string("[Version]\r\nVersion=") + version +
                                      "\r\n[More]\r\n3=Bravo!\r\n");
        RestoreBuiltInTexts();
        EXPECT_TRUE(State.LoadLanguage(Dir.Layout(), "Test").Loaded) << version;
        EXPECT_EQ(MoreMessage(MsgWellDone), "Bravo!") << version;
    }
    EXPECT_EQ(State.Name, "Test");
    for (const char* version : {"2.0", "10.0", "2.99", "3", "", "-5"}) {
        RestoreBuiltInTexts();
        WriteLanguage("old.tlg", std::string("[Version]\r\nVersion=") + version +
                                     "\r\nCharset=238\r\n[More]\r\n3=Bravo!\r\n");
        const TLanguageLoad load = State.LoadLanguage(Dir.Layout(), "Old");
        EXPECT_EQ(
            std::tuple(load.Loaded, load.Message, MoreMessage(MsgWellDone), State.Name,
                       State.Charset),
            std::tuple(false, "Incompatible language (.tlg) file", "Well Done !!!", "Test", 0))
            << version;
    }
    // A missing file, and a file without a Version section, are just as incompatible.
    EXPECT_EQ(State.LoadLanguage(Dir.Layout(), "Klingon").Message,
              "Incompatible language (.tlg) file");
    WriteLanguage("bare.tlg", "[More]\r\n3=Bravo!\r\n");
    EXPECT_FALSE(State.LoadLanguage(Dir.Layout(), "Bare").Loaded);
    // The message is given in its current wording.
    SetText(TextList::Errors, ErrIncompatibleLanguage, "Falsche Sprachdatei");
    EXPECT_EQ(State.LoadLanguage(Dir.Layout(), "Klingon").Message, "Falsche Sprachdatei");
    // An empty name asks for nothing.
    const TLanguageLoad none = State.LoadLanguage(Dir.Layout(), "  ");
    EXPECT_EQ(std::tuple(none.Loaded, none.Message), std::tuple(false, ""));
}

TEST_F(LanguageTest, AFileOverridesOnlyWhatItHolds) {
    WriteLanguage("bravo.tlg", Version35 + "[More]\r\n3=Bravo!\r\n");
    const TLanguageLoad load = State.LoadLanguage(Dir.Layout(), "bravo");
    ASSERT_TRUE(load.Loaded);
    EXPECT_EQ(std::tuple(State.Name, MoreMessage(MsgWellDone), MoreMessage(MsgWelcome),
                         ErrorMessage(ErrNoGames), SkillName(0), State.FontName),
              std::tuple("Bravo", "Bravo!", "Welcome to", "There are no games in Tobbin folder",
                         "Not rated", "Verdana"));
    EXPECT_TRUE(load.FormCaptions(TLanguageForm::Main).empty());
    // Main 24 is Exit, Main 10 the File menu's title, 11 Load game.
    WriteLanguage("menu.tlg", Version35 + "[Main]\r\n10=Fichier\r\n24=&Quitter\r\n");
    EXPECT_EQ(State.LoadLanguage(Dir.Layout(), "Menu").FormCaptions(TLanguageForm::Main),
              (TCaptionMap{{10, "Fichier"}, {24, "&Quitter"}}));
    EXPECT_EQ(State.Captions(TLanguageForm::Main).at(11), "&Load game...");
}

TEST_F(LanguageTest, SwitchingKeepsThePreviousWordingTakesCharsetAndFontAndEnglishRestoresAll) {
    ShipGerman();
    ASSERT_TRUE(State.LoadLanguage(Dir.Layout(), "Deutsch").Loaded);
    EXPECT_EQ(std::tuple(State.Name, MoreMessage(MsgWellDone),
                         State.Captions(TLanguageForm::Main).at(24)),
              std::tuple("Deutsch", "Gut gemacht !!!", "Tobbin &beenden"));

    WriteLanguage("nur-text.tlg", Version35 + "[More]\r\n1=Hallo\r\n");
    const TLanguageLoad onlyMore = State.LoadLanguage(Dir.Layout(), "Nur-Text");
    ASSERT_TRUE(onlyMore.Loaded);
    EXPECT_TRUE(onlyMore.Sections.empty());
    EXPECT_EQ(std::tuple(State.Captions(TLanguageForm::Main).at(24),
                         State.Captions(TLanguageForm::AlertBox).at(1), MoreMessage(MsgWelcome),
                         MoreMessage(MsgWellDone)),
              std::tuple("Tobbin &beenden", "&Ja", "Hallo", "Gut gemacht !!!"));

    // Charset and Font come from the Version section; without a Font the font stays.
    WriteLanguage("cesky.tlg", "[Version]\r\nVersion=3.54\r\nCharset=238\r\nFont=Arial CE\r\n"
                               "[More]\r\n3=V\xFD"
                               "born\xEC!\r\n[Alert]\r\n1=&Ano\r\n");
    ASSERT_TRUE(State.LoadLanguage(Dir.Layout(), "Cesky").Loaded);
    EXPECT_EQ(std::tuple(State.Charset, State.CodePage(), State.FontName),
              std::tuple(238, 1250, "Arial CE"));
    EXPECT_EQ(TCodePage(State.CodePage()).ToUtf8(MoreMessage(MsgWellDone)), "V\u00fdborn\u011b!");
    WriteLanguage("russkij.tlg", "[Version]\r\nVersion=3.54\r\nCharset=204\r\n"
                                 "[More]\r\n3=\xCE\xF2\xEB\xE8\xF7\xED\xEE!\r\n");
    ASSERT_TRUE(State.LoadLanguage(Dir.Layout(), "Russkij").Loaded);
    EXPECT_EQ(std::tuple(State.Charset, State.FontName), std::tuple(204, "Arial CE"));
    EXPECT_EQ(TCodePage(State.CodePage()).ToUtf8(MoreMessage(MsgWellDone)),
              "\u041e\u0442\u043b\u0438\u0447\u043d\u043e!");

    // English needs no file: the built-in texts, code page and font come back whole.
    const TLanguageLoad english = State.LoadLanguage(Dir.Layout(), "English");
    ASSERT_TRUE(english.Loaded);
    EXPECT_EQ(std::tuple(english.Message, State.Name, MoreMessage(MsgWelcome),
                         MoreMessage(MsgWellDone), SkillName(4)),
              std::tuple("", "English", "Welcome to", "Well Done !!!", "Tough"));
    EXPECT_EQ(std::tuple(State.Charset, State.FontName), std::tuple(0, "Verdana"));
    EXPECT_EQ(std::tuple(english.FormCaptions(TLanguageForm::Main).at(24),
                         english.FormCaptions(TLanguageForm::PlayerBox).at(5),
                         State.Captions(TLanguageForm::AlertBox).at(1)),
              std::tuple("E&xit Tobbin", "Your\xA0name:", "&Yes"));

    // An English file is laid over the built-in texts.
    ASSERT_TRUE(State.LoadLanguage(Dir.Layout(), "Deutsch").Loaded);
    WriteLanguage("english.tlg", Version35 + "[More]\r\n3=Well played!\r\n");
    ASSERT_TRUE(State.LoadLanguage(Dir.Layout(), "english").Loaded);
    EXPECT_EQ(std::tuple(MoreMessage(MsgWellDone), MoreMessage(MsgWelcome),
                         State.Captions(TLanguageForm::Main).at(24)),
              std::tuple("Well played!", "Welcome to", "E&xit Tobbin"));

    // An English file of an old version is reported; English still comes back.
    ASSERT_TRUE(State.LoadLanguage(Dir.Layout(), "Deutsch").Loaded);
    WriteLanguage("english.tlg", "[Version]\r\nVersion=2.0\r\n[More]\r\n3=Old!\r\n");
    const TLanguageLoad old = State.LoadLanguage(Dir.Layout(), "English"); // worded before it
    EXPECT_EQ(std::tuple(old.Loaded, old.Message, MoreMessage(MsgWellDone)),
              std::tuple(true, "Unpassende Sprachdatei (.tlg)", "Well Done !!!"));
}

TEST_F(LanguageTest, WindowSectionsApplyInEachWindowsOrder) {
    WriteLanguage("order.tlg", Version35 +
                                   "[Hall]\r\n4=Hall OK\r\n5=Spieler\r\n9=\r\n"
                                   "[Alert]\r\n4=Alert OK\r\n"
                                   "[GameIn]\r\n4=GameIn OK\r\n0=never\r\n010=padded\r\nx=y\r\n"
                                   "[Congrat]\r\n1=Bravo\r\n");
    const TLanguageLoad load = State.LoadLanguage(Dir.Layout(), "Order");
    ASSERT_TRUE(load.Loaded);
    // Champions: Hall, then Alert. Load game: Alert, then GameIn.
    EXPECT_EQ(std::tuple(load.FormCaptions(TLanguageForm::ChampBox).at(4),
                         load.FormCaptions(TLanguageForm::ChampBox).at(5),
                         load.FormCaptions(TLanguageForm::GameBox).at(4),
                         load.FormCaptions(TLanguageForm::SolBox).at(4),
                         load.FormCaptions(TLanguageForm::AlertBox).at(4)),
              std::tuple("Alert OK", "Spieler", "GameIn OK", "Alert OK", "Alert OK"));
    // The congratulations window takes no Alert texts; Alert takes no Congrat ones.
    EXPECT_EQ(load.FormCaptions(TLanguageForm::CongratBox).size(), 1u);
    EXPECT_EQ(load.FormCaptions(TLanguageForm::AlertBox).count(1), 0u);
    // An empty value changes no caption; Tag 0 and keys that are no Tag are skipped.
    EXPECT_EQ(State.Captions(TLanguageForm::ChampBox).at(9), "Double-click here to show details");
    EXPECT_EQ(load.FormCaptions(TLanguageForm::GameBox).count(0), 0u);
    EXPECT_EQ(load.FormCaptions(TLanguageForm::GameBox).count(10), 0u);
    // The file was found as "order.tlg" for "Order"; three keys were skipped.
    ASSERT_EQ(load.Notes.size(), 4u);
    EXPECT_NE(load.Notes[0].find("took \"order.tlg\""), std::string::npos);

    // The captions a window shows build up language by language.
    WriteLanguage("later.tlg", Version35 + "[Hall]\r\n4=Later OK\r\n");
    ASSERT_TRUE(State.LoadLanguage(Dir.Layout(), "Later").Loaded);
    EXPECT_EQ(std::tuple(State.Captions(TLanguageForm::ChampBox).at(4),
                         State.Captions(TLanguageForm::GameBox).at(4),
                         State.Captions(TLanguageForm::NameBox).at(4),
                         State.Captions(TLanguageForm::LevBox).at(3)),
              std::tuple("Later OK", "GameIn OK", "Alert OK", "&Cancel"));
}

TEST_F(LanguageTest, MessageListsKeepTheCurrentTextForMissingOrUnusableKeys) {
    SetText(TextList::More, MsgWelcome, "from before");
    const std::string longText(TLanguageFile::MaxValueLength + 1, 'x');
    WriteLanguage("lists.tlg", Version35 + "[More]\r\n2=\r\n3=" + longText + "\r\n4=Au\x81\r\n" +
                                   "0=zero\r\n60=beyond\r\n-1=negative\r\n5=" +
                                   std::string(TLanguageFile::MaxValueLength, 'y') + "\r\n" +
                                   "[Errors]\r\n7=Kein Bilderordner\r\n9=beyond\r\n"
                                   "[Skill]\r\n6=Alle\r\n[Passed]\r\n1=Neu\r\n4=beyond\r\n");
    const TLanguageLoad load = State.LoadLanguage(Dir.Layout(), "Lists");
    ASSERT_TRUE(load.Loaded);
    EXPECT_EQ(MoreMessage(MsgWelcome), "from before");                   // missing: kept
    EXPECT_EQ(MoreMessage(MsgClickToLoad), "");                          // empty: emptied
    EXPECT_EQ(MoreMessage(MsgWellDone), "Well Done !!!");                // too long: skipped
    EXPECT_EQ(MoreMessage(MsgHeroKilled), "What did you do to Tobbin?"); // 0x81 is no character
    EXPECT_EQ(MoreMessage(MsgGameInfo).size(), TLanguageFile::MaxValueLength);
    EXPECT_EQ(std::tuple(ErrorMessage(ErrImageFolderNotFound), SkillName(5),
                         Text(TextList::Passed, 1), Text(TextList::Passed, 2)),
              std::tuple("Kein Bilderordner", "Alle", "Neu", "Old"));
    // The file name's letter case, then More 3, 4, 0, 60, -1, Errors 9, Passed 4.
    EXPECT_EQ(load.Notes.size(), 8u);
}

TEST(LanguageFiles, AreListedForTheMenuAndFoundWhateverTheirLetterCase) {
    test::TempFolder dir;
    for (const char* name : {"english.tlg", "deutsch.TLG", ".hidden.tlg", "pt.br.tlg", "readme.txt",
                             "mary-ann.tlg", "tlg"})
        test::WriteFile(dir / name, "");
    fs::create_directories(dir / "folder.tlg");
    EXPECT_EQ(LanguageNames(dir.Path()),
              (std::vector<std::string>{"Deutsch", "English", "Mary-Ann", "Pt"}));
    EXPECT_TRUE(LanguageNames(dir / "missing").empty());

    std::string note;
    EXPECT_EQ(FindLanguageFile(dir.Path(), "English", &note), dir / "english.tlg");
    EXPECT_NE(note.find("english.tlg"), std::string::npos);
    EXPECT_EQ(FindLanguageFile(dir.Path(), "pt"), dir / "pt.br.tlg");
    EXPECT_EQ(FindLanguageFile(dir.Path(), "French"), std::nullopt);

    test::WriteFile(dir / "ENGLISH.tlg", "");
    note.clear();
    EXPECT_EQ(FindLanguageFile(dir.Path(), "english", &note), dir / "ENGLISH.tlg");
    EXPECT_NE(note.find("left \"english.tlg\""), std::string::npos) << note;
    test::WriteFile(dir / "English.tlg", "");
    note.clear();
    EXPECT_EQ(FindLanguageFile(dir.Path(), "ENGLISH", &note), dir / "English.tlg");
    EXPECT_EQ(note, "");                             // the exact name needs no note
    EXPECT_EQ(LanguageNames(dir.Path()).size(), 4u); // one entry for the three English files

    // A name never leaves the languages folder.
    fs::create_directories(dir / "sub");
    test::WriteFile(dir / "sub" / "Inner.tlg", "");
    for (const char* outside : {"sub/inner", "..\\x", ""})
        EXPECT_EQ(FindLanguageFile(dir.Path(), outside), std::nullopt) << outside;
}

TEST_F(LanguageTest, TheShippedFilesHoldEveryKeyMatchTheBuiltInTextsAndTranslateThem) {
    fs::copy_file(ShippedLanguages / "english.tlg", Dir / "tlg" / "english.tlg");
    ShipGerman();
    EXPECT_EQ(LanguageNames(test::Layout().LanguagesFolder),
              (std::vector<std::string>{"Deutsch", "English"}));
    const auto count = [](const std::string& text, char c) {
        return std::count(text.begin(), text.end(), c);
    };
    const TextList lists[] = {TextList::More, TextList::Errors, TextList::Skill, TextList::Passed};
    std::map<std::string, TLanguageFile> files;
    for (const std::string name : {"english", "deutsch"}) {
        SCOPED_TRACE(name);
        const std::string bytes = ReadWholeFile(Dir / "tlg" / (name + ".tlg"));
        // Windows-1252 text with CR LF line ends.
        EXPECT_TRUE(TCodePage(1252).CanDecode(bytes));
        for (std::size_t i = 0; i < bytes.size(); ++i)
            if (bytes[i] == '\n') {
                ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "line end at " << i;
            }
        EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");

        const TLanguageFile& file = files[name] = ParseLanguageFile(bytes);
        EXPECT_EQ(std::tuple(file.Compatible(), file.Charset, file.Notes.size()),
                  std::tuple(true, 0, 0u));
        // Every key, and every caption keeps its "@" places.
        for (const std::string& section : WindowSections()) {
            ASSERT_TRUE(file.Sections.count(section)) << section;
            for (const auto& [tag, english] : BuiltInCaptions(section))
                EXPECT_TRUE(file.Sections.at(section).count(tag)) << section << " " << tag;
            EXPECT_EQ(file.Sections.at(section).size(), BuiltInCaptions(section).size());
            for (const auto& [tag, text] : file.Sections.at(section))
                EXPECT_EQ(count(text, '@'), count(BuiltInCaptions(section).at(tag), '@'));
        }
        for (TextList list : lists)
            for (int key = 1; key <= TextCount(list); ++key)
                EXPECT_TRUE(file.List(list).count(key)) << ListSection(list) << " " << key;
    }
    EXPECT_EQ(std::tuple(TextCount(TextList::More), TextCount(TextList::Errors),
                         TextCount(TextList::Skill), TextCount(TextList::Passed),
                         BuiltInCaptions("Main").size()),
              std::tuple(59, 8, 6, 3, 75u));

    // The English file is the built-in texts; the German one keeps their "@" places and "|" lines.
    const TLanguageFile& english = files["english"];
    for (const std::string& section : WindowSections())
        EXPECT_EQ(english.Sections.at(section), BuiltInCaptions(section)) << section;
    for (TextList list : lists)
        for (const auto& [key, text] : english.List(list)) {
            EXPECT_EQ(text, Text(list, key)) << ListSection(list) << " " << key;
            const std::string& german = files["deutsch"].List(list).at(key);
            EXPECT_EQ(count(german, '@'), count(text, '@')) << ListSection(list) << key;
            EXPECT_EQ(count(german, '|'), count(text, '|')) << ListSection(list) << key;
        }

    ASSERT_TRUE(State.LoadLanguage(Dir.Layout(), "Deutsch").Loaded);
    const TCodePage western(1252);
    EXPECT_EQ(std::tuple(western.ToUtf8(State.Captions(TLanguageForm::Main).at(86)),
                         western.ToUtf8(State.Captions(TLanguageForm::PlayerBox).at(5)),
                         ErrorMessage(ErrIncompatibleLanguage), SkillName(0)),
              std::tuple("&Schriftgr\u00f6\u00dfe",
                         "Dein\u00a0Name:", "Unpassende Sprachdatei (.tlg)", "Nicht bewertet"));
}

} // namespace tb
