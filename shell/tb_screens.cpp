#include "shell/tb_screens.h"

#include "play/tb_pump.h"
#include "play/tb_wingame.h"
#include "services/d_folders.h"
#include "services/d_messages.h"
#include "shell/tb_errbox.h"
#include "shell/tb_startup.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>

namespace tb {
namespace fs = std::filesystem;

namespace {

// Calls `action` with the modal box once it is on the screen.
void WhenModalShown(std::function<void(QWidget&)> action) {
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [poll, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal->isVisible())
            action(*modal);
        else
            QTimer::singleShot(10, *poll);
    };
    QTimer::singleShot(10, *poll);
}

// The parts of the program folder the program reads.
void CopyProgramFolder(const fs::path& from, const fs::path& to) {
    for (const char* folder : {"tbg", "tlg", "img", "wav", "help"}) {
        std::error_code ec;
        if (fs::exists(from / folder, ec))
            fs::copy(from / folder, to / folder, fs::copy_options::recursive, ec);
    }
    std::error_code ec;
    for (fs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec))
        if (it->path().extension() == ".sox")
            fs::copy_file(it->path(), to / it->path().filename(), ec);
}

} // namespace

int TakeScreenshots(const TFolders& folders, const QString& folder) {
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "tobbin: cannot create the folder %s\n", qPrintable(folder));
        return 1;
    }
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        std::fprintf(stderr, "tobbin: cannot create a temporary folder\n");
        return 1;
    }
    const fs::path copy = scratch.path().toStdString();
    CopyProgramFolder(folders.ProgramFolder, copy);

    int failures = 0;
    const auto save = [&](const QPixmap& picture, const QString& name) {
        const QString path = QDir(folder).filePath(name);
        if (!picture.save(path, "PNG")) {
            std::fprintf(stderr, "tobbin: cannot write %s\n", qPrintable(path));
            ++failures;
        }
    };

    TStartedProgram program = StartProgram(ProgramFolders(copy), MilliTime(), false, false);
    TMain& main = *program.Main;
    main.show();
    TEventPump::Process();
    save(main.grab(), "main-title.png");

    TWinGame& game = main.Game();
    if (game.GameCount() > 0) {
        game.OpenGameAt(game.GameAt(1).Name, 1);
        for (int size = 1; size <= 4; ++size) {
            QMenu* menu = main.Menus().Menu(SizeTag(size));
            for (QAction* item : menu->actions())
                if (item->data().isValid()) {
                    main.Options().LoadSpriteSet(item);
                    game.DrawAll();
                    break;
                }
            TEventPump::Process();
            save(main.grab(), QStringLiteral("main-size-%1.png").arg(size));
        }
    }

    // Each box is photographed once it is up, over the window, then closed.
    const QPixmap window = main.grab();
    const auto shoot = [&](const QString& name) {
        WhenModalShown([&, name](QWidget& box) {
            QPixmap together = window;
            QPainter painter(&together);
            const QRect area(box.geometry().topLeft() - main.geometry().topLeft(), box.size());
            for (int i = 4; i >= 1; --i)
                painter.fillRect(area.translated(i, i), QColor(0, 0, 0, 28));
            painter.drawPixmap(area.topLeft(), box.grab());
            painter.end();
            save(together, name);
            box.close();
        });
    };
    shoot("alertbox.png");
    main.Ask(MoreMessage(MsgReallyExit), {}, AlertYesNo);
    shoot("errbox.png");
    TErrBox_Show_Text(ErrorMessage(ErrCorruptedGameData));
    shoot("playerbox.png");
    main.ChoosePlayer({"Ann #0", "Bob #0", "Tester #0"}, "Tester #0");
    shoot("gamebox.png");
    bool editable = false;
    main.ChooseGame(editable);
    std::string name = "Herb Border", author = "Tester", levelName = "First Bed";
    std::uint8_t skill = 2;
    bool changed = false;
    shoot("namebox.png");
    main.AskGameName(name, skill, author, changed);
    shoot("levbox.png");
    main.AskLevelName(levelName, changed);
    shoot("champbox.png");
    main.HallCommand();
    shoot("authbox.png");
    main.AuthorsCommand();
    shoot("congratbox.png");
    main.ShowCongratulations();

    // The editor on the first level, with its palette and Edit menu.
    if (game.GameCount() > 0) {
        main.Item(18)->trigger();
        TEventPump::Process();
        save(main.grab(), "editor.png");
    }
    return failures == 0 ? 0 : 1;
}

} // namespace tb
