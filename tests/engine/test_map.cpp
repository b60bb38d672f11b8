// The level grid: text form, cells, hero and food bookkeeping, shift, checksum.

#include "engine/tb_map.h"
#include "services/d_crc.h"
#include "services/d_error.h"
#include "services/d_file.h"
#include "tests/engine/engine_support.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace tb::test {
namespace {

TEST(LevelText, RowsAreCutOrFilledAndUnknownCharactersGiveCodeZero) {
    TMap map;
    const std::string longRow = "#" + std::string(29, '-') + "+*!"; // 33 characters
    Lay(map, {longRow, "", "H x", "@$^&%O"}, "  Hills \t");
    // The 31st character is the last read; the cut "+*!" left one "+"; "x" is not in the
    // alphabet (code 0, shown "?"); short rows are filled up.
    EXPECT_EQ(Picture(map, 4), (Rows{"#" + std::string(29, '-') + "+", "", "H ?", "@$^&%O"}));
    EXPECT_EQ(std::tuple(map.GetName(), map.GetCell(TPos(32, 1)), map.GetFoodCount(),
                         map.GetCell(TPos(3, 3)), map.GetHeroPos()),
              std::tuple("Hills", Outside, 1, Unknown, TPos(1, 3)));
}

TEST(LevelText, WritesTwentyLinesAndReadsBackTheSameCellsIncludingCodeZero) {
    TMap map;
    Lay(map, {"H -#*+<>=!@$^&O%", "x"}, "Round");
    TTextWriter out;
    map.WriteText(out);
    const std::string& text = out.Content();
    // Code 0 is written as the control character 16.
    EXPECT_EQ(text.substr(0, 43), "Round\r\nH -#*+<>=!@$^&O%" + std::string(15, ' ') + "\r\n" +
                                      std::string(1, char(16)) + "  ");
    EXPECT_EQ(std::tuple(text.substr(text.size() - 4), text.size()),
              std::tuple("OK\r\n", 7 + 18 * 33 + 4u));
    TMap back;
    TTextReader in(text);
    EXPECT_TRUE(back.ReadText(in) && back.SameCells(map) && in.Eof());
    EXPECT_EQ(std::tuple(back.GetCell(TPos(1, 2)), back.GetName()), std::tuple(Unknown, "Round"));
}

TEST(LevelText, EndNameLineStopsTheListEvenWithBlanksAround) {
    TMap map;
    Lay(map, {"H+"});
    TTextReader in("  END  \r\nmore lines\r\n");
    EXPECT_FALSE(map.ReadText(in)); // reset before the name was read, nothing read beyond it
    std::string next;
    in.ReadLine(next);
    EXPECT_EQ(std::tuple(map.GetName(), map.GetHeroPos(), map.GetFoodCount(), next),
              std::tuple("END", TPos(), 0, "more lines"));

    // A level named END is written like any other, but reading stops at it.
    TMap named;
    Lay(named, {"H+"}, "END");
    TTextWriter out;
    named.WriteText(out);
    TTextReader again(out.Content());
    TMap back;
    EXPECT_FALSE(back.ReadText(again));
}

TEST(LevelText, FileEndingEarlyIsAReadError) {
    const std::string full = LevelText({"H+"});
    // Cut after the name, in the middle of the rows, and before the closing line.
    for (std::size_t lines : {1u, 10u, 19u}) {
        std::size_t at = 0;
        for (std::size_t i = 0; i < lines; ++i)
            at = full.find('\n', at) + 1;
        TMap map;
        TTextReader in(full.substr(0, at));
        try {
            map.ReadText(in);
            ADD_FAILURE() << "no error after " << lines << " lines";
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(), "Error reading game from disk");
        }
    }
    TTextReader empty("");
    EXPECT_THROW(TMap().ReadText(empty), Error);
}

TEST(Cells, SetCellKeepsHeroAndFoodTrue) {
    TMap map;
    // Several heroes in a text keep their cells and the last one is the hero; painting over
    // the stray one leaves the real one in place.
    Lay(map, {"H", "  H"});
    EXPECT_EQ(Picture(map, 2), (Rows{"H", "  H"}));
    map.SetCell(TPos(1, 1), Empty);
    EXPECT_EQ(map.GetHeroPos(), TPos(3, 2));

    map.Clear();
    map.SetCell(TPos(2, 2), Hero);
    map.SetCell(TPos(5, 5), Hero);
    EXPECT_EQ(std::tuple(map.GetCell(TPos(2, 2)), map.GetHeroPos()), std::tuple(Empty, TPos(5, 5)));
    map.SetCell(TPos(5, 5), Loser);
    EXPECT_EQ(map.GetHeroPos(), TPos(5, 5)); // the crushed hero is still named
    map.SetCell(TPos(6, 6), Hero);
    EXPECT_EQ(map.GetCell(TPos(5, 5)), Empty);
    map.SetCell(TPos(6, 6), Grass);
    EXPECT_EQ(map.GetHeroPos(), TPos());

    map.SetCell(TPos(1, 1), Food);
    map.SetCell(TPos(1, 1), Food);
    EXPECT_EQ(map.GetFoodCount(), 1);
    map.SetCell(TPos(1, 2), Food);
    map.SetCell(TPos(1, 1), Hero); // the hero eats by overwriting
    EXPECT_EQ(map.GetFoodCount(), 1);

    for (const auto& [pos, code] : {std::pair<TPos, int>(TPos(0, 5), Empty),
                                    {TPos(32, 5), Empty},
                                    {TPos(5, 19), Empty},
                                    {TPos(5, 5), 17}})
        EXPECT_THROW(map.SetCell(pos, static_cast<std::uint8_t>(code)), std::out_of_range);
}

