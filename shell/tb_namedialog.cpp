#include "shell/tb_namedialog.h"

#include "play/tb_boxuti.h"
#include "play/tb_util.h"
#include "services/d_settings.h"
#include "services/d_types.h"
#include "shell/tb_nameinput.h"

#include <QKeyEvent>
#include <QTimer>

namespace tb {

TPictureDialog::TPictureDialog(QWidget* parent, const char* objectName, std::string_view helpTopic,
                               TInputSound sound)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      HelpTopic(helpTopic), Sound(sound) {
    setObjectName(QString::fromLatin1(objectName));
    setModal(true);

    xPic.setObjectName(QStringLiteral("xPic"));
    xPic.setScaledContents(true);
    xPic.hide();
}

void TPictureDialog::SetBackground(const QPixmap& picture) {
    if (!picture.isNull()) xPic.setPixmap(picture);
}

void TPictureDialog::SetBoxFont(const QString& name, int pointSize) {
    SetBoxFontFace(*this, name, pointSize);
}

void TPictureDialog::PrepareRun() {
    if (isVisible()) hide();
    QFont boxFont = font();
    ApplyDialogFontStyle(boxFont);
    setFont(boxFont);
    xPic.setVisible(Settings().Backgrounds && !xPic.pixmap().isNull());
    setWindowTitle(QLatin1Char(' ') + ToUnicode(ApplicationTitle));
}

void TPictureDialog::OpenOwnHelp() const {
    if (OpenHelp) OpenHelp(HelpTopic);
}

void TPictureDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The window frame is known only now: place the dialog again with it.
    CentreOnMain(*this);
    if (const int below = ShownBelowCentre(); below != 0) move(x(), y() + below);
    FocusInput();
    Result = ResultCancel;
    if (InputSoundDue()) {
        const bool wait = Sound == TInputSound::Wait;
        QTimer::singleShot(0, this, [this, wait] {
            if (isVisible()) PlayBoxSound(TBoxSound::Input, wait);
        });
    }
}

TNameDialog::TNameDialog(QWidget* parent, const char* objectName, std::string_view helpTopic,
                         TInputSound sound)
    : TPictureDialog(parent, objectName, helpTopic, sound) {}

void TNameDialog::SetHeroPicture(const QPixmap& picture) {
    if (!picture.isNull()) xTobbin.setIcon(QIcon(picture));
}

void TNameDialog::SetUpButtons(QPushButton& ok, QPushButton& cancel, QPushButton& hidOK,
                               std::uint8_t hidOKResult, QPushButton& hidCancel) {
    SetUpNameButtons(ok, cancel, hidOK, hidOKResult, hidCancel, xTobbin);
    HidCancel = &hidCancel;
    connect(&ok, &QPushButton::clicked, this, [this] { Close(ResultOK); });
    connect(&cancel, &QPushButton::clicked, this, [this] { Close(ResultCancel); });
    connect(&hidOK, &QPushButton::clicked, this, [this, hidOKResult] { Close(hidOKResult); });
    connect(&hidCancel, &QPushButton::clicked, this, [this] { Close(ResultCancel); });
    // The hero keeps the names exactly as typed for this showing.
    connect(&xTobbin, &QPushButton::clicked, this, [this] { Canonical = false; });
}

bool TNameDialog::Execute() {
    Canonical = true;
    Layout();
    CentreOnMain(*this);

    Result = ResultCancel;
    exec();
    return Result != ResultCancel;
}

void TNameDialog::Close(std::uint8_t result) {
    if (result != ResultCancel && !TakeInput()) return;
    Result = result;
    accept();
}

void TNameDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        if (HidCancel != nullptr) HidCancel->click();
        break;
    case Qt::Key_F1:
        OpenOwnHelp();
        break;
    default:
        QDialog::keyPressEvent(event); // Enter: the default button
        break;
    }
}

} // namespace tb
