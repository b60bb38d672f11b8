// The folder rules of a build-folder copy and of an installed copy: where the
// data is found, where the player's files go, his games beside the shipped
// ones, the shipped solutions on his first start, and an installed copy's data
// folder never written.

#include "records/tb_allgames.h"
#include "records/tb_fullgame.h"
#include "records/tb_recfile.h"
#include "services/d_error.h"
#include "services/d_messages.h"
#include "services/d_settings.h"
#include "tests/records/records_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>

namespace tb {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::SolFile;
using test::SolLine;
using test::WriteFile;
using test::WriteSimpleGame;

TEST(FolderRules, ThePlayersFolderIsUsedWhenTheDataIsNotHis) {
    const TFolderEnvironment xdg{"/x", "/h", "/t"}, home{"", "/h", "/t"}, none{"", "", "/t"};
    struct Case {
        bool installed, writable;
        TFolderEnvironment env;
        fs::path settings;
    };
    const Case cases[] = {
        {false, true, xdg, "/d"}, // a build folder: everything stays beside the program
        {false, false, xdg, "/x/tobbin"},
        {true, true, xdg, "/x/tobbin"}, // installed: never the data folder, even for root
        {true, false, home, "/h/.local/share/tobbin"},
        {true, false, none, "/t/tobbin"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings.string());
        const TFolders f = LayOutFolders("/d", c.installed, c.writable, c.env);
        const bool own = c.settings != "/d";
        EXPECT_EQ(std::tuple(f.ProgramFolder, f.GamesFolder, f.HelpFolder, f.SettingsFolder,
                             f.InstallFolder, f.ReadOnlyData, f.OwnGamesFolder),
                  std::tuple(fs::path("/d"), fs::path("/d/tbg"), fs::path("/d/help"), c.settings,
                             c.settings, own, own ? c.settings / "tbg" : fs::path("/d/tbg")));
    }
}

TEST(FolderRules, TheDataIsFoundBesideOrBelowTheExecutable) {
    test::TempFolder root;
    fs::create_directories(root / "staged/tbg");
    fs::create_directories(root / "usr/bin");
    fs::create_directories(root / "usr/share/tobbin/tbg");
    fs::create_directories(root / "bare");
    const auto found = [&](const char* bin) {
        const TDataPlace place = FindDataFolder(root / bin);
        return std::tuple(place.Folder, place.Installed);
    };
    EXPECT_EQ(found("staged"), std::tuple(root / "staged", false));
    EXPECT_EQ(found("usr/bin"), std::tuple(root / "usr/share/tobbin", true));
    EXPECT_EQ(found("bare"), std::tuple(root / "bare", false));
}

// Sets an environment variable for the lifetime of the object.
struct TEnvGuard {
    TEnvGuard(const char* name, const std::string& value) : Name(name) {
        if (const char* old = std::getenv(name)) Old = old;
        setenv(name, value.c_str(), 1);
    }
    ~TEnvGuard() { Old ? setenv(Name, Old->c_str(), 1) : unsetenv(Name); }
    const char* Name;
    std::optional<std::string> Old;
};

// Every file below `folder` with its content: what a run must leave as it was.
std::map<std::string, std::string> Tree(const fs::path& folder) {
    std::map<std::string, std::string> tree;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        tree[fs::relative(entry.path(), folder).string()] =
            entry.is_regular_file() ? ReadFile(entry.path()) : "<folder>";
    return tree;
}

// An installed copy below a temporary root: <root>/usr/bin and its data in
// <root>/usr/share/tobbin holding the games Hills (3 levels) and Rocks (2)
// and their shipped solutions; the player's home in <root>/home.
class Installed : public ::testing::Test {
protected:
    test::TempFolder Root;
    fs::path Data = Root / "usr/share/tobbin";
    fs::path Player = Root / "home/tobbin";
    TEnvGuard Xdg{"XDG_DATA_HOME", (Root / "home").string()};

