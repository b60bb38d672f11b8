#pragma once
// Helpers for the records tests: game files laid out in the games folder,
// solutions of a given length, and the record files written as text.

#include "engine/tb_levsol.h"
#include "engine/tb_map.h"
#include "games/tb_mapset.h"
#include "records/tb_logdb.h"
#include "services/d_file.h"
#include "services/d_folders.h"
#include "tests/test_support.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tb::test {

using Rows = std::vector<std::string>;

// A level won by one move right: the hero with one food to his right and a
// wall to his left, so that moves left change nothing.
inline const Rows OneStep = {"", "#H+"};
// Two food to the right: two moves right win it.
inline const Rows TwoSteps = {"", " H++"};
// One move left crushes the hero: a stone rolls off the stone he stood under.
inline const Rows Deadly = {
    "", "     *", "     *#", "     H#", "     *", "     #", "", "", "", "                   +",
};

// Writes the game file of `name` into the games folder (a valid checksum).
inline void WriteGame(const std::string& name, const std::vector<Rows>& levels,
                      const std::string& author = "Ann", std::uint8_t skill = 2,
                      const TFolders& folders = test::Layout()) {
    TMapSet game;
    game.Init(name, author, skill);
    int n = 0;
    for (const Rows& rows : levels) {
        ++n;
        game.AddLevel("");
        TTextReader reader(LevelText(rows, "Level " + std::to_string(n)));
        game.GetMap(n)->ReadText(reader);
    }
    game.Save(folders);
}

// A game of `count` one-step levels.
inline void WriteSimpleGame(const std::string& name, int count, const std::string& author = "Ann",
                            std::uint8_t skill = 2, const TFolders& folders = test::Layout()) {
    WriteGame(name, std::vector<Rows>(static_cast<std::size_t>(count), OneStep), author, skill,
              folders);
}

// A solution of `steps` moves by `player`: steps - 1 moves left, then `move`
// (right: on OneStep a bump into the wall until the win); steps above 10000
// hold no moves.
inline TLevSol Solution(const std::string& player, int steps, std::uint8_t move = 3) {
    TLevSol s(0);
    s.SetPlayer(player);
    if (steps > TLevSol::NoMovesSteps) {
        // A withdrawal line: read back from its text form, which is how it ever arrives.
        std::string game;
        bool renamed = false;
        int level = 0;
        int skill = 0;
        s.ParseLine("1@ " + std::to_string(steps) + " " + player + "|x|", game, renamed, false,
                    level, skill);
        return s;
    }
    for (int i = 1; i < steps; ++i)
        s.Add(2);
    if (steps > 0) s.Add(move);
    return s;
}

// One solution line as the solution files hold it.
inline std::string SolLine(const std::string& player, const std::string& game, int level, int steps,
                           int skill = 2) {
    return Solution(player, steps).Line(game, level, skill);
}

// A record file (solutions or log): the version line, then the lines.
inline std::string SolFile(const std::vector<std::string>& lines,
                           const std::string& version = "Version 3.54 #0") {
    std::string text = version + "\r\n";
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

inline TLog LogEntry(const std::string& player, const std::string& game, int level, int steps,
                     int time = 0) {
    TLog e;
    e.Player = player;
    e.Game = game;
    e.Level = static_cast<std::uint8_t>(level);
    e.Steps = static_cast<std::uint16_t>(steps);
    e.Time = static_cast<std::uint16_t>(time);
    return e;
}

inline std::filesystem::path Settings(const std::string& file) {
    return test::Layout().SettingsFolder / file;
}

// Whether the file at `path` holds `text` somewhere.
inline bool Holds(const std::filesystem::path& path, const std::string& text) {
    return ReadFile(path).find(text) != std::string::npos;
}

} // namespace tb::test
