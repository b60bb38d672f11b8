#pragma once
// The level-name dialog: the name of a level, asked for by Add level, Level
// name and the first level of a new game.

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace tb {

class TNameInput;

class TLevBox : public QDialog {
    Q_OBJECT
public:
    explicit TLevBox(QWidget* parent = nullptr);
    ~TLevBox() override;

    // Shows the dialog modally with the level's name. Confirmed: `name` takes
    // the new name, `changed` tells whether it differs from the old one, and
    // the answer is true. Cancelled: false, and the name is left alone. Any
    // character of the language's code page may be typed (24 at most); the
    // name takes its canonical form unless the hero's picture was clicked
    // during this showing. An empty name, and "END" (which ends the levels of
    // a game file), are never confirmed: the dialog stays open.
    bool Run(std::string& name, bool& changed);

    // The skin's box picture, stretched behind everything; shown only while
    // backgrounds are on. A null picture is ignored.
    void SetBackground(const QPixmap& picture);
    // The interface font; bold when the bold-font setting is on. A size of 0
    // leaves the size as it is.
    void SetBoxFont(const QString& name, int pointSize);
    // Tag → caption in the language's code page: 3 Cancel, 4 OK, 6 "New level
    // name:".
    void ApplyCaptions(const std::map<int, std::string>& captions);
    void SetHeroPicture(const QPixmap& picture);

    // Opens a help topic (F1 asks for "Game_and_level_names"); empty: no help.
    std::function<void(std::string_view topic)> OpenHelp;

    QLabel xPic{this}; // first, so that it lies behind every other control
    QPushButton xTobbin{this};
    QLabel xLevel{this};
    QLineEdit xEdit{this};
    QPushButton xOK{this};
    QPushButton xCancel{this};
    // Enter and Escape: the default and the cancel button, out of sight.
    QPushButton xHidOK{this};
    QPushButton xHidCancel{this};

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Layout();
    void Close(std::uint8_t result);

    std::unique_ptr<TNameInput> Input;
    std::uint8_t Result = 3;
    bool Canonical = true;
    std::string Chosen;
};

} // namespace tb
