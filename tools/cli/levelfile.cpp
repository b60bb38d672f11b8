#include "tools/cli/levelfile.h"

#include "services/d_error.h"
#include "services/d_file.h"
#include "services/d_string.h"

namespace tb::cli {

bool IsGameFile(const std::filesystem::path& path) {
    return UpperCase(path.extension().string()) == ".TBG";
}

void TCliGame::LoadFile(const std::filesystem::path& path, bool verify) {
    std::string text = ReadWholeFile(path);
    // As LoadGame does, with the file's text in place of the file of a game name.
    Clear();
    if (IsGameFile(path)) {
        Game->LoadText(std::move(text), verify);
    } else {
        TTextReader reader(std::move(text));
        TMap level;
        if (!level.ReadText(reader)) throw Error("no level in " + path.string());
        Game->Init(path.stem().string(), "", 0);
        Game->AddLevelCopy(level);
    }
    LevelCountChanged();
}

void TCliGame::StartLevel(int level) {
    if (level < 1 || level > LevelCount())
        throw Error("the game has no level " + std::to_string(level));
    SetLevel(static_cast<std::uint8_t>(level));
}

} // namespace tb::cli
