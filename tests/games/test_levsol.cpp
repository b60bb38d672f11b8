#include "engine/tb_levsol.h"
#include "engine/tb_types.h"
#include "services/d_file.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace tb {
namespace {

using Moves = std::vector<std::uint8_t>;

TLevSol Solution(const std::string& player, const Moves& moves) {
    TLevSol s;
    s.SetPlayer(player);
    for (std::uint8_t m : moves)
        EXPECT_TRUE(s.Add(m));
    return s;
}

Moves MovesOf(const TLevSol& s) {
    Moves moves;
    for (int i = 1; i <= s.GetSteps(); ++i)
        moves.push_back(s.GetMove(i));
    return moves;
}

struct Parsed {
    bool Ok = false;
    std::string Game;
    bool Renamed = false;
    int Level = -1;
    int Skill = -1;
};

Parsed Parse(TLevSol& s, std::string_view line, bool verify, const TRenamedGames& renames = {}) {
    Parsed p;
    p.Ok = s.ParseLine(line, p.Game, p.Renamed, verify, p.Level, p.Skill, renames);
    return p;
}

} // namespace

TEST(SolutionLine, ExampleIsWrittenByteForByteAndReadBackAndRunsAreCodedByLengthAndLetter) {
    const TLevSol s = Solution("Ann #0", {Up, Up, Up, Left, Down, Down});
    EXPECT_EQ(std::tuple(s.MovesText(), s.Line("Hills", 2, 2)),
              std::tuple("3UL2D", "2B 6 Ann #0|Hills|3UL2D 59949"));
    TTextWriter w;
    s.WriteLine(w, "Hills", 2, 2);
    EXPECT_EQ(w.Content(), "2B 6 Ann #0|Hills|3UL2D 59949\r\n");

    TTextReader r(w.Content());
    TLevSol back;
    std::string game;
    bool renamed = true;
    int level = 0, skill = 0;
    ASSERT_TRUE(back.ReadLine(r, game, renamed, true, level, skill));
    EXPECT_EQ(std::tuple(game, renamed, level, skill, back.GetPlayer(), back.Checksum()),
              std::tuple("Hills", false, 2, 2, "Ann #0", 59949));
    EXPECT_EQ(MovesOf(back), MovesOf(s));
    EXPECT_FALSE(back.ReadLine(r, game, renamed, true, level, skill)) << "no line left";

    EXPECT_EQ(std::tuple(Solution("P #0", Moves(12, Right)).MovesText(),
                         Solution("P #0", {Right}).MovesText(),
                         Solution("P #0", {Up, Down, Left, Right, Right}).MovesText()),
              std::tuple("12R", "R", "UDL2R"));
    const TLevSol empty = Solution("P #0", {}); // skill 0 is "@"
    EXPECT_EQ(empty.Line("G", 1, 0), "1@ 0 P #0|G| " + std::to_string(empty.Checksum()));
    EXPECT_THROW((void)empty.Line("G", 1, 5), std::out_of_range);
}

TEST(SolutionLine, DecodesCountsLettersAndSkipsOtherCharacters) {
    // Trailing digits without a letter and a count of 0 add nothing, other characters are
    // skipped without ending a count, and the count starts afresh after each letter.
    for (const auto& [text, expected] : {std::pair("2R3", Moves{Right, Right}),
                                         {"U-x-D", {Up, Down}},
                                         {"0UR", {Right}},
                                         {"2U3D", {Up, Up, Down, Down, Down}},
                                         {"1x2R", Moves(12, Right)}}) {
        const std::string line = "1A " + std::to_string(expected.size()) + " Ann #0|G|" + text +
                                 " " + std::to_string(Solution("Ann #0", expected).Checksum());
        TLevSol s;
        EXPECT_TRUE(Parse(s, line, true).Ok) << text;
        EXPECT_EQ(MovesOf(s), expected) << text;
    }
}

