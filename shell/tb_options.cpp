// The options of the main window: built-in tiles and sprite sets at each
// tile size, sound sets, skins, fonts and menu colours, the language and the
// speed.

#include "shell/tb_main.h"
#include "shell/tb_mainparts.h"

#include "play/tb_boxuti.h"
#include "play/tb_colour.h"
#include "play/tb_congratbox.h"
#include "play/tb_pump.h"
#include "play/tb_util.h"
#include "records/browsers/tb_authbox.h"
#include "records/browsers/tb_champbox.h"
#include "records/browsers/tb_solbox.h"
#include "records/browsers/tb_wribox.h"
#include "services/d_error.h"
#include "services/d_folders.h"
#include "services/d_language.h"
#include "services/d_messages.h"
#include "services/d_settings.h"
#include "services/d_sound.h"
#include "services/d_string.h"
#include "services/d_types.h"
#include "shell/tb_aboutbox.h"
#include "shell/tb_errbox.h"
#include "shell/tb_gamebox.h"
#include "shell/tb_helpwin.h"
#include "shell/tb_jpeg.h"
#include "shell/tb_levbox.h"
#include "shell/tb_namebox.h"
#include "shell/tb_playerbox.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QGraphicsDropShadowEffect>
#include <QLayout>
#include <QMenuBar>
#include <QMouseEvent>
#include <QUrl>

