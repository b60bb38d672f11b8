#pragma once
// The solver: finds a solution with the fewest steps by a
// breadth-first search over whole positions. Each move is carried out by the
// engine's own rules (TActiveMap::HeroMove on a copy of the grid), so the
// solver never holds a second copy of the rules.
//
// Positions are kept small: the cells that can ever change (everything but
// walls, reserved codes and unknown characters) are packed four bits a cell,
// and only the positions of the layer being expanded and of the next layer are
// kept whole. Every position seen is remembered by a 64-bit fingerprint of its
// packed grid in an open-addressing table, and by its parent and move, from
// which the solution is read back. Two different positions with the same
// fingerprint would be taken for one: with 20 million positions the odds are
// about 1 in 100,000.

#include "engine/tb_map.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace tb {

struct TSolveProgress {
    std::uint64_t Stored = 0;   // positions seen so far (the start included)
    std::uint64_t Expanded = 0; // positions whose four moves were tried
    int Depth = 0;              // steps of the layer being expanded
};

struct TSolveOptions {
    // The search gives up when it would have to store one position more.
    std::uint64_t MaxStates = 20'000'000;
    // Called every few thousand expanded positions.
    std::function<void(const TSolveProgress&)> Progress;
};

// Positions the parent links can address.
inline constexpr std::uint64_t MaxSolverStates = (std::uint64_t{1} << 30) - 1;

enum class TSolveOutcome { Solved, Unsolvable, GaveUp };

struct TSolveResult {
    TSolveOutcome Outcome = TSolveOutcome::Unsolvable;
    std::vector<TDir> Moves; // the solution when Solved
    std::uint64_t Stored = 0;
    std::uint64_t Expanded = 0;
    std::size_t PackedBytes = 0; // bytes of one packed position
    std::size_t PeakBytes = 0;   // memory of the position store at its largest
    double BytesPerPosition() const {
        return Stored == 0 ? 0.0 : static_cast<double>(PeakBytes) / static_cast<double>(Stored);
    }
};

// Searches from `level` as laid out (it must be playable: Error otherwise).
// MaxStates outside 1..MaxSolverStates is std::out_of_range.
TSolveResult Solve(const TMap& level, const TSolveOptions& options = {});

} // namespace tb
