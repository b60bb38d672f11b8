#include "tests/tools/tool_levels.h"

namespace tb::test {

std::vector<std::string> Grid(const std::vector<std::string>& rows) {
    std::vector<std::string> grid(18, std::string(31, '#'));
    for (std::size_t y = 0; y < rows.size(); ++y)
        grid[y].replace(0, rows[y].size(), rows[y]);
    return grid;
}

std::string LevelText(const std::string& name, const std::vector<std::string>& rows) {
    std::string text = name + "\n";
    for (const std::string& row : Grid(rows))
        text += row + "\n";
    return text + "OK\n";
}

std::string Board(const std::vector<std::string>& rows) {
    std::string text;
    for (const std::string& row : Grid(rows))
        text += "|" + row + "|\n";
    return text;
}

} // namespace tb::test
