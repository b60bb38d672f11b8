#include "play/tb_interface.h"

#include "play/tb_mainview.h"
#include "play/tb_pump.h"
#include "play/tb_util.h"
#include "play/tb_wingame.h"
#include "services/d_folders.h"
#include "services/d_menu.h"
#include "services/d_messages.h"

#include <QApplication>
#include <QFontMetrics>
#include <QScreen>
#include <QThread>

namespace tb {
namespace {

void ProcessPending() {
    TEventPump::Process();
}

void SetLabelColour(QLabel& label, const QColor& colour) {
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, colour);
    label.setPalette(palette);
}

} // namespace

TUi::TUi(TMainView& main) : Main(main) {}

const QImage& TUi::TileOf(std::uint8_t code) const {
    static const QImage none;
    if (Main.TileSize < 1 || Main.TileSize > 4 || code >= 17) return none;
    return Main.Tiles[static_cast<std::size_t>(Main.TileSize)].Cells[code];
}

void TUi::DrawTile(TPos pos, const QImage& tile) {
    if (tile.isNull()) return;
    Main.xMap.DrawAt((pos.X - 1) * Main.TilePixels, (pos.Y - 1) * Main.TilePixels, tile);
}

void TUi::ShowReplayCount(std::uint16_t count) {
    if (Main.Window().isMinimized()) Main.Window().showNormal();
    Main.AlertBox().Run(MoreMessage(MsgLevelsReplayed), {std::to_string(count)}, true, AlertOK);
}

void TUi::DrawCell(TPos pos) {
    if (Game == nullptr) return;
    // A code without a picture (a character outside the cell alphabet) shows
    // as an empty cell.
    const QImage& tile = TileOf(Game->GetCell(pos));
    DrawTile(pos, tile.isNull() ? TileOf(Empty) : tile);
}

void TUi::EnableMenus(bool on) {
    MenusOn = on;
    if (on) RefreshPanels();
    for (QMenu* menu : {Main.mFile, Main.mGame, Main.mOptions, Main.mCheat, Main.xHelp})
        if (menu != nullptr) menu->menuAction()->setEnabled(on);
}

void TUi::AnimateExplosion(TPos pos) {
    if (Game != nullptr && Game->IsAnimated())
        AnimateFrames(pos, Main.Tiles[static_cast<std::size_t>(Main.TileSize)].Boom);
}

void TUi::HideTitles() {
    Main.xTit1.hide();
    Main.xTit2.hide();
    Main.xTit3.hide();
}

void TUi::ShowBottomPanel() {
    Main.xBottomLab.clear();
    Main.xBottomPan.show();
}

void TUi::AnimateImplosion(TPos pos) {
    if (Game != nullptr && Game->IsAnimated())
        AnimateFrames(pos, Main.Tiles[static_cast<std::size_t>(Main.TileSize)].Impl);
}

void TUi::EnableLevelButtons(std::uint8_t highest) {
    for (int i = 1; i <= 9; ++i) {
        QToolButton* button = Main.xLev[static_cast<std::size_t>(i - 1)];
        button->setEnabled(i <= highest);
    }
}

void TUi::UpdateEditMenu() {
    if (Game == nullptr) return;
    const int count = Game->LevelCount();
    const int level = Game->GetLevel();
    Main.ShowItem(TagAdd, count < 9);
    Main.ShowItem(TagMoveDown, count > level);
    Main.ShowItem(TagMoveUp, level > 1);
    Main.ShowItem(TagCopy, level > 1);
    Main.ShowItem(TagRemove, count > 1);
}

void TUi::LayoutLevelButtons(std::uint8_t) {
    Main.LayoutLevelButtons();
}

void TUi::NewLevelStarting() {
    Main.ShuffleSprites();
    Main.ShuffleSounds();
}

void TUi::ShowReadOnly(bool on) {
    Main.mReadOnly->setChecked(on);
}

