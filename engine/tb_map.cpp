// The level grid.
//
// SetCell keeps two facts true: FoodCount is the number of Food cells, and
// HeroPos names the one cell that holds Hero (or Loser, once he is crushed).
// Placing a hero where one already stands first empties his old cell through
// SetCell itself, so a derived class redraws it. The file reader and Assign
// store cells directly; a level file may therefore hold several "H" cells, of
// which the last one read is the hero.

#include "engine/tb_map.h"

#include "services/d_checked.h"
#include "services/d_crc.h"
#include "services/d_error.h"
#include "services/d_file.h"
#include "services/d_messages.h"
#include "services/d_string.h"

#include <stdexcept>

namespace tb {

namespace {

// The character a cell code is written as. Code 0 has no character of its
// own: it is written as the control character 16, which no alphabet entry
// matches, so it reads back as code 0.
char CellChar(std::uint8_t code) {
    if (code == Unknown) return static_cast<char>(16);
    if (code > Outside) throw std::out_of_range("cell code");
    return CellAlphabet[code - 1];
}

std::uint8_t CellCode(char c) {
    const std::size_t at = CellAlphabet.find(c);
    if (at == std::string_view::npos) return Unknown;
    return static_cast<std::uint8_t>(at + 1);
}

void ReadLevelLine(TTextReader& file, std::string& line) {
    if (!file.ReadLine(line)) throw Error(ErrorMessage(ErrReadingGame));
}

} // namespace

TMap::TMap() {
    Clear();
}

void TMap::Clear() {
    for (auto& row : Cells)
        row.fill(Empty);
    HeroPos = TPos();
    FoodCount = 0;
}

std::uint8_t TMap::GetCell(TPos pos) const {
    if (!InGrid(pos)) return Outside;
    return Cells[pos.Y - 1][pos.X - 1];
}

void TMap::SetCell(TPos pos, std::uint8_t code) {
    if (!InGrid(pos)) throw std::out_of_range("cell position outside the level");
    if (code > Outside) throw std::out_of_range("cell code");
    const std::uint8_t old = Cells[pos.Y - 1][pos.X - 1];
    if (old == Food)
        FoodCount = CheckedSub(FoodCount, 1);
    else if (old == Hero && code != Loser && pos == HeroPos)
        HeroPos = TPos();
    if (code == Hero) {
        if (!HeroPos.IsNone() && HeroPos != pos) SetCell(HeroPos, Empty);
        HeroPos = pos;
    } else if (code == Food) {
        FoodCount = CheckedAdd(FoodCount, 1);
    }
    Cells[pos.Y - 1][pos.X - 1] = code;
}

bool TMap::SetName(const std::string& name) {
    if (name == Name) return false;
    Name = name;
    return true;
}

TPos TMap::Neighbour(TPos pos, std::uint8_t dir) {
    switch (dir) {
    case Up:
        return pos.Y == 0 ? pos : TPos(pos.X, pos.Y - 1);
    case Down:
        return pos.Y > Height ? pos : TPos(pos.X, pos.Y + 1);
    case Left:
        return pos.X == 0 ? pos : TPos(pos.X - 1, pos.Y);
    case Right:
        return pos.X > Width ? pos : TPos(pos.X + 1, pos.Y);
    default:
        return pos;
    }
}

void TMap::Assign(const TMap& source) {
    SetName(source.Name);
    FoodCount = source.FoodCount;
    HeroPos = source.HeroPos;
    Cells = source.Cells;
}

bool TMap::SameCells(const TMap& other) const {
    return Cells == other.Cells;
}

bool TMap::IsPlayable() const {
    if (HeroPos.IsNone() || FoodCount == 0) return false;
    // A playable level starts at rest: nothing may hang above an empty cell.
    for (int y = 1; y < Height; ++y)
        for (int x = 1; x <= Width; ++x)
            if (IsFalling(GetCell(TPos(x, y))) && GetCell(TPos(x, y + 1)) == Empty) return false;
    return true;
}

std::uint16_t TMap::Checksum() const {
    std::uint16_t sum = 0;
    for (const auto& row : Cells)
        sum = Checksum16(sum, row.data(), row.size());
    return sum;
}

void TMap::Shift(std::uint8_t dir) {
    TMap moved;
    moved.SetName(Name);
    for (int y = 1; y <= Height; ++y)
        for (int x = 1; x <= Width; ++x) {
            const TPos to = Neighbour(TPos(x, y), dir);
            if (InGrid(to)) moved.SetCell(to, GetCell(TPos(x, y)));
        }
    Assign(moved);
}

bool TMap::ReadText(TTextReader& file) {
    Clear();
    Name.clear();
    std::string line;
    ReadLevelLine(file, line);
    SetName(Trim(line));
    if (Name == "END") return false;
    for (int y = 1; y <= Height; ++y) {
        ReadLevelLine(file, line);
        for (int x = 1; x <= Width; ++x) {
            const char c = static_cast<std::size_t>(x) <= line.size() ? line[x - 1] : ' ';
            const std::uint8_t code = CellCode(c);
            Cells[y - 1][x - 1] = code;
            if (code == Food) FoodCount = CheckedAdd(FoodCount, 1);
            if (code == Hero) HeroPos = TPos(x, y);
        }
    }
    ReadLevelLine(file, line); // the closing "OK"
    return true;
}

void TMap::WriteText(TTextWriter& file) const {
    file.WriteLine(Name);
    for (const auto& row : Cells) {
        std::string line;
        line.reserve(Width);
        for (std::uint8_t code : row)
            line += CellChar(code);
        file.WriteLine(line);
    }
    file.WriteLine("OK");
}

} // namespace tb
