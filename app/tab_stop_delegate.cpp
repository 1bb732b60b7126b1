// SPDX-License-Identifier: GPL-3.0-or-later
#include "tab_stop_delegate.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QTextOption>

namespace trelvik {

QList<int> TabStopPixels(const QList<int> &dialogUnits, const QFont &font)
{
    const int average = QFontMetrics(font).averageCharWidth();
    QList<int> pixels;
    for (const int units : dialogUnits)
        pixels << units * average / 4;
    return pixels;
}

void TabStopDelegate::paint(QPainter *painter,
                            const QStyleOptionViewItem &option,
                            const QModelIndex &index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QString text = item.text;
    item.text.clear();
    const QStyle *style = item.widget ? item.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);

    QTextOption layout;
    layout.setWrapMode(QTextOption::NoWrap);
    layout.setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QList<QTextOption::Tab> tabs;
    for (const int pixels : TabStopPixels(dialogUnits_, item.font))
        tabs << QTextOption::Tab(pixels, QTextOption::LeftTab);
    layout.setTabs(tabs);

    const QRect textRect =
        style->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget).adjusted(2, 0, 0, 0);
    painter->save();
    painter->setFont(item.font);
    painter->setPen(item.palette.color(
        (item.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text));
    painter->setClipRect(textRect);
    // Tab positions count from the left of the text rectangle.
    painter->drawText(QRectF(textRect), text, layout);
    painter->restore();
}

QSize TabStopDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    const QFontMetrics metrics(option.font);
    size.setHeight(std::max(size.height(), metrics.height()));
    return size;
}

} // namespace trelvik
