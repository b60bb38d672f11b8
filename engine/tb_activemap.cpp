// The rules of a move. Each rule is one operation; the operations call one
// another in a fixed order, and every change of a cell goes through SetCell.

#include "engine/tb_activemap.h"

namespace tb {

bool TActiveMap::HeroMove(TDir dir) {
    const TPos old = HeroPos;
    const TPos target = Neighbour(old, dir);
    const std::uint8_t code = GetCell(target);
    bool moved = false;
    if (code == Empty) {
        moved = MoveHeroTo(target);
    } else if (code == Grass) {
        moved = DigGrass(target);
    } else if (code == Food) {
        moved = EatFood(target);
    } else if (code == Wall || code == Outside) {
        Blocked();
    } else if (IsFalling(code)) {
        if (!CanPush(target, dir)) {
            Blocked();
            return false;
        }
        const TPos beyond = Neighbour(target, dir);
        MoveObject(target, beyond);
        moved = MoveHeroTo(target);
        Fall(beyond, dir); // the pushed object drops at once if nothing holds it
    }
    // Unknown and reserved codes, and a second hero or a loser, do nothing at all.

    if (moved && dir != Up) {
        const TPos above = Neighbour(old, Up);
        if (IsFalling(GetCell(above))) Fall(above, dir); // it lost its support
    }
    return moved;
}

void TActiveMap::Explode(TPos a, TPos b) {
    SetCell(a, Empty);
    SetCell(b, Empty);
}

bool TActiveMap::LandOnBox(TPos pos, TPos box) {
    SetCell(pos, Empty); // the object vanishes into the box
    switch (GetCell(box)) {
    case Box3:
        SetCell(box, Box2);
        return true;
    case Box2:
        SetCell(box, Box1);
        return true;
    default:
        SetCell(box, Empty); // a one-object box is used up
        return false;
    }
}

void TActiveMap::Fall(TPos pos, TDir dir) {
    const TPos start = pos;
    const TPos above = Neighbour(start, Up);
    bool fell = false;
    bool rolled = false;
    do {
        const TPos below = Neighbour(pos, Down);
        const std::uint8_t under = GetCell(below);
        const std::uint8_t code = GetCell(pos);
        rolled = false;
        if (under == Empty) {
            MoveObject(pos, below);
            pos = below;
            fell = true;
        } else if (IsBox(under)) {
            // Also an object that has not fallen yet, such as one pushed onto a box.
            LandOnBox(pos, below);
            fell = false;
        } else if (fell) {
            if (code == Bomb) {
                if (under == Stone || under == Bomb)
                    Explode(pos, below);
                else if (under == Wall)
                    Explode(pos, pos); // a bomb landing on a wall destroys only itself
                else
                    Thud();
            } else if (under == Bomb) {
                Thud(); // a falling stone or box does not set a bomb off
            } else {
                rolled = Roll(pos, dir);
            }
            fell = false;
        }
    } while (fell || rolled);

    // The object that rested on this one follows it down, and so the whole column.
    if (PosDiffer(pos, start) && IsFalling(GetCell(above))) Fall(above, Down);
}

void TActiveMap::Blocked() {}

bool TActiveMap::MoveHeroTo(TPos pos) {
    if (IsUnsafeStepDown(pos)) {
        Blocked();
        return false;
    }
    SetCell(HeroPos, Empty);
    SetCell(pos, Hero); // grass or food in the cell is simply overwritten
    return true;
}

void TActiveMap::MoveObject(TPos from, TPos to) {
    const std::uint8_t code = GetCell(from);
    SetCell(from, Empty);
    SetCell(to, code);
    const TPos below = Neighbour(to, Down);
    // Once the last food is eaten the hero can no longer be crushed.
    if (GetCell(below) == Hero && FoodCount > 0) SetCell(below, Loser);
}

bool TActiveMap::DigGrass(TPos pos) {
    return MoveHeroTo(pos);
}

bool TActiveMap::EatFood(TPos pos) {
    return MoveHeroTo(pos);
}

bool TActiveMap::Roll(TPos& pos, TDir& dir) {
    if (!IsSlippery(GetCell(Neighbour(pos, Down)))) return false;
    if (dir == Up || dir == Down) dir = RollSide(pos);
    auto sideFree = [this, pos](TDir side) {
        const TPos next = Neighbour(pos, side);
        if (GetCell(next) != Empty) return false;
        const std::uint8_t under = GetCell(Neighbour(next, Down));
        return under == Empty || IsBox(under) || under == Hero;
    };
    const bool leftFree = sideFree(Left);
    const bool rightFree = sideFree(Right);
    if (!leftFree && !rightFree) return false;
    // Both sides free: left, unless the object is already heading right.
    if (leftFree && rightFree)
        dir = dir == Right ? Right : Left;
    else
        dir = leftFree ? Left : Right;
    const TPos to = Neighbour(pos, dir);
    MoveObject(pos, to);
    pos = to;
    return true;
}

void TActiveMap::Thud() {}

bool TActiveMap::IsUnsafeStepDown(TPos pos) {
    if (pos.X != HeroPos.X || pos.Y <= HeroPos.Y) return false;
    if (!IsFalling(GetCell(Neighbour(HeroPos, Up)))) return false;
    // Stepping onto the last food is always allowed: the level is won at once.
    const bool lastFood = GetCell(Neighbour(HeroPos, Down)) == Food && FoodCount <= 1;
    return !lastFood;
}

bool TActiveMap::CanPush(TPos pos, TDir dir) const {
    return (dir == Left || dir == Right) && GetCell(Neighbour(pos, dir)) == Empty;
}

TDir TActiveMap::RollSide(TPos pos) const {
    if (HeroPos.X < pos.X) return Left;
    if (HeroPos.X > pos.X) return Right;
    return Down;
}

} // namespace tb
