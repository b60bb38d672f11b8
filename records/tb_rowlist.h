#pragma once
// A list of named rows computed from the records (champions, authors): rows are
// found by their exact name or appended, and sorted by the table's own order.

#include "services/d_checked.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace tb {

template <typename TRow> class TRowList {
public:
    void Clear() {
        Rows.clear();
        ByName.clear();
    }
    int Count() const { return static_cast<int>(Rows.size()); }
    // index 1..Count (std::out_of_range otherwise).
    const TRow& At(int index) const {
        CheckedIndex(index, 1, Count(), "row index");
        return *Rows[static_cast<std::size_t>(index - 1)];
    }
    // The row of exactly that name; a new row for it is appended when there is none.
    TRow& FindOrAdd(const std::string& name) {
        const auto it = ByName.find(name);
        if (it != ByName.end()) return *Rows[it->second];
        Rows.push_back(std::make_unique<TRow>(name));
        ByName.emplace(name, Rows.size() - 1);
        return *Rows.back();
    }

protected:
    template <typename TBefore> void SortBy(TBefore before) {
        if (Rows.size() <= 1) return;
        std::stable_sort(Rows.begin(), Rows.end(),
                         [&](const std::unique_ptr<TRow>& a, const std::unique_ptr<TRow>& b) {
                             return before(*a, *b);
                         });
        ByName.clear();
        for (std::size_t i = 0; i < Rows.size(); ++i)
            ByName.emplace(Rows[i]->Name, i);
    }

private:
    std::vector<std::unique_ptr<TRow>> Rows;
    std::unordered_map<std::string, std::size_t> ByName;
};

} // namespace tb
