#pragma once
// Test archives made on the spot: a small ZIP writer, and encoders for the
// shrunk (LZW with partial clearing) and imploded (Shannon-Fano) methods.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tb::test {

struct TZipMember {
    std::string Name{};
    std::string Data{};                  // the unpacked bytes
    std::uint16_t Method = 8;            // 0, 1, 6 and 8 are packed from Data
    std::uint16_t Flags = 0;             // for method 6: bit 1 8 KB window, bit 2 literal tree
    std::optional<std::string> Packed{}; // the member's data as stored, when given
    std::optional<std::uint32_t> Crc{};  // a wrong checksum, when given
};

struct TZip {
    std::string Bytes;
    std::vector<std::size_t> LocalOffsets;
    std::size_t DirectoryOffset = 0;
    std::size_t EndOffset = 0;
};

TZip MakeZip(const std::vector<TZipMember>& members);
void WriteZip(const std::string& path, const std::vector<TZipMember>& members);

std::string Deflate(std::string_view data);
// `clearEvery` > 0 forces a partial clear after that many codes (besides the
// one whenever the table is full).
std::string Shrink(std::string_view data, int clearEvery = 0);
std::string Implode(std::string_view data, bool window8k, bool literalTree);

// A text of `size` bytes with repeats near and far and a bit of noise.
std::string SampleText(std::size_t size, unsigned seed);

} // namespace tb::test
