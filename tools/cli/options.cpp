#include "tools/cli/options.h"

#include "services/d_string.h"

#include <map>

namespace tb::cli {

namespace {

const std::map<std::string, TCommand>& Commands() {
    static const std::map<std::string, TCommand> commands = {
        {"play", TCommand::Play},          {"solve", TCommand::Solve},
        {"check", TCommand::Check},        {"verify", TCommand::Verify},
        {"make-game", TCommand::MakeGame}, {"make-solutions", TCommand::MakeSolutions},
    };
    return commands;
}

long long Number(const std::string& option, const std::string& text, long long lo, long long hi,
                 const std::string& topic) {
    long long value = 0;
    if (!ParseInt(text, value) || value < lo || value > hi)
        throw TUsageError(option + " needs a number from " + std::to_string(lo) + " to " +
                              std::to_string(hi) + ", not '" + text + "'",
                          topic);
    return value;
}

} // namespace

TCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    TCommandLine line;
    if (args.empty()) throw TUsageError("no command given", "");
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        line.Command = TCommand::Help;
        if (args.size() > 1) {
            if (!Commands().contains(args[1]))
                throw TUsageError("unknown command '" + args[1] + "'", "");
            line.Topic = args[1];
        }
        return line;
    }
    const auto found = Commands().find(args[0]);
    if (found == Commands().end()) throw TUsageError("unknown command '" + args[0] + "'", "");
    const std::string& topic = found->first;
    line.Command = found->second;

    std::vector<std::string> positional;
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::string arg = args[i];
        std::string value;
        bool hasValue = false;
        if (arg.starts_with("--")) {
            if (const auto eq = arg.find('='); eq != std::string::npos) {
                value = arg.substr(eq + 1);
                arg.resize(eq);
                hasValue = true;
            }
        }
        auto takeValue = [&]() -> std::string {
            if (hasValue) return value;
            if (i + 1 >= args.size()) throw TUsageError(arg + " needs a value", topic);
            return args[++i];
        };
        const bool levels = line.Command == TCommand::Play || line.Command == TCommand::Solve;
        const bool limits =
            line.Command == TCommand::Solve || line.Command == TCommand::MakeSolutions;
        if (arg == "--help" || arg == "-h") {
            line.Command = TCommand::Help;
            line.Topic = topic;
            return line;
        } else if (arg == "--level" && levels) {
            line.Level = static_cast<int>(Number(arg, takeValue(), 1, 255, topic));
        } else if (arg == "--max-states" && limits) {
            line.MaxStates =
                static_cast<std::uint64_t>(Number(arg, takeValue(), 1, (1LL << 30) - 1, topic));
        } else if (arg == "--settings" && line.Command == TCommand::Verify) {
            line.Settings = takeValue();
        } else if (arg == "--merge" && line.Command == TCommand::Verify && !hasValue) {
            line.Merge = true;
        } else if (arg == "--player" && line.Command == TCommand::MakeSolutions) {
            line.Player = takeValue();
        } else if (arg.size() > 1 && arg[0] == '-' && !(arg[1] >= '0' && arg[1] <= '9')) {
            throw TUsageError("unknown option '" + args[i] + "'", topic);
        } else {
            positional.push_back(args[i]);
        }
    }

    auto expect = [&](std::size_t lo, std::size_t hi, const char* what) {
        if (positional.size() < lo || positional.size() > hi)
            throw TUsageError(std::string(topic) + " needs " + what, topic);
    };
    switch (line.Command) {
    case TCommand::Play:
        expect(2, 2, "a file and a move list");
        line.Files = {positional[0]};
        line.Moves = positional[1];
        break;
    case TCommand::Solve:
        expect(1, 1, "one file");
        break;
    case TCommand::Check:
        expect(1, SIZE_MAX, "at least one game file");
        break;
    case TCommand::Verify:
        expect(0, 0, "no files");
        break;
    case TCommand::MakeGame:
        expect(2, 2, "a level folder and the game file to write");
        break;
    case TCommand::MakeSolutions:
        expect(2, SIZE_MAX, "the solutions file to write and at least one game file");
        break;
    case TCommand::Help:
        break;
    }
    if (line.Command != TCommand::Play) line.Files.assign(positional.begin(), positional.end());
    return line;
}

