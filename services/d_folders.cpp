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

TFolders& Folders() {
    static TFolders folders;
    return folders;
}

namespace {

bool IsWritableFolder(const fs::path& folder) {
    return ::access(folder.c_str(), W_OK) == 0;
}

fs::path UserDataFolder() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        return fs::path(xdg) / "tobbin";
    if (const char* home = std::getenv("HOME"); home && *home)
        return fs::path(home) / ".local" / "share" / "tobbin";
    return fs::temp_directory_path() / "tobbin";
}

} // namespace

void SetProgramFolder(const fs::path& programFolder) {
    TFolders& f = Folders();
    f.ProgramFolder = programFolder;
    f.GamesFolder = programFolder / "tbg";
    f.LanguagesFolder = programFolder / "tlg";
    f.ImagesFolder = programFolder / "img";
    f.SkinsFolder = f.ImagesFolder / "skins";
    f.SoundsFolder = programFolder / "wav";
    f.HelpFolder = programFolder / "help";
    f.SettingsFolder = programFolder;
    if (!IsWritableFolder(programFolder)) {
        f.SettingsFolder = UserDataFolder();
        std::error_code ignored;
        fs::create_directories(f.SettingsFolder, ignored);
    }
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

fs::path SpriteSizeFolder(int size) {
    const std::string_view name = SpriteSizeName(size);
    if (name.empty()) throw std::out_of_range("tile size " + std::to_string(size) + " is not 1..4");
    return Folders().ImagesFolder / name;
}

fs::path SpriteSetFolder(int size, std::string_view setName) {
    return SpriteSizeFolder(size) / setName;
}

fs::path SkinFolder(std::string_view skinName) {
    return Folders().SkinsFolder / skinName;
}

fs::path SoundSetFolder(std::string_view setName) {
    return Folders().SoundsFolder / setName;
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

TRenamedGames& RenamedGames() {
    static TRenamedGames list;
    return list;
}

} // namespace tb
