#include "play/tb_playfield.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace tb {

TPlayField::TPlayField(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
}

void TPlayField::NewPicture() {
    Canvas = QImage(size(), QImage::Format_RGB32);
    Canvas.fill(Qt::black);
    update();
}

void TPlayField::DrawAt(int left, int top, const QImage& tile) {
    if (Canvas.size() != size()) NewPicture();
    {
        QPainter painter(&Canvas);
        painter.drawImage(left, top, tile);
    }
    update(left, top, tile.width(), tile.height());
}

void TPlayField::ShowPicture(const QImage& picture) {
    NewPicture();
    if (!picture.isNull()) {
        QPainter painter(&Canvas);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(Canvas.rect(), picture);
    }
    update();
}

void TPlayField::SetMark(const QRect& area) {
    if (area == MarkArea) return;
    update(MarkArea);
    MarkArea = area;
    update(MarkArea);
}

void TPlayField::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (Canvas.isNull())
        painter.fillRect(event->rect(), Qt::black);
    else
        painter.drawImage(event->rect(), Canvas, event->rect());
    if (MarkArea.isEmpty()) return;
    // A yellow frame with a dark edge inside, seen on every tile.
    const int width = std::max(2, MarkArea.width() / 8);
    painter.setPen(QPen(QColor(255, 220, 0), width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    const int half = width / 2;
    painter.drawRect(MarkArea.adjusted(half, half, -half - 1, -half - 1));
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(MarkArea.adjusted(width, width, -width - 1, -width - 1));
}

void TPlayField::mousePressEvent(QMouseEvent* event) {
    if (MouseDown) MouseDown(*event);
}

void TPlayField::mouseMoveEvent(QMouseEvent* event) {
    if (MouseMove) MouseMove(*event);
}

void TPlayField::mouseReleaseEvent(QMouseEvent* event) {
    if (MouseUp) MouseUp(*event);
}

TPanel::TPanel(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setAutoFillBackground(true);
}

void TPanel::SetPicture(const QPixmap& picture) {
    if (picture.isNull()) return;
    Picture = picture;
    update();
}

void TPanel::paintEvent(QPaintEvent* event) {
    if (!Picture.isNull()) {
        QPainter painter(this);
        painter.drawPixmap(rect(), Picture);
    }
    QFrame::paintEvent(event);
}

void TPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && Clicked) Clicked();
    QFrame::mousePressEvent(event);
}

} // namespace tb
