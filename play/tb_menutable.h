#pragma once
// The main window's menu, one row an item in the order the menu shows them:
// its Tag, the menu it sits in, its caption key, the command it starts and how
// the game's states and the editor show and hide it. The shell's builder makes
// the items from the rows and the adapter (TUi) reads their states; adding a
// command is adding a row. Items whose showing depends on more than the state
// (Edit mode, Kill level solution, the editor's level commands) are decided
// where that knowledge is. The folder menus' entries (sound sets, sprite sets,
// skins, languages) are added to their menus from the folders at the first
// showing.

#include "engine/tb_types.h"
#include "services/d_menu.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <span>
#include <string_view>
#include <utility>

namespace tb {

// A set of game states, one bit a state.
using TStates = std::uint8_t;
constexpr TStates In(std::initializer_list<TState> states) {
    TStates set = 0;
    for (TState state : states)
        set = static_cast<TStates>(set | (1U << static_cast<unsigned>(state)));
    return set;
}
constexpr bool Holds(TStates set, TState state) {
    return (set >> static_cast<unsigned>(state) & 1U) != 0;
}

enum class TMenuKind : std::uint8_t {
    Item,
    Menu,      // a menu or submenu: its items name it as theirs
    Separator, // a line between items (no Tag)
};

// How the editor treats an item.
enum class TInEditor : std::uint8_t {
    Same,   // the editor leaves it as it is
    Shown,  // shown in the editor, hidden in play mode
    Hidden, // hidden in the editor, shown in play mode
};

struct TMenuItem {
    TMenuKind Kind = TMenuKind::Item;
    int Tag = 0;
    int Menu = 0;                  // the Tag of its menu; 0 for the menu bar
    std::function<void()> Command; // started through the event pump
    TStates ShowOn = 0;            // the states that show it when the game enters them
    TStates HideOn = 0;            // the states that hide it
    TInEditor InEditor = TInEditor::Same;
    int Key = 0;            // the caption's language key when it is not the Tag
    bool Checkable = false; // (a menu: its own entry shows a check mark)
    bool Exclusive = false; // one of a group of its menu's checkable items
    bool Hidden = false;    // hidden until something shows it

    // The rows' words, e.g. `CommandItem(TagSave, TagFile, save).Hides(In({None}))`.
    TMenuItem Shows(TStates states) && {
        ShowOn = states;
        return std::move(*this);
    }
    TMenuItem Hides(TStates states) && {
        HideOn = states;
        return std::move(*this);
    }
    TMenuItem Editor(TInEditor rule) && {
        InEditor = rule;
        return std::move(*this);
    }
    TMenuItem Caption(int key) && {
        Key = key;
        return std::move(*this);
    }
    TMenuItem Check() && {
        Checkable = true;
        return std::move(*this);
    }
    TMenuItem Radio() && {
        Exclusive = Checkable = true;
        return std::move(*this);
    }
    TMenuItem StartHidden() && {
        Hidden = true;
        return std::move(*this);
    }
};

inline TMenuItem CommandItem(int tag, int menu, std::function<void()> command) {
    TMenuItem item;
    item.Tag = tag;
    item.Menu = menu;
    item.Command = std::move(command);
    return item;
}
inline TMenuItem SubMenu(int tag, int menu = 0) {
    TMenuItem item;
    item.Kind = TMenuKind::Menu;
    item.Tag = tag;
    item.Menu = menu;
    return item;
}
inline TMenuItem Line(int menu) {
    TMenuItem item;
    item.Kind = TMenuKind::Separator;
    item.Menu = menu;
    return item;
}

// The language key of an item's caption; 0 for an item whose caption the
// language file does not name.
constexpr int CaptionKey(const TMenuItem& item) {
    if (item.Key != 0) return item.Key;
    return item.Tag < 100 ? item.Tag : 0;
}

// The built-in caption of an item.
constexpr std::string_view BuiltInCaption(const TMenuItem& item) {
    return MenuCaption(item.Key != 0 ? item.Key : item.Tag);
}

// The row of a Tag; nullptr when there is none.
inline const TMenuItem* FindMenuItem(std::span<const TMenuItem> table, int tag) {
    for (const TMenuItem& item : table)
        if (item.Tag == tag && item.Kind != TMenuKind::Separator) return &item;
    return nullptr;
}

} // namespace tb
