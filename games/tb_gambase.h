#pragma once
// The header of a game: name, author, skill rating, flags, level count and the
// version of the file it was read from.

#include "services/d_folders.h"

#include <cstdint>
#include <string>

namespace tb {

class TTextReader;
class TTextWriter;

// Flag numbers of a game.
enum TGameFlag : std::uint8_t {
    ReadOnly = 0, // "O" in the file: the editor refuses to change the game
};

class TGamBase {
public:
    static constexpr std::uint8_t MaxLevels = 9;

    TGamBase() = default;
    TGamBase(const TGamBase&) = delete;
    TGamBase& operator=(const TGamBase&) = delete;
    virtual ~TGamBase() = default;

    // Counting levels past 255 or below 0 throws std::overflow_error.
    virtual void IncLevelCount();
    virtual TGamBase& DecLevelCount();

    // Sets name, author and skill; clears the flags and the level count.
    void Init(const std::string& name, const std::string& author, std::uint8_t skill);
    void ResetLevelCount() { LevelCount = 0; }
    // Flag numbers above 7 answer false / change nothing.
    bool HasFlag(std::uint8_t flag) const;
    bool SetFlag(std::uint8_t flag, bool on);
    // Copies name, level count, skill, flags and author.
    void Assign(const TGamBase& source);
    // Checksum16 over flags, level count, skill, author and name.
    std::uint16_t Checksum() const;

    // Lines 1 to 4 of a game file (version, stars and name, author, checksum and
    // level count). A name that is an old one of `renames` becomes the new one;
    // answers whether it was.
    bool ReadHeader(TTextReader& file, bool& newFormat, std::uint16_t& storedChecksum,
                    const TRenamedGames& renames = {});
    void WriteHeader(TTextWriter& file, std::uint16_t checksum) const;

    std::uint8_t GetLevelCount() const { return LevelCount; }
    std::uint8_t GetFlags() const { return Flags; }

    std::string Author;
    std::string Name;
    std::uint8_t Skill = 0;    // 0..4
    std::uint16_t Version = 0; // of the file the header was read from

protected:
    std::uint8_t Flags = 0;
    std::uint8_t LevelCount = 0;
};

} // namespace tb
