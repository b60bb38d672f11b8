#pragma once
// The congratulations box: a picture with up to three lines of text, shown
// when the last level of a game is solved and on demand as the splash. The
// "Splash" section of the settings file may name another picture and give it
// its own lines, colours and weight.

#include "services/d_folders.h"

#include <QDialog>
#include <QFrame>
#include <QLabel>

#include <array>
#include <filesystem>
#include <map>
#include <string>

namespace tb {

// A line of the box: centred, word-wrapped text with a maroon shadow one
// pixel to the bottom right.
class TShadowLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    // The colour of the text (the shadow stays maroon).
    void SetTextColour(const QColor& colour);
    QColor TextColour() const { return Colour; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor Colour = Qt::yellow;
};

class TCongratBox : public QDialog {
    Q_OBJECT
public:
    static constexpr int LineCount = 3;

    // `folders`: where the pictures and the settings file are.
    explicit TCongratBox(TFolders folders, QWidget* parent = nullptr);

    // The three lines take the font name and size (a size of 0 keeps it).
    // The character set is the language's; the window's texts are Unicode
    // already, so it needs nothing here.
    void SetFonts(const QString& name, int charset, int size);
    // Tag 1..3 → the text of that line, in the language's code page.
    void ApplyCaptions(const std::map<int, std::string>& captions);
    // Shows the box modally, centred on `centreOn` (on the main window when
    // null) and kept on the screen; a click, Enter, Escape or Space closes it.
    // Throws Error when the picture cannot be read.
    void Run(QWidget* centreOn);

    // Reads the picture and the lines as the next showing has them (the
    // "Splash" section of the settings file) and lays the box out.
    void FormShow();
    // The picture the settings name: "Image" of the "Splash" section, or
    // "tb_fin.bmp", in the images folder unless the name holds a drive
    // letter or is a whole path.
    static std::filesystem::path PictureFile(const TFolders& folders, const std::string& image);

    QFrame xPanel{this};
    QLabel xPic{&xPanel};
    TShadowLabel xLab1{&xPanel};
    TShadowLabel xLab2{&xPanel};
    TShadowLabel xLab3{&xPanel};
    // The three lines, index 0..2 for lines 1..3.
    std::array<TShadowLabel*, LineCount> Lines{&xLab1, &xLab2, &xLab3};

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void CentreOnControl(QWidget* control);
    void FormActivate();

    const TFolders Folders;
    std::array<QString, LineCount> Captions;
};

} // namespace tb
