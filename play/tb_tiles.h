#pragma once
// The tile pictures of the play window: for each tile size a picture per cell
// code, and the four frames of an explosion and of an implosion. The built-in
// ones are drawn by the program itself; a sprite set's files replace them.

#include <QImage>

#include <array>

namespace tb {

struct TTileSet {
    std::array<QImage, 17> Cells; // by cell code; null for codes without a picture
    std::array<QImage, 4> Boom;   // drawn over the empty cell, frame by frame
    std::array<QImage, 4> Impl;
};

// The pixels of a tile size 1..4: 16, 24, 32, 40.
constexpr int TilePixelsOf(int size) {
    return 8 * (size - 1) + 16;
}

// The program's own pictures for one tile size, in the default sprite set.
TTileSet BuiltInTiles(int size);

} // namespace tb
