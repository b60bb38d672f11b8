#pragma once
// The level sheet of a game: all its levels side by side, each under its
// number and name, drawn with the game's own tiles, so that an author or a
// reviewer sees a whole collection at a glance.

#include "games/tb_mapset.h"

#include <QImage>

namespace tb {

// The cells of a level worth showing: the box around every cell that is not a
// wall, widened by one cell of the frame where the grid allows.
struct TLevelCrop {
    int X0 = 1, Y0 = 1, X1 = TMap::Width, Y1 = TMap::Height; // inclusive, 1-based
    int Columns() const { return X1 - X0 + 1; }
    int Rows() const { return Y1 - Y0 + 1; }
};
TLevelCrop LevelCrop(const TMap& map);

// One picture of the game: a title line (name, author, skill, level count),
// then the levels in rows of `perRow`, each cropped to its LevelCrop and drawn
// at `tilePixels` a cell. Needs a QGuiApplication (for the fonts).
QImage DrawLevelSheet(const TMapSet& game, int tilePixels = 16, int perRow = 3);

} // namespace tb
