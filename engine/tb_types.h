#pragma once
// Cell codes, positions, directions and game states of the puzzle.

#include <cstdint>
#include <string_view>

namespace tb {

// One cell of a level. Code 0 comes only from a character outside the alphabet;
// it behaves like the reserved codes 10 to 13.
enum TCell : std::uint8_t {
    Unknown = 0,
    Empty = 1,
    Grass = 2,
    Wall = 3,
    Stone = 4,
    Food = 5,
    Box1 = 6,
    Box2 = 7,
    Box3 = 8,
    Bomb = 9,
    Reserved1 = 10,
    Reserved2 = 11,
    Reserved3 = 12,
    Reserved4 = 13,
    Hero = 14,
    Loser = 15,
    Outside = 16,
};

// The text character of code c is CellAlphabet[c - 1].
inline constexpr std::string_view CellAlphabet = " -#*+<>=!@$^&HO%";

// The picture file names of a sprite set, by picture index 0..10
// (cells Empty..Bomb, then Hero and Loser).
inline constexpr std::string_view CellPictureNames[] = {
    "0-empty", "1-grass", "2-wall", "3-stone",  "4-food",  "5-box1",
    "6-box2",  "7-box3",  "8-bomb", "9-tobbin", "a-loser",
};

// The picture index of a cell code, or -1 for codes without a picture (0, 10..13, 16).
constexpr int CellPicture(std::uint8_t code) {
    if (code >= Empty && code <= Bomb) return code - 1;
    if (code == Hero) return 9;
    if (code == Loser) return 10;
    return -1;
}

// Stone, Box1..Box3 and Bomb fall when the cell below empties.
constexpr bool IsFalling(std::uint8_t code) {
    return code == Stone || code == Box1 || code == Box2 || code == Box3 || code == Bomb;
}
constexpr bool IsBox(std::uint8_t code) {
    return code == Box1 || code == Box2 || code == Box3;
}
// An object landing on a stone or a bomb may roll off it.
constexpr bool IsSlippery(std::uint8_t code) {
    return code == Stone || code == Bomb;
}

// A move direction; also the move codes stored in solutions.
enum TDir : std::uint8_t { Up = 0, Down = 1, Left = 2, Right = 3 };

// A cell position: column X 1..31, row Y 1..18; (0, 0) is no position. The ring
// just outside the grid (X 0 or 32, Y 0 or 19) reads as Outside.
struct TPos {
    std::uint8_t X = 0;
    std::uint8_t Y = 0;

    constexpr TPos() = default;
    constexpr TPos(int x, int y)
        : X(static_cast<std::uint8_t>(x)), Y(static_cast<std::uint8_t>(y)) {}
    // The 16-bit word form: column in the low byte, row in the high byte.
    constexpr std::uint16_t Word() const { return static_cast<std::uint16_t>(X | (Y << 8)); }
    static constexpr TPos FromWord(std::uint16_t w) { return TPos(w & 0xFF, w >> 8); }
    constexpr bool IsNone() const { return Y == 0; }
    friend constexpr bool operator==(TPos a, TPos b) = default;
};

// The state of the level in play; the values are stored and passed as bytes.
enum class TState : std::uint8_t { None = 0, Ready = 1, Play = 2, Replay = 3, Done = 4 };

} // namespace tb
