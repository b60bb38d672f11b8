#pragma once
// What the interface adapter (TUi) needs of the main window: its menu items
// by Tag, the play field with the pictures of the tile size in use, the
// panels of the bottom row and their texts, the level buttons, the titles
// and the banner. The main window provides it; nothing of the play folder
// needs the shell beyond this.

#include "play/tb_alertbox.h"
#include "play/tb_menutable.h"
#include "play/tb_playfield.h"
#include "play/tb_tiles.h"

#include <QColor>
#include <QMainWindow>
#include <QString>

#include <span>
#include <string>

namespace tb {

// The panels of the bottom row.
enum class TBottomPanel { Message, Palette, Levels, Name, Clock, Steps };

class TMainView {
public:
    TMainView() = default;
    TMainView(const TMainView&) = delete;
    TMainView& operator=(const TMainView&) = delete;
    virtual ~TMainView() = default;

    // The window itself (shown, minimised, its title).
    virtual QMainWindow& Window() = 0;
    virtual TAlertBox& AlertBox() = 0;

    // ---- The menu: its rows, and each item (or menu) by its Tag ----
    virtual std::span<const TMenuItem> MenuItems() const = 0;
    virtual void ShowItem(int tag, bool visible) = 0;
    virtual void EnableItem(int tag, bool enabled) = 0;
    virtual void CheckItem(int tag, bool checked) = 0;

    // ---- The play field ----
    virtual TPlayField& Field() = 0;
    // The pictures of the tile size in use (an empty set before the first
    // layout) and the side of a cell in pixels.
    virtual const TTileSet& Tiles() const = 0;
    virtual int CellPixels() const = 0;
    // The welcome titles over the field: the first two lines, the version.
    virtual void ShowTitles(bool welcome, bool version) = 0;

    // ---- The bottom row ----
    virtual void ShowPanel(TBottomPanel panel, bool visible) = 0;
    // The text of the message line, the level name (a long one in a smaller
    // font), the clock or the step counter.
    virtual void SetPanelText(TBottomPanel panel, const QString& text) = 0;
    // The colour of the clock and the step counter.
    virtual void ColourCounters(const QColor& colour) = 0;
    // The clock's tick each second.
    virtual void RunClock(bool on) = 0;
    virtual void LayoutLevelButtons() = 0;
    // Buttons 1 to `highest` may be pressed.
    virtual void EnableLevelButtons(int highest) = 0;
    // The button of `level` (1 to 9) shows as the level in play, or no more.
    virtual void MarkLevelButton(int level, bool marked) = 0;

    // The banner over the field; `lockInput` holds the input while it shows.
    virtual void ShowBanner(const std::string& text, bool lockInput) = 0;
    // Whether a banner still holds the input.
    virtual bool BannerShowing() const = 0;
    // A new level: another sprite set and sound set, when shuffling.
    virtual void ShuffleSprites() = 0;
    virtual void ShuffleSounds() = 0;
};

} // namespace tb
