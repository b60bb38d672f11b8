#pragma once
// What the editor's Solve level found out about levels: the fewest steps that
// win each, or that it cannot be won. The facts belong to a level's cells, not
// to a game or a player, so they are kept by a fingerprint of the cells in a
// file of their own ("tobbin.len" beside the records) and never mix with the
// players' best solutions. A level changed by one cell is another level.
//
// The file is a header line, then one line a level: 16 hex digits of the
// fingerprint, a blank, and the steps or "x" for a level that cannot be won.
// It is only a memory of searches that can be run again: a damaged file, or
// a damaged line, is passed over and never stops the program.

#include "engine/tb_map.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>

namespace tb {

struct TShortest {
    bool Winnable = false;
    int Steps = 0; // the fewest steps of a win, when Winnable
    bool operator==(const TShortest&) const = default;
};

class TShortestBook {
public:
    // Reads `file` when it exists (nothing is known otherwise).
    explicit TShortestBook(std::filesystem::path file);

    // The fingerprint of a level's cells (its name is not part of it).
    static std::uint64_t Fingerprint(const TMap& level);

    std::optional<TShortest> Find(const TMap& level) const;
    // Notes what a search proved of `level` and writes the file at once
    // (std::ios_base::failure when it cannot be written; the book in memory
    // keeps the fact).
    void Record(const TMap& level, const TShortest& fact);

    // Levels the book holds at most; when it is full, a new fact pushes out
    // another level's.
    static constexpr std::size_t MaxEntries = 100'000;

private:
    void Read();
    void Write() const;

    std::filesystem::path File;
    std::map<std::uint64_t, TShortest> Facts;
};

} // namespace tb