TEST(Cells, OutsideTheGridReadsOutsideAndNeighboursStopAtTheRing) {
    TMap map;
    for (TPos p : {TPos(0, 5), TPos(32, 5), TPos(5, 0), TPos(5, 19), TPos(200, 200)})
        EXPECT_EQ(map.GetCell(p), Outside);
    const struct {
        TPos From;
        std::uint8_t Dir;
        TPos To;
    } steps[] = {{{31, 5}, Right, {32, 5}}, {{32, 5}, Right, {32, 5}}, {{1, 5}, Left, {0, 5}},
                 {{0, 5}, Left, {0, 5}},    {{5, 1}, Up, {5, 0}},      {{5, 0}, Up, {5, 0}},
                 {{5, 18}, Down, {5, 19}},  {{5, 19}, Down, {5, 19}},  {{5, 5}, 4, {5, 5}}};
    for (const auto& s : steps)
        EXPECT_EQ(P(TMap::Neighbour(s.From, s.Dir)), P(s.To)) << P(s.From) << " " << int{s.Dir};
    EXPECT_TRUE(TMap::PosDiffer(TPos(1, 2), TPos(2, 1)));
    EXPECT_FALSE(TMap::PosDiffer(TPos(3, 4), TPos(3, 4)));
}

TEST(Cells, ShiftMovesEverythingAndLosesWhatLeaves) {
    TMap map;
    Lay(map, {"H+", "*+"}, "Moving");
    map.Shift(Up);
    Rows shifted(18, "");
    shifted[0] = "*+";
    EXPECT_EQ(Picture(map, 18), shifted);
    // The hero left over the edge.
    EXPECT_EQ(std::tuple(map.GetHeroPos(), map.GetFoodCount(), map.GetName()),
              std::tuple(TPos(), 1, "Moving"));
    Lay(map, {"H+"});
    map.Shift(Right);
    EXPECT_EQ(std::tuple(Picture(map, 1), map.GetHeroPos(), map.GetFoodCount()),
              std::tuple(Rows{" H+"}, TPos(2, 1), 1));
    map.Shift(Down);
    EXPECT_EQ(map.GetHeroPos(), TPos(2, 2));
}

TEST(Cells, PlayableNeedsHeroFoodAndRest) {
    TMap map;
    for (const auto& [rows, playable] :
         {std::pair(Rows{"H+"}, true), std::pair(Rows{"H"}, false), std::pair(Rows{"+"}, false)}) {
        Lay(map, rows); // no food, no hero
        EXPECT_EQ(map.IsPlayable(), playable) << rows[0];
    }

    for (int y = 1; y < 18; ++y) {
        Rows hanging(18, "");
        hanging[0] = "H+";
        hanging[y] = "    !";
        Lay(map, hanging);
        // On the bottom row it rests on the floor.
        EXPECT_EQ(map.IsPlayable(), y == 17) << "row " << y + 1;
        if (y == 17) break;
        hanging[y + 1] = "    -"; // held up by grass
        Lay(map, hanging);
        EXPECT_TRUE(map.IsPlayable()) << "row " << y + 1;
    }
}

TEST(Cells, ChecksumRunsOverTheCellsRowByRowAndIgnoresTheName) {
    TMap map;
    Lay(map, {"H+*", "", " #"}, "One");
    std::string bytes;
    for (int y = 1; y <= 18; ++y)
        for (int x = 1; x <= 31; ++x)
            bytes += static_cast<char>(map.GetCell(TPos(x, y)));
    EXPECT_EQ(map.Checksum(), Checksum16(0, bytes));

    TMap renamed;
    Lay(renamed, {"H+*", "", " #"}, "Two");
    EXPECT_TRUE(renamed.Checksum() == map.Checksum() && renamed.SameCells(map));
    renamed.SetCell(TPos(31, 18), Grass);
    EXPECT_FALSE(renamed.Checksum() == map.Checksum() || renamed.SameCells(map));
}

class TNameCounter : public TMap {
public:
    int Calls = 0;
    bool SetName(const std::string& name) override {
        ++Calls;
        return TMap::SetName(name);
    }
};

TEST(Cells, AssignCopiesEverythingAndNamesThroughSetName) {
    TMap source;
    Lay(source, {"H++", "<"}, "Source");
    TNameCounter copy;
    copy.Assign(source);
    EXPECT_TRUE(copy.SameCells(source));
    EXPECT_EQ(std::tuple(copy.Calls, copy.GetName(), copy.GetHeroPos(), copy.GetFoodCount()),
              std::tuple(1, "Source", TPos(1, 1), 2));
    EXPECT_FALSE(copy.SetName("Source"));
    EXPECT_TRUE(copy.SetName("Other"));
    copy.Clear();
    EXPECT_EQ(std::tuple(copy.GetName(), copy.GetFoodCount(), copy.GetHeroPos(), Picture(copy, 1)),
              std::tuple("Other", 0, TPos(), Rows{""}));
}

} // namespace
} // namespace tb::test
