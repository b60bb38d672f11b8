#include "solver/tb_solver.h"

#include "engine/tb_activemap.h"
#include "services/d_error.h"
#include "solver/tb_delta.h"
#include "solver/tb_lowerbound.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <new>
#include <stdexcept>
#include <string>
#include <sys/mman.h>
#include <thread>
#include <unistd.h>

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
        // The lower bound counts on food staying where it is until the hero eats it.
        if (code == Food || (GetCell(pos) == Food && code != Hero))
            throw std::logic_error("a move moved or destroyed food");
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

// A 64-bit fingerprint of a packed position; its low 60 bits are never all 0
// (0 marks a free slot of the table).
constexpr std::uint64_t PrintBitsOfFingerprint = (std::uint64_t{1} << 60) - 1;
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
    return (h & PrintBitsOfFingerprint) == 0 ? h | 1 : h;
}

constexpr std::uint32_t NoLink = 0xFFFFFFFF;

std::uint32_t Link(std::uint64_t parent, TDir dir) {
    return static_cast<std::uint32_t>((parent << 2) | dir);
}

// Zeroed memory; a large block straight from the system, in huge pages where
// it can be: the table is read at random, and small pages would make every
// look-up miss the address cache too. Each page is written to at once: a page
// first read is the system's shared zero page, and writing to it later costs
// every other core of the search a flush of its address cache.
class TZeroed {
public:
    explicit TZeroed(std::size_t bytes) : Bytes(bytes), Mapped(bytes >= Large) {
        void* at = nullptr;
        if (Mapped) {
            at = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (at == MAP_FAILED) throw std::bad_alloc();
            madvise(at, bytes, MADV_HUGEPAGE);
        } else {
            at = std::calloc(bytes, 1);
            if (at == nullptr) throw std::bad_alloc();
        }
        Memory = at;
        volatile std::uint8_t* page = static_cast<std::uint8_t*>(at);
        for (std::size_t i = 0; i < bytes; i += 4096)
            page[i] = 0;
    }
    ~TZeroed() {
        if (Mapped) {
            munmap(Memory, Bytes);
        } else {
            std::free(Memory);
        }
    }
    TZeroed(const TZeroed&) = delete;
    TZeroed& operator=(const TZeroed&) = delete;
    template <class T> T* As() const { return static_cast<T*>(Memory); }
    std::size_t Size() const { return Bytes; }

private:
    static constexpr std::size_t Large = std::size_t{2} << 20;
    void* Memory = nullptr;
    std::size_t Bytes;
    bool Mapped;
};

// The positions one thread found first in a segment, as the table refers to
// them until the segment ends: fingerprint, table slot and smallest link. They
// stay where they are while the other threads read them (blocks that are only
// added, never moved).
struct TFreshEntry {
    std::uint64_t Print;
    std::uint64_t Slot; // shard in the top byte, slot in the shard below
    std::uint32_t Link;
};

class TFreshList {
public:
    static constexpr std::size_t BlockEntries = 4096;

    // At most `capacity` entries.
    explicit TFreshList(std::size_t capacity) : Blocks(capacity / BlockEntries + 1) {}

    // The entry Size() will be, made ready; Commit() keeps it.
    TFreshEntry& Prepare() {
        auto& block = Blocks.at(Count / BlockEntries);
        if (!block) {
            block = std::make_unique<TFreshEntry[]>(BlockEntries);
            ++Allocated;
        }
        return block[Count % BlockEntries];
    }
    void Commit() { ++Count; }
    TFreshEntry& operator[](std::size_t i) const {
        return Blocks[i / BlockEntries][i % BlockEntries];
    }
    std::size_t Size() const { return Count; }
    void Clear() { Count = 0; }
    std::size_t Bytes() const {
        return Allocated * BlockEntries * sizeof(TFreshEntry) +
               Blocks.capacity() * sizeof(Blocks[0]);
    }

private:
    std::vector<std::unique_ptr<TFreshEntry[]>> Blocks;
    std::size_t Count = 0;
    std::size_t Allocated = 0;
};

// Lowers a link shared by the threads to `link` when that is smaller.
void LowerLink(std::uint32_t& shared, std::uint32_t link) {
    std::atomic_ref<std::uint32_t> slot(shared);
    std::uint32_t seen = slot.load(std::memory_order_relaxed);
    while (link < seen && !slot.compare_exchange_weak(seen, link, std::memory_order_relaxed)) {
    }
}

// A slot of the table: 0 when free; a position of an earlier segment as its
// fingerprint without the shard's bits; a position of the segment being
// expanded as Fresh with the thread that found it and its entry there.
constexpr std::uint64_t Fresh = std::uint64_t{1} << 63;
constexpr std::uint64_t PrintBits = (std::uint64_t{1} << 60) - 1;

// One shard of the fingerprints of every position seen in a pass, an 8-byte
// slot each: open addressing, linear probing, shared by the threads. A shard
// never grows while the threads use it: each thread may take a share of its
// free slots in a segment, and a position refused for want of a slot (Full)
// is added after the shard has grown.
class TShard {
public:
    static constexpr std::size_t SlotBytes = sizeof(std::uint64_t);
    enum TAnswer { New, Seen, Full };
    using TLists = std::vector<TFreshList*>;

    TShard(std::size_t slots, const TLists& lists)
        : Memory(slots * SlotBytes), Slots(Memory.As<std::uint64_t>()), Count_(slots),
          Cap(slots - slots / 16), Lists(lists) {}

    std::size_t Size() const { return Count_; }
    std::size_t Bytes() const { return Size() * SlotBytes; }
    // Free slots the threads may take in all.
    std::size_t Room() const { return Used < Cap ? Cap - Used : 0; }
    void Took(std::size_t slots) { Used += slots; }
    std::size_t Count() const { return Used; }

