// SPDX-License-Identifier: GPL-3.0-or-later
// The layer picture: the selector, the view area with its zoom, marks and inspector line, and
// the copies.
#include "controls/ctl_tabs.h"
#include "controls/insane_progress.h"
#include "frm_load.h"
#include "map_view.h"
#include "viewer/point_readout.h"
#include "viewer/view_refresh.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QUndoStack>

namespace trelvik {

void frmLoad::BuildViewPanel(QGroupBox *panel)
{
    VScroll1 = new QScrollBar(Qt::Vertical, panel);
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    VScroll1->setGeometry(8, 22, 17, 57);
    VScroll1->setRange(kFirstSelectorPosition, kLastSelectorPosition);
    VScroll1->setSingleStep(1);
    VScroll1->setPageStep(1);
    VScroll1->setValue(kFirstSelectorPosition);
    // Dragging reports through sliderMoved, so the picture follows the thumb without a second
    // redraw for every step.
    VScroll1->setTracking(false);
    VScroll1->setEnabled(false);
    MapInfo = new QLabel(panel);
    MapInfo->setObjectName(QStringLiteral("MapInfo"));
    MapInfo->setGeometry(32, 22, 209, 80);
    MapInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    MapInfo->setWordWrap(true);
    connect(VScroll1, &QScrollBar::valueChanged, this, &frmLoad::VScroll1_Change);
    connect(VScroll1, &QScrollBar::sliderMoved, this, &frmLoad::VScroll1_Scroll);
}

void frmLoad::VScroll1_Scroll()
{
    VScroll1_Change();
}

void frmLoad::VScroll1_Change()
{
    const RefreshPlan plan = PlanRefresh(document_, VScroll1->sliderPosition(),
                                         QFile::encodeName(programDir_).toStdString());
    ApplyColourAction(plan, colourTable_);
    DrawPicture(PlannedBytes(plan, document_, composedView_), document_.Header.Width,
                document_.Header.Height);
    MapInfo->setText(DisplayText(plan.MapInfo));
}

void frmLoad::DrawPicture(std::span<const uint8_t> bytes, int width, int height)
{
    // Only the part inside the view area is made, so a header that claims a huge map with
    // short layers costs no more than the view.
    picBG->ShowPicture(bytes, width, height, colourTable_, std::exchange(newMap_, false));
    if (pinned_)
        ShowReadout(pinned_);
}

QPoint frmLoad::PictureOffset() const
{
    return picBG->PictureOffset();
}

QImage frmLoad::CurrentPicture(QString *error) const
{
    return picBG->WholePicture(error);
}

void frmLoad::mnuEditCopy_Click()
{
    QString error;
    const QImage picture = CurrentPicture(&error);
    if (picture.isNull()) {
        Message(error, MessageIcon::Critical, MessageButtons::Ok, QStringLiteral("Error"));
        return;
    }
    QGuiApplication::clipboard()->setImage(picture.convertToFormat(QImage::Format_RGB32));
}

void frmLoad::mnuEditCopyView_Click()
{
    QGuiApplication::clipboard()->setImage(picBG->ShownView());
}

void frmLoad::BuildViewMenu()
{
    QMenu *view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    const auto add = [view](const char *name, const QString &caption, QKeySequence keys) {
        QAction *action = view->addAction(caption);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(keys);
        return action;
    };
    mnuViewZoomIn = add("mnuViewZoomIn", QStringLiteral("Zoom &In"), QKeySequence::ZoomIn);
    mnuViewZoomOut = add("mnuViewZoomOut", QStringLiteral("Zoom &Out"), QKeySequence::ZoomOut);
    mnuViewActualSize = add("mnuViewActualSize", QStringLiteral("&Actual Size"),
                            QKeySequence(Qt::CTRL | Qt::Key_0));
    mnuViewFit = add("mnuViewFit", QStringLiteral("&Fit"), QKeySequence());
    // The view area is made after the menus.
    connect(mnuViewZoomIn, &QAction::triggered, this, [this] { picBG->ZoomIn(); });
    connect(mnuViewZoomOut, &QAction::triggered, this, [this] { picBG->ZoomOut(); });
    connect(mnuViewActualSize, &QAction::triggered, this, [this] { picBG->SetZoom(1); });
    connect(mnuViewFit, &QAction::triggered, this, [this] { picBG->Fit(); });
}

void frmLoad::LayOutClient(QSize size)
{
    const int dx = std::max(0, size.width() - kClientWidth);
    const int dy = std::max(0, size.height() - kClientHeight);
    picBG->setGeometry(8, 8, 260 + dx, 260 + dy);
    Tabsy->move(280 + dx, 0);
    for (QGroupBox *panel : Frame)
        panel->move(288 + dx, 32);
    Filename->setGeometry(8, 272 + dy, 537 + dx, 19);
    Pro->setGeometry(8, 272 + dy, 537 + dx, 19);
}

bool frmLoad::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == centralWidget() && event->type() == QEvent::Resize)
        LayOutClient(static_cast<QResizeEvent *>(event)->size());
    // A click on a player's line of the HQ tab marks that headquarters.
    if (watched == S2info && event->type() == QEvent::MouseButtonPress && HasMap()) {
        const int line = static_cast<QMouseEvent *>(event)->position().toPoint().y()
                         / std::max(1, S2info->fontMetrics().lineSpacing());
        const MapHeader &header = document_.Header;
        if (line >= 0 && line < static_cast<int>(header.HeadquartersX.size()))
            SelectPoint(header.HeadquartersX[static_cast<std::size_t>(line)],
                        header.HeadquartersY[static_cast<std::size_t>(line)]);
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmLoad::BeginCommand()
{
    picBG->SetToolMarks({});
}

void frmLoad::SelectPoint(int x, int y)
{
    const bool onMap =
        x >= 0 && y >= 0 && x < document_.Header.Width && y < document_.Header.Height;
    picBG->SetSelection(onMap ? std::optional(MapPoint{x, y}) : std::nullopt);
}

void frmLoad::ShowNewDocument(const QString &seedLine, bool neverSaved)
{
    composedView_ = BuildComposedView(document_);
    ShowHeaderInfo();
    lblSeed->setText(seedLine);
    lblSeed->setToolTip(QString());
    undo_->clear();
    neverSaved_ = neverSaved;
    UpdateModified();
    newMap_ = true;
    pinned_.reset();
    picBG->SetSelection(std::nullopt);
    picBG->SetToolMarks({});
    Inspector->clear();
    RunCheck();
}

void frmLoad::ShowReadout(std::optional<MapPoint> point)
{
    const auto readout = point ? ReadPoint(document_, point->X, point->Y) : std::nullopt;
    Inspector->setText(readout ? QString::fromStdString(ReadoutText(*readout))
                               : QString::fromLatin1(kOutsideTheMap));
}

void frmLoad::ShowPointHovered(std::optional<MapPoint> point)
{
    if (!pinned_)
        ShowReadout(point);
}

void frmLoad::ShowPointClicked(std::optional<MapPoint> point)
{
    pinned_ = point;
    ShowReadout(point);
}

} // namespace trelvik
