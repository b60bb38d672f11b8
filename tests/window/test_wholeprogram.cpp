// The whole program through its menus and dialogs: games made in the editor,
// renamed and deleted, the language, tile size, sprite set and font switched,
// archives installed, each checked on disk.

#include "play/tb_alertbox.h"
#include "play/tb_util.h"
#include "records/browsers/tb_champbox.h"
#include "records/browsers/tb_solbox.h"
#include "services/d_language.h"
#include "services/d_menu.h"
#include "services/d_messages.h"
#include "shell/tb_aboutbox.h"
#include "shell/tb_gamebox.h"
#include "shell/tb_levbox.h"
#include "shell/tb_main.h"
#include "shell/tb_namebox.h"
#include "shell/tb_playerbox.h"
#include "tests/install/zip_maker.h"
#include "tests/window/window_support.h"

#include <QApplication>
#include <QScreen>

#include <algorithm>

namespace tb::test {
namespace {

class WholeProgramTest : public MainWindowTest {
protected:
    // Drags across the field from one cell to another with palette slot `slot`.
    static void Paint(TMain& main, int slot, int x1, int y1, int x2, int y2) {
        main.xPal[static_cast<std::size_t>(slot)]->click();
        QTest::mousePress(&main.xMap, Qt::LeftButton, {}, Centre(main, x1, y1));
        QTest::mouseMove(&main.xMap, Centre(main, x2, y2));
        QTest::mouseRelease(&main.xMap, Qt::LeftButton, {}, Centre(main, x2, y2));
    }
    static void Right(TMain& main, int moves) {
        WaitForInput(main);
        for (int i = 0; i < moves; ++i)
            Press(main, Qt::Key_Right);
    }
    static QAction* Find(QMenu* menu, const char* text) {
        for (QAction* item : menu->actions())
            if (item->text().remove('&') == QString::fromUtf8(text)) return item;
        return nullptr;
    }
    // Picks `name` in the load-game dialog with every filter open.
    static void Pick(const char* name) {
        Answer<TGameBox>([name](TGameBox& box) {
            box.xPassed.setCurrentIndex(FilterAll);
            box.xSkill.setCurrentIndex(AllSkills);
            box.xGame.setCurrentIndex(box.xGame.findText(QString::fromUtf8(name)));
            QTest::keyClick(&box, Qt::Key_Return);
        });
    }
    // An archive of `members` in a download folder of its own that the
    // installer searches.
    fs::path Downloads(const char* archive, const std::vector<TZipMember>& members) {
        const fs::path downloads = Folder.Path() / "downloads";
        fs::create_directories(downloads);
        WriteZip((downloads / archive).string(), members);
        return downloads;
    }
};

TEST_F(WholeProgramTest, TheStartAsksForThePlayerAndCancellingEndsTheProgram) {
    // The program's own entry, its splash time already over: Escape in the
    // player dialog ends it with status 0 before the main window shows and
    // before the event loop runs (which would never return here), and writes
    // nothing.
    const std::string settings = ReadFile(Folder.Path() / "tobbin.ini");
    bool asked = false, splashShown = true, mainShown = true;
    Answer<TPlayerBox>([&](TPlayerBox& box) {
        asked = true;
        const QWidgetList windows = QApplication::topLevelWidgets();
        splashShown = std::any_of(windows.begin(), windows.end(), [](const QWidget* window) {
            return qobject_cast<const TAboutBox*>(window) != nullptr && window->isVisible();
        });
        mainShown = MainWindow() == nullptr || MainWindow()->isVisible();
        QTest::keyClick(&box, Qt::Key_Escape);
    });
    EXPECT_EQ(RunProgram(Folder.Layout(), MilliTime() - SplashMilliseconds - 1), 0);
    EXPECT_TRUE(asked);
    EXPECT_FALSE(splashShown) << "the splash gives way to the player dialog";
    EXPECT_FALSE(mainShown) << "the main window exists but does not show";
    EXPECT_EQ(MainWindow(), nullptr) << "and is gone afterwards";
    EXPECT_EQ(ReadFile(Folder.Path() / "tobbin.ini"), settings);

    // The last player is offered; Enter takes him with his installation number.
    Answer<TPlayerBox>([](TPlayerBox& box) {
        EXPECT_EQ(box.xUser.currentText(), QString::fromUtf8("Tester"));
        QTest::keyClick(&box, Qt::Key_Return);
    });
    Program = StartProgram(Folder.Layout(), MilliTime(), false, true);
    ASSERT_TRUE(Program.PlayerChosen);
    EXPECT_EQ(Program.Main->Game().GetPlayer().rfind("Tester #", 0), 0u);
}

TEST_F(WholeProgramTest, AGameMadeInTheEditorIsSavedReloadedFromTheDialogAndWon) {
    TMain& main = Start();
    TWinGame& game = main.Game();
    const auto levelName = [](const char* name) {
        Answer<TLevBox>([name](TLevBox& level) {
            TypeName(level.xEdit, name);
            QTest::keyClick(&level, Qt::Key_Return);
        });
    };
    Answer<TNameBox>([&](TNameBox& box) {
        TypeName(box.xEdit, "Herb Border");
        QTest::keyClick(&box, Qt::Key_Return);
        levelName("First Bed");
    });
    main.Item(12)->trigger();
    ASSERT_TRUE(game.IsEdit());
    EXPECT_TRUE(main.Item(TagEditMenu)->isVisible());
    EXPECT_EQ(game.GameAuthor(), "Tester");
    EXPECT_EQ(game.LevelName(1), "First Bed");

    // Level 1: the hero and three food to his right, painted by one drag.
    Paint(main, 7, 2, 2, 2, 2);
    Paint(main, 4, 5, 2, 3, 2); // dragged right to left
    EXPECT_EQ(game.GetCell(TPos(2, 2)), Hero);
    for (int x = 3; x <= 5; ++x)
        EXPECT_EQ(game.GetCell(TPos(x, 2)), Food) << x;
    EXPECT_EQ(game.GetCell(TPos(6, 2)), Empty);

    levelName("Second Bed");
    main.Item(41)->trigger();
    ASSERT_EQ(game.LevelCount(), 2);
    EXPECT_EQ(game.GetLevel(), 2);
    EXPECT_TRUE(main.xLev[1]->isVisible());

    // A level without food cannot be saved; nothing is written.
    Paint(main, 7, 2, 2, 2, 2);
    QString refused;
    Reply({{&TAlertBox::xOK, Note(refused)}});
    main.Item(15)->trigger();
    EXPECT_TRUE(refused.contains(ToUnicode(MoreMessage(MsgCannotSave)))) << refused.toStdString();
    EXPECT_FALSE(fs::exists(GameFile("Herb Border")));

    Paint(main, 4, 3, 2, 3, 2);
    main.Item(15)->trigger();
    ASSERT_TRUE(fs::exists(GameFile("Herb Border")));
    ASSERT_NE(game.FindGame("Herb Border"), nullptr);
    EXPECT_EQ(game.FindGame("Herb Border")->GetLevelCount(), 2);

    // Load game leaves the editor (nothing to ask: the game is saved) and
    // the dialog offers the new game.
    Pick("Herb Border");
    main.Item(11)->trigger();
    EXPECT_FALSE(game.IsEdit());
    ASSERT_EQ(game.GameName(), "Herb Border");
    ASSERT_EQ(game.GetLevel(), 1);
    Right(main, 3);
    EXPECT_EQ(game.GetRecords().PlayerSteps("Herb Border", 1, "Tester"), 3);
    EXPECT_EQ(game.GetLevel(), 2);
}

TEST_F(WholeProgramTest, AWonLevelIsReachedFromTheHallAndItsRecordsFollowARenameAndADelete) {
    // A two-level game whose first level the player wins (winning the last
    // level would bring the congratulations).
    WriteGame("Old Lane", {LongCorridor, LongCorridor});
    TMain& main = Start();
    TWinGame& game = main.Game();
    game.OpenGameAt("Old Lane", 1);
    Right(main, 7);
    ASSERT_EQ(game.GetRecords().PlayerSteps("Old Lane", 1, "Tester"), 7);
    ASSERT_EQ(game.GetLevel(), 2);

    // The hall's item follows the records. The champions' row of Tester
    // leads to his best results, and their row of level 1 back to the level.
    emit main.Menus().Menu(TagFileMenu)->aboutToShow();
    EXPECT_TRUE(main.Item(23)->isVisible());
    Answer<TChampBox>([](TChampBox& hall) {
        int tester = -1;
        for (int row = 0; row < hall.xList.DataRows(); ++row)
            if (hall.xList.Cell(row, 1).startsWith(QString::fromUtf8("Tester"))) tester = row;
        ASSERT_GE(tester, 0);
        hall.xList.SelectDataRow(tester);
        Answer<TSolBox>([](TSolBox& best) {
            ASSERT_EQ(best.xList.DataRows(), 1);
            EXPECT_EQ(best.xList.Cell(0, 2), QString::fromUtf8("Old Lane"));
            best.xList.SelectDataRow(0);
            QTest::keyClick(&best.xList, Qt::Key_Space);
        });
        QTest::keyClick(&hall.xList, Qt::Key_Space);
    });
    main.Item(23)->trigger();
    EXPECT_EQ(game.GameName(), "Old Lane");
    EXPECT_EQ(game.GetLevel(), 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    main.Item(18)->trigger();
    ASSERT_TRUE(game.IsEdit());
    Answer<TNameBox>([](TNameBox& box) {
        TypeName(box.xEdit, "New Lane");
        QTest::keyClick(&box, Qt::Key_Return);
    });
    main.Item(54)->trigger();
    EXPECT_TRUE(main.windowTitle().contains(QString::fromUtf8("New Lane")));
    // Closing with the change unsaved asks; Cancel keeps the editor open.
    ASSERT_TRUE(game.IsModified());
    Reply({{&TAlertBox::xCancel}});
    EXPECT_FALSE(main.close());
    EXPECT_TRUE(game.IsEdit() && main.isVisible());
    main.Item(15)->trigger();
    EXPECT_TRUE(fs::exists(GameFile("New Lane")));
    EXPECT_FALSE(fs::exists(GameFile("Old Lane")));
    EXPECT_EQ(game.FindGame("Old Lane"), nullptr);
    EXPECT_EQ(game.GetRecords().PlayerSteps("New Lane", 1, "Tester"), 7);
    main.Item(19)->trigger(); // saved: leaves without a question
    EXPECT_FALSE(game.IsEdit());
    EXPECT_EQ(game.GameName(), "New Lane");

    QString question;
    Reply({{&TAlertBox::xYes, Note(question)}});
    main.Item(25)->trigger();
    EXPECT_TRUE(question.contains(QString::fromUtf8("\"New Lane\""))) << question.toStdString();
    EXPECT_FALSE(fs::exists(GameFile("New Lane")));
    EXPECT_EQ(game.FindGame("New Lane"), nullptr);
    EXPECT_EQ(game.GetRecords().PlayerSteps("New Lane", 1, "Tester"), 0);
}

TEST_F(WholeProgramTest, AGameFileThatVanishedIsReportedAndTheGameInPlayStays) {
    WriteGame("Corridor", {LongCorridor});
    WriteGame("Fleeting", {LongCorridor});
    TMain& main = Start();
    TWinGame& game = main.Game();
    Open(main, "Corridor");
    fs::remove(GameFile("Fleeting"));
    // The load-game dialog still lists it; loading it fails with the error
    // that the window's handler shows.
    Pick("Fleeting");
    EXPECT_THROW(main.LoadGameCommand(), std::exception);
    EXPECT_TRUE(main.Ui().MenusEnabled());
    EXPECT_EQ(game.GameName(), "Corridor");
    EXPECT_EQ(game.GetState(), TState::Ready);
}

TEST_F(WholeProgramTest, GermanCaptionsAndMessagesComeAtOnceAndEnglishComesBack) {
    TMain& main = Start();
    QAction* german = Find(main.Menus().Menu(TagLanguageMenu), "Deutsch");
    QAction* english = Find(main.Menus().Menu(TagLanguageMenu), "English");
    ASSERT_NE(german, nullptr);
    ASSERT_NE(english, nullptr);
    german->trigger();
    EXPECT_EQ(main.Item(11)->text(), QString::fromUtf8("Spiel &laden..."));
    // The five Shuffle items share one caption; the extras have none in the file.
    for (int tag : {int{TagSoundShuffle}, SpriteShuffleTag(1), SpriteShuffleTag(2),
                    SpriteShuffleTag(3), SpriteShuffleTag(4)})
        EXPECT_EQ(main.Item(tag)->text(), QString::fromUtf8("&Zufall")) << tag;
    EXPECT_EQ(main.Item(TagReadOnly)->text(), QString::fromUtf8("&Read only"));
    EXPECT_EQ(main.xBottomLab.text(), QString::fromUtf8("Hier klicken, um ein Spiel zu laden"));
    EXPECT_EQ(ToUnicode(ErrorMessage(ErrGameNameUsed)),
              QString::fromUtf8("Dieser Spielname ist schon vergeben"));
    EXPECT_TRUE(german->isChecked());
    english->trigger();
    EXPECT_EQ(main.Item(11)->text(), QString::fromUtf8("&Load game..."));
    EXPECT_EQ(ErrorMessage(ErrGameNameUsed), "This game name is already used");
}

TEST_F(WholeProgramTest, TileSizeSpriteSetAndFontSizeAreKeptInTheSettingsFile) {
    TMain& main = Start();
    QAction* crystal = Find(main.Menus().Menu(SizeTag(2)), "Crystal");
    ASSERT_NE(crystal, nullptr) << "the medium size offers the Crystal set";
    crystal->trigger();
    EXPECT_EQ(main.TileSize, 2);
    EXPECT_EQ(main.TilePixels, 24);
    QAction* seven = Find(main.Menus().Menu(TagFontSizeMenu), " 7");
    ASSERT_NE(seven, nullptr);
    seven->trigger();
    EXPECT_TRUE(seven->isChecked());
    main.Item(TagBold)->trigger();
    EXPECT_TRUE(main.Item(TagBold)->isChecked());

    Reply({{&TAlertBox::xYes}});
    ASSERT_TRUE(main.close());
    const std::string ini = ReadFile(Folder.Path() / "tobbin.ini");
    for (const char* line : {"Size=2", "Sprites=Crystal", "Fontsize=7", "BoldFont=1"})
        EXPECT_NE(ini.find(line), std::string::npos) << line << " in " << ini;
}

TEST_F(WholeProgramTest, AnInstallCommandUnpacksTheAcceptedArchiveOnceAndSaysSo) {
    WriteGame("Meadow", {LongCorridor});
    const std::string game = ReadFile(GameFile("Meadow"));
    fs::remove(GameFile("Meadow"));
    const fs::path downloads = Downloads(
        "tobbin-gam-meadow.zip", {TZipMember("tbg/" + GameFileName("Meadow", ".tbg"), game)});
    TMain& main = Start();
    main.Installer().SearchPlaces = TSearchPlaces{{downloads}, {}};
    QString found, report;
    Reply({{&TAlertBox::xYes}, {&TAlertBox::xYes, Note(found)}, {&TAlertBox::xOK, Note(report)}});
    QAction* games = main.Item(81);
    games->trigger();
    EXPECT_TRUE(found.contains(QString::fromUtf8("tobbin-gam-meadow.zip"))) << found.toStdString();
    EXPECT_TRUE(report.contains(ToUnicode(MoreMessage(MsgFilesInstalled)).section('|', 0, 0)))
        << report.toStdString();
    EXPECT_EQ(ReadFile(GameFile("Meadow")), game);
    EXPECT_FALSE(fs::exists(downloads / "tobbin-gam-meadow.zip"));
    EXPECT_FALSE(games->isVisible());
    EXPECT_TRUE(main.Ui().MenusEnabled());
}

TEST_F(WholeProgramTest, RefusedMembersAreListedInThePlayersLanguageInABoxThatFitsTheScreen) {
    // A games archive that also tries to replace the settings and forty other
    // files with names of 200 characters.
    const std::string ini = ReadFile(Folder.Path() / "tobbin.ini");
    std::vector<TZipMember> members = {TZipMember("tbg/meadow.tbg", "not read here"),
                                       TZipMember("tobbin.ini", "[Graphics]\r\n")};
    for (int i = 0; i < 40; ++i)
        members.emplace_back(std::string(200, static_cast<char>('a' + i % 26)) + ".exe", "x");
    const fs::path downloads = Downloads("tobbin-gam-many.zip", members);
    TMain& main = Start();
    Find(main.Menus().Menu(TagLanguageMenu), "Deutsch")->trigger();
    main.Installer().SearchPlaces = TSearchPlaces{{downloads}, {}};
    QString refused;
    int width = 0;
    const auto look = [&](TAlertBox& list) {
        refused = ShownText(list);
        width = list.frameGeometry().width();
    };
    Reply({{&TAlertBox::xYes}, {&TAlertBox::xYes}, {&TAlertBox::xOK, look}, {&TAlertBox::xOK}});
    main.Item(81)->trigger();
    for (const char* text :
         {"tobbin.ini", "und 39 weitere", "Nicht installiert aus \"tobbin-gam-many.zip\""})
        EXPECT_TRUE(refused.contains(QString::fromUtf8(text))) << text << refused.toStdString();
    EXPECT_LE(width, QGuiApplication::primaryScreen()->availableGeometry().width());
    EXPECT_EQ(ReadFile(Folder.Path() / "tobbin.ini"), ini);
    EXPECT_EQ(ReadFile(GameFile("meadow")), "not read here");
    EXPECT_TRUE(fs::exists(downloads / "tobbin-gam-many.zip"));
}

} // namespace
} // namespace tb::test
