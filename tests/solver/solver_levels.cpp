#include "tests/solver/solver_levels.h"

#include "services/d_file.h"
#include "tests/tools/tool_levels.h"

#include <deque>
#include <random>
#include <unordered_map>

namespace tb::test {

std::unique_ptr<TPosition> MakeLevel(const std::vector<std::string>& rows) {
    auto level = std::make_unique<TPosition>();
    TTextReader text(LevelText("Test", rows));
    level->ReadText(text);
    return level;
}

std::unique_ptr<TPosition> RandomLevel(std::uint32_t seed, int width, int height) {
    std::mt19937 random(seed);
    // Weights of Empty, Grass, Wall, Stone, Food, Box1..Box3, Bomb.
    std::discrete_distribution<std::size_t> cell({30, 22, 8, 14, 8, 3, 2, 1, 4});
    const std::size_t w = static_cast<std::size_t>(width), h = static_cast<std::size_t>(height);
    std::vector<std::string> rows(h + 2, std::string(w + 2, '#'));
    for (std::size_t y = 1; y <= h; ++y)
        for (std::size_t x = 1; x <= w; ++x)
            rows[y][x] = CellAlphabet[cell(random)];
    std::uniform_int_distribution<std::size_t> col(1, w), row(1, h);
    const std::size_t hx = col(random), hy = row(random);
    rows[hy][hx] = 'H';
    if (rows[hy].find('+') == std::string::npos) {
        const std::size_t fx = col(random), fy = row(random);
        if (fx != hx || fy != hy) rows[fy][fx] = '+';
    }
    // Lets everything hanging over an empty cell drop to rest, bottom up.
    for (bool moved = true; moved;) {
        moved = false;
        for (std::size_t y = h - 1; y >= 1; --y)
            for (std::size_t x = 1; x <= w; ++x)
                if (std::string_view("*<>=!").find(rows[y][x]) != std::string_view::npos &&
                    rows[y + 1][x] == ' ') {
                    std::swap(rows[y][x], rows[y + 1][x]);
                    moved = true;
                }
    }
    auto level = MakeLevel(rows);
    if (level->GetFoodCount() == 0) level->SetCell(TPos(width, height), Food);
    if (level->GetHeroPos().IsNone()) level->SetCell(TPos(1, 1), Hero);
    return level;
}

TSolveResult ReferenceSolve(const TMap& level, std::size_t maxStates) {
    using TKey = std::string;
    auto key = [](const TMap& map) {
        const auto& cells = map.GetCells();
        return TKey(reinterpret_cast<const char*>(cells.data()), sizeof cells);
    };
    struct TNode {
        TKey Parent;
        TDir Move = Up;
    };
    TSolveResult result;
    std::unordered_map<TKey, TNode> seen;
    std::deque<std::unique_ptr<TPosition>> queue;
    const TKey first = key(level);
    seen.emplace(first, TNode{});
    queue.push_back(std::make_unique<TPosition>(level));
    while (!queue.empty()) {
        const std::unique_ptr<TPosition> parent = std::move(queue.front());
        queue.pop_front();
        const TKey at = key(*parent);
        for (std::uint8_t d = Up; d <= Right; ++d) {
            auto child = std::make_unique<TPosition>(static_cast<const TMap&>(*parent));
            if (!child->HeroMove(static_cast<TDir>(d))) continue;
            if (child->Won()) {
                std::vector<TDir> moves{static_cast<TDir>(d)};
                for (TKey back = at; back != first;) {
                    const TNode& node = seen.at(back);
                    moves.push_back(node.Move);
                    back = node.Parent;
                }
                result.Moves.assign(moves.rbegin(), moves.rend());
                result.Outcome = TSolveOutcome::Solved;
                result.Stored = seen.size();
                return result;
            }
            if (child->Lost()) continue;
            TKey next = key(*child);
            if (seen.contains(next)) continue;
            if (seen.size() == maxStates) {
                result.Outcome = TSolveOutcome::GaveUp;
                return result;
            }
            seen.emplace(std::move(next), TNode{at, static_cast<TDir>(d)});
            queue.push_back(std::move(child));
        }
    }
    result.Outcome = TSolveOutcome::Unsolvable;
    result.Stored = seen.size();
    return result;
}

bool Wins(const TMap& level, const std::vector<TDir>& moves) {
    TPosition play(level);
    for (TDir dir : moves) {
        if (play.Won() || play.Lost()) return false;
        play.HeroMove(dir);
    }
    return play.Won();
}

std::string Rows(const TMap& level, int cols, int rows) {
    std::string text;
    for (int y = 1; y <= rows; ++y) {
        for (int x = 1; x <= cols; ++x) {
            const std::uint8_t code = level.GetCell(TPos(x, y));
            text += code >= 1 && code <= CellAlphabet.size() ? CellAlphabet[code - 1] : '?';
        }
        text += '\n';
    }
    return text;
}

} // namespace tb::test
