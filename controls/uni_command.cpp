// SPDX-License-Identifier: GPL-3.0-or-later
#include "uni_command.h"

#include "edge_drawing.h"
#include "property_bag.h"
#include "uni_host_events.h"
#include "uni_text_format.h"

#include <QCursor>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>

namespace trelvik {

namespace {

// Margin between the surface's edge and the caption area: room for the two-pixel border and
// the default frame.
constexpr int kMargin = 3;

int FloorHalf(int value)
{
    return value >= 0 ? value / 2 : -((-value + 1) / 2);
}

} // namespace

UniCommand::UniCommand(QWidget *parent)
    : UniCaptionWidget(kStartAlignment, parent)
{
    setFocusPolicy(Qt::StrongFocus);
    Relayout();
}

QPoint UniCommand::PressOffsetFor(qint32 clickDepth)
{
    switch (clickDepth) {
    case 1:
        return QPoint(0, 1);
    case 2:
        return QPoint(1, 0);
    case 3:
        return QPoint(1, 1);
    case 4:
        return QPoint(1, 2);
    case 5:
        return QPoint(2, 1);
    case 6:
        return QPoint(2, 2);
    default:
        return QPoint(0, 0);
    }
}

void UniCommand::SetBorderDown(qint32 style)
{
    if (style == borderDown_)
        return;
    borderDown_ = style;
    Paint();
}

void UniCommand::SetBorderUp(qint32 style)
{
    if (style == borderUp_)
        return;
    borderUp_ = style;
    Paint();
}

void UniCommand::SetClickDepth(qint32 depth)
{
    if (depth == clickDepth_)
        return;
    clickDepth_ = depth;
    pressOffset_ = PressOffsetFor(depth);
    Paint();
}

void UniCommand::SetFillColor(quint32 colour)
{
    fillColor_ = colour;
    Paint();
}

void UniCommand::SetMouseIcon(const QPixmap &icon)
{
    mouseIcon_ = icon;
    ApplyCursor();
}

void UniCommand::SetMousePointer(qint32 pointer)
{
    mousePointer_ = pointer;
    ApplyCursor();
}

void UniCommand::SetShowFocus(bool showFocus)
{
    if (showFocus == showFocus_)
        return;
    showFocus_ = showFocus;
    if (hasFocus_)
        Paint();
}

void UniCommand::SetDefault(bool isDefault)
{
    if (isDefault == isDefault_)
        return;
    isDefault_ = isDefault;
    Paint();
}

void UniCommand::InitProperties()
{
    InitCommonProperties(kStartAlignment);
    borderDown_ = kStartBorderDown;
    borderUp_ = kStartBorderUp;
    clickDepth_ = kStartClickDepth;
    fillColor_ = kStartFillColor;
    showFocus_ = false;
    mouseIcon_ = QPixmap();
    mousePointer_ = 0;
    currentBorder_ = borderUp_;
    pressOffset_ = PressOffsetFor(clickDepth_);
    ApplyCursor();
    SetAccessKey();
    Relayout();
}

void UniCommand::ReadProperties(const PropertyBag &bag)
{
    ReadCommonProperties(bag, kStartAlignment);
    borderDown_ = bag.Read(QStringLiteral("BorderDown"), kStartBorderDown).toInt();
    borderUp_ = bag.Read(QStringLiteral("BorderUp"), kStartBorderUp).toInt();
    clickDepth_ = bag.Read(QStringLiteral("ClickDepth"), kStartClickDepth).toInt();
    fillColor_ = bag.ReadColour(QStringLiteral("FillColor"), kStartFillColor);
    mouseIcon_ = bag.Read(QStringLiteral("MouseIcon"), QPixmap()).value<QPixmap>();
    mousePointer_ = bag.Read(QStringLiteral("MousePointer"), 0).toInt();
    showFocus_ = bag.Read(QStringLiteral("ShowFocus"), false).toBool();
    currentBorder_ = borderUp_;
    pressOffset_ = PressOffsetFor(clickDepth_);
    ApplyCursor();
    Relayout();
    SetAccessKey();
}

void UniCommand::WriteProperties(PropertyBag &bag) const
{
    WriteCommonProperties(bag);
    bag.Write(QStringLiteral("BorderDown"), borderDown_);
    bag.Write(QStringLiteral("BorderUp"), borderUp_);
    bag.Write(QStringLiteral("ClickDepth"), clickDepth_);
    bag.Write(QStringLiteral("FillColor"), fillColor_);
    if (!mouseIcon_.isNull())
        bag.Write(QStringLiteral("MouseIcon"), mouseIcon_);
    bag.Write(QStringLiteral("MousePointer"), mousePointer_);
    bag.Write(QStringLiteral("ShowFocus"), showFocus_);
}

void UniCommand::LayoutCaption()
{
    const int surfaceWidth = width();
    const int surfaceHeight = height();
    const WinRect inner{kMargin, kMargin, surfaceWidth - kMargin, kMargin};
    if (!autoSize_) {
        textRect_ = WinRect{kMargin, kMargin, surfaceWidth - kMargin, surfaceHeight - kMargin};
        WinRect measuring{0, 0, 0, 0};
        if (wordWrap_) {
            formatFlags_ |= kDtWordBreak;
            measuring.right = surfaceWidth;
        }
        if (caption_.CaptionLen() > 0) {
            // Centres the caption vertically; the sides keep their margins.
            const int textHeight =
                MeasureCaption(font(), measuring, formatFlags_ | kDtCalcRect, caption_.DrawnText())
                    .bottom;
            textRect_.top = FloorHalf(surfaceHeight - textHeight);
            textRect_.bottom = surfaceHeight - textRect_.top;
        }
        return;
    }
    if (!wordWrap_) {
        formatFlags_ |= kDtNoClip;
        textRect_ = MeasureCaption(font(), inner, formatFlags_ | kDtCalcRect, caption_.DrawnText());
        ResizeFromLayout(textRect_.right + 2 * kMargin, textRect_.bottom + 2 * kMargin);
        textRect_.left = 5;
        textRect_.top = 4;
        return;
    }
    formatFlags_ |= kDtWordBreak;
    textRect_ = MeasureCaption(font(), inner, formatFlags_ | kDtCalcRect, caption_.DrawnText());
    ResizeFromLayout(surfaceWidth, textRect_.bottom + 2 * kMargin);
    textRect_.right = surfaceWidth - kMargin;
}

void UniCommand::DrawFace(QPainter &painter)
{
    if (caption_.CaptionLen() > 0 && foreColor_ != backColor_) {
        WinRect rect = textRect_;
        if (currentBorder_ == borderDown_) {
            rect.left += pressOffset_.x();
            rect.right += pressOffset_.x();
            rect.top += pressOffset_.y();
            rect.bottom += pressOffset_.y();
        }
        painter.setPen(ResolveOleColour(foreColor_));
        DrawCaption(painter, rect, formatFlags_, caption_.DrawnText());
    }
    if (currentBorder_ != 0) {
        if (isDefault_) {
            DrawEdge(painter, DefaultEdgeRect(), currentBorder_, BF_RECT);
            const QColor frame = ResolveOleColour(fillColor_);
            const int w = width();
            const int h = height();
            painter.fillRect(QRect(0, 0, 1, h), frame);
            painter.fillRect(QRect(0, 0, w, 1), frame);
            painter.fillRect(QRect(w - 1, 1, 1, h - 1), frame);
            painter.fillRect(QRect(1, h - 1, w - 2, 1), frame);
        } else {
            DrawEdge(painter, OuterRect(), currentBorder_, BF_RECT);
        }
    }
    if ((showFocus_ && hasFocus_) || keyboardFocus_)
        DrawFocusRect(painter, FocusRectArea());
}

void UniCommand::CaptionChanged()
{
    SetAccessKey();
}

void UniCommand::SetAccessKey()
{
    if (shortcutId_ != 0) {
        releaseShortcut(shortcutId_);
        shortcutId_ = 0;
    }
    accessKey_ = caption_.AccessKey();
    if (!accessKey_)
        return;
    const QChar key = QChar(*accessKey_).toUpper();
    // A zero code unit or half a surrogate pair names no key that could be typed.
    if (key.isNull() || key.isSurrogate())
        return;
    shortcutId_ = grabShortcut(
        QKeySequence(QKeyCombination(Qt::AltModifier, static_cast<Qt::Key>(key.unicode()))),
        Qt::WindowShortcut);
}

void UniCommand::ApplyCursor()
{
    QCursor cursor;
    if (HostCursorOf(mousePointer_, mouseIcon_, cursor))
        setCursor(cursor);
    else
        unsetCursor();
}

void UniCommand::SetCurrentBorder(qint32 style)
{
    currentBorder_ = style;
    Paint();
}

bool UniCommand::event(QEvent *event)
{
    if (event->type() == QEvent::Shortcut) {
        const auto *shortcut = static_cast<QShortcutEvent *>(event);
        if (shortcutId_ != 0 && shortcut->shortcutId() == shortcutId_) {
            // Two controls with the same key: the key moves the focus instead of clicking.
            if (shortcut->isAmbiguous())
                setFocus(Qt::ShortcutFocusReason);
            else
                emit Click();
            return true;
        }
    }
    return UniCaptionWidget::event(event);
}

void UniCommand::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        SetCurrentBorder(borderDown_);
    EmitMouse(*event);
}

