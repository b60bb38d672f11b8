#include "play/d_hidwin.h"

#include "art/tb_art.h"

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <utility>

namespace tb {

THidWin::THidWin(std::function<QWidget*()> mainWindow, QObject* parent)
    : QObject(parent), MainWindow(std::move(mainWindow)) {
    connect(&xTray, &QSystemTrayIcon::activated, this, &THidWin::xTrayClick);
    if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
}

THidWin::~THidWin() {
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
    xTray.hide();
}

bool THidWin::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::WindowStateChange && watched->isWidgetType()) {
        QWidget* window = MainWindow ? MainWindow() : nullptr;
        if (window != nullptr && watched == window) {
            if (window->isMinimized())
                Minimize();
            else
                Restore();
        }
    }
    return QObject::eventFilter(watched, event);
}

void THidWin::Minimize() {
    if (!TrayAvailable()) return;
    // Hiding the window in the middle of its own state change confuses some
    // window managers: it goes once the change is through, if it is still
    // minimised then.
    QTimer::singleShot(0, this, [this] {
        QWidget* window = MainWindow ? MainWindow() : nullptr;
        if (window != nullptr && window->isMinimized() && window->isVisible()) Hide_App();
    });
}

void THidWin::Restore() {
    // Restored while still hidden in the tray (by some other way than the
    // icon): the window comes back too, or it would be out of reach.
    QWidget* window = MainWindow ? MainWindow() : nullptr;
    if (HiddenInTray && window != nullptr && !window->isVisible()) window->show();
    HiddenInTray = false;
    xTray.hide();
}

bool THidWin::Hide_App() {
    QWidget* window = MainWindow ? MainWindow() : nullptr;
    if (window == nullptr || !TrayAvailable()) return false;
    xTray.setToolTip(QCoreApplication::applicationName());
    xTray.setIcon(TrayIcon(window));
    xTray.show();
    HiddenInTray = true;
    window->hide();
    return true;
}

void THidWin::BringForward() {
    QWidget* window = MainWindow ? MainWindow() : nullptr;
    // A main window that is neither on the screen nor in the tray has not
    // had its first showing yet (start-up is still running): showing it
    // here would lay it out before its skin and language are there.
    if (window != nullptr && (window->isVisible() || HiddenInTray)) {
        window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
        window->show();
        window->raise();
        window->activateWindow();
    }
    HiddenInTray = false;
    xTray.hide();
}

void THidWin::xTrayClick(QSystemTrayIcon::ActivationReason reason) {
    // Any click on the icon, whichever button, brings the program back.
    if (reason != QSystemTrayIcon::Unknown) BringForward();
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int pixels : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(DrawProgramIcon(pixels)));
    return icon;
}

QIcon THidWin::TrayIcon(const QWidget* window) const {
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull() && window != nullptr) icon = window->windowIcon();
    if (icon.isNull()) icon = ProgramIcon();
    return icon;
}

} // namespace tb