TEST(SolutionLine, StepCountAboveTenThousandCarriesNoMoves) {
    TLevSol s;
    Parsed p = Parse(s, "3C 10001 Ann #0|Hills|garbage 3UL without checksum", true);
    EXPECT_EQ(std::tuple(p.Ok, p.Game, p.Level, p.Skill, s.GetSteps(), s.MovesText()),
              std::tuple(true, "Hills", 3, 3, 10001, ""));
    EXPECT_THROW((void)s.GetMove(1), std::out_of_range);
    // Written back it stays a line without moves, and a compact copy holds none.
    const std::string line = s.Line(p.Game, p.Level, p.Skill);
    EXPECT_EQ(line.substr(0, 23), "3C 10001 Ann #0|Hills| ");
    TLevSol copy;
    copy.Assign(s, false);
    EXPECT_EQ(std::tuple(copy.GetSteps(), copy.Checksum()), std::tuple(10001, s.Checksum()));
    EXPECT_TRUE(Parse(copy, line, true).Ok);
    EXPECT_EQ(copy.GetSteps(), 10001);

    // Exactly 10000 is an ordinary line: its moves are decoded and its checksum tested.
    EXPECT_FALSE(Parse(s, "1A 10000 Ann #0|Hills|3U 1", true).Ok);
    EXPECT_TRUE(Parse(s, "1A 10000 Ann #0|Hills|3U 1", false).Ok);
    EXPECT_EQ(s.GetSteps(), 3);
}

TEST(SolutionLine, SkillLettersOutsideAToDGiveZeroAndIndexErrorsAreOutOfRange) {
    TLevSol s;
    for (const auto& [line, skill] : {std::pair("1@ 1 P|G|U 0", 0), std::pair("1E 1 P|G|U 0", 0),
                                      std::pair("1a 1 P|G|U 0", 0), std::pair("1D 1 P|G|U 0", 4)})
        EXPECT_EQ(Parse(s, line, false).Skill, skill) << line;
    EXPECT_EQ(Parse(s, "9A 1 P|G|U 0", false).Level, 9);

    // A level below "0", counts past 16 bits, more than 4096 moves (also from a count
    // within 16 bits), a step count past 16 bits.
    for (const char* line :
         {" B 1 P|G|U 0", "1A 1 P|G|65536U 0", "1A 1 P|G|99999999999999999999U 0",
          "1A 1 P|G|4097R 0", "1A 1 P|G|4000R97L 0", "1A 1 P|G|65535U 0", "1A 70000 P|G|U 0"})
        EXPECT_THROW(Parse(s, line, false), std::out_of_range) << line;
    EXPECT_TRUE(Parse(s, "1A 1 P|G|4000R96L 0", false).Ok);
    EXPECT_EQ(std::tuple(s.GetSteps(), s.GetMove(4096)), std::tuple(4096, Left));
    // A solution with a smaller buffer refuses a line with more moves than it holds.
    TLevSol small(5);
    EXPECT_THROW(Parse(small, "1A 6 P|G|6R 0", false), std::out_of_range);
}

TEST(SolutionLine, ChecksumDecidesOnlyWhenVerifying) {
    // The rest of the line is ignored; player and moves are guarded, the game is not; a
    // checksum beyond 16 bits or a step count other than the moves decoded fails.
    TLevSol s;
    for (const auto& [line, verified] : {std::pair("2B 6 Ann #0|Hills|3UL2D 59949", true),
                                         {"2B 6 Ann #0|Hills|3UL2D 59949 and then some", true},
                                         {"2B 6 Ann #0|Hills|3UL2D 59948", false},
                                         {"2B 6 Ann #1|Hills|3UL2D 59949", false},
                                         {"2B 6 Ann #0|Hills|3UL2R 59949", false},
                                         {"2B 6 Ann #0|Other|3UL2D 59949", true},
                                         {"2B 6 Ann #0|Hills|3UL2D 125485", false},
                                         {"2B 9 Ann #0|Hills|3UL2D 59949", false}}) {
        EXPECT_EQ(Parse(s, line, true).Ok, verified) << line;
        EXPECT_TRUE(Parse(s, line, false).Ok) << line;
    }
    // Unverified, a line that claims another count keeps its real moves.
    EXPECT_EQ(std::tuple(s.GetSteps(), s.Checksum()), std::tuple(6, 59949));
}

