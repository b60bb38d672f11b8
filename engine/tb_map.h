#pragma once
// One level: a grid of 31 x 18 cell codes with its name, the hero's position
// and the number of food cells. No rules of movement live here.

#include "engine/tb_types.h"

#include <array>
#include <cstdint>
#include <string>

namespace tb {

class TTextReader;
class TTextWriter;

class TMap {
public:
    static constexpr int Width = 31;
    static constexpr int Height = 18;
    using TCells = std::array<std::array<std::uint8_t, Width>, Height>; // [y-1][x-1]

    TMap();
    TMap(const TMap&) = delete;
    TMap& operator=(const TMap&) = delete;
    virtual ~TMap() = default;

    // Every cell Empty, no hero, no food; the name stays.
    void Clear();

    // The code at pos; Outside for any position off the grid.
    std::uint8_t GetCell(TPos pos) const;

    // Changes one cell, keeping FoodCount and HeroPos true (see the class notes
    // in tb_map.cpp). pos must lie inside the grid: std::out_of_range otherwise.
    virtual void SetCell(TPos pos, std::uint8_t code);
    // Stores the name when it differs; answers whether it changed.
    virtual bool SetName(const std::string& name);

    // The neighbour of pos in direction dir; pos itself for an unknown direction
    // or when the step would leave the ring around the grid.
    static TPos Neighbour(TPos pos, std::uint8_t dir);
    static bool PosDiffer(TPos a, TPos b) { return !(a == b); }
    static bool InGrid(TPos pos) {
        return pos.X >= 1 && pos.X <= Width && pos.Y >= 1 && pos.Y <= Height;
    }

    // SetName(source name) through the virtual operation, then the cells, hero
    // position and food count as they are (no SetCell calls).
    void Assign(const TMap& source);
    // All 558 cells equal (names, heroes and counts are not compared).
    bool SameCells(const TMap& other) const;
    // A hero, some food, and no falling object above an Empty cell.
    bool IsPlayable() const;
    // Checksum16 over the 558 cells, row by row.
    std::uint16_t Checksum() const;
    // Moves the whole grid one cell; what leaves the grid is lost.
    void Shift(std::uint8_t dir);

    // The level's 20-line text form. ReadText answers false at an "END" name
    // line; a file that ends early raises Error("Error reading game from disk").
    bool ReadText(TTextReader& file);
    void WriteText(TTextWriter& file) const;

    const std::string& GetName() const { return Name; }
    TPos GetHeroPos() const { return HeroPos; }
    std::uint16_t GetFoodCount() const { return FoodCount; }
    const TCells& GetCells() const { return Cells; }

protected:
    std::string Name;
    TCells Cells{};
    TPos HeroPos;
    std::uint16_t FoodCount = 0;
};

} // namespace tb
