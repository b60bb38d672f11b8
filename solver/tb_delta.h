#pragma once
// A packed position written as its differences from another one of the same
// size: the solver keeps a layer's positions this way, each after the one
// before it or after the start, and most take a few bytes.

#include <cstddef>
#include <cstdint>

namespace tb {

// A position written as its differences from a base position (both Size
// bytes), in whichever of three forms is shortest: after their count,
// pairs of (equal bytes skipped, new byte); after a mark, a map of the bytes
// that differ (a bit a byte) followed by those bytes; or after another mark,
// the packed bytes as they are. A gap of more than 255 equal bytes takes a
// pair that writes an equal byte.
class TDelta {
public:
    // Size at most MaxSize.
    explicit TDelta(std::size_t size);

    // The most bytes one position takes.
    std::size_t MaxEntry() const { return 1 + Size; }

    // Writes `packed` at out as its differences from `base`; answers the bytes
    // written (at most MaxEntry()).
    std::size_t Encode(const std::uint8_t* base, const std::uint8_t* packed,
                       std::uint8_t* out) const;
    // Turns `position`, which holds the base, into the position written at
    // in; answers the bytes read.
    std::size_t Decode(const std::uint8_t* in, std::uint8_t* position) const;

    // The largest packed position: the hero's index and 558 cells, two a byte.
    static constexpr std::size_t MaxSize = 2 + 558 / 2;

private:
    static constexpr std::size_t MaxPairs = 253;
    static constexpr std::uint8_t ByMap = 254, AsIs = 255;
    std::size_t Size;
    std::size_t MapBytes;
};

} // namespace tb
