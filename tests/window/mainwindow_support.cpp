// The real main window on a temporary program folder (see window_support.h).

#include "play/tb_util.h"
#include "services/d_settings.h"
#include "shell/tb_main.h"
#include "tests/window/window_support.h"

namespace tb::test {

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
    Program = StartProgram(Folder.Layout(), MilliTime(), false, false);
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
