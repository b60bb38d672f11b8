#pragma once
// Move lists as level authors type them: the one-line solution form, letters
// U, D, L, R (either case), each optionally preceded by a repeat count, blanks
// allowed anywhere ("3UL2D" is up, up, up, left, down, down).

#include "engine/tb_types.h"

#include <string>
#include <string_view>
#include <vector>

namespace tb::cli {

// The moves of `text`. Throws Error("bad move letter 'x'") for a character that
// is not a move letter, a digit or a blank, Error("repeat count without a move
// letter") for digits at the end, and Error("repeat count above 65535").
std::vector<TDir> ParseMoves(std::string_view text);

// The run-length form of a move list ("3UL2D"), as a solution record writes
// it; an empty list gives "". More than 4096 moves is an Error.
std::string MovesText(const std::vector<TDir>& moves);

} // namespace tb::cli
