#pragma once
// The options of the Options menu: the sprite set at each tile size (or a
// shuffled one a level), the sound set (off, or shuffled), the skin, the
// language, the font size and bold, and the speed. It keeps the check marks
// of those menus and the settings in step, and asks the main window to show
// what changed through TOptionsView.

#include "play/tb_tiles.h"

#include <QAction>
#include <QPixmap>

#include <array>
#include <string>
#include <vector>

namespace tb {

class TMenu;
struct TFolders;
class TWinGame;

// What the options change on the main window, which provides it.
class TOptionsView {
public:
    TOptionsView() = default;
    TOptionsView(const TOptionsView&) = delete;
    TOptionsView& operator=(const TOptionsView&) = delete;
    virtual ~TOptionsView() = default;

    virtual TWinGame& Game() = 0;
    // The pictures of tile size 1 to 4; a sprite set replaces some of them.
    virtual TTileSet& TileSet(int size) = 0;
    // Lays the window out for tile size 1 to 4 with its pictures.
    virtual void UseTileSize(int size) = 0;
    // The skin's pictures (a null one: the skin has none of that kind).
    virtual void ApplySkin(const QPixmap& box, const QPixmap& list, const QPixmap& panel) = 0;
    // The language's captions on every window.
    virtual void ApplyCaptions() = 0;
    // The interface font, its size and bold on every window.
    virtual void ApplyFonts() = 0;
};

class TOptions {
public:
    // Works on `view` and `menu`, with the sets of the run's `folders`.
    TOptions(TOptionsView& view, TMenu& menu, const TFolders& folders)
        : View(view), Menu(menu), RunFolders(folders) {}

    // The first showing: the folder menus' entries and check marks from the
    // folders and the settings, the speed, and the sprite set to start with.
    void Start();
    void SetSkin(const std::string& name);
    // Loads a language file and applies its captions to every window.
    void LoadLanguage(const std::string& name);
    // The sprite set of a size menu's item (also its Shuffle item).
    void LoadSpriteSet(QAction* item);
    // A new level: another set, when the player asked for shuffling.
    void ShuffleSprites();
    void ShuffleSounds();
    // Checks the font size and Bold items of the settings.
    void CheckFonts();

    // The commands of the Options menu.
    void SpriteSetCommand(QAction* item);
    void SpriteShuffleCommand(int size);
    void SoundSetCommand(QAction* item);
    void SoundOffCommand();
    void SoundShuffleCommand();
    void FontSizeCommand(int size);
    void BoldCommand();
    void SpeedCommand(int speed);

private:
    void BuildSoundMenu();
    void BuildSpriteMenus();
    void BuildSkinMenu();
    void BuildLanguageMenu();
    void ChooseFirstSpriteSet();
    void CheckSpeed();
    // The set items of a size menu (not its Shuffle).
    std::vector<QAction*> SpriteItems(int size) const;

    TOptionsView& View;
    TMenu& Menu;
    const TFolders& RunFolders;
    std::vector<QAction*> SoundSets; // the set items of the Sound menu
    QAction* CheckedSound = nullptr;
    QAction* CheckedSprites = nullptr;
    QAction* CheckedSkin = nullptr;
    QAction* LastShuffledSprites = nullptr;
    QAction* LastShuffledSound = nullptr;
    bool SpriteShuffle = false;
    bool SoundShuffle = false;
};

} // namespace tb
