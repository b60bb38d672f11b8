#include "games/tb_mapset.h"

#include "services/d_checked.h"
#include "services/d_crc.h"
#include "services/d_error.h"
#include "services/d_file.h"
#include "services/d_folders.h"
#include "services/d_messages.h"

#include <ios>
#include <system_error>
#include <utility>

namespace tb {
namespace fs = std::filesystem;

namespace {

int CheckLevel(int level) {
    return CheckedIndex(level, 1, 9, "level outside 1..9");
}

std::size_t Slot(int level) {
    return static_cast<std::size_t>(CheckLevel(level));
}

} // namespace

TMapSet::~TMapSet() = default;

void TMapSet::Init(const std::string& name, const std::string& author, std::uint8_t skill) {
    ClearMaps();
    TGamInfo::Init(name, author, skill);
}

void TMapSet::ClearMaps() {
    while (LevelCount > 0) {
        if (LevelCount <= MaxLevels) Maps[LevelCount].reset();
        DecLevelCount();
    }
    for (auto& map : Maps)
        map.reset();
}

TMap* TMapSet::GetMap(int level) {
    return Maps[Slot(level)].get();
}

const TMap* TMapSet::GetMap(int level) const {
    return Maps[Slot(level)].get();
}

void TMapSet::AddLevel(const std::string& name) {
    if (LevelCount >= MaxLevels) return;
    IncLevelCount();
    Maps[LevelCount] = std::make_unique<TMap>();
    Maps[LevelCount]->SetName(name);
}

void TMapSet::AddLevelCopy(const TMap& map) {
    if (LevelCount >= MaxLevels) return;
    AddLevel("");
    Maps[LevelCount]->Assign(map);
}

void TMapSet::RemoveLevel(int level) {
    if (level == 0) {
        while (LevelCount > 0)
            RemoveLevel(LevelCount);
        return;
    }
    TGamInfo::RemoveLevel(level); // checks that the level exists, lowers LevelCount
    Maps[Slot(level)].reset();
    for (int l = level; l <= LevelCount; ++l)
        Maps[Slot(l)] = std::move(Maps[Slot(l + 1)]);
    Maps[Slot(LevelCount + 1)].reset();
}

void TMapSet::SwapLevels(int a, int b) {
    std::swap(Maps[Slot(a)], Maps[Slot(b)]);
    SwapSolutions(a, b);
}

int TMapSet::BadLevelCount() const {
    int bad = 0;
    for (int level = 1; level <= LevelCount; ++level) {
        const TMap* map = GetMap(level);
        if (!map || !map->IsPlayable()) ++bad;
    }
    return bad;
}

std::uint16_t TMapSet::Checksum() const {
    std::uint16_t c = TGamBase::Checksum();
    for (int level = 1; level <= LevelCount; ++level) {
        const TMap* map = GetMap(level);
        if (!map) throw std::logic_error("a level of the game has no map");
        c = Checksum16Word(c, map->Checksum());
    }
    return c;
}

fs::path TMapSet::FilePath(const TFolders& folders, const std::string& name) {
    return GameFilePath(folders, GameFileName(name, ".tbg"));
}

bool TMapSet::Load(const TFolders& folders, const std::string& name, bool verify) {
    const fs::path path = FilePath(folders, name);
    std::string text;
    try {
        text = ReadWholeFile(path);
    } catch (const std::ios_base::failure&) {
        // Tell the player which game and why, not just that a stream failed.
        std::error_code ec;
        const fs::file_status status = fs::status(path, ec);
        const std::errc reason = !fs::exists(status)        ? std::errc::no_such_file_or_directory
                                 : fs::is_directory(status) ? std::errc::is_a_directory
                                                            : std::errc::permission_denied;
        throw std::ios_base::failure("Cannot open the game \"" + name + "\" (" + path.string() +
                                         ")",
                                     std::make_error_code(reason));
    }
    return LoadText(std::move(text), verify, folders.Renamed);
}

bool TMapSet::LoadText(std::string text, bool verify, const TRenamedGames& renames) {
    TTextReader file(std::move(text));
    try {
        ClearMaps();
        bool newFormat = false;
        std::uint16_t stored = 0;
        const bool renamed = ReadHeader(file, newFormat, stored, renames);
        const int levels = LevelCount;
        ResetLevelCount();
        verify = verify && newFormat; // files older than 3.30 carry no checksum
        for (int i = 0; i < levels; ++i) {
            TMap map;
            if (!map.ReadText(file)) break; // "END" came early
            AddLevelCopy(map);
        }
        std::string end;
        file.ReadLine(end);
        if (verify && Checksum() != stored) throw Error(ErrorMessage(ErrCorruptedGameData));
        return renamed;
    } catch (const Error&) {
        throw;
    } catch (const std::exception&) {
        // Whatever else a damaged file trips over is a read error for the player.
        throw Error(ErrorMessage(ErrReadingGame));
    }
}

std::string TMapSet::SaveText() const {
    TTextWriter file;
    WriteHeader(file, Checksum());
    for (int level = 1; level <= LevelCount; ++level) {
        const TMap* map = GetMap(level);
        if (!map) throw std::logic_error("a level of the game has no map");
        map->WriteText(file);
    }
    file.WriteLine("END");
    return file.Content();
}

void TMapSet::Save(const TFolders& folders) const {
    try {
        // A name without one usable character would give a hidden file ".tbg".
        const std::string fileName = GameFileName(Name, ".tbg");
        if (fileName == ".tbg") throw std::invalid_argument("the game's name gives no file name");
        // The player's own folder: an edited shipped game becomes his copy.
        fs::create_directories(folders.OwnGamesFolder);
        WriteFileAtomic(folders.OwnGamesFolder / fileName, SaveText());
    } catch (const std::exception&) {
        throw Error(ErrorMessage(ErrWritingGame));
    }
}

} // namespace tb
