// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ole_colour.h"
#include "uni_caption.h"
#include "win_rect.h"

#include <QFont>
#include <QImage>
#include <QWidget>

class QPainter;

namespace trelvik {

class PropertyBag;

// What the Unicode label and the Unicode command button share: the caption and its operations,
// the layout and colour properties, the persistent drawing surface, and the mouse events
// forwarded to the host. Each caption operation that changes the caption sets the access key
// again (where the control has one), lays the control out, and then raises Change once.
class UniCaptionWidget : public QWidget
{
    Q_OBJECT

public:
    // Colours a new control takes from its container's palette (window and window text); a
    // control without a container takes the system's button colours.
    quint32 AmbientBackColor() const;
    quint32 AmbientForeColor() const;
    // The largest side automatic sizing gives the control, the platform's drawing coordinate
    // limit.
    static constexpr int kMaxLayoutSide = 32767;

    qint32 Alignment() const { return alignment_; }
    void SetAlignment(qint32 alignment);
    // Stored and persisted; the control always keeps its picture, so it draws the same either way.
    bool AutoRedraw() const { return autoRedraw_; }
    void SetAutoRedraw(bool autoRedraw);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    quint32 BackColor() const { return backColor_; }
    void SetBackColor(quint32 colour);
    QFont Font() const { return font(); }
    void SetFont(const QFont &font);
    quint32 ForeColor() const { return foreColor_; }
    void SetForeColor(quint32 colour);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wordWrap);

    QString Caption() const { return caption_.Caption(); }
    void SetCaption(const QString &text);
    qint32 CaptionLen() const { return caption_.CaptionLen(); }
    void SetCaptionLen(qint64 length);
    quint8 CaptionAscB(qint64 index) const { return caption_.CaptionAscB(index); }
    void SetCaptionAscB(qint64 index, quint8 value);
    qint16 CaptionAscW(qint64 index) const { return caption_.CaptionAscW(index); }
    void SetCaptionAscW(qint64 index, qint16 value);
    QByteArray GetCaptionB() const { return caption_.GetCaptionB(); }
    void SetCaptionB(const QByteArray &newCaption);

    quint32 FormatFlags() const { return formatFlags_; }
    WinRect TextRect() const { return textRect_; }

    // The caption as the control shows it: the drawn code units, line breaks as LF, the access
    // key's ampersand gone and an ampersand pair as one ampersand.
    QString ShownText() const;

    // The persistent picture, in device pixels; the window shows exactly this.
    const QImage &Surface() const { return surface_; }

    // Draws the control again (as when the host asks it to paint itself).
    void Paint();

signals:
    void Click();
    void Change();
    void DblClick();
    void MouseDown(qint16 button, qint16 shift, float x, float y);
    void MouseMove(qint16 button, qint16 shift, float x, float y);
    void MouseUp(qint16 button, qint16 shift, float x, float y);

protected:
    UniCaptionWidget(qint32 startAlignment, QWidget *parent);

    // Lays the caption out and sizes the control; guarded against re-entry, then paints.
    void Relayout();
    // The control's own layout steps, after FormatFlags has been set from Alignment.
    virtual void LayoutCaption() = 0;
    // Everything drawn on top of the background.
    virtual void DrawFace(QPainter &painter) = 0;
    // Called after every caption change, before the layout.
    virtual void CaptionChanged() {}

    // The start values shared by both controls, the caption being the control's name.
    void InitCommonProperties(qint32 startAlignment);
    void ReadCommonProperties(const PropertyBag &bag, qint32 defaultAlignment);
    void WriteCommonProperties(PropertyBag &bag) const;

    // Sets the control's size in pixels from within the layout, each side kept within
    // 0 … kMaxLayoutSide so that no caption can ask for a gigantic drawing surface.
    void ResizeFromLayout(int width, int height);

    void EmitMouse(const QMouseEvent &event);
    // Inside the surface: 0 <= x < width and 0 <= y < height.
    bool IsOnSurface(const QPointF &point) const;

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

    UniCaption caption_;
    qint32 alignment_ = 0;
    bool autoRedraw_ = false;
    bool autoSize_ = false;
    quint32 backColor_ = AmbientBackColor();
    quint32 foreColor_ = AmbientForeColor();
    bool wordWrap_ = false;
    quint32 formatFlags_ = 0;
    WinRect textRect_;

private:
    void AfterCaptionChange();
    void Render();

    QImage surface_;
    bool relayoutBusy_ = false;
    bool paintBusy_ = false;
    // A left press on the surface that a release may turn into a click.
    bool clickPending_ = false;
};

} // namespace trelvik
