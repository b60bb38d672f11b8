#include "shell/tb_levbox.h"

#include "play/tb_util.h"
#include "services/d_string.h"
#include "shell/tb_namebox.h"
#include "shell/tb_nameinput.h"

#include <algorithm>

namespace tb {

namespace {

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
    : TNameDialog(parent, "TLevBox", "Game_and_level_names", TInputSound::Wait) {
    xLevel.setObjectName(QStringLiteral("xLevel"));
    xLevel.setProperty("Tag", TagLevel);
    xLevel.setText(QStringLiteral("New level name:"));
    xEdit.setObjectName(QStringLiteral("xEdit"));
    xEdit.setMaxLength(GameNameLength);
    // Any character may be typed, as long as the language's code page holds it.
    Input = std::make_unique<TNameInput>(xEdit, false);
    xLevel.setBuddy(&xEdit);

    SetUpButtons(xOK, xCancel, xHidOK, ResultOK, xHidCancel);
    SetBoxFont(QString(), DesignPointSize);
}

TLevBox::~TLevBox() = default;

void TLevBox::ApplyCaptions(const std::map<int, std::string>& captions) {
    ApplyNameCaptions({&xCancel, &xOK, &xLevel}, captions);
}

bool TLevBox::Run(std::string& name, bool& changed) {
    PrepareRun();
    ApplyNameFieldColours({&xEdit});

    xEdit.setText(ToUnicode(name));
    if (!Execute()) return false;
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

bool TLevBox::TakeInput() {
    // The dialog stays open while the name is empty (or cannot be written),
    // and for the one name that ends the levels of a game file: a level
    // called END would lose itself and every level after it.
    return TakeName(xEdit, Canonical, Chosen) && Trim(Chosen) != LevelListEnd;
}

void TLevBox::FocusInput() {
    xEdit.setFocus(Qt::OtherFocusReason);
}

} // namespace tb
