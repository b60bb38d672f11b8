#include "art/tb_art.h"

#include "art/tb_art_paint.h"

#include <array>
#include <cmath>
#include <numbers>

namespace tb {
namespace {

constexpr std::array<std::string_view, 2> kSets = {"Apples", "Crystal"};
constexpr std::array<std::string_view, 11> kCellNames = {"0-empty", "1-grass",  "2-wall", "3-stone",
                                                         "4-food",  "5-box1",   "6-box2", "7-box3",
                                                         "8-bomb",  "9-tobbin", "a-loser"};

int SetIndex(std::string_view setName) {
    for (std::size_t i = 0; i < kSets.size(); ++i)
        if (kSets[i] == setName) return int(i);
    return 0;
}

// The fireball of a bomb: a white core grows into a jagged orange ball, which
// turns into drifting smoke with a few embers.
void PaintExplosion(QPainter& p, int frame, int px) {
    using namespace art;
    const QPointF c(8, 8);
    p.setPen(Qt::NoPen);
    switch (frame) {
    case 1:
        p.setBrush(QColor(230, 60, 10));
        p.drawPath(StarPath(c, 6.2, 3.0, 8, 0.2));
        p.setBrush(QColor(255, 170, 30));
        p.drawPath(StarPath(c, 4.6, 2.6, 8, 0.6));
        p.setBrush(QColor(255, 240, 130));
        p.drawEllipse(c, 2.6, 2.6);
        p.setBrush(Qt::white);
        p.drawEllipse(c, 1.6, 1.6);
        break;
    case 2:
        p.setBrush(QColor(220, 50, 10));
        p.drawPath(StarPath(c, 8.2, 5.0, 10, 0.1));
        p.setBrush(QColor(255, 150, 20));
        p.drawPath(StarPath(c, 6.4, 4.2, 10, 0.4));
        p.setBrush(QColor(255, 240, 140));
        p.drawEllipse(c, 3.2, 3.2);
        break;
    case 3:
        p.setBrush(QColor(110, 100, 96, 220));
        for (int i = 0; i < 6; ++i) {
            const double a = i * std::numbers::pi / 3 + 0.3;
            p.drawEllipse(c + QPointF(std::cos(a) * 4.6, std::sin(a) * 4.6), 3.4, 3.4);
        }
        p.setBrush(QColor(230, 70, 10));
        p.drawPath(StarPath(c, 7.0, 4.4, 9, 0.25));
        p.setBrush(QColor(255, 190, 40));
        p.drawEllipse(c, 3.6, 3.6);
        break;
    default: {
        p.setBrush(QColor(140, 132, 128, 150));
        for (int i = 0; i < 5; ++i) {
            const double a = i * 2 * std::numbers::pi / 5 + 0.7;
            p.drawEllipse(c + QPointF(std::cos(a) * 4.4, std::sin(a) * 4.4 - 0.8), 3.0, 2.7);
        }
        p.setBrush(QColor(255, 150, 30));
        for (int i = 0; i < 4; ++i)
            p.drawEllipse(QPointF(2.5 + Noise(40 + i) * 11, 2.5 + Noise(50 + i) * 11),
                          Pixel(px) * 1.2, Pixel(px) * 1.2);
        break;
    }
    }
}

// A used-up box falls in on itself: a ring of violet sparks draws together
// into one bright point, which fades.
void PaintImplosion(QPainter& p, int frame, int px) {
    using namespace art;
    const QPointF c(8, 8);
    p.setPen(Qt::NoPen);
    const double radius[4] = {6.4, 4.4, 2.4, 0.0};
    const double spark[4] = {2.0, 1.7, 1.4, 0.0};
    if (frame <= 3) {
        QRadialGradient glow(c, radius[frame - 1] + 2.5);
        glow.setColorAt(0, QColor(150, 70, 230, 60 + frame * 50));
        glow.setColorAt(0.7, QColor(110, 40, 200, 90));
        glow.setColorAt(1, QColor(90, 30, 180, 0));
        p.setBrush(glow);
        p.drawEllipse(c, radius[frame - 1] + 2.5, radius[frame - 1] + 2.5);
        p.setPen(OutlinePen(QColor(120, 40, 220), px, 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, radius[frame - 1], radius[frame - 1]);
        p.setPen(Qt::NoPen);
        const int count = frame == 3 ? 4 : 8;
        for (int i = 0; i < count; ++i) {
            const double a = i * 2 * std::numbers::pi / count + frame * 0.35;
            const QPointF q =
                c + QPointF(std::cos(a) * radius[frame - 1], std::sin(a) * radius[frame - 1]);
            p.setBrush(i % 2 ? QColor(255, 255, 255) : QColor(255, 200, 255));
            p.setPen(OutlinePen(QColor(90, 20, 160), px, 0.5));
            p.drawPath(StarPath(q, spark[frame - 1], spark[frame - 1] * 0.35, 4, a));
            p.setPen(Qt::NoPen);
        }
    }
    if (frame >= 3) {
        const double r = frame == 3 ? 3.6 : 2.6;
        if (frame == 4) {
            p.setBrush(QColor(140, 60, 220, 110));
            p.drawEllipse(c, r * 0.9, r * 0.9);
        }
        p.setPen(OutlinePen(QColor(90, 20, 160), px, 0.5));
        p.setBrush(frame == 3 ? QColor(255, 255, 255) : QColor(230, 200, 255));
        p.drawPath(StarPath(c, r, r * 0.25, 4, frame == 3 ? 0.0 : 0.78));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, frame == 3 ? 255 : 160));
        p.drawEllipse(c, r * 0.3, r * 0.3);
    }
}

} // namespace

std::span<const std::string_view> SpriteSetNames() {
    return kSets;
}

std::span<const std::string_view> CellPictureNames() {
    return kCellNames;
}

std::string_view CellPictureName(int cellCode) {
    if (cellCode >= 1 && cellCode <= 9) return kCellNames[std::size_t(cellCode - 1)];
    if (cellCode == 14) return kCellNames[9];
    if (cellCode == 15) return kCellNames[10];
    return {};
}

QImage DrawCellPicture(std::string_view setName, std::string_view name, int pixels) {
    int cell = -1;
    for (std::size_t i = 0; i < kCellNames.size(); ++i)
        if (kCellNames[i] == name) cell = int(i);
    if (cell < 0 || pixels <= 0) return {};
    QImage image(pixels, pixels, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    art::BeginCell(p, 0, 0, pixels);
    art::PaintCell(p, SetIndex(setName), art::TCell(cell), pixels, true);
    p.end();
    return image;
}

QImage DrawProgramIcon(int pixels) {
    if (pixels <= 0) return {};
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    art::BeginCell(p, 0, 0, pixels);
    art::PaintCell(p, 0, art::TCell::Hero, pixels, false);
    p.end();
    return image;
}

QImage DrawBlastFrame(int frame, int pixels, bool implosion, QColor backdrop) {
    if (frame < 1 || frame > 4 || pixels <= 0) return {};
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(backdrop);
    QPainter p(&image);
    art::BeginCell(p, 0, 0, pixels);
    if (implosion)
        PaintImplosion(p, frame, pixels);
    else
        PaintExplosion(p, frame, pixels);
    p.end();
    return image;
}

} // namespace tb
