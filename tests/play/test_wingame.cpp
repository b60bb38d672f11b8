// The game of the play window, run on a recording stand-in for the window and
// the shell and on a sound bank that notes what it plays.

#include "play/tb_wingame.h"
#include "records/tb_shortest.h"
#include "services/d_answers.h"
#include "services/d_error.h"
#include "services/d_folders.h"
#include "services/d_messages.h"
#include "services/d_settings.h"
#include "services/d_string.h"
#include "tests/records/records_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <memory>
#include <vector>

namespace tb::test {
namespace {

struct TRecordingUi : TInBase {
    int Draws = 0, Killed = 0, Solved = 0, Waits = 0, Starts = 0, Explosions = 0;
    std::vector<TState> States;
    std::string Caption, Steps;
    int Highest = -1;
    void ShowReplayCount(std::uint16_t) override {}
    void DrawCell(TPos) override { ++Draws; }
    void EnableMenus(bool) override {}
    bool Menus = true;
    bool MenusEnabled() override { return Menus; }
    void AnimateExplosion(TPos) override { ++Explosions; }
    void HideTitles() override {}
    void ShowBottomPanel() override {}
    void AnimateImplosion(TPos) override {}
    void EnableLevelButtons(std::uint8_t highest) override { Highest = highest; }
    void UpdateEditMenu() override {}
    void LayoutLevelButtons(std::uint8_t) override {}
    void NewLevelStarting() override { ++Starts; }
    void ShowReadOnly(bool) override {}
    void RepaintMap() override {}
    void ShowCaption(const std::string& text) override { Caption = text; }
    void StateChanged(TState state) override { States.push_back(state); }
    void ShowAccessAll(bool) override {}
    void ShowModified(bool) override {}
    void ShowXtraMenu(bool) override {}
    void ShowClock(const std::string&) override {}
    void HeroKilled() override { ++Killed; }
    void EditModeChanged(bool) override {}
    void SelectLevelButton(std::uint8_t) override {}
    void ShowLevelName(const std::string&) override {}
    void ShowRestoreSnapshot(bool) override {}
    void ShowStepBack(bool) override {}
    void ShowSteps(const std::string& text) override { Steps = text; }
    void LevelSolved() override { ++Solved; }
    void WaitMessage() override { ++Waits; }
};

// Answers the questions and dialogs from scripted lists (No and Cancel when
// they run out) and notes what it was asked.
struct TRecordingShell : TWinShell {
    int Congratulations = 0;
    bool Terminated = false;
    std::vector<std::string> Messages, Errors;
    std::string Chosen;
    std::deque<std::uint8_t> Answers;
    std::deque<std::string> GameNames, LevelNames, Players;
    void ProcessMessages() override {}
    std::vector<std::vector<std::string>> Arguments; // of each message, in order
    std::uint8_t Ask(const std::string& message, const std::vector<std::string>& arguments,
                     std::uint8_t) override {
        Messages.push_back(message);
        Arguments.push_back(arguments);
        return Next(Answers, std::uint8_t{AnswerNo});
    }
    std::string ChooseGame(bool&) override { return Chosen; }
    void ShowCongratulations() override { ++Congratulations; }
    std::string ChoosePlayer(const std::vector<std::string>&, const std::string&) override {
        return Next(Players, std::string());
    }
    void ForgetPlayer(const std::string&) override {}
    // Like the dialog, hands the author back without his installation number.
    bool AskGameName(std::string& name, std::uint8_t&, std::string& author,
                     bool& changed) override {
        author = CutBeforeNumber(author);
        name = Next(GameNames, std::string());
        return changed = !name.empty();
    }
    bool AskLevelName(std::string& name, bool& changed) override {
        name = Next(LevelNames, std::string());
        return changed = !name.empty();
    }
    void ShowError(const std::string& message) override { Errors.push_back(message); }
    void Terminate() override { Terminated = true; }

