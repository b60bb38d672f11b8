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
    EXPECT_EQ(map.GetName(), "Hills");
    EXPECT_EQ(map.GetCell(TPos(31, 1)), Food);    // the 31st character
    EXPECT_EQ(map.GetCell(TPos(32, 1)), Outside); // the rest is cut
    EXPECT_EQ(map.GetFoodCount(), 1);             // the cut "+*!" left one "+"
    for (int x = 1; x <= 31; ++x)
        EXPECT_EQ(map.GetCell(TPos(x, 2)), Empty);
    EXPECT_EQ(map.GetCell(TPos(3, 3)), Unknown); // "x" is not in the alphabet
    EXPECT_EQ(map.GetCell(TPos(4, 3)), Empty);   // short row filled up
    EXPECT_EQ(map.GetCell(TPos(1, 4)), Reserved1);
    EXPECT_EQ(map.GetCell(TPos(5, 4)), Outside);
    EXPECT_EQ(map.GetCell(TPos(6, 4)), Loser);
    EXPECT_EQ(map.GetHeroPos(), TPos(1, 3));
}

TEST(LevelText, WritesTwentyLinesAndReadsBackTheSameCellsIncludingCodeZero) {
    TMap map;
    Lay(map, {"H -#*+<>=!@$^&O%", "x"}, "Round");
    TTextWriter out;
    map.WriteText(out);
    const std::string& text = out.Content();
    EXPECT_EQ(text.substr(0, 7), "Round\r\n");
    EXPECT_EQ(text.substr(7, 33), "H -#*+<>=!@$^&O%" + std::string(15, ' ') + "\r\n");
    // code 0 is written as the control character 16
    EXPECT_EQ(text.substr(40, 3), std::string(1, char(16)) + "  ");
    EXPECT_EQ(text.substr(text.size() - 4), "OK\r\n");
    EXPECT_EQ(text.size(), 7 + 18 * 33 + 4u);

    TMap back;
    TTextReader in(text);
    EXPECT_TRUE(back.ReadText(in));
    EXPECT_TRUE(back.SameCells(map));
    EXPECT_EQ(back.GetCell(TPos(1, 2)), Unknown);
    EXPECT_EQ(back.GetName(), "Round");
    EXPECT_TRUE(in.Eof());
}

TEST(LevelText, EndNameLineStopsTheListEvenWithBlanksAround) {
    TMap map;
    Lay(map, {"H+"});
    TTextReader in("  END  \r\nmore lines\r\n");
    EXPECT_FALSE(map.ReadText(in));
    EXPECT_EQ(map.GetName(), "END");
    EXPECT_EQ(map.GetHeroPos(), TPos()); // reset before the name was read
    EXPECT_EQ(map.GetFoodCount(), 0);
    std::string next;
    ASSERT_TRUE(in.ReadLine(next));
    EXPECT_EQ(next, "more lines"); // nothing beyond the name line was read

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
    TMap map;
    TTextReader empty("");
    EXPECT_THROW(map.ReadText(empty), Error);
}

TEST(LevelText, SeveralHeroesKeepTheirCellsAndTheLastOneIsTheHero) {
    TMap map;
    Lay(map, {"H", "  H"});
    EXPECT_EQ(map.GetCell(TPos(1, 1)), Hero);
    EXPECT_EQ(map.GetCell(TPos(3, 2)), Hero);
    EXPECT_EQ(map.GetHeroPos(), TPos(3, 2));
    // Painting over the stray hero leaves the real one in place.
    map.SetCell(TPos(1, 1), Empty);
    EXPECT_EQ(map.GetHeroPos(), TPos(3, 2));
}

TEST(Cells, SetCellKeepsHeroAndFoodTrue) {
    TMap map;
    map.SetCell(TPos(2, 2), Hero);
    map.SetCell(TPos(5, 5), Hero);
    EXPECT_EQ(map.GetCell(TPos(2, 2)), Empty);
    EXPECT_EQ(map.GetHeroPos(), TPos(5, 5));

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

    EXPECT_THROW(map.SetCell(TPos(0, 5), Empty), std::out_of_range);
    EXPECT_THROW(map.SetCell(TPos(32, 5), Empty), std::out_of_range);
    EXPECT_THROW(map.SetCell(TPos(5, 19), Empty), std::out_of_range);
    EXPECT_THROW(map.SetCell(TPos(5, 5), 17), std::out_of_range);
}

