// SPDX-License-Identifier: GPL-3.0-or-later
#include "ctl_tabs.h"

#include "accessibility.h"
#include "device_surface.h"
#include "edge_drawing.h"
#include "ole_colour.h"
#include "property_bag.h"
#include "tab_layout.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace trelvik {

namespace {

const QString kKeyTabsWidth = QStringLiteral("TABWIDE");
const QString kKeyTabsHeight = QStringLiteral("TABHIGH");
const QString kKeyTabs = QStringLiteral("TABCOUNT");
const QString kKeySelectedTab = QStringLiteral("TABSELECTED");
const QString kKeyStyle = QStringLiteral("TABSTYLE");
const QString kKeyCaptionAlignment = QStringLiteral("CAPTIONSTYLE");
const QString kKeyUseFocusRect = QStringLiteral("FOCUSRECT");
const QString kKeyTabFont = QStringLiteral("TABFONT");
const QString kKeyTabFontActive = QStringLiteral("TABFONTACTIVE");
const QString kKeyTabColor = QStringLiteral("TABCOLOR");
const QString kKeyTabColorActive = QStringLiteral("TABCOLORACTIVE");
const QString kKeyTextColor = QStringLiteral("TEXTCOLOR");
const QString kKeyTextColorActive = QStringLiteral("TEXTCOLORACTIVE");

constexpr int kStyleCount = 8;
constexpr int kAlignmentCount = 9;

QString CaptionKey(int index)
{
    return QStringLiteral("TABCAPTION") + QString::number(index);
}

// A stored whole number in [low, high], or `fallback` when the key is missing, holds no number
// or holds one the property could never take.
int ReadInt(const PropertyBag &bag, const QString &key, int fallback, long long low, long long high)
{
    bool ok = false;
    const long long value = bag.Read(key, fallback).toLongLong(&ok);
    return ok && value >= low && value <= high ? static_cast<int>(value) : fallback;
}

QFont ReadFont(const PropertyBag &bag, const QString &key, const QFont &fallback)
{
    const QVariant value = bag.Read(key, {});
    if (value.metaType() != QMetaType::fromType<QFont>())
        return fallback;
    return value.value<QFont>();
}

int RoundToPixel(double value)
{
    constexpr double kLimit = 1 << 29;
    return static_cast<int>(std::nearbyint(std::clamp(value, -kLimit, kLimit)));
}

// Tells assistive tools about tab `index` (1-based) of `tabs`.
void NotifyTab(ctlTabs *tabs, int index, QAccessible::Event type)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent event(tabs, type);
    event.setChild(index - 1);
    QAccessible::updateAccessibility(&event);
}

bool IsKeyboardReason(Qt::FocusReason reason)
{
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason
           || reason == Qt::ShortcutFocusReason;
}

qint16 Saturate16(int value)
{
    return static_cast<qint16>(std::clamp<int>(value, std::numeric_limits<qint16>::min(),
                                               std::numeric_limits<qint16>::max()));
}

} // namespace

void CopyFont(const QFont &from, QFont &to)
{
    to.setBold(from.bold());
    to.setItalic(from.italic());
    to.setFamilies(from.families().isEmpty() ? QStringList{from.family()} : from.families());
    if (from.pointSizeF() > 0)
        to.setPointSizeF(from.pointSizeF());
    else if (from.pixelSize() > 0)
        to.setPixelSize(from.pixelSize());
    to.setStrikeOut(from.strikeOut());
    to.setUnderline(from.underline());
    to.setWeight(from.weight());
}

ctlTabs::ctlTabs(QWidget *parent)
    : QWidget(parent)
{
    InstallAccessibility();
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    SetStartValues();
    Redraw();
}

