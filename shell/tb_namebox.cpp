#include "shell/tb_namebox.h"

#include "services/d_messages.h"
#include "services/d_settings.h"
#include "services/d_string.h"
#include "shell/tb_boxuti.h"
#include "shell/tb_nameinput.h"
#include "shell/tb_util.h"

#include <QKeyEvent>
#include <QTimer>

#include <algorithm>

namespace tb {

namespace {

constexpr std::uint8_t ResultCancel = 3;
constexpr std::uint8_t ResultOK = 4;
constexpr int SkillCount = 5; // "Not rated" to "Tough": a game's own skill is never "All"

// Design of the dialog.
constexpr int Margin = 10;
constexpr int TextLeft = 56; // right of the hero's picture
constexpr int RowStep = 30;
constexpr int LabelGap = 8; // between the labels and the fields
constexpr int ButtonGap = 6;
constexpr int DesignPointSize = 9;

constexpr int TagGame = 5;
constexpr int TagAuthor = 7;

} // namespace

TNameBox::TNameBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("TNameBox"));
    setModal(true);

    xPic.setObjectName(QStringLiteral("xPic"));
    xPic.setScaledContents(true);
    xPic.hide();
    xGame.setObjectName(QStringLiteral("xGame"));
    xGame.setProperty("Tag", TagGame);
    xGame.setText(QStringLiteral("New game name:"));
    xAuth.setObjectName(QStringLiteral("xAuth"));
    xAuth.setProperty("Tag", TagAuthor);
    xAuth.setText(QStringLiteral("Author:"));
    xEdit.setObjectName(QStringLiteral("xEdit"));
    xAutIn.setObjectName(QStringLiteral("xAutIn"));
    xSkill.setObjectName(QStringLiteral("xSkill"));
    for (QLineEdit* edit : {&xEdit, &xAutIn})
        edit->setMaxLength(GameNameLength);
    NameFilter = std::make_unique<TNameInput>(xEdit, true);
    AuthorFilter = std::make_unique<TNameInput>(xAutIn, true);
    xGame.setBuddy(&xEdit);
    xAuth.setBuddy(&xAutIn);
    setTabOrder(&xEdit, &xAutIn);
    setTabOrder(&xAutIn, &xSkill);

    SetUpNameButtons(xOK, xCancel, xHidOK, ResultOK, xHidCancel, xTobbin);
    connect(&xOK, &QPushButton::clicked, this, [this] { Close(ResultOK); });
    connect(&xCancel, &QPushButton::clicked, this, [this] { Close(ResultCancel); });
    connect(&xHidOK, &QPushButton::clicked, this, [this] { Close(ResultOK); });
    connect(&xHidCancel, &QPushButton::clicked, this, [this] { Close(ResultCancel); });
    // The hero keeps the names exactly as typed for this showing.
    connect(&xTobbin, &QPushButton::clicked, this, [this] { Canonical = false; });
    FillSkills();
    SetBoxFont(QString(), DesignPointSize);
}

TNameBox::~TNameBox() = default;

void TNameBox::SetBackground(const QPixmap& picture) {
    if (!picture.isNull()) xPic.setPixmap(picture);
}

void TNameBox::SetHeroPicture(const QPixmap& picture) {
    if (!picture.isNull()) xTobbin.setIcon(QIcon(picture));
}

void TNameBox::SetBoxFont(const QString& name, int pointSize) {
    QFont boxFont = font();
    if (!name.isEmpty()) boxFont.setFamily(name);
    if (pointSize > 0) boxFont.setPointSize(pointSize);
    setFont(boxFont);
}

void TNameBox::ApplyCaptions(const std::map<int, std::string>& captions) {
    ApplyNameCaptions({&xCancel, &xOK, &xGame, &xAuth}, captions);
}

void TNameBox::FillSkills() {
    xSkill.clear();
    for (int skill = 0; skill < SkillCount; ++skill)
        xSkill.addItem(ToUnicode(SkillName(skill)));
}

bool TNameBox::Run(std::string& name, std::uint8_t& skill, std::string& author, bool& changed) {
    if (isVisible()) hide();
    QFont boxFont = font();
    ApplyDialogFontStyle(boxFont);
    setFont(boxFont);
    ApplyNameFieldColours({&xEdit, &xAutIn, &xSkill});
    xPic.setVisible(Settings().Backgrounds && !xPic.pixmap().isNull());
    setWindowTitle(QLatin1Char(' ') + ToUnicode(ApplicationTitle));

    FillSkills(); // in the language of this showing
    xEdit.setText(ToUnicode(name));
    xAutIn.setText(ToUnicode(CutBeforeNumber(author)));
    xSkill.setCurrentIndex(std::min<int>(skill, SkillCount - 1));
    Canonical = true;
    Layout();
    CentreOnMain(*this);

    Result = ResultCancel;
    exec();
    if (Result == ResultCancel) return false;
    const auto chosenSkill = static_cast<std::uint8_t>(std::max(xSkill.currentIndex(), 0));
    changed = ChosenName != name || ChosenAuthor != author || chosenSkill != skill;
    name = ChosenName;
    author = ChosenAuthor;
    skill = chosenSkill;
    return true;
}

void TNameBox::Layout() {
    for (QLabel* label : {&xGame, &xAuth})
        label->adjustSize();
    xEdit.adjustSize();
    xSkill.adjustSize();
    const int fieldLeft = TextLeft + std::max(xGame.width(), xAuth.width()) + LabelGap;
    const int fieldWidth =
        std::max(xEdit.width(), xEdit.fontMetrics().averageCharWidth() * GameNameLength + 12);
    const int rowHeight = std::max(xEdit.height(), xSkill.height());

    int top = Margin + 2;
    xEdit.setGeometry(fieldLeft, top, fieldWidth, rowHeight);
    xGame.move(TextLeft, top + (rowHeight - xGame.height()) / 2);
    top += RowStep;
    xAutIn.setGeometry(fieldLeft, top, fieldWidth, rowHeight);
    xAuth.move(TextLeft, top + (rowHeight - xAuth.height()) / 2);
    top += RowStep;
    xSkill.setGeometry(fieldLeft, top, xSkill.width(), rowHeight);
    top += RowStep + 4;

    const int right = std::max(fieldLeft + fieldWidth, TextLeft + 2 * xOK.width() + ButtonGap);
    xCancel.move(right - xCancel.width(), top);
    xOK.move(xCancel.x() - ButtonGap - xOK.width(), top);
    setFixedSize(right + Margin, top + xOK.height() + Margin);
    xPic.setGeometry(rect());
}

void TNameBox::Close(std::uint8_t result) {
    if (result != ResultCancel) {
        // Both names take their form; the dialog stays open while either is empty.
        const bool nameTaken = TakeName(xEdit, Canonical, ChosenName);
        const bool authorTaken = TakeName(xAutIn, Canonical, ChosenAuthor);
        if (!nameTaken || !authorTaken) {
            (nameTaken ? xAutIn : xEdit).setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    Result = result;
    accept();
}

void TNameBox::keyPressEvent(QKeyEvent* event) {
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

void TNameBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The window frame is known only now: place the dialog again with it.
    CentreOnMain(*this);
    xEdit.setFocus(Qt::OtherFocusReason);
    Result = ResultCancel;
    QTimer::singleShot(0, this, [this] {
        if (isVisible()) PlayBoxSound(TBoxSound::Input, false);
    });
}

} // namespace tb
