// The message box: its texts, its answers by buttons and keys, its sound and
// background, and where it stands.

#include "play/tb_alertbox.h"
#include "play/tb_boxuti.h"
#include "tests/window/window_support.h"

#include <QScreen>

namespace tb::test {
namespace {

using Lines = std::vector<std::string>;

TEST(AlertText, PlaceholdersAreFilledInOrderAndLinesSplitAtBarsUpToFour) {
    const struct {
        const char* Text;
        Lines Arguments;
        const char* Filled;
    } fills[] = {
        {"Best result by @: @", {"Ann #0", "112"}, "Best result by Ann #0: 112"},
        {"Best result by @: @", {"Ann #0"}, "Best result by Ann #0: @"}, // too few: "@" stays
        // Each search starts at the beginning: an "@" inside an argument is
        // taken by the next argument.
        {"@ and @", {"x@y", "z"}, "xzy and @"},
        {"@!", {"a", "b", "c"}, "a!"}, // arguments left over are ignored
        {"No values", {"a"}, "No values"},
    };
    for (const auto& f : fills)
        EXPECT_EQ(FillAlertText(f.Text, f.Arguments), f.Filled);
    EXPECT_EQ(SplitAlertLines("one|two|three|four|five"), (Lines{"one", "two", "three", "four"}));
    EXPECT_EQ(SplitAlertLines("just one line"), (Lines{"just one line"}));
    EXPECT_EQ(SplitAlertLines(""), (Lines{""}));
    EXPECT_EQ(SplitAlertLines("a||b"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitAlertLines("a|"), (Lines{"a", ""}));
}

class AlertBoxTest : public WindowTest {
protected:
    // Runs the box and, once it is up, does `action` to it.
    std::uint8_t RunWith(std::uint8_t buttons, std::function<void(TAlertBox&)> action,
                         std::string_view message = "Question?", bool soundSync = false) {
        WhenModal([this, action](QWidget& shown) {
            EXPECT_EQ(&shown, &Box);
            action(Box);
        });
        return Box.Run(message, {}, soundSync, buttons);
    }
    static std::function<void(TAlertBox&)> Key(Qt::Key key) {
        return [key](TAlertBox& box) { QTest::keyClick(&box, key); };
    }
    static std::function<void(TAlertBox&)> Click(QPushButton TAlertBox::*button) {
        return [button](TAlertBox& box) { QTest::mouseClick(&(box.*button), Qt::LeftButton); };
    }

    TAlertBox Box;
};

TEST_F(AlertBoxTest, EachButtonSetShowsItsButtonsAndAnswersByButtonsEnterAndEscape) {
    // Enter always means Yes or OK; Escape gives the button-set code.
    const std::pair<std::uint8_t, std::vector<bool>> sets[] = {
        {AlertOK, {true, false, false, false}},
        {AlertYesNo, {false, true, true, false}},
        {AlertYesNoCancel, {false, true, true, true}}};
    for (const auto& [buttons, visible] : sets) {
        SCOPED_TRACE(int{buttons});
        std::vector<bool> shown;
        EXPECT_EQ(RunWith(buttons,
                          [&shown](TAlertBox& box) {
                              for (QPushButton* b : {&box.xOK, &box.xYes, &box.xNo, &box.xCancel})
                                  shown.push_back(b->isVisible());
                              QTest::keyClick(&box, Qt::Key_Return);
                          }),
                  AnswerYes);
        EXPECT_EQ(shown, visible);
        EXPECT_EQ(RunWith(buttons, Key(Qt::Key_Enter)), AnswerYes);
        EXPECT_EQ(RunWith(buttons, Key(Qt::Key_Escape)), buttons);
    }
    EXPECT_EQ(RunWith(AlertOK, Click(&TAlertBox::xOK)), AnswerYes);
    EXPECT_EQ(RunWith(AlertYesNo, Click(&TAlertBox::xYes)), AnswerYes);
    EXPECT_EQ(RunWith(AlertYesNo, Click(&TAlertBox::xNo)), AnswerNo);
    EXPECT_EQ(RunWith(AlertYesNoCancel, Click(&TAlertBox::xCancel)), AnswerCancel);
    EXPECT_THROW(Box.Run("Bad", {}, false, 0), std::out_of_range);
    EXPECT_THROW(Box.Run("Bad", {}, false, 4), std::out_of_range);
}

TEST_F(AlertBoxTest, OtherKeysDoNothingANestedQuestionAndClosingAnswerCancel) {
    bool stayedOpen = false;
    EXPECT_EQ(RunWith(AlertYesNo,
                      [&stayedOpen](TAlertBox& box) {
                          for (Qt::Key key : {Qt::Key_A, Qt::Key_Space, Qt::Key_Y})
                              QTest::keyClick(&box, key);
                          stayedOpen = box.isVisible();
                          QTest::keyClick(&box, Qt::Key_Escape);
                      }),
              AnswerNo);
    EXPECT_TRUE(stayedOpen);
    // A question asked while the box waits for an answer is not stacked on
    // it: it answers Cancel at once and the first question stays.
    std::uint8_t nested = 0;
    QString stillShown;
    const auto ask = [&](TAlertBox& box) {
        nested = box.Run("Second?", {}, false, AlertYesNo);
        stillShown = box.xText[0].text();
        QTest::keyClick(&box, Qt::Key_Return);
    };
    EXPECT_EQ(RunWith(AlertYesNo, ask, "First?"), AnswerYes);
    EXPECT_EQ(nested, AnswerCancel);
    EXPECT_EQ(stillShown, "First?");
    // Closed by the system, without a button: Cancel, even in an OK box.
    EXPECT_EQ(RunWith(AlertOK, [](TAlertBox& box) { box.close(); }), AnswerCancel);
    EXPECT_EQ(RunWith(AlertYesNo, [](TAlertBox& box) { box.close(); }), AnswerCancel);
}

TEST_F(AlertBoxTest, EachMessageShowsOnlyItsOwnLinesInABoxWideEnoughForThem) {
    std::vector<QString> texts;
    int lineRight = 0, width = 0;
    const auto look = [&](TAlertBox& box) {
        texts.clear();
        for (QLabel& label : box.xText)
            if (label.isVisible()) texts.push_back(label.text());
        lineRight = box.xText[0].geometry().right();
        width = box.width();
        QTest::keyClick(&box, Qt::Key_Return);
    };
    RunWith(AlertYesNo, look, "one|two|three|four|five");
    EXPECT_EQ(texts, (std::vector<QString>{"one", "two", "three", "four"}));
    RunWith(AlertOK, look, "A rather long line of text that needs far more room than one button");
    EXPECT_EQ(texts.size(), 1u);
    EXPECT_LT(lineRight, width);
    EXPECT_GT(Box.DesignWidth(), 348);
}

TEST_F(AlertBoxTest, IsCentredOnTheMainWindowAndKeptOnScreen) {
    QWidget main;
    main.setGeometry(120, 90, 500, 328);
    main.show();
    SetMainForm(&main);
    QRect box;
    const auto look = [&box](TAlertBox& shown) {
        box = shown.frameGeometry();
        QTest::keyClick(&shown, Qt::Key_Escape);
    };
    RunWith(AlertYesNo, look);
    EXPECT_LE((box.center() - main.frameGeometry().center()).manhattanLength(), 2);
    // A main window hanging off the bottom right corner: the box stays inside.
    const QRect screen = main.screen()->availableGeometry();
    main.move(screen.right() - 100, screen.bottom() - 50);
    RunWith(AlertYesNo, look);
    EXPECT_EQ(box.bottomRight(), screen.bottomRight() - QPoint(4, 4));
}

TEST_F(AlertBoxTest, AsksForTheInputSoundInTheChosenModeAndShowsTheSkinIfWanted) {
    QPixmap skin(20, 10);
    skin.fill(Qt::darkCyan);
    Box.SetBackground(skin);
    bool pictureShown = false;
    const auto look = [&, this](TAlertBox& box) {
        // The sound is asked for right after the box appears.
        EXPECT_TRUE(SoundAsked(500));
        pictureShown = box.xPic.isVisible() && box.xPic.size() == box.size();
        QTest::keyClick(&box, Qt::Key_Escape);
    };
    for (bool sync : {false, true}) {
        Sounds.clear();
        RunWith(AlertOK, look, "Sound", sync);
        EXPECT_EQ(Sounds, (std::vector<std::pair<TBoxSound, bool>>{{TBoxSound::Input, sync}}));
        EXPECT_TRUE(pictureShown) << "the picture is stretched over the whole box";
    }
    Box.SetBackgroundsOn(false);
    RunWith(AlertOK, look);
    EXPECT_FALSE(pictureShown);
}

} // namespace
} // namespace tb::test