void UniCommand::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() == Qt::LeftButton) {
        const bool inside = IsOnSurface(event->position());
        if (!inside && currentBorder_ == borderDown_)
            SetCurrentBorder(borderUp_);
        else if (inside && currentBorder_ == borderUp_)
            SetCurrentBorder(borderDown_);
    }
    EmitMouse(*event);
}

void UniCommand::mouseReleaseEvent(QMouseEvent *event)
{
    const bool left = event->button() == Qt::LeftButton;
    if (left)
        SetCurrentBorder(borderUp_);
    EmitMouse(*event);
    if (left && IsOnSurface(event->position()))
        emit Click();
}

void UniCommand::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    SetCurrentBorder(borderDown_);
    emit DblClick();
}

void UniCommand::keyPressEvent(QKeyEvent *event)
{
    const qint16 keyCode = HostKeyCodeOf(event->key());
    if (keyCode == 32)
        SetCurrentBorder(borderDown_);
    emit KeyDown(keyCode, HostShiftOf(event->modifiers()));
    if (const qint16 keyAscii = HostKeyAsciiOf(*event); keyAscii != 0)
        emit KeyPress(keyAscii);
    // Keys other than Space go on to the container as well (Enter and Escape for the dialog).
    event->setAccepted(keyCode == 32);
}

void UniCommand::keyReleaseEvent(QKeyEvent *event)
{
    if (event->isAutoRepeat())
        return; // a held key repeats KeyDown only
    const qint16 keyCode = HostKeyCodeOf(event->key());
    if (keyCode == 32)
        SetCurrentBorder(borderUp_);
    emit KeyUp(keyCode, HostShiftOf(event->modifiers()));
    event->setAccepted(keyCode == 32);
}

void UniCommand::focusInEvent(QFocusEvent *event)
{
    // ShowFocus tracks the focus only while it is set; focus that came by keyboard shows anyway.
    const Qt::FocusReason reason = event->reason();
    keyboardFocus_ = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason
                     || reason == Qt::ShortcutFocusReason;
    if (showFocus_)
        hasFocus_ = true;
    if (showFocus_ || keyboardFocus_)
        Paint();
    UniCaptionWidget::focusInEvent(event);
}

void UniCommand::focusOutEvent(QFocusEvent *event)
{
    if (showFocus_)
        hasFocus_ = false;
    keyboardFocus_ = false;
    if (currentBorder_ == borderDown_)
        currentBorder_ = borderUp_;
    Paint();
    UniCaptionWidget::focusOutEvent(event);
}

} // namespace trelvik
