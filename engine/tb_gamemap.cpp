// A level being played: state, recording, win and loss, replay and take-over.

#include "engine/tb_gamemap.h"

#include <limits>

namespace tb {

TGameMap::TGameMap() : Solution(std::make_unique<TLevSol>(0)) {}

TGameMap::~TGameMap() = default;

bool TGameMap::TakeOver() {
    SetState(TState::Play, false);
    return true;
}

void TGameMap::Die() {
    SetCell(HeroPos, Loser);
    SetState(TState::Done, false);
}

bool TGameMap::SetPlayer(const std::string& name) {
    const bool changed = name != Player;
    Player = name;
    Solution->SetPlayer(name);
    return changed;
}

bool TGameMap::SetState(TState state, bool force) {
    const bool changed = State != state;
    if (!changed && !force) return false;
    State = state;
    if (state == TState::Ready) {
        Solution->Truncate(0);
        StepsChanged();
        SetTime(0);
    }
    return true;
}

void TGameMap::StepsChanged() {}

void TGameMap::SetTime(std::uint16_t seconds) {
    Time = seconds;
}

void TGameMap::Win() {
    SetState(TState::Done, false);
}

void TGameMap::Clear() {
    TMap::Clear();
    Solution->Truncate(0);
    StepsChanged();
    SetTime(0);
    State = TState::None;
}

void TGameMap::Assign(const TGameMap& source, bool full) {
    State = source.State;
    TMap::Assign(source);
    Solution->Assign(*source.Solution, full);
}

bool TGameMap::DoMove(TDir dir, int count) {
    if (State == TState::Ready) SetState(TState::Play, false); // the first move starts the level
    bool moved = false;
    for (int i = 0; i < count; ++i) {
        if (!HeroMove(dir)) break;
        moved = true;
        if (FoodCount == 0) {
            Win();
            break;
        }
        if (GetCell(HeroPos) == Loser) {
            Die();
            break;
        }
    }
    return moved;
}

void TGameMap::Replay(const TLevSol* solution) {
    // Laying the level out empties Solution, so the moves are copied first.
    // Ready is forced: a level that is already Ready (just chosen, its saved
    // moves put in as the recording) must be laid out afresh too, or the moves
    // would be recorded a second time on top of themselves.
    TLevSol moves;
    moves.Assign(solution ? *solution : *Solution, false);
    SetState(TState::Ready, true);
    SetState(TState::Replay, false);
    try {
        for (int i = 1; i <= moves.GetSteps(); ++i) {
            DoMove(static_cast<TDir>(moves.GetMove(i)), 1);
            if (State == TState::Play) {
                // The player took over during this move: the moves up to here are his.
                Solution->Assign(moves, true);
                Solution->Truncate(static_cast<std::uint16_t>(i));
                Solution->SetPlayer(Player);
                StepsChanged();
                return;
            }
            if (State != TState::Replay) return; // won or lost
        }
        if (State == TState::Replay) SetState(TState::Play, false); // the player goes on from here
    } catch (...) {
        // A replay that cannot go on gives the player the level back from the start.
        SetState(TState::Ready, false);
    }
}

void TGameMap::Tick() {
    // The clock stops at its top rather than wrapping round to 0.
    if (Time < std::numeric_limits<std::uint16_t>::max())
        SetTime(static_cast<std::uint16_t>(Time + 1));
    else
        SetTime(Time);
}

bool TGameMap::HeroMove(TDir dir) {
    const bool moved = TActiveMap::HeroMove(dir);
    if (moved) {
        // A full recording refuses the move silently: it happens but is not recorded.
        if (State >= TState::Play) Solution->Add(dir);
        StepsChanged();
    }
    return moved;
}

bool TGameMap::MoveHeroTo(TPos pos) {
    if (State == TState::Ready) SetState(TState::Play, false);
    return TActiveMap::MoveHeroTo(pos);
}

bool SolvesLevel(const TMap& level, const TLevSol& solution) {
    TActiveMap probe; // the plain rules: no drawing, no recording
    probe.Assign(level);
    const int steps = solution.GetSteps();
    if (steps == 0 || steps > TLevSol::MaxMoves) return false;
    if (probe.GetHeroPos().IsNone() || probe.GetFoodCount() == 0) return false;
    for (int i = 1; i <= steps; ++i) {
        if (probe.GetFoodCount() == 0) return false; // won before its last move
        probe.HeroMove(static_cast<TDir>(solution.GetMove(i)));
        if (probe.GetFoodCount() == 0) continue; // the win counts before the crush, as in play
        if (probe.GetCell(probe.GetHeroPos()) == Loser) return false;
    }
    return probe.GetFoodCount() == 0;
}

} // namespace tb
