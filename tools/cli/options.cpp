#include "tools/cli/options.h"

#include "services/d_string.h"

#include <map>

namespace tb::cli {

namespace {

const std::map<std::string, TCommand>& Commands() {
    static const std::map<std::string, TCommand> commands = {
        {"play", TCommand::Play},
        {"solve", TCommand::Solve},
        {"hint", TCommand::Hint},
        {"check", TCommand::Check},
        {"verify", TCommand::Verify},
        {"make-game", TCommand::MakeGame},
        {"make-solutions", TCommand::MakeSolutions},
        {"generate", TCommand::Generate},
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
        const bool levels = line.Command == TCommand::Play || line.Command == TCommand::Solve ||
                            line.Command == TCommand::Hint;
        const bool threads = line.Command == TCommand::Solve || line.Command == TCommand::Hint ||
                             line.Command == TCommand::MakeSolutions;
        const bool limits = threads || line.Command == TCommand::Generate;
        const bool generate = line.Command == TCommand::Generate;
        if (arg == "--help" || arg == "-h") {
            line.Command = TCommand::Help;
            line.Topic = topic;
            return line;
        } else if (arg == "--level" && levels) {
            line.Level = static_cast<int>(Number(arg, takeValue(), 1, 255, topic));
        } else if (arg == "--max-states" && limits) {
            line.MaxStates =
                static_cast<std::uint64_t>(Number(arg, takeValue(), 1, (1LL << 30) - 1, topic));
            line.MaxStatesGiven = true;
        } else if (generate && arg == "--seed") {
            line.Seed = static_cast<std::uint64_t>(
                Number(arg, takeValue(), 0, 9'000'000'000'000'000'000LL, topic));
        } else if (generate && arg == "--count") {
            line.Count = static_cast<int>(Number(arg, takeValue(), 1, 1000, topic));
        } else if (generate && arg == "--tries") {
            line.MaxTries = static_cast<int>(Number(arg, takeValue(), 1, 10'000'000, topic));
        } else if (generate && arg == "--size") {
            const std::string size = takeValue();
            const auto x = size.find_first_of("xX");
            if (x == std::string::npos)
                throw TUsageError("--size needs WxH, as in 8x5, not '" + size + "'", topic);
            line.Width = static_cast<int>(Number(arg + " width", size.substr(0, x), 3, 29, topic));
            line.Height =
                static_cast<int>(Number(arg + " height", size.substr(x + 1), 2, 16, topic));
        } else if (generate && arg == "--steps") {
            const std::string range = takeValue();
            const auto dash = range.find('-');
            if (dash == std::string::npos)
                throw TUsageError("--steps needs A-B, as in 10-40, not '" + range + "'", topic);
            line.MinSteps =
                static_cast<int>(Number(arg + " minimum", range.substr(0, dash), 1, 4096, topic));
            line.MaxSteps = static_cast<int>(
                Number(arg + " maximum", range.substr(dash + 1), line.MinSteps, 4096, topic));
        } else if (generate && arg == "--objects") {
            line.Objects = takeValue();
        } else if (generate && arg == "--needs") {
            line.Needs = takeValue();
        } else if (generate && arg == "--out") {
            line.Out = takeValue();
        } else if (generate && arg == "--shape") {
            line.Shape = takeValue();
        } else if (generate && arg == "--mirror") {
            line.Mirror = true;
        } else if (generate && arg == "--game") {
            line.GameName = takeValue();
        } else if (arg == "--threads" && threads) {
            line.Threads = static_cast<int>(Number(arg, takeValue(), 1, 64, topic));
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
    case TCommand::Hint:
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
    case TCommand::Generate:
        expect(0, 0, "no files (options only)");
        if (!line.GameName.empty() && line.Out.empty())
            throw TUsageError("--game needs --out DIR", topic);
        if (!line.MaxStatesGiven) line.MaxStates = 200'000;
        break;
    case TCommand::Help:
        break;
    }
    if (line.Command != TCommand::Play && line.Command != TCommand::Hint)
        line.Files.assign(positional.begin(), positional.end());
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
        return "usage: tobbin-cli solve FILE [--level N] [--max-states M] [--threads T]\n"
               "\n"
               "Finds a solution with the fewest steps for level N (default 1) of FILE (a game\n"
               "file or a level file, as for play), searching breadth-first over whole\n"
               "positions with the game's own move rules. Positions that cannot lead to a\n"
               "shorter win are left out (by a lower bound of the steps still needed), which\n"
               "never changes the answer. Of several shortest solutions the first in the\n"
               "order U, D, L, R is given, whatever the number of threads T (default: one\n"
               "for each core, at most 64).\n"
               "\n"
               "Output:\n"
               "  solution <moves in the one-line solution form>\n"
               "  steps <n>                         exit 0\n"
               "  unsolvable                        exit 1: no way to win exists\n"
               "  gave up after <M> positions       exit 3: the limit M (default 20000000),\n"
               "                                    or half of the memory was not enough\n"
               "Errors exit 2. On a terminal, stderr shows the progress once a second.\n";
    if (topic == "hint")
        return "usage: tobbin-cli hint FILE MOVES [--level N] [--max-states M] [--threads T]\n"
               "\n"
               "Lays out level N (default 1) of FILE, plays MOVES as play does, and finds a\n"
               "shortest way to win from the position reached (searching as solve does).\n"
               "MOVES may be \"\" to ask from the start.\n"
               "\n"
               "Output:\n"
               "  next <U|D|L|R>\n"
               "  steps <n>                         exit 0: the next move of a shortest win\n"
               "                                    and its length (only \"steps 0\" when the\n"
               "                                    moves have won the level)\n"
               "  unsolvable                        exit 1: no way to win is left from here\n"
               "                                    (also when the hero was crushed)\n"
               "  gave up after <M> positions       exit 3: the limit M (default 20000000)\n"
               "Errors exit 2, as for play. On a terminal, stderr shows the progress.\n";
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
               "                  [--max-states M] [--threads T]\n"
               "\n"
               "Solves every level of the game files and writes their shortest solutions as\n"
               "an import file (a version line, then one solution line per level) under the\n"
               "player NAME (default 'Tobbin #1'). Fails when a level cannot be solved.\n";
    if (topic == "generate")
        return "usage: tobbin-cli generate [--seed S] [--count N] [--size WxH] [--objects LIST]\n"
               "                  [--steps A-B] [--needs LIST] [--shape FILE] [--out DIR]\n"
               "                  [--mirror] [--game NAME] [--max-states M] [--tries T]\n"
               "\n"
               "Lays out random levels, lets every object settle so that each level starts at\n"
               "rest, solves each and keeps those whose shortest solution has A to B steps and\n"
               "sets off every event asked for. The same options give the same levels.\n"
               "\n"
               "  --seed S         the seed of the random choices (default 1)\n"
               "  --count N        levels to keep (default 1)\n"
               "  --size WxH       the open area, 3x2 to 29x16 (default 8x5), centred in the\n"
               "                   grid and framed by walls\n"
               "  --objects LIST   what to place, as KIND:COUNT separated by commas; kinds:\n"
               "                   food, stone, grass, wall, box1, box2, box3, bomb (default\n"
               "                   food:3,stone:4,grass:10,wall:3; kinds not named keep it)\n"
               "  --steps A-B      the shortest solution's length (default 8-60)\n"
               "  --needs LIST     events the shortest solution must contain, separated by\n"
               "                   commas: push (the hero pushes an object), roll (a falling\n"
               "                   object rolls off a stone or bomb), box (an object falls\n"
               "                   into a box), bomb (a bomb goes off)\n"
               "  --shape FILE     a level file whose cells drawn '.' take the objects (those\n"
               "                   left over become empty); without any '.', its empty cells\n"
               "                   take them. Every other cell stays as drawn (a hero in it\n"
               "                   stays; without one the hero is placed too). --size is\n"
               "                   then ignored\n"
               "  --mirror         places the objects in pairs mirrored about the middle\n"
               "                   column, so the level is symmetric but for the hero\n"
               "  --out DIR        writes the kept levels as DIR/1.txt, DIR/2.txt, ... in the\n"
               "                   20-line text form\n"
               "  --game NAME      also writes DIR/<name>.tbg with the first nine levels\n"
               "                   (author 'tobbin-cli', skill 1; needs --out)\n"
               "  --max-states M   a candidate whose search needs more positions is dropped\n"
               "                   (default 200000)\n"
               "  --tries T        candidates to lay out at most (default 5000)\n"
               "\n"
               "Output, one line per level kept:\n"
               "  level <n> steps <s> positions <p> forced <f> events <list> try <t>\n"
               "then 'kept <k> of <n> after <t> tries'. Exit status: 0 all N kept, 1 fewer,\n"
               "2 an error. On a terminal, stderr shows the progress.\n"
               "\n"
               "What makes a level interesting is for its author to judge; the line gives\n"
               "what was measured to help: steps, the length of the shortest solution (a\n"
               "long one asks for a plan); positions, how many positions the search met\n"
               "before it found it (many positions for few steps means many ways to go\n"
               "wrong); forced, how many moves of that solution were the only move that is\n"
               "neither blocked nor losing (a level of mostly forced moves plays itself).\n"
               "A generated level still wants a name, and the shaping hand of its author.\n";
    return "usage: tobbin-cli COMMAND [ARGUMENTS]\n"
           "\n"
           "Commands:\n"
           "  play FILE MOVES [--level N]                 play moves, print the level\n"
           "  solve FILE [--level N] [--max-states M] [--threads T]\n"
           "                                              find a shortest solution\n"
           "  hint FILE MOVES [--level N] [--max-states M] [--threads T]\n"
           "                                              the next move of a shortest win\n"
           "  check FILE...                               describe and verify game files\n"
           "  verify [--settings DIR] [--merge]           replay all stored best solutions\n"
           "  generate [--seed S] [--count N] [...]       lay out and solve new levels\n"
           "\n"
           "'tobbin-cli COMMAND --help' tells more about a command.\n";
}

} // namespace tb::cli
