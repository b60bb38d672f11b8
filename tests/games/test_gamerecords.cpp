#include "engine/tb_types.h"
#include "games/tb_gambase.h"
#include "games/tb_gaminfo.h"
#include "games/tb_version.h"
#include "services/d_error.h"
#include "services/d_file.h"
#include "services/d_folders.h"
#include "services/d_messages.h"

#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace tb {
namespace {

using test::Lines;

struct Header {
    TGamBase Game;
    bool NewFormat = false;
    std::uint16_t Stored = 0;
    bool Renamed = false;
};

void Read(Header& h, const std::string& text) {
    TTextReader r(text);
    h.Renamed = h.Game.ReadHeader(r, h.NewFormat, h.Stored);
}

TLevSol Solution(const std::string& player, int steps) {
    TLevSol s;
    s.SetPlayer(player);
    for (int i = 0; i < steps; ++i)
        s.Add(static_cast<std::uint8_t>(i % 4));
    return s;
}

// A game record with `levels` levels, none solved.
void Levels(TGamInfo& g, int levels) {
    g.Init("Hills", "Ann", 2);
    for (int i = 0; i < levels; ++i)
        g.IncLevelCount();
}

} // namespace

TEST(VersionLine, GivesVersionAndInstallationOrRewinds) {
    EXPECT_EQ(VersionLine(), "Version 3.54 #0");
    TTextReader own(VersionLine() + "\r\nnext");
    const TVersionLine v = ReadVersionLine(own);
    EXPECT_EQ(v.Version, 354);
    EXPECT_EQ(v.Installation, 0);
    std::string line;
    own.ReadLine(line);
    EXPECT_EQ(line, "next");

    TTextReader other("Version 3.30 #4711\n");
    EXPECT_EQ(ReadVersionLine(other).Version, 330);
    other.Rewind();
    EXPECT_EQ(ReadVersionLine(other).Installation, 4711);
    TTextReader bare("Version 2.10\n");
    const TVersionLine b = ReadVersionLine(bare);
    EXPECT_EQ(b.Version, 210);
    EXPECT_EQ(b.Installation, 0);

    // Without a version line the first line is data again.
    TTextReader none(" version 3.54 #0\nsecond");
    const TVersionLine n = ReadVersionLine(none);
    EXPECT_EQ(n.Version, 0);
    none.ReadLine(line);
    EXPECT_EQ(line, " version 3.54 #0");
    TTextReader empty("");
    EXPECT_EQ(ReadVersionLine(empty).Version, 0);

    for (const char* damaged :
         {"Version", "Version x.yz #0", "Version 3.54 #abc", "Version 3.-4"}) {
        TTextReader r(damaged);
        EXPECT_THROW(ReadVersionLine(r), std::invalid_argument) << damaged;
    }
}

TEST(GameHeader, ChecksumOfTheExampleAndOfEmptyFields) {
    TGamBase g;
    g.Init("Hills", "Ann", 2);
    for (int i = 0; i < 3; ++i)
        g.IncLevelCount();
    EXPECT_EQ(g.Checksum(), 60336);
    // An empty field adds no bytes, so the bytes of author and name simply run on.
    TGamBase run;
    run.Init("AnnHills", "", 2);
    for (int i = 0; i < 3; ++i)
        run.IncLevelCount();
    EXPECT_EQ(run.Checksum(), 60336);
    run.Init("", "", 0);
    EXPECT_NO_THROW((void)run.Checksum());
    // Every field counts.
    g.SetFlag(ReadOnly, true);
    EXPECT_NE(g.Checksum(), 60336);
}

TEST(GameHeader, CountsFlagsAndSkillAreRangeChecked) {
    TGamBase g;
    EXPECT_THROW(g.DecLevelCount(), std::overflow_error);
    for (int i = 0; i < 255; ++i)
        g.IncLevelCount();
    EXPECT_THROW(g.IncLevelCount(), std::overflow_error);
    EXPECT_EQ(g.DecLevelCount().GetLevelCount(), 254);
    EXPECT_THROW(g.Init("Hills", "Ann", 5), std::out_of_range);

    EXPECT_FALSE(g.HasFlag(8));
    EXPECT_FALSE(g.SetFlag(8, true));
    EXPECT_EQ(g.GetFlags(), 0);
    EXPECT_TRUE(g.SetFlag(ReadOnly, true));
    EXPECT_FALSE(g.SetFlag(ReadOnly, true));
    EXPECT_TRUE(g.HasFlag(ReadOnly));
    EXPECT_TRUE(g.SetFlag(7, true));
    EXPECT_EQ(g.GetFlags(), 0x81);
    TGamBase copy;
    copy.Assign(g);
    EXPECT_EQ(copy.GetFlags(), 0x81);
    EXPECT_EQ(copy.GetLevelCount(), 254);
    g.Init("Hills", "Ann", 1);
    EXPECT_EQ(g.GetFlags(), 0);
    EXPECT_EQ(g.GetLevelCount(), 0);
}

