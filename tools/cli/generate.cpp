// tobbin-cli generate: the command around the level generator.

#include "games/tb_mapset.h"
#include "services/d_error.h"
#include "services/d_file.h"
#include "services/d_folders.h"
#include "tools/cli/commands.h"
#include "tools/cli/generator.h"
#include "tools/cli/levelfile.h"

#include <chrono>
#include <iostream>
#include <unistd.h>

namespace tb::cli {

namespace fs = std::filesystem;

int RunGenerate(const TCommandLine& line, std::ostream& out, std::ostream& err) {
    TGenerateOptions options;
    options.Seed = line.Seed;
    options.Count = line.Count;
    options.Width = line.Width;
    options.Height = line.Height;
    if (!line.Objects.empty()) options.Objects = ParseObjects(line.Objects);
    options.MinSteps = line.MinSteps;
    options.MaxSteps = line.MaxSteps;
    options.Needs = ParseMechanics(line.Needs);
    options.MaxStates = line.MaxStates;
    options.MaxTries = line.MaxTries;
    options.Mirror = line.Mirror;
    TCliGame shape;
    if (!line.Shape.empty()) {
        shape.LoadFile(line.Shape);
        shape.StartLevel(1);
        options.Shape = &shape;
    }

    std::function<void(const TGenerateProgress&)> progress;
    const auto start = std::chrono::steady_clock::now();
    auto last = start;
    if (&err == &std::cerr && isatty(STDERR_FILENO))
        progress = [&](const TGenerateProgress& p) {
            const auto now = std::chrono::steady_clock::now();
            if (now - last < std::chrono::seconds(1)) return;
            last = now;
            err << "generating: " << p.Tries << " tries, " << p.Kept << " kept" << std::endl;
        };
    const std::vector<TGeneratedLevel> levels = Generate(options, progress);

    if (!line.Out.empty()) fs::create_directories(line.Out);
    TMapSet game;
    if (!line.GameName.empty()) game.Init(line.GameName, "tobbin-cli", 1);
    int number = 0, tries = 0;
    for (const TGeneratedLevel& level : levels) {
        ++number;
        tries = level.Try;
        out << "level " << number << " steps " << level.Solution.size() << " positions "
            << level.Positions << " forced " << level.Forced << " events "
            << (level.Mechanics ? MechanicsText(level.Mechanics) : "-") << " try " << level.Try
            << '\n';
        if (line.Out.empty()) continue;
        TTextWriter text;
        level.Map->WriteText(text);
        WriteFileAtomic(line.Out / (std::to_string(number) + ".txt"), text.Content());
        if (!line.GameName.empty() && game.GetLevelCount() < TMapSet::MaxLevels)
            game.AddLevelCopy(*level.Map);
    }
    if (!line.GameName.empty() && game.GetLevelCount() > 0)
        WriteFileAtomic(line.Out / GameFileName(game.Name, ".tbg"), game.SaveText());
    const bool all = std::ssize(levels) == line.Count;
    out << "kept " << levels.size() << " of " << line.Count << " after "
        << (all ? tries : line.MaxTries) << " tries\n";
    return all ? 0 : 1;
}

} // namespace tb::cli