    // Looks fp up; when it is not there and `take`, puts the prepared entry
    // `mine` (fingerprint fp, Fresh value `ref`) in a free slot. When it is a
    // position of this segment, lowers its link to mine.
    TAnswer Insert(std::uint64_t fp, std::uint64_t ref, TFreshEntry& mine, bool take,
                   std::size_t shard) {
        const std::uint64_t print = fp & PrintBits;
        for (std::size_t i = Home(fp);; i = Following(i)) {
            std::atomic_ref<std::uint64_t> slot(Slots[i]);
            std::uint64_t there = slot.load(std::memory_order_acquire);
            if (there == 0) {
                if (!take) return Full;
                if (slot.compare_exchange_strong(there, ref, std::memory_order_acq_rel,
                                                 std::memory_order_acquire)) {
                    mine.Slot = (shard << SlotShift) | i;
                    return New;
                }
            }
            if (there == print) return Seen;
            if ((there & Fresh) != 0) {
                TFreshEntry& other = Entry(there);
                if (other.Print == fp) {
                    LowerLink(other.Link, mine.Link);
                    return Seen;
                }
            }
        }
    }
    // Adds a fingerprint of an earlier segment (the search's start) alone.
    void Add(std::uint64_t fp) {
        std::size_t i = Home(fp);
        while (Slots[i] != 0)
            i = Following(i);
        Slots[i] = fp & PrintBits;
        ++Used;
    }
    // Turns a position of this segment into one of an earlier segment.
    void Settle(const TFreshEntry& entry) {
        std::atomic_ref<std::uint64_t>(Slots[entry.Slot & SlotMask])
            .store(entry.Print & PrintBits, std::memory_order_relaxed);
    }
    void Prefetch(std::uint64_t fp) const { __builtin_prefetch(&Slots[Home(fp)]); }
    // Moves slots from..to-1 into `into` (a larger shard); several threads may
    // move parts at once while no search uses either shard. Entries of this
    // segment learn their new slots.
    void MoveInto(TShard& into, std::size_t from, std::size_t to, std::size_t shard) const {
        for (std::size_t i = from; i < to; ++i) {
            const std::uint64_t value = Slots[i];
            if (value == 0) continue;
            TFreshEntry* entry = (value & Fresh) != 0 ? &Entry(value) : nullptr;
            const std::uint64_t low = entry != nullptr ? entry->Print : value;
            for (std::size_t j = into.Home(low);; j = into.Following(j)) {
                std::uint64_t empty = 0;
                if (std::atomic_ref<std::uint64_t>(into.Slots[j])
                        .compare_exchange_strong(empty, value, std::memory_order_relaxed)) {
                    if (entry != nullptr) entry->Slot = (shard << SlotShift) | j;
                    break;
                }
            }
        }
    }

    static constexpr int SlotShift = 56;
    static constexpr std::uint64_t SlotMask = (std::uint64_t{1} << SlotShift) - 1;

private:
    // The first slot a fingerprint tries: 32 of its bits below the shard's
    // scaled to the shard's size (which need not be a power of two; it stays
    // far below 2^32 slots).
    std::size_t Home(std::uint64_t fp) const {
        return static_cast<std::size_t>((((fp >> 28) & 0xFFFFFFFFu) * Count_) >> 32);
    }
    std::size_t Following(std::size_t i) const { return i + 1 == Count_ ? 0 : i + 1; }

    TFreshEntry& Entry(std::uint64_t value) const {
        return (*Lists[static_cast<std::size_t>((value >> 32) & 0x7F)])[value & 0xFFFFFFFF];
    }

    TZeroed Memory;
    std::uint64_t* Slots;
    std::size_t Count_; // slots
    std::size_t Cap;
    std::size_t Used = 0;
    const TLists& Lists;
};

// The fingerprints in 16 shards chosen by their top bits, so that a shard that
// grows needs room for itself twice over, not for the whole table. A shard
// filled beyond three quarters doubles: the table holds between 1.33 and 2.67
// slots a position (growing by half would hold at most 2, but costs more time
// than the memory is worth).
class TSeenTable {
public:
    static constexpr int ShardBits = 4;
    static constexpr std::size_t Shards = std::size_t{1} << ShardBits;
    using TLists = TShard::TLists;

    explicit TSeenTable(const TLists& lists) : Lists(lists) {
        for (auto& shard : Parts)
            shard = std::make_unique<TShard>(256, Lists);
    }

    static std::size_t ShardOf(std::uint64_t fp) {
        return static_cast<std::size_t>(fp >> (64 - ShardBits));
    }
    TShard& Shard(std::size_t s) { return *Parts[s]; }
    const TShard& Shard(std::size_t s) const { return *Parts[s]; }
    void Prefetch(std::uint64_t fp) const { Parts[ShardOf(fp)]->Prefetch(fp); }
    void Settle(const TFreshEntry& entry) { Parts[entry.Slot >> TShard::SlotShift]->Settle(entry); }
    std::size_t Bytes() const {
        std::size_t bytes = 0;
        for (const auto& shard : Parts)
            bytes += shard->Bytes();
        return bytes;
    }
    bool Crowded(std::size_t s) const { return Parts[s]->Count() * 4 > Parts[s]->Size() * 3; }
    // Doubles shard s, its slots moved by `run` (which calls its job with the
    // parts 0..parts-1 of the work, on any threads).
    void
    Grow(std::size_t s, std::size_t parts,
         const std::function<void(std::size_t, const std::function<void(std::size_t)>&)>& run) {
        const TShard& old = *Parts[s];
        auto grown = std::make_unique<TShard>(2 * old.Size(), Lists);
        grown->Took(old.Count());
        run(parts, [&](std::size_t part) {
            old.MoveInto(*grown, old.Size() * part / parts, old.Size() * (part + 1) / parts, s);
        });
        Parts[s] = std::move(grown);
    }

private:
    const TLists& Lists;
    std::array<std::unique_ptr<TShard>, Shards> Parts;
};

// Lowers an atomic link to `link` when that is smaller.
void LowerLink(std::atomic<std::uint32_t>& slot, std::uint32_t link) {
    std::uint32_t seen = slot.load(std::memory_order_relaxed);
    while (link < seen && !slot.compare_exchange_weak(seen, link, std::memory_order_relaxed)) {
    }
}

// Parent index and move of every stored position of a pass, in blocks so
// that the store never holds more than one block of unused room.
class TLinks {
public:
    static constexpr std::size_t BlockSize = std::size_t{1} << 12;

