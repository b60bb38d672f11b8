#include "install/w_place.h"
#include "install/w_unpack.h"
#include "services/d_folders.h"
#include "tests/install/zip_maker.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

namespace tb {
namespace fs = std::filesystem;
using test::TZipMember;

namespace {

// Where a member goes, relative to the program folder, or "refused".
std::string Destination(const TFolders& folders, TArchiveKind kind, std::string_view name) {
    bool isFolder = false;
    const auto relative = MemberPath(name, isFolder);
    if (!relative) return "unsafe";
    const TMemberPlace place = PlaceMember(folders, kind, *relative, isFolder);
    if (place.Code != UnzipOk) return "refused";
    if (place.Target.empty()) return "passed over";
    return fs::relative(place.Target, folders.ProgramFolder).generic_string();
}

} // namespace

TEST(PlaceMember, EachKindOfArchiveWritesOnlyItsOwnFilesIntoItsOwnFolder) {
    test::TempProgramFolder prog;
    using enum TArchiveKind;
    const struct {
        TArchiveKind Kind;
        const char* Name;
        const char* Expected;
    } cases[] = {
        {Games, "tbg/hills.tbg", "tbg/hills.tbg"},
        {Games, "my games/Hills.TBG", "tbg/Hills.TBG"},
        {Games, "hills.tbg", "tbg/hills.tbg"},
        {Games, "tbg/", "passed over"},
        {Games, "tobbin", "refused"},
        {Games, "tobbin.ini", "refused"},
        {Games, "tobbin.sol", "refused"},
        {Games, "tlg/deutsch.tlg", "refused"},
        {Games, ".tbg", "refused"},
        {Games, "__MACOSX/._hills.tbg", "refused"},
        {Games, "../hills.tbg", "unsafe"},
        {Languages, "tlg/svenska.tlg", "tlg/svenska.tlg"},
        {Languages, "svenska.txt", "refused"},
        {Sprites, "img/Small/Forest/0-empty.bmp", "img/Small/Forest/0-empty.bmp"},
        {Sprites, "huge/Forest/1-grass.png", "img/Huge/Forest/1-grass.png"},
        {Sprites, "img/skins/Night/tb_box.jpg", "img/skins/Night/tb_box.jpg"},
        {Sprites, "img/Small/0-empty.bmp", "refused"},
        {Sprites, "img/Tiny/Forest/0-empty.bmp", "refused"},
        {Sprites, "img/tb_pic.bmp", "refused"},
        {Sprites, "img/Small/Forest/run.sh", "refused"},
        {Sounds, "wav/Bells/tb_win.wav", "wav/Bells/tb_win.wav"},
        {Sounds, "Bells/tb_win.wav", "wav/Bells/tb_win.wav"},
        {Sounds, "tb_win.wav", "refused"},
        {Sounds, "wav/Bells/tobbin.ini", "refused"},
        {Solutions, "ann_#0.sol", "ann_#0.sox"},
        {Solutions, "tobbin.sol", "tobbin.sox"},
        {Solutions, "x/best.sox", "best.sox"},
        {Solutions, "tobbin.hof", "refused"},
        {Solutions, "tobbin.sav", "refused"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Destination(prog.Layout(), c.Kind, c.Name), c.Expected) << c.Name;

    // A waiting import file is never replaced.
    test::WriteFile(prog / "best.sox", "waiting");
    test::WriteFile(prog / "best-2.sox", "waiting too");
    EXPECT_EQ(Destination(prog.Layout(), Solutions, "best.sox"), "best-3.sox");

    // Each install command's pattern names its kind.
    for (const TArchiveKind kind : {Games, Sprites, Sounds, Solutions, Languages})
        EXPECT_EQ(ArchiveKindOf(ArchivePattern(kind)), kind);
    EXPECT_EQ(ArchiveKindOf("*.zip"), std::nullopt);
}

TEST(PlaceMember, AnInstalledCopyInstallsIntoThePlayersFolder) {
    test::TempFolder root;
    for (const char* sub :
         {"usr/bin", "usr/share/tobbin/tbg", "usr/share/tobbin/wav/Bells",
          "usr/share/tobbin/img/skins/Night", "usr/share/tobbin/img/Small/Forest"})
        fs::create_directories(root / sub);
    const TFolders folders =
        LayOutFolders(root / "usr/share/tobbin", true, true, {(root / "home").string(), "", ""});
    const fs::path player = root / "home/tobbin";
    using enum TArchiveKind;
    const struct {
        TArchiveKind Kind;
        const char* Name;
        fs::path Expected;
    } cases[] = {
        {Games, "tbg/hills.tbg", player / "tbg/hills.tbg"},
        {Languages, "tlg/svenska.tlg", player / "tlg/svenska.tlg"},
        {Sprites, "img/Small/Forest/0-empty.bmp", player / "img/Small/Forest/0-empty.bmp"},
        {Sprites, "img/skins/Night/tb_box.jpg", player / "img/skins/Night/tb_box.jpg"},
        {Sounds, "wav/Bells/tb_win.wav", player / "wav/Bells/tb_win.wav"}, // shipped set: his copy
        {Sounds, "wav/New/tb_win.wav", player / "wav/New/tb_win.wav"},
        {Solutions, "best.sox", player / "best.sox"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Destination(folders, c.Kind, c.Name),
                  fs::relative(c.Expected, root / "usr/share/tobbin").generic_string())
            << c.Name;
}

TEST(InstallArchives, AHostileArchiveReplacesNothingOfTheProgramOrTheRecords) {
    test::TempProgramFolder prog;
    const fs::path downloads = prog / "downloads";
    fs::create_directories(downloads);
    const std::vector<std::string> kept = {"tobbin", "tobbin.ini", "tobbin.sol", "tobbin.hof",
                                           "tlg/english.tlg"};
    for (const std::string& name : kept)
        test::WriteFile(prog / name, "the player's " + name);
    std::vector<TZipMember> members = {{"tbg/new.tbg", "a game", 8}};
    for (const std::string& name : kept)
        members.push_back({name, "overwritten", 8});
    test::WriteZip(downloads / "tobbin-gam-evil.zip", members);

    const auto report = InstallArchives(
        prog.Layout(), TArchiveKind::Games, [](const fs::path&) { return AnswerYes; }, nullptr,
        TSearchPlaces{{downloads}, {}});
    ASSERT_EQ(report.Archives.size(), 1u);
    const TUnzipResult& result = report.Archives[0].Result;
    ASSERT_EQ(std::tuple(result.Written, result.Failed.size()), std::tuple(1, kept.size()));
    for (std::size_t i = 0; i < kept.size(); ++i)
        EXPECT_EQ(std::tuple(result.Failed[i].Name, result.Failed[i].Code,
                             test::ReadFile(prog / kept[i])),
                  std::tuple(kept[i], UnzipRefused, "the player's " + kept[i]));
    EXPECT_EQ(test::ReadFile(prog / "tbg/new.tbg"), "a game");
    // The archive was not installed whole, so it stays for the player to see.
    EXPECT_TRUE(!report.Archives[0].Deleted && fs::exists(downloads / "tobbin-gam-evil.zip"));
}

TEST(FailedMembersMessage, ListsTheNamesThatFitOneALineThenHowManyMore) {
    const std::string text = "Not from \"@\":|@";
    const auto faults = [](std::vector<std::string> names) {
        std::vector<TUnzipFault> list;
        for (std::string& name : names)
            list.push_back({std::move(name), UnzipRefused});
        return list;
    };
    const struct {
        std::vector<std::string> Names;
        std::size_t Lines;
        std::string Expected;
    } cases[] = {
        {{"x", "y", "z"}, 3, "Not from \"a.zip\":|x|y|z"},
        {{"a", "b", "c", "d", "e", "f", "g"}, 3, "Not from \"a.zip\":|a|b|and 5 more"},
        {{"a", "b"}, 1, "Not from \"a.zip\":|and 2 more"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FailedMembersMessage(text, "and @ more", "/d/a.zip", faults(c.Names), c.Lines),
                  c.Expected);
    // Long names keep their end; breaks, bars and placeholders in names are
    // no lines or placeholders of the message.
    const std::string longName = std::string(300, 'n') + "/tobbin.ini";
    const std::string longZip = "tobbin-gam-" + std::string(50, 'z') + "@|.zip";
    EXPECT_EQ(FailedMembersMessage(text, "and @ more", "/d/" + longZip,
                                   faults({longName, "two\nlines|@"}), 2),
              "Not from \"..." + std::string(34, 'z') + "@?.zip\":|..." +
                  longName.substr(longName.size() - 60) + "|two?lines?@");
}

} // namespace tb