void ctlTabs::SetStartValues()
{
    tabsWidth_ = kDefaultTabsWidth;
    tabsHeight_ = kDefaultTabsHeight;
    tabs_ = kDefaultTabs;
    selectedTab_ = kDefaultSelectedTab;
    style_ = kDefaultStyle;
    captionAlignment_ = kDefaultCaptionAlignment;
    useFocusRect_ = false;
    captions_ = QStringList{tr("Tab %1").arg(1), tr("Tab %1").arg(2)};
    drawingFont_ = font();
    CopyFont(drawingFont_, tabFont_);
    CopyFont(drawingFont_, tabFontActive_);
    tabFontActive_.setBold(!tabFontActive_.bold());
    tabColor_ = kDefaultTabColor;
    tabColorActive_ = kDefaultTabColorActive;
    textColor_ = kDefaultTextColor;
    textColorActive_ = kDefaultTextColorActive;
}

void ctlTabs::InitProperties()
{
    SetStartValues();
    Redraw();
}

void ctlTabs::SetColour(quint32 &field, quint32 colour, const QString &key)
{
    field = colour;
    emit PropertyChanged(key);
    Redraw();
}

void ctlTabs::SetTextColor(quint32 colour)
{
    SetColour(textColor_, colour, kKeyTextColor);
}

void ctlTabs::SetTextColorActive(quint32 colour)
{
    SetColour(textColorActive_, colour, kKeyTextColorActive);
}

void ctlTabs::SetTabColor(quint32 colour)
{
    SetColour(tabColor_, colour, kKeyTabColor);
}

void ctlTabs::SetTabColorActive(quint32 colour)
{
    SetColour(tabColorActive_, colour, kKeyTabColorActive);
}

void ctlTabs::SetTabFont(const QFont &font)
{
    CopyFont(font, tabFont_);
    emit PropertyChanged(kKeyTabFont);
    Redraw();
}

void ctlTabs::SetTabFontActive(const QFont &font)
{
    CopyFont(font, tabFontActive_);
    emit PropertyChanged(kKeyTabFontActive);
    Redraw();
}

std::optional<QString> ctlTabs::Caption(int index) const
{
    if (index < 1 || index > tabs_)
        return std::nullopt;
    return captions_.at(index - 1);
}

bool ctlTabs::SetCaption(int index, const QString &caption)
{
    if (index < 1 || index > tabs_)
        return false;
    captions_[index - 1] = caption;
    emit PropertyChanged(CaptionKey(index));
    Redraw();
    NotifyTab(this, index, QAccessible::NameChanged);
    return true;
}

void ctlTabs::SetStyle(int style)
{
    if (style < 0 || style >= kStyleCount)
        return;
    style_ = style;
    emit PropertyChanged(kKeyStyle);
    Redraw();
}

void ctlTabs::SetCaptionAlignment(int alignment)
{
    if (alignment < 0 || alignment >= kAlignmentCount)
        return;
    captionAlignment_ = alignment;
    emit PropertyChanged(kKeyCaptionAlignment);
    Redraw();
}

void ctlTabs::SetTabsWidth(int width)
{
    tabsWidth_ = width;
    emit PropertyChanged(kKeyTabsWidth);
    Redraw();
}

void ctlTabs::SetTabsHeight(int height)
{
    tabsHeight_ = height;
    emit PropertyChanged(kKeyTabsHeight);
    Redraw();
}

void ctlTabs::SetTabs(qint16 count)
{
    if (count <= 0)
        return;
    tabs_ = count;
    ResizeCaptions();
    const qint16 oldTab = selectedTab_;
    const bool moved = count < selectedTab_;
    if (moved)
        selectedTab_ = count;
    emit PropertyChanged(kKeyTabs);
    Redraw();
    if (moved) {
        emit PropertyChanged(kKeySelectedTab);
        emit TabClick(oldTab, selectedTab_);
    }
}

void ctlTabs::SetSelectedTab(qint16 tab)
{
    const qint16 oldTab = selectedTab_;
    selectedTab_ = std::clamp<qint16>(tab, 1, tabs_);
    emit PropertyChanged(kKeySelectedTab);
    Redraw();
    if (hasFocus())
        NotifyTab(this, selectedTab_, QAccessible::Focus);
    NotifyTab(this, selectedTab_, QAccessible::Selection);
    emit TabClick(oldTab, tab);
}

void ctlTabs::SetUseFocusRect(bool use)
{
    useFocusRect_ = use;
    emit PropertyChanged(kKeyUseFocusRect);
    Redraw();
}

