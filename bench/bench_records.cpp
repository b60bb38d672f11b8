// Start-up of the records at full scale: 500 installed games of 9 levels, a
// solutions file of 4,500 lines, 20 import files and a log of 100,000 lines,
// generated in a temporary program folder.

#include "engine/tb_levsol.h"
#include "engine/tb_map.h"
#include "games/tb_mapset.h"
#include "games/tb_version.h"
#include "records/tb_allgames.h"
#include "records/tb_logdb.h"
#include "services/d_file.h"
#include "services/d_folders.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace tb;

constexpr int GameCount = 500;
constexpr int Levels = 9;
constexpr int ImportFiles = 20;
constexpr int ImportLines = 100;
constexpr int LogEntries = 100000;
constexpr int Players = 23;

std::string GameName(int g) {
    return "Game Number " + std::to_string(g);
}
std::string PlayerName(int p) {
    return "Player " + std::to_string(p) + " #0";
}

// A solution that wins its level with its last move, as the records accept only
// such: steps - 1 moves up or left (walls there: the hero stays), then right
// onto the food.
TLevSol Moves(const std::string& player, int steps, std::mt19937& random) {
    TLevSol s(0);
    s.SetPlayer(player);
    for (int i = 1; i < steps; ++i)
        s.Add(static_cast<std::uint8_t>(random() % 2 == 0 ? 0 : 2));
    s.Add(3);
    return s;
}

class TDataSet {
public:
    TDataSet() {
        Root = fs::temp_directory_path() / ("tobbin-bench-records-" + std::to_string(::getpid()));
        fs::remove_all(Root);
        for (const char* sub : {"tbg", "tlg", "img"})
            fs::create_directories(Root / sub);
        Dirs = ProgramFolders(Root);
        std::mt19937 random(42);
        WriteGames(random);
        WriteSolutions(random);
        WriteImports(random);
        WriteLog(random);
    }
    ~TDataSet() {
        std::error_code ignored;
        fs::remove_all(Root, ignored);
    }

    // Puts the record files back as they were before a start-up.
    void Restore() const {
        const fs::path settings = Dirs.SettingsFolder;
        WriteFileAtomic(settings / "tobbin.sol", Solutions);
        WriteFileAtomic(settings / "tobbin.hof", Log);
        for (std::size_t i = 0; i < Imports.size(); ++i)
            WriteFileAtomic(settings / ("import" + std::to_string(i) + ".sox"), Imports[i]);
    }

    TFolders Dirs; // the data set's own folders

private:
    void WriteGames(std::mt19937& random) {
        for (int g = 0; g < GameCount; ++g) {
            TMapSet game;
            game.Init(GameName(g), "Author " + std::to_string(g % 37),
                      static_cast<std::uint8_t>(g % 5));
            for (int level = 1; level <= Levels; ++level) {
                game.AddLevel("Level " + std::to_string(level));
                TMap* map = game.GetMap(level);
                for (int x = 1; x <= TMap::Width; ++x)
                    for (int y = 1; y <= TMap::Height; ++y)
                        map->SetCell(TPos(x, y), random() % 3 == 0 ? Wall : Grass);
                map->SetCell(TPos(2, 1), Wall);
                map->SetCell(TPos(1, 2), Wall);
                map->SetCell(TPos(2, 2), Hero);
                map->SetCell(TPos(3, 2), Food);
            }
            game.Save(Dirs);
        }
    }
    void WriteSolutions(std::mt19937& random) {
        TTextWriter file;
        file.WriteLine(VersionLine());
        for (int g = 0; g < GameCount; ++g)
            for (int level = 1; level <= Levels; ++level)
                Moves(PlayerName((g + level) % Players), 60 + static_cast<int>(random() % 200),
                      random)
                    .WriteLine(file, GameName(g), level, g % 5);
        Solutions = file.Content();
    }
    void WriteImports(std::mt19937& random) {
        for (int f = 0; f < ImportFiles; ++f) {
            TTextWriter file;
            file.WriteLine(VersionLine());
            for (int i = 0; i < ImportLines; ++i) {
                const int g = static_cast<int>(random() % GameCount);
                // Some shorter than any stored solution, most longer.
                const int steps = i % 4 == 0 ? 30 + static_cast<int>(random() % 20) : 300;
                Moves(PlayerName(static_cast<int>(random() % Players)), steps, random)
                    .WriteLine(file, GameName(g), 1 + static_cast<int>(random() % Levels), g % 5);
            }
            Imports.push_back(file.Content());
        }
    }
    void WriteLog(std::mt19937& random) {
        TLogDB log(Dirs, TLogDB::NoLoad{});
        int added = 0;
        for (int p = 0; p < Players && added < LogEntries; ++p)
            for (int g = 0; g < GameCount && added < LogEntries; ++g)
                for (int level = 1; level <= Levels && added < LogEntries; ++level, ++added) {
                    TLog e;
                    e.Player = PlayerName(p);
                    e.Game = GameName(g);
                    e.Level = static_cast<std::uint8_t>(level);
                    e.Steps = static_cast<std::uint16_t>(260 + random() % 500);
                    e.Time = static_cast<std::uint16_t>(random() % 3000);
                    log.AddOrImprove(e);
                }
        Log = log.SaveText();
    }

    fs::path Root;
    std::string Solutions;
    std::string Log;
    std::vector<std::string> Imports;
};

// One data set for the whole run.
const TDataSet& Data() {
    static const TDataSet data;
    return data;
}

void BM_RecordsStartUp(benchmark::State& state) {
    const TDataSet& data = Data();
    std::size_t entries = 0;
    for (auto _ : state) {
        state.PauseTiming();
        data.Restore();
        state.ResumeTiming();
        TAllGames records(data.Dirs);
        entries = records.GetLog().Count();
        benchmark::DoNotOptimize(records.ChampionCount());
    }
    state.counters["games"] = GameCount;
    state.counters["log_entries"] = static_cast<double>(entries);
}
BENCHMARK(BM_RecordsStartUp)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_LogLoad(benchmark::State& state) {
    const TDataSet& data = Data();
    data.Restore();
    const std::string text = ReadWholeFile(data.Dirs.SettingsFolder / "tobbin.hof");
    for (auto _ : state) {
        TLogDB log(data.Dirs, TLogDB::NoLoad{});
        log.LoadText(text);
        benchmark::DoNotOptimize(log.Count());
    }
}
BENCHMARK(BM_LogLoad)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
