#include "games/tb_gambase.h"

#include "games/tb_version.h"
#include "services/d_checked.h"
#include "services/d_crc.h"
#include "services/d_error.h"
#include "services/d_file.h"
#include "services/d_folders.h"
#include "services/d_messages.h"

#include <stdexcept>

namespace tb {

namespace {

// Files written before this version carry no checksums.
constexpr int ChecksumVersion = 330;
constexpr std::uint8_t MaxSkill = 4;

[[noreturn]] void HeaderDamaged() {
    throw Error(ErrorMessage(ErrReadingGame));
}

std::string NextHeaderLine(TTextReader& file) {
    std::string line;
    if (!file.ReadLine(line)) HeaderDamaged();
    return line;
}

} // namespace

void TGamBase::IncLevelCount() {
    LevelCount = CheckedAdd<std::uint8_t>(LevelCount, 1);
}

TGamBase& TGamBase::DecLevelCount() {
    LevelCount = CheckedSub<std::uint8_t>(LevelCount, 1);
    return *this;
}

void TGamBase::Init(const std::string& name, const std::string& author, std::uint8_t skill) {
    CheckedIndex<std::uint8_t>(skill, 0, MaxSkill, "skill outside 0..4");
    Name = name;
    Author = author;
    Skill = skill;
    Flags = 0;
    LevelCount = 0;
}

bool TGamBase::HasFlag(std::uint8_t flag) const {
    return flag <= 7 && (Flags >> flag & 1) != 0;
}

bool TGamBase::SetFlag(std::uint8_t flag, bool on) {
    if (flag > 7 || HasFlag(flag) == on) return false;
    Flags = static_cast<std::uint8_t>(Flags ^ (1u << flag));
    return true;
}

void TGamBase::Assign(const TGamBase& source) {
    Name = source.Name;
    LevelCount = source.LevelCount;
    Skill = source.Skill;
    Flags = source.Flags;
    Author = source.Author;
}

std::uint16_t TGamBase::Checksum() const {
    // An empty author or name adds no bytes: the value is that of the fields before it.
    const std::uint8_t head[3] = {Flags, LevelCount, Skill};
    std::uint16_t c = Checksum16(0, head, sizeof head);
    c = Checksum16(c, Author);
    return Checksum16(c, Name);
}

bool TGamBase::ReadHeader(TTextReader& file, bool& newFormat, std::uint16_t& storedChecksum,
                          const TRenamedGames& renames) {
    // Line 1: the version line (absent in the oldest files).
    TVersionLine version;
    try {
        version = ReadVersionLine(file);
    } catch (const std::invalid_argument&) {
        HeaderDamaged();
    }
    Version = static_cast<std::uint16_t>(version.Version);
    newFormat = Version >= ChecksumVersion;
    Flags = 0;

    // Line 2: up to four counted stars (any more are dropped), blanks, the name.
    const std::string line2 = NextHeaderLine(file);
    std::size_t pos = 0;
    std::uint8_t stars = 0;
    for (; pos < line2.size() && line2[pos] == '*'; ++pos)
        if (stars < MaxSkill) ++stars;
    while (pos < line2.size() && line2[pos] == ' ')
        ++pos;
    if (pos >= line2.size()) HeaderDamaged();
    Skill = stars;
    std::string name = line2.substr(pos);
    const bool renamed = renames.Lookup(name);
    Name = std::move(name);

    // Line 3: the author as it stands.
    Author = NextHeaderLine(file);

    // Line 4: checksum, a blank, the level count digit, "O" when read-only.
    const std::string line4 = NextHeaderLine(file);
    pos = 0;
    while (pos < line4.size() && line4[pos] == ' ')
        ++pos;
    const std::size_t digits = pos;
    unsigned long checksum = 0;
    while (pos < line4.size() && line4[pos] >= '0' && line4[pos] <= '9') {
        checksum = checksum * 10 + static_cast<unsigned long>(line4[pos] - '0');
        if (checksum > 0xFFFF) HeaderDamaged();
        ++pos;
    }
    if (pos == digits) HeaderDamaged();
    const std::string_view rest = std::string_view(line4).substr(pos);
    if (rest.size() < 2 || rest[1] < '0' || rest[1] > '0' + MaxLevels) HeaderDamaged();
    storedChecksum = static_cast<std::uint16_t>(checksum);
    LevelCount = static_cast<std::uint8_t>(rest[1] - '0');
    if (rest.find('O') != std::string_view::npos) SetFlag(ReadOnly, true);
    return renamed;
}

void TGamBase::WriteHeader(TTextWriter& file, std::uint16_t checksum) const {
    CheckedIndex<std::uint8_t>(LevelCount, 0, MaxLevels, "more than 9 levels");
    file.WriteLine(VersionLine());
    file.WriteLine(Skill > 0 ? std::string(Skill, '*') + ' ' + Name : Name);
    file.WriteLine(Author);
    std::string line4 = std::to_string(checksum) + ' ' + static_cast<char>('0' + LevelCount);
    if (HasFlag(ReadOnly)) line4 += 'O';
    file.WriteLine(line4);
}

} // namespace tb
