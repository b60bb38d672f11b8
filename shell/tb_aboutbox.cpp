#include "shell/tb_aboutbox.h"

#include "play/tb_boxuti.h"
#include "play/tb_pump.h"
#include "play/tb_util.h"
#include "services/d_folders.h"
#include "services/d_settings.h"
#include "services/d_types.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

#include <system_error>

namespace tb {

namespace fs = std::filesystem;

namespace {

constexpr int DesignWidth = 320;
constexpr int DesignHeight = 200;
constexpr int MessageMargin = 8;
constexpr int DesignPointSize = 9;

// The built-in picture when no splash picture is installed: an evening sky
// over a meadow.
QPixmap DefaultPicture() {
    QPixmap picture(DesignWidth, DesignHeight);
    QPainter painter(&picture);
    QLinearGradient sky(0, 0, 0, DesignHeight);
    sky.setColorAt(0.0, QColor(40, 70, 140));
    sky.setColorAt(0.6, QColor(120, 160, 220));
    sky.setColorAt(0.61, QColor(90, 160, 70));
    sky.setColorAt(1.0, QColor(40, 100, 40));
    painter.fillRect(picture.rect(), sky);
    return picture;
}

bool IsFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

} // namespace

TAboutBox::TAboutBox(TFolders folders, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      Folders(std::move(folders)) {
    setObjectName(QStringLiteral("TAboutBox"));
    xPic.setObjectName(QStringLiteral("xPic"));
    xPic.setScaledContents(true);
    xTitle.setObjectName(QStringLiteral("xTitle"));
    xVersion.setObjectName(QStringLiteral("xVersion"));
    xMessage.setObjectName(QStringLiteral("xMessage"));
    xTitle.setText(ToUnicode(ApplicationTitle));
    xVersion.setText(QStringLiteral("Version ") + ToUnicode(ProgramVersion));
    for (QLabel* label : {&xTitle, &xVersion, &xMessage}) {
        label->setAlignment(Qt::AlignCenter);
        label->setTextFormat(Qt::PlainText);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Qt::white);
        label->setPalette(palette);
        // A click anywhere closes the box, the labels included.
        label->installEventFilter(this);
    }
    xPic.installEventFilter(this);
    SetBoxFont(QString(), DesignPointSize);
    xPic.setPixmap(DefaultPicture());
    Layout();
}

fs::path TAboutBox::SplashPictureFile(const TFolders& folders) {
    const TSettings& settings = Settings();
    if (!settings.Skin.empty()) {
        const fs::path skin =
            SkinFolder(folders, settings.Skin) / settings.SkinPictureName(TSkinPicture::Splash);
        if (IsFile(skin)) return skin;
    }
    const fs::path plain = folders.ImagesFolder / "tb_spl.bmp";
    return IsFile(plain) ? plain : fs::path();
}

void TAboutBox::LoadPicture() {
    const fs::path file = SplashPictureFile(Folders);
    QPixmap picture;
    if (!file.empty()) picture.load(QString::fromStdString(file.string()));
    // A splash picture carries the title itself; the built-in one has none.
    OwnTitle = picture.isNull();
    xPic.setPixmap(OwnTitle ? DefaultPicture() : picture);
    Layout();
}

void TAboutBox::Layout() {
    const QSize size = xPic.pixmap().size();
    setFixedSize(size);
    xPic.setGeometry(rect());
    const int width = size.width();
    xTitle.setVisible(OwnTitle);
    xTitle.setGeometry(0, size.height() / 8, width, xTitle.sizeHint().height());
    // Under the picture's own title the version stands in the middle.
    const int versionTop = OwnTitle ? xTitle.geometry().bottom() + 4 : size.height() / 2;
    xVersion.setGeometry(0, versionTop, width, xVersion.sizeHint().height());
    const int messageHeight = xMessage.fontMetrics().height() + 4;
    xMessage.setGeometry(MessageMargin, size.height() - MessageMargin - messageHeight,
                         width - 2 * MessageMargin, messageHeight);
}

void TAboutBox::SetBoxFont(const QString& name, int pointSize) {
    SetBoxFontFace(*this, name, pointSize);
    const QFont boxFont = font();
    QFont titleFont = boxFont;
    titleFont.setBold(true);
    titleFont.setPointSize(boxFont.pointSize() * 3);
    xTitle.setFont(titleFont);
    QFont versionFont = boxFont;
    versionFont.setBold(true);
    xVersion.setFont(versionFont);
    Layout();
}

void TAboutBox::ShowStartupText(const std::string& text) {
    if (!isVisible()) return;
    xMessage.setText(ToUnicode(text));
    xMessage.repaint();
    TEventPump::Process();
}

void TAboutBox::ShowSplash() {
    LoadPicture();
    xMessage.clear();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(CentredOn(size(), screen->availableGeometry()));
    setModal(false);
    show();
    raise();
    repaint();
    TEventPump::Process();
}

void TAboutBox::Run() {
    if (isVisible()) hide();
    LoadPicture();
    xMessage.clear();
    setModal(true);
    CentreOnMain(*this);
    exec();
}

void TAboutBox::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        if (isModal()) accept();
        break;
    default:
        QWidget::keyPressEvent(event);
        break;
    }
}

void TAboutBox::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (isModal()) accept();
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && watched != this && isModal()) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tb
