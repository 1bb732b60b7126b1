// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "uni_caption_widget.h"

namespace trelvik {

class PropertyBag;

// A label whose caption is any Unicode text. It can size itself to its caption (with or without
// word wrap), draws in pixels of its own surface, and forwards clicks and mouse events.
class UniLabel : public UniCaptionWidget
{
    Q_OBJECT

public:
    static constexpr qint32 kStartAlignment = 0;

    explicit UniLabel(QWidget *parent = nullptr);

    // The start values of a new label; its caption is its objectName().
    void InitProperties();
    // Missing keys take their defaults: the caption the objectName(), the colours and font the
    // container's.
    void ReadProperties(const PropertyBag &bag);
    void WriteProperties(PropertyBag &bag) const;

protected:
    void LayoutCaption() override;
    void DrawFace(QPainter &painter) override;
};

} // namespace trelvik
