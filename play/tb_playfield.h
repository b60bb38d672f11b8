#pragma once
// The widgets the play window is built of: the play field, which shows one
// picture that the game draws into cell by cell, and the panels of the
// bottom row, which may carry the skin's panel picture behind their labels.

#include <QFrame>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QWidget>

#include <functional>

namespace tb {

class TPlayField : public QWidget {
    Q_OBJECT
public:
    explicit TPlayField(QWidget* parent = nullptr);
    // The picture shown; drawing into it shows on the next repaint.
    QImage& Picture() { return Canvas; }
    // A new picture of the widget's size, filled black.
    void NewPicture();
    // Puts a picture into one square of the field and asks for its repaint.
    void DrawAt(int left, int top, const QImage& tile);
    // Shows `picture` stretched over the whole field (the title picture).
    void ShowPicture(const QImage& picture);
    // A frame drawn over the picture around `area` (a hint's cell); an empty
    // area takes it away. The picture itself is not changed.
    void SetMark(const QRect& area);
    const QRect& Mark() const { return MarkArea; }

    // Mouse presses, moves and releases on the field (the editor uses all three).
    std::function<void(QMouseEvent&)> MouseDown;
    std::function<void(QMouseEvent&)> MouseMove;
    std::function<void(QMouseEvent&)> MouseUp;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage Canvas;
    QRect MarkArea;
};

// A panel of the bottom row: lowered frame, optional picture behind its children.
class TPanel : public QFrame {
    Q_OBJECT
public:
    explicit TPanel(QWidget* parent = nullptr);
    void SetPicture(const QPixmap& picture);
    // Called on a left click anywhere on the panel outside its buttons.
    std::function<void()> Clicked;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QPixmap Picture;
};

} // namespace tb
