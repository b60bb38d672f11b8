#pragma once
// A level being played: who plays, the state, the moves recorded so far and the
// seconds played. Records every successful move, decides after each move whether
// the level is won or lost, and replays a solution with take-over by the player.

#include "engine/tb_activemap.h"
#include "engine/tb_levsol.h"

#include <memory>
#include <string>

namespace tb {

class TGameMap : public TActiveMap {
public:
    TGameMap();
    ~TGameMap() override;

    // The player takes over a replay; answers true.
    virtual bool TakeOver();
    // The hero is crushed (or was): Loser in his cell, the level ends.
    virtual void Die();
    // Stores the name if it differs and passes it on to the Solution.
    virtual bool SetPlayer(const std::string& name);
    // Changes the state; answers whether it changed, or force. Ready empties the recording.
    virtual bool SetState(TState state, bool force);
    // The recorded moves may have changed.
    virtual void StepsChanged();
    virtual void SetTime(std::uint16_t seconds);
    // The last food is eaten.
    virtual void Win();

    // Empty grid, no moves, clock 0, state None (set directly).
    void Clear();
    using TMap::Assign;
    // Copies the state, the grid and the Solution (full: room for 4096 moves,
    // else exactly its moves, the compact form of history copies).
    void Assign(const TGameMap& source, bool full);
    // The player's move, repeated up to count times; see tb_gamemap.cpp.
    bool DoMove(TDir dir, int count);
    // Replays `solution`, or the level's own Solution when none is given.
    void Replay(const TLevSol* solution = nullptr);
    // One second of play.
    void Tick();

    bool HeroMove(TDir dir) override;

    const std::string& GetPlayer() const { return Player; }
    TState GetState() const { return State; }
    const TLevSol& GetSolution() const { return *Solution; }
    std::uint16_t GetTime() const { return Time; }

protected:
    bool MoveHeroTo(TPos pos) override;

    std::string Player;
    TState State = TState::None;
    std::unique_ptr<TLevSol> Solution;
    std::uint16_t Time = 0;
};

// True when the moves, made one by one from the level as laid out, eat the
// last food with the last move and never crush the hero. A move the hero
// cannot make changes nothing and is allowed; moves after the win are not.
bool SolvesLevel(const TMap& level, const TLevSol& solution);

} // namespace tb
