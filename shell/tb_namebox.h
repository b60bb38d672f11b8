#pragma once
// The game-name dialog: a game's name, its author and its skill rating, asked
// for by New game and Game name.

#include "shell/tb_namedialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace tb {

class TNameInput;

// Longest game, author and level name the dialogs take.
inline constexpr int GameNameLength = 24;

class TNameBox : public TNameDialog {
    Q_OBJECT
public:
    explicit TNameBox(QWidget* parent = nullptr);
    ~TNameBox() override;

    // Shows the dialog modally with the game's name, its skill (0 "Not rated"
    // to 4 "Tough") and its author (shown cut before its first " #"). When it
    // is confirmed: the three values take what the dialog holds, `changed`
    // tells whether any of them differs from what was passed in, and the
    // answer is true. Cancelled: false, and the values are left alone. Typed
    // names take their canonical form unless the hero's picture was clicked
    // during this showing; the dialog is not confirmed while either name is
    // empty.
    bool Run(std::string& name, std::uint8_t& skill, std::string& author, bool& changed);

    // Tag → caption in the language's code page: 3 Cancel, 4 OK, 5 "New game
    // name:", 7 "Author:".
    void ApplyCaptions(const std::map<int, std::string>& captions);
    // (SetBackground, SetBoxFont and SetHeroPicture: see TNameDialog; F1 asks
    // OpenHelp for "Game_and_level_names".)

    // xPic and xTobbin come first, in the bases.
    QLabel xGame{this};
    QLabel xAuth{this};
    QLineEdit xEdit{this};
    QLineEdit xAutIn{this};
    QComboBox xSkill{this};
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
    void FillSkills();

    std::unique_ptr<TNameInput> NameFilter;
    std::unique_ptr<TNameInput> AuthorFilter;
    std::string ChosenName;
    std::string ChosenAuthor;
};

} // namespace tb
