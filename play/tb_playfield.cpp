#include "play/tb_playfield.h"

#include <QMouseEvent>
#include <QPainter>

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

void TPlayField::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (Canvas.isNull())
        painter.fillRect(event->rect(), Qt::black);
    else
        painter.drawImage(event->rect(), Canvas, event->rect());
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
