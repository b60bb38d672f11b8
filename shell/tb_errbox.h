#pragma once
// The error box: every exception that escapes a command ends here. It shows
// the message in a small borderless window that stays on top and closes on
// any key or mouse button; afterwards the program goes on.

#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QString>

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace tb {

// The silent exception: it ends a command without any message.
class Abort : public std::exception {
public:
    const char* what() const noexcept override { return "Aborted"; }
};

// Longest line the error box shows before it breaks the message.
inline constexpr std::size_t ErrorLineLength = 54;

// The text the error box shows for `message`: a message that mentions an
// access violation becomes the fixed system-error line; a message longer than
// 54 characters is broken once, at the last blank among its first 55
// characters (a blank in the first place does not count).
std::string FormatErrorText(std::string_view message);

class TErrBox : public QDialog {
    Q_OBJECT
public:
    explicit TErrBox(QWidget* parent = nullptr);

    // Formats `message`, places the box and shows it modally.
    void ShowText(std::string_view message);
    // Font of the text (the language's font; "Courier New" by design).
    void SetFontName(const QString& name);

    QFrame Panel{this};
    QLabel Icon{&Panel};
    QLabel Txt{&Panel};

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void FormActivate();
};

// Shows `message` in the error box, modally. While the box is open a further
// message is not stacked on top of it; it goes to the program's log output.
void TErrBox_Show_Text(std::string_view message);

// The application-wide handler: restores the normal cursor, then shows the
// exception's message. An `Abort` shows nothing.
void TErrBox_Display(std::exception_ptr error);

// Sets the font of the box's text and applies the dialog font style. Qt's
// fonts hold every character, so the character set only selects the code page
// in which the messages arrive; the text conversion takes care of that.
void TErrBox_Set_Font(const QString& name, int charset);

// Called just before the error box shows itself; empty by default.
void SetBeforeModalHook(std::function<void()> hook);

// The program's application object: an exception that leaves any event
// handler is caught here, shown in the error box, and the program goes on.
class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    ~TApplication() override;

    bool notify(QObject* receiver, QEvent* event) override;

    // The program-wide error box, created at first use.
    TErrBox& ErrBox();

private:
    std::unique_ptr<TErrBox> Box;
};

} // namespace tb