#include <algorithm>
#include <filesystem>
#include <random>
namespace tb {
namespace fs = std::filesystem;

std::mt19937& ShuffleRandom() {
    static std::mt19937 random{std::random_device{}()};
    return random;
}

void TMain::BuildBuiltInTiles() {
    // The window's own pictures, replaced by the sprite set's files when
    // they are loaded.
    for (int size = 1; size <= 4; ++size)
        Tiles[static_cast<std::size_t>(size)] = BuiltInTiles(size);
    // The boxes show the hero of the program's own pictures.
    const QPixmap hero = QPixmap::fromImage(Tiles[3].Cells[Hero]);
    Alert.SetHeroPicture(hero);
    GameBox->SetHeroPicture(hero);
    for (TNameDialog* box :
         std::array<TNameDialog*, 3>{PlayerBox.get(), NameBox.get(), LevBox.get()})
        box->SetHeroPicture(hero);
}

// ---- Fonts, skin, language ----

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

void TMain::SetSkin(const std::string& name) {
    TSettings& settings = Settings();
    if (!settings.Backgrounds) return;
    const fs::path folder = SkinFolder(name);
    std::error_code ec;
    const fs::path box = folder / settings.SkinPictureName(TSkinPicture::Box);
    QPixmap boxPicture;
    if (fs::exists(box, ec)) {
        boxPicture = QPixmap::fromImage(ReadPicture(box));
        Alert.SetBackground(boxPicture);
        for (TPictureDialog* each : PictureDialogs())
            each->SetBackground(boxPicture);
    }
    // The browsers show the list picture, or the box picture without one.
    const fs::path list = folder / settings.SkinPictureName(TSkinPicture::List);
    if (fs::exists(list, ec))
        ListPicture = QPixmap::fromImage(ReadPicture(list));
    else if (!boxPicture.isNull())
        ListPicture = boxPicture;
    for (TRecordBox* each : RecordBoxes())
        each->SetBackground(ListPicture);
    const fs::path panel = folder / settings.SkinPictureName(TSkinPicture::Panel);
    if (fs::exists(panel, ec)) {
        const QPixmap picture = QPixmap::fromImage(ReadPicture(panel));
        for (TPanel* each :
             {&xBottomPan, &xNamePan, &xClockPan, &xStepPan, &xLevelPan, &xPalettePan})
            each->SetPicture(picture);
    }
    settings.Skin = name;
    if (CheckedSkin != nullptr) CheckedSkin->setChecked(false);
    for (QAction* item : mSkin->actions())
        if (ItemSetName(item) == name) {
            item->setChecked(true);
            CheckedSkin = item;
        }
}

void TMain::LoadLanguage(const std::string& name) {
    const TLanguageLoad load = Language().LoadLanguage(Folders(), name);
    if (!load.Message.empty()) TErrBox_Show_Text(load.Message);
    ApplyCaptions();
    ApplyFonts();
    TErrBox_Set_Font(ToUnicode(Language().FontName), Language().Charset);
    if (load.Loaded) Settings().Language = Language().Name;
    for (QAction* item : mLanguage->actions())
        item->setChecked(ItemSetName(item) == Language().Name);
}

void TMain::ApplyCaptions() {
    const std::map<int, std::string>& main = Language().Captions(TLanguageForm::Main);
    for (const TMenuItem& row : MenuRows) {
        const auto caption = main.find(CaptionKey(row));
        if (CaptionKey(row) != 0 && caption != main.end() && !caption->second.empty())
            Item(row.Tag)->setText(ToUnicode(caption->second));
    }
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

// ---- Sprite sets and sound sets ----

void TMain::LoadSpriteSet(QAction* item) {
    try {
        int size = 0;
        for (int s = 1; s <= 4; ++s)
            if (SizeMenus[static_cast<std::size_t>(s)]->actions().contains(item)) size = s;
        if (size == 0) return;
        const std::string name = item->data().isValid() ? ItemSetName(item) : std::string();
        TTileSet& set = Tiles[static_cast<std::size_t>(size)];
        if (!name.empty()) {
            // A picture the set lacks keeps the one it had.
            for (std::uint8_t code = 1; code <= 15; ++code) {
                const int picture = CellPicture(code);
                if (picture < 0) continue;
                const fs::path file =
                    SpriteSetFolder(size, name) /
                    (std::string(CellPictureNames[static_cast<std::size_t>(picture)]) + ".bmp");
                std::error_code ec;
                if (!fs::exists(file, ec)) continue;
                const QImage image = ReadPicture(file);
                if (!image.isNull()) set.Cells[code] = image.convertToFormat(QImage::Format_RGB32);
            }
        }
        Adapter.SetTileSize(size);
        for (int s = 1; s <= 4; ++s)
            SizeMenus[static_cast<std::size_t>(s)]->menuAction()->setChecked(s == size);
        Settings().Sprites = name.empty() ? item->text().remove('&').toStdString() : name;
        Settings().Size = static_cast<std::uint8_t>(size);
        for (std::size_t i = 0; i < xPal.size(); ++i) {
            xPal[i]->setIcon(QPixmap::fromImage(set.Cells[PaletteCodes[i]]));
            xPal[i]->setIconSize(QSize(TilePixels, TilePixels));
        }
    } catch (const std::exception&) {
        // A set that cannot be read leaves the pictures as they were.
    }
}

void TMain::SpriteSetCommand(QAction* item) {
    if (CheckedSprites != nullptr) CheckedSprites->setChecked(false);
    item->setChecked(true);
    CheckedSprites = item;
    SpriteShuffle = false;
    Settings().SpritesRandom = false;
    LoadSpriteSet(item);
    if (Game().GetState() != TState::None || Game().IsEdit()) Game().DrawAll();
}

void TMain::SpriteShuffleCommand(QAction* shuffle) {
    if (CheckedSprites != nullptr) CheckedSprites->setChecked(false);
    shuffle->setChecked(true);
    CheckedSprites = shuffle;
    SpriteShuffle = true;
    Settings().SpritesRandom = true;
    LoadSpriteSet(shuffle);
}

void TMain::ShuffleSprites() {
    if (!SpriteShuffle || Game().GetState() == TState::None || Game().IsEdit()) return;
    const std::vector<QAction*> sets = SpriteItems(SizeMenus[static_cast<std::size_t>(TileSize)]);
    if (sets.size() < 2) return;
    QAction* drawn = nullptr;
    do {
        drawn =
            sets[std::uniform_int_distribution<std::size_t>(0, sets.size() - 1)(ShuffleRandom())];
    } while (drawn == LastShuffledSprites);
    LastShuffledSprites = drawn;
    LoadSpriteSet(drawn);
    Settings().Sprites = "Shuffle";
}

void TMain::SoundSetCommand(QAction* item) {
    if (CheckedSound != nullptr) CheckedSound->setChecked(false);
    item->setChecked(true);
    CheckedSound = item;
    SoundShuffle = false;
    Settings().SoundRandom = false;
    SoundBank().SoundOn = true;
    Settings().Waves = ItemSetName(item);
    SoundBank().LoadSoundSet(SoundSetFolder(Settings().Waves));
    mSound->menuAction()->setChecked(true);
}

void TMain::SoundOffCommand() {
    if (CheckedSound != nullptr) CheckedSound->setChecked(false);
    Item(TagSoundOff)->setChecked(true);
    CheckedSound = Item(TagSoundOff);
    SoundBank().SoundOn = false;
    SoundShuffle = false;
    Settings().SoundRandom = false;
    mSound->menuAction()->setChecked(false);
}

void TMain::SoundShuffleCommand() {
    if (CheckedSound != nullptr) CheckedSound->setChecked(false);
    QAction* shuffle = Item(TagSoundShuffle);
    shuffle->setChecked(true);
    CheckedSound = shuffle;
    SoundShuffle = true;
    Settings().SoundRandom = true;
    SoundBank().SoundOn = true;
    ShuffleSounds();
    mSound->menuAction()->setChecked(true);
}

void TMain::ShuffleSounds() {
    if (!SoundShuffle || Game().GetState() == TState::None || Game().IsEdit()) return;
    if (SoundSets.size() < 2) return;
    QAction* drawn = nullptr;
    do {
        drawn = SoundSets[std::uniform_int_distribution<std::size_t>(0, SoundSets.size() -
                                                                            1)(ShuffleRandom())];
    } while (drawn == LastShuffledSound);
    LastShuffledSound = drawn;
    SoundBank().SoundOn = true;
    Settings().Waves = ItemSetName(drawn);
    SoundBank().LoadSoundSet(SoundSetFolder(Settings().Waves));
}

void TMain::CheckSpeed() {
    const int speed = Game().GetSpeed();
    Item(SpeedTag(speed >= 1 && speed <= 4 ? speed : 2))->setChecked(true);
}

// ---- Fonts and menu colours ----

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
    for (int each = 7; each <= 12; ++each)
        Item(FontSizeTag(each))->setChecked(each == size);
    mBold->setChecked(Settings().BoldFont);
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

void TMain::FontSizeCommand(int size) {
    Settings().FontSize = static_cast<std::uint16_t>(size);
    ApplyFonts();
}

void TMain::BoldCommand() {
    Settings().BoldFont = !Settings().BoldFont;
    ApplyFonts();
}

void TMain::SpeedCommand(int speed) {
    Item(SpeedTag(speed))->setChecked(true);
    Game().SetSpeed(static_cast<std::uint8_t>(speed));
    Game().SetTiming();
}

} // namespace tb
