#include "engine/tb_types.h"
#include "games/tb_gambase.h"
#include "games/tb_gaminfo.h"
#include "games/tb_version.h"
#include "services/d_error.h"
#include "services/d_file.h"
#include "services/d_messages.h"

#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace tb {
namespace {

using test::Lines;

struct Header {
    TGamBase Game;
    bool NewFormat = false;
    std::uint16_t Stored = 0;
};

// Reads the header and answers what was read: name|author|skill|stored|levels|flags|new|version.
std::string Read(Header& h, const std::string& text) {
    TTextReader r(text);
    (void)h.Game.ReadHeader(r, h.NewFormat, h.Stored, {});
    const TGamBase& g = h.Game;
    return g.Name + "|" + g.Author + "|" + std::to_string(g.Skill) + "|" +
           std::to_string(h.Stored) + "|" + std::to_string(g.GetLevelCount()) + "|" +
           std::to_string(g.GetFlags()) + "|" + (h.NewFormat ? "new" : "old") + "|" +
           std::to_string(g.Version);
}

// Each level's solver ("-" for none), then the solved and the fresh set.
std::string Show(const TGamInfo& g) {
    std::string text;
    for (int level = 1; level <= g.GetLevelCount(); ++level)
        text += (g.GetSolution(level) ? g.GetSolution(level)->GetPlayer() : "-") + ",";
    return text + " " + std::to_string(g.SolvedSet(false)) + " " +
           std::to_string(g.SolvedSet(true));
}

TLevSol Solution(const std::string& player, int steps) {
    TLevSol s;
    s.SetPlayer(player);
    for (int i = 0; i < steps; ++i)
        s.Add(static_cast<std::uint8_t>(i % 4));
    return s;
}

// A game record with `levels` levels, none solved.
void Levels(TGamBase& g, int levels, const std::string& name = "Hills",
            const std::string& author = "Ann") {
    g.Init(name, author, 2);
    for (int i = 0; i < levels; ++i)
        g.IncLevelCount();
}

} // namespace

TEST(VersionLine, GivesVersionAndInstallationOrRewinds) {
    EXPECT_EQ(VersionLine(), "Version 3.54 #0");
    // Without a version line the first line is data again; -1: a damaged line.
    const struct {
        const char* Text;
        int Version, Installation;
        const char* Next;
    } lines[] = {{"Version 3.54 #0\r\nnext", 354, 0, "next"},
                 {"Version 3.30 #4711\n", 330, 4711, ""},
                 {"Version 2.10\n", 210, 0, ""},
                 {" version 3.54 #0\nsecond", 0, 0, " version 3.54 #0"},
                 {"", 0, 0, ""},
                 {"Version", -1, 0, ""},
                 {"Version x.yz #0", -1, 0, ""},
                 {"Version 3.54 #abc", -1, 0, ""},
                 {"Version 3.-4", -1, 0, ""}};
    for (const auto& l : lines) {
        TTextReader r(l.Text);
        if (l.Version < 0) {
            EXPECT_THROW(ReadVersionLine(r), std::invalid_argument) << l.Text;
            continue;
        }
        const TVersionLine v = ReadVersionLine(r);
        std::string next;
        r.ReadLine(next);
        EXPECT_EQ(std::tuple(v.Version, v.Installation, next),
                  std::tuple(l.Version, l.Installation, l.Next));
    }
}

