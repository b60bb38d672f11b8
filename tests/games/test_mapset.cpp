#include "games/tb_mapset.h"
#include "services/d_error.h"
#include "services/d_file.h"
#include "services/d_folders.h"
#include "services/d_messages.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace tb {
namespace fs = std::filesystem;
namespace {

using test::Lines;

// A playable level: a hero, some food, a stone resting on a wall.
void LayOut(TMap& map, int variant) {
    map.SetCell(TPos(2 + variant, 2), Hero);
    map.SetCell(TPos(5, 3 + variant), Food);
    map.SetCell(TPos(7, 7), Stone);
    map.SetCell(TPos(7, 8), Wall);
}

// A game "Hills" by "Ann", skill 2, with `levels` playable levels.
void Build(TMapSet& game, int levels) {
    game.Init("Hills", "Ann", 2);
    for (int level = 1; level <= levels; ++level) {
        game.AddLevel("Level " + std::to_string(level));
        LayOut(*game.GetMap(level), level);
    }
}

std::string Join(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

// The message of the Error that loading `text` raises, or "" when it loads.
std::string LoadError(const std::string& text, bool verify) {
    TMapSet game;
    try {
        game.LoadText(text, verify);
    } catch (const Error& e) {
        return e.what();
    }
    return "";
}

} // namespace

TEST(GameFile, SavedTextReadsBackTheSameGame) {
    TMapSet game;
    Build(game, 3);
    game.SetFlag(ReadOnly, true);
    const std::string text = game.SaveText();
    const auto lines = Lines(text);
    ASSERT_EQ(lines.size(), 4u + 3 * 20 + 1);
    EXPECT_EQ(std::vector(lines.begin(), lines.begin() + 5),
              (std::vector<std::string>{"Version 3.54 #0", "** Hills", "Ann",
                                        std::to_string(game.Checksum()) + " 3O", "Level 1"}));
    EXPECT_EQ(std::tuple(lines[23], lines.back()), std::tuple("OK", "END"));

    TMapSet back;
    EXPECT_FALSE(back.LoadText(text, true));
    EXPECT_EQ(std::tuple(back.Name, back.Author, back.Skill, back.Version, back.HasFlag(ReadOnly)),
              std::tuple("Hills", "Ann", 2, 354, true));
    ASSERT_EQ(back.GetLevelCount(), 3);
    for (int level = 1; level <= 3; ++level) {
        EXPECT_TRUE(back.GetMap(level)->SameCells(*game.GetMap(level)));
        EXPECT_EQ(back.GetMap(level)->GetName(), "Level " + std::to_string(level));
    }
    EXPECT_EQ(std::tuple(back.GetMap(4), back.Checksum(), back.SaveText()),
              std::tuple(nullptr, game.Checksum(), text));
}

TEST(GameFile, ChecksumGuardsHeaderAndCellsButNotLevelNames) {
    TMapSet game;
    Build(game, 2);
    const auto lines = Lines(game.SaveText());

    auto renamedLevel = lines;
    renamedLevel[4] = "Another name";
    EXPECT_EQ(LoadError(Join(renamedLevel), true), "");

    const std::string corrupted = ErrorMessage(ErrCorruptedGameData);
    for (std::size_t row : {5u, 14u, 22u}) {
        for (std::size_t column : {0u, 30u}) {
            auto changed = lines;
            changed[row][column] = changed[row][column] == '#' ? '-' : '#';
            EXPECT_EQ(LoadError(Join(changed), true), corrupted) << row << "," << column;
            EXPECT_EQ(LoadError(Join(changed), false), "") << "not verified";
        }
    }
    auto beyond = lines;
    beyond[5] += "####"; // past column 31: not part of the map
    EXPECT_EQ(LoadError(Join(beyond), true), "");
    for (const auto& [line, text] : {std::pair(2, "Bob"), std::pair(1, "*** Hills")}) {
        auto changed = lines; // the author, the skill
        changed[static_cast<std::size_t>(line)] = text;
        EXPECT_EQ(LoadError(Join(changed), true), corrupted) << text;
    }
}

TEST(GameFile, MissingLevelsOldFilesAndExtraLevels) {
    TMapSet game;
    Build(game, 3);
    auto lines = Lines(game.SaveText());
    // Announced 3, but only 2 blocks before END.
    auto two = std::vector<std::string>(lines.begin(), lines.begin() + 4 + 40);
    two.push_back("END");
    TMapSet loaded;
    loaded.LoadText(Join(two), false);
    EXPECT_EQ(loaded.GetLevelCount(), 2);
    EXPECT_EQ(LoadError(Join(two), true), ErrorMessage(ErrCorruptedGameData));
    loaded.Init("x", "y", 0);
    EXPECT_THROW(loaded.LoadText(Join(two), true), Error);
    EXPECT_EQ(loaded.GetLevelCount(), 2) << "the maps read so far stay";

    // Without a version line (and with a wrong checksum) it loads unverified.
    auto old = std::vector<std::string>(lines.begin() + 1, lines.end());
    old[2] = "1 3";
    loaded.LoadText(Join(old), true);
    EXPECT_EQ(std::tuple(loaded.Version, loaded.GetLevelCount()), std::tuple(0, 3));
    auto v329 = lines;
    v329[0] = "Version 3.29 #0";
    v329[3] = "1 3";
    EXPECT_EQ(LoadError(Join(v329), true), "");

    // Never more than nine levels: a tenth block after nine announced is ignored.
    TMapSet nine;
    Build(nine, 9);
    auto ten = Lines(nine.SaveText());
    ten.pop_back();
    for (std::size_t i = 4; i < 24; ++i)
        ten.push_back(ten[i]);
    ten.push_back("END");
    loaded.LoadText(Join(ten), true);
    EXPECT_EQ(loaded.GetLevelCount(), 9);
    auto colon = ten;
    colon[3].back() = ':';
    EXPECT_EQ(LoadError(Join(colon), false), ErrorMessage(ErrReadingGame));
}

TEST(GameFile, DamagedFilesAreReadErrorsAndFuzzedCopiesLoadOrRaiseError) {
    TMapSet game;
    Build(game, 4);
    TLevSol s;
    s.SetPlayer("Ann #0");
    s.Add(Up);
    game.SetSolution(s, 1, false);
    const std::string text = game.SaveText();
    const auto lines = Lines(text);
    const std::string reading = ErrorMessage(ErrReadingGame);
    // Cut inside the second level block: the map reader meets the end of the file.
    EXPECT_EQ(LoadError(Join(std::vector<std::string>(lines.begin(), lines.begin() + 30)), true),
              reading);
    EXPECT_EQ(LoadError("", true), reading);
    auto count = lines;
    count[3] = "x 2";
    EXPECT_EQ(LoadError(Join(count), false), reading);
    std::string noise;
    for (int i = 0; i < 4096; ++i)
        noise += static_cast<char>((i * 7919) % 256);
    EXPECT_NE(LoadError(noise, true), "");

    // Damaged copies either load or raise Error.
    std::mt19937 rng(12345);
    int loaded = 0, errors = 0;
    for (int i = 0; i < 600; ++i) {
        TMapSet target;
        try {
            target.LoadText(test::Damage(text, rng), i % 2 == 0);
            ++loaded;
            EXPECT_LE(target.GetLevelCount(), 9);
            (void)target.SaveText();
        } catch (const Error&) {
            ++errors;
        }
    }
    EXPECT_GT(loaded, 0);
    EXPECT_GT(errors, 0);
}

TEST(GameFile, SaveAndLoadThroughTheGamesFolder) {
    test::TempProgramFolder dir;
    TMapSet game;
    Build(game, 2);
    game.Save(dir.Layout());
    const fs::path file = dir / "tbg" / "hills.tbg";
    ASSERT_TRUE(fs::exists(file));
    EXPECT_EQ(std::tuple(TMapSet::FilePath(dir.Layout(), "Hills"), test::ReadFile(file),
                         fs::exists(dir / "tbg" / "hills.tbg.tmp")),
              std::tuple(file, game.SaveText(), false));
    TMapSet back;
    EXPECT_FALSE(back.Load(dir.Layout(), "Hills", true));
    EXPECT_EQ(back.GetLevelCount(), 2);

    // A file whose header carries an old name loads under the new one.
    TFolders renaming = dir.Layout();
    renaming.Renamed.Add("Hills", "High Hills");
    const bool renamed = back.Load(renaming, "Hills", false);
    EXPECT_EQ(std::tuple(renamed, back.Name), std::tuple(true, "High Hills"));

    try {
        back.Load(dir.Layout(), "No Such Game", true);
        ADD_FAILURE() << "a missing file loaded";
    } catch (const std::ios_base::failure& e) {
        EXPECT_NE(std::string(e.what()).find("No Such Game"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("no_such_game.tbg"), std::string::npos) << e.what();
    }
}

TEST(GameFile, FailedSaveIsAnErrorAndKeepsTheOldFile) {
    test::TempProgramFolder dir;
    TMapSet game;
    Build(game, 1);
    game.Save(dir.Layout());
    const std::string before = test::ReadFile(dir / "tbg" / "hills.tbg");
    game.AddLevel("Second");
    LayOut(*game.GetMap(2), 2);
    fs::create_directories(dir / "tbg" / "hills.tbg.tmp" / "blocker");
    try {
        game.Save(dir.Layout());
        ADD_FAILURE() << "saved through a blocked file";
    } catch (const Error& e) {
        EXPECT_EQ(e.what(), ErrorMessage(ErrWritingGame));
    }
    EXPECT_EQ(test::ReadFile(dir / "tbg" / "hills.tbg"), before);
    game.Name = "???";
    EXPECT_THROW(game.Save(dir.Layout()), Error) << "no usable character for a file name";
    EXPECT_FALSE(fs::exists(dir / "tbg" / ".tbg"));
}

TEST(LevelSet, LevelOperationsKeepMapsAndSolutionsInStep) {
    TMapSet game;
    Build(game, 4);
    for (int level = 1; level <= 4; ++level) {
        TLevSol s;
        s.SetPlayer("P" + std::to_string(level) + " #0");
        s.Add(Up);
        game.SetSolution(s, level, false);
    }
    // Each level's map name and solver, "-" for none.
    const auto levels = [&game] {
        std::string text;
        for (int level = 1; level <= 9; ++level)
            if (game.GetMap(level))
                text += game.GetMap(level)->GetName() + "/" +
                        (game.GetSolution(level) ? game.GetSolution(level)->GetPlayer() : "-") +
                        ",";
        return text;
    };
    game.RemoveLevel(2);
    EXPECT_EQ(levels(), "Level 1/P1 #0,Level 3/P3 #0,Level 4/P4 #0,");
    EXPECT_EQ(std::tuple(game.GetLevelCount(), game.GetSolution(4)), std::tuple(3, nullptr));
    game.SwapLevels(1, 3);
    EXPECT_EQ(levels(), "Level 4/P4 #0,Level 3/P3 #0,Level 1/P1 #0,");
    EXPECT_THROW(game.RemoveLevel(4), std::out_of_range);
    EXPECT_THROW((void)game.GetMap(10), std::out_of_range);

    EXPECT_EQ(game.BadLevelCount(), 0);
    game.GetMap(2)->SetCell(TPos(7, 8), Empty); // the stone now hangs over an empty cell
    game.AddLevel("Empty");
    EXPECT_EQ(game.BadLevelCount(), 2);

    for (int i = 0; i < 10; ++i)
        game.AddLevelCopy(*game.GetMap(1));
    game.AddLevel("Tenth");
    EXPECT_EQ(std::tuple(game.GetLevelCount(), game.GetMap(9)->GetName()),
              std::tuple(9, "Level 4"));
    EXPECT_TRUE(game.GetMap(9)->SameCells(*game.GetMap(1)));

    game.ClearMaps(); // keeps the solutions
    EXPECT_EQ(std::tuple(game.GetLevelCount(), game.GetMap(1)), std::tuple(0, nullptr));
    EXPECT_NE(game.GetSolution(1), nullptr);
    Build(game, 3); // Init deletes them
    EXPECT_EQ(game.GetSolution(1), nullptr);
    game.RemoveLevel(0);
    EXPECT_EQ(std::tuple(game.GetLevelCount(), game.GetMap(1)), std::tuple(0, nullptr));
}

} // namespace tb
