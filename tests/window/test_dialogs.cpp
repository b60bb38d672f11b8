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

    // A preselected game sets its filters; one no longer installed, nothing.
    for (const char* preselected : {"Alpha", "Gone"}) {
        WhenModal([this](QWidget&) {
            EXPECT_EQ(Box.xPassed.currentIndex(), FilterOld);
            EXPECT_EQ(Box.xSkill.currentIndex(), 2);
            EXPECT_EQ(Box.xGame.currentText().toStdString(), "Alpha");
            QTest::mouseClick(&Box.xOK, Qt::LeftButton);
        });
        EXPECT_EQ(Box.Run(*game, editable, preselected), "Alpha");
    }
}

TEST_F(GameBoxTest, KeysButtonsHelpAndCaptions) {
    auto game = Games();
    bool editable = false;
    // Enter while a list is dropped down does not close.
    WhenModal([this](QWidget&) {
        Box.xSkill.showPopup();
        ASSERT_TRUE(Box.xSkill.view()->isVisible());
        QTest::keyClick(&Box, Qt::Key_Return);
        EXPECT_TRUE(Box.isVisible());
        Box.xSkill.hidePopup();
        Box.xGame.setCurrentIndex(1);
        QTest::keyClick(&Box, Qt::Key_Return);
    });
    EXPECT_EQ(Box.Run(*game, editable, ""), "Zed");
    // Tabbing into "Allow edit" toggles it and returns to the list.
    WhenModal([this](QWidget&) {
        EXPECT_TRUE(QTest::qWaitFor([this] { return QApplication::focusWidget() == &Box.xGame; }));
        QTest::keyClick(&Box.xGame, Qt::Key_Tab);
        EXPECT_TRUE(QTest::qWaitFor([this] { return QApplication::focusWidget() == &Box.xGame; }));
        EXPECT_TRUE(Box.xEdit.isChecked());
        QTest::keyClick(&Box.xGame, Qt::Key_Return);
    });
    EXPECT_EQ(Box.Run(*game, editable, "Zed"), "Zed");
    EXPECT_TRUE(editable);
    // F1 opens the help topic and cancels.
    std::string topic;
    Box.OpenHelp = [&topic](std::string_view asked) { topic = asked; };
    WhenModal([this](QWidget&) { QTest::keyClick(&Box, Qt::Key_F1); });
    EXPECT_EQ(Box.Run(*game, editable, ""), "");
    EXPECT_EQ(topic, "Loading_games");
    Box.ApplyCaptions({{5, "Auswahl:"}, {7, "\xC4ndern"}, {99, "ignored"}});
    EXPECT_EQ(Box.xpFrom.text(), QStringLiteral("Auswahl:"));
    EXPECT_EQ(Box.xAllow.text(), QString::fromUtf8("\xC3\x84ndern"));
    EXPECT_EQ(Box.xpGame.text(), QStringLiteral("Game name:"));
}

TEST_F(GameBoxTest, NoInstalledGameIsAnErrorAndShowsNothing) {
    TFullGame game(Dir.Layout());
    bool editable = false;
    try {
        Box.Run(game, editable, "");
        ADD_FAILURE() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()), "There are no games in Tobbin folder");
    }
    EXPECT_FALSE(Box.isVisible());
}

// ---- Congratulations box ----

class CongratBoxTest : public WindowTest {
protected:
    TempProgramFolder Dir;
    TCongratBox Box{Dir.Layout()};
    using TLine = std::tuple<QString, QColor, bool>;

    void Picture(const std::string& name, int width, int height) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        const std::string path = (Dir.Layout().ImagesFolder / name).string();
        ASSERT_TRUE(
            image.save(QString::fromStdString(path), name.ends_with(".bmp") ? "BMP" : "PNG"));
    }
    const TShadowLabel& Line(int n) const { return *Box.Lines[static_cast<std::size_t>(n - 1)]; }
    // Shows the box with these keys in the settings file's Splash section;
    // the lines' text, colour and weight, "-" for a line not shown.
    std::vector<TLine> Show(const std::string& keys) {
        WriteFile(Dir.Layout().SettingsFolder / "tobbin.ini", "[Splash]\r\n" + keys);
        Box.FormShow();
        std::vector<TLine> lines;
        for (int n = 1; n <= 3; ++n)
            lines.push_back(Line(n).isVisibleTo(&Box)
                                ? TLine{Line(n).text(), Line(n).TextColour(), Line(n).font().bold()}
                                : TLine{"-", QColor(), false});
        return lines;
    }
};

