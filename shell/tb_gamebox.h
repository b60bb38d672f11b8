#pragma once
// The load-game dialog: the player picks a game from the installed ones,
// narrowed down by progress (New, Old, All) and by skill rating, and may ask
// to open it for editing.

#include "shell/tb_namedialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include <cstdint>
#include <map>
#include <string>

namespace tb {

class TFullGame;

// The progress filter of the load-game dialog.
enum TGameFilter : int { FilterNew = 0, FilterOld = 1, FilterAll = 2 };
// The skill index that shows every skill.
inline constexpr int AllSkills = 5;

class TGameBox : public TPictureDialog {
    Q_OBJECT
public:
    explicit TGameBox(QWidget* parent = nullptr);

    // Shows the dialog modally and answers the chosen game's name, without
    // leading and trailing blanks, or an empty text when it was cancelled.
    // `editable` brings the Allow Edit state in (whether the Xtra menu is shown)
    // and takes the check box's state out when a game was chosen; a cancelled
    // dialog leaves it alone. `preselect` (the last game of the settings) sets
    // the filters to that game's skill and progress and selects it, when it is
    // installed; without one the game chosen last is selected when the
    // filters show it. Throws Error "There are no games in Tobbin folder" and shows
    // nothing when no game is installed.
    std::string Run(TFullGame& game, bool& editable, const std::string& preselect);

    // (SetBackground and SetBoxFont: see TPictureDialog.)
    // Tag → caption in the language's code page: 3 Cancel, 4 OK, 5 "Select
    // from:", 6 "Game name:", 7 "Allow &Edit".
    void ApplyCaptions(const std::map<int, std::string>& captions);
    void SetHeroPicture(const QPixmap& picture);

    // The game list is built anew at the next showing (set whenever a game is
    // added, deleted, renamed or completed or the player changes).
    bool Rebuild = true;
    // F1 asks OpenHelp for "Loading_games" and closes the dialog.

    // The filter and skill indexes kept from one showing to the next.
    int FilterIndex() const { return LastFilter; }
    int SkillIndex() const { return LastSkill; }

    // xPic comes first, in the base.
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
    bool eventFilter(QObject* watched, QEvent* event) override;
    void FocusInput() override;

private:
    // Fills xGame with the games of the chosen filter and skill; with
    // `stepSkill` an empty list moves on to the next skill (up to Tough).
    void RebuildList(bool stepSkill);
    void FillGames();
    void FillCombos();
    void Layout();
    void Close(std::uint8_t result);
    bool AnyDroppedDown() const;

    TFullGame* Game = nullptr; // while Run runs
    bool Filling = false;      // the combos are being filled: their changes rebuild nothing
    int LastFilter = FilterNew;
    int LastSkill = 0;
    std::string LastChoice; // the game chosen at the last showing
};

} // namespace tb
