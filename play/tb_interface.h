#pragma once
// The play window's side of the game's interface: each callback turns a game
// event into something on the main window (a cell drawn, a menu item shown,
// a label's text, a banner, an animation, a message box). It holds no game
// logic; it reads the game's state where it needs it. The routines several
// callbacks share live here too: the panel refresh, the frame animation and
// the hero blink.

#include "engine/tb_inbase.h"

#include <QImage>

#include <array>
#include <cstdint>
#include <string>

namespace tb {

class TMainView;
struct TFolders;
class TWinGame;

class TUi : public TInBase {
public:
    // Serves `main`, whose run's folders are `folders` (the title picture).
    TUi(TMainView& main, const TFolders& folders);

    // The game this adapter serves; set once the game object exists.
    void SetGame(TWinGame* game) { Game = game; }

    void ShowReplayCount(std::uint16_t count) override;
    void DrawCell(TPos pos) override;
    void EnableMenus(bool on) override;
    bool MenusEnabled() override { return MenusOn; }
    void AnimateExplosion(TPos pos) override;
    void HideTitles() override;
    void ShowBottomPanel() override;
    void AnimateImplosion(TPos pos) override;
    void EnableLevelButtons(std::uint8_t highest) override;
    void UpdateEditMenu() override;
    void LayoutLevelButtons(std::uint8_t count) override;
    void NewLevelStarting() override;
    void ShowReadOnly(bool on) override;
    void RepaintMap() override;
    void ShowCaption(const std::string& text) override;
    void StateChanged(TState state) override;
    void ShowAccessAll(bool on) override;
    void ShowModified(bool on) override;
    void ShowXtraMenu(bool on) override;
    void ShowClock(const std::string& text) override;
    void HeroKilled() override;
    void EditModeChanged(bool edit) override;
    void SelectLevelButton(std::uint8_t level) override;
    void ShowLevelName(const std::string& text) override;
    void ShowRestoreSnapshot(bool on) override;
    void ShowStepBack(bool on) override;
    void ShowSteps(const std::string& text) override;
    void LevelSolved() override;
    void WaitMessage() override;

    // Shows and hides the panels of the bottom row for the game's state.
    void RefreshPanels();
    // Four frames in one cell, each kept at least 31 ms, then the empty cell.
    void AnimateFrames(TPos pos, const std::array<QImage, 4>& frames);
    // Blinks the hero twice at the start of a level.
    void BlinkHero();

private:
    // The picture of a cell code at the current tile size (empty for codes
    // without a picture).
    const QImage& TileOf(std::uint8_t code) const;
    void DrawTile(TPos pos, const QImage& tile);
    // The Kill level solution item follows whether the level has a stored solution.
    void ShowKillSolution();

    TMainView& Main;
    const TFolders& RunFolders;
    TWinGame* Game = nullptr;
    bool MenusOn = false;
    int SelectedButton = 1;
    bool TitleShown = false;
};

} // namespace tb
