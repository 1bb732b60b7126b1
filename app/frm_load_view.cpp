// SPDX-License-Identifier: GPL-3.0-or-later
// The layer picture: the selector, the view area with its zoom, marks and inspector line, and
// the copies.
#include "brush_bar.h"
#include "controls/ctl_tabs.h"
#include "controls/insane_progress.h"
#include "core_texts.h"
#include "frm_load.h"
#include "map_view.h"
#include "translations.h"
#include "viewer/point_readout.h"
#include "viewer/view_refresh.h"

#include <QAction>
#include <QActionGroup>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTableWidget>
#include <QUndoStack>

namespace trelvik {
namespace {

using namespace Qt::StringLiterals;

// Lets a label's text be chosen and copied from the keyboard as well as with the mouse: Ctrl+C
// while it has focus copies the selection, or the whole text when nothing is selected (before
// the window's own Copy image), and its context menu offers Copy, Select all and the extra
// actions. A label shown cut keeps its whole text for copying and in its tooltip.
class CopyableText : public QObject
{
public:
    CopyableText(QLabel *label, QList<QAction *> extra)
        : QObject(label)
        , label_(label)
        , extra_(std::move(extra))
    {
        label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        label->setFocusPolicy(Qt::StrongFocus);
        label->installEventFilter(this);
    }

    void SetText(const QString &text)
    {
        whole_ = text;
        Elide();
    }

    QString WholeText() const { return whole_; }

    void Copy() const
    {
        const bool cut = label_->text() != whole_;
        QGuiApplication::clipboard()->setText(
            label_->hasSelectedText() && !cut ? label_->selectedText() : whole_);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::ShortcutOverride:
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent *>(event)->matches(QKeySequence::Copy)) {
                event->accept();
                if (event->type() == QEvent::KeyPress)
                    Copy();
                return true;
            }
            break;
        case QEvent::ContextMenu: {
            QMenu menu(label_);
            menu.addAction(QCoreApplication::translate("trelvik::frmLoad", "&Copy"), this,
                           &CopyableText::Copy);
            menu.addAction(QCoreApplication::translate("trelvik::frmLoad", "Select &all"), label_,
                           [this] { label_->setSelection(0, int(label_->text().size())); });
            if (!extra_.isEmpty())
                menu.addSeparator();
            menu.addActions(extra_);
            menu.exec(static_cast<QContextMenuEvent *>(event)->globalPos());
            return true;
        }
        case QEvent::Resize:
            Elide();
            break;
        default:
            break;
        }
        return false;
    }

private:
    void Elide()
    {
        if (label_->wordWrap()) {
            label_->setText(whole_);
            return;
        }
        const int room =
            label_->contentsRect().width() - 2 * label_->margin() - std::max(0, label_->indent());
        const QString shown = label_->fontMetrics().elidedText(whole_, Qt::ElideRight, room);
        label_->setText(shown);
        label_->setToolTip(shown == whole_ ? QString() : whole_);
    }

    QLabel *label_;
    QList<QAction *> extra_;
    QString whole_;
};

CopyableText *Copyable(const QLabel *label)
{
    return label->findChild<CopyableText *>(QString(), Qt::FindDirectChildrenOnly);
}

} // namespace

void MakeCopyable(QLabel *label, const QList<QAction *> &extra)
{
    if (!Copyable(label))
        new CopyableText(label, extra);
}

void SetCopyableText(QLabel *label, const QString &text)
{
    if (CopyableText *copyable = Copyable(label))
        copyable->SetText(text);
    else
        label->setText(text);
}

QString WholeText(const QLabel *label)
{
    const CopyableText *copyable = Copyable(label);
    return copyable ? copyable->WholeText() : label->text();
}

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
    // The layer can be chosen from the keyboard: the arrow keys move the selector.
    VScroll1->setFocusPolicy(Qt::StrongFocus);
    VScroll1->setAccessibleName(tr("Layer"));
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
    const RefreshPlan plan =
        PlanRefresh(Document(), VScroll1->sliderPosition(), CorePath(programDir_));
    shownLayer_ = plan.Layer;
    ReportPalette(plan, ApplyColourAction(plan, colourTable_));
    DrawPicture(PlannedBytes(plan, Document(), Composed()), Document().Header.Width,
                Document().Header.Height);
    MapInfo->setText(DisplayText(MapInfoLines(Document(), plan.Layer)));
    ShowEditingAids();
}

