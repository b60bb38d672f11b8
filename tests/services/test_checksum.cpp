#include "services/d_crc.h"

#include <gtest/gtest.h>

namespace tb {

TEST(Checksum16, TableFollowsItsOwnRuleNotTheStandardOne) {
    const std::uint16_t first[8] = {0x0000, 0x2042, 0x4084, 0x60C6, 0x9129, 0xB16B, 0xD1AD, 0xF1EF};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(Checksum16TableEntry(static_cast<std::uint8_t>(i)), first[i]);
    EXPECT_EQ(Checksum16TableEntry(255), 0x3CA2);
}

TEST(Checksum16, KnownValueZeroBytesAndChaining) {
    EXPECT_EQ(Checksum16(0, "abc"), 0x160B);
    EXPECT_EQ(Checksum16(0x1234, "", 0), 0x1234);
    const std::string text = "Tobbin digs grass and eats food";
    const std::uint16_t whole = Checksum16(0, text);
    const std::uint16_t half = Checksum16(0, text.substr(0, 11));
    EXPECT_EQ(Checksum16(half, text.substr(11)), whole);
    EXPECT_EQ(Checksum16Word(7, 0x0201), Checksum16(7, "\x01\x02", 2));
}

} // namespace tb
