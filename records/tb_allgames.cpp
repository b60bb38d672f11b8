#include "records/tb_allgames.h"

#include "services/d_string.h"

#include <unordered_set>

namespace tb {

namespace {

void Report(const TProgress& progress, const std::string& text) {
    if (progress) progress(text);
}

} // namespace

TAllGames::TAllGames(TFolders folders, const TProgress& progress, bool readOnly)
    : TGameDB(std::move(folders), progress, readOnly), Champions(std::make_unique<TChampDB>()),
      Authors(std::make_unique<TAuthorDB>()) {
    Report(progress, "Populating Log DB");
    Log = std::make_unique<TLogDB>(Folders, readOnly);
    Report(progress, "Cleaning up Log DB");
    CleanUpLog();
    Report(progress, "Populating Hall of Champions");
    ComputeChampions();
    Report(progress, "Initialization done.");
}

TAllGames::~TAllGames() = default;

void TAllGames::CleanUpLog() {
    bool changed = false;
    const std::size_t dropped = Log->DeleteWhere([&](TLog& e) {
        const TGamInfo* game = FindGame(e.Game);
        if (!game) return false;
        if (e.Level > game->GetLevelCount()) return true;
        const TLevSol* best = game->GetSolution(e.Level);
        if (!best || e.Steps >= best->GetSteps()) return false;
        // The entry claims fewer steps than the best known solution.
        if (e.Player != best->GetPlayer()) return true;
        e.Steps = best->GetSteps();
        changed = true;
        return false;
    });
    if (dropped > 0 || changed) Log->Save();
}

void TAllGames::AddLog(const TGame& game) {
    Log->AddResult(game);
}

bool TAllGames::AddSolution(const TLevSol& solution, const std::string& name, int level) {
    if (!TGameDB::AddSolution(solution, name, false, false, level)) return false;
    SaveSolutions();
    ComputeChampions();
    return true;
}

void TAllGames::AddGame(const TGamInfo& record) {
    TGameDB::AddGame(record);
    ComputeChampions();
}

void TAllGames::DeleteGame(const std::string& name) {
    RemoveGame(name);
    Log->DeleteGame(name, 0);
    ComputeChampions();
}

bool TAllGames::DeleteSolution(const std::string& name, int level) {
    const bool deleted = TGameDB::DeleteSolution(name, level);
    ComputeChampions();
    Log->DeleteGame(name, static_cast<std::uint8_t>(level));
    return deleted;
}

void TAllGames::DeleteLogs(const std::string& name, std::uint8_t level) {
    Log->DeleteGame(name, level);
}

void TAllGames::DeletePlayer(const std::string& player) {
    Log->DeletePlayer(player);
    Log->Save();
}

bool TAllGames::RenameGame(const std::string& oldName, const std::string& newName) {
    const bool renamed = TGameDB::RenameGame(oldName, newName);
    Log->RenameGame(oldName, newName);
    return renamed;
}

std::uint16_t TAllGames::BestLog(const std::string& name, std::uint8_t level,
                                 std::string& player) const {
    return Log->Best(name, level, player);
}

std::uint16_t TAllGames::PlayerSteps(const std::string& name, std::uint8_t level,
                                     const std::string& player) const {
    return Log->PlayerSteps(name, level, player);
}

std::uint8_t TAllGames::MaxLevelReached(const std::string& name, const std::string& player) const {
    return Log->MaxLevelReached(name, player);
}

void TAllGames::SetPlayerMarks(const std::string& player) {
    SetMark(0, std::string(), 0);
    for (std::size_t i = 1; i <= Log->Count(); ++i) {
        const TLog& e = Log->EntryAt(i);
        if (e.Player == player) SetMark(1, e.Game, e.Level);
    }
}

void TAllGames::FillGameNames(std::uint8_t mark, std::uint8_t skill,
                              std::vector<std::string>& list) const {
    list.clear();
    for (int i = 1; i <= GameCount(); ++i) {
        const TGamInfo& game = GameAt(i);
        if ((skill == 5 || game.Skill == skill) && (mark == 2 || game.Mark == mark))
            list.push_back(game.Name);
    }
}

void TAllGames::FillPlayerNames(std::vector<std::string>& list) const {
    list.clear();
    std::unordered_set<std::string> seen;
    for (std::size_t i = 1; i <= Log->Count(); ++i) {
        const std::string& stored = Log->EntryAt(i).Player;
        std::string name = CutBeforeNumber(stored);
        if (seen.insert(UpperCase(name)).second) list.push_back(std::move(name));
    }
}

void TAllGames::ComputeChampions() {
    Champions->Clear();
    Authors->Clear();
    for (const auto& game : Games) {
        const std::uint16_t fresh = game->SolvedSet(true);
        for (int level = 1; level <= game->GetLevelCount(); ++level) {
            const TLevSol* best = level <= TGamBase::MaxLevels ? game->GetSolution(level) : nullptr;
            if (best)
                Champions->FindOrAdd(best->GetPlayer())
                    .AddLevel(game->Skill, (fresh & (1u << level)) != 0);
            else
                Champions->FindOrAdd(std::string()).AddLevel(game->Skill, false);
        }
        const std::string holder = game->AllSolvedBy();
        if (!holder.empty())
            Champions->FindOrAdd(holder).AddGame(game->GetLevelCount(), game->Skill);
        Authors->FindOrAdd(game->Author).AddGame(game->GetLevelCount());
    }
    Champions->Sort();
    Authors->Sort();
}

} // namespace tb
