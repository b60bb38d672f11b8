// The help pages and the help window: every topic the program opens has a
// page, every link and picture of every page resolves, and the window shows
// topics, follows links, goes back and refuses topics it cannot show.

#include "art/tb_art.h"
#include "services/d_folders.h"
#include "shell/tb_helpwin.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTextBrowser>
#include <QTextFrame>
#include <QUrl>

#include <algorithm>
#include <regex>
#include <set>
#include <vector>

namespace tb::test {
namespace {

namespace fs = std::filesystem;

// The pages as they are shipped: data/help of the source tree.
const fs::path kSourceHelp = fs::path(TOBBIN_SOURCE_FOLDER) / "data" / "help";

// The topics the program opens by name: F1 and the Help menu, the name and
// game dialogs, and the record windows.
const char* const kProgramTopics[] = {"Welcome",       "Player_name",       "Game_and_level_names",
                                      "Loading_games", "Hall_of_Champions", "Best_level_results",
                                      "Game_authors",  "Games_by_author"};

std::string Title(const fs::path& page) {
    std::smatch match;
    const std::string html = ReadFile(page);
    return std::regex_search(html, match, std::regex("<title>([^<]*)</title>")) ? match[1].str()
                                                                                : std::string();
}

// Links go to neighbour pages by file name alone, pictures to the generated
// tiles beside help/; no page is an orphan.
TEST(HelpPages, EveryTopicExistsAndEveryLinkAndPictureResolves) {
    const std::regex link("\\bhref\\s*=\\s*\"([^\"#]*)", std::regex::icase);
    const std::regex picture("\\bsrc\\s*=\\s*\"([^\"]*)\"", std::regex::icase);
    const std::regex tile("\\.\\./img/([^/]+)/([^/]+)/([^/]+)\\.bmp");
    const auto holds = [](const auto& names, const std::string& name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    std::vector<std::string> sizes, pages;
    for (int size = 1; size <= 4; ++size)
        sizes.emplace_back(SpriteSizeName(size));
    std::set<std::string> linked = {"Welcome.html"};
    for (const auto& entry : fs::directory_iterator(kSourceHelp)) {
        if (entry.path().extension() != ".html") continue;
        const std::string name = entry.path().filename().string(), html = ReadFile(entry.path());
        SCOPED_TRACE(name);
        pages.push_back(name);
        EXPECT_FALSE(Title(entry.path()).empty());
        for (std::sregex_iterator it(html.begin(), html.end(), link), end; it != end; ++it) {
            const std::string to = (*it)[1];
            if (to.empty() || to.rfind("http", 0) == 0) continue;
            EXPECT_EQ(to.find('/'), std::string::npos) << to;
            EXPECT_TRUE(fs::is_regular_file(kSourceHelp / to)) << to;
            if (to != name) linked.insert(to);
        }
        for (std::sregex_iterator it(html.begin(), html.end(), picture), end; it != end; ++it) {
            std::smatch part;
            const std::string source = (*it)[1];
            ASSERT_TRUE(std::regex_match(source, part, tile)) << source;
            EXPECT_TRUE(holds(sizes, part[1]) && holds(SpriteSetNames(), part[2]) &&
                        holds(CellPictureNames(), part[3]))
                << source;
        }
    }
    ASSERT_FALSE(pages.empty()) << kSourceHelp;
    for (const std::string topic : kProgramTopics)
        EXPECT_TRUE(holds(pages, topic + ".html")) << topic;
    for (const std::string& page : pages)
        EXPECT_TRUE(linked.count(page)) << page;
}

class HelpWindowTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (HelpWindow() != nullptr) HelpWindow()->close();
    }
    static QTextBrowser& Browser() { return *HelpWindow()->findChild<QTextBrowser*>("xText"); }
    static void Click(const char* button) {
        HelpWindow()->findChild<QPushButton*>(button)->click();
    }
    static std::string Shown() { return Browser().documentTitle().toStdString(); }
    static std::string PageTitle(const std::string& topic) {
        return Title(kSourceHelp / (topic + ".html"));
    }
    static bool ShowsNotInstalled(const std::string& topic) {
        return Browser().toPlainText().contains(
            QString::fromStdString("This help topic is not installed: " + topic));
    }
};

TEST_F(HelpWindowTest, ShowsTopicsFollowsLinksAndGoesBack) {
    ShowHelpTopic(kSourceHelp, "How_to_play");
    QWidget* window = HelpWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle().toStdString(), "Tobbin Help");
    // The shared stylesheet gives the page its background.
    EXPECT_EQ(Browser().document()->rootFrame()->frameFormat().background().color(),
              QColor(0xff, 0xfd, 0xf6));
    std::vector<std::string> seen = {Shown()};
    emit Browser().anchorClicked(QUrl("Cells_and_rules.html#top"));
    seen.push_back(Shown());
    for (const char* button : {"xContents", "xBack", "xBack"}) {
        Click(button);
        seen.push_back(Shown());
    }
    EXPECT_EQ(seen,
              (std::vector<std::string>{PageTitle("How_to_play"), PageTitle("Cells_and_rules"),
                                        PageTitle("Welcome"), PageTitle("Cells_and_rules"),
                                        PageTitle("How_to_play")}));
    EXPECT_FALSE(window->findChild<QPushButton*>("xBack")->isEnabled());
    // A second topic raises the same window.
    ShowHelpTopic(kSourceHelp, "Editor");
    EXPECT_EQ(HelpWindow(), window);
    EXPECT_EQ(Shown(), PageTitle("Editor"));
}

TEST_F(HelpWindowTest, MissingAndUnsafeTopicsShowTheNotInstalledPage) {
    // A page outside the help folder exists, but no topic may reach it.
    TempFolder dir;
    fs::create_directories(dir / "help");
    WriteFile(dir / "help" / "Welcome.html", "<html><head><title>Inside</title></head></html>");
    WriteFile(dir / "Outside.html", "<html><head><title>Outside</title></head></html>");
    const fs::path help = dir / "help";

    ShowHelpTopic(help, "Welcome");
    EXPECT_EQ(Shown(), "Inside");
    for (const std::string topic : {"No_such_topic", "../Outside", "..", "", "sub/Welcome"}) {
        SCOPED_TRACE(topic);
        ShowHelpTopic(help, topic);
        EXPECT_TRUE(ShowsNotInstalled(topic));
    }
    // A link out of the folder is refused the same way.
    emit Browser().anchorClicked(QUrl("../Outside.html"));
    EXPECT_NE(Shown(), "Outside");
    EXPECT_TRUE(Browser().toPlainText().contains("not installed"));
    // Back over the not-installed pages reaches the real page again.
    for (int i = 0; i < 6; ++i)
        Click("xBack");
    EXPECT_EQ(Shown(), "Inside");

    // No help folder at all: the window still opens and says so.
    ShowHelpTopic(dir / "gone", "Welcome");
    EXPECT_TRUE(ShowsNotInstalled("Welcome"));
}

} // namespace
} // namespace tb::test
