#pragma once
// A game file in memory: the header, the best solutions and the level maps.
// A game named N lives in GamesFolder / GameFileName(N, ".tbg") (or the player's
// own games folder: GameFilePath) of the folders it is given.

#include "engine/tb_map.h"
#include "games/tb_gaminfo.h"

#include <array>
#include <filesystem>
#include <memory>

namespace tb {

struct TFolders;

class TMapSet : public TGamInfo {
public:
    TMapSet() = default;
    ~TMapSet() override;

    // Removes all maps, then TGamInfo::Init (which deletes all solutions).
    void Init(const std::string& name, const std::string& author, std::uint8_t skill);
    // Frees every map, LevelCount ends at 0; the solutions stay.
    void ClearMaps();
    // level 1..9 (std::out_of_range otherwise); nullptr for an empty slot.
    TMap* GetMap(int level);
    const TMap* GetMap(int level) const;
    // A new empty level (nothing with 9 levels).
    void AddLevel(const std::string& name);
    void AddLevelCopy(const TMap& map);
    // Level 0 removes every level.
    void RemoveLevel(int level);
    void SwapLevels(int a, int b);
    // Levels whose map is not playable.
    int BadLevelCount() const;
    // The header checksum continued over every level's map checksum.
    std::uint16_t Checksum() const;

    // The file of a game name.
    static std::filesystem::path FilePath(const TFolders& folders, const std::string& name);
    // Reads the game file; answers whether the header named an old name.
    // Errors: std::ios_base::failure naming the game and the reason when the file
    // cannot be opened, Error("Corrupted game data") on a checksum mismatch when
    // verifying, Error("Error reading game from disk") for any other damage.
    bool Load(const TFolders& folders, const std::string& name, bool verify);
    // Reads a game from text already in memory (the tools and tests use it);
    // `renames` as for ReadHeader.
    bool LoadText(std::string text, bool verify, const TRenamedGames& renames = {});
    // Writes the whole file into the player's own games folder;
    // Error("Error writing game to disk") on failure.
    void Save(const TFolders& folders) const;
    // The file's whole text.
    std::string SaveText() const;

protected:
    std::array<std::unique_ptr<TMap>, 10> Maps; // [1..9]
};

} // namespace tb
