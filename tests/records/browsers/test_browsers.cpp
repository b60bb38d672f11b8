// The four record browsers over records built in a temporary program folder:
// their rows, titles and columns, and the chains driven by double-clicks and keys.

#include "records/browsers/tb_authbox.h"
#include "records/browsers/tb_champbox.h"
#include "records/browsers/tb_solbox.h"
#include "records/browsers/tb_wribox.h"
#include "records/tb_allgames.h"
#include "services/d_language.h"
#include "tests/records/records_support.h"
#include "tests/window/window_support.h"

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QTest>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tb::test {
namespace {

namespace fs = std::filesystem;

using Opened = std::vector<std::pair<std::string, int>>;

std::vector<std::string> RowText(const TRecordGrid& grid, int row) {
    std::vector<std::string> cells;
    for (int c = 0; c < grid.model()->columnCount(); ++c)
        cells.push_back(grid.Cell(row, c).toStdString());
    return cells;
}

bool RowIsBlank(const TRecordGrid& grid, int row) {
    for (const std::string& cell : RowText(grid, row))
        if (!cell.empty()) return false;
    return true;
}

QPoint RowPoint(const TRecordGrid& grid, int row) {
    return grid.visualRect(grid.model()->index(row, 2)).center();
}

void DoubleClick(TRecordGrid& grid, int row) {
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, RowPoint(grid, row));
}

class BrowserTest : public WindowTest {
protected:
    TempProgramFolder Dir;
    std::unique_ptr<TAllGames> Db;
    Opened Calls;
    bool Opens = true; // whether the play window opens the level
    TOpenGameAt Open = [this](const std::string& name, int level) {
        Calls.emplace_back(name, level);
        return Opens;
    };

    // "Hills" (3 levels, skill 3) all by Ann; "Four" (4 levels, by Bob)
    // with level 2 by Ann and the rest unsolved.
    void Records(const std::vector<std::string>& extra = {}) {
        WriteSimpleGame("Hills", 3, "Ann", 3);
        WriteSimpleGame("Four", 4, "Bob", 1);
        std::vector<std::string> lines = {
            SolLine("Ann #0", "Hills", 1, 4), SolLine("Ann #0", "Hills", 2, 4),
            SolLine("Ann #0", "Hills", 3, 4), SolLine("Ann #0", "Four", 2, 7)};
        lines.insert(lines.end(), extra.begin(), extra.end());
        WriteFile(Settings("tobbin.sol"), SolFile(lines));
        Db = std::make_unique<TAllGames>(Dir.Layout());
    }
};

TEST_F(BrowserTest, LongListsScrollShortOnesFillTenRowsAndOnlyDataRowsCanBeSelected) {
    WriteSimpleGame("Nine A", 9);
    WriteSimpleGame("Nine B", 9);
    Records();
    TSolBox box(nullptr, *Db, Open);
    TRecordGrid& grid = box.xList;
    box.FillBestResults("");
    ASSERT_EQ(grid.RowCount(), 21);
    EXPECT_EQ(box.xTitle.text().toStdString(), "No Solution");
    EXPECT_EQ(RowText(grid, 20),
              (std::vector<std::string>{" 21", " **", "Nine B", " ", "   9", "", " "}));
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    EXPECT_GT(grid.verticalScrollBar()->maximum(), 0);
    grid.SelectDataRow(20);
    EXPECT_GT(grid.verticalScrollBar()->value(), 0);

    // A later short list keeps nothing of the long one.
    box.FillBestResults("Ann #0");
    EXPECT_EQ(std::tuple(box.xTitle.text().toStdString(), grid.RowCount(), box.RowsFilled(),
                         grid.SelectedRow(), grid.verticalScrollBar()->value()),
              std::tuple("Best Solutions by Ann #0", 10, 4, -1, 0));
    // Database order: "Four" before "Hills"; "$" marks a game all of whose
    // levels are the player's.
    EXPECT_EQ(RowText(grid, 0),
              (std::vector<std::string>{"  1", " *", "Four", " ", "   2", "    7", " "}));
    EXPECT_EQ(RowText(grid, 1),
              (std::vector<std::string>{"  2", " ***", "Hills", "$", "   1", "    4", " "}));
    for (int row = 4; row < 10; ++row)
        EXPECT_TRUE(RowIsBlank(grid, row) && !grid.IsSelectable(row)) << row;

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, RowPoint(grid, 1));
    EXPECT_EQ(grid.SelectedRow(), 1);
    // A click on the blank row 5 keeps the selection; the arrow keys stop at
    // the last data row.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, RowPoint(grid, 4));
    EXPECT_EQ(grid.SelectedRow(), 1);
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.SelectedRow(), 3);
    // A double-click on a blank row opens nothing, even with a row selected.
    DoubleClick(grid, 6);
    EXPECT_TRUE(Calls.empty() && box.isVisible());
    box.hide();
}