void frmLoad::ReportPalette(const RefreshPlan &plan, const PaletteLoadResult &result)
{
    if (plan.Action != ColourAction::PaletteFile)
        return;
    if (result.Ok()) {
        paletteFailure_.clear();
        return;
    }
    if (std::exchange(paletteFailure_, plan.PalettePath) == plan.PalettePath)
        return;
    const QString path = QDir::toNativeSeparators(QString::fromStdString(plan.PalettePath));
    const QString text =
        result.Outcome == PaletteOutcome::CannotOpen
            ? tr("The palette file '%1' is missing or cannot be read, so the picture lacks its "
                 "colours. The palettes Greenland.pal, Wasteland.pal and Winter.pal belong beside "
                 "the program: install Trelvik again or copy them there.")
            : tr("The palette file '%1' is damaged, so the picture lacks some of its colours. "
                 "Install Trelvik again to get the palettes Greenland.pal, Wasteland.pal and "
                 "Winter.pal back.");
    Message(text.arg(path), MessageIcon::Critical);
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
        Message(error, MessageIcon::Critical, MessageButtons::Ok, tr("Error"));
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
    QMenu *view = menuBar()->addMenu(tr("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    const auto add = [view](const char *name, const QString &caption, QKeySequence keys) {
        QAction *action = view->addAction(caption);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(keys);
        return action;
    };
    mnuViewZoomIn = add("mnuViewZoomIn", tr("Zoom &In"), QKeySequence::ZoomIn);
    // Ctrl+= as well: the plus sign needs Shift on most keyboards.
    mnuViewZoomIn->setShortcuts(QKeySequence::keyBindings(QKeySequence::ZoomIn)
                                << QKeySequence(Qt::CTRL | Qt::Key_Equal));
    mnuViewZoomOut = add("mnuViewZoomOut", tr("Zoom &Out"), QKeySequence::ZoomOut);
    mnuViewActualSize =
        add("mnuViewActualSize", tr("&Actual Size"), QKeySequence(Qt::CTRL | Qt::Key_0));
    mnuViewFit = add("mnuViewFit", tr("&Fit"), QKeySequence());
    view->addSeparator();
    mnuViewFitNewMaps = add("mnuViewFitNewMaps", tr("Fit &new maps"), QKeySequence());
    mnuViewFitNewMaps->setCheckable(true);
    mnuViewFitNewMaps->setChecked(settings_->value(kFitNewMapsKey, true).toBool());
    QMenu *language = view->addMenu(tr("&Language"));
    language->setObjectName(QStringLiteral("mnuViewLanguage"));
    language->menuAction()->setObjectName(QStringLiteral("mnuViewLanguageMenu"));
    BuildLanguageMenu(language);
    // The view area is made after the menus.
    connect(mnuViewZoomIn, &QAction::triggered, this, [this] { picBG->ZoomIn(); });
    connect(mnuViewZoomOut, &QAction::triggered, this, [this] { picBG->ZoomOut(); });
    connect(mnuViewActualSize, &QAction::triggered, this, [this] { picBG->SetZoom(1); });
    connect(mnuViewFit, &QAction::triggered, this, [this] { picBG->Fit(); });
    connect(mnuViewFitNewMaps, &QAction::toggled, this, [this](bool fit) {
        settings_->setValue(kFitNewMapsKey, fit);
        picBG->SetFitNewMaps(fit);
    });
}

void frmLoad::LayOutClient(QSize size)
{
    // The view area takes two thirds of any extra width and the panels the rest; both take the
    // extra height, and in the panels the lists and the texts that can be long take it.
    const int dx = std::max(0, size.width() - kClientWidth);
    const int dy = std::max(0, size.height() - kClientHeight);
    const int panel = dx / 3;
    const std::array<int, 5> grow = {0, dx - panel, panel, dx, dy};
    for (const Anchor &anchor : anchors_) {
        const QRect &r = anchor.Base;
        anchor.Widget->setGeometry(r.x() + grow[anchor.X], r.y() + grow[anchor.Y],
                                   r.width() + grow[anchor.Width],
                                   r.height() + grow[anchor.Height]);
    }
}

void frmLoad::AnchorControls()
{
    enum : uint8_t { None, View, Panel, All, Down };
    const auto anchor = [this](QWidget *widget, uint8_t x, uint8_t y, uint8_t width,
                               uint8_t height) {
        anchors_.push_back({widget, widget->geometry(), x, y, width, height});
    };
    anchor(picBG, None, None, View, Down);
    anchor(Tabsy, View, None, Panel, Down);
    for (QGroupBox *frame : Frame)
        anchor(frame, View, None, Panel, Down);
    anchor(Filename, None, Down, All, None);
    anchor(Pro, None, Down, All, None);
    for (QWidget *field : std::array<QWidget *, 8>{txtTitle, txtAuthor, lblType, lblSize,
                                                   lblPlayers, S2info, lblStarts, lblUnknown})
        anchor(field, None, None, Panel, None);
    anchor(lblSeed, None, None, Panel, Down);
    anchor(butReload, None, Down, Panel, None);
    for (QWidget *list : std::array<QWidget *, 4>{tblStarts, MapInfo, LiF, LiH})
        anchor(list, None, None, Panel, Down);
}

void frmLoad::BuildLanguageMenu(QMenu *menu)
{
    // The system's language, or one chosen; it takes effect when the program starts again.
    auto *group = new QActionGroup(menu);
    const QString chosen = settings_->value(kLanguageKey).toString();
    QStringList codes = AvailableLanguages();
    codes.prepend(QString());
    for (const QString &code : codes) {
        QAction *item =
            menu->addAction(code.isEmpty() ? tr("&System language") : u'&' + LanguageName(code));
        item->setObjectName(u"mnuViewLanguage_"_s + (code.isEmpty() ? u"system"_s : code));
        item->setCheckable(true);
        item->setChecked(code == chosen);
        group->addAction(item);
        connect(item, &QAction::triggered, this, [this, code] {
            if (settings_->value(kLanguageKey).toString() == code)
                return;
            settings_->setValue(kLanguageKey, code);
            Message(tr("Trelvik shows the language chosen when it starts again."),
                    MessageIcon::Information);
        });
    }
}

bool frmLoad::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == centralWidget() && event->type() == QEvent::Resize)
        LayOutClient(static_cast<QResizeEvent *>(event)->size());
    return QMainWindow::eventFilter(watched, event);
}

