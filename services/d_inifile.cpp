#include "services/d_inifile.h"

#include "services/d_file.h"
#include "services/d_string.h"

// Texts stay the bytes of the file: no wide-character conversion. The
// template's members are compiled here (header only, no library to link).
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <list>
#include <system_error>

namespace tb {
namespace fs = std::filesystem;

struct TIniFile::TImpl {
    CSimpleIniA Ini{false, false, false}; // plain bytes, one value per key, one line per value
    TImpl() { Ini.SetSpaces(false); }     // "key=value"
};

namespace {

// SimpleIni wants terminated strings.
std::string Z(std::string_view text) {
    return std::string(text);
}

std::string OneLine(std::string_view value) {
    std::string line(value);
    for (char& c : line)
        if (c == '\r' || c == '\n' || c == '\0') c = ' ';
    return line;
}

// The file's lines as the parser may safely take them: a section line is
// "[" name "]" with the name trimmed, also when its closing bracket is missing
// or followed by more (the parser would otherwise run on into the next lines
// looking for a "]", and every write would add a line); lines that are neither
// a section, a key with "=", a comment nor blank carry nothing and go.
std::string TidyLines(std::string_view text) {
    std::string tidy;
    tidy.reserve(text.size() + 64);
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        std::string clean;
        for (char c : line)
            if (c != '\r' && c != '\0') clean += c;
        const std::string trimmed = Trim(clean);
        if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#') {
            tidy += clean;
        } else if (trimmed.front() == '[') {
            const std::string_view name = std::string_view(trimmed).substr(1);
            // Appended piece by piece: GCC 12 at -O3 warns (-Wrestrict) on "[" + string.
            tidy += '[';
            tidy += Trim(name.substr(0, name.find(']')));
            tidy += ']';
        } else if (trimmed.find('=') != std::string::npos) {
            tidy += clean;
        } else {
            continue;
        }
        tidy += "\r\n";
    }
    return tidy;
}

} // namespace

TIniFile::TIniFile() : Impl(std::make_unique<TImpl>()) {}
TIniFile::~TIniFile() = default;
TIniFile::TIniFile(TIniFile&&) noexcept = default;
TIniFile& TIniFile::operator=(TIniFile&&) noexcept = default;

bool TIniFile::Load(const fs::path& file) {
    Clear();
    std::error_code ec;
    const auto size = fs::file_size(file, ec);
    if (ec || size > MaxFileSize) return false;
    try {
        return LoadText(ReadWholeFile(file));
    } catch (const std::exception&) {
        Clear();
        return false;
    }
}

bool TIniFile::LoadText(std::string_view text) {
    Clear();
    if (text.empty()) return true;
    const std::string tidy = TidyLines(text);
    if (Impl->Ini.LoadData(tidy.data(), tidy.size()) >= 0) return true;
    Clear();
    return false;
}

void TIniFile::Clear() {
    Impl->Ini.Reset();
}

bool TIniFile::SectionExists(std::string_view section) const {
    return Impl->Ini.GetSection(Z(section).c_str()) != nullptr;
}

bool TIniFile::KeyExists(std::string_view section, std::string_view key) const {
    return Impl->Ini.GetValue(Z(section).c_str(), Z(key).c_str(), nullptr) != nullptr;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view fallback) const {
    const char* value = Impl->Ini.GetValue(Z(section).c_str(), Z(key).c_str(), nullptr);
    return value ? std::string(value) : std::string(fallback);
}

long long TIniFile::ReadInteger(std::string_view section, std::string_view key,
                                long long fallback) const {
    const char* value = Impl->Ini.GetValue(Z(section).c_str(), Z(key).c_str(), nullptr);
    long long number = 0;
    if (value && ParseInt(Trim(value), number)) return number;
    return fallback;
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

std::vector<std::pair<std::string, std::string>>
TIniFile::SectionEntries(std::string_view section) const {
    std::vector<std::pair<std::string, std::string>> entries;
    const std::string name = Z(section);
    std::list<CSimpleIniA::Entry> keys;
    Impl->Ini.GetAllKeys(name.c_str(), keys);
    keys.sort(CSimpleIniA::Entry::LoadOrder());
    for (const CSimpleIniA::Entry& key : keys) {
        const char* value = Impl->Ini.GetValue(name.c_str(), key.pItem, nullptr);
        entries.emplace_back(key.pItem, value ? value : "");
    }
    return entries;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    Impl->Ini.SetValue(OneLine(section).c_str(), OneLine(key).c_str(), OneLine(value).c_str());
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, long long value) {
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void TIniFile::EraseSection(std::string_view section) {
    Impl->Ini.Delete(Z(section).c_str(), nullptr);
}

void TIniFile::ClearSection(std::string_view section) {
    const std::string name = Z(section);
    std::list<CSimpleIniA::Entry> keys;
    Impl->Ini.GetAllKeys(name.c_str(), keys);
    for (const CSimpleIniA::Entry& key : keys) {
        const std::string item = key.pItem; // the entry goes with its key
        Impl->Ini.Delete(name.c_str(), item.c_str(), false);
    }
}

std::string TIniFile::Text() const {
    std::string saved;
    Impl->Ini.Save(saved, false);
    std::string text;
    text.reserve(saved.size() + saved.size() / 16);
    for (char c : saved) {
        if (c == '\r') continue;
        if (c == '\n') {
            // One blank line between sections is enough.
            if (text.size() >= 4 && text.compare(text.size() - 4, 4, "\r\n\r\n") == 0) continue;
            text += '\r';
        }
        text += c;
    }
    return text;
}

void TIniFile::Save(const fs::path& file) const {
    WriteFileAtomic(file, Text());
}

} // namespace tb
