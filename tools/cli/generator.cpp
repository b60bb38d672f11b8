#include "tools/cli/generator.h"

#include "engine/tb_activemap.h"
#include "services/d_error.h"
#include "services/d_string.h"
#include "solver/tb_solver.h"

#include <algorithm>
#include <utility>

namespace tb::cli {

namespace {

// splitmix64: small, fast and the same everywhere, unlike the distributions
// of the standard library.
class TRandom {
public:
    explicit TRandom(std::uint64_t seed) : State(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (State += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    // 0..n-1 (n > 0).
    std::size_t Below(std::size_t n) { return static_cast<std::size_t>(Next() % n); }

private:
    std::uint64_t State;
};

// The grid that records the events of the moves played on it.
class TRecordingMap : public TActiveMap {
public:
    unsigned Events = 0;

    bool HeroMove(TDir dir) override {
        const TPos target = Neighbour(HeroPos, dir);
        if (IsFalling(GetCell(target)) && CanPush(target, dir)) Events |= MechPush;
        return TActiveMap::HeroMove(dir);
    }

protected:
    void Explode(TPos a, TPos b) override {
        Events |= MechBomb;
        TActiveMap::Explode(a, b);
    }
    bool LandOnBox(TPos pos, TPos box) override {
        Events |= MechBox;
        return TActiveMap::LandOnBox(pos, box);
    }
    bool Roll(TPos& pos, TDir& dir) override {
        const bool rolled = TActiveMap::Roll(pos, dir);
        if (rolled) Events |= MechRoll;
        return rolled;
    }
};

struct TMechanicName {
    TMechanic Mechanic;
    const char* Name;
};
constexpr TMechanicName MechanicNames[] = {
    {MechPush, "push"}, {MechRoll, "roll"}, {MechBox, "box"}, {MechBomb, "bomb"}};

std::vector<std::string> SplitList(const std::string& text) {
    std::vector<std::string> items;
    std::string item;
    for (char c : text + ",") {
        if (c == ',') {
            if (!Trim(item).empty()) items.push_back(Trim(item));
            item.clear();
        } else {
            item += c;
        }
    }
    return items;
}

// Lets every falling object drop straight down until something holds it, the
// lowest first, so that the level starts at rest.
void Settle(TMap& map) {
    for (int y = TMap::Height - 1; y >= 1; --y)
        for (int x = 1; x <= TMap::Width; ++x) {
            TPos pos(x, y);
            const std::uint8_t code = map.GetCell(pos);
            if (!IsFalling(code)) continue;
            TPos below = TMap::Neighbour(pos, Down);
            while (map.GetCell(below) == Empty) {
                map.SetCell(pos, Empty);
                map.SetCell(below, code);
                pos = below;
                below = TMap::Neighbour(pos, Down);
            }
        }
}

// The code of the cells a shape offers for objects: Unknown when it has any
// ('.' in its text form), else Empty.
std::uint8_t FreeCode(const TMap& map) {
    for (int y = 1; y <= TMap::Height; ++y)
        for (int x = 1; x <= TMap::Width; ++x)
            if (map.GetCell(TPos(x, y)) == Unknown) return Unknown;
    return Empty;
}

// The candidate with number `index`: the frame or the shape, then the hero
// and the objects on free cells picked at random. A shape's free cells are its
// unknown cells (drawn '.') when it has any, else its Empty cells; unknown
// cells left over become Empty. With Mirror, every object placed left of the
// middle column is placed on its mirror cell too.
void LayOut(const TGenerateOptions& options, int index, TMap& map) {
    TRandom random(options.Seed * 0x9e3779b97f4a7c15ULL + static_cast<std::uint64_t>(index));
    if (options.Shape) {
        map.Assign(*options.Shape);
    } else {
        map.Clear();
        for (int y = 1; y <= TMap::Height; ++y)
            for (int x = 1; x <= TMap::Width; ++x)
                map.SetCell(TPos(x, y), Wall);
        const int x0 = (TMap::Width - options.Width) / 2 + 1;
        const int y0 = (TMap::Height - options.Height) / 2 + 1;
        for (int y = y0; y < y0 + options.Height; ++y)
            for (int x = x0; x < x0 + options.Width; ++x)
                map.SetCell(TPos(x, y), Empty);
    }
    const std::uint8_t freeCode = FreeCode(map);
    int minX = TMap::Width, maxX = 1;
    for (int y = 1; y <= TMap::Height; ++y)
        for (int x = 1; x <= TMap::Width; ++x)
            if (map.GetCell(TPos(x, y)) != Wall) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
            }
    auto mirror = [&](TPos pos) { return options.Mirror ? TPos(minX + maxX - pos.X, pos.Y) : pos; };
    std::vector<TPos> free;
    for (int y = 1; y <= TMap::Height; ++y)
        for (int x = 1; x <= TMap::Width; ++x) {
            const TPos pos(x, y);
            if (map.GetCell(pos) != freeCode) continue;
            if (options.Mirror && (2 * x > minX + maxX || map.GetCell(mirror(pos)) != freeCode))
                continue;
            free.push_back(pos);
        }
    for (std::size_t i = free.size(); i > 1; --i)
        std::swap(free[i - 1], free[random.Below(i)]);
    std::size_t next = 0;
    // The next free cell; with Mirror, one on the middle column for a single
    // object (none when no such cell is left) and one off it for a pair when
    // there is one.
    auto take = [&](bool single) -> TPos {
        if (options.Mirror) {
            for (std::size_t i = next; i < free.size(); ++i)
                if ((mirror(free[i]) == free[i]) == single) {
                    std::swap(free[i], free[next]);
                    return free[next++];
                }
            if (single) return TPos();
        }
        return next < free.size() ? free[next++] : TPos();
    };
    if (map.GetHeroPos().Y == 0) {
        const TPos pos = take(true);
        if (pos.Y != 0) map.SetCell(pos, Hero);
    }
    const TObjectCounts& n = options.Objects;
    const std::pair<int, TCell> kinds[] = {{n.Food, Food}, {n.Stone, Stone}, {n.Grass, Grass},
                                           {n.Wall, Wall}, {n.Box1, Box1},   {n.Box2, Box2},
                                           {n.Box3, Box3}, {n.Bomb, Bomb}};
    for (const auto& [count, code] : kinds)
        for (int placed = 0; placed < count;) {
            const TPos pos = take(count - placed == 1);
            if (pos.Y == 0) break;
            map.SetCell(pos, code);
            map.SetCell(mirror(pos), code);
            placed += mirror(pos) == pos ? 1 : 2;
        }
    if (freeCode == Unknown)
        for (int y = 1; y <= TMap::Height; ++y)
            for (int x = 1; x <= TMap::Width; ++x)
                if (map.GetCell(TPos(x, y)) == Unknown) map.SetCell(TPos(x, y), Empty);
    Settle(map);
}

bool Lost(const TMap& map) {
    return map.GetCell(map.GetHeroPos()) == Loser;
}

} // namespace

unsigned ParseMechanics(const std::string& text) {
    unsigned set = 0;
    for (const std::string& item : SplitList(text)) {
        const auto found = std::find_if(std::begin(MechanicNames), std::end(MechanicNames),
                                        [&](const TMechanicName& m) { return item == m.Name; });
        if (found == std::end(MechanicNames))
            throw Error("unknown mechanic '" + item + "' (push, roll, box, bomb)");
        set |= found->Mechanic;
    }
    return set;
}

std::string MechanicsText(unsigned set) {
    std::string text;
    // Appended piece by piece: GCC 12 at -O3 misreads a literal prefixed to a
    // temporary string as an overlapping copy (-Wrestrict).
    for (const TMechanicName& m : MechanicNames) {
        if (!(set & m.Mechanic)) continue;
        if (!text.empty()) text += ',';
        text += m.Name;
    }
    return text;
}

TObjectCounts ParseObjects(const std::string& text) {
    TObjectCounts counts;
    const std::pair<const char*, int TObjectCounts::*> kinds[] = {
        {"food", &TObjectCounts::Food},   {"stone", &TObjectCounts::Stone},
        {"grass", &TObjectCounts::Grass}, {"wall", &TObjectCounts::Wall},
        {"box1", &TObjectCounts::Box1},   {"box2", &TObjectCounts::Box2},
        {"box3", &TObjectCounts::Box3},   {"bomb", &TObjectCounts::Bomb}};
    for (const std::string& item : SplitList(text)) {
        const auto colon = item.find(':');
        const std::string kind = Trim(item.substr(0, colon));
        const auto found = std::find_if(std::begin(kinds), std::end(kinds),
                                        [&](const auto& k) { return kind == k.first; });
        if (found == std::end(kinds))
            throw Error("unknown object '" + kind +
                        "' (food, stone, grass, wall, box1, box2, box3, bomb)");
        long long count = -1;
        if (colon == std::string::npos || !ParseInt(Trim(item.substr(colon + 1)), count) ||
            count < 0 || count > 200)
            throw Error("object '" + kind + "' needs a count from 0 to 200, as in '" + kind +
                        ":3'");
        counts.*(found->second) = static_cast<int>(count);
    }
    if (counts.Food < 1) throw Error("a level needs at least one food");
    return counts;
}

unsigned SolutionMechanics(const TMap& level, const std::vector<TDir>& moves) {
    TRecordingMap map;
    map.Assign(level);
    for (TDir dir : moves) {
        if (map.GetFoodCount() == 0 || Lost(map)) break;
        map.HeroMove(dir);
    }
    return map.Events;
}

int ForcedMoves(const TMap& level, const std::vector<TDir>& moves) {
    TActiveMap map, trial;
    map.Assign(level);
    int forced = 0;
    for (TDir dir : moves) {
        if (map.GetFoodCount() == 0 || Lost(map)) break;
        int useful = 0;
        for (std::uint8_t d = Up; d <= Right; ++d) {
            trial.Assign(map);
            if (trial.HeroMove(static_cast<TDir>(d)) && !Lost(trial)) ++useful;
        }
        if (useful == 1) ++forced;
        map.HeroMove(dir);
    }
    return forced;
}

std::vector<TGeneratedLevel>
Generate(const TGenerateOptions& options,
         const std::function<void(const TGenerateProgress&)>& progress) {
    if (!options.Shape && (options.Width < 3 || options.Width > TMap::Width - 2 ||
                           options.Height < 2 || options.Height > TMap::Height - 2))
        throw Error("the size must lie between 3x2 and 29x16");
    if (options.MinSteps < 1 || options.MinSteps > options.MaxSteps)
        throw Error("the step range needs 1 <= A <= B");
    if (options.Count < 1) throw Error("the count must be at least 1");
    int room = 0;
    if (options.Shape) {
        const std::uint8_t freeCode = FreeCode(*options.Shape);
        for (int y = 1; y <= TMap::Height; ++y)
            for (int x = 1; x <= TMap::Width; ++x)
                room += options.Shape->GetCell(TPos(x, y)) == freeCode;
        if (options.Shape->GetHeroPos().Y != 0) ++room;
    } else {
        room = options.Width * options.Height;
    }
    if (options.Objects.Total() + 1 > room)
        throw Error("the objects and the hero need " + std::to_string(options.Objects.Total() + 1) +
                    " cells, the area has " + std::to_string(room));

    std::vector<TGeneratedLevel> kept;
    TSolveOptions solve;
    solve.MaxStates = options.MaxStates;
    TGenerateProgress report;
    for (int index = 1; index <= options.MaxTries && std::ssize(kept) < options.Count; ++index) {
        report.Tries = index;
        if (progress) progress(report);
        auto map = std::make_unique<TMap>();
        LayOut(options, index, *map);
        if (!map->IsPlayable()) continue;
        const bool seen = std::any_of(kept.begin(), kept.end(), [&](const TGeneratedLevel& l) {
            return l.Map->SameCells(*map);
        });
        if (seen) continue;
        const TSolveResult result = Solve(*map, solve);
        if (result.Outcome != TSolveOutcome::Solved) continue;
        const int steps = static_cast<int>(result.Moves.size());
        if (steps < options.MinSteps || steps > options.MaxSteps) continue;
        const unsigned events = SolutionMechanics(*map, result.Moves);
        if ((events & options.Needs) != options.Needs) continue;
        TGeneratedLevel level;
        level.Forced = ForcedMoves(*map, result.Moves);
        level.Mechanics = events;
        level.Positions = result.Stored;
        level.Solution = result.Moves;
        level.Try = index;
        map->SetName("Seed " + std::to_string(options.Seed) + " #" +
                     std::to_string(kept.size() + 1));
        level.Map = std::move(map);
        kept.push_back(std::move(level));
        report.Kept = static_cast<int>(kept.size());
    }
    if (progress) progress(report);
    return kept;
}

} // namespace tb::cli
