#include "records/tb_logdb.h"
#include "services/d_crc.h"
#include "services/d_folders.h"
#include "tests/records/records_support.h"

#include <gtest/gtest.h>

namespace tb {
namespace {

using test::LogEntry;
using test::ReadFile;
using test::Settings;
using test::SolFile;
using test::WriteFile;

TEST(LogFile, ChecksumsChainPlayerGameTimeStepsAndLevelAndLinesReadBack) {
    // Values worked out by hand from the checksum's table rule over the bytes
    // "Ann #0", "Hills", time 95 and steps 42 low byte first, and level 3 (the
    // same working gives the published 0x160B for "abc").
    const TLog ann = LogEntry("Ann #0", "Hills", 3, 42, 95),
               bob = LogEntry("Bob #0", "Blue Sky", 1, 7, 300);
    EXPECT_EQ(std::tuple(ann.Checksum(), bob.Checksum()), std::tuple(4431, 34605));
    test::TempProgramFolder dir;
    TLogDB log(dir.Layout(), TLogDB::NoLoad{});
    log.AddOrImprove(ann);
    log.AddOrImprove(bob);
    log.Save();
    EXPECT_EQ(ReadFile(Settings("tobbin.hof")), "Version 3.54 #0\r\n3 95 42 Hills|Ann #0|4431\r\n"
                                                "1 300 7 Blue Sky|Bob #0|34605\r\n");
    TLogDB again(dir.Layout());
    ASSERT_EQ(again.Count(), 2u);
    EXPECT_EQ(std::tuple(again.EntryAt(2).Line(), again.IsDamaged()),
              std::tuple("1 300 7 Blue Sky|Bob #0|34605", false));
    EXPECT_THROW(again.EntryAt(3), std::out_of_range);
}

TEST(LogFile, OldFilesAreNotVerifiedAndGetTheInstallationSuffix) {
    TLogDB old(TFolders{}, TLogDB::NoLoad{});
    old.LoadText(SolFile({"3 95 42 Hills|Ann|1", "1 5 6 Hills|Bob #7"}, "Version 3.23 #0"));
    ASSERT_EQ(old.Count(), 2u);
    EXPECT_EQ(std::tuple(old.EntryAt(1).Player, old.EntryAt(2).Player),
              std::tuple("Ann #0", "Bob #7"));

    // From 3.24 on a line changed by hand is dropped: DamagedLog tests it.
    // A line without a bar ends the reading.
    TLogDB log(TFolders{}, TLogDB::NoLoad{});
    log.LoadText(SolFile({LogEntry("Ann #0", "Hills", 1, 4).Line(), "2 3 4 no bar here",
                          LogEntry("Bob #0", "Hills", 1, 4).Line()}));
    EXPECT_EQ(std::tuple(log.Count(), log.IsDamaged()), std::tuple(1u, true));
}

TEST(LogFile, RenamedGamesAreReplacedAndTheFileRewrittenAtOnce) {
    test::TempProgramFolder dir;
    EXPECT_EQ(TLogDB(dir.Layout()).Count(), 0u); // a missing file gives an empty log, unwritten
    EXPECT_FALSE(std::filesystem::exists(Settings("tobbin.hof")));
    TFolders renaming = dir.Layout();
    renaming.Renamed.Add("old hills", "Hills");
    // The checksum of a renamed entry is not compared: it was made for the old name.
    WriteFile(Settings("tobbin.hof"), SolFile({LogEntry("Ann #0", "Old Hills", 2, 9).Line()}));
    TLogDB log(renaming);
    ASSERT_EQ(log.Count(), 1u);
    EXPECT_EQ(log.EntryAt(1).Game, "Hills");
    EXPECT_NE(ReadFile(Settings("tobbin.hof")).find(LogEntry("Ann #0", "Hills", 2, 9).Line()),
              std::string::npos);
}

TEST(LogResults, OnlyFewerStepsImproveAnEntryAlsoWhenLoaded) {
    TLogDB log(TFolders{}, TLogDB::NoLoad{});
    EXPECT_TRUE(log.AddOrImprove(LogEntry("Ann #0", "Hills", 1, 42, 100)));
    EXPECT_FALSE(log.AddOrImprove(LogEntry("Ann #0", "Hills", 1, 42, 50)));
    EXPECT_EQ(log.EntryAt(1).Time, 100);
    EXPECT_TRUE(log.AddOrImprove(LogEntry("Ann #0", "Hills", 1, 41, 120)));
    EXPECT_EQ(std::tuple(log.EntryAt(1).Steps, log.EntryAt(1).Time), std::tuple(41, 120));
    // Another level, game or player is another entry; names compare exactly.
    EXPECT_TRUE(log.AddOrImprove(LogEntry("Ann #0", "Hills", 2, 42)));
    EXPECT_TRUE(log.AddOrImprove(LogEntry("Ann #0", "hills", 1, 42)));
    EXPECT_TRUE(log.AddOrImprove(LogEntry("ann #0", "Hills", 1, 42)));
    EXPECT_EQ(log.Count(), 4u);

    // A file that repeats an entry loads the best one, in either order.
    const std::string l50 = LogEntry("Ann #0", "Hills", 2, 50, 10).Line();
    const std::string l42 = LogEntry("Ann #0", "Hills", 2, 42, 90).Line();
    for (const auto& lines : {std::vector{l50, l42}, std::vector{l42, l50}}) {
        TLogDB loaded(TFolders{}, TLogDB::NoLoad{});
        loaded.LoadText(SolFile(lines));
        ASSERT_EQ(loaded.Count(), 1u);
        EXPECT_EQ(loaded.EntryAt(1).Line(), l42);
    }
}

TEST(LogQueries, BestPlayerStepsAndHighestLevel) {
    TLogDB log(TFolders{}, TLogDB::NoLoad{});
    log.AddOrImprove(LogEntry("Bob #0", "Hills", 2, 30));
    log.AddOrImprove(LogEntry("Ann #0", "Hills", 2, 30));
    log.AddOrImprove(LogEntry("Ann #0", "Hills", 5, 60));
    log.AddOrImprove(LogEntry("Ann #0", "Dunes", 7, 60));
    std::string player = "unchanged", none = "unchanged";
    EXPECT_EQ(log.Best("Hills", 2, player), 30);
    EXPECT_EQ(log.Best("Hills", 3, none), 0);
    EXPECT_EQ(std::tuple(player, none), std::tuple("Bob #0", "unchanged")); // the first of equals
    EXPECT_EQ(
        std::tuple(log.PlayerSteps("Hills", 5, "Ann #0"), log.PlayerSteps("Hills", 5, "Bob #0")),
        std::tuple(60, 0));
    EXPECT_EQ(std::tuple(log.MaxLevelReached("Hills", "Ann #0"),
                         log.MaxLevelReached("Hills", "Bob #0"),
                         log.MaxLevelReached("Hills", "Cy #0")),
              std::tuple(5, 2, 0));
}

TEST(LogDeletes, GameLevelsPlayersAndRenames) {
    test::TempProgramFolder dir;
    TLogDB log(dir.Layout(), TLogDB::NoLoad{});
    log.AddOrImprove(LogEntry("Ann #0", "Hills", 1, 5));
    log.AddOrImprove(LogEntry("Ann #0", "Hills", 2, 5));
    log.AddOrImprove(LogEntry("Bob #0", "Dunes", 1, 5));
    // Nothing to delete: the file is not written.
    EXPECT_FALSE(log.DeleteGame("Nowhere", 0));
    EXPECT_FALSE(std::filesystem::exists(Settings("tobbin.hof")));
    EXPECT_TRUE(log.DeleteGame("Hills", 2));
    EXPECT_EQ(std::tuple(log.Count(), std::filesystem::exists(Settings("tobbin.hof"))),
              std::tuple(2u, true));
    EXPECT_TRUE(log.DeleteGame("Hills", 0));
    EXPECT_EQ(std::tuple(log.Count(), TLogDB(dir.Layout()).Count()), std::tuple(1u, 1u));

    log.AddOrImprove(LogEntry("Bob #0", "Dunes", 2, 5));
    log.AddOrImprove(LogEntry("Ann #0", "Dunes", 2, 5));
    EXPECT_EQ(log.DeletePlayer("Bob #0"), 2u);
    ASSERT_EQ(log.Count(), 1u);
    EXPECT_EQ(log.EntryAt(1).Player, "Ann #0");

    // A rename that brings two entries together keeps the better one.
    log.AddOrImprove(LogEntry("Ann #0", "Sands", 2, 3));
    log.RenameGame("Dunes", "Sands");
    ASSERT_EQ(log.Count(), 1u);
    EXPECT_EQ(std::tuple(log.EntryAt(1).Steps, log.PlayerSteps("Sands", 2, "Ann #0")),
              std::tuple(3, 3));
    log.Delete(1);
    EXPECT_EQ(std::tuple(log.Count(), log.PlayerSteps("Sands", 2, "Ann #0")), std::tuple(0u, 0));
}

} // namespace
} // namespace tb
