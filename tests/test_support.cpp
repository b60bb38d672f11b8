#include "tests/test_support.h"

#include "services/d_file.h"
#include "services/d_folders.h"

#include <atomic>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace tb::test {
namespace fs = std::filesystem;

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    std::random_device rd;
    Root = fs::temp_directory_path() / ("tobbin-test-" + std::to_string(::getpid()) + "-" +
                                        std::to_string(counter++) + "-" + std::to_string(rd()));
    fs::create_directories(Root);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::remove_all(Root, ignored);
}

namespace {
const TempProgramFolder* Newest = nullptr;
}

TempProgramFolder::TempProgramFolder() : Outer(Newest) {
    for (const char* sub : {"tbg", "tlg", "img"})
        fs::create_directories(Path() / sub);
    Folders = ProgramFolders(Path());
    Newest = this;
}

TempProgramFolder::~TempProgramFolder() {
    Newest = Outer;
}

const TFolders& Layout() {
    if (Newest == nullptr) throw std::logic_error("no temporary program folder is alive");
    return Newest->Layout();
}

std::string LevelText(const std::vector<std::string>& rows, const std::string& name) {
    std::string text = name + "\r\n";
    for (std::size_t y = 0; y < 18; ++y)
        text += (y < rows.size() ? rows[y] : "") + "\r\n";
    return text + "OK\r\n";
}

void WriteFile(const fs::path& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    if (!out) throw std::runtime_error("cannot write " + path.string());
    out << content;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> Lines(const std::string& text) {
    TTextReader reader(text);
    std::vector<std::string> lines;
    std::string line;
    while (reader.ReadLine(line))
        lines.push_back(line);
    return lines;
}

std::string Damage(const std::string& original, std::mt19937& random) {
    std::string copy = original;
    std::uniform_int_distribution<int> kind(0, 3);
    const auto at = [&](std::size_t size) {
        return std::uniform_int_distribution<std::size_t>(0, size ? size - 1 : 0)(random);
    };
    switch (kind(random)) {
    case 0: // cut off
        copy.resize(at(copy.size() + 1));
        break;
    case 1: // a few bits flipped
        for (int flips = 1 + static_cast<int>(random() % 8); flips > 0 && !copy.empty(); --flips)
            copy[at(copy.size())] ^= static_cast<char>(1 << (random() % 8));
        break;
    case 2: // bytes thrown in
        for (int n = 1 + static_cast<int>(random() % 16); n > 0; --n)
            copy.insert(at(copy.size() + 1), 1, static_cast<char>(random() % 256));
        break;
    default: // a stretch overwritten with noise
        for (std::size_t i = at(copy.size()), n = random() % 64; n > 0 && i < copy.size(); ++i, --n)
            copy[i] = static_cast<char>(random() % 256);
        break;
    }
    return copy;
}

} // namespace tb::test
