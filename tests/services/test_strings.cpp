// Checksums, names, text lines and whole-file writes.

#include "services/d_crc.h"
#include "services/d_file.h"
#include "services/d_folders.h"
#include "services/d_string.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

namespace tb {
namespace fs = std::filesystem;

TEST(Checksum16, TableFollowsItsOwnRuleNotTheStandardOne) {
    const std::uint16_t first[8] = {0x0000, 0x2042, 0x4084, 0x60C6, 0x9129, 0xB16B, 0xD1AD, 0xF1EF};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(Checksum16TableEntry(static_cast<std::uint8_t>(i)), first[i]);
    EXPECT_EQ(Checksum16TableEntry(255), 0x3CA2);

    // A known value, no bytes, and chaining.
    EXPECT_EQ(Checksum16(0, "abc"), 0x160B);
    EXPECT_EQ(Checksum16(0x1234, "", 0), 0x1234);
    const std::string text = "Tobbin digs grass and eats food";
    EXPECT_EQ(Checksum16(Checksum16(0, text.substr(0, 11)), text.substr(11)), Checksum16(0, text));
    EXPECT_EQ(Checksum16Word(7, 0x0201), Checksum16(7, "\x01\x02", 2));
}

TEST(Names, NormaliseGameFileNamesAndPlaceholders) {
    // Latin-1 letters change case too.
    for (const auto& [name, normal] : {std::pair("  jOHN   smith ", "John Smith"),
                                       {"mary-ann", "Mary-Ann"},
                                       {"st. louis", "St. Louis"},
                                       {"a -b", "A-B"},
                                       {"x", "X"},
                                       {"o'BRIEN", "O'brien"},
                                       {"   ", ""},
                                       {"\xe4pfel", "\xc4pfel"}})
        EXPECT_EQ(NormaliseName(name), normal) << name;
    // Lower case, blanks replaced, other characters dropped; never a path.
    for (const auto& [name, file] : {std::pair("My Game!", "my_game!.tbg"),
                                     {"Tobbin", "#tobbin.tbg"},
                                     {"\xc4pfel", "pfel.tbg"},
                                     {"a/b\\c:d", "abcd.tbg"}})
        EXPECT_EQ(GameFileName(name, ".tbg"), file) << name;
    EXPECT_EQ(GameFileName("", ".sol"), ".sol");

    std::string text = "@ Games and @ Levels";
    FillPlaceholder(5, text);
    FillPlaceholder(20, text);
    std::string plain = "no marks";
    FillPlaceholder("x", plain);
    EXPECT_EQ(std::tuple(text, plain), std::tuple("5 Games and 20 Levels", "no marks"));

    TRenamedGames list;
    list.Add("Old Name", "New Name");
    std::string name = "old name", other = "Other";
    EXPECT_TRUE(list.Lookup(name));
    EXPECT_FALSE(list.Lookup(other));
    EXPECT_EQ(std::tuple(name, other), std::tuple("New Name", "Other"));

    long long v = 0, w = 0;
    EXPECT_EQ(std::tuple(ParseInt("123", v), v, ParseInt("-4", w), w),
              std::tuple(true, 123, true, -4));
    for (const char* bad : {"12a", "", "+"})
        EXPECT_FALSE(ParseInt(bad, v)) << bad;
}

TEST(WriteFileAtomic, ReplacesWholeAndKeepsTheOldFileOnFailure) {
    test::TempProgramFolder dir;
    EXPECT_EQ(std::tuple(test::Layout().GamesFolder, test::Layout().SettingsFolder),
              std::tuple(dir.Path() / "tbg", dir.Path()));
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

} // namespace tb
