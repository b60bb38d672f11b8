#include "records/tb_recfile.h"

#include "services/d_file.h"
#include "services/d_folders.h"
#include "services/d_string.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <system_error>

namespace tb {
namespace fs = std::filesystem;

std::vector<fs::path> ListFiles(const fs::path& folder, std::string_view extension) {
    std::vector<fs::path> files;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) return files;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        const fs::path& path = it->path();
        const std::string name = path.filename().string();
        if (name.empty() || name.front() == '.') continue;
        if (CompareNoCase(path.extension().string(), extension) != 0) continue;
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        files.push_back(path);
    }
    std::sort(files.begin(), files.end(),
              [](const fs::path& a, const fs::path& b) { return a.filename() < b.filename(); });
    return files;
}

std::vector<fs::path> ListGameFiles(const TFolders& f) {
    std::vector<fs::path> files = ListFiles(f.OwnGamesFolder, ".tbg");
    if (f.OwnGamesFolder == f.GamesFolder) return files;
    const std::size_t own = files.size();
    for (fs::path& shipped : ListFiles(f.GamesFolder, ".tbg")) {
        const bool hidden = std::any_of(
            files.begin(), files.begin() + std::ptrdiff_t(own),
            [&](const fs::path& mine) { return mine.filename() == shipped.filename(); });
        if (!hidden) files.push_back(std::move(shipped));
    }
    std::sort(files.begin(), files.end(),
              [](const fs::path& a, const fs::path& b) { return a.filename() < b.filename(); });
    return files;
}

std::vector<fs::path> ShippedSolutionFiles(const TFolders& f) {
    if (f.ProgramFolder == f.SettingsFolder) return {};
    return ListFiles(f.ProgramFolder, ".sox");
}

fs::path KeepBackup(const fs::path& file) {
    std::error_code ec;
    if (!fs::exists(file, ec)) return {};
    fs::path backup = FreeBackupName(file);
    WriteFileAtomic(backup, ReadWholeFile(file));
    return backup;
}

std::optional<std::string> ReadRecordFile(const fs::path& file, bool& damaged) {
    std::error_code ec;
    if (!fs::exists(file, ec)) return std::nullopt;
    std::string text;
    try {
        text = ReadWholeFile(file);
    } catch (const std::ios_base::failure&) {
        damaged = true;
        return std::nullopt;
    }
    if (!text.empty() && text.back() != '\n') damaged = true;
    return text;
}

} // namespace tb
