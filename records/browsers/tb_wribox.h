#pragma once
// The games of one author, in the order of the games database; a
// double-click opens the game at its last level.

#include "records/browsers/tb_recbox.h"

namespace tb {

class TWriBox : public TGameOpenerBox {
    Q_OBJECT
public:
    // Tags of the invisible labels.
    static constexpr int TagHint = 5;
    static constexpr int TagTitle = 6;

    TWriBox(QWidget* parent, const TAllGames& records, TOpenGameAt openGameAt);

    // Fills and shows the games whose author is exactly `author`. Answers
    // whether a game was opened.
    bool ShowGamesBy(const std::string& author);
    // The filling part of ShowGamesBy.
    void FillGamesBy(const std::string& author);
    // (RowsFilled: see TGameOpenerBox.)
};

} // namespace tb
