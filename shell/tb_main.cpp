#include "shell/tb_main.h"

#include "play/tb_congratbox.h"
#include "play/tb_pump.h"
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
#include "play/tb_boxuti.h"
#include "play/tb_colour.h"
#include "shell/tb_errbox.h"
#include "shell/tb_gamebox.h"
#include "shell/tb_helpwin.h"
#include "shell/tb_jpeg.h"
#include "shell/tb_levbox.h"
#include "shell/tb_namebox.h"
#include "shell/tb_playerbox.h"
#include "play/tb_util.h"

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

namespace {

TMain* TheMain = nullptr;

// The project's page, opened by Help > Web page.
constexpr const char* WebPage = "https://example.org/tobbin/";

// The menu items that have a command in this build; the others stay hidden.
enum : int {
    TagLoad = 11,
    TagExport = 16,
    TagExportBest = 17,
    TagExit = 24,
    TagStepBack = 31,
    TagGiveUp = 32,
    TagTake = 33,
    TagRestore = 34,
    TagPlayBack = 35,
    TagShow = 36,
    TagGameInfo = 37,
    TagLevelInfo = 38,
    TagKillSolution = 39,
    TagSoundOff = 63,
    TagShuffle = 64,
    TagWebPage = 72,
    TagAbout = 73,
};

// Tags 91 to 98 of the Main section: the palette buttons' hints.
constexpr int TagPaletteHints = 91;

// A folder menu's entries: the subfolders (or the files matching `suffix`)
// of `folder`, without those starting with ".", cut before their first ".",
// in canonical form, sorted.
// The player's installed entries (ContentFolders) join the shipped ones.
std::vector<std::string> FolderEntries(const fs::path& shipped, bool foldersOnly) {
    std::vector<std::string> names;
    for (const fs::path& folder : ContentFolders(shipped)) {
        std::error_code ec;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            if (foldersOnly && !it->is_directory(ec)) continue;
            const std::string name = it->path().filename().string();
            if (name.empty() || name.front() == '.') continue;
            names.push_back(NormaliseName(name.substr(0, name.find('.'))));
        }
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

// A caption that shows `name` as it is ("&" is not an access key here).
QString PlainCaption(const std::string& name) {
    return ToUnicode(name).replace("&", "&&");
}

std::string SetName(const QAction* item) {
    return item->data().toString().toStdString();
}

std::mt19937& Random() {
    static std::mt19937 random{std::random_device{}()};
    return random;
}

} // namespace

TMain* MainWindow() {
    return TheMain;
}

TMain::TMain(const TProgress& progress) {
    TheMain = this;
    setWindowTitle(ToUnicode(ApplicationTitle));
    setWindowFlags(windowFlags() & ~Qt::WindowMaximizeButtonHint);
    setCentralWidget(&Client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    BuildControls();
    BuildMenu();
    SetMainFonts(ToUnicode(Settings().FontName), Settings().FontSize);
    try {
        GameObject = std::make_unique<TWinGame>(Adapter, *this, progress, Settings().Frugal);
        Adapter.SetGame(GameObject.get());
    } catch (...) {
        TErrBox_Display(std::current_exception());
        throw; // without its records the program cannot run
    }
    GameObject->RememberStart(Settings().Game, Settings().Level);
    SetDialogFontBold(Settings().BoldFont);
    PlayerBox = std::make_unique<TPlayerBox>(this);
    CongratBox = std::make_unique<TCongratBox>(this);
    GameBox = std::make_unique<TGameBox>(this);
    NameBox = std::make_unique<TNameBox>(this);
    LevBox = std::make_unique<TLevBox>(this);
    const TAllGames& records = GameObject->GetRecords();
    const auto openAt = [this](const std::string& name, int level) {
        return OpenFromBrowser(name, level);
    };
    SolBox = std::make_unique<TSolBox>(this, records, openAt);
    ChampBox = std::make_unique<TChampBox>(this, records, *SolBox);
    WriBox = std::make_unique<TWriBox>(this, records, openAt);
    AuthBox = std::make_unique<TAuthBox>(this, records, *WriBox);
    const auto help = [](std::string_view topic) { ShowHelpTopic(topic); };
    for (TPictureDialog* box : PictureDialogs())
        box->OpenHelp = help;
    for (TRecordBox* box : RecordBoxes()) {
        box->OpenHelp = help;
        box->SetColours(ToQColor(Settings().List), ToQColor(Settings().ListFont));
        box->SetBackgroundsOn(Settings().Backgrounds);
    }
    mBold->setChecked(Settings().BoldFont);
    BuildBuiltInTiles();
    SetMainForm(this);
    SetBoxSoundHook([](TBoxSound sound, bool synchronous) {
        TSoundBank& bank = SoundBank();
        const std::uint8_t entry =
            sound == TBoxSound::Error ? bank.ErrorSound : bank.EffectEntry(TEffect::Input);
        bank.PlaySoundEntry(entry, !synchronous);
    });
    SoundBank().ProcessMessages = [] { TEventPump::Process(); };
    // Held-down keys repeat into nothing while a command runs.
    TEventPump::InstallFilter();
}

TMain::~TMain() {
    SoundBank().ProcessMessages = nullptr;
    SetBoxSoundHook({});
    SetMainForm(nullptr);
    if (TheMain == this) TheMain = nullptr;
}

// ---- Building the window ----

void TMain::BuildControls() {
    // The design layout for the smallest tiles; the tile-size layout grows it.
    Client.setFixedSize(500, 328);
    xiPanel.setGeometry(0, 0, 500, 292);
    xiPanel.setFrameStyle(QFrame::Panel | QFrame::Raised);
    xMap.setGeometry(2, 2, 496, 288);
    xMap.MouseDown = [this](QMouseEvent& event) { MapMouseDown(event); };
    xMap.MouseMove = [this](QMouseEvent& event) { MapMouseMove(event); };
    xMap.MouseUp = [this](QMouseEvent& event) { MapMouseUp(event); };
    Band = std::make_unique<QRubberBand>(QRubberBand::Rectangle, &xMap);

    QPalette dark = palette();
    dark.setColor(QPalette::Window, QColor(0x10, 0x18, 0x30));
    dark.setColor(QPalette::WindowText, Qt::white);
    // The level buttons' numbers stand out on the dark panels of every skin:
    // light digits, and a dark face for the raised button of the level in play.
    dark.setColor(QPalette::ButtonText, Qt::white);
    dark.setColor(QPalette::Button, QColor(0x28, 0x38, 0x68));
    for (TPanel* panel : {&xBottomPan, &xNamePan, &xClockPan, &xStepPan, &xLevelPan, &xPalettePan})
        panel->setPalette(dark);

    const std::array<std::pair<QLabel*, int>, 3> titles = {
        std::pair{&xTit1, 14}, std::pair{&xTit2, 30}, std::pair{&xTit3, 10}};
    for (auto [label, points] : titles) {
        label->setAlignment(Qt::AlignHCenter);
        QFont font = label->font();
        font.setPointSize(points);
        font.setBold(true);
        label->setFont(font);
        QPalette colours = label->palette();
        colours.setColor(QPalette::WindowText, QColor(0xFF, 0xE0, 0x40));
        label->setPalette(colours);
        auto* shadow = new QGraphicsDropShadowEffect(label); // owned by the label
        shadow->setOffset(2, 2);
        shadow->setBlurRadius(0);
        shadow->setColor(QColor(0x80, 0x00, 0x00));
        label->setGraphicsEffect(shadow);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    xTit1.setText(ToUnicode(MoreMessage(MsgWelcome)));
    xTit2.setText(ToUnicode(ApplicationTitle));
    xTit3.setText(QString::fromUtf8("Version ") +
                  QString::fromLatin1(ProgramVersion.data(), ProgramVersion.size()));

    xBottomPan.setGeometry(0, 292, 500, 36);
    xBottomLab.setAlignment(Qt::AlignCenter);
    xBottomLab.setGeometry(xBottomPan.contentsRect());
    xPalettePan.setGeometry(0, 292, 160, 36);
    xNamePan.setGeometry(0, 292, 160, 36);
    xNameLab.setAlignment(Qt::AlignCenter);
    xClockPan.setGeometry(0, 292, 80, 36);
    xClockLab.setAlignment(Qt::AlignCenter);
    xClockLab.setText("00:00");
    xStepPan.setGeometry(80, 292, 80, 36);
    xStepLab.setAlignment(Qt::AlignCenter);
    xStepLab.setText("9999");
    xLevelPan.setGeometry(160, 292, 340, 36);
    for (QLabel* label : {&xClockLab, &xStepLab, &xNameLab}) {
        QFont font = label->font();
        font.setBold(true);
        font.setPointSize(12);
        label->setFont(font);
    }
    xBottomLab.setAttribute(Qt::WA_TransparentForMouseEvents);
    xNameLab.setAttribute(Qt::WA_TransparentForMouseEvents);
    // A click on the message line or the name panel loads a game.
    xBottomPan.Clicked = [this] { TEventPump::RunCommand([this] { LoadGameCommand(); }); };
    xNamePan.Clicked = [this] { TEventPump::RunCommand([this] { LoadGameCommand(); }); };

    for (std::size_t i = 0; i < xLev.size(); ++i) {
        auto* button = new QToolButton(&xLevelPan); // owned by the panel
        button->setText(QString::number(i + 1));
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setGeometry(0, 6, 24, 24);
        const auto level = static_cast<std::uint8_t>(i + 1);
        connect(button, &QToolButton::clicked, this, [this, level] {
            // During a play back a click only hands the level to the player.
            if (!Game().IsEdit() && Game().GetState() == TState::Replay) {
                Adapter.SelectLevelButton(Game().GetLevel());
                Game().TakeOver();
                return;
            }
            if (!TEventPump::RunCommand([this, level] { LevelButtonCommand(level); }))
                Adapter.SelectLevelButton(Game().GetLevel());
        });
        xLev[i] = button;
    }
    for (std::size_t i = 0; i < xPal.size(); ++i) {
        auto* button = new QToolButton(&xPalettePan); // owned by the panel
        // The selected button is raised, the others flat.
        button->setAutoRaise(static_cast<int>(i) != PaletteSlot);
        button->setFocusPolicy(Qt::NoFocus);
        button->setGeometry(0, 6, 24, 24);
        connect(button, &QToolButton::clicked, this, [this, slot = static_cast<int>(i)] {
            TEventPump::RunCommand([this, slot] { PaletteClick(slot); });
        });
        xPal[i] = button;
    }
    xPalettePan.hide();
    xNamePan.hide();
    xClockPan.hide();
    xStepPan.hide();
    xLevelPan.hide();

    xTim.setInterval(1000);
    connect(&xTim, &QTimer::timeout, this, &TMain::ClockTick);
    xMessTim.setInterval(1200);
    xMessTim.setSingleShot(true);
    connect(&xMessTim, &QTimer::timeout, this, [this] { Adapter.EnableMenus(true); });
    setFocusPolicy(Qt::StrongFocus);
}

QAction* TMain::AddItem(QMenu* menu, int tag, const char* caption, void (TMain::*command)()) {
    return AddCommand(menu, tag, caption, [this, command] { (this->*command)(); });
}

QAction* TMain::AddCommand(QMenu* menu, int tag, const char* caption,
                           std::function<void()> command) {
    QAction* item = menu->addAction(QString::fromUtf8(caption));
    if (tag != 0) Items.emplace(tag, item);
    OnTrigger(item, std::move(command));
    return item;
}

void TMain::OnTrigger(QAction* item, std::function<void()> command) {
    connect(item, &QAction::triggered, this, [item, command = std::move(command)](bool checked) {
        // Refused while another command runs: a check mark the click set
        // goes back.
        if (!TEventPump::RunCommand(command) && item->isCheckable() &&
            item->actionGroup() == nullptr)
            item->setChecked(!checked);
    });
}

void TMain::BuildMenu() {
    QMenuBar* bar = menuBar();
    auto addMenu = [this](QWidget* parent, int tag, const char* caption) {
        auto* menu = new QMenu(QString::fromUtf8(caption), parent); // owned by its parent
        if (tag != 0) Items.emplace(tag, menu->menuAction());
        return menu;
    };

    mFile = addMenu(bar, 10, "File");
    bar->addMenu(mFile);
    AddItem(mFile, TagLoad, "&Load game...", &TMain::LoadGameCommand);
    AddCommand(mFile, 12, "Create &new game...", [this] {
        Game().NewGame();
        UpdateLevelHints();
    });
    AddCommand(mFile, 15, "&Save game", [this] { Game().SaveGame(); });
    AddCommand(mFile, 25, "&Delete game", [this] { Game().DeleteGame(); });
    mFile->addSeparator();
    AddItem(mFile, 26, "Game &authors...", &TMain::AuthorsCommand);
    AddItem(mFile, 23, "&Hall of Champions...", &TMain::HallCommand);
    // The hall shows only once the champions' records hold someone.
    connect(mFile, &QMenu::aboutToShow, this,
            [this] { ShowItem(23, GameObject && Game().ChampionCount() > 0); });
    mFile->addSeparator();
    AddCommand(mFile, TagExport, "Export &game solution", [this] { Game().ExportGameSolution(); });
    AddCommand(mFile, TagExportBest, "Export &best solutions",
               [this] { Game().ExportBestSolutions(); });
    mFile->addSeparator();
    AddCommand(mFile, 22, "Ne&w player name...", [this] { Game().NewPlayer(); });
    AddCommand(mFile, 21, "Delete &this player", [this] { Game().DeletePlayer(); });
    mFile->addSeparator();
    AddCommand(mFile, 19, "&Play mode", [this] { Game().PlayMode(); })->setVisible(false);
    AddCommand(mFile, 18, "&Edit mode", [this] { Game().EditMode(); })->setVisible(false);
    mFile->addSeparator();
    QMenu* install = addMenu(mFile, 27, "&Install");
    mFile->addMenu(install);
    const std::array<std::tuple<int, const char*, std::string_view>, 5> installs = {
        std::tuple{81, "&Tobbin games", GamesArchives},
        std::tuple{82, "&Graphics files", SpritesArchives},
        std::tuple{83, "&Sound files", SoundsArchives},
        std::tuple{84, "S&olution file", SolutionsArchive},
        std::tuple{85, "&Language files", LanguagesArchives}};
    for (const auto& [tag, caption, pattern] : installs)
        AddCommand(install, tag, caption,
                   [this, tag = tag, pattern = pattern] { InstallCommand(tag, pattern); });
    mFile->addSeparator();
    AddItem(mFile, TagExit, "E&xit Tobbin", &TMain::ExitCommand);

    mGame = addMenu(bar, 30, "Game");
    bar->addMenu(mGame);
    AddItem(mGame, TagStepBack, "Step &back", &TMain::StepBackCommand);
    AddItem(mGame, TagGiveUp, "Give &up", &TMain::GiveUpCommand);
    mGame->addSeparator();
    AddItem(mGame, TagTake, "&Take snapshot", &TMain::TakeSnapshotCommand);
    AddItem(mGame, TagRestore, "&Restore snapshot", &TMain::RestoreSnapshotCommand);
    AddItem(mGame, TagPlayBack, "&Play back", &TMain::PlayBackCommand);
    AddItem(mGame, TagShow, "&Show solution", &TMain::ShowSolutionCommand);
    mGame->addSeparator();
    AddItem(mGame, TagGameInfo, "&Game info...", &TMain::GameInfoCommand);
    AddItem(mGame, TagLevelInfo, "&Level info...", &TMain::LevelInfoCommand);
    mGame->addSeparator();
    AddItem(mGame, TagKillSolution, "&Kill level solution", &TMain::KillSolutionCommand);

    // The editor's menu comes with the editor; it stays hidden until then.
    mEdit = addMenu(bar, 40, "Edit");
    bar->addMenu(mEdit);
    // After the level commands the level buttons' hints follow the levels.
    auto levelCommand = [this](void (TWinGame::*command)()) {
        return [this, command] {
            (Game().*command)();
            UpdateLevelHints();
        };
    };
    AddCommand(mEdit, 41, "&Add level", [this] {
        Game().AddLevel("");
        UpdateLevelHints();
    });
    AddCommand(mEdit, 42, "&Delete level", levelCommand(&TWinGame::DeleteLevel));
    AddCommand(mEdit, 43, "Cl&ear level", levelCommand(&TWinGame::ClearLevel));
    AddCommand(mEdit, 44, "Move level &up", levelCommand(&TWinGame::MoveLevelUp));
    AddCommand(mEdit, 45, "Move level do&wn", levelCommand(&TWinGame::MoveLevelDown));
    AddCommand(mEdit, 46, "&Copy previous level", [this] { Game().CopyPreviousLevel(); });
    QMenu* moveMap = addMenu(mEdit, 47, "&Move map");
    mEdit->addMenu(moveMap);
    const std::array<std::pair<int, const char*>, 4> shifts = {
        std::pair{48, "&Up"}, {49, "&Down"}, {51, "&Left"}, {52, "&Right"}};
    for (std::size_t i = 0; i < shifts.size(); ++i)
        AddCommand(moveMap, shifts[i].first, shifts[i].second,
                   [this, i] { Game().MoveMap(static_cast<TDir>(i)); });
    AddCommand(mEdit, 53, "&Level name...", levelCommand(&TWinGame::RenameLevel));
    AddCommand(mEdit, 54, "&Game name...", [this] { Game().RenameGame(); });

    mOptions = addMenu(bar, 60, "Options");
    bar->addMenu(mOptions);
    mSound = addMenu(mOptions, 62, "S&ound");
    mOptions->addMenu(mSound);
    mGraphics = addMenu(mOptions, 65, "&Graphics");
    mOptions->addMenu(mGraphics);
    const std::array<std::pair<int, const char*>, 4> sizes = {
        std::pair{66, "&Small"}, {67, "&Medium"}, {89, "&Large"}, {90, "&Huge"}};
    for (int size = 1; size <= 4; ++size) {
        QMenu* menu = addMenu(mGraphics, sizes[size - 1].first, sizes[size - 1].second);
        menu->menuAction()->setCheckable(true);
        mGraphics->addMenu(menu);
        SizeMenus[static_cast<std::size_t>(size)] = menu;
    }
    mSkin = addMenu(mOptions, 68, "S&kins");
    mOptions->addMenu(mSkin);
    mFont = addMenu(mOptions, 86, "&Font size");
    mOptions->addMenu(mFont);
    for (const char* caption : {" &7", " &8", " &9", "1&0", "1&1", "1&2"}) {
        QAction* item = mFont->addAction(QString::fromUtf8(caption));
        item->setCheckable(true);
        OnTrigger(item, [this, item] { FontSizeCommand(item); });
    }
    mFont->addSeparator();
    mBold = mFont->addAction(QString::fromUtf8("&Bold"));
    mBold->setCheckable(true);
    OnTrigger(mBold, [this] { BoldCommand(); });
    mSpeed = addMenu(mOptions, 69, "&Speed");
    mOptions->addMenu(mSpeed);
    auto* speeds = new QActionGroup(mSpeed); // owned by the menu
    const std::array<std::pair<int, const char*>, 4> speedItems = {
        std::pair{76, "&Slow"}, {77, "&Normal"}, {78, "&Fast"}, {79, "&Booster"}};
    for (auto [tag, caption] : speedItems) {
        QAction* item = mSpeed->addAction(QString::fromUtf8(caption));
        item->setCheckable(true);
        speeds->addAction(item);
        Items.emplace(tag, item);
        OnTrigger(item, [this, tag = tag] { SpeedCommand(tag - 75); });
    }
    mLanguage = addMenu(mOptions, 61, "&Language");
    mOptions->addMenu(mLanguage);

    mCheat = addMenu(bar, 0, "&Xtra");
    bar->addMenu(mCheat);
    mReadOnly = AddItem(mCheat, 0, "&Read only", &TMain::ReadOnlyCommand);
    mReadOnly->setCheckable(true);
    mReadOnly->setEnabled(false); // only the editor switches it
    mAccess = AddItem(mCheat, 0, "&Access all levels", &TMain::AccessAllCommand);
    mAccess->setCheckable(true);
    mPlayNew = AddItem(mCheat, 0, "Play &new solutions", &TMain::PlayNewCommand);
    mPlayAll = AddItem(mCheat, 0, "&Play all solutions", &TMain::PlayAllCommand);
    mAccept = AddItem(mCheat, 0, "A&ccept solution", &TMain::AcceptCommand);
    mDiagn = AddItem(mCheat, 0, "&Diagnostics", &TMain::DiagnosticsCommand);
    mDiagn->setCheckable(true);
    mLogo = AddItem(mCheat, 0, "&Show Splash", &TMain::ShowCongratulations);
    mCheat->menuAction()->setVisible(false);

    xHelp = addMenu(bar, 70, "Help");
    bar->addMenu(xHelp);
    AddCommand(xHelp, 71, "&Help", [] { ShowHelpTopic("Welcome"); });
    AddItem(xHelp, TagWebPage, "Tobbin &Web page", &TMain::WebPageCommand);
    AddItem(xHelp, TagAbout, "&About Tobbin...", &TMain::AboutCommand);

    mGame->menuAction()->setVisible(false);
    mEdit->menuAction()->setVisible(false);
}

void TMain::ShowItem(int tag, bool visible) {
    for (auto [it, end] = Items.equal_range(tag); it != end; ++it)
        it->second->setVisible(visible);
}

QAction* TMain::Item(int tag) const {
    const auto it = Items.find(tag);
    if (it == Items.end()) throw Error("No menu item with the tag " + std::to_string(tag));
    return it->second;
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
        if (SetName(item) == name) {
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
        item->setChecked(SetName(item) == Language().Name);
}

void TMain::ApplyCaptions() {
    for (const auto& [tag, caption] : Language().Captions(TLanguageForm::Main)) {
        if (caption.empty()) continue;
        for (auto [it, end] = Items.equal_range(tag); it != end; ++it)
            it->second->setText(ToUnicode(caption));
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
    const std::map<int, std::string>& main = Language().Captions(TLanguageForm::Main);
    for (std::size_t i = 0; i < xPal.size(); ++i)
        if (const auto name = main.find(TagPaletteHints + static_cast<int>(i)); name != main.end())
            xPal[i]->setToolTip(ToUnicode(name->second));
    xTit1.setText(ToUnicode(MoreMessage(MsgWelcome)));
    if (xBottomPan.isVisible() && Game().GetState() == TState::None && !Game().IsEdit())
        xBottomLab.setText(ToUnicode(MoreMessage(MsgClickToLoad)));
}

// ---- Folder menus ----

void TMain::BuildFolderMenus() {
    BuildSoundMenu();
    BuildSpriteMenus();
    BuildSkinMenu();
    BuildLanguageMenu();
}

void TMain::BuildSoundMenu() {
    try {
        TSettings& settings = Settings();
        QAction* off = mSound->addAction(QString::fromUtf8("Off"));
        off->setCheckable(true);
        Items.emplace(TagSoundOff, off);
        OnTrigger(off, [this] { SoundOffCommand(); });
        QAction* shuffle = mSound->addAction(QString::fromUtf8("&Shuffle"));
        shuffle->setCheckable(true);
        Items.emplace(TagShuffle, shuffle);
        OnTrigger(shuffle, [this] { SoundShuffleCommand(); });
        mSound->addSeparator();
        for (const std::string& name : FolderEntries(Folders().SoundsFolder, true)) {
            QAction* item = mSound->addAction(PlainCaption(name));
            item->setData(QString::fromStdString(name));
            item->setCheckable(true);
            OnTrigger(item, [this, item] { SoundSetCommand(item); });
            SoundSets.push_back(item);
        }
        mSound->menuAction()->setVisible(true);
        shuffle->setVisible(SoundSets.size() >= 2);
        SoundShuffle = settings.SoundRandom && shuffle->isVisible();
        QAction* checked = nullptr;
        if (SoundShuffle) {
            checked = shuffle;
        } else if (SoundBank().SoundOn) {
            for (QAction* item : SoundSets)
                if (CompareNoCase(SetName(item), settings.Waves) == 0) checked = item;
        }
        if (checked == nullptr) checked = off;
        checked->setChecked(true);
        CheckedSound = checked;
        mSound->menuAction()->setCheckable(true);
        mSound->menuAction()->setChecked(checked != off);
    } catch (const std::exception&) {
        TErrBox_Show_Text("Error setting the sounds");
    }
}

void TMain::BuildSpriteMenus() {
    try {
        TSettings& settings = Settings();
        const int screenClass = settings.ScreenClassNumber;
        int largest = 1;
        for (int size = 1; size <= 4; ++size) {
            QMenu* menu = SizeMenus[static_cast<std::size_t>(size)];
            menu->menuAction()->setVisible(false);
            if (size > 1 && screenClass < size) continue;
            QAction* shuffle = menu->addAction(QString::fromUtf8("&Shuffle"));
            shuffle->setCheckable(true);
            Items.emplace(TagShuffle, shuffle);
            OnTrigger(shuffle, [this, shuffle] { SpriteShuffleCommand(shuffle); });
            menu->addSeparator();
            int sets = 0;
            for (const std::string& name : FolderEntries(SpriteSizeFolder(size), true)) {
                QAction* item = menu->addAction(PlainCaption(name));
                item->setData(QString::fromStdString(name));
                item->setCheckable(true);
                OnTrigger(item, [this, item] { SpriteSetCommand(item); });
                ++sets;
            }
            shuffle->setVisible(sets >= 2);
            menu->menuAction()->setVisible(sets >= 1);
            largest = size;
        }
        if (settings.Size > largest) settings.Size = static_cast<std::uint8_t>(largest);
        const int size = std::max<int>(settings.Size, 1);
        QMenu* current = SizeMenus[static_cast<std::size_t>(size)];
        if (SpriteItems(current).size() < 2) settings.SpritesRandom = false;
        SpriteShuffle = settings.SpritesRandom;
    } catch (const std::exception&) {
        TErrBox_Show_Text("Error setting graphic sprites");
    }
}

std::vector<QAction*> TMain::SpriteItems(QMenu* menu) const {
    std::vector<QAction*> items;
    for (QAction* item : menu->actions())
        if (!item->isSeparator() && item->data().isValid()) items.push_back(item);
    return items;
}

void TMain::BuildSkinMenu() {
    try {
        for (const std::string& name : FolderEntries(Folders().SkinsFolder, true)) {
            QAction* item = mSkin->addAction(PlainCaption(name));
            item->setData(QString::fromStdString(name));
            item->setCheckable(true);
            OnTrigger(item, [this, item] { SetSkin(SetName(item)); });
            if (CompareNoCase(name, Settings().Skin) == 0) {
                item->setChecked(true);
                CheckedSkin = item;
            }
        }
        mSkin->menuAction()->setVisible(Settings().Backgrounds && !mSkin->actions().isEmpty());
    } catch (const std::exception&) {
        TErrBox_Show_Text("Error setting the skins");
    }
}

void TMain::BuildLanguageMenu() {
    try {
        std::vector<std::string> languages;
        for (const fs::path& folder : ContentFolders(Folders().LanguagesFolder))
            for (std::string& name : LanguageNames(folder))
                languages.push_back(std::move(name));
        std::sort(languages.begin(), languages.end());
        languages.erase(std::unique(languages.begin(), languages.end()), languages.end());
        for (const std::string& name : languages) {
            QAction* item = mLanguage->addAction(PlainCaption(name));
            item->setData(QString::fromStdString(name));
            item->setCheckable(true);
            item->setChecked(name == Language().Name);
            OnTrigger(item, [this, item] { LoadLanguage(SetName(item)); });
        }
        mLanguage->menuAction()->setVisible(!mLanguage->actions().isEmpty());
    } catch (const std::exception&) {
        TErrBox_Show_Text("Error setting the languages");
    }
}

// ---- Sprite sets and sound sets ----

void TMain::LoadSpriteSet(QAction* item) {
    try {
        int size = 0;
        for (int s = 1; s <= 4; ++s)
            if (SizeMenus[static_cast<std::size_t>(s)]->actions().contains(item)) size = s;
        if (size == 0) return;
        const std::string name = item->data().isValid() ? SetName(item) : std::string();
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
        drawn = sets[std::uniform_int_distribution<std::size_t>(0, sets.size() - 1)(Random())];
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
    Settings().Waves = SetName(item);
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
    QAction* shuffle = nullptr;
    for (QAction* item : mSound->actions())
        if (item->text() == Item(TagShuffle)->text() && !item->data().isValid()) shuffle = item;
    if (shuffle == nullptr) return;
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
                                                                            1)(Random())];
    } while (drawn == LastShuffledSound);
    LastShuffledSound = drawn;
    SoundBank().SoundOn = true;
    Settings().Waves = SetName(drawn);
    SoundBank().LoadSoundSet(SoundSetFolder(Settings().Waves));
}

// ---- Showing, closing, minimising ----

void TMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // The window is as large as its contents (the layout fixes its size). A
    // late notice of an older size from the window system is put right once
    // this event is over, a few times at most so that a window manager that
    // insists is not fought without end.
    if (minimumSize() != CorrectedSize) { // a new size: the count starts again
        CorrectedSize = minimumSize();
        SizeCorrections = 0;
    }
    if (minimumSize() == maximumSize() && size() != minimumSize()) {
        if (SizeCorrections < 3) {
            ++SizeCorrections;
            QTimer::singleShot(0, this, [this] {
                if (minimumSize() == maximumSize()) resize(minimumSize());
            });
        }
    } else {
        SizeCorrections = 0;
    }
    // A smaller window is drawn anew, menu bar included: the system does
    // not ask for the part that stays.
    update();
}

void TMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (Shown) return;
    Shown = true;
    FormShow();
}

void TMain::FormShow() {
    TSettings& settings = Settings();
    if (settings.Size == 0) {
        const int largest = std::clamp<int>(settings.ScreenClassNumber, 1, 4);
        settings.Size = static_cast<std::uint8_t>(largest >= 3 ? 3 : largest < 2 ? 1 : 2);
    }
    Adapter.SetTileSize(settings.Size);
    mGame->menuAction()->setVisible(false);
    Game().SetSpeed(static_cast<std::uint8_t>(std::clamp<int>(settings.Speed, 1, 4)));
    ShowItem(TagStepBack, false);
    ShowItem(TagRestore, false);
    BuildFolderMenus();
    CheckSpeed();
    Game().SetTiming();
    try {
        // The size's first set, unless the Sprites setting names a later one.
        const int size = std::max<int>(settings.Size, 1);
        QMenu* menu = SizeMenus[static_cast<std::size_t>(size)];
        const std::vector<QAction*> sets = SpriteItems(menu);
        if (sets.empty()) throw Error(ErrorMessage(ErrImageFolderNotFound));
        QAction* chosen = sets.front();
        for (QAction* item : sets)
            if (CompareNoCase(SetName(item), settings.Sprites) == 0) chosen = item;
        QAction* checked = chosen;
        if (SpriteShuffle)
            for (QAction* item : menu->actions())
                if (!item->isSeparator() && !item->data().isValid()) checked = item;
        checked->setChecked(true);
        CheckedSprites = checked;
        LoadSpriteSet(chosen);
    } catch (...) {
        TErrBox_Display(std::current_exception());
    }
    TEventPump::Process();
    if (CloseAboutBox) CloseAboutBox();
    Adapter.EnableMenus(true);
    Adapter.RepaintMap();
}

void TMain::CheckSpeed() {
    const int speed = Game().GetSpeed();
    Item(speed == 1 ? 76 : speed == 3 ? 78 : speed == 4 ? 79 : 77)->setChecked(true);
}

void TMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !GameObject) return;
    // Minimised, the game runs at full speed without pictures or sounds.
    Game().SetActive(!isMinimized());
}

