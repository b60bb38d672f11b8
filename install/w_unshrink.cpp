// Method 1, shrinking: LZW with codes of 9 to 13 bits. Code 256 is a control
// code: followed by 1 the code size grows by one bit, followed by 2 the table
// is partially cleared (every entry that is not the prefix of another entry is
// freed). New entries take the lowest free code; each is the previous code's
// string extended by the first byte of the current one. An entry keeps its
// prefix by code number, so a string is found by walking the prefixes at the
// time it is used.

#include "install/w_decode.h"
#include "install/w_unzip.h"

#include <array>
#include <memory>
#include <vector>

namespace tb::unzip {

namespace {

constexpr int MinCodeSize = 9;
constexpr int MaxCodeSize = 13;
constexpr int CodeCount = 1 << MaxCodeSize;
constexpr int ControlCode = 256;
constexpr int FirstFreeCode = 257;
constexpr int GrowCode = 1;
constexpr int ClearCode = 2;

constexpr std::int16_t FreeEntry = -1;
constexpr std::int16_t LiteralEntry = -2;

class TShrinkTable {
public:
    TShrinkTable() {
        for (int c = 0; c < 256; ++c) {
            Prefix[c] = LiteralEntry;
            Suffix[c] = static_cast<std::uint8_t>(c);
        }
        Prefix[ControlCode] = LiteralEntry; // never a string; never freed
        for (int c = FirstFreeCode; c < CodeCount; ++c) {
            Prefix[c] = FreeEntry;
            FreeCodes.push_back(static_cast<std::uint16_t>(c));
        }
    }

    bool IsFree(int code) const { return Prefix[code] == FreeEntry; }
    // The code the next new entry takes, or -1 when the table is full.
    int NextFree() const { return NextIndex < FreeCodes.size() ? FreeCodes[NextIndex] : -1; }
    void Set(int code, int prefix, std::uint8_t suffix) {
        Prefix[code] = static_cast<std::int16_t>(prefix);
        Suffix[code] = suffix;
    }
    // Takes the next free code for a new entry.
    void TakeNext() { ++NextIndex; }

    // Frees every entry that is not the prefix of an entry in use; the free
    // codes are taken again from the lowest.
    void PartialClear() {
        std::array<bool, CodeCount> isPrefix{};
        for (int c = FirstFreeCode; c < CodeCount; ++c)
            if (Prefix[c] >= 0) isPrefix[Prefix[c]] = true;
        FreeCodes.clear();
        NextIndex = 0;
        for (int c = FirstFreeCode; c < CodeCount; ++c) {
            if (!isPrefix[c]) Prefix[c] = FreeEntry;
            // A code freed before stays free even when an entry still names it as prefix.
            if (Prefix[c] == FreeEntry) FreeCodes.push_back(static_cast<std::uint16_t>(c));
        }
    }

    // Spells the string of `code` into the end of `out`; answers its length,
    // or 0 when the prefixes run into a free code or loop.
    std::size_t Spell(int code, std::array<std::uint8_t, CodeCount>& out) const {
        std::size_t length = 0;
        for (;;) {
            if (length == out.size() || Prefix[code] == FreeEntry) return 0;
            out[out.size() - 1 - length] = Suffix[code];
            ++length;
            if (Prefix[code] == LiteralEntry) return length;
            code = Prefix[code];
        }
    }

private:
    std::array<std::int16_t, CodeCount> Prefix{};
    std::array<std::uint8_t, CodeCount> Suffix{};
    std::vector<std::uint16_t> FreeCodes;
    std::size_t NextIndex = 0;
};

} // namespace

int Unshrink(TInput& in, TOutput& out, std::uint64_t size) {
    auto table = std::make_unique<TShrinkTable>();
    std::array<std::uint8_t, CodeCount> spelled{};
    TBits bits(in);
    TWindow window(out);
    int codeSize = MinCodeSize;
    int previous = -1;
    std::uint64_t produced = 0;
    while (produced < size) {
        const int code = bits.Get(codeSize);
        if (code < 0) return UnzipBadData;
        if (code == ControlCode) {
            const int control = bits.Get(codeSize);
            if (control == GrowCode && codeSize < MaxCodeSize)
                ++codeSize;
            else if (control == ClearCode)
                table->PartialClear();
            else
                return UnzipBadData;
            continue;
        }
        if (previous < 0) {
            // The first code is a byte of its own.
            if (code > 255) return UnzipBadData;
            if (!window.Put(static_cast<std::uint8_t>(code))) return out.Fault();
            ++produced;
            previous = code;
            continue;
        }
        const int newCode = table->NextFree();
        if (table->IsFree(code)) {
            // A code used just before it is made: the previous string and its first byte.
            if (code != newCode) return UnzipBadData;
            const std::size_t n = table->Spell(previous, spelled);
            if (n == 0) return UnzipBadData;
            table->Set(code, previous, spelled[spelled.size() - n]);
        }
        const std::size_t n = table->Spell(code, spelled);
        if (n == 0 || n > size - produced) return UnzipBadData;
        for (std::size_t i = spelled.size() - n; i < spelled.size(); ++i)
            if (!window.Put(spelled[i])) return out.Fault();
        produced += n;
        if (newCode >= 0) {
            table->Set(newCode, previous, spelled[spelled.size() - n]);
            table->TakeNext();
        }
        previous = code;
    }
    return window.Flush() ? UnzipOk : out.Fault();
}

} // namespace tb::unzip
