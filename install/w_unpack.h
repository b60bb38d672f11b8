#pragma once
// The archive search behind the install commands: walks the local file
// systems and the home folder for files whose names match a pattern, offers
// each to the caller, and unpacks the archives the player agrees to, each
// member into the folder its kind of archive writes to (w_place.h).

#include "install/w_place.h"
#include "install/w_unzip.h"
#include "services/d_answers.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tb {

// The archive name patterns of the install commands ("*" any characters, "?"
// one character, letter case ignored).
inline constexpr std::string_view GamesArchives = "tobbin-gam*.zip";
inline constexpr std::string_view SpritesArchives = "tobbin-spr*.zip";
inline constexpr std::string_view SoundsArchives = "tobbin-snd*.zip";
inline constexpr std::string_view SolutionsArchive = "tobbin-sol.zip";
inline constexpr std::string_view LanguagesArchives = "tobbin-lang-*.zip";

// True when a file name matches a pattern of the kind above.
bool MatchesPattern(std::string_view name, std::string_view pattern);

// Where a search looks.
struct TSearchPlaces {
    std::vector<std::filesystem::path> Roots;   // searched in this order
    std::vector<std::filesystem::path> Skipped; // folders never entered (full paths)
};

// The folders a search never enters: the pseudo file systems and the run-time
// folder, and the web servers' document folders.
std::vector<std::filesystem::path> DefaultSkippedFolders();
// The home folder first, then the mount points of the local disk file systems
// of /proc/mounts, with DefaultSkippedFolders.
TSearchPlaces LocalSearchPlaces();
// The same from the text of a mount table and a home folder (empty: none).
TSearchPlaces SearchPlacesFrom(std::string_view mountTable, const std::filesystem::path& home);

// What the caller makes of one file found.
enum class TFileAnswer { Skipped, Taken, Stop };

// Called with the folder counter and the folder each time a folder is entered
// (the install command shows the folder in the message line and processes
// pending window messages); answers false to stop the search.
using TFolderCallback =
    std::function<bool(std::uint32_t folderCount, const std::filesystem::path& folder)>;
// Called with each matching file.
using TFileCallback = std::function<TFileAnswer(const std::filesystem::path& file)>;

struct TSearchResult {
    bool Found = false;            // some file was taken
    bool Stopped = false;          // a callback asked to stop
    std::uint32_t FolderCount = 0; // folders entered
};

// Walks every root depth first: in each folder the matching regular files
// first (names in byte order), then its subfolders. Never enters a skipped
// folder, a folder whose name starts with ".", a pseudo or network file
// system, a symbolic link, or a folder already searched (through a bind mount
// or a nested root). Unreadable folders are passed by. With `findAll` false
// the walk ends at the first taken file; it always ends when a callback asks.
TSearchResult SearchDrives(std::string_view pattern, bool findAll, const TFolderCallback& onFolder,
                           const TFileCallback& onFile,
                           const TSearchPlaces& places = LocalSearchPlaces());

// The "@" of the question for one archive: its path, cut to its last 60
// characters preceded by "..." when it is longer than 64.
std::string ArchiveQuestionName(const std::filesystem::path& archive);

// The message about the members of an archive that were not written: `text`
// with its first "@" filled by the archive's file name (cut to its last 40
// characters) and its second by a list of the members, one a line ("|"), that
// takes at most `lines` lines: all members when they fit, else the first
// lines - 1 of them and `andMore` with its "@" filled by the number of the
// others. Each name is cut to its last 60 characters; line breaks, control
// characters and "|" in a name become "?", and nothing in a name is taken for
// a placeholder, so the list stays readable and the message box narrow.
std::string FailedMembersMessage(std::string_view text, std::string_view andMore,
                                 const std::filesystem::path& archive,
                                 const std::vector<TUnzipFault>& failed, std::size_t lines);

// Asks "Found "@".|Unpack it and delete the original?" for one archive.
using TAskCallback = std::function<int(const std::filesystem::path& archive)>;

// One archive the player agreed to unpack.
struct TInstalled {
    std::filesystem::path Archive;
    TUnzipResult Result;  // Result.Failed names the members not written
    bool Deleted = false; // only when every member was written
};

// The onFile of the install commands.
class TArchiveInstaller {
public:
    // Unpacks into the player's own folders of `folders`.
    TArchiveInstaller(TFolders folders, TArchiveKind kind, TAskCallback ask,
                      TUnzipLimits limits = {});
    // Asks; Cancel answers Stop, No answers Skipped. On Yes unpacks the archive
    // (each member where its kind of archive writes, others refused),
    // deletes it when every member was written (a partly unpacked archive is
    // kept), and answers Taken when any member was written.
    TFileAnswer InstallArchive(const std::filesystem::path& archive);
    const std::vector<TInstalled>& Installed() const { return Done; }

private:
    TFolders Folders;
    TArchiveKind Kind;
    TAskCallback Ask;
    TUnzipLimits Limits;
    std::vector<TInstalled> Done;
};

struct TInstallReport {
    TSearchResult Search;             // Search.Found: anything was installed
    std::vector<TInstalled> Archives; // every archive unpacked, in the order found
};

// An install command after its first question: searches every root for the
// pattern of `kind` (all archives), asks for each, unpacks what it agrees to.
TInstallReport InstallArchives(const TFolders& folders, TArchiveKind kind, const TAskCallback& ask,
                               const TFolderCallback& onFolder,
                               const TSearchPlaces& places = LocalSearchPlaces(),
                               const TUnzipLimits& limits = {});

} // namespace tb
