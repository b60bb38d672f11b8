#pragma once
// Opens what a level author hands the tool: a game file (".tbg") or a file
// holding one level in its 20-line text form, as a game ready to play.

#include "games/tb_game.h"

#include <filesystem>
#include <string>

namespace tb::cli {

// True when the path names a game file (extension ".tbg", any letter case).
bool IsGameFile(const std::filesystem::path& path);

// The game object the window uses, opened on a file instead of a game name.
class TCliGame : public TGame {
public:
    // Works on files named by their path: it has no folders of its own.
    TCliGame() : TGame(TFolders{}, false) {}

    // Loads the game file at path (checksum verified as the game verifies it)
    // or, for any other extension, the single level in that file as a game of
    // one level. Errors: the file layer's failure, the game file's Error, and
    // Error("no level in <file>") for a level file whose name line is "END".
    void LoadFile(const std::filesystem::path& path, bool verify = true);

    // Lays out level `level` ready to play, exactly as the game does.
    // Error("the game has no level N") when the game does not hold it.
    void StartLevel(int level);
};

} // namespace tb::cli
