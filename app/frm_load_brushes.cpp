// SPDX-License-Identifier: GPL-3.0-or-later
// Editing by hand: the brushes' tool bar and menu, strokes on the view area, the picture kept
// current point by point, and File > New blank map.
#include "brush_bar.h"
#include "check_panel.h"
#include "core_texts.h"
#include "document/layer_codes.h"
#include "edit/blank_map.h"
#include "edit/stroke.h"
#include "edit_commands.h"
#include "frm_load.h"
#include "map_view.h"
#include "new_map_dialog.h"
#include "viewer/view_refresh.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QUndoStack>

namespace trelvik {
namespace {

// The resources overlay: a colour per kind of layer-12 byte, 0 for none.
enum OverlayCode : uint8_t { kNoOverlay, kCoal, kIron, kGold, kGranite, kWater, kFish };

uint8_t OverlayCodeOf(uint8_t resource)
{
    if (const auto mineral = MineralIn(resource)) {
        switch (mineral->Kind) {
        case Mineral::Coal:
            return kCoal;
        case Mineral::Iron:
            return kIron;
        case Mineral::Gold:
            return kGold;
        case Mineral::Granite:
            return kGranite;
        }
    }
    if (resource == kDrinkingWaterResource)
        return kWater;
    if (resource == kFishResource)
        return kFish;
    return kNoOverlay;
}

QList<QRgb> OverlayColours()
{
    return {qRgba(0, 0, 0, 0),        qRgba(20, 20, 20, 220),    qRgba(200, 60, 40, 220),
            qRgba(250, 210, 40, 230), qRgba(170, 170, 170, 220), qRgba(70, 140, 255, 60),
            qRgba(40, 230, 230, 220)};
}

} // namespace

void frmLoad::BuildBrushes()
{
    brushBar_ = new BrushBar(this);
    addToolBar(Qt::TopToolBarArea, brushBar_);
    // Out of the way until a brush is chosen; View > Brushes shows it.
    brushBar_->hide();
    // The check's count after each stroke, at the right of the status bar.
    lblBrushCheck = new QLabel(statusBar());
    lblBrushCheck->setObjectName(QStringLiteral("lblBrushCheck"));
    lblBrushCheck->setAccessibleName(tr("Map check"));
    statusBar()->addPermanentWidget(lblBrushCheck);
    lblBrushCheck->hide();
    connect(brushBar_, &BrushBar::BrushChanged, this, &frmLoad::BrushChosen);
    connect(picBG, &MapView::StrokePressed, this, &frmLoad::StrokeStarted);
    connect(picBG, &MapView::StrokeMoved, this, &frmLoad::StrokeMoved);
    connect(picBG, &MapView::StrokeReleased, this, &frmLoad::StrokeEnded);
    connect(picBG, &MapView::PointHovered, this, &frmLoad::ShowBrushOutline);
    brushBar_->FillMenu(mnuEditTools);
    QAction *shown = brushBar_->toggleViewAction();
    shown->setObjectName(QStringLiteral("mnuViewBrushes"));
    shown->setText(tr("&Brushes"));
    if (auto *view = menuBar()->findChild<QMenu *>(QStringLiteral("mnuView")))
        view->insertAction(view->actions().value(view->actions().indexOf(mnuViewFitNewMaps) + 1),
                           shown);
}

void frmLoad::BrushChosen()
{
    const std::optional<edit::Brush> brush = brushBar_->Current();
    if (brush)
        brushBar_->show();
    picBG->SetEditing(brush.has_value());
    picBG->SetBrushOutline({});
    ShowEditingAids();
    std::optional<CheckReport> report;
    if (brush && HasMap())
        report = CheckMap(Document());
    ShowBrushCheck(report ? &*report : nullptr);
}

void frmLoad::ShowEditingAids()
{
    const std::optional<edit::Brush> brush = brushBar_->Current();
    // The triangles show on the terrain picture while a brush is chosen.
    const bool triangles = brush && shownLayer_ == 0;
    picBG->SetTrianglePlane(triangles ? std::span<const uint8_t>(session_->LowerTriangles())
                                      : std::span<const uint8_t>());
    if (brush && brush->Kind == edit::BrushKind::Resources) {
        const MapLayer &resources = Document().Layer(12);
        overlay_.resize(resources.size());
        std::transform(resources.begin(), resources.end(), overlay_.begin(), OverlayCodeOf);
        picBG->SetOverlay(overlay_, OverlayColours());
    } else {
        overlay_.clear();
        picBG->SetOverlay({}, {});
    }
}

void frmLoad::ShowChangedPoints(std::span<const std::size_t> points)
{
    const std::span<const uint8_t> bytes = shownLayer_ == 0
                                               ? std::span<const uint8_t>(session_->Composed())
                                               : Document().Layer(shownLayer_);
    if (picBG->ShowsTriangles())
        picBG->UpdatePoints(bytes, session_->LowerTriangles(), points);
    else
        picBG->UpdatePoints(bytes, points);
    if (!overlay_.empty()) {
        const MapLayer &resources = Document().Layer(12);
        for (const std::size_t index : points) {
            if (index < overlay_.size() && index < resources.size())
                overlay_[index] = OverlayCodeOf(resources[index]);
        }
        picBG->UpdateOverlay(overlay_, points);
    }
    if (pinned_)
        ShowReadout(pinned_);
}

void frmLoad::StrokeStarted(MapPoint point)
{
    const std::optional<edit::Brush> brush = brushBar_->Current();
    if (!brush || !HasMap() || !PointGrid(Document()).Holds({point.X, point.Y}))
        return;
    BeginCommand();
    stroke_ = std::make_unique<edit::Stroke>(session_->Edit(), *brush, DrawSeed());
    strokeBrush_ = brushBar_->BrushName();
    StrokeMoved(point);
}

void frmLoad::StrokeMoved(MapPoint point)
{
    if (!stroke_ || !PointGrid(Document()).Holds({point.X, point.Y}))
        return;
    strokeAt_ = point;
    SessionChange change;
    change.Points = stroke_->Dab({point.X, point.Y});
    if (!change.Points.empty())
        session_->Announce(change);
}

void frmLoad::StrokeEnded(MapPoint point)
{
    if (!stroke_)
        return;
    const std::unique_ptr<edit::Stroke> stroke = std::move(stroke_);
    edit::ChangeSet changes = stroke->Finish({point.X, point.Y});
    // Dabs that came to nothing (bytes set back) were shown as they went.
    if (!changes.Empty())
        session_->Push(new StrokeCommand(*session_, std::move(changes), strokeBrush_));
    if (!stroke->LastRefusal().empty())
        lblBrushCheck->setText(CoreText(stroke->LastRefusal()));
}

void frmLoad::ShowBrushOutline(std::optional<MapPoint> point)
{
    const std::optional<edit::Brush> brush = brushBar_->Current();
    if (!brush || !point || !HasMap()) {
        picBG->SetBrushOutline({});
        return;
    }
    const PointGrid grid(Document());
    std::vector<MapPoint> outline;
    const int size = brush->Kind == edit::BrushKind::Players ? 1 : brush->Size;
    for (const Point p : edit::BrushPoints(grid, {point->X, point->Y}, size))
        outline.push_back({static_cast<int>(p.X), static_cast<int>(p.Y)});
    picBG->SetBrushOutline(std::move(outline));
}

void frmLoad::ShowBrushCheck(const CheckReport *report)
{
    const bool shown = report && brushBar_->Current();
    if (shown)
        lblBrushCheck->setText(tr("Check: %1").arg(SummaryText(*report)));
    lblBrushCheck->setVisible(shown);
}

void frmLoad::mnuFileNewBlank_Click()
{
    if (!MaybeSave())
        return;
    const auto chooser = blankMapChooser_ ? blankMapChooser_ : AskForBlankMap;
    const std::optional<edit::BlankMapRequest> request = chooser(this);
    if (!request)
        return;
    edit::BlankMapResult made = edit::MakeBlankMap(*request);
    if (!made.Document) {
        Message(CoreText(made.Error), MessageIcon::Critical, MessageButtons::Ok, tr("Error"));
        return;
    }
    session_->Adopt(std::move(*made.Document));
    VScroll1->setEnabled(true);
    VScroll1_Change();
}

} // namespace trelvik
