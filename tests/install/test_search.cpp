#include "install/w_unpack.h"
#include "tests/install/zip_maker.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

namespace tb {
namespace fs = std::filesystem;

namespace {

// root1: two matches (one in capitals), a file that does not match, a subfolder
// with a match, a hidden folder, a skipped folder, a folder whose name matches,
// a link to a file and a link back to root1 (a loop); root2: a match two levels
// down; root3 lies inside root1 and is not searched twice.
struct TSearchCase : test::TempFolder {
    fs::path Root1 = Path() / "root1", Root2 = Path() / "root2";
    TSearchPlaces Places;
    std::vector<std::string> Folders, Files;
    std::vector<std::uint32_t> Counts;

    TSearchCase() {
        for (const char* f : {"root1/sub", "root1/.hidden", "root1/www", "root1/tobbin-gam-dir.zip",
                              "root2/deep/er"})
            fs::create_directories(Path() / f);
        for (const char* f : {"root1/tobbin-gam1.zip", "root1/TOBBIN-GAM2.ZIP", "root1/other.zip",
                              "root1/sub/tobbin-gam3.zip", "root1/.hidden/tobbin-gam4.zip",
                              "root1/www/tobbin-gam5.zip", "root2/deep/er/tobbin-gam6.zip"})
            test::WriteFile(Path() / f, "x");
        fs::create_symlink(Root1 / "tobbin-gam1.zip", Root1 / "tobbin-gam-link.zip");
        fs::create_directory_symlink(Root1, Root1 / "sub" / "loop");
        Places.Roots = {Root1, Path() / "missing", Root2, Root1 / "sub"};
        Places.Skipped = {Root1 / "www"};
    }
    std::string Name(const fs::path& p) const { return fs::relative(p, Path()).generic_string(); }
    TSearchResult Search(bool findAll, std::function<TFileAnswer(int)> answer,
                         std::uint32_t stopAtFolder = 0) {
        return SearchDrives(
            GamesArchives, findAll,
            [&](std::uint32_t count, const fs::path& folder) {
                Counts.push_back(count);
                Folders.push_back(Name(folder));
                return count != stopAtFolder;
            },
            [&](const fs::path& file) {
                Files.push_back(Name(file));
                return answer(static_cast<int>(Files.size()));
            },
            Places);
    }
};

const std::vector<std::string> AllMatches = {"root1/TOBBIN-GAM2.ZIP", "root1/tobbin-gam1.zip",
                                             "root1/sub/tobbin-gam3.zip",
                                             "root2/deep/er/tobbin-gam6.zip"};

} // namespace

TEST(SearchDrives, WalksTheRootsDepthFirstAndOffersEveryMatchOnce) {
    TSearchCase c;
    const auto r = c.Search(true, [](int) { return TFileAnswer::Skipped; });
    EXPECT_EQ(std::tuple(r.Found, r.Stopped, r.FolderCount), std::tuple(false, false, 6u));
    EXPECT_EQ(c.Files, AllMatches);
    EXPECT_EQ(c.Folders, (std::vector<std::string>{"root1", "root1/sub", "root1/tobbin-gam-dir.zip",
                                                   "root2", "root2/deep", "root2/deep/er"}));
    EXPECT_EQ(c.Counts, (std::vector<std::uint32_t>{1, 2, 3, 4, 5, 6}));
}

TEST(SearchDrives, EndsAtTheFirstTakenFileOrWhenACallbackAsks) {
    const struct {
        bool FindAll;
        TFileAnswer Answer; // to the file `At`, every other one Skipped; to all when 0
        int At;
        std::uint32_t StopAtFolder;
        bool Found, Stopped;
        std::size_t Files, Folders;
    } cases[] = {
        {false, TFileAnswer::Taken, 2, 0, true, false, 2, 1},
        {true, TFileAnswer::Taken, 0, 0, true, false, 4, 6},
        {true, TFileAnswer::Stop, 3, 0, false, true, 3, 2},
        {true, TFileAnswer::Skipped, 0, 4, false, true, 3, 4}, // root2 entered, not listed
    };
    for (const auto& k : cases) {
        TSearchCase c;
        const auto r = c.Search(
            k.FindAll,
            [&](int n) { return k.At == 0 || n == k.At ? k.Answer : TFileAnswer::Skipped; },
            k.StopAtFolder);
        EXPECT_EQ(std::tuple(r.Found, r.Stopped, c.Files.size(), c.Folders.size(), r.FolderCount),
                  std::tuple(k.Found, k.Stopped, k.Files, k.Folders, k.Folders))
            << k.At << " " << k.StopAtFolder;
        if (k.Files == AllMatches.size()) {
            EXPECT_EQ(c.Files, AllMatches);
        }
    }
}

TEST(SearchDrives, PatternsAndPlaces) {
    EXPECT_TRUE(MatchesPattern("tobbin-lang-Deutsch.ZIP", LanguagesArchives));
    EXPECT_TRUE(MatchesPattern("Tobbin-Sol.zip", SolutionsArchive));
    EXPECT_FALSE(MatchesPattern("tobbin-sol2.zip", SolutionsArchive));
    EXPECT_FALSE(MatchesPattern("tobbin-snd.zip.part", SoundsArchives));
    EXPECT_FALSE(MatchesPattern("ab.zip", "a?b*.zip"));
    EXPECT_TRUE(MatchesPattern("axbyyc.zip", "a?b**c.zip"));

    const auto places = SearchPlacesFrom("/dev/sda1 / ext4 rw 0 0\n"
                                         "proc /proc proc rw 0 0\n"
                                         "/dev/sdb1 /media/My\\040Disk vfat rw 0 0\n"
                                         "tmpfs /run tmpfs rw 0 0\n"
                                         "/dev/sda1 /home/ann/ ext4 rw 0 0\n"
                                         "server:/x /net nfs rw 0 0",
                                         "/home/ann");
    EXPECT_EQ(places.Roots, (std::vector<fs::path>{"/home/ann", "/", "/media/My Disk"}));
    EXPECT_NE(std::find(places.Skipped.begin(), places.Skipped.end(), "/proc"),
              places.Skipped.end());

    EXPECT_EQ(ArchiveQuestionName(std::string(64, 'a')), std::string(64, 'a'));
    EXPECT_EQ(ArchiveQuestionName("/" + std::string(60, 'b') + "/x.zip"),
              "..." + std::string(54, 'b') + "/x.zip");
}

TEST(InstallArchives, UnpacksAcceptedArchivesAndDeletesOnlyCompleteOnes) {
    test::TempProgramFolder prog;
    const fs::path root = prog / "downloads";
    fs::create_directories(root);
    test::WriteZip(root / "tobbin-gam1.zip", {{"tbg/one.tbg", "one", 8}});
    test::WriteZip(root / "tobbin-gam2.zip",
                   {{"tbg/r.tbg", "r", 2, 0, "?"}, {"tbg/two.tbg", "two", 0}});
    test::WriteZip(root / "tobbin-gam3.zip", {{"tbg/three.tbg", "three", 8}});
    test::WriteFile(root / "tobbin-gam4.zip", "broken");
    TSearchPlaces places{{root}, {}};
    std::vector<std::string> asked;
    const auto ask = [&](const fs::path& archive) {
        asked.push_back(archive.filename().string());
        return archive.filename() == "tobbin-gam3.zip" ? AnswerNo : AnswerYes;
    };
    const auto report = InstallArchives(prog.Layout(), TArchiveKind::Games, ask, nullptr, places);
    EXPECT_TRUE(report.Search.Found);
    ASSERT_EQ(report.Archives.size(), 3u);
    EXPECT_EQ(std::tuple(report.Archives[0].Deleted, report.Archives[1].Deleted,
                         report.Archives[2].Result.Code),
              std::tuple(true, false, UnzipNoEndRecord));
    ASSERT_EQ(report.Archives[1].Result.Failed.size(), 1u);
    EXPECT_EQ(report.Archives[1].Result.Failed[0].Name, "tbg/r.tbg");
    EXPECT_EQ(std::tuple(test::ReadFile(prog / "tbg/one.tbg"), test::ReadFile(prog / "tbg/two.tbg"),
                         fs::exists(prog / "tbg/three.tbg"), fs::exists(root / "tobbin-gam1.zip")),
              std::tuple("one", "two", false, false));
    for (const char* kept : {"tobbin-gam2.zip", "tobbin-gam3.zip", "tobbin-gam4.zip"})
        EXPECT_TRUE(fs::exists(root / kept)) << kept;

    // Cancel ends the search at once; an archive that gives nothing is no install.
    asked.clear();
    auto again = InstallArchives(
        prog.Layout(), TArchiveKind::Games, [](const fs::path&) { return AnswerCancel; }, nullptr,
        places);
    EXPECT_TRUE(again.Search.Stopped);
    EXPECT_TRUE(again.Archives.empty());
    fs::remove(root / "tobbin-gam2.zip");
    fs::remove(root / "tobbin-gam3.zip");
    again = InstallArchives(prog.Layout(), TArchiveKind::Games, ask, nullptr, places);
    EXPECT_FALSE(again.Search.Found);
    EXPECT_EQ(asked, std::vector<std::string>{"tobbin-gam4.zip"});
}

} // namespace tb
