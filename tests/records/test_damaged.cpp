// Damaged record files: whatever can be read is kept, the original of a file
// that could not be read whole is kept beside it before the first rewrite, and
// no copy of a damaged file, however damaged, brings a reader down.

#include "records/tb_allgames.h"
#include "records/tb_gamedb.h"
#include "records/tb_logdb.h"
#include "tests/records/records_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

namespace tb {
namespace {

namespace fs = std::filesystem;
using test::Damage;
using test::LogEntry;
using test::ReadFile;
using test::Settings;
using test::SolFile;
using test::SolLine;
using test::Solution;
using test::WriteFile;
using test::WriteSimpleGame;

TEST(DamagedLog, AMalformedNumberKeepsTheOtherEntriesAndTheOriginalBeforeTheRewrite) {
    test::TempProgramFolder dir;
    WriteSimpleGame("Hills", 3);
    const std::string original =
        SolFile({LogEntry("Ann #0", "Hills", 1, 5).Line(), "2 x7 5 Hills|Ann #0|123",
                 "1 2 3 Hills|Bob #0|notanumber", LogEntry("Bob #0", "Hills", 2, 4).Line()});
    WriteFile(Settings("tobbin.hof"), original);
    WriteFile(Settings("tobbin.hof.bak"), "an older backup");
    {
        TAllGames records(dir.Layout());
        EXPECT_EQ(std::tuple(records.GetLog().Count(), records.GetLog().IsDamaged()),
                  std::tuple(2u, true));
        EXPECT_EQ(ReadFile(Settings("tobbin.hof")), original); // not yet rewritten
        records.DeletePlayer("Cy #0");                         // the first rewrite
    }
    EXPECT_EQ(
        std::tuple(ReadFile(Settings("tobbin.hof.bak")), ReadFile(Settings("tobbin.hof.bak1"))),
        std::tuple("an older backup", original));
    TLogDB reread(dir.Layout());
    EXPECT_EQ(std::tuple(reread.Count(), reread.IsDamaged()), std::tuple(2u, false));
    reread.Save();
    EXPECT_FALSE(fs::exists(Settings("tobbin.hof.bak2"))); // one backup per damaged file
}

TEST(DamagedLog, ACutOffFileIsKeptAndChecksumMismatchesAreDroppedSilently) {
    test::TempProgramFolder dir;
    std::string text = SolFile(
        {LogEntry("Ann #0", "Hills", 1, 5).Line(), LogEntry("Ann #0", "Hills", 2, 5).Line()});
    text.resize(text.size() - 4); // ends in the middle of the last line's checksum
    WriteFile(Settings("tobbin.hof"), text);
    TLogDB log(dir.Layout());
    ASSERT_EQ(log.Count(), 1u);
    log.AddOrImprove(LogEntry("Bob #0", "Hills", 1, 5));
    log.Save();
    EXPECT_EQ(ReadFile(Settings("tobbin.hof.bak")), text);

    fs::remove(Settings("tobbin.hof.bak"));
    // From version 3.24 on, a line changed by hand (the time here) is dropped.
    std::string line = LogEntry("Ann #0", "Hills", 1, 5, 95).Line();
    line.replace(2, 2, "15");
    WriteFile(Settings("tobbin.hof"),
              SolFile({line, LogEntry("Bob #0", "Hills", 1, 5).Line()}, "Version 3.24 #0"));
    TLogDB mismatch(dir.Layout());
    ASSERT_EQ(std::tuple(mismatch.Count(), mismatch.IsDamaged()), std::tuple(1u, false));
    EXPECT_EQ(mismatch.EntryAt(1).Player, "Bob #0");
    mismatch.Save();
    EXPECT_FALSE(fs::exists(Settings("tobbin.hof.bak"))); // no backup
}

TEST(DamagedSolutions, ABadLineIsSkippedAndTheOriginalKeptAtTheFirstRewrite) {
    test::TempProgramFolder dir;
    WriteSimpleGame("Hills", 3);
    // ":" is level 10, "/" below "0", and a repeat count above 65535.
    const std::string original = SolFile(
        {SolLine("Ann #0", "Hills", 1, 4), ":B 4 Ann #0|Hills|4R 1", "/B 4 Ann #0|Hills|4R 1",
         "2B 4 Ann #0|Hills|99999R 1", SolLine("Ann #0", "Hills", 3, 4)});
    WriteFile(Settings("tobbin.sol"), original);
    {
        TAllGames records(dir.Layout());
        EXPECT_TRUE(records.SolutionsDamaged());
        EXPECT_TRUE(records.GetSolution("Hills", 1) && records.GetSolution("Hills", 3));
        EXPECT_EQ(ReadFile(Settings("tobbin.sol")), original);
        EXPECT_TRUE(records.AddSolution(Solution("Bob #0", 2), "Hills", 2));
        EXPECT_FALSE(records.SolutionsDamaged());
    }
    EXPECT_EQ(ReadFile(Settings("tobbin.sol.bak")), original);
    TGameDB reread(dir.Layout());
    EXPECT_TRUE(reread.GetSolution("Hills", 2) && !reread.SolutionsDamaged());

    // Damaged again with a backup already there: the next free name is used,
    // also when the rewrite is the one of the start-up itself (an import changed it).
    WriteFile(Settings("tobbin.sol"), original);
    WriteFile(Settings("more.sox"), SolFile({SolLine("Cy #0", "Hills", 2, 1)}));
    TGameDB startUp(dir.Layout());
    EXPECT_EQ(
        std::tuple(ReadFile(Settings("tobbin.sol.bak")), ReadFile(Settings("tobbin.sol.bak1"))),
        std::tuple(original, original));
    EXPECT_EQ(startUp.GetSolution("Hills", 2)->GetPlayer(), "Cy #0");
}

TEST(DamagedSolutions, ADamagedVersionLineChecksEveryLineAndACutOffFileIsNotReadWhole) {
    test::TempProgramFolder dir;
    WriteSimpleGame("Hills", 2);
    std::string bad = SolLine("Bob #0", "Hills", 2, 4);
    bad.back() = bad.back() == '9' ? '8' : '9';
    std::string cut = SolFile({SolLine("Ann #0", "Hills", 1, 4), SolLine("Ann #0", "Hills", 2, 4)});
    cut.resize(cut.size() - 3); // level 2 loses its checksum
    for (const std::string& text :
         {SolFile({SolLine("Ann #0", "Hills", 1, 4), bad}, "Version x.yz #?"), cut}) {
        WriteFile(Settings("tobbin.sol"), text);
        TGameDB db(dir.Layout());
        EXPECT_TRUE(db.SolutionsDamaged());
        EXPECT_TRUE(db.GetSolution("Hills", 1) && !db.GetSolution("Hills", 2));
        db.SaveSolutions();
        EXPECT_EQ(ReadFile(Settings("tobbin.sol.bak")), text);
        fs::remove(Settings("tobbin.sol.bak"));
    }
}

TEST(DamagedSolutions, ImportsStayWhenTheRewriteOfTheSolutionsFileFails) {
    test::TempProgramFolder dir;
    WriteSimpleGame("Hills", 2);
    WriteFile(Settings("new.sox"), SolFile({SolLine("Ann #0", "Hills", 1, 4)}));
    fs::create_directories(Settings("tobbin.sol.tmp")); // in the way of the rewrite
    EXPECT_THROW(TGameDB(dir.Layout()), std::ios_base::failure);
    EXPECT_TRUE(fs::exists(Settings("new.sox")));
    fs::remove(Settings("tobbin.sol.tmp"));
    TGameDB db(dir.Layout());
    EXPECT_FALSE(fs::exists(Settings("new.sox")));
    EXPECT_NE(db.GetSolution("Hills", 1), nullptr);
}

TEST(DamagedCopies, TheLogReaderKeepsWhatIsIntactAndNeverFails) {
    std::vector<std::string> lines;
    for (int i = 0; i < 40; ++i)
        lines.push_back(LogEntry(i % 3 ? "Ann #0" : "Bob Brown #12",
                                 "Game " + std::to_string(i / 9), 1 + i % 9, 10 + i)
                            .Line());
    std::mt19937 random(20240501);
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        const std::string original = SolFile(lines), copy = Damage(original, random);
        TLogDB log(TFolders{}, TLogDB::NoLoad{});
        ASSERT_NO_THROW(log.LoadText(copy));
        ASSERT_LE(log.Count(), lines.size());
        // A cut-off copy keeps every whole line before the cut (the version line not counted).
        if (original.starts_with(copy)) {
            ASSERT_GE(log.Count() + 1, static_cast<std::size_t>(std::ranges::count(copy, '\n')));
        }
        for (std::size_t i = 1; i <= log.Count(); ++i)
            ASSERT_TRUE(log.EntryAt(i).Level >= 1 && log.EntryAt(i).Level <= 9);
    }
}

// Five games of nine levels and a solution for every level.
class DamagedCopiesOfSolutions : public ::testing::Test {
protected:
    test::TempProgramFolder Dir;
    std::vector<std::string> Lines;

