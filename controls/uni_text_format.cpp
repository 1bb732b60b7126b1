// SPDX-License-Identifier: GPL-3.0-or-later
#include "uni_text_format.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

namespace trelvik {

quint32 FormatFlagsForAlignment(qint32 alignment, quint32 previous)
{
    switch (alignment) {
    case 0:
        return kDtLeft;
    case 1:
        return kDtRight;
    case 2:
        return kDtCenter;
    default:
        return previous;
    }
}

int QtTextFlags(quint32 formatFlags)
{
    int flags = Qt::AlignTop | Qt::TextShowMnemonic;
    if (formatFlags & kDtRight)
        flags |= Qt::AlignRight;
    else if (formatFlags & kDtCenter)
        flags |= Qt::AlignHCenter;
    else
        flags |= Qt::AlignLeft;
    if (formatFlags & kDtWordBreak)
        flags |= Qt::TextWordWrap;
    if (formatFlags & kDtNoClip)
        flags |= Qt::TextDontClip;
    return flags;
}

QString CaptionForLayout(const QString &caption)
{
    QString text = caption;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString CaptionAsShown(const QString &caption)
{
    const QString text = CaptionForLayout(caption);
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'&' && ++i == text.size())
            break;
        shown.append(text.at(i));
    }
    return shown;
}

WinRect
MeasureCaption(const QFont &font, const WinRect &rect, quint32 formatFlags, const QString &caption)
{
    const QFontMetrics metrics(font);
    // Only the width bounds the layout; the height of the measuring rectangle is ignored.
    const QRect bounds(rect.left, rect.top, std::max(rect.width(), 0), 0);
    const QRect extent = metrics.boundingRect(bounds, QtTextFlags(formatFlags & ~kDtCalcRect),
                                              CaptionForLayout(caption));
    return WinRect{rect.left, rect.top, rect.left + extent.width(), rect.top + extent.height()};
}

void DrawCaption(QPainter &painter,
                 const WinRect &rect,
                 quint32 formatFlags,
                 const QString &caption)
{
    painter.drawText(rect.toQRect(), QtTextFlags(formatFlags & ~kDtCalcRect),
                     CaptionForLayout(caption));
}

} // namespace trelvik
