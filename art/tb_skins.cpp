// The skin pictures: soft dialog, list and panel backgrounds that keep text
// readable, and the splash, title and congratulations pictures, which show
// the skin's own sprite set.

#include "art/tb_art.h"

#include "art/tb_art_paint.h"

#include <QFont>

#include <array>
#include <cmath>
#include <numbers>
#include <string>

namespace tb {
namespace {

using art::TCell;

constexpr std::array<std::string_view, 2> kSkins = {"Standard", "Night"};
constexpr std::array<std::string_view, 6> kPictures = {"tb_spl", "tb_box", "tb_list",
                                                       "tb_pan", "tb_pic", "tb_fin"};

struct TLook {
    int Set;    // sprite set shown in the pictures
    bool Night; // stars and moon instead of sun and clouds
    QColor Sky0, Sky1;
    QColor Paper0, Paper1, Pattern;
    QColor Pan0, Pan1;
    QColor Title0, Title1, TitleRim;
    QColor Rays0, Rays1;
};

const TLook kStandard{0,
                      false,
                      QColor(120, 196, 244),
                      QColor(226, 246, 255),
                      QColor(255, 249, 230),
                      QColor(242, 228, 190),
                      QColor(120, 170, 60, 34),
                      QColor(46, 92, 40),
                      QColor(22, 52, 20),
                      QColor(255, 232, 90),
                      QColor(255, 150, 30),
                      QColor(110, 40, 0),
                      QColor(255, 196, 60),
                      QColor(200, 70, 20)};

const TLook kNight{1,
                   true,
                   QColor(8, 12, 40),
                   QColor(40, 48, 110),
                   QColor(232, 236, 248),
                   QColor(204, 212, 236),
                   QColor(70, 90, 170, 34),
                   QColor(34, 40, 92),
                   QColor(12, 14, 44),
                   QColor(190, 250, 255),
                   QColor(80, 190, 255),
                   QColor(10, 20, 70),
                   QColor(70, 110, 220),
                   QColor(20, 20, 70)};

const TLook& LookOf(std::string_view skin) {
    return skin == kSkins[1] ? kNight : kStandard;
}

QImage NewPicture(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

void Gradient(QPainter& p, const QRectF& r, const QColor& top, const QColor& bottom) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(r, g);
}

// One cell of the look's set at (x, y), `px` pixels, with or without ground.
void Tile(QPainter& p, const TLook& look, TCell cell, double x, double y, int px, bool ground) {
    p.save();
    art::BeginCell(p, x, y, px);
    art::PaintCell(p, look.Set, cell, px, ground);
    p.restore();
}

// A soft repeating motif: small leaves by day, four-point stars by night.
void Pattern(QPainter& p, const TLook& look, const QRectF& r, double step) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(look.Pattern);
    int row = 0;
    for (double y = r.top() + step / 2; y < r.bottom() + step; y += step, ++row) {
        for (double x = r.left() + (row % 2 ? step / 2 : 0); x < r.right() + step; x += step) {
            if (look.Night) {
                p.drawPath(art::StarPath(QPointF(x, y), step * 0.16, step * 0.04, 4));
            } else {
                p.save();
                p.translate(x, y);
                p.rotate(row % 2 ? 35 : -35);
                p.drawEllipse(QPointF(0, 0), step * 0.16, step * 0.07);
                p.restore();
            }
        }
    }
    p.restore();
}

void Sky(QPainter& p, const TLook& look, const QRectF& r, double scale) {
    Gradient(p, r, look.Sky0, look.Sky1);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    if (look.Night) {
        for (int i = 0; i < int(r.width() * r.height() / 2500); ++i) {
            const QPointF q(r.left() + art::Noise(300 + i) * r.width(),
                            r.top() + art::Noise(700 + i) * r.height() * 0.8);
            p.setBrush(QColor(255, 255, 255, 90 + int(art::Noise(900 + i) * 150)));
            const double s = (0.6 + art::Noise(1100 + i) * 1.4) * scale;
            p.drawPath(art::StarPath(q, s * 1.6, s * 0.4, 4));
        }
        const QPointF moon(r.right() - 70 * scale, r.top() + 60 * scale);
        p.setBrush(QColor(250, 246, 210));
        p.drawEllipse(moon, 30 * scale, 30 * scale);
        p.setBrush(look.Sky0.lighter(130));
        p.drawEllipse(moon + QPointF(14 * scale, -8 * scale), 26 * scale, 26 * scale);
    } else {
        const QPointF sun(r.right() - 80 * scale, r.top() + 64 * scale);
        QRadialGradient glow(sun, 70 * scale);
        glow.setColorAt(0, QColor(255, 250, 200, 200));
        glow.setColorAt(1, QColor(255, 250, 200, 0));
        p.setBrush(glow);
        p.drawEllipse(sun, 70 * scale, 70 * scale);
        p.setBrush(QColor(255, 226, 90));
        p.drawEllipse(sun, 30 * scale, 30 * scale);
        p.setBrush(QColor(255, 255, 255, 220));
        for (int i = 0; i < 3; ++i) {
            const QPointF c(r.left() + r.width() * (0.12 + 0.3 * i),
                            r.top() + (50 + 40 * (i % 2)) * scale);
            p.drawEllipse(c, 46 * scale, 16 * scale);
            p.drawEllipse(c + QPointF(-18 * scale, -10 * scale), 22 * scale, 16 * scale);
            p.drawEllipse(c + QPointF(16 * scale, -14 * scale), 26 * scale, 20 * scale);
        }
    }
    p.restore();
}

// The word "Tobbin", centred on `centre`, `size` pixels high: shadow, dark
// rim, gradient face.
void Title(QPainter& p, const TLook& look, QPointF centre, double size) {
    QFont font("DejaVu Sans");
    font.setPixelSize(int(size));
    font.setWeight(QFont::Black);
    QPainterPath path;
    path.addText(0, 0, font, QStringLiteral("Tobbin"));
    const QRectF b = path.boundingRect();
    path.translate(centre - b.center());
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawPath(path.translated(size * 0.05, size * 0.06));
    QPen rim(look.TitleRim, size * 0.09);
    rim.setJoinStyle(Qt::RoundJoin);
    p.setPen(rim);
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    QLinearGradient g(0, path.boundingRect().top(), 0, path.boundingRect().bottom());
    g.setColorAt(0, look.Title0);
    g.setColorAt(1, look.Title1);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(path);
    p.restore();
}

QImage PaperPicture(const TLook& look, int w, int h, double step, int patternAlphaScale) {
    QImage image = NewPicture(w, h);
    QPainter p(&image);
    Gradient(p, QRectF(0, 0, w, h), look.Paper0, look.Paper1);
    TLook faint = look;
    faint.Pattern.setAlpha(look.Pattern.alpha() * patternAlphaScale / 100);
    Pattern(p, faint, QRectF(0, 0, w, h), step);
    p.setPen(QPen(look.Paper1.darker(115), 1));
    p.drawRect(0, 0, w - 1, h - 1);
    return image;
}

QImage PanelPicture(const TLook& look) {
    const int w = 500, h = 60;
    QImage image = NewPicture(w, h);
    QPainter p(&image);
    Gradient(p, QRectF(0, 0, w, h), look.Pan0, look.Pan1);
    Pattern(p, look, QRectF(0, 0, w, h), 20);
    p.fillRect(QRectF(0, 0, w, 1), look.Pan0.lighter(112));
    p.fillRect(QRectF(0, h - 1, w, 1), look.Pan1.darker(125));
    return image;
}

// The ground of the title picture, bottom rows of the play field.
constexpr std::array<const char*, 7> kGround = {
    "ggggggggggggggggggggggggggggggg", "ggfgg...hggggsggg3ggggbgggfgggg",
    "gg.gg.gggggg.fgggg.ggg.ggg.ggfg", "gg...sgg2gg....gg.fg...gg1....g",
    "ggwwwwwwggggsgggggggwwwwwwggsgg", "ggggfggggbgggggfgggggggggfggggg",
    "wwwwwwwwwwwwwwwwwwwwwwwwwwwwwww"};

TCell CellOf(char c) {
    switch (c) {
    case 'g':
        return TCell::Grass;
    case 'w':
        return TCell::Wall;
    case 's':
        return TCell::Stone;
    case 'f':
        return TCell::Food;
    case '1':
        return TCell::Box1;
    case '2':
        return TCell::Box2;
    case '3':
        return TCell::Box3;
    case 'b':
        return TCell::Bomb;
    case 'h':
        return TCell::Hero;
    default:
        return TCell::Empty;
    }
}

QImage TitlePicture(const TLook& look) {
    const int tile = 32, w = 31 * tile, h = 18 * tile;
    QImage image = NewPicture(w, h);
    QPainter p(&image);
    const int groundTop = 18 - int(kGround.size());
    Sky(p, look, QRectF(0, 0, w, groundTop * tile), 1.4);
    Title(p, look, QPointF(w / 2.0, 170), 150);
    // Figures standing on the turf, under the title.
    const TCell figures[] = {TCell::Food, TCell::Stone, TCell::Hero, TCell::Box3, TCell::Bomb};
    for (int i = 0; i < 5; ++i)
        Tile(p, look, figures[i], w / 2.0 - 2.5 * 64 + i * 64, groundTop * tile - 64, 64, false);
    for (int r = 0; r < int(kGround.size()); ++r)
        for (int c = 0; c < 31; ++c)
            Tile(p, look, CellOf(kGround[std::size_t(r)][c]), c * tile, (groundTop + r) * tile,
                 tile, true);
    return image;
}

QImage SplashPicture(const TLook& look) {
    const int w = 400, h = 260, tile = 40;
    QImage image = NewPicture(w, h);
    QPainter p(&image);
    Sky(p, look, QRectF(0, 0, w, h - tile), 0.7);
    Title(p, look, QPointF(w / 2.0, 88), 84);
    for (int c = 0; c * tile < w; ++c)
        Tile(p, look, c % 4 == 2 ? TCell::Wall : TCell::Grass, c * tile, h - tile, tile, true);
    const TCell figures[] = {TCell::Food, TCell::Stone, TCell::Hero, TCell::Box2, TCell::Bomb};
    for (int i = 0; i < 5; ++i)
        Tile(p, look, figures[i], 60 + i * 60, h - 2 * tile, tile, false);
    return image;
}

QImage CongratulationsPicture(const TLook& look) {
    const int w = 260, h = 260;
    QImage image = NewPicture(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.fillRect(QRectF(0, 0, w, h), look.Rays1);
    // Rays from behind the hero.
    const QPointF c(w / 2.0, 92);
    p.setPen(Qt::NoPen);
    p.setBrush(look.Rays0);
    for (int i = 0; i < 16; ++i) {
        const double a0 = i * std::numbers::pi / 8, a1 = a0 + std::numbers::pi / 16;
        QPainterPath ray;
        ray.moveTo(c);
        ray.lineTo(c + QPointF(std::cos(a0), std::sin(a0)) * 400);
        ray.lineTo(c + QPointF(std::cos(a1), std::sin(a1)) * 400);
        ray.closeSubpath();
        p.drawPath(ray);
    }
    QRadialGradient glow(c, 90);
    glow.setColorAt(0, QColor(255, 255, 230, 220));
    glow.setColorAt(1, QColor(255, 255, 230, 0));
    p.setBrush(glow);
    p.drawEllipse(c, 90, 90);
    // Confetti.
    for (int i = 0; i < 40; ++i) {
        const QColor colours[] = {QColor(255, 80, 80), QColor(255, 220, 60), QColor(90, 200, 90),
                                  QColor(90, 160, 255), QColor(255, 120, 220)};
        p.setBrush(colours[i % 5]);
        p.drawPath(art::StarPath(QPointF(art::Noise(2000 + i) * w, art::Noise(3000 + i) * 170),
                                 3.0 + art::Noise(4000 + i) * 3, 1.4, 5, i));
    }
    Tile(p, look, TCell::Food, 22, 112, 48, false);
    Tile(p, look, TCell::Food, w - 70, 112, 48, false);
    Tile(p, look, TCell::Hero, c.x() - 56, c.y() - 60, 112, false);
    // A dark foot for the three lines of text the box writes over it.
    Gradient(p, QRectF(0, 150, w, h - 150), QColor(0, 0, 0, 0), QColor(0, 0, 0, 215));
    return image;
}

} // namespace

std::span<const std::string_view> SkinNames() {
    return kSkins;
}

std::span<const std::string_view> SkinPictureNames() {
    return kPictures;
}

QImage DrawSkinPicture(std::string_view skinName, std::string_view name) {
    const TLook& look = LookOf(skinName);
    if (name == "tb_box") return PaperPicture(look, 316, 111, 22, 100);
    if (name == "tb_list") return PaperPicture(look, 400, 300, 28, 70);
    if (name == "tb_pan") return PanelPicture(look);
    if (name == "tb_spl") return SplashPicture(look);
    if (name == "tb_pic") return TitlePicture(look);
    if (name == "tb_fin") return CongratulationsPicture(look);
    return {};
}

} // namespace tb
