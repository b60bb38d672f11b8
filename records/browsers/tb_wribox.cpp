#include "records/browsers/tb_wribox.h"

#include "records/tb_allgames.h"
#include "services/d_string.h"

namespace tb {

TWriBox::TWriBox(QWidget* parent, const TAllGames& records, TOpenGameAt openGameAt)
    : TGameOpenerBox(parent, "TWriBox", "Games_by_author",
                     {{"xFirst", "", 0, 36},
                      {"xSkill", "Skill", 7, 48},
                      {"xGame", "Game Name", 8, 264},
                      {"xLevels", "Levels", 9, 56},
                      {"xlast", "", 0, 40}},
                     records, std::move(openGameAt)) {
    Texts = {{TagTitle, "Games by @"}, {TagHint, "Double-click here to load a level"}};
}

bool TWriBox::ShowGamesBy(const std::string& author) {
    FillGamesBy(author);
    return RunModal(true);
}

void TWriBox::FillGamesBy(const std::string& author) {
    std::string title = Text(TagTitle);
    FillPlaceholder(author, title);

    std::vector<TGridRow> rows;
    for (int g = 1; g <= Records.GameCount(); ++g) {
        const TGamInfo& game = Records.GameAt(g);
        if (game.Author != author) continue;
        TGridRow& row = rows.emplace_back();
        row.Key = game.Name;
        row.Number = game.GetLevelCount(); // opened at its last level
        row.Cells = {PadNumber(static_cast<long long>(rows.size()), 3), SkillStars(game.Skill),
                     game.Name, PadNumber(game.GetLevelCount(), 5),
                     // The current player has finished the game.
                     game.Mark == 1 ? "#" : " "};
    }
    Fill(title, Text(TagHint), std::move(rows));
}

} // namespace tb
