// tobbin-cli: the puzzle without a window, for level authors, the shipped games
// and the engine's benchmarks. See `tobbin-cli --help`.

#include "tools/cli/commands.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::error_code ec;
    std::filesystem::path self = std::filesystem::canonical("/proc/self/exe", ec);
    if (ec) self = std::filesystem::absolute(argv[0], ec);
    const int status = tb::cli::RunTool(args, self.parent_path(), std::cout, std::cerr);
    std::cout.flush();
    return status;
}
