#include "shell/tb_options.h"

#include "play/tb_util.h"
#include "play/tb_wingame.h"
#include "services/d_error.h"
#include "services/d_folders.h"
#include "services/d_language.h"
#include "services/d_messages.h"
#include "services/d_settings.h"
#include "services/d_sound.h"
#include "services/d_string.h"
#include "shell/d_menu.h"
#include "shell/tb_errbox.h"
#include "shell/tb_jpeg.h"

#include <algorithm>
#include <filesystem>
#include <random>

namespace tb {
namespace fs = std::filesystem;

namespace {

// The random source of the Shuffle items.
std::mt19937& ShuffleRandom() {
    static std::mt19937 random{std::random_device{}()};
    return random;
}

// One of `items`, never `last` again when there is another.
QAction* Draw(const std::vector<QAction*>& items, QAction* last) {
    QAction* drawn = nullptr;
    do {
        drawn =
            items[std::uniform_int_distribution<std::size_t>(0, items.size() - 1)(ShuffleRandom())];
    } while (drawn == last);
    return drawn;
}

} // namespace

// ---- The first showing ----

void TOptions::Start() {
    BuildSoundMenu();
    BuildSpriteMenus();
    BuildSkinMenu();
    BuildLanguageMenu();
    CheckSpeed();
    View.Game().SetTiming();
    try {
        ChooseFirstSpriteSet();
    } catch (...) {
        TErrBox_Display(std::current_exception());
    }
}

void TOptions::BuildSoundMenu() {
    try {
        TSettings& settings = Settings();
        QAction* off = Menu.Item(TagSoundOff);
        QAction* shuffle = Menu.Item(TagSoundShuffle);
        SoundSets =
            Menu.AddEntries(TagSoundMenu, FolderEntries(RunFolders, RunFolders.SoundsFolder, true),
                            [this](QAction* item) { SoundSetCommand(item); });
        QAction* sound = Menu.Item(TagSoundMenu);
        sound->setVisible(true);
        shuffle->setVisible(SoundSets.size() >= 2);
        SoundShuffle = settings.SoundRandom && shuffle->isVisible();
        QAction* checked = nullptr;
        if (SoundShuffle) {
            checked = shuffle;
        } else if (SoundBank().SoundOn) {
            for (QAction* item : SoundSets)
                if (CompareNoCase(ItemSetName(item), settings.Waves) == 0) checked = item;
        }
        if (checked == nullptr) checked = off;
        checked->setChecked(true);
        CheckedSound = checked;
        sound->setCheckable(true);
        sound->setChecked(checked != off);
    } catch (const std::exception&) {
        TErrBox_Show_Text("Error setting the sounds");
    }
}

void TOptions::BuildSpriteMenus() {
    try {
        TSettings& settings = Settings();
        const int screenClass = settings.ScreenClassNumber;
        int largest = 1;
        for (int size = 1; size <= 4; ++size) {
            QAction* menu = Menu.Item(SizeTag(size));
            menu->setVisible(false);
            if (size > 1 && screenClass < size) continue;
            const std::size_t sets =
                Menu.AddEntries(SizeTag(size),
                                FolderEntries(RunFolders, SpriteSizeFolder(RunFolders, size), true),
                                [this](QAction* item) { SpriteSetCommand(item); })
                    .size();
            Menu.Item(SpriteShuffleTag(size))->setVisible(sets >= 2);
            menu->setVisible(sets >= 1);
            largest = size;
        }
        if (settings.Size > largest) settings.Size = static_cast<std::uint8_t>(largest);
        const int size = std::max<int>(settings.Size, 1);
        if (SpriteItems(size).size() < 2) settings.SpritesRandom = false;
        SpriteShuffle = settings.SpritesRandom;
    } catch (const std::exception&) {
        TErrBox_Show_Text("Error setting graphic sprites");
    }
}

void TOptions::BuildSkinMenu() {
    try {
        const std::vector<QAction*> skins =
            Menu.AddEntries(TagSkinsMenu, FolderEntries(RunFolders, RunFolders.SkinsFolder, true),
                            [this](QAction* item) { SetSkin(ItemSetName(item)); });
        for (QAction* item : skins)
            if (CompareNoCase(ItemSetName(item), Settings().Skin) == 0) {
                item->setChecked(true);
                CheckedSkin = item;
            }
        Menu.Item(TagSkinsMenu)->setVisible(Settings().Backgrounds && !skins.empty());
    } catch (const std::exception&) {
        TErrBox_Show_Text("Error setting the skins");
    }
}

void TOptions::BuildLanguageMenu() {
    try {
        std::vector<std::string> languages;
        for (const fs::path& folder : ContentFolders(RunFolders, RunFolders.LanguagesFolder))
            for (std::string& name : LanguageNames(folder))
                languages.push_back(std::move(name));
        std::sort(languages.begin(), languages.end());
        languages.erase(std::unique(languages.begin(), languages.end()), languages.end());
        const std::vector<QAction*> items = Menu.AddEntries(
            TagLanguageMenu, languages, [this](QAction* item) { LoadLanguage(ItemSetName(item)); });
        for (QAction* item : items)
            item->setChecked(ItemSetName(item) == Language().Name);
        Menu.Item(TagLanguageMenu)->setVisible(!items.empty());
    } catch (const std::exception&) {
        TErrBox_Show_Text("Error setting the languages");
    }
}

void TOptions::ChooseFirstSpriteSet() {
    // The size's first set, unless the Sprites setting names a later one.
    const int size = std::max<int>(Settings().Size, 1);
    const std::vector<QAction*> sets = SpriteItems(size);
    if (sets.empty()) throw Error(ErrorMessage(ErrImageFolderNotFound));
    QAction* chosen = sets.front();
    for (QAction* item : sets)
        if (CompareNoCase(ItemSetName(item), Settings().Sprites) == 0) chosen = item;
    QAction* checked = SpriteShuffle ? Menu.Item(SpriteShuffleTag(size)) : chosen;
    checked->setChecked(true);
    CheckedSprites = checked;
    LoadSpriteSet(chosen);
}

std::vector<QAction*> TOptions::SpriteItems(int size) const {
    std::vector<QAction*> items;
    for (QAction* item : Menu.Menu(SizeTag(size))->actions())
        if (!item->isSeparator() && item->data().isValid()) items.push_back(item);
    return items;
}

// ---- Skin and language ----

void TOptions::SetSkin(const std::string& name) {
    TSettings& settings = Settings();
    if (!settings.Backgrounds) return;
    const fs::path folder = SkinFolder(RunFolders, name);
    const auto picture = [&](TSkinPicture kind) {
        const fs::path file = folder / settings.SkinPictureName(kind);
        std::error_code ec;
        return fs::exists(file, ec) ? QPixmap::fromImage(ReadPicture(file)) : QPixmap();
    };
    const QPixmap box = picture(TSkinPicture::Box);
    // The browsers show the list picture, or the box picture without one.
    QPixmap list = picture(TSkinPicture::List);
    if (list.isNull()) list = box;
    View.ApplySkin(box, list, picture(TSkinPicture::Panel));
    settings.Skin = name;
    if (CheckedSkin != nullptr) CheckedSkin->setChecked(false);
    for (QAction* item : Menu.Menu(TagSkinsMenu)->actions())
        if (ItemSetName(item) == name) {
            item->setChecked(true);
            CheckedSkin = item;
        }
}

void TOptions::LoadLanguage(const std::string& name) {
    const TLanguageLoad load = Language().LoadLanguage(RunFolders, name);
    if (!load.Message.empty()) TErrBox_Show_Text(load.Message);
    View.ApplyCaptions();
    View.ApplyFonts();
    CheckFonts();
    TErrBox_Set_Font(ToUnicode(Language().FontName), Language().Charset);
    if (load.Loaded) Settings().Language = Language().Name;
    for (QAction* item : Menu.Menu(TagLanguageMenu)->actions())
        item->setChecked(ItemSetName(item) == Language().Name);
}

// ---- Sprite sets and sound sets ----

void TOptions::LoadSpriteSet(QAction* item) {
    try {
        int size = 0;
        for (int s = 1; s <= 4; ++s)
            if (Menu.Menu(SizeTag(s))->actions().contains(item)) size = s;
        if (size == 0) return;
        const std::string name = item->data().isValid() ? ItemSetName(item) : std::string();
        TTileSet& set = View.TileSet(size);
        if (!name.empty()) {
            // A picture the set lacks keeps the one it had.
            for (std::uint8_t code = 1; code <= 15; ++code) {
                const int picture = CellPicture(code);
                if (picture < 0) continue;
                const fs::path file =
                    SpriteSetFolder(RunFolders, size, name) /
                    (std::string(CellPictureNames[static_cast<std::size_t>(picture)]) + ".bmp");
                std::error_code ec;
                if (!fs::exists(file, ec)) continue;
                const QImage image = ReadPicture(file);
                if (!image.isNull()) set.Cells[code] = image.convertToFormat(QImage::Format_RGB32);
            }
        }
        View.UseTileSize(size);
        for (int s = 1; s <= 4; ++s)
            Menu.Item(SizeTag(s))->setChecked(s == size);
        Settings().Sprites = name.empty() ? item->text().remove('&').toStdString() : name;
        Settings().Size = static_cast<std::uint8_t>(size);
    } catch (const std::exception&) {
        // A set that cannot be read leaves the pictures as they were.
    }
}

void TOptions::SpriteSetCommand(QAction* item) {
    if (CheckedSprites != nullptr) CheckedSprites->setChecked(false);
    item->setChecked(true);
    CheckedSprites = item;
    SpriteShuffle = false;
    Settings().SpritesRandom = false;
    LoadSpriteSet(item);
    TWinGame& game = View.Game();
    if (game.GetState() != TState::None || game.IsEdit()) game.DrawAll();
}

void TOptions::SpriteShuffleCommand(int size) {
    QAction* shuffle = Menu.Item(SpriteShuffleTag(size));
    if (CheckedSprites != nullptr) CheckedSprites->setChecked(false);
    shuffle->setChecked(true);
    CheckedSprites = shuffle;
    SpriteShuffle = true;
    Settings().SpritesRandom = true;
    LoadSpriteSet(shuffle);
}

void TOptions::ShuffleSprites() {
    TWinGame& game = View.Game();
    if (!SpriteShuffle || game.GetState() == TState::None || game.IsEdit()) return;
    const std::vector<QAction*> sets = SpriteItems(std::max<int>(Settings().Size, 1));
    if (sets.size() < 2) return;
    LastShuffledSprites = Draw(sets, LastShuffledSprites);
    LoadSpriteSet(LastShuffledSprites);
    Settings().Sprites = "Shuffle";
}

void TOptions::SoundSetCommand(QAction* item) {
    if (CheckedSound != nullptr) CheckedSound->setChecked(false);
    item->setChecked(true);
    CheckedSound = item;
    SoundShuffle = false;
    Settings().SoundRandom = false;
    SoundBank().SoundOn = true;
    Settings().Waves = ItemSetName(item);
    SoundBank().LoadSoundSet(SoundSetFolder(RunFolders, Settings().Waves));
    Menu.Item(TagSoundMenu)->setChecked(true);
}

void TOptions::SoundOffCommand() {
    QAction* off = Menu.Item(TagSoundOff);
    if (CheckedSound != nullptr) CheckedSound->setChecked(false);
    off->setChecked(true);
    CheckedSound = off;
    SoundBank().SoundOn = false;
    SoundShuffle = false;
    Settings().SoundRandom = false;
    Menu.Item(TagSoundMenu)->setChecked(false);
}

void TOptions::SoundShuffleCommand() {
    QAction* shuffle = Menu.Item(TagSoundShuffle);
    if (CheckedSound != nullptr) CheckedSound->setChecked(false);
    shuffle->setChecked(true);
    CheckedSound = shuffle;
    SoundShuffle = true;
    Settings().SoundRandom = true;
    SoundBank().SoundOn = true;
    ShuffleSounds();
    Menu.Item(TagSoundMenu)->setChecked(true);
}

void TOptions::ShuffleSounds() {
    TWinGame& game = View.Game();
    if (!SoundShuffle || game.GetState() == TState::None || game.IsEdit()) return;
    if (SoundSets.size() < 2) return;
    LastShuffledSound = Draw(SoundSets, LastShuffledSound);
    SoundBank().SoundOn = true;
    Settings().Waves = ItemSetName(LastShuffledSound);
    SoundBank().LoadSoundSet(SoundSetFolder(RunFolders, Settings().Waves));
}

// ---- Fonts and speed ----

void TOptions::CheckFonts() {
    for (int size = 7; size <= 12; ++size)
        Menu.Item(FontSizeTag(size))->setChecked(size == Settings().FontSize);
    Menu.Item(TagBold)->setChecked(Settings().BoldFont);
}

void TOptions::FontSizeCommand(int size) {
    Settings().FontSize = static_cast<std::uint16_t>(size);
    View.ApplyFonts();
    CheckFonts();
}

void TOptions::BoldCommand() {
    Settings().BoldFont = !Settings().BoldFont;
    View.ApplyFonts();
    CheckFonts();
}

void TOptions::CheckSpeed() {
    const int speed = View.Game().GetSpeed();
    Menu.Item(SpeedTag(speed >= 1 && speed <= 4 ? speed : 2))->setChecked(true);
}

void TOptions::SpeedCommand(int speed) {
    Menu.Item(SpeedTag(speed))->setChecked(true);
    View.Game().SetSpeed(static_cast<std::uint8_t>(speed));
    View.Game().SetTiming();
}

} // namespace tb
