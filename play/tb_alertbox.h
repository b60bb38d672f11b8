#pragma once
// The program's own message box. Every question and notice goes through Run:
// a message template filled with its arguments, split at "|" into at most four
// lines, shown with one of three button sets and answered with a result code.

#include "services/d_answers.h"

#include <QDialog>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tb {

// Most lines a message box shows.
inline constexpr int AlertMaxLines = 4;

// The template with each "@" filled by the next argument, searching from the
// start of the text each time (an "@" inside an argument is taken by the next
// argument); "@" left over stay, arguments left over are ignored.
std::string FillAlertText(std::string_view message, const std::vector<std::string>& args);

// The lines of a filled text: the parts between "|", at most four. A text
// without "|" is one line, an empty text one empty line.
std::vector<std::string> SplitAlertLines(std::string_view text);

class TAlertBox : public QDialog {
    Q_OBJECT
public:
    explicit TAlertBox(QWidget* parent = nullptr);

    // Shows the message modally and returns the answer: 1 Yes or OK, 2 No,
    // 3 Cancel. `soundSync` plays the input sound synchronously. A call made
    // while the box is already waiting for an answer returns 3 at once.
    std::uint8_t Run(std::string_view message, const std::vector<std::string>& args, bool soundSync,
                     std::uint8_t buttons);

    // The font of the box: the interface font, always bold. A size of 0
    // leaves the size as it is.
    void SetBoxFont(const QString& name, int pointSize);
    // The skin's box picture, stretched behind everything; shown only while
    // backgrounds are on. A null picture is ignored.
    void SetBackground(const QPixmap& picture);
    void SetBackgroundsOn(bool on);
    bool BackgroundsOn() const { return Backgrounds; }
    // The hero's picture at the left.
    void SetHeroPicture(const QPixmap& picture);

    // The form's outer width and height, as the layout computes them (client
    // area plus a 3-pixel border at each side).
    int DesignWidth() const { return FormWidth; }

    QLabel xPic{this}; // first, so that it lies behind every other control
    QLabel xTobbin{this};
    std::array<QLabel, AlertMaxLines> xText{QLabel(this), QLabel(this), QLabel(this), QLabel(this)};
    QPushButton xYes{this};
    QPushButton xNo{this};
    QPushButton xCancel{this};
    QPushButton xOK{this};

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Layout(const std::vector<std::string>& lines, std::uint8_t buttons);
    void ButtonClick(std::uint8_t tag);
    void FormActivate();

    bool Backgrounds = true;
    bool Running = false;
    bool SoundSync = false;
    std::uint8_t EscResult = AnswerCancel;
    std::uint8_t Result = AnswerCancel;
    int FormWidth = 0;
};

} // namespace tb
