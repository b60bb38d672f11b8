#pragma once
// The game of the running program: the full game bound to one window. Each
// engine event it overrides is drawn at once, paced to the chosen speed and
// sounded; the clock, the step counter, the caption and the level buttons
// follow the game. It shows everything through the interface (TInBase) and
// asks its questions through the shell (TWinShell), so it needs no window
// library itself and runs under test with stand-ins for both.

#include "engine/tb_inbase.h"
#include "records/tb_fullgame.h"
#include "services/d_sound.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tb {

class TShortestBook;

// What the game needs from the window beyond the interface: the message pump,
// the message box and the dialogs.
class TWinShell {
public:
    virtual ~TWinShell() = default;
    // Makes the cells drawn so far visible and lets the window react
    // (timer ticks, paints, keys, clicks) in the middle of a move.
    virtual void ProcessMessages() = 0;
    // The message box: the template filled with `args`, one of the button
    // sets of tb_answers.h; answers 1 Yes or OK, 2 No, 3 Cancel.
    virtual std::uint8_t Ask(const std::string& message, const std::vector<std::string>& args,
                             std::uint8_t buttons) = 0;
    // The load-game dialog: answers the chosen game's name, or an empty text
    // when cancelled. `editable` goes in as the dialog's edit permission and
    // comes back as the player left it.
    virtual std::string ChooseGame(bool& editable) = 0;
    // The congratulations box, modally.
    virtual void ShowCongratulations() = 0;
    // The player dialog over the names of the player log; answers the chosen
    // name (with its installation suffix), or an empty text when cancelled.
    virtual std::string ChoosePlayer(const std::vector<std::string>& names,
                                     const std::string& current) = 0;
    // A player was removed: his name leaves the player dialog's list.
    virtual void ForgetPlayer(const std::string& name) = 0;
    // The game-name dialog: true when confirmed (the values are updated and
    // `changed` tells whether any differs); false when cancelled.
    virtual bool AskGameName(std::string& name, std::uint8_t& skill, std::string& author,
                             bool& changed) = 0;
    // The level-name dialog, the same way.
    virtual bool AskLevelName(std::string& name, bool& changed) = 0;
    // A message in the error box (the dialog that caused it opens again).
    virtual void ShowError(const std::string& message) = 0;
    // Ends the program (no player is left to play).
    virtual void Terminate() = 0;
};

// The pacing state of the program (one set, shared by every game object):
// when the last hero step and the last sound were made, and how a cascade of
// falling objects is batched between refreshes.
struct TPacing {
    std::uint32_t StepDelay = 0;     // ms, the step delay of the current speed
    std::uint32_t SoundGap = 0;      // ms, least time from one sound to the next
    std::uint32_t LastStepTime = 0;  // ms, when the last paced step began
    std::uint32_t LastSoundTime = 0; // ms, the last sound plus any extra hold
    std::uint16_t MovesSinceRefresh = 0;
    std::uint16_t RefreshBatch = 1;
    bool LastMoveOk = true;       // the previous move command moved the hero
    bool StepBackShown = false;   // what the Step back item shows
    bool ForceStateNotice = true; // the next state reaches the window even unchanged
    std::string ClockText = "00:00";
};
TPacing& Pacing();

// Milliseconds of the program's clock; waits are measured on it.
std::uint32_t MilliTime();

// The clock text of `seconds` since the level started: "mm:ss", wrapping every hour.
std::string ClockTextOf(std::uint16_t seconds);

class TWinGame : public TFullGame {
public:
    // The full game reads the records (telling `progress` each phase); then the
    // game is active, at Normal speed, and not busy.
    // The game of the run whose folders are `folders`.
    TWinGame(TInBase& ui, TWinShell& shell, const TFolders& folders, const TProgress& progress = {},
             bool frugal = false);
    ~TWinGame() override;

    // ---- Set by the shell ----
    void SetSpeed(std::uint8_t speed) { Speed = speed; }
    void SetActive(bool flag) { Active = flag; }
    // The step delay and sound gap of the current speed, from the settings.
    void SetTiming();
    // The game that was open at the last exit: the first load starts there.
    void RememberStart(const std::string& game, int level);
    // That game until the first game is loaded; empty afterwards.
    const std::string& RememberedGameName() const { return RememberedGame; }

    // ---- Window work ----
    void PlaySound(TEffect effect);
    void DrawAll();
    void UpdateCaption();
    void UpdateLevelButtons();
    void ShowCongratulations() { Shell.ShowCongratulations(); }
    // The move command of keys and mouse: a refused move sounds once, and
    // again only after a move succeeded or a step was taken back.
    bool Move(TDir dir, int count);
    // The hero may be moved now: a level is ready or in play, outside the
    // editor, with no move running and no command holding the menus.
    bool AcceptsMoves();
    // A click on `cell` of the field: the hero runs along his row or column
    // to it. A cell off his row and column, his own cell, or a moment that
    // accepts no moves does nothing (false).
    bool ClickCell(TPos cell);
    // Animated: the window is showing and the speed is below Booster.
    bool IsAnimated() const { return Active && Speed < 4; }

