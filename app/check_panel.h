// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/map_check.h"

#include <optional>

#include <QAbstractTableModel>
#include <QFont>
#include <QIcon>
#include <QWidget>

class QLabel;
class QPushButton;
class QTreeView;

namespace trelvik {

// The findings of a map check as rows: severity (an icon, errors in bold), code, point and text.
class CheckFindingsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { SeverityColumn, CodeColumn, PointColumn, TextColumn, ColumnCount };

    explicit CheckFindingsModel(QObject *parent = nullptr);

    void SetReport(CheckReport report);
    const CheckReport &Report() const { return report_; }
    // The font of the error rows: the view's own, made bold.
    void SetErrorFont(const QFont &font) { errorFont_ = font; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant
    headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    CheckReport report_;
    QFont errorFont_;
    QIcon errorIcon_;
    QIcon warningIcon_;
};

// The report's line above the findings, as the core's Summary() says it, in the window's
// language: "2 errors, 1 warning" or "no problems found".
QString SummaryText(const CheckReport &report);

// "x, y", or nothing for a finding of the whole map.
QString PointText(const std::optional<Point> &at);

// The map check's panel: the summary, the findings and the button that fixes the one chosen.
// Choosing a finding (by mouse or keyboard, or clicking it again) tells its point; the button
// says what the chosen finding's fix does and is disabled when it has none.
class CheckPanel : public QWidget
{
    Q_OBJECT

public:
    explicit CheckPanel(QWidget *parent = nullptr);

    // Shows a report. A finding equal to the one chosen before stays chosen, quietly.
    void ShowReport(CheckReport report);
    // No map to check: says so and lists nothing.
    void ShowNoMap();
    const CheckReport &Report() const { return model_->Report(); }
    std::optional<Finding> Chosen() const;

signals:
    void FindingChosen(const trelvik::Finding &finding);
    void FixAsked(const trelvik::Finding &finding);

private:
    void ChooseRow(const QModelIndex &index);
    void UpdateFixButton();
    // The severity, code and point columns as wide as what they show.
    void FitColumns();

    QLabel *summary_ = nullptr;
    QPushButton *fix_ = nullptr;
    QTreeView *list_ = nullptr;
    CheckFindingsModel *model_ = nullptr;
    // Set while a refreshed list takes back the finding chosen before.
    bool restoring_ = false;
};

} // namespace trelvik
