#include "install/w_place.h"

#include "install/w_unpack.h"
#include "services/d_folders.h"

#include <algorithm>
#include <array>
#include <string>
#include <system_error>
#include <vector>

namespace tb {
namespace fs = std::filesystem;

namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool HasExtension(const std::string& name, std::initializer_list<std::string_view> extensions) {
    const std::string lower = Lower(name);
    for (const std::string_view ext : extensions)
        if (lower.size() > ext.size() && lower.ends_with(ext)) return true;
    return false;
}

// The tile size 1..4 that a folder name stands for; 0 for any other name.
int SizeOfName(const std::string& name) {
    for (int size = 1; size <= 4; ++size)
        if (Lower(name) == Lower(SpriteSizeName(size))) return size;
    return 0;
}

// The import file `stem`.sox in the settings folder, or `stem`-2.sox and so on
// when that name is taken: an import file still waiting to be merged is kept.
fs::path FreeImportFile(const fs::path& folder, const std::string& stem) {
    std::error_code ec;
    fs::path file = folder / (stem + ".sox");
    for (int n = 2; fs::exists(fs::symlink_status(file, ec)) && n < 1000; ++n)
        file = folder / (stem + "-" + std::to_string(n) + ".sox");
    return file;
}

constexpr std::array<std::string_view, 5> Patterns = {
    GamesArchives, SpritesArchives, SoundsArchives, SolutionsArchive, LanguagesArchives};

} // namespace

std::string_view ArchivePattern(TArchiveKind kind) {
    return Patterns[static_cast<std::size_t>(kind)];
}

std::optional<TArchiveKind> ArchiveKindOf(std::string_view pattern) {
    const auto it = std::find(Patterns.begin(), Patterns.end(), pattern);
    if (it == Patterns.end()) return std::nullopt;
    return static_cast<TArchiveKind>(it - Patterns.begin());
}

TMemberPlace PlaceMember(const TFolders& folders, TArchiveKind kind, const fs::path& relative,
                         bool isFolder) {
    if (isFolder) return {};
    std::vector<std::string> parts;
    for (const fs::path& part : relative)
        parts.push_back(part.string());
    for (const std::string& part : parts)
        if (part.empty() || part[0] == '.') return {UnzipRefused, {}};
    const std::size_t n = parts.size();
    const std::string& name = parts[n - 1];
    const std::initializer_list<std::string_view> pictures = {".bmp", ".jpg", ".jpeg", ".png"};
    switch (kind) {
    case TArchiveKind::Games:
        if (HasExtension(name, {".tbg"})) return {UnzipOk, folders.OwnGamesFolder / name};
        break;
    case TArchiveKind::Languages:
        if (HasExtension(name, {".tlg"}))
            return {UnzipOk, OwnContent(folders, folders.LanguagesFolder, name)};
        break;
    case TArchiveKind::Sprites:
        if (n >= 3 && HasExtension(name, pictures)) {
            const std::string& set = parts[n - 2];
            if (Lower(parts[n - 3]) == "skins")
                return {UnzipOk, OwnContent(folders, folders.SkinsFolder, set) / name};
            if (const int size = SizeOfName(parts[n - 3]); size != 0)
                return {UnzipOk, OwnContent(folders, SpriteSizeFolder(folders, size), set) / name};
        }
        break;
    case TArchiveKind::Sounds:
        if (n >= 2 && HasExtension(name, {".wav"}))
            return {UnzipOk, OwnContent(folders, folders.SoundsFolder, parts[n - 2]) / name};
        break;
    case TArchiveKind::Solutions:
        if (HasExtension(name, {".sox", ".sol"}))
            return {UnzipOk,
                    FreeImportFile(folders.SettingsFolder, name.substr(0, name.size() - 4))};
        break;
    }
    return {UnzipRefused, {}};
}

TMemberPlacer PlacerFor(const TFolders& folders, TArchiveKind kind) {
    return [folders, kind](const fs::path& relative, bool isFolder) {
        return PlaceMember(folders, kind, relative, isFolder);
    };
}

} // namespace tb
