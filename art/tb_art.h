#pragma once
// The game's own pictures, drawn with QPainter: the cell tiles of every sprite
// set at every tile size, the explosion and implosion frames, and the skin
// pictures (dialog backgrounds, panel strip, splash, title and
// congratulations pictures).
//
// The generator gen_pictures writes them into the program folder at build
// time; the window also calls these functions for its built-in tiles, so a
// program folder without img/ still shows a playable field.
// Every function works on any QImage-capable thread once a QGuiApplication
// exists (the texts of the skin pictures need its fonts).

#include <QImage>

#include <span>
#include <string_view>

namespace tb {

// The tile sizes 1 to 4 (Small, Medium, Large, Huge) in pixels: 16, 24, 32, 40.
inline constexpr int kTilePixels[4] = {16, 24, 32, 40};

// The sprite sets, the default ("Apples") first.
std::span<const std::string_view> SpriteSetNames();

// The 11 cell picture names in file order: "0-empty", "1-grass", "2-wall",
// "3-stone", "4-food", "5-box1", "6-box2", "7-box3", "8-bomb", "9-tobbin",
// "a-loser".
std::span<const std::string_view> CellPictureNames();

// The picture name of a cell code (1 "0-empty" ... 9 "8-bomb", 14 "9-tobbin",
// 15 "a-loser"); an empty text for the codes without a picture.
std::string_view CellPictureName(int cellCode);

// One cell picture of a sprite set, pixels × pixels, opaque (RGB32).
// An unknown set draws the default set; an unknown name gives a null image.
// Boxes show how full they are: "7-box3" full, "6-box2" less, "5-box1" almost
// empty. Any size works; the pictures are designed for the four tile sizes.
QImage DrawCellPicture(std::string_view setName, std::string_view name, int pixels);

// The program's icon, pixels × pixels with a transparent ground: the hero of
// the default sprite set. The window, the tray and the desktop's menu show it.
QImage DrawProgramIcon(int pixels);

// Frame 1 to 4 of the explosion of a bomb (implosion false) or of a used-up
// box (implosion true), pixels × pixels, ARGB32 premultiplied. Outside the
// blast the picture is `backdrop`: transparent by default, so the caller
// paints the empty cell first and the frame over it. Frame 0 or above 4 gives
// a null image.
QImage DrawBlastFrame(int frame, int pixels, bool implosion, QColor backdrop = Qt::transparent);

// The skins, the default ("Standard") first.
std::span<const std::string_view> SkinNames();

// The picture names of a skin folder: "tb_spl", "tb_box", "tb_list",
// "tb_pan", "tb_pic", "tb_fin" (each shipped as .bmp and .jpg).
std::span<const std::string_view> SkinPictureNames();

// One skin picture, opaque (RGB32): "tb_box" 316 × 111 dialog background,
// "tb_list" 400 × 300 list background, "tb_pan" 500 × 60 panel strip,
// "tb_spl" 400 × 260 splash, "tb_pic" 992 × 576 title picture of the play
// field, "tb_fin" 260 × 260 congratulations picture. An unknown skin draws
// the default skin; an unknown name gives a null image.
QImage DrawSkinPicture(std::string_view skinName, std::string_view name);

} // namespace tb
