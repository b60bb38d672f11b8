#include "install/w_unpack.h"

#include "install/w_place.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <pwd.h>
#include <set>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace tb {
namespace fs = std::filesystem;

namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// A path as the skip list compares it: normalised, without a trailing separator.
std::string FolderKey(const fs::path& folder) {
    std::string key = folder.lexically_normal().string();
    while (key.size() > 1 && key.back() == '/')
        key.pop_back();
    return key;
}

// File systems that hold no files of the player's: kernel views, and network
// shares (which are no local drive).
bool IsPseudoFileSystem(const fs::path& folder) {
    struct statfs info {};
    if (::statfs(folder.c_str(), &info) != 0) return true;
    static constexpr unsigned long Pseudo[] = {
        0x9fa0,     // proc
        0x62656572, // sysfs
        0x1cd1,     // devpts
        0x27e0eb,   // cgroup
        0x63677270, // cgroup2
        0x64626720, // debugfs
        0x74726163, // tracefs
        0x73636673, // securityfs
        0x6165676c, // pstore
        0xcafe4a11, // bpf
        0x62656570, // configfs
        0x65735543, // fusectl
        0x19800202, // mqueue
        0x958458f6, // hugetlbfs
        0x0187,     // autofs
        0x42494e4d, // binfmt_misc
        0xde5e81e4, // efivarfs
        0xf97cff8c, // selinuxfs
        0x6e736673, // nsfs
        0x6969,     // nfs
        0x517b,     // smb
        0xff534d42, // cifs
        0xfe534d42, // smb2
    };
    const auto type = static_cast<unsigned long>(info.f_type) & 0xffffffffUL;
    return std::find(std::begin(Pseudo), std::end(Pseudo), type) != std::end(Pseudo);
}

