#include "engine/tb_levsol.h"

#include "services/d_checked.h"
#include "services/d_crc.h"
#include "services/d_file.h"
#include "services/d_folders.h"

#include <algorithm>
#include <stdexcept>

namespace tb {

namespace {

constexpr std::string_view MoveLetters = "UDLR";

// A step count above NoMovesSteps marks a solution that holds no moves at all.
std::uint16_t HeldMoves(std::uint16_t steps) {
    return steps > TLevSol::NoMovesSteps ? 0 : steps;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads a decimal number at pos after skipping blanks; false when no digit
// follows. The value is capped just above `limit` so that long digit runs
// cannot overflow; the caller decides what a value above the limit means.
bool ReadNumber(std::string_view line, std::size_t& pos, unsigned long limit,
                unsigned long& value) {
    while (pos < line.size() && IsBlank(line[pos]))
        ++pos;
    if (pos >= line.size() || !IsDigit(line[pos])) return false;
    value = 0;
    while (pos < line.size() && IsDigit(line[pos])) {
        value = std::min(value * 10 + static_cast<unsigned long>(line[pos] - '0'), limit + 1);
        ++pos;
    }
    return true;
}

} // namespace

TLevSol::TLevSol(std::uint16_t capacity)
    : Capacity(capacity == 0 ? MaxMoves : capacity), Moves(Capacity) {
    if (capacity > MaxMoves) throw std::out_of_range("solution capacity above 4096 moves");
}

void TLevSol::Clear() {
    Moves.clear();
    Moves.shrink_to_fit();
    Steps = 0;
    Capacity = 0;
}

void TLevSol::Assign(const TLevSol& source, bool fullCapacity) {
    // Built aside first, so that assigning a solution to itself keeps its moves.
    const std::uint16_t held = HeldMoves(source.Steps);
    const std::uint16_t capacity = fullCapacity ? MaxMoves : held;
    std::vector<std::uint8_t> moves(capacity);
    std::copy_n(source.Moves.begin(), held, moves.begin());
    std::string player = source.Player;
    const std::uint16_t steps = source.Steps;
    Clear();
    Capacity = capacity;
    Moves = std::move(moves);
    Player = std::move(player);
    Steps = steps;
}

bool TLevSol::Add(std::uint8_t move) {
    if (move >= MoveLetters.size()) throw std::out_of_range("a move is a direction 0..3");
    if (Steps >= Capacity) return false;
    Moves[Steps] = move;
    ++Steps;
    return true;
}

std::uint8_t TLevSol::GetMove(int i) const {
    CheckedIndex<int>(i, 1, HeldMoves(Steps), "move number outside the solution");
    return Moves[static_cast<std::size_t>(i - 1)];
}

void TLevSol::Truncate(std::uint16_t steps) {
    if (steps >= Steps) return;
    // A solution without moves cannot be cut into moves it never had.
    Steps =
        (Steps > NoMovesSteps && steps > NoMovesSteps) ? steps : std::min(steps, HeldMoves(Steps));
}

std::uint16_t TLevSol::Checksum() const {
    std::uint16_t c = Checksum16Word(0, Steps);
    c = Checksum16(c, Player);
    return Checksum16(c, Moves.data(), HeldMoves(Steps));
}

std::string TLevSol::MovesText() const {
    std::string text;
    const std::uint16_t held = HeldMoves(Steps);
    for (std::size_t i = 0; i < held;) {
        std::size_t run = 1;
        while (i + run < held && Moves[i + run] == Moves[i])
            ++run;
        if (run > 1) text += std::to_string(run);
        text += MoveLetters[Moves[i]];
        i += run;
    }
    return text;
}

std::string TLevSol::Line(std::string_view game, int level, int skill) const {
    // Any level a line can carry is written back as it came (one character).
    CheckedIndex(level, 0, 255 - '0', "level outside a solution line");
    CheckedIndex(skill, 0, 4, "skill outside 0..4");
    std::string line;
    line += static_cast<char>('0' + level);
    line += static_cast<char>('@' + skill);
    line += ' ';
    line += std::to_string(Steps);
    line += ' ';
    line += Player;
    line += '|';
    line += game;
    line += '|';
    line += MovesText();
    line += ' ';
    line += std::to_string(Checksum());
    return line;
}

void TLevSol::WriteLine(TTextWriter& file, std::string_view game, int level, int skill) const {
    file.WriteLine(Line(game, level, skill));
}

bool TLevSol::ReadLine(TTextReader& file, std::string& game, bool& renamed, bool verify, int& level,
                       int& skill, const TRenamedGames& renames) {
    std::string line;
    if (!file.ReadLine(line)) {
        Steps = 0;
        game.clear();
        renamed = false;
        level = 0;
        skill = 0;
        return false;
    }
    return ParseLine(line, game, renamed, verify, level, skill, renames);
}

bool TLevSol::ParseLine(std::string_view line, std::string& game, bool& renamed, bool verify,
                        int& level, int& skill, const TRenamedGames& renames) {
    Steps = 0;
    game.clear();
    renamed = false;
    level = 0;
    skill = 0;
    if (line.size() < 2) return false;

    // Level digit and skill letter.
    const auto c1 = static_cast<unsigned char>(line[0]);
    const auto c2 = static_cast<unsigned char>(line[1]);
    if (c1 < '0') throw std::out_of_range("solution line: level character below \"0\"");
    level = c1 - '0';
    skill = (c2 >= 'A' && c2 <= 'D') ? c2 - '@' : 0;

    // Step count, the blank after it, player and game.
    std::size_t pos = 2;
    unsigned long steps = 0;
    if (!ReadNumber(line, pos, 0xFFFF, steps)) return false;
    if (steps > 0xFFFF) throw std::out_of_range("solution line: step count above 65535");
    if (pos >= line.size()) return false;
    ++pos;
    const std::size_t bar1 = line.find('|', pos);
    if (bar1 == std::string_view::npos) return false;
    const std::size_t bar2 = line.find('|', bar1 + 1);
    if (bar2 == std::string_view::npos) return false;
    Player.assign(line.substr(pos, bar1 - pos));
    game.assign(line.substr(bar1 + 1, bar2 - bar1 - 1));
    renamed = renames.Lookup(game);
    if (Player.empty()) return false; // a solution always has its player

    // A withdrawal line carries no moves and no checksum worth reading.
    if (steps > NoMovesSteps) {
        Steps = static_cast<std::uint16_t>(steps);
        return true;
    }

    // The run-length coded moves, up to the blank before the checksum. The
    // step count of the solution is the number of moves actually decoded.
    pos = bar2 + 1;
    unsigned long count = 1;
    bool digits = false;
    for (; pos < line.size() && line[pos] != ' '; ++pos) {
        const char c = line[pos];
        if (const std::size_t dir = MoveLetters.find(c); dir != std::string_view::npos) {
            if (Steps + count > MaxMoves)
                throw std::out_of_range("solution line: more than 4096 moves");
            if (Steps + count > Capacity)
                throw std::out_of_range("solution line: more moves than the solution holds");
            std::fill_n(Moves.begin() + Steps, count, static_cast<std::uint8_t>(dir));
            Steps = static_cast<std::uint16_t>(Steps + count);
            count = 1;
            digits = false;
        } else if (IsDigit(c)) {
            count = (digits ? count * 10 : 0) + static_cast<unsigned long>(c - '0');
            if (count > 0xFFFF) throw std::out_of_range("solution line: repeat count above 65535");
            digits = true;
        }
        // Any other character is skipped.
    }

    // The stored checksum; what follows it on the line is ignored.
    unsigned long stored = 0;
    bool hasChecksum = false;
    if (pos < line.size()) {
        ++pos;
        hasChecksum = ReadNumber(line, pos, 0xFFFF, stored);
    }
    // The stored count is guarded too: a line whose count is not its number of
    // moves does not verify.
    if (verify && (!hasChecksum || steps != Steps || stored != Checksum())) return false;
    return true;
}

} // namespace tb
