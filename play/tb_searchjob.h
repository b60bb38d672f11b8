#pragma once
// One search of the solver off the window thread, for a hint in play and the
// editor's Solve level. The job searches its own copy of the position, so the
// game goes on (or is edited) meanwhile and is never touched by the worker;
// the window thread polls Positions for the progress line and Take for the
// answer. Cancel, a new Start and the destructor stop a running search and
// wait for it; the answer of a stopped search is dropped.
//
// The answers come from a THinter the jobs share: a position searched before
// is answered at once (Known), and following a hint's way is too.

#include "solver/tb_hint.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>

namespace tb {

struct TSearchAnswer {
    THint Hint;
    std::string Error; // the position could not be searched (not at rest, no hero, ...)
};

class TSearchJob {
public:
    explicit TSearchJob(THinter& hinter) : Hinter(hinter) {}
    ~TSearchJob() { Cancel(); }
    TSearchJob(const TSearchJob&) = delete;
    TSearchJob& operator=(const TSearchJob&) = delete;

    // Starts searching from a copy of `position` (a running search is
    // cancelled first). `maxStates` and `threads` as for the solver.
    void Start(const TMap& position, std::uint64_t maxStates, int threads = 0);
    // Stops a search still running and waits for it; drops an answer not yet
    // taken. Answers whether a search was running.
    bool Cancel();

    // Started and its answer not taken yet.
    bool Active() const { return Worker.joinable(); }
    // The answer is ready for Take.
    bool Done() const { return Finished.load(std::memory_order_acquire); }
    // Positions the search has stored so far.
    std::uint64_t Positions() const { return Stored.load(std::memory_order_relaxed); }
    // The position being searched (valid while Active).
    const TMap& Position() const { return *Copy; }
    // The answer once Done (the job is then idle); nothing before.
    std::optional<TSearchAnswer> Take();

private:
    THinter& Hinter;
    std::unique_ptr<TMap> Copy;
    TSearchAnswer Answer; // written by the worker before Finished
    std::atomic<bool> Finished{false};
    std::atomic<std::uint64_t> Stored{0};
    std::jthread Worker; // last: stopped and joined before the rest goes
};

} // namespace tb
