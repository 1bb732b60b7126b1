// The layer picture: the selector, the drawing into the view area and the copy.
#include "frm_load.h"
#include "layer_surface.h"
#include "viewer/layer_image.h"
#include "viewer/view_refresh.h"

#include <QClipboard>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QScrollBar>

namespace trelvik {
namespace {

QImage ToQImage(const IndexedImage &image, const ColourTable &table)
{
    if (image.Width <= 0 || image.Height <= 0)
        return {};
    QImage picture(image.Width, image.Height, QImage::Format_Indexed8);
    QList<QRgb> colours;
    colours.reserve(static_cast<qsizetype>(kColourCount));
    for (const ColourEntry &entry : table.Entries)
        colours << qRgb(entry.Red, entry.Green, entry.Blue);
    picture.setColorTable(colours);
    const auto width = static_cast<std::size_t>(image.Width);
    for (int y = 0; y < image.Height; ++y)
        std::copy_n(image.Pixels.begin()
                        + static_cast<std::ptrdiff_t>(width * static_cast<std::size_t>(y)),
                    width, picture.scanLine(y));
    return picture;
}

} // namespace

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
    const QRect inner = picBG->contentsRect();
    const ViewOffset offset = CentreInView(width, height, inner.width(), inner.height());
    const IndexedImage part =
        RenderVisiblePart(bytes, width, height, inner.width(), inner.height());
    picSprite->SetPicture(ToQImage(part, colourTable_));
    picSprite->move(inner.left() + offset.Left + part.OriginX,
                    inner.top() + offset.Top + part.OriginY);
    pictureOffset_ = QPoint(offset.Left, offset.Top);

    drawnBytes_.assign(bytes.begin(), bytes.end());
    drawnColours_ = colourTable_;
    drawnWidth_ = width;
    drawnHeight_ = height;
    drawn_ = true;
}

QImage frmLoad::CurrentPicture(QString *error) const
{
    if (!drawn_)
        return picSprite->Picture();
    const PictureResult whole = RenderLayerImage(drawnBytes_, drawnWidth_, drawnHeight_);
    if (!whole.Ok()) {
        if (error) {
            *error = QStringLiteral("The picture of %1 x %2 points is too large to copy.")
                         .arg(drawnWidth_)
                         .arg(drawnHeight_);
        }
        return {};
    }
    if (whole.Image.Width <= 0 || whole.Image.Height <= 0) {
        if (error)
            *error = QStringLiteral("There is no picture to copy.");
        return {};
    }
    return ToQImage(whole.Image, drawnColours_);
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

} // namespace trelvik
