#include "play/tb_interface.h"

#include "play/tb_mainview.h"
#include "play/tb_pump.h"
#include "play/tb_util.h"
#include "play/tb_wingame.h"
#include "services/d_folders.h"
#include "services/d_menu.h"
#include "services/d_messages.h"

#include <QThread>

namespace tb {
namespace {

void ProcessPending() {
    TEventPump::Process();
}

} // namespace

TUi::TUi(TMainView& main, const TFolders& folders) : Main(main), RunFolders(folders) {}

const QImage& TUi::TileOf(std::uint8_t code) const {
    static const QImage none;
    if (code >= 17) return none;
    return Main.Tiles().Cells[code];
}

void TUi::DrawTile(TPos pos, const QImage& tile) {
    if (tile.isNull()) return;
    const int pixels = Main.CellPixels();
    Main.Field().DrawAt((pos.X - 1) * pixels, (pos.Y - 1) * pixels, tile);
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
    for (int menu : {TagFileMenu, TagGameMenu, TagOptionsMenu, TagXtraMenu, TagHelpMenu})
        Main.EnableItem(menu, on);
}

void TUi::AnimateExplosion(TPos pos) {
    if (Game != nullptr && Game->IsAnimated()) AnimateFrames(pos, Main.Tiles().Boom);
}

void TUi::HideTitles() {
    Main.ShowTitles(false, false);
}

void TUi::ShowBottomPanel() {
    Main.SetPanelText(TBottomPanel::Message, {});
    Main.ShowPanel(TBottomPanel::Message, true);
}

void TUi::AnimateImplosion(TPos pos) {
    if (Game != nullptr && Game->IsAnimated()) AnimateFrames(pos, Main.Tiles().Impl);
}

void TUi::EnableLevelButtons(std::uint8_t highest) {
    Main.EnableLevelButtons(highest);
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
    Main.CheckItem(TagReadOnly, on);
}

void TUi::RepaintMap() {
    if (!Main.Window().isVisible()) return;
    if (Game == nullptr || (Game->GetState() == TState::None && !Game->IsEdit())) {
        const QImage title(ToQString(RunFolders.ImagesFolder / "tb_pic.bmp"));
        Main.Field().ShowPicture(title);
        TitleShown = true;
        // The title picture carries the game's name itself; the welcome
        // words stand in for it on an empty field.
        Main.ShowTitles(title.isNull(), true);
        return;
    }
    if (TitleShown) {
        Main.Field().NewPicture();
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
            Main.SetPanelText(TBottomPanel::Message, ToUnicode(MoreMessage(MsgClickToLoad)));
            RepaintMap();
        }
        Main.ShowItem(TagGameMenu, false);
        Main.ShowItem(TagEditMenu, false);
        break;
    case TState::Ready:
        EnableMenus(false);
        Main.ShowItem(TagEditMode, Game->IsEditable());
        Main.ShowItem(TagGameMenu, true);
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
        Main.RunClock(true);
        Main.ColourCounters(QColor(0xFF, 0xFF, 0x00));
        ShowKillSolution();
        EnableMenus(true);
        break;
    case TState::Replay:
        Main.RunClock(true);
        Main.ColourCounters(QColor(0x00, 0xFF, 0x00));
        EnableMenus(false);
        break;
    case TState::Done:
        Main.RunClock(false);
        Main.ColourCounters(QColor(0x80, 0x80, 0x80));
        ShowKillSolution();
        EnableMenus(true);
        break;
    }
}

void TUi::ShowAccessAll(bool on) {
    Main.CheckItem(TagAccessAll, on);
}

void TUi::ShowModified(bool) {}

void TUi::ShowXtraMenu(bool on) {
    Main.ShowItem(TagXtraMenu, on);
}

void TUi::ShowClock(const std::string& text) {
    Main.SetPanelText(TBottomPanel::Clock, ToUnicode(text));
}

void TUi::HeroKilled() {
    Main.ShowBanner(MoreMessage(MsgHeroKilled), true);
}

void TUi::EditModeChanged(bool edit) {
    ShowModified(true);
    for (const TMenuItem& item : Main.MenuItems())
        if (item.InEditor != TInEditor::Same)
            Main.ShowItem(item.Tag, edit == (item.InEditor == TInEditor::Shown));
    Main.ShowItem(TagGameMenu, !edit);
    Main.ShowItem(TagEditMenu, edit);
    Main.ShowPanel(TBottomPanel::Palette, edit);
    Main.EnableItem(TagReadOnly, edit);
    RefreshPanels();
}

void TUi::SelectLevelButton(std::uint8_t level) {
    if (SelectedButton >= 1 && SelectedButton <= 9) Main.MarkLevelButton(SelectedButton, false);
    if (level >= 1 && level <= 9) {
        Main.MarkLevelButton(level, true);
        SelectedButton = level;
    }
    ProcessPending();
}

void TUi::ShowLevelName(const std::string& text) {
    Main.SetPanelText(TBottomPanel::Name, ToUnicode(text));
}

void TUi::ShowRestoreSnapshot(bool on) {
    Main.ShowItem(TagRestore, on);
}

void TUi::ShowStepBack(bool on) {
    Main.ShowItem(TagStepBack, on);
}

void TUi::ShowSteps(const std::string& text) {
    Main.SetPanelText(TBottomPanel::Steps, ToUnicode(text));
}

void TUi::LevelSolved() {
    Main.ShowBanner(MoreMessage(MsgWellDone), true);
}

void TUi::WaitMessage() {
    TEventPump::ProcessWhile([this] { return Main.BannerShowing(); });
}

void TUi::RefreshPanels() {
    if (Game == nullptr) return;
    const TState state = Game->GetState();
    const bool edit = Game->IsEdit();
    const bool idle = state == TState::None && !edit;
    Main.ShowPanel(TBottomPanel::Message, idle);
    if (idle) Main.SetPanelText(TBottomPanel::Message, ToUnicode(MoreMessage(MsgClickToLoad)));
    Main.ShowPanel(TBottomPanel::Palette, edit);
    Main.ShowPanel(TBottomPanel::Levels, !idle);
    Main.ShowPanel(TBottomPanel::Name, state == TState::Ready);
    const bool counting = !idle && !edit && state != TState::Ready;
    Main.ShowPanel(TBottomPanel::Clock, counting);
    Main.ShowPanel(TBottomPanel::Steps, counting);
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

} // namespace tb
