#pragma once
// Hints: from a position of a level in play (or just laid out), the next move
// of a shortest way to win and how many steps that way takes, or the proof that
// no way to win is left, or word that the search gave up at its limit.
//
// A THinter is meant to live beside the game: the window hands a copy of the
// position to a worker thread, which calls Find; the window thread may ask
// Known at any time to answer at once when the position was searched before.
// Every position on the shortest way found is remembered, so a player who
// follows the hints gets each next one at once. For the level author, Find on
// the level as laid out answers its shortest length (Steps) and the size of
// the search (Positions).

#include "solver/tb_solver.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <unordered_map>

namespace tb {

struct THintOptions {
    std::uint64_t MaxStates = 20'000'000;
    int Threads = 0;                // 0: one for each core
    std::uint64_t MemoryBudget = 0; // 0: half of the physical memory
    std::stop_token Stop;           // a request to stop: Find answers soon after
    std::function<void(const TSolveProgress&)> Progress; // on the thread that runs Find
};

struct THint {
    // Solved: Next and Steps hold (Steps 0 when the level is won already: no
    // Next). Unsolvable: no way to win is left (a crushed hero, food out of
    // reach, or every position tried). GaveUp: the limit was reached, or the
    // search was cancelled (Cancelled).
    TSolveOutcome Outcome = TSolveOutcome::Unsolvable;
    TDir Next = Up;
    int Steps = 0;
    std::uint64_t Positions = 0; // positions the search stored
    bool Cancelled = false;
    bool OutOfMemory = false;
    bool FromCache = false; // answered from an earlier search
};

class THinter {
public:
    // Remembers the answers for up to `capacity` positions.
    explicit THinter(std::size_t capacity = 1024);

    // The answer for `position` when it is known already (a gave-up answer
    // only for a limit no larger than the one it gave up at).
    std::optional<THint> Known(const TMap& position, std::uint64_t maxStates) const;

    // Searches from `position` (only read; the caller passes a copy when the
    // game goes on meanwhile). A cancelled search is not remembered.
    // Error for a position that is not at rest (not as a game shows it).
    THint Find(const TMap& position, const THintOptions& options = {});

    void Clear();

private:
    static std::string Key(const TMap& position);
    void Remember(std::string key, const THint& hint, std::uint64_t maxStates);

    struct TEntry {
        THint Hint;
        std::uint64_t MaxStates = 0;
    };
    mutable std::mutex Lock;
    std::size_t Capacity;
    std::unordered_map<std::string, TEntry> Answers;
    std::deque<std::string> Order; // oldest first
};

} // namespace tb
