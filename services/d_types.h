#pragma once
// Small types and constants shared by the whole program.

#include <cstdint>
#include <string_view>

namespace tb {

// The program's version text, written into every version line ("Version 3.54 #0").
inline constexpr std::string_view ProgramVersion = "3.54";
// The same version as the number readers compare with their thresholds.
inline constexpr int ProgramVersionNumber = 354;

// Identifies this installation; follows " #" in version lines and stored player names.
// Nothing chooses another number yet, so every installation is number 0.
inline constexpr std::uint16_t InstallationNumber = 0;

} // namespace tb
