// The shipped games and their shipped best solutions: every level must still be
// won by its solution through the game object, so a change of the rules that
// breaks a level shows here at once.

#include "engine/tb_levsol.h"
#include "games/tb_mapset.h"
#include "games/tb_version.h"
#include "services/d_file.h"
#include "services/d_folders.h"
#include "tools/cli/levelfile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

namespace tb::cli {
namespace {

namespace fs = std::filesystem;

const fs::path Data = TOBBIN_DATA_DIR;

struct TShipped {
    std::string Game;
    int Level = 0;
    std::unique_ptr<TLevSol> Solution;
};

std::vector<TShipped> ShippedSolutions() {
    TTextReader file = TTextReader::FromFile(Data / "solutions" / "tobbin-shipped.sox");
    const TVersionLine version = ReadVersionLine(file);
    EXPECT_GT(version.Version, 324) << "the import must carry checksums";
    std::vector<TShipped> all;
    std::string line;
    while (file.ReadLine(line)) {
        TShipped shipped;
        shipped.Solution = std::make_unique<TLevSol>();
        bool renamed = false;
        int skill = 0;
        EXPECT_TRUE(
            shipped.Solution->ParseLine(line, shipped.Game, renamed, true, shipped.Level, skill))
            << line;
        all.push_back(std::move(shipped));
    }
    return all;
}

TEST(ShippedGames, EveryLevelIsPlayableNamedAndSolved) {
    std::map<std::string, std::set<int>> solved;
    for (const TShipped& s : ShippedSolutions()) {
        EXPECT_EQ(s.Solution->GetPlayer(), "Tobbin #1");
        EXPECT_TRUE(solved[s.Game].insert(s.Level).second) << s.Game << " " << s.Level;
    }
    int games = 0, levels = 0;
    for (const auto& entry : fs::directory_iterator(Data / "tbg")) {
        if (entry.path().extension() != ".tbg") continue;
        TMapSet game;
        game.LoadText(ReadWholeFile(entry.path()), true);
        ++games;
        levels += game.GetLevelCount();
        EXPECT_EQ(entry.path().filename().string(), GameFileName(game.Name, ".tbg"));
        EXPECT_TRUE(!game.Author.empty() && game.Skill >= 1 && game.BadLevelCount() == 0)
            << game.Name;
        for (int level = 1; level <= game.GetLevelCount(); ++level) {
            EXPECT_FALSE(game.GetMap(level)->GetName().empty()) << game.Name << " " << level;
            EXPECT_TRUE(solved[game.Name].contains(level)) << game.Name << " " << level;
        }
        solved[game.Name].clear();
    }
    EXPECT_TRUE(games >= 9 && levels >= 75) << games << " " << levels;
    for (const auto& [name, left] : solved)
        EXPECT_TRUE(left.empty()) << "no game " << name;
}

TEST(ShippedGames, EveryShippedSolutionStillWinsItsLevel) {
    const std::vector<TShipped> all = ShippedSolutions();
    ASSERT_FALSE(all.empty());
    for (const TShipped& s : all) {
        TCliGame game;
        game.LoadFile(Data / "tbg" / GameFileName(s.Game, ".tbg"));
        game.StartLevel(s.Level);
        for (int i = 1; i <= s.Solution->GetSteps(); ++i) {
            ASSERT_NE(game.GetState(), TState::Done)
                << s.Game << " level " << s.Level << " ended early at move " << i;
            game.Move(static_cast<TDir>(s.Solution->GetMove(i)), 1);
        }
        EXPECT_EQ(std::tuple(game.GetState(), game.GetFoodCount(), game.GetSolution().GetSteps()),
                  std::tuple(TState::Done, 0, s.Solution->GetSteps()))
            << s.Game << " level " << s.Level;
    }
}

} // namespace
} // namespace tb::cli