void TUi::RepaintMap() {
    if (!Main.Window().isVisible()) return;
    if (Game == nullptr || (Game->GetState() == TState::None && !Game->IsEdit())) {
        const QImage title(ToQString(Folders().ImagesFolder / "tb_pic.bmp"));
        Main.xMap.ShowPicture(title);
        TitleShown = true;
        // The title picture carries the game's name itself; the welcome
        // words stand in for it on an empty field.
        Main.xTit1.setVisible(title.isNull());
        Main.xTit2.setVisible(title.isNull());
        Main.xTit3.show();
        return;
    }
    if (TitleShown) {
        Main.xMap.NewPicture();
        TitleShown = false;
    }
    Game->DrawAll();
}

void TUi::ShowCaption(const std::string& text) {
    Main.Window().setWindowTitle(ToUnicode(text));
}

void TUi::ShowKillSolution() {
    Main.ShowItem(TagKillSolution, Game->BestSolution() != nullptr);
}

void TUi::StateChanged(TState state) {
    if (Game == nullptr) return;
    Game->UpdateCaption();
    RefreshPanels();
    const bool edit = Game->IsEdit();
    for (const TMenuItem& item : Main.MenuItems()) {
        if (Holds(item.ShowOn, state)) Main.ShowItem(item.Tag, true);
        if (Holds(item.HideOn, state)) Main.ShowItem(item.Tag, false);
    }
    switch (state) {
    case TState::None:
        if (!edit) {
            Main.xBottomLab.setText(ToUnicode(MoreMessage(MsgClickToLoad)));
            RepaintMap();
        }
        Main.mGame->menuAction()->setVisible(false);
        Main.mEdit->menuAction()->setVisible(false);
        break;
    case TState::Ready:
        EnableMenus(false);
        Main.ShowItem(TagEditMode, Game->IsEditable());
        Main.mGame->menuAction()->setVisible(true);
        ShowKillSolution();
        RepaintMap();
        SelectLevelButton(Game->GetLevel());
        EnableMenus(false);
        if (!Game->IsAutoPlay()) {
            BlinkHero();
            EnableMenus(true);
        }
        break;
    case TState::Play:
        Main.xTim.start();
        SetLabelColour(Main.xClockLab, QColor(0xFF, 0xFF, 0x00));
        SetLabelColour(Main.xStepLab, QColor(0xFF, 0xFF, 0x00));
        ShowKillSolution();
        EnableMenus(true);
        break;
    case TState::Replay:
        Main.xTim.start();
        SetLabelColour(Main.xClockLab, QColor(0x00, 0xFF, 0x00));
        SetLabelColour(Main.xStepLab, QColor(0x00, 0xFF, 0x00));
        EnableMenus(false);
        break;
    case TState::Done:
        Main.xTim.stop();
        SetLabelColour(Main.xClockLab, QColor(0x80, 0x80, 0x80));
        SetLabelColour(Main.xStepLab, QColor(0x80, 0x80, 0x80));
        ShowKillSolution();
        EnableMenus(true);
        break;
    }
}

void TUi::ShowAccessAll(bool on) {
    Main.mAccess->setChecked(on);
}

void TUi::ShowModified(bool) {}

void TUi::ShowXtraMenu(bool on) {
    Main.mCheat->menuAction()->setVisible(on);
}

void TUi::ShowClock(const std::string& text) {
    Main.xClockLab.setText(ToUnicode(text));
}

void TUi::HeroKilled() {
    Main.ShowBanner(MoreMessage(MsgHeroKilled), true);
}

void TUi::EditModeChanged(bool edit) {
    ShowModified(true);
    for (const TMenuItem& item : Main.MenuItems())
        if (item.InEditor != TInEditor::Same)
            Main.ShowItem(item.Tag, edit == (item.InEditor == TInEditor::Shown));
    Main.mGame->menuAction()->setVisible(!edit);
    Main.mEdit->menuAction()->setVisible(edit);
    Main.xPalettePan.setVisible(edit);
    Main.mReadOnly->setEnabled(edit);
    RefreshPanels();
}

void TUi::SelectLevelButton(std::uint8_t level) {
    if (SelectedButton >= 1 && SelectedButton <= 9) {
        QToolButton* previous = Main.xLev[static_cast<std::size_t>(SelectedButton - 1)];
        previous->setAutoRaise(true);
        previous->setChecked(false);
    }
    if (level >= 1 && level <= 9) {
        QToolButton* button = Main.xLev[static_cast<std::size_t>(level - 1)];
        button->setAutoRaise(false);
        button->setChecked(true);
        SelectedButton = level;
    }
    ProcessPending();
}

