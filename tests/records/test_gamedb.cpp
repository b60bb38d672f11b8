#include "records/tb_allgames.h"
#include "records/tb_gamedb.h"
#include "services/d_folders.h"
#include "tests/records/records_support.h"

#include <gtest/gtest.h>

namespace tb {
namespace {

namespace fs = std::filesystem;
using test::Holds;
using test::LogEntry;
using test::ReadFile;
using test::Settings;
using test::SolFile;
using test::SolLine;
using test::Solution;
using test::WriteFile;
using test::WriteSimpleGame;

// A header of a game with `levels` levels, as the database keeps it.
std::unique_ptr<TGamInfo> Header(const std::string& name, int levels, std::uint8_t skill = 2,
                                 const std::string& author = "Ann") {
    auto game = std::make_unique<TGamInfo>();
    game->Init(name, author, skill);
    for (int i = 0; i < levels; ++i)
        game->IncLevelCount();
    return game;
}

TEST(StartUp, ReportsEachPhaseInOrderAndAnEmptyGamesFolderGivesAnEmptyDatabase) {
    test::TempProgramFolder dir;
    std::vector<std::string> phases;
    const auto report = [&](const std::string& text) { phases.push_back(text); };
    WriteFile(Settings("tobbin.sol"), SolFile({SolLine("Ann #0", "Hills", 1, 4)}));
    TAllGames db(dir.Layout(), report);
    EXPECT_EQ(phases,
              (std::vector<std::string>{"Building game DB...", "Loading solutions...",
                                        "Populating Log DB", "Cleaning up Log DB",
                                        "Populating Hall of Champions", "Initialization done."}));
    EXPECT_EQ(std::tuple(db.GameCount(), db.TotalLevels(), db.ChampionCount(), db.AuthorCount(),
                         db.FindGame("Hills")),
              std::tuple(0, 0, 0, 0, nullptr));
    db.SaveSolutions();
    EXPECT_EQ(ReadFile(Settings("tobbin.sol")), "Version 3.54 #0\r\n");

    phases.clear();
    WriteFile(Settings("extra.sox"), SolFile({}));
    TAllGames withImport(dir.Layout(), report);
    ASSERT_EQ(phases.size(), 7u);
    EXPECT_EQ(phases[2], "Updating solutions...");
}

TEST(StartUp, GamesComeFromTheirHeadersSortedByNameAndSolutionsFromTheFile) {
    test::TempProgramFolder dir;
    WriteSimpleGame("hills", 3);
    WriteSimpleGame("Dunes", 2, "Bob", 3);
    WriteSimpleGame("Empty", 0);
    WriteFile(test::Layout().GamesFolder / "broken.tbg", "Version 3.54 #0\r\n***\r\n");
    WriteSimpleGame("Woods", 1);
    const fs::path woods = TMapSet::FilePath(dir.Layout(), "Woods");
    fs::rename(woods, woods.parent_path() / ("." + woods.filename().string())); // hidden: skipped
    WriteFile(Settings("tobbin.sol"),
              SolFile({SolLine("Ann #0", "hills", 2, 4), SolLine("Ann #0", "Nowhere", 1, 4)}));
    TAllGames db(dir.Layout());
    ASSERT_EQ(db.GameCount(), 2); // no game without levels, none with a broken header
    EXPECT_EQ(std::tuple(db.GameAt(1).Name, db.GameAt(2).Name, db.GameAt(1).Author,
                         db.GameAt(1).Skill, db.TotalLevels()),
              std::tuple("Dunes", "hills", "Bob", 3, 5));
    // Names compare exactly.
    EXPECT_EQ(std::tuple(db.IndexOfGame("hills"), db.IndexOfGame("Hills")), std::tuple(2, 0));
    ASSERT_NE(db.GetSolution("hills", 2), nullptr);
    EXPECT_EQ(std::tuple(db.GetSolution("hills", 2)->GetSteps(), db.GetSolution("hills", 1)),
              std::tuple(4, nullptr));
    EXPECT_TRUE(fs::exists(test::Layout().GamesFolder / "broken.tbg")); // left alone
    EXPECT_THROW(db.GameAt(3), std::out_of_range);
}

TEST(BestSolutions, ShorterWinsTiesOnlyFromInstallationOneAndWithdrawals) {
    test::TempProgramFolder dir;
    WriteSimpleGame("Hills", 3);
    TGameDB db(dir.Layout(), TGameDB::NoLoad{});
    db.AddGame(*Header("Hills", 3));
    const auto offer = [&](const char* player, int steps, bool installationOne = false,
                           int level = 1) {
        return db.AddSolution(Solution(player, steps), "Hills", installationOne, false, level);
    };
    EXPECT_TRUE(offer("Ann #0", 40));
    EXPECT_FALSE(db.RecordBroken); // the first solution breaks no record
    EXPECT_FALSE(offer("Bob #0", 40));
    EXPECT_TRUE(offer("Bob #0", 40, true));
    EXPECT_EQ(std::tuple(db.GetSolution("Hills", 1)->GetPlayer(), db.RecordBroken, db.PreviousSteps,
                         db.PreviousHolder),
              std::tuple("Bob #0", true, 40, "Ann #0"));
    // A tie never wins against the holder himself.
    EXPECT_FALSE(offer("Bob #0", 40, true));
    EXPECT_FALSE(db.RecordBroken); // reset by every offer
    EXPECT_TRUE(offer("Cy #0", 39));
    EXPECT_EQ(db.GetSolution("Hills", 1)->GetSteps(), 39);

    // 10000 + best steps by the holder withdraws his solution; by anyone else nothing.
    EXPECT_FALSE(offer("Bob #0", 10039));
    ASSERT_NE(db.GetSolution("Hills", 1), nullptr);
    EXPECT_TRUE(offer("Cy #0", 10039));
    EXPECT_EQ(db.GetSolution("Hills", 1), nullptr);
    EXPECT_FALSE(offer("Cy #0", 10039));

    // Unknown games, levels beyond the game, levels outside 1..9.
    EXPECT_FALSE(db.AddSolution(Solution("Ann #0", 5), "Dunes", false, false, 1));
    EXPECT_FALSE(offer("Ann #0", 5, false, 5));
    EXPECT_EQ(db.GetSolution("Hills", 5), nullptr);
    EXPECT_THROW(offer("Ann #0", 5, false, 10), std::out_of_range);
}

TEST(BestSolutions, OnlyMovesThatWinTheLevelWithTheLastMoveAreStored) {
    test::TempProgramFolder dir;
    test::WriteGame("Hills", {test::TwoSteps, test::Deadly});
    TAllGames db(dir.Layout());
    auto moves = [](const std::string& text) {
        TLevSol s(0);
        s.SetPlayer("Ann #0");
        for (char c : text)
            s.Add(static_cast<std::uint8_t>(std::string_view("UDLR").find(c)));
        return s;
    };
    const struct {
        const char* Moves;
        int Level;
        const char* Why;
    } refused[] = {
        {"R", 1, "one food left"},
        {"RRRR", 1, "the winning moves twice (a duplicated recording)"},
        {"RRL", 1, "a move after the win"},
        {"LRRRR", 1, "the win comes one move early"},
        {"L", 2, "the hero is crushed"},
        {"LRRRRRRRRRRRRRRRRR", 2, "moves after the crush"},
    };
    for (const auto& offer : refused) {
        EXPECT_FALSE(db.AddSolution(moves(offer.Moves), "Hills", offer.Level)) << offer.Why;
        EXPECT_EQ(db.GetSolution("Hills", offer.Level), nullptr) << offer.Why;
    }
    EXPECT_FALSE(fs::exists(Settings("tobbin.sol")));
    EXPECT_TRUE(db.AddSolution(moves("LRRR"), "Hills", 1)); // a step back is a real move
    EXPECT_TRUE(db.AddSolution(moves("RR"), "Hills", 1));
    TLevSol tie = moves("RR");
    tie.SetPlayer("Bob #0");
    EXPECT_FALSE(db.AddSolution(tie, "Hills", 1)); // own play never wins a tie
    EXPECT_EQ(std::tuple(db.GetSolution("Hills", 1)->GetSteps(), db.ChampionAt(1).Name),
              std::tuple(2, "Ann #0"));

    // An import file offers the same: only the winning line comes in.
    db.DeleteSolution("Hills", 1);
    WriteFile(Settings("x.sol"),
              SolFile({moves("RRRR").Line("Hills", 1, 2), moves("R").Line("Hills", 1, 2)}));
    EXPECT_FALSE(db.LoadSolutions(Settings("x.sol"), true));
    EXPECT_EQ(db.GetSolution("Hills", 1), nullptr);
    ASSERT_EQ(db.SetAside().size(), 2u);
    EXPECT_EQ(std::tuple(db.SetAside()[0].Steps, db.SetAside()[0].Unchecked), std::tuple(4, false));
}

TEST(BestSolutions, AnEditedGameBringsOnlySolutionsThatStillWinItsLevels) {
    test::TempProgramFolder dir;
    WriteSimpleGame("Hills", 2);
    TAllGames db(dir.Layout());
    TMapSet game;
    game.Load(dir.Layout(), "Hills", false);
    for (int level = 1; level <= 2; ++level) {
        ASSERT_TRUE(db.AddSolution(Solution("Ann #0", 1), "Hills", level));
        game.SetSolution(*db.GetSolution("Hills", level), level, false);
    }
    game.GetMap(2)->SetCell(TPos(4, 2), Food); // one move right no longer wins level 2
    db.AddGame(game);
    EXPECT_TRUE(db.GetSolution("Hills", 1) && !db.GetSolution("Hills", 2));
}

TEST(SolutionFiles, ChecksumsAreComparedAbove324AndInstallationOneWinsTies) {
    test::TempProgramFolder dir;
    WriteSimpleGame("Hills", 3);
    std::string bad = SolLine("Ann #0", "Hills", 1, 4);
    bad.back() = bad.back() == '1' ? '2' : '1';
    TGameDB db(dir.Layout(), TGameDB::NoLoad{});
    db.AddGame(*Header("Hills", 3));
    const auto load = [&](const std::string& line, const char* version) {
        WriteFile(Settings("a.sol"), SolFile({line}, version));
        db.LoadSolutions(Settings("a.sol"), false);
        return db.GetSolution("Hills", 1) ? db.GetSolution("Hills", 1)->GetPlayer() : "-";
    };
    EXPECT_EQ(load(bad, "Version 3.24 #0"), "Ann #0");
    db.DeleteSolution("Hills", 0);
    EXPECT_EQ(load(bad, "Version 3.25 #0"), "-"); // dropped silently
    EXPECT_FALSE(db.LastLoadDamaged());

    EXPECT_EQ(load(SolLine("Ann #0", "Hills", 1, 4), "Version 3.54 #0"), "Ann #0");
    EXPECT_EQ(load(SolLine("Bob #0", "Hills", 1, 4), "Version 3.54 #0"), "Ann #0");
    EXPECT_EQ(load(SolLine("Bob #0", "Hills", 1, 4), "Version 3.54 #1"), "Bob #0");
    EXPECT_FALSE(db.LoadSolutions(Settings("missing.sol"), true));
}

TEST(SolutionFiles, ImportsAreMergedFreshAndDeletedEvenWhenRejected) {
    test::TempProgramFolder dir;
    WriteSimpleGame("Hills", 3);
    WriteFile(Settings("tobbin.sol"), SolFile({SolLine("Ann #0", "Hills", 1, 4)}));
    WriteFile(Settings("better.sox"),
              SolFile({SolLine("Bob #0", "Hills", 1, 3), SolLine("Bob #0", "Hills", 2, 6)}));
    WriteFile(Settings("worse.SOX"), SolFile({SolLine("Cy #0", "Hills", 1, 9)}));
    TAllGames db(dir.Layout());
    EXPECT_FALSE(fs::exists(Settings("better.sox")) || fs::exists(Settings("worse.SOX")));
    EXPECT_EQ(std::tuple(db.GetSolution("Hills", 1)->GetPlayer(),
                         db.FindGame("Hills")->SolvedSet(true), db.ChampionAt(1).HasFresh),
              std::tuple("Bob #0", (1 << 1) | (1 << 2), 1));
    const std::string saved = ReadFile(Settings("tobbin.sol"));
    EXPECT_TRUE(Holds(Settings("tobbin.sol"), SolLine("Bob #0", "Hills", 1, 3)) &&
                Holds(Settings("tobbin.sol"), SolLine("Bob #0", "Hills", 2, 6)));

    // An import that changes nothing does not rewrite the solutions file.
    const auto stamp = fs::last_write_time(Settings("tobbin.sol"));
    WriteFile(Settings("same.sox"), SolFile({SolLine("Cy #0", "Hills", 1, 9)}));
    TAllGames again(dir.Layout());
    EXPECT_FALSE(fs::exists(Settings("same.sox")));
    EXPECT_EQ(
        std::tuple(ReadFile(Settings("tobbin.sol")), fs::last_write_time(Settings("tobbin.sol"))),
        std::tuple(saved, stamp));
    EXPECT_EQ(again.FindGame("Hills")->SolvedSet(true), 0); // fresh only for this run
}

TEST(Marks, AGameIsMarkedOnlyAtItsLastLevel) {
    TGameDB db(TFolders{}, TGameDB::NoLoad{});
    db.AddGame(*Header("Hills", 3));
    db.AddGame(*Header("Dunes", 1));
    const auto marks = [&](int mark, const char* game, int level) {
        db.SetMark(mark, game, level);
        return std::tuple(db.FindGame("Hills")->Mark, db.FindGame("Dunes")->Mark);
    };
    EXPECT_EQ(marks(1, "Hills", 2), std::tuple(0, 0));
    EXPECT_EQ(marks(1, "Hills", 3), std::tuple(1, 0));
    EXPECT_EQ(marks(1, "", 0), std::tuple(1, 1));
    EXPECT_EQ(marks(0, "Dunes", 0), std::tuple(1, 0));
}

TEST(RenamedGames, TheFileTakesTheNewNameUnlessThatNameIsTaken) {
    test::TempProgramFolder dir;
    WriteSimpleGame("Old Hills", 2);
    WriteSimpleGame("Old Dunes", 3);
    WriteSimpleGame("Dunes", 1);
    WriteFile(Settings("tobbin.sol"), SolFile({SolLine("Ann #0", "Old Hills", 1, 4)}));
    TFolders renaming = dir.Layout();
    renaming.Renamed.Add("old hills", "Hills");
    renaming.Renamed.Add("Old Dunes", "Dunes");
    TAllGames db(renaming);
    const fs::path games = test::Layout().GamesFolder;
    EXPECT_FALSE(fs::exists(games / "old_hills.tbg"));
    ASSERT_TRUE(fs::exists(games / "hills.tbg"));
    TMapSet moved;
    EXPECT_NO_THROW(
        moved.Load(dir.Layout(), "Hills", true)); // the header was rewritten with a fresh checksum
    EXPECT_EQ(moved.Name, "Hills");
    // "Dunes" existed: the old file is deleted and only the existing game remains.
    EXPECT_FALSE(fs::exists(games / "old_dunes.tbg"));
    ASSERT_NE(db.FindGame("Dunes"), nullptr);
    EXPECT_EQ(std::tuple(db.FindGame("Dunes")->GetLevelCount(), db.GameCount()), std::tuple(1, 2));
    // The solutions file met the old name and was rewritten with the new one.
    EXPECT_NE(db.GetSolution("Hills", 1), nullptr);
    EXPECT_NE(ReadFile(Settings("tobbin.sol")).find(SolLine("Ann #0", "Hills", 1, 4)),
              std::string::npos);
}

TEST(RenamedGames, ANewNameDifferingOnlyInCaseKeepsItsFile) {
    test::TempProgramFolder dir;
    WriteSimpleGame("hills", 2);
    TFolders renaming = dir.Layout();
    renaming.Renamed.Add("hills", "Hills");
    TGameDB db(renaming);
    ASSERT_NE(db.FindGame("Hills"), nullptr);
    TMapSet game;
    game.Load(dir.Layout(), "Hills", true);
    EXPECT_EQ(game.Name, "Hills");
}

TEST(LogCleanUp, ClaimsBelowTheBestSolutionAreCorrectedOrDropped) {
    test::TempProgramFolder dir;
    WriteSimpleGame("Hills", 3);
    WriteFile(Settings("tobbin.sol"), SolFile({SolLine("Ann #0", "Hills", 1, 35)}));
    TLogDB log(dir.Layout(), TLogDB::NoLoad{});
    log.AddOrImprove(LogEntry("Ann #0", "Hills", 1, 30)); // same player: corrected to 35
    log.AddOrImprove(LogEntry("Bob #0", "Hills", 1, 30)); // another player: dropped
    log.AddOrImprove(LogEntry("Cy #0", "Hills", 1, 35));  // as short as the best: kept
    log.AddOrImprove(LogEntry("Cy #0", "Hills", 2, 3));   // no best solution: kept
    log.AddOrImprove(LogEntry("Cy #0", "Hills", 4, 3));   // beyond the game's levels: dropped
    log.AddOrImprove(LogEntry("Cy #0", "Nowhere", 9, 1)); // a game not installed: kept
    log.Save();
    TAllGames db(dir.Layout());
    const TLogDB& cleaned = db.GetLog();
    EXPECT_EQ(std::tuple(cleaned.Count(), cleaned.PlayerSteps("Hills", 1, "Ann #0"),
                         cleaned.PlayerSteps("Hills", 1, "Bob #0"),
                         cleaned.PlayerSteps("Hills", 4, "Cy #0")),
              std::tuple(4u, 35, 0, 0));
    EXPECT_EQ(TLogDB(dir.Layout()).Count(), 4u); // and the file was rewritten
}

// Hills (3 levels) and Dunes (2), with three stored solutions.
struct Stocked : ::testing::Test {
    test::TempProgramFolder Dir;
    std::unique_ptr<TAllGames> Db;
    void SetUp() override {
        WriteSimpleGame("Hills", 3);
        WriteSimpleGame("Dunes", 2);
        WriteFile(Settings("tobbin.sol"),
                  SolFile({SolLine("Ann #0", "Hills", 1, 4), SolLine("Bob #0", "Hills", 3, 4),
                           SolLine("Ann #0", "Dunes", 2, 4)}));
        Db = std::make_unique<TAllGames>(Dir.Layout());
    }
};

TEST_F(Stocked, ExportsOneGameOrOnePlayersBestSolutions) {
    EXPECT_EQ(Db->ExportPlayer("Ann #0"), 2);
    EXPECT_EQ(ReadFile(Settings("ann_#0.sol")),
              SolFile({SolLine("Ann #0", "Dunes", 2, 4), SolLine("Ann #0", "Hills", 1, 4)}));
    EXPECT_EQ(Db->ExportGame("Hills"), 2);
    EXPECT_EQ(ReadFile(Settings("hills.sol")),
              SolFile({SolLine("Ann #0", "Hills", 1, 4), SolLine("Bob #0", "Hills", 3, 4)}));
    EXPECT_EQ(Db->ExportGame("Nowhere"), 0);
    EXPECT_FALSE(fs::exists(Settings("nowhere.sol")));
}

TEST_F(Stocked, DeletedSolutionsGamesAndPlayersLeaveTheRecords) {
    TAllGames& db = *Db;
    for (int level : {1, 3})
        db.GetLog().AddOrImprove(LogEntry("Ann #0", "Hills", level, 4));
    db.SetMark(1, "Hills", 3);
    EXPECT_TRUE(db.DeleteSolution("Hills", 3));
    EXPECT_EQ(std::tuple(db.FindGame("Hills")->Mark, db.PlayerSteps("Hills", 3, "Ann #0"),
                         db.PlayerSteps("Hills", 1, "Ann #0")),
              std::tuple(0, 0, 4));
    EXPECT_FALSE(Holds(Settings("tobbin.sol"), SolLine("Bob #0", "Hills", 3, 4)));
    EXPECT_FALSE(db.DeleteSolution("Hills", 3));
    EXPECT_FALSE(db.DeleteSolution("Nowhere", 0));

    db.DeleteGame("Hills");
    EXPECT_EQ(std::tuple(db.FindGame("Hills"), db.GameCount(), db.GetLog().Count(),
                         db.ChampionAt(1).Levels),
              std::tuple(nullptr, 1, 0u, 1));

    db.GetLog().AddOrImprove(LogEntry("Ann #0", "Hills", 1, 4));
    db.DeletePlayer("Ann #0");
    EXPECT_EQ(TLogDB(Dir.Layout()).Count(), 0u);
}

TEST(GameList, AddRenameRemoveAndSort) {
    test::TempProgramFolder dir;
    TAllGames db(dir.Layout());
    db.AddGame(*Header("beta", 2));
    db.AddGame(*Header("Alpha", 1));
    EXPECT_EQ(db.GameAt(1).Name, "beta"); // appended until the next sort
    db.SortGames();
    EXPECT_EQ(std::tuple(db.GameAt(1).Name, db.AuthorAt(1).Games), std::tuple("Alpha", 2));

    db.GetLog().AddOrImprove(LogEntry("Ann #0", "beta", 2, 3));
    EXPECT_FALSE(db.RenameGame("beta", "beta"));
    EXPECT_FALSE(db.RenameGame("gamma", "delta"));
    EXPECT_TRUE(db.RenameGame("beta", "Gamma"));
    EXPECT_EQ(std::tuple(db.IndexOfGame("Gamma"), db.FindGame("beta"),
                         db.MaxLevelReached("Gamma", "Ann #0")),
              std::tuple(2, nullptr, 2));
    EXPECT_TRUE(db.RemoveGame("Alpha"));
    EXPECT_FALSE(db.RemoveGame("Alpha"));
    EXPECT_EQ(db.IndexOfGame("Gamma"), 1);
}

TEST(PlayerLists, GameNamesByMarkAndSkillPlayersOnceEach) {
    test::TempProgramFolder dir;
    TAllGames db(dir.Layout());
    db.AddGame(*Header("Hills", 3, 1));
    db.AddGame(*Header("Dunes", 2, 3));
    db.AddGame(*Header("Woods", 1, 1));
    for (const char* player : {"Ann #0", "Bob #0", "ann #0", "Ann #7"})
        db.GetLog().AddOrImprove(LogEntry(player, "Hills", 3, 3));
    db.GetLog().AddOrImprove(LogEntry("Ann #0", "Dunes", 1, 3));
    db.SetPlayerMarks("Ann #0"); // Dunes: level 1 of 2 is not the last
    EXPECT_EQ(std::tuple(db.FindGame("Hills")->Mark, db.FindGame("Dunes")->Mark), std::tuple(1, 0));
    const auto names = [&](int mark, int skill) {
        std::vector<std::string> list{"stale"};
        db.FillGameNames(mark, skill, list);
        return list;
    };
    EXPECT_EQ(names(1, 5), std::vector<std::string>{"Hills"});
    EXPECT_EQ(names(2, 1), (std::vector<std::string>{"Hills", "Woods"}));
    EXPECT_EQ(names(0, 5), (std::vector<std::string>{"Dunes", "Woods"}));
    db.SetPlayerMarks("Bob #0");
    EXPECT_EQ(db.FindGame("Hills")->Mark, 1);
    db.SetPlayerMarks("Cy #0");
    EXPECT_EQ(db.FindGame("Hills")->Mark, 0);

    std::vector<std::string> players;
    db.FillPlayerNames(players);
    EXPECT_EQ(players, (std::vector<std::string>{"Ann", "Bob"}));
}

} // namespace
} // namespace tb
