#include "tools/cli/commands.h"

#include "engine/tb_levsol.h"
#include "engine/tb_types.h"
#include "games/tb_mapset.h"
#include "games/tb_version.h"
#include "services/d_error.h"
#include "services/d_file.h"
#include "services/d_folders.h"
#include "services/d_messages.h"
#include "services/d_string.h"
#include "solver/tb_hint.h"
#include "solver/tb_solver.h"
#include "tools/cli/levelfile.h"
#include "tools/cli/moves.h"

#include <chrono>
#include <cstdio>
#include <iostream>
#include <unistd.h>

namespace tb::cli {

namespace fs = std::filesystem;

namespace {

const char* StateName(TState state) {
    switch (state) {
    case TState::None:
        return "None";
    case TState::Ready:
        return "Ready";
    case TState::Play:
        return "Play";
    case TState::Replay:
        return "Replay";
    case TState::Done:
        return "Done";
    }
    return "None";
}

const char* ResultName(const TGame& game) {
    if (game.GetState() != TState::Done) return "open";
    if (game.GetFoodCount() == 0) return "won";
    return game.GetCell(game.GetHeroPos()) == Loser ? "lost" : "open";
}

char CellChar(std::uint8_t code) {
    if (code < 1 || code > CellAlphabet.size()) return '?';
    return CellAlphabet[code - 1];
}

void PrintLevel(const TGame& game, std::ostream& out) {
    out << "state " << StateName(game.GetState()) << '\n';
    out << "result " << ResultName(game) << '\n';
    out << "steps " << game.GetSolution().GetSteps() << '\n';
    out << "food " << game.GetFoodCount() << '\n';
    const TPos hero = game.GetHeroPos();
    out << "hero " << int{hero.X} << ' ' << int{hero.Y} << '\n';
    for (int y = 1; y <= TMap::Height; ++y) {
        std::string row = "|";
        for (int x = 1; x <= TMap::Width; ++x)
            row += CellChar(game.GetCell(TPos(x, y)));
        row += '|';
        out << row << '\n';
    }
}

void OpenLevel(TCliGame& game, const TCommandLine& line) {
    game.LoadFile(line.Files.at(0));
    game.StartLevel(line.Level);
    if (!game.IsPlayable()) throw Error("level is not playable");
}

// Prints the progress once a second, when stderr is a terminal.
class TProgressLine {
public:
    explicit TProgressLine(std::ostream& err) : Err(err) {}