bool TMain::CloseQuery() {
    TWinGame& game = Game();
    if (Terminating) return true;
    if (game.GetState() == TState::Replay) {
        game.TakeOver();
        return false;
    }
    if (game.IsEdit()) {
        game.PlayMode();
        if (game.IsEdit()) return false; // the player stays in the editor
    }
    if (game.GetState() == TState::Play && game.GetSolution().GetSteps() > 0 &&
        !game.IsShowingSolution()) {
        const std::uint8_t answer = Ask(MoreMessage(MsgSaveInProgress), {}, AlertYesNoCancel);
        if (answer == AnswerCancel) return false;
        if (answer == AnswerYes) game.SaveProgress();
    }
    if (Ask(MoreMessage(MsgReallyExit), {}, AlertYesNo) != AnswerYes) return false;
    xTim.stop();
    return true;
}

void TMain::closeEvent(QCloseEvent* event) {
    // The window manager's close while a command runs waits for its end (a
    // play back is only stopped); the program's own close goes on.
    if (event->spontaneous() && !Terminating && TEventPump::CommandRunning()) {
        if (GameObject && Game().GetState() == TState::Replay) Game().TakeOver();
        event->ignore();
        return;
    }
    bool allowed = false;
    try {
        allowed = CloseQuery();
    } catch (...) {
        TErrBox_Display(std::current_exception());
    }
    if (!allowed) {
        event->ignore();
        return;
    }
    event->accept();
    // Closing always completes: whatever fails here is passed over.
    try {
        PlayEffect(TEffect::Exit);
        WriteSettingsNow();
        TEventPump::Process();
    } catch (...) {
    }
}