    void Add(std::uint32_t link) {
        if (Size % BlockSize == 0) Blocks.emplace_back(BlockSize);
        Blocks.back()[Size % BlockSize] = link;
        ++Size;
    }
    void Append(const std::vector<std::uint32_t>& links) {
        for (std::uint32_t link : links)
            Add(link);
    }
    std::uint32_t At(std::size_t i) const { return Blocks[i / BlockSize][i % BlockSize]; }
    std::size_t Bytes() const { return Blocks.size() * BlockSize * sizeof(std::uint32_t); }

private:
    std::vector<std::vector<std::uint32_t>> Blocks;
    std::size_t Size = 0;
};

// Memory for a layer's entries, in blocks (the first ones
// small, later ones up to 1 MiB), given back from the front as soon as nothing
// reads them any more.
class TBlockChain {
public:
    static constexpr std::size_t FirstBlock = std::size_t{1} << 14;
    static constexpr std::size_t MaxBlock = std::size_t{1} << 20;

    // Room for `bytes` in a row (at most MaxBlock) at Next().
    void Reserve(std::size_t bytes) {
        if (!Blocks.empty() && Used + bytes <= Sizes[Current]) return;
        Used = 0;
        const std::size_t size =
            std::max(bytes, Blocks.empty() ? FirstBlock : std::min(2 * Sizes.back(), MaxBlock));
        Blocks.push_back(std::make_unique_for_overwrite<std::uint8_t[]>(size));
        Sizes.push_back(size);
        Held += size;
        Current = Blocks.size() - 1;
    }
    std::uint8_t* Next() const { return Blocks[Current].get() + Used; }
    void Commit(std::size_t bytes) { Used += bytes; }
    // The block Next() lies in, and its offset there.
    std::uint32_t Block() const { return static_cast<std::uint32_t>(Current); }
    std::uint32_t Offset() const { return static_cast<std::uint32_t>(Used); }
    const std::uint8_t* At(std::uint32_t block, std::uint32_t offset) const {
        return Blocks[block].get() + offset;
    }
    // Gives back the blocks before `block`.
    void ReleaseBefore(std::size_t block) {
        for (block = std::min(block, Blocks.size()); Released < block; ++Released) {
            Held -= Sizes[Released];
            Blocks[Released].reset();
        }
    }
    std::size_t Bytes() const { return Held; }

private:
    std::vector<std::unique_ptr<std::uint8_t[]>> Blocks;
    std::vector<std::size_t> Sizes;
    std::size_t Current = 0;
    std::size_t Used = 0;
    std::size_t Released = 0;
    std::size_t Held = 0;
};

// The positions one thread found first in a segment, in the order it found
// them: in groups of eight, the first written as its differences from the
// start, each other one as its differences from the one before (mostly a
// sibling: a few cells).
class TNewPositions {
public:
    static constexpr std::size_t Group = 8;

    TNewPositions(const std::uint8_t* start, const TDelta& delta)
        : Start(start), Delta(delta), Last(delta.MaxEntry() - 1) {}

    void Add(const std::uint8_t* packed) {
        const std::size_t size = Last.size();
        if (Used + Delta.MaxEntry() > Room) {
            Room = std::max<std::size_t>(2 * Room, std::size_t{1} << 16);
            auto grown = std::make_unique<std::uint8_t[]>(Room);
            if (Used != 0) std::memcpy(grown.get(), Entries.get(), Used);
            Entries = std::move(grown);
        }
        const std::uint8_t* base = Last.data();
        if (Count % Group == 0) {
            Groups.push_back(static_cast<std::uint32_t>(Used));
            base = Start;
        }
        Used += Delta.Encode(base, packed, Entries.get() + Used);
        std::memcpy(Last.data(), packed, size);
        ++Count;
    }
    // Writes position i into packed.
    // Where a reader stands: the position it read last (held in its buffer)
    // and the entry after it.
    struct TCursor {
        std::size_t At = ~std::size_t{0};
        const std::uint8_t* Next = nullptr;
    };
    // Turns `packed` into position i; from the position the cursor stands at
    // when that lies before it in its group (mostly the one just before).
    void Read(std::size_t i, std::uint8_t* packed, TCursor& cursor) const {
        const std::uint8_t* in = cursor.Next;
        std::size_t k = cursor.At + 1;
        if (cursor.At == ~std::size_t{0} || i <= cursor.At || i / Group != cursor.At / Group) {
            std::memcpy(packed, Start, Last.size());
            in = Entries.get() + Groups[i / Group];
            k = i - i % Group;
        }
        for (; k <= i; ++k)
            in += Delta.Decode(in, packed);
        cursor.At = i;
        cursor.Next = in;
    }
    void Clear() {
        Used = 0;
        Count = 0;
        Groups.clear();
    }
    std::size_t Bytes() const { return Room + Groups.capacity() * sizeof(std::uint32_t); }

private:
    const std::uint8_t* Start;
    const TDelta& Delta;
    std::vector<std::uint8_t> Last;
    std::unique_ptr<std::uint8_t[]> Entries;
    std::size_t Room = 0;
    std::size_t Used = 0;
    std::size_t Count = 0;
    std::vector<std::uint32_t> Groups;
};

// A layer's positions in their order, in chunks of at most ChunkLength
// positions that the threads take one at a time: the first position of a
// chunk is written as its differences from the start, each other one as its
// differences from the one before (a few cells: they are mostly children of
// one parent or of neighbours). Each thread writes the chunks of its share of
// a segment into its own chain of blocks; the blocks are given back as soon
// as the search has expanded every chunk in them.
struct TChunk {
    const std::uint8_t* At; // its first entry
    std::uint32_t First;    // the index in the layer of its first position
    std::uint32_t Block;    // the block of its chain it lies in
    std::uint32_t Chain;
};

struct TLayer {
    std::vector<std::unique_ptr<TBlockChain>> Chains;
    std::vector<TChunk> Chunks;
    std::uint64_t Count = 0;

