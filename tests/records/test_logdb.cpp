#include "records/tb_logdb.h"
#include "services/d_crc.h"
#include "services/d_folders.h"
#include "tests/records/records_support.h"

#include <gtest/gtest.h>

namespace tb {
namespace {

using test::ReadFile;
using test::Settings;
using test::WriteFile;

TLog Entry(const std::string& player, const std::string& game, int level, int steps, int time = 0) {
    TLog e;
    e.Player = player;
    e.Game = game;
    e.Level = static_cast<std::uint8_t>(level);
    e.Steps = static_cast<std::uint16_t>(steps);
    e.Time = static_cast<std::uint16_t>(time);
    return e;
}

std::string Hof(const std::vector<std::string>& lines,
                const std::string& version = "Version 3.54 #0") {
    std::string text = version + "\r\n";
    for (const auto& l : lines)
        text += l + "\r\n";
    return text;
}

TEST(LogEntry, ChecksumChainsPlayerGameTimeStepsAndLevel) {
    // Values worked out by hand from the checksum's table rule over the bytes
    // "Ann #0", "Hills", time 95 and steps 42 low byte first, and level 3 (the
    // same working gives the published 0x160B for "abc").
    const struct {
        TLog Entry;
        std::uint16_t Sum;
        const char* Line;
    } known[] = {
        {Entry("Ann #0", "Hills", 3, 42, 95), 4431, "3 95 42 Hills|Ann #0|4431"},
        {Entry("Bob #0", "Blue Sky", 1, 7, 300), 34605, "1 300 7 Blue Sky|Bob #0|34605"},
    };
    for (const auto& k : known) {
        EXPECT_EQ(k.Entry.Checksum(), k.Sum) << k.Line;
        EXPECT_EQ(k.Entry.Line(), k.Line);
    }
}

TEST(LogFile, SavesTheVersionLineAndOneLinePerEntryAndReadsThemBack) {
    test::TempProgramFolder dir;
    TLogDB log(dir.Layout(), TLogDB::NoLoad{});
    log.AddOrImprove(Entry("Ann #0", "Hills", 3, 42, 95));
    log.AddOrImprove(Entry("Bob #0", "Blue Sky", 1, 7, 300));
    log.Save();
    const std::string text = ReadFile(Settings("tobbin.hof"));
    EXPECT_EQ(text, "Version 3.54 #0\r\n3 95 42 Hills|Ann #0|4431\r\n"
                    "1 300 7 Blue Sky|Bob #0|34605\r\n");
    TLogDB again(dir.Layout());
    ASSERT_EQ(again.Count(), 2u);
    EXPECT_EQ(again.EntryAt(2).Game, "Blue Sky");
    EXPECT_EQ(again.EntryAt(2).Time, 300);
    EXPECT_FALSE(again.IsDamaged());
    EXPECT_THROW(again.EntryAt(3), std::out_of_range);
}

TEST(LogFile, RepeatedEntriesLoadAsTheBestOneInEitherOrder) {
    const std::string l50 = Entry("Ann #0", "Hills", 2, 50, 10).Line();
    const std::string l42 = Entry("Ann #0", "Hills", 2, 42, 90).Line();
    for (const auto& lines :
         {std::vector<std::string>{l50, l42}, std::vector<std::string>{l42, l50}}) {
        TLogDB log(TFolders{}, TLogDB::NoLoad{});
        log.LoadText(Hof(lines));
        ASSERT_EQ(log.Count(), 1u);
        EXPECT_EQ(log.EntryAt(1).Steps, 42);
        EXPECT_EQ(log.EntryAt(1).Time, 90);
    }
}

TEST(LogFile, OldFilesAreNotVerifiedAndGetTheInstallationSuffix) {
    TLogDB old(TFolders{}, TLogDB::NoLoad{});
    old.LoadText(Hof({"3 95 42 Hills|Ann|1", "1 5 6 Hills|Bob #7"}, "Version 3.23 #0"));
    ASSERT_EQ(old.Count(), 2u);
    EXPECT_EQ(old.EntryAt(1).Player, "Ann #0");
    EXPECT_EQ(old.EntryAt(2).Player, "Bob #7");

    // From 3.24 on a line changed by hand (the time here) disappears.
    std::string line = Entry("Ann #0", "Hills", 3, 42, 95).Line();
    line.replace(2, 2, "15");
    TLogDB checked(TFolders{}, TLogDB::NoLoad{});
    checked.LoadText(Hof({line, Entry("Bob #0", "Hills", 3, 44, 95).Line()}, "Version 3.24 #0"));
    ASSERT_EQ(checked.Count(), 1u);
    EXPECT_EQ(checked.EntryAt(1).Player, "Bob #0");
    EXPECT_FALSE(checked.IsDamaged()); // a checksum mismatch is dropped silently
}

TEST(LogFile, ALineWithoutBarEndsTheReading) {
    TLogDB log(TFolders{}, TLogDB::NoLoad{});
    log.LoadText(Hof({Entry("Ann #0", "Hills", 1, 4).Line(), "2 3 4 no bar here",
                      Entry("Bob #0", "Hills", 1, 4).Line()}));
    EXPECT_EQ(log.Count(), 1u);
    EXPECT_TRUE(log.IsDamaged());
}

TEST(LogFile, MissingFileGivesAnEmptyLog) {
    test::TempProgramFolder dir;
    TLogDB log(dir.Layout());
    EXPECT_EQ(log.Count(), 0u);
    EXPECT_FALSE(std::filesystem::exists(Settings("tobbin.hof")));
}

TEST(LogFile, RenamedGamesAreReplacedAndTheFileRewrittenAtOnce) {
    test::TempProgramFolder dir;
    RenamedGames().Clear();
    RenamedGames().Add("old hills", "Hills");
    // The checksum of a renamed entry is not compared: it was made for the old name.
    WriteFile(Settings("tobbin.hof"), Hof({Entry("Ann #0", "Old Hills", 2, 9).Line()}));
    TLogDB log(dir.Layout());
    RenamedGames().Clear();
    ASSERT_EQ(log.Count(), 1u);
    EXPECT_EQ(log.EntryAt(1).Game, "Hills");
    EXPECT_NE(ReadFile(Settings("tobbin.hof")).find(Entry("Ann #0", "Hills", 2, 9).Line()),
              std::string::npos);
}

TEST(LogResults, OnlyFewerStepsImproveAnEntry) {
    TLogDB log(TFolders{}, TLogDB::NoLoad{});
    EXPECT_TRUE(log.AddOrImprove(Entry("Ann #0", "Hills", 1, 42, 100)));
    EXPECT_FALSE(log.AddOrImprove(Entry("Ann #0", "Hills", 1, 42, 50)));
    EXPECT_EQ(log.EntryAt(1).Time, 100);
    EXPECT_TRUE(log.AddOrImprove(Entry("Ann #0", "Hills", 1, 41, 120)));
    EXPECT_EQ(log.EntryAt(1).Steps, 41);
    EXPECT_EQ(log.EntryAt(1).Time, 120);
    // Another level, game or player is another entry; names compare exactly.
    EXPECT_TRUE(log.AddOrImprove(Entry("Ann #0", "Hills", 2, 42)));
    EXPECT_TRUE(log.AddOrImprove(Entry("Ann #0", "hills", 1, 42)));
    EXPECT_TRUE(log.AddOrImprove(Entry("ann #0", "Hills", 1, 42)));
    EXPECT_EQ(log.Count(), 4u);
}

TEST(LogQueries, BestPlayerStepsAndHighestLevel) {
    TLogDB log(TFolders{}, TLogDB::NoLoad{});
    log.AddOrImprove(Entry("Bob #0", "Hills", 2, 30));
    log.AddOrImprove(Entry("Ann #0", "Hills", 2, 30));
    log.AddOrImprove(Entry("Ann #0", "Hills", 5, 60));
    log.AddOrImprove(Entry("Ann #0", "Dunes", 7, 60));
    std::string player = "unchanged";
    EXPECT_EQ(log.Best("Hills", 2, player), 30);
    EXPECT_EQ(player, "Bob #0"); // the first of equal results
    player = "unchanged";
    EXPECT_EQ(log.Best("Hills", 3, player), 0);
    EXPECT_EQ(player, "unchanged");
    EXPECT_EQ(log.PlayerSteps("Hills", 5, "Ann #0"), 60);
    EXPECT_EQ(log.PlayerSteps("Hills", 5, "Bob #0"), 0);
    EXPECT_EQ(log.MaxLevelReached("Hills", "Ann #0"), 5);
    EXPECT_EQ(log.MaxLevelReached("Hills", "Bob #0"), 2);
    EXPECT_EQ(log.MaxLevelReached("Hills", "Cy #0"), 0);
}

TEST(LogDeletes, GameLevelsPlayersAndRenames) {
    test::TempProgramFolder dir;
    TLogDB log(dir.Layout(), TLogDB::NoLoad{});
    log.AddOrImprove(Entry("Ann #0", "Hills", 1, 5));
    log.AddOrImprove(Entry("Ann #0", "Hills", 2, 5));
    log.AddOrImprove(Entry("Bob #0", "Dunes", 1, 5));
    // Nothing to delete: the file is not written.
    EXPECT_FALSE(log.DeleteGame("Nowhere", 0));
    EXPECT_FALSE(std::filesystem::exists(Settings("tobbin.hof")));
    EXPECT_TRUE(log.DeleteGame("Hills", 2));
    EXPECT_EQ(log.Count(), 2u);
    EXPECT_TRUE(std::filesystem::exists(Settings("tobbin.hof")));
    EXPECT_TRUE(log.DeleteGame("Hills", 0));
    ASSERT_EQ(log.Count(), 1u);
    EXPECT_EQ(TLogDB(dir.Layout()).Count(), 1u);

    log.AddOrImprove(Entry("Bob #0", "Dunes", 2, 5));
    log.AddOrImprove(Entry("Ann #0", "Dunes", 2, 5));
    EXPECT_EQ(log.DeletePlayer("Bob #0"), 2u);
    ASSERT_EQ(log.Count(), 1u);
    EXPECT_EQ(log.EntryAt(1).Player, "Ann #0");

    // A rename that brings two entries together keeps the better one.
    log.AddOrImprove(Entry("Ann #0", "Sands", 2, 3));
    log.RenameGame("Dunes", "Sands");
    ASSERT_EQ(log.Count(), 1u);
    EXPECT_EQ(log.EntryAt(1).Steps, 3);
    EXPECT_EQ(log.PlayerSteps("Sands", 2, "Ann #0"), 3);
    log.Delete(1);
    EXPECT_EQ(log.Count(), 0u);
    EXPECT_EQ(log.PlayerSteps("Sands", 2, "Ann #0"), 0);
}

} // namespace
} // namespace tb