    Installed() {
        for (const char* sub : {"tbg", "tlg", "img"})
            fs::create_directories(Data / sub);
        fs::create_directories(Root / "usr/bin");
        const TFolders build = ProgramFolders(Data); // writable, to write the shipped files
        WriteSimpleGame("Hills", 3, "Ann", 2, build);
        WriteSimpleGame("Rocks", 2, "Ann", 2, build);
        WriteFile(Data / "tobbin-shipped.sox",
                  SolFile({SolLine("Bob #0", "Hills", 1, 1), SolLine("Bob #0", "Rocks", 2, 1)}));
        F = ExecutableFolders(Root / "usr/bin");
    }
    TFolders F; // the installed copy's folders
};

TEST_F(Installed, ThePlayersFoldersHoldEverythingHeChanges) {
    const TFolders& f = F;
    EXPECT_EQ(std::tuple(f.ProgramFolder, f.ReadOnlyData, f.SettingsFolder, f.OwnGamesFolder,
                         f.InstallFolder, SettingsFileName(f)),
              std::tuple(Data, true, Player, Player / "tbg", Player, Player / "tobbin.ini"));
    EXPECT_TRUE(fs::is_directory(Player)); // made at start-up
}

TEST_F(Installed, HisInstalledSetsJoinTheShippedOnesAndComeFirst) {
    for (const char* folder : {"wav/Classic", "img/skins/Standard", "img/Small/Apples"})
        fs::create_directories(Data / folder);
    for (const char* folder : {"wav/Classic", "wav/Mine", "img/skins/Night", "img/Small/Pears"})
        fs::create_directories(Player / folder);
    EXPECT_EQ(ContentFolders(F, F.SoundsFolder),
              (std::vector<fs::path>{Player / "wav", Data / "wav"}));
    EXPECT_EQ(ContentFolders(F, F.LanguagesFolder),
              (std::vector<fs::path>{Player / "tlg", Data / "tlg"}));
    // His Classic hides the shipped one.
    EXPECT_EQ(
        (std::array{SoundSetFolder(F, "Classic"), SoundSetFolder(F, "Mine"),
                    SoundSetFolder(F, "Nowhere"), SkinFolder(F, "Standard"), SkinFolder(F, "Night"),
                    SpriteSetFolder(F, 1, "Apples"), SpriteSetFolder(F, 1, "Pears")}),
        (std::array{Player / "wav/Classic", Player / "wav/Mine", Data / "wav/Nowhere",
                    Data / "img/skins/Standard", Player / "img/skins/Night",
                    Data / "img/Small/Apples", Player / "img/Small/Pears"}));

    F = ProgramFolders(Data); // a build folder: only its own folders
    EXPECT_EQ(ContentFolders(F, F.SoundsFolder), (std::vector<fs::path>{Data / "wav"}));
    EXPECT_EQ(SoundSetFolder(F, "Mine"), Data / "wav/Mine");
}

TEST_F(Installed, HisOwnGameHidesTheShippedOneOfTheSameFileName) {
    {
        TMapSet mine; // his one-level "Hills", saved as the editor saves
        mine.Init("Hills", "Ann", 2);
        mine.AddLevel("");
        TTextReader reader(test::LevelText(test::OneStep, "Mine"));
        mine.GetMap(1)->ReadText(reader);
        mine.Save(F);
    }
    EXPECT_TRUE(fs::exists(Player / "tbg/hills.tbg"));
    EXPECT_EQ(
        (std::array{TMapSet::FilePath(F, "Hills"), TMapSet::FilePath(F, "Rocks"),
                    TMapSet::FilePath(F, "New one")}),
        (std::array{Player / "tbg/hills.tbg", Data / "tbg/rocks.tbg", Player / "tbg/new_one.tbg"}));
    EXPECT_EQ(ListGameFiles(F),
              (std::vector<fs::path>{Player / "tbg/hills.tbg", Data / "tbg/rocks.tbg"}));
    TAllGames records(F);
    ASSERT_EQ(records.GameCount(), 2);
    EXPECT_EQ(std::tuple(records.FindGame("Hills")->GetLevelCount(),
                         records.FindGame("Rocks")->GetLevelCount()),
              std::tuple(1, 2));
}

TEST_F(Installed, ShippedSolutionsAreMergedOnTheFirstStartInBothLayouts) {
    {
        TAllGames first(F);
        ASSERT_TRUE(first.GetSolution("Hills", 1) && first.GetSolution("Rocks", 2));
        EXPECT_EQ(first.GetSolution("Hills", 1)->GetPlayer(), "Bob #0");
    }
    EXPECT_TRUE(fs::exists(Data / "tobbin-shipped.sox")); // kept for the next player
    EXPECT_NE(ReadFile(Player / "tobbin.sol").find(SolLine("Bob #0", "Rocks", 2, 1)),
              std::string::npos);
    // Not his first start: a solution he deleted is not brought back.
    WriteFile(Player / "tobbin.sol", SolFile({}));
    EXPECT_EQ(TAllGames(F).GetSolution("Hills", 1), nullptr);

    // A build folder: the shipped file lies beside the records, is merged and goes.
    F = ProgramFolders(Data);
    EXPECT_EQ(F.SettingsFolder, Data);
    TAllGames staged(F);
    EXPECT_NE(staged.GetSolution("Rocks", 2), nullptr);
    EXPECT_EQ(std::tuple(fs::exists(Data / "tobbin-shipped.sox"), fs::exists(Data / "tobbin.sol")),
              std::tuple(false, true));
}

TEST_F(Installed, PlayingEditingAndClosingNeverWriteBelowTheDataFolder) {
    // Root (as CI runs) may write anywhere, so the check compares the data
    // folder's files before and after rather than relying on permissions.
    fs::permissions(Data, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const auto before = Tree(Data);
    TSettings settings;
    TSettingsEnvironment env;
    env.Folders = F;
    env.ShowAboutBox = [](const TSettings&) {};
    ReadSettings(settings, env);
    {
        TFullGame game(F);
        game.SetBusy(false);
        game.SetPlayer("Ann #0");
        game.OpenGame("Rocks", 1, true);
        ASSERT_TRUE(game.Move(Right, 1)); // a win: the log and (a new best) the solutions
        EXPECT_EQ(game.GetState(), TState::Done);
        game.SaveGame(); // an edited shipped game: his own copy
        EXPECT_TRUE(fs::exists(Player / "tbg/rocks.tbg"));
        fs::remove(Player / "tbg/rocks.tbg");
        game.OpenGame("Hills", 1, true);
        try {
            game.DeleteGame();
            ADD_FAILURE() << "a shipped game was deleted";
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), ErrorMessage(ErrShippedGame));
        }
    }
    EXPECT_TRUE(WriteSettings(F, settings, true).Written);
    fs::permissions(Data, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(Tree(Data), before);
    EXPECT_TRUE(fs::exists(Player / "tobbin.ini") && fs::exists(Player / "tobbin.hof"));
    EXPECT_NE(ReadFile(Player / "tobbin.sol").find("Rocks"), std::string::npos);
}

} // namespace
} // namespace tb
