#pragma once
// What the member decoders share: the archive file read at given offsets, the
// compressed bytes of one member read in blocks, bits taken from them low bit
// first, and the 32 KB window through which decoded bytes reach the output.
// Every read is checked against the end of the file and of the member.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace tb::unzip {

// The archive, opened for reading.
class TArchiveFile {
public:
    TArchiveFile() = default;
    ~TArchiveFile();
    TArchiveFile(const TArchiveFile&) = delete;
    TArchiveFile& operator=(const TArchiveFile&) = delete;

    // Opens a regular file; false when it cannot be opened.
    bool Open(const std::filesystem::path& path);
    std::uint64_t Size() const { return FileSize; }
    // Reads exactly `count` bytes at `offset`; false when any of them lies
    // beyond the end of the file or reading fails.
    bool ReadAt(std::uint64_t offset, void* bytes, std::size_t count) const;

private:
    int Fd = -1;
    std::uint64_t FileSize = 0;
};

// The compressed bytes of one member: `size` bytes from `offset` of the archive.
class TInput {
public:
    TInput(const TArchiveFile& file, std::uint64_t offset, std::uint64_t size);
    // The next byte, or -1 when the member's data has ended.
    int Byte() {
        if (Pos == Len && !Refill()) return -1;
        return Buffer[Pos++];
    }
    // The rest of the current block (a new one when it is used up); empty at the end.
    std::span<const std::uint8_t> Block();

private:
    bool Refill();

    const TArchiveFile& File;
    std::uint64_t Next;
    std::uint64_t Left;
    std::vector<std::uint8_t> Buffer;
    std::size_t Pos = 0;
    std::size_t Len = 0;
};

// Bits of the input, low bit of each byte first.
class TBits {
public:
    explicit TBits(TInput& in) : In(in) {}
    // The next `count` bits (at most 24) as a number, the first bit lowest;
    // -1 when the data ends before them.
    int Get(int count) {
        while (Have < count) {
            const int b = In.Byte();
            if (b < 0) return -1;
            Hold |= static_cast<std::uint32_t>(b) << Have;
            Have += 8;
        }
        const int value = static_cast<int>(Hold & ((1u << count) - 1));
        Hold >>= count;
        Have -= count;
        return value;
    }

private:
    TInput& In;
    std::uint32_t Hold = 0;
    int Have = 0;
};

// Where decoded bytes go.
class TOutput {
public:
    virtual ~TOutput() = default;
    // Takes decoded bytes; false when they cannot be kept (Fault tells why).
    virtual bool Write(const std::uint8_t* bytes, std::size_t count) = 0;
    // The code of the failure after Write answered false.
    virtual int Fault() const = 0;
};

// The last 32 KB of output, zero before the first byte, handed to the output
// in blocks.
class TWindow {
public:
    static constexpr std::uint32_t Size = 32768;

    explicit TWindow(TOutput& out) : Out(out), Buffer(Size, 0) {}
    bool Put(std::uint8_t b) {
        Buffer[Pos & (Size - 1)] = b;
        ++Pos;
        return (Pos & (Size - 1)) != 0 || Flush();
    }
    // The byte `distance` (1..Size) back from the next one.
    std::uint8_t Back(std::uint32_t distance) const {
        return Buffer[(Pos - distance) & (Size - 1)];
    }
    // Hands the bytes not yet written to the output.
    bool Flush();

private:
    TOutput& Out;
    std::vector<std::uint8_t> Buffer;
    std::uint64_t Pos = 0;
    std::uint64_t Flushed = 0;
};

// The decoders: each writes exactly `size` bytes and answers 0, UnzipBadData
// for damaged data, or the output's fault.
int CopyStored(TInput& in, TOutput& out, std::uint64_t size);
int Inflate(TInput& in, TOutput& out, std::uint64_t size);
// Method 1: LZW with 9 to 13 bit codes and partial clearing.
int Unshrink(TInput& in, TOutput& out, std::uint64_t size);
// Method 6: Shannon-Fano coded matches; `window8k` selects the 8 KB dictionary
// (flag bit 1), `literalTree` the third tree for literals (flag bit 2).
int Explode(TInput& in, TOutput& out, std::uint64_t size, bool window8k, bool literalTree);

} // namespace tb::unzip
