#include "solver/tb_solver.h"

#include "engine/tb_activemap.h"
#include "services/d_error.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>

namespace tb {

namespace {

// Cells the rules never change: walls, the reserved codes, code 0 and Outside.
constexpr bool IsStatic(std::uint8_t code) {
    return code == Wall || code == Unknown || (code >= Reserved1 && code <= Reserved4) ||
           code == Outside;
}

// The moving grid with the engine's rules; the solver only copies grids in and
// out of it. A change of a cell the packing leaves out would be a rule the
// solver does not know, so it stops the search instead of giving a wrong answer.
class TSolverMap final : public TActiveMap {
public:
    using TStatic = std::array<std::array<bool, Width>, Height>;

    explicit TSolverMap(const TStatic& fixed) : Fixed(fixed) {}

    void Load(const TMap& level) {
        Cells = level.GetCells();
        HeroPos = level.GetHeroPos();
        FoodCount = level.GetFoodCount();
    }
    void CopyFrom(const TSolverMap& other) {
        Cells = other.Cells;
        HeroPos = other.HeroPos;
        FoodCount = other.FoodCount;
        Changed = false;
    }
    void SetCell(TPos pos, std::uint8_t code) override {
        if (InGrid(pos) && (Fixed[pos.Y - 1][pos.X - 1] || code > 15))
            throw std::logic_error("a move changed a cell the solver takes as fixed");
        Changed = true;
        TActiveMap::SetCell(pos, code);
    }
    // Whether any cell changed since the last CopyFrom.
    bool HasChanged() const { return Changed; }

    // The cells as 558 bytes, row by row (index (y - 1) * 31 + x - 1).
    const std::uint8_t* Raw() const { return reinterpret_cast<const std::uint8_t*>(&Cells); }
    std::uint8_t* Raw() { return reinterpret_cast<std::uint8_t*>(&Cells); }
    void SetCounts(TPos hero, std::uint16_t food) {
        HeroPos = hero;
        FoodCount = food;
    }

private:
    const TStatic& Fixed;
    bool Changed = false;
};
static_assert(sizeof(TMap::TCells) == TMap::Width * TMap::Height, "cells are one block of bytes");

// Packs the changeable cells four bits a cell, after the hero's index (two bytes).
class TPacker {
public:
    static constexpr std::uint16_t NoHero = 0xFFFF;

    explicit TPacker(const TMap& level) {
        for (int y = 0; y < TMap::Height; ++y) {
            for (int x = 0; x < TMap::Width; ++x) {
                const std::uint8_t code = level.GetCells()[y][x];
                Fixed[y][x] = IsStatic(code);
                Index[y][x] = NoHero;
                if (!Fixed[y][x]) {
                    Index[y][x] = static_cast<std::uint16_t>(Offsets.size());
                    Offsets.push_back(static_cast<std::uint16_t>(y * TMap::Width + x));
                }
            }
        }
        Size = 2 + (Offsets.size() + 1) / 2;
    }

    std::size_t Bytes() const { return Size; }
    const TSolverMap::TStatic& FixedCells() const { return Fixed; }

    void Pack(const TSolverMap& map, std::uint8_t* out) const {
        const TPos hero = map.GetHeroPos();
        const std::uint16_t h = TMap::InGrid(hero) ? Index[hero.Y - 1][hero.X - 1] : NoHero;
        out[0] = static_cast<std::uint8_t>(h & 0xFF);
        out[1] = static_cast<std::uint8_t>(h >> 8);
        std::uint8_t* p = out + 2;
        const std::uint8_t* cells = map.Raw();
        const std::size_t n = Offsets.size();
        std::size_t i = 0;
        for (; i + 1 < n; i += 2)
            *p++ = static_cast<std::uint8_t>(cells[Offsets[i]] | (cells[Offsets[i + 1]] << 4));
        if (i < n) *p = cells[Offsets[i]];
    }

