#pragma once
// Helpers for the engine tests: levels drawn as text, and a hook recorder that
// logs every event of a move in the order the engine raises it.

#include "engine/tb_activemap.h"
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
    void Explode(TPos a, TPos b) override {
        Log.push_back("Explode " + P(a) + " " + P(b));
        Base::Explode(a, b);
    }
    bool LandOnBox(TPos pos, TPos box) override {
        Log.push_back("LandOnBox " + P(pos) + " " + P(box));
        return Base::LandOnBox(pos, box);
    }
    void Fall(TPos pos, TDir dir) override {
        Log.push_back("Fall " + P(pos) + " " + D(dir));
        Base::Fall(pos, dir);
    }
    void Blocked() override {
        Log.push_back("Blocked");
        Base::Blocked();
    }
    bool MoveHeroTo(TPos pos) override {
        Log.push_back("MoveHeroTo " + P(pos));
        return Base::MoveHeroTo(pos);
    }
    void MoveObject(TPos from, TPos to) override {
        Log.push_back("MoveObject " + P(from) + ">" + P(to));
        Base::MoveObject(from, to);
    }
    bool DigGrass(TPos pos) override {
        Log.push_back("DigGrass " + P(pos));
        return Base::DigGrass(pos);
    }
    bool EatFood(TPos pos) override {
        Log.push_back("EatFood " + P(pos));
        return Base::EatFood(pos);
    }
    bool Roll(TPos& pos, TDir& dir) override {
        Log.push_back("Roll " + P(pos) + " " + D(dir));
        return Base::Roll(pos, dir);
    }
    void Thud() override {
        Log.push_back("Thud");
        Base::Thud();
    }
    bool IsUnsafeStepDown(TPos pos) override {
        Log.push_back("IsUnsafeStepDown " + P(pos));
        return Base::IsUnsafeStepDown(pos);
    }
};

using TRecorder = THookLog<TActiveMap>;

} // namespace tb::test
