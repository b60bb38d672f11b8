#pragma once
// The main window: the play field with its welcome titles, the bottom row
// (message line, level name, clock, step counter, level buttons, palette) and
// the menu. It owns the one game object and the interface adapter, routes
// keys, clicks on the play field and clock ticks to the game, and decides
// what happens when the player closes the program.

#include "engine/tb_types.h"
#include "install/w_unpack.h"
#include "play/tb_alertbox.h"
#include "play/tb_interface.h"
#include "play/tb_mainview.h"
#include "play/tb_menutable.h"
#include "play/tb_playfield.h"
#include "play/tb_tiles.h"
#include "play/tb_wingame.h"
#include "records/tb_gamedb.h"

#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QRubberBand>
#include <QTimer>
#include <QToolButton>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tb {

class TAuthBox;
class TChampBox;
class TCongratBox;
class TGameBox;
class TPictureDialog;
class TRecordBox;
class TSolBox;
class TWriBox;
class TLevBox;
class TNameBox;
class TPlayerBox;

class TMain : public QMainWindow, public TMainView, public TWinShell {
    Q_OBJECT
public:
    // Builds the window and its tables, then the adapter and the game object,
    // which reads the records (telling `progress` each phase).
    explicit TMain(const TProgress& progress = {});
    ~TMain() override;

    TWinGame& Game() { return *GameObject; }
    TUi& Ui() { return Adapter; }
    QMainWindow& Window() override { return *this; }
    TAlertBox& AlertBox() override { return Alert; }

    // ---- Shell operations that the adapter and the commands call ----
    void ShowBanner(const std::string& text, bool lockInput) override;
    void LayoutLevelButtons() override;
    void UpdateLevelHints();
    void SetMainFonts(const QString& name, int pointSize);
    // Writes "tobbin.ini" with the current player, game, speed and sound.
    void WriteSettingsNow();
    // Closes the start-up splash at the end of the first showing.
    std::function<void()> CloseAboutBox;
    // The skin named in the settings, or chosen from the Skins menu.
    void SetSkin(const std::string& name);
    // Loads a language file and applies its captions to every window.
    void LoadLanguage(const std::string& name);
    // The sprite set of a size submenu's item (also its Shuffle item).
    void LoadSpriteSet(QAction* item);
    void ShuffleSprites() override;
    void ShuffleSounds() override;
    // The first showing: tile size, speed, menus from the folders, sprite set.
    void FormShow();

    // ---- TWinShell ----
    void ProcessMessages() override;
    std::uint8_t Ask(const std::string& message, const std::vector<std::string>& args,
                     std::uint8_t buttons) override;
    std::string ChooseGame(bool& editable) override;
    void ShowCongratulations() override;
    std::string ChoosePlayer(const std::vector<std::string>& names,
                             const std::string& current) override;
    void ForgetPlayer(const std::string& name) override;
    bool AskGameName(std::string& name, std::uint8_t& skill, std::string& author,
                     bool& changed) override;
    bool AskLevelName(std::string& name, bool& changed) override;
    void ShowError(const std::string& message) override;
    void Terminate() override;

    // Gives every window the interface font, its size and the bold setting,
    // and checks the font size item of the size.
    void ApplyFonts();
    // The menu in the settings' colours when CustomMenu is on.
    void ApplyMenuColours();

    // ---- The level editor ----
    void MapMouseMove(QMouseEvent& event);
    void MapMouseUp(QMouseEvent& event);
    void PaletteClick(int slot);
    std::uint8_t SelectedCode() const { return PaletteCode; }
    // Cell codes of the palette buttons xPal0..xPal7.
    static constexpr std::array<std::uint8_t, 8> PaletteCodes = {Empty, Grass, Wall, Stone,
                                                                 Food,  Box3,  Bomb, Hero};
    // Where the install commands look for archives (tests put a folder of
    // their own here); the local disks and the home folder when empty.
    std::optional<TSearchPlaces> SearchPlaces;

    // ---- Commands ----
    void LoadGameCommand();
    // The champion effect, then the hall of champions or the game authors.
    void HallCommand();
    void AuthorsCommand();
    // The game keys, as one command (keyPressEvent starts it through the
    // event pump).
    void KeyDown(int key, Qt::KeyboardModifiers modifiers);
    void MapMouseDown(QMouseEvent& event);
    // Level button `level` (1 to 9) or its digit key: go to that level.
    void LevelButtonCommand(std::uint8_t level);
    void ClockTick();

