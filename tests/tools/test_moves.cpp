#include "services/d_error.h"
#include "tools/cli/moves.h"

#include <gtest/gtest.h>

namespace tb::cli {
namespace {

TEST(CliMoves, RepeatCountsLettersOfEitherCaseAndBlanks) {
    EXPECT_EQ(ParseMoves("3UL2D"), (std::vector<TDir>{Up, Up, Up, Left, Down, Down}));
    EXPECT_EQ(ParseMoves(" r 2l\tD "), (std::vector<TDir>{Right, Left, Left, Down}));
    EXPECT_EQ(ParseMoves("12R").size(), 12u);
    EXPECT_EQ(ParseMoves("0UD"), (std::vector<TDir>{Down})); // a count of 0 adds nothing
    EXPECT_TRUE(ParseMoves("").empty());
}

TEST(CliMoves, RefusesWhatIsNoMove) {
    try {
        ParseMoves("2Rx");
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "bad move letter 'x'");
    }
    EXPECT_THROW(ParseMoves("U-D"), Error);
    EXPECT_THROW(ParseMoves("2R3"), Error);    // digits without their letter
    EXPECT_THROW(ParseMoves("65536U"), Error); // above a record's repeat count
    EXPECT_EQ(ParseMoves("65535U").size(), 65535u);
}

TEST(CliMoves, WritesTheSolutionForm) {
    EXPECT_EQ(MovesText({Up, Up, Up, Left, Down, Down}), "3UL2D");
    EXPECT_EQ(MovesText({}), "");
    EXPECT_EQ(MovesText(ParseMoves("R12LUD")), "R12LUD");
    EXPECT_THROW(MovesText(std::vector<TDir>(4097, Up)), Error);
}

} // namespace
} // namespace tb::cli
