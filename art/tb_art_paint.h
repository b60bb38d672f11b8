#pragma once
// Drawing helpers shared by the sprite sets, the blasts and the skins.
// A cell is drawn in a 16 × 16 unit square (the painter is scaled so that the
// cell covers the tile); `px` is the tile's real size in pixels, so outlines
// stay one or two real pixels wide and rectangles sit on the pixel grid.

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>

#include <cstdint>

namespace tb::art {

enum class TCell { Empty, Grass, Wall, Stone, Food, Box1, Box2, Box3, Bomb, Hero, Loser };
inline constexpr int kCellCount = 11;

// Paints one cell of a set (0 "Apples", 1 "Crystal") into the unit square
// (0, 0)–(16, 16) of the painter. Without `ground` only the object is drawn
// (stone, food, bomb, hero...) on whatever lies below, for the skin pictures.
void PaintCell(QPainter& p, int set, TCell cell, int px, bool ground);
void PaintApples(QPainter& p, TCell cell, int px, bool ground);
void PaintCrystal(QPainter& p, TCell cell, int px, bool ground);

// Sets the painter up for a cell at (x, y) of `px` pixels: antialiasing on,
// the unit square mapped onto the tile.
void BeginCell(QPainter& p, double x, double y, int px);

// One real pixel in units.
inline double Pixel(int px) {
    return 16.0 / px;
}
// The outline width in units: 1 real pixel up to 29 px tiles, 2 above.
inline double Outline(int px) {
    return (px >= 30 ? 2.0 : 1.0) * 16.0 / px;
}
// A unit coordinate moved onto the pixel grid.
double Snap(double units, int px);
// A rectangle in units whose edges sit on the pixel grid.
QRectF SnapRect(double x0, double y0, double x1, double y1, int px);

QPen OutlinePen(const QColor& c, int px, double widthScale = 1.0);
// A ball lit from the top left.
QRadialGradient BallGradient(QPointF centre, double radius, const QColor& light,
                             const QColor& dark);
// A star of `points` points, its tips on `outer`, its notches on `inner`.
QPainterPath StarPath(QPointF centre, double outer, double inner, int points, double turn = 0.0);
// A deterministic pseudo-random number from a seed, 0 <= result < 1.
double Noise(std::uint32_t seed);

// The two eyes of the hero: white eyes, dark pupils looking along (dx, dy).
void PaintEyes(QPainter& p, QPointF left, QPointF right, double rx, double ry, double pupil,
               QPointF look, int px);
// Two crossed strokes: the eyes of the crushed hero.
void PaintCrossEye(QPainter& p, QPointF centre, double r, const QColor& c, int px);

} // namespace tb::art
