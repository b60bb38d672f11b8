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

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

std::vector<TMenuItem> TMain::MenuTable() {
    using enum TState;
    using E = TInEditor;
    auto own = [this](void (TMain::*command)()) { return [this, command] { (this->*command)(); }; };
    auto game = [this](void (TWinGame::*command)()) {
        return [this, command] { (Game().*command)(); };
    };
    // After the level commands the level buttons' hints follow the levels.
    auto level = [this](void (TWinGame::*command)()) {
        return [this, command] {
            (Game().*command)();
            UpdateLevelHints();
        };
    };
    auto install = [this](int tag, std::string_view pattern) {
        return CommandItem(tag, TagInstallMenu,
                           [this, tag, pattern] { InstallCommand(tag, pattern); });
    };
    auto shift = [this](int tag, TDir dir) {
        return CommandItem(tag, TagMoveMapMenu, [this, dir] { Game().MoveMap(dir); });
    };
    // A size menu: its Shuffle item, then a line before the sets.
    auto shuffle = [this](int size) {
        return CommandItem(SpriteShuffleTag(size), SizeTag(size),
                           [this, size] { SpriteShuffleCommand(Item(SpriteShuffleTag(size))); })
            .Caption(TagShuffle)
            .Check();
    };
    auto speed = [this](int each) {
        return CommandItem(SpeedTag(each), TagSpeedMenu, [this, each] { SpeedCommand(each); })
            .Radio();
    };
    auto fontSize = [this](int size) {
        return CommandItem(FontSizeTag(size), TagFontSizeMenu,
                           [this, size] { FontSizeCommand(size); })
            .Check();
    };
    return {
        SubMenu(TagFileMenu),
        CommandItem(TagLoad, TagFileMenu, own(&TMain::LoadGameCommand)),
        CommandItem(TagNew, TagFileMenu, level(&TWinGame::NewGame)).Shows(In({None})),
        CommandItem(TagSave, TagFileMenu, [this] { Game().SaveGame(); })
            .Hides(In({None, Ready}))
            .Editor(E::Shown),
        CommandItem(TagDelete, TagFileMenu, game(&TWinGame::DeleteGame))
            .Shows(In({Ready}))
            .Hides(In({None})),
        Line(TagFileMenu),
        CommandItem(TagAuthors, TagFileMenu, own(&TMain::AuthorsCommand)),
        CommandItem(TagHall, TagFileMenu, own(&TMain::HallCommand)),
        Line(TagFileMenu),
        CommandItem(TagExport, TagFileMenu, game(&TWinGame::ExportGameSolution))
            .Shows(In({Ready}))
            .Hides(In({None}))
            .Editor(E::Hidden),
        CommandItem(TagExportBest, TagFileMenu, game(&TWinGame::ExportBestSolutions))
            .Editor(E::Hidden),
        Line(TagFileMenu),
        CommandItem(TagNewPlayer, TagFileMenu, [this] { Game().NewPlayer(); }).Editor(E::Hidden),
        CommandItem(TagDeletePlayer, TagFileMenu, game(&TWinGame::DeletePlayer)).Editor(E::Hidden),
        Line(TagFileMenu),
        CommandItem(TagPlayMode, TagFileMenu, game(&TWinGame::PlayMode))
            .Hides(In({None}))
            .Editor(E::Shown)
            .StartHidden(),
        CommandItem(TagEditMode, TagFileMenu, game(&TWinGame::EditMode))
            .Hides(In({None}))
            .Editor(E::Hidden)
            .StartHidden(),
        Line(TagFileMenu),
        SubMenu(TagInstallMenu, TagFileMenu),
        install(TagInstallGames, GamesArchives),
        install(TagInstallSprites, SpritesArchives),
        install(TagInstallSounds, SoundsArchives),
        install(TagInstallSolutions, SolutionsArchive),
        install(TagInstallLanguages, LanguagesArchives),
        Line(TagFileMenu),
        CommandItem(TagExit, TagFileMenu, own(&TMain::ExitCommand)),

        SubMenu(TagGameMenu).StartHidden(),
        CommandItem(TagStepBack, TagGameMenu, game(&TWinGame::StepBack)),
        CommandItem(TagGiveUp, TagGameMenu, game(&TWinGame::GiveUp))
            .Shows(In({Play}))
            .Hides(In({None, Ready, Done})),
        Line(TagGameMenu),
        CommandItem(TagTake, TagGameMenu, game(&TWinGame::TakeSnapshot))
            .Shows(In({Play}))
            .Hides(In({Ready, Done})),
        CommandItem(TagRestore, TagGameMenu, game(&TWinGame::RestoreSnapshot)),
        CommandItem(TagPlayBack, TagGameMenu, [this] { Game().PlayBack(false); })
            .Shows(In({Play}))
            .Hides(In({Ready})),
        CommandItem(TagShow, TagGameMenu, [this] { Game().PlayBack(true); })
            .Shows(In({Ready}))
            .Hides(In({None})),
        Line(TagGameMenu),
        CommandItem(TagGameInfo, TagGameMenu, game(&TWinGame::GameInfo)),
        CommandItem(TagLevelInfo, TagGameMenu, game(&TWinGame::LevelInfo)),
        Line(TagGameMenu),
        CommandItem(TagKillSolution, TagGameMenu, own(&TMain::KillSolutionCommand)),

        // The editor's menu comes with the editor.
        SubMenu(TagEditMenu).StartHidden(),
        CommandItem(TagAdd, TagEditMenu,
                    [this] {
                        Game().AddLevel("");
                        UpdateLevelHints();
                    }),
        CommandItem(TagRemove, TagEditMenu, level(&TWinGame::DeleteLevel)),
        CommandItem(TagClear, TagEditMenu, level(&TWinGame::ClearLevel)),
        CommandItem(TagMoveUp, TagEditMenu, level(&TWinGame::MoveLevelUp)),
        CommandItem(TagMoveDown, TagEditMenu, level(&TWinGame::MoveLevelDown)),
        CommandItem(TagCopy, TagEditMenu, game(&TWinGame::CopyPreviousLevel)),
        SubMenu(TagMoveMapMenu, TagEditMenu),
        shift(TagMapUp, TDir::Up),
        shift(TagMapDown, TDir::Down),
        shift(TagMapLeft, TDir::Left),
        shift(TagMapRight, TDir::Right),
        CommandItem(TagLevelName, TagEditMenu, level(&TWinGame::RenameLevel)),
        CommandItem(TagGameName, TagEditMenu, game(&TWinGame::RenameGame)),

        // The folder menus get their entries (sound sets, sprite sets, skins,
        // languages) from the folders at the first showing, after these rows.
        SubMenu(TagOptionsMenu),
        SubMenu(TagSoundMenu, TagOptionsMenu),
        CommandItem(TagSoundOff, TagSoundMenu, own(&TMain::SoundOffCommand)).Check(),
        CommandItem(TagSoundShuffle, TagSoundMenu, own(&TMain::SoundShuffleCommand))
            .Caption(TagShuffle)
            .Check(),
        Line(TagSoundMenu),
        SubMenu(TagGraphicsMenu, TagOptionsMenu),
        SubMenu(TagSmall, TagGraphicsMenu).Check(),
        shuffle(1),
        Line(TagSmall),
        SubMenu(TagMedium, TagGraphicsMenu).Check(),
        shuffle(2),
        Line(TagMedium),
        SubMenu(TagLarge, TagGraphicsMenu).Check(),
        shuffle(3),
        Line(TagLarge),
        SubMenu(TagHuge, TagGraphicsMenu).Check(),
        shuffle(4),
        Line(TagHuge),
        SubMenu(TagSkinsMenu, TagOptionsMenu),
        SubMenu(TagFontSizeMenu, TagOptionsMenu),
        fontSize(7),
        fontSize(8),
        fontSize(9),
        fontSize(10),
        fontSize(11),
        fontSize(12),
        Line(TagFontSizeMenu),
        CommandItem(TagBold, TagFontSizeMenu, own(&TMain::BoldCommand)).Check(),
        SubMenu(TagSpeedMenu, TagOptionsMenu),
        speed(1),
        speed(2),
        speed(3),
        speed(4),
        SubMenu(TagLanguageMenu, TagOptionsMenu),

        // The extras show when the settings ask for them.
        SubMenu(TagXtraMenu).StartHidden(),
        CommandItem(TagReadOnly, TagXtraMenu, game(&TWinGame::ToggleReadOnly)).Check(),
        CommandItem(TagAccessAll, TagXtraMenu, game(&TWinGame::ToggleAllLevels)).Check(),
        CommandItem(TagPlayNew, TagXtraMenu, [this] { Game().PlayAllSolutions(true); }),
        CommandItem(TagPlayAll, TagXtraMenu, [this] { Game().PlayAllSolutions(false); }),
        CommandItem(TagAccept, TagXtraMenu, game(&TWinGame::AcceptSolution)),
        // Diagnostics keeps only its own check mark.
        CommandItem(TagDiagnostics, TagXtraMenu, [] {}).Check(),
        CommandItem(TagShowSplash, TagXtraMenu, own(&TMain::ShowCongratulations)),

        SubMenu(TagHelpMenu),
        CommandItem(TagHelp, TagHelpMenu, [] { ShowHelpTopic("Welcome"); }),
        CommandItem(TagWebPage, TagHelpMenu, own(&TMain::WebPageCommand)),
        CommandItem(TagAbout, TagHelpMenu, own(&TMain::AboutCommand)),
    };
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
    MenuRows = MenuTable();
    std::map<int, QMenu*> menus;
    std::map<int, QActionGroup*> groups;
    for (const TMenuItem& row : MenuRows) {
        QMenu* parent = row.Menu != 0 ? menus.at(row.Menu) : nullptr;
        if (row.Kind == TMenuKind::Separator) {
            parent->addSeparator();
            continue;
        }
        QAction* item = nullptr;
        if (row.Kind == TMenuKind::Menu) {
            // Owned by the menu it sits in, or by the bar.
            auto* menu = new QMenu(Utf8(BuiltInCaption(row)),
                                   parent != nullptr ? static_cast<QWidget*>(parent) : bar);
            if (parent != nullptr)
                parent->addMenu(menu);
            else
                bar->addMenu(menu);
            menus.emplace(row.Tag, menu);
            item = menu->menuAction();
        } else {
            item = parent->addAction(Utf8(BuiltInCaption(row)));
            OnTrigger(item, row.Command);
        }
        item->setCheckable(row.Checkable);
        if (row.Exclusive) {
            QActionGroup*& group = groups[row.Menu];
            if (group == nullptr) group = new QActionGroup(parent); // owned by the menu
            group->addAction(item);
        }
        if (row.Hidden) item->setVisible(false);
        Items.emplace(row.Tag, item);
    }
    mFile = menus.at(TagFileMenu);
    mGame = menus.at(TagGameMenu);
    mEdit = menus.at(TagEditMenu);
    mOptions = menus.at(TagOptionsMenu);
    mCheat = menus.at(TagXtraMenu);
    xHelp = menus.at(TagHelpMenu);
    mSound = menus.at(TagSoundMenu);
    mGraphics = menus.at(TagGraphicsMenu);
    mSkin = menus.at(TagSkinsMenu);
    mSpeed = menus.at(TagSpeedMenu);
    mLanguage = menus.at(TagLanguageMenu);
    mFont = menus.at(TagFontSizeMenu);
    mBold = Item(TagBold);
    for (int size = 1; size <= 4; ++size)
        SizeMenus[static_cast<std::size_t>(size)] = menus.at(
            std::array{TagSmall, TagMedium, TagLarge, TagHuge}[static_cast<std::size_t>(size - 1)]);
    mReadOnly = Item(TagReadOnly);
    mReadOnly->setEnabled(false); // only the editor switches it
    mAccess = Item(TagAccessAll);
    // The hall shows only once the champions' records hold someone.
    connect(mFile, &QMenu::aboutToShow, this,
            [this] { ShowItem(TagHall, GameObject && Game().ChampionCount() > 0); });
}

void TMain::ShowItem(int tag, bool visible) {
    if (const auto it = Items.find(tag); it != Items.end()) it->second->setVisible(visible);
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
        QAction* off = Item(TagSoundOff);
        QAction* shuffle = Item(TagSoundShuffle);
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
            QAction* shuffle = Item(SpriteShuffleTag(size));
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

} // namespace tb
