// The solver: the time to solve each shipped level, and positions a second
// and bytes a stored position on one thread and on every core, side by side.

#include "bench_cli_shipped.h"
#include "solver/tb_solver.h"
#include "tools/cli/levelfile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <iomanip>
#include <random>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

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

// Solves the open field with the options given on every round and reports
// its positions and memory.
TSolveResult SolveField(benchmark::State& state, const TSolveOptions& options) {
    const TFieldLevel level;
    TSolveResult result;
    std::uint64_t stored = 0;
    for (auto _ : state) {
        result = Solve(level, options);
        stored += result.Stored;
    }
    Report(state, result, stored);
    return result;
}

void FullSizeField(benchmark::State& state) {
    TSolveOptions options;
    options.MaxStates = 3'000'000;
    options.Threads = static_cast<int>(state.range(0));
    options.Prune = state.range(1) != 0;
    const TSolveResult result = SolveField(state, options);
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
    TSolveOptions options;
    options.MaxStates = static_cast<std::uint64_t>(state.range(0)) * 1'000'000;
    options.Threads = 1;
    options.Prune = false;
    const TSolveResult result = SolveField(state, options);
    state.counters["peak MB"] = static_cast<double>(result.PeakBytes) / 1e6;
}

BENCHMARK(FullSizeFieldMemory)
    ->DenseRange(1, 6)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

// Prints the runs as they come, and at the end one line a case with its
// one-thread and every-core runs side by side: time, speed-up, positions a
// second and bytes a position.
class TSideBySide final : public benchmark::ConsoleReporter {
public:
    // In colour only on a terminal, as the library's own reporter.
    TSideBySide() : ConsoleReporter(isatty(fileno(stdout)) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
            const auto threads = run.counters.find("threads");
            const bool one = threads == run.counters.end() || threads->second.value <= 1;
            const std::string key =
                run.run_name.function_name +
                (run.report_label.empty() ? "/" + run.run_name.args : " " + run.report_label);
            TCase& c = Find(key);
            (one ? c.One : c.Many) = Summary(run);
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::ostream& out = GetOutputStream();
        out << "\nOne thread and " << Cores() << " threads side by side\n";
        Row(out, "case", "1 thread", std::to_string(Cores()) + " threads", "speed-up", "pos/s 1",
            "pos/s N", "bytes/pos");
        for (const TCase& c : Cases) {
            const auto ms = [](const TRun& r) { return r.Seen ? Fixed(r.Ms, 1) + " ms" : "-"; };
            const auto rate = [](const TRun& r) {
                return r.Seen ? Fixed(r.Rate / 1e6, 2) + " M" : "-";
            };
            const std::string speedUp = c.One.Seen && c.Many.Seen && c.Many.Ms > 0
                                            ? Fixed(c.One.Ms / c.Many.Ms, 2) + "x"
                                            : "-";
            const TRun& any = c.One.Seen ? c.One : c.Many;
            Row(out, c.Key, ms(c.One), ms(c.Many), speedUp, rate(c.One), rate(c.Many),
                Fixed(any.Bytes, 1));
        }
    }

private:
    struct TRun {
        bool Seen = false;
        double Ms = 0, Rate = 0, Bytes = 0;
    };
    struct TCase {
        std::string Key;
        TRun One, Many;
    };

    static TRun Summary(const Run& run) {
        TRun r;
        r.Seen = true;
        r.Ms = run.GetAdjustedRealTime() * (run.time_unit == benchmark::kMillisecond   ? 1.0
                                            : run.time_unit == benchmark::kMicrosecond ? 1e-3
                                                                                       : 1e-6);
        const auto value = [&](const char* name) {
            const auto it = run.counters.find(name);
            return it == run.counters.end() ? 0.0 : it->second.value;
        };
        // (a rate counter is reported as the total divided by the CPU time)
        r.Rate = r.Ms > 0 ? value("positions") / (r.Ms / 1000) : 0;
        r.Bytes = value("bytes/pos");
        return r;
    }
    TCase& Find(const std::string& key) {
        for (TCase& c : Cases)
            if (c.Key == key) return c;
        Cases.push_back({key, {}, {}});
        return Cases.back();
    }
    static std::string Fixed(double value, int digits) {
        std::ostringstream text;
        text << std::fixed << std::setprecision(digits) << value;
        return text.str();
    }
    static void Row(std::ostream& out, const std::string& key, const std::string& a,
                    const std::string& b, const std::string& c, const std::string& d,
                    const std::string& e, const std::string& f) {
        out << std::left << std::setw(40) << key << std::right << std::setw(12) << a
            << std::setw(12) << b << std::setw(10) << c << std::setw(11) << d << std::setw(11) << e
            << std::setw(11) << f << "\n";
    }

    std::vector<TCase> Cases;
};

} // namespace
} // namespace tb::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    tb::bench::TSideBySide reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
