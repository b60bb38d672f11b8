// The real main window on a temporary program folder with the shipped games:
// keys and clicks drive it as a player would, and the records show the result.

#include "play/tb_alertbox.h"
#include "play/tb_pump.h"
#include "play/tb_util.h"
#include "services/d_language.h"
#include "services/d_messages.h"
#include "services/d_sound.h"
#include "shell/tb_aboutbox.h"
#include "shell/tb_gamebox.h"
#include "tests/window/mainwindow_support.h"

#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <cmath>

namespace tb::test {
namespace {

TEST_F(MainWindowTest, TheFirstShippedLevelIsWonByKeysAndTheNextOneOpens) {
    TMain& main = Start();
    TWinGame& game = main.Game();
    EXPECT_EQ(game.GetPlayer(), "Tester");
    EXPECT_EQ(main.xBottomLab.text(), ToUnicode(MoreMessage(MsgClickToLoad)));
    ASSERT_GT(game.GameCount(), 0);
    const std::string name = game.GameAt(1).Name;
    game.OpenGameAt(name, 1);
    WaitForInput(main);
    ASSERT_EQ(game.GetState(), TState::Ready);
    const TLevSol* best = game.BestSolution();
    ASSERT_NE(best, nullptr) << "the shipped games come with their solutions";
    const TLevSol solution = *best;

    // The banner and the counter are read while the game waits for the banner.
    QString banner, steps;
    for (int i = 1; i < solution.GetSteps(); ++i)
        Press(main, KeyOf(solution.GetMove(i)));
    EXPECT_EQ(main.xStepLab.text(), QString::number(solution.GetSteps() - 1));
    QTimer::singleShot(300, [&] {
        banner = main.xBottomLab.text();
        steps = main.xStepLab.text();
    });
    Press(main, KeyOf(solution.GetMove(solution.GetSteps())));

    EXPECT_EQ(banner, ToUnicode(MoreMessage(MsgWellDone)));
    EXPECT_EQ(steps, QString::number(solution.GetSteps()));
    EXPECT_EQ(game.GetRecords().PlayerSteps(name, 1, "Tester"), solution.GetSteps());
    EXPECT_EQ(game.GetLevel(), 2);
    EXPECT_EQ(game.GetState(), TState::Ready);
    EXPECT_TRUE(main.xLev[1]->isEnabled());
    EXPECT_TRUE(main.windowTitle().endsWith(QString::fromUtf8("> Level 2")));
}

TEST_F(MainWindowTest, ACrushIsMournedAndStepBackRestoresThePosition) {
    WriteGame("Deadly", {Deadly});
    TMain& main = Start();
    TWinGame& game = main.Game();
    game.OpenGameAt("Deadly", 1);
    WaitForInput(main);
    const TPos start = game.GetHeroPos();
    Press(main, Qt::Key_Left);
    EXPECT_EQ(game.GetState(), TState::Done);
    EXPECT_EQ(main.xBottomLab.text(), ToUnicode(MoreMessage(MsgHeroKilled)));
    Press(main, Qt::Key_Backspace); // locked while the banner shows
    EXPECT_EQ(game.GetState(), TState::Done);
    WaitForInput(main);
    Press(main, Qt::Key_Backspace);
    EXPECT_EQ(game.GetHeroPos(), start);
    EXPECT_EQ(game.GetCell(start), Hero);
    EXPECT_NE(game.GetState(), TState::Done);
    // The picture on the field shows the hero again at his cell.
    const int px = main.TilePixels;
    const QImage hero = main.TileSets[static_cast<std::size_t>(main.TileSize)].Cells[Hero];
    EXPECT_EQ(main.xMap.Picture().copy((start.X - 1) * px, (start.Y - 1) * px, px, px), hero);
}

TEST_F(MainWindowTest, AReplayTakenOverByAClickGoesOnWithThePlayersOwnMoves) {
    WriteGame("Corridor", {LongCorridor});
    WriteFile(Folder.Path() / "tobbin.ini",
              "[Game]\r\nPlayer=Tester\r\n[Speed]\r\nSpeed=1\r\nSlow=150\r\n[Sound]\r\nOn=0\r\n");
    TMain& main = Start();
    TWinGame& game = main.Game();
    game.OpenGameAt("Corridor", 1);
    WaitForInput(main);
    for (int i = 0; i < 5; ++i)
        Press(main, Qt::Key_Right);
    ASSERT_EQ(game.GetSolution().GetSteps(), 5);

    // The click lands while the replay runs, after its second step: the
    // player takes over there.
    bool replaying = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (game.GetState() != TState::Replay || game.GetSolution().GetSteps() < 2) return;
        watch.stop();
        replaying = true;
        QTest::mouseClick(&main.xMap, Qt::LeftButton, {}, QPoint(5, 5));
    });
    watch.start(5);
    game.PlayBack(false);
    EXPECT_TRUE(replaying);
    EXPECT_EQ(game.GetState(), TState::Play);
    EXPECT_FALSE(game.IsInPlayBack());
    const std::uint16_t taken = game.GetSolution().GetSteps();
    EXPECT_GT(taken, 0);
    EXPECT_LT(taken, 5);
    const TPos there = game.GetHeroPos();
    Press(main, Qt::Key_Right);
    EXPECT_EQ(game.GetSolution().GetSteps(), taken + 1);
    EXPECT_EQ(game.GetHeroPos(), TPos(there.X + 1, there.Y));
}

