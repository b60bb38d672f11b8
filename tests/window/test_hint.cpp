// Game > Hint and Edit > Solve level on the real main window, through the menu.

#include "play/tb_alertbox.h"
#include "play/tb_util.h"
#include "services/d_menu.h"
#include "services/d_messages.h"
#include "services/d_string.h"
#include "shell/tb_main.h"
#include "tests/window/window_support.h"

namespace tb::test {
namespace {

// The hero walled in away from the food.
const Rows Walled = {"#####", "#H#+#", "#####"};

// The cell the play field frames, or (0,0) without a frame.
TPos MarkedCell(TMain& main) {
    const QRect mark = main.xMap.Mark();
    if (mark.isEmpty()) return TPos(0, 0);
    return TPos(mark.left() / main.TilePixels + 1, mark.top() / main.TilePixels + 1);
}

QString Line(int message, int value) {
    std::string text = MoreMessage(message);
    FillPlaceholder(std::to_string(value), text);
    return ToUnicode(text);
}

TEST_F(MainWindowTest, AHintFramesTheNextCellAndADeadEndIsSaidPlainly) {
    WriteGame("Corridor", {LongCorridor});
    WriteGame("Walled", {Walled, LongCorridor});
    TMain& main = Start();
    TWinGame& game = main.Game();
    game.OpenGameAt("Corridor", 1);
    WaitForInput(main);
    QAction* hint = main.Item(TagHint);
    ASSERT_TRUE(hint->isVisible());
    hint->trigger();
    // The search runs off the window thread; the window waits for its answer.
    ASSERT_TRUE(QTest::qWaitFor([&] { return main.xMap.Mark().isValid(); }, 60000));
    EXPECT_EQ(MarkedCell(main), TPos(3, 2)) << "the food to the hero's right";
    EXPECT_EQ(main.xBottomLab.text(), Line(MsgHintFound, 7));
    EXPECT_TRUE(main.xBottomPan.isVisible());
    EXPECT_EQ(game.GetHeroPos(), TPos(2, 2)) << "the player makes the move";
    EXPECT_EQ(game.GetState(), TState::Ready);

    // The move takes the frame away; the next hint is known at once.
    Press(main, Qt::Key_Right);
    ASSERT_TRUE(QTest::qWaitFor([&] { return main.xMap.Mark().isEmpty(); }, 60000));
    Press(main, Qt::Key_H); // the key asks as the menu does
    EXPECT_EQ(MarkedCell(main), TPos(4, 2));
    EXPECT_EQ(main.xBottomLab.text(), Line(MsgHintFound, 6));
    // Won after the hint: nothing is recorded and the level stays.
    for (int i = 0; i < 6; ++i)
        Press(main, Qt::Key_Right);
    EXPECT_EQ(game.GetState(), TState::Done);
    EXPECT_EQ(game.GetLevel(), 1);
    EXPECT_EQ(game.GetRecords().PlayerSteps("Corridor", 1, "Tester"), 0);

    game.OpenGameAt("Walled", 1);
    WaitForInput(main);
    hint->trigger();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return main.xBottomLab.text() == ToUnicode(MoreMessage(MsgDeadEnd)); }, 60000));
    EXPECT_TRUE(main.xMap.Mark().isEmpty());
    // The line covers the level buttons; their digit keys still work.
    game.ToggleAllLevels();
    Press(main, Qt::Key_2);
    EXPECT_EQ(game.GetLevel(), 2);
}

TEST_F(MainWindowTest, SolveLevelReportsTheFewestStepsAndLevelInfoShowsThem) {
    WriteGame("Corridor", {LongCorridor});
    TMain& main = Start();
    TWinGame& game = main.Game();
    game.OpenGameAt("Corridor", 1);
    WaitForInput(main);
    game.EditMode();
    // The answer comes in a message box once the search is done.
    QString report;
    Reply({{&TAlertBox::xOK, Note(report)}});
    main.Item(TagSolveLevel)->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !report.isEmpty(); }, 60000));
    EXPECT_TRUE(report.contains(
        QString::fromUtf8("\nLevel \"Level 1\": the shortest solution takes 7 steps.\n")))
        << report.toStdString();

    // Level info tells it in play, beside the players' own results.
    game.PlayMode();
    WaitForInput(main);
    QString info;
    Reply({{&TAlertBox::xOK, Note(info)}});
    main.Item(TagLevelInfo)->trigger();
    EXPECT_TRUE(info.contains(QString::fromUtf8("Shortest possible solution: 7 steps")))
        << info.toStdString();
}

} // namespace
} // namespace tb::test
