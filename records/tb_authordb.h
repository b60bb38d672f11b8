#pragma once
// The authors table, computed from the installed games; never stored.

#include "records/tb_author.h"
#include "records/tb_rowlist.h"

namespace tb {

class TAuthorDB : public TRowList<TAuthor> {
public:
    // More games first, then more levels, then the name in ascending byte order.
    static bool Before(const TAuthor& a, const TAuthor& b);
    void Sort() { SortBy(Before); }
};

} // namespace tb
