#pragma once
// The program's place in the notification area. When the main window is
// minimised and the desktop has a tray, the window is hidden and a tray icon
// (the program's icon, its title as the hint) stands in for it; a click on the
// icon brings the window back. Without a tray, minimising just minimises.
// The same "come forward" brings the program to the front when a second copy
// is started.

#include <QObject>
#include <QSystemTrayIcon>

#include <functional>

class QWidget;

namespace tb {

class THidWin : public QObject {
    Q_OBJECT
public:
    // `mainWindow` finds the window that goes into the tray; it may answer
    // null (before the main window exists, or after it is gone), and then
    // minimising and restoring leave everything as it is.
    explicit THidWin(std::function<QWidget*()> mainWindow, QObject* parent = nullptr);
    ~THidWin() override;

    // The minimise handler: the main window goes into the tray once its
    // minimising is through (when the desktop has a tray).
    void Minimize();
    // The restore handler: the tray icon goes away (and the main window
    // comes back, if it was still hidden in the tray).
    void Restore();
    // Hides the main window into the tray at once. False, and nothing
    // changes, when the desktop has no tray or there is no main window.
    bool Hide_App();
    // Brings the program back from the tray or from minimised: shown, no
    // longer minimised, raised and active; the tray icon goes away. A click
    // on the tray icon and a second copy's request both end up here. A main
    // window that was never shown yet (start-up still running) stays as it is.
    void BringForward();

    // Whether the program sits in the tray now.
    bool InTray() const { return xTray.isVisible(); }

    // Whether the desktop shows tray icons; asks the system unless a test
    // replaces it (the off-screen platform has no tray).
    std::function<bool()> TrayAvailable = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };

    QSystemTrayIcon xTray;

protected:
    // Watches the whole application for the main window's minimising and
    // restoring, so that the window itself needs to forward nothing.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void xTrayClick(QSystemTrayIcon::ActivationReason reason);
    // The application's icon, else the main window's, else the hero's
    // picture of the built-in tiles.
    QIcon TrayIcon(const QWidget* window) const;

    std::function<QWidget*()> MainWindow;
    bool HiddenInTray = false; // Hide_App hid the main window
};

// The program's icon at the sizes a desktop asks for: the hero of the default
// sprite set, as the installed icon theme files show it too.
QIcon ProgramIcon();

} // namespace tb
