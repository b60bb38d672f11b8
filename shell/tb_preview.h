#pragma once
// A small stand-in for the main window, until the play field is built on it:
// a welcome screen whose Boxes menu shows the message box and the error box,
// so that they can be tried by hand, and the screenshot mode that writes
// pictures of all three.

#include "play/tb_alertbox.h"

#include <QLabel>
#include <QMainWindow>
#include <QWidget>

namespace tb {

// The play-field stand-in: the welcome titles over a night-blue field.
class TWelcomeField : public QWidget {
    Q_OBJECT
public:
    explicit TWelcomeField(QWidget* parent = nullptr);

    // The line at the bottom ("Click here to load a game" or the last answer).
    void SetBottomLine(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString BottomLine;
};

class TPreviewMain : public QMainWindow {
    Q_OBJECT
public:
    TPreviewMain();
    ~TPreviewMain() override;

    TAlertBox& AlertBox() { return Box; }

    // The three kinds of question and notice the program asks, with real
    // texts; each shows the answer in the bottom line.
    void AskOK();
    void AskYesNo();
    void AskYesNoCancel();
    // A command that fails: its exception goes through the application-wide
    // handler into the error box, and the window goes on.
    void FailingCommand();

private:
    void ShowAnswer(std::uint8_t answer);

    TWelcomeField Field;
    TAlertBox Box{this};
};

// Writes main.png, alertbox-ok.png, alertbox-yesno.png,
// alertbox-yesnocancel.png, errbox.png and together.png (a box over the
// window) into `folder`. Returns 0 when every picture was written.
int TakeScreenshots(const QString& folder);

} // namespace tb
