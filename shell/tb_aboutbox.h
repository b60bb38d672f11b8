#pragma once
// The about box: the splash picture (which carries the program's title; the
// built-in picture gets it drawn), the version and one line of message. At start-up it stays on the
// screen as the splash while the records load and shows their progress; later the Help menu shows
// it.

#include "services/d_folders.h"

#include <QDialog>
#include <QLabel>
#include <QPixmap>

#include <filesystem>
#include <string>

namespace tb {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    // `folders`: where the splash picture and the skins are.
    explicit TAboutBox(TFolders folders, QWidget* parent = nullptr);

    // While the box is visible (the start-up splash): the message line shows
    // the text at once and pending events are processed. Otherwise nothing.
    void ShowStartupText(const std::string& text);
    // The interface font. A size of 0 leaves the size as it is.
    void SetBoxFont(const QString& name, int pointSize);
    // Shows the box without waiting, centred on the screen: the start-up splash.
    void ShowSplash();
    // Shows the box modally (Help > About); a click, Enter or Escape closes it.
    void Run();

    // The picture the box shows: the current skin's splash picture when the
    // skin has one, else "tb_spl.bmp" of the images folder; empty when neither
    // exists.
    static std::filesystem::path SplashPictureFile(const TFolders& folders);

    QLabel xPic{this}; // first, so that it lies behind every other control
    QLabel xTitle{this};
    QLabel xVersion{this};
    QLabel xMessage{this};

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LoadPicture();
    void Layout();

    const TFolders Folders;
    bool OwnTitle = true; // the built-in picture: the box draws the title
};

} // namespace tb
