// The game of the play window, its second half: new games, saving and
// deleting them, and the level editor's commands.

#include "play/tb_wingame.h"

#include "records/tb_shortest.h"
#include "services/d_answers.h"
#include "services/d_folders.h"
#include "services/d_messages.h"
#include "services/d_settings.h"
#include "services/d_string.h"
#include "solver/tb_solver.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <exception>
#include <optional>
#include <thread>

namespace tb {

// ---- Games and the editor ----

bool TWinGame::GameNameTaken(const std::string& name) const {
    if (FindGame(name) != nullptr) return true;
    // Two names can make one file name ("My Game" and "my game"): the file
    // of another game is never overwritten.
    std::error_code ec;
    return std::filesystem::exists(TMapSet::FilePath(Folders, name), ec);
}

void TWinGame::NewGame() {
    std::string name;
    std::string author = Player;
    std::uint8_t skill = Level > 0 ? Skill() : 0;
    bool changed = false;
    for (;;) {
        if (!Shell.AskGameName(name, skill, author, changed)) return;
        if (!GameNameTaken(name)) break;
        Shell.ShowError(ErrorMessage(ErrGameNameUsed));
    }
    std::string first;
    if (!Shell.AskLevelName(first, changed)) return;
    TFullGame::NewGame(name, skill, author);
    AddLevel(first);
    Editable = true;
    EditMode();
    SetModified(true);
}

bool TWinGame::SaveQuietly() {
    StoreEditedLevel();
    if (HasBadLevels()) return false;
    SaveEditedGame();
    Records->Modified = true;
    return true;
}

bool TWinGame::ConfirmWinnable() {
    std::string names;
    for (std::uint8_t level = 1; level <= LevelCount(); ++level) {
        const TMap* map = Game->GetMap(level);
        if (map == nullptr || !map->IsPlayable()) continue;
        std::optional<TShortest> fact = Shortest().Find(*map);
        if (!fact && (ChangedLevels & (1u << level))) {
            // A short search, so saving stays quick: it settles small levels
            // and food walled off from the start.
            TSolveOptions options;
            options.MaxStates = SaveSearchStates;
            options.Threads = 1;
            try {
                const TSolveResult result = Solve(*map, options);
                if (result.Outcome != TSolveOutcome::GaveUp) {
                    fact = TShortest{result.Outcome == TSolveOutcome::Solved,
                                     static_cast<int>(result.Moves.size())};
                    Shortest().Record(*map, *fact);
                }
            } catch (const std::exception&) {
                // Not written down: the answer stands for this save.
            }
        }
        if (fact && !fact->Winnable) names += (names.empty() ? "" : "\", \"") + map->GetName();
    }
    return names.empty() ||
           Shell.Ask(MoreMessage(MsgSaveUnwinnable), {names}, AlertYesNo) == AnswerYes;
}

bool TWinGame::SaveGame() {
    StoreEditedLevel();
    if (!HasBadLevels() && !ConfirmWinnable()) return false;
    if (SaveQuietly()) return true;
    Shell.Ask(MoreMessage(MsgCannotSave), {}, AlertOK);
    return false;
}

void TWinGame::DeleteGame() {
    CheckDeletable(); // a shipped game is refused before the question
    if (Shell.Ask(MoreMessage(MsgDeleteGame), {GameName()}, AlertYesNo) != AnswerYes) return;
    TFullGame::DeleteGame();
    Records->Modified = true;
}

void TWinGame::PlayMode() {
    StoreEditedLevel();
    if (Modified) {
        const std::uint8_t answer =
            Shell.Ask(MoreMessage(MsgSaveBeforeLeaving), {}, AlertYesNoCancel);
        if (answer == AnswerCancel) return;
        if (answer == AnswerYes && !HasBadLevels() && !ConfirmWinnable()) return;
        if (answer == AnswerYes && !SaveQuietly() &&
            Shell.Ask(MoreMessage(MsgCannotSave) + "|" + MoreMessage(MsgExitEditor), {},
                      AlertYesNo) != AnswerYes)
            return;
    }
    LeaveEditMode();
    Ui.EditModeChanged(false);
    // The game as its file has it; a game never saved is gone.
    if (FindGame(GameName()) != nullptr) {
        OpenGameAt(GameName(), Level);
    } else {
        ClearLevel();
        SetState(TState::None, true);
    }
}

void TWinGame::EditMode() {
    EnterEditMode();
    Ui.EditModeChanged(true);
}

bool TWinGame::AddLevel(const std::string& name) {
    if (Level > 0) StoreEditedLevel();
    std::string levelName = name;
    bool changed = false;
    if (levelName.empty() && !Shell.AskLevelName(levelName, changed)) return false;
    TFullGame::AddLevel(levelName);
    Ui.LayoutLevelButtons(LevelCount());
    UpdateLevelButtons();
    SetLevel(LevelCount());
    return true;
}

void TWinGame::DeleteLevel() {
    TFullGame::DeleteLevel();
    Ui.LayoutLevelButtons(LevelCount());
    DrawAll();
}

void TWinGame::ClearLevel() {
    Clear();
    DrawAll();
}

void TWinGame::CopyPreviousLevel() {
    TFullGame::CopyPreviousLevel();
    DrawAll();
}

void TWinGame::MoveLevelUp() {
    StoreEditedLevel();
    MoveLevelTo(static_cast<std::uint8_t>(Level - 1));
}

void TWinGame::MoveLevelDown() {
    StoreEditedLevel();
    MoveLevelTo(static_cast<std::uint8_t>(Level + 1));
}

void TWinGame::MoveMap(TDir direction) {
    Shift(direction);
    DrawAll();
}

void TWinGame::RenameGame() {
    std::string name = GameName();
    std::uint8_t skill = Skill();
    const std::string original = GameAuthor();
    std::string author = original;
    bool changed = false;
    if (Shell.AskGameName(name, skill, author, changed)) {
        // The dialog shows the author without his installation number; an
        // author left as he was keeps it.
        if (author == CutBeforeNumber(original)) author = original;
        if (name != GameName() || skill != Skill() || author != original)
            SetGameInfo(name, skill, author);
    }
    Records->Modified = true;
    UpdateCaption();
}

void TWinGame::RenameLevel() {
    std::string name = LevelName();
    bool changed = false;
    if (Shell.AskLevelName(name, changed) && changed) SetLevelName(name);
}

void TWinGame::ToggleReadOnly() {
    SetGameFlag(ReadOnly, !HasFlag(ReadOnly));
    Ui.ShowReadOnly(HasFlag(ReadOnly));
}

void TWinGame::PaintRectangle(int x1, int y1, int x2, int y2, std::uint8_t code) {
    const int left = std::clamp(std::min(x1, x2), 1, 31);
    const int right = std::clamp(std::max(x1, x2), 1, 31);
    const int top = std::clamp(std::min(y1, y2), 1, 18);
    const int bottom = std::clamp(std::max(y1, y2), 1, 18);
    bool changed = false;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) {
            const TPos pos(x, y);
            changed = changed || GetCell(pos) != code;
            SetCell(pos, code);
        }
    if (changed) SetModified(true);
}

} // namespace tb
