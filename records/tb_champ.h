#pragma once
// One row of the hall of champions: a player (stored name; the empty name
// collects the levels nobody has solved) with the best solutions he holds.

#include <cstdint>
#include <string>

namespace tb {

class TChamp {
public:
    explicit TChamp(std::string name = {}) : Name(std::move(name)) {}

    // One more level whose best solution he holds; fresh: it is still unconfirmed.
    void AddLevel(std::uint8_t skill, bool fresh);
    // One more game all of whose levels he holds: levels x skill points more.
    void AddGame(std::uint8_t levels, std::uint8_t skill);
    // All counters back to 0; the name stays.
    void Clear();

    std::string Name;
    std::uint16_t Levels = 0;
    std::uint16_t Games = 0;
    std::uint16_t Points = 0;
    std::uint8_t HasFresh = 0;
};

} // namespace tb
