// SPDX-License-Identifier: GPL-3.0-or-later
// Tools > Check map: the panel of findings, their points marked on the picture, and the fixes.
#include "brush_bar.h"
#include "check_panel.h"
#include "edit_commands.h"
#include "frm_load.h"
#include "map_view.h"
#include "viewer/composed_view.h"

#include <limits>

#include <QDockWidget>
#include <QScrollBar>
#include <QUndoStack>

namespace trelvik {
namespace {

constexpr int kDockHeight = 170;

} // namespace

void frmLoad::mnuToolsCheck_Click()
{
    if (!dockCheck) {
        dockCheck = new QDockWidget(tr("Map check"), this);
        dockCheck->setObjectName(QStringLiteral("dockCheck"));
        checkPanel_ = new CheckPanel(dockCheck);
        dockCheck->setWidget(checkPanel_);
        connect(checkPanel_, &CheckPanel::FindingChosen, this, &frmLoad::ShowFinding);
        connect(checkPanel_, &CheckPanel::FixAsked, this, &frmLoad::FixFinding);
        // Shown again, it shows the map as it is then.
        connect(dockCheck, &QDockWidget::visibilityChanged, this, [this](bool visible) {
            if (visible)
                RunCheck();
        });
        // Below the picture and the tabs, which keep their room: the window grows to hold it.
        const int grown = height() + kDockHeight;
        addDockWidget(Qt::BottomDockWidgetArea, dockCheck);
        resize(width(), grown);
        resizeDocks({dockCheck}, {kDockHeight}, Qt::Vertical);
    }
    dockCheck->show();
    dockCheck->raise();
    RunCheck();
}

void frmLoad::RunCheck()
{
    const bool panel = checkPanel_ && !dockCheck->isHidden();
    const bool count = brushBar_ && brushBar_->Current();
    // One check serves the panel and the count.
    std::optional<CheckReport> report;
    if ((panel || count) && HasMap())
        report = CheckMap(Document());
    if (panel) {
        if (report)
            checkPanel_->ShowReport(*report);
        else
            checkPanel_->ShowNoMap();
    }
    if (brushBar_)
        ShowBrushCheck(report ? &*report : nullptr);
}

void frmLoad::ShowFinding(const Finding &finding)
{
    constexpr int64_t kLargest = std::numeric_limits<int>::max();
    const bool fits = finding.At && finding.At->X >= 0 && finding.At->Y >= 0
                      && finding.At->X <= kLargest && finding.At->Y <= kLargest;
    // A point off the map (or none) takes the mark away.
    SelectPoint(fits ? static_cast<int>(finding.At->X) : -1,
                fits ? static_cast<int>(finding.At->Y) : -1);
}

void frmLoad::FixFinding(const Finding &finding)
{
    if (!HasMap() || finding.Fix == CheckFix::None)
        return;
    BeginCommand();
    auto command = std::make_unique<CheckFixCommand>(*session_, finding.Fix, finding.At);
    if (command->Changes()) {
        // Pushing carries the fix out; the moved index runs the check again.
        session_->Push(command.release());
        return;
    }
    RunCheck();
    Message(tr("The fix found nothing to change."), MessageIcon::Information);
}

} // namespace trelvik
