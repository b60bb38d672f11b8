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

// The bytes written in hexadecimal, two digits each.
std::string Bytes(std::string_view hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
    return bytes;
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
    // The 8 KB window reaches the far block: one match, not 300 literals.
    EXPECT_LT(
        test::Implode(texts[3], true, false).size() + 250,
        test::Implode(block + RandomBytes(5000, 12) + RandomBytes(300, 14), true, false).size());
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
    const std::string shrunk = Bytes("61c4041c23b060988308c300");
    const std::string imploded = Bytes(
        "0d020112231415363768899adb3c0506121344c5f696f7dfeffedd502154b96fd5961d4b17e4d1ba74cbba15"
        "5b56ee59904585be7dbb16e45bb32091866dcbb62c5d9620c5e60579352d5bb6699c37c8a968c3ae2d3b176e"
        "d9b072cbe8afe04d156ddab920cbbc37e437fb562e48ba68cb82ac3bb78cff0ceb36ef5bb7658ce71deaf5be"
        "c2b79bee5ed56d9a744d2659d30d63bce7743f1963ddf6ed1ca0fb0df7fd6f38d99aee9cfea13eef406b36e9"
        "eb7c8374fb16e498f1d17ed4cb7fa341de6ce6dbf5e25fd90a79cb4d1354a76157f82b5db5efb96fcbda49d6"
        "2e4182ccfab62ec8b661f3e83f1ce29d06a99f4d6bc7e819fb9dea63bb");
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
        {1, shrunk, "ababcbababaaaaaaa"},
        {6, imploded, hamlet},
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
