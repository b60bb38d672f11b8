#pragma once
// The main window's menu: it makes the items from the menu's rows, finds and
// shows them by Tag, gives them the language's captions, adds the entries of
// the folder menus, and starts every command through the event pump, so that
// no item starts inside another command.

#include "play/tb_menutable.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QString>

#include <filesystem>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace tb {

struct TFolders;

class TMenu {
public:
    // Makes the items of `rows`, in their order, on `bar`.
    TMenu(QMenuBar& bar, std::vector<TMenuItem> rows);
    TMenu(const TMenu&) = delete;
    TMenu& operator=(const TMenu&) = delete;

    std::span<const TMenuItem> Rows() const { return MenuRows; }
    // The item of a Tag (for a menu: its entry in the menu above); Error
    // when there is none.
    QAction* Item(int tag) const;
    // The menu of a Tag; Error when there is none.
    QMenu* Menu(int tag) const;
    void ShowItem(int tag, bool visible);
    // The captions of a language's [Main] section, by caption key; an item
    // whose key has no caption there keeps the one it has.
    void ApplyCaptions(const std::map<int, std::string>& captions);
    // A folder menu's entries after its own items: one checkable item a
    // name, standing for that name (ItemSetName), each starting `command`.
    std::vector<QAction*> AddEntries(int tag, const std::vector<std::string>& names,
                                     const std::function<void(QAction*)>& command);

    // `command` runs when `item` is chosen, through the event pump; while
    // another command runs it is refused and a check mark the click set
    // goes back.
    static void OnTrigger(QAction* item, std::function<void()> command);

private:
    std::vector<TMenuItem> MenuRows;
    std::map<int, QAction*> Items;
    std::map<int, QMenu*> Menus;
};

// A folder menu's entries: the subfolders (or files) of the shipped folder and
// of the player's installed content, without those starting with ".", cut
// before their first ".", in canonical form, sorted, each once.
std::vector<std::string> FolderEntries(const TFolders& folders,
                                       const std::filesystem::path& shipped, bool foldersOnly);
// A caption that shows `name` as it is ("&" is not an access key here).
QString PlainCaption(const std::string& name);
// The set name a folder menu item stands for.
std::string ItemSetName(const QAction* item);

} // namespace tb
