#pragma once
// The player dialog: the player types his name or picks it from the names of
// the player log. Asked for at start-up, by New player name and after Delete
// this player.

#include "shell/tb_namedialog.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tb {

class TNameInput;

// Longest player name the dialog takes.
inline constexpr int PlayerNameLength = 20;

class TPlayerBox : public TNameDialog {
    Q_OBJECT
public:
    explicit TPlayerBox(QWidget* parent = nullptr);
    ~TPlayerBox() override;

    // Shows the dialog modally with `name` (cut before its first " #") and
    // answers the chosen name in its stored form, followed by " #" and the
    // installation number ("Ann #0"), or an empty text when it was cancelled.
    // The typed name takes its canonical form unless the hero's picture was
    // clicked during this showing; an empty name is never confirmed. A
    // confirmed name joins the list. Until the first name has been confirmed
    // the dialog shows 32 pixels below the centre of the main window.
    std::string Run(const std::string& name);

    // The names of the list, sorted regardless of letter case, each once
    // (names that differ only in letter case count as one, the first one
    // stays), cut before " #" and to 20 characters.
    void SetNames(const std::vector<std::string>& names);
    // Adds a name (cut before " #") to the list when it is not there in any
    // letter case.
    void AddPlayerName(const std::string& name);
    // Removes a name (cut before " #") from the list: the one written exactly
    // so, or else the one that differs only in letter case.
    void RemovePlayerName(const std::string& name);
    // The names the list holds, in its order.
    std::vector<std::string> Names() const;

    // Tag → caption in the language's code page: 3 Cancel, 4 OK, 5 "Your name:".
    // (SetBackground, SetBoxFont and SetHeroPicture: see TNameDialog; F1 asks
    // OpenHelp for "Player_name".)
    void ApplyCaptions(const std::map<int, std::string>& captions);

    // True once a name has been confirmed in this run.
    bool NameAccepted() const { return Accepted; }
    // True while typed names take their canonical form (until the hero is
    // clicked in this showing).
    bool CanonicalNames() const { return Canonical; }

    // xPic and xTobbin come first, in the bases.
    QLabel xpUser{this};
    QComboBox xUser{this};
    QPushButton xOK{this};
    QPushButton xCancel{this};
    // Enter and Escape: the default and the cancel button, out of sight.
    QPushButton xHidOK{this};
    QPushButton xHidCancel{this};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void Layout() override;
    bool TakeInput() override;
    void FocusInput() override;
    int ShownBelowCentre() const override;
    bool InputSoundDue() const override;

private:
    // The index of the list entry that stands for `text`, or -1.
    int FindName(const QString& text) const;

    std::unique_ptr<TNameInput> Filter;
    bool Accepted = false;
    std::string Chosen; // the confirmed text, in the code page
};

} // namespace tb
