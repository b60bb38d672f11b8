#include "engine/tb_fullgame.h"
#include "engine/tb_inbase.h"
#include "services/d_messages.h"
#include "services/d_string.h"
#include "tests/records/records_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace tb {
namespace {

namespace fs = std::filesystem;
using test::Deadly;
using test::OneStep;
using test::ReadFile;
using test::Settings;
using test::SolFile;
using test::SolLine;
using test::Solution;
using test::TwoSteps;
using test::WriteFile;
using test::WriteGame;
using test::WriteSimpleGame;

// Records every call the window would receive, with its argument.
class TFakeUi : public TInBase {
public:
    std::vector<std::string> Calls;
    bool Menus = true;

    void Note(const std::string& call) { Calls.push_back(call); }
    // The calls of interest, in order (cells, clock and steps are too many to follow).
    std::vector<std::string> Events() const {
        static const std::set<std::string> ignored = {
            "DrawCell",      "ShowClock",    "ShowSteps",  "ShowStepBack", "ShowRestoreSnapshot",
            "ShowLevelName", "ShowModified", "ShowCaption"};
        std::vector<std::string> events;
        for (const std::string& c : Calls)
            if (!ignored.count(c.substr(0, c.find('(')))) events.push_back(c);
        return events;
    }

    void ShowReplayCount(std::uint16_t count) override {
        Note("ShowReplayCount(" + std::to_string(count) + ")");
    }
    void DrawCell(TPos) override { Note("DrawCell"); }
    void EnableMenus(bool on) override { Menus = on; }
    bool MenusEnabled() override { return Menus; }
    void AnimateExplosion(TPos) override { Note("AnimateExplosion"); }
    void HideTitles() override { Note("HideTitles"); }
    void ShowBottomPanel() override { Note("ShowBottomPanel"); }
    void AnimateImplosion(TPos) override { Note("AnimateImplosion"); }
    void EnableLevelButtons(std::uint8_t n) override {
        Note("EnableLevelButtons(" + std::to_string(n) + ")");
    }
    void UpdateEditMenu() override { Note("UpdateEditMenu"); }
    void LayoutLevelButtons(std::uint8_t n) override {
        Note("LayoutLevelButtons(" + std::to_string(n) + ")");
    }
    void NewLevelStarting() override { Note("NewLevelStarting"); }
    void ShowReadOnly(bool) override { Note("ShowReadOnly"); }
    void RepaintMap() override { Note("RepaintMap"); }
    void ShowCaption(const std::string&) override { Note("ShowCaption"); }
    void StateChanged(TState s) override {
        Note("StateChanged(" + std::to_string(static_cast<int>(s)) + ")");
    }
    void ShowAccessAll(bool) override { Note("ShowAccessAll"); }
    void ShowModified(bool) override { Note("ShowModified"); }
    void ShowXtraMenu(bool) override { Note("ShowXtraMenu"); }
    void ShowClock(const std::string&) override { Note("ShowClock"); }
    void HeroKilled() override { Note("HeroKilled"); }
    void EditModeChanged(bool) override { Note("EditModeChanged"); }
    void SelectLevelButton(std::uint8_t n) override {
        Note("SelectLevelButton(" + std::to_string(n) + ")");
    }
    void ShowLevelName(const std::string&) override { Note("ShowLevelName"); }
    void ShowRestoreSnapshot(bool) override { Note("ShowRestoreSnapshot"); }
    void ShowStepBack(bool) override { Note("ShowStepBack"); }
    void ShowSteps(const std::string& text) override { Note("ShowSteps(" + text + ")"); }
    void LevelSolved() override { Note("LevelSolved"); }
    void WaitMessage() override { Note("WaitMessage"); }
};

// The full game bound to the fake window the way the play window binds it: the
// hooks call the interface after (or around) the engine's rules.
class TWindowedGame : public TFullGame {
public:
    explicit TWindowedGame(TFakeUi& ui) : Ui(ui) {}

