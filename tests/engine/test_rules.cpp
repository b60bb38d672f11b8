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

// Order of events

TEST_F(Rules, PushOrderIsObjectHeroPushedFallThenFallAboveTheOldCell) {
    Lay({"*", "H* ", "## ", "###", "               +"});
    map.LogCells = true;
    EXPECT_TRUE(map.HeroMove(Right));
    EXPECT_EQ(map.Log, (Log{"MoveObject 2,2>3,2", "SetCell 2,2  ", "SetCell 3,2 *",
                            "MoveHeroTo 2,2", "IsUnsafeStepDown 2,2", "SetCell 1,2  ",
                            "SetCell 2,2 H", "Fall 3,2 R", "MoveObject 3,2>3,3", "SetCell 3,2  ",
                            "SetCell 3,3 *", "Roll 3,3 R", "Fall 1,1 R", "MoveObject 1,1>1,2",
                            "SetCell 1,1  ", "SetCell 1,2 *", "Roll 1,2 R"}));
    EXPECT_EQ(Now(3), (Rows{"", "*H", "##*"}));
}

TEST_F(Rules, RollOrderFollowsThePushedSideAndFallsOn) {
    Lay({"H*", "##", "#", "# *", "#####"});
    EXPECT_TRUE(map.HeroMove(Right));
    EXPECT_EQ(map.Log, (Log{"MoveObject 2,1>3,1", "MoveHeroTo 2,1", "IsUnsafeStepDown 2,1",
                            "Fall 3,1 R", "MoveObject 3,1>3,2", "MoveObject 3,2>3,3", "Roll 3,3 R",
                            "MoveObject 3,3>4,3", "MoveObject 4,3>4,4", "Roll 4,4 R"}));
    EXPECT_EQ(Now(5), (Rows{" H", "##", "#", "# **", "#####"}));
}

TEST_F(Rules, ColumnCollapsesLowestFirstIntoABoxThatSwallowsThree) {
    // Four stones over the hero, a three-object box under him.
    Lay({"*", "*", "*", "*", "H", "=", "##"});
    EXPECT_TRUE(map.HeroMove(Right));
    EXPECT_EQ(map.Log, (Log{"MoveHeroTo 2,5",     "IsUnsafeStepDown 2,5", "Fall 1,4 R",
                            "MoveObject 1,4>1,5", "LandOnBox 1,5 1,6",    "Fall 1,3 D",
                            "MoveObject 1,3>1,4", "MoveObject 1,4>1,5",   "LandOnBox 1,5 1,6",
                            "Fall 1,2 D",         "MoveObject 1,2>1,3",   "MoveObject 1,3>1,4",
                            "MoveObject 1,4>1,5", "LandOnBox 1,5 1,6",    "Fall 1,1 D",
                            "MoveObject 1,1>1,2", "MoveObject 1,2>1,3",   "MoveObject 1,3>1,4",
                            "MoveObject 1,4>1,5", "MoveObject 1,5>1,6",   "Roll 1,6 D"}));
    // The box took three stones; the fourth fell into the cell it left.
    EXPECT_EQ(Now(7), (Rows{"", "", "", "", " H", "*", "##"}));
}

