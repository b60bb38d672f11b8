#pragma once
// Small levels for the tests of tobbin-cli, written in the 20-line text form.

#include <string>
#include <vector>

namespace tb::test {

// The rows are placed at the top left of the grid (row 1, column 1); every
// other cell is a wall.
std::vector<std::string> Grid(const std::vector<std::string>& rows);
// The 20-line text form of a level.
std::string LevelText(const std::string& name, const std::vector<std::string>& rows);
// The 18 board lines tobbin-cli play prints for a grid, each "|...|\n".
std::string Board(const std::vector<std::string>& rows);

} // namespace tb::test
