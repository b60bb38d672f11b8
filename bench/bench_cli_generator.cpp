// The level generator: candidates laid out, settled and solved a second, and
// the time to keep a handful of levels with the mechanics a game asks for.

#include "tools/cli/generator.h"

#include <benchmark/benchmark.h>

namespace {

void Generate(benchmark::State& state, const char* objects, const char* needs, int minSteps) {
    tb::cli::TGenerateOptions options;
    options.Count = 5;
    options.Width = 9;
    options.Height = 5;
    options.Objects = tb::cli::ParseObjects(objects);
    options.Needs = tb::cli::ParseMechanics(needs);
    options.MinSteps = minSteps;
    options.MaxSteps = 60;
    options.MaxTries = 100000;
    std::uint64_t tries = 0, kept = 0;
    for (auto _ : state) {
        ++options.Seed;
        const auto levels = tb::cli::Generate(options);
        kept += levels.size();
        tries += static_cast<std::uint64_t>(levels.empty() ? 0 : levels.back().Try);
        benchmark::DoNotOptimize(levels.data());
    }
    state.counters["tries/s"] =
        benchmark::Counter(static_cast<double>(tries), benchmark::Counter::kIsRate);
    state.counters["levels/s"] =
        benchmark::Counter(static_cast<double>(kept), benchmark::Counter::kIsRate);
}

void BM_GenerateStones(benchmark::State& state) {
    Generate(state, "food:3,stone:5,grass:8,wall:3", "push,roll", 15);
}
void BM_GenerateBombsAndBoxes(benchmark::State& state) {
    Generate(state, "food:3,stone:4,bomb:2,box1:1,grass:6,wall:2", "bomb,box", 15);
}
BENCHMARK(BM_GenerateStones)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GenerateBombsAndBoxes)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