TEST_F(BrowserTest, HallOfChampionsNamesTheGrandChampionAndMarksFreshSolutions) {
    // An imported (fresh) solution for Bob on "Four" level 1.
    WriteFile(Settings("bob.sox"), SolFile({SolLine("Bob #0", "Four", 1, 9)}));
    Records();
    TSolBox details(nullptr, *Db, Open);
    TChampBox box(nullptr, *Db, details);
    box.FillChampions();
    EXPECT_EQ(box.xTitle.text().toStdString(), "Ann is the Grand Champion!");
    ASSERT_EQ(box.xList.DataRows(), 3);
    EXPECT_EQ(RowText(box.xList, 0),
              (std::vector<std::string>{"  1", "Ann #0", "     4", "    1", "    19", " "}));
    EXPECT_EQ(RowText(box.xList, 1),
              (std::vector<std::string>{"  2", "Bob #0", "     1", "    0", "     1", "+"}));
    EXPECT_EQ(std::tuple(box.xList.Cell(2, 1).toStdString(), box.xList.toolTip().toStdString()),
              std::tuple("???", "Double-click here to show details"));

    details.FillBestResults("Bob #0");
    EXPECT_EQ(details.xList.Cell(0, 6).toStdString(), "+");

    // A language's texts: the title's "@" is filled from the new text; an
    // empty caption keeps the old one.
    box.ApplyCaptions({{TChampBox::TagTitle, "Champion: @"}, {5, "Spieler"}, {4, ""}});
    box.FillChampions();
    EXPECT_EQ(std::tuple(box.xTitle.text().toStdString(),
                         box.findChild<QLabel*>("xPlayer")->text().toStdString(),
                         box.xOK.text().toStdString()),
              std::tuple("Champion: Ann", "Spieler", "&OK"));
}

TEST_F(BrowserTest, AnEmptyHallShowsUnsolvedAndTenBlankRows) {
    Db = std::make_unique<TAllGames>(Dir.Layout());
    TSolBox details(nullptr, *Db, Open);
    TChampBox box(nullptr, *Db, details);
    box.FillChampions();
    EXPECT_EQ(
        std::tuple(box.xTitle.text().toStdString(), box.xList.RowCount(), RowIsBlank(box.xList, 0)),
        std::tuple("Unsolved", 10, true));

    // Space and a double-click in the empty list do nothing.
    WhenModal([&](QWidget& shown) {
        EXPECT_EQ(&shown, &box);
        QTest::keyClick(&box.xList, Qt::Key_Space);
        DoubleClick(box.xList, 0);
        EXPECT_EQ(QApplication::activeModalWidget(), &box);
        QTest::keyClick(&box.xList, Qt::Key_Return);
    });
    box.ShowChampions();
    EXPECT_FALSE(box.Chosen());
}

