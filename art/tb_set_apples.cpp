// "Apples": the default set. A sunny garden: pale sand tunnels, green turf,
// red-brown brick walls, grey boulders, red apples, wooden crates, black
// bombs with a lit fuse, and a round blue hero.

#include "art/tb_art_paint.h"

#include <cmath>

namespace tb::art {
namespace {

const QColor kSandLight(242, 228, 186);
const QColor kSandDark(228, 208, 156);
const QColor kSandSpeck(206, 182, 124);

void Sand(QPainter& p, int px) {
    QLinearGradient g(0, 0, 0, 16);
    g.setColorAt(0, kSandLight);
    g.setColorAt(1, kSandDark);
    p.fillRect(QRectF(0, 0, 16, 16), g);
    // A few grains, the same in every tile so that tunnels join seamlessly.
    p.setPen(Qt::NoPen);
    p.setBrush(kSandSpeck);
    const int grains = px >= 24 ? 7 : 4;
    for (int i = 0; i < grains; ++i) {
        const double x = 1 + Noise(i * 2 + 1) * 14, y = 1 + Noise(i * 2 + 2) * 14;
        p.drawEllipse(QPointF(x, y), Pixel(px) * 0.7, Pixel(px) * 0.6);
    }
}

void Grass(QPainter& p, int px) {
    QLinearGradient g(0, 0, 0, 16);
    g.setColorAt(0, QColor(112, 198, 70));
    g.setColorAt(1, QColor(70, 156, 46));
    p.fillRect(QRectF(0, 0, 16, 16), g);
    // Tufts: a dark V with a light tip, in a staggered pattern.
    const int rows = px >= 32 ? 4 : 3;
    const double step = 16.0 / rows;
    QPen dark(QColor(40, 112, 30), Pixel(px) * (px >= 30 ? 1.6 : 1.0));
    dark.setCapStyle(Qt::RoundCap);
    QPen light(QColor(170, 228, 110), Pixel(px) * (px >= 30 ? 1.4 : 1.0));
    light.setCapStyle(Qt::RoundCap);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < rows; ++c) {
            const double x =
                step * (c + 0.5 + (r % 2 ? 0.5 : 0.0)) + (Noise(r * 7 + c) - 0.5) * 1.2;
            const double y = step * (r + 0.75);
            if (x > 15.5) continue;
            const double h = step * 0.55;
            p.setPen(dark);
            p.drawLine(QPointF(x, y), QPointF(x - h * 0.55, y - h));
            p.drawLine(QPointF(x, y), QPointF(x + h * 0.45, y - h * 1.05));
            p.setPen(light);
            p.drawPoint(QPointF(x + h * 0.45, y - h * 1.05));
        }
    }
}

void Wall(QPainter& p, int px) {
    const QColor mortar(214, 196, 160), brick(176, 80, 56), hi(208, 116, 84), lo(130, 52, 36);
    p.fillRect(QRectF(0, 0, 16, 16), mortar);
    const double one = Pixel(px);
    for (int r = 0; r < 4; ++r) {
        const double top = r * 4.0;
        const double shift = r % 2 ? -4.0 : 0.0;
        for (double x = shift; x < 16; x += 8.0) {
            const QRectF b =
                SnapRect(std::max(0.0, x), top, std::min(16.0, x + 8.0 - one), top + 4.0 - one, px);
            if (b.width() <= 0) continue;
            p.fillRect(b, brick);
            p.fillRect(QRectF(b.left(), b.top(), b.width(), one), hi);
            p.fillRect(QRectF(b.left(), b.bottom() - one, b.width(), one), lo);
        }
    }
}

