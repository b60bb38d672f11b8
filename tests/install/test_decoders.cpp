#include "install/w_unzip.h"
#include "tests/install/zip_maker.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>
#include <random>

namespace tb {
namespace fs = std::filesystem;
using test::TZipMember;

namespace {

// Unpacks one member and answers its text, or the code that refused it.
std::string RoundTrip(const TZipMember& member) {
    test::TempFolder dir;
    test::WriteZip(dir / "a.zip", {member});
    const auto r = UnpackArchive(dir / "a.zip", dir.Path());
    if (!r.Failed.empty()) return "code " + std::to_string(r.Failed[0].Code);
    if (r.Code != UnzipOk) return "code " + std::to_string(r.Code);
    return test::ReadFile(dir / member.Name);
}

std::string RandomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string s(size, '\0');
    for (char& ch : s)
        ch = static_cast<char>(random());
    return s;
}

} // namespace

TEST(Unshrink, DecodesHandMadeCodes) {
    // 9-bit codes, low bit first: 'a' 'b'; and 'a' then 257, the code made by
    // that very step ("aa").
    EXPECT_EQ(RoundTrip({"ab", "ab", 1, 0, std::string("\x61\xc4\x00", 3)}), "ab");
    EXPECT_EQ(RoundTrip({"aaa", "aaa", 1, 0, "\x61\x02\x02"}), "aaa");
    // A code that is not in the table yet, and data that ends too early.
    EXPECT_EQ(RoundTrip({"x", "aaa", 1, 0, "\x61\x04\x02"}), "code -12");
    EXPECT_EQ(RoundTrip({"y", "abc", 1, 0, "\x61\xc4"}), "code -12");
}

TEST(Unshrink, DecodesShrunkTextsThroughGrowingCodesAndPartialClears) {
    const std::string texts[] = {"", "a", std::string(5000, 'a'), test::SampleText(3000, 7),
                                 test::SampleText(30000, 8) + RandomBytes(10000, 9)};
    for (const std::string& text : texts)
        EXPECT_EQ(RoundTrip({"t", text, 1}), text) << text.size();
    // Clears long before the table is full free codes that are then taken again.
    for (int every : {3, 700}) {
        const std::string text = test::SampleText(every * 30, static_cast<unsigned>(every));
        EXPECT_EQ(RoundTrip({"t", text, 1, 0, test::Shrink(text, every)}), text) << every;
    }
}

TEST(Explode, DecodesEveryWindowAndTreeVariant) {
    const std::string block = RandomBytes(300, 10);
    const std::string texts[] = {
        test::SampleText(3000, 11),
        std::string(6, '\0') + "Tobbin" + std::string(9, '\0'), // matches reaching before the start
        std::string(700, 'z') + "abc" + std::string(400, 'z'),  // long matches with an extra byte
        block + RandomBytes(5000, 12) + block,                  // a match 5300 back
    };
    for (std::uint16_t flags : {0, 2, 4, 6}) {
        for (const std::string& text : texts) {
            const std::string packed = test::Implode(text, flags & 2, flags & 4);
            EXPECT_EQ(RoundTrip({"t", text, 6, flags, packed}), text) << flags;
        }
        // The repeats are coded as matches, not literals.
        EXPECT_LT(test::Implode(texts[2], flags & 2, flags & 4).size(), 100u);
    }
    // Only the 8 KB window reaches the far block.
    EXPECT_LT(test::Implode(texts[3], true, false).size() + 250,
              test::Implode(texts[3], false, false).size());
}

TEST(Explode, RefusesDamagedTreesAndData) {
    const std::string text = test::SampleText(2000, 13);
    const std::string packed = test::Implode(text, true, true);
    EXPECT_EQ(RoundTrip({"t", text, 6, 6, packed.substr(0, packed.size() / 2)}), "code -12");
    EXPECT_EQ(RoundTrip({"t", text, 6, 6, packed.substr(0, 20)}), "code -12");
    // 64 lengths of one bit ask for more codes than there are; 15 values are too few.
    EXPECT_EQ(RoundTrip({"t", "abc", 6, 0, "\x03\xf0\xf0\xf0\xf0"}), "code -12");
    EXPECT_EQ(RoundTrip({"t", "abc", 6, 0, std::string("\x00\xe5\x00\xf5", 4) + "\xff\xff"}),
              "code -12");
}

