// The main window's side of the adapter: the menu items by Tag, the
// pictures of the tile size in use, the titles, the bottom row's panels, the
// level buttons, and the layout for each tile size.

#include "shell/tb_main.h"

#include <QFontMetrics>
#include <QScreen>

#include <algorithm>

namespace tb {

namespace {

void SetLabelColour(QLabel& label, const QColor& colour) {
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, colour);
    label.setPalette(palette);
}

} // namespace

// ---- The menu ----

std::span<const TMenuItem> TMain::MenuItems() const {
    return MainMenu ? MainMenu->Rows() : std::span<const TMenuItem>();
}

void TMain::ShowItem(int tag, bool visible) {
    if (MainMenu) MainMenu->ShowItem(tag, visible);
}

void TMain::EnableItem(int tag, bool enabled) {
    if (MainMenu) MainMenu->Item(tag)->setEnabled(enabled);
}

void TMain::CheckItem(int tag, bool checked) {
    if (MainMenu) MainMenu->Item(tag)->setChecked(checked);
}

// ---- The field and the titles ----

const TTileSet& TMain::Tiles() const {
    // Set 0 holds no pictures: the layout was not done yet.
    return TileSets[static_cast<std::size_t>(TileSize >= 1 && TileSize <= 4 ? TileSize : 0)];
}

void TMain::ShowTitles(bool welcome, bool version) {
    xTit1.setVisible(welcome);
    xTit2.setVisible(welcome);
    xTit3.setVisible(version);
}

// ---- The bottom row ----

void TMain::ShowPanel(TBottomPanel panel, bool visible) {
    switch (panel) {
    case TBottomPanel::Message:
        xBottomPan.setVisible(visible);
        break;
    case TBottomPanel::Palette:
        xPalettePan.setVisible(visible);
        break;
    case TBottomPanel::Levels:
        xLevelPan.setVisible(visible);
        break;
    case TBottomPanel::Name:
        xNamePan.setVisible(visible);
        break;
    case TBottomPanel::Clock:
        xClockPan.setVisible(visible);
        break;
    case TBottomPanel::Steps:
        xStepPan.setVisible(visible);
        break;
    }
}

void TMain::SetPanelText(TBottomPanel panel, const QString& text) {
    switch (panel) {
    case TBottomPanel::Message:
        xBottomLab.setText(text);
        break;
    case TBottomPanel::Clock:
        xClockLab.setText(text);
        break;
    case TBottomPanel::Steps:
        xStepLab.setText(text);
        break;
    case TBottomPanel::Name: {
        xNameLab.hide();
        QFont font = xNameLab.font();
        font.setPointSize(std::max(xBottomLab.font().pointSize(), MinNameFontSize));
        // A long name shrinks its font until it fits the panel, down to a floor.
        const int room = xNamePan.width() - 8;
        while (font.pointSize() > MinNameFontSize &&
               QFontMetrics(font).horizontalAdvance(text) > room)
            font.setPointSize(font.pointSize() - 1);
        xNameLab.setFont(font);
        xNameLab.setText(text);
        xNameLab.setGeometry(xNamePan.contentsRect());
        xNameLab.show();
        break;
    }
    case TBottomPanel::Palette:
    case TBottomPanel::Levels:
        break; // no text
    }
}

void TMain::ColourCounters(const QColor& colour) {
    SetLabelColour(xClockLab, colour);
    SetLabelColour(xStepLab, colour);
}

void TMain::RunClock(bool on) {
    if (on)
        xTim.start();
    else
        xTim.stop();
}

void TMain::EnableLevelButtons(int highest) {
    for (int i = 1; i <= 9; ++i)
        xLev[static_cast<std::size_t>(i - 1)]->setEnabled(i <= highest);
}

void TMain::MarkLevelButton(int level, bool marked) {
    if (level < 1 || level > 9) return;
    QToolButton* button = xLev[static_cast<std::size_t>(level - 1)];
    button->setAutoRaise(!marked);
    button->setChecked(marked);
}

// ---- The layout of each tile size ----

