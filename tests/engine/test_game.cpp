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
    static void Walk(TGame& game, int moves) {
        for (int i = 0; i < moves; ++i)
            ASSERT_TRUE(game.Move(i % 2 ? Left : Right, 1));
    }
};

TEST_F(Play, NewGameObjectIsBusyModifiedAndHasNoLevel) {
    TTestGame game(folder.Layout());
    EXPECT_EQ(game.GetLevel(), 0);
    EXPECT_TRUE(game.IsBusy());
    EXPECT_TRUE(game.IsModified());
    EXPECT_FALSE(game.IsEdit());
    EXPECT_FALSE(game.Move(Right, 1)); // refused while busy
    EXPECT_EQ(game.GetHistory().GetCapacity(), 200);
    EXPECT_EQ(game.GetSnapshots().GetCapacity(), 20);
    TTestGame frugal(folder.Layout(), true);
    EXPECT_EQ(frugal.GetHistory().GetCapacity(), 40);
    EXPECT_EQ(frugal.GetSnapshots().GetCapacity(), 4);
}

TEST_F(Play, SetLevelLaysTheLevelOutAndTheSameLevelAgainRestartsIt) {
    auto game = Open(1);
    EXPECT_FALSE(game->IsBusy());
    EXPECT_EQ(game->GetState(), TState::Ready);
    EXPECT_EQ(game->GetName(), "Walk");
    EXPECT_EQ(game->LevelCount(), 4);
    EXPECT_EQ(game->LevelName(), "Walk");
    EXPECT_EQ(game->LevelName(3), "Win");
    Walk(*game, 3);
    game->TakeSnapshot();
    game->Tick();
    EXPECT_FALSE(game->SetLevel(1)); // not a change of level, but a restart
    EXPECT_EQ(game->GetState(), TState::Ready);
    EXPECT_EQ(game->GetHeroPos(), TPos(1, 1));
    EXPECT_FALSE(game->HasHistory());
    EXPECT_FALSE(game->HasSnapshots());
    EXPECT_EQ(game->GetTime(), 0);
    EXPECT_EQ(game->GetSolution().GetSteps(), 0);
    EXPECT_TRUE(game->SetLevel(3));
    EXPECT_EQ(game->GetName(), "Win");
    EXPECT_THROW(game->SetLevel(5), std::out_of_range);
}

TEST_F(Play, RefusedMoveLeavesTheGameExactlyAsItWas) {
    auto game = Open(1);
    EXPECT_FALSE(game->Move(Up, 1));
    EXPECT_EQ(game->GetState(), TState::Ready);
    EXPECT_FALSE(game->HasHistory());
    Walk(*game, 2);
    EXPECT_FALSE(game->Move(Left, 1)); // into the border
    EXPECT_EQ(game->GetHistory().GetCount(), 2);
    EXPECT_EQ(game->GetSolution().GetSteps(), 2);
    EXPECT_FALSE(game->IsBusy());
}