void frmLoad::BeginCommand()
{
    // A stroke under way ends before any other command.
    if (stroke_)
        StrokeEnded(strokeAt_);
    picBG->SetToolMarks({});
}

void frmLoad::SelectPoint(int x, int y)
{
    const bool onMap =
        x >= 0 && y >= 0 && x < Document().Header.Width && y < Document().Header.Height;
    picBG->SetSelection(onMap ? std::optional(MapPoint{x, y}) : std::nullopt);
}

void frmLoad::ShowNewDocument()
{
    // A stroke under way belonged to the map before.
    stroke_.reset();
    FillAnimalList();
    FillAreaList();
    ShowHeaderInfo();
    SetCopyableText(lblSeed, QString());
    lblSeed->setToolTip(QString());
    madeBy_.clear();
    mnuEditCopyCommand->setEnabled(false);
    brushBar_->SetWorld(Document().Header.WorldType);
    UpdateModified();
    newMap_ = true;
    pinned_.reset();
    picBG->SetSelection(std::nullopt);
    picBG->SetToolMarks({});
    SetCopyableText(Inspector, QString());
    RunCheck();
}

void frmLoad::ShowReadout(std::optional<MapPoint> point)
{
    const auto readout = point ? ReadPoint(Document(), point->X, point->Y) : std::nullopt;
    SetCopyableText(Inspector, readout ? ReadoutLine(*readout) : CoreText(kOutsideTheMap));
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
