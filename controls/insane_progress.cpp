// SPDX-License-Identifier: GPL-3.0-or-later
#include "insane_progress.h"

#include "accessibility.h"
#include "device_surface.h"
#include "ole_colour.h"
#include "property_bag.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include <QAccessible>
#include <QPainter>

namespace trelvik {

namespace {

const QString kKeyBackColor = QStringLiteral("BackColor");
const QString kKeyBarColor = QStringLiteral("BarColor");
const QString kKeyProgColor = QStringLiteral("ProgColor");
const QString kKeyValue = QStringLiteral("Value");

enum PixelIndex : uchar { kCornerIndex = 0, kBarIndex = 1, kProgressIndex = 2 };

qint64 ClampUnits(qint64 units)
{
    return std::clamp<qint64>(units, 0, InsaneProgress::kMaxValueUnits);
}

// Fixed-point conversion rounds half to even, like every other rounding in the program.
qint64 UnitsFromValue(double value)
{
    if (!(value > 0.0)) // also NaN
        return 0;
    if (value >= static_cast<double>(InsaneProgress::kMaxValueUnits / InsaneProgress::kValueScale))
        return InsaneProgress::kMaxValueUnits;
    return static_cast<qint64>(std::nearbyint(value * InsaneProgress::kValueScale));
}

} // namespace

int ProgressFillLength(int width, qint64 valueUnits)
{
    // The value is fixed-point, so the length is worked out exactly in integers: width and
    // value together stay far inside 64 bits.
    constexpr qint64 kFull = qint64{10000} * InsaneProgress::kValueScale;
    const qint64 scaled = qint64{std::max(width, 0)} * ClampUnits(valueUnits);
    const qint64 whole = scaled / kFull;
    const qint64 twiceRest = 2 * (scaled % kFull);
    const bool up = twiceRest > kFull || (twiceRest == kFull && whole % 2 == 1);
    return static_cast<int>(whole + (up ? 1 : 0));
}

int ProgressStride(int width)
{
    return width % 4 == 0 ? width : width - width % 4 + 4;
}

InsaneProgress::InsaneProgress(QWidget *parent)
    : QWidget(parent)
{
    InstallAccessibility();
    // The picture covers the whole widget; Qt needs not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    InitProperties();
    RebuildColourEntries();
    RebuildPixels(true);
}

void InsaneProgress::InitProperties()
{
    backColor_ = kDefaultBackColor;
    barColor_ = kDefaultBarColor;
    progColor_ = kDefaultProgColor;
    valueUnits_ = 0;
}

void InsaneProgress::SetBackColor(quint32 colour)
{
    SetColour(backColor_, colour, kKeyBackColor);
}

void InsaneProgress::SetBarColor(quint32 colour)
{
    SetColour(barColor_, colour, kKeyBarColor);
}

void InsaneProgress::SetProgColor(quint32 colour)
{
    SetColour(progColor_, colour, kKeyProgColor);
}

void InsaneProgress::SetColour(quint32 &field, quint32 colour, const QString &key)
{
    field = colour;
    emit PropertyChanged(key);
    RebuildColourEntries();
    Redraw();
}

void InsaneProgress::SetValue(double value)
{
    SetValueUnits(UnitsFromValue(value));
}

void InsaneProgress::SetValueUnits(qint64 units)
{
    const qint64 oldUnits = std::exchange(valueUnits_, ClampUnits(units));
    emit PropertyChanged(kKeyValue);
    RebuildPixels(false);
    if (valueUnits_ != oldUnits && QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, Value());
        QAccessible::updateAccessibility(&event);
    }
}

void InsaneProgress::ReadProperties(const PropertyBag &bag)
{
    backColor_ = bag.ReadColour(kKeyBackColor, kDefaultBackColor);
    barColor_ = bag.ReadColour(kKeyBarColor, kDefaultBarColor);
    progColor_ = bag.ReadColour(kKeyProgColor, kDefaultProgColor);
    bool ok = false;
    const double value = bag.Read(kKeyValue, 0.0).toDouble(&ok);
    // A stored value out of range would fill past the picture's end, so it is clamped here as
    // the setter clamps it.
    valueUnits_ = ok ? UnitsFromValue(value) : 0;
    RebuildColourEntries();
    Redraw();
}

