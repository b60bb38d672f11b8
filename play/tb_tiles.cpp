#include "play/tb_tiles.h"

#include "art/tb_art.h"

namespace tb {

TTileSet BuiltInTiles(int size) {
    TTileSet set;
    const int pixels = TilePixelsOf(size);
    const std::string_view style = SpriteSetNames().front();
    for (int code = 0; code < static_cast<int>(set.Cells.size()); ++code) {
        const std::string_view name = CellPictureName(code);
        if (!name.empty())
            set.Cells[static_cast<std::size_t>(code)] = DrawCellPicture(style, name, pixels);
    }
    for (int frame = 1; frame <= 4; ++frame) {
        set.Boom[static_cast<std::size_t>(frame - 1)] = DrawBlastFrame(frame, pixels, false);
        set.Impl[static_cast<std::size_t>(frame - 1)] = DrawBlastFrame(frame, pixels, true);
    }
    return set;
}

} // namespace tb
