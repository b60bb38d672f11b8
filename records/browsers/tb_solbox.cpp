#include "records/browsers/tb_solbox.h"

#include "records/tb_allgames.h"
#include "services/d_string.h"

namespace tb {

TSolBox::TSolBox(QWidget* parent, const TAllGames& records, TOpenGameAt openGameAt)
    : TGameOpenerBox(parent, "TSolBox", "Best_level_results",
                     {{"xFirst", "", 0, 36},
                      {"xSkill", "Skill", 8, 48},
                      {"xGame", "Game", 9, 240},
                      {"xTick", "", 0, 20},
                      {"xLevel", "Level", 10, 48},
                      {"xSteps", "Steps", 11, 56},
                      {"xLast", "", 0, 40}},
                     records, std::move(openGameAt)) {
    Texts = {{TagTitle, "Best Solutions by @"},
             {TagNoSol, "No Solution"},
             {TagHint, "Double-click here to load a level"}};
}

bool TSolBox::ShowBestResults(const std::string& player) {
    FillBestResults(player);
    return RunModal(false);
}

void TSolBox::FillBestResults(const std::string& player) {
    std::string title = Text(player.empty() ? TagNoSol : TagTitle);
    if (!player.empty()) FillPlaceholder(player, title);

    std::vector<TGridRow> rows;
    for (int g = 1; g <= Records.GameCount(); ++g) {
        const TGamInfo& game = Records.GameAt(g);
        const bool wholeGame = !player.empty() && game.AllSolvedBy() == player;
        const std::uint16_t fresh = game.SolvedSet(true);
        for (int level = 1; level <= game.GetLevelCount(); ++level) {
            const TLevSol* best = game.GetSolution(level);
            const bool listed =
                player.empty() ? best == nullptr : best != nullptr && best->GetPlayer() == player;
            if (!listed) continue;
            TGridRow& row = rows.emplace_back();
            row.Key = game.Name;
            row.Number = level;
            row.Cells = {PadNumber(static_cast<long long>(rows.size()), 3),
                         SkillStars(game.Skill),
                         game.Name,
                         wholeGame ? "$" : " ",
                         PadNumber(level, 4),
                         best != nullptr ? PadNumber(best->GetSteps(), 5) : std::string(),
                         (fresh >> level & 1U) != 0 ? "+" : " "};
        }
    }
    Fill(title, Text(TagHint), std::move(rows));
}

} // namespace tb
