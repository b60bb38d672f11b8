#include "play/tb_alertbox.h"

#include "play/tb_boxuti.h"
#include "play/tb_util.h"
#include "services/d_string.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <QtGlobal>

#include <algorithm>

namespace tb {

namespace {

// Design of the box.
constexpr int DesignClientWidth = 316;
constexpr int DesignClientHeight = 111;
constexpr int BorderWidth = 3; // of the dialog frame, at each side
constexpr int TextLeft = 50;
constexpr int TextRightMargin = 16;
constexpr int LineGap = 5;
constexpr int ButtonWidth = 108;
constexpr int ButtonHeight = 25;
constexpr int ButtonGap = 6;
constexpr int BottomMargin = 6;
constexpr int DesignPointSize = 9;

constexpr std::uint8_t TagOK = 4;

// The built-in background: a soft sky that fades into a meadow at the bottom.
QPixmap DefaultBackground() {
    QPixmap picture(DesignClientWidth, DesignClientHeight);
    QPainter painter(&picture);
    QLinearGradient sky(0, 0, 0, DesignClientHeight);
    sky.setColorAt(0.0, QColor(250, 252, 255));
    sky.setColorAt(0.55, QColor(226, 238, 250));
    sky.setColorAt(1.0, QColor(205, 228, 200));
    painter.fillRect(picture.rect(), sky);
    return picture;
}

// The built-in picture of the hero for the 40 by 60 slot: a round fellow with
// a green cap, waving. He stands in the upper part of the slot, so that the
// buttons of a two-line box pass below his feet.
QPixmap DefaultHero() {
    QPixmap picture(40, 60);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(5.5, 0);
    p.scale(0.72, 0.72);
    const QPen outline(QColor(60, 40, 20), 1.2);
    p.setPen(outline);
    // Legs and shoes.
    p.setBrush(QColor(70, 90, 160));
    p.drawRoundedRect(QRectF(13, 42, 6, 12), 2, 2);
    p.drawRoundedRect(QRectF(21, 42, 6, 12), 2, 2);
    p.setBrush(QColor(90, 50, 20));
    p.drawEllipse(QRectF(10, 52, 10, 6));
    p.drawEllipse(QRectF(20, 52, 10, 6));
    // Body.
    p.setBrush(QColor(230, 120, 30));
    p.drawRoundedRect(QRectF(10, 26, 20, 19), 6, 6);
    // Arms: one down, one waving.
    p.setPen(QPen(QColor(250, 205, 160), 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(11, 30), QPointF(6, 40));
    p.drawLine(QPointF(29, 30), QPointF(35, 20));
    p.setPen(outline);
    // Head.
    p.setBrush(QColor(250, 205, 160));
    p.drawEllipse(QRectF(9, 7, 22, 21));
    // Cap.
    p.setBrush(QColor(60, 150, 60));
    QPainterPath cap;
    cap.moveTo(8, 14);
    cap.cubicTo(9, 2, 31, 2, 32, 14);
    cap.closeSubpath();
    p.drawPath(cap);
    p.drawRoundedRect(QRectF(20, 11, 14, 4), 2, 2);
    // Face.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 30, 20));
    p.drawEllipse(QRectF(14, 16, 3, 3.5));
    p.drawEllipse(QRectF(23, 16, 3, 3.5));
    p.setPen(QPen(QColor(150, 50, 40), 1.3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(15, 18, 10, 6), 200 * 16, 140 * 16);
    return picture;
}

} // namespace

std::string FillAlertText(std::string_view message, const std::vector<std::string>& args) {
    std::string text(message);
    for (const std::string& arg : args) {
        if (text.find('@') == std::string::npos) break;
        FillPlaceholder(arg, text);
    }
    return text;
}

std::vector<std::string> SplitAlertLines(std::string_view text) {
    std::string rest(text);
    rest += '|';
    std::vector<std::string> lines;
    while (!rest.empty() && lines.size() < static_cast<std::size_t>(AlertMaxLines)) {
        const std::size_t bar = rest.find('|');
        lines.push_back(rest.substr(0, bar));
        rest.erase(0, bar + 1);
    }
    return lines;
}

TAlertBox::TAlertBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("TAlertBox"));
    setModal(true);
    setFixedSize(DesignClientWidth, DesignClientHeight);

    xPic.setObjectName(QStringLiteral("xPic"));
    xPic.setScaledContents(true);
    xPic.setPixmap(DefaultBackground());

    xTobbin.setObjectName(QStringLiteral("xTobbin"));
    xTobbin.setGeometry(5, 8, 40, 60);
    xTobbin.setAlignment(Qt::AlignCenter);
    xTobbin.setPixmap(DefaultHero());

    for (std::size_t i = 0; i < xText.size(); ++i) {
        xText[i].setObjectName(QStringLiteral("xText%1").arg(i + 1));
        xText[i].setTextFormat(Qt::PlainText);
        xText[i].move(TextLeft, 16 + 20 * static_cast<int>(i));
    }

