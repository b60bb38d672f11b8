#include "services/d_file.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <ios>
#include <stdexcept>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tb {
namespace fs = std::filesystem;

namespace {

[[noreturn]] void Fail(const std::string& what, const fs::path& path) {
    throw std::ios_base::failure(what + ": " + path.string());
}

} // namespace

std::string ReadWholeFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) Fail("Cannot open file", path);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) Fail("Cannot read file", path);
    return text;
}

namespace {

// Writes all bytes to an open descriptor; false on any failure.
bool WriteAll(int fd, std::string_view content) {
    const char* data = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// Makes a rename or a new name in `folder` survive a power cut. File systems
// that cannot sync a folder (some network ones) answer EINVAL: nothing to do.
void SyncFolder(const fs::path& folder) {
    const fs::path name = folder.empty() ? fs::path(".") : folder;
    const int fd = ::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) Fail("Cannot open folder", name);
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL || errno == EROFS;
    ::close(fd);
    if (!synced) Fail("Cannot sync folder", name);
}

} // namespace

void WriteFileAtomic(const fs::path& path, std::string_view content) {
    fs::path temp = path;
    temp += ".tmp";
    {
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd < 0) Fail("Cannot create file", temp);
        // The bytes reach the disk before the new name points at them.
        const bool written = WriteAll(fd, content);
        const bool synced = written && ::fsync(fd) == 0;
        const bool closed = ::close(fd) == 0;
        if (!written || !synced || !closed) {
            std::error_code ignored;
            fs::remove(temp, ignored);
            Fail("Cannot write file", temp);
        }
    }
    std::error_code ec;
    fs::rename(temp, path, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        Fail("Cannot replace file", path);
    }
    SyncFolder(path.parent_path());
}

void AppendLines(const fs::path& path, std::string_view content) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) Fail("Cannot open file", path);
    // A last line without its line end (cut off, or written by hand) is ended
    // first, so the new lines start on a line of their own.
    bool ok = true;
    struct stat info {};
    if (::fstat(fd, &info) != 0) ok = false;
    if (ok && info.st_size > 0) {
        char last = '\n';
        ok = ::pread(fd, &last, 1, info.st_size - 1) == 1;
        if (ok && last != '\n') ok = WriteAll(fd, "\r\n");
    }
    ok = ok && WriteAll(fd, content) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!ok || !closed) Fail("Cannot write file", path);
    if (info.st_size == 0) SyncFolder(path.parent_path()); // the file may be new
}

fs::path FreeBackupName(const fs::path& file) {
    for (int n = 0;; ++n) {
        if (n == 1000000) throw std::overflow_error("no free backup name");
        fs::path candidate = file;
        candidate += n == 0 ? std::string(".bak") : ".bak" + std::to_string(n);
        std::error_code ec;
        if (!fs::exists(candidate, ec) && !ec) return candidate;
    }
}

bool TTextReader::ReadLine(std::string& line) {
    if (Pos >= Text.size()) {
        line.clear();
        return false;
    }
    std::size_t end = Text.find('\n', Pos);
    std::size_t next = end == std::string::npos ? Text.size() : end + 1;
    if (end == std::string::npos) end = Text.size();
    std::size_t stop = end;
    if (stop > Pos && Text[stop - 1] == '\r') --stop;
    line.assign(Text, Pos, stop - Pos);
    Pos = next;
    ++Line;
    return true;
}

} // namespace tb