TEST_F(MainWindowTest, AClickInTheHerosRowRunsHimThereAndADiagonalClickDoesNothing) {
    WriteGame("Corridor", {LongCorridor});
    TMain& main = Start();
    TWinGame& game = main.Game();
    game.OpenGameAt("Corridor", 1);
    WaitForInput(main);
    const TPos hero = game.GetHeroPos();
    const int px = main.TilePixels;
    auto centre = [px](int x, int y) {
        return QPoint((x - 1) * px + px / 2, (y - 1) * px + px / 2);
    };
    QTest::mouseClick(&main.xMap, Qt::LeftButton, {}, centre(hero.X + 1, hero.Y + 1));
    EXPECT_EQ(game.GetHeroPos(), hero);
    QTest::mouseClick(&main.xMap, Qt::LeftButton, {}, centre(hero.X + 3, hero.Y));
    EXPECT_EQ(game.GetHeroPos(), TPos(hero.X + 3, hero.Y));
    EXPECT_EQ(game.GetSolution().GetSteps(), 3);
}

TEST_F(MainWindowTest, AMissingSpriteFolderIsReportedAndTheWindowGoesOn) {
    fs::remove_all(Folder.Path() / "img");
    QString shown;
    WhenModal([&](QWidget& box) {
        for (QLabel* label : box.findChildren<QLabel*>())
            if (!label->text().isEmpty()) shown += label->text();
        box.close();
    });
    TMain& main = Start();
    EXPECT_TRUE(shown.contains(ToUnicode(ErrorMessage(ErrImageFolderNotFound))))
        << shown.toStdString();
    EXPECT_TRUE(main.isVisible());
    EXPECT_TRUE(main.Ui().MenusEnabled());
}

TEST_F(MainWindowTest, AMissingSoundSetSkinOrLanguageLeavesTheBuiltInDefaults) {
    WriteFile(Folder.Path() / "tobbin.ini",
              "[Game]\r\nPlayer=Tester\r\n[Sound]\r\nWaves=Gone\r\n[Graphics]\r\nSkin=Gone\r\n"
              "[Global]\r\nLanguage=Gone\r\n");
    QString shown;
    WhenModal([&](QWidget& box) {
        for (QLabel* label : box.findChildren<QLabel*>())
            shown += label->text();
        box.close();
    });
    TMain& main = Start();
    EXPECT_TRUE(shown.contains(ToUnicode(ErrorMessage(ErrIncompatibleLanguage))))
        << shown.toStdString();
    EXPECT_EQ(Language().Name, "English");
    EXPECT_EQ(SoundBank().LoadedCount(), 0); // silent, not failing
    EXPECT_EQ(main.Item(24)->text(), QString::fromUtf8("E&xit Tobbin"));
    main.Game().OpenGameAt("First Steps", 1);
    EXPECT_EQ(main.Game().GetState(), TState::Ready);
}

TEST_F(MainWindowTest, ClosingAsksToSaveTheLevelInProgressThenForGoodbyeAndWritesTheSettings) {
    WriteGame("Corridor", {LongCorridor});
    TMain& main = Start();
    TWinGame& game = main.Game();
    game.OpenGameAt("Corridor", 1);
    WaitForInput(main);
    Press(main, Qt::Key_Right);
    Press(main, Qt::Key_Right);
    ASSERT_EQ(game.GetState(), TState::Play);

    // Cancel on the first question keeps the program open.
    WhenModal([](QWidget& box) { static_cast<TAlertBox&>(box).xCancel.click(); });
    EXPECT_FALSE(main.close());
    EXPECT_TRUE(main.isVisible());

    // Yes saves the level in progress; Yes to goodbye closes.
    WhenModal([](QWidget& box) {
        static_cast<TAlertBox&>(box).xYes.click();
        WhenModal([](QWidget& next) { static_cast<TAlertBox&>(next).xYes.click(); });
    });
    EXPECT_TRUE(main.close());
    const std::string saved = ReadFile(Folder.Path() / "tobbin.sav");
    EXPECT_NE(saved.find("Corridor"), std::string::npos) << saved;
    const std::string ini = ReadFile(Folder.Path() / "tobbin.ini");
    EXPECT_NE(ini.find("Player=Tester"), std::string::npos) << ini;
    EXPECT_NE(ini.find("Game=Corridor"), std::string::npos) << ini;
}

