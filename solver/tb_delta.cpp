#include "solver/tb_delta.h"

#include <array>
#include <cstring>
#include <stdexcept>

namespace tb {

TDelta::TDelta(std::size_t size) : Size(size), MapBytes((size + 7) / 8) {
    if (size > MaxSize) throw std::length_error("a packed position has at most 281 bytes");
}

std::size_t TDelta::Encode(const std::uint8_t* base, const std::uint8_t* packed,
                           std::uint8_t* out) const {
    // The bytes that differ, found a word at a time (most words are equal).
    std::array<std::uint16_t, MaxSize> differ;
    std::size_t changed = 0, i = 0;
    for (; i + 8 <= Size; i += 8) {
        std::uint64_t x, y;
        std::memcpy(&x, base + i, 8);
        std::memcpy(&y, packed + i, 8);
        for (std::uint64_t d = x ^ y; d != 0;) {
            const unsigned byte = static_cast<unsigned>(__builtin_ctzll(d)) / 8;
            differ[changed++] = static_cast<std::uint16_t>(i + byte);
            d &= ~(std::uint64_t{0xFF} << (8 * byte));
        }
    }
    for (; i < Size; ++i)
        if (base[i] != packed[i]) differ[changed++] = static_cast<std::uint16_t>(i);
    // A pair for each, and one more for each 256 equal bytes in a row.
    std::size_t pairs = changed, at = 0;
    for (std::size_t k = 0; k < changed; ++k) {
        pairs += (differ[k] - at) / 256;
        at = differ[k] + std::size_t{1};
    }
    const std::size_t asMap = 1 + MapBytes + changed;
    const std::size_t asPairs = pairs <= MaxPairs ? 1 + 2 * pairs : Size + 2;
    std::uint8_t* p = out + 1;
    if (asPairs <= asMap && asPairs <= 1 + Size) {
        out[0] = static_cast<std::uint8_t>(pairs);
        at = 0;
        for (std::size_t k = 0; k < changed; ++k) {
            for (; differ[k] - at > 255; at += 256) {
                *p++ = 255;
                *p++ = packed[at + 255];
            }
            *p++ = static_cast<std::uint8_t>(differ[k] - at);
            *p++ = packed[differ[k]];
            at = differ[k] + std::size_t{1};
        }
    } else if (asMap <= 1 + Size) {
        out[0] = ByMap;
        std::memset(p, 0, MapBytes);
        std::uint8_t* bytes = p + MapBytes;
        for (std::size_t k = 0; k < changed; ++k) {
            p[differ[k] / 8] = static_cast<std::uint8_t>(p[differ[k] / 8] | (1 << (differ[k] % 8)));
            *bytes++ = packed[differ[k]];
        }
        p = bytes;
    } else {
        out[0] = AsIs;
        std::memcpy(p, packed, Size);
        p += Size;
    }
    return static_cast<std::size_t>(p - out);
}

std::size_t TDelta::Decode(const std::uint8_t* in, std::uint8_t* position) const {
    const std::uint8_t form = in[0];
    const std::uint8_t* p = in + 1;
    if (form == AsIs) {
        std::memcpy(position, p, Size);
        return 1 + Size;
    }
    if (form == ByMap) {
        const std::uint8_t* bytes = p + MapBytes;
        for (std::size_t m = 0; m < MapBytes; ++m)
            for (unsigned bits = p[m]; bits != 0; bits &= bits - 1)
                position[m * 8 + static_cast<std::size_t>(__builtin_ctz(bits))] = *bytes++;
        return static_cast<std::size_t>(bytes - in);
    }
    std::size_t at = 0;
    for (std::size_t k = 0; k < form; ++k, p += 2) {
        at += p[0];
        position[at++] = p[1];
    }
    return static_cast<std::size_t>(p - in);
}

} // namespace tb
