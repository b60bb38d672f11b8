#include "install/w_unzip.h"
#include "tests/install/zip_maker.h"
#include "tests/test_support.h"

#include <ctime>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zlib.h>

namespace tb {
namespace fs = std::filesystem;
using test::TZipMember;
using namespace std::literals;

namespace {

// Every file and folder below `root`, relative, folders ending with "/".
std::vector<std::string> Tree(const fs::path& root) {
    std::vector<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(root))
        names.push_back(fs::relative(e.path(), root).generic_string() +
                        (e.is_directory() ? "/" : ""));
    std::sort(names.begin(), names.end());
    return names;
}

using TFaults = std::vector<std::pair<std::string, int>>;
TFaults Faults(const TUnzipResult& r) {
    TFaults list;
    for (const auto& f : r.Failed)
        list.emplace_back(f.Name, f.Code);
    return list;
}

struct TUnzipCase : test::TempFolder {
    fs::path Zip = Path() / "a.zip";
    fs::path Out = Path() / "out";
    TUnzipCase() { fs::create_directories(Out); }
    TUnzipResult Unpack(const std::vector<TZipMember>& members, const TUnzipLimits& limits = {}) {
        test::WriteZip(Zip, members);
        return UnpackArchive(Zip, Out, limits);
    }
    TUnzipResult UnpackBytes(const std::string& bytes) {
        test::WriteFile(Zip, bytes);
        return UnpackArchive(Zip, Out);
    }
};

} // namespace

TEST(UnpackArchive, WritesFoldersAndStoredAndDeflatedMembersWithTheirTime) {
    TUnzipCase c;
    const std::string text = test::SampleText(5000, 1);
    const auto r = c.Unpack({{"gam/", "", 0},
                             {"gam/a.tbg", text, 8},
                             {"img\\Small\\x.bmp", "BM stored", 0},
                             {"empty.txt", "", 8}});
    EXPECT_EQ(std::tuple(r.Count(), r.Complete(), test::ReadFile(c.Out / "gam/a.tbg"),
                         test::ReadFile(c.Out / "img/Small/x.bmp")),
              std::tuple(4, true, text, "BM stored"));
    EXPECT_EQ(Tree(c.Out), (std::vector<std::string>{"empty.txt", "gam/", "gam/a.tbg", "img/",
                                                     "img/Small/", "img/Small/x.bmp"}));
    struct stat st {};
    ASSERT_EQ(::stat((c.Out / "gam/a.tbg").c_str(), &st), 0);
    std::tm t{};
    localtime_r(&st.st_mtime, &t);
    EXPECT_EQ(std::vector<int>(
                  {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec}),
              std::vector<int>({2021, 6, 15, 12, 37, 56}));
}

TEST(UnpackArchive, SkipsReducedDeflate64EncryptedAndUnknownMembers) {
    TUnzipCase c;
    const auto r = c.Unpack({{"r.txt", "abc", 2, 0, "xyz"},
                             {"d64.txt", "abc", 9, 0, "xyz"},
                             {"enc.txt", "abc", 8, 1},
                             {"lzma.txt", "abc", 14, 0, "xyz"},
                             {"ok.txt", "fine", 8}});
    EXPECT_EQ(std::tuple(r.Code, r.Written, r.Complete()), std::tuple(UnzipOk, 1, false));
    EXPECT_EQ(Faults(r), (TFaults{{"r.txt", UnzipBadMethod},
                                  {"d64.txt", UnzipBadMethod},
                                  {"enc.txt", UnzipEncrypted},
                                  {"lzma.txt", UnzipBadMethod}}));
    EXPECT_EQ(Tree(c.Out), std::vector<std::string>{"ok.txt"});
}

TEST(UnpackArchive, RefusesNamesThatWouldLeaveTheFolder) {
    TUnzipCase c;
    std::vector<TZipMember> members;
    for (const char* name : {"../up.txt", "/abs.txt", "\\abs.txt", "C:\\win.txt", "c:rel.txt",
                             "a/../../b.txt", "a\\..\\c.txt", "..", "bad\x01name", "ok/./fine.txt"})
        members.push_back({name, "data", 0});
    const auto r = c.Unpack(members);
    ASSERT_EQ(std::tuple(r.Written, r.Failed.size()), std::tuple(1, 9u));
    for (const auto& f : r.Failed)
        EXPECT_EQ(f.Code, UnzipUnsafeName) << f.Name;
    EXPECT_EQ(Tree(c.Path()),
              (std::vector<std::string>{"a.zip", "out/", "out/ok/", "out/ok/fine.txt"}));

    bool isFolder = false, isFolder2 = false;
    EXPECT_EQ(std::tuple(MemberPath("a\\b/c.tbg", isFolder), isFolder),
              std::tuple(fs::path("a/b/c.tbg"), false));
    EXPECT_EQ(std::tuple(MemberPath("tbg\\", isFolder2), isFolder2),
              std::tuple(fs::path("tbg"), true));
    EXPECT_EQ(std::tuple(MemberPath("", isFolder), MemberPath("./", isFolder)),
              std::tuple(std::nullopt, std::nullopt));
}