TEST(GameHeader, WrittenLinesAndTheirReadingRules) {
    TGamBase g;
    g.Init("Hills", "Ann", 0);
    TTextWriter w;
    g.WriteHeader(w, 12345);
    EXPECT_EQ(Lines(w.Content()),
              (std::vector<std::string>{"Version 3.54 #0", "Hills", "Ann", "12345 0"}));
    g.Init("Hills", "Ann", 2);
    for (int i = 0; i < 3; ++i)
        g.IncLevelCount();
    g.SetFlag(ReadOnly, true);
    TTextWriter w2;
    g.WriteHeader(w2, 7);
    EXPECT_EQ(Lines(w2.Content())[1], "** Hills");
    EXPECT_EQ(Lines(w2.Content())[3], "7 3O");

    Header h;
    Read(h, "Version 3.54 #0\n Hills\nAnn\n12345 3O\n");
    EXPECT_EQ(h.Game.Name, "Hills");
    EXPECT_EQ(h.Game.Skill, 0);
    EXPECT_EQ(h.Game.Author, "Ann");
    EXPECT_EQ(h.Stored, 12345);
    EXPECT_EQ(h.Game.GetLevelCount(), 3);
    EXPECT_TRUE(h.Game.HasFlag(ReadOnly));
    EXPECT_TRUE(h.NewFormat);
    EXPECT_EQ(h.Game.Version, 354);

    Read(h, "Version 3.29 #0\n***** Hills\n Ann \n12345 3 O\n");
    EXPECT_EQ(h.Game.Skill, 4);
    EXPECT_EQ(h.Game.Name, "Hills");
    EXPECT_EQ(h.Game.Author, " Ann ") << "the author is kept as it stands";
    EXPECT_TRUE(h.Game.HasFlag(ReadOnly));
    EXPECT_FALSE(h.NewFormat);
    TTextWriter back;
    h.Game.WriteHeader(back, h.Stored);
    EXPECT_EQ(Lines(back.Content())[3], "12345 3O");

    Read(h, "Version 3.30 #0\n*Hills\nAnn\n1 9\n");
    EXPECT_TRUE(h.NewFormat);
    EXPECT_FALSE(h.Game.HasFlag(ReadOnly)) << "flags are read afresh";
    EXPECT_EQ(h.Game.GetLevelCount(), 9);

    // Without a version line the header starts on line 1.
    Read(h, "** Hills\nAnn\n500 1\n");
    EXPECT_EQ(h.Game.Version, 0);
    EXPECT_FALSE(h.NewFormat);
    EXPECT_EQ(h.Game.Name, "Hills");
    EXPECT_EQ(h.Game.Skill, 2);
    EXPECT_EQ(h.Stored, 500);
}

TEST(GameHeader, RenamedNameIsReplaced) {
    RenamedGames().Clear();
    RenamedGames().Add("Old Hills", "Hills");
    Header h;
    Read(h, "Version 3.54 #0\n* OLD HILLS\nAnn\n1 1\n");
    RenamedGames().Clear();
    EXPECT_TRUE(h.Renamed);
    EXPECT_EQ(h.Game.Name, "Hills");
    Read(h, "Version 3.54 #0\n* Hills\nAnn\n1 1\n");
    EXPECT_FALSE(h.Renamed);
}

TEST(GameHeader, DamagedHeaderIsAReadError) {
    const std::string message = ErrorMessage(ErrReadingGame);
    for (const char* text : {
             "Version 3.54 #0\n\nAnn\n1 1\n",          // empty name line
             "Version 3.54 #0\n*** \nAnn\n1 1\n",      // stars only
             "Version 3.54 #0\n* Hills\n",             // no author
             "Version 3.54 #0\n* Hills\nAnn\n",        // no count line
             "Version 3.54 #0\n* Hills\nAnn\n12345\n", // count missing
             "Version 3.54 #0\n* Hills\nAnn\n12345 \n",
             "Version 3.54 #0\n* Hills\nAnn\nabc 3\n",
             "Version 3.54 #0\n* Hills\nAnn\n-5 3\n",
             "Version 3.54 #0\n* Hills\nAnn\n70000 3\n",
             "Version 3.54 #0\n* Hills\nAnn\n123456789012345678901234567890 3\n",
             "Version 3.54 #0\n* Hills\nAnn\n12345 :\n", // a tenth level
             "Version 3.54 #0\n* Hills\nAnn\n12345 /\n",
             "Version x.yz #0\n* Hills\nAnn\n1 1\n",
             "",
         }) {
        Header h;
        try {
            Read(h, text);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const Error& e) {
            EXPECT_EQ(e.what(), message) << text;
        }
    }
}

