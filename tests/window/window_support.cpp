#include "tests/window/window_support.h"

#include "play/tb_boxuti.h"
#include "play/tb_util.h"
#include "services/d_settings.h"
#include "shell/tb_errbox.h"
#include "shell/tb_main.h"

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

void TypeName(QLineEdit& edit, const char* text) {
    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QTest::keyClicks(&edit, QString::fromUtf8(text));
}

void WindowTest::SetUp() {
    SetMainForm(nullptr);
    SetBoxSoundHook({});
    SetBeforeModalHook({});
    SetDialogFontBold(false);
}

void WindowTest::TearDown() {
    SetUp();
}

void MainWindowTest::SetUp() {
    WindowTest::SetUp();
    const fs::path source = TOBBIN_SOURCE_FOLDER;
    constexpr auto deep = fs::copy_options::recursive | fs::copy_options::overwrite_existing;
    fs::copy(source / "data" / "tbg", Folder.Path() / "tbg", deep);
    fs::copy(source / "data" / "solutions" / "tobbin-shipped.sox", Folder.Path());
    fs::copy(fs::path(TOBBIN_PROGRAM_FOLDER) / "img", Folder.Path() / "img", deep);
    fs::copy(source / "data" / "tlg", Folder.Path() / "tlg", deep);
    tb::Settings() = TSettings{};
    Pacing() = TPacing{};
    Ini();
}

void MainWindowTest::TearDown() {
    Program.Main.reset();
    Program.About.reset();
    WindowTest::TearDown();
}

void MainWindowTest::Ini(const std::string& more) {
    WriteFile(Folder.Path() / "tobbin.ini",
              "[Game]\r\nPlayer=Tester\r\n[Speed]\r\nSpeed=4\r\n[Sound]\r\nOn=0\r\n" + more);
}

TMain& MainWindowTest::Start() {
    Program = StartProgram(MilliTime(), false, false);
    Program.Main->show();
    QCoreApplication::processEvents();
    return *Program.Main;
}

void MainWindowTest::Open(TMain& main, const std::string& game, std::uint8_t level) {
    main.Game().OpenGameAt(game, level);
    WaitForInput(main);
}

void MainWindowTest::WaitForInput(TMain& main) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return main.Ui().MenusEnabled(); }, 5000));
}

QPoint MainWindowTest::Centre(const TMain& main, int x, int y) {
    const int px = main.TilePixels;
    return {(x - 1) * px + px / 2, (y - 1) * px + px / 2};
}

fs::path MainWindowTest::GameFile(const std::string& name) const {
    return Folder.Path() / "tbg" / GameFileName(name, ".tbg");
}
} // namespace tb::test
