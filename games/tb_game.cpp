// One game being played or edited: the level set, step back, snapshots, play
// back, the save file and the editor's operations.

#include "games/tb_game.h"

#include "services/d_error.h"
#include "services/d_file.h"
#include "services/d_folders.h"
#include "services/d_string.h"

#include <algorithm>
#include <ios>
#include <stdexcept>
#include <system_error>

namespace tb {
namespace fs = std::filesystem;

// ---------------------------------------------------------------------------
// TBackup_Set

TBackup_Set::TBackup_Set(int capacity) {
    if (capacity < 1) throw std::out_of_range("backup capacity");
    Capacity = static_cast<std::uint8_t>(std::min(capacity, 255));
    Slots.resize(Capacity + 1);
    for (int i = 1; i <= Capacity; ++i)
        Slots[i] = std::make_unique<TGameMap>();
    Dropped = std::make_unique<TGameMap>();
}

void TBackup_Set::Push(const TGameMap& game) {
    Top = static_cast<std::uint8_t>(Top % Capacity + 1);
    HasDropped = Count == Capacity;
    if (HasDropped)
        std::swap(Slots[Top], Dropped); // keep the oldest copy until the next push
    else
        ++Count;
    Slots[Top]->Assign(game, false);
}

void TBackup_Set::Pop(TGameMap& game) {
    if (Count == 0) throw Error("Restoring empty backup");
    game.Assign(*Slots[Top], true);
    HasDropped = false;
    --Count;
    --Top;
    if (Count == 0)
        Top = 0;
    else if (Top == 0)
        Top = Capacity;
}

void TBackup_Set::Withdraw(TGameMap& game) {
    const bool restore = HasDropped;
    const std::uint8_t pushed = Top;
    Pop(game);
    if (!restore) return;
    // The push overwrote the oldest copy of a full ring: put that copy back.
    std::swap(Slots[pushed], Dropped);
    ++Count;
    if (Top == 0) Top = static_cast<std::uint8_t>(pushed == 1 ? Capacity : pushed - 1);
}

void TBackup_Set::Clear() {
    Count = 0;
    Top = 0;
    HasDropped = false;
}

// ---------------------------------------------------------------------------
// TGame

TGame::TGame(TFolders folders, bool frugal)
    : Folders(std::move(folders)), Game(std::make_unique<TMapSet>()),
      History(std::make_unique<TBackup_Set>(frugal ? 40 : 200)),
      Snapshots(std::make_unique<TBackup_Set>(frugal ? 4 : 20)) {}

TGame::~TGame() = default;

namespace {

// The stored map of a level, or nullptr when the game has no such level.
template <typename TSet>
auto StoredMap(TSet& game, std::uint8_t level) -> decltype(game.GetMap(1)) {
    if (level == 0 || level > game.GetLevelCount()) return nullptr;
    return game.GetMap(level);
}

void CheckLevel(const TMapSet& game, std::uint8_t level) {
    if (level > game.GetLevelCount()) throw std::out_of_range("level number");
}

void CheckSkill(std::uint8_t skill) {
    if (skill > 4) throw std::out_of_range("skill rating");
}

} // namespace

bool TGame::SelectLevel(std::uint8_t level) {
    if (Edit) StoreEditedLevel();
    return SetLevel(level);
}

void TGame::LevelCountChanged() {}

bool TGame::SetModified(bool on) {
    const bool changed = Modified != on;
    Modified = on;
    return changed;
}

void TGame::StepBack() {
    History->Pop(*this);
    StepsChanged();
    SetState(TState::Play, false);
    HistoryChanged();
}

void TGame::RestoreSnapshot() {
    Snapshots->Pop(*this);
    StepsChanged();
    SetState(TState::Play, false);
    HistoryChanged();
    SnapshotsChanged();
}

bool TGame::SetLevel(std::uint8_t level) {
    CheckLevel(*Game, level);
    const bool changed = level != Level;
    Level = level;
    if (Edit) {
        if (const TMap* map = StoredMap(*Game, level)) TMap::Assign(*map);
        SetState(TState::None, true); // frozen in edit mode: changes nothing
    } else {
        SetState(TState::Ready, true); // the current level chosen again restarts it
    }
    return changed;
}

bool TGame::SetBusy(bool on) {
    const bool changed = Busy != on;
    Busy = on;
    return changed;
}

void TGame::HistoryChanged() {}

void TGame::SnapshotsChanged() {}

void TGame::TakeSnapshot() {
    Snapshots->Push(*this);
    SnapshotsChanged();
}

bool TGame::SetState(TState state, bool force) {
    if (Edit) return false; // the state is frozen while the level is edited
    if (!TGameMap::SetState(state, force)) return false;
    if (state == TState::Ready) {
        // Lay the level out afresh; without a level the grid is empty.
        if (const TMap* map = StoredMap(*Game, Level)) {
            TMap::Assign(*map);
        } else {
            TMap::Clear();
            SetName("");
        }
        History->Clear();
        Snapshots->Clear();
        HistoryChanged();
        SnapshotsChanged();
        SetBusy(false);
    } else if (state == TState::Done) {
        SetBusy(false);
    }
    return true;
}

bool TGame::Move(TDir dir, int count) {
    if (Busy) return false;
    SetBusy(true);
    bool moved = false;
    try {
        History->Push(*this);
        moved = DoMove(dir, count);
        // A refused move takes its copy back and leaves the history exactly as it
        // was, so bumping into a wall never costs an old step back.
        if (!moved) History->Withdraw(*this);
        HistoryChanged();
    } catch (...) {
        SetBusy(false);
        throw;
    }
    SetBusy(false);
    return moved;
}

bool TGame::PlayBack(bool fromStore) {
    if (fromStore) {
        const TLevSol* stored = Level == 0 ? nullptr : Game->GetSolution(Level);
        if (!stored) return false;
        // The stored solution is only watched: the player stays who he is.
        Replay(stored);
    } else {
        Replay();
    }
    if (State == TState::Play) TakeSnapshot(); // the position reached can be returned to
    return true;
}

bool TGame::LoadGame(const std::string& name, bool verify) {
    // The file is read whole before anything changes, so a damaged or missing
    // game leaves the game in play as it was.
    auto loaded = std::make_unique<TMapSet>();
    const bool renamed = loaded->Load(Folders, name, verify);
    Clear();
    Game = std::move(loaded);
    LevelCountChanged();
    return renamed;
}

fs::path TGame::SaveFilePath() const {
    return Folders.SettingsFolder / "tobbin.sav";
}

void TGame::SaveProgress() {
    TTextWriter line;
    Solution->WriteLine(line, Game->Name, Level, Game->Skill);
    AppendLines(SaveFilePath(), line.Content());
}

std::uint8_t TGame::LoadProgress(TLevSol& target, std::uint8_t maxLevel) {
    const fs::path path = SaveFilePath();
    std::error_code ec;
    if (!fs::exists(path, ec)) return 0;

    TTextReader file;
    try {
        file = TTextReader::FromFile(path);
    } catch (const std::ios_base::failure&) {
        return 0; // an unreadable save file holds nothing to continue; it stays as it is
    }
    TTextWriter kept;
    bool keptAny = false;
    bool tookAny = false;
    std::uint8_t found = 0;
    TLevSol scratch;
    std::string line;
    while (file.ReadLine(line)) {
        if (Trim(line).empty()) continue;
        std::string game;
        bool renamed = false;
        int level = 0;
        int skill = 0;
        bool readable = false;
        try {
            readable = scratch.ParseLine(line, game, renamed, false, level, skill, Folders.Renamed);
        } catch (const std::exception&) {
            readable = false; // a damaged line stays as it is and blocks nothing
        }
        if (readable && scratch.GetPlayer() == Player && game == Game->Name) {
            tookAny = true;
            // A level the player may not open yet, or one the game no longer
            // has, is dropped quietly: the line no longer fits its game.
            if (level >= 1 && level <= maxLevel && level <= Game->GetLevelCount()) {
                found = static_cast<std::uint8_t>(level);
                target.Assign(scratch, true);
            }
            continue; // taken or dropped, never kept
        }
        kept.WriteLine(line);
        keptAny = true;
    }
    if (!tookAny) return 0; // nothing of ours: the file stays untouched

    if (keptAny)
        WriteFileAtomic(path, kept.Content());
    else
        fs::remove(path);
    return found;
}

std::string TGame::LevelName(std::uint8_t n) const {
    if (n == 0) n = Level;
    if (n == 0) return std::string();
    const TMap* map = Game->GetMap(n);
    return map ? map->GetName() : std::string();
}

bool TGame::KillLevelSolution(std::uint8_t level) {
    return Game->DeleteSolution(level);
}

// ---------------------------------------------------------------------------
// Editing

void TGame::EnterEditMode() {
    Edit = true;
    SetModified(false);
    ChangedLevels = 0;
    if (Game->Author.empty()) {
        Game->Author = Player;
        SetModified(true);
    }
    SetLevel(Level);
}

void TGame::LeaveEditMode() {
    Edit = false;
    SetState(TState::Ready, false);
}

void TGame::StoreEditedLevel() {
    TMap* stored = StoredMap(*Game, Level);
    if (!stored || stored->SameCells(*this)) return;
    SetModified(true);
    MarkChanged(Level);
    stored->Assign(*this);
    Game->DeleteSolution(Level); // it no longer fits the level
}

void TGame::NewGame(const std::string& name, std::uint8_t skill, const std::string& author) {
    CheckSkill(skill);
    Game->Init(name, author, skill);
    History->Clear();
    Snapshots->Clear();
    Level = 0;
    Clear();
    Edit = true;
    ChangedLevels = 0;
    HistoryChanged();
    SnapshotsChanged();
    SetModified(true);
}

void TGame::AddLevel(const std::string& name) {
    StoreEditedLevel();
    Game->AddLevel(name);
    Edit = true;
    SetModified(true);
}

void TGame::DeleteLevel() {
    const std::uint8_t count = Game->GetLevelCount();
    if (Level == 0 || Level > count) return; // no level to delete
    for (std::uint8_t level = Level; level <= count; ++level)
        MarkChanged(level);
    Game->RemoveLevel(Level);
    const std::uint8_t left = Game->GetLevelCount();
    SetLevel(Level <= left ? Level : left);
    SetModified(true);
}

void TGame::CopyPreviousLevel() {
    const TMap* previous =
        Level >= 2 ? StoredMap(*Game, static_cast<std::uint8_t>(Level - 1)) : nullptr;
    if (!previous) return; // level 1 has no previous level
    TMap::Assign(*previous);
    SetModified(true);
    MarkChanged(Level);
}

void TGame::MoveLevelTo(std::uint8_t level) {
    const std::uint8_t count = Game->GetLevelCount();
    if (Level == 0 || Level > count || level == 0 || level > count)
        throw std::out_of_range("level number");
    Game->SwapLevels(Level, level);
    MarkChanged(Level);
    MarkChanged(level);
    SetLevel(level);
    SetModified(true);
}

void TGame::SetGameInfo(const std::string& name, std::uint8_t skill, const std::string& author) {
    CheckSkill(skill);
    Game->Name = name;
    Game->Skill = skill;
    Game->Author = author;
    SetModified(true);
}

void TGame::SetLevelName(const std::string& name) {
    if (!SetName(name)) return;
    if (TMap* stored = StoredMap(*Game, Level)) stored->SetName(name);
    SetModified(true);
}

void TGame::SetGameFlag(std::uint8_t flag, bool on) {
    Game->SetFlag(flag, on);
    SetModified(true);
}

void TGame::SaveGame() {
    Game->Save(Folders);
    SetModified(false);
}

void TGame::StoreSolution() {
    if (Level == 0) return;
    Game->SetSolution(*Solution, Level, false);
}

void TGame::AssignInfo(const TGamInfo& info) {
    // The maps are the truth about the number of levels: a record that counts
    // the levels differently must not make the game claim maps it does not have.
    const std::uint8_t count = Game->GetLevelCount();
    Game->TGamInfo::Assign(info);
    Game->ResetLevelCount();
    for (std::uint8_t i = 0; i < count; ++i)
        Game->IncLevelCount();
    for (int level = count + 1; level <= TGamBase::MaxLevels; ++level)
        Game->DeleteSolution(level);
}

} // namespace tb
