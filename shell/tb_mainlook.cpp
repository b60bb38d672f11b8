// The main window's look: its built-in tiles, the tile size with the
// palette's pictures, the skin's pictures, the language's captions and the
// fonts and menu colours on every window.

#include "shell/tb_main.h"

#include "play/tb_boxuti.h"
#include "play/tb_colour.h"
#include "play/tb_congratbox.h"
#include "play/tb_util.h"
#include "records/browsers/tb_authbox.h"
#include "records/browsers/tb_champbox.h"
#include "records/browsers/tb_solbox.h"
#include "records/browsers/tb_wribox.h"
#include "services/d_language.h"
#include "services/d_messages.h"
#include "services/d_settings.h"
#include "shell/tb_gamebox.h"
#include "shell/tb_levbox.h"
#include "shell/tb_namebox.h"
#include "shell/tb_playerbox.h"

#include <QMenuBar>

#include <algorithm>

namespace tb {

void TMain::BuildBuiltInTiles() {
    // The window's own pictures, replaced by the sprite set's files when
    // they are loaded.
    for (int size = 1; size <= 4; ++size)
        TileSets[static_cast<std::size_t>(size)] = BuiltInTiles(size);
    // The boxes show the hero of the program's own pictures.
    const QPixmap hero = QPixmap::fromImage(TileSets[3].Cells[Hero]);
    Alert.SetHeroPicture(hero);
    GameBox->SetHeroPicture(hero);
    for (TNameDialog* box :
         std::array<TNameDialog*, 3>{PlayerBox.get(), NameBox.get(), LevBox.get()})
        box->SetHeroPicture(hero);
}

void TMain::SetMainFonts(const QString& name, int pointSize) {
    if (pointSize == 0) return;
    QFont font = this->font();
    if (!name.isEmpty()) font.setFamily(name);
    font.setPointSize(std::clamp(pointSize + 4, 12, 14));
    for (QLabel* label : {&xBottomLab, &xClockLab, &xStepLab, &xNameLab}) {
        QFont own = label->font();
        if (!name.isEmpty()) own.setFamily(name);
        label->setFont(own);
    }
    menuBar()->setFont(QFont(name.isEmpty() ? menuBar()->font().family() : name, pointSize));
    Alert.SetBoxFont(name, pointSize);
}

void TMain::ApplyCaptions() {
    const std::map<int, std::string>& main = Language().Captions(TLanguageForm::Main);
    MainMenu->ApplyCaptions(main);
    TranslateForm(Alert, Language().Captions(TLanguageForm::AlertBox));
    GameBox->ApplyCaptions(Language().Captions(TLanguageForm::GameBox));
    PlayerBox->ApplyCaptions(Language().Captions(TLanguageForm::PlayerBox));
    NameBox->ApplyCaptions(Language().Captions(TLanguageForm::NameBox));
    LevBox->ApplyCaptions(Language().Captions(TLanguageForm::LevBox));
    ChampBox->ApplyCaptions(Language().Captions(TLanguageForm::ChampBox));
    SolBox->ApplyCaptions(Language().Captions(TLanguageForm::SolBox));
    AuthBox->ApplyCaptions(Language().Captions(TLanguageForm::AuthBox));
    WriBox->ApplyCaptions(Language().Captions(TLanguageForm::WriBox));
    CongratBox->ApplyCaptions(Language().Captions(TLanguageForm::CongratBox));
    // The palette's hints name the cell kinds (Tags 91 to 98).
    for (std::size_t i = 0; i < xPal.size(); ++i)
        if (const auto name = main.find(TagPaletteHints + static_cast<int>(i)); name != main.end())
            xPal[i]->setToolTip(ToUnicode(name->second));
    xTit1.setText(ToUnicode(MoreMessage(MsgWelcome)));
    if (xBottomPan.isVisible() && Game().GetState() == TState::None && !Game().IsEdit())
        xBottomLab.setText(ToUnicode(MoreMessage(MsgClickToLoad)));
}

void TMain::ApplyFonts() {
    const QString name = ToUnicode(Language().FontName);
    const int size = Settings().FontSize;
    SetDialogFontBold(Settings().BoldFont);
    SetMainFonts(name, size);
    for (TPictureDialog* box : PictureDialogs())
        box->SetBoxFont(name, size);
    CongratBox->setFont(Alert.font());
    for (TRecordBox* box : RecordBoxes())
        box->SetFonts(name, Language().Charset, size, Settings().BoldFont);
    ApplyMenuColours();
}

void TMain::ApplyMenuColours() {
    const TSettings& settings = Settings();
    QString style;
    QFont font = menuBar()->font();
    if (settings.CustomMenu) {
        // The menus below the bar take the settings' colours and the interface font.
        style = QString("QMenu { background: %1; color: %2; }"
                        "QMenu::item:selected { background: %3; color: %4; }"
                        "QMenu::item:disabled { color: gray; }")
                    .arg(ToQColor(settings.Menu).name(), ToQColor(settings.MenuFont).name(),
                         ToQColor(settings.MenuSel).name(), ToQColor(settings.MenuSelFont).name());
        if (!Language().FontName.empty()) font.setFamily(ToUnicode(Language().FontName));
        if (settings.FontSize > 0) font.setPointSize(settings.FontSize);
        font.setBold(settings.BoldFont);
    }
    for (QMenu* menu : menuBar()->findChildren<QMenu*>()) {
        menu->setStyleSheet(style);
        menu->setFont(font);
    }
    menuBar()->setFont(font);
    menuBar()->adjustSize();
}

void TMain::UseTileSize(int size) {
    LayOut(size);
    const TTileSet& set = TileSets[static_cast<std::size_t>(size)];
    for (std::size_t i = 0; i < xPal.size(); ++i) {
        xPal[i]->setIcon(QPixmap::fromImage(set.Cells[TFieldEditor::PaletteCodes[i]]));
        xPal[i]->setIconSize(QSize(TilePixels, TilePixels));
    }
}

void TMain::ApplySkin(const QPixmap& box, const QPixmap& list, const QPixmap& panel) {
    if (!box.isNull()) {
        Alert.SetBackground(box);
        for (TPictureDialog* each : PictureDialogs())
            each->SetBackground(box);
    }
    if (!list.isNull()) ListPicture = list;
    for (TRecordBox* each : RecordBoxes())
        each->SetBackground(ListPicture);
    if (!panel.isNull())
        for (TPanel* each :
             {&xBottomPan, &xNamePan, &xClockPan, &xStepPan, &xLevelPan, &xPalettePan})
            each->SetPicture(panel);
}

} // namespace tb
