#pragma once
// The tiles of the level sheets: the default sprite set's cell pictures by cell
// code (null for codes without a picture). Kept apart from the engine's
// headers, whose list of picture names shares its name with the painter's.

#include <QImage>

#include <array>

namespace tb {

std::array<QImage, 17> SheetTiles(int pixels);

} // namespace tb
