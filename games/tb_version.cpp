#include "games/tb_version.h"

#include "services/d_file.h"
#include "services/d_string.h"
#include "services/d_types.h"

#include <stdexcept>
#include <string_view>

namespace tb {

namespace {

// A number made of the text's digits only; a damaged version line is no version line.
int VersionNumber(std::string_view text, const char* what) {
    long long value = 0;
    if (text.empty() || text.front() == '-' || text.front() == '+' || !ParseInt(text, value) ||
        value > 0xFFFF)
        throw std::invalid_argument(what);
    return static_cast<int>(value);
}

} // namespace

TVersionLine ReadVersionLine(TTextReader& file) {
    TVersionLine result;
    file.Rewind();
    std::string line;
    if (!file.ReadLine(line) || line.rfind("Version", 0) != 0) {
        // No version line: the first line is data and is read again.
        file.Rewind();
        return result;
    }
    // "Version 3.54 #7": drop "Version ", then the point of the version text.
    std::string rest = line.size() > 8 ? line.substr(8) : std::string();
    if (rest.size() > 1) rest.erase(1, 1);
    result.Version = VersionNumber(std::string_view(rest).substr(0, 3), "damaged version line");
    const std::size_t hash = rest.find('#');
    if (hash != std::string::npos)
        result.Installation =
            VersionNumber(Trim(std::string_view(rest).substr(hash + 1)), "damaged version line");
    return result;
}

std::string VersionLine() {
    return "Version " + std::string(ProgramVersion) + " #" + std::to_string(InstallationNumber);
}

} // namespace tb