    std::uint64_t End(std::size_t chunk) const {
        return chunk + 1 < Chunks.size() ? Chunks[chunk + 1].First : Count;
    }
    std::size_t Bytes() const {
        std::size_t bytes = Chunks.capacity() * sizeof(TChunk);
        for (const auto& chain : Chains)
            bytes += chain->Bytes();
        return bytes;
    }
    // Gives back the blocks that only chunks before `from` lie in.
    void ReleaseBefore(std::size_t from) {
        std::vector<std::size_t> keep(Chains.size(), ~std::size_t{0});
        std::size_t open = Chains.size();
        for (std::size_t c = from; c < Chunks.size() && open > 0; ++c) {
            std::size_t& k = keep[Chunks[c].Chain];
            if (k != ~std::size_t{0}) continue;
            k = Chunks[c].Block;
            --open;
        }
        for (std::size_t t = 0; t < Chains.size(); ++t)
            Chains[t]->ReleaseBefore(keep[t]);
    }
};

// New positions wait in a batch until their table slots are loaded.
constexpr std::size_t Batch = 32;

// A reference to a new position: the thread that found it in the top byte,
// its index in that thread's lists below.
constexpr int ThreadShift = 56;

// What one thread keeps between segments.
struct TWorker {
    TWorker(std::size_t index, const TPacker& packer, const TMap& level, const std::uint8_t* start,
            const TDelta& delta, std::size_t segment)
        : Index(index), Parent(packer.FixedCells()), Child(packer.FixedCells()),
          Bound(level, packer.FixedCells()), New(start, delta), Fresh(4 * segment) {
        // Unpacking writes only the cells that can change: the others are the level's.
        Parent.Load(level);
        Child.Load(level);
    }
    std::size_t Index;
    TSolverMap Parent;
    TSolverMap Child;
    TLowerBound Bound;
    // The positions this thread stored first in the segment, and their
    // entries in the table.
    TNewPositions New;
    TFreshList Fresh;
    // The free slots of each shard this thread may take in the segment, and
    // those it took.
    std::array<std::size_t, TSeenTable::Shards> Quota{}, Taken{};
    // Positions waiting for their table slots, a position being read and the
    // one before it.
    std::vector<std::uint8_t> BatchCells, Packed, Previous;
    // Positions read from each thread's new ones, and where in them.
    std::vector<std::uint8_t> Reading;
    std::vector<TNewPositions::TCursor> Cursors;
    // The chunks and links of the next layer this thread wrote in the segment.
    std::vector<TChunk> Chunks;
    std::vector<std::uint32_t> Links;
    std::array<std::uint64_t, Batch> BatchPrints{};
    std::array<std::uint32_t, Batch> BatchLinks{};
    std::size_t Batched = 0;
    // Positions a full shard refused in this segment.
    std::vector<std::uint8_t> Deferred;
    std::vector<std::uint64_t> DeferredPrints;
    std::vector<std::uint32_t> DeferredLinks;
    std::uint64_t Expanded = 0;
    std::vector<std::uint64_t> Dropped; // [f - bound - 1]: positions dropped with f
    std::exception_ptr Failure;
};

constexpr std::size_t DroppedRange = 1024;
constexpr std::uint32_t Unbounded = 0xFFFFFFFF;

// The threads of one search, started once: Run hands each of them a job and
// takes part itself as thread 0, returning when all have finished. A segment
// follows another within microseconds, so a thread that has finished its part
// watches for the next job a little while before it sleeps: waking a
// sleeping thread costs more than a segment's shortest parts. (Not when there
// are more threads than cores: then the watching would hold up the work.)
class TThreadPool {
public:
    explicit TThreadPool(int threads)
        : SpinLimit(threads <= static_cast<int>(std::thread::hardware_concurrency()) ? 2000 : 0) {
        for (int t = 1; t < threads; ++t)
            Others.emplace_back([this, t](std::stop_token stop) { Serve(t, stop); });
    }
    ~TThreadPool() {
        for (auto& thread : Others)
            thread.request_stop();
        Wake.notify_all();
    }
    TThreadPool(const TThreadPool&) = delete;
    TThreadPool& operator=(const TThreadPool&) = delete;

    // Runs job(t) for t = 0..threads-1 (threads at most the pool's size).
    void Run(int threads, const std::function<void(int)>& job) {
        if (threads <= 1) {
            job(0);
            return;
        }
        {
            const std::lock_guard guard(Lock);
            Job = &job;
            Wanted = threads;
            Pending.store(threads - 1, std::memory_order_relaxed);
            Generation.fetch_add(1, std::memory_order_release);
        }
        Wake.notify_all();
        job(0);
        for (int i = 0; i < SpinLimit && Pending.load(std::memory_order_acquire) != 0; ++i)
            Pause();
        std::unique_lock guard(Lock);
        Done.wait(guard, [this] { return Pending.load(std::memory_order_acquire) == 0; });
        Job = nullptr;
    }

private:
    const int SpinLimit;

    static void Pause() {
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#else
        std::this_thread::yield();
#endif
    }

    void Serve(int t, std::stop_token stop) {
        std::uint64_t seen = 0;
        for (;;) {
            for (int i = 0; i < SpinLimit && !stop.stop_requested() &&
                            Generation.load(std::memory_order_acquire) == seen;
                 ++i)
                Pause();
            const std::function<void(int)>* job = nullptr;
            {
                std::unique_lock guard(Lock);
                Wake.wait(guard, stop,
                          [&] { return Generation.load(std::memory_order_relaxed) != seen; });
                if (stop.stop_requested()) return;
                seen = Generation.load(std::memory_order_relaxed);
                if (t >= Wanted) continue;
                job = Job;
            }
            (*job)(t);
            if (Pending.fetch_sub(1, std::memory_order_acq_rel) == 1) {
                // Under the lock, so that the caller cannot miss the call.
                { const std::lock_guard guard(Lock); }
                Done.notify_one();
            }
        }
    }

    std::mutex Lock;
    std::condition_variable_any Wake;
    std::condition_variable Done;
    const std::function<void(int)>* Job = nullptr;
    int Wanted = 0;
    std::atomic<int> Pending{0};
    std::atomic<std::uint64_t> Generation{0};
    std::vector<std::jthread> Others;
};

