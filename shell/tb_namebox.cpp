#include "shell/tb_namebox.h"

#include "play/tb_util.h"
#include "services/d_messages.h"
#include "services/d_string.h"
#include "shell/tb_nameinput.h"

#include <algorithm>

namespace tb {

namespace {

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
    : TNameDialog(parent, "TNameBox", "Game_and_level_names", TInputSound::NoWait) {
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

    SetUpButtons(xOK, xCancel, xHidOK, ResultOK, xHidCancel);
    FillSkills();
    SetBoxFont(QString(), DesignPointSize);
}

TNameBox::~TNameBox() = default;

void TNameBox::ApplyCaptions(const std::map<int, std::string>& captions) {
    ApplyNameCaptions({&xCancel, &xOK, &xGame, &xAuth}, captions);
}

void TNameBox::FillSkills() {
    xSkill.clear();
    for (int skill = 0; skill < SkillCount; ++skill)
        xSkill.addItem(ToUnicode(SkillName(skill)));
}

bool TNameBox::Run(std::string& name, std::uint8_t& skill, std::string& author, bool& changed) {
    PrepareRun();
    ApplyNameFieldColours({&xEdit, &xAutIn, &xSkill});

    FillSkills(); // in the language of this showing
    xEdit.setText(ToUnicode(name));
    xAutIn.setText(ToUnicode(CutBeforeNumber(author)));
    xSkill.setCurrentIndex(std::min<int>(skill, SkillCount - 1));
    if (!Execute()) return false;
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

bool TNameBox::TakeInput() {
    // Both names take their form; the dialog stays open while either is empty.
    const bool nameTaken = TakeName(xEdit, Canonical, ChosenName);
    const bool authorTaken = TakeName(xAutIn, Canonical, ChosenAuthor);
    if (nameTaken && authorTaken) return true;
    (nameTaken ? xAutIn : xEdit).setFocus(Qt::OtherFocusReason);
    return false;
}

void TNameBox::FocusInput() {
    xEdit.setFocus(Qt::OtherFocusReason);
}

} // namespace tb
