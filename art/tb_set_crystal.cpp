// "Crystal": a cave at night. Deep blue tunnels, teal crystal gravel,
// riveted steel plates, faceted silver rocks, pink gems to collect, glass
// jars of glowing green, spiked red mines, and the hero in an orange suit.

#include "art/tb_art_paint.h"

#include <cmath>

namespace tb::art {
namespace {

void Cave(QPainter& p, int px) {
    QLinearGradient g(0, 0, 16, 16);
    g.setColorAt(0, QColor(30, 38, 78));
    g.setColorAt(1, QColor(18, 22, 50));
    p.fillRect(QRectF(0, 0, 16, 16), g);
    p.setPen(Qt::NoPen);
    const int specks = px >= 24 ? 5 : 3;
    for (int i = 0; i < specks; ++i) {
        const double x = 1 + Noise(100 + i * 2) * 14, y = 1 + Noise(101 + i * 2) * 14;
        p.setBrush(QColor(90, 110, 180, i % 2 ? 150 : 110));
        p.drawEllipse(QPointF(x, y), Pixel(px) * 0.6, Pixel(px) * 0.6);
    }
}

void Gravel(QPainter& p, int px) {
    p.fillRect(QRectF(0, 0, 16, 16), QColor(24, 118, 116));
    // A lattice of small diamonds, light on the top-left faces.
    const int n = px >= 30 ? 4 : 3;
    const double s = 16.0 / n;
    for (int r = 0; r <= n; ++r) {
        for (int c = 0; c <= n; ++c) {
            const QPointF m(c * s + (r % 2 ? s / 2 : 0), r * s);
            const double w = s * 0.48;
            QPainterPath top, bottom;
            top.moveTo(m.x() - w, m.y());
            top.lineTo(m.x(), m.y() - w);
            top.lineTo(m.x() + w, m.y());
            top.closeSubpath();
            bottom.moveTo(m.x() - w, m.y());
            bottom.lineTo(m.x(), m.y() + w);
            bottom.lineTo(m.x() + w, m.y());
            bottom.closeSubpath();
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(92, 214, 196));
            p.drawPath(top);
            p.setBrush(QColor(14, 78, 84));
            p.drawPath(bottom);
        }
    }
}

void Plates(QPainter& p, int px) {
    const double one = Pixel(px);
    p.fillRect(QRectF(0, 0, 16, 16), QColor(22, 26, 40));
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 2; ++c) {
            const QRectF q =
                SnapRect(c * 8.0, r * 8.0, c * 8.0 + 8.0 - one, r * 8.0 + 8.0 - one, px);
            p.fillRect(q, QColor(96, 108, 140));
            p.fillRect(QRectF(q.left(), q.top(), q.width(), one), QColor(170, 182, 214));
            p.fillRect(QRectF(q.left(), q.top(), one, q.height()), QColor(150, 162, 196));
            p.fillRect(QRectF(q.left(), q.bottom() - one, q.width(), one), QColor(50, 58, 84));
            p.fillRect(QRectF(q.right() - one, q.top(), one, q.height()), QColor(60, 68, 96));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(40, 46, 66));
            const double d = px >= 24 ? 2.0 : 0.0;
            if (px >= 24) {
                for (QPointF k : {q.topLeft() + QPointF(d, d), q.bottomRight() - QPointF(d, d)})
                    p.drawEllipse(k, one * 0.9, one * 0.9);
            } else {
                p.fillRect(QRectF(q.center().x() - one / 2, q.center().y() - one / 2, one, one),
                           QColor(44, 50, 72));
            }
        }
    }
}

void Rock(QPainter& p, int px) {
    // A six-sided faceted rock: light top, mid left, dark right.
    const QPointF a(4.2, 2.4), b(11.4, 2.0), c(14.8, 8.0), d(12.4, 14.6), e(4.0, 14.8), f(1.4, 8.6);
    const QPointF m(7.8, 7.4);
    auto face = [&](std::initializer_list<QPointF> pts, const QColor& col) {
        QPainterPath path;
        bool first = true;
        for (QPointF q : pts) {
            if (first)
                path.moveTo(q);
            else
                path.lineTo(q);
            first = false;
        }
        path.closeSubpath();
        p.setBrush(col);
        p.drawPath(path);
    };
    p.setPen(Qt::NoPen);
    face({a, b, c, m}, QColor(222, 226, 240));
    face({a, m, e, f}, QColor(160, 166, 192));
    face({m, c, d, e}, QColor(106, 110, 138));
    p.setBrush(Qt::NoBrush);
    p.setPen(OutlinePen(QColor(24, 26, 42), px));
    QPainterPath rim;
    rim.moveTo(a);
    for (QPointF q : {b, c, d, e, f})
        rim.lineTo(q);
    rim.closeSubpath();
    p.drawPath(rim);
    if (px >= 24) {
        p.setPen(OutlinePen(QColor(60, 64, 90, 160), px, 0.6));
        p.drawLine(a, m);
        p.drawLine(m, c);
        p.drawLine(m, e);
    }
}