void InsaneProgress::WriteProperties(PropertyBag &bag) const
{
    bag.Write(kKeyBackColor, backColor_);
    bag.Write(kKeyBarColor, barColor_);
    bag.Write(kKeyProgColor, progColor_);
    bag.Write(kKeyValue, Value());
}

void InsaneProgress::RebuildColourEntries()
{
    colourList_.fill(qRgb(0, 0, 0));
    colourList_[kCornerIndex] = ResolveOleColour(backColor_).rgb();
    colourList_[kBarIndex] = ResolveOleColour(barColor_).rgb();
    colourList_[kProgressIndex] = ResolveOleColour(progColor_).rgb();
    if (surface_.isNull())
        return;
    for (int i = 0; i < static_cast<int>(colourList_.size()); ++i)
        surface_.setColor(i, colourList_[static_cast<size_t>(i)]);
}

void InsaneProgress::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    NewSurface();
    // A fresh picture is all corner colour, so rebuild it even when the size is the same.
    RebuildPixels(true);
}

void InsaneProgress::NewSurface()
{
    surface_ = DeviceSurface(*this, QImage::Format_Indexed8);
    if (!surface_.isNull()) {
        surface_.setColorCount(static_cast<int>(colourList_.size()));
        surface_.fill(static_cast<uint>(kCornerIndex));
    }
    RebuildColourEntries();
}

void InsaneProgress::RebuildPixels(bool force)
{
    if (WritePixels(force))
        Redraw();
}

bool InsaneProgress::WritePixels(bool force)
{
    lastColumnsWritten_ = 0;
    const int w = surface_.isNull() ? 0 : surface_.width();
    const int h = surface_.isNull() ? 0 : surface_.height();
    const int length = ProgressFillLength(w, valueUnits_);
    const bool sameSize = w == lastWidth_ && h == lastHeight_;
    if (!force && sameSize && length == lastLength_)
        return false;

    int first = 0;
    int last = w - 1;
    if (!force && sameSize) {
        first = std::min(lastLength_, length);
        last = std::min(std::max(lastLength_, length), w - 1);
    }
    for (int y = 0; y < h; ++y) {
        uchar *row = surface_.scanLine(y);
        for (int x = first; x <= last; ++x)
            row[x] = x < length ? kProgressIndex : kBarIndex;
    }
    lastColumnsWritten_ = std::max(0, last - first + 1);

    // Each corner of a bar at least 7 pixels each way cuts off three of its pixels, each `step`
    // device pixels square.
    if (const int step = DevicePixelStep(surface_); w >= 7 * step && h >= 7 * step) {
        for (int y = 0; y < 2 * step; ++y)
            for (int x = 0; x < 2 * step; ++x)
                if (x / step + y / step <= 1)
                    for (const int row : {y, h - 1 - y}) {
                        surface_.scanLine(row)[x] = kCornerIndex;
                        surface_.scanLine(row)[w - 1 - x] = kCornerIndex;
                    }
    }

    lastLength_ = length;
    lastWidth_ = w;
    lastHeight_ = h;
    return true;
}

void InsaneProgress::Redraw()
{
    ++redrawCount_;
    // Synchronous, so the bar moves while a long generation keeps the event loop waiting.
    if (isVisible())
        repaint();
}

void InsaneProgress::paintEvent(QPaintEvent *)
{
    if (surface_.isNull())
        return;
    // Moved to a screen of another pixel ratio: the picture is built again for it.
    if (surface_.devicePixelRatio() != devicePixelRatioF()) {
        NewSurface();
        WritePixels(true);
    }
    QPainter painter(this);
    painter.drawImage(0, 0, surface_);
}

} // namespace trelvik
