// tobbin-cli verify: every stored best solution of every installed game,
// replayed through the full game as its own check of all solutions does, but
// going on past a failure so that each level gets its line.

#include "tools/cli/commands.h"

#include "engine/tb_fullgame.h"
#include "services/d_error.h"
#include "services/d_folders.h"

#include <ostream>

namespace tb::cli {

int RunVerify(const TCommandLine& line, const std::filesystem::path& programFolder,
              std::ostream& out, std::ostream& err) {
    const std::filesystem::path folder = line.Settings.empty() ? programFolder : line.Settings;
    if (!std::filesystem::is_directory(folder)) throw Error("no such folder: " + folder.string());
    SetProgramFolder(folder);
    // The records open as at the game's start: import files are merged (and
    // deleted) and the solutions file is rewritten when that changed anything.
    TFullGame game;
    int passed = 0, failed = 0;
    for (int i = 1; i <= game.GameCount(); ++i) {
        const TGamInfo& record = game.GameAt(i);
        if (record.CountSolved(false) == 0) continue;
        const std::string name = record.Name;
        const std::uint16_t levels = record.SolvedSet(false);
        auto report = [&](bool ok, int level) {
            const TLevSol* solution = record.GetSolution(level);
            out << (ok ? "ok " : "FAILED ") << level << ' ' << (solution ? solution->GetSteps() : 0)
                << ' ' << name << '\n';
            ++(ok ? passed : failed);
        };
        try {
            game.LoadGame(name, false);
            game.AssignInfo(record);
        } catch (const std::exception& e) {
            out.flush();
            err << "error: " << name << ": " << ErrorText(e) << '\n';
            for (int level = 1; level <= record.GetLevelCount(); ++level)
                if (levels & (1u << level)) report(false, level);
            continue;
        }
        for (int level = 1; level <= game.LevelCount(); ++level) {
            if (!(levels & (1u << level))) continue;
            game.SetLevel(static_cast<std::uint8_t>(level));
            const bool replayed = game.PlayBackSolution(true);
            report(replayed && game.GetState() == TState::Done && game.GetFoodCount() == 0, level);
        }
    }
    out << "verified " << passed + failed << " solutions: " << passed << " ok, " << failed
        << " failed\n";
    return failed > 0 ? 1 : 0;
}

} // namespace tb::cli
