#pragma once
// The command line of tobbin-cli: which command, its files and options, and the
// help texts. Parsing only; the commands themselves live in commands.h.

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace tb::cli {

enum class TCommand { Help, Play, Solve, Hint, Check, Verify, MakeGame, MakeSolutions, Generate };

struct TCommandLine {
    TCommand Command = TCommand::Help;
    // For Help: the command whose help is asked for ("" for the tool's own).
    std::string Topic;
    std::vector<std::filesystem::path> Files; // play/solve/hint: one; check: all; make-*: see help
    std::string Moves;                        // play, hint
    int Level = 1;                            // play, solve, hint
    std::uint64_t MaxStates = 20'000'000;     // solve, hint, make-solutions
    int Threads = 0;                          // solve, hint, make-solutions; 0: one a core
    std::filesystem::path Settings;           // verify; empty: the folder of the executable
    bool Merge = false;                       // verify --merge: the records are written
    std::string Player = "Tobbin #1";         // make-solutions
    // generate
    std::uint64_t Seed = 1;
    int Count = 1;
    int Width = 8, Height = 5;
    std::string Objects; // "" keeps the default counts
    int MinSteps = 8, MaxSteps = 60;
    std::string Needs;
    std::filesystem::path Out;   // "" writes no files
    std::filesystem::path Shape; // "" lays out a plain rectangle
    std::string GameName;        // "" writes no game file
    int MaxTries = 5000;
    bool Mirror = false;
    bool MaxStatesGiven = false;
};

// A command line the tool does not understand. Topic names the command whose
// usage is shown with the message ("" for the tool's).
class TUsageError : public std::runtime_error {
public:
    TUsageError(const std::string& message, std::string topic)
        : std::runtime_error(message), Topic(std::move(topic)) {}
    std::string Topic;
};

// args are the arguments after the program name.
TCommandLine ParseCommandLine(const std::vector<std::string>& args);

// The help text of a command ("" for the tool's overview), ending with a newline.
std::string HelpText(const std::string& topic);

} // namespace tb::cli
