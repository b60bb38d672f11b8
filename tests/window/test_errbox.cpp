#include "play/tb_boxuti.h"
#include "services/d_error.h"
#include "shell/tb_errbox.h"
#include "tests/window/window_support.h"

#include <QEventLoop>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>

#include <stdexcept>

namespace tb::test {
namespace {

TEST(ErrorText, LongMessagesAreBrokenOnceAtTheLastBlankWithinFiftyFive) {
    std::string words; // many blanks: only the last one among the first 55 breaks
    for (int i = 0; i < 20; ++i)
        words += "word ";
    std::string wordsBroken = words;
    wordsBroken[54] = '\n';
    const std::string exact = std::string(30, 'a') + " " + std::string(23, 'b');
    const std::string late = std::string(60, 'x') + " y";
    const std::string first = " " + std::string(60, 'x');
    const std::pair<std::string, std::string> cases[] = {
        {exact, exact},                                            // 54 characters: never broken
        {std::string(54, 'a') + " ", std::string(54, 'a') + "\n"}, // the 55th is a blank
        {words, wordsBroken},
        {late, late},   // a blank only after the 55th character
        {first, first}, // or only in the first place: one line
        // An access violation shows the fixed system error line.
        {"Access violation at address 0040A1B2 in module 'tobbin'. Read of address 00000000",
         "System error: please send in a problem report."},
        {"Unexpected Access violation", "System error: please send in a problem report."},
        {"access violation", "access violation"},
    };
    for (const auto& [message, shown] : cases)
        EXPECT_EQ(FormatErrorText(message), shown) << message;
}

class ErrorBoxTest : public WindowTest {
protected:
    // Shows `message`; `action` does its work on the box and closes it.
    static void Show(const std::string& message, std::function<void(TErrBox&)> action) {
        WhenModal([action](QWidget& widget) {
            auto* box = dynamic_cast<TErrBox*>(&widget);
            ASSERT_NE(box, nullptr);
            action(*box);
        });
        TErrBox_Show_Text(message);
    }
    // Shows `message` and returns what the box showed, in bold or not.
    static std::pair<std::string, bool> Shown(const std::string& message) {
        std::pair<std::string, bool> seen;
        Show(message, [&seen](TErrBox& box) {
            seen = {box.Txt.text().toStdString(), box.Txt.font().bold()};
            QTest::keyClick(&box, Qt::Key_Space);
        });
        return seen;
    }
    // Lets `failing` run from the event loop, then a follow-up event, and
    // returns whether the follow-up still ran afterwards.
    static bool RunFailingThenGoOn(std::function<void()> failing) {
        bool wentOn = false;
        QEventLoop loop;
        QTimer::singleShot(0, [failing] { failing(); });
        QTimer::singleShot(20, &loop, [&] {
            wentOn = true;
            loop.quit();
        });
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        loop.exec();
        return wentOn;
    }
};

TEST_F(ErrorBoxTest, ShowsTheMessageOnTopCentredOnTheMainWindowWithTheErrorSound) {
    QWidget main;
    main.setGeometry(150, 100, 500, 328);
    main.show();
    SetMainForm(&main);
    int beforeModal = 0;
    SetBeforeModalHook([&beforeModal] { ++beforeModal; });
    Show("Corrupted game data", [&](TErrBox& box) {
        EXPECT_TRUE(SoundAsked(500));
        EXPECT_EQ(box.Txt.text(), "Corrupted game data");
        const QPoint off = box.frameGeometry().center() - main.frameGeometry().center();
        EXPECT_LE(off.manhattanLength(), 2);
        EXPECT_TRUE(box.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QTest::keyClick(&box, Qt::Key_Escape);
    });
    EXPECT_EQ(beforeModal, 1);
    EXPECT_EQ(Sounds, (std::vector<std::pair<TBoxSound, bool>>{{TBoxSound::Error, true}}))
        << "the error sound waits";
    EXPECT_EQ(Shown("Short"), std::make_pair(std::string("Short"), false));
    // A long message is shown on two lines; the bold dialog style is applied.
    SetDialogFontBold(true);
    EXPECT_EQ(
        Shown("Error reading game file \"my_game!.tbg\": the level map of level 3 has 17 rows"),
        std::make_pair(std::string("Error reading game file \"my_game!.tbg\": the level "
                                   "map\nof level 3 has 17 rows"),
                       true));
}

TEST_F(ErrorBoxTest, ClosesOnAFreshKeyOrAnyMouseButtonAndNeverStacks) {
    bool openAfterRepeat = false;
    Show("First", [&openAfterRepeat](TErrBox& box) {
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(&box, &repeat);
        openAfterRepeat = box.isVisible();
        QTest::keyClick(&box, Qt::Key_Left);
    });
    EXPECT_TRUE(openAfterRepeat) << "a held key must not dismiss the message unread";
    // An error while the box is open does not stack a second box on it.
    QString stillShown;
    Show("Outer", [&stillShown](TErrBox& box) {
        TErrBox_Show_Text("Second");
        stillShown = box.Txt.text();
        QTest::keyClick(&box, Qt::Key_Space);
    });
    EXPECT_EQ(stillShown, "Outer");
    // A click on the label, the panel or the box itself closes it.
    for (int where = 0; where < 3; ++where) {
        bool clicked = false;
        Show("Click me", [where, &clicked](TErrBox& box) {
            QWidget* target = where == 0   ? static_cast<QWidget*>(&box.Txt)
                              : where == 1 ? static_cast<QWidget*>(&box.Panel)
                                           : &box;
            QTest::mouseClick(target, where == 2 ? Qt::RightButton : Qt::LeftButton, {},
                              QPoint(3, 3));
            clicked = !box.isVisible();
        });
        EXPECT_TRUE(clicked) << where;
    }
}

TEST_F(ErrorBoxTest, TheHandlerShowsAnyEscapedExceptionButAnAbortAndTheProgramGoesOn) {
    const std::pair<std::function<void()>, std::string> cases[] = {
        {[] { throw Error("Error reading game"); }, "Error reading game"},
        {[] { throw std::out_of_range("Level 12 out of range"); }, "Level 12 out of range"},
        {[] { throw 42; }, "Unexpected error"}};
    for (const auto& [failing, shown] : cases) {
        QString text;
        WhenModal([&text](QWidget& box) {
            text = static_cast<TErrBox&>(box).Txt.text();
            QTest::keyClick(&box, Qt::Key_Space);
        });
        QApplication::setOverrideCursor(Qt::WaitCursor);
        EXPECT_TRUE(RunFailingThenGoOn(failing));
        EXPECT_EQ(text.toStdString(), shown);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the normal cursor is back";
    }
    int boxes = 0;
    SetBeforeModalHook([&boxes] {
        ++boxes;
        // Should a box appear after all, close it so the test ends.
        QTimer::singleShot(0, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        });
    });
    EXPECT_TRUE(RunFailingThenGoOn([] { throw Abort(); }));
    EXPECT_EQ(boxes, 0);
}

} // namespace
} // namespace tb::test