// Undoes the octal escapes (\040 for a blank) of a mount table field.
std::string Unescape(std::string_view field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' &&
            field[i + 1] <= '3' && field[i + 2] >= '0' && field[i + 2] <= '7' &&
            field[i + 3] >= '0' && field[i + 3] <= '7') {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                     (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

bool IsDiskFileSystem(std::string_view type) {
    static constexpr std::string_view Disk[] = {
        "ext2", "ext3",    "ext4",  "xfs",      "btrfs",  "jfs",   "reiserfs",
        "f2fs", "vfat",    "msdos", "exfat",    "ntfs",   "ntfs3", "fuseblk",
        "hfs",  "hfsplus", "zfs",   "bcachefs", "nilfs2",
    };
    return std::find(std::begin(Disk), std::end(Disk), type) != std::end(Disk);
}

class TWalker {
public:
    TWalker(std::string_view pattern, bool findAll, const TFolderCallback& onFolder,
            const TFileCallback& onFile, const TSearchPlaces& places)
        : Pattern(pattern), FindAll(findAll), OnFolder(onFolder), OnFile(onFile) {
        for (const fs::path& skipped : places.Skipped)
            Skipped.insert(FolderKey(skipped));
    }

    void Walk(const fs::path& root) {
        struct stat st {};
        if (::stat(root.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return;
        std::vector<TFrame> stack(1);
        stack[0].Device = st.st_dev;
        if (!Enter(root, st, true, stack[0].Folders)) return;
        while (!stack.empty() && !Ended) {
            TFrame& top = stack.back();
            if (top.Next == top.Folders.size()) {
                stack.pop_back();
                continue;
            }
            const fs::path folder = top.Folders[top.Next++];
            const dev_t parentDevice = top.Device;
            if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) continue;
            TFrame frame;
            frame.Device = st.st_dev;
            if (Enter(folder, st, st.st_dev != parentDevice, frame.Folders))
                stack.push_back(std::move(frame));
        }
    }

    bool Ended = false;
    TSearchResult Result;

private:
    struct TFrame {
        std::vector<fs::path> Folders;
        std::size_t Next = 0;
        dev_t Device = 0;
    };

    // Enters a folder: counts it, offers its matching files and lists its
    // subfolders. False when the folder is not entered or the walk ends in it.
    bool Enter(const fs::path& folder, const struct stat& st, bool newDevice,
               std::vector<fs::path>& subfolders) {
        if (Skipped.count(FolderKey(folder)) != 0) return false;
        if (!Visited.insert({st.st_dev, st.st_ino}).second) return false;
        if (newDevice && IsPseudoFileSystem(folder)) return false;
        ++Result.FolderCount;
        if (OnFolder && !OnFolder(Result.FolderCount, folder)) return Stop();

        std::vector<std::string> files, folders;
        std::error_code ec;
        fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
        for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
            std::error_code typeError;
            const fs::file_type type = it->symlink_status(typeError).type();
            if (typeError) continue;
            std::string name = it->path().filename().string();
            if (type == fs::file_type::regular && MatchesPattern(name, Pattern))
                files.push_back(std::move(name));
            else if (type == fs::file_type::directory && !name.empty() && name[0] != '.')
                folders.push_back(std::move(name));
        }
        std::sort(files.begin(), files.end());
        std::sort(folders.begin(), folders.end());
        for (const std::string& name : files) {
            const TFileAnswer answer = OnFile ? OnFile(folder / name) : TFileAnswer::Skipped;
            if (answer == TFileAnswer::Stop) return Stop();
            if (answer == TFileAnswer::Taken) {
                Result.Found = true;
                if (!FindAll) {
                    Ended = true;
                    return false;
                }
            }
        }
        for (const std::string& name : folders)
            subfolders.push_back(folder / name);
        return true;
    }

    bool Stop() {
        Result.Stopped = true;
        Ended = true;
        return false;
    }

    std::string Pattern;
    bool FindAll;
    const TFolderCallback& OnFolder;
    const TFileCallback& OnFile;
    std::set<std::string> Skipped;
    std::set<std::pair<dev_t, ino_t>> Visited;
};

} // namespace

bool MatchesPattern(std::string_view name, std::string_view pattern) {
    std::size_t n = 0, p = 0;
    std::size_t star = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            starName = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || Lower(pattern[p]) == Lower(name[n]))) {
            ++p;
            ++n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::vector<fs::path> DefaultSkippedFolders() {
    return {"/proc", "/sys", "/dev", "/run", "/var/www", "/srv/www"};
}

TSearchPlaces SearchPlacesFrom(std::string_view mountTable, const fs::path& home) {
    TSearchPlaces places;
    places.Skipped = DefaultSkippedFolders();
    std::set<std::string> seen;
    auto add = [&](const fs::path& root) {
        if (!root.empty() && seen.insert(FolderKey(root)).second) places.Roots.push_back(root);
    };
    add(home);
    std::size_t start = 0;
    while (start < mountTable.size()) {
        std::size_t end = mountTable.find('\n', start);
        if (end == std::string_view::npos) end = mountTable.size();
        const std::string_view line = mountTable.substr(start, end - start);
        start = end + 1;
        // source target type options ...
        std::vector<std::string_view> fields;
        std::size_t f = 0;
        while (f < line.size() && fields.size() < 3) {
            const std::size_t blank = line.find_first_of(" \t", f);
            const std::size_t stop = blank == std::string_view::npos ? line.size() : blank;
            if (stop > f) fields.push_back(line.substr(f, stop - f));
            f = stop + 1;
        }
        if (fields.size() == 3 && IsDiskFileSystem(fields[2]) && fields[1].starts_with("/"))
            add(Unescape(fields[1]));
    }
    return places;
}

TSearchPlaces LocalSearchPlaces() {
    std::string table;
    std::ifstream in("/proc/mounts");
    if (in) table.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    fs::path home;
    if (const char* env = std::getenv("HOME"); env != nullptr && env[0] != '\0') {
        home = env;
    } else if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr) {
        home = pw->pw_dir;
    }
    return SearchPlacesFrom(table, home);
}