TEST_F(MainWindowTest, TheLoadGameDialogPreselectsTheLastRunsGameOnceThenFollowsThePlayer) {
    WriteGame("Corridor", {LongCorridor});
    WriteGame("Passage", {LongCorridor});
    WriteFile(Folder.Path() / "tobbin.ini", "[Game]\r\nPlayer=Tester\r\nGame=Corridor\r\n"
                                            "[Speed]\r\nSpeed=4\r\n[Sound]\r\nOn=0\r\n");
    TMain& main = Start();
    WaitForInput(main);
    std::vector<std::string> preselected;
    // Each showing notes the selected game, then picks `pick` (or cancels).
    const auto load = [&](const std::string& pick) {
        WhenModal([&](QWidget& widget) {
            auto& box = static_cast<TGameBox&>(widget);
            preselected.push_back(box.xGame.currentText().toStdString());
            const int index = box.xGame.findText(QString::fromStdString(pick));
            if (index < 0) {
                box.xCancel.click();
                return;
            }
            box.xGame.setCurrentIndex(index);
            box.xOK.click();
        });
        main.LoadGameCommand();
        WaitForInput(main);
    };
    load("");        // cancelled: the last run's game stays remembered
    load("Passage"); // the player's own choice
    load("Corridor");
    load("");
    EXPECT_EQ(preselected,
              (std::vector<std::string>{"Corridor", "Corridor", "Passage", "Corridor"}));
    EXPECT_EQ(main.Game().GameName(), "Corridor");
}

TEST_F(MainWindowTest, AHeldDownEnterLoadsOneGameAndNeverStartsLoadingInsideItself) {
    WriteGame("Corridor", {LongCorridor});
    TMain& main = Start();
    main.Game().OpenGameAt("Corridor", 1);
    WaitForInput(main);
    ASSERT_EQ(main.Game().GetState(), TState::Ready);

    // While the first Enter is handled the key stays down: the system repeats
    // it every 20 ms to whichever window has the input.
    int showings = 0;
    bool dialogUp = false;
    std::uint32_t shownAt = 0;
    std::string chosen;
    const std::uint32_t start = MilliTime();
    QTimer held;
    held.setInterval(20);
    QObject::connect(&held, &QTimer::timeout, [&] {
        auto* box = dynamic_cast<TGameBox*>(QApplication::activeModalWidget());
        if (box != nullptr && !dialogUp) {
            ++showings;
            shownAt = MilliTime();
        }
        dialogUp = box != nullptr;
        // A second load inside the first: cancel it so that the test ends.
        if (showings > 1 && box != nullptr) {
            box->xCancel.click();
            return;
        }
        QWidget* target = box != nullptr ? static_cast<QWidget*>(box) : &main;
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            if (MilliTime() - start > 1500) break; // the key is let go
            // Posted, as the system delivers them: the next event processing
            // hands them out, inside whatever runs then.
            QCoreApplication::postEvent(target, new QKeyEvent(type, Qt::Key_Return, Qt::NoModifier,
                                                              QStringLiteral("\r"), true));
        }
        // The player picks the game after a while.
        if (box != nullptr && MilliTime() - shownAt > 300) {
            chosen = box->xGame.currentText().toStdString();
            box->xOK.click();
        }
    });
    held.start();
    QTest::keyPress(&main, Qt::Key_Return);
    held.stop();
    QTest::keyRelease(&main, Qt::Key_Return);

    EXPECT_EQ(showings, 1);
    EXPECT_FALSE(TEventPump::CommandRunning());
    EXPECT_EQ(main.Game().GameName(), chosen);
    EXPECT_EQ(main.Game().GetState(), TState::Ready);
}