TEST(GameRecord, SetSolutionStoresACompactCopyWithinTheLevels) {
    TGamInfo g;
    Levels(g, 3);
    const TLevSol s = Solution("Ann #0", 7);
    g.SetSolution(s, 5, true);
    EXPECT_EQ(g.GetSolution(5), nullptr) << "level above the count";
    EXPECT_EQ(g.SolvedSet(false), 0);
    EXPECT_EQ(g.SolvedSet(true), 0);
    EXPECT_THROW(g.SetSolution(s, 0, false), std::out_of_range);
    EXPECT_THROW((void)g.GetSolution(10), std::out_of_range);

    g.SetSolution(s, 2, false);
    ASSERT_NE(g.GetSolution(2), nullptr);
    EXPECT_NE(g.GetSolution(2), &s);
    EXPECT_EQ(g.GetSolution(2)->GetCapacity(), 7);
    EXPECT_EQ(g.GetSolution(2)->Checksum(), s.Checksum());
    EXPECT_EQ(g.SolvedSet(false), 1 << 2);
    EXPECT_EQ(g.SolvedSet(true), 0);
    g.SetSolution(Solution("Bob #0", 3), 2, true);
    EXPECT_EQ(g.GetSolution(2)->GetPlayer(), "Bob #0");
    EXPECT_EQ(g.GetSolution(2)->GetCapacity(), 3);
    EXPECT_EQ(g.SolvedSet(true), 1 << 2);
    g.SetSolution(s, 2, false);
    EXPECT_EQ(g.SolvedSet(true), 1 << 2) << "a false fresh never clears the mark";
    g.SetSolution(*g.GetSolution(2), 2, false); // its own solution
    EXPECT_EQ(g.GetSolution(2)->Checksum(), s.Checksum());
    EXPECT_EQ(g.CountSolved(false), 1);
    EXPECT_EQ(g.CountSolved(true), 1);
    g.SetFresh(3, true);
    g.SetFresh(2, false);
    EXPECT_EQ(g.SolvedSet(true), 1 << 3);
    EXPECT_THROW(g.SetFresh(0, true), std::out_of_range);
}

TEST(GameRecord, DeleteSolutionAnswersWhetherOneExisted) {
    TGamInfo g;
    Levels(g, 3);
    g.SetSolution(Solution("Ann #0", 2), 1, true);
    g.SetSolution(Solution("Ann #0", 2), 3, false);
    EXPECT_FALSE(g.DeleteSolution(2));
    EXPECT_TRUE(g.DeleteSolution(1));
    EXPECT_EQ(g.GetSolution(1), nullptr);
    EXPECT_EQ(g.SolvedSet(false), 1 << 3);
    EXPECT_EQ(g.SolvedSet(true), 1 << 1) << "fresh marks are left alone";
    EXPECT_TRUE(g.DeleteSolution(0));
    EXPECT_EQ(g.SolvedSet(false), 0);
    EXPECT_FALSE(g.DeleteSolution(0));
    EXPECT_THROW(g.DeleteSolution(10), std::out_of_range);
    EXPECT_TRUE(g.SetMark(1));
    EXPECT_FALSE(g.SetMark(1));
    g.Init("New", "Ann", 1);
    EXPECT_EQ(g.Mark, 0);
    EXPECT_EQ(g.SolvedSet(true), 0);
}

TEST(GameRecord, AllSolvedByNeedsOnePlayerForEveryLevel) {
    TGamInfo g;
    EXPECT_EQ(g.AllSolvedBy(), "") << "no levels";
    Levels(g, 3);
    g.SetSolution(Solution("Ann #0", 2), 1, false);
    g.SetSolution(Solution("Ann #0", 3), 2, false);
    EXPECT_EQ(g.AllSolvedBy(), "") << "level 3 unsolved";
    g.SetSolution(Solution("Ann #0", 4), 3, false);
    EXPECT_EQ(g.AllSolvedBy(), "Ann #0");
    g.SetSolution(Solution("Ann #1", 4), 2, false);
    EXPECT_EQ(g.AllSolvedBy(), "") << "another player";
}

