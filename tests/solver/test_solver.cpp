// The solver on levels laid out as the game lays them out.

#include "services/d_error.h"
#include "services/d_file.h"
#include "solver/tb_solver.h"
#include "tests/solver/solver_levels.h"
#include "tests/test_support.h"
#include "tests/tools/tool_levels.h"
#include "tools/cli/levelfile.h"
#include "tools/cli/moves.h"

#include <gtest/gtest.h>

namespace tb {
namespace {

using Rows = std::vector<std::string>;

// A game with one level laid out as the game lays it out.
struct TLaidOut {
    explicit TLaidOut(const Rows& rows) {
        test::WriteFile(Folder / "level.txt", test::LevelText("Test", rows));
        Game.LoadFile(Folder / "level.txt");
        Game.StartLevel(1);
    }
    test::TempFolder Folder;
    cli::TCliGame Game;
};

// Plays the moves through the game object and answers whether they win.
bool Wins(const Rows& rows, const std::vector<TDir>& moves) {
    TLaidOut level(rows);
    for (TDir dir : moves) {
        if (level.Game.GetState() == TState::Done) break;
        level.Game.Move(dir, 1);
    }
    return level.Game.GetState() == TState::Done && level.Game.GetFoodCount() == 0;
}

TSolveResult SolveRows(const Rows& rows, std::uint64_t maxStates = 1000000) {
    TLaidOut level(rows);
    TSolveOptions options;
    options.MaxStates = maxStates;
    return Solve(level.Game, options);
}

TEST(Solver, FindsTheFewestStepsOfLevelsBuiltForIt) {
    const struct {
        Rows Level;
        const char* Moves;
    } levels[] = {
        // Food on both sides: the nearer one first is 3 + 7 steps, the other way 11.
        {{"##########", "#+   H  +#"}, "3R7L"},
        // A stone that cannot be pushed into the food: the way round below it is
        // four steps, and the stone falls behind the hero.
        {{"######", "#H*+##", "# -  #"}, "D2RU"},
    };
    for (const auto& l : levels) {
        const TSolveResult result = SolveRows(l.Level);
        ASSERT_EQ(result.Outcome, TSolveOutcome::Solved);
        EXPECT_EQ(cli::MovesText(result.Moves), l.Moves);
        EXPECT_TRUE(Wins(l.Level, result.Moves));
    }
}

TEST(Solver, TreatsACrushedHeroAsADeadEnd) {
    // R R is the straight way, but crushes the hero. Stepping back first sends
    // that stone down the other side, and the lower one is pushed out of the
    // way: six steps (the way below takes eight).
    TLaidOut straight(test::CrushRows);
    straight.Game.Move(Right, 1);
    straight.Game.Move(Right, 1);
    ASSERT_EQ(straight.Game.GetCell(straight.Game.GetHeroPos()), Loser);

    const TSolveResult result = SolveRows(test::CrushRows);
    ASSERT_EQ(result.Outcome, TSolveOutcome::Solved);
    EXPECT_EQ(result.Moves.size(), 6u);
    EXPECT_TRUE(Wins(test::CrushRows, result.Moves));
}

TEST(Solver, ReportsUnsolvableGivesUpAtTheLimitAndRefusesWhatItCannotSolve) {
    // The food lies behind a wall: known before a single move is tried.
    const TSolveResult walled = SolveRows({"######", "#H #+#", "# ####"});
    EXPECT_EQ(std::tuple(walled.Outcome, walled.Stored), std::tuple(TSolveOutcome::Unsolvable, 1u));
    const Rows corridor = {"#######", "#H   +#"};
    const TSolveResult limited = SolveRows(corridor, 2);
    EXPECT_EQ(std::tuple(limited.Outcome, limited.Stored), std::tuple(TSolveOutcome::GaveUp, 2u));
    // The limit counts stored positions: the win is found without storing it.
    EXPECT_EQ(std::tuple(SolveRows(corridor, 4).Outcome, SolveRows(corridor, 3).Outcome),
              std::tuple(TSolveOutcome::Solved, TSolveOutcome::GaveUp));

    EXPECT_THROW(SolveRows({"#####", "#H  #"}), Error);          // no food
    EXPECT_THROW(SolveRows({"#####", "#H*+#", "## ##"}), Error); // a stone over a gap
    EXPECT_THROW(SolveRows(corridor, 0), std::out_of_range);
    EXPECT_THROW(SolveRows(corridor, MaxSolverStates + 1), std::out_of_range);
}

TEST(Solver, KeepsBoxesBombsAndRollsAsTheGameDoes) {
    // Each level needs the rule it shows; the solution must win in the game.
    const std::vector<Rows> levels = {
        // a bomb dropped on the stone plug opens the shaft
        {"###########", "#####!#####", "#H---- --+#", "##### #####", "#####*#####", "#+   -   +#",
         "###########"},
        // three stones fill the box, then the shaft is free
        {"#######", "#  *  #", "#  *  #", "#H *  #", "#-----#", "### ###", "###=###", "#+-+-+#",
         "#######"},
        // a pyramid that rolls off itself
        {"###########", "#    *    #", "#   ***   #", "#H-------+#", "#+ - - - +#", "###########"},
    };
    for (const auto& rows : levels) {
        const TSolveResult result = SolveRows(rows);
        ASSERT_EQ(result.Outcome, TSolveOutcome::Solved) << rows[2];
        EXPECT_TRUE(Wins(rows, result.Moves)) << cli::MovesText(result.Moves);
        EXPECT_TRUE(result.Stored > 1u && result.Expanded >= 1u);
    }
}

} // namespace
} // namespace tb
