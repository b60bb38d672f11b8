#pragma once
// What the three name dialogs (player, game name, level name) share: the
// typed-character filter of their edits, the field colours, and taking a typed
// name at confirmation.

#include <QObject>
#include <QString>

#include <initializer_list>
#include <map>
#include <string>

class QLineEdit;
class QPushButton;
class QWidget;

namespace tb {

// Keys that may be typed into a player, game or author name: blank, "&", "'",
// "+", "-", "0" to "9", "A" to "Z" and "a" to "z" (Backspace and the other
// editing keys bring no character and always pass).
bool IsNameCharacter(QChar c);

// Watches the typed characters of one edit (it must outlive the watcher); an
// edit that is the text field of a combo box is watched through the combo,
// which hands its keys on to it. A character outside the name characters is
// dropped without a word when `nameFilter` is on; a character that the
// language's code page cannot hold is dropped and the error box says which
// character it was. Pasted text goes through the same filter character by
// character; with `nameFilter` the edit takes no dropped text and offers no
// context menu, so nothing gets past it.
class TNameInput : public QObject {
    Q_OBJECT
public:
    TNameInput(QLineEdit& edit, bool nameFilter);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // True when every character of `typed` may go into the edit.
    bool Accepts(const QString& typed);
    // Inserts the characters of the clipboard that may be typed.
    void Paste();

    QLineEdit& Edit;
    QWidget* Combo = nullptr; // the combo box that hands its keys to the edit
    bool NameFilter;
};

// The List background colour and the ListFont text colour of the settings on
// each of the fields (edits and combo boxes, with their lists).
void ApplyNameFieldColours(std::initializer_list<QWidget*> fields);

// Takes the text of `edit` at confirmation: in the language's code page and,
// with `canonical`, in its canonical form, which the edit then shows too.
// False when the text is empty or only blanks (the dialog stays open), or
// when it holds a character the code page cannot hold (the error box says so).
bool TakeName(QLineEdit& edit, bool canonical, std::string& name);

// The buttons of a name dialog: OK (Tag 4) and Cancel (Tag 3) of a fixed
// size that, like speed buttons, never take the focus; the hidden default
// (Enter) and cancel (Escape) buttons out of sight, their results kept in
// "ResultTag" apart from "Tag" so that no caption (and no mnemonic) ever
// reaches them; and the flat picture button of the hero.
void SetUpNameButtons(QPushButton& ok, QPushButton& cancel, QPushButton& hidOK, int hidOKResult,
                      QPushButton& hidCancel, QPushButton& hero);

// Gives each control the caption of its "Tag", where `captions` holds a
// non-empty one.
void ApplyNameCaptions(std::initializer_list<QWidget*> controls,
                       const std::map<int, std::string>& captions);

} // namespace tb