    template <class T> static T Next(std::deque<T>& list, T otherwise) {
        if (list.empty()) return otherwise;
        T first = list.front();
        list.pop_front();
        return first;
    }
};

// Notes each effect the bank plays, by the effect it stands for.
class TRecordingPlayer : public TSoundPlayer {
public:
    explicit TRecordingPlayer(std::vector<TEffect>& played) : Played(played) {}
    void Play(std::uint8_t entry, const std::string&, bool) override {
        for (int e = 0; e < EffectCount; ++e)
            if (SoundBank().EffectEntry(static_cast<TEffect>(e)) == entry)
                Played.push_back(static_cast<TEffect>(e));
    }

private:
    std::vector<TEffect>& Played;
};

// A level walled in above and below: up is refused, right eats food.
const Rows Corridor = {"#####", "#H++", "#####"};

class WinGameTest : public ::testing::Test {
protected:
    void SetUp() override {
        SoundBank().SetPlayer(std::make_unique<TRecordingPlayer>(Played));
        SoundBank().LoadSoundSet(std::filesystem::path(TOBBIN_PROGRAM_FOLDER) / "wav" / "Classic");
        ASSERT_EQ(SoundBank().LoadedCount(), EffectCount);
        SoundBank().SoundOn = true;
        tb::Settings() = TSettings{};
        Pacing() = TPacing{};
    }
    void TearDown() override { SoundBank().SetPlayer(MakeMixerPlayer()); }

    TWinGame& Fresh() {
        Game = std::make_unique<TWinGame>(Ui, Shell, Folder.Layout());
        Game->SetPlayer("Ann");
        return *Game;
    }
    // Opens `name` for player "Ann" at full animation but with no waiting.
    TWinGame& Open(const std::string& name, std::uint8_t level = 1) {
        Fresh();
        tb::Settings().Fast = 1; // pacing stays on but costs no time
        Game->SetSpeed(3);
        Game->SetTiming();
        Game->OpenGameAt(name, level);
        Played.clear();
        return *Game;
    }
    int Count(TEffect effect) const {
        return static_cast<int>(std::count(Played.begin(), Played.end(), effect));
    }