void Gem(QPainter& p, int px) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 80, 180, 60));
    p.drawEllipse(QPointF(8, 8.5), 7.4, 7.0);
    // Crown and pavilion of a cut gem.
    const QPointF l(1.8, 6.4), tl(4.8, 2.8), tr(11.2, 2.8), r(14.2, 6.4), tip(8.0, 14.8);
    QPainterPath crown;
    crown.moveTo(l);
    crown.lineTo(tl);
    crown.lineTo(tr);
    crown.lineTo(r);
    crown.closeSubpath();
    QPainterPath pavilion;
    pavilion.moveTo(l);
    pavilion.lineTo(r);
    pavilion.lineTo(tip);
    pavilion.closeSubpath();
    p.setBrush(QColor(255, 150, 214));
    p.drawPath(crown);
    QLinearGradient g(0, 6, 16, 14);
    g.setColorAt(0, QColor(240, 60, 170));
    g.setColorAt(1, QColor(150, 10, 100));
    p.setBrush(g);
    p.drawPath(pavilion);
    p.setPen(OutlinePen(QColor(90, 0, 60), px));
    p.setBrush(Qt::NoBrush);
    QPainterPath rim;
    rim.moveTo(l);
    rim.lineTo(tl);
    rim.lineTo(tr);
    rim.lineTo(r);
    rim.lineTo(tip);
    rim.closeSubpath();
    p.drawPath(rim);
    if (px >= 24) {
        p.setPen(OutlinePen(QColor(120, 10, 80), px, 0.6));
        p.drawLine(l, r);
        p.drawLine(QPointF(6.0, 6.4), tip);
        p.drawLine(QPointF(10.0, 6.4), tip);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(StarPath(QPointF(5.6, 4.6), 2.0, 0.5, 4));
}

// A glass jar; `level` thirds of it glow green.
void Jar(QPainter& p, int px, int level) {
    const double one = Pixel(px);
    const QRectF glass = SnapRect(2, 2, 14, 15, px);
    const QRectF lid = SnapRect(4, 0.6, 12, 2.6, px);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(170, 180, 204));
    p.drawRoundedRect(lid, one, one);
    p.setBrush(QColor(8, 12, 30));
    p.setPen(OutlinePen(QColor(210, 220, 240), px, px >= 30 ? 1.0 : 1.0));
    p.drawRoundedRect(glass, 2.4, 2.4);
    const QRectF inside = glass.adjusted(1.5 * Outline(px), 1.5 * Outline(px), -1.5 * Outline(px),
                                         -1.5 * Outline(px));
    const double h = Snap(inside.height() * level / 3.0, px);
    QRectF liquid(inside.left(), inside.bottom() - h, inside.width(), h);
    QLinearGradient g(0, liquid.top(), 0, liquid.bottom());
    g.setColorAt(0, QColor(200, 255, 120));
    g.setColorAt(1, QColor(70, 190, 30));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    QPainterPath clip;
    clip.addRoundedRect(inside, 1.6, 1.6);
    p.save();
    p.setClipPath(clip);
    p.drawRect(liquid);
    p.fillRect(QRectF(liquid.left(), liquid.top(), liquid.width(), one), QColor(240, 255, 200));
    // Marks of the thirds on the glass.
    for (int i = 1; i < 3; ++i) {
        const double y = inside.bottom() - Snap(inside.height() * i / 3.0, px);
        p.fillRect(QRectF(inside.right() - 2.5, y, 2.5, one), QColor(150, 170, 210, 170));
    }
    p.restore();
    p.setBrush(QColor(255, 255, 255, 110));
    p.drawRect(QRectF(glass.left() + 1.2, glass.top() + 1.6, Pixel(px) * (px >= 24 ? 2 : 1),
                      glass.height() * 0.5));
}

void Mine(QPainter& p, int px) {
    const QPointF c(8, 8.4);
    p.setPen(OutlinePen(QColor(200, 206, 224), px, 1.6));
    for (int i = 0; i < 8; ++i) {
        const double a = i * 3.14159265 / 4;
        p.drawLine(c + QPointF(std::cos(a) * 4.5, std::sin(a) * 4.5),
                   c + QPointF(std::cos(a) * 7.2, std::sin(a) * 7.2));
    }
    p.setPen(OutlinePen(QColor(40, 0, 8), px));
    p.setBrush(BallGradient(c, 5.2, QColor(255, 90, 80), QColor(110, 6, 16)));
    p.drawEllipse(c, 5.0, 5.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 240, 120));
    p.drawEllipse(c, 1.8, 1.8);
    p.setBrush(QColor(255, 255, 255, 160));
    p.drawEllipse(c + QPointF(-2.2, -2.4), 1.2, 0.8);
}

