#include "shell/tb_levbox.h"

#include "services/d_settings.h"
#include "services/d_string.h"
#include "shell/tb_boxuti.h"
#include "shell/tb_namebox.h"
#include "shell/tb_nameinput.h"
#include "shell/tb_util.h"

#include <QKeyEvent>
#include <QTimer>

#include <algorithm>

namespace tb {

namespace {

constexpr std::uint8_t ResultCancel = 3;
constexpr std::uint8_t ResultOK = 4;

// Design of the dialog.
constexpr int Margin = 10;
constexpr int TextLeft = 56; // right of the hero's picture
constexpr int HeroBottom = 68;
constexpr int LabelGap = 8;
constexpr int ButtonGap = 6;
constexpr int DesignPointSize = 9;

constexpr int TagLevel = 6;

// The name line that ends the list of levels in a game file.
constexpr std::string_view LevelListEnd = "END";

} // namespace

TLevBox::TLevBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("TLevBox"));
    setModal(true);

    xPic.setObjectName(QStringLiteral("xPic"));
    xPic.setScaledContents(true);
    xPic.hide();
    xLevel.setObjectName(QStringLiteral("xLevel"));
    xLevel.setProperty("Tag", TagLevel);
    xLevel.setText(QStringLiteral("New level name:"));
    xEdit.setObjectName(QStringLiteral("xEdit"));
    xEdit.setMaxLength(GameNameLength);
    // Any character may be typed, as long as the language's code page holds it.
    Input = std::make_unique<TNameInput>(xEdit, false);
    xLevel.setBuddy(&xEdit);

    SetUpNameButtons(xOK, xCancel, xHidOK, ResultOK, xHidCancel, xTobbin);
    connect(&xOK, &QPushButton::clicked, this, [this] { Close(ResultOK); });
    connect(&xCancel, &QPushButton::clicked, this, [this] { Close(ResultCancel); });
    connect(&xHidOK, &QPushButton::clicked, this, [this] { Close(ResultOK); });
    connect(&xHidCancel, &QPushButton::clicked, this, [this] { Close(ResultCancel); });
    // The hero keeps the name exactly as typed for this showing.
    connect(&xTobbin, &QPushButton::clicked, this, [this] { Canonical = false; });
    SetBoxFont(QString(), DesignPointSize);
}

TLevBox::~TLevBox() = default;

void TLevBox::SetBackground(const QPixmap& picture) {
    if (!picture.isNull()) xPic.setPixmap(picture);
}

void TLevBox::SetHeroPicture(const QPixmap& picture) {
    if (!picture.isNull()) xTobbin.setIcon(QIcon(picture));
}

void TLevBox::SetBoxFont(const QString& name, int pointSize) {
    QFont boxFont = font();
    if (!name.isEmpty()) boxFont.setFamily(name);
    if (pointSize > 0) boxFont.setPointSize(pointSize);
    setFont(boxFont);
}

void TLevBox::ApplyCaptions(const std::map<int, std::string>& captions) {
    ApplyNameCaptions({&xCancel, &xOK, &xLevel}, captions);
}

bool TLevBox::Run(std::string& name, bool& changed) {
    if (isVisible()) hide();
    QFont boxFont = font();
    ApplyDialogFontStyle(boxFont);
    setFont(boxFont);
    ApplyNameFieldColours({&xEdit});
    xPic.setVisible(Settings().Backgrounds && !xPic.pixmap().isNull());
    setWindowTitle(QLatin1Char(' ') + ToUnicode(ApplicationTitle));

    xEdit.setText(ToUnicode(name));
    Canonical = true;
    Layout();
    CentreOnMain(*this);

    Result = ResultCancel;
    exec();
    if (Result == ResultCancel) return false;
    changed = Chosen != name;
    name = Chosen;
    return true;
}

void TLevBox::Layout() {
    xLevel.adjustSize();
    xEdit.adjustSize();
    const int fieldLeft = TextLeft + xLevel.width() + LabelGap;
    const int fieldWidth =
        std::max(xEdit.width(), xEdit.fontMetrics().averageCharWidth() * GameNameLength + 12);
    const int top = Margin + 6;
    xEdit.setGeometry(fieldLeft, top, fieldWidth, xEdit.height());
    xLevel.move(TextLeft, top + (xEdit.height() - xLevel.height()) / 2);

    const int right = fieldLeft + fieldWidth;
    const int buttonTop = std::max(top + xEdit.height() + 2 * Margin, HeroBottom - xOK.height());
    xCancel.move(right - xCancel.width(), buttonTop);
    xOK.move(xCancel.x() - ButtonGap - xOK.width(), buttonTop);
    setFixedSize(right + Margin, buttonTop + xOK.height() + Margin);
    xPic.setGeometry(rect());
}

void TLevBox::Close(std::uint8_t result) {
    if (result != ResultCancel) {
        // The dialog stays open while the name is empty (or cannot be
        // written), and for the one name that ends the levels of a game file:
        // a level called END would lose itself and every level after it.
        if (!TakeName(xEdit, Canonical, Chosen)) return;
        if (Trim(Chosen) == LevelListEnd) return;
    }
    Result = result;
    accept();
}

void TLevBox::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        xHidCancel.click();
        break;
    case Qt::Key_F1:
        if (OpenHelp) OpenHelp("Game_and_level_names");
        break;
    default:
        QDialog::keyPressEvent(event); // Enter: the default button
        break;
    }
}

void TLevBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The window frame is known only now: place the dialog again with it.
    CentreOnMain(*this);
    xEdit.setFocus(Qt::OtherFocusReason);
    Result = ResultCancel;
    // The input effect plays in its own mode: the sound set makes it wait.
    QTimer::singleShot(0, this, [this] {
        if (isVisible()) PlayBoxSound(TBoxSound::Input, true);
    });
}

} // namespace tb
