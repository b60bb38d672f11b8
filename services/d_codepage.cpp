#include "services/d_codepage.h"

#include "services/d_error.h"

#include <cerrno>
#include <cstdio>
#include <iconv.h>

namespace tb {
namespace {

struct TCharsetCodePage {
    int Charset;
    int CodePage;
};

constexpr TCharsetCodePage CharsetTable[] = {
    {0, 1252},   {238, 1250}, {204, 1251}, {161, 1253},
    {162, 1254}, {177, 1255}, {178, 1256}, {186, 1257},
};

bool KnownCodePage(int codePage) {
    for (const auto& entry : CharsetTable)
        if (entry.CodePage == codePage) return true;
    return false;
}

std::string CodePageName(int codePage) {
    return "CP" + std::to_string(codePage);
}

std::string Hex(unsigned value, int digits) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*X", digits, value);
    return buffer;
}

// The code point of the UTF-8 sequence at the start of `text`, or -1.
long FirstCodePoint(std::string_view text) {
    if (text.empty()) return -1;
    const auto lead = static_cast<unsigned char>(text[0]);
    int length = 0;
    long code = 0;
    if (lead < 0x80) return lead;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        code = lead & 0x07;
    } else {
        return -1;
    }
    if (text.size() < static_cast<std::size_t>(length)) return -1;
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[static_cast<std::size_t>(i)]);
        if ((next & 0xC0) != 0x80) return -1;
        code = (code << 6) | (next & 0x3F);
    }
    return code;
}

// One conversion through iconv. On a character that cannot be converted,
// answers false and the offset of that character in `input`.
class TConverter {
public:
    TConverter(const std::string& to, const std::string& from)
        : Handle(iconv_open(to.c_str(), from.c_str())) {
        if (Handle == reinterpret_cast<iconv_t>(-1))
            throw Error("The text conversion from " + from + " to " + to + " is not available");
    }
    ~TConverter() { iconv_close(Handle); }
    TConverter(const TConverter&) = delete;
    TConverter& operator=(const TConverter&) = delete;

    bool Convert(std::string_view input, std::string& output, std::size_t& failedAt) {
        output.clear();
        std::string buffer(input.size() * 4 + 16, '\0');
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        std::size_t written = 0;
        for (;;) {
            char* out = buffer.data() + written;
            std::size_t outLeft = buffer.size() - written;
            const bool flushing = inLeft == 0;
            const std::size_t rc = flushing ? iconv(Handle, nullptr, nullptr, &out, &outLeft)
                                            : iconv(Handle, &in, &inLeft, &out, &outLeft);
            const int error = errno;
            written = buffer.size() - outLeft;
            if (rc != static_cast<std::size_t>(-1)) {
                if (flushing) break;
                continue; // all input taken: flush any held state next
            }
            if (error == E2BIG) {
                buffer.resize(buffer.size() * 2);
                continue;
            }
            // EILSEQ: no such character; EINVAL: a sequence cut off at the end.
            failedAt = input.size() - inLeft;
            return false;
        }
        buffer.resize(written);
        output = std::move(buffer);
        return true;
    }

private:
    iconv_t Handle;
};

} // namespace

int CodePageOfCharset(int charset) {
    for (const auto& entry : CharsetTable)
        if (entry.Charset == charset) return entry.CodePage;
    return 1252;
}

TCodePage::TCodePage(int codePage) : CodePage(codePage) {
    if (!KnownCodePage(codePage))
        throw Error("Code page " + std::to_string(codePage) + " is not supported");
}

std::string TCodePage::ToUtf8(std::string_view bytes) const {
    TConverter converter("UTF-8", CodePageName(CodePage));
    std::string result;
    std::size_t failedAt = 0;
    if (!converter.Convert(bytes, result, failedAt)) {
        const auto byte = static_cast<unsigned char>(bytes[failedAt]);
        throw Error("The byte 0x" + Hex(byte, 2) + " at position " + std::to_string(failedAt) +
                    " stands for no character in code page " + std::to_string(CodePage));
    }
    return result;
}

std::string TCodePage::FromUtf8(std::string_view utf8) const {
    TConverter converter(CodePageName(CodePage), "UTF-8");
    std::string result;
    std::size_t failedAt = 0;
    if (!converter.Convert(utf8, result, failedAt)) {
        const long code = FirstCodePoint(utf8.substr(failedAt));
        if (code < 0)
            throw Error("The text is not valid UTF-8 at position " + std::to_string(failedAt));
        const std::size_t length = code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
        throw Error("The character \"" + std::string(utf8.substr(failedAt, length)) + "\" (U+" +
                    Hex(static_cast<unsigned>(code), 4) + ") cannot be written in code page " +
                    std::to_string(CodePage));
    }
    return result;
}

bool TCodePage::CanDecode(std::string_view bytes) const {
    TConverter converter("UTF-8", CodePageName(CodePage));
    std::string ignored;
    std::size_t failedAt = 0;
    return converter.Convert(bytes, ignored, failedAt);
}

} // namespace tb
