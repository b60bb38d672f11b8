#include "play/tb_pump.h"

#include "play/tb_wingame.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QThread>

namespace tb {
namespace {

// Counts one level up for as long as it lives, whatever ends the scope.
struct TLevel {
    explicit TLevel(int& counter) : Counter(counter) { ++Counter; }
    ~TLevel() { --Counter; }
    TLevel(const TLevel&) = delete;
    TLevel& operator=(const TLevel&) = delete;
    int& Counter;
};

class TRepeatFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        return TEventPump::Drops(watched, event) || QObject::eventFilter(watched, event);
    }
};

bool IsTextField(const QObject* receiver) {
    return qobject_cast<const QLineEdit*>(receiver) != nullptr ||
           qobject_cast<const QTextEdit*>(receiver) != nullptr ||
           qobject_cast<const QPlainTextEdit*>(receiver) != nullptr ||
           qobject_cast<const QAbstractSpinBox*>(receiver) != nullptr;
}

} // namespace

void TEventPump::Process() {
    TLevel level(Nesting);
    QCoreApplication::processEvents();
}

void TEventPump::ProcessUntil(std::uint32_t start, std::uint32_t ms) {
    while (MilliTime() - start <= ms) {
        Process();
        QThread::msleep(1);
    }
}

void TEventPump::ProcessWhile(const std::function<bool()>& more) {
    while (more()) {
        {
            TLevel level(Nesting);
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        QThread::msleep(2);
    }
}

bool TEventPump::RunCommand(const std::function<void()>& command) {
    if (CommandRunning()) return false;
    TLevel running(Commands);
    command();
    return true;
}

bool TEventPump::Drops(QObject* receiver, QEvent* event) {
    if (!CommandRunning()) return false;
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    if (!key->isAutoRepeat()) return false;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Space:
        return true;
    default:
        return !IsTextField(receiver);
    }
}

void TEventPump::InstallFilter() {
    static bool installed = false;
    if (installed || QCoreApplication::instance() == nullptr) return;
    // Owned by the application object.
    QCoreApplication::instance()->installEventFilter(
        new TRepeatFilter(QCoreApplication::instance()));
    installed = true;
}

} // namespace tb