TEST_F(Play, FullHistoryKeepsEveryStepBackWhenAMoveIsRefused) {
    for (bool frugal : {false, true}) {
        auto game = Open(1, frugal);
        const int capacity = game->GetHistory().GetCapacity();
        Walk(*game, capacity + 1);
        EXPECT_EQ(game->GetHistory().GetCount(), capacity);
        for (int bump = 0; bump < 3; ++bump)
            EXPECT_FALSE(game->Move(Up, 1));
        EXPECT_EQ(game->GetHistory().GetCount(), capacity);
        for (int i = 0; i < capacity; ++i)
            game->StepBack();
        // The oldest position kept is the one after the first move.
        EXPECT_FALSE(game->HasHistory());
        EXPECT_EQ(game->GetHeroPos(), TPos(2, 1));
        EXPECT_EQ(game->GetSolution().GetSteps(), 1);
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
    EXPECT_EQ(out.GetName(), "B");
    EXPECT_EQ(ring.GetCount(), 1);
    ring.Pop(out);
    EXPECT_EQ(out.GetName(), "A");
    EXPECT_THROW(ring.Withdraw(out), Error);
}

TEST_F(Play, StepBackAfterTheHeroWasCrushedReturnsToPlay) {
    auto game = Open(2);
    game->Tick();
    EXPECT_TRUE(game->Move(Right, 1));
    EXPECT_EQ(game->GetState(), TState::Done);
    EXPECT_FALSE(game->IsBusy());
    const int calls = game->HistoryCalls;
    game->StepBack();
    EXPECT_EQ(game->GetState(), TState::Play);
    EXPECT_EQ(game->GetCell(TPos(2, 3)), Hero);
    EXPECT_EQ(game->GetHeroPos(), TPos(2, 3));
    EXPECT_EQ(game->GetCell(TPos(2, 1)), Stone);
    EXPECT_EQ(game->GetSolution().GetSteps(), 0);
    EXPECT_EQ(game->GetTime(), 1); // the clock is not turned back
    EXPECT_GT(game->HistoryCalls, calls);
}

TEST_F(Play, SnapshotRestoresItsPositionAndIsConsumed) {
    auto game = Open(1);
    Walk(*game, 1);
    game->TakeSnapshot();
    EXPECT_TRUE(game->HasSnapshots());
    Walk(*game, 2); // right, left
    EXPECT_TRUE(game->Move(Right, 2));
    game->RestoreSnapshot();
    EXPECT_EQ(game->GetHeroPos(), TPos(2, 1));
    EXPECT_EQ(game->GetSolution().GetSteps(), 1);
    EXPECT_EQ(game->GetState(), TState::Play);
    EXPECT_FALSE(game->HasSnapshots());
    EXPECT_THROW(game->RestoreSnapshot(), Error);

    for (int i = 0; i < 25; ++i)
        game->TakeSnapshot();
    EXPECT_EQ(game->GetSnapshots().GetCount(), 20);
}

TEST_F(Play, RunIsOneHistoryEntry) {
    auto game = Open(1);
    EXPECT_TRUE(game->Move(Right, 9));
    EXPECT_EQ(game->GetHeroPos(), TPos(4, 1));
    EXPECT_EQ(game->GetHistory().GetCount(), 1);
    game->StepBack();
    EXPECT_EQ(game->GetHeroPos(), TPos(1, 1));
}

TEST_F(Play, MoveIsRefusedWhileAnotherRunsAndBusyClearsOnErrors) {
    auto game = Open(1);
    game->MoveAgainInside = true;
    EXPECT_TRUE(game->Move(Right, 1));
    EXPECT_FALSE(game->InnerMoveAnswer);
    EXPECT_EQ(game->GetHeroPos(), TPos(2, 1));
    EXPECT_FALSE(game->IsBusy());

    game->MoveAgainInside = false;
    game->FailInside = true;
    EXPECT_THROW(game->Move(Right, 1), std::runtime_error);
    EXPECT_FALSE(game->IsBusy());
    game->FailInside = false;
    EXPECT_TRUE(game->Move(Right, 1));
}

TEST_F(Play, PlayBackReplaysOwnMovesAndSnapshotsTheEnd) {
    auto game = Open(1);
    Walk(*game, 3);
    EXPECT_TRUE(game->PlayBack(false));
    EXPECT_EQ(game->GetState(), TState::Play);
    EXPECT_EQ(game->GetHeroPos(), TPos(2, 1));
    EXPECT_EQ(game->GetSolution().GetSteps(), 3);
    EXPECT_FALSE(game->HasHistory()); // play back passes through Ready
    EXPECT_EQ(game->GetSnapshots().GetCount(), 1);
}

TEST_F(Play, ShowSolutionNeedsAStoredSolutionAndKeepsThePlayer) {
    auto game = Open(3);
    EXPECT_TRUE(game->Move(Right, 1));
    EXPECT_FALSE(game->PlayBack(true)); // none stored: nothing changes
    EXPECT_EQ(game->GetHeroPos(), TPos(2, 1));
    EXPECT_EQ(game->GetState(), TState::Play);
    EXPECT_EQ(game->GetSolution().GetSteps(), 1);

    EXPECT_TRUE(game->Move(Right, 1));
    EXPECT_EQ(game->GetState(), TState::Done);
    game->StoreSolution();
    ASSERT_NE(game->GetGame().GetSolution(3), nullptr);
    EXPECT_EQ(game->GetGame().GetSolution(3)->GetSteps(), 2);

    game->SetPlayer("Bob #0");
    game->SetLevel(3);
    EXPECT_TRUE(game->PlayBack(true));
    EXPECT_EQ(game->GetState(), TState::Done);
    EXPECT_EQ(game->GetFoodCount(), 0);
    EXPECT_FALSE(game->HasSnapshots()); // the level ended: nothing to return to
    EXPECT_EQ(game->GetPlayer(), "Bob #0");
    EXPECT_EQ(game->GetSolution().GetPlayer(), "Bob #0");

    EXPECT_TRUE(game->KillLevelSolution(3));
    EXPECT_FALSE(game->KillLevelSolution(3));
}

// ---------------------------------------------------------------------------
// The save file

std::string SavedLine(const std::string& player, const std::string& game, int level,
                      const std::string& moves) {
    TLevSol s;
    s.SetPlayer(player);
    for (char c : moves)
        s.Add(static_cast<std::uint8_t>(std::string_view("UDLR").find(c)));
    return s.Line(game, level, 2) + "\r\n";
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

    TLevSol target;
    EXPECT_EQ(game->LoadProgress(target, 9), 1);
    EXPECT_EQ(target.GetSteps(), 3); // the last line wins
    EXPECT_EQ(target.GetCapacity(), TLevSol::MaxMoves);
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
    EXPECT_EQ(target.GetSteps(), 3);
    EXPECT_EQ(ReadFile(SavePath()), bob + other + damaged + "\r\n");
    fs::path temp = SavePath();
    temp += "-";
    EXPECT_FALSE(fs::exists(temp));

    // Nothing of this player and game: the file stays as it is.
    EXPECT_EQ(game->LoadProgress(target, 9), 0);
    EXPECT_EQ(ReadFile(SavePath()), bob + other + damaged + "\r\n");
}

TEST_F(Play, ASaveLineThatNoLongerFitsItsGameIsDroppedQuietlyAndOthersStay) {
    auto game = Open(1); // "Test" has 4 levels
    const std::string vanished = SavedLine("Ann #0", "Gone", 2, "R");
    const std::string damaged = "5";
    WriteFile(SavePath(), SavedLine("Ann #0", "Test", 9, "RR") + vanished + damaged);
    TLevSol target;
    EXPECT_EQ(game->LoadProgress(target, 9), 0); // level 9 is gone: nothing to continue
    EXPECT_EQ(target.GetSteps(), 0);
    EXPECT_EQ(ReadFile(SavePath()), vanished + damaged + "\r\n");

    fs::remove(SavePath());
    fs::create_directories(SavePath()); // a save file that cannot be read
    EXPECT_EQ(game->LoadProgress(target, 9), 0);
}

TEST_F(Play, ASaveStartsOnALineOfItsOwnAfterALastLineWithoutLineEnd) {
    auto game = Open(1);
    std::string bob = SavedLine("Bob #0", "Test", 1, "R");
    bob.resize(bob.size() - 2); // another player's line, cut before its CR LF
    WriteFile(SavePath(), bob);
    Walk(*game, 2);
    game->SaveProgress();
    EXPECT_EQ(ReadFile(SavePath()), bob + "\r\n" + SavedLine("Ann #0", "Test", 1, "RL"));
    TLevSol target;
    EXPECT_EQ(game->LoadProgress(target, 9), 1);
    EXPECT_EQ(target.GetSteps(), 2);
    EXPECT_EQ(ReadFile(SavePath()), bob + "\r\n"); // Bob's line is kept, readable
}

TEST_F(Play, ContinuingASavedLevelReplaysEachSavedMoveOnce) {
    // As the play window continues a saved level: the level is chosen, the
    // saved moves become the recording, and the recording is played back.
    auto game = Open(1);
    Walk(*game, 9);
    game->SaveProgress();
    auto again = Open(1);
    TLevSol saved;
    ASSERT_EQ(again->LoadProgress(saved, 9), 1);
    again->SetLevel(1);
    again->TakeRecording(saved);
    EXPECT_TRUE(again->PlayBack(false));
    EXPECT_EQ(again->GetSolution().GetSteps(), 9);
    EXPECT_EQ(again->GetHeroPos(), game->GetHeroPos());
    ASSERT_TRUE(again->Move(Left, 1));
    EXPECT_EQ(again->GetSolution().GetSteps(), 10);
}

// ---------------------------------------------------------------------------
// Editing

std::unique_ptr<TGamInfo> InfoWithSolutions(int levels) {
    auto info = std::make_unique<TGamInfo>();
    TGamInfo& records = *info;
    records.Init("Test", "Ann", 2);
    for (int i = 0; i < levels; ++i)
        records.IncLevelCount();
    TLevSol s;
    s.SetPlayer("Ann #0");
    s.Add(Right);
    for (int level = 1; level <= levels; ++level)
        records.SetSolution(s, level, false);
    return info;
}

TEST_F(Play, EditModeFreezesTheStateAndStoresOnlyChangedLevels) {
    auto game = Open(1);
    game->AssignInfo(*InfoWithSolutions(4));
    Walk(*game, 1);
    game->EnterEditMode();
    EXPECT_TRUE(game->IsEdit());
    EXPECT_FALSE(game->IsModified());
    EXPECT_EQ(game->GetHeroPos(), TPos(1, 1)); // the stored map, loaded for editing
    EXPECT_FALSE(game->SetState(TState::Ready, true));
    EXPECT_EQ(game->GetState(), TState::Play);

    game->SetCell(TPos(10, 1), Grass);
    EXPECT_TRUE(game->SelectLevel(2));
    EXPECT_EQ(game->GetChangedLevels(), 1u << 1);
    EXPECT_TRUE(game->IsModified());
    EXPECT_EQ(game->GetGame().GetSolution(1), nullptr); // it no longer fits
    EXPECT_EQ(game->GetGame().GetMap(1)->GetCell(TPos(10, 1)), Grass);
    EXPECT_EQ(game->GetName(), "Crush");

    EXPECT_TRUE(game->SelectLevel(3)); // level 2 unchanged
    EXPECT_NE(game->GetGame().GetSolution(2), nullptr);
    EXPECT_EQ(game->GetChangedLevels(), 1u << 1);

    game->LeaveEditMode();
    EXPECT_FALSE(game->IsEdit());
    EXPECT_EQ(game->GetState(), TState::Ready);
    EXPECT_EQ(game->GetName(), "Win");
}

TEST_F(Play, DeletingALevelMarksItAndTheLevelsAfterIt) {
    auto game = Open(2);
    game->EnterEditMode();
    game->DeleteLevel();
    EXPECT_EQ(game->LevelCount(), 3);
    EXPECT_EQ(game->GetChangedLevels(), (1u << 2) | (1u << 3) | (1u << 4));
    EXPECT_EQ(game->GetLevel(), 2);
    EXPECT_EQ(game->GetName(), "Win"); // the former level 3
    EXPECT_TRUE(game->IsModified());

    game->SelectLevel(3);
    game->DeleteLevel(); // the last level: the new last one is shown
    EXPECT_EQ(game->LevelCount(), 2);
    EXPECT_EQ(game->GetLevel(), 2);
    EXPECT_EQ(game->GetName(), "Win");
}

TEST_F(Play, CopyPreviousLevelTakesCellsHeroAndNameUntilStored) {
    auto game = Open(3);
    game->AssignInfo(*InfoWithSolutions(4));
    game->EnterEditMode();
    game->CopyPreviousLevel();
    EXPECT_EQ(game->GetName(), "Crush");
    EXPECT_EQ(game->GetHeroPos(), TPos(2, 3));
    EXPECT_TRUE(game->SameCells(*game->GetGame().GetMap(2)));
    EXPECT_EQ(game->GetChangedLevels(), 1u << 3);
    EXPECT_TRUE(game->IsModified());
    EXPECT_EQ(game->GetGame().GetMap(3)->GetName(), "Win"); // not stored yet
    game->StoreEditedLevel();
    EXPECT_TRUE(game->GetGame().GetMap(3)->SameCells(*game->GetGame().GetMap(2)));
    EXPECT_EQ(game->GetGame().GetMap(3)->GetName(), "Crush");
    EXPECT_EQ(game->GetGame().GetSolution(3), nullptr);

    auto first = Open(1);
    first->EnterEditMode();
    first->CopyPreviousLevel(); // level 1 has none: nothing happens
    EXPECT_FALSE(first->IsModified());
    EXPECT_EQ(first->GetName(), "Walk");
}

TEST_F(Play, MoveLevelSwapsAndFollowsTheLevel) {
    auto game = Open(2);
    game->EnterEditMode();
    game->MoveLevelTo(1);
    EXPECT_EQ(game->GetLevel(), 1);
    EXPECT_EQ(game->GetName(), "Crush");
    EXPECT_EQ(game->LevelName(2), "Walk");
    EXPECT_EQ(game->GetChangedLevels(), (1u << 1) | (1u << 2));
    EXPECT_TRUE(game->IsModified());
    EXPECT_THROW(game->MoveLevelTo(5), std::out_of_range);
}

TEST_F(Play, NamesInfoFlagsAndSavingTheGame) {
    auto game = Open(1);
    game->EnterEditMode();
    game->SetLevelName("Walk");
    EXPECT_FALSE(game->IsModified()); // same name: no change
    game->SetLevelName("Stroll");
    EXPECT_TRUE(game->IsModified());
    EXPECT_EQ(game->GetName(), "Stroll");
    EXPECT_EQ(game->LevelName(1), "Stroll");

    game->SetGameInfo("Test", 3, "Cid");
    game->SetGameFlag(ReadOnly, true);
    EXPECT_TRUE(game->HasFlag(ReadOnly));
    EXPECT_EQ(game->Skill(), 3);
    EXPECT_EQ(game->GameAuthor(), "Cid");
    EXPECT_THROW(game->SetGameInfo("Test", 5, "Cid"), std::out_of_range);
    game->SaveGame();
    EXPECT_FALSE(game->IsModified());

    TTestGame again(folder.Layout());
    again.LoadGame("Test", true);
    EXPECT_EQ(again.GameAuthor(), "Cid");
    EXPECT_EQ(again.Skill(), 3);
    EXPECT_TRUE(again.HasFlag(ReadOnly));
    EXPECT_EQ(again.LevelName(1), "Stroll");
    EXPECT_EQ(again.LevelCount(), 4);
}

TEST_F(Play, NewGameStartsEmptyInEditModeAndTakesThePlayerAsAuthor) {
    auto game = Open(1);
    Walk(*game, 2);
    game->TakeSnapshot();
    game->NewGame("Fresh", 1, "");
    EXPECT_EQ(game->GetLevel(), 0);
    EXPECT_TRUE(game->IsEdit());
    EXPECT_TRUE(game->IsModified());
    EXPECT_EQ(game->GetState(), TState::None);
    EXPECT_FALSE(game->HasHistory());
    EXPECT_FALSE(game->HasSnapshots());
    EXPECT_EQ(game->LevelCount(), 0);
    EXPECT_EQ(game->GetHeroPos(), TPos());
    EXPECT_EQ(game->GameName(), "Fresh");

    game->EnterEditMode();
    EXPECT_EQ(game->GameAuthor(), "Ann #0");
    EXPECT_TRUE(game->IsModified());

    // The name is appended to, not prefixed: GCC 12 at -O3 misreads a literal
    // prefixed to a temporary string as an overlapping copy (-Wrestrict).
    for (int i = 0; i < 10; ++i)
        game->AddLevel(std::string("L").append(std::to_string(i + 1)));
    EXPECT_EQ(game->LevelCount(), 9);
    EXPECT_EQ(game->LevelName(9), "L9");
    EXPECT_TRUE(game->HasBadLevels()); // empty levels cannot be played

    game->DeleteLevel(); // no current level: nothing is deleted
    EXPECT_EQ(game->LevelCount(), 9);
    game->LeaveEditMode(); // no current level: an empty grid, ready
    EXPECT_EQ(game->GetState(), TState::Ready);
    EXPECT_EQ(game->GetHeroPos(), TPos());
}

TEST_F(Play, AssignInfoBringsSolutionsButKeepsTheLevelsTheGameHas) {
    auto game = Open(1);
    game->AssignInfo(*InfoWithSolutions(6)); // the records count more levels than the file has
    EXPECT_EQ(game->LevelCount(), 4);
    EXPECT_NE(game->GetGame().GetSolution(4), nullptr);
    EXPECT_EQ(game->GetGame().GetSolution(5), nullptr);
    EXPECT_EQ(game->GetGame().CountSolved(false), 4);
    EXPECT_NO_THROW(game->SetLevel(4));
    EXPECT_THROW(game->SetLevel(5), std::out_of_range);
}

} // namespace
} // namespace tb::test
