#pragma once
// Initialisation files: section names in square brackets, then lines of key,
// "=" and value. Sections and keys are found regardless of letter case; texts
// stay the bytes they are in the file. A missing file reads as all keys missing.

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tb {

class TIniFile {
public:
    // Files larger than this are not read (they read as all keys missing).
    static constexpr std::size_t MaxFileSize = 1 << 20;

    TIniFile();
    ~TIniFile();
    TIniFile(TIniFile&&) noexcept;
    TIniFile& operator=(TIniFile&&) noexcept;
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    // Reads a whole file. Never throws: a missing, unreadable or too large file
    // leaves the object empty and answers false.
    bool Load(const std::filesystem::path& file);
    // Reads the file's content from memory (replacing what was held); false
    // (and empty) when the parser fails. Damaged section lines are read as
    // the section they name and lines that carry nothing are left out, so
    // that what is written back reads as the same keys.
    bool LoadText(std::string_view text);
    void Clear();

    bool SectionExists(std::string_view section) const;
    bool KeyExists(std::string_view section, std::string_view key) const;

    // The value of a key, or `fallback` when the key is missing.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view fallback) const;
    // A whole decimal number; a missing key or a value that is not one gives `fallback`.
    long long ReadInteger(std::string_view section, std::string_view key, long long fallback) const;
    // A number: 0 is false, any other true; a missing key or no number gives `fallback`.
    bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

    // Every key of a section with its value, in the order of the file.
    std::vector<std::pair<std::string, std::string>> SectionEntries(std::string_view section) const;

    // Line ends inside a value become blanks, so a value stays one line.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, long long value);
    // Booleans are written as 1 and 0.
    void WriteBool(std::string_view section, std::string_view key, bool value);
    // Removes a section with all its keys.
    void EraseSection(std::string_view section);
    // Removes all keys of a section but keeps the section in its place, so
    // that rewriting it leaves the order of the file as it was.
    void ClearSection(std::string_view section);

    // The whole file as it would be written, lines ended by CR LF.
    std::string Text() const;
    // Writes the file through a temporary file and a rename (WriteFileAtomic);
    // throws std::ios_base::failure when that fails.
    void Save(const std::filesystem::path& file) const;

private:
    struct TImpl;
    std::unique_ptr<TImpl> Impl;
};

} // namespace tb
