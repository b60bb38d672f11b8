#pragma once
// The real main window started on a temporary program folder with the shipped
// games, the generated pictures and the language files; keys, clicks and the
// answers to its boxes drive it as a player would.

#include "play/tb_wingame.h"
#include "services/d_settings.h"
#include "shell/tb_startup.h"
#include "tests/records/records_support.h"
#include "tests/window/window_support.h"

#include <QTest>

#include <filesystem>

namespace tb::test {

namespace fs = std::filesystem;

// A corridor walled in above and below, food all along it.
inline const Rows LongCorridor = {"##########", "#H+++++++", "##########"};

class MainWindowTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        const fs::path source = TOBBIN_SOURCE_FOLDER;
        const fs::path staged = TOBBIN_PROGRAM_FOLDER;
        fs::copy(source / "data" / "tbg", Folder.Path() / "tbg",
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        fs::copy(source / "data" / "solutions" / "tobbin-shipped.sox", Folder.Path());
        fs::copy(staged / "img", Folder.Path() / "img",
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        fs::copy(source / "data" / "tlg", Folder.Path() / "tlg",
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        tb::Settings() = TSettings{};
        Pacing() = TPacing{};
        WriteFile(Folder.Path() / "tobbin.ini",
                  "[Game]\r\nPlayer=Tester\r\n[Speed]\r\nSpeed=4\r\n[Sound]\r\nOn=0\r\n");
    }
    void TearDown() override {
        Program.Main.reset();
        Program.About.reset();
        WindowTest::TearDown();
    }

    TMain& Start() {
        Program = StartProgram(MilliTime(), false, false);
        Program.Main->show();
        QCoreApplication::processEvents();
        return *Program.Main;
    }
    // Waits until the banner's input lock is over.
    static void WaitForInput(TMain& main) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return main.Ui().MenusEnabled(); }, 5000));
    }
    static void Press(TMain& main, int key) { QTest::keyClick(&main, static_cast<Qt::Key>(key)); }
    static int KeyOf(std::uint8_t move) {
        constexpr int keys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right};
        return keys[move];
    }

    TempProgramFolder Folder;
    TStartedProgram Program;
};

} // namespace tb::test
