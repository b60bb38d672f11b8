// The player, game-name and level-name dialogs driven by typed keys, clicks
// and the keyboard's Enter and Escape around their modal runs.

#include "play/tb_boxuti.h"
#include "play/tb_colour.h"
#include "services/d_messages.h"
#include "services/d_settings.h"
#include "shell/tb_errbox.h"
#include "shell/tb_levbox.h"
#include "shell/tb_namebox.h"
#include "shell/tb_playerbox.h"
#include "tests/window/window_support.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTimer>

#include <chrono>

namespace tb::test {
namespace {

using Names = std::vector<std::string>;
using namespace std::chrono_literals;

// Sends each character as a typed key to the widget that has the focus, the
// way the keyboard does.
void Type(const QString& text) {
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    for (const QChar c : text) {
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent key(type, c.toUpper().unicode(), Qt::NoModifier, QString(c));
            QApplication::sendEvent(QApplication::focusWidget(), &key);
        }
    }
}

void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
}

void Click(QWidget& button) {
    QTest::mouseClick(&button, Qt::LeftButton);
}

std::string Text(const QLineEdit& edit) {
    return edit.text().toStdString();
}

// The help topic asked for, and the settings the dialogs read, put back
// after each test.
class NameDialogTest : public WindowTest {
protected:
    TSettings Saved = tb::Settings();
    std::string Topic;

    void TearDown() override {
        tb::Settings() = Saved;
        WindowTest::TearDown();
    }
    // Runs `action` on the dialog once it is shown and has the focus; the
    // action ends by closing it, and a dialog still open after it is a
    // failure (and is cancelled, so that the test goes on).
    void Drive(TNameDialog& box, std::function<void()> action) {
        box.OpenHelp = [this](std::string_view asked) { Topic = asked; };
        WhenModal([&box, action = std::move(action)](QWidget& shown) {
            EXPECT_EQ(&shown, &box);
            EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::focusWidget() != nullptr; }));
            action();
            if (box.isVisible()) {
                ADD_FAILURE() << "the dialog is still open";
                box.reject();
            }
        });
    }
    void WaitForSound() { EXPECT_TRUE(SoundAsked()); }
    // The input sound was asked for once since the last call, in this mode.
    void ExpectInputSound(bool sync) {
        EXPECT_EQ(Sounds, (std::vector<std::pair<TBoxSound, bool>>{{TBoxSound::Input, sync}}));
        Sounds.clear();
    }
};

// ---- Player dialog ----

class PlayerBoxTest : public NameDialogTest {
protected:
    TPlayerBox Box;
    QLineEdit& Edit() { return *Box.xUser.lineEdit(); }
};

