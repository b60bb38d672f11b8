#include "solver/tb_lowerbound.h"

#include <algorithm>

namespace tb {

TLowerBound::TLowerBound(const TMap& level,
                         const std::array<std::array<bool, TMap::Width>, TMap::Height>& fixed)
    : Cache(4096) {
    const auto& cells = level.GetCells();
    for (int y = 0; y < TMap::Height; ++y)
        for (int x = 0; x < TMap::Width; ++x)
            if (cells[y][x] == Food)
                Foods.push_back(static_cast<std::uint16_t>(y * TMap::Width + x));
    Distance.assign(Foods.size() * Cells, Far);
    std::vector<std::uint16_t> queue(Cells);
    for (std::size_t f = 0; f < Foods.size(); ++f) {
        std::uint16_t* dist = Distance.data() + f * Cells;
        std::size_t head = 0, tail = 0;
        dist[Foods[f]] = 0;
        queue[tail++] = Foods[f];
        while (head < tail) {
            const int at = queue[head++];
            const int x = at % TMap::Width, y = at / TMap::Width;
            const int next[4][2] = {{x, y - 1}, {x, y + 1}, {x - 1, y}, {x + 1, y}};
            for (const auto& n : next) {
                if (n[0] < 0 || n[0] >= TMap::Width || n[1] < 0 || n[1] >= TMap::Height) continue;
                if (fixed[n[1]][n[0]]) continue;
                const int to = n[1] * TMap::Width + n[0];
                if (dist[to] != Far) continue;
                dist[to] = static_cast<std::uint16_t>(dist[at] + 1);
                queue[tail++] = static_cast<std::uint16_t>(to);
            }
        }
    }
}

std::uint32_t TLowerBound::Steps(const std::uint8_t* cells, TPos hero) {
    if (!TMap::InGrid(hero)) return Lost;
    const std::size_t at = static_cast<std::size_t>((hero.Y - 1) * TMap::Width + hero.X - 1);
    std::uint32_t farthest = 0, nearest = Far;
    std::uint64_t mask = 0;
    for (std::size_t f = 0; f < Foods.size(); ++f) {
        if (cells[Foods[f]] != Food) continue;
        const std::uint32_t d = Distance[f * Cells + at];
        if (d == Far) return Lost;
        farthest = std::max(farthest, d);
        nearest = std::min(nearest, d);
        if (f < 64) mask |= std::uint64_t{1} << f;
    }
    if (nearest == Far) return 0; // no food left
    return std::max(farthest, nearest + Tree(mask));
}

std::uint32_t TLowerBound::Tree(std::uint64_t mask) {
    if ((mask & (mask - 1)) == 0) return 0; // none or one food
    const std::uint64_t h = (mask * 0x9E3779B97F4A7C15ull) >> 52;
    TCached& cached = Cache[static_cast<std::size_t>(h) & (Cache.size() - 1)];
    if (cached.Valid && cached.Mask == mask) return cached.Weight;

    // Prim's algorithm over the food distances.
    std::array<int, 64> members{};
    int n = 0;
    for (int f = 0; f < 64; ++f)
        if (mask >> f & 1) members[static_cast<std::size_t>(n++)] = f;
    std::array<std::uint32_t, 64> best{};
    std::array<bool, 64> inTree{};
    best.fill(0xFFFFFFFF);
    best[0] = 0;
    std::uint32_t weight = 0;
    for (int round = 0; round < n; ++round) {
        int pick = -1;
        for (int i = 0; i < n; ++i)
            if (!inTree[static_cast<std::size_t>(i)] &&
                (pick < 0 ||
                 best[static_cast<std::size_t>(i)] < best[static_cast<std::size_t>(pick)]))
                pick = i;
        inTree[static_cast<std::size_t>(pick)] = true;
        weight += best[static_cast<std::size_t>(pick)];
        const std::uint16_t* from =
            Distance.data() +
            static_cast<std::size_t>(members[static_cast<std::size_t>(pick)]) * Cells;
        for (int i = 0; i < n; ++i) {
            if (inTree[static_cast<std::size_t>(i)]) continue;
            const std::uint32_t d =
                from[Foods[static_cast<std::size_t>(members[static_cast<std::size_t>(i)])]];
            best[static_cast<std::size_t>(i)] = std::min(best[static_cast<std::size_t>(i)], d);
        }
    }
    cached = {mask, weight, true};
    return weight;
}

} // namespace tb
