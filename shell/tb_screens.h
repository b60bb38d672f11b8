#pragma once
// The screenshot mode of the program: pictures of the main window at every
// tile size, with the title and with a level in play, and of the message box
// and the error box over it, drawn on the off-screen platform.

#include "services/d_folders.h"

#include <QString>

namespace tb {

// Runs the program's start-up on a copy of the program folder of `folders`
// (so that the player's records stay untouched) and writes the pictures into
// `folder`. Returns 0 when every picture was written.
int TakeScreenshots(const TFolders& folders, const QString& folder);

} // namespace tb
