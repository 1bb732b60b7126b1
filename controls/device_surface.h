// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

class QWidget;

namespace trelvik {

// A picture that covers `widget` pixel for pixel on its screen: its size in device pixels, its
// device pixel ratio the widget's, so a painter on it draws in the widget's own coordinates and
// the window shows it without stretching. Null for an empty widget.
QImage DeviceSurface(const QWidget &widget, QImage::Format format);

// Whether `surface` still covers `widget` that way (same size and device pixel ratio).
bool CoversDevice(const QImage &surface, const QWidget &widget);

// Whole device pixels per pixel of the widget, at least 1: how thick a one-pixel line of the
// picture's own pixel patterns (corners, dotted focus lines) is drawn.
int DevicePixelStep(const QImage &surface);

} // namespace trelvik
