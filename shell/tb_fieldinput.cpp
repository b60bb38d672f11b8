// The input of the main window: the game keys, clicks on the play field
// (the editor's drags go to its field editor) and the clock.

#include "shell/tb_main.h"

#include "play/tb_pump.h"
#include "shell/tb_helpwin.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include <array>

namespace tb {

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
    if (key == Qt::Key_Escape && Searches.Stop()) return; // a hint or Solve level stops
    const TState state = game.GetState();
    const bool ctrlAlt =
        modifiers.testFlag(Qt::ControlModifier) && modifiers.testFlag(Qt::AltModifier);
    // The digits of the keypad count too (Qt marks them with the keypad
    // modifier).
    if (key >= Qt::Key_1 && key <= Qt::Key_9 &&
        (modifiers & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (state == TState::Ready || state == TState::Done || game.IsEdit()) {
            const QToolButton* button = xLev[static_cast<std::size_t>(key - Qt::Key_1)];
            // A message on the bottom row may hide the buttons for a while; the
            // keys still choose the levels the buttons stand for.
            if (button->isEnabled() && !button->isHidden())
                LevelButtonCommand(static_cast<std::uint8_t>(key - Qt::Key_0));
        }
        return;
    }
    if (key == Qt::Key_Pause || key == Qt::Key_Delete) {
        showMinimized();
        return;
    }
    if (key == Qt::Key_F1) {
        ShowHelpTopic(RunFolders.HelpFolder, "Welcome");
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
    case Qt::Key_H:
        if (playing) Searches.Hint();
        break;
    default:
        break;
    }
}

void TMain::MapMouseDown(QMouseEvent& event) {
    if (event.button() != Qt::LeftButton || !GameObject) return;
    TWinGame& game = Game();
    if (game.IsEdit()) {
        Editor.Press(event.position().toPoint());
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

void TMain::ClockTick() {
    if (Game().IsEdit()) {
        xTim.stop();
        return;
    }
    Game().Tick();
}

} // namespace tb
