// SPDX-License-Identifier: GPL-3.0-or-later
#include "new_map_dialog.h"

#include "core_texts.h"
#include "generator/generate_map.h"
#include "generator/random_source.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>

namespace trelvik {
namespace {

using namespace Qt::StringLiterals;

// Where the choices are kept for the next time.
const QString kKey = u"newMap/"_s;
const QString kBlankKey = u"blankMap/"_s;

QComboBox *Sides(QWidget *owner, const char *name)
{
    auto *box = new QComboBox(owner);
    box->setObjectName(QLatin1String(name));
    for (int side = kMinMapSide; side <= kMaxMapSide; side += kMapSideStep)
        box->addItem(QString::number(side), side);
    return box;
}

QDialogButtonBox *OkCancel(QDialog *dialog)
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(NewMapDialog::tr("&OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(NewMapDialog::tr("&Cancel"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

QComboBox *Worlds(QWidget *owner)
{
    auto *box = new QComboBox(owner);
    box->setObjectName(QStringLiteral("cboWorld"));
    box->addItems(
        {NewMapDialog::tr("Greenland"), NewMapDialog::tr("Wasteland"), NewMapDialog::tr("Winter")});
    return box;
}

} // namespace

NewMapDialog::NewMapDialog(QWidget *owner, uint64_t proposedSeed)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("dlgNewMap"));
    setWindowTitle(tr("New map"));
    width_ = Sides(this, "cboWidth");
    height_ = Sides(this, "cboHeight");
    mode_ = new QComboBox(this);
    mode_->setObjectName(QStringLiteral("cboMode"));
    mode_->addItems({QStringLiteral("QUICK"), QStringLiteral("NORMAL")});
    world_ = Worlds(this);
    seed_ = new QLineEdit(this);
    seed_->setObjectName(QStringLiteral("txtSeed"));
    players_ = new QSpinBox(this);
    players_->setObjectName(QStringLiteral("spnPlayers"));
    players_->setRange(0, kHeadquartersCount);
    players_->setSpecialValueText(tr("0 (terrain only)"));
    players_->setToolTip(
        tr("Finish the map for this many players: headquarters far apart, trees, granite, "
           "resources, building quality, shading and areas"));
    symmetric_ = new QCheckBox(tr("S&ymmetric: every start on the same ground"), this);
    symmetric_->setObjectName(QStringLiteral("chkSymmetric"));
    symmetric_->setToolTip(
        tr("For 2 or 4 players: the map is mirrored (left and right, or top and bottom, or both), "
           "so that every player starts on the same ground"));
    const auto mirrorable = [this] {
        const bool two_or_four = players_->value() == 2 || players_->value() == 4;
        symmetric_->setEnabled(two_or_four);
        if (!two_or_four)
            symmetric_->setChecked(false);
    };
    connect(players_, &QSpinBox::valueChanged, this, mirrorable);
    // Wide enough for the largest seed, 20 digits.
    seed_->setMinimumWidth(seed_->fontMetrics().horizontalAdvance(QString(21, u'8')) + 12);
    QDialogButtonBox *buttons = OkCancel(this);
    connect(seed_, &QLineEdit::textChanged, this, [this, buttons] {
        buttons->button(QDialogButtonBox::Ok)->setEnabled(Choice().has_value());
    });

