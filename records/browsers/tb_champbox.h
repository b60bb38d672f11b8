#pragma once
// The hall of champions: every player who holds best solutions, with his
// levels, whole games and points, and last the row of the unsolved levels.
// A double-click shows the player's best results.

#include "records/browsers/tb_recbox.h"

namespace tb {

class TSolBox;

class TChampBox : public TDetailsOpenerBox {
    Q_OBJECT
public:
    // Tags of the invisible labels.
    static constexpr int TagHint = 9;
    static constexpr int TagTitle = 10;
    static constexpr int TagUnsolved = 11;

    // `details` shows the best results of the champion chosen here.
    TChampBox(QWidget* parent, const TAllGames& records, TSolBox& details);

    // Fills and shows the hall of champions.
    void ShowChampions();
    // The filling part of ShowChampions.
    void FillChampions();
};

} // namespace tb
