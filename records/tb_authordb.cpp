#include "records/tb_authordb.h"

namespace tb {

bool TAuthorDB::Before(const TAuthor& a, const TAuthor& b) {
    if (a.Games != b.Games) return a.Games > b.Games;
    if (a.Levels != b.Levels) return a.Levels > b.Levels;
    return a.Name < b.Name;
}

} // namespace tb