TEST(GameHeader, ChecksumCountsFlagsAndSkill) {
    TGamBase g, run;
    Levels(g, 3);
    EXPECT_EQ(g.Checksum(), 60336);
    // An empty field adds no bytes, so the bytes of author and name simply run on.
    Levels(run, 3, "AnnHills", "");
    EXPECT_EQ(run.Checksum(), 60336);
    run.Init("", "", 0);
    EXPECT_NO_THROW((void)run.Checksum());
    g.SetFlag(ReadOnly, true); // every field counts
    EXPECT_NE(g.Checksum(), 60336);

    EXPECT_THROW(run.DecLevelCount(), std::overflow_error);
    Levels(g, 255);
    EXPECT_THROW(g.IncLevelCount(), std::overflow_error);
    EXPECT_EQ(g.DecLevelCount().GetLevelCount(), 254);
    EXPECT_THROW(g.Init("Hills", "Ann", 5), std::out_of_range);
    EXPECT_FALSE(g.HasFlag(8) || g.SetFlag(8, true));
    EXPECT_EQ(g.GetFlags(), 0);
    EXPECT_TRUE(g.SetFlag(ReadOnly, true));
    EXPECT_FALSE(g.SetFlag(ReadOnly, true));
    EXPECT_TRUE(g.HasFlag(ReadOnly) && g.SetFlag(7, true));
    TGamBase copy;
    copy.Assign(g);
    EXPECT_EQ(std::tuple(g.GetFlags(), copy.GetFlags(), copy.GetLevelCount()),
              std::tuple(0x81, 0x81, 254));
    g.Init("Hills", "Ann", 1);
    EXPECT_EQ(std::tuple(g.GetFlags(), g.GetLevelCount()), std::tuple(0, 0));
}

TEST(GameHeader, WrittenLinesAndTheirReadingRules) {
    TGamBase g;
    g.Init("Hills", "Ann", 0);
    TTextWriter w;
    g.WriteHeader(w, 12345);
    EXPECT_EQ(Lines(w.Content()),
              (std::vector<std::string>{"Version 3.54 #0", "Hills", "Ann", "12345 0"}));
    Levels(g, 3);
    g.SetFlag(ReadOnly, true);
    TTextWriter w2;
    g.WriteHeader(w2, 7);
    EXPECT_EQ(Lines(w2.Content()),
              (std::vector<std::string>{"Version 3.54 #0", "** Hills", "Ann", "7 3O"}));

    // The author is kept as it stands; flags are read afresh; without a version line the
    // header starts on line 1.
    Header h;
    EXPECT_EQ(Read(h, "Version 3.54 #0\n Hills\nAnn\n12345 3O\n"), "Hills|Ann|0|12345|3|1|new|354");
    EXPECT_EQ(Read(h, "Version 3.29 #0\n***** Hills\n Ann \n12345 3 O\n"),
              "Hills| Ann |4|12345|3|1|old|329");
    TTextWriter back;
    h.Game.WriteHeader(back, h.Stored);
    EXPECT_EQ(Lines(back.Content())[3], "12345 3O");
    EXPECT_EQ(Read(h, "Version 3.30 #0\n*Hills\nAnn\n1 9\n"), "Hills|Ann|1|1|9|0|new|330");
    EXPECT_EQ(Read(h, "** Hills\nAnn\n500 1\n"), "Hills|Ann|2|500|1|0|old|0");
}

TEST(GameHeader, DamagedHeaderIsAReadError) {
    const std::string v = "Version 3.54 #0\n", hills = v + "* Hills\nAnn\n";
    // An empty name line, stars only, no author, no count line, the count missing, a bad or
    // too large checksum, a tenth level, a level below "0", a damaged version, nothing.
    for (const std::string& text :
         {v + "\nAnn\n1 1\n", v + "*** \nAnn\n1 1\n", v + "* Hills\n", hills, hills + "12345\n",
          hills + "12345 \n", hills + "abc 3\n", hills + "-5 3\n", hills + "70000 3\n",
          hills + "123456789012345678901234567890 3\n", hills + "12345 :\n", hills + "12345 /\n",
          std::string("Version x.yz #0\n* Hills\nAnn\n1 1\n"), std::string()}) {
        Header h;
        try {
            Read(h, text);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const Error& e) {
            EXPECT_EQ(e.what(), ErrorMessage(ErrReadingGame)) << text;
        }
    }
}