void TMain::WriteSettingsNow() {
    TSettings& settings = Settings();
    const TWinGame& game = Game();
    settings.Language = Language().Name;
    settings.Player = game.GetPlayer();
    settings.Speed = game.GetSpeed();
    settings.SoundOn = SoundBank().SoundOn;
    const bool gameOpen = game.GetState() != TState::None && !game.GameName().empty();
    if (gameOpen) {
        settings.Game = game.GameName();
        settings.Level = game.GetLevel();
    }
    const TSettingsWrite written = WriteSettings(Folders(), settings, gameOpen);
    if (!written.Report.empty()) TErrBox_Show_Text(written.Report);
}

// ---- Shell operations ----

void TMain::ShowBanner(const std::string& text, bool lockInput) {
    Adapter.EnableMenus(false);
    xBottomLab.setText(ToUnicode(text));
    for (TPanel* panel : {&xNamePan, &xLevelPan, &xClockPan, &xStepPan, &xPalettePan})
        panel->hide();
    xBottomPan.show();
    if (lockInput) xMessTim.start();
}

void TMain::LayoutLevelButtons() {
    const int count = GameObject ? Game().LevelCount() : 0;
    if (count == 0) return;
    const int width = xLevelPan.contentsRect().width();
    const int slot = width / count;
    const int margin = (width - count * slot) / 2;
    for (int i = 1; i <= 9; ++i) {
        QToolButton* button = xLev[static_cast<std::size_t>(i - 1)];
        button->setVisible(i <= count);
        button->move(xLevelPan.contentsRect().left() + margin + (i - 1) * slot +
                         (slot - button->width()) / 2,
                     button->y());
    }
    UpdateLevelHints();
    TEventPump::Process();
}

