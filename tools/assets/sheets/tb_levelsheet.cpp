#include "tools/assets/sheets/tb_levelsheet.h"

#include "services/d_messages.h"
#include "tools/assets/sheets/tb_sheettiles.h"

#include <QFont>
#include <QPainter>

#include <algorithm>
#include <array>

namespace tb {

TLevelCrop LevelCrop(const TMap& map) {
    TLevelCrop crop{TMap::Width + 1, TMap::Height + 1, 0, 0};
    for (int y = 1; y <= TMap::Height; ++y)
        for (int x = 1; x <= TMap::Width; ++x)
            if (map.GetCell(TPos(x, y)) != Wall) {
                crop.X0 = std::min(crop.X0, x);
                crop.Y0 = std::min(crop.Y0, y);
                crop.X1 = std::max(crop.X1, x);
                crop.Y1 = std::max(crop.Y1, y);
            }
    if (crop.X1 == 0) return TLevelCrop{}; // walls only: the whole grid
    crop.X0 = std::max(1, crop.X0 - 1);
    crop.Y0 = std::max(1, crop.Y0 - 1);
    crop.X1 = std::min(TMap::Width, crop.X1 + 1);
    crop.Y1 = std::min(TMap::Height, crop.Y1 + 1);
    return crop;
}

QImage DrawLevelSheet(const TMapSet& game, int tilePixels, int perRow) {
    const std::array<QImage, 17> tiles = SheetTiles(tilePixels);
    const int levels = game.GetLevelCount();
    const int margin = 12, gap = 16, label = 22, title = 34;
    int columns = 1, rows = 1;
    for (int level = 1; level <= levels; ++level) {
        const TLevelCrop crop = LevelCrop(*game.GetMap(level));
        columns = std::max(columns, crop.Columns());
        rows = std::max(rows, crop.Rows());
    }
    const int cellWidth = std::max(columns * tilePixels, 160);
    const int cellHeight = label + rows * tilePixels;
    const int across = std::max(1, std::min(perRow, levels));
    const int down = std::max(1, (levels + across - 1) / across);
    const int width = 2 * margin + across * cellWidth + (across - 1) * gap;
    const int height = margin + title + down * cellHeight + (down - 1) * gap + margin;

    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(QColor(48, 52, 60));
    QPainter p(&sheet);
    QFont font("DejaVu Sans");
    font.setPixelSize(18);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(240, 240, 232));
    const QString heading =
        QString::fromStdString(game.Name + "  \u2014  " + game.Author + "  \u2014  " +
                               SkillName(game.Skill) + ", " + std::to_string(levels) + " levels");
    p.drawText(QRect(margin, margin, width - 2 * margin, title - 8),
               Qt::AlignLeft | Qt::AlignVCenter, heading);
    font.setPixelSize(13);
    font.setBold(false);
    p.setFont(font);
    for (int level = 1; level <= levels; ++level) {
        const TMap& map = *game.GetMap(level);
        const TLevelCrop crop = LevelCrop(map);
        const int col = (level - 1) % across, row = (level - 1) / across;
        const int left = margin + col * (cellWidth + gap);
        const int top = margin + title + row * (cellHeight + gap);
        p.drawText(QRect(left, top, cellWidth, label - 4), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromStdString(std::to_string(level) + ". " + map.GetName()));
        const int x0 = left + (cellWidth - crop.Columns() * tilePixels) / 2;
        const int y0 = top + label;
        for (int y = crop.Y0; y <= crop.Y1; ++y)
            for (int x = crop.X0; x <= crop.X1; ++x) {
                const QImage& tile = tiles[std::min<std::size_t>(map.GetCell(TPos(x, y)), 16)];
                const QPoint at(x0 + (x - crop.X0) * tilePixels, y0 + (y - crop.Y0) * tilePixels);
                if (tile.isNull())
                    p.fillRect(QRect(at, QSize(tilePixels, tilePixels)), QColor(20, 20, 24));
                else
                    p.drawImage(at, tile);
            }
    }
    p.end();
    return sheet;
}

} // namespace tb
