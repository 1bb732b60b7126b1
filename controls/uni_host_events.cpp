// SPDX-License-Identifier: GPL-3.0-or-later
#include "uni_host_events.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>

namespace trelvik {

namespace {

qint16 HostButtonsOf(Qt::MouseButtons buttons)
{
    qint16 result = 0;
    if (buttons & Qt::LeftButton)
        result |= kHostLeftButton;
    if (buttons & Qt::RightButton)
        result |= kHostRightButton;
    if (buttons & Qt::MiddleButton)
        result |= kHostMiddleButton;
    return result;
}

} // namespace

HostMouseArgs HostMouseArgsOf(const QMouseEvent &event)
{
    HostMouseArgs args;
    args.button = event.type() == QEvent::MouseMove ? HostButtonsOf(event.buttons())
                                                    : HostButtonsOf(event.button());
    args.shift = HostShiftOf(event.modifiers());
    args.x = static_cast<float>(event.position().x());
    args.y = static_cast<float>(event.position().y());
    return args;
}

qint16 HostShiftOf(Qt::KeyboardModifiers modifiers)
{
    qint16 shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= 1;
    if (modifiers & Qt::ControlModifier)
        shift |= 2;
    if (modifiers & Qt::AltModifier)
        shift |= 4;
    return shift;
}

qint16 HostKeyCodeOf(int qtKey)
{
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return static_cast<qint16>(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return static_cast<qint16>(112 + (qtKey - Qt::Key_F1));
    switch (qtKey) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Pause:
        return 19;
    case Qt::Key_CapsLock:
        return 20;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    default:
        return 0;
    }
}

qint16 HostKeyAsciiOf(const QKeyEvent &event)
{
    const QString text = event.text();
    if (text.size() != 1)
        return 0;
    return static_cast<qint16>(text.at(0).unicode());
}

bool HostCursorOf(qint32 mousePointer, const QPixmap &mouseIcon, QCursor &cursor)
{
    static constexpr Qt::CursorShape kShapes[] = {
        Qt::ArrowCursor,     Qt::ArrowCursor,   Qt::CrossCursor,     Qt::IBeamCursor,
        Qt::ArrowCursor,     Qt::SizeAllCursor, Qt::SizeBDiagCursor, Qt::SizeVerCursor,
        Qt::SizeFDiagCursor, Qt::SizeHorCursor, Qt::UpArrowCursor,   Qt::WaitCursor,
        Qt::ForbiddenCursor, Qt::BusyCursor,    Qt::WhatsThisCursor, Qt::SizeAllCursor,
    };
    if (mousePointer == 99) {
        if (mouseIcon.isNull())
            return false;
        cursor = QCursor(mouseIcon);
        return true;
    }
    if (mousePointer < 1 || mousePointer > 15)
        return false;
    cursor = QCursor(kShapes[mousePointer]);
    return true;
}

} // namespace trelvik
