#include "records/tb_champ.h"

#include "services/d_checked.h"

namespace tb {

void TChamp::AddLevel(std::uint8_t skill, bool fresh) {
    Levels = CheckedAdd<std::uint16_t>(Levels, 1);
    Points = CheckedAdd<std::uint16_t>(Points, skill);
    if (fresh) HasFresh = 1;
}

void TChamp::AddGame(std::uint8_t levels, std::uint8_t skill) {
    Games = CheckedAdd<std::uint16_t>(Games, 1);
    Points = CheckedAdd<std::uint16_t>(Points, levels * skill);
}

void TChamp::Clear() {
    Levels = 0;
    Games = 0;
    Points = 0;
    HasFresh = 0;
}

} // namespace tb
