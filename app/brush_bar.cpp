// SPDX-License-Identifier: GPL-3.0-or-later
#include "brush_bar.h"

#include "core_texts.h"
#include "document/code_tables.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QSpinBox>

namespace trelvik {
namespace {

using edit::BrushKind;

struct BrushItem
{
    BrushKind Kind;
    const char *Name;
    const char *Caption;
    Qt::Key Key;
};

// Named and keyed in the order of BrushKind.
constexpr std::array<BrushItem, BrushBar::kBrushCount> kBrushes = {{
    {BrushKind::Terrain, "actBrushTerrain", QT_TRANSLATE_NOOP("trelvik::BrushBar", "&Terrain"),
     Qt::Key_1},
    {BrushKind::Height, "actBrushHeight", QT_TRANSLATE_NOOP("trelvik::BrushBar", "&Height"),
     Qt::Key_2},
    {BrushKind::Objects, "actBrushObjects", QT_TRANSLATE_NOOP("trelvik::BrushBar", "&Objects"),
     Qt::Key_3},
    {BrushKind::Resources, "actBrushResources",
     QT_TRANSLATE_NOOP("trelvik::BrushBar", "&Resources"), Qt::Key_4},
    {BrushKind::Animals, "actBrushAnimals", QT_TRANSLATE_NOOP("trelvik::BrushBar", "&Animals"),
     Qt::Key_5},
    {BrushKind::Players, "actBrushPlayers", QT_TRANSLATE_NOOP("trelvik::BrushBar", "&Players"),
     Qt::Key_6},
    {BrushKind::Harbour, "actBrushHarbour",
     QT_TRANSLATE_NOOP("trelvik::BrushBar", "Harbour &marks"), Qt::Key_7},
}};

// The choices after the terrain brush's, as (text, value) in the order of the brush's enum;
// value -1 is the erasing choice.
struct Choice
{
    const char *Text;
    int Value;
};

constexpr Choice kHeightChoices[] = {{QT_TRANSLATE_NOOP("trelvik::BrushBar", "Raise"), 0},
                                     {QT_TRANSLATE_NOOP("trelvik::BrushBar", "Lower"), 1},
                                     {QT_TRANSLATE_NOOP("trelvik::BrushBar", "Flatten"), 2},
                                     {QT_TRANSLATE_NOOP("trelvik::BrushBar", "Smooth"), 3}};
constexpr Choice kResourceChoices[] = {{QT_TRANSLATE_NOOP("trelvik::BrushBar", "Coal"), 0},
                                       {QT_TRANSLATE_NOOP("trelvik::BrushBar", "Iron"), 1},
                                       {QT_TRANSLATE_NOOP("trelvik::BrushBar", "Gold"), 2},
                                       {QT_TRANSLATE_NOOP("trelvik::BrushBar", "Granite"), 3},
                                       {QT_TRANSLATE_NOOP("trelvik::BrushBar", "Water"), 4},
                                       {QT_TRANSLATE_NOOP("trelvik::BrushBar", "Fish"), 5},
                                       {QT_TRANSLATE_NOOP("trelvik::BrushBar", "Erase"), 6}};
constexpr Choice kHarbourChoices[] = {{QT_TRANSLATE_NOOP("trelvik::BrushBar", "Mark"), 0},
                                      {QT_TRANSLATE_NOOP("trelvik::BrushBar", "Erase"), -1}};

// Objects: a tree, granite of each size, a decoration, erase.
constexpr int kTreeChoice = 0;
constexpr int kDecorationChoice = 7;
constexpr int kObjectEraseChoice = -1;

} // namespace

BrushBar::BrushBar(QWidget *parent)
    : QToolBar(tr("Brushes"), parent)
{
    setObjectName(QStringLiteral("tbrBrushes"));
    group_ = new QActionGroup(this);
    // One of them is chosen at a time.
    const auto choice = [this](const QString &caption, const char *name, Qt::Key key) {
        QAction *action = addAction(caption);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(QKeySequence(key));
        action->setCheckable(true);
        group_->addAction(action);
        return action;
    };
    inspect_ = choice(tr("&Inspect"), "actBrushInspect", Qt::Key_Escape);
    inspect_->setToolTip(tr("Inspect: no brush (Esc)"));
    for (std::size_t k = 0; k < kBrushes.size(); ++k)
        brushes_[k] = choice(tr(kBrushes[k].Caption), kBrushes[k].Name, kBrushes[k].Key);
    inspect_->setChecked(true);
    addSeparator();

    auto *sizeLabel = new QLabel(tr("Si&ze"), this);
    addWidget(sizeLabel);
    size_ = new QSpinBox(this);
    size_->setObjectName(QStringLiteral("spnBrushSize"));
    size_->setRange(edit::kMinBrushSize, edit::kMaxBrushSize);
    size_->setValue(3);
    sizeLabel->setBuddy(size_);
    addWidget(size_);
    choice_ = new QComboBox(this);
    choice_->setObjectName(QStringLiteral("cboBrushChoice"));
    choice_->setAccessibleName(tr("What the brush puts down"));
    choice_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    addWidget(choice_);
    amountLabel_ = new QLabel(tr("Am&ount"), this);
    amountLabelAction_ = addWidget(amountLabel_);
    amount_ = new QSpinBox(this);
    amount_->setObjectName(QStringLiteral("spnBrushAmount"));
    amount_->setRange(1, 7);
    amount_->setValue(7);
    amountLabel_->setBuddy(amount_);
    amountAction_ = addWidget(amount_);
    addSeparator();
    description_ = new QLabel(this);
    description_->setObjectName(QStringLiteral("lblBrush"));
    description_->setAccessibleName(tr("What the brush does"));
    addWidget(description_);

    connect(group_, &QActionGroup::triggered, this, [this] {
        FillChoices();
        emit BrushChanged();
    });
    for (QSpinBox *spin : {size_, amount_})
        connect(spin, &QSpinBox::valueChanged, this, [this] {
            Describe();
            emit BrushChanged();
        });
    connect(choice_, &QComboBox::currentIndexChanged, this, [this] {
        Describe();
        emit BrushChanged();
    });
    FillChoices();
}

std::optional<edit::Brush> BrushBar::Current() const
{
    std::optional<edit::Brush> brush;
    for (std::size_t k = 0; k < brushes_.size(); ++k) {
        if (brushes_[k]->isChecked()) {
            brush.emplace();
            brush->Kind = kBrushes[k].Kind;
        }
    }
    if (!brush)
        return brush;
    brush->Size = size_->value();
    const int value = choice_->currentData().toInt();
    switch (brush->Kind) {
    case BrushKind::Terrain:
        brush->Terrain = static_cast<uint8_t>(value);
        break;
    case BrushKind::Height:
        brush->Height = static_cast<edit::HeightMode>(value);
        break;
    case BrushKind::Objects:
        if (value == kObjectEraseChoice) {
            brush->Object = edit::ObjectChoice::Erase;
        } else if (value == kTreeChoice) {
            brush->Object = edit::ObjectChoice::Tree;
        } else if (value == kDecorationChoice) {
            brush->Object = edit::ObjectChoice::Decoration;
        } else {
            brush->Object = edit::ObjectChoice::Granite;
            brush->GraniteSize = static_cast<uint8_t>(value);
        }
        break;
    case BrushKind::Resources:
        brush->Resource = static_cast<edit::ResourceChoice>(value);
        brush->Amount = amount_->value();
        break;
    case BrushKind::Animals:
    case BrushKind::Players:
    case BrushKind::Harbour:
        brush->Erase = value < 0;
        if (brush->Kind == BrushKind::Animals && value > 0)
            brush->Animal = static_cast<uint8_t>(value);
        if (brush->Kind == BrushKind::Players && value >= 0)
            brush->Player = value;
        break;
    }
    return brush;
}

QString BrushBar::BrushName() const
{
    const QAction *checked = group_->checkedAction();
    return checked ? checked->text().remove(u'&') : QString();
}

void BrushBar::ChooseInspect()
{
    if (inspect_->isChecked())
        return;
    inspect_->setChecked(true);
    FillChoices();
    emit BrushChanged();
}

void BrushBar::SetWorld(uint8_t worldType)
{
    if (worldType == world_)
        return;
    world_ = worldType;
    FillChoices();
}

void BrushBar::FillMenu(QMenu *menu) const
{
    menu->addAction(inspect_);
    for (QAction *brush : brushes_)
        menu->addAction(brush);
}

void BrushBar::FillChoices()
{
    const QSignalBlocker quiet(choice_);
    const std::optional<edit::Brush> brush = Current();
    choice_->clear();
    const auto add = [this](const QString &text, int value) { choice_->addItem(text, value); };
    const auto addAll = [&](auto &choices) {
        for (const Choice &c : choices)
            add(tr(c.Text), c.Value);
    };
    if (brush) {
        switch (brush->Kind) {
        case BrushKind::Terrain:
            for (const uint8_t code : edit::PaintableTerrains(world_))
                add(TerrainLabelText(code), code);
            break;
        case BrushKind::Height:
            addAll(kHeightChoices);
            break;
        case BrushKind::Objects:
            add(tr("Tree"), kTreeChoice);
            for (int size = 1; size <= 6; ++size)
                add(tr("Granite, size %1").arg(size), size);
            add(tr("Decoration"), kDecorationChoice);
            add(tr("Erase"), kObjectEraseChoice);
            break;
        case BrushKind::Resources:
            addAll(kResourceChoices);
            break;
        case BrushKind::Animals:
            for (uint8_t species = 1; species <= 9; ++species)
                add(CoreText(AnimalName(species)), species);
            add(tr("Erase"), -1);
            break;
        case BrushKind::Players:
            for (int player = 0; player < 7; ++player)
                add(tr("Player %1").arg(player + 1), player);
            add(tr("Remove"), -1);
            break;
        case BrushKind::Harbour:
            addAll(kHarbourChoices);
            break;
        }
    }
    choice_->setEnabled(brush.has_value());
    size_->setEnabled(brush && brush->Kind != BrushKind::Players);
    Describe();
}

void BrushBar::Describe()
{
    const std::optional<edit::Brush> brush = Current();
    const bool minerals = brush && brush->Kind == BrushKind::Resources
                          && brush->Resource <= edit::ResourceChoice::Granite;
    amountAction_->setVisible(minerals);
    amountLabelAction_->setVisible(minerals);
    if (!brush) {
        description_->setText(tr("Click a point to read it; drag to move the map"));
        return;
    }
    const QString what = choice_->currentText();
    const int size = brush->Size;
    QString line;
    switch (brush->Kind) {
    case BrushKind::Terrain:
        line = tr("Paint: %1").arg(what);
        break;
    case BrushKind::Height:
        line = brush->Height == edit::HeightMode::Flatten
                   ? tr("Flatten to the first point's height")
               : brush->Height == edit::HeightMode::Smooth
                   ? what
                   : tr("%1 by %2").arg(what).arg(brush->HeightStep);
        break;
    case BrushKind::Objects:
        line = brush->Object == edit::ObjectChoice::Erase
                   ? tr("Erase trees, granite and decorations")
                   : tr("Place: %1").arg(what);
        break;
    case BrushKind::Resources:
        line = brush->Resource == edit::ResourceChoice::Erase ? tr("Erase resources")
               : minerals ? tr("Place: %1 %2").arg(what).arg(brush->Amount)
                          : tr("Place: %1").arg(what);
        break;
    case BrushKind::Animals:
        line = brush->Erase ? tr("Erase animals") : tr("Place: %1").arg(what);
        break;
    case BrushKind::Players:
        description_->setText(
            brush->Erase ? tr("Click a headquarters to remove it; the players after it move up one")
                         : tr("Place the headquarters of %1 (drag a mark to move it)").arg(what));
        return;
    case BrushKind::Harbour:
        line = brush->Erase ? tr("Erase harbour marks")
                            : tr("Mark harbour sites on castle points by the water");
        break;
    }
    description_->setText(size == 1 ? tr("%1, 1 point across").arg(line)
                                    : tr("%1, %2 points across").arg(line).arg(size));
}

} // namespace trelvik
