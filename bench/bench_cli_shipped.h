#pragma once
// The shipped games and their shipped solutions, for the benchmarks.

#include "engine/tb_levsol.h"
#include "games/tb_version.h"
#include "services/d_file.h"
#include "services/d_folders.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace tb::bench {

struct TShippedLevel {
    std::filesystem::path File; // the game file
    std::string Game;
    int Level = 0;
    std::unique_ptr<TLevSol> Solution;
};

inline std::vector<TShippedLevel> ShippedLevels() {
    const std::filesystem::path data = TOBBIN_DATA_DIR;
    TTextReader file = TTextReader::FromFile(data / "solutions" / "tobbin-shipped.sox");
    ReadVersionLine(file);
    std::vector<TShippedLevel> levels;
    std::string line;
    while (file.ReadLine(line)) {
        TShippedLevel level;
        level.Solution = std::make_unique<TLevSol>();
        bool renamed = false;
        int skill = 0;
        if (!level.Solution->ParseLine(line, level.Game, renamed, true, level.Level, skill))
            continue;
        level.File = data / "tbg" / GameFileName(level.Game, ".tbg");
        levels.push_back(std::move(level));
    }
    return levels;
}

} // namespace tb::bench
