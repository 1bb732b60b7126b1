// SPDX-License-Identifier: GPL-3.0-or-later
#include "uni_label.h"

#include "uni_text_format.h"

#include <QPainter>

namespace trelvik {

UniLabel::UniLabel(QWidget *parent)
    : UniCaptionWidget(kStartAlignment, parent)
{
    Relayout();
}

void UniLabel::InitProperties()
{
    InitCommonProperties(kStartAlignment);
    Relayout();
}

void UniLabel::ReadProperties(const PropertyBag &bag)
{
    ReadCommonProperties(bag, kStartAlignment);
    Relayout();
}

void UniLabel::WriteProperties(PropertyBag &bag) const
{
    WriteCommonProperties(bag);
}

void UniLabel::LayoutCaption()
{
    const int surfaceWidth = width();
    if (!autoSize_) {
        textRect_ = WinRect{0, 0, surfaceWidth, height()};
        if (wordWrap_)
            formatFlags_ |= kDtWordBreak;
        return;
    }
    if (!wordWrap_) {
        // Drawn unclipped, so glyphs that overhang the measured extent still show whole.
        formatFlags_ |= kDtNoClip;
        textRect_ = MeasureCaption(font(), WinRect{0, 0, surfaceWidth, 0},
                                   formatFlags_ | kDtCalcRect, caption_.DrawnText());
        ResizeFromLayout(textRect_.right, textRect_.bottom);
        return;
    }
    formatFlags_ |= kDtWordBreak;
    textRect_ = MeasureCaption(font(), WinRect{0, 0, surfaceWidth, 0}, formatFlags_ | kDtCalcRect,
                               caption_.DrawnText());
    ResizeFromLayout(surfaceWidth, textRect_.bottom);
    textRect_.right = surfaceWidth;
}

void UniLabel::DrawFace(QPainter &painter)
{
    // A caption in the background's own colour is not drawn at all.
    if (caption_.CaptionLen() < 1 || foreColor_ == backColor_)
        return;
    painter.setPen(ResolveOleColour(foreColor_));
    DrawCaption(painter, textRect_, formatFlags_, caption_.DrawnText());
}

} // namespace trelvik
