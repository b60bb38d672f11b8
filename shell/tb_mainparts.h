#pragma once
// What the sources of the main window share: the menu's Tags (d_menu) and
// the helpers of the folder menus. Only the
// shell's own sources include it.

#include "services/d_menu.h"

#include <QAction>
#include <QString>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace tb {

// A folder menu's entries: the subfolders (or files) of the shipped folder and
// of the player's installed content, without those starting with ".", cut
// before their first ".", in canonical form, sorted, each once.
std::vector<std::string> FolderEntries(const std::filesystem::path& shipped, bool foldersOnly);
// A caption that shows `name` as it is ("&" is not an access key here).
QString PlainCaption(const std::string& name);
// The set name a folder menu item stands for.
std::string ItemSetName(const QAction* item);
// The random source of the Shuffle items.
std::mt19937& ShuffleRandom();

} // namespace tb