// Data packed by other programs, so that the decoders are not checked only
// against the encoders of these tests.
//
// Origin: the test suite of hwzip 2.x by Hans Wennborg
// (https://www.hanshq.net/zip.html, shrink_test.c and implode_test.c), put in
// the public domain by its author, also carried by the MIT-licensed Rust crate
// "zip" (github.com/zip-rs/zip2, src/legacy/shrink.rs and implode.rs, and
// tests/data/legacy/implode_hamlet_256.out). Both member data were written by
// PKZIP 1.10 for DOS ("pkzip -es" shrinks, "pkzip -ei" implodes with the 4 KB
// window and no literal tree); the unpacked text of the second is the start
// of the Project Gutenberg edition of Hamlet (public domain).
TEST(PublishedVectors, ShrunkAndImplodedDataOfPkzipUnpackToTheirText) {
    const unsigned char shrunk[] = {0x61, 0xc4, 0x04, 0x1c, 0x23, 0xb0,
                                    0x60, 0x98, 0x83, 0x08, 0xc3, 0x00};
    const unsigned char imploded[] = {
        0x0d, 0x02, 0x01, 0x12, 0x23, 0x14, 0x15, 0x36, 0x37, 0x68, 0x89, 0x9a, 0xdb, 0x3c, 0x05,
        0x06, 0x12, 0x13, 0x44, 0xc5, 0xf6, 0x96, 0xf7, 0xdf, 0xef, 0xfe, 0xdd, 0x50, 0x21, 0x54,
        0xb9, 0x6f, 0xd5, 0x96, 0x1d, 0x4b, 0x17, 0xe4, 0xd1, 0xba, 0x74, 0xcb, 0xba, 0x15, 0x5b,
        0x56, 0xee, 0x59, 0x90, 0x45, 0x85, 0xbe, 0x7d, 0xbb, 0x16, 0xe4, 0x5b, 0xb3, 0x20, 0x91,
        0x86, 0x6d, 0xcb, 0xb6, 0x2c, 0x5d, 0x96, 0x20, 0xc5, 0xe6, 0x05, 0x79, 0x35, 0x2d, 0x5b,
        0xb6, 0x69, 0x9c, 0x37, 0xc8, 0xa9, 0x68, 0xc3, 0xae, 0x2d, 0x3b, 0x17, 0x6e, 0xd9, 0xb0,
        0x72, 0xcb, 0xe8, 0xaf, 0xe0, 0x4d, 0x15, 0x6d, 0xda, 0xb9, 0x20, 0xcb, 0xbc, 0x37, 0xe4,
        0x37, 0xfb, 0x56, 0x2e, 0x48, 0xba, 0x68, 0xcb, 0x82, 0xac, 0x3b, 0xb7, 0x8c, 0xff, 0x0c,
        0xeb, 0x36, 0xef, 0x5b, 0xb7, 0x65, 0x8c, 0xe7, 0x1d, 0xea, 0xf5, 0xbe, 0xc2, 0xb7, 0x9b,
        0xee, 0x5e, 0xd5, 0x6d, 0x9a, 0x74, 0x4d, 0x26, 0x59, 0xd3, 0x0d, 0x63, 0xbc, 0xe7, 0x74,
        0x3f, 0x19, 0x63, 0xdd, 0xf6, 0xed, 0x1c, 0xa0, 0xfb, 0x0d, 0xf7, 0xfd, 0x6f, 0x38, 0xd9,
        0x9a, 0xee, 0x9c, 0xfe, 0xa1, 0x3e, 0xef, 0x40, 0x6b, 0x36, 0xe9, 0xeb, 0x7c, 0x83, 0x74,
        0xfb, 0x16, 0xe4, 0x98, 0xf1, 0xd1, 0x7e, 0xd4, 0xcb, 0x7f, 0xa3, 0x41, 0xde, 0x6c, 0xe6,
        0xdb, 0xf5, 0xe2, 0x5f, 0xd9, 0x0a, 0x79, 0xcb, 0x4d, 0x13, 0x54, 0xa7, 0x61, 0x57, 0xf8,
        0x2b, 0x5d, 0xb5, 0xef, 0xb9, 0x6f, 0xcb, 0xda, 0x49, 0xd6, 0x2e, 0x41, 0x82, 0xcc, 0xfa,
        0xb6, 0x2e, 0xc8, 0xb6, 0x61, 0xf3, 0xe8, 0x3f, 0x1c, 0xe2, 0x9d, 0x06, 0xa9, 0x9f, 0x4d,
        0x6b, 0xc7, 0xe8, 0x19, 0xfb, 0x9d, 0xea, 0x63, 0xbb};
    const std::string hamlet =
        "\xef\xbb\xbf\r\nProject Gutenberg EBook of Hamlet, by William Shakespeare\r\n\r\n"
        "This eBook is for the use of anyone anywhere in the United States and\r\n"
        "most other parts of the world at no cost and with almost no\r\n"
        "restrictions whatsoever.  You may copy it, give it away or";
    ASSERT_EQ(hamlet.size(), 256u);
    const struct {
        std::uint16_t Method;
        std::string Packed, Text;
    } cases[] = {
        {1, std::string(std::begin(shrunk), std::end(shrunk)), "ababcbababaaaaaaa"},
        {6, std::string(std::begin(imploded), std::end(imploded)), hamlet},
    };
    for (const auto& c : cases) {
        // The archive carries the checksum of the text; the unpacker compares it.
        EXPECT_EQ(RoundTrip({"t", c.Text, c.Method, 0, c.Packed}), c.Text) << c.Method;
        // One byte changed near the end is noticed.
        std::string damaged = c.Packed;
        damaged[damaged.size() - 2] ^= 0x10;
        EXPECT_NE(RoundTrip({"t", c.Text, c.Method, 0, damaged}), c.Text) << c.Method;
    }
}

} // namespace tb
