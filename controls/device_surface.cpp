// SPDX-License-Identifier: GPL-3.0-or-later
#include "device_surface.h"

#include <algorithm>
#include <cmath>

#include <QWidget>

namespace trelvik {

namespace {

QSize DeviceSize(const QWidget &widget)
{
    const qreal ratio = widget.devicePixelRatioF();
    return QSize(static_cast<int>(std::ceil(widget.width() * ratio)),
                 static_cast<int>(std::ceil(widget.height() * ratio)));
}

} // namespace

QImage DeviceSurface(const QWidget &widget, QImage::Format format)
{
    if (widget.width() <= 0 || widget.height() <= 0)
        return QImage();
    QImage surface(DeviceSize(widget), format);
    surface.setDevicePixelRatio(widget.devicePixelRatioF());
    return surface;
}

bool CoversDevice(const QImage &surface, const QWidget &widget)
{
    return surface.size() == DeviceSize(widget)
           && surface.devicePixelRatio() == widget.devicePixelRatioF();
}

int DevicePixelStep(const QImage &surface)
{
    return std::max(1, static_cast<int>(std::lround(surface.devicePixelRatio())));
}

} // namespace trelvik
