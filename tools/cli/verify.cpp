// tobbin-cli verify: every stored best solution of every installed game,
// replayed through the full game as its own check of all solutions does, but
// going on past a failure so that each level gets its line. The records are
// opened read-only unless --merge asks for the start-up's merge.

#include "tools/cli/commands.h"

#include "records/tb_fullgame.h"
#include "services/d_error.h"
#include "services/d_folders.h"

#include <ostream>

namespace tb::cli {

int RunVerify(const TCommandLine& line, const std::filesystem::path& programFolder,
              std::ostream& out, std::ostream& err) {
    const std::filesystem::path folder = line.Settings.empty() ? programFolder : line.Settings;
    if (!std::filesystem::is_directory(folder)) throw Error("no such folder: " + folder.string());
    // Without --settings: the data of this executable, as the game finds it
    // (an installed copy's records live in the player's folder, which a
    // read-only check does not even create).
    TFolders folders =
        line.Settings.empty() ? ExecutableFolders(folder, line.Merge) : ProgramFolders(folder);
    // Read-only, the records are opened in memory: imports are merged there
    // and nothing on the disk changes. --merge opens them as the game's start does.
    TFullGame game(std::move(folders), {}, false, !line.Merge);
    const TAllGames& records = game.GetRecords();
    int passed = 0, failed = 0;
    auto report = [&](bool ok, int level, int steps, const std::string& name) {
        out << (ok ? "ok " : "FAILED ") << level << ' ' << steps << ' ' << name << '\n';
        ++(ok ? passed : failed);
    };
    // The solution lines the records did not take: not winning, or not checkable.
    auto reportSetAside = [&](const std::string& name, int level) {
        for (const TGameDB::TSetAside& aside : records.SetAside()) {
            if (aside.Game != name || aside.Level != level) continue;
            if (aside.Unchecked) {
                out.flush();
                err << "error: " << name << ": the game file cannot be read\n";
            }
            report(false, aside.Level, aside.Steps, name);
        }
    };
    for (int i = 1; i <= game.GameCount(); ++i) {
        const TGamInfo& record = game.GameAt(i);
        const std::string name = record.Name;
        const std::uint16_t levels = record.SolvedSet(false);
        bool loaded = record.CountSolved(false) == 0;
        if (!loaded) {
            try {
                game.LoadGame(name, false);
                game.AssignInfo(record);
                loaded = true;
            } catch (const std::exception& e) {
                out.flush();
                err << "error: " << name << ": " << ErrorText(e) << '\n';
            }
        }
        for (int level = 1; level <= TGamBase::MaxLevels; ++level) {
            if (levels & (1u << level)) {
                const TLevSol* solution = record.GetSolution(level);
                bool ok = false;
                if (loaded && level <= game.LevelCount()) {
                    game.SetLevel(static_cast<std::uint8_t>(level));
                    ok = game.PlayBackSolution(true) && game.GetState() == TState::Done &&
                         game.GetFoodCount() == 0;
                }
                report(ok, level, solution ? solution->GetSteps() : 0, name);
            }
            reportSetAside(name, level);
        }
    }
    // Lines of games that are not installed but whose files are there.
    for (const TGameDB::TSetAside& aside : records.SetAside()) {
        if (game.FindGame(aside.Game)) continue;
        out.flush();
        err << "error: " << aside.Game << ": the game file cannot be read\n";
        report(false, aside.Level, aside.Steps, aside.Game);
    }
    out << "verified " << passed + failed << " solutions: " << passed << " ok, " << failed
        << " failed\n";
    return failed > 0 ? 1 : 0;
}

} // namespace tb::cli