void TMain::UpdateLevelHints() {
    const int count = std::min<int>(Game().LevelCount(), 9);
    for (int i = 1; i <= count; ++i)
        xLev[static_cast<std::size_t>(i - 1)]->setToolTip(
            ToUnicode(Game().LevelName(static_cast<std::uint8_t>(i))));
}

void TMain::ProcessMessages() {
    TEventPump::Process();
}

std::uint8_t TMain::Ask(const std::string& message, const std::vector<std::string>& args,
                        std::uint8_t buttons) {
    return Alert.Run(message, args, false, buttons);
}

std::string TMain::ChooseGame(bool& editable) {
    // The game of the last run until a game was loaded, then the player's
    // own last choice (the dialog keeps it).
    return GameBox->Run(Game(), editable, Game().RememberedGameName());
}

void TMain::ShowCongratulations() {
    CongratBox->Run(&xiPanel);
}

std::string TMain::ChoosePlayer(const std::vector<std::string>& names, const std::string& current) {
    PlayerBox->SetNames(names);
    return PlayerBox->Run(current);
}

void TMain::ForgetPlayer(const std::string& name) {
    PlayerBox->RemovePlayerName(name);
}

bool TMain::AskGameName(std::string& name, std::uint8_t& skill, std::string& author,
                        bool& changed) {
    return NameBox->Run(name, skill, author, changed);
}

