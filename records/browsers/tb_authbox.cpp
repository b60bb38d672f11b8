#include "records/browsers/tb_authbox.h"

#include "records/browsers/tb_wribox.h"
#include "records/tb_allgames.h"
#include "services/d_string.h"

namespace tb {

TAuthBox::TAuthBox(QWidget* parent, const TAllGames& records, TWriBox& games)
    : TDetailsOpenerBox(parent, "TAuthBox", "Game_authors",
                        {{"xFirst", "", 0, 36},
                         {"xAuthor", "Author", 6, 232},
                         {"xGames", "Games", 7, 56},
                         {"xLevels", "Levels", 8, 64},
                         {"xlast", "", 0, 40}},
                        records,
                        [&games](const std::string& author) { return games.ShowGamesBy(author); },
                        // The last column lies under xLevels and xlast.
                        {1, 1, 1, 2}) {
    Texts = {{TagTitle, "@ Games and @ Levels"}, {TagHint, "Double-click here to show details"}};
}

void TAuthBox::ShowAuthors() {
    FillAuthors();
    RunModal(true);
}

void TAuthBox::FillAuthors() {
    std::string title = Text(TagTitle);
    FillPlaceholder(Records.GameCount(), title);
    FillPlaceholder(Records.TotalLevels(), title);

    std::vector<TGridRow> rows;
    rows.reserve(static_cast<std::size_t>(Records.AuthorCount()));
    for (int i = 1; i <= Records.AuthorCount(); ++i) {
        const TAuthor& author = Records.AuthorAt(i);
        TGridRow& row = rows.emplace_back();
        row.Key = author.Name;
        row.Cells = {PadNumber(i, 3), author.Name, PadNumber(author.Games, 5),
                     PadNumber(author.Levels, 6)};
    }
    Fill(title, Text(TagHint), std::move(rows));
}

} // namespace tb
