// The solver: the time to solve each shipped level, and positions a second
// and bytes a stored position on one thread and on every core, side by side.

#include "bench_cli_shipped.h"
#include "solver/tb_solver.h"
#include "tools/cli/levelfile.h"

#include <benchmark/benchmark.h>

#include <random>

namespace tb::bench {
namespace {

int Cores() {
    return DefaultSolverThreads();
}

void Report(benchmark::State& state, const TSolveResult& result, std::uint64_t stored) {
    state.counters["positions/s"] =
        benchmark::Counter(static_cast<double>(stored), benchmark::Counter::kIsRate);
    state.counters["positions"] = static_cast<double>(result.Stored);
    state.counters["bytes/pos"] = result.BytesPerPosition();
    state.counters["threads"] = result.Threads;
}

// Solves a shipped level as often as the benchmark asks, checks that the
// search still finds the shipped number of steps and reports its counters.
TSolveResult SolveShipped(benchmark::State& state, const TShippedLevel& shipped,
                          const TSolveOptions& options) {
    cli::TCliGame game;
    game.LoadFile(shipped.File);
    game.StartLevel(shipped.Level);
    TSolveResult result;
    std::uint64_t stored = 0;
    for (auto _ : state) {
        result = Solve(game, options);
        stored += result.Stored;
    }
    if (result.Outcome != TSolveOutcome::Solved ||
        result.Moves.size() != shipped.Solution->GetSteps())
        state.SkipWithError("the search no longer finds the shipped number of steps");
    Report(state, result, stored);
    return result;
}

// Each shipped level solved as `tobbin-cli solve` solves it (arguments: the
// level, the threads).
void SolveLevel(benchmark::State& state) {
    const std::vector<TShippedLevel> levels = ShippedLevels();
    const TShippedLevel& shipped = levels.at(static_cast<std::size_t>(state.range(0)));
    TSolveOptions options;
    options.Threads = static_cast<int>(state.range(1));
    const TSolveResult result = SolveShipped(state, shipped, options);
    state.counters["passes"] = result.Passes;
    state.SetLabel(shipped.Game + " " + std::to_string(shipped.Level));
}

void AllLevels(benchmark::internal::Benchmark* bench) {
    const int count = static_cast<int>(ShippedLevels().size());
    for (int i = 0; i < count; ++i)
        for (int threads : {1, Cores()})
            bench->Args({i, threads});
}

BENCHMARK(SolveLevel)->Apply(AllLevels)->Unit(benchmark::kMillisecond)->UseRealTime();

// The raw speed of the search: the two largest shipped searches without the
// lower bound (a plain breadth-first search over every position), on one
// thread and on every core.
void PlainSearch(benchmark::State& state) {
    const std::vector<TShippedLevel> levels = ShippedLevels();
    const TShippedLevel* largest[2] = {nullptr, nullptr};
    for (const TShippedLevel& level : levels) {
        if (level.Game == "Stone Quarry" && level.Level == 2) largest[0] = &level;
        if (level.Game == "Powder Keg" && level.Level == 2) largest[1] = &level;
    }
    const TShippedLevel* shipped = largest[state.range(0)];
    if (shipped == nullptr) {
        state.SkipWithError("the level is no longer shipped");
        return;
    }
    TSolveOptions options;
    options.Prune = false;
    options.Threads = static_cast<int>(state.range(1));
    SolveShipped(state, *shipped, options);
    state.SetLabel(shipped->Game + " " + std::to_string(shipped->Level) + " plain");
}

BENCHMARK(PlainSearch)
    ->ArgsProduct({{0, 1}, {1, Cores()}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A full-size level: an open field of 29 x 16 cells with grass, stones, boxes,
// bombs and food made from a fixed seed, searched up to 3 million positions.
class TFieldLevel final : public TMap {
public:
    TFieldLevel() {
        std::mt19937 random(2026);
        std::discrete_distribution<int> cell({40, 30, 4, 10, 2, 2, 1, 1, 2});
        for (int y = 1; y <= Height; ++y)
            for (int x = 1; x <= Width; ++x) {
                const bool border = x == 1 || x == Width || y == 1 || y == Height;
                Cells[y - 1][x - 1] =
                    border ? std::uint8_t{Wall} : static_cast<std::uint8_t>(1 + cell(random));
            }
        // Everything hanging over an empty cell drops to rest.
        for (bool moved = true; moved;) {
            moved = false;
            for (int y = Height - 1; y >= 1; --y)
                for (int x = 1; x <= Width; ++x)
                    if (IsFalling(Cells[y - 1][x - 1]) && Cells[y][x - 1] == Empty) {
                        std::swap(Cells[y - 1][x - 1], Cells[y][x - 1]);
                        moved = true;
                    }
        }
        Cells[1][1] = Hero;
        HeroPos = TPos(2, 2);
        FoodCount = 0;
        for (const auto& row : Cells)
            for (std::uint8_t code : row)
                FoodCount = static_cast<std::uint16_t>(FoodCount + (code == Food));
    }
};

void FullSizeField(benchmark::State& state) {
    const TFieldLevel level;
    TSolveOptions options;
    options.MaxStates = 3'000'000;
    options.Threads = static_cast<int>(state.range(0));
    options.Prune = state.range(1) != 0;
    TSolveResult result;
    std::uint64_t stored = 0;
    for (auto _ : state) {
        result = Solve(level, options);
        stored += result.Stored;
    }
    Report(state, result, stored);
    state.counters["packed"] = static_cast<double>(result.PackedBytes);
    state.SetLabel(result.Outcome == TSolveOutcome::GaveUp ? "gave up" : "ended");
}

BENCHMARK(FullSizeField)
    ->ArgsProduct({{1, Cores()}, {0}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

// The memory of the search as it grows: the same field on one thread, up to
// 1 to 6 million positions (argument: millions). The table grows in steps, so
// bytes a position differ from one size to the next; each must stay within
// the goal.
void FullSizeFieldMemory(benchmark::State& state) {
    const TFieldLevel level;
    TSolveOptions options;
    options.MaxStates = static_cast<std::uint64_t>(state.range(0)) * 1'000'000;
    options.Threads = 1;
    options.Prune = false;
    TSolveResult result;
    std::uint64_t stored = 0;
    for (auto _ : state) {
        result = Solve(level, options);
        stored += result.Stored;
    }
    Report(state, result, stored);
    state.counters["peak MB"] = static_cast<double>(result.PeakBytes) / 1e6;
}

BENCHMARK(FullSizeFieldMemory)
    ->DenseRange(1, 6)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

} // namespace
} // namespace tb::bench

BENCHMARK_MAIN();