    std::function<void(const TSolveProgress&)> Callback() {
        if (&Err != &std::cerr || !isatty(STDERR_FILENO)) return {};
        return [this](const TSolveProgress& p) {
            const auto now = std::chrono::steady_clock::now();
            if (now - Last < std::chrono::seconds(1)) return;
            Last = now;
            const double seconds = std::chrono::duration<double>(now - Start).count();
            Err << "solving: depth " << p.Depth << ", " << p.Stored << " positions, "
                << static_cast<long long>(static_cast<double>(p.Expanded) / seconds)
                << " expanded a second" << std::endl;
        };
    }

private:
    std::ostream& Err;
    std::chrono::steady_clock::time_point Start = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point Last = Start;
};

// Lays out the level of the command line and plays its moves; moves after
// the level has ended are ignored.
void OpenLevelAndPlay(TCliGame& game, const TCommandLine& line) {
    const std::vector<TDir> moves = ParseMoves(line.Moves);
    OpenLevel(game, line);
    for (TDir dir : moves) {
        if (game.GetState() == TState::Done) break;
        game.Move(dir, 1);
    }
}

// The exit status of a search's outcome, after the line of an outcome that
// found no win: 0 solved, 1 unsolvable, 3 gave up at the limit.
int PrintOutcome(TSolveOutcome outcome, std::uint64_t positions, std::ostream& out) {
    switch (outcome) {
    case TSolveOutcome::Solved:
        return 0;
    case TSolveOutcome::Unsolvable:
        out << "unsolvable\n";
        return 1;
    case TSolveOutcome::GaveUp:
        out << "gave up after " << positions << " positions\n";
        return 3;
    }
    return 2;
}

} // namespace

std::string ErrorText(const std::exception& e) {
    std::string text = e.what();
    // The file layer's failures carry the stream category's text at the end.
    if (const auto* failure = dynamic_cast<const std::ios_base::failure*>(&e)) {
        const std::string suffix = ": " + failure->code().message();
        if (text.size() > suffix.size() && text.ends_with(suffix))
            text.resize(text.size() - suffix.size());
    }
    return text;
}

int RunPlay(const TCommandLine& line, std::ostream& out, std::ostream&) {
    TCliGame game;
    OpenLevelAndPlay(game, line);
    PrintLevel(game, out);
    return 0;
}

int RunSolve(const TCommandLine& line, std::ostream& out, std::ostream& err) {
    TCliGame game;
    OpenLevel(game, line);
    TProgressLine progress(err);
    TSolveOptions options;
    options.MaxStates = line.MaxStates;
    options.Threads = line.Threads;
    options.Progress = progress.Callback();
    const TSolveResult result = Solve(game, options);
    if (result.Outcome == TSolveOutcome::Solved) {
        out << "solution " << MovesText(result.Moves) << '\n';
        out << "steps " << result.Moves.size() << '\n';
    }
    return PrintOutcome(result.Outcome, result.Stored, out);
}

int RunHint(const TCommandLine& line, std::ostream& out, std::ostream& err) {
    TCliGame game;
    OpenLevelAndPlay(game, line);
    TProgressLine progress(err);
    THintOptions options;
    options.MaxStates = line.MaxStates;
    options.Threads = line.Threads;
    options.Progress = progress.Callback();
    THinter hinter;
    const THint hint = hinter.Find(game, options);
    if (hint.Outcome == TSolveOutcome::Solved) {
        if (hint.Steps > 0) out << "next " << MovesText({hint.Next}) << '\n';
        out << "steps " << hint.Steps << '\n';
    }
    return PrintOutcome(hint.Outcome, hint.Positions, out);
}

int RunCheck(const TCommandLine& line, std::ostream& out, std::ostream& err) {
    bool failed = false;
    for (const fs::path& path : line.Files) {
        TMapSet game;
        try {
            game.LoadText(ReadWholeFile(path), true);
        } catch (const std::exception& e) {
            out.flush();
            err << "error: " << path.string() << ": " << ErrorText(e) << '\n';
            failed = true;
            continue;
        }
        out << "file " << path.string() << '\n';
        out << "game " << game.Name << '\n';
        out << "author " << game.Author << '\n';
        out << "skill " << int{game.Skill} << ' ' << SkillName(game.Skill) << '\n';
        out << "levels " << int{game.GetLevelCount()} << '\n';
        out << "read-only " << (game.HasFlag(ReadOnly) ? "yes" : "no") << '\n';
        for (int level = 1; level <= game.GetLevelCount(); ++level) {
            const TMap& map = *game.GetMap(level);
            char checksum[8];
            std::snprintf(checksum, sizeof checksum, "%04x", unsigned{map.Checksum()});
            out << "level " << level << ' ' << (map.IsPlayable() ? "playable" : "unplayable")
                << " food " << map.GetFoodCount() << " checksum " << checksum << ' '
                << map.GetName() << '\n';
        }
    }
    return failed ? 1 : 0;
}

int RunMakeGame(const TCommandLine& line, std::ostream& out, std::ostream&) {
    const fs::path& folder = line.Files.at(0);
    TTextReader header = TTextReader::FromFile(folder / "game.txt");
    std::string name, author, skillText;
    long long skill = 0;
    if (!header.ReadLine(name) || !header.ReadLine(author) || !header.ReadLine(skillText) ||
        !ParseInt(Trim(skillText), skill) || skill < 0 || skill > 4 || Trim(name).empty() ||
        Trim(author).empty())
        throw Error((folder / "game.txt").string() +
                    ": needs three lines: name, author, skill 0..4");
    TMapSet game;
    game.Init(Trim(name), Trim(author), static_cast<std::uint8_t>(skill));
    for (int level = 1; level <= TMapSet::MaxLevels; ++level) {
        const fs::path file = folder / (std::to_string(level) + ".txt");
        if (!fs::exists(file)) break;
        TTextReader reader = TTextReader::FromFile(file);
        TMap map;
        if (!map.ReadText(reader)) throw Error(file.string() + ": no level in file");
        if (!map.IsPlayable()) throw Error(file.string() + ": level is not playable");
        game.AddLevelCopy(map);
    }
    if (game.GetLevelCount() == 0) throw Error(folder.string() + ": no level files 1.txt ...");
    const fs::path target = line.Files.at(1) / GameFileName(game.Name, ".tbg");
    WriteFileAtomic(target, game.SaveText());
    out << "wrote " << target.string() << ": " << int{game.GetLevelCount()} << " levels\n";
    return 0;
}

int RunMakeSolutions(const TCommandLine& line, std::ostream& out, std::ostream& err) {
    TTextWriter file;
    file.WriteLine(VersionLine());
    for (std::size_t i = 1; i < line.Files.size(); ++i) {
        TCliGame game;
        game.LoadFile(line.Files[i]);
        for (int level = 1; level <= game.LevelCount(); ++level) {
            game.StartLevel(level);
            TProgressLine progress(err);
            TSolveOptions options;
            options.MaxStates = line.MaxStates;
            options.Threads = line.Threads;
            options.Progress = progress.Callback();
            const TSolveResult result = Solve(game, options);
            if (result.Outcome != TSolveOutcome::Solved)
                throw Error(game.GameName() + " level " + std::to_string(level) +
                            (result.Outcome == TSolveOutcome::Unsolvable ? ": unsolvable"
                                                                         : ": solver gave up"));
            TLevSol solution(static_cast<std::uint16_t>(result.Moves.size()));
            solution.SetPlayer(line.Player);
            for (TDir dir : result.Moves)
                solution.Add(dir);
            solution.WriteLine(file, game.GameName(), level, game.Skill());
            out << game.GameName() << " level " << level << ": " << result.Moves.size()
                << " steps, " << result.Stored << " positions, " << result.BytesPerPosition()
                << " bytes a position\n";
        }
    }
    WriteFileAtomic(line.Files.at(0), file.Content());
    return 0;
}

int RunTool(const std::vector<std::string>& args, const fs::path& programFolder, std::ostream& out,
            std::ostream& err) {
    TCommandLine line;
    try {
        line = ParseCommandLine(args);
    } catch (const TUsageError& e) {
        err << "error: " << e.what() << '\n' << HelpText(e.Topic);
        return 2;
    }
    try {
        switch (line.Command) {
        case TCommand::Help:
            out << HelpText(line.Topic);
            return 0;
        case TCommand::Play:
            return RunPlay(line, out, err);
        case TCommand::Solve:
            return RunSolve(line, out, err);
        case TCommand::Hint:
            return RunHint(line, out, err);
        case TCommand::Check:
            return RunCheck(line, out, err);
        case TCommand::Verify:
            return RunVerify(line, programFolder, out, err);
        case TCommand::MakeGame:
            return RunMakeGame(line, out, err);
        case TCommand::MakeSolutions:
            return RunMakeSolutions(line, out, err);
        case TCommand::Generate:
            return RunGenerate(line, out, err);
        }
    } catch (const std::exception& e) {
        out.flush();
        err << "error: " << ErrorText(e) << '\n';
    }
    return 2;
}

} // namespace tb::cli
