// The program's main routine. For now it opens the stand-in main window; with
// "--screenshot FOLDER" it writes pictures of the window and its boxes there,
// on the off-screen platform, and ends.

#include "shell/tb_boxuti.h"
#include "shell/tb_errbox.h"
#include "shell/tb_preview.h"

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
    const char* screenshots = nullptr;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--screenshot") == 0) screenshots = argv[i + 1];

    if (screenshots != nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    } else if (!IsSet("DISPLAY") && !IsSet("WAYLAND_DISPLAY") && !IsSet("QT_QPA_PLATFORM") &&
               !HasArgument(argc, argv, "-platform")) {
        std::fputs("tobbin: no display found: set DISPLAY or WAYLAND_DISPLAY "
                   "(or QT_QPA_PLATFORM=offscreen) to start the game\n",
                   stderr);
        return 1;
    }

    tb::TApplication app(argc, argv);
    if (screenshots != nullptr) return tb::TakeScreenshots(QString::fromLocal8Bit(screenshots));

    tb::TPreviewMain window;
    tb::CentreOnMain(window); // not shown yet: centred on the screen
    window.show();
    return tb::TApplication::exec();
}