TEST_F(CongratBoxTest, TheDefaultPictureKeepsTheLanguageLinesButACustomOneTakesTheKeys) {
    Picture("tb_fin.bmp", 200, 150);
    Picture("mine.png", 120, 90);
    Box.ApplyCaptions({{1, "Gl\xFC"
                           "ckwunsch!"}});
    const QColor yellow(Qt::yellow), blue(0, 0, 255), red(Qt::red), green(0, 128, 0);
    const TLine none{"-", QColor(), false};
    const std::vector<TLine> own =
        Show("Line1=Not me\r\nColor1=Blue\r\nBold=0\r\n"); // the default picture ignores them
    EXPECT_EQ(own, (std::vector<TLine>{{QString::fromUtf8("Gl\xC3\xBC"
                                                          "ckwunsch!"),
                                        yellow, true},
                                       {"You've completed all levels of this game.", yellow, true},
                                       {Line(3).text(), yellow, true}}));
    EXPECT_EQ(Box.size(), QSize(206, 156));
    EXPECT_EQ(Line(3).geometry().bottom() + 1, 150 - 2); // stacked from the picture's bottom

    // A line without a colour takes the one before; an unknown colour keeps
    // the design colour, and no colour keys at all give red.
    EXPECT_EQ(
        Show("Image=mine.png\r\nLine1=One\r\nColor1=Blue\r\nLine2=Two\r\nLine3=Three\r\n"
             "Color3=NoSuchColour\r\n"),
        (std::vector<TLine>{{"One", blue, false}, {"Two", blue, false}, {"Three", yellow, false}}));
    EXPECT_EQ(Box.width(), 126);
    EXPECT_EQ(Show("Image=mine.png\r\nLine3=Alone\r\nBold=1\r\n"),
              (std::vector<TLine>{none, none, {"Alone", red, true}}));
    EXPECT_EQ(Line(3).geometry().bottom() + 1, 90 - 2);
    // Lines 1 and 3 with line 2 empty: line 1 stands right on line 3.
    EXPECT_EQ(Show("Image=mine.png\r\nLine1=Top\r\nLine3=Bottom\r\nColor1=Green\r\n"),
              (std::vector<TLine>{{"Top", green, false}, none, {"Bottom", green, false}}));
    EXPECT_EQ(Line(1).geometry().bottom() + 1, Line(3).y() - 2);
}

TEST_F(CongratBoxTest, PicturesByPathAMissingOneIsAnErrorAndRunIsClosedBySpaceOrAClick) {
    Picture("tb_fin.bmp", 100, 100);
    QWidget panel;
    panel.setGeometry(100, 120, 400, 300);
    panel.show();
    WhenModal([this, &panel](QWidget& shown) {
        EXPECT_EQ(&shown, &Box);
        // Centred on the control, two pixels up and left.
        const QRect target(panel.mapToGlobal(QPoint(0, 0)), panel.size());
        EXPECT_EQ(Box.frameGeometry().center(), target.center() - QPoint(2, 2));
        QTest::keyClick(&Box, Qt::Key_Space);
    });
    Box.Run(&panel);
    EXPECT_FALSE(Box.isVisible());
    WhenModal([this](QWidget&) { QTest::mouseClick(&Box.xLab2, Qt::LeftButton); });
    Box.Run(nullptr);
    EXPECT_FALSE(Box.isVisible());

    EXPECT_EQ(TCongratBox::PictureFile(Dir.Layout(), "C:\\pics\\a.bmp"),
              fs::path("C:\\pics\\a.bmp"));
    EXPECT_EQ(TCongratBox::PictureFile(Dir.Layout(), "a.bmp"), Dir.Layout().ImagesFolder / "a.bmp");
    EXPECT_THROW(Show("Image=missing.png\r\n"), Error);
    EXPECT_THROW(Box.Run(nullptr), Error);
    EXPECT_FALSE(Box.isVisible());
}

// ---- About box ----

TEST_F(WindowTest, TheAboutBoxShowsStartupTextOnlyWhileVisibleAndTheSkinsPictureFirst) {
    TempProgramFolder dir;
    const TFolders& f = dir.Layout();
    TAboutBox box(f);
    EXPECT_EQ(box.xVersion.text(), QStringLiteral("Version 3.54"));
    box.ShowStartupText("Reading games"); // not shown yet: ignored
    EXPECT_TRUE(box.xMessage.text().isEmpty());
    box.ShowSplash();
    box.ShowStartupText("Reading games");
    QTest::mouseClick(&box.xPic, Qt::LeftButton); // does not end the splash
    ASSERT_TRUE(box.isVisible());
    box.hide();
    box.ShowStartupText("Reading the log"); // hidden again: ignored
    EXPECT_EQ(box.xMessage.text(), QStringLiteral("Reading games"));
    // Help > About: modal, closed by Escape or a click.
    WhenModal([&box](QWidget&) { QTest::keyClick(&box, Qt::Key_Escape); });
    box.Run();
    EXPECT_FALSE(box.isVisible());
    WhenModal([&box](QWidget&) { QTest::mouseClick(&box.xTitle, Qt::LeftButton); });
    box.Run();
    EXPECT_FALSE(box.isVisible());

    // The splash picture: none, the program's own, then the skin's.
    tb::Settings().Skin = "Plain";
    tb::Settings().SkinPictures[0] = "tb_spl.bmp";
    EXPECT_TRUE(TAboutBox::SplashPictureFile(f).empty());
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::blue);
    const fs::path own = f.ImagesFolder / "tb_spl.bmp";
    ASSERT_TRUE(image.save(QString::fromStdString(own.string()), "BMP"));
    EXPECT_EQ(TAboutBox::SplashPictureFile(f), own);
    fs::create_directories(SkinFolder(f, "Plain"));
    const auto skinned =
        SkinFolder(f, "Plain") / tb::Settings().SkinPictureName(TSkinPicture::Splash);
    ASSERT_TRUE(image.save(QString::fromStdString(skinned.string()), "BMP"));
    EXPECT_EQ(TAboutBox::SplashPictureFile(f), skinned);
    TAboutBox splash(f);
    splash.ShowSplash();
    EXPECT_EQ(splash.size(), QSize(64, 48));
    splash.hide();
    tb::Settings() = TSettings();
}

} // namespace
} // namespace tb::test
