#pragma once
// One row of the authors table: the games and levels an author contributed.

#include <cstdint>
#include <string>

namespace tb {

class TAuthor {
public:
    explicit TAuthor(std::string name = {}) : Name(std::move(name)) {}

    // One more game of that many levels.
    void AddGame(std::uint8_t levels);
    void Clear();

    std::string Name; // as written in the game files
    std::uint16_t Levels = 0;
    std::uint16_t Games = 0;
};

} // namespace tb
