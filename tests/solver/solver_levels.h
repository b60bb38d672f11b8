#pragma once
// Levels for the solver's tests: built from rows, made at random from a seed,
// and solved by a plain breadth-first search that the solver must agree with.

#include "engine/tb_activemap.h"
#include "solver/tb_solver.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tb::test {

// A position the tests can play on with the engine's rules.
class TPosition final : public TActiveMap {
public:
    TPosition() = default;
    explicit TPosition(const TMap& other) { Assign(other); }
    void CopyFrom(const TMap& other) { Assign(other); }
    // A crushed hero or no food left ends the level.
    bool Won() const { return FoodCount == 0; }
    bool Lost() const { return !HeroPos.IsNone() && GetCell(HeroPos) == Loser; }
};

// The rows in the cell alphabet at the top left of the grid; every other cell
// is a wall.
std::unique_ptr<TPosition> MakeLevel(const std::vector<std::string>& rows);

// The rows of the level R R loses: the upper stone rolls onto the hero's head.
inline const std::vector<std::string> CrushRows = {"#######", "##*####", "##* ###",
                                                   "#H- -+#", "# # ###", "#   ###"};

// A playable level of width x height open cells inside walls, made from the
// seed: grass, stones, food, boxes, bombs and a few walls, everything at rest.
std::unique_ptr<TPosition> RandomLevel(std::uint32_t seed, int width, int height);

// The fewest-steps solution by the plainest search: whole grids in a set,
// positions in a queue, moves tried in the order Up, Down, Left, Right.
// Solved, Unsolvable, or GaveUp beyond maxStates positions.
TSolveResult ReferenceSolve(const TMap& level, std::size_t maxStates = 2'000'000);

// The rows of a level (its first rows x cols cells), for messages.
std::string Rows(const TMap& level, int cols, int rows);

// Whether the moves win the level with the last of them.
bool Wins(const TMap& level, const std::vector<TDir>& moves);

} // namespace tb::test