    // Writes the changeable cells of a packed position into map; its fixed
    // cells must already be those of the level.
    void Unpack(const std::uint8_t* in, TSolverMap& map) const {
        const std::uint16_t h = static_cast<std::uint16_t>(in[0] | (in[1] << 8));
        const std::uint8_t* p = in + 2;
        std::uint8_t* cells = map.Raw();
        const std::size_t n = Offsets.size();
        std::uint16_t food = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint8_t code = (i & 1) ? (p[i / 2] >> 4) : (p[i / 2] & 15);
            food = static_cast<std::uint16_t>(food + (code == Food));
            cells[Offsets[i]] = code;
        }
        const TPos hero =
            h == NoHero ? TPos() : TPos(Offsets[h] % TMap::Width + 1, Offsets[h] / TMap::Width + 1);
        map.SetCounts(hero, food);
    }

private:
    TSolverMap::TStatic Fixed{};
    std::array<std::array<std::uint16_t, TMap::Width>, TMap::Height> Index{};
    std::vector<std::uint16_t> Offsets; // of the changeable cells, row by row
    std::size_t Size = 0;
};

constexpr std::uint64_t Mix(std::uint64_t x) {
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9ull;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBull;
    x ^= x >> 31;
    return x;
}

// A 64-bit fingerprint of a packed position; never 0 (0 marks a free slot).
std::uint64_t Fingerprint(const std::uint8_t* p, std::size_t n) {
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ n;
    while (n >= 8) {
        std::uint64_t w;
        std::memcpy(&w, p, 8);
        h = (h ^ w) * 0xFF51AFD7ED558CCDull;
        h ^= h >> 32;
        p += 8;
        n -= 8;
    }
    std::uint64_t w = 0;
    std::memcpy(&w, p, n);
    h = Mix(h ^ w);
    return h == 0 ? 1 : h;
}

// The fingerprints of every position seen: open addressing, linear probing.
class TFingerprintSet {
public:
    TFingerprintSet() : Slots(std::size_t{1} << 10, 0), Mask(Slots.size() - 1) {}

    // Adds fp; false when it was there already.
    bool Insert(std::uint64_t fp) {
        if ((Count + 1) * 5 > Slots.size() * 4) Grow();
        std::size_t i = static_cast<std::size_t>(fp) & Mask;
        while (Slots[i] != 0) {
            if (Slots[i] == fp) return false;
            i = (i + 1) & Mask;
        }
        Slots[i] = fp;
        ++Count;
        return true;
    }
    // Starts loading the slot of fp, so that a batch of look-ups waits for
    // memory once instead of once each.
    void Prefetch(std::uint64_t fp) const {
        __builtin_prefetch(&Slots[static_cast<std::size_t>(fp) & Mask]);
    }
    std::size_t Bytes() const { return Slots.capacity() * sizeof(std::uint64_t); }
    // The largest size while growing: the old and the new table side by side.
    std::size_t PeakBytes() const { return Peak; }

private:
    void Grow() {
        std::vector<std::uint64_t> old(Slots.size() * 2, 0);
        old.swap(Slots);
        Mask = Slots.size() - 1;
        Peak = (old.capacity() + Slots.capacity()) * sizeof(std::uint64_t);
        for (std::uint64_t fp : old) {
            if (fp == 0) continue;
            std::size_t i = static_cast<std::size_t>(fp) & Mask;
            while (Slots[i] != 0)
                i = (i + 1) & Mask;
            Slots[i] = fp;
        }
    }

    std::vector<std::uint64_t> Slots;
    std::size_t Mask;
    std::size_t Count = 0;
    std::size_t Peak = 0;
};

// Parent index and move of every stored position, in blocks so that the store
// never holds more than one block of unused room.
class TLinks {
public:
    static constexpr std::size_t BlockSize = std::size_t{1} << 12;

    void Add(std::uint32_t link) {
        if (Size % BlockSize == 0) Blocks.emplace_back(BlockSize);
        Blocks.back()[Size % BlockSize] = link;
        ++Size;
    }
    std::uint32_t At(std::size_t i) const { return Blocks[i / BlockSize][i % BlockSize]; }
    std::size_t Bytes() const { return Blocks.size() * BlockSize * sizeof(std::uint32_t); }

private:
    std::vector<std::vector<std::uint32_t>> Blocks;
    std::size_t Size = 0;
};

std::uint32_t Link(std::uint64_t parent, TDir dir) {
    return static_cast<std::uint32_t>((parent << 2) | dir);
}

} // namespace

