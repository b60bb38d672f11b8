#pragma once
// The level-name dialog: the name of a level, asked for by Add level, Level
// name and the first level of a new game.

#include "shell/tb_namedialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <map>
#include <memory>
#include <string>

namespace tb {

class TNameInput;

class TLevBox : public TNameDialog {
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

    // Tag → caption in the language's code page: 3 Cancel, 4 OK, 6 "New level
    // name:".
    void ApplyCaptions(const std::map<int, std::string>& captions);
    // (SetBackground, SetBoxFont and SetHeroPicture: see TNameDialog; F1 asks
    // OpenHelp for "Game_and_level_names".)

    // xPic and xTobbin come first, in the bases.
    QLabel xLevel{this};
    QLineEdit xEdit{this};
    QPushButton xOK{this};
    QPushButton xCancel{this};
    // Enter and Escape: the default and the cancel button, out of sight.
    QPushButton xHidOK{this};
    QPushButton xHidCancel{this};

protected:
    void Layout() override;
    bool TakeInput() override;
    void FocusInput() override;

private:
    std::unique_ptr<TNameInput> Input;
    std::string Chosen;
};

} // namespace tb
