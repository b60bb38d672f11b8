#include "services/d_error.h"
#include "solver/tb_solver.h"
#include "tests/tools/tool_levels.h"
#include "tools/cli/levelfile.h"
#include "tools/cli/moves.h"

#include "services/d_file.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

namespace tb {
namespace {

using test::LevelText;

// A game with one level laid out as the game lays it out.
struct TLaidOut {
    explicit TLaidOut(const std::vector<std::string>& rows) {
        test::WriteFile(Folder / "level.txt", LevelText("Test", rows));
        Game.LoadFile(Folder / "level.txt");
        Game.StartLevel(1);
    }
    test::TempFolder Folder;
    cli::TCliGame Game;
};

// Plays the moves through the game object and answers whether they win.
bool Wins(const std::vector<std::string>& rows, const std::vector<TDir>& moves) {
    TLaidOut level(rows);
    for (TDir dir : moves) {
        if (level.Game.GetState() == TState::Done) break;
        level.Game.Move(dir, 1);
    }
    return level.Game.GetState() == TState::Done && level.Game.GetFoodCount() == 0;
}

TSolveResult SolveRows(const std::vector<std::string>& rows, std::uint64_t maxStates = 1000000) {
    TLaidOut level(rows);
    TSolveOptions options;
    options.MaxStates = maxStates;
    return Solve(level.Game, options);
}

TEST(Solver, FindsTheFewestStepsOfLevelsBuiltForIt) {
    // Food on both sides: the nearer one first is 3 + 7 steps, the other way 11.
    const std::vector<std::string> corridor = {"##########", "#+   H  +#"};
    TSolveResult result = SolveRows(corridor);
    ASSERT_EQ(result.Outcome, TSolveOutcome::Solved);
    EXPECT_EQ(cli::MovesText(result.Moves), "3R7L");

    // A stone that cannot be pushed into the food: the way round below it is
    // four steps, and the stone falls behind the hero.
    const std::vector<std::string> around = {"######", "#H*+##", "# -  #"};
    result = SolveRows(around);
    ASSERT_EQ(result.Outcome, TSolveOutcome::Solved);
    EXPECT_EQ(cli::MovesText(result.Moves), "D2RU");
    EXPECT_TRUE(Wins(around, result.Moves));
}

TEST(Solver, TreatsACrushedHeroAsADeadEnd) {
    // R R is the straight way, but the upper stone rolls onto the hero's head
    // there. Stepping back first sends that stone down the other side, and the
    // lower one is pushed out of the way: six steps (the way below takes eight).
    const std::vector<std::string> rows = {"#######", "##*####", "##* ###",
                                           "#H- -+#", "# # ###", "#   ###"};
    TLaidOut straight(rows);
    straight.Game.Move(Right, 1);
    straight.Game.Move(Right, 1);
    ASSERT_EQ(straight.Game.GetCell(straight.Game.GetHeroPos()), Loser);

    const TSolveResult result = SolveRows(rows);
    ASSERT_EQ(result.Outcome, TSolveOutcome::Solved);
    EXPECT_EQ(result.Moves.size(), 6u);
    EXPECT_TRUE(Wins(rows, result.Moves));
}

TEST(Solver, ReportsUnsolvableAndGivesUpAtTheLimit) {
    // The food lies behind a wall: known before a single move is tried.
    const TSolveResult walled = SolveRows({"######", "#H #+#", "# ####"});
    EXPECT_EQ(std::tuple(walled.Outcome, walled.Stored), std::tuple(TSolveOutcome::Unsolvable, 1u));
    const std::vector<std::string> corridor = {"#######", "#H   +#"};
    const TSolveResult limited = SolveRows(corridor, 2);
    EXPECT_EQ(std::tuple(limited.Outcome, limited.Stored), std::tuple(TSolveOutcome::GaveUp, 2u));
    // The limit counts stored positions: the win is found without storing it.
    EXPECT_EQ(SolveRows(corridor, 4).Outcome, TSolveOutcome::Solved);
    EXPECT_EQ(SolveRows(corridor, 3).Outcome, TSolveOutcome::GaveUp);
}

TEST(Solver, RefusesUnplayableLevelsAndLimitsOutOfRange) {
    EXPECT_THROW(SolveRows({"#####", "#H  #"}), Error);          // no food
    EXPECT_THROW(SolveRows({"#####", "#H*+#", "## ##"}), Error); // a stone over a gap
    EXPECT_THROW(SolveRows({"#####", "#H +#"}, 0), std::out_of_range);
    EXPECT_THROW(SolveRows({"#####", "#H +#"}, MaxSolverStates + 1), std::out_of_range);
}

TEST(Solver, KeepsBoxesBombsAndRollsAsTheGameDoes) {
    // Each level needs the rule it shows; the solution must win in the game.
    const std::vector<std::vector<std::string>> levels = {
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