void TMain::LayOut(int size) {
    size = std::clamp(size, 1, 4);
    QFont bottomFont = xBottomLab.font();
    bottomFont.setPointSize(size + 11);
    xBottomLab.setFont(bottomFont);
    TDesign& design = Design;
    const bool first = !design.Taken;
    if (first) {
        design.Taken = true;
        design.Client = Client.size();
        design.Panel = xiPanel.size();
        design.Bottom = xBottomPan.size();
        design.PaletteWidth = xPalettePan.width();
        design.NameWidth = xNamePan.width();
        design.LevelLeft = xLevelPan.x();
        design.LevelWidth = xLevelPan.width();
        design.StepLeft = xStepPan.x();
        design.StepWidth = xStepPan.width();
        design.ClockWidth = xClockPan.width();
        design.Map = xMap.size();
        design.PalButton = xPal[0]->height();
        design.LevButton = xLev[0]->height();
        design.Tit1Size = xTit1.font().pointSize();
        design.Tit2Size = xTit2.font().pointSize();
        design.Tit3Size = xTit3.font().pointSize();
    } else if (size == TileSize) {
        raise();
        activateWindow();
        return;
    }
    // The window is laid out while it does not paint, so the change is never
    // seen half done.
    setUpdatesEnabled(false);
    const int d = size - 1;
    TileSize = size;
    TilePixels = 8 * d + 16;

    const QSize client = design.Client + QSize(248 * d, 152 * d);
    Client.setFixedSize(client);
    xiPanel.setGeometry(0, 0, design.Panel.width() + 248 * d, design.Panel.height() + 144 * d);
    const int rowTop = xiPanel.height();
    const int rowHeight = design.Bottom.height() + 8 * d;

    const bool bottomVisible = xBottomPan.isVisible();
    xBottomPan.setGeometry(0, rowTop, client.width(), rowHeight);
    xBottomLab.setGeometry(xBottomPan.contentsRect());
    xBottomPan.setVisible(bottomVisible);

    xPalettePan.setGeometry(0, rowTop, design.PaletteWidth + 104 * d, rowHeight);
    const int palButton = design.PalButton + 8 * d;
    const int slot = xPalettePan.contentsRect().width() / 8;
    const int margin = (xPalettePan.contentsRect().width() - 8 * slot) / 2;
    for (std::size_t i = 0; i < xPal.size(); ++i)
        xPal[i]->setGeometry(margin + static_cast<int>(i) * slot + (slot - palButton) / 2,
                             (rowHeight - palButton) / 2, palButton, palButton);

    xNamePan.setGeometry(0, rowTop, design.NameWidth + 104 * d, rowHeight);
    xNameLab.setGeometry(xNamePan.contentsRect());
    xLevelPan.setGeometry(design.LevelLeft + 104 * d, rowTop, design.LevelWidth + 144 * d,
                          rowHeight);
    const int levButton = design.LevButton + 2 * d;
    for (QToolButton* button : xLev)
        button->setGeometry(button->x(), (rowHeight - levButton) / 2, levButton, levButton);
    LayoutLevelButtons();
    xStepPan.setGeometry(design.StepLeft + (104 * d) / 2, rowTop, design.StepWidth + (104 * d) / 2,
                         rowHeight);
    xStepLab.setGeometry(xStepPan.contentsRect());
    xClockPan.setGeometry(0, rowTop, design.ClockWidth + (104 * d) / 2, rowHeight);
    xClockLab.setGeometry(xClockPan.contentsRect());

    const QSize map = design.Map + QSize(248 * d, 144 * d);
    xMap.setGeometry(xMap.x(), xMap.y(), map.width(), map.height());
    xMap.NewPicture();

    const int panelWidth = xiPanel.width();
    const int panelHeight = xiPanel.height();
    const std::array<std::pair<QLabel*, int>, 3> titles = {
        std::pair{&xTit1, design.Tit1Size + 2 * d}, std::pair{&xTit2, design.Tit2Size + 10 * d},
        std::pair{&xTit3, design.Tit3Size + d}};
    for (auto [label, points] : titles) {
        QFont font = label->font();
        font.setPointSize(points);
        label->setFont(font);
        label->setFixedWidth(panelWidth);
        label->adjustSize();
        label->setFixedWidth(panelWidth);
    }
    xTit1.move(0, panelHeight / 4);
    xTit2.move(0, panelHeight / 2);
    xTit3.move(0, panelHeight - xTit3.height() - 4);

    setUpdatesEnabled(true);
    adjustSize();
    if (const QScreen* current = screen()) {
        const QRect area = current->availableGeometry();
        move(area.x() + (area.width() - frameGeometry().width()) / 2,
             area.y() + (area.height() - frameGeometry().height()) / 2);
    }
    Adapter.RepaintMap();
    if (!first) {
        raise();
        activateWindow();
    }
}

} // namespace tb
