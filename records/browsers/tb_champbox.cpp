#include "records/browsers/tb_champbox.h"

#include "records/browsers/tb_solbox.h"
#include "records/tb_allgames.h"
#include "services/d_string.h"

namespace tb {

TChampBox::TChampBox(QWidget* parent, const TAllGames& records, TSolBox& details)
    : TDetailsOpenerBox(parent, "TChampBox", "Hall_of_Champions",
                        {{"xFirst", "", 0, 36},
                         {"xPlayer", "Player", 5, 232},
                         {"xLevels", "Levels", 6, 64},
                         {"xGames", "Games", 7, 56},
                         {"xPoints", "Points", 8, 64},
                         {"xlast", "", 0, 40}},
                        records, [&details](const std::string& player) {
                            return details.ShowBestResults(player);
                        }) {
    Texts = {{TagTitle, "@ is the Grand Champion!"},
             {TagHint, "Double-click here to show details"},
             {TagUnsolved, "Unsolved"}};
}

void TChampBox::ShowChampions() {
    FillChampions();
    RunModal(true);
}

void TChampBox::FillChampions() {
    // The first row is the Grand Champion, unless nobody has solved anything.
    std::string title;
    if (Records.ChampionCount() == 0 || Records.ChampionAt(1).Name.empty()) {
        title = Text(TagUnsolved);
    } else {
        title = Text(TagTitle);
        FillPlaceholder(CutBeforeNumber(Records.ChampionAt(1).Name), title);
    }

    std::vector<TGridRow> rows;
    rows.reserve(static_cast<std::size_t>(Records.ChampionCount()));
    for (int i = 1; i <= Records.ChampionCount(); ++i) {
        const TChamp& champ = Records.ChampionAt(i);
        TGridRow& row = rows.emplace_back();
        row.Key = champ.Name; // empty: the unsolved levels
        row.Cells = {PadNumber(i, 3),
                     champ.Name.empty() ? "???" : champ.Name,
                     PadNumber(champ.Levels, 6),
                     PadNumber(champ.Games, 5),
                     PadNumber(champ.Points, 6),
                     champ.HasFresh != 0 ? "+" : " "};
    }
    Fill(title, Text(TagHint), std::move(rows));
}

} // namespace tb
