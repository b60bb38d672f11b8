#pragma once
// What the sources of the main window share: the Tags of the menu items with
// a command in this build and the helpers of the folder menus. Only the
// shell's own sources include it.

#include <QAction>
#include <QString>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace tb {

// The menu items that have a command in this build; the others stay hidden.
enum : int {
    TagLoad = 11,
    TagExport = 16,
    TagExportBest = 17,
    TagExit = 24,
    TagStepBack = 31,
    TagGiveUp = 32,
    TagTake = 33,
    TagRestore = 34,
    TagPlayBack = 35,
    TagShow = 36,
    TagGameInfo = 37,
    TagLevelInfo = 38,
    TagKillSolution = 39,
    TagSoundOff = 63,
    TagShuffle = 64,
    TagWebPage = 72,
    TagAbout = 73,
};

// Tags 91 to 98 of the Main section: the palette buttons' hints.
constexpr int TagPaletteHints = 91;

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