    TempProgramFolder Folder;
    TRecordingUi Ui;
    TRecordingShell Shell;
    std::vector<TEffect> Played;
    std::unique_ptr<TWinGame> Game;
    static constexpr int EffectCount = 16;
};

TEST_F(WinGameTest, TimingFollowsTheSpeedTableAndTheClockWrapsHourly) {
    TWinGame& game = Fresh();
    const std::uint32_t gaps[] = {85, 70, 55, 42};
    for (std::uint8_t speed = 1; speed <= 4; ++speed) {
        game.SetSpeed(speed);
        game.SetTiming();
        EXPECT_EQ(Pacing().StepDelay, StepDelay(tb::Settings(), speed));
        EXPECT_EQ(Pacing().SoundGap, gaps[speed - 1u]) << "speed " << int(speed);
    }
    tb::Settings().Booster = 0;
    game.SetTiming();
    EXPECT_EQ(Pacing().SoundGap, 0u); // no delay, no gap
    for (const auto& [seconds, shown] :
         {std::pair{59, "00:59"}, {3599, "59:59"}, {3600, "00:00"}, {754, "12:34"}})
        EXPECT_EQ(ClockTextOf(seconds), shown);
}

TEST_F(WinGameTest, APlayerCannotJumpPastHisFirstUnsolvedLevelUnlessAllLevelsAreOpen) {
    WriteSimpleGame("Five", 5);
    TWinGame& game = Open("Five");
    game.SetSolvedCount(2);
    EXPECT_EQ(Ui.Highest, 3);
    game.SetLevel(5);
    EXPECT_EQ(game.GetLevel(), 3);
    game.SetLevel(2);
    EXPECT_EQ(game.GetLevel(), 2);
    game.ToggleAllLevels();
    EXPECT_EQ(Ui.Highest, 9);
    game.SetLevel(5);
    EXPECT_EQ(game.GetLevel(), 5);
    EXPECT_GE(Ui.Starts, 4); // every level start may shuffle the pictures and sounds
}

TEST_F(WinGameTest, ARefusedMoveSoundsOnceUntilAMoveSucceedsOrAStepIsTakenBack) {
    WriteGame("Corridor", {Corridor, Corridor});
    TWinGame& game = Open("Corridor");
    EXPECT_FALSE(game.Move(Up, 1));
    EXPECT_FALSE(game.Move(Up, 1));
    EXPECT_EQ(Count(TEffect::Refused), 1);
    EXPECT_TRUE(game.Move(Right, 1));
    EXPECT_EQ(Count(TEffect::Pick), 1);
    EXPECT_FALSE(game.Move(Down, 1));
    EXPECT_EQ(Count(TEffect::Refused), 2);
    game.StepBack();
    EXPECT_FALSE(game.Move(Down, 1));
    EXPECT_EQ(Count(TEffect::Refused), 3);
    EXPECT_EQ(Ui.Steps, "0");
}

TEST_F(WinGameTest, AClickRunsTheHeroAlongHisRowOrColumnOnlyWhenTheGameAcceptsMoves) {
    const Rows longCorridor = {"#####", "#H+++", "#####"};
    WriteGame("Long", {longCorridor, longCorridor});
    TWinGame& game = Open("Long");
    const TPos hero = game.GetHeroPos();
    const auto at = [&](int dx, int dy) { return TPos(hero.X + dx, hero.Y + dy); };
    ASSERT_TRUE(game.AcceptsMoves());
    EXPECT_FALSE(game.ClickCell(at(0, 0))); // his own cell
    EXPECT_FALSE(game.ClickCell(at(1, 1))); // off his row and column
    EXPECT_FALSE(game.ClickCell(at(0, 1))); // the wall below refuses
    EXPECT_EQ(Count(TEffect::Refused), 1);
    EXPECT_EQ(game.GetHeroPos().Word(), hero.Word());
    EXPECT_TRUE(game.ClickCell(at(2, 0))); // runs two cells right
    EXPECT_EQ(game.GetHeroPos().Word(), at(2, 0).Word());
    EXPECT_EQ(Count(TEffect::Pick), 2);
    EXPECT_TRUE(game.ClickCell(at(1, 0))); // and back one to the left
    EXPECT_EQ(game.GetHeroPos().Word(), at(1, 0).Word());
    ASSERT_EQ(game.GetState(), TState::Play);

    // No moves while a command holds the menus, after the level, or in the editor.
    Ui.Menus = false;
    EXPECT_FALSE(game.AcceptsMoves());
    EXPECT_FALSE(game.ClickCell(at(3, 0)));
    Ui.Menus = true;
    game.SetState(TState::Done, false);
    EXPECT_FALSE(game.AcceptsMoves());
    EXPECT_FALSE(game.ClickCell(at(3, 0)));
    game.SetState(TState::Ready, false);
    EXPECT_TRUE(game.AcceptsMoves());
    Game->SetEditable(true);
    game.EditMode();
    ASSERT_TRUE(game.IsEdit());
    EXPECT_FALSE(game.AcceptsMoves());
    EXPECT_FALSE(game.ClickCell(at(1, 0)));
    EXPECT_EQ(Count(TEffect::Pick), 2);
}

TEST_F(WinGameTest, ASolvedLevelWaitsForTheBannerThenOpensTheNextAndTheLastCongratulates) {
    WriteSimpleGame("Pair", 2);
    TWinGame& game = Open("Pair");
    ASSERT_TRUE(game.Move(Right, 1));
    EXPECT_EQ(Ui.Solved, 1);
    EXPECT_EQ(Ui.Waits, 1);
    EXPECT_EQ(Count(TEffect::Win), 1);
    EXPECT_EQ(game.GetLevel(), 2);
    EXPECT_EQ(game.GetState(), TState::Ready);
    EXPECT_EQ(game.GetRecords().PlayerSteps("Pair", 1, "Ann"), 1);
    EXPECT_EQ(Shell.Congratulations, 0);
    EXPECT_EQ(Ui.Highest, 2); // the next level's button is open
    EXPECT_EQ(game.GetRecords().FindGame("Pair")->Mark, 0);

    ASSERT_TRUE(game.Move(Right, 1));
    EXPECT_EQ(Ui.Solved, 2);
    EXPECT_EQ(Ui.Waits, 1); // the last level does not move on
    EXPECT_EQ(Shell.Congratulations, 1);
    EXPECT_EQ(game.GetRecords().FindGame("Pair")->Mark, 1); // the game is finished
    EXPECT_EQ(game.GetLevel(), 2);
    EXPECT_EQ(game.GetState(), TState::Done);
    EXPECT_NE(std::find(Ui.States.begin(), Ui.States.end(), TState::Done), Ui.States.end());
}

TEST_F(WinGameTest, ANewRecordIsAnnouncedWithThePreviousHolderButAShownSolutionIsNot) {
    WriteGame("Hills", {TwoSteps, OneStep});
    TLevSol bob = Solution("Bob #0", 1, Left); // a step back and three to the right
    for (int i = 0; i < 3; ++i)
        bob.Add(Right);
    WriteFile(Settings("tobbin.sol"), SolFile({bob.Line("Hills", 1, 2)}));
    TWinGame& game = Open("Hills");
    ASSERT_TRUE(game.Move(Right, 1));
    ASSERT_TRUE(game.Move(Right, 1));
    ASSERT_EQ(Shell.Messages, std::vector<std::string>{MoreMessage(MsgNewRecord)});
    EXPECT_EQ(Shell.Arguments[0], (std::vector<std::string>{"4", "Bob #0", "2"}));
    EXPECT_EQ(Ui.Solved, 1);
    EXPECT_EQ(game.GetLevel(), 2);

    // Watching the stored solution win is neither announced nor recorded.
    game.SetLevel(1);
    ASSERT_TRUE(game.PlayBack(true));
    EXPECT_EQ(game.GetState(), TState::Done);
    EXPECT_EQ(Ui.Solved, 1);
    EXPECT_EQ(Shell.Messages.size(), 1U);
    EXPECT_EQ(game.GetLevel(), 1);
    EXPECT_EQ(game.GetRecords().PlayerSteps("Hills", 1, "Ann"), 2);
}

TEST_F(WinGameTest, AtBoosterSpeedOnlyTheWinIsHeardAsAPick) {
    WriteGame("Two", {TwoSteps});
    TWinGame& game = Open("Two");
    game.SetSpeed(4);
    game.SetTiming();
    ASSERT_TRUE(game.Move(Right, 1));
    EXPECT_TRUE(Played.empty()); // the food eaten during play is silent
    ASSERT_TRUE(game.Move(Right, 1));
    EXPECT_EQ(Played, std::vector<TEffect>{TEffect::Pick});
    // With the sound switched off the gaps are kept but nothing plays.
    SoundBank().SoundOn = false;
    game.SetState(TState::Ready, false);
    game.SetSpeed(2);
    Played.clear();
    ASSERT_TRUE(game.Move(Right, 2));
    EXPECT_TRUE(Played.empty());
}

TEST_F(WinGameTest, ACrushedHeroIsMournedOnceAndAStepBackBringsHimBack) {
    WriteGame("Deadly", {Deadly});
    TWinGame& game = Open("Deadly");
    const TPos start = game.GetHeroPos();
    const int drawsBefore = Ui.Draws;
    game.StepBack(); // nothing to take back: nothing is drawn
    EXPECT_EQ(Ui.Draws, drawsBefore);

    game.Move(Left, 1);
    EXPECT_EQ(game.GetState(), TState::Done);
    EXPECT_EQ(Ui.Killed, 1);
    EXPECT_EQ(Count(TEffect::Kill), 1);
    game.Die(); // a level over already is not lost twice
    EXPECT_EQ(Ui.Killed, 1);

    game.StepBack();
    EXPECT_EQ(game.GetHeroPos(), start);
    EXPECT_EQ(game.GetCell(start), Hero);
    EXPECT_GE(Ui.Draws, drawsBefore + 31 * 18); // the whole field drawn again
    EXPECT_NE(game.GetState(), TState::Done);
}

TEST_F(WinGameTest, EachExplosionIsAnimatedOnceWithItsSoundAndALandingBombNotAtAll) {
    struct Case {
        const char* under;
        int explosions;
    };
    // Under the falling bomb: a stone (both go), a wall (the bomb alone), grass.
    for (const Case c : {Case{"*", 1}, Case{"#", 1}, Case{"-", 0}}) {
        WriteGame("Blast", {{"!", "H", "", "", c.under, "#", "        +"}});
        TWinGame& game = Open("Blast");
        Ui.Explosions = 0;
        ASSERT_TRUE(game.Move(Right, 1)) << c.under;
        EXPECT_EQ(Ui.Explosions, c.explosions) << c.under;
        EXPECT_EQ(Count(TEffect::Bomb), c.explosions) << c.under;
        EXPECT_EQ(game.GetCell(TPos(1, 4)), c.explosions == 0 ? Bomb : Empty) << c.under;
    }
}

TEST_F(WinGameTest, TheCaptionNamesPlayerGameAndLevelAndWithExtrasTheStateInLanguageWords) {
    WriteGame("Corridor", {Corridor});
    Fresh().UpdateCaption();
    EXPECT_EQ(Ui.Caption, " Tobbin: Ann");
    TWinGame& game = Open("Corridor");
    EXPECT_EQ(Ui.Caption, " Tobbin: Ann > Corridor > Level 1");
    game.ToggleXtra();
    EXPECT_EQ(Ui.Caption, " Tobbin: Ann > Corridor > Level 1 - Ready");
    EXPECT_FALSE(game.PlayBack(true)); // no stored solution yet
    EXPECT_EQ(Shell.Messages, std::vector<std::string>{MoreMessage(MsgNoSolution)});

    for (const auto& [key, word] : std::vector<std::pair<int, std::string>>{
             {MsgStateNone + 1, "Bereit"}, {MsgEditing, "Bearbeiten"}, {MsgModified, "Geaendert"}})
        SetText(TextList::More, key, word);
    const auto word = [this] { return Ui.Caption.substr(Ui.Caption.rfind(" - ") + 3); };
    game.UpdateCaption();
    EXPECT_EQ(word(), "Bereit");
    game.EditMode();
    game.SaveGame();
    EXPECT_EQ(word(), "Bearbeiten");
    game.PaintRectangle(20, 10, 20, 10, Wall);
    EXPECT_EQ(word(), "Geaendert");
    game.SaveGame();
    EXPECT_EQ(word(), "Bearbeiten");
    RestoreBuiltInTexts();
}

TEST_F(WinGameTest, TheFirstLoadStartsAtTheRememberedLevelButNeverBeyondTheFirstUnsolved) {
    WriteSimpleGame("Five", 5);
    TWinGame& game = Fresh();
    Shell.Chosen = "Five";
    game.RememberStart("five", 4); // beyond the first unsolved level: from the start
    game.LoadGame();
    EXPECT_EQ(game.GetLevel(), 1);
    ASSERT_TRUE(game.Move(Right, 1));
    ASSERT_EQ(game.GetLevel(), 2);
    game.RememberStart("Five", 2);
    game.LoadGame();
    EXPECT_EQ(game.GetLevel(), 2);
    game.LoadGame(); // remembered once only
    EXPECT_EQ(game.GetLevel(), 1);
    Shell.Chosen.clear(); // cancelled: back to no game
    game.LoadGame();
    EXPECT_EQ(game.GetState(), TState::None);
}

TEST_F(WinGameTest, ContinuingASavedLevelCountsEachSavedMoveOnceAndRecordsTheRealSteps) {
    // An open room: nine moves right and left do not win; the food lies below.
    WriteGame("Room", {{" H", "", "", "", "                +"}});
    TWinGame& game = Open("Room");
    for (int i = 0; i < 9; ++i)
        ASSERT_TRUE(game.Move(i % 2 ? Left : Right, 1));
    game.SaveProgress(); // closed, and Yes to keeping the level

    TWinGame& again = Fresh();
    Shell.Chosen = "Room";
    Shell.Answers = {AnswerYes}; // continue the saved level
    again.LoadGame();
    EXPECT_EQ(again.GetSolution().GetSteps(), 9);
    EXPECT_EQ(Ui.Steps, "9");
    ASSERT_TRUE(again.Move(Down, 4));
    ASSERT_TRUE(again.Move(Right, 14));
    ASSERT_EQ(again.GetState(), TState::Done);
    const TLevSol* best = again.GetRecords().GetSolution("Room", 1);
    ASSERT_NE(best, nullptr);
    EXPECT_EQ(best->GetSteps(), 27);
}

TEST_F(WinGameTest, ADamagedGameChosenForLoadingLeavesTheGameInPlayAsItWas) {
    WriteGame("Good", {TwoSteps});
    WriteGame("Bad", {TwoSteps});
    // A changed cell that the file's checksum no longer covers.
    const std::filesystem::path bad = Folder.Layout().GamesFolder / GameFileName("Bad", ".tbg");
    std::string text = ReadFile(bad);
    ASSERT_NE(text.find(" H++"), std::string::npos);
    text.replace(text.find(" H++"), 4, " H+*");
    WriteFile(bad, text);

    TWinGame& game = Open("Good");
    ASSERT_TRUE(game.Move(Right, 1));
    const TPos hero = game.GetHeroPos();
    Shell.Chosen = "Bad";
    EXPECT_THROW(game.LoadGame(), Error);
    EXPECT_EQ(game.GameName(), "Good");
    EXPECT_EQ(game.GetState(), TState::Play);
    EXPECT_EQ(game.GetHeroPos(), hero);
    EXPECT_EQ(game.GetSolution().GetSteps(), 1);
    EXPECT_TRUE(game.Move(Right, 1)); // and the level can still be won
    EXPECT_EQ(game.GetState(), TState::Done);
}

TEST_F(WinGameTest, ANewGameRefusesANameInUseAndStartsInTheEditorWithItsFirstLevel) {
    WriteGame("Corridor", {Corridor});
    TWinGame& game = Open("Corridor");
    Shell.GameNames = {"Corridor", "Fresh Field"};
    Shell.LevelNames = {"Opening"};
    game.NewGame();
    EXPECT_EQ(Shell.Errors, std::vector<std::string>{ErrorMessage(ErrGameNameUsed)});
    EXPECT_TRUE(game.IsEdit());
    EXPECT_TRUE(game.IsModified());
    EXPECT_EQ(game.GameName(), "Fresh Field");
    EXPECT_EQ(game.LevelCount(), 1);
    EXPECT_EQ(game.LevelName(1), "Opening");

    // Cancelling the first level's name, or the name asked again after a
    // refusal, ends the command with nothing made.
    const int games = game.GameCount();
    for (const std::deque<std::string>& names :
         {std::deque<std::string>{"Another"}, {"Corridor", ""}}) {
        Shell.GameNames = names;
        game.NewGame();
        EXPECT_EQ(game.GameName(), "Fresh Field");
    }
    EXPECT_EQ(game.GameCount(), games);
}

TEST_F(WinGameTest, TheEditorPaintsRectanglesAsksBeforeLeavingAChangeAndRenamesKeepingTheAuthor) {
    WriteGame("Corridor", {Corridor}, "Ann #3");
    TWinGame& game = Open("Corridor");
    game.EditMode();
    game.PaintRectangle(12, 8, 10, 6, Wall); // lower right to upper left
    for (int y = 6; y <= 8; ++y)
        for (int x = 10; x <= 12; ++x)
            EXPECT_EQ(game.GetCell(TPos(x, y)), Wall) << x << "," << y;
    EXPECT_EQ(game.GetCell(TPos(13, 8)), Empty);
    // Past the edges the rectangle stops at the edge cells.
    game.PaintRectangle(29, 17, 40, 30, Stone);
    EXPECT_EQ(game.GetCell(TPos(31, 18)), Stone);
    // A hero rectangle leaves the hero in its last cell and the rest empty.
    game.PaintRectangle(20, 10, 22, 11, Hero);
    int heroes = 0;
    for (int y = 1; y <= 18; ++y)
        for (int x = 1; x <= 31; ++x)
            heroes += game.GetCell(TPos(x, y)) == Hero;
    EXPECT_EQ(heroes, 1);
    EXPECT_EQ(game.GetHeroPos(), TPos(22, 11));
    EXPECT_EQ(game.GetCell(TPos(21, 11)), Empty);

    game.PaintRectangle(1, 1, 31, 18, Grass); // no hero, no food: unplayable
    Shell.Answers = {AnswerCancel};
    game.PlayMode();
    EXPECT_TRUE(game.IsEdit());
    // Yes: the save fails, and No to the second question stays too.
    Shell.Messages.clear();
    Shell.Answers = {AnswerYes, AnswerNo};
    game.PlayMode();
    EXPECT_TRUE(game.IsEdit());
    ASSERT_EQ(Shell.Messages.size(), 2u);
    EXPECT_EQ(Shell.Messages[1], MoreMessage(MsgCannotSave) + "|" + MoreMessage(MsgExitEditor));
    // Leaving without saving brings the game back as its file has it.
    Shell.Answers = {AnswerNo};
    game.PlayMode();
    EXPECT_FALSE(game.IsEdit());
    EXPECT_EQ(game.GetCell(TPos(3, 2)), Food);
    EXPECT_EQ(game.GetState(), TState::Ready);

    game.EditMode();
    Shell.GameNames = {"Long Corridor"};
    game.RenameGame();
    EXPECT_EQ(game.GameName(), "Long Corridor");
    EXPECT_EQ(game.GameAuthor(), "Ann #3");
}

TEST_F(WinGameTest, AWinAfterAHintIsAidedUntilTheLevelIsLaidOutAgain) {
    WriteGame("Two", {TwoSteps, OneStep});
    TWinGame& game = Open("Two");
    ASSERT_TRUE(game.Move(Right, 1));
    game.MarkHintShown();
    game.StepBack(); // taking the step back keeps the aid
    ASSERT_TRUE(game.Move(Right, 2));
    EXPECT_EQ(game.GetState(), TState::Done);
    EXPECT_EQ(Ui.Solved, 0);
    EXPECT_EQ(game.GetLevel(), 1);
    EXPECT_EQ(game.GetSolvedCount(), 0);
    EXPECT_EQ(game.BestSolution(), nullptr);
    EXPECT_EQ(game.GetRecords().PlayerSteps("Two", 1, "Ann"), 0);
    // Laid out afresh, the level is the player's own again.
    game.SetState(TState::Ready, false);
    ASSERT_TRUE(game.Move(Right, 2));
    EXPECT_EQ(Ui.Solved, 1);
    EXPECT_EQ(game.GetRecords().PlayerSteps("Two", 1, "Ann"), 2);
    EXPECT_EQ(game.GetLevel(), 2);
}

TEST_F(WinGameTest, SavingALevelASearchProvedUnwinnableAsksNamingIt) {
    WriteGame("Corridor", {Corridor});
    TWinGame& game = Open("Corridor");
    game.EditMode();
    game.PaintRectangle(20, 10, 20, 10, Wall); // still winnable: saved without a question
    EXPECT_TRUE(game.SaveGame());
    EXPECT_TRUE(Shell.Messages.empty());
    game.PaintRectangle(3, 2, 3, 2, Wall); // the hero is walled in
    Shell.Answers = {AnswerNo};
    EXPECT_FALSE(game.SaveGame());
    ASSERT_EQ(Shell.Messages, std::vector<std::string>{MoreMessage(MsgSaveUnwinnable)});
    EXPECT_EQ(Shell.Arguments[0], std::vector<std::string>{"Level 1"});
    EXPECT_TRUE(game.IsModified()) << "not saved";
    // What the search proved is kept; saved anyway, it is asked again next time.
    EXPECT_EQ(game.Shortest().Find(game), (TShortest{false, 0}));
    Shell.Answers = {AnswerYes};
    EXPECT_TRUE(game.SaveGame());
    EXPECT_FALSE(game.IsModified());
    Shell.Answers = {AnswerYes};
    EXPECT_TRUE(game.SaveGame());
    EXPECT_EQ(Shell.Messages.size(), 3u);
}

TEST_F(WinGameTest, DeletingThePlayerWithoutChoosingAnotherEndsTheProgram) {
    WriteGame("Corridor", {Corridor});
    TWinGame& game = Open("Corridor");
    Shell.Answers = {AnswerYes};
    game.DeletePlayer();
    EXPECT_TRUE(Shell.Terminated);
    // With a new name the program goes on, for the new player.
    Shell.Terminated = false;
    Shell.Answers = {AnswerYes};
    Shell.Players = {"Bea #0"};
    game.DeletePlayer();
    EXPECT_FALSE(Shell.Terminated);
    EXPECT_EQ(game.GetPlayer(), "Bea #0");
}

} // namespace
} // namespace tb::test
