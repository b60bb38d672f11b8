#pragma once
// What every dialog of the program shares: the placement rule (centred on the
// main window, kept inside the screen), the dialog font style and the sounds
// that the boxes ask for.

#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>

class QFont;
class QString;
class QWidget;

namespace tb {

// ---- Placement ----

// Distance that a dialog keeps from every edge of the screen.
inline constexpr int ScreenMargin = 4;

// The window that dialogs are centred on. Until one is set (or while it is not
// shown), dialogs are centred on the screen.
void SetMainForm(QWidget* form);
QWidget* MainForm();

// The top-left corner that puts a form of `size` with its centre on the centre
// of `target`.
QPoint CentredOn(QSize size, const QRect& target);

// The top-left corner of `form` moved inside `screen`: a left edge less than 4
// pixels into the screen becomes 4; a form that would reach past the right edge
// less 4 pixels is moved left until it ends there, but never past the left
// margin, so a form wider than the screen keeps its left edge at 4. The same
// for top and height.
QPoint KeptOnScreen(const QRect& form, const QRect& screen);

// Centres `form` on the main window (or the screen), then keeps it on screen.
void CentreOnMain(QWidget& form);
// Moves `form` inside the screen it is centred on.
void KeepOnScreen(QWidget& form);

// ---- Dialog font style ----

// The program-wide dialog font style: bold when the bold-font setting is on,
// plain by default. Each dialog applies it to its font when it is activated.
void SetDialogFontBold(bool bold);
bool DialogFontBold();
void ApplyDialogFontStyle(QFont& font);
// The interface font of a box: `name` (empty: the family stays) at
// `pointSize` (0: the size stays).
void SetBoxFontFace(QWidget& box, const QString& name, int pointSize);

// ---- Sounds ----

// The sounds a box asks for; the main window connects them to the sound bank.
enum class TBoxSound {
    Error, // the error effect (the error box, from the bank's error-sound copy)
    Input, // the input effect (message box, name and game dialogs)
};

// Receives each sound a box wants played; `synchronous` asks to wait until it
// has finished. Empty by default: the boxes are silent.
using TBoxSoundHook = std::function<void(TBoxSound sound, bool synchronous)>;
void SetBoxSoundHook(TBoxSoundHook hook);
void PlayBoxSound(TBoxSound sound, bool synchronous);

} // namespace tb
