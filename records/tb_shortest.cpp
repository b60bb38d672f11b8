#include "records/tb_shortest.h"

#include "services/d_file.h"

#include <charconv>
#include <string>
#include <string_view>
#include <system_error>

namespace tb {

namespace {

constexpr std::string_view Header = "Tobbin shortest solutions 1";
// A book larger than this is not ours to read (100,000 lines of at most 23
// characters).
constexpr std::uintmax_t MaxFileSize = 4u << 20;

} // namespace

TShortestBook::TShortestBook(std::filesystem::path file) : File(std::move(file)) {
    Read();
}

std::uint64_t TShortestBook::Fingerprint(const TMap& level) {
    // FNV-1a over the cells, row by row.
    std::uint64_t hash = 14695981039346656037ull;
    for (const auto& row : level.GetCells())
        for (const std::uint8_t cell : row) {
            hash ^= cell;
            hash *= 1099511628211ull;
        }
    return hash;
}

std::optional<TShortest> TShortestBook::Find(const TMap& level) const {
    const auto it = Facts.find(Fingerprint(level));
    if (it == Facts.end()) return std::nullopt;
    return it->second;
}

void TShortestBook::Record(const TMap& level, const TShortest& fact) {
    if (Facts.size() >= MaxEntries) Facts.erase(Facts.begin());
    Facts[Fingerprint(level)] = fact;
    Write();
}

void TShortestBook::Read() {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(File, ec);
    if (ec || size > MaxFileSize) return;
    std::string text;
    try {
        text = ReadWholeFile(File);
    } catch (const std::exception&) {
        return;
    }
    TTextReader reader(std::move(text));
    std::string line;
    if (!reader.ReadLine(line) || line != Header) return;
    while (reader.ReadLine(line) && Facts.size() < MaxEntries) {
        // "0123456789abcdef 42" or "0123456789abcdef x"
        if (line.size() < 18 || line[16] != ' ') continue;
        std::uint64_t key = 0;
        const char* first = line.data();
        if (auto [end, err] = std::from_chars(first, first + 16, key, 16);
            err != std::errc{} || end != first + 16)
            continue;
        const std::string_view value = std::string_view(line).substr(17);
        if (value == "x") {
            Facts[key] = TShortest{false, 0};
            continue;
        }
        int steps = 0;
        if (auto [end, err] = std::from_chars(value.data(), value.data() + value.size(), steps);
            err != std::errc{} || end != value.data() + value.size() || steps < 0 ||
            steps > 1'000'000)
            continue;
        Facts[key] = TShortest{true, steps};
    }
}

void TShortestBook::Write() const {
    TTextWriter writer;
    writer.WriteLine(Header);
    char hex[17];
    for (const auto& [key, fact] : Facts) {
        std::to_chars_result r = std::to_chars(hex, hex + 16, key, 16);
        const std::string digits(hex, r.ptr);
        writer.WriteLine(std::string(16 - digits.size(), '0') + digits + " " +
                         (fact.Winnable ? std::to_string(fact.Steps) : std::string("x")));
    }
    WriteFileAtomic(File, writer.Content());
}

} // namespace tb
