// The load-game dialog over a temporary program folder, the congratulations
// box with the settings file's Splash section, and the about box as splash.

#include "play/tb_congratbox.h"
#include "records/tb_fullgame.h"
#include "records/tb_logdb.h"
#include "services/d_error.h"
#include "services/d_messages.h"
#include "services/d_settings.h"
#include "shell/tb_aboutbox.h"
#include "shell/tb_gamebox.h"
#include "tests/records/records_support.h"
#include "tests/window/window_support.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QImage>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

namespace tb::test {
namespace {

std::vector<std::string> Items(const QComboBox& combo) {
    std::vector<std::string> items;
    for (int i = 0; i < combo.count(); ++i)
        items.push_back(combo.itemText(i).toStdString());
    return items;
}

using Names = std::vector<std::string>;

// ---- Load-game dialog ----

class GameBoxTest : public WindowTest {
protected:
    TempProgramFolder Dir;
    TGameBox Box;

    // Ann has finished "Alpha"; the other games are new to her.
    std::unique_ptr<TFullGame> Games() {
        WriteSimpleGame("Alpha", 1, "Ann", 2);
        WriteSimpleGame("Zed", 2, "Ann", 2);
        WriteSimpleGame("apple", 1, "Bob", 2);
        WriteSimpleGame("Gamma", 1, "Bob", 4);
        TLog finished;
        finished.Player = "Ann #0";
        finished.Game = "Alpha";
        finished.Level = 1;
        finished.Steps = 1;
        TLogDB log(Dir.Layout(), TLogDB::NoLoad{});
        log.AddOrImprove(finished);
        log.Save();
        auto game = std::make_unique<TFullGame>(Dir.Layout());
        game->SetBusy(false);
        game->SetPlayer("Ann #0");
        return game;
    }
};

TEST_F(GameBoxTest, FiltersChooseGamesAndAnEmptySkillStepsOnlyOnARebuild) {
    auto game = Games();
    bool editable = true;
    WhenModal([this](QWidget& shown) {
        EXPECT_EQ(&shown, &Box);
        EXPECT_TRUE(Box.xEdit.isVisible());
        EXPECT_TRUE(Box.xEdit.isChecked()); // as passed in
        // New games: "Not rated" and "Easy" hold none, so the list stepped on
        // to "Moderate"; sorted regardless of letter case.
        EXPECT_EQ(Box.xPassed.currentIndex(), FilterNew);
        EXPECT_EQ(Box.xSkill.currentIndex(), 2);
        EXPECT_EQ(Items(Box.xGame), (Names{"apple", "Zed"}));
        EXPECT_EQ(Box.xGame.currentIndex(), 0);
        Box.xPassed.setCurrentIndex(FilterOld);
        EXPECT_EQ(Items(Box.xGame), (Names{"Alpha"}));
        Box.xPassed.setCurrentIndex(FilterAll);
        EXPECT_EQ(Items(Box.xGame), (Names{"Alpha", "apple", "Zed"}));
        Box.xSkill.setCurrentIndex(AllSkills);
        EXPECT_EQ(Items(Box.xGame), (Names{"Alpha", "apple", "Gamma", "Zed"}));
        // A change of a filter does not step: no Hard game, an empty list.
        Box.xSkill.setCurrentIndex(3);
        EXPECT_EQ(Box.xGame.count(), 0);
        EXPECT_EQ(Box.xSkill.currentIndex(), 3);
        QTest::keyClick(&Box, Qt::Key_Escape);
    });
    EXPECT_EQ(Box.Run(*game, editable, ""), "");
    EXPECT_TRUE(editable); // cancelled: left alone
    EXPECT_EQ(Box.FilterIndex(), FilterAll);
    EXPECT_EQ(Box.SkillIndex(), 3);
    EXPECT_FALSE(Box.Rebuild);
    EXPECT_FALSE(game->GetRecords().Modified);

    // Without a rebuild the list stays as it was left.
    WhenModal([this](QWidget&) {
        EXPECT_EQ(Box.xSkill.currentIndex(), 3);
        EXPECT_EQ(Box.xGame.count(), 0);
        QTest::keyClick(&Box, Qt::Key_Return);
    });
    EXPECT_EQ(Box.Run(*game, editable, ""), ""); // confirmed with nothing chosen

    // A rebuild starts from the kept indexes and steps from "Hard" to "Tough".
    Box.Rebuild = true;
    editable = false;
    WhenModal([this](QWidget&) {
        EXPECT_EQ(Box.xPassed.currentIndex(), FilterAll);
        EXPECT_EQ(Box.xSkill.currentIndex(), 4);
        EXPECT_EQ(Items(Box.xGame), (Names{"Gamma"}));
        QTest::mouseClick(&Box.xEdit, Qt::LeftButton);
        QTest::keyClick(&Box, Qt::Key_Enter);
    });
    EXPECT_EQ(Box.Run(*game, editable, ""), "Gamma");
    EXPECT_TRUE(editable);
}

TEST_F(GameBoxTest, ThePreselectedGameSetsItsFiltersAndButtonsAnswer) {
    auto game = Games();
    bool editable = false;
    WhenModal([this](QWidget&) {
        EXPECT_EQ(Box.xPassed.currentIndex(), FilterOld);
        EXPECT_EQ(Box.xSkill.currentIndex(), 2);
        EXPECT_EQ(Box.xGame.currentText().toStdString(), "Alpha");
        QTest::mouseClick(&Box.xOK, Qt::LeftButton);
    });
    EXPECT_EQ(Box.Run(*game, editable, "Alpha"), "Alpha");
    EXPECT_FALSE(editable);

    // A game that is no longer installed preselects nothing.
    WhenModal([this](QWidget&) {
        EXPECT_EQ(Box.xPassed.currentIndex(), FilterOld);
        EXPECT_EQ(Box.xGame.currentText().toStdString(), "Alpha");
        Box.xGame.setCurrentIndex(0);
        QTest::mouseClick(&Box.xCancel, Qt::LeftButton);
    });
    EXPECT_EQ(Box.Run(*game, editable, "Gone"), "");
}

TEST_F(GameBoxTest, EnterWhileAListIsDroppedDownDoesNotClose) {
    auto game = Games();
    bool editable = false;
    WhenModal([this](QWidget&) {
        Box.xSkill.showPopup();
        ASSERT_TRUE(Box.xSkill.view()->isVisible());
        QTest::keyClick(&Box, Qt::Key_Return);
        EXPECT_TRUE(Box.isVisible());
        Box.xSkill.hidePopup();
        EXPECT_EQ(Items(Box.xGame), (Names{"apple", "Zed"}));
        Box.xGame.setCurrentIndex(1);
        QTest::keyClick(&Box, Qt::Key_Return);
    });
    EXPECT_EQ(Box.Run(*game, editable, ""), "Zed");
}

TEST_F(GameBoxTest, TabbingIntoAllowEditTogglesItAndReturnsToTheList) {
    auto game = Games();
    bool editable = false;
    WhenModal([this](QWidget&) {
        QTest::qWait(20);
        ASSERT_EQ(QApplication::focusWidget(), &Box.xGame);
        QTest::keyClick(&Box.xGame, Qt::Key_Tab);
        QTest::qWait(20);
        EXPECT_TRUE(Box.xEdit.isChecked());
        EXPECT_EQ(QApplication::focusWidget(), &Box.xGame);
        QTest::keyClick(&Box.xGame, Qt::Key_Return);
    });
    EXPECT_EQ(Box.Run(*game, editable, ""), "apple");
    EXPECT_TRUE(editable);
}

TEST_F(GameBoxTest, F1OpensTheHelpTopicAndCancels) {
    auto game = Games();
    std::string topic;
    Box.OpenHelp = [&topic](std::string_view asked) { topic = asked; };
    bool editable = false;
    WhenModal([this](QWidget&) { QTest::keyClick(&Box, Qt::Key_F1); });
    EXPECT_EQ(Box.Run(*game, editable, ""), "");
    EXPECT_EQ(topic, "Loading_games");
}

TEST_F(GameBoxTest, NoInstalledGameIsAnErrorAndShowsNothing) {
    TFullGame game(Dir.Layout());
    bool editable = false;
    try {
        Box.Run(game, editable, "");
        ADD_FAILURE() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), ErrorMessage(ErrNoGames));
        EXPECT_EQ(std::string(error.what()), "There are no games in Tobbin folder");
    }
    EXPECT_FALSE(Box.isVisible());
}

