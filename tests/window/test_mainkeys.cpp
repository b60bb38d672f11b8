// The main window's keys, one table of key, state before and what follows,
// and the menus and panels the adapter shows in each state, on the real
// window.

#include "services/d_menu.h"
#include "shell/tb_gamebox.h"
#include "shell/tb_helpwin.h"
#include "tests/window/mainwindow_support.h"

#include <QApplication>
#include <QTimer>

#include <set>

namespace tb::test {
namespace {

// Food walled in at the right end: running right stops short of the last one.
const Rows Pocket = {"##########", "#H+++++#+#", "##########"};

struct TKeyCase {
    const char* Name;
    int Key;
    Qt::KeyboardModifiers Modifiers;
    TState Before; // Ready as opened, Play after one step right, Done
    int HeroMoves; // columns the hero ends right of his start
    int Level;     // the level afterwards
    TState After;
};

TEST_F(MainWindowTest, EachGameKeyDoesItsWorkOnlyInTheStatesItBelongsTo) {
    WriteGame("Pocket", {Pocket, Pocket, Pocket});
    TMain& main = Start();
    TWinGame& game = main.Game();
    game.ToggleAllLevels();
    const std::array<TKeyCase, 14> cases = {{
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
        {"escape after the level", Qt::Key_Escape, Qt::NoModifier, TState::Done, 0, 1,
         TState::Done},
        {"space starts again", Qt::Key_Space, Qt::NoModifier, TState::Done, 0, 1, TState::Ready},
    }};
    for (const TKeyCase& c : cases) {
        SCOPED_TRACE(c.Name);
        game.OpenGameAt("Pocket", 1);
        WaitForInput(main);
        const TPos start = game.GetHeroPos();
        if (c.Before == TState::Play) Press(main, Qt::Key_Right);
        if (c.Before == TState::Done) game.SetState(TState::Done, false);
        ASSERT_EQ(game.GetState(), c.Before);
        QTest::keyClick(&main, static_cast<Qt::Key>(c.Key), c.Modifiers);
        WaitForInput(main);
        EXPECT_EQ(game.GetLevel(), c.Level);
        EXPECT_EQ(game.GetState(), c.After);
        if (c.Level == 1) {
            EXPECT_EQ(game.GetHeroPos().X, start.X + c.HeroMoves);
        }
    }
}

TEST_F(MainWindowTest, EnterOpensTheLoadDialogOutsideALevelAndF1TheHelp) {
    WriteGame("Pocket", {Pocket});
    TMain& main = Start();
    TWinGame& game = main.Game();
    int dialogs = 0;
    QTimer cancel;
    cancel.setInterval(20);
    QObject::connect(&cancel, &QTimer::timeout, [&] {
        if (auto* box = dynamic_cast<TGameBox*>(QApplication::activeModalWidget())) {
            ++dialogs;
            box->xCancel.click();
        }
    });
    cancel.start();
    for (const auto& [before, opens] :
         {std::pair{TState::None, 1}, {TState::Ready, 1}, {TState::Play, 0}, {TState::Done, 1}}) {
        if (before != TState::None) {
            game.OpenGameAt("Pocket", 1);
            WaitForInput(main);
        }
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
    const auto shown = [&](int tag) { return main.Item(tag)->isVisible(); };
    struct TPanels {
        bool Bottom, Name, Clock, Levels, Palette, GameMenu, EditMenu;
    };
    const auto panels = [&] {
        return TPanels{main.xBottomPan.isVisible(),        main.xNamePan.isVisible(),
                       main.xClockPan.isVisible(),         main.xLevelPan.isVisible(),
                       main.xPalettePan.isVisible(),       main.Item(TagGameMenu)->isVisible(),
                       main.Item(TagEditMenu)->isVisible()};
    };
    const auto expectPanels = [&](TPanels want) {
        const TPanels got = panels();
        EXPECT_EQ(got.Bottom, want.Bottom);
        EXPECT_EQ(got.Name, want.Name);
        EXPECT_EQ(got.Clock, want.Clock);
        EXPECT_EQ(got.Levels, want.Levels);
        EXPECT_EQ(got.Palette, want.Palette);
        EXPECT_EQ(got.GameMenu, want.GameMenu);
        EXPECT_EQ(got.EditMenu, want.EditMenu);
    };
    // Nothing loaded: the message line asks for a game.
    expectPanels({true, false, false, false, false, false, false});
    for (int tag : {TagSave, TagExport, TagDelete, TagGiveUp, TagShow, TagPlayMode, TagEditMode})
        EXPECT_FALSE(shown(tag)) << tag;
    EXPECT_TRUE(shown(TagNew));

    game.OpenGameAt("Pocket", 1);
    WaitForInput(main);
    {
        SCOPED_TRACE("ready");
        expectPanels({false, true, false, true, false, true, false});
        for (int tag : {TagDelete, TagExport, TagShow})
            EXPECT_TRUE(shown(tag)) << tag;
        for (int tag : {TagTake, TagGiveUp, TagSave, TagPlayBack})
            EXPECT_FALSE(shown(tag)) << tag;
    }
    Press(main, Qt::Key_Right);
    {
        SCOPED_TRACE("play");
        expectPanels({false, false, true, true, false, true, false});
        for (int tag : {TagGiveUp, TagTake, TagPlayBack, TagStepBack})
            EXPECT_TRUE(shown(tag)) << tag;
        EXPECT_TRUE(main.xTim.isActive());
    }
    game.SetState(TState::Done, false);
    {
        SCOPED_TRACE("done");
        expectPanels({false, false, true, true, false, true, false});
        for (int tag : {TagGiveUp, TagTake})
            EXPECT_FALSE(shown(tag)) << tag;
        EXPECT_FALSE(main.xTim.isActive());
    }
    game.SetEditable(true);
    game.EditMode();
    ASSERT_TRUE(game.IsEdit());
    {
        SCOPED_TRACE("editor");
        expectPanels({false, false, false, true, true, false, true});
        for (int tag : {TagPlayMode, TagSave})
            EXPECT_TRUE(shown(tag)) << tag;
        for (int tag : {TagEditMode, TagExport, TagExportBest, TagDeletePlayer, TagNewPlayer})
            EXPECT_FALSE(shown(tag)) << tag;
        EXPECT_TRUE(main.Item(TagReadOnly)->isEnabled());
    }
    game.PlayMode();
    ASSERT_FALSE(game.IsEdit());
    for (int tag : {TagEditMode, TagExport, TagExportBest, TagDeletePlayer, TagNewPlayer})
        EXPECT_TRUE(shown(tag)) << tag;
    EXPECT_FALSE(shown(TagPlayMode));
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
