#pragma once
// Helpers of the window tests: the program's application object for the whole
// run, answering modal boxes without blocking, a fixture that resets the
// program-wide box settings, and the real main window on a temporary program
// folder with the shipped games, pictures and language files.

#include "play/tb_alertbox.h"
#include "play/tb_boxuti.h"
#include "play/tb_wingame.h"
#include "shell/tb_startup.h"
#include "tests/records/records_support.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include <functional>

namespace tb::test {

namespace fs = std::filesystem;

// Calls `action` with the modal window once it is on the screen (from the
// modal loop's own event processing). After five seconds without one it
// records a test failure instead.
void WhenModal(std::function<void(QWidget&)> action);

// Every text a box shows, a line a label.
QString ShownText(QWidget& box);

// Runs `action` on the next modal window of type T (a box closing in between
// does not count); another box is a failure and is closed.
template <class T> void Answer(std::function<void(T&)> action, int triesLeft = 50) {
    WhenModal([action = std::move(action), triesLeft](QWidget& shown) {
        if (auto* box = dynamic_cast<T*>(&shown)) {
            action(*box);
        } else if (triesLeft > 0) {
            Answer<T>(action, triesLeft - 1);
        } else {
            ADD_FAILURE() << "another box: " << ShownText(shown).toStdString();
            shown.close();
        }
    });
}

// Answers the next message boxes in turn, each by its button once `look`
// (when given) has seen it.
struct TReply {
    QPushButton TAlertBox::*Button;
    std::function<void(TAlertBox&)> Look = {};
};
void Reply(std::vector<TReply> replies);
// A look that notes the box's text.
inline std::function<void(TAlertBox&)> Note(QString& text) {
    return [&text](TAlertBox& box) { text = ShownText(box); };
}

// Replaces the text of an edit field by typed keys.
void TypeName(QLineEdit& edit, const char* text);

// Every window test starts with no main window, no hooks and plain dialogs,
// and notes the sounds the boxes ask for, and in which mode.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    bool SoundAsked(int ms = 1000) {
        return QTest::qWaitFor([this] { return !Sounds.empty(); }, ms);
    }
    std::vector<std::pair<TBoxSound, bool>> Sounds;
};

// A corridor walled in above and below, food all along it.
inline const Rows LongCorridor = {"##########", "#H+++++++", "##########"};

class MainWindowTest : public WindowTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // The settings file: player Tester, fastest speed, no sound, then `more`.
    void Ini(const std::string& more = {});
    TMain& Start();
    // Opens a level and waits until the banner's input lock is over.
    void Open(TMain& main, const std::string& game, std::uint8_t level = 1);
    static void WaitForInput(TMain& main);
    static void Press(TMain& main, int key) { QTest::keyClick(&main, static_cast<Qt::Key>(key)); }
    static QPoint Centre(const TMain& main, int x, int y);
    fs::path GameFile(const std::string& name) const;

    TempProgramFolder Folder;
    TStartedProgram Program;
};

} // namespace tb::test