TEST(UnpackArchive, ReplacesAnExistingFileOnlyByACheckedCopy) {
    TUnzipCase c;
    test::WriteFile(c.Out / "a.tbg", "old");
    fs::create_directories(c.Out / "folder");
    auto r = c.Unpack({{"a.tbg", "new", 8, 0, std::nullopt, 0x12345678u}});
    EXPECT_EQ(Faults(r), (TFaults{{"a.tbg", UnzipBadCrc}}));
    r = c.Unpack({{"a.tbg", "new", 8, 0, "\xff\xff\xff damaged"}});
    EXPECT_EQ(Faults(r), (TFaults{{"a.tbg", UnzipBadData}}));
    // A folder in the way of a file stays.
    r = c.Unpack({{"folder", "file", 0}});
    EXPECT_EQ(Faults(r), (TFaults{{"folder", UnzipCannotCreate}}));
    EXPECT_EQ(test::ReadFile(c.Out / "a.tbg"), "old");
    EXPECT_EQ(Tree(c.Out), (std::vector<std::string>{"a.tbg", "folder/"})); // no temporary files
    r = c.Unpack({{"a.tbg", "new", 8}});
    EXPECT_EQ(std::tuple(r.Complete(), test::ReadFile(c.Out / "a.tbg")), std::tuple(true, "new"));
}

TEST(UnpackArchive, CapsWhatOneMemberAndTheWholeArchiveUnpackTo) {
    TUnzipCase c;
    const std::string k(1000, 'k');
    // A member that unpacks to more than its directory entry says is damaged.
    auto r = c.Unpack({{"liar.txt", "ten bytes!", 8, 0, test::Deflate(std::string(5000, 'x'))}});
    EXPECT_EQ(Faults(r), (TFaults{{"liar.txt", UnzipBadData}}));
    // So is one that unpacks to fewer, even with the checksum of what it holds.
    const std::string five = "five!";
    const auto crc =
        static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(five.data()), 5));
    r = c.Unpack({{"short.txt", "ten bytes!", 8, 0, test::Deflate(five), crc}});
    EXPECT_EQ(Faults(r), (TFaults{{"short.txt", UnzipBadData}}));
    r = c.Unpack({{"big", k + "!", 8}, {"a", k, 8}, {"b", k, 8}, {"c", k, 8}, {"d", "", 8}},
                 {1000, 2500});
    EXPECT_EQ(std::tuple(r.Code, r.Written), std::tuple(UnzipTotalTooLarge, 2));
    EXPECT_EQ(Faults(r), (TFaults{{"big", UnzipTooLarge}, {"c", UnzipTotalTooLarge}}));
    EXPECT_EQ(Tree(c.Out), (std::vector<std::string>{"a", "b"}));
}

