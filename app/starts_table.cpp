// SPDX-License-Identifier: GPL-3.0-or-later
#include "starts_table.h"

#include "core_texts.h"

#include <array>

#include <QBrush>
#include <QCoreApplication>
#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

namespace trelvik {
namespace {

// Column headers, short enough for the panel, in the order of StartMeasure.
constexpr std::array<const char *, kStartMeasureCount> kHeaders = {
    QT_TRANSLATE_NOOP("StartsTable", "Sites"),   QT_TRANSLATE_NOOP("StartsTable", "Huts"),
    QT_TRANSLATE_NOOP("StartsTable", "Houses"),  QT_TRANSLATE_NOOP("StartsTable", "Castles"),
    QT_TRANSLATE_NOOP("StartsTable", "Mines"),   QT_TRANSLATE_NOOP("StartsTable", "Coal"),
    QT_TRANSLATE_NOOP("StartsTable", "Iron"),    QT_TRANSLATE_NOOP("StartsTable", "Gold"),
    QT_TRANSLATE_NOOP("StartsTable", "Granite"), QT_TRANSLATE_NOOP("StartsTable", "Trees"),
    QT_TRANSLATE_NOOP("StartsTable", "Stones"),  QT_TRANSLATE_NOOP("StartsTable", "Water"),
    QT_TRANSLATE_NOOP("StartsTable", "Fish"),    QT_TRANSLATE_NOOP("StartsTable", "To mine")};

// The highlight of the least even measure: a soft amber that dark text stays readable on.
const QColor kLeastEven(255, 214, 153);

QString Ratio(double value)
{
    return QString::number(value, 'f', 2);
}

} // namespace

void ShowStarts(QLabel *caption, QTableWidget *table, const std::optional<FairnessReport> &report)
{
    table->clear();
    table->setColumnCount(static_cast<int>(kStartMeasureCount));
    for (std::size_t m = 0; m < kStartMeasureCount; ++m)
        table->setHorizontalHeaderItem(
            static_cast<int>(m),
            new QTableWidgetItem(QCoreApplication::translate("StartsTable", kHeaders[m])));
    if (!report || report->Players.empty()) {
        table->setRowCount(0);
        caption->setText(report ? QCoreApplication::translate(
                             "StartsTable", "No headquarters is marked on the map.")
                                : QCoreApplication::translate(
                                    "StartsTable", "The map's layers do not hold all its points."));
        return;
    }
    const StartMeasure worst = report->Worst();
    const auto worstColumn = static_cast<int>(worst);
    caption->setText(
        QCoreApplication::translate("StartsTable", "Within %1 steps; least even: %2 (%3)")
            .arg(report->Radius)
            .arg(CoreText(StartMeasureName(worst)), Ratio(report->BalanceOf(worst))));
    table->setRowCount(static_cast<int>(report->Players.size()));
    for (std::size_t m = 0; m < kStartMeasureCount; ++m) {
        const auto measure = static_cast<StartMeasure>(m);
        QTableWidgetItem *header = table->horizontalHeaderItem(static_cast<int>(m));
        header->setToolTip(
            QCoreApplication::translate("StartsTable", "%1: smallest / largest %2")
                .arg(CoreText(StartMeasureName(measure)), Ratio(report->BalanceOf(measure))));
        if (static_cast<int>(m) == worstColumn) {
            QFont bold = header->font();
            bold.setBold(true);
            header->setFont(bold);
        }
    }
    for (std::size_t row = 0; row < report->Players.size(); ++row) {
        const PlayerStart &start = report->Players[row];
        auto *name = new QTableWidgetItem(
            QCoreApplication::translate("StartsTable", "P%1").arg(start.Player + 1));
        name->setToolTip(
            QCoreApplication::translate("StartsTable", "Player %1: headquarters at %2 x %3")
                .arg(start.Player + 1)
                .arg(start.At.X)
                .arg(start.At.Y));
        table->setVerticalHeaderItem(static_cast<int>(row), name);
        for (std::size_t m = 0; m < kStartMeasureCount; ++m) {
            const int64_t value = start.Values[m];
            auto *cell =
                new QTableWidgetItem(value < 0 ? QCoreApplication::translate("StartsTable", "none")
                                               : QString::number(value));
            cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            cell->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            if (static_cast<int>(m) == worstColumn)
                cell->setBackground(QBrush(kLeastEven));
            table->setItem(static_cast<int>(row), static_cast<int>(m), cell);
        }
    }
    table->resizeColumnsToContents();
    // The least even measure in sight.
    table->scrollToItem(table->item(0, worstColumn), QAbstractItemView::PositionAtCenter);
}

} // namespace trelvik
