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

// The state, the hero's cell and the recorded moves, as one line.
std::string Status(const TGameMap& map) {
    const char* states[] = {"None", "Ready", "Play", "Replay", "Done"};
    return std::string(states[static_cast<int>(map.GetState())]) + " " + P(map.GetHeroPos()) + " " +
           Letters(map.GetSolution());
}

struct GameMap : ::testing::Test {
    TProbe map;
    void Ready(const Rows& rows) {
        Lay(map, rows);
        map.SetState(TState::Ready, false);
    }
};

TEST_F(GameMap, StatesClearAndTheRecordingOfReadyAndPlay) {
    EXPECT_EQ(std::tuple(map.GetState(), map.GetPlayer(), map.GetTime()),
              std::tuple(TState::None, "", 0));
    EXPECT_EQ(map.GetSolution().GetCapacity(), TLevSol::MaxMoves);

    Ready({"H  +"});
    EXPECT_FALSE(map.SetState(TState::Ready, false));
    map.DoMove(Right, 2);
    map.Tick();
    EXPECT_FALSE(map.SetState(TState::Play, false));
    EXPECT_EQ(Status(map), "Play 3,1 RR");
    EXPECT_TRUE(map.SetState(TState::Ready, false)); // Ready empties the recording and clock
    EXPECT_EQ(std::tuple(map.GetSolution().GetSteps(), map.GetTime()), std::tuple(0, 0));
    EXPECT_TRUE(map.SetState(TState::Ready, true)); // forced: answers true all the same

    map.DoMove(Left, 1);
    map.Tick();
    const int calls = map.StepsCalls;
    map.Clear();
    EXPECT_EQ(Status(map), "None 0,0 ");
    EXPECT_EQ(std::tuple(map.GetTime(), map.GetFoodCount()), std::tuple(0, 0));
    EXPECT_GT(map.StepsCalls, calls);

    // Moves before the play starts are not recorded.
    Lay(map, {"H  +"});
    EXPECT_TRUE(map.HeroMove(Right));
    EXPECT_EQ(std::tuple(map.GetSolution().GetSteps(), map.StepsCalls), std::tuple(0, calls + 2));
}

TEST_F(GameMap, MovesRunWinAndLose) {
    const struct {
        Rows Level;
        TDir Dir;
        int Run;
        bool Moved;
        const char* After;
    } moves[] = {
        {{"H#", "", "  +"}, Right, 1, false, "Play 1,1 "},  // refused: the play starts all the same
        {{"H  #", "", "+"}, Right, 5, true, "Play 3,1 RR"}, // a run stops at the wall
        {{"H +  "}, Right, 5, true, "Done 3,1 RR"},         // the last food wins and ends the run
        {{"#*", "#* ", "#H ", "## ", "             +"}, Right, 3, true, "Done 3,3 R"}, // crushed
    };
    for (const auto& m : moves) {
        Ready(m.Level);
        EXPECT_EQ(map.DoMove(m.Dir, m.Run), m.Moved) << m.After;
        EXPECT_EQ(Status(map), m.After);
    }
    EXPECT_EQ(map.GetCell(TPos(3, 3)), Loser);

    // Die on a hero already crushed only ends the level.
    Ready({"H +"});
    map.SetCell(TPos(1, 1), Loser);
    map.SetState(TState::Play, false);
    map.Die();
    EXPECT_EQ(Status(map), "Done 1,1 ");
    EXPECT_EQ(map.GetCell(TPos(1, 1)), Loser);

    // The move after a full recording happens but is not recorded.
    Ready({"H ", "", "+"});
    for (int i = 0; i < TLevSol::MaxMoves; ++i)
        ASSERT_TRUE(map.DoMove(i % 2 ? Left : Right, 1));
    EXPECT_EQ(map.GetSolution().GetSteps(), 4096);
    EXPECT_TRUE(map.DoMove(Right, 1));
    EXPECT_EQ(std::tuple(map.GetHeroPos(), map.GetSolution().GetSteps()),
              std::tuple(TPos(2, 1), 4096));
}

TEST_F(GameMap, ReplayWinsHandsOverTakesOverOrStartsAgainOnFailure) {
    const struct {
        Rows Level;
        const char* Moves;
        int TakeOverAt, ThrowAt;
        const char* After;
    } replays[] = {
        {{"H      +"}, "RRRRRRRLLL", 0, 0, "Done 8,1 RRRRRRR"}, // stops at the win
        {{"H      ", "", "+"}, "RRLRU", 0, 0, "Play 3,1 RRLR"}, // neither wins nor kills
        {{"H      ", "", "+"}, "RRRRLL", 3, 0, "Play 4,1 RRR"}, // taken over: the moves up to it
        {{"H      ", "", "+"}, "RRRR", 0, 2, ""}, // failed: swallowed, the level starts again
    };
    map.SetPlayer("Bob #0");
    for (const auto& r : replays) {
        Ready(r.Level);
        map.ReplaySteps = 0;
        map.TakeOverAtStep = r.TakeOverAt;
        map.ThrowAtStep = r.ThrowAt;
        const TLevSol solution = Moves(r.Moves);
        EXPECT_NO_THROW(map.Replay(&solution));
        if (r.ThrowAt)
            EXPECT_EQ(std::tuple(map.GetState(), map.GetSolution().GetSteps()),
                      std::tuple(TState::Ready, 0));
        else
            EXPECT_EQ(Status(map), r.After) << r.Moves;
        if (r.TakeOverAt) {
            // The recording has room for the player's own moves, in his name.
            EXPECT_EQ(std::tuple(map.GetSolution().GetCapacity(), map.GetSolution().GetPlayer()),
                      std::tuple(TLevSol::MaxMoves, "Bob #0"));
            EXPECT_TRUE(map.DoMove(Left, 1));
            EXPECT_EQ(Status(map), "Play 3,1 RRRL");
        }
    }
}

TEST_F(GameMap, ClockPlayerAndAssign) {
    map.Tick();
    map.Tick();
    EXPECT_EQ(map.GetTime(), 2);
    map.SetTime(65534);
    map.Tick();
    map.Tick(); // stops at its top
    EXPECT_EQ(map.GetTime(), 65535);

    EXPECT_TRUE(map.SetPlayer("Ann #0"));
    EXPECT_FALSE(map.SetPlayer("Ann #0"));
    EXPECT_EQ(map.GetSolution().GetPlayer(), "Ann #0");
    map.Recording().SetPlayer("Someone else");
    EXPECT_FALSE(map.SetPlayer("Ann #0")); // unchanged, but passed on in any case
    EXPECT_EQ(map.GetSolution().GetPlayer(), "Ann #0");

    // Assign copies state, grid and moves, but not the player or the clock.
    Ready({"H   ", "", "+"});
    map.DoMove(Right, 3);
    map.Tick();
    TGameMap compact;
    compact.Assign(map, false);
    EXPECT_EQ(Status(compact), "Play 4,1 RRR");
    EXPECT_TRUE(compact.SameCells(map));
    EXPECT_EQ(std::tuple(compact.GetFoodCount(), compact.GetName(), compact.GetPlayer(),
                         compact.GetTime(), compact.GetSolution().GetCapacity()),
              std::tuple(1, "Test", "", 0, 3));
    TGameMap full;
    full.Assign(compact, true);
    EXPECT_EQ(full.GetSolution().GetCapacity(), TLevSol::MaxMoves);
    EXPECT_EQ(Letters(full.GetSolution()), "RRR");
}

} // namespace
} // namespace tb::test
