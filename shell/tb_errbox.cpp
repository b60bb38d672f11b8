#include "shell/tb_errbox.h"

#include "play/tb_boxuti.h"
#include "play/tb_util.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <QtGlobal>

#include <algorithm>
#include <utility>

namespace tb {

namespace {

// Design of the box.
constexpr int DesignWidth = 244;
constexpr int DesignHeight = 57;
constexpr int IconLeft = 16;
constexpr int IconTop = 12;
constexpr int IconSize = 32;
constexpr int TextLeft = 61;
constexpr int TextTop = 20;
constexpr int TextRightMargin = 18;
constexpr int TextPixelHeight = 16;

const QColor TextColour(255, 32, 32);

std::function<void()>& BeforeModalSlot() {
    static std::function<void()> hook;
    return hook;
}

QString& FontNameSlot() {
    static QString name = QStringLiteral("Courier New");
    return name;
}

// The icon at the left: a red disc with a white cross, drawn here so that the
// box needs no picture file.
QPixmap ErrorIcon() {
    QPixmap picture(IconSize, IconSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient disc(QPointF(12, 10), 20);
    disc.setColorAt(0.0, QColor(255, 120, 110));
    disc.setColorAt(0.6, QColor(214, 30, 24));
    disc.setColorAt(1.0, QColor(140, 10, 8));
    painter.setPen(QPen(QColor(255, 255, 255, 200), 1.5));
    painter.setBrush(disc);
    painter.drawEllipse(QRectF(1.5, 1.5, IconSize - 3, IconSize - 3));
    painter.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(11, 11), QPointF(21, 21));
    painter.drawLine(QPointF(21, 11), QPointF(11, 21));
    return picture;
}

TErrBox& ProgramErrBox(std::unique_ptr<TErrBox>& local) {
    if (auto* app = qobject_cast<TApplication*>(QCoreApplication::instance())) return app->ErrBox();
    local = std::make_unique<TErrBox>();
    return *local;
}

} // namespace

std::string FormatErrorText(std::string_view message) {
    if (message.find("Access violation") != std::string_view::npos)
        return "System error: please send in a problem report.";
    std::string text(message);
    if (text.size() > ErrorLineLength) {
        // Positions are counted from 1: look at characters 55 down to 2.
        for (std::size_t i = ErrorLineLength; i >= 1; --i) {
            if (text[i] == ' ') {
                text[i] = '\n';
                break;
            }
        }
    }
    return text;
}

TErrBox::TErrBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("TErrBox"));
    setModal(true);
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    black.setColor(QPalette::WindowText, TextColour);
    black.setColor(QPalette::Light, QColor(96, 96, 96));
    black.setColor(QPalette::Dark, QColor(24, 24, 24));
    setPalette(black);

    Panel.setObjectName(QStringLiteral("Panel"));
    Panel.setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel.setLineWidth(1);

    Icon.setObjectName(QStringLiteral("Icon"));
    Icon.setPixmap(ErrorIcon());
    Icon.setGeometry(IconLeft, IconTop, IconSize, IconSize);

    Txt.setObjectName(QStringLiteral("Txt"));
    Txt.setTextFormat(Qt::PlainText);
    Txt.move(TextLeft, TextTop);
    SetFontName(FontNameSlot());
    resize(DesignWidth, DesignHeight);
}

void TErrBox::SetFontName(const QString& name) {
    QFont font(name);
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(TextPixelHeight);
    Txt.setFont(font);
}

void TErrBox::ShowText(std::string_view message) {
    QFont font = Txt.font();
    ApplyDialogFontStyle(font);
    Txt.setFont(font);
    Txt.setText(ToUnicode(FormatErrorText(message)));
    Txt.adjustSize();

    const int width = TextLeft + Txt.width() + TextRightMargin;
    const int height = std::max(DesignHeight, Txt.height() + 2 * IconTop);
    setFixedSize(width, height);
    Panel.setGeometry(rect());
    Txt.move(TextLeft, (height - Txt.height()) / 2);
    Icon.move(IconLeft, std::min(IconTop, (height - IconSize) / 2));

    CentreOnMain(*this);
    if (BeforeModalSlot()) BeforeModalSlot()();
    exec();
}

void TErrBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The window frame is known only now: place the box again with it.
    CentreOnMain(*this);
    // Played once the box is on the screen, so that the player sees it while
    // the sound plays.
    QTimer::singleShot(0, this, [this] {
        if (isVisible()) FormActivate();
    });
}

void TErrBox::FormActivate() {
    PlayBoxSound(TBoxSound::Error, true);
}

void TErrBox::keyPressEvent(QKeyEvent* event) {
    // A key still held from the command that failed repeats; only a fresh
    // press closes the box, so the message can be read.
    if (event->isAutoRepeat()) return;
    accept();
}

void TErrBox::mousePressEvent(QMouseEvent* /*event*/) {
    accept();
}

void TErrBox_Show_Text(std::string_view message) {
    std::unique_ptr<TErrBox> local;
    TErrBox& box = ProgramErrBox(local);
    if (box.isVisible()) {
        qWarning("Error while the error box is open: %s", std::string(message).c_str());
        return;
    }
    box.ShowText(message);
}

void TErrBox_Display(std::exception_ptr error) {
    while (QApplication::overrideCursor() != nullptr)
        QApplication::restoreOverrideCursor();
    try {
        std::rethrow_exception(std::move(error));
    } catch (const Abort&) {
        return;
    } catch (const std::exception& e) {
        TErrBox_Show_Text(e.what());
    } catch (...) {
        TErrBox_Show_Text("Unexpected error");
    }
}

void TErrBox_Set_Font(const QString& name, int /*charset*/) {
    FontNameSlot() = name;
    if (auto* app = qobject_cast<TApplication*>(QCoreApplication::instance())) {
        TErrBox& box = app->ErrBox();
        box.SetFontName(name);
        QFont font = box.Txt.font();
        ApplyDialogFontStyle(font);
        box.Txt.setFont(font);
    }
}

void SetBeforeModalHook(std::function<void()> hook) {
    BeforeModalSlot() = std::move(hook);
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QString::fromLatin1(ApplicationTitle.data(),
                                           static_cast<qsizetype>(ApplicationTitle.size())));
}

TApplication::~TApplication() = default;

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        TErrBox_Display(std::current_exception());
        return false;
    }
}

TErrBox& TApplication::ErrBox() {
    if (!Box) Box = std::make_unique<TErrBox>();
    return *Box;
}

} // namespace tb
