#include "play/tb_wingame.h"

#include "records/tb_shortest.h"
#include "services/d_answers.h"
#include "services/d_folders.h"
#include "services/d_messages.h"
#include "services/d_settings.h"
#include "services/d_string.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <thread>

namespace tb {
namespace {

void SleepFor(std::int64_t ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace

TPacing& Pacing() {
    static TPacing pacing;
    return pacing;
}

std::uint32_t MilliTime() {
    using namespace std::chrono;
    static const steady_clock::time_point start = steady_clock::now();
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now() - start).count());
}

std::string ClockTextOf(std::uint16_t t) {
    std::string text = "00:00";
    text[0] = static_cast<char>('0' + (t % 3600) / 600);
    text[1] = static_cast<char>('0' + (t % 3600 % 600) / 60);
    text[3] = static_cast<char>('0' + (t % 60) / 10);
    text[4] = static_cast<char>('0' + t % 10);
    return text;
}

TWinGame::TWinGame(TInBase& ui, TWinShell& shell, const TFolders& folders,
                   const TProgress& progress, bool frugal)
    : TFullGame(folders, progress, frugal), Ui(ui), Shell(shell) {
    Active = true;
    Speed = 2;
    SetBusy(false);
}

TWinGame::~TWinGame() = default;

void TWinGame::SetTiming() {
    const auto table = SpeedTable(Settings());
    TPacing& p = Pacing();
    p.StepDelay = table.at(Speed);
    p.SoundGap = p.StepDelay == 0 ? 0 : p.StepDelay / 4 + table[0];
}

void TWinGame::RememberStart(const std::string& game, int level) {
    RememberedGame = game;
    RememberedLevel = level;
}

// ---- Window work ----

void TWinGame::PlaySound(TEffect effect) {
    if (!IsAnimated() && State != TState::Done) return;
    TPacing& p = Pacing();
    const std::uint32_t now = MilliTime();
    SleepFor(static_cast<std::int64_t>(p.LastSoundTime) + p.SoundGap - now);
    p.LastSoundTime = now;
    // The gap is kept with the sound off too, so the game plays at one pace.
    if (!SoundBank().SoundOn) return;
    SoundBank().Play(effect);
    // An explosion or implosion holds the next sound back by one more step.
    if (effect == TEffect::Bomb || effect == TEffect::DeBox)
        p.LastSoundTime += SpeedTable(Settings()).at(Speed);
}

void TWinGame::DrawAll() {
    Ui.HideTitles();
    for (int y = 1; y <= 18; ++y)
        for (int x = 1; x <= 31; ++x)
            Ui.DrawCell(TPos(x, y));
}

void TWinGame::UpdateCaption() {
    std::string s = " Tobbin: " + Player;
    if ((State != TState::None || Edit) && !GameName().empty())
        s += " > " + GameName() + " > Level " + static_cast<char>('0' + Level);
    if (Extras) {
        s += " - ";
        if (Edit) {
            s += MoreMessage(Modified ? MsgModified : MsgEditing);
        } else {
            // The caption's word for each state, in the player's language.
            s += MoreMessage(MsgStateNone + static_cast<int>(State));
            if (IsAided()) s += " - AID";
            if (InPlayBack) s += " - REPL";
        }
    }
    Ui.ShowCaption(s);
}

void TWinGame::UpdateLevelButtons() {
    std::uint8_t n = 0;
    for (int i = 1; i <= 9; ++i)
        if (i <= SolvedCount + 1 || Editable || AllLevels) n = static_cast<std::uint8_t>(i);
    Ui.EnableLevelButtons(n);
}

bool TWinGame::Move(TDir dir, int count) {
    const bool moved = TGame::Move(dir, count);
    TPacing& p = Pacing();
    if (!moved && p.LastMoveOk) PlaySound(TEffect::Refused);
    p.LastMoveOk = moved;
    return moved;
}

bool TWinGame::AcceptsMoves() {
    const TState state = GetState();
    return Ui.MenusEnabled() && !IsEdit() && !IsBusy() &&
           (state == TState::Ready || state == TState::Play);
}

bool TWinGame::ClickCell(TPos cell) {
    if (!AcceptsMoves()) return false;
    const TPos hero = GetHeroPos();
    if (cell.X == hero.X && cell.Y != hero.Y)
        return Move(cell.Y < hero.Y ? Up : Down, std::abs(cell.Y - hero.Y));
    if (cell.Y == hero.Y && cell.X != hero.X)
        return Move(cell.X < hero.X ? Left : Right, std::abs(cell.X - hero.X));
    return false;
}

// ---- Engine events made visible ----

bool TWinGame::SetName(const std::string& name) {
    const bool changed = TFullGame::SetName(name);
    if (changed) {
        Ui.ShowLevelName(name);
        UpdateCaption();
    }
    return changed;
}

void TWinGame::SetCell(TPos pos, std::uint8_t code) {
    TFullGame::SetCell(pos, code);
    Ui.DrawCell(pos);
}

void TWinGame::Explode(TPos a, TPos b) {
    TFullGame::Explode(a, b);
    PlaySound(TEffect::Bomb);
    Ui.AnimateExplosion(b);
}

bool TWinGame::LandOnBox(TPos pos, TPos box) {
    const bool shrank = TFullGame::LandOnBox(pos, box);
    if (shrank) {
        PlaySound(TEffect::Box);
    } else {
        PlaySound(TEffect::DeBox);
        Ui.AnimateImplosion(box);
    }
    return shrank;
}

void TWinGame::Fall(TPos pos, TDir dir) {
    // Each cascade starts with a refresh and shows its first move alone.
    Shell.ProcessMessages();
    Pacing().MovesSinceRefresh = 0;
    Pacing().RefreshBatch = 1;
    TFullGame::Fall(pos, dir);
}

bool TWinGame::MoveHeroTo(TPos pos) {
    const bool moved = TFullGame::MoveHeroTo(pos);
    Shell.ProcessMessages();
    return moved;
}

void TWinGame::MoveObject(TPos from, TPos to) {
    TFullGame::MoveObject(from, to);
    // A cascade is shown in growing batches: one move, then two, three, up
    // to the speed's number of moves per refresh.
    TPacing& p = Pacing();
    if (++p.MovesSinceRefresh == p.RefreshBatch) {
        Shell.ProcessMessages();
        p.MovesSinceRefresh = 0;
        if (Speed > p.RefreshBatch) ++p.RefreshBatch;
    }
}

bool TWinGame::EatFood(TPos pos) {
    const bool eaten = TFullGame::EatFood(pos);
    if (eaten) PlaySound(TEffect::Pick);
    return eaten;
}

bool TWinGame::Roll(TPos& pos, TDir& dir) {
    const bool rolled = TFullGame::Roll(pos, dir);
    PlaySound(TEffect::Stone);
    return rolled;
}

void TWinGame::Thud() {
    TFullGame::Thud();
    PlaySound(TEffect::Stone);
}

bool TWinGame::HeroMove(TDir dir) {
    // A step begins no sooner than one step delay after the last one, and
    // the previous step is on the screen first. In the tray nothing waits.
    if (Active) {
        Shell.ProcessMessages();
        TPacing& p = Pacing();
        const std::uint32_t now = MilliTime();
        SleepFor(static_cast<std::int64_t>(p.LastStepTime) + p.StepDelay - now);
        p.LastStepTime = now;
    }
    return TFullGame::HeroMove(dir);
}

void TWinGame::Die() {
    if (State == TState::Done) return;
    TFullGame::Die();
    PlaySound(TEffect::Kill);
    Ui.HeroKilled();
}

bool TWinGame::SetState(TState state, bool force) {
    const bool changed = TFullGame::SetState(state, force);
    TPacing& p = Pacing();
    if (changed || p.ForceStateNotice) {
        p.ForceStateNotice = false;
        Ui.StateChanged(State);
    }
    return changed;
}

void TWinGame::StepsChanged() {
    TFullGame::StepsChanged();
    Ui.ShowSteps(std::to_string(Solution->GetSteps()));
}

void TWinGame::SetTime(std::uint16_t seconds) {
    TFullGame::SetTime(seconds);
    Pacing().ClockText = ClockTextOf(seconds);
    Ui.ShowClock(Pacing().ClockText);
}

void TWinGame::Win() {
    SetState(TState::Done, false);
    // The state is Done already, so the sound plays even when not animated.
    PlaySound(IsAnimated() ? TEffect::Win : TEffect::Pick);
    TFullGame::Win();
    if (!AutoPlay && !IsAided()) AfterLevelSolved();
}

void TWinGame::AfterLevelSolved() {
    Ui.LevelSolved();
    TAllGames& records = *Records;
    if (records.RecordBroken && records.PreviousSteps > 0) {
        records.RecordBroken = false;
        Shell.Ask(MoreMessage(MsgNewRecord),
                  {std::to_string(records.PreviousSteps), records.PreviousHolder,
                   std::to_string(Solution->GetSteps())},
                  AlertOK);
    }
    if (Level >= LevelCount()) {
        records.SetMark(1, GameName(), Level);
        records.Modified = true;
        ShowCongratulations();
    } else {
        Ui.WaitMessage();
        SetLevel(static_cast<std::uint8_t>(Level + 1));
    }
}

void TWinGame::LevelCountChanged() {
    // The buttons follow the new count; the engine has nothing to add.
    Ui.LayoutLevelButtons(LevelCount());
}

bool TWinGame::SetModified(bool on) {
    const bool changed = TFullGame::SetModified(on);
    if (changed) {
        Ui.ShowModified(on);
        // The editor's caption word follows: "Modified" after a change, back
        // to "Edit" once saved.
        UpdateCaption();
    }
    return changed;
}

void TWinGame::StepBack() {
    if (!HasHistory()) return;
    Pacing().LastMoveOk = true;
    TFullGame::StepBack();
    DrawAll();
}

void TWinGame::RestoreSnapshot() {
    if (!HasSnapshots()) return;
    PlaySound(TEffect::Restore);
    TFullGame::RestoreSnapshot();
    DrawAll();
}

bool TWinGame::SetLevel(std::uint8_t level) {
    bool result = false;
    if (Edit) {
        result = TFullGame::SetLevel(level);
        Ui.RepaintMap();
        Ui.UpdateEditMenu();
    } else {
        // A player cannot jump past the first level he has not solved.
        if (!Editable && !AllLevels && level > SolvedCount + 1)
            level = static_cast<std::uint8_t>(SolvedCount + 1);
        // A batch replay in the tray keeps its pictures and sounds.
        if (!(AutoPlay && !IsAnimated()) && level > 0) Ui.NewLevelStarting();
        result = TFullGame::SetLevel(level);
    }
    Ui.SelectLevelButton(Level);
    UpdateCaption();
    return result;
}

void TWinGame::HistoryChanged() {
    TFullGame::HistoryChanged();
    const bool canStepBack = HasHistory();
    TPacing& p = Pacing();
    if (canStepBack != p.StepBackShown) Ui.ShowStepBack(canStepBack);
    p.StepBackShown = canStepBack;
}

void TWinGame::SnapshotsChanged() {
    TFullGame::SnapshotsChanged();
    Ui.ShowRestoreSnapshot(HasSnapshots());
}

void TWinGame::TakeSnapshot() {
    PlaySound(TEffect::Snapshot);
    TFullGame::TakeSnapshot();
}

void TWinGame::SetSolvedCount(std::uint8_t count) {
    TFullGame::SetSolvedCount(count);
    UpdateLevelButtons();
}

// ---- Commands ----

void TWinGame::LoadGame() {
    if (Edit) {
        PlayMode();
        if (Edit) return; // the player stays in the editor
    }
    bool editable = Extras;
    Ui.ShowBottomPanel();
    const std::string name = Shell.ChooseGame(editable);
    if (name.empty()) {
        SetState(TState::None, true);
        return;
    }
    Editable = editable;
    const std::uint8_t first =
        static_cast<std::uint8_t>(Records->MaxLevelReached(name, Player) + 1);
    std::uint8_t start = 1;
    // The game open at the last exit starts where it was left, once per run.
    if (RememberedLevel > 0 && CompareNoCase(RememberedGame, name) == 0 && RememberedLevel <= first)
        start = static_cast<std::uint8_t>(RememberedLevel);
    RememberedGame.clear();
    RememberedLevel = 0;
    OpenGameAt(name, start);
    if (Editable && HasFlag(ReadOnly) && !Extras) {
        Shell.Ask(MoreMessage(MsgReadOnly), {}, AlertOK);
        Editable = false;
        Ui.EnableLevelButtons(first);
    }
    ContinueSaved();
}

void TWinGame::OpenGameAt(const std::string& name, std::uint8_t level) {
    if (const TGamInfo* record = FindGame(name); record && level > record->GetLevelCount())
        level = record->GetLevelCount();
    OpenGame(name, level, !Extras);
    Ui.ShowReadOnly(HasFlag(ReadOnly));
}

void TWinGame::ContinueSaved() {
    const std::uint8_t limit = AllLevels ? 9 : static_cast<std::uint8_t>(SolvedCount + 1);
    TLevSol saved;
    const std::uint8_t level = LoadProgress(saved, limit);
    if (level == 0) return;
    if (Shell.Ask(MoreMessage(MsgContinueSaved), {}, AlertYesNo) != AnswerYes) return;
    SetLevel(level);
    Solution->Assign(saved, true);
    PlayBack(false);
}

bool TWinGame::PlayBack(bool show) {
    const bool played = PlayBackSolution(show);
    UpdateCaption();
    if (!played) Shell.Ask(MoreMessage(MsgNoSolution), {}, AlertOK);
    return played;
}

void TWinGame::GameInfo() {
    Shell.Ask(MoreMessage(MsgGameInfo),
              {GameName(), GameAuthor(), std::to_string(LevelCount()), SkillName(Skill())},
              AlertOK);
}

void TWinGame::LevelInfo() {
    std::string text = MoreMessage(MsgLevelName);
    FillPlaceholder(LevelName(), text);
    // Each further line only when there is something to tell.
    auto addLine = [&text](int message, const std::string& first, const std::string& second) {
        std::string line = MoreMessage(message);
        FillPlaceholder(first, line);
        FillPlaceholder(second, line);
        text += "|" + line;
    };
    if (const TLevSol* best = BestSolution())
        addLine(MsgBestKnown, std::to_string(best->GetSteps()), best->GetPlayer());
    std::string holder;
    if (const std::uint16_t steps = Records->BestLog(GameName(), Level, holder); steps > 0)
        addLine(MsgBestOnComputer, std::to_string(steps), holder);
    if (const std::uint16_t steps = Records->PlayerSteps(GameName(), Level, Player); steps > 0)
        addLine(MsgBestBy, Player, std::to_string(steps));
    // What Solve level proved of the level as stored (not of the moves made).
    if (const TMap* level = Level > 0 && Level <= LevelCount() ? Game->GetMap(Level) : nullptr)
        if (const std::optional<TShortest> fact = Shortest().Find(*level); fact && fact->Winnable)
            addLine(MsgShortestKnown, std::to_string(fact->Steps), "");
    Shell.Ask(text, {}, AlertOK);
}

TShortestBook& TWinGame::Shortest() {
    if (!Book) Book = std::make_unique<TShortestBook>(Folders.SettingsFolder / "tobbin.len");
    return *Book;
}

void TWinGame::ToggleXtra() {
    Extras = !Extras;
    UpdateCaption();
    Ui.ShowXtraMenu(Extras);
    UpdateLevelButtons();
}

void TWinGame::ToggleAllLevels() {
    AllLevels = !AllLevels;
    Ui.ShowAccessAll(AllLevels);
    UpdateLevelButtons();
}

std::uint16_t TWinGame::PlayAllSolutions(bool newOnly) {
    if (!AllLevels) ToggleAllLevels();
    const std::uint16_t count = TFullGame::PlayAllSolutions(newOnly);
    if (State == TState::Ready || State == TState::Done) {
        PlaySound(AllSolutionsConfirmed() ? TEffect::TaDa : TEffect::Kill);
        Ui.ShowReplayCount(count);
    } else {
        PlaySound(TEffect::Snapshot);
    }
    UpdateCaption();
    return count;
}

void TWinGame::AcceptSolution() {
    const TLevSol* best = BestSolution();
    if (best == nullptr || Records->PlayerSteps(GameName(), Level, Player) != 0) return;
    Solution->Assign(*best, true);
    Solution->SetPlayer(Player);
    Records->AddLog(*this);
    SetSolvedCount(Level);
    if (Level >= LevelCount()) {
        Records->SetMark(1, GameName(), Level);
        Records->Modified = true;
    }
}

void TWinGame::GiveUp() {
    Die();
    SetState(TState::Ready, false);
}

void TWinGame::KillSolution() {
    TFullGame::KillLevelSolution(Level);
}

void TWinGame::ExportGameSolution() {
    const int count = Records->ExportGame(GameName());
    Shell.Ask(
        MoreMessage(MsgExportGame),
        {std::to_string(LevelCount()), std::to_string(count), GameFileName(GameName(), ".sol")},
        AlertOK);
}

void TWinGame::ExportBestSolutions() {
    const int count = Records->ExportPlayer(Player);
    Shell.Ask(MoreMessage(MsgExportBest),
              {std::to_string(count), Player, GameFileName(Player, ".sol")}, AlertOK);
}

bool TWinGame::NewPlayer() {
    std::vector<std::string> names;
    Records->FillPlayerNames(names);
    const std::string current = Player.empty() ? Settings().Player : Player;
    const std::string chosen = Shell.ChoosePlayer(names, current);
    if (chosen.empty()) return false;
    SetPlayer(chosen);
    Records->Modified = true;
    // The level in play starts again for the new player.
    if (Level > 0) SetLevel(Level);
    return true;
}

void TWinGame::DeletePlayer() {
    if (Shell.Ask(MoreMessage(MsgRemovePlayer), {Player}, AlertYesNo) != AnswerYes) return;
    const std::string gone = Player;
    Records->DeletePlayer(gone);
    Shell.ForgetPlayer(gone);
    Records->Modified = true;
    if (!NewPlayer()) Shell.Terminate();
}

} // namespace tb
