#include "shell/tb_preview.h"

#include "services/d_error.h"
#include "services/d_messages.h"
#include "shell/tb_boxuti.h"
#include "shell/tb_errbox.h"
#include "shell/tb_util.h"

#include <QApplication>
#include <QDir>
#include <QMenuBar>
#include <QPainter>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace tb {

namespace {

constexpr int FieldWidth = 500;
constexpr int FieldHeight = 328;

void DrawShadowed(QPainter& painter, const QRect& area, const QString& text, const QColor& colour) {
    painter.setPen(QColor(0, 0, 0, 160));
    painter.drawText(area.translated(2, 2), Qt::AlignCenter, text);
    painter.setPen(colour);
    painter.drawText(area, Qt::AlignCenter, text);
}

// Calls `action` with the modal box once it is on the screen.
void WhenModalShown(std::function<void(QWidget&)> action) {
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [poll, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal->isVisible())
            action(*modal);
        else
            QTimer::singleShot(10, *poll);
    };
    QTimer::singleShot(10, *poll);
}

} // namespace

TWelcomeField::TWelcomeField(QWidget* parent) : QWidget(parent) {
    setFixedSize(FieldWidth, FieldHeight);
    BottomLine = ToUnicode(MoreMessage(MsgClickToLoad));
}

void TWelcomeField::SetBottomLine(const QString& text) {
    BottomLine = text;
    update();
}

void TWelcomeField::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient night(0, 0, 0, height());
    night.setColorAt(0.0, QColor(18, 32, 74));
    night.setColorAt(1.0, QColor(40, 86, 140));
    painter.fillRect(rect(), night);

    QFont title = font();
    title.setBold(true);
    title.setPointSize(18);
    painter.setFont(title);
    DrawShadowed(painter, QRect(0, 70, width(), 40), ToUnicode(MoreMessage(MsgWelcome)),
                 QColor(255, 230, 120));
    title.setPointSize(44);
    painter.setFont(title);
    DrawShadowed(painter, QRect(0, 108, width(), 80), ToUnicode(ApplicationTitle),
                 QColor(255, 200, 40));

    QFont bottom = font();
    bottom.setBold(true);
    bottom.setPointSize(11);
    painter.setFont(bottom);
    const QRect panel(20, height() - 52, width() - 40, 32);
    painter.setPen(QColor(255, 255, 255, 60));
    painter.setBrush(QColor(0, 0, 0, 70));
    painter.drawRoundedRect(panel, 8, 8);
    DrawShadowed(painter, panel, BottomLine, QColor(235, 240, 255));
}

TPreviewMain::TPreviewMain() {
    setWindowTitle(ToUnicode(ApplicationTitle));
    setCentralWidget(&Field);
    QMenu* boxes = menuBar()->addMenu(QStringLiteral("&Boxes"));
    boxes->addAction(QStringLiteral("&Notice (OK)"), this, &TPreviewMain::AskOK);
    boxes->addAction(QStringLiteral("&Question (Yes, No)"), this, &TPreviewMain::AskYesNo);
    boxes->addAction(QStringLiteral("Question (Yes, No, &Cancel)"), this,
                     &TPreviewMain::AskYesNoCancel);
    boxes->addSeparator();
    boxes->addAction(QStringLiteral("&Error box"), this,
                     [] { TErrBox_Show_Text(ErrorMessage(ErrCorruptedGameData)); });
    boxes->addAction(QStringLiteral("&Failing command"), this, &TPreviewMain::FailingCommand);
    boxes->addSeparator();
    boxes->addAction(QStringLiteral("E&xit"), this, &QWidget::close);
    SetMainForm(this);
}

TPreviewMain::~TPreviewMain() {
    if (MainForm() == this) SetMainForm(nullptr);
    takeCentralWidget();
}

void TPreviewMain::AskOK() {
    ShowAnswer(Box.Run(MoreMessage(MsgNewRecord), {"112", "Ann", "98"}, false, AlertOK));
}

void TPreviewMain::AskYesNo() {
    ShowAnswer(Box.Run(MoreMessage(MsgReallyExit), {}, false, AlertYesNo));
}

void TPreviewMain::AskYesNoCancel() {
    ShowAnswer(Box.Run(MoreMessage(MsgSaveInProgress), {}, false, AlertYesNoCancel));
}

void TPreviewMain::FailingCommand() {
    throw Error("Error reading game file: the level map of level 3 has 17 rows");
}

void TPreviewMain::ShowAnswer(std::uint8_t answer) {
    static const char* const names[] = {"", "Yes / OK", "No", "Cancel"};
    Field.SetBottomLine(QStringLiteral("Answer %1: %2")
                            .arg(answer)
                            .arg(QString::fromLatin1(answer <= 3 ? names[answer] : "?")));
}

int TakeScreenshots(const QString& folder) {
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "tobbin: cannot create the folder %s\n", qPrintable(folder));
        return 1;
    }
    int failures = 0;
    const auto save = [&](const QPixmap& picture, const char* name) {
        const QString path = QDir(folder).filePath(QString::fromLatin1(name));
        if (!picture.save(path, "PNG")) {
            std::fprintf(stderr, "tobbin: cannot write %s\n", qPrintable(path));
            ++failures;
        }
    };

    TPreviewMain main;
    main.move(200, 120);
    main.show();
    QApplication::processEvents();
    const QPixmap window = main.grab();
    save(window, "main.png");

    // Each box is photographed once it is up, then closed as a player would.
    QPixmap together;
    const auto shoot = [&](const char* name, bool composite) {
        WhenModalShown([&, name, composite](QWidget& box) {
            const QPixmap picture = box.grab();
            save(picture, name);
            if (composite) {
                // The box over the window, with a thin frame and a soft shadow
                // where a window manager would draw its own.
                together = window;
                QPainter painter(&together);
                const QRect area(box.geometry().topLeft() - main.geometry().topLeft(),
                                 picture.size());
                for (int i = 4; i >= 1; --i)
                    painter.fillRect(area.translated(i, i), QColor(0, 0, 0, 28));
                painter.drawPixmap(area.topLeft(), picture);
                painter.setPen(QColor(40, 50, 70));
                painter.drawRect(area.adjusted(-1, -1, 0, 0));
            }
            box.close();
        });
    };
    shoot("alertbox-ok.png", false);
    main.AskOK();
    shoot("alertbox-yesno.png", true);
    main.AskYesNo();
    shoot("alertbox-yesnocancel.png", false);
    main.AskYesNoCancel();
    save(together, "together.png");
    shoot("errbox.png", false);
    TErrBox_Show_Text(ErrorMessage(ErrCorruptedGameData));
    shoot("errbox-long.png", false);
    TErrBox_Show_Text("Error reading game file \"my_game!.tbg\": the level map of level 3 "
                      "has 17 rows");
    return failures == 0 ? 0 : 1;
}

} // namespace tb