// The bound of the next pass: past the smallest dropped sum, far enough that
// twice as many positions as this pass stored were dropped below it, so that
// the passes grow geometrically and the last one costs most of the work.
std::uint32_t NextBound(std::uint32_t bound, const std::vector<std::uint64_t>& dropped,
                        std::uint64_t stored) {
    std::uint64_t sum = 0;
    const std::uint64_t target = std::max<std::uint64_t>(1, 2 * stored);
    std::uint32_t last = bound;
    for (std::size_t i = 0; i < dropped.size(); ++i) {
        if (dropped[i] == 0) continue;
        last = bound + 1 + static_cast<std::uint32_t>(i);
        sum += dropped[i];
        if (sum >= target) break;
    }
    return last;
}

class TSearch {
public:
    TSearch(const TMap& level, const TSolveOptions& options)
        : Level(level), Options(options), Packer(level), Size(Packer.Bytes()), Delta(Size),
          ChunkLength(std::min<std::size_t>(64, options.SegmentLength)) {
        Threads = options.Threads == 0 ? DefaultSolverThreads() : options.Threads;
        Threads = std::clamp(Threads, 1, MaxSolverThreads);
        Budget = options.MemoryBudget == 0 ? DefaultSolverMemory() : options.MemoryBudget;
        TSolverMap start(Packer.FixedCells());
        start.Load(level);
        StartPacked.resize(Size);
        Packer.Pack(start, StartPacked.data());
        for (int t = 0; t < Threads; ++t)
            Workers.push_back(std::make_unique<TWorker>(static_cast<std::size_t>(t), Packer, level,
                                                        StartPacked.data(), Delta,
                                                        options.SegmentLength));
        for (auto& worker : Workers)
            FreshLists.push_back(&worker->Fresh);
        Result.PackedBytes = Size;
        Result.Threads = Threads;
    }

    TSolveResult Run() {
        try {
            RunPasses();
        } catch (const std::bad_alloc&) {
            Result = GaveUp();
            Result.OutOfMemory = true;
        }
        Result.Moves.shrink_to_fit();
        return Result;
    }

private:
    void RunPasses() {
        TWorker& first = *Workers[0];
        first.Parent.Load(Level);
        std::uint32_t bound = Unbounded;
        const TPos hero = Level.GetHeroPos();
        if (Level.GetCell(hero) != Hero) { // a crushed hero plays no more
            Result.Stored = 1;
            Result.Outcome = TSolveOutcome::Unsolvable;
            return;
        }
        if (Options.Prune) {
            bound = first.Bound.Steps(first.Parent.Raw(), first.Parent.GetHeroPos());
            if (bound == TLowerBound::Lost) {
                Result.Stored = 1;
                Result.Outcome = TSolveOutcome::Unsolvable;
                return;
            }
        }
        for (;;) {
            ++Result.Passes;
            std::vector<std::uint64_t> dropped;
            if (!RunPass(bound, dropped)) return;
            const bool anyDropped =
                std::any_of(dropped.begin(), dropped.end(), [](std::uint64_t n) { return n != 0; });
            if (!anyDropped) {
                Result.Outcome = TSolveOutcome::Unsolvable;
                return;
            }
            bound = NextBound(bound, dropped, PassStored);
        }
    }

    TSolveResult GaveUp() {
        TSolveResult result = Result;
        result.Outcome = TSolveOutcome::GaveUp;
        result.Moves.clear();
        result.Stored = std::min(result.Stored, Options.MaxStates);
        return result;
    }

    TLayer NewLayer() const {
        TLayer layer;
        for (int t = 0; t < Threads; ++t)
            layer.Chains.push_back(std::make_unique<TBlockChain>());
        return layer;
    }

    // One breadth-first pass that drops positions whose steps plus lower bound
    // exceed `bound`. Answers false when the search has ended (solved, gave
    // up); true when the pass found nothing, with the dropped sums counted.
    bool RunPass(std::uint32_t bound, std::vector<std::uint64_t>& dropped) {
        StoredBefore = Result.Stored;
        PassStored = 0;
        Table = std::make_unique<TSeenTable>(FreshLists);
        Placement.clear();
        Links = TLinks();
        for (auto& worker : Workers)
            worker->Dropped.assign(DroppedRange, 0);

        TLayer layer = NewLayer();
        TBlockChain& chain = *layer.Chains[0];
        chain.Reserve(Delta.MaxEntry());
        layer.Chunks.push_back({chain.Next(), 0, chain.Block(), 0});
        chain.Commit(Delta.Encode(StartPacked.data(), StartPacked.data(), chain.Next()));
        layer.Count = 1;
        const std::uint64_t start = Fingerprint(StartPacked.data(), Size);
        Table->Shard(TSeenTable::ShardOf(start)).Add(start);
        Links.Add(0);
        PassStored = 1;
        Result.Stored = StoredBefore + 1;
        if (Result.Stored > Options.MaxStates) {
            Result = GaveUp();
            return false;
        }

        std::uint64_t layerStart = 0;
        for (int depth = 0; layer.Count > 0; ++depth) {
            TLayer next = NewLayer();
            std::size_t c0 = 0;
            for (std::uint64_t begin = 0; begin < layer.Count;) {
                // Near the budget the segments shrink: each position expanded
                // may store four, and each thread may take a new block for
                // those it finds and one for the next layer, and the links one.
                if (!MakeRoom(layer, next)) return false;
                const std::size_t held =
                    Held(layer, next) +
                    static_cast<std::size_t>(Threads) * 2 * TBlockChain::MaxBlock +
                    TLinks::BlockSize * sizeof(std::uint32_t);
                const std::size_t each = 4 * (Size / 4 + Size / 8 + 4 * sizeof(std::uint64_t) +
                                              sizeof(std::uint32_t) + TShard::SlotBytes);
                if (held + each > Budget) return OutOfMemory();
                const std::uint64_t count = std::min<std::uint64_t>(
                    {Options.SegmentLength, (Budget - held) / each, layer.Count - begin});
                const std::uint64_t end = begin + count;
                // The chunks the segment's positions lie in.
                while (layer.End(c0) <= begin)
                    ++c0;
                std::size_t c1 = c0 + 1;
                while (c1 < layer.Chunks.size() && layer.Chunks[c1].First < end)
                    ++c1;
                const std::uint32_t goal =
                    ExpandSegment(layer, c0, c1, begin, end, layerStart, depth, bound);
                if (Options.Stop.stop_requested()) {
                    Result = GaveUp();
                    Result.Cancelled = true;
                    return false;
                }
                if (goal != NoLink) {
                    ReadSolution(goal);
                    return false;
                }
                if (Result.Stored > Options.MaxStates) {
                    Result = GaveUp();
                    return false;
                }
                WriteSegment(next, (layerStart + begin) << 2, static_cast<std::size_t>(count));
                Account(layer, next);
                if (Peak > Budget) return OutOfMemory();
                layer.ReleaseBefore(layer.End(c1 - 1) > end ? c1 - 1 : c1);
                begin = end;
                if (Options.Progress) {
                    TSolveProgress progress;
                    progress.Stored = Result.Stored;
                    progress.Expanded = Result.Expanded;
                    progress.Depth = depth;
                    progress.Bound = bound == Unbounded ? 0 : static_cast<int>(bound);
                    Options.Progress(progress);
                }
            }
            layerStart += layer.Count;
            layer = std::move(next);
        }
        dropped.assign(DroppedRange, 0);
        for (const auto& worker : Workers)
            for (std::size_t i = 0; i < DroppedRange; ++i)
                dropped[i] += worker->Dropped[i];
        return true;
    }

