#include "shell/tb_fieldeditor.h"

#include "play/tb_pump.h"
#include "play/tb_wingame.h"

#include <QRect>

#include <algorithm>
#include <cstdlib>

namespace tb {

TFieldEditor::TFieldEditor(QWidget& field, const TPalette& palette, std::function<int()> tilePixels)
    : Palette(palette), TilePixels(std::move(tilePixels)), Band(QRubberBand::Rectangle, &field) {}

void TFieldEditor::Press(QPoint point) {
    Dragging = true;
    DragStart = point;
    DragColumn = DragStart.x() / TilePixels() + 1;
    DragRow = DragStart.y() / TilePixels() + 1;
    Band.hide();
}

void TFieldEditor::Move(QPoint point) {
    if (!Dragging) return;
    // Less than two pixels from the start is no rectangle yet.
    if (std::abs(point.x() - DragStart.x()) < 2 && std::abs(point.y() - DragStart.y()) < 2) {
        Band.hide();
        return;
    }
    Band.setGeometry(QRect(DragStart, point).normalized());
    Band.show();
}

void TFieldEditor::Release(QPoint point, TWinGame* game) {
    if (!Dragging) return;
    Dragging = false;
    Band.hide();
    if (game == nullptr || !game->IsEdit()) return;
    const int column = std::clamp(point.x() / TilePixels() + 1, 1, 31);
    const int row = std::clamp(point.y() / TilePixels() + 1, 1, 18);
    TEventPump::RunCommand([this, game, column, row] {
        game->PaintRectangle(DragColumn, DragRow, column, row, Code);
    });
}

void TFieldEditor::Choose(int slot) {
    if (slot < 0 || slot >= static_cast<int>(Palette.size())) return;
    Palette[static_cast<std::size_t>(Slot)]->setAutoRaise(true);
    QToolButton* button = Palette[static_cast<std::size_t>(slot)];
    button->setDown(false);
    button->setAutoRaise(false);
    Slot = slot;
    Code = PaletteCodes[static_cast<std::size_t>(slot)];
}

} // namespace tb