TEST_F(MainWindowTest, TheStartupSplashShowsItsPictureAndNoSecondTitle) {
    Program = StartProgram(MilliTime(), false, false);
    ASSERT_NE(Program.About, nullptr);
    const TAboutBox& about = *Program.About;
    EXPECT_TRUE(about.isVisible());
    const QImage file(QString::fromStdString(TAboutBox::SplashPictureFile().string()));
    ASSERT_FALSE(file.isNull()) << "the staged program folder has its splash picture";
    EXPECT_EQ(about.xPic.pixmap().toImage().convertToFormat(QImage::Format_RGB32),
              file.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(about.size(), file.size());
    // The picture has the title; the version stands below it.
    EXPECT_FALSE(about.xTitle.isVisibleTo(&about));
    EXPECT_TRUE(about.xVersion.isVisibleTo(&about));
    EXPECT_GE(about.xVersion.y(), about.height() / 2);
}

TEST_F(MainWindowTest, TheWindowTakesTheSizeOfItsContentsAtEveryTileSize) {
    WriteFile(Folder.Path() / "tobbin.ini", "[Game]\r\nPlayer=Tester\r\n[Graphics]\r\nSize=1\r\n"
                                            "[Speed]\r\nSpeed=4\r\n[Sound]\r\nOn=0\r\n");
    TMain& main = Start();
    WaitForInput(main);
    const auto contents = [&] {
        return QSize(main.Client.width(), main.menuBar()->height() + main.Client.height());
    };
    ASSERT_EQ(main.TileSize, 1);
    EXPECT_EQ(main.Client.size(), QSize(500, 328));
    EXPECT_EQ(main.size(), contents()) << "at the start";
    // A late notice of another size from the window system (an X server
    // reports the first window's 640 x 480) is put right.
    main.windowHandle()->resize(QSize(640, 480));
    EXPECT_TRUE(QTest::qWaitFor([&] { return main.size() == contents(); }, 2000))
        << main.width() << " x " << main.height();
    // Up through the sizes the screen allows, then back down to the smallest.
    std::vector<int> sizes;
    for (int size = 1; size <= 4; ++size)
        if (main.Menus().Menu(SizeTag(size))->menuAction()->isVisible()) sizes.push_back(size);
    ASSERT_GE(sizes.size(), 2U) << "the test screen allows a second tile size";
    sizes.insert(sizes.end(), sizes.rbegin() + 1, sizes.rend());
    for (int size : sizes) {
        QMenu* menu = main.Menus().Menu(SizeTag(size));
        QAction* set = nullptr;
        for (QAction* item : menu->actions())
            if (item->data().isValid() && set == nullptr) set = item;
        ASSERT_NE(set, nullptr);
        set->trigger();
        QCoreApplication::processEvents();
        EXPECT_EQ(main.TileSize, size);
        EXPECT_EQ(main.Client.width(), 500 + 248 * (size - 1)) << size;
        EXPECT_TRUE(QTest::qWaitFor([&] { return main.size() == contents(); }, 2000))
            << "tile size " << size << ": " << main.width() << " x " << main.height();
    }
}

TEST_F(MainWindowTest, KeypadDigitsChooseLevelsAndReadOnlyWaitsForTheEditor) {
    WriteGame("Pair", {LongCorridor, LongCorridor, LongCorridor});
    TMain& main = Start();
    EXPECT_FALSE(main.Item(TagReadOnly)->isEnabled());
    main.Game().ToggleAllLevels();
    main.Game().OpenGameAt("Pair", 1);
    WaitForInput(main);
    for (const auto& [modifier, level] : {std::pair{Qt::KeypadModifier, 3}, {Qt::NoModifier, 2}}) {
        QTest::keyClick(&main, static_cast<Qt::Key>(Qt::Key_0 + level), modifier);
        WaitForInput(main);
        EXPECT_EQ(main.Game().GetLevel(), level);
    }
    main.Game().EditMode();
    EXPECT_TRUE(main.Item(TagReadOnly)->isEnabled());
    // The palette's hints are the cell kinds' names of the language.
    EXPECT_EQ(main.xPal[2]->toolTip(), QStringLiteral("Wall"));
    main.Options().LoadLanguage("Deutsch");
    EXPECT_EQ(main.xPal[2]->toolTip(), QStringLiteral("Mauer"));
    main.Options().LoadLanguage("English");
}

// The contrast ratio of two colours by their relative luminance (1 to 21).
double Contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
               0.0722 * channel(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST_F(MainWindowTest, LevelButtonNumbersStandOutOnTheBottomPanelOfEverySkin) {
    TMain& main = Start();
    for (const std::string skin : {"Standard", "Night"}) {
        main.Options().SetSkin(skin);
        const QImage panel(QString::fromStdString(
            (SkinFolder(skin) / tb::Settings().SkinPictureName(TSkinPicture::Panel)).string()));
        ASSERT_FALSE(panel.isNull()) << skin;
        const QColor ground =
            panel.scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).pixelColor(0, 0);
        const QPalette& colours = main.xLev[0]->palette();
        EXPECT_GE(Contrast(colours.color(QPalette::ButtonText), ground), 4.5) << skin;
        EXPECT_GE(Contrast(colours.color(QPalette::ButtonText), colours.color(QPalette::Button)),
                  4.5)
            << skin;
    }
}

} // namespace
} // namespace tb::test
