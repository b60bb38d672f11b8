#include "install/w_unzip.h"

#include "install/w_decode.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <zlib.h>

namespace tb {
namespace fs = std::filesystem;
using unzip::TArchiveFile;

namespace {

constexpr std::uint32_t EndSignature = 0x06054b50;
constexpr std::uint32_t CentralSignature = 0x02014b50;
constexpr std::uint32_t LocalSignature = 0x04034b50;
constexpr std::size_t EndSize = 22;
constexpr std::size_t CentralSize = 46;
constexpr std::size_t LocalSize = 30;
constexpr std::size_t MaxComment = 65535;
constexpr std::uint64_t MaxDirectory = 64ull << 20;
constexpr std::size_t MaxNameUsed = 255;

constexpr std::uint16_t FlagEncrypted = 1;
constexpr std::uint16_t FlagWindow8k = 2;
constexpr std::uint16_t FlagLiteralTree = 4;
constexpr std::uint16_t FlagDescriptor = 8;

enum : std::uint16_t { Stored = 0, Shrunk = 1, Imploded = 6, Deflated = 8 };

std::uint16_t Get16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t Get32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// One central directory entry.
struct TEntry {
    std::uint16_t Flags = 0;
    std::uint16_t Method = 0;
    std::uint16_t Time = 0;
    std::uint16_t Date = 0;
    std::uint32_t Crc = 0;
    std::uint32_t CompressedSize = 0;
    std::uint32_t Size = 0;
    std::uint32_t LocalOffset = 0;
    std::string Name;     // as stored
    std::string NameUsed; // at most 255 characters of it
};

struct TEnd {
    std::uint16_t Entries = 0;
    std::uint32_t DirectorySize = 0;
    std::uint32_t DirectoryOffset = 0;
    std::uint64_t Position = 0;
};

// Finds the end record: the last signature in the bytes it can lie in (the
// record and a comment of at most 65535 bytes at the end of the file).
int FindEnd(const TArchiveFile& file, TEnd& end) {
    const std::uint64_t size = file.Size();
    if (size < EndSize) return UnzipNoEndRecord;
    const std::size_t tailSize =
        static_cast<std::size_t>(std::min<std::uint64_t>(size, EndSize + MaxComment));
    std::vector<std::uint8_t> tail(tailSize);
    const std::uint64_t from = size - tailSize;
    if (!file.ReadAt(from, tail.data(), tailSize)) return UnzipNoEndRecord;
    for (std::size_t i = tailSize - EndSize + 1; i-- > 0;) {
        const std::uint8_t* record = tail.data() + i;
        if (Get32(record) != EndSignature) continue;
        end.Entries = Get16(record + 10);
        end.DirectorySize = Get32(record + 12);
        end.DirectoryOffset = Get32(record + 16);
        end.Position = from + i;
        return UnzipOk;
    }
    return UnzipNoEndRecord;
}

// Reads and checks the whole central directory.
int ReadDirectory(const TArchiveFile& file, const TEnd& end, std::vector<TEntry>& entries) {
    if (end.Entries == 0 && end.DirectorySize == 0) return UnzipNoEndRecord; // an empty archive
    const std::uint64_t dirEnd = std::uint64_t{end.DirectoryOffset} + end.DirectorySize;
    if (dirEnd > end.Position || end.DirectorySize > MaxDirectory) return UnzipBadDirectory;
    std::vector<std::uint8_t> dir(end.DirectorySize);
    if (!file.ReadAt(end.DirectoryOffset, dir.data(), dir.size())) return UnzipBadDirectory;
    std::size_t pos = 0;
    for (unsigned i = 0; i < end.Entries; ++i) {
        if (dir.size() - pos < CentralSize) return UnzipBadDirectory;
        const std::uint8_t* p = dir.data() + pos;
        if (Get32(p) != CentralSignature) return UnzipBadDirectory;
        const std::size_t nameLength = Get16(p + 28);
        const std::size_t total = CentralSize + nameLength + Get16(p + 30) + Get16(p + 32);
        if (dir.size() - pos < total) return UnzipBadDirectory;
        TEntry e;
        e.Flags = Get16(p + 8);
        e.Method = Get16(p + 10);
        e.Time = Get16(p + 12);
        e.Date = Get16(p + 14);
        e.Crc = Get32(p + 16);
        e.CompressedSize = Get32(p + 20);
        e.Size = Get32(p + 24);
        e.LocalOffset = Get32(p + 42);
        e.Name.assign(reinterpret_cast<const char*>(p + CentralSize), nameLength);
        e.NameUsed = e.Name.substr(0, MaxNameUsed);
        entries.push_back(std::move(e));
        pos += total;
    }
    return entries.empty() ? UnzipNoEndRecord : UnzipOk;
}

// The unpacked bytes of one member, into a temporary file, with the CRC-32.
class TFileOutput : public unzip::TOutput {
public:
    TFileOutput(int fd, std::uint64_t limit) : Fd(fd), Limit(limit) {}
    bool Write(const std::uint8_t* bytes, std::size_t count) override {
        if (count > Limit - Count) {
            Code = UnzipBadData;
            return false;
        }
        Crc = crc32(Crc, bytes, static_cast<uInt>(count));
        Count += count;
        while (count > 0) {
            const ssize_t n = ::write(Fd, bytes, count);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                Code = UnzipCannotWrite;
                return false;
            }
            bytes += n;
            count -= static_cast<std::size_t>(n);
        }
        return true;
    }
    int Fault() const override { return Code; }
    std::uint64_t Written() const { return Count; }
    std::uint32_t Checksum() const { return static_cast<std::uint32_t>(Crc); }

private:
    int Fd;
    std::uint64_t Limit;
    std::uint64_t Count = 0;
    uLong Crc = crc32(0, nullptr, 0);
    int Code = UnzipOk;
};

// A new temporary file in `folder`, removed again unless it is kept. Its name
// is short and of fixed length (".tbz-" and six characters), so it fits in
// any folder whatever the length of the name it will be renamed to.
class TTempFile {
public:
    explicit TTempFile(const fs::path& folder) {
        std::string name = (folder / ".tbz-XXXXXX").string();
        Fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (Fd < 0) return;
        Path = name;
        ::fchmod(Fd, 0644);
    }
    ~TTempFile() {
        Close();
        if (!Kept && !Path.empty()) ::unlink(Path.c_str());
    }
    TTempFile(const TTempFile&) = delete;
    TTempFile& operator=(const TTempFile&) = delete;

