#pragma once
// A lower bound of the steps still needed to win from a position. Food never
// moves, falls or vanishes except when the hero eats it, and walls never
// change, so the hero must walk to every food left over cells that are not
// walls: at least to the farthest one, and at least to the nearest one and
// then along a tree spanning the others (any walk through them spans them).
// A food the hero can no longer reach at all makes the position lost.

#include "engine/tb_map.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tb {

class TLowerBound {
public:
    static constexpr std::uint32_t Lost = 0xFFFFFFFF;

    // `fixed` marks the cells that never change; the food is that of `level`.
    TLowerBound(const TMap& level,
                const std::array<std::array<bool, TMap::Width>, TMap::Height>& fixed);

    // The bound for the cells of a position (558 bytes, row by row) and its
    // hero; Lost when a food left cannot be reached. Uses a cache of the
    // spanning trees: one TLowerBound for each thread.
    std::uint32_t Steps(const std::uint8_t* cells, TPos hero);

    int FoodCells() const { return static_cast<int>(Foods.size()); }

private:
    static constexpr std::uint16_t Far = 0xFFFF;
    static constexpr std::size_t Cells = TMap::Width * TMap::Height;
    // The weight of a tree spanning the foods in mask (of the first 64).
    std::uint32_t Tree(std::uint64_t mask);

    std::vector<std::uint16_t> Foods;    // cell index of each food
    std::vector<std::uint16_t> Distance; // [food * Cells + cell]: steps, Far when cut off
    struct TCached {
        std::uint64_t Mask = 0;
        std::uint32_t Weight = 0;
        bool Valid = false;
    };
    std::vector<TCached> Cache;
};

} // namespace tb
