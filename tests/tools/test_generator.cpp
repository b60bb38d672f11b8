// The level generator's contract: the same seed gives the same levels, and
// every level kept starts at rest, is won by a shortest solution in the asked
// range of steps, and that solution sets off every event asked for.

#include "services/d_error.h"
#include "solver/tb_solver.h"
#include "tests/solver/solver_levels.h"
#include "tools/cli/generator.h"
#include "tools/cli/moves.h"

#include <gtest/gtest.h>

namespace tb::cli {
namespace {

using test::MakeLevel;
using test::Wins;

TGenerateOptions Options(std::uint64_t seed, const char* objects, int width, int height,
                         int minSteps, int maxSteps, const char* needs = "") {
    TGenerateOptions options;
    options.Seed = seed;
    options.Count = 3;
    options.Width = width;
    options.Height = height;
    options.Objects = ParseObjects(objects);
    options.MinSteps = minSteps;
    options.MaxSteps = maxSteps;
    options.Needs = ParseMechanics(needs);
    options.MaxTries = 3000;
    return options;
}

TEST(Generator, EveryKeptLevelIsPlayableAndSolvedShortestInRangeWithTheEventsAsked) {
    const TGenerateOptions cases[] = {
        Options(11, "food:2,stone:3,grass:6,wall:2", 6, 4, 6, 20, "push"),
        Options(11, "food:2,stone:4,grass:4,wall:1", 6, 4, 5, 25, "roll"),
        Options(11, "food:2,stone:3,box1:1,box2:1,grass:5", 6, 4, 5, 25, "box"),
        Options(11, "food:2,stone:3,bomb:2,grass:5", 6, 4, 5, 25, "bomb,push"),
        Options(11, "food:3,stone:2,grass:3", 5, 3, 3, 8),
    };
    for (const TGenerateOptions& options : cases) {
        const auto levels = Generate(options);
        const std::string what = MechanicsText(options.Needs) + " " +
                                 std::to_string(options.Width) + "x" +
                                 std::to_string(options.Height);
        EXPECT_EQ(levels.size(), 3u) << what;
        if (&options == cases) { // the same seed gives the same levels
            const auto again = Generate(options);
            ASSERT_EQ(again.size(), levels.size());
            for (std::size_t i = 0; i < levels.size(); ++i)
                EXPECT_TRUE(levels[i].Map->SameCells(*again[i].Map) &&
                            levels[i].Solution == again[i].Solution);
        }
        for (const TGeneratedLevel& level : levels) {
            const TMap& map = *level.Map;
            EXPECT_TRUE(map.IsPlayable()) << what;
            const int steps = static_cast<int>(level.Solution.size());
            EXPECT_TRUE(steps >= options.MinSteps && steps <= options.MaxSteps) << steps;
            EXPECT_TRUE(Wins(map, level.Solution)) << what;
            const TSolveResult again = Solve(map);
            ASSERT_EQ(again.Outcome, TSolveOutcome::Solved);
            EXPECT_EQ(again.Moves.size(), level.Solution.size()) << "not a shortest solution";
            const unsigned events = SolutionMechanics(map, level.Solution);
            EXPECT_EQ(events, level.Mechanics);
            EXPECT_EQ(events & options.Needs, options.Needs) << what;
            EXPECT_LE(level.Forced, steps);
        }
    }
}

TEST(Generator, AShapeKeepsItsDrawnCellsAndFillsOnlyItsEmptyOnes) {
    const auto shape = MakeLevel({"#########", "#H     ##", "#--   ###", "#########"});
    TGenerateOptions options;
    options.Shape = shape.get();
    options.Count = 2;
    options.Objects = ParseObjects("food:2,stone:1,grass:0,wall:0");
    options.MinSteps = 2;
    options.MaxSteps = 20;
    const auto levels = Generate(options);
    ASSERT_EQ(levels.size(), 2u);
    for (const TGeneratedLevel& level : levels)
        for (int y = 1; y <= TMap::Height; ++y)
            for (int x = 1; x <= TMap::Width; ++x)
                EXPECT_TRUE(shape->GetCell(TPos(x, y)) == Empty ||
                            level.Map->GetCell(TPos(x, y)) == shape->GetCell(TPos(x, y)))
                    << x << "," << y;

    options.Objects = ParseObjects("food:9");
    EXPECT_THROW(Generate(options), Error) << "more objects than empty cells";
}

TEST(Generator, DottedCellsAloneTakeObjectsAndMirrorMakesTheLevelSymmetric) {
    const auto shape =
        MakeLevel({"###########", "#.. ... ..#", "#.. -H- ..#", "#--.....--#", "###########"});
    TGenerateOptions options;
    options.Shape = shape.get();
    options.Mirror = true;
    options.Count = 3;
    options.Objects = ParseObjects("food:4,stone:3,grass:2,wall:0");
    options.MinSteps = 2;
    options.MaxSteps = 40;
    const auto levels = Generate(options);
    ASSERT_EQ(levels.size(), 3u);
    for (const TGeneratedLevel& level : levels) {
        int stones = 0;
        for (int y = 1; y <= 5; ++y)
            for (int x = 1; x <= 11; ++x) {
                const std::uint8_t code = level.Map->GetCell(TPos(x, y));
                EXPECT_EQ(code, level.Map->GetCell(TPos(12 - x, y))) << x << "," << y;
                EXPECT_NE(code, Unknown);
                stones += code == Stone;
                const std::uint8_t drawn = shape->GetCell(TPos(x, y));
                if (drawn != Unknown && !IsFalling(code)) {
                    EXPECT_EQ(code, drawn) << x << "," << y;
                }
            }
        EXPECT_EQ(std::tuple(stones, level.Map->GetFoodCount()), std::tuple(3, 4));
    }
}

TEST(Generator, EventsAndForcedMovesOfASolution) {
    struct TCase {
        std::vector<std::string> Rows;
        std::vector<TDir> Moves;
        unsigned Events;
        int Forced;
    };
    const std::vector<TCase> cases = {
        // A walk along a corridor: only the first step, from the dead end, is
        // forced; after it the hero could also walk back.
        {{"#####", "#H +#", "#####"}, {Right, Right}, 0, 1},
        // A push of a stone that drops into a box.
        {{"######", "#H* +#", "###<##", "######"}, {Right, Right, Right}, MechPush | MechBox, 1},
        // A pushed stone drops onto a stone and rolls off it to the right.
        {{"########", "#H*   +#", "###   ##", "###*  ##", "########"},
         {Right, Right, Right, Right, Right},
         MechPush | MechRoll,
         1},
        // A pushed bomb falls on a stone.
        {{"######", "#H! +#", "###  #", "###*+#", "######"},
         {Right, Right, Right},
         MechPush | MechBomb,
         1},
    };
    for (const TCase& c : cases) {
        const auto level = MakeLevel(c.Rows);
        EXPECT_EQ(SolutionMechanics(*level, c.Moves), c.Events) << c.Rows[1];
        EXPECT_EQ(ForcedMoves(*level, c.Moves), c.Forced) << c.Rows[1];
    }
}

TEST(Generator, OptionListsAreReadOrRefusedClearly) {
    EXPECT_EQ(ParseMechanics("push, bomb"), MechPush | MechBomb);
    EXPECT_EQ(ParseMechanics(""), 0u);
    EXPECT_EQ(MechanicsText(MechRoll | MechBox), "roll,box");
    const TObjectCounts counts = ParseObjects("stone:7, bomb:2");
    EXPECT_EQ(std::tuple(counts.Stone, counts.Bomb, counts.Food),
              std::tuple(7, 2, TObjectCounts{}.Food));
    for (const char* bad : {"rock:2", "stone", "stone:x", "stone:201", "food:0"})
        EXPECT_THROW(ParseObjects(bad), Error) << bad;
    EXPECT_THROW(ParseMechanics("dig"), Error);
    TGenerateOptions options;
    options.MinSteps = 9;
    options.MaxSteps = 5;
    EXPECT_THROW(Generate(options), Error);
}

TEST(CliMoves, RepeatCountsLettersOfEitherCaseAndBlanksAndTheSolutionForm) {
    EXPECT_EQ(ParseMoves("3UL2D"), (std::vector<TDir>{Up, Up, Up, Left, Down, Down}));
    EXPECT_EQ(ParseMoves(" r 2l\tD "), (std::vector<TDir>{Right, Left, Left, Down}));
    EXPECT_EQ(ParseMoves("0UD"), (std::vector<TDir>{Down})); // a count of 0 adds nothing
    EXPECT_EQ(
        std::tuple(ParseMoves("12R").size(), ParseMoves("").size(), ParseMoves("65535U").size()),
        std::tuple(12u, 0u, 65535u));
    try {
        ParseMoves("2Rx");
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "bad move letter 'x'");
    }
    // Digits without their letter; above a record's repeat count.
    for (const char* bad : {"U-D", "2R3", "65536U"})
        EXPECT_THROW(ParseMoves(bad), Error) << bad;

    EXPECT_EQ(std::tuple(MovesText({Up, Up, Up, Left, Down, Down}), MovesText({}),
                         MovesText(ParseMoves("R12LUD"))),
              std::tuple("3UL2D", "", "R12LUD"));
    EXPECT_THROW(MovesText(std::vector<TDir>(4097, Up)), Error);
}

} // namespace
} // namespace tb::cli
