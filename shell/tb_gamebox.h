#pragma once
// The load-game dialog: the player picks a game from the installed ones,
// narrowed down by progress (New, Old, All) and by skill rating, and may ask
// to open it for editing.

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace tb {

class TFullGame;

// The progress filter of the load-game dialog.
enum TGameFilter : int { FilterNew = 0, FilterOld = 1, FilterAll = 2 };
// The skill index that shows every skill.
inline constexpr int AllSkills = 5;

class TGameBox : public QDialog {
    Q_OBJECT
public:
    explicit TGameBox(QWidget* parent = nullptr);

    // Shows the dialog modally and answers the chosen game's name, without
    // leading and trailing blanks, or an empty text when it was cancelled.
    // `editable` brings the Allow Edit state in (whether the Xtra menu is shown)
    // and takes the check box's state out when a game was chosen; a cancelled
    // dialog leaves it alone. `preselect` (the last game of the settings) sets
    // the filters to that game's skill and progress and selects it, when it is
    // installed. Throws Error "There are no games in Tobbin folder" and shows
    // nothing when no game is installed.
    std::string Run(TFullGame& game, bool& editable, const std::string& preselect);

    // The skin's box picture, stretched behind everything; shown only while
    // backgrounds are on. A null picture is ignored.
    void SetBackground(const QPixmap& picture);
    // The interface font; bold when the bold-font setting is on. A size of 0
    // leaves the size as it is.
    void SetBoxFont(const QString& name, int pointSize);
    // Tag → caption in the language's code page: 3 Cancel, 4 OK, 5 "Select
    // from:", 6 "Game name:", 7 "Allow &Edit".
    void ApplyCaptions(const std::map<int, std::string>& captions);
    void SetHeroPicture(const QPixmap& picture);

    // The game list is built anew at the next showing (set whenever a game is
    // added, deleted, renamed or completed or the player changes).
    bool Rebuild = true;
    // Opens a help topic (F1 asks for "Loading_games"); empty: no help.
    std::function<void(std::string_view topic)> OpenHelp;

    // The filter and skill indexes kept from one showing to the next.
    int FilterIndex() const { return LastFilter; }
    int SkillIndex() const { return LastSkill; }

    QLabel xPic{this}; // first, so that it lies behind every other control
    QLabel xTobbin{this};
    QLabel xpFrom{this};
    QLabel xpGame{this};
    QComboBox xPassed{this};
    QComboBox xSkill{this};
    QComboBox xGame{this};
    QCheckBox xEdit{this};
    QLabel xAllow{this};
    QPushButton xOK{this};
    QPushButton xCancel{this};

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Fills xGame with the games of the chosen filter and skill; with
    // `stepSkill` an empty list moves on to the next skill (up to Tough).
    void RebuildList(bool stepSkill);
    void FillGames();
    void FillCombos();
    void Layout();
    void ApplyFieldColours();
    void Close(std::uint8_t result);
    bool AnyDroppedDown() const;

    TFullGame* Game = nullptr; // while Run runs
    bool Filling = false;      // the combos are being filled: their changes rebuild nothing
    std::uint8_t Result = 3;
    int LastFilter = FilterNew;
    int LastSkill = 0;
};

} // namespace tb
