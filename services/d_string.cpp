#include "services/d_string.h"

#include <charconv>

namespace tb {
namespace {

bool IsLatinLetter(unsigned char c) {
    return (c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0xE0 && c <= 0xFE && c != 0xF7);
}

bool IsSeparator(char c) {
    return c == ' ' || c == '&' || c == '-' || c == '.';
}

} // namespace

std::string Trim(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 32)
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32)
        --end;
    return std::string(text.substr(begin, end - begin));
}

char UpperChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 'a' && u <= 'z') return static_cast<char>(u - 32);
    if (IsLatinLetter(u) && u >= 0xE0) return static_cast<char>(u - 32);
    return c;
}

char LowerChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 'A' && u <= 'Z') return static_cast<char>(u + 32);
    if (IsLatinLetter(u) && u <= 0xDE) return static_cast<char>(u + 32);
    return c;
}

std::string UpperCase(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = UpperChar(c);
    return result;
}

int CompareNoCase(std::string_view a, std::string_view b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(UpperChar(a[i]));
        const auto cb = static_cast<unsigned char>(UpperChar(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::string NormaliseName(std::string_view text) {
    std::string s = Trim(text);
    if (s.empty()) return s;
    // Walk from the last character down to the first; `rightIsSeparator` tells
    // about the character just visited, to the right of the current one.
    bool rightIsSeparator = false;
    for (std::size_t i = s.size(); i-- > 0;) {
        const bool separator = IsSeparator(s[i]);
        const bool hasRight = i + 1 < s.size();
        if (separator && rightIsSeparator && !(s[i] == '.' && s[i + 1] == ' ')) {
            // A run of separators keeps only its last one ("a -b" gives "A-B"),
            // but an abbreviation's point stays before its blank ("St. Louis").
            s.erase(i, 1);
        } else if (separator) {
            if (hasRight) s[i + 1] = UpperChar(s[i + 1]);
        } else if (hasRight) {
            s[i + 1] = LowerChar(s[i + 1]);
        }
        rightIsSeparator = separator;
    }
    s[0] = UpperChar(s[0]);
    return s;
}

void FillPlaceholder(std::string_view value, std::string& text) {
    const std::size_t at = text.find('@');
    if (at != std::string::npos) text.replace(at, 1, value);
}

void FillPlaceholder(long long value, std::string& text) {
    FillPlaceholder(std::to_string(value), text);
}

bool ParseInt(std::string_view text, long long& value) {
    if (text.empty()) return false;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (*first == '+') ++first;
    const auto [ptr, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && ptr == last && first != last;
}

std::string CutBeforeNumber(std::string_view name) {
    return std::string(name.substr(0, name.find(" #")));
}

} // namespace tb