TEST(GameRecord, RemoveAndSwapKeepEachSolutionWithItsLevel) {
    TGamInfo g;
    Levels(g, 4);
    g.SetSolution(Solution("L1 #0", 1), 1, false);
    g.SetSolution(Solution("L2 #0", 2), 2, false);
    g.SetSolution(Solution("L3 #0", 3), 3, false);
    g.SetSolution(Solution("L4 #0", 4), 4, true);
    g.RemoveLevel(2);
    EXPECT_EQ(g.GetLevelCount(), 3);
    EXPECT_EQ(g.GetSolution(1)->GetPlayer(), "L1 #0");
    EXPECT_EQ(g.GetSolution(2)->GetPlayer(), "L3 #0");
    EXPECT_EQ(g.GetSolution(3)->GetPlayer(), "L4 #0");
    EXPECT_EQ(g.GetSolution(4), nullptr);
    EXPECT_EQ(g.SolvedSet(false), 0b1110);
    EXPECT_EQ(g.SolvedSet(true), 1 << 3) << "the fresh mark moved with its solution";
    EXPECT_THROW(g.RemoveLevel(4), std::out_of_range);
    EXPECT_THROW(g.RemoveLevel(0), std::out_of_range);

    g.DeleteSolution(1);
    g.SwapSolutions(1, 3);
    EXPECT_EQ(g.GetSolution(1)->GetPlayer(), "L4 #0");
    EXPECT_EQ(g.GetSolution(3), nullptr);
    EXPECT_EQ(g.SolvedSet(false), 0b0110);
    EXPECT_EQ(g.SolvedSet(true), 1 << 1);
    EXPECT_THROW(g.SwapSolutions(1, 10), std::out_of_range);

    g.RemoveLevel(3);
    g.RemoveLevel(1);
    EXPECT_EQ(g.GetLevelCount(), 1);
    EXPECT_EQ(g.GetSolution(1)->GetPlayer(), "L3 #0");
    EXPECT_EQ(g.SolvedSet(false), 0b0010);
    EXPECT_EQ(g.SolvedSet(true), 0);
}

TEST(GameRecord, AssignCopiesHeaderMarkAndSolutions) {
    TGamInfo source;
    Levels(source, 2);
    source.Mark = 1;
    source.SetFlag(ReadOnly, true);
    source.SetSolution(Solution("Ann #0", 5), 2, true);
    TGamInfo target;
    Levels(target, 3);
    target.SetSolution(Solution("Bob #0", 1), 1, false);
    target.Assign(source);
    EXPECT_EQ(target.Name, "Hills");
    EXPECT_EQ(target.GetLevelCount(), 2);
    EXPECT_TRUE(target.HasFlag(ReadOnly));
    EXPECT_EQ(target.Mark, 1);
    EXPECT_EQ(target.GetSolution(1), nullptr);
    ASSERT_NE(target.GetSolution(2), nullptr);
    EXPECT_EQ(target.GetSolution(2)->Checksum(), source.GetSolution(2)->Checksum());
    EXPECT_EQ(target.SolvedSet(false), 1 << 2);
    EXPECT_EQ(target.SolvedSet(true), 0) << "fresh marks are not copied";
    target.Assign(target);
    EXPECT_NE(target.GetSolution(2), nullptr);
}

TEST(GameRecord, WriteSolutionsOneLinePerSolvedLevel) {
    TGamInfo g;
    Levels(g, 3);
    TLevSol s;
    s.SetPlayer("Ann #0");
    for (std::uint8_t m : {Up, Up, Up, Left, Down, Down})
        s.Add(m);
    g.SetSolution(s, 3, false);
    g.SetSolution(s, 2, false);
    TTextWriter w;
    EXPECT_EQ(g.WriteSolutions(w), 2);
    EXPECT_EQ(w.Content(), "2B 6 Ann #0|Hills|3UL2D 59949\r\n3B 6 Ann #0|Hills|3UL2D 59949\r\n");
}

TEST(GameRecord, CompareByNameIgnoresLetterCase) {
    TGamInfo a, b;
    a.Init("apple", "X", 0);
    b.Init("Banana", "X", 0);
    EXPECT_EQ(TGamInfo::CompareByName(a, b), -1);
    EXPECT_EQ(TGamInfo::CompareByName(b, a), 1);
    b.Init("APPLE", "X", 0);
    EXPECT_EQ(TGamInfo::CompareByName(a, b), 0);
    b.Init("\xE4pfel", "X", 0); // ä sorts as Ä, after the ASCII letters
    EXPECT_EQ(TGamInfo::CompareByName(a, b), -1);
}

} // namespace tb
