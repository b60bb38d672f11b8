// The engine without a window: player moves through the game object, and the
// level's checks and text form.

#include "bench_cli_shipped.h"
#include "tools/cli/levelfile.h"

#include <benchmark/benchmark.h>

namespace tb::bench {
namespace {

// Replays the shipped solution of each level through TGame::Move, laying the
// level out afresh after each win. Counts moves.
void PlayerMoves(benchmark::State& state) {
    const std::vector<TShippedLevel> levels = ShippedLevels();
    const TShippedLevel& shipped = levels.at(static_cast<std::size_t>(state.range(0)));
    cli::TCliGame game;
    game.LoadFile(shipped.File);
    std::vector<TDir> moves;
    for (int i = 1; i <= shipped.Solution->GetSteps(); ++i)
        moves.push_back(static_cast<TDir>(shipped.Solution->GetMove(i)));
    std::int64_t count = 0;
    for (auto _ : state) {
        game.StartLevel(shipped.Level);
        for (TDir dir : moves)
            benchmark::DoNotOptimize(game.Move(dir, 1));
        count += static_cast<std::int64_t>(moves.size());
    }
    if (game.GetFoodCount() != 0) state.SkipWithError("the shipped solution did not win");
    state.SetItemsProcessed(count);
    state.SetLabel(shipped.Game + " " + std::to_string(shipped.Level));
}

const TMap& ShippedMap(std::unique_ptr<cli::TCliGame>& holder) {
    const std::vector<TShippedLevel> levels = ShippedLevels();
    holder = std::make_unique<cli::TCliGame>();
    holder->LoadFile(levels.back().File);
    return *holder->GetGame().GetMap(levels.back().Level);
}

void IsPlayable(benchmark::State& state) {
    std::unique_ptr<cli::TCliGame> holder;
    const TMap& map = ShippedMap(holder);
    for (auto _ : state)
        benchmark::DoNotOptimize(map.IsPlayable());
    state.SetItemsProcessed(state.iterations());
}

void Checksum(benchmark::State& state) {
    std::unique_ptr<cli::TCliGame> holder;
    const TMap& map = ShippedMap(holder);
    for (auto _ : state)
        benchmark::DoNotOptimize(map.Checksum());
    state.SetItemsProcessed(state.iterations());
}

void WriteLevelText(benchmark::State& state) {
    std::unique_ptr<cli::TCliGame> holder;
    const TMap& map = ShippedMap(holder);
    for (auto _ : state) {
        TTextWriter writer;
        map.WriteText(writer);
        benchmark::DoNotOptimize(writer.Content().data());
    }
    state.SetItemsProcessed(state.iterations());
}

void ReadLevelText(benchmark::State& state) {
    std::unique_ptr<cli::TCliGame> holder;
    TTextWriter writer;
    ShippedMap(holder).WriteText(writer);
    TMap map;
    for (auto _ : state) {
        TTextReader reader(writer.Content());
        benchmark::DoNotOptimize(map.ReadText(reader));
    }
    state.SetItemsProcessed(state.iterations());
}

void AllLevels(benchmark::internal::Benchmark* bench) {
    const int count = static_cast<int>(ShippedLevels().size());
    for (int i = 0; i < count; ++i)
        bench->Arg(i);
}

BENCHMARK(PlayerMoves)->Apply(AllLevels);
BENCHMARK(IsPlayable);
BENCHMARK(Checksum);
BENCHMARK(WriteLevelText);
BENCHMARK(ReadLevelText);

} // namespace
} // namespace tb::bench

BENCHMARK_MAIN();
