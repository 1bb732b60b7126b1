// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "edit/brush.h"

#include <array>
#include <cstdint>
#include <optional>

#include <QToolBar>

class QAction;
class QActionGroup;
class QComboBox;
class QLabel;
class QMenu;
class QSpinBox;

namespace trelvik {

// The brushes' tool bar: Inspect (no brush: clicks pin the read-out, drags pan) and one brush per
// kind, the brush's size (points across), what it puts down, an amount for minerals and a line
// saying what the brush will do. The brush actions also fill Edit > Tools.
class BrushBar : public QToolBar
{
    Q_OBJECT

public:
    explicit BrushBar(QWidget *parent = nullptr);

    // The brush chosen; none while Inspect is.
    std::optional<edit::Brush> Current() const;
    // The chosen brush's name, as the undo step is called ("Terrain").
    QString BrushName() const;
    // Inspect chosen again.
    void ChooseInspect();
    // The world whose terrain names the terrain brush offers.
    void SetWorld(uint8_t worldType);
    // The menu the brushes also sit in, with their shortcuts.
    void FillMenu(QMenu *menu) const;

    static constexpr int kBrushCount = 7;

signals:
    // Another brush or another choice of one.
    void BrushChanged();

private:
    void FillChoices();
    void Describe();

    QActionGroup *group_ = nullptr;
    QAction *inspect_ = nullptr;
    std::array<QAction *, kBrushCount> brushes_{};
    QSpinBox *size_ = nullptr;
    QComboBox *choice_ = nullptr;
    QLabel *amountLabel_ = nullptr;
    QSpinBox *amount_ = nullptr;
    QAction *amountAction_ = nullptr;
    QAction *amountLabelAction_ = nullptr;
    QLabel *description_ = nullptr;
    uint8_t world_ = 0;
};

} // namespace trelvik
