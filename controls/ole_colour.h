// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QtGlobal>

namespace trelvik {

// Flag of an OLE colour that names a system colour by its low byte instead of giving RGB.
inline constexpr quint32 kOleSystemColour = 0x80000000u;

// System colour indices used by the controls (the low byte of a system OLE colour).
enum SystemColourIndex : int {
    kColourScrollBar = 0,
    kColourDesktop = 1,
    kColourMenu = 4,
    kColourWindow = 5,
    kColourWindowFrame = 6,
    kColourMenuText = 7,
    kColourWindowText = 8,
    kColourHighlight = 13,
    kColourHighlightText = 14,
    kColourButtonFace = 15,
    kColourButtonShadow = 16,
    kColourGrayText = 17,
    kColourButtonText = 18,
    kColourButtonHighlight = 20,
    kColour3DDarkShadow = 21,
    kColour3DLight = 22,
    kColourInfoText = 23,
    kColourInfoBackground = 24,
};

// The OLE colour that names system colour `index`.
constexpr quint32 SystemOleColour(int index)
{
    return kOleSystemColour | (static_cast<quint32>(index) & 0xFFu);
}

// Turns an OLE colour into the colour to draw: with the top bit set the low byte picks a role
// of the application's palette (so the controls follow the desktop theme as the original
// followed the system colours); otherwise the value is 0x00BBGGRR.
QColor ResolveOleColour(quint32 oleColour);

// The RGB OLE colour (0x00BBGGRR) of a colour; never a system colour.
quint32 OleColourFromQColor(const QColor &colour);

} // namespace trelvik
