// The real main window on a temporary program folder with the shipped games:
// keys and clicks drive it as a player would, and the records show the result.

#include "play/tb_alertbox.h"
#include "play/tb_pump.h"
#include "play/tb_util.h"
#include "services/d_language.h"
#include "services/d_menu.h"
#include "services/d_messages.h"
#include "services/d_settings.h"
#include "services/d_sound.h"
#include "shell/tb_aboutbox.h"
#include "shell/tb_gamebox.h"
#include "shell/tb_helpwin.h"
#include "shell/tb_main.h"
#include "tests/window/window_support.h"

#include <QMenuBar>
#include <QTimer>
#include <QWindow>

#include <cmath>
#include <set>

namespace tb::test {
namespace {

int KeyOf(std::uint8_t move) {
    constexpr int keys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right};
    return keys[move];
}

TEST_F(MainWindowTest, TheFirstShippedLevelIsWonByKeysAndTheNextOneOpens) {
    TMain& main = Start();
    TWinGame& game = main.Game();
    EXPECT_EQ(game.GetPlayer(), "Tester");
    EXPECT_EQ(main.xBottomLab.text(), ToUnicode(MoreMessage(MsgClickToLoad)));
    ASSERT_GT(game.GameCount(), 0);
    const std::string name = game.GameAt(1).Name;
    Open(main, name);
    ASSERT_EQ(game.GetState(), TState::Ready);
    ASSERT_NE(game.BestSolution(), nullptr) << "the shipped games come with their solutions";
    const TLevSol solution = *game.BestSolution();

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
    Open(main, "Deadly");
    const TPos start = game.GetHeroPos();
    Press(main, Qt::Key_Left);
    EXPECT_EQ(main.xBottomLab.text(), ToUnicode(MoreMessage(MsgHeroKilled)));
    Press(main, Qt::Key_Backspace); // locked while the banner shows
    EXPECT_EQ(game.GetState(), TState::Done);
    WaitForInput(main);
    Press(main, Qt::Key_Backspace);
    EXPECT_EQ(game.GetHeroPos(), start);
    // The picture on the field shows the hero again at his cell.
    const int px = main.TilePixels;
    const QImage hero = main.TileSets[static_cast<std::size_t>(main.TileSize)].Cells[Hero];
    EXPECT_EQ(main.xMap.Picture().copy((start.X - 1) * px, (start.Y - 1) * px, px, px), hero);
}

TEST_F(MainWindowTest, AClickTakesAReplayOverAndThenRunsTheHeroToTheClickedCell) {
    WriteGame("Corridor", {LongCorridor});
    Ini("[Speed]\r\nSpeed=1\r\nSlow=150\r\n");
    TMain& main = Start();
    TWinGame& game = main.Game();
    Open(main, "Corridor");
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
    QTest::mouseClick(&main.xMap, Qt::LeftButton, {}, Centre(main, there.X + 2, there.Y));
    EXPECT_EQ(game.GetSolution().GetSteps(), taken + 2);
    EXPECT_EQ(game.GetHeroPos(), TPos(there.X + 2, there.Y));
}

TEST_F(MainWindowTest, MissingPicturesSoundsSkinOrLanguageAreReportedAndDefaultsServe) {
    const struct {
        const char* Ini;
        bool Pictures;
        ErrorText Shown;
    } cases[] = {{"[Sound]\r\nOn=1\r\nWaves=Gone\r\n[Graphics]\r\nSkin=Gone\r\n"
                  "[Global]\r\nLanguage=Gone\r\n",
                  true, ErrIncompatibleLanguage},
                 {"", false, ErrImageFolderNotFound}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Ini);
        Ini(c.Ini);
        if (!c.Pictures) fs::remove_all(Folder.Path() / "img");
        QString shown;
        WhenModal([&](QWidget& box) {
            shown = ShownText(box);
            box.close();
        });
        TMain& main = Start();
        EXPECT_TRUE(shown.contains(ToUnicode(ErrorMessage(c.Shown)))) << shown.toStdString();
        EXPECT_TRUE(main.isVisible());
        EXPECT_TRUE(main.Ui().MenusEnabled());
        EXPECT_EQ(Language().Name, "English");
        EXPECT_EQ(SoundBank().LoadedCount(), 0); // silent, not failing
        EXPECT_EQ(main.Item(24)->text(), QString::fromUtf8("E&xit Tobbin"));
        main.Game().OpenGameAt("First Steps", 1);
        EXPECT_EQ(main.Game().GetState(), TState::Ready);
    }
}

