#pragma once
// Where the program finds and keeps its files, and the naming rules that the
// game file and the record files share.

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tb {

// The program's folders. Set once at start-up (tests point them at a temporary folder).
struct TFolders {
    std::filesystem::path ProgramFolder;   // folder of the executable
    std::filesystem::path SettingsFolder;  // settings and record files
    std::filesystem::path GamesFolder;     // ProgramFolder / "tbg"
    std::filesystem::path LanguagesFolder; // ProgramFolder / "tlg"
    std::filesystem::path ImagesFolder;    // ProgramFolder / "img"
    std::filesystem::path SkinsFolder;     // ImagesFolder / "skins", one subfolder per skin
    std::filesystem::path SoundsFolder;    // ProgramFolder / "wav", one subfolder per sound set
    std::filesystem::path HelpFolder;      // ProgramFolder / "help", one page per help topic
};

// The folders of this run.
TFolders& Folders();

// Lays out the folders below `programFolder`; the settings go to the program
// folder when it is writable, else to $XDG_DATA_HOME/tobbin (~/.local/share/tobbin),
// which is created when missing.
void SetProgramFolder(const std::filesystem::path& programFolder);

// The folder name of tile size 1..4: "Small", "Medium", "Large", "Huge";
// an empty text for any other size.
std::string_view SpriteSizeName(int size);

// ImagesFolder / size name: one subfolder per sprite set of that tile size.
// Throws std::out_of_range for a size outside 1..4.
std::filesystem::path SpriteSizeFolder(int size);
// The folder of one sprite set, one skin, one sound set.
std::filesystem::path SpriteSetFolder(int size, std::string_view setName);
std::filesystem::path SkinFolder(std::string_view skinName);
std::filesystem::path SoundSetFolder(std::string_view setName);

// The file name of a game: lower case, blanks become "_", characters outside
// a-z 0-9 _ ! # $ % & ' ( ) - . @ are dropped; "tobbin" becomes "#tobbin".
std::string GameFileName(std::string_view name, std::string_view extension);

// The list of renamed games ("tobbin-renamed.txt": lines "Old name > New name").
class TRenamedGames {
public:
    // Reads the list; a missing file gives an empty list.
    void Load(const std::filesystem::path& file);
    void Clear() { Pairs.clear(); }
    void Add(std::string oldName, std::string newName);
    // When `name` is an old name (letter case ignored), replaces it by the new
    // name and answers true.
    bool Lookup(std::string& name) const;

private:
    std::vector<std::pair<std::string, std::string>> Pairs;
};

// The renamed-games list of this run.
TRenamedGames& RenamedGames();

// `RenamedGames().Lookup(name)`.
inline bool LookupRenamed(std::string& name) {
    return RenamedGames().Lookup(name);
}

} // namespace tb
