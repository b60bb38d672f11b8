#pragma once
// Unpacking ZIP archives. Members stored, shrunk, imploded or deflated are
// written; every other member is skipped with a code that says why. A placer
// decides where each member goes (or refuses it), so a member never lands
// anywhere else; an existing file is replaced only by a complete copy whose
// CRC-32 matched, and caps on the unpacked sizes keep a hostile archive from
// filling the disk.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tb {

// Result codes: 0 is success, every failure a negative number. The codes marked
// "stops" end the unpacking of the archive; after the others the next member
// follows.
enum TUnzipCode : int {
    UnzipOk = 0,
    UnzipCannotCreate = -2,   // the output file or folder cannot be created
    UnzipCannotSeek = -3,     // the member's local header lies outside the archive (stops)
    UnzipBadLocalHeader = -4, // the local header cannot be read or has the wrong signature (stops)
    UnzipHeaderMismatch = -5, // the local header disagrees with the central directory
    UnzipBadMethod = -6,      // a method other than stored, shrunk, imploded, deflated
    UnzipEncrypted = -7,      // the member is encrypted
    UnzipUnsafeName = -8,     // the name would leave the folder (absolute, "C:", "..")
    UnzipBadDirectory = -9,   // the central directory is damaged (stops)
    UnzipNoMoreEntries = -10, // no further central directory entry: the end of the walk
    UnzipNoEndRecord = -11,   // empty archive, or no readable end record (stops)
    UnzipBadData = -12,       // the compressed data is damaged or ends early
    UnzipBadCrc = -13,        // the unpacked data does not match its CRC-32
    UnzipCannotOpen = -14,    // the archive cannot be opened (stops)
    UnzipTooLarge = -15,      // the member unpacks to more than the member cap
    UnzipTotalTooLarge = -16, // the archive unpacks to more than the total cap (stops)
    UnzipCannotWrite = -17,   // writing the output failed (disk full)
    UnzipRefused = -18,       // not a file this kind of archive installs
};

// True for the codes after which the rest of the archive is not unpacked.
bool UnzipStops(int code);
// A short English description of a code, for reports.
std::string_view UnzipCodeText(int code);

// How much one archive may unpack to.
struct TUnzipLimits {
    std::uint64_t MemberMax = 64ull << 20; // bytes of one member
    std::uint64_t TotalMax = 256ull << 20; // bytes of all members together
};

// A member that was not written, with the code that says why.
struct TUnzipFault {
    std::string Name;
    int Code = UnzipOk;
};

struct TUnzipResult {
    int Code = UnzipOk;              // UnzipOk, or the code that stopped the unpacking
    int Written = 0;                 // members written, folder entries included
    std::vector<TUnzipFault> Failed; // members skipped, in archive order
    // The number of members written, or the code that stopped the unpacking.
    int Count() const { return Code < 0 ? Code : Written; }
    // Every member was written: only then may the archive be deleted.
    bool Complete() const { return Code == UnzipOk && Failed.empty(); }
};

// Where one member goes: `Target` the file (or, for a folder entry, the
// folder) to write; an empty `Target` with UnzipOk passes the member over
// (neither written nor a fault); any other code refuses it.
struct TMemberPlace {
    int Code = UnzipOk;
    std::filesystem::path Target;
};
// Called with the member's safe relative path (MemberPath) and whether it is a
// folder entry, just before the member is written.
using TMemberPlacer =
    std::function<TMemberPlace(const std::filesystem::path& relative, bool isFolder)>;

// Writes every member of `archive` where `place` says. The whole central
// directory is read and checked before anything is written, so a damaged
// directory leaves no output behind. An existing file is replaced only when
// its new contents are complete: each member is unpacked into a temporary file
// of a short fixed-length name in the target's folder, checked, flushed to the
// disk and renamed over the old file. A failed member leaves no partial
// output, and the folders made for it are removed again. The unpacked file
// keeps the member's time.
TUnzipResult UnpackArchive(const std::filesystem::path& archive, const TMemberPlacer& place,
                           const TUnzipLimits& limits = {});
// The same with every member below `folder` (which must exist), folder
// entries included.
TUnzipResult UnpackArchive(const std::filesystem::path& archive,
                           const std::filesystem::path& folder, const TUnzipLimits& limits = {});

// The path below the target folder that a member name stands for ("/" and "\"
// both separate folders, "." parts are dropped), or nothing when the name is
// unsafe: empty, absolute, with a drive prefix such as "C:", with a ".." part
// or a control character. `isFolder` tells whether the name ends with a
// separator (a folder entry).
std::optional<std::filesystem::path> MemberPath(std::string_view name, bool& isFolder);

} // namespace tb
