// SPDX-License-Identifier: GPL-3.0-or-later
#include "prop_tab_captions.h"

#include "ctl_tabs.h"
#include "twips.h"

#include <algorithm>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

namespace trelvik {

namespace {

struct TwipsBox
{
    int left;
    int top;
    int width;
    int height;
};

void Place(QWidget *widget, TwipsBox box)
{
    widget->setGeometry(PixelsFromTwips(box.left), PixelsFromTwips(box.top),
                        PixelsFromTwips(box.width), PixelsFromTwips(box.height));
}

// The page keeps the same margin right and below as left of its controls.
constexpr int kPageWidthTwips = 90 + 3030 + 90;
constexpr int kPageHeightTwips = 3000 + 330 + 90;

} // namespace

propTabCaptions::propTabCaptions(TabCaptionsHost &host, QWidget *parent)
    : QWidget(parent)
    , host_(host)
{
    setWindowTitle(tr("Tab Captions"));
    setFixedSize(PixelsFromTwips(kPageWidthTwips), PixelsFromTwips(kPageHeightTwips));

    lblCaption_ = new QLabel(tr("Caption:"), this);
    lblCaption_->setObjectName(QStringLiteral("lblCaption"));
    Place(lblCaption_, {90, 120, 2700, 240});

    txtCaption_ = new QLineEdit(this);
    txtCaption_->setObjectName(QStringLiteral("txtCaption"));
    Place(txtCaption_, {90, 370, 3030, 315});

    cmbCaptions_ = new QListWidget(this);
    cmbCaptions_->setObjectName(QStringLiteral("cmbCaptions"));
    cmbCaptions_->setSelectionMode(QAbstractItemView::SingleSelection);
    Place(cmbCaptions_, {90, 765, 3030, 1815});

    const std::array<QString, 4> texts = {tr("Down"), tr("Up"), tr("Add"), tr("Delete")};
    const std::array<TwipsBox, 4> boxes = {
        TwipsBox{2400, 3000, 735, 330}, TwipsBox{2400, 2655, 735, 330},
        TwipsBox{90, 2655, 735, 330}, TwipsBox{90, 3000, 735, 330}};
    for (size_t i = 0; i < cmd_.size(); ++i) {
        auto *button = new QPushButton(texts[i], this);
        button->setObjectName(QStringLiteral("cmd%1").arg(i));
        button->setAutoDefault(false);
        Place(button, boxes[i]);
        const int index = static_cast<int>(i);
        connect(button, &QPushButton::clicked, this, [this, index] { cmd_Click(index); });
        cmd_[i] = button;
    }
    // Tab order follows the order of work: type, pick, then the buttons.
    setTabOrder(txtCaption_, cmbCaptions_);
    setTabOrder(cmbCaptions_, cmd_[kCmdAdd]);
    setTabOrder(cmd_[kCmdAdd], cmd_[kCmdUp]);
    setTabOrder(cmd_[kCmdUp], cmd_[kCmdDown]);
    setTabOrder(cmd_[kCmdDown], cmd_[kCmdDelete]);

    // Programmatic text changes raise this too; Updating tells them apart from typing.
    connect(txtCaption_, &QLineEdit::textChanged, this, [this] { txtCaption_Change(); });
    connect(cmbCaptions_, &QListWidget::currentRowChanged, this, [this] { cmbCaptions_Click(); });
}

void propTabCaptions::SelectionChanged()
{
    ctlTabs *tabs = FirstSelected();
    if (tabs == nullptr)
        return;
    updating_ = true;
    {
        const QSignalBlocker blocker(cmbCaptions_);
        cmbCaptions_->clear();
        for (int i = 1; i <= tabs->Tabs(); ++i)
            cmbCaptions_->addItem(tabs->Caption(i).value_or(QString()));
    }
    SelectEntry(0);
    updating_ = false;
}

void propTabCaptions::ApplyChanges()
{
    ctlTabs *tabs = FirstSelected();
    const int count = cmbCaptions_->count();
    // A page that was never filled has nothing to give; the strip keeps at least one tab.
    if (tabs == nullptr || count < 1)
        return;
    tabs->SetTabs(static_cast<qint16>(std::min(count, kMaxEntries)));
    const int n = std::min<int>(tabs->Tabs(), count);
    for (int i = 1; i <= n; ++i)
        tabs->SetCaption(i, cmbCaptions_->item(i - 1)->text());
}

void propTabCaptions::cmbCaptions_Click()
{
    const int row = cmbCaptions_->currentRow();
    if (row < 0)
        return;
    updating_ = true;
    const QString text = cmbCaptions_->item(row)->text();
    txtCaption_->setText(text);
    txtCaption_->setSelection(0, static_cast<int>(text.length()));
    updating_ = false;
}

void propTabCaptions::txtCaption_Change()
{
    if (updating_)
        return;
    const int row = cmbCaptions_->currentRow();
    if (row < 0)
        return;
    cmbCaptions_->item(row)->setText(txtCaption_->text());
    host_.SetChanged(true);
}

void propTabCaptions::cmd_Click(int index)
{
    const int row = cmbCaptions_->currentRow();
    const int count = cmbCaptions_->count();
    switch (index) {
    case kCmdDown:
        if (row < 0 || row >= count - 1)
            return;
        SwapEntries(row, row + 1);
        SelectEntry(row + 1);
        break;
    case kCmdUp:
        if (row < 1)
            return;
        SwapEntries(row, row - 1);
        SelectEntry(row - 1);
        break;
    case kCmdAdd:
        if (count >= kMaxEntries)
            return;
        {
            const QSignalBlocker blocker(cmbCaptions_);
            cmbCaptions_->insertItem(row + 1, QString());
        }
        SelectEntry(row + 1);
        break;
    case kCmdDelete:
        if (count < 2 || row < 0)
            return;
        {
            const QSignalBlocker blocker(cmbCaptions_);
            delete cmbCaptions_->takeItem(row);
        }
        SelectEntry(std::min(row, count - 2));
        break;
    default:
        return;
    }
    host_.SetChanged(true);
}

void propTabCaptions::SelectEntry(int row)
{
    {
        // One click follows, whether or not the current row actually moves.
        const QSignalBlocker blocker(cmbCaptions_);
        cmbCaptions_->setCurrentRow(row);
    }
    cmbCaptions_Click();
}

void propTabCaptions::SwapEntries(int first, int second)
{
    QListWidgetItem *a = cmbCaptions_->item(first);
    QListWidgetItem *b = cmbCaptions_->item(second);
    const QString text = a->text();
    a->setText(b->text());
    b->setText(text);
}

ctlTabs *propTabCaptions::FirstSelected() const
{
    const std::vector<ctlTabs *> selected = host_.SelectedControls();
    return selected.empty() ? nullptr : selected.front();
}

} // namespace trelvik