void ctlTabs::ResizeCaptions()
{
    while (captions_.size() > tabs_)
        captions_.removeLast();
    while (captions_.size() < tabs_)
        captions_.append(QString());
}

void ctlTabs::ReadProperties(const PropertyBag &bag)
{
    // Values the setters would refuse fall back to their defaults, so a damaged bag cannot
    // leave the strip without tabs or with a style it cannot draw.
    constexpr long long kInt32Min = std::numeric_limits<int>::min();
    constexpr long long kInt32Max = std::numeric_limits<int>::max();
    constexpr long long kInt16Max = std::numeric_limits<qint16>::max();
    tabsWidth_ = ReadInt(bag, kKeyTabsWidth, kDefaultTabsWidth, kInt32Min, kInt32Max);
    tabsHeight_ = ReadInt(bag, kKeyTabsHeight, kDefaultTabsHeight, kInt32Min, kInt32Max);
    tabs_ = static_cast<qint16>(ReadInt(bag, kKeyTabs, kDefaultTabs, 1, kInt16Max));
    const int selected = ReadInt(bag, kKeySelectedTab, kDefaultSelectedTab, kInt32Min, kInt32Max);
    selectedTab_ = static_cast<qint16>(std::clamp<int>(selected, 1, tabs_));
    style_ = ReadInt(bag, kKeyStyle, kDefaultStyle, 0, kStyleCount - 1);
    captionAlignment_ =
        ReadInt(bag, kKeyCaptionAlignment, kDefaultCaptionAlignment, 0, kAlignmentCount - 1);
    useFocusRect_ = bag.Read(kKeyUseFocusRect, false).toBool();
    ResizeCaptions();
    for (int i = 1; i <= tabs_; ++i)
        captions_[i - 1] = bag.Read(CaptionKey(i), QString()).toString();
    CopyFont(ReadFont(bag, kKeyTabFont, drawingFont_), tabFont_);
    CopyFont(ReadFont(bag, kKeyTabFontActive, drawingFont_), tabFontActive_);
    tabColor_ = bag.ReadColour(kKeyTabColor, kDefaultTabColor);
    tabColorActive_ = bag.ReadColour(kKeyTabColorActive, kDefaultTabColorActive);
    textColor_ = bag.ReadColour(kKeyTextColor, kDefaultTextColor);
    textColorActive_ = bag.ReadColour(kKeyTextColorActive, kDefaultTextColorActive);
    Redraw();
}

void ctlTabs::WriteProperties(PropertyBag &bag) const
{
    bag.Write(kKeyTabsWidth, tabsWidth_);
    bag.Write(kKeyTabsHeight, tabsHeight_);
    // The counts and styles are stored as 16-bit values.
    bag.Write(kKeyTabs, QVariant::fromValue(tabs_));
    bag.Write(kKeySelectedTab, QVariant::fromValue(selectedTab_));
    bag.Write(kKeyStyle, QVariant::fromValue(static_cast<qint16>(style_)));
    bag.Write(kKeyCaptionAlignment, QVariant::fromValue(static_cast<qint16>(captionAlignment_)));
    bag.Write(kKeyUseFocusRect, useFocusRect_);
    for (int i = 1; i <= tabs_; ++i)
        bag.Write(CaptionKey(i), captions_.at(i - 1));
    bag.Write(kKeyTabFont, tabFont_);
    bag.Write(kKeyTabFontActive, tabFontActive_);
    bag.Write(kKeyTabColor, tabColor_);
    bag.Write(kKeyTabColorActive, tabColorActive_);
    bag.Write(kKeyTextColor, textColor_);
    bag.Write(kKeyTextColorActive, textColorActive_);
}

QColor ctlTabs::AmbientBackColor() const
{
    const QWidget *host = parentWidget() ? parentWidget() : this;
    return host->palette().color(QPalette::Window);
}