    // The menu item (or the entry of the menu) of a Tag; Error when there is none.
    QAction* Item(int tag) const;
    // Shows or hides the item of a Tag.
    void ShowItem(int tag, bool visible) override;
    std::span<const TMenuItem> MenuItems() const override { return MenuRows; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildControls();
    // The menu's rows, each item with its command and states.
    std::vector<TMenuItem> MenuTable();
    // Makes the menu's items from its rows.
    void BuildMenu();
    // Every menu item starts its command through the event pump, so that no
    // item starts inside another command.
    void OnTrigger(QAction* item, std::function<void()> command);
    // A click on the play field outside the editor: the hero runs there.
    void MapClick(QMouseEvent& event);
    void BuildBuiltInTiles();
    void BuildFolderMenus();
    void BuildSoundMenu();
    void BuildSpriteMenus();
    void BuildSkinMenu();
    void BuildLanguageMenu();
    void ApplyCaptions();
    void CheckSpeed();
    // Whether the window may close now, after its questions.
    bool CloseQuery();
    // The set items of a size submenu (not its Shuffle).
    std::vector<QAction*> SpriteItems(QMenu* menu) const;

    // Menu commands.
    void KillSolutionCommand();
    void ExitCommand();
    void WebPageCommand();
    void AboutCommand();
    // The skinned dialogs (picture, font, help) and the record browsers.
    std::array<TPictureDialog*, 4> PictureDialogs() const;
    std::array<TRecordBox*, 4> RecordBoxes() const;
    // A browser's open action: the game at the level, after leaving the
    // editor; answers false when the player stays in the editor.
    bool OpenFromBrowser(const std::string& name, int level);
    void FontSizeCommand(int size);
    void BoldCommand();
    // An install command: asks, searches for archives matching `pattern`,
    // reports, and hides its item (Tag `tag`) for the rest of the run.
    void InstallCommand(int tag, std::string_view pattern);
    void SoundOffCommand();
    void SoundShuffleCommand();
    void SoundSetCommand(QAction* item);
    void SpriteSetCommand(QAction* item);
    void SpriteShuffleCommand(QAction* shuffle);
    void SpeedCommand(int speed);

    TUi Adapter{*this};
    std::unique_ptr<TWinGame> GameObject;
    TAlertBox Alert{this};
    std::unique_ptr<TGameBox> GameBox;
    std::unique_ptr<TCongratBox> CongratBox;
    std::unique_ptr<TPlayerBox> PlayerBox;
    std::unique_ptr<TNameBox> NameBox;
    std::unique_ptr<TLevBox> LevBox;
    // The record browsers: champions → a player's best results, authors →
    // an author's games.
    std::unique_ptr<TSolBox> SolBox;
    std::unique_ptr<TChampBox> ChampBox;
    std::unique_ptr<TWriBox> WriBox;
    std::unique_ptr<TAuthBox> AuthBox;
    // The editor's drag: its start cell and points, and the rubber band.
    bool Dragging = false;
    int DragColumn = 0, DragRow = 0;
    QPoint DragStart;
    std::unique_ptr<QRubberBand> Band;
    std::uint8_t PaletteCode = Grass;
    int PaletteSlot = 1;
    bool Shown = false;
    int SizeCorrections = 0;         // sizes put right in a row (resizeEvent)
    QSize CorrectedSize;             // the size they were put right to
    bool Terminating = false;        // closing without questions: no player is left
    std::vector<TMenuItem> MenuRows; // the menu's rows (MenuTable)
    std::map<int, QAction*> Items;   // the menu's items by Tag
    std::vector<QAction*> SoundSets; // the set items of the Sound menu
    QPixmap ListPicture;             // the skin's list picture, for the record browsers
    QAction* CheckedSound = nullptr;
    QAction* CheckedSprites = nullptr;
    QAction* CheckedSkin = nullptr;
    QAction* CheckedLanguage = nullptr;
    QAction* LastShuffledSprites = nullptr;
    QAction* LastShuffledSound = nullptr;
    bool SpriteShuffle = false;
    bool SoundShuffle = false;
};

// The program's main window while it exists (the about box's progress, tests).
TMain* MainWindow();

} // namespace tb
