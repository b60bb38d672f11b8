#include "services/d_file.h"

#include <cstdio>
#include <fstream>
#include <ios>
#include <system_error>

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

void WriteFileAtomic(const fs::path& path, std::string_view content) {
    fs::path temp = path;
    temp += ".tmp";
    {
        std::FILE* f = std::fopen(temp.c_str(), "wb");
        if (!f) Fail("Cannot create file", temp);
        const bool written = std::fwrite(content.data(), 1, content.size(), f) == content.size();
        const bool flushed = std::fflush(f) == 0;
        const bool closed = std::fclose(f) == 0;
        if (!written || !flushed || !closed) {
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
}

void AppendToFile(const fs::path& path, std::string_view content) {
    std::FILE* f = std::fopen(path.c_str(), "ab");
    if (!f) Fail("Cannot open file", path);
    const bool written = std::fwrite(content.data(), 1, content.size(), f) == content.size();
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed) Fail("Cannot write file", path);
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
