#include "records/tb_gamedb.h"

#include "engine/tb_gamemap.h"

#include "games/tb_mapset.h"
#include "games/tb_version.h"
#include "records/tb_recfile.h"

#include "services/d_checked.h"
#include "services/d_file.h"
#include "services/d_folders.h"
#include "services/d_string.h"

#include <algorithm>
#include <new>
#include <optional>
#include <stdexcept>
#include <system_error>

namespace tb {
namespace fs = std::filesystem;

namespace {

void Report(const TProgress& progress, const std::string& text) {
    if (progress) progress(text);
}

} // namespace

TGameDB::TGameDB(TFolders folders, NoLoad) : Folders(std::move(folders)) {}

TGameDB::TGameDB(TFolders folders, const TProgress& progress, bool readOnly)
    : Folders(std::move(folders)), ReadOnly(readOnly) {
    Report(progress, "Building game DB...");
    BuildGameList();

    Report(progress, "Loading solutions...");
    std::error_code ec;
    const bool firstStart = !fs::exists(SolutionsPath(), ec) && !ec;
    bool changed = LoadSolutions(SolutionsPath(), false);
    // A file that was not read whole, or whose lines were not all taken (a
    // game that is gone, a solution that does not win), is kept as it was
    // before its first rewrite.
    SolutionsNeedBackup = LoadDamaged || LoadDropped;

    // A player's first start with a data folder that is not his: the shipped
    // solutions are merged from there (and stay, for the next player).
    if (firstStart) {
        for (const fs::path& file : ShippedSolutionFiles(Folders))
            if (LoadSolutions(file, true)) changed = true;
    }

    const std::vector<fs::path> imports = ListFiles(Folders.SettingsFolder, ".sox");
    if (!imports.empty()) {
        Report(progress, "Updating solutions...");
        for (const fs::path& file : imports)
            if (LoadSolutions(file, true)) changed = true;
    }
    if (ReadOnly) return; // merged in memory only: the imports stay
    if (changed) SaveSolutions();
    // The imports go once their solutions are safely in "tobbin.sol", whether
    // or not any of them was accepted; a failed rewrite throws before this and
    // leaves them for the next start.
    for (const fs::path& file : imports) {
        std::error_code ignored;
        fs::remove(file, ignored);
    }
}

TGameDB::~TGameDB() = default;

fs::path TGameDB::SolutionsPath() const {
    return Folders.SettingsFolder / "tobbin.sol";
}

// ---------------------------------------------------------------------------
// The game list

TGamInfo& TGameDB::GameAt(int index) {
    CheckedIndex(index, 1, GameCount(), "game index");
    return *Games[static_cast<std::size_t>(index - 1)];
}

const TGamInfo& TGameDB::GameAt(int index) const {
    CheckedIndex(index, 1, GameCount(), "game index");
    return *Games[static_cast<std::size_t>(index - 1)];
}

TGamInfo* TGameDB::FindGame(const std::string& name) {
    const auto it = ByName.find(name);
    return it == ByName.end() ? nullptr : Games[it->second].get();
}

const TGamInfo* TGameDB::FindGame(const std::string& name) const {
    const auto it = ByName.find(name);
    return it == ByName.end() ? nullptr : Games[it->second].get();
}

int TGameDB::IndexOfGame(const std::string& name) const {
    const auto it = ByName.find(name);
    return it == ByName.end() ? 0 : static_cast<int>(it->second) + 1;
}

int TGameDB::TotalLevels() const {
    int total = 0;
    for (const auto& game : Games)
        total += game->GetLevelCount();
    return total;
}

const TLevSol* TGameDB::GetSolution(const std::string& name, int level) const {
    const TGamInfo* game = FindGame(name);
    return game ? game->GetSolution(level) : nullptr;
}

void TGameDB::AddGame(const TGamInfo& record) {
    TGamInfo* game = FindGame(record.Name);
    if (!game) {
        Games.push_back(std::make_unique<TGamInfo>());
        game = Games.back().get();
        ByName.emplace(record.Name, Games.size() - 1);
    }
    game->Assign(record);
    // A game that brings its maps (the editor's) brings only solutions that
    // still win its levels: no false best solution comes in this way either.
    if (const auto* maps = dynamic_cast<const TMapSet*>(&record)) {
        for (int level = 1; level <= TGamBase::MaxLevels; ++level) {
            const TLevSol* solution = game->GetSolution(level);
            const TMap* map = level <= maps->GetLevelCount() ? maps->GetMap(level) : nullptr;
            if (solution && !(map && tb::SolvesLevel(*map, *solution))) game->DeleteSolution(level);
        }
    }
}

bool TGameDB::RemoveGame(const std::string& name) {
    const int index = IndexOfGame(name);
    if (index == 0) return false;
    Games.erase(Games.begin() + (index - 1));
    Reindex();
    return true;
}

bool TGameDB::RenameGame(const std::string& oldName, const std::string& newName) {
    TGamInfo* game = FindGame(oldName);
    if (!game || oldName == newName) return false;
    game->Name = newName;
    Reindex();
    return true;
}

void TGameDB::SetMark(std::uint8_t mark, const std::string& name, int level) {
    if (name.empty()) {
        for (auto& game : Games)
            game->SetMark(mark);
        return;
    }
    TGamInfo* game = FindGame(name);
    if (game && (level == 0 || level == game->GetLevelCount())) game->SetMark(mark);
}

void TGameDB::SortGames() {
    std::stable_sort(Games.begin(), Games.end(),
                     [](const std::unique_ptr<TGamInfo>& a, const std::unique_ptr<TGamInfo>& b) {
                         return TGamInfo::CompareByName(*a, *b) < 0;
                     });
    Reindex();
}

void TGameDB::Reindex() {
    ByName.clear();
    for (std::size_t i = 0; i < Games.size(); ++i)
        ByName.emplace(Games[i]->Name, i);
}

void TGameDB::BuildGameList() {
    for (const fs::path& file : ListGameFiles(Folders)) {
        TGamInfo header;
        bool renamed = false;
        try {
            TTextReader reader = TTextReader::FromFile(file);
            bool newFormat = false;
            std::uint16_t stored = 0;
            renamed = header.ReadHeader(reader, newFormat, stored, Folders.Renamed);
        } catch (const std::bad_alloc&) {
            throw;
        } catch (const std::exception&) {
            // A file whose header cannot be read is no game; it stays on disk
            // untouched, and the other games start up as usual.
            continue;
        }
        if (header.GetLevelCount() == 0) continue;
        if (renamed) {
            // Read-only, the file stays under its old name; the game is known
            // by its new one, unless that is taken (then the existing game stays).
            if (ReadOnly ? NewNameTaken(file, header.Name) : !MoveRenamedGame(file, header.Name))
                continue;
        }
        AddGame(header);
    }
    SortGames();
}

bool TGameDB::NewNameTaken(const fs::path& file, const std::string& newName) {
    const fs::path target = TMapSet::FilePath(Folders, newName);
    std::error_code ec;
    if (fs::equivalent(file, target, ec) && !ec) return false;
    ec.clear();
    return fs::exists(target, ec) || ec;
}

bool TGameDB::MoveRenamedGame(const fs::path& file, const std::string& newName) {
    // A shipped game the player cannot change is not moved: it is left out.
    if (file.parent_path() != Folders.OwnGamesFolder) return false;
    const fs::path target = Folders.OwnGamesFolder / GameFileName(newName, ".tbg");
    std::error_code ec;
    // A new name that differs only in letter case keeps its file name.
    const bool sameFile = fs::equivalent(file, target, ec) && !ec;
    if (!sameFile) {
        ec.clear();
        bool moved = false;
        if (!fs::exists(target, ec) && !ec) {
            fs::rename(file, target, ec);
            moved = !ec;
        }
        if (!moved) {
            // The new name is taken (or the file cannot be moved): the game
            // under its new name, if any, is the one that stays.
            std::error_code ignored;
            fs::remove(file, ignored);
            return false;
        }
    }
    // The header inside the file gets the new name and a fresh checksum.
    try {
        TMapSet game;
        game.Load(Folders, newName, false);
        game.Save(Folders);
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception&) {
        return false; // moved, but unreadable as a game: not installed
    }
    return true;
}

// ---------------------------------------------------------------------------
// Solutions

bool TGameDB::DeleteSolution(const std::string& name, int level) {
    TGamInfo* game = FindGame(name);
    if (!game) return false;
    SetMark(0, name, level);
    const bool deleted = game->DeleteSolution(level);
    if (deleted) SaveSolutions();
    return deleted;
}

std::optional<bool> TGameDB::SolvesLevel(const std::string& name, int level,
                                         const TLevSol& solution) {
    if (!CheckedGame || CheckedGame->Name != name) {
        CheckedGame.reset();
        auto game = std::make_unique<TMapSet>();
        try {
            game->Load(Folders, name, false);
        } catch (const std::bad_alloc&) {
            throw;
        } catch (const std::exception&) {
            return std::nullopt;
        }
        CheckedGame = std::move(game);
    }
    std::optional<bool> wins;
    if (level >= 1 && level <= CheckedGame->GetLevelCount())
        if (const TMap* map = CheckedGame->GetMap(level)) wins = tb::SolvesLevel(*map, solution);
    if (!KeepCheckedGame) CheckedGame.reset();
    return wins;
}

bool TGameDB::AddSolution(const TLevSol& solution, const std::string& name, bool winsTies,
                          bool fresh, int level) {
    RecordBroken = false;
    PreviousSteps = 0;
    PreviousHolder.clear();
    OfferUnchecked = false;
    OfferLosing = false;
    TGamInfo* game = FindGame(name);
    if (!game) return false;
    const TLevSol* best = game->GetSolution(level);  // level 1..9, else std::out_of_range
    if (level > game->GetLevelCount()) return false; // no such level: nothing to store
    const int steps = solution.GetSteps();
    // Only a solution that replays to a win of its level may become its best.
    auto wins = [&] {
        const std::optional<bool> check = SolvesLevel(name, level, solution);
        OfferUnchecked = !check;
        OfferLosing = check == false;
        return check == true;
    };
    if (!best) {
        if (steps >= TLevSol::NoMovesSteps) return false;
        if (!wins()) return false;
        game->SetSolution(solution, level, fresh);
        return true;
    }
    const int bestSteps = best->GetSteps();
    if (steps == bestSteps + TLevSol::NoMovesSteps && solution.GetPlayer() == best->GetPlayer()) {
        game->DeleteSolution(level); // the player withdraws his solution
        return true;
    }
    if (steps >= TLevSol::NoMovesSteps) return false;
    const int tie = winsTies && solution.GetPlayer() != best->GetPlayer() ? 1 : 0;
    if (steps >= bestSteps + tie) return false;
    if (!wins()) return false;
    PreviousSteps = best->GetSteps();
    PreviousHolder = best->GetPlayer();
    RecordBroken = true;
    game->SetSolution(solution, level, fresh);
    return true;
}

bool TGameDB::KeepLineOfPresentGame(const std::string& name, const std::string& line) {
    std::error_code ec;
    if (name.empty() || !fs::exists(TMapSet::FilePath(Folders, name), ec)) return false;
    if (std::find(Kept.begin(), Kept.end(), line) == Kept.end()) Kept.push_back(line);
    return true;
}

bool TGameDB::LoadSolutions(const fs::path& path, bool fresh) {
    LoadDamaged = false;
    LoadDropped = false;
    // Solution lines come game by game: each game file is read once to check them.
    KeepCheckedGame = true;
    struct TDropCache {
        TGameDB& Db;
        ~TDropCache() {
            Db.KeepCheckedGame = false;
            Db.CheckedGame.reset();
        }
    } dropCache{*this};
    std::optional<std::string> text = ReadRecordFile(path, LoadDamaged);
    if (!text) return false;
    TTextReader file(std::move(*text));
    bool verify = true;
    bool winsTies = false;
    try {
        const TVersionLine version = ReadVersionLine(file);
        verify = version.Version > LastUncheckedVersion;
        winsTies = version.Installation == TieWinningInstallation;
    } catch (const std::invalid_argument&) {
        // A damaged version line: the lines are read as checked ones.
        LoadDamaged = true;
        file.Rewind();
        std::string skipped;
        file.ReadLine(skipped);
    }
    bool changed = false;
    std::string line;
    while (file.ReadLine(line)) {
        if (Trim(line).empty()) continue;
        TLevSol solution(0);
        std::string game;
        bool renamed = false;
        int level = 0;
        int skill = 0;
        try {
            if (!solution.ParseLine(line, game, renamed, verify, level, skill, Folders.Renamed)) {
                LoadDropped = true; // its checksum does not match
                continue;
            }
            if (AddSolution(solution, game, winsTies, fresh, level)) {
                if (fresh) changed = true;
            } else if (!FindGame(game) || OfferUnchecked) {
                // The game file is there but cannot be read: the line is kept
                // as it is (and must reach "tobbin.sol" when it came in an import).
                const std::size_t before = Kept.size();
                if (!KeepLineOfPresentGame(game, line)) {
                    LoadDropped = true;
                } else {
                    if (fresh && Kept.size() > before) changed = true;
                    Aside.push_back({game, level, solution.GetSteps(), true});
                }
            } else if (OfferLosing) {
                LoadDropped = true;
                Aside.push_back({game, level, solution.GetSteps(), false});
            }
        } catch (const std::bad_alloc&) {
            throw;
        } catch (const std::exception&) {
            // An index error on the line (a level outside 1..9, too many moves):
            // the line is skipped, the others still count.
            LoadDamaged = true;
            continue;
        }
        if (renamed && !fresh) changed = true;
    }
    return changed;
}

void TGameDB::SaveSolutions() {
    SortGames();
    if (ReadOnly) return;
    TTextWriter file;
    file.WriteLine(VersionLine());
    for (const auto& game : Games)
        game->WriteSolutions(file);
    for (const std::string& line : Kept)
        file.WriteLine(line);
    const fs::path path = SolutionsPath();
    if (SolutionsNeedBackup) {
        KeepBackup(path);
        SolutionsNeedBackup = false;
    }
    WriteFileAtomic(path, file.Content());
}

int TGameDB::ExportGame(const std::string& name) {
    const TGamInfo* game = FindGame(name);
    if (!game) return 0;
    TTextWriter file;
    file.WriteLine(VersionLine());
    const int count = game->WriteSolutions(file);
    WriteFileAtomic(Folders.SettingsFolder / GameFileName(name, ".sol"), file.Content());
    return count;
}

int TGameDB::ExportPlayer(const std::string& player) {
    TTextWriter file;
    file.WriteLine(VersionLine());
    int count = 0;
    for (const auto& game : Games) {
        for (int level = 1; level <= TGamBase::MaxLevels; ++level) {
            const TLevSol* best = game->GetSolution(level);
            if (!best || best->GetPlayer() != player) continue;
            best->WriteLine(file, game->Name, level, game->Skill);
            ++count;
        }
    }
    WriteFileAtomic(Folders.SettingsFolder / GameFileName(player, ".sol"), file.Content());
    return count;
}

} // namespace tb
