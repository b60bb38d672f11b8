#pragma once
// The best level results of one player, or the levels nobody has solved: one
// row per level, and a double-click opens the level in the play window.

#include "records/browsers/tb_recbox.h"

namespace tb {

class TSolBox : public TGameOpenerBox {
    Q_OBJECT
public:
    // Tags of the invisible labels.
    static constexpr int TagHint = 5;
    static constexpr int TagTitle = 6;
    static constexpr int TagNoSol = 7;

    TSolBox(QWidget* parent, const TAllGames& records, TOpenGameAt openGameAt);

    // Fills and shows the levels whose best solution is exactly the player's
    // (stored name, with its installation suffix), or the unsolved levels when
    // the player is empty. Answers whether a level was opened.
    bool ShowBestResults(const std::string& player);
    // The filling part of ShowBestResults.
    void FillBestResults(const std::string& player);
    // (RowsFilled: see TGameOpenerBox.)
};

} // namespace tb
