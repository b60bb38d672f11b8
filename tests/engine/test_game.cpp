// The game being played: levels, step back, snapshots, play back, the save
// file and the editor's operations.

#include "games/tb_game.h"
#include "services/d_error.h"
#include "services/d_file.h"
#include "tests/engine/engine_support.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <stdexcept>

namespace tb::test {
namespace {
namespace fs = std::filesystem;

const Rows WalkRows{"H   #      +"};
const Rows CrushRows{"#*", "#* ", "#H ", "## ", "             +"};
const Rows WinRows{"H +"};
const Rows FourRows{"H#+"};

std::string GameText() {
    std::string text = "Version 3.54 #0\r\n** Test\r\nAnn\r\n0 4\r\n";
    text += LevelText(WalkRows, "Walk") + LevelText(CrushRows, "Crush") +
            LevelText(WinRows, "Win") + LevelText(FourRows, "Four");
    return text + "END\r\n";
}

class TTestGame : public TGame {
public:
    using TGame::TGame;
    int HistoryCalls = 0;
    int SnapshotCalls = 0;
    bool MoveAgainInside = false; // a key pressed while a move is animated
    bool InnerMoveAnswer = true;
    bool FailInside = false;

    TMapSet& Set() { return *Game; }
    void TakeRecording(const TLevSol& moves) { Solution->Assign(moves, true); }
    void HistoryChanged() override {
        ++HistoryCalls;
        TGame::HistoryChanged();
    }
    void SnapshotsChanged() override {
        ++SnapshotCalls;
        TGame::SnapshotsChanged();
    }

protected:
    bool MoveHeroTo(TPos pos) override {
        if (MoveAgainInside) InnerMoveAnswer = Move(Right, 1);
        if (FailInside) throw std::runtime_error("drawing failed");
        return TGame::MoveHeroTo(pos);
    }
};

struct Play : ::testing::Test {
    TempProgramFolder folder;
    fs::path SavePath() const { return folder.Layout().SettingsFolder / "tobbin.sav"; }
    void SetUp() override { WriteFile(TMapSet::FilePath(folder.Layout(), "Test"), GameText()); }
    std::unique_ptr<TTestGame> Open(std::uint8_t level = 1, bool frugal = false) {
        auto game = std::make_unique<TTestGame>(folder.Layout(), frugal);
        game->SetPlayer("Ann #0");
        game->LoadGame("Test", false);
        game->SetLevel(level);
        return game;
    }
    // The state, the hero's cell and the recorded steps, as one line.
    static std::string Status(const TGame& game) {
        const char* states[] = {"None", "Ready", "Play", "Replay", "Done"};
        return std::string(states[static_cast<int>(game.GetState())]) + " " + P(game.GetHeroPos()) +
               " " + std::to_string(game.GetSolution().GetSteps());
    }
    static void Walk(TGame& game, int moves) {
        for (int i = 0; i < moves; ++i)
            ASSERT_TRUE(game.Move(i % 2 ? Left : Right, 1));
    }
};

TEST_F(Play, SetLevelLaysTheLevelOutAndTheSameLevelAgainRestartsIt) {
    auto game = Open(1);
    EXPECT_EQ(std::tuple(game->IsBusy(), Status(*game), game->GetName(), game->LevelCount(),
                         game->LevelName(), game->LevelName(3)),
              std::tuple(false, "Ready 1,1 0", "Walk", 4, "Walk", "Win"));
    Walk(*game, 3);
    game->TakeSnapshot();
    game->Tick();
    EXPECT_FALSE(game->SetLevel(1)); // not a change of level, but a restart
    EXPECT_EQ(std::tuple(Status(*game), game->HasHistory(), game->HasSnapshots(), game->GetTime()),
              std::tuple("Ready 1,1 0", false, false, 0));
    EXPECT_TRUE(game->SetLevel(3));
    EXPECT_EQ(game->GetName(), "Win");
    EXPECT_THROW(game->SetLevel(5), std::out_of_range);

    // A refused move leaves the game exactly as it was.
    game->SetLevel(1);
    EXPECT_FALSE(game->Move(Up, 1));
    EXPECT_EQ(std::tuple(Status(*game), game->HasHistory()), std::tuple("Ready 1,1 0", false));
    Walk(*game, 2);
    EXPECT_FALSE(game->Move(Left, 1)); // into the border
    EXPECT_EQ(std::tuple(game->GetHistory().GetCount(), Status(*game), game->IsBusy()),
              std::tuple(2, "Play 1,1 2", false));
}

TEST_F(Play, FullHistoryKeepsEveryStepBackWhenAMoveIsRefused) {
    for (bool frugal : {false, true}) {
        auto game = Open(1, frugal);
        const int capacity = game->GetHistory().GetCapacity();
        EXPECT_EQ(std::tuple(capacity, game->GetSnapshots().GetCapacity()),
                  frugal ? std::tuple(40, 4) : std::tuple(200, 20));
        Walk(*game, capacity + 1);
        for (int bump = 0; bump < 3; ++bump)
            EXPECT_FALSE(game->Move(Up, 1));
        EXPECT_EQ(game->GetHistory().GetCount(), capacity);
        for (int i = 0; i < capacity; ++i)
            game->StepBack();
        // The oldest position kept is the one after the first move.
        EXPECT_EQ(std::tuple(game->HasHistory(), Status(*game)), std::tuple(false, "Play 2,1 1"));
        try {
            game->StepBack();
            ADD_FAILURE() << "step back on an empty history";
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(), "Restoring empty backup");
        }
    }
}

TEST(BackupRing, CapacityIsCappedAndWithdrawOnARingWithRoomIsAPop) {
    EXPECT_EQ(TBackup_Set(300).GetCapacity(), 255);
    EXPECT_THROW(TBackup_Set(0), std::out_of_range);
    TBackup_Set ring(2);
    TGameMap a, b, out;
    Lay(a, {"H"}, "A");
    Lay(b, {" H"}, "B");
    ring.Push(a);
    ring.Push(b);
    ring.Withdraw(out);
    EXPECT_EQ(std::tuple(out.GetName(), ring.GetCount()), std::tuple("B", 1));
    ring.Pop(out);
    EXPECT_EQ(out.GetName(), "A");
    EXPECT_THROW(ring.Withdraw(out), Error);
}

TEST_F(Play, StepBackAfterTheHeroWasCrushedReturnsToPlay) {
    auto game = Open(2);
    game->Tick();
    EXPECT_TRUE(game->Move(Right, 1));
    EXPECT_EQ(std::tuple(game->GetState(), game->IsBusy()), std::tuple(TState::Done, false));
    const int calls = game->HistoryCalls;
    game->StepBack();
    // The clock is not turned back.
    EXPECT_EQ(std::tuple(Status(*game), game->GetCell(TPos(2, 3)), game->GetCell(TPos(2, 1)),
                         game->GetTime()),
              std::tuple("Play 2,3 0", Hero, Stone, 1));
    EXPECT_GT(game->HistoryCalls, calls);
}

TEST_F(Play, SnapshotRestoresItsPositionAndIsConsumedAndARunIsOneHistoryEntry) {
    auto game = Open(1);
    Walk(*game, 1);
    game->TakeSnapshot();
    EXPECT_TRUE(game->HasSnapshots());
    Walk(*game, 2); // right, left
    EXPECT_TRUE(game->Move(Right, 2));
    game->RestoreSnapshot();
    EXPECT_EQ(std::tuple(Status(*game), game->HasSnapshots()), std::tuple("Play 2,1 1", false));
    EXPECT_THROW(game->RestoreSnapshot(), Error);
    for (int i = 0; i < 25; ++i)
        game->TakeSnapshot();
    EXPECT_EQ(game->GetSnapshots().GetCount(), 20);

    game->SetLevel(1);
    EXPECT_TRUE(game->Move(Right, 9));
    EXPECT_EQ(std::tuple(Status(*game), game->GetHistory().GetCount()),
              std::tuple("Play 4,1 3", 1));
    game->StepBack();
    EXPECT_EQ(game->GetHeroPos(), TPos(1, 1));
}

TEST_F(Play, MoveIsRefusedWhileAnotherRunsAndBusyClearsOnErrors) {
    auto game = Open(1);
    game->MoveAgainInside = true;
    EXPECT_TRUE(game->Move(Right, 1));
    EXPECT_EQ(std::tuple(game->InnerMoveAnswer, game->GetHeroPos(), game->IsBusy()),
              std::tuple(false, TPos(2, 1), false));

    game->MoveAgainInside = false;
    game->FailInside = true;
    EXPECT_THROW(game->Move(Right, 1), std::runtime_error);
    EXPECT_FALSE(game->IsBusy());
    game->FailInside = false;
    EXPECT_TRUE(game->Move(Right, 1));
}

TEST_F(Play, ShowSolutionNeedsAStoredSolutionAndKeepsThePlayer) {
    auto game = Open(3);
    EXPECT_TRUE(game->Move(Right, 1));
    EXPECT_FALSE(game->PlayBack(true)); // none stored: nothing changes
    EXPECT_EQ(Status(*game), "Play 2,1 1");

    EXPECT_TRUE(game->Move(Right, 1));
    EXPECT_EQ(game->GetState(), TState::Done);
    game->StoreSolution();
    ASSERT_NE(game->GetGame().GetSolution(3), nullptr);
    EXPECT_EQ(Letters(*game->GetGame().GetSolution(3)), "RR");

    game->SetPlayer("Bob #0");
    game->SetLevel(3);
    EXPECT_TRUE(game->PlayBack(true)); // the level ended: no snapshot to return to
    EXPECT_EQ(std::tuple(game->GetState(), game->GetFoodCount(), game->HasSnapshots(),
                         game->GetPlayer(), game->GetSolution().GetPlayer()),
              std::tuple(TState::Done, 0, false, "Bob #0", "Bob #0"));

    EXPECT_TRUE(game->KillLevelSolution(3));
    EXPECT_FALSE(game->KillLevelSolution(3));
}

// The save file

std::string SavedLine(const std::string& player, const std::string& game, int level,
                      const std::string& moves) {
    return Moves(moves, player).Line(game, level, 2) + "\r\n";
}

TEST_F(Play, SaveProgressAppendsTheRecordingAndLoadProgressTakesItBack) {
    auto game = Open(1);
    Walk(*game, 2);
    game->SaveProgress();
    EXPECT_EQ(ReadFile(SavePath()), SavedLine("Ann #0", "Test", 1, "RL"));
    Walk(*game, 1);
    game->SaveProgress();
    EXPECT_EQ(ReadFile(SavePath()),
              SavedLine("Ann #0", "Test", 1, "RL") + SavedLine("Ann #0", "Test", 1, "RLR"));

    TLevSol target; // the last line wins
    EXPECT_EQ(game->LoadProgress(target, 9), 1);
    EXPECT_EQ(std::tuple(Letters(target), target.GetCapacity()),
              std::tuple("RLR", TLevSol::MaxMoves));
    EXPECT_FALSE(fs::exists(SavePath())); // nothing else was in it
    EXPECT_EQ(game->LoadProgress(target, 9), 0);
}

TEST_F(Play, LoadProgressConsumesEveryLineOfThisPlayerAndGameAndKeepsTheRest) {
    auto game = Open(1);
    const std::string bob = SavedLine("Bob #0", "Test", 2, "RR");
    const std::string other = SavedLine("Ann #0", "Other", 1, "R");
    const std::string damaged = "5";
    WriteFile(SavePath(), bob + SavedLine("Ann #0", "Test", 3, "RRR") + other +
                              SavedLine("Ann #0", "Test", 5, "RRRRR") + damaged + "\r\n");
    TLevSol target;
    EXPECT_EQ(game->LoadProgress(target, 3), 3); // up to the level reached, that one included
    EXPECT_EQ(
        std::tuple(target.GetSteps(), ReadFile(SavePath()), fs::exists(SavePath().string() + "-")),
        std::tuple(3, bob + other + damaged + "\r\n", false));

    // Nothing of this player and game: the file stays as it is.
    EXPECT_EQ(game->LoadProgress(target, 9), 0);
    EXPECT_EQ(ReadFile(SavePath()), bob + other + damaged + "\r\n");
}

TEST_F(Play, ASaveLineThatNoLongerFitsIsDroppedAndASaveStartsOnALineOfItsOwn) {
    auto game = Open(1); // "Test" has 4 levels: level 9 is gone, nothing to continue
    const std::string vanished = SavedLine("Ann #0", "Gone", 2, "R");
    WriteFile(SavePath(), SavedLine("Ann #0", "Test", 9, "RR") + vanished + "5");
    TLevSol target;
    EXPECT_EQ(game->LoadProgress(target, 9), 0);
    EXPECT_EQ(std::tuple(target.GetSteps(), ReadFile(SavePath())),
              std::tuple(0, vanished + "5\r\n"));
    fs::remove(SavePath());
    fs::create_directories(SavePath()); // a save file that cannot be read
    EXPECT_EQ(game->LoadProgress(target, 9), 0);
    fs::remove(SavePath());

    std::string bob = SavedLine("Bob #0", "Test", 1, "R");
    bob.resize(bob.size() - 2); // another player's line, cut before its CR LF
    WriteFile(SavePath(), bob);
    Walk(*game, 2);
    game->SaveProgress();
    EXPECT_EQ(ReadFile(SavePath()), bob + "\r\n" + SavedLine("Ann #0", "Test", 1, "RL"));
    EXPECT_EQ(game->LoadProgress(target, 9), 1);
    // Bob's line is kept, readable.
    EXPECT_EQ(std::tuple(target.GetSteps(), ReadFile(SavePath())), std::tuple(2, bob + "\r\n"));
}

TEST_F(Play, PlayBackReplaysOwnMovesAndASavedLevelEachSavedMoveOnce) {
    // As the play window continues a saved level: the level is chosen, the
    // saved moves become the recording, and the recording is played back.
    auto game = Open(1);
    Walk(*game, 3);
    EXPECT_TRUE(game->PlayBack(false)); // its own moves, through Ready: no history
    EXPECT_EQ(std::tuple(Status(*game), game->HasHistory(), game->GetSnapshots().GetCount()),
              std::tuple("Play 2,1 3", false, 1));
    Walk(*game, 6);
    game->SaveProgress();
    auto again = Open(1);
    TLevSol saved;
    ASSERT_EQ(again->LoadProgress(saved, 9), 1);
    again->SetLevel(1);
    again->TakeRecording(saved);
    EXPECT_TRUE(again->PlayBack(false));
    EXPECT_EQ(Status(*again), Status(*game));
    ASSERT_TRUE(again->Move(Left, 1));
    EXPECT_EQ(again->GetSolution().GetSteps(), 10);
}

// Editing

std::unique_ptr<TGamInfo> InfoWithSolutions(int levels) {
    auto info = std::make_unique<TGamInfo>();
    info->Init("Test", "Ann", 2);
    for (int level = 1; level <= levels; ++level) {
        info->IncLevelCount();
        info->SetSolution(Moves("R"), level, false);
    }
    return info;
}

TEST_F(Play, EditModeFreezesTheStateAndStoresOnlyChangedLevels) {
    auto game = Open(1);
    // Records of more levels than the file has bring only the solutions of its levels.
    game->AssignInfo(*InfoWithSolutions(6));
    EXPECT_NE(game->GetGame().GetSolution(4), nullptr);
    EXPECT_EQ(std::tuple(game->LevelCount(), game->GetGame().GetSolution(5),
                         game->GetGame().CountSolved(false)),
              std::tuple(4, nullptr, 4));
    EXPECT_NO_THROW(game->SetLevel(4));
    EXPECT_THROW(game->SetLevel(5), std::out_of_range);
    game->SetLevel(1);
    Walk(*game, 1);
    game->EnterEditMode(); // the stored map, loaded for editing
    EXPECT_EQ(std::tuple(game->IsEdit(), game->IsModified(), game->GetHeroPos()),
              std::tuple(true, false, TPos(1, 1)));
    EXPECT_FALSE(game->SetState(TState::Ready, true));
    EXPECT_EQ(game->GetState(), TState::Play);

    game->SetCell(TPos(10, 1), Grass);
    EXPECT_TRUE(game->SelectLevel(2)); // the solution of level 1 no longer fits
    EXPECT_EQ(std::tuple(game->GetChangedLevels(), game->IsModified(),
                         game->GetGame().GetSolution(1),
                         game->GetGame().GetMap(1)->GetCell(TPos(10, 1)), game->GetName()),
              std::tuple(1u << 1, true, nullptr, Grass, "Crush"));
    EXPECT_TRUE(game->SelectLevel(3)); // level 2 unchanged
    EXPECT_TRUE(game->GetGame().GetSolution(2) && game->GetChangedLevels() == 1u << 1);

    game->LeaveEditMode();
    EXPECT_EQ(std::tuple(game->IsEdit(), game->GetState(), game->GetName()),
              std::tuple(false, TState::Ready, "Win"));
}

TEST_F(Play, DeletingALevelMarksItAndTheLevelsAfterIt) {
    auto game = Open(2);
    game->EnterEditMode();
    game->DeleteLevel(); // level 2 shows the former level 3
    EXPECT_EQ(std::tuple(game->LevelCount(), game->GetChangedLevels(), game->GetLevel(),
                         game->GetName(), game->IsModified()),
              std::tuple(3, (1u << 2) | (1u << 3) | (1u << 4), 2, "Win", true));
    game->SelectLevel(3);
    game->DeleteLevel(); // the last level: the new last one is shown
    EXPECT_EQ(std::tuple(game->LevelCount(), game->GetLevel(), game->GetName()),
              std::tuple(2, 2, "Win"));
}

TEST_F(Play, CopyPreviousLevelTakesCellsHeroAndNameUntilStored) {
    auto game = Open(3);
    game->AssignInfo(*InfoWithSolutions(4));
    game->EnterEditMode();
    game->CopyPreviousLevel(); // not stored yet
    EXPECT_EQ(std::tuple(game->GetName(), game->GetHeroPos(), game->GetChangedLevels(),
                         game->IsModified(), game->GetGame().GetMap(3)->GetName()),
              std::tuple("Crush", TPos(2, 3), 1u << 3, true, "Win"));
    EXPECT_TRUE(game->SameCells(*game->GetGame().GetMap(2)));
    game->StoreEditedLevel();
    EXPECT_EQ(std::tuple(game->GetGame().GetMap(3)->SameCells(*game->GetGame().GetMap(2)),
                         game->GetGame().GetMap(3)->GetName(), game->GetGame().GetSolution(3)),
              std::tuple(true, "Crush", nullptr));

    auto first = Open(1);
    first->EnterEditMode();
    first->CopyPreviousLevel(); // level 1 has none: nothing happens
    EXPECT_EQ(std::tuple(first->IsModified(), first->GetName()), std::tuple(false, "Walk"));

    // Moving a level swaps it with the one at its new place and follows it.
    auto moved = Open(2);
    moved->EnterEditMode();
    moved->MoveLevelTo(1);
    EXPECT_EQ(std::tuple(moved->GetLevel(), moved->GetName(), moved->LevelName(2),
                         moved->GetChangedLevels(), moved->IsModified()),
              std::tuple(1, "Crush", "Walk", (1u << 1) | (1u << 2), true));
    EXPECT_THROW(moved->MoveLevelTo(5), std::out_of_range);
}

TEST_F(Play, NamesInfoFlagsAndSavingTheGame) {
    auto game = Open(1);
    game->EnterEditMode();
    game->SetLevelName("Walk");
    EXPECT_FALSE(game->IsModified()); // same name: no change
    game->SetLevelName("Stroll");
    EXPECT_EQ(std::tuple(game->IsModified(), game->GetName(), game->LevelName(1)),
              std::tuple(true, "Stroll", "Stroll"));

    game->SetGameInfo("Test", 3, "Cid");
    game->SetGameFlag(ReadOnly, true);
    EXPECT_THROW(game->SetGameInfo("Test", 5, "Cid"), std::out_of_range);
    game->SaveGame();
    EXPECT_FALSE(game->IsModified()) << "saved";
    TTestGame again(folder.Layout());
    again.LoadGame("Test", true);
    for (const TGame* g :
         {static_cast<const TGame*>(game.get()), static_cast<const TGame*>(&again)})
        EXPECT_EQ(std::tuple(g->GameAuthor(), g->Skill(), g->HasFlag(ReadOnly), g->LevelName(1),
                             g->LevelCount()),
                  std::tuple("Cid", 3, true, "Stroll", 4));
}

TEST_F(Play, NewGameStartsEmptyInEditModeAndTakesThePlayerAsAuthor) {
    TTestGame fresh(folder.Layout()); // a new object: busy, modified, no level
    EXPECT_EQ(std::tuple(fresh.GetLevel(), fresh.IsBusy(), fresh.IsModified(), fresh.IsEdit()),
              std::tuple(0, true, true, false));
    EXPECT_FALSE(fresh.Move(Right, 1)); // refused while busy
    auto game = Open(1);
    Walk(*game, 2);
    game->TakeSnapshot();
    game->NewGame("Fresh", 1, "");
    EXPECT_EQ(std::tuple(game->GetLevel(), game->IsEdit(), game->IsModified(), game->HasHistory(),
                         game->HasSnapshots(), game->LevelCount(), game->GameName()),
              std::tuple(0, true, true, false, false, 0, "Fresh"));
    EXPECT_EQ(Status(*game), "None 0,0 0");
    game->EnterEditMode();
    EXPECT_EQ(std::tuple(game->GameAuthor(), game->IsModified()), std::tuple("Ann #0", true));

    // The name is appended to, not prefixed: GCC 12 at -O3 misreads a literal
    // prefixed to a temporary string as an overlapping copy (-Wrestrict).
    for (int i = 0; i < 10; ++i)
        game->AddLevel(std::string("L").append(std::to_string(i + 1)));
    EXPECT_EQ(std::tuple(game->LevelCount(), game->LevelName(9), game->HasBadLevels()),
              std::tuple(9, "L9", true)); // empty levels cannot be played

    game->DeleteLevel();   // no current level: nothing is deleted
    game->LeaveEditMode(); // no current level: an empty grid, ready
    EXPECT_EQ(std::tuple(game->LevelCount(), Status(*game)), std::tuple(9, "Ready 0,0 0"));
}

} // namespace
} // namespace tb::test
