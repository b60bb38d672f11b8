// The menu of the main window: building it, the folder menus (sounds,
// sprite sets, skins, languages) and the commands its items start.

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

namespace {

// The project's page, opened by Help > Web page.
constexpr const char* WebPage = "https://example.org/tobbin/";

} // namespace

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

QString PlainCaption(const std::string& name) {
    return ToUnicode(name).replace("&", "&&");
}

std::string ItemSetName(const QAction* item) {
    return item->data().toString().toStdString();
}

namespace {

// The built-in caption of a Tag, from the menu's table.
QString Caption(int tag) {
    const std::string_view caption = MenuCaption(tag);
    return QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
}

} // namespace

QAction* TMain::AddItem(QMenu* menu, int tag, void (TMain::*command)()) {
    return AddCommand(menu, tag, [this, command] { (this->*command)(); });
}

QAction* TMain::AddCommand(QMenu* menu, int tag, std::function<void()> command) {
    QAction* item = menu->addAction(Caption(tag));
    Items.emplace(tag, item);
    OnTrigger(item, std::move(command));
    return item;
}

QAction* TMain::AddExtra(const char* caption, void (TMain::*command)()) {
    QAction* item = mCheat->addAction(QString::fromUtf8(caption));
    OnTrigger(item, [this, command] { (this->*command)(); });
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
    auto addMenu = [this](QWidget* parent, int tag) {
        auto* menu = new QMenu(Caption(tag), parent); // owned by its parent
        Items.emplace(tag, menu->menuAction());
        return menu;
    };

    mFile = addMenu(bar, TagFileMenu);
    bar->addMenu(mFile);
    AddItem(mFile, TagLoad, &TMain::LoadGameCommand);
    AddCommand(mFile, TagNew, [this] {
        Game().NewGame();
        UpdateLevelHints();
    });
    AddCommand(mFile, TagSave, [this] { Game().SaveGame(); });
    AddCommand(mFile, TagDelete, [this] { Game().DeleteGame(); });
    mFile->addSeparator();
    AddItem(mFile, TagAuthors, &TMain::AuthorsCommand);
    AddItem(mFile, TagHall, &TMain::HallCommand);
    // The hall shows only once the champions' records hold someone.
    connect(mFile, &QMenu::aboutToShow, this,
            [this] { ShowItem(TagHall, GameObject && Game().ChampionCount() > 0); });
    mFile->addSeparator();
    AddCommand(mFile, TagExport, [this] { Game().ExportGameSolution(); });
    AddCommand(mFile, TagExportBest, [this] { Game().ExportBestSolutions(); });
    mFile->addSeparator();
    AddCommand(mFile, TagNewPlayer, [this] { Game().NewPlayer(); });
    AddCommand(mFile, TagDeletePlayer, [this] { Game().DeletePlayer(); });
    mFile->addSeparator();
    AddCommand(mFile, TagPlayMode, [this] { Game().PlayMode(); })->setVisible(false);
    AddCommand(mFile, TagEditMode, [this] { Game().EditMode(); })->setVisible(false);
    mFile->addSeparator();
    QMenu* install = addMenu(mFile, TagInstallMenu);
    mFile->addMenu(install);
    const std::array<std::pair<int, std::string_view>, 5> installs = {
        std::pair{TagInstallGames, GamesArchives}, std::pair{TagInstallSprites, SpritesArchives},
        std::pair{TagInstallSounds, SoundsArchives},
        std::pair{TagInstallSolutions, SolutionsArchive},
        std::pair{TagInstallLanguages, LanguagesArchives}};
    for (const auto& [tag, pattern] : installs)
        AddCommand(install, tag,
                   [this, tag = tag, pattern = pattern] { InstallCommand(tag, pattern); });
    mFile->addSeparator();
    AddItem(mFile, TagExit, &TMain::ExitCommand);

    mGame = addMenu(bar, TagGameMenu);
    bar->addMenu(mGame);
    AddItem(mGame, TagStepBack, &TMain::StepBackCommand);
    AddItem(mGame, TagGiveUp, &TMain::GiveUpCommand);
    mGame->addSeparator();
    AddItem(mGame, TagTake, &TMain::TakeSnapshotCommand);
    AddItem(mGame, TagRestore, &TMain::RestoreSnapshotCommand);
    AddItem(mGame, TagPlayBack, &TMain::PlayBackCommand);
    AddItem(mGame, TagShow, &TMain::ShowSolutionCommand);
    mGame->addSeparator();
    AddItem(mGame, TagGameInfo, &TMain::GameInfoCommand);
    AddItem(mGame, TagLevelInfo, &TMain::LevelInfoCommand);
    mGame->addSeparator();
    AddItem(mGame, TagKillSolution, &TMain::KillSolutionCommand);

    // The editor's menu comes with the editor; it stays hidden until then.
    mEdit = addMenu(bar, TagEditMenu);
    bar->addMenu(mEdit);
    // After the level commands the level buttons' hints follow the levels.
    auto levelCommand = [this](void (TWinGame::*command)()) {
        return [this, command] {
            (Game().*command)();
            UpdateLevelHints();
        };
    };
    AddCommand(mEdit, TagAdd, [this] {
        Game().AddLevel("");
        UpdateLevelHints();
    });
    AddCommand(mEdit, TagRemove, levelCommand(&TWinGame::DeleteLevel));
    AddCommand(mEdit, TagClear, levelCommand(&TWinGame::ClearLevel));
    AddCommand(mEdit, TagMoveUp, levelCommand(&TWinGame::MoveLevelUp));
    AddCommand(mEdit, TagMoveDown, levelCommand(&TWinGame::MoveLevelDown));
    AddCommand(mEdit, TagCopy, [this] { Game().CopyPreviousLevel(); });
    QMenu* moveMap = addMenu(mEdit, TagMoveMapMenu);
    mEdit->addMenu(moveMap);
    // In the order of the directions: up, down, left, right.
    const std::array<int, 4> shifts = {TagMapUp, TagMapDown, TagMapLeft, TagMapRight};
    for (std::size_t i = 0; i < shifts.size(); ++i)
        AddCommand(moveMap, shifts[i], [this, i] { Game().MoveMap(static_cast<TDir>(i)); });
    AddCommand(mEdit, TagLevelName, levelCommand(&TWinGame::RenameLevel));
    AddCommand(mEdit, TagGameName, [this] { Game().RenameGame(); });

    mOptions = addMenu(bar, TagOptionsMenu);
    bar->addMenu(mOptions);
    mSound = addMenu(mOptions, TagSoundMenu);
    mOptions->addMenu(mSound);
    mGraphics = addMenu(mOptions, TagGraphicsMenu);
    mOptions->addMenu(mGraphics);
    const std::array<int, 4> sizes = {TagSmall, TagMedium, TagLarge, TagHuge};
    for (int size = 1; size <= 4; ++size) {
        QMenu* menu = addMenu(mGraphics, sizes[static_cast<std::size_t>(size - 1)]);
        menu->menuAction()->setCheckable(true);
        mGraphics->addMenu(menu);
        SizeMenus[static_cast<std::size_t>(size)] = menu;
    }
    mSkin = addMenu(mOptions, TagSkinsMenu);
    mOptions->addMenu(mSkin);
    mFont = addMenu(mOptions, TagFontSizeMenu);
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
    mSpeed = addMenu(mOptions, TagSpeedMenu);
    mOptions->addMenu(mSpeed);
    auto* speeds = new QActionGroup(mSpeed); // owned by the menu
    for (int speed = 1; speed <= 4; ++speed) {
        const int tag = SpeedTag(speed);
        QAction* item = mSpeed->addAction(Caption(tag));
        item->setCheckable(true);
        speeds->addAction(item);
        Items.emplace(tag, item);
        OnTrigger(item, [this, speed] { SpeedCommand(speed); });
    }
    mLanguage = addMenu(mOptions, TagLanguageMenu);
    mOptions->addMenu(mLanguage);

    // The extras have no Tags: the language file does not name them.
    mCheat = new QMenu(QString::fromUtf8("&Xtra"), bar); // owned by the bar
    bar->addMenu(mCheat);
    mReadOnly = AddExtra("&Read only", &TMain::ReadOnlyCommand);
    mReadOnly->setCheckable(true);
    mReadOnly->setEnabled(false); // only the editor switches it
    mAccess = AddExtra("&Access all levels", &TMain::AccessAllCommand);
    mAccess->setCheckable(true);
    mPlayNew = AddExtra("Play &new solutions", &TMain::PlayNewCommand);
    mPlayAll = AddExtra("&Play all solutions", &TMain::PlayAllCommand);
    mAccept = AddExtra("A&ccept solution", &TMain::AcceptCommand);
    mDiagn = AddExtra("&Diagnostics", &TMain::DiagnosticsCommand);
    mDiagn->setCheckable(true);
    mLogo = AddExtra("&Show Splash", &TMain::ShowCongratulations);
    mCheat->menuAction()->setVisible(false);

    xHelp = addMenu(bar, TagHelpMenu);
    bar->addMenu(xHelp);
    AddCommand(xHelp, TagHelp, [] { ShowHelpTopic("Welcome"); });
    AddItem(xHelp, TagWebPage, &TMain::WebPageCommand);
    AddItem(xHelp, TagAbout, &TMain::AboutCommand);

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
        QAction* off = mSound->addAction(Caption(TagSoundOff));
        off->setCheckable(true);
        Items.emplace(TagSoundOff, off);
        OnTrigger(off, [this] { SoundOffCommand(); });
        QAction* shuffle = SoundShuffleItem = mSound->addAction(Caption(TagShuffle));
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
                if (CompareNoCase(ItemSetName(item), settings.Waves) == 0) checked = item;
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
            QAction* shuffle = menu->addAction(Caption(TagShuffle));
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
            OnTrigger(item, [this, item] { SetSkin(ItemSetName(item)); });
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
            OnTrigger(item, [this, item] { LoadLanguage(ItemSetName(item)); });
        }
        mLanguage->menuAction()->setVisible(!mLanguage->actions().isEmpty());
    } catch (const std::exception&) {
        TErrBox_Show_Text("Error setting the languages");
    }
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

} // namespace tb
