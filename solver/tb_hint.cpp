#include "solver/tb_hint.h"

#include "engine/tb_activemap.h"

namespace tb {

namespace {

// A copy of a position the hints can play on.
class TReplay final : public TActiveMap {
public:
    explicit TReplay(const TMap& position) { Assign(position); }
};

} // namespace

THinter::THinter(std::size_t capacity) : Capacity(capacity == 0 ? 1 : capacity) {}

std::string THinter::Key(const TMap& position) {
    const auto& cells = position.GetCells();
    std::string key(reinterpret_cast<const char*>(cells.data()), sizeof cells);
    const TPos hero = position.GetHeroPos();
    key += static_cast<char>(hero.X);
    key += static_cast<char>(hero.Y);
    return key;
}

std::optional<THint> THinter::Known(const TMap& position, std::uint64_t maxStates) const {
    const std::string key = Key(position);
    const std::lock_guard guard(Lock);
    const auto found = Answers.find(key);
    if (found == Answers.end()) return std::nullopt;
    const TEntry& entry = found->second;
    if (entry.Hint.Outcome == TSolveOutcome::GaveUp && maxStates > entry.MaxStates)
        return std::nullopt;
    THint hint = entry.Hint;
    hint.FromCache = true;
    return hint;
}

void THinter::Remember(std::string key, const THint& hint, std::uint64_t maxStates) {
    const std::lock_guard guard(Lock);
    auto [at, added] = Answers.insert_or_assign(key, TEntry{hint, maxStates});
    if (!added) return;
    Order.push_back(std::move(key));
    while (Answers.size() > Capacity) {
        Answers.erase(Order.front());
        Order.pop_front();
    }
}

void THinter::Clear() {
    const std::lock_guard guard(Lock);
    Answers.clear();
    Order.clear();
}

THint THinter::Find(const TMap& position, const THintOptions& options) {
    if (auto known = Known(position, options.MaxStates)) return *known;
    const std::string key = Key(position);
    THint hint;
    const TPos hero = position.GetHeroPos();
    if (position.GetFoodCount() == 0) {
        hint.Outcome = TSolveOutcome::Solved; // won already
        Remember(key, hint, options.MaxStates);
        return hint;
    }
    if (hero.IsNone() || position.GetCell(hero) != Hero) {
        hint.Outcome = TSolveOutcome::Unsolvable; // no hero, or a crushed one
        Remember(key, hint, options.MaxStates);
        return hint;
    }

    TSolveOptions solve;
    solve.MaxStates = options.MaxStates;
    solve.Threads = options.Threads;
    solve.MemoryBudget = options.MemoryBudget;
    solve.Stop = options.Stop;
    solve.Progress = options.Progress;
    const TSolveResult result = Solve(position, solve);
    hint.Outcome = result.Outcome;
    hint.Positions = result.Stored;
    hint.Cancelled = result.Cancelled;
    hint.OutOfMemory = result.OutOfMemory;
    if (result.Outcome != TSolveOutcome::Solved) {
        if (!result.Cancelled) Remember(key, hint, options.MaxStates);
        return hint;
    }

    // Every position on the way found has its own shortest way: the rest of it.
    TReplay replay(position);
    const int steps = static_cast<int>(result.Moves.size());
    THint first;
    for (int i = 0; i < steps; ++i) {
        THint along = hint;
        along.Next = result.Moves[static_cast<std::size_t>(i)];
        along.Steps = steps - i;
        if (i == 0) first = along;
        Remember(Key(replay), along, options.MaxStates);
        replay.HeroMove(along.Next);
    }
    return first;
}

} // namespace tb
