// Hints: dead ends are told as such, a search can be stopped, and the same
// position is answered at once.

#include "solver/tb_hint.h"
#include "tests/solver/solver_levels.h"

#include <gtest/gtest.h>

#include <random>
#include <stop_token>

namespace tb {
namespace {

using test::MakeLevel;
using test::RandomLevel;
using test::ReferenceSolve;
using test::TPosition;

TEST(SolverHint, TellsADeadEndAsSuch) {
    // Random walks on levels that can be won, until a position from which the
    // plain search finds no win: the hint must say so too.
    std::mt19937 random(5);
    int deadEnds = 0;
    for (std::uint32_t seed = 1; seed <= 150 && deadEnds < 5; ++seed) {
        const auto level = RandomLevel(seed, 5, 4);
        if (ReferenceSolve(*level, 20'000).Outcome != TSolveOutcome::Solved) continue;
        TPosition play(static_cast<const TMap&>(*level));
        for (int step = 0; step < 20 && !play.Won() && !play.Lost(); ++step) {
            play.HeroMove(static_cast<TDir>(random() % 4));
            if (play.Won() || play.Lost()) break;
            if (ReferenceSolve(play, 20'000).Outcome != TSolveOutcome::Unsolvable) continue;
            THinter hinter;
            EXPECT_EQ(hinter.Find(play).Outcome, TSolveOutcome::Unsolvable)
                << test::Rows(play, 9, 7);
            ++deadEnds;
            break;
        }
    }
    EXPECT_GE(deadEnds, 3);

    // Crushed: no way to win is left.
    const auto crushed = MakeLevel(test::CrushRows);
    crushed->HeroMove(Right);
    crushed->HeroMove(Right);
    ASSERT_TRUE(crushed->Lost());
    THinter hinter;
    EXPECT_EQ(hinter.Find(*crushed).Outcome, TSolveOutcome::Unsolvable);
}

TEST(SolverHint, StoppingLeavesThePositionAndForgetsTheSearch) {
    const auto level = RandomLevel(7, 29, 16);
    const auto cells = level->GetCells();
    const TPos hero = level->GetHeroPos();
    THinter hinter;
    std::stop_source stop;
    THintOptions options;
    options.Stop = stop.get_token();
    options.Progress = [&](const TSolveProgress& progress) {
        if (progress.Stored > 2000) stop.request_stop();
    };
    const THint hint = hinter.Find(*level, options);
    EXPECT_EQ(std::tuple(hint.Outcome, hint.Cancelled), std::tuple(TSolveOutcome::GaveUp, true));
    EXPECT_EQ(std::tuple(level->GetCells(), level->GetHeroPos()), std::tuple(cells, hero));
    EXPECT_FALSE(hinter.Known(*level, options.MaxStates).has_value());

    // Stopped before it starts: answers at once, remembers nothing.
    std::stop_source early;
    early.request_stop();
    THintOptions stopped;
    stopped.Stop = early.get_token();
    const auto small = MakeLevel({"#######", "#H   +#"});
    EXPECT_TRUE(hinter.Find(*small, stopped).Cancelled);
    EXPECT_FALSE(hinter.Known(*small, stopped.MaxStates).has_value());
}

TEST(SolverHint, GivesUpAtTheLimitAndRemembersForThatLimit) {
    const auto level = MakeLevel({"##########", "#H      +#", "# * * *  #", "#--------#"});
    THinter hinter;
    THintOptions options;
    options.MaxStates = 3;
    const THint hint = hinter.Find(*level, options);
    EXPECT_EQ(std::tuple(hint.Outcome, hint.Cancelled, hint.Positions),
              std::tuple(TSolveOutcome::GaveUp, false, 3u));
    ASSERT_TRUE(hinter.Known(*level, 3).has_value());
    EXPECT_TRUE(hinter.Known(*level, 3)->FromCache && !hinter.Known(*level, 4).has_value());

    options.MaxStates = 1000;
    const THint found = hinter.Find(*level, options);
    EXPECT_EQ(std::tuple(found.Outcome, found.Steps, found.Next, hinter.Known(*level, 1000)->Steps),
              std::tuple(TSolveOutcome::Solved, 7, Right, 7));
    hinter.Clear();
    EXPECT_FALSE(hinter.Known(*level, 1000).has_value());
}

} // namespace
} // namespace tb
