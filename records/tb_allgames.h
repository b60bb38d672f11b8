#pragma once
// The records of the whole run: the solutions database with the player log, the
// hall of champions and the authors table. Creating it runs the whole start-up
// sequence of the records; the full game owns the one instance.

#include "records/tb_authordb.h"
#include "records/tb_champdb.h"
#include "records/tb_gamedb.h"
#include "records/tb_logdb.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tb {

class TGame;

class TAllGames : public TGameDB {
public:
    // The start-up sequence: game list, "tobbin.sol", imports, "tobbin.hof",
    // the log checked against the best solutions, champions and authors.
    // `progress` is told the text of each phase.
    // `readOnly` opens the records for a check: everything happens in memory
    // and no record file is written, backed up or deleted.
    explicit TAllGames(TFolders folders, const TProgress& progress = {}, bool readOnly = false);
    ~TAllGames() override;

    // The result of the level just won joins the log.
    void AddLog(const TGame& game);
    // The player's own solution offered as the level's best (no tie wins);
    // when accepted "tobbin.sol" is rewritten and the champions computed anew.
    bool AddSolution(const TLevSol& solution, const std::string& name, int level);
    // The header and solutions of an edited game; the champions computed anew.
    void AddGame(const TGamInfo& record) override;
    // The game's record and all its log entries go.
    void DeleteGame(const std::string& name);
    // Also the log entries of that level (level 0: of the whole game).
    bool DeleteSolution(const std::string& name, int level) override;
    // Only the log entries of that level (level 0: of the whole game).
    void DeleteLogs(const std::string& name, std::uint8_t level);
    // All of the player's log entries go, and "tobbin.hof" is rewritten.
    void DeletePlayer(const std::string& player);
    // Also renames the game in the log (in memory; the file follows at its next save).
    bool RenameGame(const std::string& oldName, const std::string& newName) override;
    // The fewest steps in the log for the level and whose; 0 when none.
    std::uint16_t BestLog(const std::string& name, std::uint8_t level, std::string& player) const;
    std::uint16_t PlayerSteps(const std::string& name, std::uint8_t level,
                              const std::string& player) const;
    std::uint8_t MaxLevelReached(const std::string& name, const std::string& player) const;
    // Clears every mark, then marks each game whose last level the player has in the log.
    void SetPlayerMarks(const std::string& player);
    // The names of the games (list order) whose Skill is skill (5: any) and
    // whose Mark is mark (2: any).
    void FillGameNames(std::uint8_t mark, std::uint8_t skill, std::vector<std::string>& list) const;
    // Each player of the log once, in log order, cut before the first " #";
    // names that differ only in letter case count as one (the first kept).
    void FillPlayerNames(std::vector<std::string>& list) const;

    // Rebuilds the hall of champions and the authors table from the games.
    void ComputeChampions();
    int ChampionCount() const { return Champions->Count(); }
    const TChamp& ChampionAt(int index) const { return Champions->At(index); }
    int AuthorCount() const { return Authors->Count(); }
    const TAuthor& AuthorAt(int index) const { return Authors->At(index); }

    TLogDB& GetLog() { return *Log; }
    const TLogDB& GetLog() const { return *Log; }

    // The records-modified mark: commands that change which games a player has
    // finished, or which games exist, set it; the game list shown to the player
    // is built anew while it is set (whoever rebuilds it clears it).
    bool Modified = true;

private:
    // Brings the log in line with the best solutions: an entry claiming fewer
    // steps than the best known solution is corrected (same player) or dropped.
    void CleanUpLog();

    std::unique_ptr<TLogDB> Log;
    std::unique_ptr<TChampDB> Champions;
    std::unique_ptr<TAuthorDB> Authors;
};

} // namespace tb
