// level_sheets: one PNG per game file, all its levels side by side with their
// names, drawn off screen with the game's own tiles.
//   level_sheets OUT-FOLDER GAME.tbg...   writes OUT-FOLDER/<game file name>.png

#include "services/d_file.h"
#include "tools/assets/sheets/tb_levelsheet.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: level_sheets OUT-FOLDER GAME.tbg...\n");
        return 2;
    }
    const fs::path out = argv[1];
    int failed = 0;
    for (int i = 2; i < argc; ++i) {
        const fs::path file = argv[i];
        try {
            tb::TMapSet game;
            game.LoadText(tb::ReadWholeFile(file), true);
            fs::create_directories(out);
            const fs::path target = out / file.filename().replace_extension(".png");
            const fs::path temp = fs::path(target).concat(".tmp");
            if (!tb::DrawLevelSheet(game).save(QString::fromStdString(temp.string()), "PNG"))
                throw std::runtime_error("cannot write " + temp.string());
            fs::rename(temp, target);
            std::printf("%s: %d levels\n", target.string().c_str(), int{game.GetLevelCount()});
        } catch (const std::exception& e) {
            std::fprintf(stderr, "error: %s: %s\n", file.string().c_str(), e.what());
            ++failed;
        }
    }
    return failed ? 1 : 0;
}
