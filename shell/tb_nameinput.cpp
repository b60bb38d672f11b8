#include "shell/tb_nameinput.h"

#include "play/tb_colour.h"
#include "play/tb_util.h"
#include "services/d_error.h"
#include "services/d_settings.h"
#include "services/d_string.h"
#include "shell/tb_errbox.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

namespace tb {

namespace {

// A character of the text that a key brings: control characters (Backspace,
// Enter, Escape, Ctrl+letter) are editing keys, not text.
bool IsControl(QChar c) {
    return c.unicode() < 0x20 || c.unicode() == 0x7F;
}

// Shows the message once the key has been handled, so that the error box
// does not open in the middle of the edit's key processing.
void ShowRefusal(QLineEdit& edit, const std::string& message) {
    QTimer::singleShot(0, &edit, [message] { TErrBox_Show_Text(message); });
}

} // namespace

bool IsNameCharacter(QChar c) {
    const char16_t code = c.unicode();
    return code == u' ' || code == u'&' || code == u'\'' || code == u'+' || code == u'-' ||
           (code >= u'0' && code <= u'9') || (code >= u'A' && code <= u'Z') ||
           (code >= u'a' && code <= u'z');
}

TNameInput::TNameInput(QLineEdit& edit, bool nameFilter) : Edit(edit), NameFilter(nameFilter) {
    edit.installEventFilter(this);
    // A combo box hands the keys it gets to its edit without passing them by
    // the edit's watchers: they are caught at the combo.
    if (auto* combo = qobject_cast<QComboBox*>(edit.parentWidget());
        combo != nullptr && combo->lineEdit() == &edit) {
        Combo = combo;
        combo->installEventFilter(this);
    }
    if (nameFilter) {
        edit.setAcceptDrops(false);
        edit.setContextMenuPolicy(Qt::NoContextMenu);
    }
}

bool TNameInput::Accepts(const QString& typed) {
    QString text;
    for (const QChar c : typed) {
        if (IsControl(c)) continue;
        if (NameFilter && !IsNameCharacter(c)) return false; // dropped without a word
        text.append(c);
    }
    if (text.isEmpty()) return true;
    try {
        FromUnicode(text);
    } catch (const Error& error) {
        ShowRefusal(Edit, error.what());
        return false;
    }
    return true;
}

void TNameInput::Paste() {
    QString accepted;
    for (const QChar c : QGuiApplication::clipboard()->text()) {
        if (IsControl(c) || (NameFilter && !IsNameCharacter(c))) continue;
        try {
            FromUnicode(QString(c));
        } catch (const Error&) {
            continue; // as the code page cannot hold it
        }
        accepted.append(c);
    }
    if (!accepted.isEmpty() && !Edit.isReadOnly()) Edit.insert(accepted);
}

bool TNameInput::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &Edit || (Combo != nullptr && watched == Combo)) {
        switch (event->type()) {
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->matches(QKeySequence::Paste)) {
                Paste();
                return true;
            }
            // Shortcuts bring control characters, which always pass; a
            // character typed with modifiers (AltGr) is typed all the same.
            if (!Accepts(key->text())) return true;
            break;
        }
        case QEvent::InputMethod: {
            const auto* input = static_cast<QInputMethodEvent*>(event);
            if (!Accepts(input->commitString())) return true;
            break;
        }
        case QEvent::MouseButtonRelease:
            // The middle button pastes the selection of other programs.
            if (NameFilter && static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton)
                return true;
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void ApplyNameFieldColours(std::initializer_list<QWidget*> fields) {
    const QColor back = ToQColor(Settings().List);
    const QColor text = ToQColor(Settings().ListFont);
    for (QWidget* field : fields) {
        QPalette palette = field->palette();
        for (const QPalette::ColorRole role : {QPalette::Base, QPalette::Button, QPalette::Window})
            palette.setColor(role, back);
        for (const QPalette::ColorRole role :
             {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
            palette.setColor(role, text);
        field->setPalette(palette);
        if (auto* combo = qobject_cast<QComboBox*>(field)) {
            combo->view()->setPalette(palette);
            if (combo->lineEdit() != nullptr) combo->lineEdit()->setPalette(palette);
        }
    }
}

bool TakeName(QLineEdit& edit, bool canonical, std::string& name) {
    std::string text;
    try {
        text = FromUnicode(edit.text());
    } catch (const Error& error) {
        // Only pasted text can get here: typed characters are checked as they come.
        ShowRefusal(edit, error.what());
        return false;
    }
    if (canonical) {
        text = NormaliseName(text);
        edit.setText(ToUnicode(text));
    }
    if (Trim(text).empty()) return false;
    name = std::move(text);
    return true;
}

void SetUpNameButtons(QPushButton& ok, QPushButton& cancel, QPushButton& hidOK, int hidOKResult,
                      QPushButton& hidCancel, QPushButton& hero) {
    constexpr int ButtonWidth = 90;
    constexpr int ButtonHeight = 25;
    const struct {
        QPushButton& button;
        const char* name;
        const char* caption;
        int tag;
    } shown[] = {{ok, "xOK", "&OK", 4}, {cancel, "xCancel", "&Cancel", 3}};
    for (const auto& b : shown) {
        b.button.setObjectName(QString::fromLatin1(b.name));
        b.button.setText(QString::fromLatin1(b.caption));
        b.button.setProperty("Tag", b.tag);
        b.button.setFixedSize(ButtonWidth, ButtonHeight);
    }
    hidOK.setObjectName(QStringLiteral("xHidOK"));
    hidOK.setProperty("ResultTag", hidOKResult);
    hidCancel.setObjectName(QStringLiteral("xHidCancel"));
    hidCancel.setProperty("ResultTag", 3);
    for (QPushButton* hidden : {&hidOK, &hidCancel})
        hidden->setGeometry(-100, -100, 1, 1); // outside the client area
    hero.setObjectName(QStringLiteral("xTobbin"));
    hero.setGeometry(8, 8, 40, 60);
    hero.setFlat(true);
    hero.setIconSize(QSize(40, 60));
    for (QPushButton* button : {&ok, &cancel, &hidOK, &hidCancel, &hero}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoDefault(false);
    }
    hidOK.setDefault(true);
}

void ApplyNameCaptions(std::initializer_list<QWidget*> controls,
                       const std::map<int, std::string>& captions) {
    for (QWidget* control : controls) {
        const auto found = captions.find(control->property("Tag").toInt());
        if (found != captions.end() && !found->second.empty())
            control->setProperty("text", ToUnicode(found->second));
    }
}

} // namespace tb
