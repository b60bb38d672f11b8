#pragma once
// Text files the way the record files keep them: 8-bit bytes, lines ended by
// CR LF when written, CR LF or LF accepted when read. Files are read whole and
// written whole; a rewrite goes through a temporary file and a rename, so a
// crash or a full disk never leaves a half-written file behind.

#include <filesystem>
#include <string>
#include <string_view>

namespace tb {

// Reads a whole file; throws std::ios_base::failure (with the path) when it
// cannot be opened or read.
std::string ReadWholeFile(const std::filesystem::path& path);

// Writes `content` to `path + ".tmp"`, syncs it to the disk, renames it over
// `path` and syncs the folder, so after a power cut the name points at either
// the old or the new content. Throws std::ios_base::failure when any step
// fails; the old file then stays.
void WriteFileAtomic(const std::filesystem::path& path, std::string_view content);

// Appends whole lines (`content` ends with its line end) to a file, creating it
// when missing (the save file), and syncs it. When the file's last line has no
// line end, CR LF is written first, so the new lines never run on from it.
void AppendLines(const std::filesystem::path& path, std::string_view content);

// The first free backup name beside `file`: "name.bak", then "name.bak1",
// "name.bak2", ... An older backup is never overwritten.
std::filesystem::path FreeBackupName(const std::filesystem::path& file);

// Sequential lines over text held in memory.
class TTextReader {
public:
    TTextReader() = default;
    explicit TTextReader(std::string text) : Text(std::move(text)) {}
    static TTextReader FromFile(const std::filesystem::path& path) {
        return TTextReader(ReadWholeFile(path));
    }

    // True when no more lines follow.
    bool Eof() const { return Pos >= Text.size(); }
    // Reads the next line without its line end; false at the end of the text.
    bool ReadLine(std::string& line);
    // Goes back to the first line.
    void Rewind() { Pos = 0; }
    // Number of lines read so far.
    std::size_t LineNumber() const { return Line; }

private:
    std::string Text;
    std::size_t Pos = 0;
    std::size_t Line = 0;
};

// Collects lines ended by CR LF, for WriteFileAtomic.
class TTextWriter {
public:
    void WriteLine(std::string_view line) {
        Text.append(line);
        Text.append("\r\n");
    }
    const std::string& Content() const { return Text; }

private:
    std::string Text;
};

} // namespace tb
