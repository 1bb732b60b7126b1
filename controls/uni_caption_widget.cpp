// SPDX-License-Identifier: GPL-3.0-or-later
#include "uni_caption_widget.h"

#include "accessibility.h"
#include "device_surface.h"
#include "property_bag.h"
#include "uni_host_events.h"
#include "uni_text_format.h"

#include <algorithm>

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>

namespace trelvik {

UniCaptionWidget::UniCaptionWidget(qint32 startAlignment, QWidget *parent)
    : QWidget(parent)
    , alignment_(startAlignment)
{
    InstallAccessibility();
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

quint32 UniCaptionWidget::AmbientBackColor() const
{
    return parentWidget() ? OleColourFromQColor(parentWidget()->palette().color(QPalette::Window))
                          : SystemOleColour(kColourButtonFace);
}

quint32 UniCaptionWidget::AmbientForeColor() const
{
    return parentWidget()
               ? OleColourFromQColor(parentWidget()->palette().color(QPalette::WindowText))
               : SystemOleColour(kColourButtonText);
}

void UniCaptionWidget::SetAlignment(qint32 alignment)
{
    alignment_ = alignment;
    Relayout();
}

void UniCaptionWidget::SetAutoRedraw(bool autoRedraw)
{
    autoRedraw_ = autoRedraw;
    Relayout();
}

void UniCaptionWidget::SetAutoSize(bool autoSize)
{
    autoSize_ = autoSize;
    Relayout();
}

void UniCaptionWidget::SetBackColor(quint32 colour)
{
    backColor_ = colour;
    Paint();
}

void UniCaptionWidget::SetFont(const QFont &font)
{
    setFont(font);
    Relayout();
}

void UniCaptionWidget::SetForeColor(quint32 colour)
{
    foreColor_ = colour;
    Paint();
}

void UniCaptionWidget::SetWordWrap(bool wordWrap)
{
    wordWrap_ = wordWrap;
    Relayout();
}

void UniCaptionWidget::SetCaption(const QString &text)
{
    if (caption_.SetCaption(text))
        AfterCaptionChange();
}

void UniCaptionWidget::SetCaptionLen(qint64 length)
{
    if (caption_.SetCaptionLen(length))
        AfterCaptionChange();
}

void UniCaptionWidget::SetCaptionAscB(qint64 index, quint8 value)
{
    if (caption_.SetCaptionAscB(index, value))
        AfterCaptionChange();
}

void UniCaptionWidget::SetCaptionAscW(qint64 index, qint16 value)
{
    if (caption_.SetCaptionAscW(index, value))
        AfterCaptionChange();
}

void UniCaptionWidget::SetCaptionB(const QByteArray &newCaption)
{
    if (caption_.SetCaptionB(newCaption))
        AfterCaptionChange();
}

void UniCaptionWidget::AfterCaptionChange()
{
    CaptionChanged();
    Relayout();
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
    emit Change();
}

void UniCaptionWidget::Relayout()
{
    if (relayoutBusy_)
        return; // a resize made by this very layout comes back here
    relayoutBusy_ = true;
    formatFlags_ = FormatFlagsForAlignment(alignment_, formatFlags_);
    LayoutCaption();
    relayoutBusy_ = false;
    Paint();
}

void UniCaptionWidget::ResizeFromLayout(int width, int height)
{
    resize(std::clamp(width, 0, kMaxLayoutSide), std::clamp(height, 0, kMaxLayoutSide));
}

void UniCaptionWidget::Paint()
{
    if (paintBusy_)
        return;
    paintBusy_ = true;
    Render();
    repaint();
    paintBusy_ = false;
}

void UniCaptionWidget::Render()
{
    if (!CoversDevice(surface_, *this))
        surface_ = DeviceSurface(*this, QImage::Format_RGB32);
    if (surface_.isNull())
        return;
    QPainter painter(&surface_);
    painter.fillRect(rect(), ResolveOleColour(backColor_));
    painter.setFont(font());
    DrawFace(painter);
}

QString UniCaptionWidget::ShownText() const
{
    return CaptionAsShown(caption_.DrawnText());
}

void UniCaptionWidget::InitCommonProperties(qint32 startAlignment)
{
    alignment_ = startAlignment;
    autoRedraw_ = false;
    autoSize_ = false;
    backColor_ = AmbientBackColor();
    foreColor_ = AmbientForeColor();
    wordWrap_ = false;
    caption_.SetCaption(objectName());
}

void UniCaptionWidget::ReadCommonProperties(const PropertyBag &bag, qint32 defaultAlignment)
{
    alignment_ = bag.Read(QStringLiteral("Alignment"), defaultAlignment).toInt();
    autoRedraw_ = bag.Read(QStringLiteral("AutoRedraw"), false).toBool();
    autoSize_ = bag.Read(QStringLiteral("AutoSize"), false).toBool();
    backColor_ = bag.ReadColour(QStringLiteral("BackColor"), AmbientBackColor());
    foreColor_ = bag.ReadColour(QStringLiteral("ForeColor"), AmbientForeColor());
    wordWrap_ = bag.Read(QStringLiteral("WordWrap"), false).toBool();

    const QByteArray bytes =
        bag.Read(QStringLiteral("CaptionB"), UniCaption(objectName()).GetCaptionB()).toByteArray();
    bool lengthOk = false;
    qint64 length = bag.Read(QStringLiteral("CaptionLen"), QVariant()).toLongLong(&lengthOk);
    if (!lengthOk)
        length = bytes.size() / 2;
    caption_.Restore(bytes, length);

    const QVariant storedFont = bag.Read(QStringLiteral("Font"), QVariant());
    // Without a stored font the control takes its container's again.
    setFont(storedFont.canConvert<QFont>() ? storedFont.value<QFont>() : QFont());
}

void UniCaptionWidget::WriteCommonProperties(PropertyBag &bag) const
{
    bag.Write(QStringLiteral("Alignment"), alignment_);
    bag.Write(QStringLiteral("AutoRedraw"), autoRedraw_);
    bag.Write(QStringLiteral("AutoSize"), autoSize_);
    bag.Write(QStringLiteral("BackColor"), backColor_);
    bag.Write(QStringLiteral("CaptionB"), caption_.GetCaptionB());
    bag.Write(QStringLiteral("CaptionLen"), caption_.CaptionLen());
    bag.Write(QStringLiteral("Font"), font());
    bag.Write(QStringLiteral("ForeColor"), foreColor_);
    bag.Write(QStringLiteral("WordWrap"), wordWrap_);
}

void UniCaptionWidget::EmitMouse(const QMouseEvent &event)
{
    const HostMouseArgs args = HostMouseArgsOf(event);
    switch (event.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        emit MouseDown(args.button, args.shift, args.x, args.y);
        break;
    case QEvent::MouseMove:
        emit MouseMove(args.button, args.shift, args.x, args.y);
        break;
    case QEvent::MouseButtonRelease:
        emit MouseUp(args.button, args.shift, args.x, args.y);
        break;
    default:
        break;
    }
}

void UniCaptionWidget::paintEvent(QPaintEvent *)
{
    // Moved to a screen of another pixel ratio: the picture is drawn again for it.
    if (!surface_.isNull() && surface_.devicePixelRatio() != devicePixelRatioF())
        Render();
    QPainter painter(this);
    painter.drawImage(0, 0, surface_);
}

void UniCaptionWidget::resizeEvent(QResizeEvent *)
{
    Relayout();
}

void UniCaptionWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        Relayout();
    QWidget::changeEvent(event);
}

void UniCaptionWidget::mousePressEvent(QMouseEvent *event)
{
    clickPending_ = event->button() == Qt::LeftButton;
    EmitMouse(*event);
}

void UniCaptionWidget::mouseMoveEvent(QMouseEvent *event)
{
    EmitMouse(*event);
}

void UniCaptionWidget::mouseReleaseEvent(QMouseEvent *event)
{
    EmitMouse(*event);
    if (event->button() != Qt::LeftButton)
        return;
    if (clickPending_ && IsOnSurface(event->position()))
        emit Click();
    clickPending_ = false;
}

void UniCaptionWidget::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    // The second left press of a double click raises DblClick in place of MouseDown and Click.
    clickPending_ = false;
    emit DblClick();
}

bool UniCaptionWidget::IsOnSurface(const QPointF &point) const
{
    return point.x() >= 0 && point.y() >= 0 && point.x() < width() && point.y() < height();
}

} // namespace trelvik