TEST_F(BrowserTest, TitlesShrinkByAtMostFourPointsAndRowsAre18Pixels) {
    Records();
    TWriBox games(nullptr, *Db, Open);
    games.FillGamesBy("Bob");
    const int full = games.xTitle.font().pointSize();
    EXPECT_LT(games.xTitle.width(), games.xPic.width());
    EXPECT_EQ(games.xTitle.x(), (games.xPic.width() - games.xTitle.width()) / 2);
    games.FillGamesBy(std::string(200, 'W'));
    EXPECT_EQ(games.xTitle.font().pointSize(), full - 4);
    EXPECT_TRUE(games.xTitle.width() >= games.xPic.width() && games.xTitle.x() < 0);
    EXPECT_EQ(games.xTitle.x(), (games.xPic.width() - games.xTitle.width()) / 2); // centred
    games.FillGamesBy("Bob"); // the next showing starts again from the full size
    EXPECT_EQ(games.xTitle.font().pointSize(), full);

    TAuthBox box(nullptr, *Db, games);
    box.FillAuthors();
    EXPECT_EQ(std::tuple(box.xTitle.text().toStdString(), box.xList.rowHeight(0)),
              std::tuple("2 Games and 7 Levels", TRecordGrid::RowHeight));
    EXPECT_EQ(RowText(box.xList, 0), (std::vector<std::string>{"  1", "Bob", "    1", "     4"}));
}

TEST_F(BrowserTest, TheUnsolvedRowListsTheUnsolvedLevelsAndALevelOpenedClosesBothDialogs) {
    Records();
    TSolBox details(nullptr, *Db, Open);
    TChampBox box(nullptr, *Db, details);
    WhenModal([&](QWidget& shown) {
        ASSERT_EQ(&shown, &box);
        EXPECT_EQ(box.xList.SelectedRow(), 0); // the first row is selected on showing
        WhenModal([&](QWidget& inner) {
            ASSERT_EQ(&inner, &details);
            EXPECT_EQ(details.xTitle.text().toStdString(), "No Solution");
            ASSERT_EQ(details.RowsFilled(), 3);
            for (int row = 0; row < 3; ++row)
                EXPECT_EQ(std::tuple(details.xList.Cell(row, 2).toStdString(),
                                     details.xList.Cell(row, 5).toStdString()),
                          std::tuple("Four", ""))
                    << row;
            QTest::keyClick(&details.xList, Qt::Key_Escape); // closes the best results only
        });
        ASSERT_EQ(box.xList.Cell(1, 1).toStdString(), "???");
        DoubleClick(box.xList, 1);
        EXPECT_TRUE(!details.isVisible() && box.isVisible());
        QTest::mouseClick(&box.xOK, Qt::LeftButton);
    });
    box.ShowChampions();
    EXPECT_TRUE(!box.Chosen() && Calls.empty());

    std::vector<std::string> help;
    details.OpenHelp = [&](std::string_view topic) { help.emplace_back(topic); };
    WhenModal([&](QWidget&) {
        WhenModal([&](QWidget& inner) {
            ASSERT_EQ(&inner, &details);
            // F1 asks for the topic and leaves the dialog open; Space opens the selected row.
            QTest::keyClick(&details.xList, Qt::Key_F1);
            EXPECT_TRUE(details.isVisible());
            details.xList.SelectDataRow(2);
            QTest::keyClick(&details.xList, Qt::Key_Space);
        });
        QTest::keyClick(&box.xList, Qt::Key_Space); // Ann, the first row
    });
    box.ShowChampions();
    EXPECT_TRUE(box.Chosen() && details.Chosen() && !details.isVisible());
    EXPECT_EQ(Calls, (Opened{{"Hills", 2}}));
    EXPECT_EQ(help, (std::vector<std::string>{"Best_level_results"}));

    // The next showing starts with the flag cleared; Enter closes.
    WhenModal([&](QWidget&) { QTest::keyClick(&box.xList, Qt::Key_Enter, Qt::KeypadModifier); });
    box.ShowChampions();
    EXPECT_FALSE(box.Chosen());
}

