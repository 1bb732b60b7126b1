// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "win_rect.h"

#include <optional>
#include <vector>

#include <QFont>
#include <QImage>
#include <QStringList>
#include <QWidget>

namespace trelvik {

class PropertyBag;

// Copies a font's attributes into another in the control's fixed order (bold, italic, name,
// size, strikethrough, underline, weight): the weight comes last, so it wins over the bold
// flag. Qt fonts carry no character set, so that attribute has nothing to copy.
void CopyFont(const QFont &from, QFont &to);

// A row of tabs along one side of a rectangular body. It draws only the tabs and the body and
// reports a change of tab through TabClick; the host shows its own panels in answer. All
// geometry is in pixels. The picture lives in Surface(), in device pixels, and is redrawn after
// every property change, resize, ambient colour change and focus change it shows. The selected
// tab wears a focus rectangle while the strip has the focus, with UseFocusRect always, without
// it once the focus came by keyboard (Tab, Backtab, a shortcut) or an arrow key moved the tab.
class ctlTabs : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kDefaultTabsWidth = 70;
    static constexpr int kDefaultTabsHeight = 20;
    static constexpr qint16 kDefaultTabs = 2;
    static constexpr qint16 kDefaultSelectedTab = 1;
    static constexpr int kDefaultStyle = 0;
    static constexpr int kDefaultCaptionAlignment = 4;
    static constexpr quint32 kDefaultTabColor = 0x80000010;
    static constexpr quint32 kDefaultTabColorActive = 0x8000000F;
    static constexpr quint32 kDefaultTextColor = 0x80000014;
    static constexpr quint32 kDefaultTextColorActive = 0x80000012;

    explicit ctlTabs(QWidget *parent = nullptr);

    // Always 1 (twips), whatever the control measures in inside.
    int ScaleMode() const { return 1; }

    quint32 TextColor() const { return textColor_; }
    void SetTextColor(quint32 colour);
    quint32 TextColorActive() const { return textColorActive_; }
    void SetTextColorActive(quint32 colour);
    quint32 TabColor() const { return tabColor_; }
    void SetTabColor(quint32 colour);
    quint32 TabColorActive() const { return tabColorActive_; }
    void SetTabColorActive(quint32 colour);

    const QFont &TabFont() const { return tabFont_; }
    void SetTabFont(const QFont &font);
    const QFont &TabFontActive() const { return tabFontActive_; }
    void SetTabFontActive(const QFont &font);

    // Caption of tab `index` (1..Tabs); an index outside that range is an error: nothing is
    // returned, or the setter returns false and changes nothing.
    std::optional<QString> Caption(int index) const;
    bool SetCaption(int index, const QString &caption);

    // 0..7 and 0..8; any other value is ignored.
    int Style() const { return style_; }
    void SetStyle(int style);
    int CaptionAlignment() const { return captionAlignment_; }
    void SetCaptionAlignment(int alignment);

    // Not validated: zero or negative sizes give tabs that neither draw nor hit.
    int TabsWidth() const { return tabsWidth_; }
    void SetTabsWidth(int width);
    int TabsHeight() const { return tabsHeight_; }
    void SetTabsHeight(int height);

    // Below 1 is ignored. Shrinking below the selection moves it to the last tab and raises
    // TabClick.
    qint16 Tabs() const { return tabs_; }
    void SetTabs(qint16 count);

    // Clamped to 1..Tabs; TabClick always follows, with the value as asked for.
    qint16 SelectedTab() const { return selectedTab_; }
    void SetSelectedTab(qint16 tab);

    bool UseFocusRect() const { return useFocusRect_; }
    void SetUseFocusRect(bool use);

    bool HasFocus() const { return hasFocus_; }
    bool KeyboardFocus() const { return keyboardFocus_; }

    // Tab i's area as last drawn is entry i - 1: the full rectangle for the active tab, the
    // rectangle inset by one pixel for the others.
    const std::vector<WinRect> &TabRects() const { return tabRects_; }

    // Puts the start values back, as for a new instance, and redraws.
    void InitProperties();
    // Keys as WriteProperties writes them; missing keys take their defaults, and captions
    // missing from the bag are empty. Redraws once.
    void ReadProperties(const PropertyBag &bag);
    void WriteProperties(PropertyBag &bag) const;

    const QImage &Surface() const { return surface_; }
    int RedrawCount() const { return redrawCount_; }

signals:
    // Raised after every assignment to SelectedTab and after a change of Tabs that moved the
    // selection; the control has already redrawn. NewTab is the tab asked for and may lie
    // outside 1..Tabs or equal OldTab.
    void TabClick(qint16 OldTab, qint16 NewTab);
    // The host's stored properties are out of date for `key`.
    void PropertyChanged(const QString &key);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void SetStartValues();
    void SetColour(quint32 &field, quint32 colour, const QString &key);
    void ResizeCaptions();
    void Redraw();
    void Render();
    void DrawCaption(QPainter &painter, int index, const WinRect &tab, quint32 colour);
    QColor AmbientBackColor() const;

    int tabsWidth_ = kDefaultTabsWidth;
    int tabsHeight_ = kDefaultTabsHeight;
    qint16 tabs_ = kDefaultTabs;
    qint16 selectedTab_ = kDefaultSelectedTab;
    int style_ = kDefaultStyle;
    int captionAlignment_ = kDefaultCaptionAlignment;
    bool useFocusRect_ = false;
    QStringList captions_;
    QFont drawingFont_;
    QFont tabFont_;
    QFont tabFontActive_;
    quint32 tabColor_ = kDefaultTabColor;
    quint32 tabColorActive_ = kDefaultTabColorActive;
    quint32 textColor_ = kDefaultTextColor;
    quint32 textColorActive_ = kDefaultTextColorActive;
    bool hasFocus_ = false;
    bool keyboardFocus_ = false;
    std::vector<WinRect> tabRects_;

    QImage surface_;
    int redrawCount_ = 0;
};

} // namespace trelvik
