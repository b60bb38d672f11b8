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
    std::filesystem::path ProgramFolder;  // folder of the executable
    std::filesystem::path SettingsFolder; // settings and record files
    std::filesystem::path GamesFolder;    // ProgramFolder / "tbg"
    std::filesystem::path LanguagesFolder; // ProgramFolder / "tlg"
    std::filesystem::path ImagesFolder;   // ProgramFolder / "img"
};

// The folders of this run.
TFolders& Folders();

// Lays out the folders below `programFolder`; the settings go to the program
// folder when it is writable, else to $XDG_DATA_HOME/tobbin (~/.local/share/tobbin),
// which is created when missing.
void SetProgramFolder(const std::filesystem::path& programFolder);

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
inline bool LookupRenamed(std::string& name) { return RenamedGames().Lookup(name); }

} // namespace tb
