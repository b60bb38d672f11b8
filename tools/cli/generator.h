#pragma once
// The level generator of tobbin-cli: lays out random levels inside a frame of
// walls (or inside the open cells of a shape an author drew), lets every object
// settle so that the level starts at rest, solves each with the solver and
// keeps those whose shortest solution has the wanted length and sets off the
// wanted events. Everything follows from the seed: the same options give the
// same levels on every machine.

#include "engine/tb_map.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tb::cli {

// The events a shortest solution may be required to contain.
enum TMechanic : unsigned {
    MechPush = 1, // the hero pushes an object sideways
    MechRoll = 2, // a falling object rolls off a stone or a bomb
    MechBox = 4,  // an object falls into a box
    MechBomb = 8, // a bomb goes off
};

// "push,roll" -> MechPush | MechRoll; Error for an unknown name.
unsigned ParseMechanics(const std::string& text);
// The names of the mechanics in `set`, comma-separated ("" for none).
std::string MechanicsText(unsigned set);

// How many of each kind the generator places (walls are extra walls inside
// the frame). Parsed from "stone:4,food:3,bomb:1".
struct TObjectCounts {
    int Food = 3;
    int Stone = 4;
    int Grass = 10;
    int Wall = 3;
    int Box1 = 0;
    int Box2 = 0;
    int Box3 = 0;
    int Bomb = 0;
    int Total() const { return Food + Stone + Grass + Wall + Box1 + Box2 + Box3 + Bomb; }
};

// Error for an unknown kind or a count outside 0..200.
TObjectCounts ParseObjects(const std::string& text);

struct TGenerateOptions {
    std::uint64_t Seed = 1;
    int Count = 1;
    // The open area inside the frame of walls (ignored with a shape).
    int Width = 8;
    int Height = 5;
    TObjectCounts Objects;
    int MinSteps = 8;
    int MaxSteps = 60;
    unsigned Needs = 0;
    // Limit of one search; a candidate whose search gives up is dropped.
    std::uint64_t MaxStates = 200'000;
    // Candidates tried before the generator stops short of Count.
    int MaxTries = 5000;
    // Optional shape: its unknown cells (drawn '.'), or its Empty cells when it
    // has none, are where objects go (unknown cells left over become Empty);
    // every other cell, a hero included, stays as drawn. Without a hero the
    // hero is placed too.
    const TMap* Shape = nullptr;
    // Objects are placed in pairs mirrored about the middle column of the
    // area; an odd count's last object takes a cell on the middle column
    // (and is left out when none is free).
    bool Mirror = false;
};

struct TGeneratedLevel {
    std::unique_ptr<TMap> Map;
    std::vector<TDir> Solution;  // a shortest solution
    std::uint64_t Positions = 0; // positions the search met
    int Forced = 0;              // moves of the solution that were the only useful move
    unsigned Mechanics = 0;      // the events of the solution
    int Try = 0;                 // the candidate's number (1-based)
};

struct TGenerateProgress {
    int Tries = 0;
    int Kept = 0;
};

// The events that playing `moves` from `level` sets off.
unsigned SolutionMechanics(const TMap& level, const std::vector<TDir>& moves);

// How many positions along `moves` offer one useful move only (every other
// move is blocked, changes nothing, or loses the level).
int ForcedMoves(const TMap& level, const std::vector<TDir>& moves);

// Generates up to options.Count levels; fewer when MaxTries runs out.
// Width 3..29, Height 2..16, MinSteps <= MaxSteps, and a shape with room for
// the objects are required (Error otherwise).
std::vector<TGeneratedLevel>
Generate(const TGenerateOptions& options,
         const std::function<void(const TGenerateProgress&)>& progress = {});

} // namespace tb::cli