void Stone(QPainter& p, int px) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawEllipse(QPointF(8.3, 14.3), 6.2, 1.5);
    // A slightly lumpy boulder.
    QPainterPath rock;
    rock.moveTo(2.0, 9.6);
    rock.cubicTo(1.4, 5.4, 4.6, 1.8, 8.6, 2.0);
    rock.cubicTo(12.6, 2.2, 15.0, 5.6, 14.6, 9.4);
    rock.cubicTo(14.4, 12.8, 11.6, 15.0, 8.0, 15.0);
    rock.cubicTo(4.4, 15.0, 2.3, 12.8, 2.0, 9.6);
    p.setBrush(BallGradient(QPointF(8.3, 8.5), 6.8, QColor(214, 212, 204), QColor(104, 102, 98)));
    p.setPen(OutlinePen(QColor(52, 50, 48), px));
    p.drawPath(rock);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 170));
    p.drawEllipse(QPointF(5.6, 5.8), 1.7, 1.1);
    if (px >= 24) {
        p.setPen(OutlinePen(QColor(88, 86, 82), px, 0.8));
        p.setBrush(Qt::NoBrush);
        QPainterPath crack;
        crack.moveTo(10.6, 9.0);
        crack.lineTo(11.6, 10.8);
        crack.lineTo(11.0, 12.6);
        p.drawPath(crack);
    }
}

void Apple(QPainter& p, int px) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawEllipse(QPointF(8.2, 14.6), 5.0, 1.2);
    QPainterPath body;
    body.moveTo(8.0, 5.6);
    body.cubicTo(10.0, 3.8, 14.6, 4.4, 14.4, 9.0);
    body.cubicTo(14.2, 12.8, 11.2, 15.4, 8.0, 14.2);
    body.cubicTo(4.8, 15.4, 1.8, 12.8, 1.6, 9.0);
    body.cubicTo(1.4, 4.4, 6.0, 3.8, 8.0, 5.6);
    p.setBrush(BallGradient(QPointF(8.0, 9.4), 6.2, QColor(255, 112, 92), QColor(186, 18, 24)));
    p.setPen(OutlinePen(QColor(100, 10, 14), px));
    p.drawPath(body);
    // Stem and leaf.
    p.setPen(OutlinePen(QColor(96, 60, 24), px, 1.2));
    p.drawLine(QPointF(8.0, 5.8), QPointF(8.6, 2.4));
    QPainterPath leaf;
    leaf.moveTo(8.8, 3.6);
    leaf.cubicTo(9.6, 1.2, 12.6, 1.0, 13.6, 1.8);
    leaf.cubicTo(12.8, 3.8, 10.4, 4.6, 8.8, 3.6);
    p.setPen(OutlinePen(QColor(30, 100, 24), px, 0.8));
    p.setBrush(QColor(96, 200, 60));
    p.drawPath(leaf);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 190));
    p.drawEllipse(QPointF(4.9, 8.0), 1.1, 1.7);
}

// A wooden crate; `level` 1 to 3 planks fill it from the bottom.
void Crate(QPainter& p, int px, int level) {
    const double one = Pixel(px);
    const QRectF outer = SnapRect(1, 1, 15, 15, px);
    const QColor outline(74, 40, 12), wood(214, 146, 62), woodHi(240, 190, 110);
    p.setPen(Qt::NoPen);
    p.fillRect(outer, outline);
    const QRectF frameRect = outer.adjusted(one, one, -one, -one);
    p.fillRect(frameRect, wood);
    p.fillRect(QRectF(frameRect.left(), frameRect.top(), frameRect.width(), one), woodHi);
    QRectF inside = frameRect.adjusted(2, 2, -2, -2);
    if (px >= 24) {
        p.fillRect(inside, outline);
        inside.adjust(one, one, -one, -one);
    }
    p.fillRect(inside, QColor(52, 30, 12));
    // The planks that fill the crate, bottom up, each with a light top edge.
    const double h = inside.height();
    const QColor plank(250, 204, 92), plankHi(255, 240, 180), plankLo(190, 130, 40);
    for (int i = 0; i < level; ++i) {
        const double bottom = inside.bottom() - Snap(h * i / 3.0, px);
        const double top = inside.bottom() - Snap(h * (i + 1) / 3.0, px);
        p.fillRect(QRectF(inside.left(), top, inside.width(), bottom - top), plank);
        p.fillRect(QRectF(inside.left(), top, inside.width(), one), plankHi);
        if (px >= 24) p.fillRect(QRectF(inside.left(), bottom - one, inside.width(), one), plankLo);
    }
    if (px >= 24) {
        // Nail heads on the frame corners.
        p.setBrush(QColor(100, 60, 20));
        const double n = 1.0 + one / 2;
        for (QPointF c :
             {frameRect.topLeft() + QPointF(n, n), frameRect.topRight() + QPointF(-n, n),
              frameRect.bottomLeft() + QPointF(n, -n), frameRect.bottomRight() + QPointF(-n, -n)})
            p.drawEllipse(c, one * 0.9, one * 0.9);
    }
}

