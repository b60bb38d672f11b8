#include "tools/assets/sheets/tb_sheettiles.h"

#include "art/tb_art.h"

namespace tb {

std::array<QImage, 17> SheetTiles(int pixels) {
    const std::string_view style = SpriteSetNames().front();
    std::array<QImage, 17> tiles;
    for (int code = 0; code < static_cast<int>(tiles.size()); ++code) {
        const std::string_view name = CellPictureName(code);
        if (!name.empty())
            tiles[static_cast<std::size_t>(code)] = DrawCellPicture(style, name, pixels);
    }
    return tiles;
}

} // namespace tb
