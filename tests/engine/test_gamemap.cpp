// The level in play: states, recording, win and loss, replay with take-over.

#include "engine/tb_gamemap.h"
#include "tests/engine/engine_support.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace tb::test {
namespace {

// A game map that counts its hooks and can take over or fail in the middle of a replay.
class TProbe : public TGameMap {
public:
    int StepsCalls = 0;
    int ReplaySteps = 0;    // hero steps taken while replaying
    int TakeOverAtStep = 0; // the player clicks during this replay step
    int ThrowAtStep = 0;    // this replay step fails

    void StepsChanged() override {
        ++StepsCalls;
        TGameMap::StepsChanged();
    }
    TLevSol& Recording() { return *Solution; }

protected:
    bool MoveHeroTo(TPos pos) override {
        if (State == TState::Replay) {
            ++ReplaySteps;
            if (ReplaySteps == ThrowAtStep) throw std::runtime_error("animation failed");
            if (ReplaySteps == TakeOverAtStep) TakeOver();
        }
        return TGameMap::MoveHeroTo(pos);
    }
};

TLevSol Moves(const std::string& letters) {
    TLevSol s;
    s.SetPlayer("Ann #0");
    for (char c : letters)
        s.Add(static_cast<std::uint8_t>(std::string_view("UDLR").find(c)));
    return s;
}

std::string Letters(const TLevSol& s) {
    std::string text;
    for (int i = 1; i <= s.GetSteps(); ++i)
        text += "UDLR"[s.GetMove(i)];
    return text;
}

struct GameMap : ::testing::Test {
    TProbe map;
    void Ready(const Rows& rows) {
        Lay(map, rows);
        map.SetState(TState::Ready, false);
    }
};

TEST_F(GameMap, StartsEmptyAndClearResetsGridMovesClockAndState) {
    EXPECT_EQ(map.GetState(), TState::None);
    EXPECT_EQ(map.GetPlayer(), "");
    EXPECT_EQ(map.GetTime(), 0);
    EXPECT_EQ(map.GetSolution().GetCapacity(), TLevSol::MaxMoves);

    Ready({"H  +"});
    map.DoMove(Right, 1);
    map.Tick();
    const int calls = map.StepsCalls;
    map.Clear();
    EXPECT_EQ(map.GetState(), TState::None);
    EXPECT_EQ(map.GetSolution().GetSteps(), 0);
    EXPECT_EQ(map.GetTime(), 0);
    EXPECT_EQ(map.GetHeroPos(), TPos());
    EXPECT_EQ(map.GetFoodCount(), 0);
    EXPECT_GT(map.StepsCalls, calls);
}

TEST_F(GameMap, SettingTheSameStateDoesNothingUnlessForcedAndReadyEmptiesTheRecording) {
    Ready({"H  +"});
    EXPECT_FALSE(map.SetState(TState::Ready, false));
    map.DoMove(Right, 2);
    map.Tick();
    EXPECT_EQ(map.GetState(), TState::Play);
    EXPECT_FALSE(map.SetState(TState::Play, false));
    EXPECT_EQ(map.GetSolution().GetSteps(), 2);
    EXPECT_TRUE(map.SetState(TState::Ready, false));
    EXPECT_EQ(map.GetSolution().GetSteps(), 0);
    EXPECT_EQ(map.GetTime(), 0);
    EXPECT_TRUE(map.SetState(TState::Ready, true)); // forced: answers true all the same
}

TEST_F(GameMap, RefusedMoveStartsThePlayButRecordsNothing) {
    Ready({"H#", "", "  +"});
    EXPECT_FALSE(map.DoMove(Right, 1));
    EXPECT_EQ(map.GetState(), TState::Play);
    EXPECT_EQ(map.GetSolution().GetSteps(), 0);
}

TEST_F(GameMap, RunStopsAtTheWallAndRecordsEachStep) {
    Ready({"H  #", "", "+"});
    EXPECT_TRUE(map.DoMove(Right, 5));
    EXPECT_EQ(map.GetHeroPos(), TPos(3, 1));
    EXPECT_EQ(Letters(map.GetSolution()), "RR");
}

TEST_F(GameMap, LastFoodWinsAndEndsTheRun) {
    Ready({"H +  "});
    EXPECT_TRUE(map.DoMove(Right, 5));
    EXPECT_EQ(map.GetState(), TState::Done);
    EXPECT_EQ(map.GetHeroPos(), TPos(3, 1));
    EXPECT_EQ(Letters(map.GetSolution()), "RR");
}

TEST_F(GameMap, CrushedHeroDiesAndTheLevelEnds) {
    Ready({"#*", "#* ", "#H ", "## ", "             +"});
    EXPECT_TRUE(map.DoMove(Right, 3));
    EXPECT_EQ(map.GetState(), TState::Done);
    EXPECT_EQ(map.GetCell(TPos(3, 3)), Loser);
    EXPECT_EQ(Letters(map.GetSolution()), "R");

    // Die on a hero already crushed only ends the level.
    Ready({"H +"});
    map.SetCell(TPos(1, 1), Loser);
    map.SetState(TState::Play, false);
    map.Die();
    EXPECT_EQ(map.GetState(), TState::Done);
    EXPECT_EQ(map.GetCell(TPos(1, 1)), Loser);
    EXPECT_EQ(map.GetHeroPos(), TPos(1, 1));
}

TEST_F(GameMap, TheMoveAfterAFullRecordingHappensButIsNotRecorded) {
    Ready({"H ", "", "+"});
    for (int i = 0; i < TLevSol::MaxMoves; ++i)
        ASSERT_TRUE(map.DoMove(i % 2 ? Left : Right, 1));
    EXPECT_EQ(map.GetSolution().GetSteps(), 4096);
    EXPECT_TRUE(map.DoMove(Right, 1));
    EXPECT_EQ(map.GetHeroPos(), TPos(2, 1));
    EXPECT_EQ(map.GetSolution().GetSteps(), 4096);
}

TEST_F(GameMap, MovesBeforeThePlayStartsAreNotRecorded) {
    Lay(map, {"H  +"}); // state None
    const int calls = map.StepsCalls;
    EXPECT_TRUE(map.HeroMove(Right));
    EXPECT_EQ(map.GetSolution().GetSteps(), 0);
    EXPECT_EQ(map.StepsCalls, calls + 1);
}

TEST_F(GameMap, ReplayStopsWhenTheLevelIsWon) {
    Ready({"H      +"});
    const TLevSol solution = Moves("RRRRRRRLLL");
    map.Replay(&solution);
    EXPECT_EQ(map.GetState(), TState::Done);
    EXPECT_EQ(Letters(map.GetSolution()), "RRRRRRR");
}

TEST_F(GameMap, ReplayThatNeitherWinsNorKillsHandsThePlayerTheLevel) {
    Ready({"H      ", "", "+"});
    const TLevSol solution = Moves("RRLRU");
    map.Replay(&solution);
    EXPECT_EQ(map.GetState(), TState::Play);
    EXPECT_EQ(Letters(map.GetSolution()), "RRLR"); // the last U is blocked, not recorded
    EXPECT_EQ(map.GetHeroPos(), TPos(3, 1));
}

TEST_F(GameMap, TakeOverDuringAReplayKeepsTheMovesUpToIt) {
    map.SetPlayer("Bob #0");
    Ready({"H      ", "", "+"});
    map.TakeOverAtStep = 3;
    const TLevSol solution = Moves("RRRRLL");
    map.Replay(&solution);
    EXPECT_EQ(map.GetState(), TState::Play);
    EXPECT_EQ(Letters(map.GetSolution()), "RRR");
    EXPECT_EQ(map.GetHeroPos(), TPos(4, 1));
    EXPECT_EQ(map.GetSolution().GetCapacity(), TLevSol::MaxMoves); // room for his own moves
    EXPECT_EQ(map.GetSolution().GetPlayer(), "Bob #0");
    EXPECT_TRUE(map.DoMove(Left, 1));
    EXPECT_EQ(Letters(map.GetSolution()), "RRRL");
}

TEST_F(GameMap, FailingReplayIsSwallowedAndTheLevelStartsAgain) {
    Ready({"H      ", "", "+"});
    map.ThrowAtStep = 2;
    const TLevSol solution = Moves("RRRR");
    EXPECT_NO_THROW(map.Replay(&solution));
    EXPECT_EQ(map.GetState(), TState::Ready);
    EXPECT_EQ(map.GetSolution().GetSteps(), 0);
}

TEST_F(GameMap, ClockCountsSecondsAndStopsAtItsTop) {
    map.Tick();
    map.Tick();
    EXPECT_EQ(map.GetTime(), 2);
    map.SetTime(65534);
    map.Tick();
    EXPECT_EQ(map.GetTime(), 65535);
    map.Tick();
    EXPECT_EQ(map.GetTime(), 65535);
}

TEST_F(GameMap, PlayerIsPassedToTheRecording) {
    EXPECT_TRUE(map.SetPlayer("Ann #0"));
    EXPECT_FALSE(map.SetPlayer("Ann #0"));
    EXPECT_EQ(map.GetSolution().GetPlayer(), "Ann #0");
    map.Recording().SetPlayer("Someone else");
    EXPECT_FALSE(map.SetPlayer("Ann #0")); // unchanged, but passed on in any case
    EXPECT_EQ(map.GetSolution().GetPlayer(), "Ann #0");
}

TEST_F(GameMap, AssignCopiesStateGridAndMovesButNotPlayerOrClock) {
    map.SetPlayer("Ann #0");
    Ready({"H   ", "", "+"});
    map.DoMove(Right, 3);
    map.Tick();
    TGameMap compact;
    compact.Assign(map, false);
    EXPECT_EQ(compact.GetState(), TState::Play);
    EXPECT_TRUE(compact.SameCells(map));
    EXPECT_EQ(compact.GetHeroPos(), TPos(4, 1));
    EXPECT_EQ(compact.GetFoodCount(), 1);
    EXPECT_EQ(compact.GetName(), "Test");
    EXPECT_EQ(Letters(compact.GetSolution()), "RRR");
    EXPECT_EQ(compact.GetSolution().GetCapacity(), 3);
    EXPECT_EQ(compact.GetPlayer(), "");
    EXPECT_EQ(compact.GetTime(), 0);
    TGameMap full;
    full.Assign(compact, true);
    EXPECT_EQ(full.GetSolution().GetCapacity(), TLevSol::MaxMoves);
    EXPECT_EQ(Letters(full.GetSolution()), "RRR");
}

} // namespace
} // namespace tb::test
