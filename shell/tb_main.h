#pragma once
// The main window: the play field with its welcome titles, the bottom row
// (message line, level name, clock, step counter, level buttons, palette) and
// the menu. It owns the one game object and the interface adapter, routes
// keys, clicks on the play field and clock ticks to the game, and decides
// what happens when the player closes the program.

#include "engine/tb_types.h"
#include "play/tb_alertbox.h"
#include "play/tb_interface.h"
#include "play/tb_mainview.h"
#include "play/tb_menutable.h"
#include "play/tb_playfield.h"
#include "play/tb_searchcmd.h"
#include "play/tb_tiles.h"
#include "play/tb_wingame.h"
#include "records/tb_gamedb.h"
#include "services/d_folders.h"
#include "shell/d_menu.h"
#include "shell/tb_fieldeditor.h"
#include "shell/tb_installcmd.h"
#include "shell/tb_options.h"

#include <QLabel>
#include <QMainWindow>
#include <QMenu>
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

class TMain : public QMainWindow, public TMainView, public TWinShell, public TOptionsView {
    Q_OBJECT
public:
    // ---- The controls (the tests and the screenshots look at them) ----
    QWidget Client;
    TPanel xiPanel{&Client};
    TPlayField xMap{&xiPanel};
    QLabel xTit1{&xiPanel};
    QLabel xTit2{&xiPanel};
    QLabel xTit3{&xiPanel};
    TPanel xBottomPan{&Client};
    QLabel xBottomLab{&xBottomPan};
    TPanel xNamePan{&Client};
    QLabel xNameLab{&xNamePan};
    TPanel xClockPan{&Client};
    QLabel xClockLab{&xClockPan};
    TPanel xStepPan{&Client};
    QLabel xStepLab{&xStepPan};
    TPanel xLevelPan{&Client};
    std::array<QToolButton*, 9> xLev{};
    TPanel xPalettePan{&Client};
    std::array<QToolButton*, 8> xPal{};
    QTimer xTim;
    QTimer xMessTim;
    int TileSize = 0;                 // 1..4; 0 until the layout was done once
    int TilePixels = 16;              // 16, 24, 32 or 40
    std::array<TTileSet, 5> TileSets; // index 1..4
    // Smallest font size a long level name shrinks to.
    static constexpr int MinNameFontSize = 6;

    // Builds the window, its menu and its tables, then the adapter and the
    // game object, which reads the records (telling `progress` each phase).
    // The window of the run whose folders are `folders`.
    explicit TMain(const TFolders& folders, const TProgress& progress = {});
    ~TMain() override;

    TWinGame& Game() override { return *GameObject; }
    TUi& Ui() { return Adapter; }
    QMainWindow& Window() override { return *this; }
    TAlertBox& AlertBox() override { return Alert; }
    // The parts of the window, each with its own concern.
    TMenu& Menus() { return *MainMenu; }
    TOptions& Options() { return *OptionsPart; }
    TFieldEditor& FieldEditor() { return Editor; }
    TInstallCommand& Installer() { return *Install; }
    // The menu item (or the entry of the menu) of a Tag; Error when there is none.
    QAction* Item(int tag) const { return MainMenu->Item(tag); }

    // ---- Shell operations that the adapter and the commands call ----
    void ShowBanner(const std::string& text, bool lockInput) override;
    void LayoutLevelButtons() override;
    void UpdateLevelHints();
    void SetMainFonts(const QString& name, int pointSize);
    // Writes "tobbin.ini" with the current player, game, speed and sound.
    void WriteSettingsNow();
    // Closes the start-up splash at the end of the first showing.
    std::function<void()> CloseAboutBox;
    void ShuffleSprites() override { OptionsPart->ShuffleSprites(); }
    void ShuffleSounds() override { OptionsPart->ShuffleSounds(); }
    // Lays the window out for tile size 1 to 4.
    void LayOut(int size);

    // ---- TMainView ----
    std::span<const TMenuItem> MenuItems() const override;
    void ShowItem(int tag, bool visible) override;
    void EnableItem(int tag, bool enabled) override;
    void CheckItem(int tag, bool checked) override;
    TPlayField& Field() override { return xMap; }
    const TTileSet& Tiles() const override;
    int CellPixels() const override { return TilePixels; }
    void ShowTitles(bool welcome, bool version) override;
    void ShowPanel(TBottomPanel panel, bool visible) override;
    void SetPanelText(TBottomPanel panel, const QString& text) override;
    void ColourCounters(const QColor& colour) override;
    void RunClock(bool on) override;
    void EnableLevelButtons(int highest) override;
    void MarkLevelButton(int level, bool marked) override;
    bool BannerShowing() const override { return xMessTim.isActive(); }
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

    // ---- TOptionsView ----
    TTileSet& TileSet(int size) override { return TileSets[static_cast<std::size_t>(size)]; }
    void UseTileSize(int size) override;
    void ApplySkin(const QPixmap& box, const QPixmap& list, const QPixmap& panel) override;
    void ApplyCaptions() override;
    // Gives every window the interface font, its size and the bold setting.
    void ApplyFonts() override;
    // The menu in the settings' colours when CustomMenu is on.
    void ApplyMenuColours();

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

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildControls();
    // The menu's rows: each item with its command and states.
    std::vector<TMenuItem> MenuRows();
    // A click on the play field outside the editor: the hero runs there.
    void MapClick(QMouseEvent& event);
    void BuildBuiltInTiles();
    // Whether the window may close now, after its questions.
    bool CloseQuery();
    // The skinned dialogs (picture, font, help) and the record browsers.
    std::array<TPictureDialog*, 4> PictureDialogs() const;
    std::array<TRecordBox*, 4> RecordBoxes() const;
    // A browser's open action: the game at the level, after leaving the
    // editor; answers false when the player stays in the editor.
    bool OpenFromBrowser(const std::string& name, int level);

    // Menu commands.
    void KillSolutionCommand();
    void ExitCommand();
    void WebPageCommand();
    void AboutCommand();

    const TFolders RunFolders;
    TUi Adapter{*this, RunFolders};
    std::unique_ptr<TWinGame> GameObject;
    TSearchCommands Searches{*this, Adapter, *this}; // Hint and Solve level
    TAlertBox Alert{this};
    std::unique_ptr<TMenu> MainMenu;
    std::unique_ptr<TOptions> OptionsPart;
    std::unique_ptr<TInstallCommand> Install;
    TFieldEditor Editor{xMap, xPal, [this] { return TilePixels; }};
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
    bool Shown = false;
    int SizeCorrections = 0;  // sizes put right in a row (resizeEvent)
    QSize CorrectedSize;      // the size they were put right to
    bool Terminating = false; // closing without questions: no player is left
    QPixmap ListPicture;      // the skin's list picture, for the record browsers
    // The design geometry, remembered at the first layout.
    struct TDesign {
        bool Taken = false;
        QSize Client, Panel, Bottom, Map;
        int PaletteWidth = 0, NameWidth = 0;
        int LevelLeft = 0, LevelWidth = 0, StepLeft = 0, StepWidth = 0, ClockWidth = 0;
        int PalButton = 0, LevButton = 0;
        int Tit1Size = 0, Tit2Size = 0, Tit3Size = 0;
    } Design;
};

// The program's main window while it exists (the about box's progress, tests).
TMain* MainWindow();

} // namespace tb
