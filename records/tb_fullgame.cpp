#include "records/tb_fullgame.h"

#include "services/d_checked.h"
#include "services/d_error.h"
#include "services/d_folders.h"
#include "services/d_messages.h"

#include <system_error>

namespace tb {
namespace fs = std::filesystem;

namespace {

// Sets a flag for the lifetime of the object and clears it again on every way out.
class TFlagGuard {
public:
    explicit TFlagGuard(bool& flag) : Flag(flag) { Flag = true; }
    ~TFlagGuard() { Flag = false; }
    TFlagGuard(const TFlagGuard&) = delete;
    TFlagGuard& operator=(const TFlagGuard&) = delete;

private:
    bool& Flag;
};

} // namespace

TFullGame::TFullGame(TFolders folders, const TProgress& progress, bool frugal, bool readOnlyRecords)
    : TGame(std::move(folders), frugal),
      Records(std::make_unique<TAllGames>(Folders, progress, readOnlyRecords)) {}

TFullGame::~TFullGame() = default;

void TFullGame::SetSolvedCount(std::uint8_t count) {
    SolvedCount = count;
}

bool TFullGame::SetPlayer(const std::string& name) {
    const bool changed = TGame::SetPlayer(name);
    if (changed) {
        Records->SetPlayerMarks(Player);
        SetSolvedCount(Records->MaxLevelReached(GameName(), Player));
    }
    return changed;
}

bool TFullGame::SetState(TState state, bool force) {
    const bool changed = TGame::SetState(state, force);
    if (state == TState::Ready && !InPlayBack) ShowingSolution = HintShown = false;
    return changed;
}

void TFullGame::Win() {
    TGame::Win();
    if (IsAided()) return; // won by a stored solution or after a hint: neither logged nor recorded
    if (Level > SolvedCount) SetSolvedCount(Level);
    Records->AddLog(*this);
    if (Records->AddSolution(*Solution, GameName(), Level)) StoreSolution();
}

void TFullGame::OpenGame(const std::string& name, std::uint8_t level, bool verify) {
    LoadGame(name, verify);
    SetSolvedCount(Records->MaxLevelReached(GameName(), Player));
    SetLevel(level);
    if (const TGamInfo* record = Records->FindGame(GameName())) AssignInfo(*record);
    OldGameName.clear();
}

void TFullGame::NewGame(const std::string& name, std::uint8_t skill, const std::string& author) {
    TGame::NewGame(name, skill, author);
    SetSolvedCount(0);
}

void TFullGame::SetGameInfo(const std::string& name, std::uint8_t skill,
                            const std::string& author) {
    OldGameName = GameName();
    TGame::SetGameInfo(name, skill, author);
}

void TFullGame::SaveEditedGame() {
    const std::string name = GameName();
    // The file under the new name is written before the old one goes, so a
    // failed save never leaves the game without a file.
    SaveGame();
    if (Records->RenameGame(OldGameName, name)) {
        // Only the player's own file goes; a shipped game stays where it is.
        const fs::path oldFile = Folders.OwnGamesFolder / GameFileName(OldGameName, ".tbg");
        if (oldFile != Folders.OwnGamesFolder / GameFileName(name, ".tbg")) {
            std::error_code ec;
            fs::remove(oldFile, ec);
        }
    }
    for (std::uint8_t level = 1; level <= TGamBase::MaxLevels; ++level)
        if (ChangedLevels & (1u << level)) Records->DeleteLogs(name, level);
    Records->AddGame(*Game);
    Records->SaveSolutions();
    OldGameName.clear();
}

void TFullGame::CheckDeletable() const {
    if (IsShippedOnlyGame(Folders, GameFileName(GameName(), ".tbg")))
        throw Error(ErrorMessage(ErrShippedGame));
}

void TFullGame::DeleteGame() {
    CheckDeletable();
    const std::string name = GameName();
    std::error_code ec;
    fs::remove(TMapSet::FilePath(Folders, name), ec);
    Records->DeleteGame(name);
    SetState(TState::None, true);
}

bool TFullGame::KillLevelSolution(std::uint8_t level) {
    if (!TGame::KillLevelSolution(level)) return false;
    Records->DeleteSolution(GameName(), level);
    return true;
}

bool TFullGame::PlayBackSolution(bool fromStore) {
    TFlagGuard playBack(InPlayBack);
    if (fromStore) ShowingSolution = true;
    bool ok = false;
    try {
        ok = PlayBack(fromStore);
    } catch (...) {
        ShowingSolution = false;
        throw;
    }
    if (!ok) ShowingSolution = false;
    return ok;
}

std::uint16_t TFullGame::PlayAllSolutions(bool freshOnly) {
    TFlagGuard autoPlay(AutoPlay);
    ReplaysCompleted = false;
    std::uint16_t count = 0;
    for (int i = 1; i <= Records->GameCount(); ++i) {
        TGamInfo& record = Records->GameAt(i);
        const std::uint16_t levels = record.SolvedSet(freshOnly);
        if (record.CountSolved(freshOnly) == 0) continue;
        LoadGame(record.Name, false);
        AssignInfo(record);
        for (std::uint8_t level = 1; level <= LevelCount(); ++level) {
            if (!(levels & (1u << level))) continue;
            SetLevel(level);
            if (!PlayBackSolution(true)) continue;
            if (State != TState::Done || FoodCount > 0) return count; // it does not solve its level
            count = CheckedAdd<std::uint16_t>(count, 1);
            record.SetFresh(level, false);
        }
    }
    ReplaysCompleted = true;
    return count;
}

const TLevSol* TFullGame::BestSolution() const {
    if (Level == 0) return nullptr;
    return Records->GetSolution(GameName(), Level);
}

} // namespace tb