std::string HelpText(const std::string& topic) {
    if (topic == "play")
        return "usage: tobbin-cli play FILE MOVES [--level N]\n"
               "\n"
               "Plays MOVES on level N (default 1) of FILE and prints where the level stands.\n"
               "FILE is a game file (.tbg) or a file holding one level in its 20-line text\n"
               "form. MOVES is a move list in the one-line solution form: letters U, D, L, R\n"
               "(either case), each optionally preceded by a repeat count, blanks allowed\n"
               "(\"3UL2D\" is up, up, up, left, down, down). Each move is one move of the\n"
               "player in the game; moves after the level has ended are ignored.\n"
               "\n"
               "Output, one item a line:\n"
               "  state <None|Ready|Play|Replay|Done>\n"
               "  result <won|lost|open>\n"
               "  steps <recorded moves>\n"
               "  food <food left>\n"
               "  hero <x> <y>          (hero 0 0 when there is none)\n"
               "  18 lines |<31 cells>|, row 1 first, in the cell alphabet ('?' for code 0)\n"
               "\n"
               "Exit status: 0 played; 2 an error (unplayable level, bad move letter,\n"
               "missing file, a level the game does not hold).\n";
    if (topic == "solve")
        return "usage: tobbin-cli solve FILE [--level N] [--max-states M]\n"
               "\n"
               "Finds a solution with the fewest steps for level N (default 1) of FILE (a game\n"
               "file or a level file, as for play), searching breadth-first over whole\n"
               "positions with the game's own move rules.\n"
               "\n"
               "Output:\n"
               "  solution <moves in the one-line solution form>\n"
               "  steps <n>                         exit 0\n"
               "  unsolvable                        exit 1: every reachable position was seen\n"
               "  gave up after <M> positions       exit 3: the limit M (default 20000000)\n"
               "Errors exit 2. On a terminal, stderr shows the progress once a second.\n";
    if (topic == "check")
        return "usage: tobbin-cli check FILE...\n"
               "\n"
               "Reads each game file (verifying its checksum) and describes it:\n"
               "  file <path>\n"
               "  game <name>\n"
               "  author <author>\n"
               "  skill <0..4> <skill name>\n"
               "  levels <count>\n"
               "  read-only <yes|no>\n"
               "  level <n> <playable|unplayable> food <count> checksum <4 hex digits> <name>\n"
               "    (one such line per level)\n"
               "A damaged file prints 'error: <path>: <message>' on stderr and the next file\n"
               "follows. Exit status: 0 all files read, 1 any file failed.\n";
    if (topic == "verify")
        return "usage: tobbin-cli verify [--settings DIR] [--merge]\n"
               "\n"
               "Opens the records as the game does at start-up (the solutions file, import\n"
               "files, the games in DIR/tbg) and replays every stored best solution of every\n"
               "installed game. DIR is a program folder that holds the games and the records.\n"
               "Default: the game's own data, found as the game finds it (beside tobbin-cli in\n"
               "a build; ../share/tobbin when installed, the records then in the player's\n"
               "$XDG_DATA_HOME/tobbin). The check is read-only: the import files (and, on a\n"
               "player's first start, the shipped solutions) are merged in memory only, and\n"
               "no file is written, renamed or deleted.\n"
               "  --merge   do what the game's start-up does: merge the import files into\n"
               "            the solutions file and delete them, tidy the player log\n"
               "Output, one line per level, then a summary:\n"
               "  <ok|FAILED> <level> <steps> <game name>\n"
               "  verified <n> solutions: <k> ok, <f> failed\n"
               "A solution line that does not win its level is never stored: it is listed\n"
               "as FAILED; one whose game file cannot be read as FAILED with an error line.\n"
               "Exit status: 0 all solutions win their levels, 1 any failed, 2 an error.\n";
    if (topic == "make-game")
        return "usage: tobbin-cli make-game LEVEL-FOLDER GAME-FILE\n"
               "\n"
               "Writes a game file from a folder of level sources: 'game.txt' (lines: name,\n"
               "author, skill 0..4) and the levels '1.txt' to '9.txt', each in the 20-line\n"
               "text form. The game's own writer computes the checksum.\n";
    if (topic == "make-solutions")
        return "usage: tobbin-cli make-solutions SOLUTIONS-FILE GAME-FILE... [--player NAME]\n"
               "                  [--max-states M]\n"
               "\n"
               "Solves every level of the game files and writes their shortest solutions as\n"
               "an import file (a version line, then one solution line per level) under the\n"
               "player NAME (default 'Tobbin #1'). Fails when a level cannot be solved.\n";
    return "usage: tobbin-cli COMMAND [ARGUMENTS]\n"
           "\n"
           "Commands:\n"
           "  play FILE MOVES [--level N]                 play moves, print the level\n"
           "  solve FILE [--level N] [--max-states M]     find a shortest solution\n"
           "  check FILE...                               describe and verify game files\n"
           "  verify [--settings DIR] [--merge]           replay all stored best solutions\n"
           "\n"
           "'tobbin-cli COMMAND --help' tells more about a command.\n";
}

} // namespace tb::cli
