// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QStyledItemDelegate>

class QFont;

namespace trelvik {

// Tab stops given in dialog units turned into pixels for a font: a horizontal dialog unit is a
// quarter of the font's average character width.
QList<int> TabStopPixels(const QList<int> &dialogUnits, const QFont &font);

// Draws list rows whose columns are separated by tab characters, each column starting at the
// next tab stop, so rows of "name<TAB>numbers<TAB>numbers" line up in columns.
class TabStopDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit TabStopDelegate(QObject *parent = nullptr)
        : QStyledItemDelegate(parent)
    {}

    // Stops in dialog units, as the list boxes are given them.
    void SetTabStops(const QList<int> &dialogUnits) { dialogUnits_ = dialogUnits; }
    const QList<int> &TabStops() const { return dialogUnits_; }

    void paint(QPainter *painter,
               const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    QList<int> dialogUnits_;
};

} // namespace trelvik
