#pragma once
// Where the program finds and keeps its files, and the naming rules that the
// game file and the record files share.

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tb {

// The list of renamed games ("tobbin-renamed.txt": lines "Old name > New name").
class TRenamedGames {
public:
    // Reads the list; a missing or unreadable file gives an empty list.
    void Load(const std::filesystem::path& file);
    void Add(std::string oldName, std::string newName);
    // When `name` is an old name (letter case ignored), replaces it by the new
    // name and answers true.
    bool Lookup(std::string& name) const;

    bool operator==(const TRenamedGames&) const = default;

private:
    std::vector<std::pair<std::string, std::string>> Pairs;
};

// The program's folders. The window and the tool lay them out once at start-up
// and pass them to the records, the game set and the full game; the core
// never looks them up anywhere else.
//
// Two layouts: a build stages everything beside the executable (the data
// folder is the executable's folder); an installed copy keeps its read-only
// data in <prefix>/share/tobbin beside <prefix>/bin. Whenever the data folder
// is not the player's to change (an installed copy, or a folder he cannot
// write), everything he changes goes to his own folder, $XDG_DATA_HOME/tobbin:
// settings, records, the games he makes or installs (its "tbg") and archives.
struct TFolders {
    std::filesystem::path
        ProgramFolder; // the data folder: games, languages, pictures, sounds, help
    std::filesystem::path SettingsFolder;  // settings and record files
    std::filesystem::path GamesFolder;     // ProgramFolder / "tbg": the shipped games
    std::filesystem::path LanguagesFolder; // ProgramFolder / "tlg"
    std::filesystem::path ImagesFolder;    // ProgramFolder / "img"
    std::filesystem::path SkinsFolder;     // ImagesFolder / "skins", one subfolder per skin
    std::filesystem::path SoundsFolder;    // ProgramFolder / "wav", one subfolder per sound set
    std::filesystem::path HelpFolder;      // ProgramFolder / "help", one page per help topic
    // The games the player makes, edits or installs: GamesFolder when the data
    // folder is his, else SettingsFolder / "tbg". A game here hides a shipped
    // game of the same file name.
    std::filesystem::path OwnGamesFolder;
    // Where archive installs unpack: ProgramFolder when the data folder is
    // his, else SettingsFolder.
    std::filesystem::path InstallFolder;
    // True when the data folder is only read (the player folders above are in use).
    bool ReadOnlyData = false;
    // The data folder's list of renamed games: files, records and logs that
    // still use an old name are read under the new one.
    TRenamedGames Renamed;

    bool operator==(const TFolders&) const = default;
};

// What the folder rules read from the process's environment.
struct TFolderEnvironment {
    std::string XdgDataHome; // $XDG_DATA_HOME, may be empty
    std::string Home;        // $HOME, may be empty
    std::filesystem::path Temp;

    static TFolderEnvironment Current();
};

// Where the data of a program whose executable lies in `executableFolder` is.
struct TDataPlace {
    std::filesystem::path Folder;
    bool Installed = false; // <prefix>/bin and <prefix>/share/tobbin
};

// A staged build (the executable's folder holds "tbg") is used as it is;
// else "../share/tobbin" when that holds "tbg"; else the executable's folder.
TDataPlace FindDataFolder(const std::filesystem::path& executableFolder);

// The folder rules, without touching the disk: the folders of a program whose
// data lies in `dataFolder`. The player's folder is used when the copy is
// installed or the data folder is not writable: $XDG_DATA_HOME/tobbin, else
// $HOME/.local/share/tobbin, else the temporary folder's "tobbin".
TFolders LayOutFolders(const std::filesystem::path& dataFolder, bool installed, bool dataWritable,
                       const TFolderEnvironment& environment);

// The folders below `programFolder` (a staged build's layout); the settings
// go to the program folder when it is writable, else to $XDG_DATA_HOME/tobbin
// (~/.local/share/tobbin), which is created when missing. Both this and
// ExecutableFolders read the data folder's "tobbin-renamed.txt" into Renamed.
TFolders ProgramFolders(const std::filesystem::path& programFolder);

// Finds the data of the executable in `executableFolder` (FindDataFolder)
// and lays out the folders for it, creating the player's folder when in use
// (unless `create` is false: a read-only check writes nothing).
TFolders ExecutableFolders(const std::filesystem::path& executableFolder, bool create = true);

// Where a kind of content lies: `folder` is one of the data folder's own
// (SoundsFolder, SkinsFolder, LanguagesFolder, a sprite size folder). When the
// data folder is not the player's, the same folder below InstallFolder (where
// his archive installs put sound sets, sprite sets, skins and languages)
// comes first; then `folder` itself.
std::vector<std::filesystem::path> ContentFolders(const TFolders& folders,
                                                  const std::filesystem::path& folder);
// `name` in the first of ContentFolders(folder) that holds it; else folder / name.
std::filesystem::path FindContent(const TFolders& folders, const std::filesystem::path& folder,
                                  std::string_view name);

// Where the player's own `name` of `folder` (as for ContentFolders) goes: the
// first of ContentFolders(folder), so below InstallFolder when the data
// folder is not his. Archive installs write there.
std::filesystem::path OwnContent(const TFolders& folders, const std::filesystem::path& folder,
                                 std::string_view name);

// The file of the game with the file name `fileName` ("x.tbg"): the player's
// own when he has one, else the shipped one when there is one, else where his
// own would go.
std::filesystem::path GameFilePath(const TFolders& folders, const std::string& fileName);
// True when the game file `fileName` is only a shipped one that the player
// cannot change (deleting it is refused; saving it writes his own copy).
bool IsShippedOnlyGame(const TFolders& folders, const std::string& fileName);

std::string_view SpriteSizeName(int size);

// ImagesFolder / size name: one subfolder per sprite set of that tile size.
// Throws std::out_of_range for a size outside 1..4.
std::filesystem::path SpriteSizeFolder(const TFolders& folders, int size);

// The folder of one sprite set, one skin, one sound set (FindContent: the
// player's installed one first).
std::filesystem::path SpriteSetFolder(const TFolders& folders, int size, std::string_view setName);
std::filesystem::path SkinFolder(const TFolders& folders, std::string_view skinName);
std::filesystem::path SoundSetFolder(const TFolders& folders, std::string_view setName);

// The file name of a game: lower case, blanks become "_", characters outside
// a-z 0-9 _ ! # $ % & ' ( ) - . @ are dropped; "tobbin" becomes "#tobbin".
std::string GameFileName(std::string_view name, std::string_view extension);

} // namespace tb