void Bomb(QPainter& p, int px) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 45));
    p.drawEllipse(QPointF(7.6, 15.0), 5.2, 1.0);
    // Fuse first, so the neck covers its end.
    QPainterPath fuse;
    fuse.moveTo(10.0, 5.2);
    fuse.cubicTo(11.0, 3.0, 12.4, 3.8, 12.8, 2.4);
    p.setBrush(Qt::NoBrush);
    p.setPen(OutlinePen(QColor(120, 84, 40), px, 1.3));
    p.drawPath(fuse);
    p.setPen(OutlinePen(QColor(10, 10, 14), px));
    p.setBrush(BallGradient(QPointF(7.4, 9.8), 5.4, QColor(110, 110, 130), QColor(16, 16, 22)));
    p.drawEllipse(QPointF(7.4, 9.8), 5.2, 5.2);
    p.save();
    p.translate(10.3, 5.6);
    p.rotate(40);
    p.setBrush(QColor(60, 60, 70));
    p.drawRect(QRectF(-1.4, -1.2, 2.8, 2.2));
    p.restore();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawEllipse(QPointF(5.4, 7.6), 1.4, 1.0);
    // The spark.
    p.setBrush(QColor(255, 120, 20));
    p.drawPath(StarPath(QPointF(13.0, 2.4), 2.6, 1.1, 6, 0.2));
    p.setBrush(QColor(255, 236, 80));
    p.drawPath(StarPath(QPointF(13.0, 2.4), 1.5, 0.7, 6, 0.7));
}

const QColor kHeroBlue(58, 128, 226), kHeroDark(24, 52, 120), kHeroFoot(246, 140, 36);

void HeroSprout(QPainter& p, int px, QPointF base) {
    p.setPen(OutlinePen(QColor(40, 110, 30), px, 1.1));
    p.drawLine(base, base + QPointF(0.3, -1.6));
    p.setPen(OutlinePen(QColor(30, 90, 24), px, 0.7));
    p.setBrush(QColor(110, 210, 70));
    p.drawEllipse(base + QPointF(1.5, -2.0), 1.4, 0.8);
}

void Hero(QPainter& p, int px) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 45));
    p.drawEllipse(QPointF(8, 15.2), 5.4, 0.9);
    // Feet.
    p.setPen(OutlinePen(QColor(120, 60, 10), px, 0.9));
    p.setBrush(kHeroFoot);
    p.drawEllipse(QPointF(5.0, 14.4), 2.0, 1.2);
    p.drawEllipse(QPointF(11.0, 14.4), 2.0, 1.2);
    // Round body.
    p.setPen(OutlinePen(kHeroDark, px));
    p.setBrush(BallGradient(QPointF(8, 8.8), 5.8, QColor(140, 196, 255), kHeroBlue));
    p.drawEllipse(QPointF(8, 8.8), 6.0, 5.6);
    HeroSprout(p, px, QPointF(8, 3.3));
    PaintEyes(p, QPointF(6.0, 7.6), QPointF(10.0, 7.6), 1.6, 2.0, 0.9, QPointF(0.4, 0.4), px);
    // Smile.
    p.setBrush(Qt::NoBrush);
    p.setPen(OutlinePen(QColor(16, 30, 70), px, 0.9));
    p.drawArc(QRectF(5.6, 8.4, 4.8, 3.4), 200 * 16, 140 * 16);
    if (px >= 24) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 130, 150, 150));
        p.drawEllipse(QPointF(4.2, 10.4), 1.0, 0.7);
        p.drawEllipse(QPointF(11.8, 10.4), 1.0, 0.7);
    }
}

