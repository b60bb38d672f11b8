// Filling the record browsers at full scale: 500 installed games of 9 levels
// whose best solutions are shared by 200 players (every eleventh level unsolved),
// by 50 authors, generated in a temporary program folder. Each benchmark is
// one fill of a browser, as each showing does it; no window is shown.

#include "engine/tb_levsol.h"
#include "engine/tb_map.h"
#include "games/tb_mapset.h"
#include "games/tb_version.h"
#include "records/browsers/tb_authbox.h"
#include "records/browsers/tb_champbox.h"
#include "records/browsers/tb_solbox.h"
#include "records/browsers/tb_wribox.h"
#include "records/tb_allgames.h"
#include "services/d_file.h"
#include "services/d_folders.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace tb;

constexpr int GameCount = 500;
constexpr int Levels = 9;
constexpr int Players = 200;
constexpr int Authors = 50;

std::string GameName(int g) {
    return "Game Number " + std::to_string(g);
}
std::string PlayerName(int p) {
    return "Player " + std::to_string(p) + " #0";
}
std::string AuthorName(int a) {
    return "Author " + std::to_string(a);
}

class TDataSet {
public:
    TDataSet() {
        Root = fs::temp_directory_path() / ("tobbin-bench-browsers-" + std::to_string(::getpid()));
        fs::remove_all(Root);
        for (const char* sub : {"tbg", "tlg", "img"})
            fs::create_directories(Root / sub);
        Folders = ProgramFolders(Root);
        WriteGames();
        WriteSolutions();
        Records = std::make_unique<TAllGames>(Folders);
        Details = std::make_unique<TSolBox>(nullptr, *Records, TOpenGameAt{});
        Champions = std::make_unique<TChampBox>(nullptr, *Records, *Details);
        Games = std::make_unique<TWriBox>(nullptr, *Records, TOpenGameAt{});
        Writers = std::make_unique<TAuthBox>(nullptr, *Records, *Games);
    }
    ~TDataSet() {
        Writers.reset();
        Games.reset();
        Champions.reset();
        Details.reset();
        Records.reset();
        std::error_code ignored;
        fs::remove_all(Root, ignored);
    }

    std::unique_ptr<TAllGames> Records;
    std::unique_ptr<TSolBox> Details;
    std::unique_ptr<TChampBox> Champions;
    std::unique_ptr<TWriBox> Games;
    std::unique_ptr<TAuthBox> Writers;

private:
    void WriteGames() const {
        for (int g = 0; g < GameCount; ++g) {
            TMapSet game;
            game.Init(GameName(g), AuthorName(g % Authors), static_cast<std::uint8_t>(g % 5));
            for (int level = 1; level <= Levels; ++level) {
                game.AddLevel("Level " + std::to_string(level));
                TMap* map = game.GetMap(level);
                map->SetCell(TPos(2, 1), Wall); // moves up change nothing
                map->SetCell(TPos(2, 2), Hero);
                map->SetCell(TPos(3, 2), Food);
            }
            game.Save(Folders);
        }
    }
    void WriteSolutions() const {
        TTextWriter file;
        file.WriteLine(VersionLine());
        for (int g = 0; g < GameCount; ++g)
            for (int level = 1; level <= Levels; ++level) {
                const int n = g * Levels + level;
                if (n % 11 == 0) continue; // nobody has solved it
                TLevSol s(0);
                s.SetPlayer(PlayerName(n % Players));
                // The records take only solutions that win with their last move.
                for (int i = 1; i < 20 + n % 50; ++i)
                    s.Add(0);
                s.Add(3);
                s.WriteLine(file, GameName(g), level, g % 5);
            }
        WriteFileAtomic(Folders.SettingsFolder / "tobbin.sol", file.Content());
    }

    fs::path Root;
    TFolders Folders;
};

TDataSet& Data() {
    static TDataSet data;
    return data;
}

void BM_FillChampions(benchmark::State& state) {
    TDataSet& data = Data();
    for (auto _ : state) {
        data.Champions->FillChampions();
        benchmark::DoNotOptimize(data.Champions->xList.DataRows());
    }
    state.counters["rows"] = data.Champions->xList.DataRows();
}
BENCHMARK(BM_FillChampions)->Unit(benchmark::kMicrosecond);

// Every level of every game is looked at; one player holds about 20 of them.
void BM_FillBestResults(benchmark::State& state) {
    TDataSet& data = Data();
    const std::string player = PlayerName(7);
    for (auto _ : state) {
        data.Details->FillBestResults(player);
        benchmark::DoNotOptimize(data.Details->RowsFilled());
    }
    state.counters["rows"] = data.Details->RowsFilled();
}
BENCHMARK(BM_FillBestResults)->Unit(benchmark::kMicrosecond);

// The "???" row of the hall: every unsolved level, 409 rows.
void BM_FillUnsolved(benchmark::State& state) {
    TDataSet& data = Data();
    for (auto _ : state) {
        data.Details->FillBestResults("");
        benchmark::DoNotOptimize(data.Details->RowsFilled());
    }
    state.counters["rows"] = data.Details->RowsFilled();
}
BENCHMARK(BM_FillUnsolved)->Unit(benchmark::kMicrosecond);

void BM_FillAuthors(benchmark::State& state) {
    TDataSet& data = Data();
    for (auto _ : state) {
        data.Writers->FillAuthors();
        benchmark::DoNotOptimize(data.Writers->xList.DataRows());
    }
    state.counters["rows"] = data.Writers->xList.DataRows();
}
BENCHMARK(BM_FillAuthors)->Unit(benchmark::kMicrosecond);

void BM_FillGamesBy(benchmark::State& state) {
    TDataSet& data = Data();
    const std::string author = AuthorName(3);
    for (auto _ : state) {
        data.Games->FillGamesBy(author);
        benchmark::DoNotOptimize(data.Games->RowsFilled());
    }
    state.counters["rows"] = data.Games->RowsFilled();
}
BENCHMARK(BM_FillGamesBy)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    // The browsers are widgets: they need an application, never a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
