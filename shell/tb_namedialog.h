#pragma once
// What the input dialogs share. TPictureDialog: a modal dialog with the skin's
// box picture behind its controls, centred on the main window, that gives the
// focus to its input and plays the input effect when it shows (the load-game
// dialog and the name dialogs). TNameDialog: the name dialogs (player, game
// name, level name) with the hero's picture, OK and Cancel, the hidden default
// and cancel buttons and names that take their canonical form.

#include <QDialog>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tb {

class TPictureDialog : public QDialog {
    Q_OBJECT
public:
    // The skin's box picture, stretched behind everything; shown only while
    // backgrounds are on. A null picture is ignored.
    void SetBackground(const QPixmap& picture);
    // The interface font; bold when the bold-font setting is on. A size of 0
    // leaves the size as it is.
    void SetBoxFont(const QString& name, int pointSize);

    // Opens a help topic (F1 asks for the dialog's own); empty: no help.
    std::function<void(std::string_view topic)> OpenHelp;

    QLabel xPic{this}; // first, so that it lies behind every other control

protected:
    // How the input effect plays when the dialog shows: waiting until it has
    // finished (the sound set makes it wait) or not.
    enum class TInputSound { Wait, NoWait };

    static constexpr std::uint8_t ResultCancel = 3;
    static constexpr std::uint8_t ResultOK = 4;

    TPictureDialog(QWidget* parent, const char* objectName, std::string_view helpTopic,
                   TInputSound sound);

    // The start of each showing: the dialog font style, the background while
    // backgrounds are on and the title.
    void PrepareRun();
    // Opens the dialog's help topic.
    void OpenOwnHelp() const;

    // Gives the focus to the input when the dialog shows.
    virtual void FocusInput() = 0;
    // How far below the centre of the main window the dialog shows.
    virtual int ShownBelowCentre() const { return 0; }
    // Whether the input effect plays at this showing.
    virtual bool InputSoundDue() const { return true; }

    void showEvent(QShowEvent* event) override;

    std::uint8_t Result = ResultCancel;

private:
    std::string HelpTopic;
    TInputSound Sound;
};

class TNameDialog : public TPictureDialog {
    Q_OBJECT
public:
    void SetHeroPicture(const QPixmap& picture);

    QPushButton xTobbin{this};

protected:
    TNameDialog(QWidget* parent, const char* objectName, std::string_view helpTopic,
                TInputSound sound);

    // Sets up the dialog's buttons (see SetUpNameButtons): each one closes it
    // with its result, the hero keeps the names exactly as typed for this
    // showing.
    void SetUpButtons(QPushButton& ok, QPushButton& cancel, QPushButton& hidOK,
                      std::uint8_t hidOKResult, QPushButton& hidCancel);
    // Lays the dialog out and shows it modally, with names that take their
    // canonical form until the hero is clicked. True when it was confirmed.
    bool Execute();

    virtual void Layout() = 0;
    // At confirmation: takes what was typed. False keeps the dialog open.
    virtual bool TakeInput() = 0;

    void keyPressEvent(QKeyEvent* event) override;

    bool Canonical = true;

private:
    void Close(std::uint8_t result);

    QPushButton* HidCancel = nullptr;
};

} // namespace tb
