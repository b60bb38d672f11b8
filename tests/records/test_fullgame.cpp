#include "records/tb_fullgame.h"
#include "tests/records/records_support.h"

#include <gtest/gtest.h>

namespace tb {
namespace {

namespace fs = std::filesystem;
using test::Deadly;
using test::Holds;
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

class FullGame : public ::testing::Test {
protected:
    test::TempProgramFolder Dir;

    // The full game alone: what the play window adds around a win (the
    // announcements, the next level, the congratulations) is tested on the
    // real play-window game in tests/play.
    std::unique_ptr<TFullGame> Start(const std::string& player = "Ann #0") {
        auto game = std::make_unique<TFullGame>(Dir.Layout());
        game->SetBusy(false);
        game->SetPlayer(player);
        return game;
    }
};

TEST_F(FullGame, WinningLogsAndRecordsKillingASolutionKeepsTheLogAndDeletingTheGameAll) {
    WriteSimpleGame("Hills", 3);
    WriteSimpleGame("Dunes", 2);
    auto game = Start();
    game->OpenGame("Hills", 1, true);
    ASSERT_TRUE(game->Move(Right, 1));
    const TAllGames& records = game->GetRecords();
    ASSERT_NE(records.GetSolution("Hills", 1), nullptr);
    EXPECT_EQ(std::tuple(game->GetState(), game->GetSolvedCount(),
                         records.PlayerSteps("Hills", 1, "Ann #0"),
                         records.GetSolution("Hills", 1)->GetPlayer()),
              std::tuple(TState::Done, 1, 1, "Ann #0"));
    EXPECT_NE(game->GetGame().GetSolution(1), nullptr); // stored in the game too
    EXPECT_TRUE(Holds(Settings("tobbin.hof"), "1 0 1 Hills|Ann #0|"));
    EXPECT_TRUE(Holds(Settings("tobbin.sol"), SolLine("Ann #0", "Hills", 1, 1)));

    game->SetLevel(2);
    ASSERT_TRUE(game->Move(Right, 1));
    EXPECT_TRUE(game->KillLevelSolution(1));
    EXPECT_EQ(std::tuple(records.GetSolution("Hills", 1), game->GetGame().GetSolution(1),
                         records.PlayerSteps("Hills", 1, "Ann #0"),
                         records.PlayerSteps("Hills", 2, "Ann #0")),
              std::tuple(nullptr, nullptr, 0, 1));
    EXPECT_FALSE(game->KillLevelSolution(1));

    game->DeleteGame();
    EXPECT_EQ(std::tuple(fs::exists(Dir.Layout().GamesFolder / "hills.tbg"),
                         game->FindGame("Hills"), game->GameCount(),
                         game->GetRecords().GetLog().Count(), game->GetState()),
              std::tuple(false, nullptr, 1, 0u, TState::None));
}

TEST_F(FullGame, DyingRecordsNothing) {
    WriteGame("Rocks", {Deadly, OneStep});
    auto game = Start();
    game->OpenGame("Rocks", 1, true);
    ASSERT_TRUE(game->Move(Left, 1));
    EXPECT_EQ(std::tuple(game->GetState(), game->GetRecords().GetLog().Count(),
                         game->GetSolvedCount(), fs::exists(Settings("tobbin.hof"))),
              std::tuple(TState::Done, 0u, 0, false));
}

TEST_F(FullGame, SolvedCountFollowsTheLogThePlayerAndOnlyRises) {
    WriteSimpleGame("Hills", 6);
    {
        TLogDB log(Dir.Layout(), TLogDB::NoLoad{});
        log.AddOrImprove(test::LogEntry("Ann #0", "Hills", 5, 1));
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
    EXPECT_EQ(std::tuple(game->IsShowingSolution(), game->IsInPlayBack(), game->GetState()),
              std::tuple(true, false, TState::Play));
    ASSERT_TRUE(game->Move(Right, 1));
    EXPECT_EQ(std::tuple(game->GetState(), game->GetRecords().GetLog().Count(),
                         game->GetRecords().GetSolution("Hills", 1)->GetPlayer()),
              std::tuple(TState::Done, 0u, "Bob #0"));
    // Laying the level out again ends the aid.
    game->SetLevel(1);
    EXPECT_FALSE(game->IsShowingSolution());
    // Without a stored solution nothing is shown.
    game->KillLevelSolution(1);
    EXPECT_FALSE(game->PlayBackSolution(true));
    EXPECT_FALSE(game->IsShowingSolution());
}

TEST_F(FullGame, RenamingAndSavingMovesTheFileAndKeepsTheRecords) {
    WriteSimpleGame("Hills", 3);
    auto game = Start();
    game->OpenGame("Hills", 1, true);
    // Each level solved and logged; the play window then opens the next one.
    for (std::uint8_t level = 1; level <= 2; ++level) {
        game->SetLevel(level);
        ASSERT_TRUE(game->Move(Right, 1));
    }
    game->SetLevel(3);
    game->EnterEditMode();
    game->SetGameInfo("Green Hills", 3, "Ann");
    EXPECT_EQ(game->GetOldGameName(), "Hills");
    // Level 2 changes: its solution and its log entries go.
    game->SelectLevel(2);
    game->SetCell(TPos(10, 10), Wall);
    game->SelectLevel(1);
    game->SaveEditedGame();
    EXPECT_EQ(game->GetOldGameName(), "");
    const fs::path games = Dir.Layout().GamesFolder;
    EXPECT_FALSE(fs::exists(games / "hills.tbg"));
    ASSERT_TRUE(fs::exists(games / "green_hills.tbg"));
    ASSERT_NE(game->GetRecords().FindGame("Green Hills"), nullptr);
    EXPECT_EQ(game->GetRecords().FindGame("Green Hills")->Skill, 3);
    TAllGames next(Dir.Layout()); // and the next run sees the same
    for (const TAllGames* records : std::array<const TAllGames*, 2>{&game->GetRecords(), &next})
        EXPECT_EQ(std::tuple(records->FindGame("Hills"), !records->GetSolution("Green Hills", 1),
                             records->GetSolution("Green Hills", 2),
                             records->PlayerSteps("Green Hills", 1, "Ann #0"),
                             records->PlayerSteps("Green Hills", 2, "Ann #0")),
                  std::tuple(nullptr, false, nullptr, 1, 0));
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
    EXPECT_EQ(game->PlayAllSolutions(true), 3); // replays are not results
    EXPECT_EQ(std::tuple(game->AllSolutionsConfirmed(), game->IsAutoPlay(),
                         game->GetRecords().FindGame("Hills")->SolvedSet(true),
                         game->GetRecords().GetLog().Count()),
              std::tuple(true, false, 0, 0u));
    EXPECT_EQ(game->PlayAllSolutions(true), 0);
    EXPECT_EQ(game->PlayAllSolutions(false), 4);

    // A stored solution that does not solve its level stops the run there.
    TAllGames& records = game->GetRecords();
    records.DeleteSolution("Hills", 2);
    EXPECT_FALSE(records.AddSolution(Solution("Cy #0", 1, Left), "Hills", 2));    // refused...
    records.FindGame("Hills")->SetSolution(Solution("Cy #0", 1, Left), 2, false); // ...so forced
    EXPECT_EQ(game->PlayAllSolutions(false), 2); // Dunes 2 and Hills 1 before it
    EXPECT_EQ(std::tuple(game->AllSolutionsConfirmed(), game->IsAutoPlay(), game->GameName(),
                         game->GetLevel()),
              std::tuple(false, false, "Hills", 2));
}

} // namespace
} // namespace tb
