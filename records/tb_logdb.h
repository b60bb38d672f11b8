#pragma once
// The player log: for every player, game and level the best result reached on
// this installation (steps and seconds). It lives in the hall-of-fame file
// "tobbin.hof" in the settings folder and is rewritten whole after each change:
//   Version 3.54 #0
//   3 95 42 Hills|Ann #0|12345      (level, seconds, steps, game|player|checksum)

#include "services/d_folders.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

namespace tb {

class TGame;

// One log entry.
class TLog {
public:
    void Assign(const TLog& source) { *this = source; }
    // Checksum16 from 0 over Player, Game, Time and Steps (low byte first) and Level.
    std::uint16_t Checksum() const;
    // The entry's line in the hall-of-fame file, with its checksum.
    std::string Line() const;

    std::string Player; // stored form, "Ann #0"
    std::string Game;
    std::uint16_t Time = 0;  // seconds
    std::uint16_t Steps = 0; // moves
    std::uint8_t Level = 0;  // 1..9
};

class TLogDB {
public:
    // Verified files: version 3.24 and later carry a checksum on every line.
    static constexpr int FirstCheckedVersion = 324;

    // Loads "tobbin.hof"; when game names were replaced through the renamed-games
    // list the file is rewritten at once with the new names. A read-only log
    // (checks) never writes its file: changes stay in memory.
    explicit TLogDB(TFolders folders, bool readOnly = false);
    // An empty log that neither reads nor has read its file (tests, tools).
    struct NoLoad {};
    TLogDB(TFolders folders, NoLoad) : Folders(std::move(folders)) {}
    TLogDB(const TLogDB&) = delete;
    TLogDB& operator=(const TLogDB&) = delete;

    std::filesystem::path FilePath() const;

    std::size_t Count() const { return Entries.size(); }
    // index 1..Count (std::out_of_range otherwise).
    TLog& EntryAt(std::size_t index);
    const TLog& EntryAt(std::size_t index) const;
    // Removes one entry from the list (no save).
    void Delete(std::size_t index);
    // Removes every entry for which `drop` answers true, keeping the order of
    // the others, in one pass; `drop` may also change an entry it keeps (not
    // its player, game or level). Answers how many went (no save).
    std::size_t DeleteWhere(const std::function<bool(TLog&)>& drop);

    // Reads the file into the (empty) log; answers whether names were renamed.
    // A damaged line (a malformed number, a level outside 1..9) is skipped and
    // the rest is read on; a line without "|" ends the reading as it always
    // has. Either way the file counts as not read whole, and the next Save first
    // keeps the original beside it ("tobbin.hof.bak", ".bak1", ...). Lines whose
    // checksum does not match are dropped silently.
    bool Load();
    void Save();
    // Reads the hall-of-fame text already in memory, as Load does with the file.
    bool LoadText(std::string text);
    // The whole file text that Save writes.
    std::string SaveText() const;
    // True while the file last loaded was not read whole and has not yet been
    // backed up by a Save.
    bool IsDamaged() const { return Damaged; }

    // Merges one result; answers whether the log changed.
    bool AddOrImprove(const TLog& entry);
    // The result of the level just won; saved when it is new or better.
    void AddResult(const TGame& game);
    // The fewest steps of that level in the log and whose they are (the first
    // entry in list order on a tie); 0, and player unchanged, when none.
    std::uint16_t Best(const std::string& game, std::uint8_t level, std::string& player) const;
    // That player's steps for the level; 0 when none.
    std::uint16_t PlayerSteps(const std::string& game, std::uint8_t level,
                              const std::string& player) const;
    // The highest level of the game among the player's entries; 0 when none.
    std::uint8_t MaxLevelReached(const std::string& game, const std::string& player) const;
    // Removes the game's entries of that level (level 0: of all levels) and
    // saves when anything went; answers whether anything went.
    bool DeleteGame(const std::string& game, std::uint8_t level);
    // Removes every entry of that stored player name; does not save.
    std::size_t DeletePlayer(const std::string& player);
    // Every entry of game old gets new; does not save.
    void RenameGame(const std::string& oldName, const std::string& newName);

private:
    struct KeyHash {
        std::size_t operator()(const TLog* e) const;
    };
    struct KeyEqual {
        bool operator()(const TLog* a, const TLog* b) const {
            return a->Level == b->Level && a->Game == b->Game && a->Player == b->Player;
        }
    };
    TLog* Find(const std::string& game, std::uint8_t level, const std::string& player) const;
    bool Merge(TLog&& entry);
    void Reindex();

    const TFolders Folders;
    std::vector<std::unique_ptr<TLog>> Entries; // in the order they were added
    // The entries by player, game and level: at most one entry for each.
    std::unordered_set<TLog*, KeyHash, KeyEqual> Index;
    bool Damaged = false;
    bool ReadOnly = false;
};

} // namespace tb
