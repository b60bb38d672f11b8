#include "play/tb_boxuti.h"
#include "services/d_error.h"
#include "shell/tb_errbox.h"
#include "tests/window/window_support.h"

#include <QEventLoop>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <stdexcept>

namespace tb::test {
namespace {

std::size_t Breaks(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST(ErrorText, LongMessagesAreBrokenOnceAtTheLastBlankWithinFiftyFive) {
    // 54 characters: never broken.
    const std::string exact = std::string(30, 'a') + " " + std::string(23, 'b');
    ASSERT_EQ(exact.size(), 54u);
    EXPECT_EQ(FormatErrorText(exact), exact);

    // 55 characters with its blank in the 55th place: broken there.
    const std::string at55 = std::string(54, 'a') + " ";
    EXPECT_EQ(FormatErrorText(at55), std::string(54, 'a') + "\n");

    // Many blanks: only the last one among the first 55 characters breaks.
    std::string words;
    for (int i = 0; i < 20; ++i)
        words += "word ";
    std::string expected = words;
    expected[54] = '\n';
    EXPECT_EQ(FormatErrorText(words), expected);
    EXPECT_EQ(Breaks(FormatErrorText(words)), 1u);

    // A blank after the 55th character, or only in the first place: one line.
    const std::string late = std::string(60, 'x') + " y";
    EXPECT_EQ(FormatErrorText(late), late);
    const std::string first = std::string(1, ' ').append(60, 'x');
    EXPECT_EQ(FormatErrorText(first), first);
}

TEST(ErrorText, AnAccessViolationShowsTheFixedSystemErrorLine) {
    EXPECT_EQ(FormatErrorText("Access violation at address 0040A1B2 in module 'tobbin'. Read of "
                              "address 00000000"),
              "System error: please send in a problem report.");
    EXPECT_EQ(FormatErrorText("Unexpected Access violation"),
              "System error: please send in a problem report.");
    EXPECT_EQ(FormatErrorText("access violation"), "access violation");
}

// What a shown error box looked like.
struct Shown {
    QString text;
    QRect box;
    QRect label;
    bool labelBold = false;
    Qt::WindowFlags flags;
};

class ErrorBoxTest : public WindowTest {
protected:
    // Arranges to look at the next error box and close it with `close`.
    void LookThenClose(Shown& seen, std::function<void(TErrBox&)> close = {}) {
        WhenModal([&seen, close](QWidget& widget) {
            auto* box = dynamic_cast<TErrBox*>(&widget);
            ASSERT_NE(box, nullptr);
            seen.text = box->Txt.text();
            seen.box = box->frameGeometry();
            seen.label = box->Txt.geometry();
            seen.labelBold = box->Txt.font().bold();
            seen.flags = box->windowFlags();
            if (close)
                close(*box);
            else
                QTest::keyClick(box, Qt::Key_Space);
        });
    }
};

TEST_F(ErrorBoxTest, ShowsTheMessageSizedToItsTextAndCentredOnTheMainWindow) {
    QWidget main;
    main.setGeometry(150, 100, 500, 328);
    main.show();
    SetMainForm(&main);
    int beforeModal = 0;
    SetBeforeModalHook([&beforeModal] { ++beforeModal; });
    std::vector<std::pair<TBoxSound, bool>> played;
    SetBoxSoundHook([&played](TBoxSound s, bool sync) { played.emplace_back(s, sync); });

    Shown seen;
    LookThenClose(seen, [&played](TErrBox& box) {
        for (int i = 0; i < 100 && played.empty(); ++i)
            QTest::qWait(5);
        QTest::keyClick(&box, Qt::Key_Escape);
    });
    TErrBox_Show_Text("Corrupted game data");

    EXPECT_EQ(seen.text, "Corrupted game data");
    EXPECT_EQ(seen.box.width(), 61 + seen.label.width() + 18);
    EXPECT_EQ(seen.label.left(), 61);
    EXPECT_EQ(seen.label.top(), (seen.box.height() - seen.label.height()) / 2);
    EXPECT_LE((seen.box.center() - main.frameGeometry().center()).manhattanLength(), 2);
    EXPECT_TRUE(seen.flags.testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(seen.flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(seen.labelBold);
    EXPECT_EQ(beforeModal, 1);
    ASSERT_EQ(played.size(), 1u);
    EXPECT_EQ(played[0], std::make_pair(TBoxSound::Error, true)) << "the error sound waits";

    // A long message is shown on two lines; the bold dialog style is applied.
    SetDialogFontBold(true);
    Shown twoLines;
    LookThenClose(twoLines);
    TErrBox_Show_Text("Error reading game file \"my_game!.tbg\": the level map of level 3 has "
                      "17 rows");
    EXPECT_EQ(twoLines.text, "Error reading game file \"my_game!.tbg\": the level map\nof level "
                             "3 has 17 rows");
    EXPECT_TRUE(twoLines.labelBold);
    EXPECT_GT(twoLines.label.height(), seen.label.height());
}

TEST_F(ErrorBoxTest, ClosesOnAFreshKeyOrAnyMouseButton) {
    bool openAfterRepeat = false;
    Shown seen;
    LookThenClose(seen, [&openAfterRepeat](TErrBox& box) {
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(&box, &repeat);
        openAfterRepeat = box.isVisible();
        QTest::keyClick(&box, Qt::Key_Left);
    });
    TErrBox_Show_Text("First");
    EXPECT_EQ(seen.text, "First");

    // An error while the box is open does not stack a second box on it.
    QString stillShown;
    Shown outer;
    LookThenClose(outer, [&stillShown](TErrBox& box) {
        TErrBox_Show_Text("Second");
        stillShown = box.Txt.text();
        QTest::keyClick(&box, Qt::Key_Space);
    });
    TErrBox_Show_Text("Outer");
    EXPECT_EQ(stillShown, "Outer");
    EXPECT_TRUE(openAfterRepeat) << "a held key must not dismiss the message unread";

    // A click on the label, the panel or the box itself closes it.
    for (int where = 0; where < 3; ++where) {
        Shown clicked;
        LookThenClose(clicked, [where](TErrBox& box) {
            QWidget* target = where == 0   ? static_cast<QWidget*>(&box.Txt)
                              : where == 1 ? static_cast<QWidget*>(&box.Panel)
                                           : &box;
            QTest::mouseClick(target, where == 2 ? Qt::RightButton : Qt::LeftButton, {},
                              QPoint(3, 3));
        });
        TErrBox_Show_Text("Click me");
        EXPECT_EQ(clicked.text, "Click me");
    }
}

class ErrorHandlerTest : public ErrorBoxTest {
protected:
    // Lets `failing` run from the event loop, then a follow-up event, and
    // returns whether the follow-up still ran afterwards.
    bool RunFailingThenGoOn(std::function<void()> failing) {
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

TEST_F(ErrorHandlerTest, ShowsAnyEscapedExceptionAndTheProgramGoesOn) {
    Shown own;
    LookThenClose(own);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    EXPECT_TRUE(RunFailingThenGoOn([] { throw Error("Error reading game"); }));
    EXPECT_EQ(own.text, "Error reading game");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the normal cursor is back";

    Shown standard;
    LookThenClose(standard);
    EXPECT_TRUE(RunFailingThenGoOn([] { throw std::out_of_range("Level 12 out of range"); }));
    EXPECT_EQ(standard.text, "Level 12 out of range");

    Shown unknown;
    LookThenClose(unknown);
    EXPECT_TRUE(RunFailingThenGoOn([] { throw 42; }));
    EXPECT_EQ(unknown.text, "Unexpected error");
}

TEST_F(ErrorHandlerTest, AnAbortShowsNothing) {
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
