#pragma once
// One game being played: the level set, the current level, step back,
// snapshots, play back, the save file and the editor's operations on the game.

#include "engine/tb_gamemap.h"
#include "games/tb_mapset.h"
#include "services/d_folders.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace tb {

// A ring of whole game copies (grid, state and moves), newest on top.
class TBackup_Set {
public:
    // Capacity above 255 becomes 255; all copies are made at once.
    explicit TBackup_Set(int capacity);

    // Stores a copy on top; a full ring overwrites its oldest copy.
    void Push(const TGameMap& game);
    // Restores the newest copy into game and removes it; Error("Restoring empty backup") when
    // empty.
    void Pop(TGameMap& game);
    // Takes back the last Push into game, as Pop does, and also returns the
    // oldest copy that a full ring dropped for that push, so a push that is
    // taken back costs nothing.
    void Withdraw(TGameMap& game);
    // Forgets every copy; the copies stay allocated for reuse.
    void Clear();

    std::uint8_t GetCount() const { return Count; }
    std::uint8_t GetCapacity() const { return Capacity; }

private:
    std::uint8_t Count = 0;
    std::uint8_t Top = 0; // slot of the newest copy, 1-based; 0 when empty
    std::uint8_t Capacity = 0;
    std::vector<std::unique_ptr<TGameMap>> Slots; // Slots[0] unused
    std::unique_ptr<TGameMap> Dropped;            // the oldest copy the last push overwrote
    bool HasDropped = false;
};

class TGame : public TGameMap {
public:
    // `folders`: where the game files and the save file are. frugal keeps 40
    // step backs and 4 snapshots instead of 200 and 20.
    explicit TGame(TFolders folders, bool frugal = false);
    ~TGame() override;

    // In edit mode, stores the edited level first; then SetLevel.
    virtual bool SelectLevel(std::uint8_t level);
    // A game was loaded: the number of levels may have changed.
    virtual void LevelCountChanged();
    virtual bool SetModified(bool on);
    virtual void StepBack();
    virtual void RestoreSnapshot();
    // Makes level the current one and lays it out afresh (in edit mode: loads it for editing).
    virtual bool SetLevel(std::uint8_t level);
    virtual bool SetBusy(bool on);
    virtual void HistoryChanged();
    virtual void SnapshotsChanged();
    virtual void TakeSnapshot();

    bool SetState(TState state, bool force) override;

    // The player's move: one history entry, refused while Busy.
    bool Move(TDir dir, int count);
    bool HasHistory() const { return History->GetCount() > 0; }
    bool HasSnapshots() const { return Snapshots->GetCount() > 0; }
    // fromStore false: the player's own moves from the start; true: the stored solution.
    bool PlayBack(bool fromStore);
    // Reads the game file, then Clear and LevelCountChanged; a file that cannot be
    // read changes nothing. Answers whether the file named an old name.
    bool LoadGame(const std::string& name, bool verify);

    // The save file "tobbin.sav" in the settings folder.
    std::filesystem::path SaveFilePath() const;
    // Appends the current recording to the save file.
    void SaveProgress();
    // Takes this player's saved lines of this game out of the save file; answers
    // the level of the last one within maxLevel (0 when none) and fills target.
    // Lines of levels the game does not have are dropped; an unreadable file
    // answers 0 and is left alone.
    std::uint8_t LoadProgress(TLevSol& target, std::uint8_t maxLevel);

    // Queries on the loaded game.
    std::uint8_t LevelCount() const { return Game->GetLevelCount(); }
    std::uint8_t Skill() const { return Game->Skill; }
    const std::string& GameName() const { return Game->Name; }
    const std::string& GameAuthor() const { return Game->Author; }
    // The name of level n, the current one when n is 0.
    std::string LevelName(std::uint8_t n = 0) const;
    bool HasFlag(std::uint8_t flag) const { return Game->HasFlag(flag); }
    bool HasBadLevels() const { return Game->BadLevelCount() > 0; }
    bool KillLevelSolution(std::uint8_t level);

    // The editor's operations (each sets Modified when it changes the game).
    void EnterEditMode();
    void LeaveEditMode();
    void StoreEditedLevel();
    void NewGame(const std::string& name, std::uint8_t skill, const std::string& author);
    void AddLevel(const std::string& name);
    void DeleteLevel();
    void CopyPreviousLevel();
    void MoveLevelTo(std::uint8_t level);
    void SetGameInfo(const std::string& name, std::uint8_t skill, const std::string& author);
    void SetLevelName(const std::string& name);
    void SetGameFlag(std::uint8_t flag, bool on);
    void SaveGame();
    void StoreSolution();
    void AssignInfo(const TGamInfo& info);

    const TMapSet& GetGame() const { return *Game; }
    const TFolders& GetFolders() const { return Folders; }
    std::uint8_t GetLevel() const { return Level; }
    bool IsBusy() const { return Busy; }
    bool IsEdit() const { return Edit; }
    bool IsModified() const { return Modified; }
    // Bit L set: level L changed since edit mode was entered.
    std::uint16_t GetChangedLevels() const { return ChangedLevels; }
    const TBackup_Set& GetHistory() const { return *History; }
    const TBackup_Set& GetSnapshots() const { return *Snapshots; }

protected:
    const TFolders Folders;

    void MarkChanged(std::uint8_t level) {
        ChangedLevels |= static_cast<std::uint16_t>(1u << level);
    }

    std::unique_ptr<TMapSet> Game;
    std::unique_ptr<TBackup_Set> History;
    std::unique_ptr<TBackup_Set> Snapshots;
    std::uint8_t Level = 0;
    bool Busy = true;
    bool Edit = false;
    bool Modified = true;
    std::uint16_t ChangedLevels = 0;
};

} // namespace tb
