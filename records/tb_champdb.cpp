#include "records/tb_champdb.h"

namespace tb {

bool TChampDB::Before(const TChamp& a, const TChamp& b) {
    if (a.Name.empty() != b.Name.empty()) return b.Name.empty();
    if (a.Points != b.Points) return a.Points > b.Points;
    if (a.Levels != b.Levels) return a.Levels > b.Levels;
    if (a.Games != b.Games) return a.Games > b.Games;
    return a.Name < b.Name;
}

} // namespace tb