const QColor kSuit(255, 140, 30), kSuitDark(130, 56, 0), kVisor(90, 224, 255);

void Spaceman(QPainter& p, int px) {
    // Antenna with its light.
    p.setPen(OutlinePen(QColor(220, 220, 230), px, 0.9));
    p.drawLine(QPointF(11.0, 3.6), QPointF(12.4, 1.2));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 240, 90));
    p.drawEllipse(QPointF(12.6, 1.3), 1.2, 1.2);
    // Boots and body.
    p.setPen(OutlinePen(kSuitDark, px));
    p.setBrush(QColor(70, 70, 90));
    p.drawRoundedRect(QRectF(3.4, 13.4, 3.6, 2.2), 0.8, 0.8);
    p.drawRoundedRect(QRectF(9.0, 13.4, 3.6, 2.2), 0.8, 0.8);
    p.setBrush(BallGradient(QPointF(8, 8.6), 6.0, QColor(255, 200, 110), kSuit));
    p.drawRoundedRect(QRectF(2.0, 2.8, 12.0, 11.4), 5.0, 5.0);
    // Visor with the eyes behind it.
    p.setBrush(QColor(20, 40, 70));
    p.setPen(OutlinePen(kSuitDark, px, 0.8));
    const QRectF visor(3.6, 5.0, 8.8, 5.6);
    p.drawRoundedRect(visor, 2.6, 2.6);
    p.setPen(Qt::NoPen);
    p.setBrush(kVisor);
    p.drawEllipse(QPointF(6.2, 7.8), 1.3, 1.6);
    p.drawEllipse(QPointF(9.8, 7.8), 1.3, 1.6);
    p.setBrush(QColor(10, 20, 40));
    p.drawEllipse(QPointF(6.5, 8.1), 0.6, 0.8);
    p.drawEllipse(QPointF(10.1, 8.1), 0.6, 0.8);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawRoundedRect(QRectF(4.4, 5.6, 3.0, 0.9), 0.4, 0.4);
}

void Flattened(QPainter& p, int px) {
    p.setPen(OutlinePen(kSuitDark, px));
    p.setBrush(BallGradient(QPointF(8, 12.8), 7.0, QColor(230, 170, 110), QColor(190, 96, 30)));
    QPainterPath flat;
    flat.moveTo(0.8, 15.3);
    flat.cubicTo(0.8, 10.8, 4.0, 10.0, 8.0, 10.0);
    flat.cubicTo(12.0, 10.0, 15.2, 10.8, 15.2, 15.3);
    flat.closeSubpath();
    p.drawPath(flat);
    // A cracked grey visor.
    p.setBrush(QColor(120, 130, 150));
    p.setPen(OutlinePen(kSuitDark, px, 0.8));
    p.drawRoundedRect(QRectF(3.4, 11.4, 9.2, 2.8), 1.2, 1.2);
    p.setPen(OutlinePen(QColor(30, 30, 40), px, 0.8));
    p.drawLine(QPointF(6.0, 11.5), QPointF(7.4, 13.0));
    p.drawLine(QPointF(7.4, 13.0), QPointF(6.8, 14.1));
    p.drawLine(QPointF(7.4, 13.0), QPointF(9.6, 12.0));
    // The antenna lies bent, its light out; sparks above.
    p.setPen(OutlinePen(QColor(200, 200, 210), px, 0.9));
    p.drawLine(QPointF(12.0, 10.6), QPointF(14.6, 9.4));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(130, 130, 120));
    p.drawEllipse(QPointF(14.8, 9.3), 1.0, 1.0);
    p.setBrush(QColor(120, 230, 255));
    p.drawPath(StarPath(QPointF(4.4, 5.2), 2.4, 0.7, 4, 0.4));
    p.drawPath(StarPath(QPointF(10.8, 4.0), 2.0, 0.6, 4, 0.0));
    if (px >= 24) p.drawPath(StarPath(QPointF(7.8, 7.2), 1.3, 0.4, 4, 0.2));
}

} // namespace

void PaintCrystal(QPainter& p, TCell cell, int px, bool ground) {
    p.save();
    if (cell == TCell::Grass)
        Gravel(p, px);
    else if (cell == TCell::Wall)
        Plates(p, px);
    else if (ground)
        Cave(p, px);
    switch (cell) {
    case TCell::Stone:
        Rock(p, px);
        break;
    case TCell::Food:
        Gem(p, px);
        break;
    case TCell::Box1:
        Jar(p, px, 1);
        break;
    case TCell::Box2:
        Jar(p, px, 2);
        break;
    case TCell::Box3:
        Jar(p, px, 3);
        break;
    case TCell::Bomb:
        Mine(p, px);
        break;
    case TCell::Hero:
        Spaceman(p, px);
        break;
    case TCell::Loser:
        Flattened(p, px);
        break;
    default:
        break;
    }
    p.restore();
}

} // namespace tb::art