TEST_F(GameBoxTest, CaptionsComeByTag) {
    Box.ApplyCaptions({{5, "Auswahl:"}, {7, "\xC4ndern"}, {99, "ignored"}});
    EXPECT_EQ(Box.xpFrom.text(), QStringLiteral("Auswahl:"));
    EXPECT_EQ(Box.xAllow.text(), QString::fromUtf8("\xC3\x84ndern"));
    EXPECT_EQ(Box.xpGame.text(), QStringLiteral("Game name:"));
}

// ---- Congratulations box ----

class CongratBoxTest : public WindowTest {
protected:
    TempProgramFolder Dir;
    TCongratBox Box;

    void Picture(const std::string& name, int width, int height) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        const std::string path = (Folders().ImagesFolder / name).string();
        ASSERT_TRUE(
            image.save(QString::fromStdString(path), name.ends_with(".bmp") ? "BMP" : "PNG"));
    }
    void Splash(const std::string& lines) {
        WriteFile(Folders().SettingsFolder / "tobbin.ini", "[Splash]\r\n" + lines);
    }
    const TShadowLabel& Line(int n) const { return *Box.Lines[static_cast<std::size_t>(n - 1)]; }
};

TEST_F(CongratBoxTest, TheDefaultPictureKeepsTheLanguageLinesWhateverTheKeysSay) {
    Picture("tb_fin.bmp", 200, 150);
    Splash("Line1=Not me\r\nColor1=Blue\r\nBold=0\r\n");
    Box.ApplyCaptions({{1, "Gl\xFC"
                           "ckwunsch!"}});
    Box.FormShow();
    EXPECT_EQ(Box.width(), 206);
    EXPECT_EQ(Box.height(), 156);
    EXPECT_EQ(Line(1).text(), QString::fromUtf8("Gl\xC3\xBC"
                                                "ckwunsch!"));
    EXPECT_EQ(Line(2).text(), QStringLiteral("You've completed all levels of this game."));
    for (int n = 1; n <= 3; ++n) {
        EXPECT_TRUE(Line(n).isVisibleTo(&Box)) << n;
        EXPECT_EQ(Line(n).TextColour(), QColor(Qt::yellow)) << n;
        EXPECT_TRUE(Line(n).font().bold()) << n;
        EXPECT_EQ(Line(n).width(), Box.xPanel.width());
    }
    // Stacked from the bottom of the picture, two pixels apart.
    EXPECT_EQ(Line(3).geometry().bottom() + 1, 150 - 2);
    EXPECT_EQ(Line(2).geometry().bottom() + 1, Line(3).y() - 2);
    EXPECT_EQ(Line(1).geometry().bottom() + 1, Line(2).y() - 2);
    EXPECT_EQ(Line(1).x(), (200 - Box.xPanel.width()) / 2 + 5);
}

