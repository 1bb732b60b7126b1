#pragma once

#include <QCoreApplication>
#include <QFont>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

namespace trelvik::test {

// Sends one mouse event straight to the widget, with exactly the given button and buttons held,
// so the sequences do not depend on a window system's pointer state.
inline void SendMouse(QWidget *widget,
                      QEvent::Type type,
                      Qt::MouseButton button,
                      Qt::MouseButtons buttons,
                      QPointF position,
                      Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent event(type, position, widget->mapToGlobal(position), button, buttons, modifiers);
    QCoreApplication::sendEvent(widget, &event);
}

// A font of fixed pixel size from the font folder the tests run with.
inline QFont TestFont(int pixelSize = 13)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    return font;
}

// The smallest rectangle holding every pixel that differs from `background`; null if none.
inline QRect InkBounds(const QImage &image, QRgb background)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != (background & 0xFFFFFF))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

// Rows that hold at least one pixel differing from `background`.
inline QList<int> InkRows(const QImage &image, QRgb background)
{
    QList<int> rows;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != (background & 0xFFFFFF)) {
                rows.append(y);
                break;
            }
    return rows;
}

} // namespace trelvik::test
