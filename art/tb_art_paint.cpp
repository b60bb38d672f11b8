#include "art/tb_art_paint.h"

#include <cmath>
#include <numbers>

namespace tb::art {

void PaintCell(QPainter& p, int set, TCell cell, int px, bool ground) {
    if (set == 1)
        PaintCrystal(p, cell, px, ground);
    else
        PaintApples(p, cell, px, ground);
}

void BeginCell(QPainter& p, double x, double y, int px) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.translate(x, y);
    p.scale(px / 16.0, px / 16.0);
}

double Snap(double units, int px) {
    return std::round(units * px / 16.0) * 16.0 / px;
}

QRectF SnapRect(double x0, double y0, double x1, double y1, int px) {
    const double l = Snap(x0, px), t = Snap(y0, px);
    return QRectF(l, t, Snap(x1, px) - l, Snap(y1, px) - t);
}

QPen OutlinePen(const QColor& c, int px, double widthScale) {
    QPen pen(c, Outline(px) * widthScale);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

QRadialGradient BallGradient(QPointF centre, double radius, const QColor& light,
                             const QColor& dark) {
    QRadialGradient g(centre, radius * 1.25, centre + QPointF(-radius * 0.45, -radius * 0.5));
    g.setColorAt(0.0, light);
    g.setColorAt(1.0, dark);
    return g;
}

QPainterPath StarPath(QPointF centre, double outer, double inner, int points, double turn) {
    QPainterPath path;
    for (int i = 0; i < points * 2; ++i) {
        const double a = turn + i * std::numbers::pi / points - std::numbers::pi / 2;
        const double r = i % 2 == 0 ? outer : inner;
        const QPointF q = centre + QPointF(std::cos(a) * r, std::sin(a) * r);
        if (i == 0)
            path.moveTo(q);
        else
            path.lineTo(q);
    }
    path.closeSubpath();
    return path;
}

double Noise(std::uint32_t seed) {
    std::uint32_t x = seed * 0x9E3779B1u + 0x7F4A7C15u;
    x ^= x >> 15;
    x *= 0x2C1B3C6Du;
    x ^= x >> 12;
    x *= 0x297A2D39u;
    x ^= x >> 15;
    return (x & 0xFFFFFF) / double(0x1000000);
}

void PaintEyes(QPainter& p, QPointF left, QPointF right, double rx, double ry, double pupil,
               QPointF look, int px) {
    p.setPen(OutlinePen(QColor(20, 20, 30), px, 0.8));
    p.setBrush(Qt::white);
    p.drawEllipse(left, rx, ry);
    p.drawEllipse(right, rx, ry);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(15, 15, 25));
    p.drawEllipse(left + look, pupil, pupil * 1.15);
    p.drawEllipse(right + look, pupil, pupil * 1.15);
    if (px >= 24) {
        p.setBrush(Qt::white);
        const QPointF glint(-pupil * 0.35, -pupil * 0.45);
        p.drawEllipse(left + look + glint, pupil * 0.35, pupil * 0.35);
        p.drawEllipse(right + look + glint, pupil * 0.35, pupil * 0.35);
    }
}

void PaintCrossEye(QPainter& p, QPointF centre, double r, const QColor& c, int px) {
    p.setPen(OutlinePen(c, px, 1.3));
    p.drawLine(centre + QPointF(-r, -r), centre + QPointF(r, r));
    p.drawLine(centre + QPointF(-r, r), centre + QPointF(r, -r));
}

} // namespace tb::art
