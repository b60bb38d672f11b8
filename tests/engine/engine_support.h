#pragma once
// Helpers for the engine tests: levels drawn as text, and a hook recorder that
// logs every event of a move in the order the engine raises it.

#include "engine/tb_activemap.h"
#include "engine/tb_levsol.h"
#include "engine/tb_map.h"
#include "services/d_file.h"
#include "tests/test_support.h"

#include <string>
#include <vector>

namespace tb::test {

using Rows = std::vector<std::string>;

// Lays the rows into a map through its text form.
inline void Lay(TMap& map, const Rows& rows, const std::string& name = "Test") {
    TTextReader reader(LevelText(rows, name));
    map.ReadText(reader);
}

// The first `count` rows of the map as text, trailing blanks removed.
inline Rows Picture(const TMap& map, int count) {
    Rows rows;
    for (int y = 1; y <= count; ++y) {
        std::string line;
        for (int x = 1; x <= TMap::Width; ++x) {
            const std::uint8_t c = map.GetCell(TPos(x, y));
            line += c == 0 ? '?' : CellAlphabet[c - 1];
        }
        line.erase(line.find_last_not_of(' ') + 1);
        rows.push_back(line);
    }
    return rows;
}

inline std::string P(TPos p) {
    return std::to_string(p.X) + "," + std::to_string(p.Y);
}
inline std::string D(TDir d) {
    return std::string(1, "UDLR"[d]);
}

// The moves written as the letters U D L R, recorded for `player`, and back.
inline TLevSol Moves(const std::string& letters, const std::string& player = "Ann #0") {
    TLevSol s;
    s.SetPlayer(player);
    for (char c : letters)
        s.Add(static_cast<std::uint8_t>(std::string_view("UDLR").find(c)));
    return s;
}
inline std::string Letters(const TLevSol& s) {
    std::string text;
    for (int i = 1; i <= s.GetSteps(); ++i)
        text += "UDLR"[s.GetMove(i)];
    return text;
}

// Records every hook of a move with its arguments, then applies the rule.
// Base is TActiveMap or any class derived from it.
template <typename Base> class THookLog : public Base {
public:
    using Base::Base;
    std::vector<std::string> Log;
    bool LogCells = false; // SetCell calls are many; log them only on demand

    using Base::CanPush;
    using Base::RollSide;

    void SetCell(TPos pos, std::uint8_t code) override {
        if (LogCells)
            Log.push_back("SetCell " + P(pos) + " " + std::string(1, CellAlphabet[code - 1]));
        Base::SetCell(pos, code);
    }

protected:
// A hook that logs its name and arguments, then applies the rule.
#define TB_HOOK(Ret, Name, Params, Args, Text)                                                     \
    Ret Name Params override {                                                                     \
        Log.push_back(Text);                                                                       \
        return Base::Name Args;                                                                    \
    }
    TB_HOOK(void, Explode, (TPos a, TPos b), (a, b), "Explode " + P(a) + " " + P(b))
    TB_HOOK(bool, LandOnBox, (TPos pos, TPos box), (pos, box), "LandOnBox " + P(pos) + " " + P(box))
    TB_HOOK(void, Fall, (TPos pos, TDir dir), (pos, dir), "Fall " + P(pos) + " " + D(dir))
    TB_HOOK(void, Blocked, (), (), "Blocked")
    TB_HOOK(bool, MoveHeroTo, (TPos pos), (pos), "MoveHeroTo " + P(pos))
    TB_HOOK(void, MoveObject, (TPos from, TPos to), (from, to),
            "MoveObject " + P(from) + ">" + P(to))
    TB_HOOK(bool, DigGrass, (TPos pos), (pos), "DigGrass " + P(pos))
    TB_HOOK(bool, EatFood, (TPos pos), (pos), "EatFood " + P(pos))
    TB_HOOK(bool, Roll, (TPos & pos, TDir& dir), (pos, dir), "Roll " + P(pos) + " " + D(dir))
    TB_HOOK(void, Thud, (), (), "Thud")
    TB_HOOK(bool, IsUnsafeStepDown, (TPos pos), (pos), "IsUnsafeStepDown " + P(pos))
#undef TB_HOOK
};

using TRecorder = THookLog<TActiveMap>;

} // namespace tb::test
