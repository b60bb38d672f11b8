#include "tests/window/window_support.h"

#include "play/tb_boxuti.h"
#include "shell/tb_errbox.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

#include <memory>

namespace tb::test {

namespace {

// The program's own application object, so that the tests go through its
// application-wide exception handler.
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override { App = std::make_unique<TApplication>(Argc, Argv); }
    void TearDown() override { App.reset(); }

private:
    int Argc = 1;
    char Name[12] = "test_window";
    char* Argv[2] = {Name, nullptr};
    std::unique_ptr<TApplication> App;
};

// GoogleTest takes ownership of registered environments.
[[maybe_unused]] ::testing::Environment* const Registered =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

void Poll(std::shared_ptr<std::function<void(QWidget&)>> action, int triesLeft) {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal->isVisible()) {
        (*action)(*modal);
    } else if (triesLeft == 0) {
        ADD_FAILURE() << "no modal window was shown";
    } else {
        QTimer::singleShot(10, [action, triesLeft] { Poll(action, triesLeft - 1); });
    }
}

} // namespace

void WhenModal(std::function<void(QWidget&)> action) {
    auto shared = std::make_shared<std::function<void(QWidget&)>>(std::move(action));
    QTimer::singleShot(0, [shared] { Poll(shared, 500); });
}

QString ShownText(QWidget& box) {
    QString text;
    for (QLabel* label : box.findChildren<QLabel*>())
        text += label->text() + "\n";
    return text;
}

void Reply(std::vector<TReply> replies) {
    if (replies.empty()) return;
    Answer<TAlertBox>([replies = std::move(replies)](TAlertBox& box) {
        if (replies.front().Look) replies.front().Look(box);
        (box.*replies.front().Button).click();
        Reply({replies.begin() + 1, replies.end()});
    });
}

void TypeName(QLineEdit& edit, const char* text) {
    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QTest::keyClicks(&edit, QString::fromUtf8(text));
}

void WindowTest::SetUp() {
    SetMainForm(nullptr);
    SetBoxSoundHook([this](TBoxSound sound, bool sync) { Sounds.emplace_back(sound, sync); });
    SetBeforeModalHook({});
    SetDialogFontBold(false);
}

void WindowTest::TearDown() {
    SetMainForm(nullptr);
    SetBoxSoundHook({});
    SetBeforeModalHook({});
    SetDialogFontBold(false);
}

} // namespace tb::test
