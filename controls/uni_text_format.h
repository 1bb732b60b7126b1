// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "win_rect.h"

#include <QString>
#include <QtGlobal>

class QFont;
class QPainter;

namespace trelvik {

// Flags of the text-drawing call as the Unicode label and button keep them in FormatFlags.
inline constexpr quint32 kDtLeft = 0x0;
inline constexpr quint32 kDtCenter = 0x1;
inline constexpr quint32 kDtRight = 0x2;
inline constexpr quint32 kDtWordBreak = 0x10;
inline constexpr quint32 kDtNoClip = 0x100;
inline constexpr quint32 kDtCalcRect = 0x400;

// FormatFlags for an Alignment value (0 left, 1 right, 2 centre), or `previous` for any other.
quint32 FormatFlagsForAlignment(qint32 alignment, quint32 previous);

// The Qt text flags matching FormatFlags: horizontal alignment, top alignment, word wrap, no
// clipping, and always the access-key underline (an ampersand pair shows one ampersand).
int QtTextFlags(quint32 formatFlags);

// Line breaks as one code unit each: CR LF and a lone CR both start a new line like LF.
QString CaptionForLayout(const QString &caption);

// The text a reader sees of a caption drawn with CaptionForLayout and QtTextFlags: the access
// key's marking ampersand dropped (a lone one at the end too), an ampersand pair as one.
QString CaptionAsShown(const QString &caption);

// Measures `caption` laid out into `rect` (whose width matters only with word break) and
// returns `rect` with its right and bottom moved to enclose the text: right to left plus the
// widest line, bottom to top plus the height of all lines.
WinRect
MeasureCaption(const QFont &font, const WinRect &rect, quint32 formatFlags, const QString &caption);

// Draws `caption` into `rect` with the painter's font and pen, clipped to `rect` unless
// kDtNoClip is set.
void DrawCaption(QPainter &painter,
                 const WinRect &rect,
                 quint32 formatFlags,
                 const QString &caption);

} // namespace trelvik
