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

// The Hall of Champions, a row a champion: name, levels, games, points, fresh.
std::vector<std::string> Rows(const TAllGames& db) {
    std::vector<std::string> rows;
    for (int i = 1; i <= db.ChampionCount(); ++i) {
        const TChamp& c = db.ChampionAt(i);
        rows.push_back(c.Name + " " + std::to_string(c.Levels) + " " + std::to_string(c.Games) +
                       " " + std::to_string(c.Points) + " " + std::to_string(c.HasFresh));
    }
    return rows;
}

TEST(Champions, PointsAreSkillPerLevelPlusLevelsTimesSkillPerWholeGame) {
    test::TempProgramFolder dir;
    WriteSimpleGame("Hills", 3, "Ann", 3);
    WriteFile(Settings("tobbin.sol"),
              SolFile({SolLine("Ann #0", "Hills", 1, 4), SolLine("Ann #0", "Hills", 2, 4),
                       SolLine("Ann #0", "Hills", 3, 4)}));
    TAllGames db(dir.Layout());
    EXPECT_EQ(Rows(db), std::vector<std::string>{"Ann #0 3 1 18 0"});
    // Level 2 unsolved: no whole game, and a row for the unsolved levels.
    db.DeleteSolution("Hills", 2);
    EXPECT_EQ(Rows(db), (std::vector<std::string>{"Ann #0 2 0 6 0", " 1 0 3 0"}));
    // Nobody: only the unsolved row.
    db.DeleteSolution("Hills", 0);
    EXPECT_EQ(Rows(db), std::vector<std::string>{" 3 0 9 0"});
    EXPECT_THROW(db.ChampionAt(2), std::out_of_range);
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
    EXPECT_EQ(Rows(db),
              (std::vector<std::string>{"Ann #0 2 1 0 0", "Bob #0 1 1 0 0", "Zed #0 1 1 0 0",
                                        "ann #0 1 1 0 0", " 9 0 36 0"}));

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

TEST(Authors, MoreGamesFirstThenMoreLevelsThenName) {
    test::TempProgramFolder dir;
    for (const auto& [game, levels, author] : {std::tuple("Big", 9, "Bob"),
                                               {"Small", 3, "Bob"},
                                               {"One", 1, "Cy"},
                                               {"Two", 1, "Cy"},
                                               {"Three", 1, "Cy"},
                                               {"Four", 2, "Al"},
                                               {"Five", 2, "Ben"}})
        WriteSimpleGame(game, levels, author);
    TAllGames db(dir.Layout());
    std::vector<std::string> rows;
    for (int i = 1; i <= db.AuthorCount(); ++i)
        rows.push_back(db.AuthorAt(i).Name + " " + std::to_string(db.AuthorAt(i).Games) + " " +
                       std::to_string(db.AuthorAt(i).Levels));
    EXPECT_EQ(rows, (std::vector<std::string>{"Cy 3 3", "Bob 2 12", "Al 1 2", "Ben 1 2"}));
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
    EXPECT_EQ(std::tuple(c.Points, c.Name), std::tuple(0, "Ann #0"));
}

} // namespace
} // namespace tb
