// SPDX-License-Identifier: GPL-3.0-or-later
#include "check_panel.h"

#include "core_texts.h"

#include <algorithm>
#include <limits>

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTreeView>
#include <QVBoxLayout>

namespace trelvik {

QString SummaryText(const CheckReport &report)
{
    const std::size_t errors = report.Count(Severity::Error);
    const std::size_t warnings = report.Count(Severity::Warning);
    if (errors == 0 && warnings == 0)
        return CheckPanel::tr("no problems found");
    // As many forms as English has; a language with more would need plural forms here.
    const QString errorText =
        errors == 1 ? CheckPanel::tr("1 error") : CheckPanel::tr("%1 errors").arg(errors);
    const QString warningText =
        warnings == 1 ? CheckPanel::tr("1 warning") : CheckPanel::tr("%1 warnings").arg(warnings);
    return QStringLiteral("%1, %2").arg(errorText, warningText);
}

QString PointText(const std::optional<Point> &at)
{
    return at ? QStringLiteral("%1, %2").arg(at->X).arg(at->Y) : QString();
}

CheckFindingsModel::CheckFindingsModel(QObject *parent)
    : QAbstractTableModel(parent)
    , errorIcon_(QApplication::style()->standardIcon(QStyle::SP_MessageBoxCritical))
    , warningIcon_(QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning))
{}

void CheckFindingsModel::SetReport(CheckReport report)
{
    beginResetModel();
    report_ = std::move(report);
    endResetModel();
}

int CheckFindingsModel::rowCount(const QModelIndex &parent) const
{
    // A view counts its rows in an int; a report never comes near that.
    return parent.isValid() ? 0
                            : static_cast<int>(std::min<std::size_t>(
                                report_.Findings.size(), std::numeric_limits<int>::max()));
}

int CheckFindingsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CheckFindingsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Finding &finding = report_.Findings[static_cast<std::size_t>(index.row())];
    const bool error = finding.Level == Severity::Error;
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case SeverityColumn:
            return CoreText(SeverityName(finding.Level));
        case CodeColumn:
            return QString::fromStdString(finding.Code);
        case PointColumn:
            return PointText(finding.At);
        case TextColumn:
            return QString::fromStdString(finding.Text);
        default:
            return {};
        }
    case Qt::DecorationRole:
        if (index.column() == SeverityColumn)
            return error ? errorIcon_ : warningIcon_;
        return {};
    case Qt::FontRole:
        if (error)
            return errorFont_;
        return {};
    case Qt::ToolTipRole:
        // The sentence is often wider than its column.
        return QString::fromStdString(finding.Text);
    default:
        return {};
    }
}

QVariant CheckFindingsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char *const captions[ColumnCount] = {QT_TR_NOOP("Severity"), QT_TR_NOOP("Code"),
                                                      QT_TR_NOOP("Point"), QT_TR_NOOP("Finding")};
    return section >= 0 && section < ColumnCount ? tr(captions[section]) : QVariant();
}

CheckPanel::CheckPanel(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("CheckPanel"));
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("lblCheckSummary"));
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont bold = summary_->font();
    bold.setBold(true);
    summary_->setFont(bold);
    fix_ = new QPushButton(tr("Fix"), this);
    fix_->setObjectName(QStringLiteral("butCheckFix"));
    fix_->setEnabled(false);

    model_ = new CheckFindingsModel(this);
    QFont errorFont = font();
    errorFont.setBold(true);
    model_->SetErrorFont(errorFont);
    list_ = new QTreeView(this);
    list_->setObjectName(QStringLiteral("lstCheck"));
    list_->setModel(model_);
    list_->setRootIsDecorated(false);
    list_->setItemsExpandable(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setTextElideMode(Qt::ElideRight);
    list_->header()->setStretchLastSection(true);
    // As wide as its widest caption, so that it stays in place whichever finding is chosen.
    int widest = 0;
    for (const CheckFix fix : {CheckFix::Recompute, CheckFix::RebuildAreas,
                               CheckFix::PlayersFromMarks, CheckFix::RemoveMark}) {
        fix_->setText(CoreText(FixName(fix)));
        widest = std::max(widest, fix_->sizeHint().width());
    }
    fix_->setMinimumWidth(widest);

    auto *top = new QHBoxLayout;
    top->addWidget(summary_, 1);
    top->addWidget(fix_);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addWidget(list_, 1);

    connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                UpdateFixButton();
                if (!restoring_)
                    ChooseRow(current);
            });
    // Clicked again, after another list moved the ring away.
    connect(list_, &QTreeView::clicked, this, &CheckPanel::ChooseRow);
    connect(fix_, &QPushButton::clicked, this, [this] {
        // A copy: the fix refreshes the list it came from.
        if (const std::optional<Finding> finding = Chosen(); finding)
            emit FixAsked(*finding);
    });
    ShowNoMap();
}

void CheckPanel::ShowReport(CheckReport report)
{
    const std::optional<Finding> before = Chosen();
    summary_->setText(SummaryText(report));
    model_->SetReport(std::move(report));
    FitColumns();
    const auto &findings = model_->Report().Findings;
    const auto again =
        before ? std::ranges::find_if(findings, [&](const Finding &f) { return f == *before; })
               : findings.end();
    if (again != findings.end()) {
        restoring_ = true;
        list_->setCurrentIndex(model_->index(static_cast<int>(again - findings.begin()), 0));
        restoring_ = false;
    }
    UpdateFixButton();
}

void CheckPanel::ShowNoMap()
{
    model_->SetReport({});
    FitColumns();
    summary_->setText(tr("There is no map to check."));
    UpdateFixButton();
}

std::optional<Finding> CheckPanel::Chosen() const
{
    const QModelIndex current = list_->currentIndex();
    if (!current.isValid() || current.row() >= model_->rowCount())
        return std::nullopt;
    return model_->Report().Findings[static_cast<std::size_t>(current.row())];
}

void CheckPanel::ChooseRow(const QModelIndex &index)
{
    if (!index.isValid() || index.row() >= model_->rowCount())
        return;
    // A copy: whoever is told may refresh the list.
    const Finding finding = model_->Report().Findings[static_cast<std::size_t>(index.row())];
    emit FindingChosen(finding);
}

void CheckPanel::FitColumns()
{
    // The view measures at most its first thousand rows or so, however many there are.
    for (const int column : {CheckFindingsModel::SeverityColumn, CheckFindingsModel::CodeColumn,
                             CheckFindingsModel::PointColumn})
        list_->resizeColumnToContents(column);
}

void CheckPanel::UpdateFixButton()
{
    const std::optional<Finding> finding = Chosen();
    const CheckFix fix = finding ? finding->Fix : CheckFix::None;
    fix_->setText(fix == CheckFix::None ? tr("Fix") : CoreText(FixName(fix)));
    fix_->setEnabled(fix != CheckFix::None);
    fix_->setToolTip(!finding                ? tr("Choose a finding to fix")
                     : fix == CheckFix::None ? tr("This finding has no safe fix")
                                             : tr("Fix this finding (can be undone)"));
}

} // namespace trelvik
