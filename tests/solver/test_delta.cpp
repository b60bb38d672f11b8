// A position written as its differences from another reads back exactly, in
// each of its forms, and takes no more room than the form it chose needs.

#include "solver/tb_delta.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace tb {
namespace {

TEST(SolverDelta, ReadsBackEveryKindOfDifference) {
    struct TCase {
        const char* What;
        std::size_t Size;
        std::vector<std::size_t> Changed; // indices of the bytes that differ
        bool All = false;                 // every byte differs
        std::size_t Bytes = 0;            // the room it must take, 0 to leave unchecked
    };
    const TCase cases[] = {
        {"no change", 225, {}, false, 1},
        {"the first byte", 225, {0}, false, 3},
        {"the last byte", 9, {8}, false, 3},
        {"a byte past a word", 281, {7, 8, 9}, false, 7},
        {"a gap of 255 equal bytes", 281, {0, 256}, false, 5},
        {"a gap of 256 equal bytes", 281, {0, 257}, false, 7},
        {"both ends of the largest position", 281, {0, 280}, false, 7},
        {"many bytes: a map", 64, {}, false, 0},
        {"every byte: as it is", 30, {}, true, 31},
        {"a tiny position", 3, {1}, false, 3},
    };
    std::mt19937 random(5);
    for (const TCase& c : cases) {
        std::vector<std::uint8_t> base(c.Size);
        for (auto& byte : base)
            byte = static_cast<std::uint8_t>(random());
        std::vector<std::uint8_t> packed = base;
        std::vector<std::size_t> changed = c.Changed;
        if (c.All || (changed.empty() && c.Bytes == 0)) {
            for (std::size_t i = 0; i < c.Size; i += c.All ? 1 : 2)
                changed.push_back(i);
        }
        for (std::size_t i : changed)
            packed[i] = static_cast<std::uint8_t>(base[i] ^ (1 + i % 255));

        const TDelta delta(c.Size);
        std::vector<std::uint8_t> out(delta.MaxEntry() + 16, 0xEE);
        const std::size_t written = delta.Encode(base.data(), packed.data(), out.data());
        EXPECT_TRUE(written <= delta.MaxEntry() && (c.Bytes == 0 || written == c.Bytes))
            << c.What << ": " << written;
        EXPECT_EQ(out[written], 0xEE) << c.What << ": wrote past its answer";

        std::vector<std::uint8_t> position = base;
        EXPECT_EQ(delta.Decode(out.data(), position.data()), written) << c.What;
        EXPECT_EQ(position, packed) << c.What;
    }
    // Every other byte of 64 differs: a map of 8 bytes and the 32 bytes beats 32 pairs.
    const TDelta delta(64);
    std::vector<std::uint8_t> base(64, 0), packed(64, 0), out(delta.MaxEntry());
    for (std::size_t i = 0; i < 64; i += 2)
        packed[i] = 1;
    EXPECT_EQ(delta.Encode(base.data(), packed.data(), out.data()), 1u + 8 + 32);

    EXPECT_THROW(TDelta(TDelta::MaxSize + 1), std::length_error);
}

} // namespace
} // namespace tb
