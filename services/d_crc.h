#pragma once
// The 16-bit record checksum that fingerprints level maps and guards record lines.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tb {

// Continues a checksum from `start` over `count` bytes; zero bytes give `start` back.
std::uint16_t Checksum16(std::uint16_t start, const void* bytes, std::size_t count);

inline std::uint16_t Checksum16(std::uint16_t start, std::string_view text) {
    return Checksum16(start, text.data(), text.size());
}

// Chains a 16-bit value as two bytes, low byte first.
std::uint16_t Checksum16Word(std::uint16_t start, std::uint16_t value);

// One entry of the table the checksum is driven by (for tests and tools).
std::uint16_t Checksum16TableEntry(std::uint8_t index);

} // namespace tb