TEST(UnpackArchive, DamagedArchivesGiveACodeAndStopWhereTheyMust) {
    TUnzipCase c;
    EXPECT_EQ(std::tuple(UnpackArchive(c.Path() / "missing.zip", c.Out).Code,
                         UnpackArchive(c.Out, c.Out).Code),
              std::tuple(UnzipCannotOpen, UnzipCannotOpen));
    for (const std::string& bytes :
         {""s, "not an archive at all, just text"s, test::MakeZip({}).Bytes})
        EXPECT_EQ(c.UnpackBytes(bytes).Code, UnzipNoEndRecord) << bytes;

    const std::vector<TZipMember> three = {
        {"one", "1111", 0}, {"two", "2222", 8}, {"three", "3", 0}};
    const test::TZip zip = test::MakeZip(three);
    auto patched = [&](std::size_t at, std::string_view bytes) {
        std::string b = zip.Bytes;
        b.replace(at, bytes.size(), bytes);
        return c.UnpackBytes(b);
    };
    for (std::size_t cut : {zip.Bytes.size() / 2, zip.Bytes.size() - 5})
        EXPECT_EQ(c.UnpackBytes(zip.Bytes.substr(0, cut)).Code, UnzipNoEndRecord);
    // The second directory entry's signature, and a directory offset past its end.
    const std::size_t second = zip.DirectoryOffset + 46 + 3;
    EXPECT_EQ(patched(second, "PK\x09\x09"sv).Code, UnzipBadDirectory);
    EXPECT_EQ(patched(zip.EndOffset + 16, "\xf0\x00\x00\x00"sv).Code, UnzipBadDirectory);
    EXPECT_TRUE(Tree(c.Out).empty()); // nothing is written from a damaged directory

    // The second local header's signature: the first member stays, the third is not reached.
    auto r = patched(zip.LocalOffsets[1], "PK\x07\x07"sv);
    EXPECT_EQ(std::tuple(r.Code, r.Written), std::tuple(UnzipBadLocalHeader, 1));
    // The second entry's local header offset beyond the archive.
    EXPECT_EQ(patched(second + 42, "\x00\x00\x00\x7f"sv).Code, UnzipCannotSeek);
    // A local name that differs from the directory's skips only that member.
    r = patched(zip.LocalOffsets[1] + 30, "tw0"sv);
    EXPECT_EQ(std::tuple(Faults(r), r.Written),
              std::tuple(TFaults{{"two", UnzipHeaderMismatch}}, 2));
    // Sizes in both headers that run past the end of the archive.
    std::string b = zip.Bytes;
    b.replace(second + 20, 4, "\x00\x00\x01\x00"sv);
    b.replace(zip.LocalOffsets[1] + 18, 4, "\x00\x00\x01\x00"sv);
    EXPECT_EQ(Faults(c.UnpackBytes(b)), (TFaults{{"two", UnzipBadData}}));
}

TEST(UnpackArchive, FuzzedArchivesGiveACodeAndWriteOnlyCheckedFilesInsideTheFolder) {
    TUnzipCase c;
    const std::vector<TZipMember> members = {
        {"tbg/", "", 0},
        {"tbg/stored.tbg", test::SampleText(700, 2), 0},
        {"tbg/deflated.tbg", test::SampleText(1500, 3), 8},
        {"tbg/shrunk.tbg", test::SampleText(1500, 4), 1},
        {"imploded.tbg", test::SampleText(900, 5), 6, 6},
        {"imploded2.tbg", test::SampleText(900, 6), 6, 0},
    };
    const std::string base = test::MakeZip(members).Bytes;
    std::mt19937 random(20240611);
    for (int round = 0; round < 300; ++round) {
        fs::remove_all(c.Out);
        fs::create_directories(c.Out);
        const auto r = c.UnpackBytes(test::Damage(base, random));
        ASSERT_TRUE(r.Code <= 0 && r.Written <= static_cast<int>(members.size())) << round;
        ASSERT_EQ(Tree(c.Path()).size(), Tree(c.Out).size() + 2) << "round " << round;
        for (const std::string& name : Tree(c.Out)) {
            if (name.back() == '/') continue;
            const auto m = std::find_if(members.begin(), members.end(),
                                        [&](const TZipMember& x) { return x.Name == name; });
            ASSERT_NE(m, members.end()) << "round " << round << ": " << name;
            ASSERT_EQ(test::ReadFile(c.Out / name), m->Data) << "round " << round;
        }
    }
}

TEST(UnpackArchive, LongNamesFitAndAFailedMemberLeavesNoFoldersBehind) {
    TUnzipCase c;
    // Names of 243 to 255 bytes are as long as a file name may be; the
    // temporary file they are written through must still fit.
    std::vector<TZipMember> longOnes;
    for (const std::size_t length : {243u, 250u, 255u})
        longOnes.push_back({"d/" + std::string(length - 6, 'n') + ".tbg", "long", 8});
    auto r = c.Unpack(longOnes);
    EXPECT_TRUE(r.Complete()) << (r.Failed.empty() ? 0 : r.Failed[0].Code);
    for (const TZipMember& m : longOnes)
        EXPECT_EQ(test::ReadFile(c.Out / m.Name), "long");

    // A member that fails takes the folders made for it along; folders that
    // were there, or that hold a written file, stay.
    fs::remove_all(c.Out / "d");
    r = c.Unpack({{"d/new/deeper/bad.tbg", "text", 8, 0, std::nullopt, 1234u},
                  {"d/kept.tbg", "kept", 8},
                  {"e/f/bad.tbg", "text", 8, 0, std::nullopt, 1234u}});
    EXPECT_EQ(Faults(r),
              (TFaults{{"d/new/deeper/bad.tbg", UnzipBadCrc}, {"e/f/bad.tbg", UnzipBadCrc}}));
    EXPECT_EQ(Tree(c.Out), (std::vector<std::string>{"d/", "d/kept.tbg"}));
}

} // namespace tb
