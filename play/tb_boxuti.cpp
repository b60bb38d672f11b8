#include "play/tb_boxuti.h"

#include <QFont>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <utility>

namespace tb {

namespace {

QPointer<QWidget>& MainFormSlot() {
    static QPointer<QWidget> form;
    return form;
}

bool& DialogBoldSlot() {
    static bool bold = false;
    return bold;
}

TBoxSoundHook& SoundHookSlot() {
    static TBoxSoundHook hook;
    return hook;
}

// The main window when it can be seen; a hidden or minimised one gives no
// sensible centre.
QWidget* VisibleMainForm() {
    QWidget* form = MainForm();
    if (form == nullptr || !form->isVisible() || form->isMinimized()) return nullptr;
    return form;
}

QRect ScreenArea(const QWidget& form) {
    const QWidget* main = VisibleMainForm();
    QScreen* screen = main != nullptr ? main->screen() : form.screen();
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect();
}

int KeptInside(int start, int length, int areaStart, int areaLength) {
    int offset = start - areaStart;
    if (offset < ScreenMargin)
        offset = ScreenMargin;
    else if (offset + length > areaLength - ScreenMargin)
        offset = std::max(ScreenMargin, areaLength - length - ScreenMargin);
    return areaStart + offset;
}

} // namespace

void SetMainForm(QWidget* form) {
    MainFormSlot() = form;
}
QWidget* MainForm() {
    return MainFormSlot().data();
}

QPoint CentredOn(QSize size, const QRect& target) {
    return {target.left() + (target.width() - size.width()) / 2,
            target.top() + (target.height() - size.height()) / 2};
}

QPoint KeptOnScreen(const QRect& form, const QRect& screen) {
    return {KeptInside(form.left(), form.width(), screen.left(), screen.width()),
            KeptInside(form.top(), form.height(), screen.top(), screen.height())};
}

void CentreOnMain(QWidget& form) {
    const QWidget* main = VisibleMainForm();
    const QRect target = main != nullptr ? main->frameGeometry() : ScreenArea(form);
    form.move(CentredOn(form.frameGeometry().size(), target));
    KeepOnScreen(form);
}

void KeepOnScreen(QWidget& form) {
    const QRect screen = ScreenArea(form);
    if (screen.isEmpty()) return;
    form.move(KeptOnScreen(form.frameGeometry(), screen));
}

void SetDialogFontBold(bool bold) {
    DialogBoldSlot() = bold;
}
bool DialogFontBold() {
    return DialogBoldSlot();
}
void ApplyDialogFontStyle(QFont& font) {
    font.setBold(DialogBoldSlot());
}

void SetBoxFontFace(QWidget& box, const QString& name, int pointSize) {
    QFont boxFont = box.font();
    if (!name.isEmpty()) boxFont.setFamily(name);
    if (pointSize > 0) boxFont.setPointSize(pointSize);
    box.setFont(boxFont);
}

void SetBoxSoundHook(TBoxSoundHook hook) {
    SoundHookSlot() = std::move(hook);
}

void PlayBoxSound(TBoxSound sound, bool synchronous) {
    if (SoundHookSlot()) SoundHookSlot()(sound, synchronous);
}

} // namespace tb
