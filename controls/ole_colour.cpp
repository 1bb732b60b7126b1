// SPDX-License-Identifier: GPL-3.0-or-later
#include "ole_colour.h"

#include <QApplication>
#include <QPalette>

namespace trelvik {

namespace {

QColor SystemColour(int index)
{
    const QPalette palette = QApplication::palette();
    switch (index) {
    case kColourScrollBar:
        return palette.color(QPalette::Button);
    case kColourDesktop:
    case kColourMenu:
        return palette.color(QPalette::Window);
    case kColourWindow:
        return palette.color(QPalette::Base);
    case kColourWindowFrame:
    case kColour3DDarkShadow:
        return palette.color(QPalette::Shadow);
    case kColourMenuText:
        return palette.color(QPalette::WindowText);
    case kColourWindowText:
        return palette.color(QPalette::Text);
    case kColourHighlight:
        return palette.color(QPalette::Highlight);
    case kColourHighlightText:
        return palette.color(QPalette::HighlightedText);
    case kColourButtonFace:
        return palette.color(QPalette::Button);
    case kColourButtonShadow:
        return palette.color(QPalette::Dark);
    case kColourGrayText:
        return palette.color(QPalette::Disabled, QPalette::Text);
    case kColourButtonText:
        return palette.color(QPalette::ButtonText);
    case kColourButtonHighlight:
        return palette.color(QPalette::Light);
    case kColour3DLight:
        return palette.color(QPalette::Midlight);
    case kColourInfoText:
        return palette.color(QPalette::ToolTipText);
    case kColourInfoBackground:
        return palette.color(QPalette::ToolTipBase);
    default:
        return palette.color(QPalette::Window);
    }
}

} // namespace

QColor ResolveOleColour(quint32 oleColour)
{
    if (oleColour & kOleSystemColour)
        return SystemColour(static_cast<int>(oleColour & 0xFFu));
    return QColor(static_cast<int>(oleColour & 0xFFu), static_cast<int>((oleColour >> 8) & 0xFFu),
                  static_cast<int>((oleColour >> 16) & 0xFFu));
}

quint32 OleColourFromQColor(const QColor &colour)
{
    const QRgb rgb = colour.rgb();
    return static_cast<quint32>(qRed(rgb)) | (static_cast<quint32>(qGreen(rgb)) << 8)
           | (static_cast<quint32>(qBlue(rgb)) << 16);
}

} // namespace trelvik
