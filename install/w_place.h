#pragma once
// What each install command brings in, and where each member of its archive
// goes. An archive is for one kind of file: a games archive writes game files
// into the games folder, a language archive language files into the
// languages folder, a graphics archive tile sets and skins into their
// folders, a sounds archive sound sets into theirs, and a solutions archive
// only import files beside the records, which merge them at the next start.
// Every other member is refused, so that an archive can never replace the
// program, the settings, the records or anything else of the player's.

#include "install/w_unzip.h"
#include "services/d_folders.h"

#include <filesystem>
#include <optional>
#include <string_view>

namespace tb {

enum class TArchiveKind { Games, Sprites, Sounds, Solutions, Languages };

// The archive name pattern of an install command (w_unpack.h).
std::string_view ArchivePattern(TArchiveKind kind);
// The kind whose pattern is `pattern`; nothing for any other text.
std::optional<TArchiveKind> ArchiveKindOf(std::string_view pattern);

// Where a member of an archive of `kind` goes, from its safe relative path
// (MemberPath) and whether it is a folder entry. The folders are the player's
// own of `folders` (OwnGamesFolder, OwnContent), so that an installed copy
// writes into his folder and never below its read-only data:
//   Games      "[any/]NAME.tbg"                     OwnGamesFolder / NAME.tbg
//   Languages  "[any/]NAME.tlg"                     his tlg / NAME.tlg
//   Sprites    "[any/]SIZE/SET/NAME.bmp"            his img / SIZE / SET / NAME.bmp
//              "[any/]skins/SKIN/NAME.jpg"          his img / skins / SKIN / NAME.jpg
//   Sounds     "[any/]SET/NAME.wav"                 his wav / SET / NAME.wav
//   Solutions  "[any/]NAME.sox" or "[any/]NAME.sol" SettingsFolder / NAME.sox, under a
//                                                   free name: a waiting import file is kept
// SIZE is "Small", "Medium", "Large" or "Huge"; pictures are ".bmp", ".jpg",
// ".jpeg" or ".png"; letter case is ignored. A name part that starts with "."
// is refused. Folder entries are passed over (the folders of the files are
// made as they are written).
TMemberPlace PlaceMember(const TFolders& folders, TArchiveKind kind,
                         const std::filesystem::path& relative, bool isFolder);

// The placer of UnpackArchive for an archive of `kind`.
TMemberPlacer PlacerFor(const TFolders& folders, TArchiveKind kind);

} // namespace tb
