// gen_pictures: draws the game's pictures into a program folder.
//
//   gen_pictures FOLDER              img/Small|Medium|Large|Huge/<set>/<name>.bmp,
//                                    img/skins/<skin>/tb_*.bmp and .jpg, img/tb_*.bmp
//   gen_pictures --sheet FILE.png    one contact sheet of every tile and blast frame
//   gen_pictures --icons FOLDER ID   the program icon as FOLDER/<n>x<n>/apps/ID.png
//                                    at 16, 32, 48, 64, 128 and 256 pixels
//
// Any of them may be given together. Runs without a display (offscreen platform).

#include "art/tb_art.h"

#include <QFont>
#include <QGuiApplication>
#include <QPainter>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr const char* kSizeNames[4] = {"Small", "Medium", "Large", "Huge"};

QString Text(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// Writes name.tmp and renames it, so a file is either whole or absent.
bool Save(const QImage& image, const fs::path& file, const char* format) {
    const fs::path tmp = fs::path(file).concat(".tmp");
    const QImage opaque = image.convertToFormat(QImage::Format_RGB888);
    if (!opaque.save(QString::fromStdString(tmp.string()), format, 92)) {
        std::fprintf(stderr, "error: cannot write %s\n", tmp.string().c_str());
        return false;
    }
    std::error_code ec;
    fs::rename(tmp, file, ec);
    if (ec) {
        std::fprintf(stderr, "error: cannot write %s: %s\n", file.string().c_str(),
                     ec.message().c_str());
        return false;
    }
    return true;
}

bool WriteFolder(const fs::path& folder) {
    const fs::path img = folder / "img";
    bool ok = true;
    for (int s = 0; s < 4; ++s) {
        for (std::string_view set : tb::SpriteSetNames()) {
            const fs::path dir = img / kSizeNames[s] / std::string(set);
            fs::create_directories(dir);
            for (std::string_view name : tb::CellPictureNames())
                ok &= Save(tb::DrawCellPicture(set, name, tb::kTilePixels[s]),
                           dir / (std::string(name) + ".bmp"), "BMP");
        }
    }
    for (std::string_view skin : tb::SkinNames()) {
        const fs::path dir = img / "skins" / std::string(skin);
        fs::create_directories(dir);
        for (std::string_view name : tb::SkinPictureNames()) {
            const QImage picture = tb::DrawSkinPicture(skin, name);
            ok &= Save(picture, dir / (std::string(name) + ".bmp"), "BMP");
            ok &= Save(picture, dir / (std::string(name) + ".jpg"), "JPG");
        }
    }
    // The default skin's title, congratulations and splash pictures also
    // live directly in img/.
    for (std::string_view name : {"tb_pic", "tb_fin", "tb_spl"})
        ok &= Save(tb::DrawSkinPicture(tb::SkinNames()[0], name),
                   img / (std::string(name) + ".bmp"), "BMP");
    return ok;
}

// The program icon at the sizes of the desktop's icon theme, with its alpha.
bool WriteIcons(const fs::path& folder, const std::string& id) {
    bool ok = true;
    for (int px : {16, 32, 48, 64, 128, 256}) {
        const std::string size = std::to_string(px) + "x" + std::to_string(px);
        const fs::path dir = folder / size / "apps";
        fs::create_directories(dir);
        const fs::path file = dir / (id + ".png");
        const fs::path tmp = fs::path(file).concat(".tmp");
        std::error_code ec;
        if (!tb::DrawProgramIcon(px).save(QString::fromStdString(tmp.string()), "PNG"))
            ec = std::make_error_code(std::errc::io_error);
        if (!ec) fs::rename(tmp, file, ec);
        if (ec) {
            std::fprintf(stderr, "error: cannot write %s: %s\n", file.string().c_str(),
                         ec.message().c_str());
            ok = false;
        }
    }
    return ok;
}

// A sample of a play field, to judge how the tiles look side by side.
constexpr const char* kSample[6] = {"wwwwwwwwwwww", "w.s.ggf3.bgw", "w.ggg.gg.ssw",
                                    "wh.fg1gg2g.w", "wgg.ggf..a.w", "wwwwwwwwwwww"};

int SampleCell(char c) {
    const std::string_view codes = ".gwsf123b";
    if (c == 'h') return 9;
    if (c == 'a') return 10;
    return int(codes.find(c));
}

bool WriteSheet(const fs::path& file) {
    const int margin = 8, label = 120, gap = 4;
    int width = label + 11 * (40 + gap) + margin;
    int height = margin;
    const int zoom = 4;
    const int rowsPerSet = 4;
    const int sets = int(tb::SpriteSetNames().size());
    for (int s = 0; s < rowsPerSet; ++s)
        height += tb::kTilePixels[s] + gap;
    height = margin + sets * ((height - margin) + (16 * zoom + gap) + 6 * 16 + 3 * gap + 18) +
             4 * (40 + gap) + 2 * (16 * zoom + gap) + 40;
    width = std::max(width, label + 11 * (16 * zoom + gap) + margin);
    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(QColor(96, 96, 104));
    QPainter p(&sheet);
    QFont font("DejaVu Sans");
    font.setPixelSize(12);
    p.setFont(font);
    p.setPen(Qt::white);
    int y = margin;
    auto rowLabel = [&](const QString& text, int h) {
        p.drawText(QRect(margin, y, label - margin, h), Qt::AlignVCenter | Qt::AlignLeft, text);
    };
    for (std::string_view set : tb::SpriteSetNames()) {
        int x = label;
        for (std::string_view name : tb::CellPictureNames()) {
            p.drawText(QRect(x, y, 16 * zoom, 16), Qt::AlignLeft, Text(name));
            x += 16 * zoom + gap;
        }
        y += 18;
        for (int s = 0; s < 4; ++s) {
            const int px = tb::kTilePixels[s];
            rowLabel(QStringLiteral("%1 %2 px").arg(Text(set)).arg(px), px);
            x = label;
            for (std::string_view name : tb::CellPictureNames()) {
                p.drawImage(x, y, tb::DrawCellPicture(set, name, px));
                x += 16 * zoom + gap;
            }
            y += px + gap;
        }
        // The 16 px tiles enlarged pixel by pixel, to inspect them.
        rowLabel(QStringLiteral("%1 16 px ×%2").arg(Text(set)).arg(zoom), 16 * zoom);
        x = label;
        for (std::string_view name : tb::CellPictureNames()) {
            p.drawImage(x, y, tb::DrawCellPicture(set, name, 16).scaled(16 * zoom, 16 * zoom));
            x += 16 * zoom + gap;
        }
        y += 16 * zoom + gap;
        rowLabel(QStringLiteral("%1 field 16 px").arg(Text(set)), 6 * 16);
        for (int r = 0; r < 6; ++r)
            for (int c = 0; c < 12; ++c)
                p.drawImage(
                    label + c * 16, y + r * 16,
                    tb::DrawCellPicture(
                        set, tb::CellPictureNames()[std::size_t(SampleCell(kSample[r][c]))], 16));
        QImage big(12 * 32, 6 * 32, QImage::Format_RGB32);
        {
            QPainter q(&big);
            for (int r = 0; r < 6; ++r)
                for (int c = 0; c < 12; ++c)
                    q.drawImage(c * 32, r * 32,
                                tb::DrawCellPicture(
                                    set,
                                    tb::CellPictureNames()[std::size_t(SampleCell(kSample[r][c]))],
                                    32));
        }
        p.drawImage(label + 12 * 16 + 16, y,
                    big.scaled(12 * 16, 6 * 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        y += 6 * 16 + 3 * gap;
    }
    const QImage sand = tb::DrawCellPicture("Apples", "0-empty", 40);
    for (int implosion = 0; implosion < 2; ++implosion) {
        for (int s = 0; s < 4; ++s) {
            const int px = tb::kTilePixels[s];
            if (s == 0 || s == 3) {
                rowLabel(
                    QStringLiteral("%1 %2 px").arg(implosion ? "implosion" : "explosion").arg(px),
                    px);
                for (int f = 1; f <= 4; ++f) {
                    const int x = label + (f - 1) * (16 * zoom + gap);
                    p.drawImage(x, y, sand.scaled(px, px));
                    p.drawImage(x, y, tb::DrawBlastFrame(f, px, implosion != 0));
                    p.drawImage(x + 5 * (16 * zoom + gap) - 16 * zoom, y,
                                tb::DrawBlastFrame(f, px, implosion != 0, Qt::black));
                }
                y += px + gap;
            }
        }
        rowLabel(QStringLiteral("16 px ×%1").arg(zoom), 16 * zoom);
        for (int f = 1; f <= 4; ++f) {
            QImage tile = tb::DrawCellPicture("Apples", "0-empty", 16)
                              .convertToFormat(QImage::Format_ARGB32_Premultiplied);
            {
                QPainter q(&tile);
                q.drawImage(0, 0, tb::DrawBlastFrame(f, 16, implosion != 0));
            }
            p.drawImage(label + (f - 1) * (16 * zoom + gap), y, tile.scaled(16 * zoom, 16 * zoom));
        }
        y += 16 * zoom + gap;
    }
    p.end();
    fs::create_directories(file.parent_path().empty() ? fs::path(".") : file.parent_path());
    const QImage cut = sheet.copy(0, 0, width, std::min(height, y + margin));
    if (!cut.save(QString::fromStdString(file.string()), "PNG")) {
        std::fprintf(stderr, "error: cannot write %s\n", file.string().c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    fs::path folder, sheet, icons;
    std::string iconId;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--sheet" && i + 1 < argc)
            sheet = argv[++i];
        else if (arg == "--icons" && i + 2 < argc) {
            icons = argv[++i];
            iconId = argv[++i];
        } else if (!arg.empty() && arg[0] != '-' && folder.empty())
            folder = arg;
        else {
            std::fprintf(stderr,
                         "usage: gen_pictures [FOLDER] [--sheet FILE.png] [--icons FOLDER ID]\n");
            return 2;
        }
    }
    if (folder.empty() && sheet.empty() && icons.empty()) {
        std::fprintf(stderr,
                     "usage: gen_pictures [FOLDER] [--sheet FILE.png] [--icons FOLDER ID]\n");
        return 2;
    }
    bool ok = true;
    try {
        if (!folder.empty()) ok &= WriteFolder(folder);
        if (!sheet.empty()) ok &= WriteSheet(sheet);
        if (!icons.empty()) ok &= WriteIcons(icons, iconId);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "error: %s\n", e.what());
        return 1;
    }
    return ok ? 0 : 1;
}
