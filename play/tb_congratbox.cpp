#include "play/tb_congratbox.h"

#include "play/tb_boxuti.h"
#include "play/tb_colour.h"
#include "play/tb_util.h"
#include "services/d_error.h"
#include "services/d_folders.h"
#include "services/d_inifile.h"
#include "services/d_settings.h"
#include "services/d_sound.h"

#include <QImageReader>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>

namespace tb {

namespace fs = std::filesystem;

namespace {

constexpr int DesignSide = 266; // the client area before a picture is loaded
constexpr int PictureInset = 3; // the panel's border and bevel around the picture
constexpr int DesignPointSize = 9;
constexpr const char* DefaultImage = "tb_fin.bmp";
constexpr const char* DesignTexts[TCongratBox::LineCount] = {
    "Congratulations!", "You've completed all levels of this game.", "Cherish the moment!"};

} // namespace

// ---- TShadowLabel ----

void TShadowLabel::SetTextColour(const QColor& colour) {
    Colour = colour;
    update();
}

void TShadowLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    const int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
    painter.setPen(QColor(128, 0, 0)); // maroon
    painter.drawText(rect().translated(1, 1), flags, text());
    painter.setPen(Colour);
    painter.drawText(rect(), flags, text());
}

// ---- TCongratBox ----

TCongratBox::TCongratBox(TFolders folders, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), Folders(std::move(folders)) {
    setObjectName(QStringLiteral("TCongratBox"));
    setModal(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::black);
    setPalette(palette);
    setAutoFillBackground(true);

    xPanel.setObjectName(QStringLiteral("xPanel"));
    xPanel.setFrameStyle(QFrame::Panel | QFrame::Sunken);
    xPanel.setLineWidth(PictureInset);
    xPic.setObjectName(QStringLiteral("xPic"));
    xPic.setScaledContents(true);
    xPic.installEventFilter(this);
    for (int i = 0; i < LineCount; ++i) {
        TShadowLabel& label = *Lines[static_cast<std::size_t>(i)];
        label.setObjectName(QStringLiteral("xLab%1").arg(i + 1));
        label.setProperty("Tag", i + 1);
        label.setWordWrap(true);
        label.setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label.setAttribute(Qt::WA_TranslucentBackground);
        label.installEventFilter(this);
        Captions[static_cast<std::size_t>(i)] = QString::fromLatin1(DesignTexts[i]);
        label.setText(Captions[static_cast<std::size_t>(i)]);
    }
    SetFonts(QString(), 0, DesignPointSize);
    setFixedSize(DesignSide, DesignSide);
    xPanel.setGeometry(rect());
}

void TCongratBox::SetFonts(const QString& name, int /*charset*/, int size) {
    QFont boxFont = font();
    if (!name.isEmpty()) boxFont.setFamily(name);
    if (size > 0) boxFont.setPointSize(size);
    boxFont.setBold(true);
    setFont(boxFont);
    for (TShadowLabel* label : Lines)
        label->setFont(boxFont);
}

void TCongratBox::ApplyCaptions(const std::map<int, std::string>& captions) {
    for (int i = 0; i < LineCount; ++i) {
        const auto found = captions.find(i + 1);
        if (found != captions.end())
            Captions[static_cast<std::size_t>(i)] = ToUnicode(found->second);
    }
}

fs::path TCongratBox::PictureFile(const TFolders& folders, const std::string& image) {
    // A drive letter, or a whole path, names the file itself.
    if ((image.size() >= 2 && image[1] == ':') || fs::path(image).is_absolute()) return image;
    return folders.ImagesFolder / image;
}

void TCongratBox::FormShow() {
    TIniFile ini;
    ini.Load(SettingsFileName(Folders));
    const std::string image = ini.ReadString("Splash", "Image", DefaultImage);
    const bool custom = image != DefaultImage;

    const fs::path file = PictureFile(Folders, image);
    QImageReader reader(QString::fromStdString(file.string()));
    reader.setDecideFormatFromContent(true);
    const QImage picture = reader.read();
    if (picture.isNull())
        throw Error("Cannot read the picture \"" + file.string() +
                    "\": " + reader.errorString().toStdString());
    xPic.setPixmap(QPixmap::fromImage(picture));
    const int width = picture.width();
    const int height = picture.height();
    setFixedSize(width + 2 * PictureInset, height + 2 * PictureInset);
    xPanel.setGeometry(rect());
    xPic.setGeometry(PictureInset, PictureInset, width, height);

    // Each showing starts from the language's lines in their design look.
    QFont lineFont = font();
    for (int i = 0; i < LineCount; ++i) {
        TShadowLabel& label = *Lines[static_cast<std::size_t>(i)];
        label.setText(Captions[static_cast<std::size_t>(i)]);
        label.SetTextColour(Qt::yellow);
        label.setFont(lineFont);
    }
    if (custom) {
        lineFont.setBold(ini.ReadBool("Splash", "Bold", false));
        std::string colourName = "Red";
        for (int i = 0; i < LineCount; ++i) {
            TShadowLabel& label = *Lines[static_cast<std::size_t>(i)];
            const std::string digit = std::to_string(i + 1);
            label.setText(ToUnicode(ini.ReadString("Splash", "Line" + digit, "")));
            colourName = ini.ReadString("Splash", "Color" + digit, colourName);
            // A colour the window does not know leaves the line as it is.
            QColor colour;
            if (ColourByName("cl" + colourName, colour)) label.SetTextColour(colour);
            label.setFont(lineFont);
        }
    }

    // The lines stand on the bottom of the picture, the last one lowest; an
    // empty line takes no room.
    const int labelWidth = xPanel.width();
    int y = height;
    for (int i = LineCount - 1; i >= 0; --i) {
        TShadowLabel& label = *Lines[static_cast<std::size_t>(i)];
        const bool shown = !label.text().isEmpty();
        label.setVisible(shown);
        if (!shown) continue;
        const int labelHeight = label.heightForWidth(labelWidth);
        label.setGeometry((width - labelWidth) / 2 + 5, y - 2 - labelHeight, labelWidth,
                          labelHeight);
        y = label.y();
    }
}

void TCongratBox::Run(QWidget* centreOn) {
    if (isVisible()) hide();
    FormShow();
    CentreOnControl(centreOn);
    exec();
}

void TCongratBox::CentreOnControl(QWidget* control) {
    if (control == nullptr || !control->isVisible()) {
        CentreOnMain(*this);
        return;
    }
    const QRect target(control->mapToGlobal(QPoint(0, 0)), control->size());
    move(CentredOn(frameGeometry().size(), target) - QPoint(2, 2));
    KeepOnScreen(*this);
}

void TCongratBox::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Space:
        accept();
        break;
    default:
        QWidget::keyPressEvent(event);
        break;
    }
}

bool TCongratBox::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && watched != this) {
        accept(); // a click on the picture or on a line closes the box
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TCongratBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    QTimer::singleShot(0, this, [this] {
        if (isVisible()) FormActivate();
    });
}

void TCongratBox::FormActivate() {
    SoundBank().Play(TEffect::AllLevels);
}

} // namespace tb
