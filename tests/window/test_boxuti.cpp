#include "play/tb_boxuti.h"
#include "play/tb_util.h"
#include "tests/window/window_support.h"

#include <QGuiApplication>
#include <QScreen>

namespace tb::test {
namespace {

TEST(KeptOnScreen, FormsStayFourPixelsInsideEveryEdge) {
    const QRect screen(0, 0, 800, 600);
    const std::pair<QRect, QPoint> cases[] = {
        {{100, 80, 300, 100}, {100, 80}},
        {{-10, -20, 300, 100}, {4, 4}},
        {{3, 3, 300, 100}, {4, 4}},
        {{4, 4, 300, 100}, {4, 4}},
        // Right and bottom: the form ends 4 pixels before the edge.
        {{700, 550, 300, 100}, {496, 496}},
        {{496, 496, 300, 100}, {496, 496}},
        // Wider or taller than the screen: left and top at 4, wherever it was.
        {{-300, 10, 1000, 100}, {4, 10}},
        {{300, 10, 1000, 100}, {4, 10}},
        {{10, 200, 100, 700}, {10, 4}},
    };
    for (const auto& [form, kept] : cases)
        EXPECT_EQ(KeptOnScreen(form, screen), kept) << form.x() << "," << form.y();
    // A second screen to the right of the first one.
    EXPECT_EQ(KeptOnScreen(QRect(790, 10, 100, 50), QRect(800, 0, 800, 600)), QPoint(804, 10));
}

TEST_F(WindowTest, CentreOnMainUsesTheMainWindowOnlyWhileItIsShownOrElseTheScreen) {
    const QPoint screen = QGuiApplication::primaryScreen()->availableGeometry().center();
    QWidget form, main;
    form.resize(200, 100);
    main.setGeometry(60, 50, 400, 300);
    const auto centre = [&form] {
        CentreOnMain(form);
        return form.frameGeometry().center();
    };
    EXPECT_EQ(centre(), screen) << "no main window yet";
    SetMainForm(&main);
    EXPECT_EQ(centre(), screen) << "the main window is hidden";
    main.show();
    EXPECT_LE((centre() - main.frameGeometry().center()).manhattanLength(), 1);
    {
        QWidget gone;
        gone.show();
        SetMainForm(&gone);
    }
    EXPECT_EQ(MainForm(), nullptr);
    EXPECT_EQ(centre(), screen);
}

TEST(ToUnicode, ReadsWindows1252) {
    EXPECT_EQ(ToUnicode("Plain text"), QString("Plain text"));
    EXPECT_EQ(ToUnicode("Caf\xe9 \xc4pfel \xff"), QString::fromUtf8("Café Äpfel ÿ"));
    EXPECT_EQ(ToUnicode("\x80 \x93quoted\x94 \x85 \x9f"), QString::fromUtf8("€ “quoted” … Ÿ"));
    // Codes Windows-1252 leaves undefined keep their control codes.
    EXPECT_EQ(ToUnicode("\x81\x9d"), QString(QChar(0x81)) + QChar(0x9d));
    EXPECT_EQ(ToUnicode(std::string_view("a\0b", 3)).size(), 3);
}

} // namespace
} // namespace tb::test