TEST(GameRecord, SetSolutionStoresACompactCopyWithinTheLevels) {
    TGamInfo g;
    Levels(g, 3);
    const TLevSol s = Solution("Ann #0", 7);
    g.SetSolution(s, 5, true); // a level above the count
    EXPECT_EQ(std::tuple(g.GetSolution(5), Show(g)), std::tuple(nullptr, "-,-,-, 0 0"));
    EXPECT_THROW(g.SetSolution(s, 0, false), std::out_of_range);
    EXPECT_THROW((void)g.GetSolution(10), std::out_of_range);

    g.SetSolution(s, 2, false);
    ASSERT_NE(g.GetSolution(2), nullptr);
    EXPECT_NE(g.GetSolution(2), &s);
    EXPECT_EQ(std::tuple(g.GetSolution(2)->GetCapacity(), g.GetSolution(2)->Checksum(), Show(g)),
              std::tuple(7, s.Checksum(), "-,Ann #0,-, 4 0"));
    g.SetSolution(Solution("Bob #0", 3), 2, true);
    EXPECT_EQ(std::tuple(g.GetSolution(2)->GetCapacity(), Show(g)),
              std::tuple(3, "-,Bob #0,-, 4 4"));
    g.SetSolution(s, 2, false); // a false fresh never clears the mark
    EXPECT_EQ(Show(g), "-,Ann #0,-, 4 4");
    g.SetSolution(*g.GetSolution(2), 2, false); // its own solution
    EXPECT_EQ(std::tuple(g.GetSolution(2)->Checksum(), g.CountSolved(false), g.CountSolved(true)),
              std::tuple(s.Checksum(), 1, 1));
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
    EXPECT_TRUE(g.DeleteSolution(1)); // fresh marks are left alone
    EXPECT_EQ(Show(g), "-,-,Ann #0, 8 2");
    EXPECT_TRUE(g.DeleteSolution(0));
    EXPECT_EQ(g.SolvedSet(false), 0);
    EXPECT_FALSE(g.DeleteSolution(0));
    EXPECT_THROW(g.DeleteSolution(10), std::out_of_range);
    EXPECT_TRUE(g.SetMark(1));
    EXPECT_FALSE(g.SetMark(1));
    g.Init("New", "Ann", 1);
    EXPECT_EQ(std::tuple(g.Mark, g.SolvedSet(true)), std::tuple(0, 0));
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
    g.RemoveLevel(2); // the fresh mark moves with its solution
    EXPECT_EQ(std::tuple(Show(g), g.GetSolution(4)),
              std::tuple("L1 #0,L3 #0,L4 #0, 14 8", nullptr));
    EXPECT_THROW(g.RemoveLevel(4), std::out_of_range);
    EXPECT_THROW(g.RemoveLevel(0), std::out_of_range);
    g.DeleteSolution(1);
    g.SwapSolutions(1, 3);
    EXPECT_EQ(Show(g), "L4 #0,L3 #0,-, 6 2");
    EXPECT_THROW(g.SwapSolutions(1, 10), std::out_of_range);
    g.RemoveLevel(3);
    g.RemoveLevel(1);
    EXPECT_EQ(Show(g), "L3 #0, 2 0");
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
    target.Assign(source); // fresh marks are not copied
    EXPECT_EQ(std::tuple(target.Name, target.HasFlag(ReadOnly), target.Mark, Show(target)),
              std::tuple("Hills", true, 1, "-,Ann #0, 4 0"));
    EXPECT_EQ(target.GetSolution(2)->Checksum(), source.GetSolution(2)->Checksum());
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
    EXPECT_EQ(std::pair(TGamInfo::CompareByName(a, b), TGamInfo::CompareByName(b, a)),
              std::pair(-1, 1));
    b.Init("APPLE", "X", 0);
    EXPECT_EQ(TGamInfo::CompareByName(a, b), 0);
    b.Init("\xE4pfel", "X", 0); // ä sorts as Ä, after the ASCII letters
    EXPECT_EQ(TGamInfo::CompareByName(a, b), -1);
}

} // namespace tb