TEST_F(MainWindowTest, ClosingAsksToSaveTheLevelInProgressThenForGoodbyeAndWritesTheSettings) {
    WriteGame("Corridor", {LongCorridor});
    TMain& main = Start();
    Open(main, "Corridor");
    Press(main, Qt::Key_Right);
    ASSERT_EQ(main.Game().GetState(), TState::Play);

    // Cancel on the first question keeps the program open; Yes saves the
    // level in progress, and Yes to goodbye closes.
    Reply({{&TAlertBox::xCancel}});
    EXPECT_FALSE(main.close());
    EXPECT_TRUE(main.isVisible());
    Reply({{&TAlertBox::xYes}, {&TAlertBox::xYes}});
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
    Ini("[Game]\r\nGame=Corridor\r\n");
    TMain& main = Start();
    WaitForInput(main);
    std::vector<std::string> preselected;
    // Each showing notes the selected game, then picks `pick` (or cancels).
    for (const std::string pick : {"", "Passage", "Corridor", ""}) {
        Answer<TGameBox>([&](TGameBox& box) {
            preselected.push_back(box.xGame.currentText().toStdString());
            const int index = box.xGame.findText(QString::fromStdString(pick));
            if (index < 0) return box.xCancel.click();
            box.xGame.setCurrentIndex(index);
            box.xOK.click();
        });
        main.LoadGameCommand();
        WaitForInput(main);
    }
    EXPECT_EQ(preselected,
              (std::vector<std::string>{"Corridor", "Corridor", "Passage", "Corridor"}));
    EXPECT_EQ(main.Game().GameName(), "Corridor");
}

TEST_F(MainWindowTest, AHeldDownEnterLoadsOneGameAndNeverStartsLoadingInsideItself) {
    WriteGame("Corridor", {LongCorridor});
    TMain& main = Start();
    Open(main, "Corridor");
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
        if (showings > 1 && box != nullptr) return box->xCancel.click();
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
    Program = StartProgram(Folder.Layout(), MilliTime(), false, false);
    ASSERT_NE(Program.About, nullptr);
    const TAboutBox& about = *Program.About;
    EXPECT_TRUE(about.isVisible());
    const QImage file(
        QString::fromStdString(TAboutBox::SplashPictureFile(Folder.Layout()).string()));
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
    Ini("[Graphics]\r\nSize=1\r\n");
    TMain& main = Start();
    WaitForInput(main);
    const auto fits = [&] {
        return main.size() ==
               QSize(main.Client.width(), main.menuBar()->height() + main.Client.height());
    };
    ASSERT_EQ(main.TileSize, 1);
    EXPECT_EQ(main.Client.size(), QSize(500, 328));
    EXPECT_TRUE(fits()) << "at the start";
    // A late notice of another size from the window system (an X server
    // reports the first window's 640 x 480) is put right.
    main.windowHandle()->resize(QSize(640, 480));
    EXPECT_TRUE(QTest::qWaitFor(fits, 2000)) << main.width() << " x " << main.height();
    // Up through the sizes the screen allows, then back down to the smallest.
    std::vector<int> sizes;
    for (int size = 1; size <= 4; ++size)
        if (main.Menus().Menu(SizeTag(size))->menuAction()->isVisible()) sizes.push_back(size);
    ASSERT_GE(sizes.size(), 2U) << "the test screen allows a second tile size";
    sizes.insert(sizes.end(), sizes.rbegin() + 1, sizes.rend());
    for (int size : sizes) {
        const QList<QAction*> items = main.Menus().Menu(SizeTag(size))->actions();
        const auto set = std::find_if(items.begin(), items.end(),
                                      [](QAction* item) { return item->data().isValid(); });
        ASSERT_NE(set, items.end());
        (*set)->trigger();
        QCoreApplication::processEvents();
        EXPECT_EQ(main.TileSize, size);
        EXPECT_EQ(main.Client.width(), 500 + 248 * (size - 1)) << size;
        EXPECT_TRUE(QTest::qWaitFor(fits, 2000))
            << size << ": " << main.width() << " x " << main.height();
    }
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
        const QImage panel(
            QString::fromStdString((SkinFolder(Folder.Layout(), skin) /
                                    tb::Settings().SkinPictureName(TSkinPicture::Panel))
                                       .string()));
        ASSERT_FALSE(panel.isNull()) << skin;
        const QColor ground =
            panel.scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).pixelColor(0, 0);
        const QPalette& colours = main.xLev[0]->palette();
        const QColor text = colours.color(QPalette::ButtonText);
        EXPECT_GE(Contrast(text, ground), 4.5) << skin;
        EXPECT_GE(Contrast(text, colours.color(QPalette::Button)), 4.5) << skin;
    }
}

