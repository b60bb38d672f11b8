#include "services/d_folders.h"

#include "services/d_file.h"
#include "services/d_string.h"

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <unistd.h>

namespace tb {
namespace fs = std::filesystem;

namespace {

bool IsWritableFolder(const fs::path& folder) {
    return ::access(folder.c_str(), W_OK) == 0;
}

bool IsFolder(const fs::path& folder) {
    std::error_code ec;
    return fs::is_directory(folder, ec);
}

fs::path PlayerFolder(const TFolderEnvironment& environment) {
    if (!environment.XdgDataHome.empty()) return fs::path(environment.XdgDataHome) / "tobbin";
    if (!environment.Home.empty())
        return fs::path(environment.Home) / ".local" / "share" / "tobbin";
    return environment.Temp / "tobbin";
}

// The data folder's own list of renamed games.
void ReadRenamedGames(TFolders& f) {
    f.Renamed.Load(f.ProgramFolder / "tobbin-renamed.txt");
}

void CreatePlayerFolders(const TFolders& f) {
    if (!f.ReadOnlyData) return;
    std::error_code ignored;
    fs::create_directories(f.SettingsFolder, ignored);
}

} // namespace

TFolderEnvironment TFolderEnvironment::Current() {
    TFolderEnvironment environment;
    if (const char* xdg = std::getenv("XDG_DATA_HOME")) environment.XdgDataHome = xdg;
    if (const char* home = std::getenv("HOME")) environment.Home = home;
    std::error_code ec;
    environment.Temp = fs::temp_directory_path(ec);
    if (ec) environment.Temp = "/tmp";
    return environment;
}

TDataPlace FindDataFolder(const fs::path& executableFolder) {
    if (IsFolder(executableFolder / "tbg")) return {executableFolder, false};
    const fs::path shared = (executableFolder / ".." / "share" / "tobbin").lexically_normal();
    if (IsFolder(shared / "tbg")) return {shared, true};
    return {executableFolder, false};
}

TFolders LayOutFolders(const fs::path& dataFolder, bool installed, bool dataWritable,
                       const TFolderEnvironment& environment) {
    TFolders f;
    f.ProgramFolder = dataFolder;
    f.GamesFolder = dataFolder / "tbg";
    f.LanguagesFolder = dataFolder / "tlg";
    f.ImagesFolder = dataFolder / "img";
    f.SkinsFolder = f.ImagesFolder / "skins";
    f.SoundsFolder = dataFolder / "wav";
    f.HelpFolder = dataFolder / "help";
    // An installed copy never writes below its data folder, even for a user
    // (root) who could.
    f.ReadOnlyData = installed || !dataWritable;
    f.SettingsFolder = f.ReadOnlyData ? PlayerFolder(environment) : dataFolder;
    f.OwnGamesFolder = f.ReadOnlyData ? f.SettingsFolder / "tbg" : f.GamesFolder;
    f.InstallFolder = f.SettingsFolder;
    return f;
}

TFolders ProgramFolders(const fs::path& programFolder) {
    TFolders f = LayOutFolders(programFolder, false, IsWritableFolder(programFolder),
                               TFolderEnvironment::Current());
    CreatePlayerFolders(f);
    ReadRenamedGames(f);
    return f;
}

TFolders ExecutableFolders(const fs::path& executableFolder, bool create) {
    const TDataPlace place = FindDataFolder(executableFolder);
    TFolders f = LayOutFolders(place.Folder, place.Installed, IsWritableFolder(place.Folder),
                               TFolderEnvironment::Current());
    if (create) CreatePlayerFolders(f);
    ReadRenamedGames(f);
    return f;
}

fs::path GameFilePath(const TFolders& f, const std::string& fileName) {
    const fs::path own = f.OwnGamesFolder / fileName;
    if (f.OwnGamesFolder == f.GamesFolder) return own;
    std::error_code ec;
    if (fs::exists(own, ec)) return own;
    const fs::path shipped = f.GamesFolder / fileName;
    if (fs::exists(shipped, ec)) return shipped;
    return own;
}

bool IsShippedOnlyGame(const TFolders& f, const std::string& fileName) {
    if (f.OwnGamesFolder == f.GamesFolder) return false;
    std::error_code ec;
    return !fs::exists(f.OwnGamesFolder / fileName, ec) && fs::exists(f.GamesFolder / fileName, ec);
}

std::string_view SpriteSizeName(int size) {
    switch (size) {
    case 1:
        return "Small";
    case 2:
        return "Medium";
    case 3:
        return "Large";
    case 4:
        return "Huge";
    default:
        return {};
    }
}

fs::path SpriteSizeFolder(const TFolders& f, int size) {
    const std::string_view name = SpriteSizeName(size);
    if (name.empty()) throw std::out_of_range("tile size " + std::to_string(size) + " is not 1..4");
    return f.ImagesFolder / name;
}

fs::path SpriteSetFolder(const TFolders& folders, int size, std::string_view setName) {
    return FindContent(folders, SpriteSizeFolder(folders, size), setName);
}

fs::path SkinFolder(const TFolders& folders, std::string_view skinName) {
    return FindContent(folders, folders.SkinsFolder, skinName);
}

fs::path SoundSetFolder(const TFolders& folders, std::string_view setName) {
    return FindContent(folders, folders.SoundsFolder, setName);
}

std::vector<fs::path> ContentFolders(const TFolders& f, const fs::path& folder) {
    std::vector<fs::path> folders;
    if (f.ReadOnlyData && f.InstallFolder != f.ProgramFolder) {
        const fs::path relative = folder.lexically_relative(f.ProgramFolder);
        if (!relative.empty() && *relative.begin() != "..")
            folders.push_back(f.InstallFolder / relative);
    }
    folders.push_back(folder);
    return folders;
}

fs::path OwnContent(const TFolders& f, const fs::path& folder, std::string_view name) {
    return ContentFolders(f, folder).front() / name;
}

fs::path FindContent(const TFolders& f, const fs::path& folder, std::string_view name) {
    for (const fs::path& place : ContentFolders(f, folder)) {
        std::error_code ec;
        if (!name.empty() && fs::exists(place / name, ec)) return place / name;
    }
    return folder / name;
}

std::string GameFileName(std::string_view name, std::string_view extension) {
    static constexpr std::string_view kept = "_!#$%&'()-.@";
    std::string result;
    for (char c : name) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
        if (c == ' ') c = '_';
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            kept.find(c) != std::string_view::npos)
            result += c;
    }
    if (result == "tobbin") result = "#tobbin";
    result += extension;
    return result;
}

void TRenamedGames::Load(const fs::path& file) {
    Pairs.clear();
    std::error_code ec;
    if (!fs::exists(file, ec)) return;
    TTextReader reader;
    try {
        reader = TTextReader::FromFile(file);
    } catch (const std::exception&) {
        return; // an unreadable list is an empty list
    }
    std::string line;
    while (reader.ReadLine(line)) {
        std::size_t start = line.find_first_not_of('>');
        if (start == std::string::npos) continue;
        const std::size_t cut = line.find('>', start);
        if (cut == std::string::npos) continue;
        std::string oldName = Trim(std::string_view(line).substr(start, cut - start));
        std::string newName = Trim(std::string_view(line).substr(cut + 1));
        if (newName.empty()) continue;
        Add(std::move(oldName), std::move(newName));
    }
}

void TRenamedGames::Add(std::string oldName, std::string newName) {
    Pairs.emplace_back(std::move(oldName), std::move(newName));
}

bool TRenamedGames::Lookup(std::string& name) const {
    for (const auto& [oldName, newName] : Pairs) {
        if (CompareNoCase(oldName, name) == 0) {
            name = newName;
            return true;
        }
    }
    return false;
}

} // namespace tb
