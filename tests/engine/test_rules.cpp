// The rules of a move: what the hero enters, pushes and digs, how objects fall,
// roll, fill boxes and explode, when the hero is crushed, and the order in
// which a derived class hears of each event.

#include "tests/engine/engine_support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tb::test {
namespace {

using Log = std::vector<std::string>;

struct Rules : ::testing::Test {
    TRecorder map;
    void Lay(const Rows& rows) {
        test::Lay(map, rows);
        map.Log.clear();
    }
    Rows Now(int count) const { return Picture(map, count); }
};

// The events of a step right, in the order a derived class hears of them, and
// the top rows after it.
TEST_F(Rules, EventsComeInTheOrderOfTheRules) {
    const struct {
        Rows Level;
        bool Cells;
        Log Events;
        Rows After;
    } steps[] = {
        // The object, the hero, the pushed object falls, then the fall above his old cell.
        {{"*", "H* ", "## ", "###", "               +"},
         true,
         {"MoveObject 2,2>3,2", "SetCell 2,2  ", "SetCell 3,2 *", "MoveHeroTo 2,2",
          "IsUnsafeStepDown 2,2", "SetCell 1,2  ", "SetCell 2,2 H", "Fall 3,2 R",
          "MoveObject 3,2>3,3", "SetCell 3,2  ", "SetCell 3,3 *", "Roll 3,3 R", "Fall 1,1 R",
          "MoveObject 1,1>1,2", "SetCell 1,1  ", "SetCell 1,2 *", "Roll 1,2 R"},
         {"", "*H", "##*"}},
        // A roll follows the pushed side and falls on.
        {{"H*", "##", "#", "# *", "#####"},
         false,
         {"MoveObject 2,1>3,1", "MoveHeroTo 2,1", "IsUnsafeStepDown 2,1", "Fall 3,1 R",
          "MoveObject 3,1>3,2", "MoveObject 3,2>3,3", "Roll 3,3 R", "MoveObject 3,3>4,3",
          "MoveObject 4,3>4,4", "Roll 4,4 R"},
         {" H", "##", "#", "# **", "#####"}},
        // Four stones over the hero collapse lowest first into a box that swallows
        // three; the fourth falls into the cell it left.
        {{"*", "*", "*", "*", "H", "=", "##"},
         false,
         {"MoveHeroTo 2,5",     "IsUnsafeStepDown 2,5", "Fall 1,4 R",         "MoveObject 1,4>1,5",
          "LandOnBox 1,5 1,6",  "Fall 1,3 D",           "MoveObject 1,3>1,4", "MoveObject 1,4>1,5",
          "LandOnBox 1,5 1,6",  "Fall 1,2 D",           "MoveObject 1,2>1,3", "MoveObject 1,3>1,4",
          "MoveObject 1,4>1,5", "LandOnBox 1,5 1,6",    "Fall 1,1 D",         "MoveObject 1,1>1,2",
          "MoveObject 1,2>1,3", "MoveObject 1,3>1,4",   "MoveObject 1,4>1,5", "MoveObject 1,5>1,6",
          "Roll 1,6 D"},
         {"", "", "", "", " H", "*", "##"}},
        // An explosion, then the column above follows.
        {{"#", "#*", "#!", "#H", "# ", "#*", "###"},
         false,
         {"MoveHeroTo 3,4", "IsUnsafeStepDown 3,4", "Fall 2,3 R", "MoveObject 2,3>2,4",
          "MoveObject 2,4>2,5", "Explode 2,5 2,6", "Fall 2,2 D", "MoveObject 2,2>2,3",
          "MoveObject 2,3>2,4", "MoveObject 2,4>2,5", "MoveObject 2,5>2,6", "Roll 2,6 D"},
         {"#", "#", "#", "# H", "#", "#*", "###"}},
    };
    for (const auto& s : steps) {
        Lay(s.Level);
        map.LogCells = s.Cells;
        EXPECT_TRUE(map.HeroMove(Right)) << s.Level[0];
        EXPECT_EQ(map.Log, s.Events) << s.Level[0];
        EXPECT_EQ(Now(static_cast<int>(s.After.size())), s.After) << s.Level[0];
    }
}

// What the hero may enter

TEST_F(Rules, WallsBorderAndStuckObjectsBlockAndReservedCodesDoNothing) {
    Lay({"H#"});
    EXPECT_FALSE(map.HeroMove(Right)); // wall
    EXPECT_FALSE(map.HeroMove(Left));  // off the border
    EXPECT_FALSE(map.HeroMove(Up));
    EXPECT_EQ(map.Log, (Log{"Blocked", "Blocked", "Blocked"}));

    for (const char* cell : {"@", "$", "^", "&", "x", "O"}) {
        Lay({std::string("H") + cell});
        EXPECT_FALSE(map.HeroMove(Right)) << cell;
        EXPECT_TRUE(map.Log.empty()) << cell; // silently refused
        EXPECT_EQ(map.GetHeroPos(), TPos(1, 1));
    }

    Lay({"H**"}); // a stone behind the stone
    EXPECT_FALSE(map.HeroMove(Right));
    EXPECT_EQ(map.Log, Log{"Blocked"});
    Lay({"H*-", "###"}); // grass beyond
    EXPECT_FALSE(map.HeroMove(Right));
    Lay({"H<+", "###"}); // food beyond
    EXPECT_FALSE(map.HeroMove(Right));
    EXPECT_EQ(Now(1), Rows{"H<+"});
}

TEST_F(Rules, ObjectsArePushedOnlySideways) {
    Lay({" ", "H", "!", " "});
    map.SetCell(TPos(1, 1), Stone); // an object above and below the hero
    EXPECT_FALSE(map.HeroMove(Up));
    EXPECT_FALSE(map.HeroMove(Down));
    EXPECT_EQ(map.Log, (Log{"Blocked", "Blocked"}));
    EXPECT_FALSE(map.CanPush(TPos(1, 3), Down)); // the cell below it is empty
    EXPECT_TRUE(map.CanPush(TPos(1, 3), Right));

    Lay({" !H", "###"});
    EXPECT_TRUE(map.CanPush(TPos(2, 1), Left));
    EXPECT_TRUE(map.HeroMove(Left));
    EXPECT_EQ(Now(1), Rows{"!H"});
    EXPECT_FALSE(map.HeroMove(Left)); // now against the border
}

TEST_F(Rules, StoneOnTheHeadBlocksStepDownUnlessOntoTheLastFood) {
    Lay({"*", "H", " ", "#", "         +"});
    EXPECT_FALSE(map.HeroMove(Down));
    EXPECT_EQ(map.Log, (Log{"MoveHeroTo 1,3", "IsUnsafeStepDown 1,3", "Blocked"}));
}

// Each move from the level, and the top rows after it; the hero stands, or
// lies crushed ("O"), where the picture shows him.
TEST_F(Rules, FallsRollsCrushesAndBoxesLeaveTheLevelAsDrawn) {
    const struct {
        Rows Level;
        TDir Dir;
        bool Moved;
        Rows After;
    } moves[] = {
        // A stone on the head: no step down unless onto the last food; sideways is safe.
        {{"*", "H", "+", "#", "         +"}, Down, false, {"*", "H", "+", "#"}},
        {{"*", "H", "+", "#"}, Down, true, {"", "*", "H", "#"}},
        {{"*", "H", " ", "#", "         +"}, Right, true, {"", " H", "*", "#"}},
        // He steps right, the upper stone lands on the lower one and rolls onto his
        // head: crushed while food remains, no harm without.
        {{"#*", "#* ", "#H ", "## ", "             +"}, Right, true, {"#", "# *", "#*O"}},
        {{"#*", "#* ", "#H ", "## "}, Right, true, {"#", "# *", "#*H"}},
        // A stone falling from under the hero rolls the way he stepped.
        {{"  *", "  H", "", "  *", " ###"}, Right, true, {"", "   H", "", "  **", " ###"}},
        {{"  *", "  H", "", "  *", " ###"}, Left, true, {"", " H", "", " **", " ###"}},
        // No roll off wall, grass or food; none without a fall (pushed onto a stone).
        {{"  *", "  H", "", "  #", "+ +"}, Right, true, {"", "   H", "  *", "  #"}},
        {{"  *", "  H", "", "  -", "+ +"}, Right, true, {"", "   H", "  *", "  -"}},
        {{"  *", "  H", "", "  +", "+ +"}, Right, true, {"", "   H", "  *", "  +"}},
        {{"H* ", "##*", "  #"}, Right, true, {" H*", "##*", "  #"}},
        // A roll needs a free side with room below: he steps left, the stone rolls
        // right; with neither side free it stays where it landed.
        {{"  *", "  H", "", " #*", " ###"}, Left, true, {"", " H", "", " #**", " ###"}},
        {{"  *", "  H", "   #", " #*", " ###"}, Left, true, {"", " H", "  *#", " #*", " ###"}},
        // A stone pushed onto a box vanishes at once, without falling first.
        {{"H* ", "##=", "  #"}, Right, true, {" H", "##>"}},
        // Box1 is used up; a box falling onto a box is swallowed like any object.
        {{"<", "H", "", "<", "#", "       +"}, Right, true, {"", " H", "", "", "#"}},
        {{">", "H", "", ">", "#", "       +"}, Right, true, {"", " H", "", "<", "#"}},
    };
    for (const auto& m : moves) {
        Lay(m.Level);
        const std::string where = m.Level[0] + "/" + m.Level[1] + "/" + m.Level[2] + " " + D(m.Dir);
        EXPECT_EQ(map.HeroMove(m.Dir), m.Moved) << where;
        const Rows after = Now(static_cast<int>(m.After.size()));
        EXPECT_EQ(after, m.After) << where;
        for (std::size_t y = 0; y < after.size(); ++y) {
            const std::size_t x = after[y].find_first_of("HO");
            if (x != std::string::npos) {
                EXPECT_EQ(map.GetHeroPos(), TPos(static_cast<int>(x) + 1, static_cast<int>(y) + 1))
                    << where;
            }
        }
    }
}

TEST_F(Rules, DiggingOrEatingUnderAStoneLeavesItOnTheHead) {
    Lay({"*", "-", "H", "", "+"});
    EXPECT_TRUE(map.HeroMove(Up));
    EXPECT_EQ(map.Log, (Log{"DigGrass 1,2", "MoveHeroTo 1,2", "IsUnsafeStepDown 1,2"}));
    EXPECT_EQ(Now(3), (Rows{"*", "H", ""}));

    Lay({"*", "+", "H", "", "+"});
    EXPECT_TRUE(map.HeroMove(Up));
    EXPECT_EQ(std::tuple(map.Log.front(), Now(3), map.GetFoodCount()),
              std::tuple("EatFood 1,2", Rows{"*", "H", ""}, 1));
}

TEST_F(Rules, StoneFollowingAColumnRollsTowardsTheHero) {
    const Rows level{"  *", "  *", "  H", "", "", "", " ###"};
    Lay(level);
    EXPECT_TRUE(map.HeroMove(Right));
    EXPECT_EQ(std::tuple(Now(7), map.RollSide(TPos(3, 5))),
              std::tuple(Rows{"", "", "   H", "", "", "  **", " ###"}, Right));
    Lay(level);
    EXPECT_TRUE(map.HeroMove(Left));
    EXPECT_EQ(std::tuple(Now(7), map.RollSide(TPos(3, 5))),
              std::tuple(Rows{"", "", " H", "", "", " **", " ###"}, Left));
    // In its column (he stepped down onto the last food): no preference, left.
    Lay({"  *", "  *", "  H", "  +", " ###"});
    EXPECT_TRUE(map.HeroMove(Down));
    EXPECT_EQ(std::tuple(Now(5), map.RollSide(TPos(3, 2))),
              std::tuple(Rows{"", "", "  *", " *H", " ###"}, Down));
}

TEST_F(Rules, BombsExplodeOnStonesAndBombsDieOnWallsAndLandElsewhere) {
    struct Case {
        const char* under;
        Rows after;
        bool thud;
    };
    const Case cases[] = {
        {"*", {"", " H", "", "", ""}, false},  // bomb and stone gone
        {"!", {"", " H", "", "", ""}, false},  // both bombs gone
        {"#", {"", " H", "", "", "#"}, false}, // the bomb alone
        {"-", {"", " H", "", "!", "-"}, true}, // lands
        {"+", {"", " H", "", "!", "+"}, true}, // lands
        {"@", {"", " H", "", "!", "@"}, true}, // lands
    };
    for (const Case& c : cases) {
        Lay({"!", "H", "", "", c.under, "#", "        +"});
        EXPECT_TRUE(map.HeroMove(Right)) << c.under;
        EXPECT_EQ(Now(5), c.after) << c.under;
        EXPECT_EQ(std::count(map.Log.begin(), map.Log.end(), "Thud"), c.thud ? 1 : 0) << c.under;
    }
    // A stone falling onto a bomb just lands on it.
    Lay({"*", "H", "", "!", "#", "        +"});
    EXPECT_TRUE(map.HeroMove(Right));
    EXPECT_EQ(std::tuple(Now(5), map.Log.back()),
              std::tuple(Rows{"", " H", "*", "!", "#"}, "Thud"));
}

} // namespace
} // namespace tb::test
