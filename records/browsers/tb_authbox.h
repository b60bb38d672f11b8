#pragma once
// The game authors: every author with the number of his games and levels.
// A double-click shows the author's games.

#include "records/browsers/tb_recbox.h"

namespace tb {

class TWriBox;

class TAuthBox : public TDetailsOpenerBox {
    Q_OBJECT
public:
    // Tags of the invisible labels.
    static constexpr int TagTitle = 5;
    static constexpr int TagHint = 9;

    // `games` shows the games of the author chosen here.
    TAuthBox(QWidget* parent, const TAllGames& records, TWriBox& games);

    // Fills and shows the authors table.
    void ShowAuthors();
    // The filling part of ShowAuthors.
    void FillAuthors();
};

} // namespace tb
