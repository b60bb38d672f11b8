#pragma once
// What the interface adapter needs of the main window: its controls and menus,
// the tile-size layout values, and the few shell operations the adapter
// calls. The main window provides it; nothing of the play folder needs the
// shell beyond this.

#include "play/tb_alertbox.h"
#include "play/tb_menutable.h"
#include "play/tb_playfield.h"
#include "play/tb_tiles.h"

#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QTimer>
#include <QToolButton>

#include <array>
#include <span>
#include <string>

namespace tb {

class TMainView {
public:
    TMainView() = default;
    TMainView(const TMainView&) = delete;
    TMainView& operator=(const TMainView&) = delete;
    virtual ~TMainView() = default;

    // The window itself (shown, minimised, its title and geometry).
    virtual QMainWindow& Window() = 0;
    virtual TAlertBox& AlertBox() = 0;
    // Shows or hides the menu item of a Tag.
    virtual void ShowItem(int tag, bool visible) = 0;
    // The menu's rows: each item's Tag and the states that show and hide it.
    virtual std::span<const TMenuItem> MenuItems() const = 0;
    virtual void LayoutLevelButtons() = 0;
    virtual void ShuffleSprites() = 0;
    virtual void ShuffleSounds() = 0;
    // The banner over the field; `lockInput` holds the input while it shows.
    virtual void ShowBanner(const std::string& text, bool lockInput) = 0;

    // ---- The controls ----
    QWidget Client;
    TPanel xiPanel{&Client};
    TPlayField xMap{&xiPanel};
    QLabel xTit1{&xiPanel};
    QLabel xTit2{&xiPanel};
    QLabel xTit3{&xiPanel};
    TPanel xBottomPan{&Client};
    QLabel xBottomLab{&xBottomPan};
    TPanel xNamePan{&Client};
    QLabel xNameLab{&xNamePan};
    TPanel xClockPan{&Client};
    QLabel xClockLab{&xClockPan};
    TPanel xStepPan{&Client};
    QLabel xStepLab{&xStepPan};
    TPanel xLevelPan{&Client};
    std::array<QToolButton*, 9> xLev{};
    TPanel xPalettePan{&Client};
    std::array<QToolButton*, 8> xPal{};
    QTimer xTim;
    QTimer xMessTim;

    // The menu, and each item by its Tag (the language file's key).
    QMenu* mFile = nullptr;
    QMenu* mGame = nullptr;
    QMenu* mEdit = nullptr;
    QMenu* mOptions = nullptr;
    QMenu* mCheat = nullptr;
    QMenu* xHelp = nullptr;
    QMenu* mLanguage = nullptr;
    QMenu* mFont = nullptr;
    QAction* mBold = nullptr;
    std::array<QMenu*, 5> SizeMenus{}; // index 1..4: Small, Medium, Large, Huge
    QAction* mReadOnly = nullptr;
    QAction* mAccess = nullptr;

    // ---- Program-wide values of the play window ----
    int TileSize = 0;              // 1..4; 0 until the layout was done once
    int TilePixels = 16;           // 16, 24, 32 or 40
    std::array<TTileSet, 5> Tiles; // index 1..4
    // The design geometry, remembered at the first layout.
    struct TDesign {
        bool Taken = false;
        QSize Client, Panel, Bottom, Map;
        int PaletteWidth = 0, NameWidth = 0;
        int LevelLeft = 0, LevelWidth = 0, StepLeft = 0, StepWidth = 0, ClockWidth = 0;
        int PalButton = 0, LevButton = 0;
        int Tit1Size = 0, Tit2Size = 0, Tit3Size = 0;
    } Design;
};

} // namespace tb