    bool AllLevels = false; // "Access all levels": the replay of all solutions turns it on

    void SetCell(TPos pos, std::uint8_t code) override {
        TFullGame::SetCell(pos, code);
        Ui.DrawCell(pos);
    }
    bool SetName(const std::string& name) override {
        const bool changed = TFullGame::SetName(name);
        if (changed) Ui.ShowLevelName(name);
        return changed;
    }
    bool SetState(TState state, bool force) override {
        const bool changed = TFullGame::SetState(state, force);
        if (changed) Ui.StateChanged(State);
        return changed;
    }
    void StepsChanged() override {
        TFullGame::StepsChanged();
        Ui.ShowSteps(std::to_string(Solution->GetSteps()));
    }
    void Die() override {
        if (State == TState::Done) return;
        TFullGame::Die();
        Ui.HeroKilled();
    }
    void LevelCountChanged() override { Ui.LayoutLevelButtons(LevelCount()); }
    void SetSolvedCount(std::uint8_t count) override {
        TFullGame::SetSolvedCount(count);
        Ui.EnableLevelButtons(static_cast<std::uint8_t>(std::min(9, SolvedCount + 1)));
    }
    bool SetLevel(std::uint8_t level) override {
        if (!AllLevels && level > SolvedCount + 1)
            level = static_cast<std::uint8_t>(SolvedCount + 1);
        if (level > 0) Ui.NewLevelStarting();
        const bool changed = TFullGame::SetLevel(level);
        Ui.SelectLevelButton(Level);
        return changed;
    }
    void Win() override {
        SetState(TState::Done, false);
        TFullGame::Win();
        if (AutoPlay || ShowingSolution) return;
        Ui.LevelSolved();
        TAllGames& records = *Records;
        if (records.RecordBroken && records.PreviousSteps > 0) {
            records.RecordBroken = false;
            std::string text = MoreMessage(MsgNewRecord);
            FillPlaceholder(records.PreviousSteps, text);
            FillPlaceholder(records.PreviousHolder, text);
            FillPlaceholder(Solution->GetSteps(), text);
            Ui.Note("Message(" + text + ")");
        }
        if (Level == LevelCount()) {
            records.SetMark(1, GameName(), Level);
            records.Modified = true;
            Ui.Note("Congratulations");
        } else {
            Ui.WaitMessage();
            SetLevel(static_cast<std::uint8_t>(Level + 1));
        }
    }

private:
    TFakeUi& Ui;
};

class FullGame : public ::testing::Test {
protected:
    test::TempProgramFolder Dir;
    TFakeUi Ui;