void TUi::ShowLevelName(const std::string& text) {
    QLabel& label = Main.xNameLab;
    label.hide();
    QFont font = label.font();
    font.setPointSize(std::max(Main.xBottomLab.font().pointSize(), MinNameFontSize));
    const QString caption = ToUnicode(text);
    // A long name shrinks its font until it fits the panel, down to a floor.
    const int room = Main.xNamePan.width() - 8;
    while (font.pointSize() > MinNameFontSize &&
           QFontMetrics(font).horizontalAdvance(caption) > room)
        font.setPointSize(font.pointSize() - 1);
    label.setFont(font);
    label.setText(caption);
    label.setGeometry(Main.xNamePan.contentsRect());
    label.show();
}

void TUi::ShowRestoreSnapshot(bool on) {
    Main.ShowItem(TagRestore, on);
}

void TUi::ShowStepBack(bool on) {
    Main.ShowItem(TagStepBack, on);
}

void TUi::ShowSteps(const std::string& text) {
    Main.xStepLab.setText(ToUnicode(text));
}

void TUi::LevelSolved() {
    Main.ShowBanner(MoreMessage(MsgWellDone), true);
}

void TUi::WaitMessage() {
    TEventPump::ProcessWhile([this] { return Main.xMessTim.isActive(); });
}

void TUi::RefreshPanels() {
    if (Game == nullptr) return;
    const TState state = Game->GetState();
    const bool edit = Game->IsEdit();
    const bool idle = state == TState::None && !edit;
    Main.xBottomPan.setVisible(idle);
    if (idle) Main.xBottomLab.setText(ToUnicode(MoreMessage(MsgClickToLoad)));
    Main.xPalettePan.setVisible(edit);
    Main.xLevelPan.setVisible(!idle);
    Main.xNamePan.setVisible(state == TState::Ready);
    const bool counting = !idle && !edit && state != TState::Ready;
    Main.xClockPan.setVisible(counting);
    Main.xStepPan.setVisible(counting);
}

void TUi::AnimateFrames(TPos pos, const std::array<QImage, 4>& frames) {
    for (const QImage& frame : frames) {
        const std::uint32_t start = MilliTime();
        DrawTile(pos, TileOf(Empty));
        DrawTile(pos, frame);
        TEventPump::ProcessUntil(start, 30);
    }
    DrawTile(pos, TileOf(Empty));
    ProcessPending();
}

void TUi::BlinkHero() {
    if (Game == nullptr) return;
    const TPos hero = Game->GetHeroPos();
    if (hero.IsNone()) return;
    for (int i = 0; i < 2; ++i) {
        DrawTile(hero, TileOf(Empty));
        ProcessPending();
        QThread::msleep(150);
        DrawTile(hero, TileOf(Hero));
        ProcessPending();
        QThread::msleep(150);
    }
}