    void SetUp() override {
        for (int g = 0; g < 5; ++g) {
            WriteSimpleGame("Game " + std::to_string(g), 9);
            for (int level = 1; level <= 9; ++level)
                Lines.push_back(SolLine(g % 2 ? "Ann #0" : "Bob #3", "Game " + std::to_string(g),
                                        level, 1 + (g * 7 + level * 13) % 60));
        }
    }
};

TEST_F(DamagedCopiesOfSolutions, StartUpWithDamagedFilesKeepsGoing) {
    std::mt19937 random(5);
    TLogDB entries(Dir.Layout(), TLogDB::NoLoad{});
    for (int i = 0; i < 30; ++i)
        entries.AddOrImprove(LogEntry("Ann #0", "Game 1", 1 + i % 9, 40 + i / 9));
    for (int round = 0; round < 20; ++round) {
        WriteFile(Settings("tobbin.sol"), Damage(SolFile(Lines), random));
        WriteFile(Settings("a.sox"), Damage(SolFile(Lines), random));
        WriteFile(Settings("tobbin.hof"), Damage(entries.SaveText(), random));
        std::unique_ptr<TAllGames> records;
        ASSERT_NO_THROW(records = std::make_unique<TAllGames>(Dir.Layout())) << "round " << round;
        EXPECT_EQ(records->GameCount(), 5);
        EXPECT_FALSE(fs::exists(Settings("a.sox")));
    }
}

TEST(DamagedGames, SolutionsOfAGameWhoseHeaderCannotBeReadAreKeptUntilItIsRepaired) {
    test::TempProgramFolder dir;
    WriteSimpleGame("Hills", 2);
    WriteSimpleGame("Dunes", 1);
    const fs::path hills = test::Layout().GamesFolder / "hills.tbg";
    const std::string good = ReadFile(hills);
    const std::vector<std::string> stored = {SolLine("Ann #0", "Dunes", 1, 1),
                                             SolLine("Ann #0", "Hills", 1, 1),
                                             SolLine("Ann #0", "Hills", 2, 3)};
    WriteFile(Settings("tobbin.sol"), SolFile(stored));
    // The level-count line of Hills is damaged; an import comes in for both games.
    std::string damaged = good;
    const std::size_t count = damaged.find(" 2\r\n");
    ASSERT_NE(count, std::string::npos);
    damaged.replace(count, 4, "\r\n");
    WriteFile(hills, damaged);
    WriteFile(Settings("new.sox"),
              SolFile({SolLine("Cy #0", "Hills", 2, 2), SolLine("Cy #0", "Dunes", 1, 1)}));
    {
        TAllGames db(dir.Layout()); // Hills is not installed while it cannot be read
        EXPECT_EQ(std::tuple(db.GameCount(), db.KeptLines().size()), std::tuple(1, 3u));
        EXPECT_FALSE(fs::exists(Settings("new.sox")));
    }
    const std::string rewritten = ReadFile(Settings("tobbin.sol"));
    for (const std::string& line : {stored[1], stored[2], SolLine("Cy #0", "Hills", 2, 2)})
        EXPECT_NE(rewritten.find(line + "\r\n"), std::string::npos) << line;

    WriteFile(hills, good); // repaired
    TAllGames db(dir.Layout());
    ASSERT_EQ(db.GameCount(), 2);
    ASSERT_TRUE(db.GetSolution("Hills", 1) && db.GetSolution("Hills", 2));
    EXPECT_EQ(std::tuple(db.GetSolution("Hills", 1)->GetPlayer(),
                         db.GetSolution("Hills", 2)->GetPlayer(), db.KeptLines().size()),
              std::tuple("Ann #0", "Cy #0", 0u)); // level 2: the import's shorter one
}

TEST(DamagedGames, LinesDroppedForGoodAreKeptInABackupAtTheFirstRewrite) {
    test::TempProgramFolder dir;
    WriteSimpleGame("Dunes", 2);
    // A solution that does not win its level (one move left) and a game that is gone.
    const std::string text =
        SolFile({Solution("Ann #0", 1, 2).Line("Dunes", 1, 2), SolLine("Ann #0", "Dunes", 1, 1),
                 SolLine("Ann #0", "Gone", 1, 1)});
    WriteFile(Settings("tobbin.sol"), text);
    WriteFile(Settings("new.sox"), SolFile({SolLine("Cy #0", "Dunes", 2, 1)}));
    TGameDB db(dir.Layout());
    EXPECT_FALSE(fs::exists(Settings("new.sox")));
    EXPECT_EQ(ReadFile(Settings("tobbin.sol.bak")), text);
    EXPECT_EQ(ReadFile(Settings("tobbin.sol")),
              SolFile({SolLine("Ann #0", "Dunes", 1, 1), SolLine("Cy #0", "Dunes", 2, 1)}));
}

TEST(ReadOnlyRecords, OpeningForACheckChangesNoFile) {
    test::TempProgramFolder dir;
    WriteSimpleGame("Hills", 2);
    WriteSimpleGame("Old Dunes", 1); // renamed: its file would move
    TFolders renaming = dir.Layout();
    renaming.Renamed.Add("Old Dunes", "Dunes");
    std::string sol = SolFile({SolLine("Ann #0", "Hills", 1, 1), SolLine("Ann #0", "Gone", 1, 1)});
    sol.resize(sol.size() - 1); // cut inside its last line: would be backed up
    WriteFile(Settings("tobbin.sol"), sol);
    WriteFile(Settings("new.sox"), SolFile({SolLine("Cy #0", "Hills", 2, 1)}));
    // Level 5, which the game does not have: cleaned out at start-up.
    WriteFile(Settings("tobbin.hof"), SolFile({LogEntry("Ann #0", "Hills", 5, 1).Line()}));
    auto snapshot = [] {
        std::map<std::string, std::pair<std::string, fs::file_time_type>> files;
        for (const auto& entry : fs::recursive_directory_iterator(test::Layout().ProgramFolder))
            if (entry.is_regular_file())
                files[entry.path().string()] = {ReadFile(entry.path()), entry.last_write_time()};
        return files;
    };
    const auto before = snapshot();
    TAllGames db(renaming, {}, true);
    EXPECT_NE(db.FindGame("Dunes"), nullptr);       // renamed, in memory
    EXPECT_NE(db.GetSolution("Hills", 2), nullptr); // merged, in memory
    EXPECT_EQ(db.GetLog().Count(), 0u);             // cleaned, in memory
    db.SaveSolutions();
    EXPECT_TRUE(snapshot() == before);
}

} // namespace
} // namespace tb
