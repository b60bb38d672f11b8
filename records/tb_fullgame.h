#pragma once
// The game bound to the records: opens a game with its best solutions and the
// player's progress, logs every won level and offers its solution as the new
// best, deletes games and level solutions from the game and the records, saves
// an edited game with its records, and replays the stored solutions. It draws
// nothing; the play window's game derives from it and reports to the window.

#include "games/tb_game.h"
#include "records/tb_allgames.h"

#include <cstdint>
#include <memory>
#include <string>

namespace tb {

class TFullGame : public TGame {
public:
    // Reads all the records (telling `progress` each phase), then sets up the game.
    // `readOnlyRecords` opens the records for a check (TAllGames): nothing is written.
    explicit TFullGame(TFolders folders, const TProgress& progress = {}, bool frugal = false,
                       bool readOnlyRecords = false);
    ~TFullGame() override;

    // Stores the highest level of this game the player has solved.
    virtual void SetSolvedCount(std::uint8_t count);

    bool SetPlayer(const std::string& name) override;
    // Laying a level out (Ready) outside play back ends the showing of a solution.
    bool SetState(TState state, bool force) override;
    // A level won by the player joins the log and is offered as the level's best.
    void Win() override;

    // Loads the game, opens its levels up to the player's progress, lays out
    // `level` and brings in the game's best solutions from the records.
    void OpenGame(const std::string& name, std::uint8_t level, bool verify);
    void NewGame(const std::string& name, std::uint8_t skill, const std::string& author);
    // Remembers the game's current name first, for SaveEditedGame.
    void SetGameInfo(const std::string& name, std::uint8_t skill, const std::string& author);
    // The editor's save: the file under the current name (the file of a former
    // name goes), changed levels lose their log entries, and the records follow.
    void SaveEditedGame();
    // Deletes the game file and the game's records; no game is open afterwards.
    // A shipped game the player cannot change is refused (CheckDeletable).
    void DeleteGame();
    // Throws Error when the open game came with the program and is not the
    // player's to delete (an installed copy's read-only data).
    void CheckDeletable() const;
    // Deletes the level's stored solution from the game and the records.
    bool KillLevelSolution(std::uint8_t level);
    // fromStore: shows the stored solution (a level won now is not recorded);
    // else replays the player's own moves. Answers whether a replay took place.
    bool PlayBackSolution(bool fromStore);
    // Replays the stored solutions of every game (freshOnly: only the imported,
    // unconfirmed ones, whose fresh marks are then cleared); stops at the first
    // that does not solve its level. Answers the number confirmed.
    std::uint16_t PlayAllSolutions(bool freshOnly);
    // True once the last PlayAllSolutions ran to its end without a failed replay;
    // false while one runs and after one stopped at a failure.
    bool AllSolutionsConfirmed() const { return ReplaysCompleted; }

    // The best known solution of the current level, or nullptr.
    const TLevSol* BestSolution() const;

    // Queries passed on to the records.
    int GameCount() const { return Records->GameCount(); }
    const TGamInfo& GameAt(int index) const { return Records->GameAt(index); }
    const TGamInfo* FindGame(const std::string& name) const { return Records->FindGame(name); }
    int TotalLevels() const { return Records->TotalLevels(); }
    int ChampionCount() const { return Records->ChampionCount(); }
    const TChamp& ChampionAt(int index) const { return Records->ChampionAt(index); }
    int AuthorCount() const { return Records->AuthorCount(); }
    const TAuthor& AuthorAt(int index) const { return Records->AuthorAt(index); }

    TAllGames& GetRecords() { return *Records; }
    const TAllGames& GetRecords() const { return *Records; }
    std::uint8_t GetSolvedCount() const { return SolvedCount; }
    bool IsAutoPlay() const { return AutoPlay; }
    bool HasExtras() const { return Extras; }
    void SetExtras(bool on) { Extras = on; }
    bool IsInPlayBack() const { return InPlayBack; }
    bool IsShowingSolution() const { return ShowingSolution; }
    // A hint showed the next move: a win of this layout is aided, as after
    // Show solution (neither logged nor recorded).
    void MarkHintShown() { HintShown = true; }
    // A stored solution or a hint was shown since the level was laid out.
    bool IsAided() const { return ShowingSolution || HintShown; }
    const std::string& GetOldGameName() const { return OldGameName; }

protected:
    bool AutoPlay = false; // PlayAllSolutions is running
    bool Extras = false;   // the Xtra menu is shown; games open unverified
    std::unique_ptr<TAllGames> Records;
    std::uint8_t SolvedCount = 0; // the highest level of this game the player solved
    bool InPlayBack = false;      // PlayBackSolution is running
    bool ShowingSolution = false; // a stored solution is or was shown since the last layout
    bool HintShown = false;       // a hint was shown since the last layout
    std::string OldGameName;      // the name before the editor renamed the game
    // The completion flag of PlayAllSolutions, read by the play window's command.
    bool ReplaysCompleted = false;
};

} // namespace tb