TEST_F(PlayerBoxTest, OnlyNameCharactersCanBeTypedOrPastedAndAtMostTwenty) {
    Drive(Box, [this] {
        EXPECT_EQ(QApplication::focusWidget(), &Box.xUser);
        Edit().clear();
        Type(QString::fromUtf8("J\u00e9ean_-L|uc#.@"));
        EXPECT_EQ(Text(Edit()), "Jean-Luc");
        Key(Qt::Key_Backspace);
        Type(QStringLiteral("c 'O+&9abcdefghij"));
        EXPECT_EQ(Text(Edit()), "Jean-Luc 'O+&9abcdef");
        // A pasted name goes through the same filter as typed keys.
        Edit().setText(QStringLiteral("jean-luc"));
        QApplication::clipboard()->setText(QStringLiteral("_X|y#\u00e9"));
        Key(Qt::Key_End);
        Key(Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(Text(Edit()), "jean-lucXy");
        QApplication::clipboard()->setText(QStringLiteral("abcdefghijklmnop"));
        Key(Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(Edit().text().size(), PlayerNameLength);
        Edit().setText(QStringLiteral("jean-luc"));
        Key(Qt::Key_Return);
    });
    EXPECT_EQ(Box.Run(""), "Jean-Luc #0");
}

TEST_F(PlayerBoxTest, TypedNamesTakeTheirCanonicalFormUnlessTheHeroWasClicked) {
    Drive(Box, [this] {
        EXPECT_TRUE(Box.CanonicalNames());
        for (const char* empty : {"", "   "}) { // keeps the dialog open
            Edit().setText(QString::fromLatin1(empty));
            Key(Qt::Key_Return);
            EXPECT_TRUE(Box.isVisible()) << '"' << empty << '"';
        }
        Edit().setText(QStringLiteral("  jean  luc "));
        Key(Qt::Key_Return);
        EXPECT_EQ(Text(Edit()), "Jean Luc"); // the dialog shows what it answers
    });
    EXPECT_EQ(Box.Run(""), "Jean Luc #0");
    Drive(Box, [this] {
        Click(Box.xTobbin);
        EXPECT_FALSE(Box.CanonicalNames());
        Edit().setText(QStringLiteral("   "));
        Click(Box.xOK);
        EXPECT_TRUE(Box.isVisible());
        Edit().setText(QStringLiteral("  jean  luc "));
        Click(Box.xOK);
    });
    EXPECT_EQ(Box.Run("Jean Luc #0"), "  jean  luc  #0");
    EXPECT_EQ(Box.Names(), (Names{"  jean  luc ", "Jean Luc"})); // both joined the list
    // The hero counts for one showing only; a cancelled name is not taken.
    Drive(Box, [this] {
        EXPECT_TRUE(Box.CanonicalNames());
        Edit().setText(QStringLiteral("ann"));
        Key(Qt::Key_Escape);
    });
    EXPECT_EQ(Box.Run("Jean Luc #0"), "");
    EXPECT_EQ(Box.Names().size(), 2u);

    // The list is sorted, each name once, cut before its number; the name
    // passed in is shown without its number, the answer has this
    // installation's number.
    Box.SetNames({"bob #0", "Ann #12", "ann #3", "Zed", "Carl #1", "Ann #0",
                  "Abcdefghijklmnopqrstuvwxyz #0"});
    EXPECT_EQ(Box.Names(), (Names{"Abcdefghijklmnopqrst", "Ann", "bob", "Carl", "Zed"}));
    Box.AddPlayerName("ANN #5");
    Box.AddPlayerName("Dora #0");
    Box.RemovePlayerName("BOB #0"); // no exact match: the one that differs in case
    Box.RemovePlayerName("Nobody #0");
    EXPECT_EQ(Box.Names(), (Names{"Abcdefghijklmnopqrst", "Ann", "Carl", "Dora", "Zed"}));
    Drive(Box, [this] {
        EXPECT_EQ(Text(Edit()), "Ann");
        EXPECT_EQ(Box.xUser.currentIndex(), 1);
        Key(Qt::Key_Return);
    });
    EXPECT_EQ(Box.Run("Ann #12"), "Ann #0");
    EXPECT_EQ(Box.Names().size(), 5u);
    Box.SetNames({"Eve #0"}); // a list filled anew replaces the old one
    EXPECT_EQ(Box.Names(), (Names{"Eve"}));
}

TEST_F(PlayerBoxTest, ButtonsKeysHelpPlacementSkinAndTheInputSound) {
    QPixmap picture(50, 40);
    picture.fill(Qt::darkBlue);
    Box.SetBackground(picture);
    Box.ApplyCaptions({{5, "Dein\xA0Name:"}, {4, "Jawohl"}, {3, ""}});
    tb::Settings().List = NamedColour("Aqua");
    tb::Settings().Backgrounds = false;
    tb::Settings().StartTime = std::chrono::steady_clock::now(); // at start-up: silent
    int firstTop = 0;
    Drive(Box, [this, &firstTop] {
        firstTop = Box.y();
        EXPECT_FALSE(Box.xPic.isVisible());
        EXPECT_EQ(Box.xpUser.text(), QString::fromUtf8("Dein\u00a0Name:"));
        EXPECT_EQ(Box.xOK.text(), QStringLiteral("Jawohl"));
        EXPECT_EQ(Box.xCancel.text(), QStringLiteral("&Cancel")); // an empty caption is none
        EXPECT_EQ(Box.xUser.palette().color(QPalette::Base), ToQColor(tb::Settings().List));
        Key(Qt::Key_F1);
        EXPECT_EQ(Topic, "Player_name");
        EXPECT_TRUE(Box.isVisible());
        Click(Box.xCancel);
    });
    EXPECT_EQ(Box.Run("Ann #0"), "");
    EXPECT_FALSE(Box.NameAccepted());
    Drive(Box, [this, firstTop] {
        EXPECT_EQ(Box.y(), firstTop); // still 32 pixels down
        Key(Qt::Key_Enter);
    });
    EXPECT_EQ(Box.Run("Ann #0"), "Ann #0");
    EXPECT_TRUE(Box.NameAccepted());
    EXPECT_TRUE(Sounds.empty());

    // Once a name has been accepted the dialog is centred, and after the
    // start-up the input effect plays in its own (synchronous) mode.
    tb::Settings().StartTime = std::chrono::steady_clock::now() - 4s;
    tb::Settings().Backgrounds = true;
    Drive(Box, [this, firstTop] {
        EXPECT_EQ(Box.y(), firstTop - 32);
        EXPECT_TRUE(Box.xPic.isVisible());
        WaitForSound();
        Key(Qt::Key_Escape);
    });
    EXPECT_EQ(Box.Run("Ann #0"), "");
    ExpectInputSound(true);
}

// ---- Game-name dialog ----

class NameBoxTest : public NameDialogTest {
protected:
    TNameBox Box;
};

TEST_F(NameBoxTest, BothNamesAreFilteredAndNeededAndTakeTheirCanonicalForm) {
    std::string name, author = "Ann #0";
    std::uint8_t skill = 2;
    bool changed = false;
    Drive(Box, [this] {
        WaitForSound();
        EXPECT_EQ(QApplication::focusWidget(), &Box.xEdit);
        EXPECT_EQ(Text(Box.xAutIn), "Ann");
        ASSERT_EQ(Box.xSkill.count(), 5); // never "All"
        EXPECT_EQ(Box.xSkill.itemText(4).toStdString(), "Tough");
        EXPECT_EQ(Box.xSkill.currentIndex(), 2);
        Key(Qt::Key_Return); // no name yet
        EXPECT_TRUE(Box.isVisible());
        Type(QString::fromUtf8("my_ h\u00e9ill|s.#"));
        EXPECT_EQ(Text(Box.xEdit), "my hills");
        Box.xAutIn.clear();
        Key(Qt::Key_Return); // no author
        EXPECT_TRUE(Box.isVisible());
        EXPECT_EQ(Text(Box.xEdit), "My Hills");
        EXPECT_EQ(QApplication::focusWidget(), &Box.xAutIn);
        Type(QStringLiteral("b_ob  o'BRIEN ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
        EXPECT_EQ(Box.xAutIn.text().size(), GameNameLength);
        Box.xAutIn.setText(QStringLiteral("bob  o'BRIEN"));
        Key(Qt::Key_Return);
    });
    EXPECT_TRUE(Box.Run(name, skill, author, changed));
    EXPECT_EQ(name, "My Hills");
    EXPECT_EQ(author, "Bob O'brien");
    EXPECT_EQ(skill, 2);
    EXPECT_TRUE(changed);
    ExpectInputSound(false);
}

TEST_F(NameBoxTest, ChangedTellsWhetherAnyValueDiffersAndTheSkillIsOne) {
    std::string name = "Hills", author = "Ann";
    std::uint8_t skill = 1;
    bool changed = true;
    Drive(Box, [] { Key(Qt::Key_Return); });
    EXPECT_TRUE(Box.Run(name, skill, author, changed));
    EXPECT_FALSE(changed);
    EXPECT_EQ(name, "Hills");
    EXPECT_EQ(author, "Ann");
    Drive(Box, [this] {
        Box.xSkill.setCurrentIndex(3);
        Click(Box.xOK);
    });
    EXPECT_TRUE(Box.Run(name, skill, author, changed));
    EXPECT_TRUE(changed);
    EXPECT_EQ(skill, 3);
    // After a click on the hero the names stay as typed; Escape keeps them all.
    Drive(Box, [this] {
        Click(Box.xTobbin);
        Box.xAutIn.setText(QStringLiteral("ann"));
        Key(Qt::Key_Return);
    });
    EXPECT_TRUE(Box.Run(name, skill, author, changed));
    EXPECT_EQ(author, "ann");
    Drive(Box, [this] {
        Box.xEdit.setText(QStringLiteral("Other"));
        Box.xSkill.setCurrentIndex(0);
        Key(Qt::Key_Escape);
    });
    EXPECT_FALSE(Box.Run(name, skill, author, changed));
    EXPECT_EQ(name, "Hills");
    EXPECT_EQ(skill, 3);
}

// ---- Level-name dialog ----

class LevBoxTest : public NameDialogTest {
protected:
    TLevBox Box;
};

TEST_F(LevBoxTest, AnyCharacterOfTheCodePageNeverEmptyNorTheEndOfTheLevels) {
    std::vector<std::string> errors;
    SetBeforeModalHook([&errors] {
        QTimer::singleShot(0, [&errors] {
            if (auto* box = qobject_cast<TErrBox*>(QApplication::activeModalWidget())) {
                errors.push_back(box->Txt.text().toStdString());
                box->close();
            }
        });
    });
    std::string name = "Cave";
    bool changed = true;
    Drive(Box, [this, &errors] {
        WaitForSound();
        EXPECT_EQ(QApplication::focusWidget(), &Box.xEdit);
        EXPECT_EQ(Text(Box.xEdit), "Cave");
        Box.xEdit.clear();
        Key(Qt::Key_Return);
        EXPECT_TRUE(Box.isVisible());
        // No name filter, but the language's code page must hold the character.
        Type(QString::fromUtf8("_\u00e9.#|\u0416"));
        EXPECT_EQ(Box.xEdit.text(), QString::fromUtf8("_\u00e9.#|"));
        EXPECT_TRUE(QTest::qWaitFor([&errors] { return !errors.empty(); }, 1000));
        // The off-screen platform activates no window when the error box
        // closes (a desktop gives the activation back to the dialog).
        Box.activateWindow();
        EXPECT_TRUE(QTest::qWaitFor([this] { return QApplication::focusWidget() == &Box.xEdit; }));
        Type(QStringLiteral("abcdefghijklmnopqrstuvwxyz"));
        EXPECT_EQ(Box.xEdit.text().size(), GameNameLength);
        // A level called END would end the game file's levels.
        Click(Box.xTobbin);
        Box.xEdit.setText(QStringLiteral(" END "));
        Key(Qt::Key_Return);
        EXPECT_TRUE(Box.isVisible());
        Box.xEdit.setText(QStringLiteral("  the  big hole "));
        Key(Qt::Key_Return);
    });
    EXPECT_TRUE(Box.Run(name, changed));
    EXPECT_EQ(name, "  the  big hole "); // the hero was clicked
    EXPECT_TRUE(changed);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("U+0416"), std::string::npos) << errors[0];
    ExpectInputSound(true);

    Drive(Box, [this] {
        Box.xEdit.setText(QStringLiteral("  the  big end "));
        Key(Qt::Key_Enter);
    });
    EXPECT_TRUE(Box.Run(name, changed));
    EXPECT_EQ(name, "The Big End");
    EXPECT_TRUE(changed);

    Drive(Box, [] { Key(Qt::Key_Return); });
    EXPECT_TRUE(Box.Run(name, changed));
    EXPECT_FALSE(changed);

    Drive(Box, [this] {
        Key(Qt::Key_F1);
        Box.xEdit.setText(QStringLiteral("Other"));
        Key(Qt::Key_Escape);
    });
    EXPECT_FALSE(Box.Run(name, changed));
    EXPECT_EQ(Topic, "Game_and_level_names");
    EXPECT_EQ(name, "The Big End");
}

} // namespace
} // namespace tb::test
