#include "install/w_decode.h"

#include "install/w_unzip.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

namespace tb::unzip {

TArchiveFile::~TArchiveFile() {
    if (Fd >= 0) ::close(Fd);
}

bool TArchiveFile::Open(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) {
        ::close(fd);
        return false;
    }
    Fd = fd;
    FileSize = static_cast<std::uint64_t>(st.st_size);
    return true;
}

bool TArchiveFile::ReadAt(std::uint64_t offset, void* bytes, std::size_t count) const {
    if (Fd < 0 || count > FileSize || offset > FileSize - count) return false;
    auto* to = static_cast<unsigned char*>(bytes);
    while (count > 0) {
        const ssize_t n = ::pread(Fd, to, count, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        to += n;
        count -= static_cast<std::size_t>(n);
        offset += static_cast<std::uint64_t>(n);
    }
    return true;
}

TInput::TInput(const TArchiveFile& file, std::uint64_t offset, std::uint64_t size)
    : File(file), Next(offset), Left(size),
      Buffer(static_cast<std::size_t>(std::min<std::uint64_t>(size, 65536))) {}

bool TInput::Refill() {
    if (Left == 0) return false;
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(Left, Buffer.size()));
    if (!File.ReadAt(Next, Buffer.data(), n)) {
        Left = 0; // a read error ends the data; the decoder reports it as damaged
        return false;
    }
    Next += n;
    Left -= n;
    Pos = 0;
    Len = n;
    return true;
}

std::span<const std::uint8_t> TInput::Block() {
    if (Pos == Len && !Refill()) return {};
    std::span<const std::uint8_t> rest(Buffer.data() + Pos, Len - Pos);
    Pos = Len;
    return rest;
}

bool TWindow::Flush() {
    const std::size_t start = static_cast<std::size_t>(Flushed & (Size - 1));
    const std::size_t count = static_cast<std::size_t>(Pos - Flushed);
    Flushed = Pos;
    return count == 0 || Out.Write(Buffer.data() + start, count);
}

int CopyStored(TInput& in, TOutput& out, std::uint64_t size) {
    std::uint64_t copied = 0;
    while (copied < size) {
        const auto block = in.Block();
        if (block.empty()) return UnzipBadData;
        const std::size_t n =
            static_cast<std::size_t>(std::min<std::uint64_t>(block.size(), size - copied));
        if (!out.Write(block.data(), n)) return out.Fault();
        copied += n;
    }
    return UnzipOk;
}

namespace {

// Ends the zlib stream however the decoding leaves.
struct TInflateStream {
    z_stream Z{};
    bool Ready = false;
    TInflateStream() { Ready = inflateInit2(&Z, -15) == Z_OK; }
    ~TInflateStream() {
        if (Ready) inflateEnd(&Z);
    }
    TInflateStream(const TInflateStream&) = delete;
    TInflateStream& operator=(const TInflateStream&) = delete;
};

} // namespace

int Inflate(TInput& in, TOutput& out, std::uint64_t size) {
    TInflateStream stream;
    if (!stream.Ready) return UnzipCannotWrite;
    z_stream& z = stream.Z;
    std::array<std::uint8_t, TWindow::Size> buffer{};
    std::uint64_t produced = 0;
    for (;;) {
        if (z.avail_in == 0) {
            const auto block = in.Block();
            z.next_in = const_cast<Bytef*>(block.data());
            z.avail_in = static_cast<uInt>(block.size());
        }
        z.next_out = buffer.data();
        z.avail_out = static_cast<uInt>(buffer.size());
        const int ret = inflate(&z, Z_NO_FLUSH);
        const std::size_t n = buffer.size() - z.avail_out;
        if (n > size - produced) return UnzipBadData; // more data than the member holds
        if (n > 0 && !out.Write(buffer.data(), n)) return out.Fault();
        produced += n;
        if (ret == Z_STREAM_END) break;
        if (ret == Z_BUF_ERROR && z.avail_in == 0 && n == 0) return UnzipBadData; // data ended
        if (ret != Z_OK && ret != Z_BUF_ERROR) return UnzipBadData;
    }
    return produced == size ? UnzipOk : UnzipBadData;
}

} // namespace tb::unzip