    auto *form = new QFormLayout(this);
    form->addRow(tr("&Width:"), width_);
    form->addRow(tr("&Height:"), height_);
    form->addRow(tr("&Mode:"), mode_);
    form->addRow(tr("Wo&rld:"), world_);
    form->addRow(tr("&Seed:"), seed_);
    form->addRow(tr("&Players:"), players_);
    form->addRow(QString(), symmetric_);
    form->addRow(buttons);
    // The choices made last time, with a fresh seed.
    const QSettings settings;
    NewMapChoice last;
    last.Width = static_cast<int16_t>(settings.value(kKey + u"width"_s, 128).toInt());
    last.Height = static_cast<int16_t>(settings.value(kKey + u"height"_s, 128).toInt());
    last.QuickMode = settings.value(kKey + u"quick"_s, false).toBool();
    last.WorldType =
        static_cast<uint8_t>(std::clamp(settings.value(kKey + u"world"_s).toInt(), 0, 2));
    last.Players = std::clamp(settings.value(kKey + u"players"_s).toInt(), 0, kHeadquartersCount);
    last.Symmetric = settings.value(kKey + u"symmetric"_s, false).toBool();
    last.Seed = proposedSeed;
    SetChoice(last);
    if (width_->currentIndex() < 0 || height_->currentIndex() < 0)
        SetChoice({128, 128, false, 0, proposedSeed});
    mirrorable();
}

std::optional<NewMapChoice> NewMapDialog::Choice() const
{
    // Taken as the command line takes a seed.
    const std::optional<uint64_t> seed = ParseSeed(seed_->text().trimmed().toStdString());
    if (!seed)
        return std::nullopt;
    return NewMapChoice{static_cast<int16_t>(width_->currentData().toInt()),
                        static_cast<int16_t>(height_->currentData().toInt()),
                        mode_->currentIndex() == 0,
                        static_cast<uint8_t>(world_->currentIndex()),
                        *seed,
                        players_->value(),
                        symmetric_->isEnabled() && symmetric_->isChecked()};
}

void NewMapDialog::SetChoice(const NewMapChoice &choice)
{
    width_->setCurrentIndex(width_->findData(int{choice.Width}));
    height_->setCurrentIndex(height_->findData(int{choice.Height}));
    mode_->setCurrentIndex(choice.QuickMode ? 0 : 1);
    world_->setCurrentIndex(std::min<int>(choice.WorldType, 2));
    seed_->setText(QString::number(choice.Seed));
    players_->setValue(choice.Players);
    symmetric_->setChecked(choice.Symmetric && (choice.Players == 2 || choice.Players == 4));
}

void NewMapDialog::accept()
{
    const std::optional<NewMapChoice> choice = Choice();
    if (!choice)
        return;
    QSettings settings;
    settings.setValue(kKey + u"width"_s, choice->Width);
    settings.setValue(kKey + u"height"_s, choice->Height);
    settings.setValue(kKey + u"quick"_s, choice->QuickMode);
    settings.setValue(kKey + u"world"_s, choice->WorldType);
    settings.setValue(kKey + u"players"_s, choice->Players);
    settings.setValue(kKey + u"symmetric"_s, choice->Symmetric);
    QDialog::accept();
}

BlankMapDialog::BlankMapDialog(QWidget *owner)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("dlgBlankMap"));
    setWindowTitle(tr("New blank map"));
    width_ = Sides(this, "cboWidth");
    height_ = Sides(this, "cboHeight");
    world_ = Worlds(this);
    terrain_ = new QComboBox(this);
    terrain_->setObjectName(QStringLiteral("cboTerrain"));
    for (const uint8_t code : edit::PaintableTerrains(0))
        terrain_->addItem(TerrainLabelText(code), code);
    groundHeight_ = new QSpinBox(this);
    groundHeight_->setObjectName(QStringLiteral("spnGroundHeight"));
    groundHeight_->setRange(0, edit::kMaxHeight);

    auto *form = new QFormLayout(this);
    form->addRow(tr("&Width:"), width_);
    form->addRow(tr("&Height:"), height_);
    form->addRow(tr("Wo&rld:"), world_);
    form->addRow(tr("&Terrain:"), terrain_);
    form->addRow(tr("&Ground height:"), groundHeight_);
    form->addRow(OkCancel(this));

    const QSettings settings;
    edit::BlankMapRequest last;
    last.Width = static_cast<int16_t>(settings.value(kBlankKey + u"width"_s, 64).toInt());
    last.Height = static_cast<int16_t>(settings.value(kBlankKey + u"height"_s, 64).toInt());
    last.WorldType =
        static_cast<uint8_t>(std::clamp(settings.value(kBlankKey + u"world"_s).toInt(), 0, 2));
    last.Terrain = static_cast<uint8_t>(
        settings.value(kBlankKey + u"terrain"_s, int{edit::BlankMapRequest{}.Terrain}).toInt());
    last.GroundHeight = static_cast<uint8_t>(std::clamp(
        settings.value(kBlankKey + u"groundHeight"_s, int{edit::BlankMapRequest{}.GroundHeight})
            .toInt(),
        0, edit::kMaxHeight));
    SetRequest(last);
    if (width_->currentIndex() < 0 || height_->currentIndex() < 0 || terrain_->currentIndex() < 0)
        SetRequest({});
}

edit::BlankMapRequest BlankMapDialog::Request() const
{
    edit::BlankMapRequest request;
    request.Width = static_cast<int16_t>(width_->currentData().toInt());
    request.Height = static_cast<int16_t>(height_->currentData().toInt());
    request.WorldType = static_cast<uint8_t>(world_->currentIndex());
    request.Terrain = static_cast<uint8_t>(terrain_->currentData().toInt());
    request.GroundHeight = static_cast<uint8_t>(groundHeight_->value());
    return request;
}

void BlankMapDialog::SetRequest(const edit::BlankMapRequest &request)
{
    width_->setCurrentIndex(width_->findData(int{request.Width}));
    height_->setCurrentIndex(height_->findData(int{request.Height}));
    world_->setCurrentIndex(std::min<int>(request.WorldType, 2));
    terrain_->setCurrentIndex(terrain_->findData(int{request.Terrain}));
    groundHeight_->setValue(request.GroundHeight);
}

void BlankMapDialog::accept()
{
    const edit::BlankMapRequest request = Request();
    QSettings settings;
    settings.setValue(kBlankKey + u"width"_s, request.Width);
    settings.setValue(kBlankKey + u"height"_s, request.Height);
    settings.setValue(kBlankKey + u"world"_s, request.WorldType);
    settings.setValue(kBlankKey + u"terrain"_s, request.Terrain);
    settings.setValue(kBlankKey + u"groundHeight"_s, request.GroundHeight);
    QDialog::accept();
}

std::optional<edit::BlankMapRequest> AskForBlankMap(QWidget *owner)
{
    BlankMapDialog dialog(owner);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Request();
}

} // namespace trelvik
