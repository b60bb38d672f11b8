#pragma once
// The game-name dialog: a game's name, its author and its skill rating, asked
// for by New game and Game name.

#include <QComboBox>
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

// Longest game, author and level name the dialogs take.
inline constexpr int GameNameLength = 24;

class TNameBox : public QDialog {
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

    // The skin's box picture, stretched behind everything; shown only while
    // backgrounds are on. A null picture is ignored.
    void SetBackground(const QPixmap& picture);
    // The interface font; bold when the bold-font setting is on. A size of 0
    // leaves the size as it is.
    void SetBoxFont(const QString& name, int pointSize);
    // Tag → caption in the language's code page: 3 Cancel, 4 OK, 5 "New game
    // name:", 7 "Author:".
    void ApplyCaptions(const std::map<int, std::string>& captions);
    void SetHeroPicture(const QPixmap& picture);

    // Opens a help topic (F1 asks for "Game_and_level_names"); empty: no help.
    std::function<void(std::string_view topic)> OpenHelp;

    QLabel xPic{this}; // first, so that it lies behind every other control
    QPushButton xTobbin{this};
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
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void FillSkills();
    void Layout();
    void Close(std::uint8_t result);

    std::unique_ptr<TNameInput> NameFilter;
    std::unique_ptr<TNameInput> AuthorFilter;
    std::uint8_t Result = 3;
    bool Canonical = true;
    std::string ChosenName;
    std::string ChosenAuthor;
};

} // namespace tb