    std::unique_ptr<TWindowedGame> Start(const std::string& player = "Ann #0") {
        auto game = std::make_unique<TWindowedGame>(Ui);
        game->SetBusy(false);
        game->SetPlayer(player);
        return game;
    }
};

TEST_F(FullGame, WinningLogsRecordsAndMovesOnInOrder) {
    WriteSimpleGame("Hills", 3);
    auto game = Start();
    game->OpenGame("Hills", 1, true);
    Ui.Calls.clear();
    ASSERT_TRUE(game->Move(Right, 1));
    EXPECT_EQ(Ui.Events(), (std::vector<std::string>{"StateChanged(2)", "StateChanged(4)",
                                                     "EnableLevelButtons(2)", "LevelSolved",
                                                     "WaitMessage", "NewLevelStarting",
                                                     "StateChanged(1)", "SelectLevelButton(2)"}));
    EXPECT_EQ(game->GetLevel(), 2);
    EXPECT_EQ(game->GetSolvedCount(), 1);
    const TAllGames& records = game->GetRecords();
    EXPECT_EQ(records.PlayerSteps("Hills", 1, "Ann #0"), 1);
    ASSERT_NE(records.GetSolution("Hills", 1), nullptr);
    EXPECT_EQ(records.GetSolution("Hills", 1)->GetPlayer(), "Ann #0");
    EXPECT_NE(game->GetGame().GetSolution(1), nullptr); // stored in the game too
    EXPECT_NE(ReadFile(Settings("tobbin.hof")).find("1 0 1 Hills|Ann #0|"), std::string::npos);
    EXPECT_NE(ReadFile(Settings("tobbin.sol")).find(SolLine("Ann #0", "Hills", 1, 1)),
              std::string::npos);
}

TEST_F(FullGame, DyingTellsTheWindowAndRecordsNothing) {
    WriteGame("Rocks", {Deadly, OneStep});
    auto game = Start();
    game->OpenGame("Rocks", 1, true);
    Ui.Calls.clear();
    ASSERT_TRUE(game->Move(Left, 1));
    EXPECT_EQ(Ui.Events(),
              (std::vector<std::string>{"StateChanged(2)", "StateChanged(4)", "HeroKilled"}));
    EXPECT_EQ(game->GetState(), TState::Done);
    EXPECT_EQ(game->GetRecords().GetLog().Count(), 0u);
    EXPECT_EQ(game->GetSolvedCount(), 0);
    EXPECT_FALSE(fs::exists(Settings("tobbin.hof")));
}

TEST_F(FullGame, ANewRecordIsAnnouncedWithThePreviousHolder) {
    WriteGame("Hills", {TwoSteps, OneStep});
    TLevSol bob = Solution("Bob #0", 1, Left); // a step back and three to the right
    for (int i = 0; i < 3; ++i)
        bob.Add(Right);
    WriteFile(Settings("tobbin.sol"), SolFile({bob.Line("Hills", 1, 2)}));
    auto game = Start();
    game->OpenGame("Hills", 1, true);
    Ui.Calls.clear();
    ASSERT_TRUE(game->Move(Right, 1));
    ASSERT_TRUE(game->Move(Right, 1));
    const auto events = Ui.Events();
    const auto solved = std::find(events.begin(), events.end(), "LevelSolved");
    ASSERT_NE(solved, events.end());
    ASSERT_NE(solved + 1, events.end());
    EXPECT_EQ(*(solved + 1), "Message(Congratulations!|This is the shortest solution to this "
                             "level so far!|Previous record: 4 (Bob #0)|Your new record: 2)");
    EXPECT_EQ(*(solved + 2), "WaitMessage");
    EXPECT_EQ(game->BestSolution(), nullptr); // level 2 has none yet
    EXPECT_EQ(game->GetRecords().GetSolution("Hills", 1)->GetSteps(), 2);
    EXPECT_EQ(game->GetRecords().ChampionAt(1).Name, "Ann #0");
}

TEST_F(FullGame, FinishingTheLastLevelMarksTheGameAndCongratulates) {
    WriteSimpleGame("Hills", 2);
    TLog e;
    e.Player = "Ann #0";
    e.Game = "Hills";
    e.Level = 1;
    e.Steps = 1;
    {
        TLogDB log(TLogDB::NoLoad{});
        log.AddOrImprove(e);
        log.Save();
    }
    auto game = Start();
    game->OpenGame("Hills", 2, true);
    EXPECT_EQ(game->GetLevel(), 2);
    EXPECT_EQ(game->GetSolvedCount(), 1);
    Ui.Calls.clear();
    ASSERT_TRUE(game->Move(Right, 1));
    EXPECT_EQ(Ui.Events(), (std::vector<std::string>{"StateChanged(2)", "StateChanged(4)",
                                                     "EnableLevelButtons(3)", "LevelSolved",
                                                     "Congratulations"}));
    EXPECT_EQ(game->GetRecords().FindGame("Hills")->Mark, 1);
    EXPECT_EQ(game->GetState(), TState::Done);
}

TEST_F(FullGame, SolvedCountFollowsTheLogThePlayerAndOnlyRises) {
    WriteSimpleGame("Hills", 6);
    {
        TLogDB log(TLogDB::NoLoad{});
        TLog e;
        e.Player = "Ann #0";
        e.Game = "Hills";
        e.Steps = 1;
        e.Level = 5;
        log.AddOrImprove(e);
        log.Save();
    }
    auto game = Start();
    game->OpenGame("Hills", 3, true);
    EXPECT_EQ(game->GetSolvedCount(), 5);
    game->Move(Right, 1);
    EXPECT_EQ(game->GetSolvedCount(), 5);
    game->SetLevel(6);
    game->Move(Right, 1);
    EXPECT_EQ(game->GetSolvedCount(), 6);
    game->SetPlayer("Bob #0");
    EXPECT_EQ(game->GetSolvedCount(), 0);
    game->SetPlayer("Ann #0");
    EXPECT_EQ(game->GetSolvedCount(), 6);
    EXPECT_EQ(game->GetRecords().FindGame("Hills")->Mark, 1);
    game->NewGame("Fresh", 1, "Ann");
    EXPECT_EQ(game->GetSolvedCount(), 0);
}

TEST_F(FullGame, AWinAfterShowSolutionIsNeitherLoggedNorRecorded) {
    WriteGame("Hills", {TwoSteps});
    // The stored solution stops one move short (the records never take such a
    // one; here it stands for a level changed since): the player takes it from there.
    auto game = Start();
    game->GetRecords().FindGame("Hills")->SetSolution(Solution("Bob #0", 1), 1, false);
    game->OpenGame("Hills", 1, true);
    ASSERT_NE(game->BestSolution(), nullptr);
    EXPECT_TRUE(game->PlayBackSolution(true));
    EXPECT_TRUE(game->IsShowingSolution());
    EXPECT_FALSE(game->IsInPlayBack());
    EXPECT_EQ(game->GetState(), TState::Play);
    Ui.Calls.clear();
    ASSERT_TRUE(game->Move(Right, 1));
    EXPECT_EQ(game->GetState(), TState::Done);
    EXPECT_EQ(std::count(Ui.Calls.begin(), Ui.Calls.end(), "LevelSolved"), 0);
    EXPECT_EQ(game->GetRecords().GetLog().Count(), 0u);
    EXPECT_EQ(game->GetRecords().GetSolution("Hills", 1)->GetPlayer(), "Bob #0");
    // Laying the level out again ends the aid.
    game->SetLevel(1);
    EXPECT_FALSE(game->IsShowingSolution());
    // Without a stored solution nothing is shown.
    game->KillLevelSolution(1);
    EXPECT_FALSE(game->PlayBackSolution(true));
    EXPECT_FALSE(game->IsShowingSolution());
}

TEST_F(FullGame, KillingALevelSolutionLeavesGameRecordsAndLog) {
    WriteSimpleGame("Hills", 2);
    auto game = Start();
    game->OpenGame("Hills", 1, true);
    game->Move(Right, 1);
    game->Move(Right, 1);
    EXPECT_TRUE(game->KillLevelSolution(1));
    const TAllGames& records = game->GetRecords();
    EXPECT_EQ(records.GetSolution("Hills", 1), nullptr);
    EXPECT_EQ(game->GetGame().GetSolution(1), nullptr);
    EXPECT_EQ(records.PlayerSteps("Hills", 1, "Ann #0"), 0);
    EXPECT_EQ(records.PlayerSteps("Hills", 2, "Ann #0"), 1);
    EXPECT_FALSE(game->KillLevelSolution(1));
}

TEST_F(FullGame, DeletingAGameRemovesItsFileAndRecords) {
    WriteSimpleGame("Hills", 2);
    WriteSimpleGame("Dunes", 2);
    auto game = Start();
    game->OpenGame("Hills", 1, true);
    game->Move(Right, 1);
    game->DeleteGame();
    EXPECT_FALSE(fs::exists(Folders().GamesFolder / "hills.tbg"));
    EXPECT_EQ(game->FindGame("Hills"), nullptr);
    EXPECT_EQ(game->GameCount(), 1);
    EXPECT_EQ(game->GetRecords().GetLog().Count(), 0u);
    EXPECT_EQ(game->GetState(), TState::None);
}

TEST_F(FullGame, RenamingAndSavingMovesTheFileAndKeepsTheRecords) {
    WriteSimpleGame("Hills", 3);
    auto game = Start();
    game->OpenGame("Hills", 1, true);
    game->Move(Right, 1); // level 1 solved and logged
    game->Move(Right, 1); // level 2 too
    game->EnterEditMode();
    game->SetGameInfo("Green Hills", 3, "Ann");
    EXPECT_EQ(game->GetOldGameName(), "Hills");
    // Level 2 changes: its solution and its log entries go.
    game->SelectLevel(2);
    game->SetCell(TPos(10, 10), Wall);
    game->SelectLevel(1);
    game->SaveEditedGame();
    EXPECT_EQ(game->GetOldGameName(), "");
    const fs::path games = Folders().GamesFolder;
    EXPECT_FALSE(fs::exists(games / "hills.tbg"));
    ASSERT_TRUE(fs::exists(games / "green_hills.tbg"));
    const TAllGames& records = game->GetRecords();
    EXPECT_EQ(records.FindGame("Hills"), nullptr);
    ASSERT_NE(records.FindGame("Green Hills"), nullptr);
    EXPECT_EQ(records.FindGame("Green Hills")->Skill, 3);
    EXPECT_NE(records.GetSolution("Green Hills", 1), nullptr);
    EXPECT_EQ(records.GetSolution("Green Hills", 2), nullptr);
    EXPECT_EQ(records.PlayerSteps("Green Hills", 1, "Ann #0"), 1);
    EXPECT_EQ(records.PlayerSteps("Green Hills", 2, "Ann #0"), 0);
    // And the next run sees the same.
    TAllGames next;
    EXPECT_NE(next.GetSolution("Green Hills", 1), nullptr);
    EXPECT_EQ(next.FindGame("Hills"), nullptr);
    EXPECT_EQ(next.PlayerSteps("Green Hills", 1, "Ann #0"), 1);
}

TEST_F(FullGame, PlayAllSolutionsConfirmsFreshSolutionsOnceAndStopsAtAFailure) {
    WriteSimpleGame("Hills", 2);
    WriteSimpleGame("Dunes", 2);
    WriteSimpleGame("Woods", 1);
    WriteFile(Settings("tobbin.sol"), SolFile({SolLine("Bob #0", "Woods", 1, 1)}));
    WriteFile(Settings("new.sox"),
              SolFile({SolLine("Cy #0", "Hills", 1, 1), SolLine("Cy #0", "Hills", 2, 1),
                       SolLine("Cy #0", "Dunes", 2, 1)}));
    auto game = Start();
    game->AllLevels = true;
    EXPECT_EQ(game->PlayAllSolutions(true), 3);
    EXPECT_TRUE(game->AllSolutionsConfirmed());
    EXPECT_FALSE(game->IsAutoPlay());
    EXPECT_EQ(game->GetRecords().FindGame("Hills")->SolvedSet(true), 0);
    EXPECT_EQ(game->GetRecords().GetLog().Count(), 0u); // replays are not results
    EXPECT_EQ(game->PlayAllSolutions(true), 0);
    EXPECT_EQ(game->PlayAllSolutions(false), 4);

    // A stored solution that does not solve its level stops the run there.
    TAllGames& records = game->GetRecords();
    records.DeleteSolution("Hills", 2);
    EXPECT_FALSE(records.AddSolution(Solution("Cy #0", 1, Left), "Hills", 2));    // refused...
    records.FindGame("Hills")->SetSolution(Solution("Cy #0", 1, Left), 2, false); // ...so forced
    EXPECT_EQ(game->PlayAllSolutions(false), 2); // Dunes 2 and Hills 1 before it
    EXPECT_FALSE(game->AllSolutionsConfirmed());
    EXPECT_FALSE(game->IsAutoPlay());
    EXPECT_EQ(game->GameName(), "Hills");
    EXPECT_EQ(game->GetLevel(), 2);
}

} // namespace
} // namespace tb
