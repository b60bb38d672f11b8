#include "tests/install/zip_maker.h"

#include "tests/test_support.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_map>
#include <zlib.h>

namespace tb::test {

namespace {

void Put(std::string& s, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        s += static_cast<char>((v >> (8 * i)) & 0xff);
}

// Bits low first, as the decoders read them.
struct TBitWriter {
    std::string Out;
    int Have = 0;
    void Put(unsigned value, int count) {
        for (int i = 0; i < count; ++i, ++Have) {
            if (Have % 8 == 0) Out += '\0';
            Out.back() = static_cast<char>(Out.back() | (((value >> i) & 1u) << (Have % 8)));
        }
    }
};

std::string Pack(const TZipMember& m) {
    if (m.Packed) return *m.Packed;
    switch (m.Method) {
    case 1:
        return Shrink(m.Data);
    case 6:
        return Implode(m.Data, (m.Flags & 2) != 0, (m.Flags & 4) != 0);
    case 8:
        return Deflate(m.Data);
    default:
        return m.Data;
    }
}

} // namespace

TZip MakeZip(const std::vector<TZipMember>& members) {
    TZip zip;
    std::string dir;
    for (const TZipMember& m : members) {
        const std::string packed = Pack(m);
        const auto crc = m.Crc.value_or(static_cast<std::uint32_t>(
            crc32(0, reinterpret_cast<const Bytef*>(m.Data.data()), m.Data.size())));
        auto header = [&](std::string& s, std::uint32_t signature) {
            Put(s, signature, 4);
            if (signature == 0x02014b50) Put(s, 20, 2); // made by: host 0
            // version, flags, method, time 12:37:56, date 2021-06-15
            for (unsigned v : {20u, unsigned{m.Flags}, unsigned{m.Method}, 0x64bcu, 0x52cfu})
                Put(s, v, 2);
            for (std::size_t v : {std::size_t{crc}, packed.size(), m.Data.size()})
                Put(s, static_cast<std::uint32_t>(v), 4);
            Put(s, static_cast<std::uint32_t>(m.Name.size()), 2);
            Put(s, 0, 2);
        };
        zip.LocalOffsets.push_back(zip.Bytes.size());
        header(dir, 0x02014b50);
        Put(dir, 0, 6); // comment, disk, internal attributes
        Put(dir, 0, 4); // external attributes
        Put(dir, static_cast<std::uint32_t>(zip.Bytes.size()), 4);
        dir += m.Name;
        header(zip.Bytes, 0x04034b50);
        zip.Bytes += m.Name + packed;
    }
    zip.DirectoryOffset = zip.Bytes.size();
    zip.Bytes += dir;
    zip.EndOffset = zip.Bytes.size();
    Put(zip.Bytes, 0x06054b50, 4);
    Put(zip.Bytes, 0, 4);
    Put(zip.Bytes, static_cast<std::uint32_t>(members.size() * 0x10001), 4);
    Put(zip.Bytes, static_cast<std::uint32_t>(dir.size()), 4);
    Put(zip.Bytes, static_cast<std::uint32_t>(zip.DirectoryOffset), 4);
    Put(zip.Bytes, 0, 2);
    return zip;
}

void WriteZip(const std::string& path, const std::vector<TZipMember>& members) {
    WriteFile(path, MakeZip(members).Bytes);
}

std::string Deflate(std::string_view data) {
    z_stream z{};
    if (deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2");
    std::string out(deflateBound(&z, data.size()), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    const int ret = deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    if (ret != Z_STREAM_END) throw std::runtime_error("deflate");
    return out;
}

// The encoder keeps the decoder's table: entries named by their prefix code
// and last byte, made one code late (when the decoder sees the next code),
// freed by the same partial clearing.
std::string Shrink(std::string_view data, int clearEvery) {
    constexpr int Codes = 8192, Free = -1, Literal = -2;
    std::vector<int> prefix(Codes, Free), suffix(Codes, 0), queue;
    std::unordered_map<int, int> child; // prefix * 256 + byte -> code
    for (int c = 0; c <= 256; ++c)
        prefix[c] = Literal;
    for (int c = 257; c < Codes; ++c)
        queue.push_back(c);
    std::size_t next = 0;
    auto clear = [&] {
        std::vector<bool> isPrefix(Codes);
        for (int c = 257; c < Codes; ++c)
            if (prefix[c] >= 0) isPrefix[prefix[c]] = true;
        queue.clear();
        next = 0;
        for (int c = 257; c < Codes; ++c) {
            if (!isPrefix[c] && prefix[c] != Free) {
                const auto it = child.find(prefix[c] * 256 + suffix[c]);
                if (it != child.end() && it->second == c) child.erase(it);
                prefix[c] = Free;
            }
            if (prefix[c] == Free) queue.push_back(c);
        }
    };
    TBitWriter out;
    int codeSize = 9, emitted = 0;
    std::size_t i = 0;
    while (i < data.size()) {
        int code = static_cast<unsigned char>(data[i]);
        std::size_t j = i + 1;
        for (; j < data.size(); ++j) {
            const auto it = child.find(code * 256 + static_cast<unsigned char>(data[j]));
            if (it == child.end()) break;
            code = it->second;
        }
        while (code >= (1 << codeSize)) {
            out.Put(256, codeSize);
            out.Put(1, codeSize++);
        }
        out.Put(static_cast<unsigned>(code), codeSize);
        ++emitted;
        if (next == queue.size() || (clearEvery > 0 && emitted % clearEvery == 0)) {
            out.Put(256, codeSize);
            out.Put(2, codeSize);
            clear();
        }
        if (j < data.size() && next < queue.size()) {
            const int added = queue[next++];
            prefix[added] = code;
            suffix[added] = static_cast<unsigned char>(data[j]);
            child[code * 256 + suffix[added]] = added;
        }
        i = j;
    }
    return out.Out;
}

// The three trees are codes of one length each, 8 bits for the 256 literals
// and 6 for the 64 lengths and distances: the decoders' trees are read by one
// routine, which the data of other programs checks with codes of many lengths.
std::string Implode(std::string_view data, bool window8k, bool literalTree) {
    const int lowBits = window8k ? 7 : 6;
    const std::size_t window = window8k ? 8192 : 4096;
    const std::size_t minMatch = literalTree ? 3 : 2, maxMatch = minMatch + 63 + 255;
    TBitWriter out;
    // The tree's byte count less one, then bytes (run - 1) << 4 | (length - 1).
    auto tree = [&out](unsigned bits) {
        out.Put((1u << bits) / 16 - 1, 8);
        for (unsigned run = 0; run < (1u << bits) / 16; ++run)
            out.Put(0xf0 | (bits - 1), 8);
    };
    // The code of a value is the value: first bit highest, every bit inverted.
    auto code = [&out](std::size_t value, int bits) {
        for (int b = bits - 1; b >= 0; --b)
            out.Put(((value >> b) & 1u) ^ 1u, 1);
    };
    if (literalTree) tree(8);
    tree(6);
    tree(6);
    // Bytes before the start read as zero, so a match may reach back past it.
    auto at = [&](std::ptrdiff_t k) {
        return k < 0 ? 0 : static_cast<unsigned char>(data[static_cast<std::size_t>(k)]);
    };
    std::vector<std::vector<std::size_t>> seen(256); // earlier positions of each byte
    for (std::size_t i = 0; i < data.size();) {
        const auto first = static_cast<unsigned char>(data[i]);
        std::size_t best = 0, distance = 0;
        auto tryDistance = [&](std::size_t d) {
            const auto from = static_cast<std::ptrdiff_t>(i) - static_cast<std::ptrdiff_t>(d);
            std::size_t n = 0;
            while (n < maxMatch && i + n < data.size() &&
                   at(from + static_cast<std::ptrdiff_t>(n)) ==
                       at(static_cast<std::ptrdiff_t>(i + n)))
                ++n;
            if (n > best) best = n, distance = d;
        };
        for (auto p = seen[first].rbegin(); p != seen[first].rend() && i - *p <= window; ++p) {
            tryDistance(i - *p);
            if (best == maxMatch) break;
        }
        if (first == 0 && i < window) tryDistance(i + 1); // the zeros before the start
        if (best < minMatch) {
            best = 1;
            out.Put(1, 1);
            literalTree ? code(first, 8) : out.Put(first, 8);
        } else {
            out.Put(0, 1);
            out.Put(static_cast<unsigned>((distance - 1) & ((1u << lowBits) - 1)), lowBits);
            code((distance - 1) >> lowBits, 6);
            const std::size_t extra = best - minMatch;
            code(std::min<std::size_t>(extra, 63), 6);
            if (extra >= 63) out.Put(static_cast<unsigned>(extra - 63), 8);
        }
        for (std::size_t k = i; k < i + best; ++k)
            seen[static_cast<unsigned char>(data[k])].push_back(k);
        i += best;
    }
    return out.Out;
}

std::string SampleText(std::size_t size, unsigned seed) {
    static constexpr std::string_view Words[] = {
        "stone ", "box ",   "bomb ", "grass ", "food ",     "wall ", "Tobbin ",
        "falls ", "rolls ", "digs ", "eats ",  "level\r\n", "game ", "##++--** "};
    std::string text;
    unsigned x = seed * 2654435761u + 1;
    auto next = [&x] { return x = x * 1103515245u + 12345u, (x >> 16) & 0x7fff; };
    while (text.size() < size) {
        const unsigned r = next();
        if (r % 11 == 0 && text.size() > 40) // a repeat from further back
            text += text.substr(next() % (text.size() - 20), 5 + next() % 15);
        else if (r % 13 == 0)
            text += static_cast<char>(next() & 0xff); // noise
        else
            text += Words[r % std::size(Words)];
    }
    text.resize(size);
    return text;
}

} // namespace tb::test
