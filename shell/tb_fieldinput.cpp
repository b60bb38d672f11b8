// The input of the main window: the game keys, clicks on the play field,
// the editor's rubber-band painting and palette, and the clock.

#include "shell/tb_main.h"
#include "shell/tb_mainparts.h"

#include "play/tb_boxuti.h"
#include "play/tb_colour.h"
#include "play/tb_congratbox.h"
#include "play/tb_pump.h"
#include "play/tb_util.h"
#include "records/browsers/tb_authbox.h"
#include "records/browsers/tb_champbox.h"
#include "records/browsers/tb_solbox.h"
#include "records/browsers/tb_wribox.h"
#include "services/d_error.h"
#include "services/d_folders.h"
#include "services/d_language.h"
#include "services/d_messages.h"
#include "services/d_settings.h"
#include "services/d_sound.h"
#include "services/d_string.h"
#include "services/d_types.h"
#include "shell/tb_aboutbox.h"
#include "shell/tb_errbox.h"
#include "shell/tb_gamebox.h"
#include "shell/tb_helpwin.h"
#include "shell/tb_jpeg.h"
#include "shell/tb_levbox.h"
#include "shell/tb_namebox.h"
#include "shell/tb_playerbox.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QGraphicsDropShadowEffect>
#include <QLayout>
#include <QMenuBar>
#include <QMouseEvent>
#include <QUrl>