    bool IsOpen() const { return Fd >= 0; }
    int Handle() const { return Fd; }
    const fs::path& FilePath() const { return Path; }
    // Flushes the contents to the disk and closes the file.
    bool Close() {
        if (Fd < 0) return true;
        const bool synced = ::fsync(Fd) == 0;
        const bool closed = ::close(Fd) == 0;
        Fd = -1;
        return synced && closed;
    }
    void Keep() { Kept = true; }

private:
    fs::path Path;
    int Fd = -1;
    bool Kept = false;
};

// Flushes a folder's entries (a rename into it) to the disk.
void SyncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Makes the missing folders of a path and, unless told the member was
// written, removes them again: a failed member leaves no empty folders.
class TMadeFolders {
public:
    ~TMadeFolders() {
        if (Kept) return;
        for (auto it = Made.rbegin(); it != Made.rend(); ++it)
            ::rmdir(it->c_str()); // only empty ones go
    }
    bool Make(const fs::path& folder) {
        std::vector<fs::path> missing;
        std::error_code ec;
        for (fs::path f = folder; !f.empty() && !fs::exists(f, ec); f = f.parent_path()) {
            missing.push_back(f);
            if (f == f.parent_path()) break;
        }
        for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
            if (::mkdir(it->c_str(), 0755) == 0)
                Made.push_back(*it);
            else if (errno != EEXIST)
                return false;
        }
        return fs::is_directory(folder, ec);
    }
    void Keep() { Kept = true; }

private:
    std::vector<fs::path> Made;
    bool Kept = false;
};

