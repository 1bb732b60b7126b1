// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "uni_caption_widget.h"

#include <optional>

#include <QPixmap>
#include <QPoint>

namespace trelvik {

class PropertyBag;

// A push button whose caption is any Unicode text. It draws its own face: background, caption,
// a 3-D border that switches between an up and a down style while pressed, a frame when its
// dialog marks it as the default button, and an optional focus rectangle. Click comes from a
// left release over it or from its access key (Alt and the character after the caption's first
// single ampersand). Focus that arrives by keyboard (Tab, Backtab, a shortcut) always shows the
// focus rectangle; ShowFocus shows it for any focus.
class UniCommand : public UniCaptionWidget
{
    Q_OBJECT

public:
    static constexpr qint32 kStartAlignment = 2;
    static constexpr qint32 kStartBorderDown = 10;
    static constexpr qint32 kStartBorderUp = 5;
    static constexpr qint32 kStartClickDepth = 3;
    static constexpr quint32 kStartFillColor = SystemOleColour(kColourWindowText);

    explicit UniCommand(QWidget *parent = nullptr);

    // Edge styles of the 3-D border: 5 raised, 10 sunken, 0 none, other values drawn as the edge
    // helper draws them. A new style shows from the next press or release on.
    qint32 BorderDown() const { return borderDown_; }
    void SetBorderDown(qint32 style);
    qint32 BorderUp() const { return borderUp_; }
    void SetBorderUp(qint32 style);
    // How far the caption moves while pressed (see PressOffsetFor).
    qint32 ClickDepth() const { return clickDepth_; }
    void SetClickDepth(qint32 depth);
    // Colour of the default-button frame.
    quint32 FillColor() const { return fillColor_; }
    void SetFillColor(quint32 colour);
    QPixmap MouseIcon() const { return mouseIcon_; }
    void SetMouseIcon(const QPixmap &icon);
    qint32 MousePointer() const { return mousePointer_; }
    void SetMousePointer(qint32 pointer);
    bool ShowFocus() const { return showFocus_; }
    void SetShowFocus(bool showFocus);

    // The dialog marks its default button, which then wears the default frame.
    bool IsDefault() const { return isDefault_; }
    void SetDefault(bool isDefault);

    qint32 CurrentBorder() const { return currentBorder_; }
    QPoint PressOffset() const { return pressOffset_; }
    std::optional<char16_t> AccessKey() const { return accessKey_; }

    WinRect OuterRect() const { return WinRect{0, 0, width(), height()}; }
    WinRect DefaultEdgeRect() const { return WinRect{1, 1, width() - 1, height() - 1}; }
    WinRect FocusRectArea() const { return WinRect{3, 3, width() - 3, height() - 3}; }

    // Caption shift while pressed: depth 1 (0, 1), 2 (1, 0), 3 (1, 1), 4 (1, 2), 5 (2, 1),
    // 6 (2, 2), any other (0, 0).
    static QPoint PressOffsetFor(qint32 clickDepth);

    void InitProperties();
    void ReadProperties(const PropertyBag &bag);
    void WriteProperties(PropertyBag &bag) const;

signals:
    void KeyDown(qint16 keyCode, qint16 shift);
    void KeyPress(qint16 keyAscii);
    void KeyUp(qint16 keyCode, qint16 shift);

protected:
    void LayoutCaption() override;
    void DrawFace(QPainter &painter) override;
    void CaptionChanged() override;

    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void SetAccessKey();
    void ApplyCursor();
    void SetCurrentBorder(qint32 style);

    qint32 borderDown_ = kStartBorderDown;
    qint32 borderUp_ = kStartBorderUp;
    qint32 clickDepth_ = kStartClickDepth;
    quint32 fillColor_ = kStartFillColor;
    QPixmap mouseIcon_;
    qint32 mousePointer_ = 0;
    bool showFocus_ = false;
    bool isDefault_ = false;
    qint32 currentBorder_ = kStartBorderUp;
    QPoint pressOffset_ = PressOffsetFor(kStartClickDepth);
    bool hasFocus_ = false;
    bool keyboardFocus_ = false;
    std::optional<char16_t> accessKey_;
    int shortcutId_ = 0;
};

} // namespace trelvik
