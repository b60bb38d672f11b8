#pragma once
// The hall of champions, computed from the best solutions; never stored.

#include "records/tb_champ.h"
#include "records/tb_rowlist.h"

namespace tb {

class TChampDB : public TRowList<TChamp> {
public:
    // Highest first: the empty name last, then more points, more levels, more
    // games, then the name in ascending byte order.
    static bool Before(const TChamp& a, const TChamp& b);
    void Sort() { SortBy(Before); }
};

} // namespace tb
