#pragma once
// The solver: finds a solution with the fewest steps by a breadth-first search
// over whole positions. Each move is carried out by the engine's own rules
// (TActiveMap::HeroMove on a copy of the grid), so the solver never holds a
// second copy of the rules.
//
// The search is cut without losing the fewest steps: a position is dropped
// when the steps taken plus a lower bound of the steps still needed (every
// food left must be walked to, over the cells that are not fixed walls)
// exceed the bound of the pass. A pass that finds no solution but dropped
// positions is repeated with a larger bound; a pass that dropped nothing
// proves the level cannot be won. Positions from which some food can no longer
// be reached are never kept.
//
// Each layer of the search is shared out among the threads. Of several
// shortest solutions the search always answers the same one, whatever the
// number of threads: the first in the order of the moves Up, Down, Left, Right
// (the one a plain breadth-first search taking the moves in that order finds).
//
// Positions are kept small: the cells that can ever change (everything but
// walls, reserved codes and unknown characters) are packed four bits a cell,
// and only the positions of the layer being expanded and of the next layer are
// kept, in order, each as its differences from the one before (a few bytes);
// the layer being expanded gives its memory back as the search goes through
// it. Every position seen is remembered by a 64-bit fingerprint of its packed
// grid in an open-addressing table, and by its parent and move, from which
// the solution is read back. Two different positions with the same
// fingerprint would be taken for one: with 20 million positions the odds are
// about 1 in 100,000.

#include "engine/tb_map.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <stop_token>
#include <vector>

namespace tb {

struct TSolveProgress {
    std::uint64_t Stored = 0;   // positions stored so far, over all passes (the start included)
    std::uint64_t Expanded = 0; // positions whose four moves were tried
    int Depth = 0;              // steps of the layer being expanded
    int Bound = 0;              // the pass's bound of the solution's length
};

struct TSolveOptions {
    // The search gives up when it would have to store one position more
    // (counted over all passes).
    std::uint64_t MaxStates = 20'000'000;
    // Called after each segment of a layer (at most SegmentLength positions
    // expanded), on the calling thread.
    std::function<void(const TSolveProgress&)> Progress;
    // Threads that share the search; 0 takes one for each core.
    int Threads = 0;
    // Bytes the search may hold; 0 takes half of the physical memory. The
    // search gives up instead of growing beyond it.
    std::uint64_t MemoryBudget = 0;
    // A request to stop: the search answers GaveUp with Cancelled soon after.
    std::stop_token Stop;
    // False searches breadth-first without the lower bound (for comparison).
    bool Prune = true;
    // Tuning: a layer (or a segment of one) with fewer positions is expanded
    // by one thread; segments are at most SegmentLength positions long. The
    // answers never depend on them.
    std::size_t ParallelFrom = 256;
    std::size_t SegmentLength = std::size_t{1} << 14;
    // For tests: the threads take a segment's positions from its end first.
    // The answers never depend on the order in which the work is taken.
    bool Backwards = false;
};

// Positions the parent links can address.
inline constexpr std::uint64_t MaxSolverStates = (std::uint64_t{1} << 30) - 1;
// Threads the search can share out to.
inline constexpr int MaxSolverThreads = 64;

enum class TSolveOutcome { Solved, Unsolvable, GaveUp };

struct TSolveResult {
    TSolveOutcome Outcome = TSolveOutcome::Unsolvable;
    std::vector<TDir> Moves;      // the solution when Solved
    std::uint64_t Stored = 0;     // positions stored, over all passes (at most MaxStates)
    std::uint64_t Expanded = 0;   // positions whose moves were tried, over all passes
    std::size_t PackedBytes = 0;  // bytes of one packed position
    std::size_t PeakBytes = 0;    // memory of the search at its largest
    std::uint64_t PeakStored = 0; // positions held when the memory was at its largest
    int Passes = 0;               // passes with a growing bound
    int Threads = 1;              // threads that shared the search
    bool Cancelled = false;       // GaveUp because Stop was requested
    bool OutOfMemory = false;     // GaveUp because of the memory budget
    double BytesPerPosition() const {
        return PeakStored == 0 ? 0.0
                               : static_cast<double>(PeakBytes) / static_cast<double>(PeakStored);
    }
};

// Searches from `level` as laid out (it must be playable: Error otherwise).
// MaxStates outside 1..MaxSolverStates or Threads outside 0..MaxSolverThreads
// is std::out_of_range. The level is only read.
TSolveResult Solve(const TMap& level, const TSolveOptions& options = {});

// The number of threads Threads 0 stands for: the cores of the machine.
int DefaultSolverThreads();
// The budget MemoryBudget 0 stands for: half of the physical memory.
std::uint64_t DefaultSolverMemory();

} // namespace tb
