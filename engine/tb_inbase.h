#pragma once
// The user interface as the game sees it: an abstract set of callbacks that the
// play window's game calls from its overrides of the engine's hooks, and that
// the main window's adapter implements. The engine classes themselves never
// hold one, so they run without any window. Every call runs to its end before
// the game goes on. The operations are listed in the order of their slots.

#include "engine/tb_types.h"

#include <cstdint>
#include <string>

namespace tb {

class TInBase {
public:
    virtual ~TInBase() = default;

    // PlayAllSolutions has finished: show how many solutions it replayed.
    // (The count is 16 bits wide: all the installed games can hold more than 255.)
    virtual void ShowReplayCount(std::uint16_t count) = 0;
    // Redraw one cell from the game's grid at once (after every SetCell).
    virtual void DrawCell(TPos pos) = 0;
    // User input on or off; while off the main window ignores commands.
    virtual void EnableMenus(bool on) = 0;
    // The last EnableMenus value.
    virtual bool MenusEnabled() = 0;
    // Animate the explosion at pos; returns when the animation has ended.
    virtual void AnimateExplosion(TPos pos) = 0;
    // The whole grid is drawn: the welcome titles no longer cover it.
    virtual void HideTitles() = 0;
    // Before the load-game dialog: the bottom line is emptied and shown.
    virtual void ShowBottomPanel() = 0;
    // Animate a box used up at pos; returns when the animation has ended.
    virtual void AnimateImplosion(TPos pos) = 0;
    // Levels 1..highest can be chosen.
    virtual void EnableLevelButtons(std::uint8_t highest) = 0;
    // A level was selected in edit mode: the edit commands follow the level count and level.
    virtual void UpdateEditMenu() = 0;
    // The number of levels changed: one button per level.
    virtual void LayoutLevelButtons(std::uint8_t count) = 0;
    // A level is about to be laid out for play.
    virtual void NewLevelStarting() = 0;
    // The game's read-only flag was switched, or a game was opened.
    virtual void ShowReadOnly(bool on) = 0;
    // The whole grid must be drawn again.
    virtual void RepaintMap() = 0;
    virtual void ShowCaption(const std::string& text) = 0;
    // The state changed (or the change was forced); for Ready the grid is drawn again.
    virtual void StateChanged(TState state) = 0;
    // The open-all-levels switch was toggled.
    virtual void ShowAccessAll(bool on) = 0;
    // The game's modified flag changed (may be ignored).
    virtual void ShowModified(bool on) = 0;
    // The Xtra menu is shown exactly when on.
    virtual void ShowXtraMenu(bool on) = 0;
    // The level clock, "00:00".
    virtual void ShowClock(const std::string& text) = 0;
    // The hero died in a level not yet ended.
    virtual void HeroKilled() = 0;
    // Edit mode was entered (true) or left: the editor is shown exactly when edit is true.
    virtual void EditModeChanged(bool edit) = 0;
    // The current level's button is marked.
    virtual void SelectLevelButton(std::uint8_t level) = 0;
    virtual void ShowLevelName(const std::string& text) = 0;
    // Restore snapshot is offered exactly when on.
    virtual void ShowRestoreSnapshot(bool on) = 0;
    // Step back is offered exactly when on.
    virtual void ShowStepBack(bool on) = 0;
    // The number of recorded moves, in decimal.
    virtual void ShowSteps(const std::string& text) = 0;
    // The level is solved ("Well Done !!!").
    virtual void LevelSolved() = 0;
    // Returns when the message of LevelSolved has been shown for its time.
    virtual void WaitMessage() = 0;
};

} // namespace tb