// ---- Keys, menus and panels ----

// Food walled in at the right end: running right stops short of the last one.
const Rows Pocket = {"##########", "#H+++++#+#", "##########"};

TEST_F(MainWindowTest, EachGameKeyDoesItsWorkOnlyInTheStatesItBelongsTo) {
    WriteGame("Pocket", {Pocket, Pocket, Pocket});
    TMain& main = Start();
    TWinGame& game = main.Game();
    game.ToggleAllLevels();
    const struct {
        const char* Name;
        int Key;
        Qt::KeyboardModifiers Modifiers;
        TState Before; // Ready as opened, Play after one step right, Done
        int HeroMoves; // columns the hero ends right of his start
        int Level;     // the level afterwards
        TState After;
    } cases[] = {
        {"right", Qt::Key_Right, Qt::NoModifier, TState::Ready, 1, 1, TState::Play},
        {"end runs", Qt::Key_End, Qt::NoModifier, TState::Ready, 5, 1, TState::Play},
        {"home into the wall", Qt::Key_Home, Qt::NoModifier, TState::Ready, 0, 1, TState::Ready},
        {"home runs back", Qt::Key_Home, Qt::NoModifier, TState::Play, 0, 1, TState::Play},
        {"page up", Qt::Key_PageUp, Qt::NoModifier, TState::Ready, 0, 1, TState::Ready},
        {"page down", Qt::Key_PageDown, Qt::NoModifier, TState::Play, 1, 1, TState::Play},
        {"arrows after the level", Qt::Key_Right, Qt::NoModifier, TState::Done, 0, 1, TState::Done},
        {"digit", Qt::Key_2, Qt::NoModifier, TState::Ready, 0, 2, TState::Ready},
        {"keypad digit", Qt::Key_3, Qt::KeypadModifier, TState::Done, 0, 3, TState::Ready},
        {"digit while playing", Qt::Key_2, Qt::NoModifier, TState::Play, 1, 1, TState::Play},
        {"digit with control", Qt::Key_2, Qt::ControlModifier, TState::Ready, 0, 1, TState::Ready},
        {"escape gives up", Qt::Key_Escape, Qt::NoModifier, TState::Play, 0, 1, TState::Ready},
        {"escape after the level", Qt::Key_Escape, {}, TState::Done, 0, 1, TState::Done},
        {"space starts again", Qt::Key_Space, Qt::NoModifier, TState::Done, 0, 1, TState::Ready},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Open(main, "Pocket");
        const TPos start = game.GetHeroPos();
        if (c.Before == TState::Play) Press(main, Qt::Key_Right);
        if (c.Before == TState::Done) game.SetState(TState::Done, false);
        ASSERT_EQ(game.GetState(), c.Before);
        QTest::keyClick(&main, static_cast<Qt::Key>(c.Key), c.Modifiers);
        WaitForInput(main);
        EXPECT_EQ(game.GetLevel(), c.Level);
        EXPECT_EQ(game.GetState(), c.After);
        EXPECT_EQ(game.GetHeroPos().X, start.X + c.HeroMoves); // every level is the same pocket
    }
}

TEST_F(MainWindowTest, EnterOpensTheLoadDialogOutsideALevelAndF1TheHelp) {
    WriteGame("Pocket", {Pocket});
    TMain& main = Start();
    TWinGame& game = main.Game();
    int dialogs = 0;
    QTimer cancel;
    QObject::connect(&cancel, &QTimer::timeout, [&] {
        if (auto* box = dynamic_cast<TGameBox*>(QApplication::activeModalWidget())) {
            ++dialogs;
            box->xCancel.click();
        }
    });
    cancel.start(20);
    for (const auto& [before, opens] :
         {std::pair{TState::None, 1}, {TState::Ready, 1}, {TState::Play, 0}, {TState::Done, 1}}) {
        if (before != TState::None) Open(main, "Pocket");
        if (before == TState::Play) Press(main, Qt::Key_Right);
        if (before == TState::Done) game.SetState(TState::Done, false);
        ASSERT_EQ(game.GetState(), before);
        dialogs = 0;
        Press(main, Qt::Key_Return);
        EXPECT_EQ(dialogs, opens) << "state " << int(before);
        // A cancelled load leaves no level open; a level in play stays.
        EXPECT_EQ(game.GetState(), opens == 1 ? TState::None : before);
    }
    cancel.stop();
    Press(main, Qt::Key_F1);
    ASSERT_NE(HelpWindow(), nullptr);
    EXPECT_TRUE(HelpWindow()->isVisible());
    HelpWindow()->close();
}