TEST(SolutionLine, LineThatEndsEarlyIsRejectedAndARenamedGameGetsItsNewName) {
    TLevSol s;
    for (const char* line : {"", "2", "2B", "2B ", "2B 6", "2B 6 Ann #0", "2B 6 Ann #0|Hills",
                             "2B x Ann #0|Hills|3UL2D 59949", "2B 6 |Hills|3UL2D 59949"}) {
        EXPECT_FALSE(Parse(s, line, true).Ok) << line;
        EXPECT_FALSE(Parse(s, line, false).Ok) << line;
    }
    // Moves without a checksum: rejected when verifying, taken as they are otherwise.
    for (const char* line :
         {"2B 6 Ann #0|Hills|3UL2D", "2B 6 Ann #0|Hills|3UL2D ", "2B 6 Ann #0|Hills|3UL2D x"}) {
        EXPECT_FALSE(Parse(s, line, true).Ok) << line;
        EXPECT_TRUE(Parse(s, line, false).Ok) << line;
        EXPECT_EQ(s.MovesText(), "3UL2D");
    }
    // A renamed game is reported under its new name.
    TRenamedGames renames;
    renames.Add("Old Hills", "Hills");
    const Parsed p = Parse(s, "2B 6 Ann #0|old hills|3UL2D 59949", true, renames);
    EXPECT_EQ(std::tuple(p.Ok, p.Renamed, p.Game), std::tuple(true, true, "Hills"));
}

TEST(Solution, BufferCopiesAndTruncation) {
    TLevSol s(3);
    s.SetPlayer("Bob #2");
    EXPECT_EQ(s.GetCapacity(), 3);
    EXPECT_TRUE(s.Add(Up) && s.Add(Left) && s.Add(Left));
    EXPECT_FALSE(s.Add(Right)) << "full";
    EXPECT_THROW(s.Add(4), std::out_of_range) << "not a direction";
    EXPECT_THROW((void)s.GetMove(0), std::out_of_range);
    EXPECT_THROW((void)s.GetMove(4), std::out_of_range);
    EXPECT_EQ(TLevSol().GetCapacity(), TLevSol::MaxMoves) << "capacity 0 means 4096";
    EXPECT_THROW(TLevSol(4097), std::out_of_range);

    TLevSol compact;
    compact.Assign(s, false);
    EXPECT_EQ(std::tuple(compact.GetCapacity(), compact.GetPlayer(), MovesOf(compact)),
              std::tuple(3, "Bob #2", MovesOf(s)));
    EXPECT_FALSE(compact.Add(Up));
    TLevSol full;
    full.Assign(s, true);
    EXPECT_EQ(full.GetCapacity(), TLevSol::MaxMoves);
    EXPECT_TRUE(full.Add(Up));
    EXPECT_NE(full.Checksum(), s.Checksum());
    full.Assign(full, false); // onto itself
    EXPECT_EQ(std::tuple(full.GetSteps(), full.GetMove(4)), std::tuple(4, Up));

    full.Truncate(6);
    EXPECT_EQ(full.GetSteps(), 4) << "never lengthens";
    full.Truncate(2);
    EXPECT_EQ(full.MovesText(), "UL");
    full.Clear();
    EXPECT_EQ(std::tuple(full.GetSteps(), full.GetCapacity()), std::tuple(0, 0));
    EXPECT_FALSE(full.Add(Up));
}

} // namespace tb