    const struct {
        QPushButton& button;
        const char* name;
        const char* caption;
        std::uint8_t tag;
    } buttons[] = {
        {xYes, "xYes", "&Yes", AnswerYes},
        {xNo, "xNo", "&No", AnswerNo},
        {xCancel, "xCancel", "&Cancel", AnswerCancel},
        {xOK, "xOK", "&OK", TagOK},
    };
    for (const auto& b : buttons) {
        b.button.setObjectName(QString::fromLatin1(b.name));
        b.button.setText(QString::fromLatin1(b.caption));
        // The language file replaces the caption by this number.
        b.button.setProperty("Tag", int{b.tag});
        b.button.setFixedSize(ButtonWidth, ButtonHeight);
        // Like speed buttons they never take the focus, so every key reaches
        // the box's own key handler.
        b.button.setFocusPolicy(Qt::NoFocus);
        b.button.setAutoDefault(false);
        const std::uint8_t tag = b.tag;
        connect(&b.button, &QPushButton::clicked, this, [this, tag] { ButtonClick(tag); });
    }
    SetBoxFont(QString(), DesignPointSize);
}

void TAlertBox::SetBoxFont(const QString& name, int pointSize) {
    QFont boxFont = font();
    if (!name.isEmpty()) boxFont.setFamily(name);
    if (pointSize > 0) boxFont.setPointSize(pointSize);
    boxFont.setBold(true);
    setFont(boxFont);
}

void TAlertBox::SetBackground(const QPixmap& picture) {
    if (!picture.isNull()) xPic.setPixmap(picture);
}

void TAlertBox::SetBackgroundsOn(bool on) {
    Backgrounds = on;
}

void TAlertBox::SetHeroPicture(const QPixmap& picture) {
    if (!picture.isNull()) xTobbin.setPixmap(picture);
}

std::uint8_t TAlertBox::Run(std::string_view message, const std::vector<std::string>& args,
                            bool soundSync, std::uint8_t buttons) {
    if (buttons < AlertOK || buttons > AlertYesNoCancel)
        throw std::out_of_range("Message box button set " + std::to_string(buttons));
    if (Running) {
        qWarning("Message box asked while it is open: %s", std::string(message).c_str());
        return AnswerCancel;
    }
    SoundSync = soundSync;
    if (isVisible()) hide();
    xPic.setVisible(Backgrounds);
    EscResult = buttons;
    Layout(SplitAlertLines(FillAlertText(message, args)), buttons);
    CentreOnMain(*this);
    setWindowTitle(QLatin1Char(' ') + ToUnicode(ApplicationTitle));

    Result = AnswerCancel;
    Running = true;
    exec();
    Running = false;
    return Result;
}

void TAlertBox::Layout(const std::vector<std::string>& lines, std::uint8_t buttons) {
    const int count = static_cast<int>(lines.size());
    int widest = 0;
    for (int i = 0; i < count; ++i) {
        QLabel& label = xText[static_cast<std::size_t>(i)];
        label.setText(ToUnicode(lines[static_cast<std::size_t>(i)]));
        label.adjustSize();
        widest = std::max(widest, label.width());
        label.show();
    }
    for (int i = count; i < AlertMaxLines; ++i)
        xText[static_cast<std::size_t>(i)].hide();

    // Vertical: the lines one step apart, the block moving up as it grows;
    // the buttons one step below the last line shown.
    const int step = xText[0].height() + LineGap;
    int top = step - 2 * count;
    for (QLabel& label : xText) {
        label.move(TextLeft, top);
        top += step;
    }
    const int buttonTop = xText[static_cast<std::size_t>(count - 1)].y() + step + 4;
    const int clientHeight = buttonTop + ButtonHeight + BottomMargin;

    // Horizontal: wide enough for the widest line and for the button row.
    FormWidth = TextLeft + widest + TextRightMargin;
    const int rowWidth = buttons * (ButtonWidth + ButtonGap) + ButtonGap;
    FormWidth = std::max(FormWidth, rowWidth);
    const int yesLeft =
        (FormWidth - (buttons * (ButtonWidth + ButtonGap) - ButtonGap)) / 2 - BorderWidth;
    xYes.move(yesLeft, buttonTop);
    xOK.move(yesLeft, buttonTop);
    xNo.move(yesLeft + ButtonWidth + ButtonGap, buttonTop);
    xCancel.move(xNo.x() + ButtonWidth + ButtonGap, buttonTop);
    xOK.setVisible(buttons == AlertOK);
    xYes.setVisible(buttons > AlertOK);
    xNo.setVisible(buttons > AlertOK);
    xCancel.setVisible(buttons > AlertYesNo);

    setFixedSize(FormWidth - 2 * BorderWidth, clientHeight);
    xPic.setGeometry(rect());
}

void TAlertBox::ButtonClick(std::uint8_t tag) {
    Result = tag == TagOK ? std::uint8_t{AnswerYes} : tag;
    accept();
}

void TAlertBox::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Result = AnswerYes;
        accept();
        break;
    case Qt::Key_Escape:
        Result = EscResult;
        accept();
        break;
    default:
        break; // other keys do nothing
    }
}

void TAlertBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The window frame is known only now: place the box again with it.
    CentreOnMain(*this);
    QTimer::singleShot(0, this, [this] {
        if (isVisible()) FormActivate();
    });
}

void TAlertBox::FormActivate() {
    PlayBoxSound(TBoxSound::Input, SoundSync);
}

} // namespace tb
