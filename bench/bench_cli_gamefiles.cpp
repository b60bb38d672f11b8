// Loading and verifying 500 game files, as tobbin-cli check does.

#include "bench_cli_shipped.h"
#include "games/tb_mapset.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

namespace tb::bench {
namespace {

namespace fs = std::filesystem;

// 500 game files: the shipped games under new names, so every file differs.
class TGameFolder {
public:
    TGameFolder() : Root(fs::temp_directory_path() / ("tobbin-bench-" + std::to_string(getpid()))) {
        fs::create_directories(Root);
        std::vector<std::unique_ptr<TMapSet>> shipped;
        for (const auto& entry : fs::directory_iterator(fs::path(TOBBIN_DATA_DIR) / "tbg")) {
            if (entry.path().extension() != ".tbg") continue;
            auto game = std::make_unique<TMapSet>();
            game->LoadText(ReadWholeFile(entry.path()), true);
            shipped.push_back(std::move(game));
        }
        for (int i = 0; i < 500; ++i) {
            TMapSet& game = *shipped[static_cast<std::size_t>(i) % shipped.size()];
            game.Name = "Bench " + std::to_string(i);
            Files.push_back(Root / GameFileName(game.Name, ".tbg"));
            WriteFileAtomic(Files.back(), game.SaveText());
        }
    }
    ~TGameFolder() {
        std::error_code ignored;
        fs::remove_all(Root, ignored);
    }
    std::vector<fs::path> Files;

private:
    fs::path Root;
};

void LoadAndVerify500(benchmark::State& state) {
    TGameFolder folder;
    int levels = 0;
    for (auto _ : state) {
        levels = 0;
        for (const fs::path& file : folder.Files) {
            TMapSet game;
            game.LoadText(ReadWholeFile(file), true);
            for (int level = 1; level <= game.GetLevelCount(); ++level)
                levels += game.GetMap(level)->IsPlayable() ? 1 : 0;
        }
    }
    state.SetItemsProcessed(state.iterations() * 500);
    state.counters["levels"] = levels;
}

BENCHMARK(LoadAndVerify500)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tb::bench

BENCHMARK_MAIN();
