#pragma once
// Helpers shared by the tests: temporary folders and small file utilities.

#include "services/d_folders.h"

#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace tb::test {

// A fresh folder below the system's temporary folder, removed with the object.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& Path() const { return Root; }
    std::filesystem::path operator/(const std::string& name) const { return Root / name; }

private:
    std::filesystem::path Root;
};

// A temporary program folder with tbg/, tlg/, img/ laid out. Layout() is its
// folders, to hand to the records and games.
class TempProgramFolder : public TempFolder {
public:
    TempProgramFolder();
    ~TempProgramFolder();
    const TFolders& Layout() const { return Folders; }

private:
    TFolders Folders;
    const TempProgramFolder* Outer; // the one that was newest before this
};

// The folders of the newest TempProgramFolder still alive: what the small
// file helpers of the tests (write a game, name a record file) work in.
const TFolders& Layout();

// The 20-line text form of a level whose first rows are given (the rest empty), CR LF ends.
std::string LevelText(const std::vector<std::string>& rows, const std::string& name = "Test");

void WriteFile(const std::filesystem::path& path, const std::string& content);
std::string ReadFile(const std::filesystem::path& path);
// The lines of a text, without their line ends (CR LF or LF).
std::vector<std::string> Lines(const std::string& text);
// A damaged copy of `original`, as the readers of the program's files must
// survive: cut off, a few bits flipped, bytes thrown in, or a stretch
// overwritten with noise. A cut-off copy is a prefix of the original.
std::string Damage(const std::string& original, std::mt19937& random);

} // namespace tb::test
