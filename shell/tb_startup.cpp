#include "shell/tb_startup.h"

#include "play/tb_wingame.h"
#include "services/d_language.h"
#include "shell/tb_util.h"

#include <QApplication>
#include <QFontDatabase>
#include <QScreen>
#include <QThread>

#include <cstdlib>

namespace tb {

TSettingsEnvironment WindowEnvironment() {
    TSettingsEnvironment environment;
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

TStartedProgram StartProgram(std::uint32_t startTick, bool holdSplash) {
    TStartedProgram program;
    TSettings& settings = Settings();

    TSettingsEnvironment environment = WindowEnvironment();
    environment.ShowAboutBox = [&program](const TSettings& read) {
        program.About = std::make_unique<TAboutBox>();
        program.About->SetBoxFont(ToUnicode(read.FontName), read.FontSize);
        program.About->show();
        QCoreApplication::processEvents();
    };
    ReadSettings(settings, environment);
    Language().SetSettingsFont(settings.FontName);

    TAboutBox* about = program.About.get();
    program.Main = std::make_unique<TMain>([about](const std::string& text) {
        if (about != nullptr) about->ShowStartupText(text);
    });
    TMain& main = *program.Main;
    main.CloseAboutBox = [about] {
        if (about != nullptr) about->close();
    };
    main.SetSkin(settings.Skin);
    main.LoadLanguage(settings.Language);

    // The splash is up for at least three seconds after the start.
    while (holdSplash && MilliTime() - startTick <= SplashMilliseconds) {
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
    // The player dialog comes with the name dialogs; until then the player is
    // the last one of the settings.
    main.Game().SetPlayer(DefaultPlayerName());
    main.Game().GetRecords().Modified = true;
    main.Game().SetState(TState::None, false);
    return program;
}

int RunProgram(std::uint32_t startTick) {
    TStartedProgram program = StartProgram(startTick, true);
    program.Main->show();
    return QApplication::exec();
}

} // namespace tb
