#pragma once
// The install commands of the File menu: each asks, searches for the archives
// of its kind, offers each one found, unpacks it and reports, then hides its
// item for the rest of the run.

#include "install/w_unpack.h"

#include <optional>
#include <string_view>

namespace tb {

class TMainView;
class TUi;
class TWinShell;
struct TFolders;

class TInstallCommand {
public:
    // Asks through `shell`, shows the search on `view`'s message line and
    // hides the item there, gives the input back through `ui`; installs
    // into `folders`.
    TInstallCommand(TWinShell& shell, TMainView& view, TUi& ui, const TFolders& folders)
        : Shell(shell), View(view), Ui(ui), Folders(folders) {}

    // The command of the item `tag`: archives whose names match `pattern`.
    void Run(int tag, std::string_view pattern);

    // Where to look for archives (tests put a folder of their own here); the
    // local disks and the home folder when empty.
    std::optional<TSearchPlaces> SearchPlaces;

private:
    TWinShell& Shell;
    TMainView& View;
    TUi& Ui;
    const TFolders& Folders;
};

} // namespace tb