TEST_F(BrowserTest, AFourLevelGameOpensAtLevelFourAndTheBrowsersStayWhenTheEditorStays) {
    Records();
    Db->SetMark(1, "Four", 0);
    TWriBox games(nullptr, *Db, Open);
    TAuthBox box(nullptr, *Db, games);
    Opens = false; // first the player answers Cancel to leaving the editor
    bool stillShown = false;
    WhenModal([&](QWidget&) {
        WhenModal([&](QWidget&) {
            DoubleClick(games.xList, 0);
            stillShown = games.isVisible();
            games.reject();
        });
        DoubleClick(box.xList, 0);
        EXPECT_TRUE(box.isVisible());
        box.reject();
    });
    box.ShowAuthors();
    EXPECT_TRUE(stillShown && !games.Chosen() && !box.Chosen());
    EXPECT_EQ(Calls, (Opened{{"Four", 4}}));

    Opens = true;
    WhenModal([&](QWidget&) {
        WhenModal([&](QWidget& inner) {
            ASSERT_EQ(&inner, &games);
            EXPECT_EQ(games.xTitle.text().toStdString(), "Games by Bob");
            ASSERT_EQ(games.RowsFilled(), 1);
            EXPECT_EQ(RowText(games.xList, 0),
                      (std::vector<std::string>{"  1", " *", "Four", "    4", "#"}));
            DoubleClick(games.xList, 0);
        });
        // Authors: Ann and Bob have one game each; Bob's has more levels.
        ASSERT_EQ(box.xList.Cell(0, 1).toStdString(), "Bob");
        DoubleClick(box.xList, 0);
    });
    box.ShowAuthors();
    EXPECT_TRUE(box.Chosen());
    EXPECT_EQ(Calls, (Opened{{"Four", 4}, {"Four", 4}}));
}

TEST_F(BrowserTest, EveryHeaderCaptionFitsItsColumnInEveryShippedLanguage) {
    Records();
    TSolBox details(nullptr, *Db, Open);
    TChampBox champions(nullptr, *Db, details);
    TWriBox games(nullptr, *Db, Open);
    TAuthBox authors(nullptr, *Db, games);
    const std::vector<std::pair<TRecordBox*, TLanguageForm>> boxes = {
        {&details, TLanguageForm::SolBox},
        {&champions, TLanguageForm::ChampBox},
        {&games, TLanguageForm::WriBox},
        {&authors, TLanguageForm::AuthBox}};
    const fs::path shipped = fs::path(TOBBIN_SOURCE_FOLDER) / "data" / "tlg";
    fs::copy(shipped, Dir.Path() / "tlg", fs::copy_options::recursive);
    const std::vector<std::string> languages = LanguageNames(Dir.Path() / "tlg");
    ASSERT_GE(languages.size(), 2U);
    for (const std::string& language : languages) {
        ASSERT_TRUE(Language().LoadLanguage(Dir.Layout(), language).Loaded) << language;
        for (auto [box, form] : boxes) {
            box->ApplyCaptions(Language().Captions(form));
            for (std::size_t i = 0; i < box->Panels.size(); ++i) {
                const QLabel& panel = *box->Panels[i];
                const int text = panel.fontMetrics().horizontalAdvance(panel.text());
                EXPECT_GE(panel.contentsRect().width(), text)
                    << language << " " << box->objectName().toStdString() << " "
                    << panel.text().toStdString();
                // The panels lie side by side, the grid's columns under them.
                if (i > 0) {
                    EXPECT_EQ(panel.x(), box->Panels[i - 1]->geometry().right() + 1);
                }
            }
        }
    }
    ASSERT_TRUE(Language().LoadLanguage(Dir.Layout(), "English").Loaded);
    RestoreBuiltInTexts();
}

} // namespace
} // namespace tb::test