void ctlTabs::Redraw()
{
    ++redrawCount_;
    const TabStripSize size{width(), height(), tabsWidth_, tabsHeight_, tabs_};
    tabRects_.assign(static_cast<size_t>(tabs_), WinRect{});
    for (int i = 1; i <= tabs_; ++i) {
        const WinRect tab = TabRect(style_, i, size);
        tabRects_[static_cast<size_t>(i - 1)] =
            i == selectedTab_ ? tab
                              : WinRect{tab.left + 1, tab.top + 1, tab.right - 1, tab.bottom - 1};
    }

    Render();
    // Synchronous, like every redraw of these controls.
    if (isVisible())
        repaint();
}

void ctlTabs::Render()
{
    if (!CoversDevice(surface_, *this))
        surface_ = DeviceSurface(*this, QImage::Format_RGB32);
    if (surface_.isNull())
        return;
    const TabStripSize size{width(), height(), tabsWidth_, tabsHeight_, tabs_};

    const QColor inactiveBrush = ResolveOleColour(tabColor_);
    const QColor activeBrush = ResolveOleColour(tabColorActive_);
    surface_.fill(AmbientBackColor());

    QPainter painter(&surface_);
    const WinRect body = TabBodyRect(style_, size);
    painter.fillRect(body.toQRect(), activeBrush);
    DrawEdge(painter, body, BDR_RAISEDINNER, BF_RECT);

    for (int i = 1; i <= tabs_; ++i) {
        const WinRect tab = TabRect(style_, i, size);
        const WinRect &stored = tabRects_[static_cast<size_t>(i - 1)];
        if (i == selectedTab_) {
            painter.fillRect(tab.toQRect(), activeBrush);
            DrawEdge(painter, tab, BDR_RAISEDINNER, ActiveTabEdgeSides(style_));
            if (hasFocus_ && (useFocusRect_ || keyboardFocus_))
                DrawFocusRect(painter,
                              WinRect{tab.left + 2, tab.top + 2, tab.right - 2, tab.bottom - 2});
            CopyFont(tabFontActive_, drawingFont_);
            DrawCaption(painter, i, tab, textColorActive_);
        } else {
            if (stored.width() > 0 && stored.height() > 0)
                painter.fillRect(stored.toQRect(), inactiveBrush);
            CopyFont(tabFont_, drawingFont_);
            DrawCaption(painter, i, tab, textColor_);
        }
    }
}

void ctlTabs::DrawCaption(QPainter &painter, int index, const WinRect &tab, quint32 colour)
{
    const QString &caption = captions_.at(index - 1);
    if (caption.isEmpty())
        return;
    painter.setFont(drawingFont_);
    const QFontMetrics metrics = painter.fontMetrics();
    const QPointF corner = CaptionPosition(captionAlignment_, tab,
                                           metrics.horizontalAdvance(caption), metrics.height());
    painter.setPen(ResolveOleColour(colour));
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.drawText(QPoint(RoundToPixel(corner.x()), RoundToPixel(corner.y()) + metrics.ascent()),
                     caption);
}

void ctlTabs::paintEvent(QPaintEvent *)
{
    if (surface_.isNull())
        return;
    // Moved to a screen of another pixel ratio: the picture is drawn again for it.
    if (surface_.devicePixelRatio() != devicePixelRatioF())
        Render();
    QPainter painter(this);
    painter.drawImage(0, 0, surface_);
}

void ctlTabs::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Redraw();
}

void ctlTabs::mousePressEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    const int hit = HitTestTabs(tabRects_, point.x(), point.y());
    if (hit > 0)
        SetSelectedTab(static_cast<qint16>(hit));
}

void ctlTabs::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        // Working the strip with the keys shows where the focus is from now on.
        keyboardFocus_ = true;
        SetSelectedTab(Saturate16(selectedTab_ - 1));
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        keyboardFocus_ = true;
        SetSelectedTab(Saturate16(selectedTab_ + 1));
        break;
    default:
        QWidget::keyPressEvent(event);
        break;
    }
}

void ctlTabs::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    hasFocus_ = true;
    keyboardFocus_ = IsKeyboardReason(event->reason());
    if (useFocusRect_ || keyboardFocus_)
        Redraw();
}

void ctlTabs::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    hasFocus_ = false;
    if (useFocusRect_ || std::exchange(keyboardFocus_, false))
        Redraw();
}

void ctlTabs::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ParentChange)
        Redraw();
}

} // namespace trelvik