TSearchResult SearchDrives(std::string_view pattern, bool findAll, const TFolderCallback& onFolder,
                           const TFileCallback& onFile, const TSearchPlaces& places) {
    TWalker walker(pattern, findAll, onFolder, onFile, places);
    for (const fs::path& root : places.Roots) {
        walker.Walk(root);
        if (walker.Ended) break;
    }
    return walker.Result;
}

std::string ArchiveQuestionName(const fs::path& archive) {
    const std::string text = archive.string();
    if (text.size() <= 64) return text;
    std::size_t start = text.size() - 60;
    while (start < text.size() && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80)
        ++start; // never cut a character in two
    return "..." + text.substr(start);
}

namespace {

// A text cut to its last `keep` characters preceded by "...", when it is
// longer than keep + 4; a UTF-8 character is never cut in two.
std::string CutToEnd(const std::string& text, std::size_t keep) {
    if (text.size() <= keep + 4) return text;
    std::size_t start = text.size() - keep;
    while (start < text.size() && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80)
        ++start;
    return "..." + text.substr(start);
}

// A name as one line of a message: no line breaks, control characters or "|".
std::string OneLine(std::string name) {
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f || c == '|') c = '?';
    return name;
}

// `text` with each "@" filled in turn from `values`, in one pass: an "@"
// inside a value is never filled.
std::string Fill(std::string_view text, const std::vector<std::string>& values) {
    std::string out;
    std::size_t next = 0;
    for (const char c : text) {
        if (c == '@' && next < values.size())
            out += values[next++];
        else
            out += c;
    }
    return out;
}

} // namespace

std::string FailedMembersMessage(std::string_view text, std::string_view andMore,
                                 const fs::path& archive, const std::vector<TUnzipFault>& failed,
                                 std::size_t lines) {
    lines = std::max<std::size_t>(lines, 1);
    const std::size_t listed = failed.size() <= lines ? failed.size() : lines - 1;
    std::string list;
    // Appended piece by piece: GCC 12 at -O3 misreads a literal prefixed to a
    // temporary string as an overlapping copy (-Wrestrict).
    for (std::size_t i = 0; i < listed; ++i) {
        if (i > 0) list += '|';
        list += OneLine(CutToEnd(failed[i].Name, 60));
    }
    if (failed.size() > listed) {
        if (listed > 0) list += '|';
        list += Fill(andMore, {std::to_string(failed.size() - listed)});
    }
    return Fill(text, {OneLine(CutToEnd(archive.filename().string(), 40)), list});
}

TArchiveInstaller::TArchiveInstaller(TFolders folders, TArchiveKind kind, TAskCallback ask,
                                     TUnzipLimits limits)
    : Folders(std::move(folders)), Kind(kind), Ask(std::move(ask)), Limits(limits) {}

TFileAnswer TArchiveInstaller::InstallArchive(const fs::path& archive) {
    const int answer = Ask ? Ask(archive) : AnswerNo;
    if (answer == AnswerCancel) return TFileAnswer::Stop;
    if (answer != AnswerYes) return TFileAnswer::Skipped;
    TInstalled item;
    item.Archive = archive;
    item.Result = UnpackArchive(archive, PlacerFor(Folders, Kind), Limits);
    if (item.Result.Complete()) {
        std::error_code ec;
        item.Deleted = fs::remove(archive, ec) && !ec;
    }
    const bool written = item.Result.Written > 0;
    Done.push_back(std::move(item));
    return written ? TFileAnswer::Taken : TFileAnswer::Skipped;
}

TInstallReport InstallArchives(const TFolders& folders, TArchiveKind kind, const TAskCallback& ask,
                               const TFolderCallback& onFolder, const TSearchPlaces& places,
                               const TUnzipLimits& limits) {
    TArchiveInstaller installer(folders, kind, ask, limits);
    TInstallReport report;
    report.Search = SearchDrives(
        ArchivePattern(kind), true, onFolder,
        [&installer](const fs::path& file) { return installer.InstallArchive(file); }, places);
    report.Archives = installer.Installed();
    return report;
}

} // namespace tb
