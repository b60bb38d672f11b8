#pragma once
// The program's entry sequence: the settings (with the about box as the
// start-up splash), the main window with its game and records, the skin and
// the language, the splash held to its minimum time, the player, and the
// first state. Screenshots and tests run the same sequence.

#include "services/d_settings.h"
#include "shell/tb_aboutbox.h"
#include "shell/tb_main.h"

#include <cstdint>
#include <memory>
#include <string>

namespace tb {

// What the program shows from start-up to the message loop.
struct TStartedProgram {
    std::unique_ptr<TAboutBox> About; // the splash until the main window's first showing
    std::unique_ptr<TMain> Main;
    bool PlayerChosen = true; // false: the player dialog was cancelled, the program ends
};

// The splash stays up at least this long after the program started.
inline constexpr std::uint32_t SplashMilliseconds = 3000;

// What reading the settings needs from the window system: the screen, its
// colours and the installed fonts; and the run's folders.
TSettingsEnvironment WindowEnvironment(const TFolders& folders);

// The name the player dialog offers first: the last player of the settings,
// else the name the system knows the user by, else "Player".
std::string DefaultPlayerName();

// Runs the entry sequence up to the message loop on the run's `folders`
// (laid out once from where the program lies). `startTick` is the
// program's clock when it started; `holdSplash` false skips the wait for the
// splash (screenshots, tests). `askPlayer` false takes the default player
// without the player dialog (screenshots, tests). The main window is not
// shown yet.
TStartedProgram StartProgram(const TFolders& folders, std::uint32_t startTick, bool holdSplash,
                             bool askPlayer);

// The whole program: the entry sequence, the message loop, the exit code.
int RunProgram(const TFolders& folders, std::uint32_t startTick);

} // namespace tb