TEST_F(Rules, ExplosionOrderThenTheColumnAboveFollows) {
    Lay({"#", "#*", "#!", "#H", "# ", "#*", "###"});
    EXPECT_TRUE(map.HeroMove(Right));
    EXPECT_EQ(map.Log, (Log{"MoveHeroTo 3,4", "IsUnsafeStepDown 3,4", "Fall 2,3 R",
                            "MoveObject 2,3>2,4", "MoveObject 2,4>2,5", "Explode 2,5 2,6",
                            "Fall 2,2 D", "MoveObject 2,2>2,3", "MoveObject 2,3>2,4",
                            "MoveObject 2,4>2,5", "MoveObject 2,5>2,6", "Roll 2,6 D"}));
    EXPECT_EQ(Now(7), (Rows{"#", "#", "#", "# H", "#", "#*", "###"}));
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

    const struct {
        Rows Level;
        TDir Dir;
        bool Moved;
        Rows After;
    } steps[] = {
        {{"*", "H", "+", "#", "         +"},
         Down,
         false,
         {"*", "H", "+", "#"}},                                  // not the last food
        {{"*", "H", "+", "#"}, Down, true, {"", "*", "H", "#"}}, // the last: the stone cannot hurt
        {{"*", "H", " ", "#", "         +"}, Right, true, {"", " H", "*", "#"}}, // sideways is safe
    };
    for (const auto& s : steps) {
        Lay(s.Level);
        EXPECT_EQ(map.HeroMove(s.Dir), s.Moved) << s.Level[2];
        EXPECT_EQ(Now(4), s.After) << s.Level[2];
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

// Crushing

TEST_F(Rules, ObjectRollingOntoTheHeadCrushesHimWhileFoodRemains) {
    // Two stones over the hero; he steps right, the upper stone lands on the
    // lower one and rolls towards him, onto his head.
    const Rows level{"#*", "#* ", "#H ", "## ", "             +"};
    Lay(level);
    EXPECT_TRUE(map.HeroMove(Right));
    EXPECT_EQ(std::tuple(Now(3), map.GetHeroPos()),
              std::tuple(Rows{"#", "# *", "#*O"}, TPos(3, 3)));
    Rows noFood = level;
    noFood.pop_back();
    Lay(noFood);
    EXPECT_TRUE(map.HeroMove(Right)); // no food left: no harm
    EXPECT_EQ(Now(3), (Rows{"#", "# *", "#*H"}));
}

// Rolling

TEST_F(Rules, StoneFallingFromUnderTheHeroRollsTheWayHeStepped) {
    const Rows level{"  *", "  H", "", "  *", " ###"};
    Lay(level);
    EXPECT_TRUE(map.HeroMove(Right));
    EXPECT_EQ(Now(5), (Rows{"", "   H", "", "  **", " ###"}));
    Lay(level);
    EXPECT_TRUE(map.HeroMove(Left));
    EXPECT_EQ(Now(5), (Rows{"", " H", "", " **", " ###"}));
}

TEST_F(Rules, StoneFollowingAColumnRollsTowardsTheHero) {
    // Right of the column: the upper stone rolls right.
    const Rows level{"  *", "  *", "  H", "", "", "", " ###"};
    Lay(level);
    EXPECT_TRUE(map.HeroMove(Right));
    EXPECT_EQ(Now(7), (Rows{"", "", "   H", "", "", "  **", " ###"}));
    EXPECT_EQ(map.RollSide(TPos(3, 5)), Right);
    // Left of the column: it rolls left.
    Lay(level);
    EXPECT_TRUE(map.HeroMove(Left));
    EXPECT_EQ(Now(7), (Rows{"", "", " H", "", "", " **", " ###"}));
    EXPECT_EQ(map.RollSide(TPos(3, 5)), Left);

    // In its column (he stepped down onto the last food): no preference, left.
    Lay({"  *", "  *", "  H", "  +", " ###"});
    EXPECT_TRUE(map.HeroMove(Down));
    EXPECT_EQ(map.RollSide(TPos(3, 2)), Down);
    EXPECT_EQ(Now(5), (Rows{"", "", "  *", " *H", " ###"}));
}

TEST_F(Rules, NoRollOffWallGrassFoodOrHeroNorWithoutAFall) {
    for (const char* under : {"#", "-", "+"}) {
        Lay({"  *", "  H", "", std::string("  ") + under, "+ +"});
        EXPECT_TRUE(map.HeroMove(Right)) << under;
        EXPECT_EQ(map.GetCell(TPos(3, 3)), Stone) << under; // came to rest where it landed
    }
    // Pushed onto a stone, it has not fallen: it stays, with both sides free.
    Lay({"H* ", "##*", "  #"});
    EXPECT_TRUE(map.HeroMove(Right));
    EXPECT_EQ(Now(3), (Rows{" H*", "##*", "  #"}));
}

TEST_F(Rules, RollNeedsAFreeSideWithRoomBelow) {
    // He steps left, but below the left side is a wall: the stone rolls right.
    Lay({"  *", "  H", "", " #*", " ###"});
    EXPECT_TRUE(map.HeroMove(Left));
    EXPECT_EQ(Now(5), (Rows{"", " H", "", " #**", " ###"}));
    // Neither side free: it stays where it landed.
    Lay({"  *", "  H", "   #", " #*", " ###"});
    EXPECT_TRUE(map.HeroMove(Left));
    EXPECT_EQ(Now(5), (Rows{"", " H", "  *#", " #*", " ###"}));
}

// Bombs and boxes

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
    EXPECT_EQ(Now(5), (Rows{"", " H", "*", "!", "#"}));
    EXPECT_EQ(map.Log.back(), "Thud");
}

TEST_F(Rules, BoxesShrinkUnderFallingObjectsAndFallThemselves) {
    // A stone pushed onto a box vanishes at once, without falling first.
    Lay({"H* ", "##=", "  #"});
    EXPECT_TRUE(map.HeroMove(Right));
    EXPECT_EQ(Now(2), (Rows{" H", "##>"}));
    // Box1 is used up; a box falling onto a box is swallowed like any object.
    Lay({"<", "H", "", "<", "#", "       +"});
    EXPECT_TRUE(map.HeroMove(Right));
    EXPECT_EQ(Now(5), (Rows{"", " H", "", "", "#"}));
    Lay({">", "H", "", ">", "#", "       +"});
    EXPECT_TRUE(map.HeroMove(Right));
    EXPECT_EQ(Now(5), (Rows{"", " H", "", "<", "#"}));
}

} // namespace
} // namespace tb::test
