#include "records/tb_allgames.h"
#include "tests/records/records_support.h"

#include <gtest/gtest.h>

namespace tb {
namespace {

using test::Settings;
using test::SolFile;
using test::SolLine;
using test::WriteFile;
using test::WriteSimpleGame;

std::vector<std::string> Names(const TAllGames& db) {
    std::vector<std::string> names;
    for (int i = 1; i <= db.ChampionCount(); ++i)
        names.push_back(db.ChampionAt(i).Name);
    return names;
}

TEST(Champions, PointsAreSkillPerLevelPlusLevelsTimesSkillPerWholeGame) {
    test::TempProgramFolder dir;
    WriteSimpleGame("Hills", 3, "Ann", 3);
    WriteFile(Settings("tobbin.sol"),
              SolFile({SolLine("Ann #0", "Hills", 1, 4), SolLine("Ann #0", "Hills", 2, 4),
                       SolLine("Ann #0", "Hills", 3, 4)}));
    TAllGames db(dir.Layout());
    ASSERT_EQ(db.ChampionCount(), 1);
    EXPECT_EQ(db.ChampionAt(1).Levels, 3);
    EXPECT_EQ(db.ChampionAt(1).Games, 1);
    EXPECT_EQ(db.ChampionAt(1).Points, 18);
    EXPECT_EQ(db.ChampionAt(1).HasFresh, 0);

    // Level 2 unsolved: no whole game, and a row for the unsolved levels.
    db.DeleteSolution("Hills", 2);
    ASSERT_EQ(db.ChampionCount(), 2);
    EXPECT_EQ(db.ChampionAt(1).Name, "Ann #0");
    EXPECT_EQ(db.ChampionAt(1).Levels, 2);
    EXPECT_EQ(db.ChampionAt(1).Games, 0);
    EXPECT_EQ(db.ChampionAt(1).Points, 6);
    EXPECT_EQ(db.ChampionAt(2).Name, "");
    EXPECT_EQ(db.ChampionAt(2).Levels, 1);
    EXPECT_EQ(db.ChampionAt(2).Points, 3);
}

TEST(Champions, OrderIsPointsLevelsGamesThenNameWithTheUnsolvedLast) {
    test::TempProgramFolder dir;
    // Unrated games count levels and games but bring no points.
    WriteSimpleGame("A", 1, "X", 0);
    WriteSimpleGame("B", 2, "X", 0);
    WriteSimpleGame("C", 1, "X", 0);
    WriteSimpleGame("D", 1, "X", 0);
    WriteSimpleGame("Big", 9, "X", 4); // nobody: 36 points for the unsolved row
    WriteFile(Settings("tobbin.sol"),
              SolFile({SolLine("ann #0", "A", 1, 4, 0), SolLine("Zed #0", "C", 1, 4, 0),
                       SolLine("Bob #0", "D", 1, 4, 0), SolLine("Ann #0", "B", 1, 4, 0),
                       SolLine("Ann #0", "B", 2, 4, 0)}));
    TAllGames db(dir.Layout());
    EXPECT_EQ(Names(db), (std::vector<std::string>{"Ann #0", "Bob #0", "Zed #0", "ann #0", ""}));
    EXPECT_EQ(db.ChampionAt(1).Points, 0);
    EXPECT_EQ(db.ChampionAt(1).Games, 1);
    EXPECT_EQ(db.ChampionAt(5).Points, 36);

    // Equal points and levels: more games first.
    EXPECT_TRUE(TChampDB::Before(
        [] {
            TChamp c("Zed #0");
            c.Levels = 2;
            c.Games = 1;
            return c;
        }(),
        [] {
            TChamp c("Ann #0");
            c.Levels = 2;
            return c;
        }()));
}

TEST(Champions, NoGamesGiveEmptyTablesAndUnsolvedGamesOnlyTheUnsolvedRow) {
    test::TempProgramFolder dir;
    TAllGames none(dir.Layout());
    EXPECT_EQ(none.ChampionCount(), 0);
    EXPECT_EQ(none.AuthorCount(), 0);
    WriteSimpleGame("Hills", 2, "Ann", 1);
    TAllGames unsolved(dir.Layout());
    ASSERT_EQ(unsolved.ChampionCount(), 1);
    EXPECT_EQ(unsolved.ChampionAt(1).Name, "");
    EXPECT_EQ(unsolved.ChampionAt(1).Levels, 2);
    EXPECT_THROW(unsolved.ChampionAt(2), std::out_of_range);
}

TEST(Authors, MoreGamesFirstThenMoreLevelsThenName) {
    test::TempProgramFolder dir;
    WriteSimpleGame("Big", 9, "Bob");
    WriteSimpleGame("Small", 3, "Bob");
    WriteSimpleGame("One", 1, "Cy");
    WriteSimpleGame("Two", 1, "Cy");
    WriteSimpleGame("Three", 1, "Cy");
    WriteSimpleGame("Four", 2, "Al");
    WriteSimpleGame("Five", 2, "Ben");
    TAllGames db(dir.Layout());
    ASSERT_EQ(db.AuthorCount(), 4);
    EXPECT_EQ(db.AuthorAt(1).Name, "Cy");
    EXPECT_EQ(db.AuthorAt(1).Games, 3);
    EXPECT_EQ(db.AuthorAt(2).Name, "Bob");
    EXPECT_EQ(db.AuthorAt(2).Games, 2);
    EXPECT_EQ(db.AuthorAt(2).Levels, 12);
    EXPECT_EQ(db.AuthorAt(3).Name, "Al");
    EXPECT_EQ(db.AuthorAt(4).Name, "Ben");
}

TEST(Champions, CountersPast65535AreErrors) {
    TChamp c("Ann #0");
    c.Points = 65534;
    c.AddLevel(1, true);
    EXPECT_EQ(c.HasFresh, 1);
    c.AddLevel(0, false);
    EXPECT_EQ(c.HasFresh, 1); // never returns to 0 within one computation
    EXPECT_THROW(c.AddLevel(1, false), std::overflow_error);
    TAuthor a("Bob");
    a.Levels = 65530;
    EXPECT_THROW(a.AddGame(9), std::overflow_error);
    c.Clear();
    EXPECT_EQ(c.Points, 0);
    EXPECT_EQ(c.Name, "Ann #0");
}

} // namespace
} // namespace tb
