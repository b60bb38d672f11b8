// The level sheets: each level is cut to the cells worth showing and drawn
// with the game's own tiles in rows under a title.

#include "services/d_file.h"
#include "tests/tools/tool_levels.h"
#include "tools/assets/sheets/tb_levelsheet.h"
#include "tools/assets/sheets/tb_sheettiles.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

#include <memory>

namespace tb {
namespace {

class LevelSheet : public testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "test_levelsheet";
        static char* argv[] = {name, nullptr};
        if (!QGuiApplication::instance()) App = std::make_unique<QGuiApplication>(argc, argv);
    }
    static void TearDownTestSuite() { App.reset(); }
    static inline std::unique_ptr<QGuiApplication> App;
};

// A level whose rows start at row `top`, column 1; every other cell a wall.
void Fill(TMap& map, int top, std::vector<std::string> rows) {
    rows.insert(rows.begin(), static_cast<std::size_t>(top - 1), "");
    TTextReader reader(test::LevelText("Level", rows));
    map.ReadText(reader);
}

TEST_F(LevelSheet, ACropHoldsEveryOpenCellAndOneCellOfFrame) {
    struct TCase {
        int Top;
        std::vector<std::string> Rows;
        TLevelCrop Crop;
    };
    const TCase cases[] = {
        {5, {"####", "##H+#"}, {2, 5, 5, 7}},
        {1, {"H  +"}, {1, 1, 5, 2}},                // at the border of the grid the frame is cut
        {1, {}, {1, 1, TMap::Width, TMap::Height}}, // walls only: the whole grid
    };
    for (const TCase& c : cases) {
        TMap map;
        Fill(map, c.Top, c.Rows);
        const TLevelCrop crop = LevelCrop(map);
        EXPECT_EQ(std::tuple(crop.X0, crop.Y0, crop.X1, crop.Y1),
                  std::tuple(c.Crop.X0, c.Crop.Y0, c.Crop.X1, c.Crop.Y1))
            << c.Top;
    }
}

TEST_F(LevelSheet, LevelsAreLaidOutInRowsWithTheGamesTiles) {
    TMapSet game;
    game.Init("Sheet Test", "Tester", 2);
    TMap map;
    Fill(map, 3, {"#########", "#H  *  +#", "#########"});
    for (int i = 0; i < 4; ++i)
        game.AddLevelCopy(map);
    const int tile = 16;
    const QImage three = DrawLevelSheet(game, tile, 3);
    const QImage two = DrawLevelSheet(game, tile, 2);
    ASSERT_FALSE(three.isNull());
    // Four levels: two rows of three, or two rows of two.
    EXPECT_TRUE(three.width() > two.width() && three.height() == two.height());
    game.AddLevelCopy(map);
    EXPECT_GT(DrawLevelSheet(game, tile, 2).height(), two.height())
        << "a fifth level opens a third row";

    // Somewhere in the sheet the hero's tile appears exactly.
    const QImage hero = SheetTiles(tile)[Hero].convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(hero.isNull());
    bool found = false;
    for (int y = 0; y + tile <= two.height() && !found; ++y)
        for (int x = 0; x + tile <= two.width() && !found; ++x)
            found = two.copy(x, y, tile, tile) == hero;
    EXPECT_TRUE(found);
}

} // namespace
} // namespace tb
