#pragma once
// The editor's input on the play field: a drag spans the rectangle that the
// palette's cell kind paints (a rubber band shows it while the button is
// held), and the palette's buttons choose the kind.

#include "engine/tb_types.h"

#include <QPoint>
#include <QRubberBand>
#include <QToolButton>

#include <array>
#include <cstdint>
#include <functional>

namespace tb {

class TWinGame;

class TFieldEditor {
public:
    // Cell codes of the palette's buttons, left to right.
    static constexpr std::array<std::uint8_t, 8> PaletteCodes = {Empty, Grass, Wall, Stone,
                                                                 Food,  Box3,  Bomb, Hero};
    using TPalette = std::array<QToolButton*, 8>;

    // `field` is the play field (the band's parent); `palette` its buttons,
    // made later; `tilePixels` the size of a cell now.
    TFieldEditor(QWidget& field, const TPalette& palette, std::function<int()> tilePixels);

    // A left press on the field in the editor: a drag starts there.
    void Press(QPoint point);
    void Move(QPoint point);
    // The release of the left button: `game` paints the rectangle from the
    // press to here with the palette's kind (a release outside the field
    // paints up to its edge cells).
    void Release(QPoint point, TWinGame* game);
    // Palette button `slot` (0 to 7) chooses its cell kind.
    void Choose(int slot);
    std::uint8_t SelectedCode() const { return Code; }
    int SelectedSlot() const { return Slot; }

private:
    const TPalette& Palette;
    std::function<int()> TilePixels;
    QRubberBand Band;
    bool Dragging = false;
    int DragColumn = 0, DragRow = 0;
    QPoint DragStart;
    std::uint8_t Code = Grass;
    int Slot = 1;
};

} // namespace tb
