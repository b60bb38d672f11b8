#include "services/d_crc.h"

#include <array>

namespace tb {
namespace {

// The generator is 0x1021, but the table tests bit 15 *after* each shift rather
// than the bit shifted out; stored files depend on exactly these values.
std::array<std::uint16_t, 256> BuildTable() {
    std::array<std::uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        std::uint16_t c = static_cast<std::uint16_t>(i << 8);
        for (int bit = 0; bit < 8; ++bit) {
            c = static_cast<std::uint16_t>(c << 1);
            if (c & 0x8000) c ^= 0x1021;
        }
        table[i] = c;
    }
    return table;
}

const std::array<std::uint16_t, 256>& Table() {
    static const std::array<std::uint16_t, 256> table = BuildTable();
    return table;
}

} // namespace

std::uint16_t Checksum16(std::uint16_t start, const void* bytes, std::size_t count) {
    const auto& table = Table();
    const auto* p = static_cast<const unsigned char*>(bytes);
    std::uint16_t c = start;
    for (std::size_t i = 0; i < count; ++i) {
        c = static_cast<std::uint16_t>(table[(p[i] ^ (c >> 8)) & 0xFF] ^ ((c & 0xFF) << 8));
    }
    return c;
}

std::uint16_t Checksum16Word(std::uint16_t start, std::uint16_t value) {
    const unsigned char bytes[2] = {static_cast<unsigned char>(value & 0xFF),
                                    static_cast<unsigned char>(value >> 8)};
    return Checksum16(start, bytes, 2);
}

std::uint16_t Checksum16TableEntry(std::uint8_t index) {
    return Table()[index];
}

} // namespace tb
