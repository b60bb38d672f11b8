#include "services/d_folders.h"
#include "services/d_string.h"

#include <gtest/gtest.h>

namespace tb {

TEST(NormaliseName, CapitalisesWordsAndFoldsSeparators) {
    EXPECT_EQ(NormaliseName("  jOHN   smith "), "John Smith");
    EXPECT_EQ(NormaliseName("mary-ann"), "Mary-Ann");
    EXPECT_EQ(NormaliseName("st. louis"), "St. Louis");
    EXPECT_EQ(NormaliseName("a -b"), "A-B");
    EXPECT_EQ(NormaliseName("x"), "X");
    EXPECT_EQ(NormaliseName("o'BRIEN"), "O'brien");
    EXPECT_EQ(NormaliseName("   "), "");
    EXPECT_EQ(NormaliseName("\xe4pfel"), "\xc4pfel"); // Latin-1 letters change case too
}

TEST(FillPlaceholder, FillsLeftToRight) {
    std::string text = "@ Games and @ Levels";
    FillPlaceholder(5, text);
    FillPlaceholder(20, text);
    EXPECT_EQ(text, "5 Games and 20 Levels");
    std::string plain = "no marks";
    FillPlaceholder("x", plain);
    EXPECT_EQ(plain, "no marks");
}

TEST(GameFileName, LowerCasesReplacesBlanksAndDropsOthers) {
    EXPECT_EQ(GameFileName("My Game!", ".tbg"), "my_game!.tbg");
    EXPECT_EQ(GameFileName("Tobbin", ".tbg"), "#tobbin.tbg");
    EXPECT_EQ(GameFileName("\xc4pfel", ".tbg"), "pfel.tbg");
    EXPECT_EQ(GameFileName("", ".sol"), ".sol");
    EXPECT_EQ(GameFileName("a/b\\c:d", ".tbg"), "abcd.tbg"); // never a path
}

TEST(RenamedGames, MapsOldNamesIgnoringCase) {
    TRenamedGames list;
    list.Add("Old Name", "New Name");
    std::string name = "old name";
    EXPECT_TRUE(list.Lookup(name));
    EXPECT_EQ(name, "New Name");
    std::string other = "Other";
    EXPECT_FALSE(list.Lookup(other));
    EXPECT_EQ(other, "Other");
}

TEST(ParseInt, AcceptsOnlyWholeNumbers) {
    long long v = 0;
    EXPECT_TRUE(ParseInt("123", v));
    EXPECT_EQ(v, 123);
    EXPECT_TRUE(ParseInt("-4", v));
    EXPECT_EQ(v, -4);
    EXPECT_FALSE(ParseInt("12a", v));
    EXPECT_FALSE(ParseInt("", v));
    EXPECT_FALSE(ParseInt("+", v));
}

} // namespace tb
