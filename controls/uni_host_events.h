// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>
#include <qnamespace.h>

class QCursor;
class QKeyEvent;
class QMouseEvent;
class QPixmap;

namespace trelvik {

// Mouse button bits of the host's mouse events.
inline constexpr qint16 kHostLeftButton = 1;
inline constexpr qint16 kHostRightButton = 2;
inline constexpr qint16 kHostMiddleButton = 4;

// The arguments of a host mouse event: Button, Shift and the position in pixels.
struct HostMouseArgs
{
    qint16 button = 0;
    qint16 shift = 0;
    float x = 0;
    float y = 0;
};

// For a press or release: the one button that changed. For a move: every button held.
HostMouseArgs HostMouseArgsOf(const QMouseEvent &event);

// Shift 1, Ctrl 2, Alt 4 of the event's keyboard modifiers.
qint16 HostShiftOf(Qt::KeyboardModifiers modifiers);

// The host's key code of a key (letters and digits as their upper-case character code, Space 32,
// Enter 13, the arrows 37 to 40, F1 112, ...); 0 for a key without one.
qint16 HostKeyCodeOf(int qtKey);

// The character code of a key press that types one UTF-16 code unit, or 0.
qint16 HostKeyAsciiOf(const QKeyEvent &event);

// The cursor of a host MousePointer value (0 the default, 1 arrow, 2 cross, 3 I-beam, 5 and 15
// size all, 6 to 9 the four sizing arrows, 10 up arrow, 11 hourglass, 12 no drop, 13 arrow and
// hourglass, 14 arrow and question mark, 99 the custom MouseIcon). Returns false where the
// control should show its container's cursor: pointer 0, an unknown value, or 99 without icon.
bool HostCursorOf(qint32 mousePointer, const QPixmap &mouseIcon, QCursor &cursor);

} // namespace trelvik
