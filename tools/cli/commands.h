#pragma once
// The commands of tobbin-cli. Each takes the parsed command line, writes its
// results to out and its messages to err, and answers the exit status. Errors
// are thrown (tb::Error and the file layer's failures); main prints them.

#include "tools/cli/options.h"

#include <exception>
#include <filesystem>
#include <iosfwd>
#include <string>

namespace tb::cli {

int RunPlay(const TCommandLine& line, std::ostream& out, std::ostream& err);
int RunSolve(const TCommandLine& line, std::ostream& out, std::ostream& err);
int RunHint(const TCommandLine& line, std::ostream& out, std::ostream& err);
int RunCheck(const TCommandLine& line, std::ostream& out, std::ostream& err);
int RunVerify(const TCommandLine& line, const std::filesystem::path& programFolder,
              std::ostream& out, std::ostream& err);
int RunMakeGame(const TCommandLine& line, std::ostream& out, std::ostream& err);
int RunMakeSolutions(const TCommandLine& line, std::ostream& out, std::ostream& err);
int RunGenerate(const TCommandLine& line, std::ostream& out, std::ostream& err);

// The whole tool: parses args (without the program name), runs the command,
// prints errors as one line "error: <message>" on err. Answers the exit status.
int RunTool(const std::vector<std::string>& args, const std::filesystem::path& programFolder,
            std::ostream& out, std::ostream& err);

// The message of an exception as the player should read it.
std::string ErrorText(const std::exception& e);

} // namespace tb::cli
