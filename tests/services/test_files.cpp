#include "services/d_file.h"
#include "services/d_folders.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

namespace tb {
namespace fs = std::filesystem;

TEST(TextReader, AcceptsCrLfAndLfAndALastLineWithoutEnd) {
    TTextReader r("one\r\ntwo\nthree");
    std::string line;
    ASSERT_TRUE(r.ReadLine(line));
    EXPECT_EQ(line, "one");
    ASSERT_TRUE(r.ReadLine(line));
    EXPECT_EQ(line, "two");
    ASSERT_TRUE(r.ReadLine(line));
    EXPECT_EQ(line, "three");
    EXPECT_TRUE(r.Eof());
    EXPECT_FALSE(r.ReadLine(line));
    r.Rewind();
    ASSERT_TRUE(r.ReadLine(line));
    EXPECT_EQ(line, "one");
}

TEST(WriteFileAtomic, ReplacesWholeAndKeepsTheOldFileOnFailure) {
    test::TempFolder dir;
    const fs::path file = dir / "tobbin.sol";
    TTextWriter w;
    w.WriteLine("first");
    WriteFileAtomic(file, w.Content());
    EXPECT_EQ(test::ReadFile(file), "first\r\n");
    WriteFileAtomic(file, "second\r\n");
    EXPECT_EQ(test::ReadFile(file), "second\r\n");
    EXPECT_FALSE(fs::exists(dir / "tobbin.sol.tmp"));
    // A target that cannot be replaced (a folder in its way) fails and leaves no temporary file.
    fs::create_directories(dir / "blocked.sol" / "inside");
    EXPECT_THROW(WriteFileAtomic(dir / "blocked.sol", "x"), std::ios_base::failure);
    EXPECT_FALSE(fs::exists(dir / "blocked.sol.tmp"));
}

TEST(Folders, LayOutBelowTheProgramFolder) {
    test::TempProgramFolder dir;
    EXPECT_EQ(Folders().GamesFolder, dir.Path() / "tbg");
    EXPECT_EQ(Folders().SettingsFolder, dir.Path());
}

} // namespace tb