bool TMain::AskLevelName(std::string& name, bool& changed) {
    return LevBox->Run(name, changed);
}

void TMain::ShowError(const std::string& message) {
    TErrBox_Show_Text(message);
}

void TMain::Terminate() {
    // No player is left: the program ends without its closing questions.
    Terminating = true;
    close();
    QCoreApplication::quit();
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
    for (QAction* item : mFont->actions())
        if (!item->isSeparator() && item != mBold)
            item->setChecked(item->text().remove('&').trimmed().toInt() == size);
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

void TMain::FontSizeCommand(QAction* item) {
    const int size = item->text().remove('&').trimmed().toInt();
    if (size < 7 || size > 12) return;
    Settings().FontSize = static_cast<std::uint16_t>(size);
    ApplyFonts();
}

void TMain::BoldCommand() {
    Settings().BoldFont = !Settings().BoldFont;
    ApplyFonts();
}

void TMain::ReadOnlyCommand() {
    Game().ToggleReadOnly();
}

// ---- Record browsers ----

std::array<TPictureDialog*, 4> TMain::PictureDialogs() const {
    return {GameBox.get(), PlayerBox.get(), NameBox.get(), LevBox.get()};
}

std::array<TRecordBox*, 4> TMain::RecordBoxes() const {
    return {ChampBox.get(), SolBox.get(), AuthBox.get(), WriBox.get()};
}

void TMain::HallCommand() {
    PlayEffect(TEffect::Champion);
    ChampBox->ShowChampions();
}

void TMain::AuthorsCommand() {
    PlayEffect(TEffect::Champion);
    AuthBox->ShowAuthors();
}

bool TMain::OpenFromBrowser(const std::string& name, int level) {
    TWinGame& game = Game();
    if (game.IsEdit()) {
        game.PlayMode();
        if (game.IsEdit()) return false; // the player stays in the editor
    }
    game.OpenGameAt(name, static_cast<std::uint8_t>(std::clamp(level, 1, 9)));
    return true;
}

// ---- Install commands ----

void TMain::InstallCommand(int tag, std::string_view pattern) {
    if (Ask(MoreMessage(MsgSearchDrives), {}, AlertYesNo) != AnswerYes) return;
    ShowBanner("", false);
    const auto ask = [this](const fs::path& archive) -> int {
        QApplication::setOverrideCursor(Qt::ArrowCursor);
        const int answer =
            Ask(MoreMessage(MsgFoundArchive), {ArchiveQuestionName(archive)}, AlertYesNoCancel);
        QApplication::restoreOverrideCursor();
        return answer;
    };
    // The message line counts the folders and names the one being searched.
    const auto onFolder = [this](std::uint32_t count, const fs::path& folder) {
        xBottomLab.setText(QString::number(count) + QString::fromUtf8("  ") + ToQString(folder));
        TEventPump::Process();
        return true;
    };
    TInstallReport report;
    try {
        // The hourglass shows while the search runs, whatever ends it.
        struct TWaitCursor {
            TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
            ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
        } searching;
        report = InstallArchives(Folders(), ArchiveKindOf(pattern).value(), ask, onFolder,
                                 SearchPlaces ? *SearchPlaces : LocalSearchPlaces());
    } catch (...) {
        Adapter.EnableMenus(true);
        throw;
    }
    // An archive with members that were not written is kept, and the player
    // learns which ones: a few names, one a line, and how many more.
    for (const TInstalled& done : report.Archives) {
        if (done.Result.Failed.empty()) continue;
        const std::string& text = MoreMessage(MsgNotInstalled);
        const auto lines = AlertMaxLines - std::count(text.begin(), text.end(), '|');
        Ask(FailedMembersMessage(text, MoreMessage(MsgAndMore), done.Archive, done.Result.Failed,
                                 static_cast<std::size_t>(std::max<std::ptrdiff_t>(lines, 1))),
            {}, AlertOK);
    }
    Ask(MoreMessage(report.Search.Found ? MsgFilesInstalled : MsgNothingFound), {}, AlertOK);
    Adapter.EnableMenus(true);
    // Each install command serves once a run.
    ShowItem(tag, false);
}

// ---- Keys, mouse, clock ----

void TMain::keyPressEvent(QKeyEvent* event) {
    event->accept();
    // A key during a play back only stops it.
    if (Game().GetState() == TState::Replay) {
        Game().TakeOver();
        return;
    }
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    TEventPump::RunCommand([this, key, modifiers] { KeyDown(key, modifiers); });
}

void TMain::LevelButtonCommand(std::uint8_t level) {
    TWinGame& game = Game();
    // The button shows the level in play until the level changes.
    Adapter.SelectLevelButton(game.GetLevel());
    if (!Adapter.MenusEnabled()) return;
    if (!game.IsEdit() && (game.IsBusy() || game.GetState() == TState::Replay)) return;
    game.SelectLevel(level);
}

void TMain::KeyDown(int key, Qt::KeyboardModifiers modifiers) {
    TWinGame& game = Game();
    if (game.GetState() == TState::Replay) {
        game.TakeOver();
        return;
    }
    if (!Adapter.MenusEnabled()) return;
    const TState state = game.GetState();
    const bool ctrlAlt =
        modifiers.testFlag(Qt::ControlModifier) && modifiers.testFlag(Qt::AltModifier);
    // The digits of the keypad count too (Qt marks them with the keypad
    // modifier).
    if (key >= Qt::Key_1 && key <= Qt::Key_9 &&
        (modifiers & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (state == TState::Ready || state == TState::Done || game.IsEdit()) {
            const QToolButton* button = xLev[static_cast<std::size_t>(key - Qt::Key_1)];
            if (button->isEnabled() && button->isVisible())
                LevelButtonCommand(static_cast<std::uint8_t>(key - Qt::Key_0));
        }
        return;
    }
    if (key == Qt::Key_Pause || key == Qt::Key_Delete) {
        showMinimized();
        return;
    }
    if (key == Qt::Key_F1) {
        ShowHelpTopic("Welcome");
        return;
    }
    if (ctrlAlt && key == Qt::Key_A) {
        AccessAllCommand();
        return;
    }
    if (ctrlAlt && key == Qt::Key_T) {
        ShowCongratulations();
        return;
    }
    if (ctrlAlt && modifiers.testFlag(Qt::ShiftModifier) && key == Qt::Key_Z) {
        game.ToggleXtra();
        return;
    }
    if (game.IsEdit() || game.IsBusy()) return;
    const bool playing = game.AcceptsMoves();
    // The arrows move the hero one cell; Home, End, Page Up and Page Down run
    // him until he is stopped.
    struct TKeyMove {
        int Key;
        TDir Dir;
        int Count;
    };
    static constexpr std::array<TKeyMove, 8> moves = {
        TKeyMove{Qt::Key_Left, Left, 1}, {Qt::Key_Right, Right, 1},    {Qt::Key_Up, Up, 1},
        {Qt::Key_Down, Down, 1},         {Qt::Key_Home, Left, 127},    {Qt::Key_End, Right, 127},
        {Qt::Key_PageUp, Up, 127},       {Qt::Key_PageDown, Down, 127}};
    for (const TKeyMove& move : moves)
        if (move.Key == key) {
            if (playing) game.Move(move.Dir, move.Count);
            return;
        }
    switch (key) {
    case Qt::Key_Escape:
        if (playing) GiveUpCommand();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (state == TState::None || state == TState::Ready || state == TState::Done)
            LoadGameCommand();
        break;
    case Qt::Key_Space:
        if (state == TState::Done) game.SetState(TState::Ready, false);
        break;
    case Qt::Key_Backspace:
        game.StepBack();
        break;
    default:
        break;
    }
}

void TMain::MapMouseDown(QMouseEvent& event) {
    if (event.button() != Qt::LeftButton || !GameObject) return;
    TWinGame& game = Game();
    if (game.IsEdit()) {
        // The editor paints the rectangle the drag spans.
        Dragging = true;
        DragStart = event.position().toPoint();
        DragColumn = DragStart.x() / TilePixels + 1;
        DragRow = DragStart.y() / TilePixels + 1;
        Band->hide();
        return;
    }
    if (game.GetState() == TState::Replay && game.TakeOver()) return;
    TEventPump::RunCommand([this, &event] { MapClick(event); });
}

void TMain::MapClick(QMouseEvent& event) {
    // The shell only turns the pixel into its cell; the game decides the move.
    const int column = static_cast<int>(event.position().x()) / TilePixels + 1;
    const int row = static_cast<int>(event.position().y()) / TilePixels + 1;
    Game().ClickCell(TPos(column, row));
}

void TMain::MapMouseMove(QMouseEvent& event) {
    if (!Dragging) return;
    const QPoint point = event.position().toPoint();
    // Less than two pixels from the start is no rectangle yet.
    if (std::abs(point.x() - DragStart.x()) < 2 && std::abs(point.y() - DragStart.y()) < 2) {
        Band->hide();
        return;
    }
    Band->setGeometry(QRect(DragStart, point).normalized());
    Band->show();
}

void TMain::MapMouseUp(QMouseEvent& event) {
    if (!Dragging || event.button() != Qt::LeftButton) return;
    Dragging = false;
    Band->hide();
    if (!GameObject || !Game().IsEdit()) return;
    const QPoint point = event.position().toPoint();
    // A release outside the field paints up to its edge cells.
    const int column = std::clamp(point.x() / TilePixels + 1, 1, 31);
    const int row = std::clamp(point.y() / TilePixels + 1, 1, 18);
    TEventPump::RunCommand([this, column, row] {
        Game().PaintRectangle(DragColumn, DragRow, column, row, PaletteCode);
    });
}

void TMain::PaletteClick(int slot) {
    if (slot < 0 || slot >= static_cast<int>(xPal.size())) return;
    xPal[static_cast<std::size_t>(PaletteSlot)]->setAutoRaise(true);
    QToolButton* button = xPal[static_cast<std::size_t>(slot)];
    button->setDown(false);
    button->setAutoRaise(false);
    PaletteSlot = slot;
    PaletteCode = PaletteCodes[static_cast<std::size_t>(slot)];
}

void TMain::ClockTick() {
    if (Game().IsEdit()) {
        xTim.stop();
        return;
    }
    Game().Tick();
}

// ---- Menu commands ----

void TMain::LoadGameCommand() {
    if (!Adapter.MenusEnabled() || Game().IsBusy()) return;
    ShowBanner("", false);
    try {
        Game().LoadGame();
    } catch (...) {
        // The game in play stays: its panels and the input come back before
        // the error box tells what went wrong.
        Adapter.EnableMenus(true);
        throw;
    }
    Adapter.EnableMenus(true);
}

void TMain::StepBackCommand() {
    Game().StepBack();
}
void TMain::GiveUpCommand() {
    Game().GiveUp();
}
void TMain::TakeSnapshotCommand() {
    Game().TakeSnapshot();
}
void TMain::RestoreSnapshotCommand() {
    Game().RestoreSnapshot();
}
void TMain::PlayBackCommand() {
    Game().PlayBack(false);
}
void TMain::ShowSolutionCommand() {
    Game().PlayBack(true);
}
void TMain::GameInfoCommand() {
    Game().GameInfo();
}
void TMain::LevelInfoCommand() {
    Game().LevelInfo();
}

void TMain::KillSolutionCommand() {
    if (Ask(MoreMessage(MsgKillSolution), {}, AlertYesNo) == AnswerYes) {
        Game().KillSolution();
        ShowItem(TagKillSolution, Game().BestSolution() != nullptr);
    }
}

void TMain::ExitCommand() {
    close();
}

void TMain::WebPageCommand() {
    if (!QDesktopServices::openUrl(QUrl(QString::fromUtf8(WebPage))))
        throw Error("Browser launch error");
}

void TMain::AboutCommand() {
    TAboutBox about(this);
    about.SetBoxFont(ToUnicode(Language().FontName), Settings().FontSize);
    about.Run();
}

void TMain::AccessAllCommand() {
    Game().ToggleAllLevels();
}
void TMain::PlayNewCommand() {
    Game().PlayAllSolutions(true);
}
void TMain::PlayAllCommand() {
    Game().PlayAllSolutions(false);
}
void TMain::AcceptCommand() {
    Game().AcceptSolution();
}
// The Diagnostics item keeps only its own check mark, which the item
// toggles by itself.
void TMain::DiagnosticsCommand() {}

void TMain::SpeedCommand(int speed) {
    Item(75 + speed)->setChecked(true);
    Game().SetSpeed(static_cast<std::uint8_t>(speed));
    Game().SetTiming();
}

} // namespace tb