TSolveResult Solve(const TMap& level, const TSolveOptions& options) {
    if (options.MaxStates < 1 || options.MaxStates > MaxSolverStates)
        throw std::out_of_range("the position limit must lie between 1 and " +
                                std::to_string(MaxSolverStates));
    if (!level.IsPlayable()) throw Error("level is not playable");

    const TPacker packer(level);
    const std::size_t size = packer.Bytes();
    TSolverMap parent(packer.FixedCells());
    TSolverMap child(packer.FixedCells());
    parent.Load(level);

    TSolveResult result;
    result.PackedBytes = size;
    TFingerprintSet seen;
    TLinks links;
    std::vector<std::uint8_t> layer(size), next;

    auto account = [&] {
        const std::size_t bytes = links.Bytes() + layer.capacity() + next.capacity() +
                                  std::max(seen.Bytes(), seen.PeakBytes());
        if (bytes > result.PeakBytes) result.PeakBytes = bytes;
    };
    auto solution = [&](std::uint64_t node, TDir last) {
        result.Moves.push_back(last);
        while (node != 0) {
            const std::uint32_t link = links.At(node);
            result.Moves.push_back(static_cast<TDir>(link & 3));
            node = link >> 2;
        }
        std::reverse(result.Moves.begin(), result.Moves.end());
        result.Outcome = TSolveOutcome::Solved;
    };

    packer.Pack(parent, layer.data());
    seen.Insert(Fingerprint(layer.data(), size));
    links.Add(0);
    result.Stored = 1;

    // New positions wait in a batch until their table slots are loaded.
    constexpr std::size_t Batch = 64;
    std::vector<std::uint8_t> batchCells(Batch * size);
    std::array<std::uint64_t, Batch> batchPrints{};
    std::array<std::uint32_t, Batch> batchLinks{};
    std::size_t batched = 0;
    // Stores the batch's new positions; false when the limit is reached.
    auto flush = [&]() -> bool {
        for (std::size_t b = 0; b < batched; ++b) {
            if (!seen.Insert(batchPrints[b])) continue;
            if (result.Stored == options.MaxStates) return false;
            links.Add(batchLinks[b]);
            const auto* cells = batchCells.data() + b * size;
            next.insert(next.end(), cells, cells + size);
            ++result.Stored;
        }
        batched = 0;
        return true;
    };
    auto gaveUp = [&] {
        account();
        result.Outcome = TSolveOutcome::GaveUp;
        return result;
    };

    std::uint64_t layerStart = 0; // index of the first position of the layer
    TSolveProgress progress;
    while (!layer.empty()) {
        const std::size_t count = layer.size() / size;
        for (std::size_t j = 0; j < count; ++j) {
            const std::uint64_t node = layerStart + j;
            packer.Unpack(layer.data() + j * size, parent);
            child.CopyFrom(parent);
            for (std::uint8_t d = Up; d <= Right; ++d) {
                const TDir dir = static_cast<TDir>(d);
                // A refused move normally changes nothing: then the copy serves again.
                if (child.HasChanged()) child.CopyFrom(parent);
                if (!child.HeroMove(dir)) continue;
                if (child.GetFoodCount() == 0) {
                    ++result.Expanded;
                    solution(node, dir);
                    account();
                    return result;
                }
                if (child.GetCell(child.GetHeroPos()) == Loser) continue;
                std::uint8_t* cells = batchCells.data() + batched * size;
                packer.Pack(child, cells);
                batchPrints[batched] = Fingerprint(cells, size);
                seen.Prefetch(batchPrints[batched]);
                batchLinks[batched] = Link(node, dir);
                if (++batched == Batch && !flush()) return gaveUp();
            }
            ++result.Expanded;
            if (options.Progress && (result.Expanded & 4095) == 0) {
                progress.Stored = result.Stored;
                progress.Expanded = result.Expanded;
                options.Progress(progress);
            }
        }
        if (!flush()) return gaveUp();
        account();
        layerStart += count;
        layer.swap(next);
        next.clear();
        ++progress.Depth;
    }
    result.Outcome = TSolveOutcome::Unsolvable;
    return result;
}

} // namespace tb