TEST_F(CongratBoxTest, ACustomPictureTakesItsLinesColoursAndWeight) {
    Picture("mine.png", 120, 90);
    // Line 2 has no colour of its own: it takes line 1's. Line 3's colour is
    // unknown: it keeps the design colour.
    Splash("Image=mine.png\r\nLine1=One\r\nColor1=Blue\r\nLine2=Two\r\n"
           "Line3=Three\r\nColor3=NoSuchColour\r\n");
    Box.FormShow();
    EXPECT_EQ(Box.width(), 126);
    EXPECT_EQ(Line(1).text(), QStringLiteral("One"));
    EXPECT_EQ(Line(1).TextColour(), QColor(0, 0, 255));
    EXPECT_EQ(Line(2).TextColour(), QColor(0, 0, 255));
    EXPECT_EQ(Line(3).TextColour(), QColor(Qt::yellow));
    for (int n = 1; n <= 3; ++n)
        EXPECT_FALSE(Line(n).font().bold()) << n;

    // Only line 3 set: it sits on the bottom, the others take no room.
    Splash("Image=mine.png\r\nLine3=Alone\r\nBold=1\r\n");
    Box.FormShow();
    EXPECT_FALSE(Line(1).isVisibleTo(&Box));
    EXPECT_FALSE(Line(2).isVisibleTo(&Box));
    EXPECT_TRUE(Line(3).isVisibleTo(&Box));
    EXPECT_EQ(Line(3).geometry().bottom() + 1, 90 - 2);
    EXPECT_EQ(Line(3).TextColour(), QColor(Qt::red)); // no colour keys: red
    EXPECT_TRUE(Line(3).font().bold());

    // Lines 1 and 3 with line 2 empty: line 1 stands right on line 3.
    Splash("Image=mine.png\r\nLine1=Top\r\nLine3=Bottom\r\nColor1=Green\r\n");
    Box.FormShow();
    EXPECT_FALSE(Line(2).isVisibleTo(&Box));
    EXPECT_EQ(Line(1).geometry().bottom() + 1, Line(3).y() - 2);
    EXPECT_EQ(Line(3).TextColour(), QColor(0, 128, 0)); // green carried on to line 3
}

