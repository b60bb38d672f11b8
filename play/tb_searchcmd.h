#pragma once
// The solver's commands on the window: Game > Hint in play and Edit > Solve
// level in the editor. Each runs one search job off the window thread on a
// copy of the position; a timer on the window thread shows the progress on
// the message line and takes the answer. While a search runs the window
// draws and answers as always: a move (any change of the position), Escape
// or the same command again stops the search, and the game is left exactly as
// it was.
//
// A hint frames the cell the hero should step into (blinking, then steady
// until the position changes) and makes a win of this layout an aided one.
// Solve level answers in a message box and keeps what it proved in the
// game's book of shortest solutions, which Level info and the editor's save
// read.

#include "engine/tb_map.h"
#include "play/tb_searchjob.h"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tb {

class TMainView;
class TUi;
class TWinGame;
class TWinShell;

class TSearchCommands : public QObject {
    Q_OBJECT
public:
    TSearchCommands(TMainView& main, TUi& ui, TWinShell& shell);
    ~TSearchCommands() override;

    void SetGame(TWinGame* game) { Game = game; }

    // Game > Hint: searches from the position on the screen (Ready or Play),
    // or stops the hint search that runs.
    void Hint();
    // Edit > Solve level: searches the level being edited, or stops the
    // search that runs.
    void SolveLevel();
    // Escape: stops a running search; answers whether one ran.
    bool Stop();

    bool Searching() const { return Kind != TKind::None; }
    // The cell a hint marks, while it is marked (blinking or steady).
    std::optional<TPos> MarkedCell() const {
        return MarkShown ? std::optional(Mark) : std::nullopt;
    }

    // Positions a search may store before it gives up.
    static constexpr std::uint64_t MaxPositions = 20'000'000;
    // How long a hint's answer stays on the message line (ms).
    static constexpr int LineTime = 6000;

private:
    enum class TKind { None, Hint, Solve };

    void Start(TKind kind);
    void Poll();
    // The game still shows the position the search (or the answer) is for.
    bool PositionUnchanged() const;
    void Answer(const TSearchAnswer& answer);
    void AnswerHint(const TSearchAnswer& answer);
    void AnswerSolve(const TSearchAnswer& answer);
    // Shows Report in a message box once no other command runs.
    void ShowReport();
    void ShowLine(const std::string& text);
    void EndLine();
    void Blink();

    TMainView& Main;
    TUi& Ui;
    TWinShell& Shell;
    TWinGame* Game = nullptr;
    THinter Hinter;
    TKind Kind = TKind::None;
    TKind Watching = TKind::None; // what Watched is for: a search or an answer shown
    TMap Watched;                 // the position searched or answered
    std::uint8_t WatchedLevel = 0;
    // Solve level's answer waiting for its message box, and the values of
    // its placeholders.
    std::string Report;
    std::vector<std::string> ReportArgs;
    bool LineShown = false;
    int LineLeft = 0; // ms the answer stays on the line
    TPos Mark;
    bool MarkShown = false;
    int Blinks = 0;
    QTimer PollTimer;
    QTimer BlinkTimer;
    TSearchJob Job{Hinter}; // last: its worker stops before the rest goes
};

} // namespace tb
