#include "shell/tb_startup.h"

#include "play/tb_pump.h"
#include "play/tb_util.h"
#include "play/tb_wingame.h"
#include "services/d_language.h"

#include <QApplication>
#include <QFontDatabase>
#include <QScreen>
#include <QThread>

#include <cstdlib>

namespace tb {

TSettingsEnvironment WindowEnvironment(const TFolders& folders) {
    TSettingsEnvironment environment;
    environment.Folders = folders;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        environment.ScreenWidth = screen->geometry().width();
        environment.ScreenHeight = screen->geometry().height();
        environment.ColourDepth = screen->depth();
    }
    for (const QString& family : QFontDatabase::families())
        environment.InstalledFonts.push_back(family.toStdString());
    return environment;
}

std::string DefaultPlayerName() {
    if (!Settings().Player.empty()) return Settings().Player;
    for (const char* variable : {"USER", "LOGNAME", "USERNAME"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            // The system's name in the language's code page; a name it cannot
            // hold gives way to the plain default.
            try {
                const std::string name = FromUnicode(QString::fromLocal8Bit(value));
                if (!name.empty()) return name;
            } catch (const std::exception&) {
            }
        }
    }
    return "Player";
}

TStartedProgram StartProgram(const TFolders& folders, std::uint32_t startTick, bool holdSplash,
                             bool askPlayer) {
    TStartedProgram program;
    TSettings& settings = Settings();

    TSettingsEnvironment environment = WindowEnvironment(folders);
    environment.ShowAboutBox = [&program, &folders](const TSettings& read) {
        program.About = std::make_unique<TAboutBox>(folders);
        program.About->SetBoxFont(ToUnicode(read.FontName), read.FontSize);
        program.About->ShowSplash();
    };
    ReadSettings(settings, environment);
    Language().SetSettingsFont(settings.FontName);

    TAboutBox* about = program.About.get();
    // The window gets the folders the run was laid out with.
    program.Main = std::make_unique<TMain>(environment.Folders, [about](const std::string& text) {
        if (about != nullptr) about->ShowStartupText(text);
    });
    TMain& main = *program.Main;
    main.CloseAboutBox = [about] {
        if (about != nullptr) about->close();
    };
    main.Options().SetSkin(settings.Skin);
    main.Options().LoadLanguage(settings.Language);

    // The splash is up for at least three seconds after the start.
    while (holdSplash && MilliTime() - startTick <= SplashMilliseconds) {
        TEventPump::Process();
        QThread::msleep(10);
    }
    TWinGame& game = main.Game();
    if (askPlayer) {
        // The splash gives way to the player dialog.
        if (about != nullptr) about->hide();
        game.SetPlayer(DefaultPlayerName());
        program.PlayerChosen = game.NewPlayer();
        if (!program.PlayerChosen) return program;
    } else {
        game.SetPlayer(DefaultPlayerName());
        game.GetRecords().Modified = true;
    }
    game.SetState(TState::None, false);
    return program;
}

int RunProgram(const TFolders& folders, std::uint32_t startTick) {
    TStartedProgram program = StartProgram(folders, startTick, true, true);
    // Cancelling the player dialog ends the program before its window shows.
    if (!program.PlayerChosen) return 0;
    program.Main->show();
    return QApplication::exec();
}

} // namespace tb