// Gives a file the member's time and date (local time, two-second steps).
void SetFileTime(const fs::path& path, std::uint16_t time, std::uint16_t date) {
    std::tm t{};
    t.tm_year = 80 + (date >> 9);
    t.tm_mon = ((date >> 5) & 15) - 1;
    t.tm_mday = date & 31;
    t.tm_hour = time >> 11;
    t.tm_min = (time >> 5) & 63;
    t.tm_sec = (time & 31) * 2;
    t.tm_isdst = -1;
    if (t.tm_mon < 0 || t.tm_mon > 11 || t.tm_mday == 0) return;
    const std::time_t when = std::mktime(&t);
    if (when == static_cast<std::time_t>(-1)) return;
    struct timespec times[2];
    times[0].tv_sec = times[1].tv_sec = when;
    times[0].tv_nsec = times[1].tv_nsec = 0;
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

class TUnpacker {
public:
    TUnpacker(const TArchiveFile& file, const TMemberPlacer& place, const TUnzipLimits& limits)
        : File(file), Place(place), Limits(limits) {}

    // The member is passed over: neither written nor a fault.
    static constexpr int PassedOver = 1;

    int Member(const TEntry& e) {
        bool isFolder = false;
        const auto relative = MemberPath(e.NameUsed, isFolder);
        if (!relative) return UnzipUnsafeName;

        // The local header, checked against the central directory.
        std::uint8_t local[LocalSize];
        if (std::uint64_t{e.LocalOffset} + LocalSize > File.Size()) return UnzipCannotSeek;
        if (!File.ReadAt(e.LocalOffset, local, LocalSize) || Get32(local) != LocalSignature)
            return UnzipBadLocalHeader;
        const std::uint16_t flags = Get16(local + 6);
        const std::size_t nameLength = Get16(local + 26);
        const std::uint64_t dataStart =
            std::uint64_t{e.LocalOffset} + LocalSize + nameLength + Get16(local + 28);
        std::string localName(nameLength, '\0');
        if (!File.ReadAt(e.LocalOffset + LocalSize, localName.data(), nameLength))
            return UnzipBadLocalHeader;
        if (Get16(local + 8) != e.Method || (flags & FlagEncrypted) != (e.Flags & FlagEncrypted) ||
            localName != e.Name)
            return UnzipHeaderMismatch;
        if ((flags & FlagDescriptor) == 0 &&
            (Get32(local + 14) != e.Crc || Get32(local + 18) != e.CompressedSize ||
             Get32(local + 22) != e.Size))
            return UnzipHeaderMismatch;

        if (e.Method != Stored && e.Method != Shrunk && e.Method != Imploded &&
            e.Method != Deflated)
            return UnzipBadMethod;
        if ((e.Flags & FlagEncrypted) != 0) return UnzipEncrypted;

        const TMemberPlace place = Place(*relative, isFolder);
        if (place.Code != UnzipOk) return place.Code;
        if (place.Target.empty()) return PassedOver;
        const fs::path& target = place.Target;
        if (isFolder) {
            TMadeFolders folders;
            if (!folders.Make(target)) return UnzipCannotCreate;
            folders.Keep();
            return UnzipOk;
        }

        if (e.Size > Limits.MemberMax) return UnzipTooLarge;
        if (e.Size > Limits.TotalMax - std::min(Total, Limits.TotalMax)) return UnzipTotalTooLarge;
        Total += e.Size;
        if (dataStart > File.Size() || e.CompressedSize > File.Size() - dataStart)
            return UnzipBadData; // the data runs past the end of the archive
        if (e.Method == Stored && e.CompressedSize != e.Size) return UnzipBadData;

        TMadeFolders folders;
        if (!folders.Make(target.parent_path())) return UnzipCannotCreate;
        TTempFile temp(target.parent_path());
        if (!temp.IsOpen()) return UnzipCannotCreate;
        TFileOutput out(temp.Handle(), e.Size);
        unzip::TInput in(File, dataStart, e.CompressedSize);
        int code = UnzipOk;
        switch (e.Method) {
        case Stored:
            code = unzip::CopyStored(in, out, e.Size);
            break;
        case Shrunk:
            code = unzip::Unshrink(in, out, e.Size);
            break;
        case Imploded:
            code = unzip::Explode(in, out, e.Size, (e.Flags & FlagWindow8k) != 0,
                                  (e.Flags & FlagLiteralTree) != 0);
            break;
        default:
            code = unzip::Inflate(in, out, e.Size);
            break;
        }
        if (code != UnzipOk) return code;
        if (out.Written() != e.Size) return UnzipBadData;
        if (out.Checksum() != e.Crc) return UnzipBadCrc;
        if (!temp.Close()) return UnzipCannotWrite;
        SetFileTime(temp.FilePath(), e.Time, e.Date);
        std::error_code ec;
        fs::rename(temp.FilePath(), target, ec);
        if (ec) return UnzipCannotCreate;
        temp.Keep();
        folders.Keep();
        SyncFolder(target.parent_path());
        return UnzipOk;
    }

private:
    const TArchiveFile& File;
    const TMemberPlacer& Place;
    TUnzipLimits Limits;
    std::uint64_t Total = 0;
};

} // namespace

