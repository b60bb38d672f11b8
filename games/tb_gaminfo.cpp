#include "games/tb_gaminfo.h"

#include "services/d_checked.h"
#include "services/d_string.h"

#include <algorithm>
#include <utility>

namespace tb {

namespace {

int CheckLevel(int level) {
    return CheckedIndex(level, 1, 9, "level outside 1..9");
}

std::uint16_t Bit(int level) {
    return static_cast<std::uint16_t>(1u << level);
}

void SetBit(std::uint16_t& set, int level, bool on) {
    set = static_cast<std::uint16_t>(on ? set | Bit(level) : set & ~Bit(level));
}

bool HasBit(std::uint16_t set, int level) {
    return (set & Bit(level)) != 0;
}

} // namespace

TGamInfo::~TGamInfo() = default;

void TGamInfo::Init(const std::string& name, const std::string& author, std::uint8_t skill) {
    DeleteSolution(0);
    // A new game has no imported solutions either.
    FreshLevels = 0;
    Mark = 0;
    TGamBase::Init(name, author, skill);
}

int TGamInfo::CountSolved(bool fresh) const {
    const std::uint16_t set = SolvedSet(fresh);
    int count = 0;
    for (int level = 1; level <= std::min<int>(LevelCount, MaxLevels); ++level)
        if (HasBit(set, level)) ++count;
    return count;
}

const TLevSol* TGamInfo::GetSolution(int level) const {
    return Solutions[static_cast<std::size_t>(CheckLevel(level))].get();
}

void TGamInfo::SetSolution(const TLevSol& solution, int level, bool fresh) {
    if (level > LevelCount) return;
    auto& slot = Solutions[static_cast<std::size_t>(CheckLevel(level))];
    if (!slot) slot = std::make_unique<TLevSol>(std::min(solution.GetSteps(), TLevSol::MaxMoves));
    slot->Assign(solution, false);
    SetBit(SolvedLevels, level, true);
    if (fresh) SetBit(FreshLevels, level, true);
}

bool TGamInfo::DeleteSolution(int level) {
    if (level == 0) {
        bool any = false;
        for (int l = 1; l <= MaxLevels; ++l) {
            any = any || Solutions[static_cast<std::size_t>(l)] != nullptr;
            Solutions[static_cast<std::size_t>(l)].reset();
        }
        SolvedLevels = 0;
        return any;
    }
    auto& slot = Solutions[static_cast<std::size_t>(CheckLevel(level))];
    const bool existed = slot != nullptr;
    slot.reset();
    SetBit(SolvedLevels, level, false);
    return existed;
}

void TGamInfo::SetFresh(int level, bool on) {
    SetBit(FreshLevels, CheckLevel(level), on);
}

bool TGamInfo::SetMark(std::uint8_t mark) {
    if (Mark == mark) return false;
    Mark = mark;
    return true;
}

std::string TGamInfo::AllSolvedBy() const {
    const std::string* player = nullptr;
    int solved = 0;
    for (int level = 1; level <= MaxLevels; ++level) {
        const TLevSol* solution = Solutions[static_cast<std::size_t>(level)].get();
        if (!solution) continue;
        if (!player)
            player = &solution->GetPlayer();
        else if (solution->GetPlayer() != *player)
            return {};
        ++solved;
    }
    if (LevelCount == 0 || !player || solved < LevelCount) return {};
    return *player;
}

void TGamInfo::RemoveLevel(int level) {
    CheckedIndex<int>(LevelCount, 0, MaxLevels, "more than 9 levels");
    CheckedIndex<int>(level, 1, LevelCount, "no such level");
    Solutions[static_cast<std::size_t>(level)].reset();
    DecLevelCount();
    // The levels above move down by one, each with its solution and its fresh mark.
    for (int l = level; l <= LevelCount; ++l) {
        Solutions[static_cast<std::size_t>(l)] =
            std::move(Solutions[static_cast<std::size_t>(l + 1)]);
        SetBit(SolvedLevels, l, Solutions[static_cast<std::size_t>(l)] != nullptr);
        SetBit(FreshLevels, l, HasBit(FreshLevels, l + 1));
    }
    Solutions[static_cast<std::size_t>(LevelCount + 1)].reset();
    SetBit(SolvedLevels, LevelCount + 1, false);
    SetBit(FreshLevels, LevelCount + 1, false);
}

void TGamInfo::SwapSolutions(int a, int b) {
    CheckLevel(a);
    CheckLevel(b);
    std::swap(Solutions[static_cast<std::size_t>(a)], Solutions[static_cast<std::size_t>(b)]);
    SetBit(SolvedLevels, a, Solutions[static_cast<std::size_t>(a)] != nullptr);
    SetBit(SolvedLevels, b, Solutions[static_cast<std::size_t>(b)] != nullptr);
    // A fresh mark stays with its solution.
    const bool freshA = HasBit(FreshLevels, a);
    SetBit(FreshLevels, a, HasBit(FreshLevels, b));
    SetBit(FreshLevels, b, freshA);
}

void TGamInfo::Assign(const TGamInfo& source) {
    if (&source == this) return;
    TGamBase::Assign(source);
    Mark = source.Mark;
    DeleteSolution(0);
    for (int level = 1; level <= std::min<int>(source.LevelCount, MaxLevels); ++level) {
        const TLevSol* solution = source.Solutions[static_cast<std::size_t>(level)].get();
        if (!solution) continue;
        Solutions[static_cast<std::size_t>(level)] = std::make_unique<TLevSol>(*solution);
        SetBit(SolvedLevels, level, true);
    }
}

int TGamInfo::WriteSolutions(TTextWriter& file) const {
    int count = 0;
    for (int level = 1; level <= MaxLevels; ++level) {
        if (const TLevSol* solution = Solutions[static_cast<std::size_t>(level)].get()) {
            solution->WriteLine(file, Name, level, Skill);
            ++count;
        }
    }
    return count;
}

int TGamInfo::CompareByName(const TGamInfo& a, const TGamInfo& b) {
    return CompareNoCase(a.Name, b.Name);
}

} // namespace tb
