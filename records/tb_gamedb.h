#pragma once
// The solutions database: every installed game (its header from the game file)
// with the best known solution of each level. Built at start-up from the game
// files, the solutions file "tobbin.sol" and the import files "*.sox" placed
// beside it; "tobbin.sol" is rewritten whole whenever a best solution changes.

#include "engine/tb_levsol.h"
#include "games/tb_gaminfo.h"
#include "services/d_folders.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace tb {

class TMapSet;

// Shows the text of the start-up phase that begins (the splash's message line).
using TProgress = std::function<void(const std::string& text)>;

class TGameDB {
public:
    // Solution files newer than 3.24 carry a checksum on every line.
    static constexpr int LastUncheckedVersion = 324;
    // A file whose version line carries this installation number wins ties.
    static constexpr int TieWinningInstallation = 1;

    // Builds the game list of `folders`, loads "tobbin.sol", merges and deletes
    // every import file, and rewrites "tobbin.sol" when that changed anything.
    explicit TGameDB(TFolders folders, const TProgress& progress = {}, bool readOnly = false);
    // An empty database that reads no file (tests, tools).
    struct NoLoad {};
    TGameDB(TFolders folders, NoLoad);
    TGameDB(const TGameDB&) = delete;
    TGameDB& operator=(const TGameDB&) = delete;
    virtual ~TGameDB();

    std::filesystem::path SolutionsPath() const;
    const TFolders& GetFolders() const { return Folders; }

    int GameCount() const { return static_cast<int>(Games.size()); }
    // index 1..GameCount (std::out_of_range otherwise).
    TGamInfo& GameAt(int index);
    const TGamInfo& GameAt(int index) const;
    TGamInfo* FindGame(const std::string& name);
    const TGamInfo* FindGame(const std::string& name) const;
    // 1-based; 0 when absent.
    int IndexOfGame(const std::string& name) const;
    // The sum of the games' level counts.
    int TotalLevels() const;
    const TLevSol* GetSolution(const std::string& name, int level) const;

    // Copies the record (header, mark, solutions) into the game of its name,
    // appended as a new game when there is none. When the record is a whole
    // game (TMapSet), solutions that do not win its levels are left out.
    virtual void AddGame(const TGamInfo& record);
    bool RemoveGame(const std::string& name);
    // The record's name becomes newName when a game oldName exists and the names
    // differ; answers whether it changed. The game file is not touched.
    virtual bool RenameGame(const std::string& oldName, const std::string& newName);
    // With a name: that game's mark, but only when level is 0 or its last level.
    // With an empty name: the mark of every game.
    void SetMark(std::uint8_t mark, const std::string& name, int level);
    // Level 0 deletes all of the game's solutions; rewrites "tobbin.sol" when
    // something went. Answers whether something went.
    virtual bool DeleteSolution(const std::string& name, int level);
    // Offers a solution as the best of a level (1..9, std::out_of_range
    // otherwise); answers whether the database changed. A step count of
    // best + 10000 by the same player withdraws that player's best solution.
    // This is the one door through which best solutions come in (wins, the
    // solutions file, imports): a solution that would be stored is first
    // replayed on the level of the game file, and refused unless it wins
    // there with its last move (LastOfferUnchecked tells when the game file
    // could not be read to check it).
    bool AddSolution(const TLevSol& solution, const std::string& name, bool winsTies, bool fresh,
                     int level);
    // Merges a solutions file; answers whether that changed the database in a
    // way that "tobbin.sol" must be rewritten for (fresh solutions accepted, or
    // renamed games when reading "tobbin.sol" itself). Damaged lines are skipped
    // and noted (LastLoadDamaged); lines failing their checksum are dropped.
    bool LoadSolutions(const std::filesystem::path& path, bool fresh);
    // Writes "tobbin.sol" whole. When it could not be read whole at start-up,
    // its original is kept first as "tobbin.sol.bak" (or ".bak1", ...).
    void SaveSolutions();
    // Writes GameFileName(name, ".sol") in the settings folder; answers the number
    // of lines (0, and no file, when the game does not exist).
    int ExportGame(const std::string& name);
    // Writes GameFileName(player, ".sol") with every best solution of that stored
    // player name; answers the number of lines.
    int ExportPlayer(const std::string& player);
    void SortGames();

    // True when the last LoadSolutions met lines it could not read.
    bool LastLoadDamaged() const { return LoadDamaged; }
    // True when the last AddSolution refused a solution because the game file
    // could not be read to replay it.
    bool LastOfferUnchecked() const { return OfferUnchecked; }
    // Solution lines kept as they were read because their game file is
    // present but could not be read (a damaged header or level); they are
    // written back with "tobbin.sol" and count again once the file is repaired.
    const std::vector<std::string>& KeptLines() const { return Kept; }
    // A solution line that was read but not taken because it does not win its
    // level, or could not be checked (its game file is unreadable).
    struct TSetAside {
        std::string Game;
        int Level = 0;
        int Steps = 0;
        bool Unchecked = false;
    };
    // Every such line of every solutions file read so far (for checks).
    const std::vector<TSetAside>& SetAside() const { return Aside; }
    // Records opened read-only (checks): imports are merged in memory only and
    // no record file is written, backed up or deleted.
    bool IsReadOnly() const { return ReadOnly; }
    // True while "tobbin.sol" was not read whole and has not been backed up yet.
    bool SolutionsDamaged() const { return SolutionsNeedBackup; }

    // Record news of the last AddSolution: a shorter solution replaced a best one.
    bool RecordBroken = false;
    std::uint16_t PreviousSteps = 0;
    std::string PreviousHolder;

protected:
    void BuildGameList();
    // A header of the games folder whose name was an old one: the file goes to
    // its new name (or, when that name is taken, away); answers whether the game stays.
    bool MoveRenamedGame(const std::filesystem::path& file, const std::string& newName);
    // Whether another file already holds the game's new name.
    bool NewNameTaken(const std::filesystem::path& file, const std::string& newName);
    void Reindex();
    // Whether the solution wins its level in the game file (see AddSolution);
    // nothing when the game file cannot be read.
    std::optional<bool> SolvesLevel(const std::string& name, int level, const TLevSol& solution);
    // A line of a game that is not installed but whose file is there.
    bool KeepLineOfPresentGame(const std::string& name, const std::string& line);

    const TFolders Folders;
    std::vector<std::unique_ptr<TGamInfo>> Games;
    // Name to 0-based position in Games (the first game of a name).
    std::unordered_map<std::string, std::size_t> ByName;
    bool LoadDamaged = false;
    bool SolutionsNeedBackup = false;
    bool OfferUnchecked = false;
    bool OfferLosing = false; // the last AddSolution refused a solution that does not win
    bool LoadDropped = false; // the last LoadSolutions dropped a line for good
    bool ReadOnly = false;
    std::vector<std::string> Kept;
    std::vector<TSetAside> Aside;
    // While a solutions file is merged, the game last read for checking.
    std::unique_ptr<TMapSet> CheckedGame;
    bool KeepCheckedGame = false;
};

} // namespace tb