TEST_F(MainWindowTest, TheMenusAndPanelsFollowTheGameStateAndTheEditor) {
    WriteGame("Pocket", {Pocket, Pocket});
    TMain& main = Start();
    TWinGame& game = main.Game();
    // Bottom line, name, clock, level buttons, palette, Game menu, Edit menu.
    const auto panels = [&] {
        return std::vector<bool>{
            main.xBottomPan.isVisible(),        main.xNamePan.isVisible(),
            main.xClockPan.isVisible(),         main.xLevelPan.isVisible(),
            main.xPalettePan.isVisible(),       main.Item(TagGameMenu)->isVisible(),
            main.Item(TagEditMenu)->isVisible()};
    };
    const auto expectItems = [&](std::initializer_list<int> tags, bool shown) {
        for (int tag : tags)
            EXPECT_EQ(main.Item(tag)->isVisible(), shown) << tag;
    };
    // Nothing loaded: the message line asks for a game.
    EXPECT_EQ(panels(), (std::vector<bool>{1, 0, 0, 0, 0, 0, 0}));
    expectItems({TagSave, TagExport, TagDelete, TagGiveUp, TagShow, TagPlayMode, TagEditMode},
                false);
    expectItems({TagNew}, true);
    EXPECT_FALSE(main.Item(TagReadOnly)->isEnabled());

    Open(main, "Pocket");
    EXPECT_EQ(panels(), (std::vector<bool>{0, 1, 0, 1, 0, 1, 0})) << "ready";
    expectItems({TagDelete, TagExport, TagShow}, true);
    expectItems({TagTake, TagGiveUp, TagSave, TagPlayBack}, false);
    Press(main, Qt::Key_Right);
    EXPECT_EQ(panels(), (std::vector<bool>{0, 0, 1, 1, 0, 1, 0})) << "play";
    expectItems({TagGiveUp, TagTake, TagPlayBack, TagStepBack}, true);
    EXPECT_TRUE(main.xTim.isActive());
    game.SetState(TState::Done, false);
    EXPECT_EQ(panels(), (std::vector<bool>{0, 0, 1, 1, 0, 1, 0})) << "done";
    expectItems({TagGiveUp, TagTake}, false);
    EXPECT_FALSE(main.xTim.isActive());

    game.SetEditable(true);
    game.EditMode();
    ASSERT_TRUE(game.IsEdit());
    EXPECT_EQ(panels(), (std::vector<bool>{0, 0, 0, 1, 1, 0, 1})) << "editor";
    expectItems({TagPlayMode, TagSave}, true);
    expectItems({TagEditMode, TagExport, TagExportBest, TagDeletePlayer, TagNewPlayer}, false);
    EXPECT_TRUE(main.Item(TagReadOnly)->isEnabled());
    // The palette's hints are the cell kinds' names of the language.
    EXPECT_EQ(main.xPal[2]->toolTip(), QStringLiteral("Wall"));
    main.Options().LoadLanguage("Deutsch");
    EXPECT_EQ(main.xPal[2]->toolTip(), QStringLiteral("Mauer"));
    main.Options().LoadLanguage("English");

    game.PlayMode();
    ASSERT_FALSE(game.IsEdit());
    expectItems({TagEditMode, TagExport, TagExportBest, TagDeletePlayer, TagNewPlayer}, true);
    expectItems({TagPlayMode}, false);
    EXPECT_FALSE(main.Item(TagReadOnly)->isEnabled());
    // Each item is one row of the menu's table, and no state both shows and hides it.
    std::set<int> tags;
    for (const TMenuItem& item : main.MenuItems()) {
        if (item.Kind == TMenuKind::Separator) continue;
        EXPECT_TRUE(tags.insert(item.Tag).second) << item.Tag;
        EXPECT_EQ(item.ShowOn & item.HideOn, 0) << item.Tag;
    }
}

} // namespace
} // namespace tb::test