    // Doubles the shards of the table filled beyond three quarters, one after
    // the other, each by all threads when it is large.
    bool MakeRoom(const TLayer& layer, const TLayer& next) {
        for (std::size_t s = 0; s < TSeenTable::Shards; ++s) {
            if (!Table->Crowded(s)) continue;
            // The new shard is held beside the old one while it fills.
            const std::size_t peak = Held(layer, next) + 2 * Table->Shard(s).Bytes();
            if (peak > Budget) return OutOfMemory();
            const bool shared = Table->Shard(s).Size() >= (std::size_t{1} << 13) && Threads > 1;
            GrowShard(s, shared ? static_cast<std::size_t>(Threads) : 1);
            Peak = std::max(Peak, peak);
        }
        return true;
    }

    void GrowShard(std::size_t s, std::size_t parts) {
        Table->Grow(s, parts, [this](std::size_t n, const std::function<void(std::size_t)>& part) {
            RunShared(static_cast<int>(n), [&](int t) { part(static_cast<std::size_t>(t)); });
        });
    }

    // Shares out the free slots of each shard among the threads of a segment.
    void GiveQuotas(int threads) {
        for (auto& worker : Workers)
            for (std::size_t s = 0; s < TSeenTable::Shards; ++s) {
                worker->Quota[s] = Table->Shard(s).Room() / static_cast<std::size_t>(threads);
                worker->Taken[s] = 0;
            }
    }

    // Tries the four moves of the layer's positions begin..end-1, which lie in
    // chunks c0..c1-1; answers the smallest link of a winning move, NoLink
    // when none wins.
    std::uint32_t ExpandSegment(const TLayer& layer, std::size_t c0, std::size_t c1,
                                std::uint64_t begin, std::uint64_t end, std::uint64_t layerStart,
                                int depth, std::uint32_t bound) {
        std::atomic<std::uint32_t> goal{NoLink};
        const int threads = end - begin >= Options.ParallelFrom ? Threads : 1;
        GiveQuotas(threads);
        // Each thread takes the chunks of its own part of the segment, then
        // helps with the others' parts: the positions a thread finds come
        // mostly from its own part, so that it meets its own new positions
        // again rather than another thread's, and writes them out itself.
        const auto parts = static_cast<std::size_t>(threads);
        for (std::size_t t = 0; t < parts; ++t) {
            Parts[t].Next.store(c0 + (c1 - c0) * t / parts, std::memory_order_relaxed);
            Parts[t].End = c0 + (c1 - c0) * (t + 1) / parts;
        }
        RunShared(threads, [&](int t) {
            TWorker& w = *Workers[static_cast<std::size_t>(t)];
            w.BatchCells.resize(Batch * Size);
            w.Packed.resize(Size);
            w.Batched = 0;
            try {
                for (std::size_t k = 0; k < parts; ++k) {
                    TPart& part = Parts[(static_cast<std::size_t>(t) + k) % parts];
                    for (;;) {
                        if (Options.Stop.stop_requested()) return;
                        std::size_t c = part.Next.fetch_add(1, std::memory_order_relaxed);
                        if (c >= part.End) break;
                        if (Options.Backwards) c = c1 - 1 - (c - c0); // from the end first
                        const TChunk& chunk = layer.Chunks[c];
                        const std::uint8_t* in = chunk.At;
                        std::memcpy(w.Packed.data(), StartPacked.data(), Size);
                        // (a chunk the segment begins in is read from its start)
                        const std::uint64_t last = std::min(layer.End(c), end);
                        for (std::uint64_t p = chunk.First; p < last; ++p) {
                            in += Delta.Decode(in, w.Packed.data());
                            if (p >= begin) ExpandOne(w, layerStart + p, depth, bound, goal);
                        }
                        Flush(w);
                    }
                }
            } catch (...) {
                w.Failure = std::current_exception();
                for (std::size_t k = 0; k < parts; ++k)
                    Parts[k].Next.store(Parts[k].End);
            }
        });
        for (std::size_t s = 0; s < TSeenTable::Shards; ++s)
            for (auto& worker : Workers)
                Table->Shard(s).Took(worker->Taken[s]);
        AddDeferred();
        for (auto& worker : Workers) {
            Result.Expanded += worker->Expanded;
            worker->Expanded = 0;
            PassStored += worker->Fresh.Size();
            if (worker->Failure) {
                std::exception_ptr failure = worker->Failure;
                worker->Failure = nullptr;
                std::rethrow_exception(failure);
            }
        }
        Result.Stored = StoredBefore + PassStored;
        return goal.load();
    }

