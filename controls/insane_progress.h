// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include <QImage>
#include <QWidget>

namespace trelvik {

class PropertyBag;

// Length of the filled part of a bar `width` pixels wide at `valueUnits` (ten-thousandths of
// the value 0..10000): width x value / 10000 rounded half to even, the value's four decimals
// kept exactly: 5000 on 537 pixels gives 268, 214.1527 gives 11.
int ProgressFillLength(int width, qint64 valueUnits);

// Bytes per row of the bar's picture: the width rounded up to a multiple of 4.
int ProgressStride(int width);

// A flat horizontal progress bar with slightly rounded corners. Its picture is one 8-bit
// indexed image holding only the indices 0 (corners), 1 (unfilled) and 2 (filled), so a colour
// change touches three colour entries and a value change only the columns between the old and
// the new end of the fill. The picture is in device pixels, so on a scaled screen the fill ends
// on a device pixel and the corners stay square-cut. Every redraw repaints at once, so the bar
// moves while the window is busy.
class InsaneProgress : public QWidget
{
    Q_OBJECT

public:
    // `Value` is a fixed-point number with four decimals; units are ten-thousandths of it.
    static constexpr qint64 kValueScale = 10000;
    static constexpr qint64 kMaxValueUnits = 10000 * kValueScale;

    static constexpr quint32 kDefaultBackColor = 0x8000000F;
    static constexpr quint32 kDefaultBarColor = 0x8000000E;
    static constexpr quint32 kDefaultProgColor = 0x8000000D;

    explicit InsaneProgress(QWidget *parent = nullptr);

    quint32 BackColor() const { return backColor_; }
    void SetBackColor(quint32 colour);
    quint32 BarColor() const { return barColor_; }
    void SetBarColor(quint32 colour);
    quint32 ProgColor() const { return progColor_; }
    void SetProgColor(quint32 colour);

    // 0 to 10000; values outside are clamped, NaN counts as 0.
    double Value() const { return static_cast<double>(valueUnits_) / kValueScale; }
    void SetValue(double value);
    qint64 ValueUnits() const { return valueUnits_; }
    void SetValueUnits(qint64 units);

    // A new instance: the start values, colours resolved.
    void InitProperties();
    // Keys "BackColor", "BarColor", "ProgColor", "Value". The picture's pixels follow the read
    // value at the next resize or value change; the colours show at once.
    void ReadProperties(const PropertyBag &bag);
    void WriteProperties(PropertyBag &bag) const;

    // The picture as last built, in device pixels; its bytes per line are ProgressStride of its
    // width. FillLength and LastColumnsWritten count its columns.
    const QImage &Surface() const { return surface_; }
    // How often the picture has been put on screen, and how many pixel columns the last
    // rebuild of the pixels wrote (0 when it found nothing to do).
    int RedrawCount() const { return redrawCount_; }
    int LastColumnsWritten() const { return lastColumnsWritten_; }
    int FillLength() const { return lastLength_; }

signals:
    // The host's stored properties are out of date for `key`.
    void PropertyChanged(const QString &key);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void SetColour(quint32 &field, quint32 colour, const QString &key);
    void RebuildColourEntries();
    void NewSurface();
    void RebuildPixels(bool force);
    bool WritePixels(bool force);
    void Redraw();

    quint32 backColor_ = kDefaultBackColor;
    quint32 barColor_ = kDefaultBarColor;
    quint32 progColor_ = kDefaultProgColor;
    qint64 valueUnits_ = 0;

    std::array<QRgb, 256> colourList_{};
    QImage surface_;
    int lastLength_ = 0;
    int lastWidth_ = 0;
    int lastHeight_ = 0;
    int redrawCount_ = 0;
    int lastColumnsWritten_ = 0;
};

} // namespace trelvik
