#include "play/tb_alertbox.h"
#include "play/tb_boxuti.h"
#include "tests/window/window_support.h"

#include <QTest>

#include <utility>
#include <vector>

namespace tb::test {
namespace {

using Lines = std::vector<std::string>;

TEST(AlertText, PlaceholdersAreFilledInOrderFromTheStart) {
    EXPECT_EQ(FillAlertText("Best result by @: @", {"Ann #0", "112"}),
              "Best result by Ann #0: 112");
    // Too few arguments: the "@" left over stays.
    EXPECT_EQ(FillAlertText("Best result by @: @", {"Ann #0"}), "Best result by Ann #0: @");
    // Each search starts at the beginning, so an "@" inside an argument is
    // taken by the next argument.
    EXPECT_EQ(FillAlertText("@ and @", {"x@y", "z"}), "xzy and @");
    // Arguments left over are ignored; a text without "@" stays as it is.
    EXPECT_EQ(FillAlertText("@!", {"a", "b", "c"}), "a!");
    EXPECT_EQ(FillAlertText("No values", {"a"}), "No values");
}

TEST(AlertText, LinesAreSplitAtBarsAndCutAfterTheFourth) {
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
        return [button](TAlertBox& box) {
            EXPECT_TRUE((box.*button).isVisible());
            QTest::mouseClick(&(box.*button), Qt::LeftButton);
        };
    }

