#include "layer_surface.h"

#include <QPainter>

namespace trelvik {

LayerSurface::LayerSurface(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void LayerSurface::SetPicture(const QImage &picture)
{
    picture_ = picture;
    resize(picture_.size());
    update();
}

void LayerSurface::Clear(QSize size)
{
    QImage blank(size, QImage::Format_RGB32);
    blank.fill(palette().color(QPalette::Window));
    SetPicture(blank);
}

void LayerSurface::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.drawImage(0, 0, picture_);
}

} // namespace trelvik