TEST_F(CongratBoxTest, PicturesByDriveLetterOrWholePathAndAMissingOneIsAnError) {
    EXPECT_EQ(TCongratBox::PictureFile("C:\\pics\\a.bmp"),
              std::filesystem::path("C:\\pics\\a.bmp"));
    EXPECT_EQ(TCongratBox::PictureFile("a.bmp"), Folders().ImagesFolder / "a.bmp");
    EXPECT_EQ(TCongratBox::PictureFile("x"), Folders().ImagesFolder / "x");
    Splash("Image=missing.png\r\n");
    EXPECT_THROW(Box.FormShow(), Error);
    EXPECT_THROW(Box.Run(nullptr), Error);
    EXPECT_FALSE(Box.isVisible());
}

TEST_F(CongratBoxTest, RunIsClosedBySpaceAndByAClickOnALine) {
    Picture("tb_fin.bmp", 100, 100);
    // Centred on the control, two pixels up and left.
    QWidget panel;
    panel.setGeometry(100, 120, 400, 300);
    panel.show();
    WhenModal([this, &panel](QWidget& shown) {
        EXPECT_EQ(&shown, &Box);
        const QRect target(panel.mapToGlobal(QPoint(0, 0)), panel.size());
        EXPECT_EQ(Box.frameGeometry().center(), target.center() - QPoint(2, 2));
        QTest::keyClick(&Box, Qt::Key_Space);
    });
    Box.Run(&panel);
    EXPECT_FALSE(Box.isVisible());
    WhenModal([this](QWidget&) { QTest::mouseClick(&Box.xLab2, Qt::LeftButton); });
    Box.Run(nullptr);
    EXPECT_FALSE(Box.isVisible());
}

// ---- About box ----

TEST_F(WindowTest, TheAboutBoxShowsStartupTextOnlyWhileVisible) {
    TempProgramFolder dir;
    TAboutBox box;
    EXPECT_EQ(box.xTitle.text(), QStringLiteral("Tobbin"));
    EXPECT_EQ(box.xVersion.text(), QStringLiteral("Version 3.54"));
    box.ShowStartupText("Reading games");
    EXPECT_TRUE(box.xMessage.text().isEmpty());

    box.ShowSplash();
    ASSERT_TRUE(box.isVisible());
    box.ShowStartupText("Reading games");
    EXPECT_EQ(box.xMessage.text(), QStringLiteral("Reading games"));
    // A click on the splash does not end it.
    QTest::mouseClick(&box.xPic, Qt::LeftButton);
    EXPECT_TRUE(box.isVisible());
    box.hide();
    box.ShowStartupText("Reading the log");
    EXPECT_EQ(box.xMessage.text(), QStringLiteral("Reading games"));

    // Help > About: modal, closed by Escape or a click.
    WhenModal([&box](QWidget& shown) {
        EXPECT_EQ(&shown, &box);
        QTest::keyClick(&box, Qt::Key_Escape);
    });
    box.Run();
    EXPECT_FALSE(box.isVisible());
    WhenModal([&box](QWidget&) { QTest::mouseClick(&box.xTitle, Qt::LeftButton); });
    box.Run();
    EXPECT_FALSE(box.isVisible());
}

TEST_F(WindowTest, TheAboutBoxTakesTheSkinsSplashPictureFirst) {
    TempProgramFolder dir;
    tb::Settings().Skin = "Plain";
    tb::Settings().SkinPictures[0] = "tb_spl.bmp";
    EXPECT_TRUE(TAboutBox::SplashPictureFile().empty());
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::blue);
    ASSERT_TRUE(image.save(QString::fromStdString((Folders().ImagesFolder / "tb_spl.bmp").string()),
                           "BMP"));
    EXPECT_EQ(TAboutBox::SplashPictureFile(), Folders().ImagesFolder / "tb_spl.bmp");
    std::filesystem::create_directories(SkinFolder("Plain"));
    const auto skinned = SkinFolder("Plain") / tb::Settings().SkinPictureName(TSkinPicture::Splash);
    ASSERT_TRUE(image.save(QString::fromStdString(skinned.string()), "BMP"));
    EXPECT_EQ(TAboutBox::SplashPictureFile(), skinned);
    TAboutBox box;
    box.ShowSplash();
    EXPECT_EQ(box.size(), QSize(64, 48));
    box.hide();
    tb::Settings() = TSettings();
}

} // namespace
} // namespace tb::test
