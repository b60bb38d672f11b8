#include "play/tb_searchcmd.h"

#include "play/tb_interface.h"
#include "play/tb_mainview.h"
#include "play/tb_pump.h"
#include "play/tb_util.h"
#include "play/tb_wingame.h"
#include "records/tb_shortest.h"
#include "services/d_answers.h"
#include "services/d_messages.h"
#include "services/d_string.h"

#include <exception>

namespace tb {

namespace {

constexpr int PollInterval = 100;  // ms
constexpr int BlinkInterval = 250; // ms
constexpr int BlinkCount = 8;      // on and off four times, then steady

std::string Filled(int message, const std::string& value) {
    std::string text = MoreMessage(message);
    FillPlaceholder(value, text);
    return text;
}

} // namespace

TSearchCommands::TSearchCommands(TMainView& main, TUi& ui, TWinShell& shell)
    : Main(main), Ui(ui), Shell(shell) {
    PollTimer.setInterval(PollInterval);
    connect(&PollTimer, &QTimer::timeout, this, [this] { Poll(); });
    BlinkTimer.setInterval(BlinkInterval);
    connect(&BlinkTimer, &QTimer::timeout, this, [this] { Blink(); });
}

TSearchCommands::~TSearchCommands() = default;

void TSearchCommands::Hint() {
    if (Game == nullptr) return;
    if (Kind == TKind::Hint) {
        Stop(); // a second Hint stops the first
        return;
    }
    const TState state = Game->GetState();
    if (Kind != TKind::None || Game->IsEdit() || Game->IsBusy() ||
        (state != TState::Ready && state != TState::Play))
        return;
    Start(TKind::Hint);
}

void TSearchCommands::SolveLevel() {
    if (Game == nullptr) return;
    if (Kind == TKind::Solve) {
        Stop();
        return;
    }
    if (Kind != TKind::None || !Game->IsEdit() || Game->GetLevel() == 0) return;
    if (!Game->IsPlayable()) {
        Shell.Ask(MoreMessage(MsgNotSolvable), {}, AlertOK);
        return;
    }
    Start(TKind::Solve);
}

void TSearchCommands::Start(TKind kind) {
    EndLine();
    Watched.Assign(*Game);
    WatchedLevel = Game->GetLevel();
    Watching = kind;
    // A position searched before is answered at once.
    if (std::optional<THint> known = Hinter.Known(Watched, MaxPositions)) {
        Answer(TSearchAnswer{*known, {}});
        return;
    }
    Kind = kind;
    Job.Start(Watched, MaxPositions);
    ShowLine(Filled(kind == TKind::Hint ? MsgHintSearching : MsgSolving, "0"));
    PollTimer.start();
}

bool TSearchCommands::Stop() {
    if (Kind == TKind::None) return false;
    Job.Cancel();
    Kind = TKind::None;
    Watching = TKind::None;
    EndLine();
    return true;
}

bool TSearchCommands::PositionUnchanged() const {
    if (Game == nullptr || Game->GetLevel() != WatchedLevel) return false;
    if (Watching == TKind::Solve) {
        if (!Game->IsEdit()) return false;
    } else {
        const TState state = Game->GetState();
        if (Game->IsEdit() || (state != TState::Ready && state != TState::Play)) return false;
    }
    return Game->SameCells(Watched) && Game->GetHeroPos() == Watched.GetHeroPos();
}

void TSearchCommands::Poll() {
    if (!Report.empty()) ShowReport();
    if (Kind != TKind::None) {
        if (!PositionUnchanged()) {
            Stop(); // the player moved on (or edited the level): the search is of no use
        } else if (std::optional<TSearchAnswer> answer = Job.Take()) {
            Kind = TKind::None;
            Answer(*answer);
        } else {
            ShowLine(Filled(Kind == TKind::Hint ? MsgHintSearching : MsgSolving,
                            std::to_string(Job.Positions())));
        }
    } else if (LineShown) {
        LineLeft -= PollInterval;
        if (LineLeft <= 0 || !PositionUnchanged()) EndLine();
    }
    if (Kind == TKind::None && !LineShown && Report.empty()) PollTimer.stop();
}

void TSearchCommands::Answer(const TSearchAnswer& answer) {
    if (Watching == TKind::Solve)
        AnswerSolve(answer);
    else
        AnswerHint(answer);
}

void TSearchCommands::AnswerHint(const TSearchAnswer& answer) {
    const THint& hint = answer.Hint;
    std::string line;
    if (!answer.Error.empty()) {
        line = answer.Error;
    } else if (hint.Outcome == TSolveOutcome::Solved && hint.Steps > 0) {
        Mark = TMap::Neighbour(Watched.GetHeroPos(), hint.Next);
        MarkShown = true;
        Blinks = 0;
        Blink();
        BlinkTimer.start();
        Game->MarkHintShown();
        Game->UpdateCaption();
        line = Filled(MsgHintFound, std::to_string(hint.Steps));
    } else if (hint.Outcome == TSolveOutcome::Unsolvable) {
        line = MoreMessage(MsgDeadEnd);
    } else if (hint.Outcome == TSolveOutcome::GaveUp && !hint.Cancelled) {
        line = Filled(MsgHintGaveUp, std::to_string(hint.Positions));
    }
    if (line.empty()) {
        EndLine();
        return;
    }
    ShowLine(line);
    LineLeft = LineTime;
    PollTimer.start();
}

void TSearchCommands::AnswerSolve(const TSearchAnswer& answer) {
    Watching = TKind::None;
    EndLine();
    const THint& hint = answer.Hint;
    const std::string name = Watched.GetName();
    const std::string positions = std::to_string(hint.Positions);
    Report.clear();
    if (!answer.Error.empty()) {
        Report = answer.Error;
    } else if (hint.Outcome == TSolveOutcome::Solved) {
        Report = MoreMessage(MsgLevelSolved);
        ReportArgs = {name, std::to_string(hint.Steps), positions};
    } else if (hint.Outcome == TSolveOutcome::Unsolvable) {
        Report = MoreMessage(MsgLevelUnwinnable);
        ReportArgs = {name, positions};
    } else if (!hint.Cancelled) {
        Report = MoreMessage(MsgLevelUndecided);
        ReportArgs = {name, positions};
    }
    if (answer.Error.empty() && hint.Outcome != TSolveOutcome::GaveUp) {
        try {
            Game->Shortest().Record(Watched,
                                    TShortest{hint.Outcome == TSolveOutcome::Solved, hint.Steps});
        } catch (const std::exception& e) {
            Report += "|";
            Report += e.what();
        }
    }
    ShowReport();
    if (!Report.empty()) PollTimer.start(); // asked again once the running command ends
}

void TSearchCommands::ShowReport() {
    if (Report.empty()) return;
    TEventPump::RunCommand([this] {
        const std::string text = std::move(Report);
        const std::vector<std::string> args = std::move(ReportArgs);
        Report.clear();
        ReportArgs.clear();
        Shell.Ask(text, args, AlertOK);
    });
}

void TSearchCommands::ShowLine(const std::string& text) {
    for (TBottomPanel panel : {TBottomPanel::Name, TBottomPanel::Levels, TBottomPanel::Clock,
                               TBottomPanel::Steps, TBottomPanel::Palette})
        Main.ShowPanel(panel, false);
    Main.SetPanelText(TBottomPanel::Message, ToUnicode(text));
    Main.ShowPanel(TBottomPanel::Message, true);
    LineShown = true;
}

void TSearchCommands::EndLine() {
    BlinkTimer.stop();
    MarkShown = false;
    Main.Field().SetMark({});
    if (!LineShown) return;
    LineShown = false;
    Main.SetPanelText(TBottomPanel::Message, {});
    Ui.RefreshPanels();
}

void TSearchCommands::Blink() {
    const bool on = Blinks % 2 == 0 || Blinks >= BlinkCount;
    const int size = Main.CellPixels();
    Main.Field().SetMark(on ? QRect((Mark.X - 1) * size, (Mark.Y - 1) * size, size, size)
                            : QRect());
    if (++Blinks > BlinkCount) BlinkTimer.stop();
}

} // namespace tb
