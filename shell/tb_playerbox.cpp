#include "shell/tb_playerbox.h"

#include "play/tb_util.h"
#include "services/d_settings.h"
#include "services/d_string.h"
#include "services/d_types.h"
#include "shell/tb_nameinput.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>
#include <chrono>

namespace tb {

namespace {

constexpr std::uint8_t ResultDefault = 1; // Enter: counts as confirmed like OK

// Design of the dialog.
constexpr int Margin = 10;
constexpr int TextLeft = 56; // right of the hero's picture
constexpr int HeroBottom = 68;
constexpr int LabelGap = 8; // between the label and the combo
constexpr int ButtonWidth = 90;
constexpr int ButtonHeight = 25;
constexpr int ButtonGap = 6;
constexpr int DesignPointSize = 9;
constexpr int ListRows = 12;
// Until the first name is confirmed the dialog shows this far below the centre.
constexpr int StartOffset = 32;
// The input sound is not played during start-up.
constexpr std::chrono::milliseconds SoundGate{3000};

constexpr int TagUser = 5;

} // namespace

TPlayerBox::TPlayerBox(QWidget* parent)
    : TNameDialog(parent, "TPlayerBox", "Player_name", TInputSound::Wait) {
    xpUser.setObjectName(QStringLiteral("xpUser"));
    xpUser.setProperty("Tag", TagUser);
    xpUser.setText(QString::fromLatin1("Your\xA0name:")); // a no-break space
    xUser.setObjectName(QStringLiteral("xUser"));
    xUser.setEditable(true);
    xUser.setInsertPolicy(QComboBox::NoInsert);
    xUser.setMaxVisibleItems(ListRows);
    xUser.lineEdit()->setMaxLength(PlayerNameLength);
    Filter = std::make_unique<TNameInput>(*xUser.lineEdit(), true);
    xUser.installEventFilter(this); // Enter in the combo
    xpUser.setBuddy(&xUser);

    SetUpButtons(xOK, xCancel, xHidOK, ResultDefault, xHidCancel);
    SetBoxFont(QString(), DesignPointSize);
}

TPlayerBox::~TPlayerBox() = default;

void TPlayerBox::ApplyCaptions(const std::map<int, std::string>& captions) {
    ApplyNameCaptions({&xCancel, &xOK, &xpUser}, captions);
}

void TPlayerBox::SetNames(const std::vector<std::string>& names) {
    xUser.clear();
    for (const std::string& name : names)
        AddPlayerName(name);
}

void TPlayerBox::AddPlayerName(const std::string& name) {
    const QString text = ToUnicode(CutBeforeNumber(name)).left(PlayerNameLength);
    if (text.isEmpty() || FindName(text) >= 0) return;
    // Sorted as the player reads the list: letter case does not count.
    int at = 0;
    while (at < xUser.count() && xUser.itemText(at).compare(text, Qt::CaseInsensitive) <= 0)
        ++at;
    const QString editText = xUser.currentText();
    xUser.insertItem(at, text, ToBytes(CutBeforeNumber(name).substr(0, text.size())));
    xUser.setEditText(editText); // a new item does not replace what is typed
}

void TPlayerBox::RemovePlayerName(const std::string& name) {
    const int index = FindName(ToUnicode(CutBeforeNumber(name)).left(PlayerNameLength));
    if (index >= 0) xUser.removeItem(index);
}

int TPlayerBox::FindName(const QString& text) const {
    // The list holds each name once whatever its letter case: the one written
    // exactly so, or else the first that differs only in case.
    const int exact = xUser.findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    return exact >= 0 ? exact : xUser.findText(text, Qt::MatchFixedString);
}

std::vector<std::string> TPlayerBox::Names() const {
    std::vector<std::string> names;
    for (int i = 0; i < xUser.count(); ++i) {
        const QByteArray bytes = xUser.itemData(i).toByteArray();
        names.emplace_back(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    }
    return names;
}

std::string TPlayerBox::Run(const std::string& name) {
    PrepareRun();
    ApplyNameFieldColours({&xUser});

    const QString shown = ToUnicode(CutBeforeNumber(name)).left(PlayerNameLength);
    xUser.setCurrentIndex(xUser.findText(shown, Qt::MatchExactly | Qt::MatchCaseSensitive));
    xUser.setEditText(shown);
    if (!Execute()) return {};
    AddPlayerName(Chosen);
    Accepted = true;
    return Chosen + " #" + std::to_string(InstallationNumber);
}

void TPlayerBox::Layout() {
    xpUser.adjustSize();
    xUser.adjustSize();
    const QFontMetrics metrics(xUser.font());
    const int comboWidth =
        std::max(xUser.width(), metrics.averageCharWidth() * PlayerNameLength + 30);
    const int comboLeft = TextLeft + xpUser.width() + LabelGap;
    const int top = Margin + 6;
    xUser.setGeometry(comboLeft, top, comboWidth, xUser.height());
    xpUser.move(TextLeft, top + (xUser.height() - xpUser.height()) / 2);

    const int right = xUser.x() + xUser.width();
    const int buttonTop = std::max(top + xUser.height() + 2 * Margin, HeroBottom - ButtonHeight);
    xCancel.move(right - ButtonWidth, buttonTop);
    xOK.move(xCancel.x() - ButtonGap - ButtonWidth, buttonTop);

    setFixedSize(right + Margin, buttonTop + ButtonHeight + Margin);
    xPic.setGeometry(rect());
}

bool TPlayerBox::TakeInput() {
    // The dialog stays open while the name is empty (or cannot be written).
    return TakeName(*xUser.lineEdit(), Canonical, Chosen);
}

bool TPlayerBox::eventFilter(QObject* watched, QEvent* event) {
    // Enter in the combo is the default button. The combo's text field would
    // otherwise take it, while the shown name is selected, to complete the
    // name to the list's first entry, and the dialog would not close.
    if (watched == &xUser && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !xUser.view()->isVisible()) {
            xHidOK.click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

int TPlayerBox::ShownBelowCentre() const {
    return Accepted ? 0 : StartOffset;
}

void TPlayerBox::FocusInput() {
    xUser.setFocus(Qt::OtherFocusReason);
    xUser.lineEdit()->selectAll();
}

bool TPlayerBox::InputSoundDue() const {
    return std::chrono::steady_clock::now() - Settings().StartTime > SoundGate;
}

} // namespace tb