    TAlertBox Box;
};

TEST_F(AlertBoxTest, EachButtonSetAnswersByButtonsEnterAndEscape) {
    // Enter always means Yes or OK; Escape gives the button-set code.
    for (std::uint8_t buttons : {AlertOK, AlertYesNo, AlertYesNoCancel}) {
        SCOPED_TRACE(int{buttons});
        EXPECT_EQ(RunWith(buttons, Key(Qt::Key_Return)), AnswerYes);
        EXPECT_EQ(RunWith(buttons, Key(Qt::Key_Enter)), AnswerYes);
        EXPECT_EQ(RunWith(buttons, Key(Qt::Key_Escape)), buttons);
    }
    EXPECT_EQ(RunWith(AlertOK, Click(&TAlertBox::xOK)), AnswerYes);
    EXPECT_EQ(RunWith(AlertYesNo, Click(&TAlertBox::xYes)), AnswerYes);
    EXPECT_EQ(RunWith(AlertYesNo, Click(&TAlertBox::xNo)), AnswerNo);
    EXPECT_EQ(RunWith(AlertYesNoCancel, Click(&TAlertBox::xNo)), AnswerNo);
    EXPECT_EQ(RunWith(AlertYesNoCancel, Click(&TAlertBox::xCancel)), AnswerCancel);
}

TEST_F(AlertBoxTest, ShowsOnlyTheButtonsOfItsSet) {
    const auto visible = [this](std::uint8_t buttons) {
        std::vector<bool> shown;
        RunWith(buttons, [&shown](TAlertBox& box) {
            for (QPushButton* b : {&box.xOK, &box.xYes, &box.xNo, &box.xCancel})
                shown.push_back(b->isVisible());
            QTest::keyClick(&box, Qt::Key_Escape);
        });
        return shown;
    };
    EXPECT_EQ(visible(AlertOK), (std::vector<bool>{true, false, false, false}));
    EXPECT_EQ(visible(AlertYesNo), (std::vector<bool>{false, true, true, false}));
    EXPECT_EQ(visible(AlertYesNoCancel), (std::vector<bool>{false, true, true, true}));
    EXPECT_THROW(Box.Run("Bad", {}, false, 0), std::out_of_range);
    EXPECT_THROW(Box.Run("Bad", {}, false, 4), std::out_of_range);
}

TEST_F(AlertBoxTest, OtherKeysDoNothingAndClosingAnswersCancel) {
    bool stayedOpen = false;
    EXPECT_EQ(RunWith(AlertYesNo,
                      [&stayedOpen](TAlertBox& box) {
                          QTest::keyClick(&box, Qt::Key_A);
                          QTest::keyClick(&box, Qt::Key_Space);
                          QTest::keyClick(&box, Qt::Key_Y);
                          stayedOpen = box.isVisible();
                          QTest::keyClick(&box, Qt::Key_Escape);
                      }),
              AnswerNo);
    EXPECT_TRUE(stayedOpen);
    // A question asked while the box waits for an answer is not stacked on
    // it: it answers Cancel at once and the first question stays.
    std::uint8_t nested = 0;
    QString stillShown;
    EXPECT_EQ(RunWith(
                  AlertYesNo,
                  [&](TAlertBox& box) {
                      nested = box.Run("Second?", {}, false, AlertYesNo);
                      stillShown = box.xText[0].text();
                      QTest::keyClick(&box, Qt::Key_Return);
                  },
                  "First?"),
              AnswerYes);
    EXPECT_EQ(nested, AnswerCancel);
    EXPECT_EQ(stillShown, "First?");
    // Closed by the system, without a button: Cancel, even in an OK box.
    EXPECT_EQ(RunWith(AlertOK, [](TAlertBox& box) { box.close(); }), AnswerCancel);
    EXPECT_EQ(RunWith(AlertYesNo, [](TAlertBox& box) { box.close(); }), AnswerCancel);
}

TEST_F(AlertBoxTest, LinesAndButtonsAreLaidOutFromScratchEachTime) {
    struct Seen {
        std::vector<QString> texts;
        std::vector<int> tops;
        int step = 0;
        int buttonTop = 0;
        int clientHeight = 0;
        QString caption;
    };
    const auto look = [this](std::string_view message, std::uint8_t buttons) {
        Seen seen;
        RunWith(
            buttons,
            [&seen](TAlertBox& box) {
                for (QLabel& label : box.xText) {
                    seen.tops.push_back(label.y());
                    if (label.isVisible()) seen.texts.push_back(label.text());
                }
                seen.step = box.xText[0].height() + 5;
                seen.buttonTop = box.xYes.y();
                seen.clientHeight = box.height();
                seen.caption = box.windowTitle();
                QTest::keyClick(&box, Qt::Key_Return);
            },
            message);
        return seen;
    };

    const Seen four = look("one|two|three|four|five", AlertYesNo);
    EXPECT_EQ(four.texts, (std::vector<QString>{"one", "two", "three", "four"}));
    EXPECT_EQ(four.tops[0], four.step - 2 * 4);
    for (std::size_t i = 1; i < four.tops.size(); ++i)
        EXPECT_EQ(four.tops[i], four.tops[i - 1] + four.step);
    EXPECT_EQ(four.buttonTop, four.tops[3] + four.step + 4);
    EXPECT_EQ(four.clientHeight, four.buttonTop + 25 + 6);
    EXPECT_EQ(four.caption, " Tobbin");

    // The next message shows none of the previous one.
    const Seen one = look("Only this", AlertYesNo);
    EXPECT_EQ(one.texts, (std::vector<QString>{"Only this"}));
    EXPECT_EQ(one.tops[0], one.step - 2);
    EXPECT_EQ(one.buttonTop, one.tops[0] + one.step + 4);
    EXPECT_LT(one.clientHeight, four.clientHeight);
}

TEST_F(AlertBoxTest, WidthFitsTheTextAndCentresTheButtonRow) {
    // A short line with three buttons is as wide as the button row.
    int yes = 0, no = 0, cancel = 0, client = 0;
    RunWith(AlertYesNoCancel, [&](TAlertBox& box) {
        yes = box.xYes.x();
        no = box.xNo.x();
        cancel = box.xCancel.x();
        client = box.width();
        QTest::keyClick(&box, Qt::Key_Escape);
    });
    EXPECT_EQ(Box.DesignWidth(), 3 * 114 + 6);
    EXPECT_EQ(no - yes, 114);
    EXPECT_EQ(cancel - no, 114);
    EXPECT_EQ(yes, client - (cancel + 108)) << "the row is centred in the client area";

    // A long line widens the box; the single OK button stays centred.
    int ok = 0, lineRight = 0;
    RunWith(
        AlertOK,
        [&](TAlertBox& box) {
            ok = box.xOK.x();
            client = box.width();
            lineRight = box.xText[0].geometry().right();
            QTest::keyClick(&box, Qt::Key_Escape);
        },
        "A rather long line of text that needs far more room than one button");
    EXPECT_GT(Box.DesignWidth(), 348);
    EXPECT_LT(lineRight, client);
    EXPECT_LE(std::abs((ok + 54) - client / 2), 1);
}

TEST_F(AlertBoxTest, IsCentredOnTheMainWindowAndKeptOnScreen) {
    QWidget main;
    main.setGeometry(120, 90, 500, 328);
    main.show();
    SetMainForm(&main);
    QPoint centre;
    RunWith(AlertYesNo, [&centre](TAlertBox& box) {
        centre = box.frameGeometry().center();
        QTest::keyClick(&box, Qt::Key_Escape);
    });
    EXPECT_LE((centre - main.frameGeometry().center()).manhattanLength(), 2);

    // A main window hanging off the bottom right corner: the box stays inside.
    const QRect screen = main.screen()->availableGeometry();
    main.move(screen.right() - 100, screen.bottom() - 50);
    QRect box;
    RunWith(AlertYesNo, [&box](TAlertBox& shown) {
        box = shown.frameGeometry();
        QTest::keyClick(&shown, Qt::Key_Escape);
    });
    EXPECT_EQ(box.right() + 1, screen.right() + 1 - 4);
    EXPECT_EQ(box.bottom() + 1, screen.bottom() + 1 - 4);
}

TEST_F(AlertBoxTest, AsksForTheInputSoundInTheChosenMode) {
    std::vector<std::pair<TBoxSound, bool>> played;
    SetBoxSoundHook([&played](TBoxSound sound, bool sync) { played.emplace_back(sound, sync); });
    const auto closeWhenSounded = [&played](TAlertBox& box) {
        // The sound is asked for right after the box appears.
        for (int i = 0; i < 100 && played.empty(); ++i)
            QTest::qWait(5);
        QTest::keyClick(&box, Qt::Key_Escape);
    };
    RunWith(AlertOK, closeWhenSounded, "Async", false);
    ASSERT_EQ(played.size(), 1u);
    EXPECT_EQ(played[0], std::make_pair(TBoxSound::Input, false));
    played.clear();
    RunWith(AlertOK, closeWhenSounded, "Sync", true);
    ASSERT_EQ(played.size(), 1u);
    EXPECT_EQ(played[0], std::make_pair(TBoxSound::Input, true));
}

TEST_F(AlertBoxTest, BackgroundPictureFollowsTheBackgroundsSetting) {
    QPixmap skin(20, 10);
    skin.fill(Qt::darkCyan);
    Box.SetBackground(skin);
    bool shown = false;
    QSize size;
    const auto look = [&](TAlertBox& box) {
        shown = box.xPic.isVisible();
        size = box.xPic.size();
        QTest::keyClick(&box, Qt::Key_Escape);
    };
    RunWith(AlertOK, look);
    EXPECT_TRUE(shown);
    EXPECT_EQ(size, Box.size()) << "the picture is stretched over the whole box";
    EXPECT_EQ(Box.xPic.pixmap().size(), QSize(20, 10));
    Box.SetBackgroundsOn(false);
    RunWith(AlertOK, look);
    EXPECT_FALSE(shown);
}

} // namespace
} // namespace tb::test
