#include "tools/cli/moves.h"

#include "engine/tb_levsol.h"
#include "services/d_error.h"

namespace tb::cli {

namespace {

bool MoveLetter(char c, TDir& dir) {
    switch (c) {
    case 'U':
    case 'u':
        dir = Up;
        return true;
    case 'D':
    case 'd':
        dir = Down;
        return true;
    case 'L':
    case 'l':
        dir = Left;
        return true;
    case 'R':
    case 'r':
        dir = Right;
        return true;
    default:
        return false;
    }
}

} // namespace

std::vector<TDir> ParseMoves(std::string_view text) {
    constexpr unsigned long MaxCount = 65535;
    std::vector<TDir> moves;
    unsigned long count = 0;
    bool digits = false;
    for (char c : text) {
        TDir dir{};
        if (c >= '0' && c <= '9') {
            count = count * 10 + static_cast<unsigned long>(c - '0');
            if (count > MaxCount) throw Error("repeat count above 65535");
            digits = true;
        } else if (MoveLetter(c, dir)) {
            moves.insert(moves.end(), digits ? count : 1, dir);
            count = 0;
            digits = false;
        } else if (c != ' ' && c != '\t') {
            throw Error(std::string("bad move letter '") + c + "'");
        }
    }
    if (digits) throw Error("repeat count without a move letter");
    return moves;
}

std::string MovesText(const std::vector<TDir>& moves) {
    if (moves.size() > TLevSol::MaxMoves) throw Error("more than 4096 moves");
    TLevSol solution(static_cast<std::uint16_t>(moves.size()));
    for (TDir dir : moves)
        solution.Add(dir);
    return solution.MovesText();
}

} // namespace tb::cli
