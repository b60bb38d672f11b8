// Method 6, imploding: a sliding dictionary of 4 KB or 8 KB with matches and
// literals coded by two or three Shannon-Fano trees. The data starts with the
// trees (literals when there are three, then lengths, then distances), each
// stored as a count of bytes less one and bytes that give a bit length (low
// nibble + 1) for a run of values (high nibble + 1). The codes are the
// canonical codes of those lengths with every bit inverted. Then follow, until
// the unpacked size is reached: a 1 bit and a literal (coded, or 8 plain
// bits), or a 0 bit and a match: the distance's low 6 (4 KB) or 7 (8 KB) bits
// plain, its high 6 bits coded, then the coded length (63 is followed by 8
// plain bits to add); the minimum match is 3 with a literal tree, else 2.

#include "install/w_decode.h"
#include "install/w_unzip.h"

#include <algorithm>
#include <array>

namespace tb::unzip {

namespace {

constexpr int MaxBits = 16;

// A canonical code: how many codes each length has, and the values in code order.
struct TTree {
    std::array<std::uint16_t, MaxBits + 1> Count{};
    std::array<std::uint16_t, 256> Value{};
};

// Reads a tree of `values` values; false when the description is damaged or
// the lengths ask for more codes than there are.
bool ReadTree(TBits& bits, TTree& tree, int values) {
    std::array<std::uint8_t, 256> length{};
    const int bytes = bits.Get(8);
    if (bytes < 0) return false;
    int filled = 0;
    for (int i = 0; i <= bytes; ++i) {
        const int b = bits.Get(8);
        if (b < 0) return false;
        const int bitLength = (b & 15) + 1;
        const int run = (b >> 4) + 1;
        if (filled + run > values) return false;
        for (int k = 0; k < run; ++k)
            length[filled++] = static_cast<std::uint8_t>(bitLength);
    }
    if (filled != values) return false;

    for (int v = 0; v < values; ++v)
        ++tree.Count[length[v]];
    int left = 1; // codes still free at the current length
    for (int len = 1; len <= MaxBits; ++len) {
        left = left * 2 - tree.Count[len];
        if (left < 0) return false;
    }
    std::array<std::uint16_t, MaxBits + 2> next{};
    for (int len = 1; len <= MaxBits; ++len)
        next[len + 1] = static_cast<std::uint16_t>(next[len] + tree.Count[len]);
    for (int v = 0; v < values; ++v)
        tree.Value[next[length[v]]++] = static_cast<std::uint16_t>(v);
    return true;
}

// The next value coded with `tree`, or -1 when the data ends or the code is unused.
int Decode(TBits& bits, const TTree& tree) {
    int code = 0;  // the bits read so far, inverted, first bit highest
    int first = 0; // the first code of the current length
    int index = 0; // where the values of the current length start
    for (int len = 1; len <= MaxBits; ++len) {
        const int bit = bits.Get(1);
        if (bit < 0) return -1;
        code |= bit ^ 1;
        const int count = tree.Count[len];
        if (code - first < count) return tree.Value[index + code - first];
        index += count;
        first = (first + count) << 1;
        code <<= 1;
    }
    return -1;
}

} // namespace

int Explode(TInput& in, TOutput& out, std::uint64_t size, bool window8k, bool literalTree) {
    TBits bits(in);
    TTree literals, lengths, distances;
    if (literalTree && !ReadTree(bits, literals, 256)) return UnzipBadData;
    if (!ReadTree(bits, lengths, 64) || !ReadTree(bits, distances, 64)) return UnzipBadData;
    const int lowBits = window8k ? 7 : 6;
    const int minMatch = literalTree ? 3 : 2;

    TWindow window(out);
    std::uint64_t produced = 0;
    while (produced < size) {
        const int flag = bits.Get(1);
        if (flag < 0) return UnzipBadData;
        if (flag == 1) {
            const int b = literalTree ? Decode(bits, literals) : bits.Get(8);
            if (b < 0) return UnzipBadData;
            if (!window.Put(static_cast<std::uint8_t>(b))) return out.Fault();
            ++produced;
            continue;
        }
        const int low = bits.Get(lowBits);
        const int high = Decode(bits, distances);
        int length = Decode(bits, lengths);
        if (low < 0 || high < 0 || length < 0) return UnzipBadData;
        if (length == 63) {
            const int extra = bits.Get(8);
            if (extra < 0) return UnzipBadData;
            length += extra;
        }
        const std::uint32_t distance = static_cast<std::uint32_t>((high << lowBits) + low + 1);
        // Bytes before the start read as zero; a match running past the end is cut there.
        const std::uint64_t count =
            std::min<std::uint64_t>(static_cast<std::uint64_t>(length + minMatch), size - produced);
        for (std::uint64_t i = 0; i < count; ++i)
            if (!window.Put(window.Back(distance))) return out.Fault();
        produced += count;
    }
    return window.Flush() ? UnzipOk : out.Fault();
}

} // namespace tb::unzip
