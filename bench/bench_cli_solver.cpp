// The solver on every shipped level: positions expanded a second and bytes a
// stored position.

#include "bench_cli_shipped.h"
#include "solver/tb_solver.h"
#include "tools/cli/levelfile.h"

#include <benchmark/benchmark.h>

namespace tb::bench {
namespace {

void SolveLevel(benchmark::State& state) {
    const std::vector<TShippedLevel> levels = ShippedLevels();
    const TShippedLevel& shipped = levels.at(static_cast<std::size_t>(state.range(0)));
    cli::TCliGame game;
    game.LoadFile(shipped.File);
    game.StartLevel(shipped.Level);
    TSolveResult result;
    std::uint64_t expanded = 0;
    for (auto _ : state) {
        result = Solve(game);
        expanded += result.Expanded;
    }
    if (result.Outcome != TSolveOutcome::Solved ||
        result.Moves.size() != shipped.Solution->GetSteps())
        state.SkipWithError("the solver no longer finds the shipped number of steps");
    state.counters["expanded"] =
        benchmark::Counter(static_cast<double>(expanded), benchmark::Counter::kIsRate);
    state.counters["positions"] = static_cast<double>(result.Stored);
    state.counters["bytes/pos"] = result.BytesPerPosition();
    state.counters["packed"] = static_cast<double>(result.PackedBytes);
    state.SetLabel(shipped.Game + " " + std::to_string(shipped.Level));
}

void AllLevels(benchmark::internal::Benchmark* bench) {
    const int count = static_cast<int>(ShippedLevels().size());
    for (int i = 0; i < count; ++i)
        bench->Arg(i);
}

BENCHMARK(SolveLevel)->Apply(AllLevels)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tb::bench

BENCHMARK_MAIN();
