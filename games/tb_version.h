#pragma once
// The version line that opens game files, the solutions file and the hall-of-fame
// file: "Version 3.54 #0" (version text, installation number).

#include <cstdint>
#include <string>

namespace tb {

class TTextReader;

struct TVersionLine {
    int Version = 0;      // "3.54" gives 354; 0 when the file has no version line
    int Installation = 0; // the number after "#", 0 when there is none
};

// Reads the first line; when it does not begin with "Version" the reader is
// rewound so that the line is read again as data, and both numbers are 0.
// A line that begins with "Version" but holds no readable version or
// installation number throws std::invalid_argument.
TVersionLine ReadVersionLine(TTextReader& file);

// This program's version line: "Version " + ProgramVersion + " #" + InstallationNumber.
std::string VersionLine();

} // namespace tb