    // Adds the positions refused for want of free slots, growing the shards
    // that need it (which tells the positions of this segment their new slots).
    void AddDeferred() {
        for (auto& worker : Workers) {
            TWorker& w = *worker;
            if (w.Failure) continue;
            for (std::size_t i = 0; i < w.DeferredPrints.size(); ++i) {
                const std::uint64_t fp = w.DeferredPrints[i];
                const std::size_t s = TSeenTable::ShardOf(fp);
                for (;;) {
                    TFreshEntry& mine = w.Fresh.Prepare();
                    mine.Print = fp;
                    mine.Link = w.DeferredLinks[i];
                    const TShard::TAnswer answer =
                        Table->Shard(s).Insert(fp, Ref(w), mine, Table->Shard(s).Room() > 0, s);
                    if (answer == TShard::Full) {
                        GrowShard(s, 1);
                        continue;
                    }
                    if (answer == TShard::New) {
                        w.Fresh.Commit();
                        Table->Shard(s).Took(1);
                        w.New.Add(w.Deferred.data() + i * Size);
                    }
                    break;
                }
            }
            w.Deferred.clear();
            w.DeferredPrints.clear();
            w.DeferredLinks.clear();
        }
    }

    // The table's reference to the entry a thread prepares.
    static std::uint64_t Ref(const TWorker& w) {
        return Fresh | (static_cast<std::uint64_t>(w.Index) << 32) | w.Fresh.Size();
    }

    void ExpandOne(TWorker& w, std::uint64_t node, int depth, std::uint32_t bound,
                   std::atomic<std::uint32_t>& goal) {
        Packer.Unpack(w.Packed.data(), w.Parent);
        w.Child.CopyFrom(w.Parent);
        for (std::uint8_t d = Up; d <= Right; ++d) {
            const TDir dir = static_cast<TDir>(d);
            // A refused move normally changes nothing: then the copy serves again.
            if (w.Child.HasChanged()) w.Child.CopyFrom(w.Parent);
            if (!w.Child.HeroMove(dir)) continue;
            const std::uint32_t link = Link(node, dir);
            if (w.Child.GetFoodCount() == 0) {
                LowerLink(goal, link);
                continue;
            }
            if (w.Child.GetCell(w.Child.GetHeroPos()) == Loser) continue;
            if (Options.Prune) {
                const std::uint32_t h = w.Bound.Steps(w.Child.Raw(), w.Child.GetHeroPos());
                if (h == TLowerBound::Lost) continue;
                const std::uint64_t f = static_cast<std::uint64_t>(depth) + 1 + h;
                if (f > bound) {
                    w.Dropped[std::min<std::uint64_t>(f - bound - 1, DroppedRange - 1)]++;
                    continue;
                }
            }
            std::uint8_t* cells = w.BatchCells.data() + w.Batched * Size;
            Packer.Pack(w.Child, cells);
            const std::uint64_t fp = Fingerprint(cells, Size);
            Table->Prefetch(fp);
            w.BatchPrints[w.Batched] = fp;
            w.BatchLinks[w.Batched] = link;
            if (++w.Batched == Batch) Flush(w);
        }
        ++w.Expanded;
    }

    // Looks the batch up in the table and stores the positions new to it.
    void Flush(TWorker& w) {
        for (std::size_t b = 0; b < w.Batched; ++b) {
            const std::uint8_t* cells = w.BatchCells.data() + b * Size;
            const std::uint64_t fp = w.BatchPrints[b];
            const std::size_t s = TSeenTable::ShardOf(fp);
            TFreshEntry& mine = w.Fresh.Prepare();
            mine.Print = fp;
            mine.Link = w.BatchLinks[b];
            switch (Table->Shard(s).Insert(fp, Ref(w), mine, w.Taken[s] < w.Quota[s], s)) {
            case TShard::New:
                w.Fresh.Commit();
                ++w.Taken[s];
                w.New.Add(cells);
                break;
            case TShard::Seen:
                break;
            case TShard::Full: // added after the shard has grown
                w.Deferred.insert(w.Deferred.end(), cells, cells + Size);
                w.DeferredPrints.push_back(fp);
                w.DeferredLinks.push_back(w.BatchLinks[b]);
                break;
            }
        }
        w.Batched = 0;
    }

    // Appends the segment's new positions to the next layer in the order of
    // their smallest links, so that the next layer reads as a single-threaded
    // search would have found it, and records their links. `base` is the
    // smallest link the segment's positions can have.
    void WriteSegment(TLayer& next, std::uint64_t base, std::size_t length) {
        // (every entry is NoRef between segments: the writers clear what they read)
        const std::size_t places = 4 * length;
        if (Placement.size() < places) Placement.resize(places, NoRef);
        // Each thread places the positions it found (with their index in its
        // lists), then writes a share of them in order (in parallel when the
        // segment is long enough to pay for waking the threads).
        const bool shared = length >= std::max<std::size_t>(Options.ParallelFrom, 1024);
        const int writers = shared ? Threads : 1;
        auto place = [&](std::size_t t) {
            const TWorker& w = *Workers[t];
            for (std::size_t i = 0; i < w.Fresh.Size(); ++i) {
                const TFreshEntry& entry = w.Fresh[i];
                Table->Settle(entry);
                Placement[entry.Link - base] = (static_cast<std::uint64_t>(t) << ThreadShift) | i;
            }
        };
        if (shared) {
            RunShared(Threads, [&](int t) { place(static_cast<std::size_t>(t)); });
        } else {
            for (std::size_t t = 0; t < Workers.size(); ++t)
                place(t);
        }
        RunShared(writers, [&](int r) { WriteShare(next, r, writers, base, places); });
        for (int r = 0; r < writers; ++r) {
            TWorker& w = *Workers[static_cast<std::size_t>(r)];
            for (TChunk chunk : w.Chunks) {
                chunk.First += static_cast<std::uint32_t>(next.Count);
                next.Chunks.push_back(chunk);
            }
            next.Count += w.Links.size();
            Links.Append(w.Links);
        }
    }