TEST(Cells, OutsideTheGridReadsOutsideAndNeighboursStopAtTheRing) {
    TMap map;
    for (TPos p : {TPos(0, 5), TPos(32, 5), TPos(5, 0), TPos(5, 19), TPos(200, 200)})
        EXPECT_EQ(map.GetCell(p), Outside);
    EXPECT_EQ(TMap::Neighbour(TPos(31, 5), Right), TPos(32, 5));
    EXPECT_EQ(TMap::Neighbour(TPos(32, 5), Right), TPos(32, 5));
    EXPECT_EQ(TMap::Neighbour(TPos(1, 5), Left), TPos(0, 5));
    EXPECT_EQ(TMap::Neighbour(TPos(0, 5), Left), TPos(0, 5));
    EXPECT_EQ(TMap::Neighbour(TPos(5, 1), Up), TPos(5, 0));
    EXPECT_EQ(TMap::Neighbour(TPos(5, 0), Up), TPos(5, 0));
    EXPECT_EQ(TMap::Neighbour(TPos(5, 18), Down), TPos(5, 19));
    EXPECT_EQ(TMap::Neighbour(TPos(5, 19), Down), TPos(5, 19));
    EXPECT_EQ(TMap::Neighbour(TPos(5, 5), 4), TPos(5, 5));
    EXPECT_TRUE(TMap::PosDiffer(TPos(1, 2), TPos(2, 1)));
    EXPECT_FALSE(TMap::PosDiffer(TPos(3, 4), TPos(3, 4)));
}

TEST(Cells, ShiftMovesEverythingAndLosesWhatLeaves) {
    TMap map;
    Lay(map, {"H+", "*+"}, "Moving");
    map.Shift(Up);
    EXPECT_EQ(Picture(map, 2), (Rows{"*+", ""}));
    for (int x = 1; x <= 31; ++x)
        EXPECT_EQ(map.GetCell(TPos(x, 18)), Empty);
    EXPECT_EQ(map.GetHeroPos(), TPos()); // the hero left over the edge
    EXPECT_EQ(map.GetFoodCount(), 1);
    EXPECT_EQ(map.GetName(), "Moving");

    Lay(map, {"H+"});
    map.Shift(Right);
    EXPECT_EQ(Picture(map, 1), Rows{" H+"});
    EXPECT_EQ(map.GetHeroPos(), TPos(2, 1));
    EXPECT_EQ(map.GetFoodCount(), 1);
    map.Shift(Down);
    EXPECT_EQ(map.GetHeroPos(), TPos(2, 2));
}

TEST(Cells, PlayableNeedsHeroFoodAndRest) {
    TMap map;
    Lay(map, {"H+"});
    EXPECT_TRUE(map.IsPlayable());
    Lay(map, {"H"});
    EXPECT_FALSE(map.IsPlayable()); // no food
    Lay(map, {"+"});
    EXPECT_FALSE(map.IsPlayable()); // no hero

    Rows rows(18, "");
    rows[0] = "H+";
    rows[17] = "    *"; // a stone on the bottom row rests on the floor
    Lay(map, rows);
    EXPECT_TRUE(map.IsPlayable());
    for (int y = 1; y < 17; ++y) {
        Rows hanging(18, "");
        hanging[0] = "H+";
        hanging[y] = "    !";
        Lay(map, hanging);
        EXPECT_FALSE(map.IsPlayable()) << "row " << y + 1;
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
    EXPECT_EQ(renamed.Checksum(), map.Checksum());
    EXPECT_TRUE(renamed.SameCells(map));
    renamed.SetCell(TPos(31, 18), Grass);
    EXPECT_NE(renamed.Checksum(), map.Checksum());
    EXPECT_FALSE(renamed.SameCells(map));
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
    EXPECT_EQ(copy.Calls, 1);
    EXPECT_EQ(copy.GetName(), "Source");
    EXPECT_TRUE(copy.SameCells(source));
    EXPECT_EQ(copy.GetHeroPos(), TPos(1, 1));
    EXPECT_EQ(copy.GetFoodCount(), 2);
    EXPECT_FALSE(copy.SetName("Source"));
    EXPECT_TRUE(copy.SetName("Other"));

    copy.Clear();
    EXPECT_EQ(copy.GetName(), "Other");
    EXPECT_EQ(copy.GetFoodCount(), 0);
    EXPECT_EQ(copy.GetHeroPos(), TPos());
    EXPECT_EQ(copy.GetCell(TPos(2, 1)), Empty);
}

} // namespace
} // namespace tb::test