void TUi::SetTileSize(int size) {
    size = std::clamp(size, 1, 4);
    QFont bottomFont = Main.xBottomLab.font();
    bottomFont.setPointSize(size + 11);
    Main.xBottomLab.setFont(bottomFont);
    TMainView::TDesign& design = Main.Design;
    const bool first = !design.Taken;
    if (first) {
        design.Taken = true;
        design.Client = Main.Client.size();
        design.Panel = Main.xiPanel.size();
        design.Bottom = Main.xBottomPan.size();
        design.PaletteWidth = Main.xPalettePan.width();
        design.NameWidth = Main.xNamePan.width();
        design.LevelLeft = Main.xLevelPan.x();
        design.LevelWidth = Main.xLevelPan.width();
        design.StepLeft = Main.xStepPan.x();
        design.StepWidth = Main.xStepPan.width();
        design.ClockWidth = Main.xClockPan.width();
        design.Map = Main.xMap.size();
        design.PalButton = Main.xPal[0]->height();
        design.LevButton = Main.xLev[0]->height();
        design.Tit1Size = Main.xTit1.font().pointSize();
        design.Tit2Size = Main.xTit2.font().pointSize();
        design.Tit3Size = Main.xTit3.font().pointSize();
    } else if (size == Main.TileSize) {
        Main.Window().raise();
        Main.Window().activateWindow();
        return;
    }
    // The window is laid out while it does not paint, so the change is never
    // seen half done.
    Main.Window().setUpdatesEnabled(false);
    const int d = size - 1;
    Main.TileSize = size;
    Main.TilePixels = 8 * d + 16;

    const QSize client = design.Client + QSize(248 * d, 152 * d);
    Main.Client.setFixedSize(client);
    Main.xiPanel.setGeometry(0, 0, design.Panel.width() + 248 * d, design.Panel.height() + 144 * d);
    const int rowTop = Main.xiPanel.height();
    const int rowHeight = design.Bottom.height() + 8 * d;

    const bool bottomVisible = Main.xBottomPan.isVisible();
    Main.xBottomPan.setGeometry(0, rowTop, client.width(), rowHeight);
    Main.xBottomLab.setGeometry(Main.xBottomPan.contentsRect());
    Main.xBottomPan.setVisible(bottomVisible);

    Main.xPalettePan.setGeometry(0, rowTop, design.PaletteWidth + 104 * d, rowHeight);
    const int palButton = design.PalButton + 8 * d;
    const int slot = Main.xPalettePan.contentsRect().width() / 8;
    const int margin = (Main.xPalettePan.contentsRect().width() - 8 * slot) / 2;
    for (std::size_t i = 0; i < Main.xPal.size(); ++i)
        Main.xPal[i]->setGeometry(margin + static_cast<int>(i) * slot + (slot - palButton) / 2,
                                  (rowHeight - palButton) / 2, palButton, palButton);

    Main.xNamePan.setGeometry(0, rowTop, design.NameWidth + 104 * d, rowHeight);
    Main.xNameLab.setGeometry(Main.xNamePan.contentsRect());
    Main.xLevelPan.setGeometry(design.LevelLeft + 104 * d, rowTop, design.LevelWidth + 144 * d,
                               rowHeight);
    const int levButton = design.LevButton + 2 * d;
    for (QToolButton* button : Main.xLev)
        button->setGeometry(button->x(), (rowHeight - levButton) / 2, levButton, levButton);
    Main.LayoutLevelButtons();
    Main.xStepPan.setGeometry(design.StepLeft + (104 * d) / 2, rowTop,
                              design.StepWidth + (104 * d) / 2, rowHeight);
    Main.xStepLab.setGeometry(Main.xStepPan.contentsRect());
    Main.xClockPan.setGeometry(0, rowTop, design.ClockWidth + (104 * d) / 2, rowHeight);
    Main.xClockLab.setGeometry(Main.xClockPan.contentsRect());

    const QSize map = design.Map + QSize(248 * d, 144 * d);
    Main.xMap.setGeometry(Main.xMap.x(), Main.xMap.y(), map.width(), map.height());
    Main.xMap.NewPicture();

    const int panelWidth = Main.xiPanel.width();
    const int panelHeight = Main.xiPanel.height();
    const std::array<std::pair<QLabel*, int>, 3> titles = {
        std::pair{&Main.xTit1, design.Tit1Size + 2 * d},
        std::pair{&Main.xTit2, design.Tit2Size + 10 * d},
        std::pair{&Main.xTit3, design.Tit3Size + d}};
    for (auto [label, points] : titles) {
        QFont font = label->font();
        font.setPointSize(points);
        label->setFont(font);
        label->setFixedWidth(panelWidth);
        label->adjustSize();
        label->setFixedWidth(panelWidth);
    }
    Main.xTit1.move(0, panelHeight / 4);
    Main.xTit2.move(0, panelHeight / 2);
    Main.xTit3.move(0, panelHeight - Main.xTit3.height() - 4);

    Main.Window().setUpdatesEnabled(true);
    Main.Window().adjustSize();
    if (const QScreen* screen = Main.Window().screen()) {
        const QRect area = screen->availableGeometry();
        Main.Window().move(area.x() + (area.width() - Main.Window().frameGeometry().width()) / 2,
                           area.y() + (area.height() - Main.Window().frameGeometry().height()) / 2);
    }
    RepaintMap();
    if (!first) {
        Main.Window().raise();
        Main.Window().activateWindow();
    }
}

} // namespace tb
