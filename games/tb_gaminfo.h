#pragma once
// A game header with the best known solution of each level, the sets of solved
// and freshly imported levels, and the mark "the current player finished it".

#include "engine/tb_levsol.h"
#include "games/tb_gambase.h"

#include <array>
#include <memory>

namespace tb {

class TGamInfo : public TGamBase {
public:
    TGamInfo() = default;
    ~TGamInfo() override;

    // Deletes all solutions, Mark 0, then the header's Init.
    void Init(const std::string& name, const std::string& author, std::uint8_t skill);
    // FreshLevels when fresh, else SolvedLevels (bit L for level L).
    std::uint16_t SolvedSet(bool fresh) const { return fresh ? FreshLevels : SolvedLevels; }
    // Levels 1..LevelCount whose bit is set in that set.
    int CountSolved(bool fresh) const;
    // level 1..9 (std::out_of_range otherwise); nullptr when the level has none.
    const TLevSol* GetSolution(int level) const;
    // Stores a compact copy as the best of that level (nothing above LevelCount).
    void SetSolution(const TLevSol& solution, int level, bool fresh);
    // Level 0 deletes all. Answers whether a solution existed.
    bool DeleteSolution(int level);
    void SetFresh(int level, bool on);
    bool SetMark(std::uint8_t mark);
    // The player holding the solutions of all levels, or an empty text.
    std::string AllSolvedBy() const;
    // Removes the level's solution and moves the solutions above it down.
    void RemoveLevel(int level);
    void SwapSolutions(int a, int b);
    // Header, Mark and exact copies of the source's solutions.
    void Assign(const TGamInfo& source);
    // One solution line per solved level, in level order; answers the count.
    int WriteSolutions(TTextWriter& file) const;
    // Compares the names in upper case: -1, 0 or 1 (the game list's order).
    static int CompareByName(const TGamInfo& a, const TGamInfo& b);

    std::uint8_t Mark = 0;

protected:
    std::array<std::unique_ptr<TLevSol>, 10> Solutions; // [1..9]
    std::uint16_t SolvedLevels = 0;
    std::uint16_t FreshLevels = 0;
};

} // namespace tb
