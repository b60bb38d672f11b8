#include "records/tb_author.h"

#include "services/d_checked.h"

namespace tb {

void TAuthor::AddGame(std::uint8_t levels) {
    Games = CheckedAdd<std::uint16_t>(Games, 1);
    Levels = CheckedAdd<std::uint16_t>(Levels, levels);
}

void TAuthor::Clear() {
    Levels = 0;
    Games = 0;
}

} // namespace tb
