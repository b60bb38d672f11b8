#pragma once
// Small helpers shared by the record files: finding files by extension in a
// folder, and keeping a copy of a record file that could not be read whole
// before it is rewritten.

#include "services/d_file.h" // FreeBackupName
#include "services/d_folders.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tb {

// The regular files of `folder` whose extension is `extension` (".tbg"; letter
// case ignored), sorted by file name so that every run sees the same order.
// Hidden files (a leading ".") are left out. A missing folder gives no files.
std::vector<std::filesystem::path> ListFiles(const std::filesystem::path& folder,
                                             std::string_view extension);

// Every game file (".tbg"), the player's own hiding shipped ones of the same
// file name; in name order.
std::vector<std::filesystem::path> ListGameFiles(const TFolders& folders);
// The files of shipped solutions ("*.sox" in the data folder) that the records
// merge on a player's first start when the data folder is not his (in a
// build the import files lie in the settings folder and are merged there).
std::vector<std::filesystem::path> ShippedSolutionFiles(const TFolders& folders);

// Copies `file` whole to its first free backup name and answers that name.
// Nothing happens (and an empty path is answered) when the file does not exist.
// Throws std::ios_base::failure when the copy cannot be made; the caller then
// must not rewrite the file.
std::filesystem::path KeepBackup(const std::filesystem::path& file);

// Reads a record file whole. Answers nothing when the file does not exist.
// A file that exists but cannot be read, or that ends inside a line (every line
// is written with its line end, so it was cut off), sets `damaged`: its next
// rewrite must first keep a copy (KeepBackup), which fails, leaving the file
// alone, while the file stays unreadable. An unreadable file answers nothing.
std::optional<std::string> ReadRecordFile(const std::filesystem::path& file, bool& damaged);

} // namespace tb
