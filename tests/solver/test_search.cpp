// The solver against a plain breadth-first search, on any number of threads,
// and its limits: positions, memory, a request to stop.

#include "solver/tb_solver.h"
#include "tests/solver/solver_levels.h"

#include <gtest/gtest.h>

#include <stop_token>

namespace tb {
namespace {

using test::MakeLevel;
using test::RandomLevel;
using test::ReferenceSolve;

TEST(SolverSearch, AgreesWithPlainBreadthFirstSearchOnAnyNumberOfThreads) {
    struct TSize {
        int Width, Height, Seeds;
    };
    const TSize sizes[] = {{5, 4, 50}, {6, 5, 40}, {8, 5, 10}};
    int solved = 0, unsolvable = 0;
    for (const TSize& size : sizes) {
        for (int seed = 1; seed <= size.Seeds; ++seed) {
            const auto level =
                RandomLevel(static_cast<std::uint32_t>(seed), size.Width, size.Height);
            const TSolveResult plain = ReferenceSolve(*level, 50'000);
            if (plain.Outcome == TSolveOutcome::GaveUp) continue;
            solved += plain.Outcome == TSolveOutcome::Solved;
            unsolvable += plain.Outcome == TSolveOutcome::Unsolvable;
            const std::string where = test::Rows(*level, size.Width + 2, size.Height + 2);

            // Small segments and threads even for the smallest layers, so
            // that the sharing out is used on these small searches too.
            std::vector<TSolveResult> results;
            for (int threads : {1, 2, 3}) {
                for (bool prune : {true, false}) {
                    TSolveOptions options;
                    options.Threads = threads;
                    options.Prune = prune;
                    options.ParallelFrom = 1;
                    options.SegmentLength = threads == 3 ? 5 : 1 << 16;
                    // Two threads take the work backwards: the later positions
                    // of a layer reach a shared child first.
                    options.Backwards = threads == 2;
                    results.push_back(Solve(*level, options));
                    const TSolveResult& result = results.back();
                    ASSERT_EQ(result.Outcome, plain.Outcome) << where << threads << prune;
                    // The same one of several shortest solutions: the first in move order.
                    EXPECT_EQ(result.Moves, plain.Moves) << where << threads << prune;
                    if (!prune && plain.Outcome == TSolveOutcome::Unsolvable) {
                        EXPECT_EQ(result.Stored, plain.Stored) << where; // every position
                    }
                }
            }
            // Two threads store and expand exactly what one does; with other
            // segments the search may end at another point of the last layer.
            for (std::size_t i = 2; i < 4; ++i)
                EXPECT_EQ(std::tuple(results[i].Stored, results[i].Expanded),
                          std::tuple(results[i - 2].Stored, results[i - 2].Expanded))
                    << where << i;
            if (plain.Outcome == TSolveOutcome::Solved) {
                EXPECT_TRUE(test::Wins(*level, plain.Moves));
            }
        }
    }
    // The levels made must try both answers often enough to mean something.
    EXPECT_GE(solved, 20);
    EXPECT_GE(unsolvable, 15);
}

TEST(SolverSearch, ProvesUnsolvableWhenEveryWayIsCut) {
    // The stone can only be pushed towards the food, where it stays in the way.
    const auto pushed = MakeLevel({"########", "#H *  +#"});
    TSolveOptions plain;
    plain.Prune = false;
    const TSolveResult result = Solve(*pushed, plain);
    EXPECT_EQ(std::tuple(result.Outcome, result.Stored),
              std::tuple(TSolveOutcome::Unsolvable, ReferenceSolve(*pushed).Stored));
    EXPECT_EQ(Solve(*pushed).Outcome, TSolveOutcome::Unsolvable);

    // A hero crushed already plays no more (R R lets the upper stone roll onto him).
    const auto crushed = MakeLevel(test::CrushRows);
    crushed->HeroMove(Right);
    crushed->HeroMove(Right);
    ASSERT_TRUE(crushed->Lost());
    EXPECT_EQ(Solve(*crushed).Outcome, TSolveOutcome::Unsolvable);
}

TEST(SolverSearch, GivesUpWithinItsMemoryAndWhenAskedToStop) {
    const auto open = RandomLevel(7, 29, 16);
    const TMap& level = *open;
    const auto before = level.GetCells();

    TSolveOptions small;
    small.MemoryBudget = 2 << 20;
    small.Threads = 2;
    const TSolveResult full = Solve(level, small);
    EXPECT_EQ(std::tuple(full.Outcome, full.OutOfMemory, full.Moves.size(),
                         full.PeakBytes <= small.MemoryBudget),
              std::tuple(TSolveOutcome::GaveUp, true, 0u, true));

    std::stop_source stop;
    TSolveOptions asked;
    asked.Threads = 2;
    asked.SegmentLength = 1000;
    int calls = 0;
    asked.Stop = stop.get_token();
    asked.Progress = [&](const TSolveProgress& progress) {
        ++calls;
        if (progress.Stored > 5000) stop.request_stop();
    };
    const TSolveResult stopped = Solve(level, asked);
    EXPECT_EQ(std::tuple(stopped.Outcome, stopped.Cancelled),
              std::tuple(TSolveOutcome::GaveUp, true));
    // It stops at the end of the segment it is in: a few thousand positions on.
    EXPECT_TRUE(stopped.Stored < 5000u + 4 * 1000 + 1 && calls > 1)
        << stopped.Stored << " " << calls;
    EXPECT_EQ(level.GetCells(), before);
}

TEST(SolverSearch, RefusesThreadCountsAndSegmentsOutOfRange) {
    const auto level = MakeLevel({"#####", "#H +#"});
    TSolveOptions options;
    for (int threads : {MaxSolverThreads + 1, -1}) {
        options.Threads = threads;
        EXPECT_THROW(Solve(*level, options), std::out_of_range) << threads;
    }
    options.Threads = 0;
    options.SegmentLength = 0;
    EXPECT_THROW(Solve(*level, options), std::out_of_range);
    options.SegmentLength = 1;
    const TSolveResult result = Solve(*level, options);
    EXPECT_EQ(std::tuple(result.Outcome, result.Threads),
              std::tuple(TSolveOutcome::Solved, DefaultSolverThreads()));

    // As many threads as allowed, on a search whose table starts small.
    const auto field = RandomLevel(3, 12, 8);
    TSolveOptions one, many;
    one.Threads = 1;
    one.MaxStates = many.MaxStates = 200'000;
    many.Threads = MaxSolverThreads;
    many.ParallelFrom = 1;
    const TSolveResult alone = Solve(*field, one);
    const TSolveResult shared = Solve(*field, many);
    EXPECT_EQ(std::tuple(shared.Outcome, shared.Moves, shared.Stored),
              std::tuple(alone.Outcome, alone.Moves, alone.Stored));
    EXPECT_GT(alone.Stored, 1000u);
}

} // namespace
} // namespace tb
