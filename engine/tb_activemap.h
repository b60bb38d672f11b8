#pragma once
// The rules of one move of the hero on a level grid. Each event of a move is a
// virtual operation; a derived class that animates or sounds an event overrides
// it and calls the rule here, so the order of the calls is the order in which
// the player sees the events. One move runs to its end synchronously, chain
// reactions followed depth first.

#include "engine/tb_map.h"

namespace tb {

class TActiveMap : public TMap {
public:
    // The one entry point of a move; answers whether the hero moved.
    virtual bool HeroMove(TDir dir);

protected:
    // Both cells become Empty (a bomb and what it hit, or a bomb alone).
    virtual void Explode(TPos a, TPos b);
    // The object at pos falls into the box below it; true when the box shrank,
    // false when it was used up.
    virtual bool LandOnBox(TPos pos, TPos box);
    // Drops the object at pos until it rests; dir is the roll preference.
    virtual void Fall(TPos pos, TDir dir);
    // The hero bumped into something that does not give way.
    virtual void Blocked();
    // The hero enters pos; false when the step down is unsafe.
    virtual bool MoveHeroTo(TPos pos);
    // Moves an object; an object arriving above the hero crushes him while food remains.
    virtual void MoveObject(TPos from, TPos to);
    virtual bool DigGrass(TPos pos);
    virtual bool EatFood(TPos pos);
    // Lets a fallen object roll off a slippery one; pos and dir follow the roll.
    virtual bool Roll(TPos& pos, TDir& dir);
    // A falling object came to rest.
    virtual void Thud();
    // True when the hero would step down from under a resting object (unless onto the last food).
    virtual bool IsUnsafeStepDown(TPos pos);

    // Only sideways, and only into an Empty cell.
    bool CanPush(TPos pos, TDir dir) const;
    // Towards the hero's column; Down (no preference) when he is in pos's column.
    TDir RollSide(TPos pos) const;
};

} // namespace tb