void Loser(QPainter& p, int px) {
    // Squashed flat on the floor, eyes crossed, stars overhead.
    p.setPen(OutlinePen(QColor(120, 60, 10), px, 0.9));
    p.setBrush(kHeroFoot);
    p.drawEllipse(QPointF(1.8, 14.6), 1.6, 0.9);
    p.drawEllipse(QPointF(14.2, 14.6), 1.6, 0.9);
    p.setPen(OutlinePen(kHeroDark, px));
    p.setBrush(BallGradient(QPointF(8, 12.6), 6.8, QColor(150, 170, 210), QColor(72, 96, 160)));
    QPainterPath flat;
    flat.moveTo(0.9, 15.2);
    flat.cubicTo(0.6, 10.4, 4.0, 9.2, 8.0, 9.4);
    flat.cubicTo(12.0, 9.2, 15.4, 10.4, 15.1, 15.2);
    flat.closeSubpath();
    p.drawPath(flat);
    PaintCrossEye(p, QPointF(5.6, 12.0), 1.1, QColor(20, 24, 50), px);
    PaintCrossEye(p, QPointF(10.4, 12.0), 1.1, QColor(20, 24, 50), px);
    p.setPen(OutlinePen(QColor(20, 24, 50), px, 0.8));
    p.setBrush(Qt::NoBrush);
    QPainterPath mouth;
    mouth.moveTo(6.4, 14.3);
    mouth.cubicTo(7.2, 13.5, 8.8, 13.5, 9.6, 14.3);
    p.drawPath(mouth);
    p.setPen(OutlinePen(QColor(170, 90, 0), px, 0.6));
    p.setBrush(QColor(255, 214, 40));
    p.drawPath(StarPath(QPointF(4.0, 4.6), 2.4, 1.0, 5, 0.1));
    p.drawPath(StarPath(QPointF(11.6, 3.6), 2.0, 0.85, 5, -0.2));
    if (px >= 24) p.drawPath(StarPath(QPointF(8.0, 6.4), 1.4, 0.6, 5, 0.3));
    // The sprout lies bent beside him.
    p.setPen(OutlinePen(QColor(30, 90, 24), px, 0.7));
    p.setBrush(QColor(110, 210, 70));
    p.drawEllipse(QPointF(13.0, 9.0), 1.4, 0.7);
}

} // namespace

void PaintApples(QPainter& p, TCell cell, int px, bool ground) {
    p.save();
    if (cell == TCell::Grass)
        Grass(p, px);
    else if (cell == TCell::Wall)
        Wall(p, px);
    else if (ground)
        Sand(p, px);
    switch (cell) {
    case TCell::Stone:
        Stone(p, px);
        break;
    case TCell::Food:
        Apple(p, px);
        break;
    case TCell::Box1:
        Crate(p, px, 1);
        break;
    case TCell::Box2:
        Crate(p, px, 2);
        break;
    case TCell::Box3:
        Crate(p, px, 3);
        break;
    case TCell::Bomb:
        Bomb(p, px);
        break;
    case TCell::Hero:
        Hero(p, px);
        break;
    case TCell::Loser:
        Loser(p, px);
        break;
    default:
        break;
    }
    p.restore();
}

} // namespace tb::art
