// The main window's menu rows: each item's place, command and states, and
// the commands that belong to the window itself.

#include "shell/tb_main.h"

#include "play/tb_pump.h"
#include "play/tb_util.h"
#include "services/d_error.h"
#include "services/d_language.h"
#include "services/d_messages.h"
#include "services/d_settings.h"
#include "shell/tb_aboutbox.h"
#include "shell/tb_helpwin.h"

#include <QDesktopServices>
#include <QUrl>

namespace tb {

namespace {

// The project's page, opened by Help > Web page.
constexpr const char* WebPage = "https://example.org/tobbin/";

} // namespace

std::vector<TMenuItem> TMain::MenuRows() {
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
                           [this, tag, pattern] { Install->Run(tag, pattern); });
    };
    auto shift = [this](int tag, TDir dir) {
        return CommandItem(tag, TagMoveMapMenu, [this, dir] { Game().MoveMap(dir); });
    };
    // A size menu: its Shuffle item, then a line before the sets.
    auto shuffle = [this](int size) {
        return CommandItem(SpriteShuffleTag(size), SizeTag(size),
                           [this, size] { OptionsPart->SpriteShuffleCommand(size); })
            .Caption(TagShuffle)
            .Check();
    };
    auto speed = [this](int each) {
        return CommandItem(SpeedTag(each), TagSpeedMenu,
                           [this, each] { OptionsPart->SpeedCommand(each); })
            .Radio();
    };
    auto fontSize = [this](int size) {
        return CommandItem(FontSizeTag(size), TagFontSizeMenu,
                           [this, size] { OptionsPart->FontSizeCommand(size); })
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
        CommandItem(TagHint, TagGameMenu, [this] { Searches.Hint(); })
            .Shows(In({Ready, Play}))
            .Hides(In({None, Done})),
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
        Line(TagEditMenu),
        CommandItem(TagSolveLevel, TagEditMenu, [this] { Searches.SolveLevel(); }),

        // The folder menus get their entries (sound sets, sprite sets, skins,
        // languages) from the folders at the first showing, after these rows.
        SubMenu(TagOptionsMenu),
        SubMenu(TagSoundMenu, TagOptionsMenu),
        CommandItem(TagSoundOff, TagSoundMenu, [this] { OptionsPart->SoundOffCommand(); }).Check(),
        CommandItem(TagSoundShuffle, TagSoundMenu, [this] { OptionsPart->SoundShuffleCommand(); })
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
        CommandItem(TagBold, TagFontSizeMenu, [this] { OptionsPart->BoldCommand(); }).Check(),
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
        CommandItem(TagHelp, TagHelpMenu,
                    [this] { ShowHelpTopic(RunFolders.HelpFolder, "Welcome"); }),
        CommandItem(TagWebPage, TagHelpMenu, own(&TMain::WebPageCommand)),
        CommandItem(TagAbout, TagHelpMenu, own(&TMain::AboutCommand)),
    };
}

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
    TAboutBox about(RunFolders, this);
    about.SetBoxFont(ToUnicode(Language().FontName), Settings().FontSize);
    about.Run();
}

} // namespace tb
