// Runs the built tobbin-cli as a level author runs it and compares what it
// prints, on stdout and stderr, and its exit status.

#include "engine/tb_levsol.h"
#include "games/tb_mapset.h"
#include "games/tb_version.h"
#include "records/tb_logdb.h"
#include "services/d_file.h"
#include "services/d_messages.h"
#include "tests/test_support.h"
#include "tests/tools/tool_levels.h"
#include "tools/cli/moves.h"

#include <gtest/gtest.h>

#include <map>

#include <sys/wait.h>

namespace tb::test {
namespace {

struct TRun {
    std::string Out;
    std::string Err;
    int Status = -1;
    bool operator==(const TRun&) const = default;
};
void PrintTo(const TRun& run, std::ostream* os) {
    *os << "status " << run.Status << "\nout: " << run.Out << "\nerr: " << run.Err;
}

std::string Quote(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

const std::vector<std::string> Walk = {"########", "#H  +  #", "#-#####", "#+#"};

class CliTool : public ::testing::Test {
protected:
    TRun Run(const std::vector<std::string>& args) {
        std::string command = Quote(TOBBIN_CLI_PATH);
        // Appended piece by piece: GCC 12 at -O3 misreads a literal prefixed
        // to a temporary string as an overlapping copy (-Wrestrict).
        for (const std::string& arg : args) {
            command += ' ';
            command += Quote(arg);
        }
        command += " >";
        command += Quote((Folder / "out").string());
        command += " 2>";
        command += Quote((Folder / "err").string());
        const int raw = std::system(command.c_str());
        TRun run;
        run.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.Out = ReadFile(Folder / "out");
        run.Err = ReadFile(Folder / "err");
        return run;
    }
    std::string Level(const std::string& file, const std::vector<std::string>& rows) {
        WriteFile(Folder / file, LevelText("Test", rows));
        return (Folder / file).string();
    }
    // The source folder of a game of two levels, the second unplayable unless `open`.
    std::filesystem::path Source(bool open = true) {
        const auto source = Folder / "source";
        std::filesystem::create_directories(source);
        WriteFile(source / "game.txt", "Two Rooms\nAnn Example\n2\n");
        WriteFile(source / "1.txt", LevelText("Walk", Walk));
        WriteFile(source / "2.txt", LevelText("Still", {"#####", open ? "#H  +" : "#H  #"}));
        return source;
    }

    TempFolder Folder;
};

TEST_F(CliTool, PlayPrintsTheLevelAfterTheMoves) {
    const std::string file = Level("walk.txt", Walk);
    TRun run = Run({"play", file, "2R"});
    EXPECT_EQ(run, (TRun{"state Play\nresult open\nsteps 2\nfood 2\nhero 4 2\n" +
                             Board({"########", "#  H+  #", "#-#####", "#+#"}),
                         "", 0}));

    // Nothing moved yet: the level waits in Ready. A move into a wall records nothing.
    for (const char* moves : {" ", "u"})
        EXPECT_TRUE(Run({"play", file, moves})
                        .Out.starts_with("state Ready\nresult open\nsteps 0\nfood 2\nhero 2 2\n"))
            << moves;

    // Won at the last food; the moves after it are ignored.
    EXPECT_EQ(Run({"play", file, "2d2u3R 5L"}),
              (TRun{"state Done\nresult won\nsteps 7\nfood 0\nhero 5 2\n" +
                        Board({"########", "#   H  #", "# #####", "# #"}),
                    "", 0}));
}

TEST_F(CliTool, PlayShowsACrushedHeroAndUnknownCells) {
    const std::string file =
        Level("crush.txt", {"#######", "##*####", "##* ###", "#H- -+#", "# #@ ##", "#x#"});
    // The lower stone drops one cell; the upper one rolls off it onto the hero.
    EXPECT_EQ(Run({"play", file, "RRR"}),
              (TRun{"state Done\nresult lost\nsteps 2\nfood 1\nhero 4 4\n" +
                        Board({"#######", "## ####", "## *###", "# *O-+#", "# #@ ##", "#?#"}),
                    "", 0}));
}

TEST_F(CliTool, RefusalsGoToStderrOnlyWithStatusTwoAndHelpToStdout) {
    const std::string file = Level("walk.txt", Walk);
    const std::string missing = (Folder / "missing.tbg").string();
    WriteFile(Folder / "end.txt", "END\n");
    const struct {
        std::vector<std::string> Args;
        std::string Err;    // how the error output starts
        bool Whole = false; // or all of it
    } refusals[] = {
        {{"play", Level("still.txt", {"#####", "#H  #"}), "R"}, "error: level is not playable\n"},
        {{"play", missing, "R"}, "error: Cannot open file: " + missing + "\n"},
        {{"play", file, "R", "--level", "2"}, "error: the game has no level 2\n"},
        {{"play", (Folder / "end.txt").string(), "R"}, "error: no level in "},
        {{"solve", Level("bad.txt", {"#####", "#H*+#", "## ##"})},
         "error: level is not playable\n"},
        {{"dance"}, "error: unknown command 'dance'\nusage: tobbin-cli COMMAND"},
        {{"solve", "x.txt", "--fast"}, "error: unknown option '--fast'\nusage: tobbin-cli solve"},
        {{"play", "x.txt", "R", "--level", "nine"}, "error: --level needs a number"},
        {{}, "error: no command given\n"},
        {{"generate", "--needs", "fly"},
         "error: unknown mechanic 'fly' (push, roll, box, bomb)\n",
         true},
        {{"generate", "--steps", "9-3"}, "error: --steps maximum needs a number from 9"},
        {{"generate", "--game", "X"}, "error: --game needs --out DIR\n"},
        {{"hint", file, "2X"}, "error: bad move letter 'X'\n", true},
        {{"hint", file}, "error: hint needs a file and a move list\nusage: tobbin-cli hint"},
        {{"solve", file, "--threads", "0"}, "error: --threads needs a number from 1 to 64"},
        {{"verify", "--settings", (Folder / "none").string()},
         "error: no such folder: " + (Folder / "none").string() + "\n",
         true},
    };
    for (const auto& refusal : refusals) {
        const TRun run = Run(refusal.Args);
        EXPECT_EQ(std::tuple(run.Status, run.Out), std::tuple(2, "")) << refusal.Err;
        const std::string& err = refusal.Err;
        EXPECT_EQ(refusal.Whole ? run.Err : run.Err.substr(0, err.size()), err);
    }
    // Help is no refusal: its usage goes to stdout.
    for (const std::string command :
         {"COMMAND", "play", "solve", "hint", "check", "verify", "generate"}) {
        const TRun run = command == "COMMAND" ? Run({"--help"}) : Run({command, "--help"});
        EXPECT_EQ(std::tuple(run.Status, run.Err), std::tuple(0, "")) << command;
        EXPECT_TRUE(run.Out.starts_with("usage: tobbin-cli " + command)) << run.Out;
    }
}

TEST_F(CliTool, SolvePrintsTheShortestSolutionOrWhyThereIsNone) {
    // no progress lines when stderr is no terminal
    EXPECT_EQ(Run({"solve", Level("two.txt", {"##########", "#+   H  +#"})}),
              (TRun{"solution 3R7L\nsteps 10\n", "", 0}));
    EXPECT_EQ(Run({"solve", Level("walled.txt", {"######", "#H #+#"})}),
              (TRun{"unsolvable\n", "", 1}));
    EXPECT_EQ(Run({"solve", Level("long.txt", {"#########", "#H     +#"}), "--max-states=3"}),
              (TRun{"gave up after 3 positions\n", "", 3}));
}

TEST_F(CliTool, MakeGameWritesAGameThatCheckAndSolveRead) {
    TRun run = Run({"make-game", Source().string(), Folder.Path().string()});
    ASSERT_EQ(run.Status, 0) << run.Err;
    const std::string game = (Folder / "two_rooms.tbg").string();

    run = Run({"check", game});
    EXPECT_EQ(std::tuple(run.Status, run.Err), std::tuple(0, ""));
    const std::string head = "file " + game +
                             "\ngame Two Rooms\nauthor Ann Example\nskill 2 Moderate\nlevels 2\n"
                             "read-only no\nlevel 1 playable food 2 checksum ";
    EXPECT_EQ(run.Out.substr(0, head.size()), head);
    EXPECT_NE(run.Out.find(" Walk\nlevel 2 playable food 1 checksum "), std::string::npos);
    EXPECT_TRUE(run.Out.ends_with(" Still\n"));

    EXPECT_EQ(Run({"solve", game, "--level", "2"}), (TRun{"solution 3R\nsteps 3\n", "", 0}));

    // A damaged copy fails its checksum; check reports it and goes on.
    std::string text = ReadFile(game);
    text.replace(text.find("#H  +"), 5, "#H + ");
    WriteFile(Folder / "damaged.tbg", text);
    run = Run({"check", (Folder / "damaged.tbg").string(), game});
    EXPECT_EQ(
        std::tuple(run.Status, run.Err),
        std::tuple(1, "error: " + (Folder / "damaged.tbg").string() + ": Corrupted game data\n"));
    EXPECT_EQ(run.Out.rfind("file " + game + "\n", 0), 0u);

    run = Run({"make-game", Source(false).string(), Folder.Path().string()});
    EXPECT_EQ(std::tuple(run.Status, run.Err.find("level is not playable") != std::string::npos),
              std::tuple(2, true));
}

TEST_F(CliTool, VerifyReplaysEveryStoredSolutionAndGoesOnPastFailures) {
    const auto program = Folder / "program";
    std::filesystem::create_directories(program / "tbg");
    ASSERT_EQ(Run({"make-game", Source().string(), (program / "tbg").string()}).Status, 0);

    // An import file beside the program: level 1 is solved, level 2 is not.
    std::string sox = VersionLine() + "\r\n";
    const std::pair<int, const char*> solutions[] = {{1, "2D2U3R"}, {2, "2R"}};
    for (const auto& [level, moves] : solutions) {
        TLevSol solution;
        solution.SetPlayer("Tobbin #1");
        for (TDir dir : cli::ParseMoves(moves))
            solution.Add(dir);
        sox += solution.Line("Two Rooms", level, 2) + "\r\n";
    }
    WriteFile(program / "shipped.sox", sox);

    // Record files the game's start would rewrite: a solutions file cut inside
    // its first line (backed up, then rewritten with the import) and a log
    // entry of a level the game does not have (cleaned out).
    const std::string sol = VersionLine();
    WriteFile(program / "tobbin.sol", sol);
    const TLog gone{"Ann #0", "Two Rooms", 0, 3, 7}; // time 0, 3 steps, level 7
    WriteFile(program / "tobbin.hof", VersionLine() + "\r\n" + gone.Line() + "\r\n");
    // Every file of the folder with its bytes and its time.
    auto snapshot = [&] {
        std::map<std::string, std::pair<std::string, std::filesystem::file_time_type>> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(program))
            if (entry.is_regular_file())
                files[entry.path().string()] = {ReadFile(entry.path()), entry.last_write_time()};
        return files;
    };
    const auto before = snapshot();

    TRun run = Run({"verify", "--settings", program.string()});
    EXPECT_EQ(run, (TRun{"ok 1 7 Two Rooms\nFAILED 2 2 Two Rooms\n"
                         "verified 2 solutions: 1 ok, 1 failed\n",
                         "", 1}));
    EXPECT_TRUE(snapshot() == before); // a check changes nothing it checks

    // --merge does what the game's start does: the import is merged and goes.
    run = Run({"verify", "--settings", program.string(), "--merge"});
    EXPECT_EQ(std::tuple(run.Status, std::filesystem::exists(program / "shipped.sox"),
                         std::filesystem::exists(program / "tobbin.sol.bak")),
              std::tuple(1, false, true));
    EXPECT_NE(ReadFile(program / "tobbin.hof"), before.at((program / "tobbin.hof").string()).first);

    std::filesystem::create_directories(Folder / "empty");
    EXPECT_EQ(Run({"verify", "--settings", (Folder / "empty").string()}),
              (TRun{"verified 0 solutions: 0 ok, 0 failed\n", "", 0}));
}

TEST_F(CliTool, GenerateWritesTheLevelsItListsAndAGameThatCheckReads) {
    const std::string out = (Folder / "gen").string();
    TRun run = Run({"generate", "--seed", "4", "--count", "2", "--size", "6x4", "--objects",
                    "food:2,stone:2,grass:4,wall:1", "--steps", "3-30", "--out", out, "--game",
                    "Made Up"});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_TRUE(run.Out.starts_with("level 1 steps ") &&
                run.Out.find("\nlevel 2 steps ") != std::string::npos &&
                run.Out.find("\nkept 2 of 2 after ") != std::string::npos)
        << run.Out;
    EXPECT_TRUE(std::filesystem::exists(Folder / "gen" / "2.txt"));
    run = Run({"check", (Folder / "gen" / "made_up.tbg").string()});
    EXPECT_TRUE(run.Status == 0 && run.Out.find("level 2 playable") != std::string::npos)
        << run.Err << run.Out;
}

TEST_F(CliTool, HintPrintsTheNextMoveOfAShortestWinFromThePositionPlayed) {
    const std::string two = Level("two.txt", {"##########", "#+   H  +#"});
    // Pushing the stone into the shaft blocks the food for good.
    const std::string shaft =
        Level("shaft.txt", {"#######", "#     #", "#H *  #", "#### ##", "####+##"});
    const std::string far = Level("long.txt", {"#########", "#H     +#"});
    const std::pair<std::vector<std::string>, TRun> cases[] = {
        // From the start: 3R7L; after one step left, 3L7R is as short.
        {{two, "", "--threads", "2"}, {"next R\nsteps 10\n", "", 0}},
        {{two, "L", "--threads", "2"}, {"next L\nsteps 10\n", "", 0}},
        {{two, "3R7L"}, {"steps 0\n", "", 0}}, // won already
        {{shaft, "RR"}, {"unsolvable\n", "", 1}},
        {{shaft, ""}, {"next U\nsteps 7\n", "", 0}},
        {{far, "", "--max-states=3"}, {"gave up after 3 positions\n", "", 3}},
    };
    for (const auto& [args, expected] : cases) {
        std::vector<std::string> command{"hint"};
        command.insert(command.end(), args.begin(), args.end());
        EXPECT_EQ(Run(command), expected) << args[1];
    }
}

} // namespace
} // namespace tb::test