    // Writes the positions of share r of the segment's places into chain r of
    // the next layer, in chunks, and clears those places.
    void WriteShare(TLayer& next, int r, int writers, std::uint64_t base, std::size_t places) {
        TWorker& w = *Workers[static_cast<std::size_t>(r)];
        TBlockChain& chain = *next.Chains[static_cast<std::size_t>(r)];
        w.Chunks.clear();
        w.Links.clear();
        w.Previous.resize(Size);
        // A buffer and a cursor for the positions of each thread, which are
        // mostly read one after the other.
        w.Reading.resize(Workers.size() * Size);
        w.Cursors.assign(Workers.size(), {});
        const std::size_t n = places;
        const std::size_t from =
            n * static_cast<std::size_t>(r) / static_cast<std::size_t>(writers);
        const std::size_t to =
            n * static_cast<std::size_t>(r + 1) / static_cast<std::size_t>(writers);
        std::uint32_t written = 0;
        for (std::size_t i = from; i < to; ++i) {
            const std::uint64_t ref = Placement[i];
            if (ref == NoRef) continue;
            Placement[i] = NoRef;
            const std::size_t t = static_cast<std::size_t>(ref >> ThreadShift);
            std::uint8_t* packed = w.Reading.data() + t * Size;
            Workers[t]->New.Read(ref & ((std::uint64_t{1} << ThreadShift) - 1), packed,
                                 w.Cursors[t]);
            const std::uint8_t* previous = w.Previous.data();
            if (written % ChunkLength == 0) {
                chain.Reserve(ChunkLength * Delta.MaxEntry());
                w.Chunks.push_back(
                    {chain.Next(), written, chain.Block(), static_cast<std::uint32_t>(r)});
                previous = StartPacked.data();
            }
            chain.Commit(Delta.Encode(previous, packed, chain.Next()));
            std::memcpy(w.Previous.data(), packed, Size);
            w.Links.push_back(static_cast<std::uint32_t>(base + i));
            ++written;
        }
    }

    void ReadSolution(std::uint32_t goal) {
        Result.Moves.push_back(static_cast<TDir>(goal & 3));
        std::uint64_t node = goal >> 2;
        while (node != 0) {
            const std::uint32_t link = Links.At(node);
            Result.Moves.push_back(static_cast<TDir>(link & 3));
            node = link >> 2;
        }
        std::reverse(Result.Moves.begin(), Result.Moves.end());
        Result.Outcome = TSolveOutcome::Solved;
    }

    // Runs job on `threads` threads; the other threads start when first needed,
    // so that a small search never starts them.
    // A job that throws on any thread (running out of memory) ends every
    // thread's part first; then the first exception is thrown here.
    void RunShared(int threads, const std::function<void(int)>& job) {
        if (threads <= 1) {
            job(0);
            return;
        }
        if (!Pool) Pool = std::make_unique<TThreadPool>(Threads);
        std::vector<std::exception_ptr> failures(static_cast<std::size_t>(threads));
        Pool->Run(threads, [&](int t) {
            try {
                job(t);
            } catch (...) {
                failures[static_cast<std::size_t>(t)] = std::current_exception();
            }
        });
        for (const std::exception_ptr& failure : failures)
            if (failure) std::rethrow_exception(failure);
    }

    bool OutOfMemory() {
        Result = GaveUp();
        Result.OutOfMemory = true;
        return false;
    }

    // The bytes the search holds now.
    std::size_t Held(const TLayer& layer, const TLayer& next) const {
        std::size_t bytes = Table->Bytes() + Links.Bytes() + layer.Bytes() + next.Bytes() +
                            Placement.capacity() * sizeof(std::uint64_t);
        for (const auto& worker : Workers)
            bytes += worker->Fresh.Bytes() + worker->New.Bytes() +
                     worker->Chunks.capacity() * sizeof(TChunk) +
                     worker->Links.capacity() * sizeof(std::uint32_t) +
                     worker->BatchCells.capacity() + worker->Packed.capacity() +
                     worker->Previous.capacity() + worker->Reading.capacity();
        return bytes;
    }

    // Notes the memory held at the end of a segment and forgets the segment's
    // new positions (keeping the room they took for the next segment).
    void Account(const TLayer& layer, const TLayer& next) {
        Peak = std::max(Peak, Held(layer, next));
        Result.PeakBytes = Peak;
        Result.PeakStored = std::max(Result.PeakStored, PassStored);
        for (auto& worker : Workers) {
            worker->New.Clear();
            worker->Fresh.Clear();
        }
    }

    const TMap& Level;
    const TSolveOptions& Options;
    TPacker Packer;
    std::size_t Size;
    TDelta Delta;
    std::size_t ChunkLength;
    int Threads = 1;
    std::uint64_t Budget = 0;
    std::vector<std::uint8_t> StartPacked;
    std::vector<std::unique_ptr<TWorker>> Workers;
    TShard::TLists FreshLists; // the workers' entries, for the table
    std::unique_ptr<TThreadPool> Pool;
    std::unique_ptr<TSeenTable> Table;
    TLinks Links;
    static constexpr std::uint64_t NoRef = ~std::uint64_t{0};
    std::vector<std::uint64_t> Placement;
    // The parts of a segment's chunks, one a thread.
    struct alignas(64) TPart {
        std::atomic<std::size_t> Next{0};
        std::size_t End = 0;
    };
    std::array<TPart, MaxSolverThreads> Parts;
    std::uint64_t StoredBefore = 0; // positions stored by the passes before
    std::uint64_t PassStored = 0;   // positions stored by this pass
    std::size_t Peak = 0;
    TSolveResult Result;
};

} // namespace

int DefaultSolverThreads() {
    const unsigned cores = std::thread::hardware_concurrency();
    return std::clamp(static_cast<int>(cores), 1, MaxSolverThreads);
}

std::uint64_t DefaultSolverMemory() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0) return std::uint64_t{1} << 30;
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize) / 2;
}

TSolveResult Solve(const TMap& level, const TSolveOptions& options) {
    if (options.MaxStates < 1 || options.MaxStates > MaxSolverStates)
        throw std::out_of_range("the position limit must lie between 1 and " +
                                std::to_string(MaxSolverStates));
    if (options.SegmentLength < 1 || options.SegmentLength > (std::size_t{1} << 24))
        throw std::out_of_range("the segment length must lie between 1 and 2^24");
    if (options.Threads < 0 || options.Threads > MaxSolverThreads)
        throw std::out_of_range("the number of threads must lie between 0 and " +
                                std::to_string(MaxSolverThreads));
    if (!level.IsPlayable()) throw Error("level is not playable");
    TSearch search(level, options);
    return search.Run();
}

} // namespace tb
