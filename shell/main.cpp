// The program's main routine: the data folder is found from the folder of the
// executable (staged beside it in a build, ../share/tobbin installed); then the entry sequence and
// the message loop. With
// "--screenshot FOLDER" it writes pictures of the window there, on the
// off-screen platform, and ends.

#include "play/d_hidwin.h"
#include "play/tb_wingame.h"
#include "services/d_folders.h"
#include "shell/tb_errbox.h"
#include "shell/tb_instance.h"
#include "shell/tb_main.h"
#include "shell/tb_screens.h"
#include "shell/tb_startup.h"

#include <QCoreApplication>
#include <QIcon>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

bool HasArgument(int argc, char** argv, const char* wanted) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], wanted) == 0) return true;
    return false;
}

} // namespace

int main(int argc, char** argv) {
    const std::uint32_t startTick = tb::MilliTime();
    const char* screenshots = nullptr;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--screenshot") == 0) screenshots = argv[i + 1];

    if (screenshots != nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    } else if (!IsSet("DISPLAY") && !IsSet("WAYLAND_DISPLAY") && !IsSet("QT_QPA_PLATFORM") &&
               !HasArgument(argc, argv, "-platform")) {
        std::fputs("tobbin: no display found: set DISPLAY or WAYLAND_DISPLAY "
                   "(or QT_QPA_PLATFORM=offscreen) to start the game\n",
                   stderr);
        return 1;
    }

    tb::TApplication app(argc, argv);
    tb::TApplication::setApplicationName("Tobbin");
    // The desktop entry's id (the window's match on Wayland) and the icon the
    // menu shows: the window and the tray show the same picture.
    tb::TApplication::setDesktopFileName(QStringLiteral("io.github.tobbin.Tobbin"));
    tb::TApplication::setWindowIcon(tb::ProgramIcon());
    try {
        // The folders are laid out once, here, and handed to everything that reads or writes files.
        const tb::TFolders folders =
            tb::ExecutableFolders(QCoreApplication::applicationDirPath().toStdString());
        if (screenshots != nullptr)
            return tb::TakeScreenshots(folders, QString::fromLocal8Bit(screenshots));
        // One copy runs at a time: a second start brings the first forward
        // and ends before any window of its own shows.
        tb::TInstance instance(tb::TInstance::ServerName());
        const tb::TInstance::TClaim claim = instance.Claim();
        if (claim == tb::TInstance::TClaim::Forwarded || claim == tb::TInstance::TClaim::NoAnswer)
            return 0;
        // Minimised, the window waits in the notification area.
        tb::THidWin tray([] { return static_cast<QWidget*>(tb::MainWindow()); });
        instance.ComeForward = [&tray] { tray.BringForward(); };
        return tb::RunProgram(folders, startTick);
    } catch (const std::exception& error) {
        // Only a failure before the window runs ends up here (the records
        // could not be read at all): say so and stop.
        std::fprintf(stderr, "tobbin: %s\n", error.what());
        return 1;
    }
}
