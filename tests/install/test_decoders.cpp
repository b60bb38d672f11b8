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

} // namespace tb