    // ---- Commands ----
    void LoadGame();
    void OpenGameAt(const std::string& name, std::uint8_t level);
    // show false: the player's own moves again; true: the stored solution.
    bool PlayBack(bool show);
    void GameInfo();
    void LevelInfo();
    void ToggleXtra();
    void ToggleAllLevels();
    std::uint16_t PlayAllSolutions(bool newOnly);
    void AcceptSolution();
    // The Give up command: the hero dies, and the level starts again.
    void GiveUp();
    // The Kill level solution command, after its question.
    void KillSolution();
    void ExportGameSolution();
    void ExportBestSolutions();
    // Asks for the player; false when the dialog was cancelled.
    bool NewPlayer();
    void DeletePlayer();

    // ---- Games and the editor ----
    void NewGame();
    // Stores the level being edited and writes the game; false (after saying
    // so) when a level cannot be played.
    bool SaveGame();
    void DeleteGame();
    // Leaves the editor, offering to save a changed game; the editor stays
    // when the player cancels (IsEdit tells).
    void PlayMode();
    void EditMode();
    // A level appended and opened; an empty name asks for one. False when cancelled.
    bool AddLevel(const std::string& name);
    void DeleteLevel();
    void ClearLevel();
    void CopyPreviousLevel();
    void MoveLevelUp();
    void MoveLevelDown();
    void MoveMap(TDir direction);
    void RenameGame();
    void RenameLevel();
    void ToggleReadOnly();
    // The editor's painting: every cell of the rectangle between two cells
    // (corners in any order, clamped to the field) takes `code`, row by row.
    void PaintRectangle(int x1, int y1, int x2, int y2, std::uint8_t code);

    // ---- Engine events made visible ----
    bool SetName(const std::string& name) override;
    void SetCell(TPos pos, std::uint8_t code) override;
    void Explode(TPos a, TPos b) override;
    bool LandOnBox(TPos pos, TPos box) override;
    void Fall(TPos pos, TDir dir) override;
    bool MoveHeroTo(TPos pos) override;
    void MoveObject(TPos from, TPos to) override;
    bool EatFood(TPos pos) override;
    bool Roll(TPos& pos, TDir& dir) override;
    void Thud() override;
    bool HeroMove(TDir dir) override;
    void Die() override;
    bool SetState(TState state, bool force) override;
    void StepsChanged() override;
    void SetTime(std::uint16_t seconds) override;
    void Win() override;
    void LevelCountChanged() override;
    bool SetModified(bool on) override;
    void StepBack() override;
    void RestoreSnapshot() override;
    bool SetLevel(std::uint8_t level) override;
    void HistoryChanged() override;
    void SnapshotsChanged() override;
    void TakeSnapshot() override;
    void SetSolvedCount(std::uint8_t count) override;

    // What searches proved of levels: their fewest steps, or that they cannot
    // be won ("tobbin.len" in the settings folder, read on first use).
    TShortestBook& Shortest();
    // Positions the search at a save may store per changed level.
    static constexpr std::uint64_t SaveSearchStates = 5'000;

    bool IsEditable() const { return Editable; }
    void SetEditable(bool on) { Editable = on; }
    bool HasAllLevels() const { return AllLevels; }
    std::uint8_t GetSpeed() const { return Speed; }
    bool IsActive() const { return Active; }

private:
    // After the player chose a game: offers the moves saved in progress.
    void ContinueSaved();
    // The level-solved sequence of Win, after the records took the solution.
    void AfterLevelSolved();
    // SaveGame without its message.
    bool SaveQuietly();
    // Asks before a game is saved with levels a search proved cannot be won
    // (known from Solve level, or found by a short search of a changed level);
    // false when the player would rather not save.
    bool ConfirmWinnable();
    // A name the new game cannot take: one in the records or one whose file exists.
    bool GameNameTaken(const std::string& name) const;

    TInBase& Ui;
    TWinShell& Shell;
    bool Editable = false;  // the loaded game may be edited
    bool AllLevels = false; // every level may be chosen
    std::uint8_t Speed = 2; // 1 Slow, 2 Normal, 3 Fast, 4 Booster
    bool Active = true;     // the window is showing (not in the tray)
    std::string RememberedGame;
    int RememberedLevel = 0;
    std::unique_ptr<TShortestBook> Book;
};

} // namespace tb