bool UnzipStops(int code) {
    return code == UnzipCannotOpen || code == UnzipNoEndRecord || code == UnzipBadDirectory ||
           code == UnzipBadLocalHeader || code == UnzipCannotSeek || code == UnzipTotalTooLarge;
}

std::string_view UnzipCodeText(int code) {
    switch (code) {
    case UnzipOk:
        return "written";
    case UnzipCannotCreate:
        return "the output file cannot be created";
    case UnzipCannotSeek:
        return "the member lies outside the archive";
    case UnzipBadLocalHeader:
        return "the member's local header is damaged";
    case UnzipHeaderMismatch:
        return "the local header disagrees with the directory";
    case UnzipBadMethod:
        return "unsupported compression method";
    case UnzipEncrypted:
        return "the member is encrypted";
    case UnzipUnsafeName:
        return "the name would leave the program folder";
    case UnzipBadDirectory:
        return "the central directory is damaged";
    case UnzipNoMoreEntries:
        return "no further directory entry";
    case UnzipNoEndRecord:
        return "empty archive or no end record";
    case UnzipBadData:
        return "the compressed data is damaged";
    case UnzipBadCrc:
        return "the data does not match its checksum";
    case UnzipCannotOpen:
        return "the archive cannot be opened";
    case UnzipTooLarge:
        return "the member is too large";
    case UnzipTotalTooLarge:
        return "the archive unpacks to too much";
    case UnzipCannotWrite:
        return "the output cannot be written";
    case UnzipRefused:
        return "not a file this kind of archive installs";
    default:
        return "unknown failure";
    }
}

std::optional<fs::path> MemberPath(std::string_view name, bool& isFolder) {
    isFolder = !name.empty() && (name.back() == '/' || name.back() == '\\');
    if (name.empty() || name.front() == '/' || name.front() == '\\') return std::nullopt;
    if (name.size() >= 2 && name[1] == ':' &&
        ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z')))
        return std::nullopt;
    fs::path path;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t stop = name.find_first_of("/\\", start);
        if (stop == std::string_view::npos) stop = name.size();
        const std::string_view part = name.substr(start, stop - start);
        if (part == "..") return std::nullopt;
        for (const char c : part)
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return std::nullopt;
        if (!part.empty() && part != ".") path /= std::string(part);
        start = stop + 1;
    }
    if (path.empty()) return std::nullopt;
    return path;
}

TUnzipResult UnpackArchive(const fs::path& archive, const fs::path& folder,
                           const TUnzipLimits& limits) {
    return UnpackArchive(
        archive,
        [&folder](const fs::path& relative, bool) {
            return TMemberPlace{UnzipOk, folder / relative};
        },
        limits);
}

TUnzipResult UnpackArchive(const fs::path& archive, const TMemberPlacer& place,
                           const TUnzipLimits& limits) {
    TUnzipResult result;
    TArchiveFile file;
    if (!file.Open(archive)) {
        result.Code = UnzipCannotOpen;
        return result;
    }
    TEnd end;
    std::vector<TEntry> entries;
    result.Code = FindEnd(file, end);
    if (result.Code == UnzipOk) result.Code = ReadDirectory(file, end, entries);
    if (result.Code != UnzipOk) return result;

    TUnpacker unpacker(file, place, limits);
    for (const TEntry& e : entries) {
        const int code = unpacker.Member(e);
        if (code == TUnpacker::PassedOver) continue;
        if (code == UnzipOk) {
            ++result.Written;
            continue;
        }
        result.Failed.push_back({e.Name, code});
        if (UnzipStops(code)) {
            result.Code = code;
            break;
        }
    }
    return result;
}

} // namespace tb