#include <algorithm>
#include <filesystem>
#include <random>
namespace tb {
namespace fs = std::filesystem;

// ---- Keys, mouse, clock ----

void TMain::keyPressEvent(QKeyEvent* event) {
    event->accept();
    // A key during a play back only stops it.
    if (Game().GetState() == TState::Replay) {
        Game().TakeOver();
        return;
    }
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    TEventPump::RunCommand([this, key, modifiers] { KeyDown(key, modifiers); });
}

void TMain::LevelButtonCommand(std::uint8_t level) {
    TWinGame& game = Game();
    // The button shows the level in play until the level changes.
    Adapter.SelectLevelButton(game.GetLevel());
    if (!Adapter.MenusEnabled()) return;
    if (!game.IsEdit() && (game.IsBusy() || game.GetState() == TState::Replay)) return;
    game.SelectLevel(level);
}

void TMain::KeyDown(int key, Qt::KeyboardModifiers modifiers) {
    TWinGame& game = Game();
    if (game.GetState() == TState::Replay) {
        game.TakeOver();
        return;
    }
    if (!Adapter.MenusEnabled()) return;
    const TState state = game.GetState();
    const bool ctrlAlt =
        modifiers.testFlag(Qt::ControlModifier) && modifiers.testFlag(Qt::AltModifier);
    // The digits of the keypad count too (Qt marks them with the keypad
    // modifier).
    if (key >= Qt::Key_1 && key <= Qt::Key_9 &&
        (modifiers & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (state == TState::Ready || state == TState::Done || game.IsEdit()) {
            const QToolButton* button = xLev[static_cast<std::size_t>(key - Qt::Key_1)];
            if (button->isEnabled() && button->isVisible())
                LevelButtonCommand(static_cast<std::uint8_t>(key - Qt::Key_0));
        }
        return;
    }
    if (key == Qt::Key_Pause || key == Qt::Key_Delete) {
        showMinimized();
        return;
    }
    if (key == Qt::Key_F1) {
        ShowHelpTopic("Welcome");
        return;
    }
    if (ctrlAlt && key == Qt::Key_A) {
        game.ToggleAllLevels();
        return;
    }
    if (ctrlAlt && key == Qt::Key_T) {
        ShowCongratulations();
        return;
    }
    if (ctrlAlt && modifiers.testFlag(Qt::ShiftModifier) && key == Qt::Key_Z) {
        game.ToggleXtra();
        return;
    }
    if (game.IsEdit() || game.IsBusy()) return;
    const bool playing = game.AcceptsMoves();
    // The arrows move the hero one cell; Home, End, Page Up and Page Down run
    // him until he is stopped.
    struct TKeyMove {
        int Key;
        TDir Dir;
        int Count;
    };
    static constexpr std::array<TKeyMove, 8> moves = {
        TKeyMove{Qt::Key_Left, Left, 1}, {Qt::Key_Right, Right, 1},    {Qt::Key_Up, Up, 1},
        {Qt::Key_Down, Down, 1},         {Qt::Key_Home, Left, 127},    {Qt::Key_End, Right, 127},
        {Qt::Key_PageUp, Up, 127},       {Qt::Key_PageDown, Down, 127}};
    for (const TKeyMove& move : moves)
        if (move.Key == key) {
            if (playing) game.Move(move.Dir, move.Count);
            return;
        }
    switch (key) {
    case Qt::Key_Escape:
        if (playing) game.GiveUp();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (state == TState::None || state == TState::Ready || state == TState::Done)
            LoadGameCommand();
        break;
    case Qt::Key_Space:
        if (state == TState::Done) game.SetState(TState::Ready, false);
        break;
    case Qt::Key_Backspace:
        game.StepBack();
        break;
    default:
        break;
    }
}

void TMain::MapMouseDown(QMouseEvent& event) {
    if (event.button() != Qt::LeftButton || !GameObject) return;
    TWinGame& game = Game();
    if (game.IsEdit()) {
        // The editor paints the rectangle the drag spans.
        Dragging = true;
        DragStart = event.position().toPoint();
        DragColumn = DragStart.x() / TilePixels + 1;
        DragRow = DragStart.y() / TilePixels + 1;
        Band->hide();
        return;
    }
    if (game.GetState() == TState::Replay && game.TakeOver()) return;
    TEventPump::RunCommand([this, &event] { MapClick(event); });
}

void TMain::MapClick(QMouseEvent& event) {
    // The shell only turns the pixel into its cell; the game decides the move.
    const int column = static_cast<int>(event.position().x()) / TilePixels + 1;
    const int row = static_cast<int>(event.position().y()) / TilePixels + 1;
    Game().ClickCell(TPos(column, row));
}

void TMain::MapMouseMove(QMouseEvent& event) {
    if (!Dragging) return;
    const QPoint point = event.position().toPoint();
    // Less than two pixels from the start is no rectangle yet.
    if (std::abs(point.x() - DragStart.x()) < 2 && std::abs(point.y() - DragStart.y()) < 2) {
        Band->hide();
        return;
    }
    Band->setGeometry(QRect(DragStart, point).normalized());
    Band->show();
}

void TMain::MapMouseUp(QMouseEvent& event) {
    if (!Dragging || event.button() != Qt::LeftButton) return;
    Dragging = false;
    Band->hide();
    if (!GameObject || !Game().IsEdit()) return;
    const QPoint point = event.position().toPoint();
    // A release outside the field paints up to its edge cells.
    const int column = std::clamp(point.x() / TilePixels + 1, 1, 31);
    const int row = std::clamp(point.y() / TilePixels + 1, 1, 18);
    TEventPump::RunCommand([this, column, row] {
        Game().PaintRectangle(DragColumn, DragRow, column, row, PaletteCode);
    });
}

void TMain::PaletteClick(int slot) {
    if (slot < 0 || slot >= static_cast<int>(xPal.size())) return;
    xPal[static_cast<std::size_t>(PaletteSlot)]->setAutoRaise(true);
    QToolButton* button = xPal[static_cast<std::size_t>(slot)];
    button->setDown(false);
    button->setAutoRaise(false);
    PaletteSlot = slot;
    PaletteCode = PaletteCodes[static_cast<std::size_t>(slot)];
}

void TMain::ClockTick() {
    if (Game().IsEdit()) {
        xTim.stop();
        return;
    }
    Game().Tick();
}

} // namespace tb
