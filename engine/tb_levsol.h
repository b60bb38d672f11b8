#pragma once
// One recorded solution of one level: the player and the moves, with the
// one-line text form shared by every solution file and the save file:
//   "2B 6 Ann #0|Hills|3UL2D 59949"
// (level digit, skill letter, steps, player|game|, run-length coded moves, checksum).

#include "services/d_folders.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tb {

class TTextReader;
class TTextWriter;

class TLevSol {
public:
    static constexpr std::uint16_t MaxMoves = 4096;
    // A stored step count above this marks a line without moves (a deletion line).
    static constexpr std::uint16_t NoMovesSteps = 10000;

    // capacity 0 means MaxMoves.
    explicit TLevSol(std::uint16_t capacity = 0);

    void SetPlayer(const std::string& name) { Player = name; }
    const std::string& GetPlayer() const { return Player; }
    // Releases the buffer: no moves, no room.
    void Clear();
    // A copy of source with room for MaxMoves moves (fullCapacity) or exactly its moves.
    void Assign(const TLevSol& source, bool fullCapacity);
    // Appends a move; false when the buffer is full.
    bool Add(std::uint8_t move);
    // Move i, 1-based; std::out_of_range outside 1..Steps.
    std::uint8_t GetMove(int i) const;
    // Cuts the solution to its first `steps` moves (never lengthens it).
    void Truncate(std::uint16_t steps);
    std::uint16_t Checksum() const;

    std::uint16_t GetSteps() const { return Steps; }
    std::uint16_t GetCapacity() const { return Capacity; }

    // The moves in the run-length form ("3UL2D").
    std::string MovesText() const;
    // The whole line, without its line end.
    std::string Line(std::string_view game, int level, int skill) const;
    void WriteLine(TTextWriter& file, std::string_view game, int level, int skill) const;

    // Reads the next line of file into this solution. Answers false when verify
    // is set and the checksum does not match, or when there is no line left.
    // Index errors (see ParseLine) are thrown.
    bool ReadLine(TTextReader& file, std::string& game, bool& renamed, bool verify, int& level,
                  int& skill, const TRenamedGames& renames = {});
    // The same on one line of text. A level character below "0", a step count
    // or repeat count above 65535, or more moves than 4096 (or than Capacity)
    // throws std::out_of_range; nothing else is thrown. A line that ends before
    // its second "|", lacks its step count or has an empty player answers false;
    // one without a checksum answers false only when verify is set. Steps
    // becomes the number of moves decoded, and a verified line must state that
    // number (a step count above 10000 is kept and no moves are read). A game
    // name that is an old one of `renames` becomes the new one, and `renamed`
    // tells so.
    bool ParseLine(std::string_view line, std::string& game, bool& renamed, bool verify, int& level,
                   int& skill, const TRenamedGames& renames = {});

private:
    std::uint16_t Steps = 0;
    std::uint16_t Capacity = 0;
    std::string Player;
    std::vector<std::uint8_t> Moves; // Capacity bytes
};

} // namespace tb
