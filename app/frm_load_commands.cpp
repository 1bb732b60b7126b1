// SPDX-License-Identifier: GPL-3.0-or-later
// File > New and the two map tools.
#include "controls/insane_progress.h"
#include "edit_commands.h"
#include "frm_load.h"
#include "generator/generate_map.h"
#include "map_view.h"
#include "play/finish_for_play.h"
#include "tools/animal_removal.h"
#include "tools/coastal_castle_fix.h"
#include "viewer/composed_view.h"

#include <algorithm>

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QUndoStack>

namespace trelvik {
namespace {

// The command line that makes the same map as File > New with these choices.
QString GenerateCommand(const NewMapChoice &choice)
{
    const char *const worlds[] = {"greenland", "wasteland", "winter"};
    QString line =
        QStringLiteral("trelvik-cli generate --seed %1 --size %2x%3 --mode %4 --world %5")
            .arg(choice.Seed)
            .arg(choice.Width)
            .arg(choice.Height)
            .arg(choice.QuickMode ? QStringLiteral("quick") : QStringLiteral("normal"))
            .arg(QLatin1String(worlds[std::min<int>(choice.WorldType, 2)]));
    if (choice.Players > 0)
        line += QStringLiteral(" --players %1").arg(choice.Players);
    if (choice.Symmetric)
        line += QStringLiteral(" --symmetric");
    return line + QStringLiteral(" -o map-%1.swd").arg(choice.Seed);
}

} // namespace

void frmLoad::mnuFileGenerate_Click()
{
    if (!MaybeSave())
        return;
    // The size and the mode are drawn from the seed itself, as trelvik-cli generate --seed S
    // draws them, so that the seed alone makes the map again.
    const uint64_t seed = DrawSeed();
    RandomSource drawing;
    drawing.Seed(seed);
    const NewMapRequest request = DrawNewMapRequest(drawing);
    GenerateMap(request.Width, request.Height, request.QuickMode, seed);
}

uint64_t frmLoad::DrawSeed()
{
    const uint64_t high = random_.Next32();
    return (high << 32U) | random_.Next32();
}

bool frmLoad::GenerateMap(int16_t width,
                          int16_t height,
                          bool quickMode,
                          std::optional<uint64_t> seed,
                          uint8_t worldType,
                          int players,
                          bool symmetric)
{
    Filename->clear();
    LiH->clear();
    LiF->clear();
    setWindowTitle(tr("Generating a new map... (%1 x %2) %3")
                       .arg(width)
                       .arg(height)
                       .arg(QLatin1String(ModeName(quickMode))));
    Pro->show();
    SetProgress(0);
    // The caption and the bar reach the screen before the long work holds the thread; user
    // input waits, so no command can run in the middle of a generation.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (seed)
        random_.Seed(*seed);
    else
        seed = random_.SeedFromClock();

    const auto grow = [&](MapDocument &into, uint64_t terrainSeed) {
        if (terrainSeed != *seed)
            random_.Seed(terrainSeed);
        if (!trelvik::GenerateMap(into, width, height, quickMode, random_,
                                  [this](int32_t value) { SetProgress(value); }))
            return false;
        into.Header.WorldType = worldType;
        return true;
    };
    // Grown apart from the map shown, which stays when the players find no room.
    MapDocument fresh;
    std::vector<MapPoint> sites;
    QString distanceTip;
    QString seedLine =
        tr("Seed: %1 (%2)").arg(*seed).arg(QString::fromLatin1(ModeName(quickMode)).toLower());
    std::string failure;
    if (!IsValidMapSide(width) || !IsValidMapSide(height)) {
        failure =
            "Cannot generate a map of " + std::to_string(width) + " x " + std::to_string(height);
    } else if (players == 0) {
        grow(fresh, *seed);
    } else if (const auto made = GeneratePlayableMap(fresh, players, *seed, grow, symmetric)) {
        seedLine = tr("Seed: %1 (%2), %3 players%4")
                       .arg(made->Seed)
                       .arg(QString::fromLatin1(ModeName(quickMode)).toLower())
                       .arg(players)
                       .arg(symmetric ? tr(", symmetric") : QString());
        if (players > 1)
            distanceTip = tr("The headquarters are at least %1 steps apart")
                              .arg(made->Finish.SmallestDistance);
        for (const Point p : made->Finish.Sites)
            sites.push_back({static_cast<int>(p.X), static_cast<int>(p.Y)});
    } else {
        failure = NoPlayableTerrainMessage(width, height, players, *seed);
    }
    if (!failure.empty()) {
        // The map shown before comes back as it was.
        Pro->hide();
        Filename->setText(session_->Path());
        if (HasMap()) {
            ShowHeaderInfo();
            FillAnimalList();
            FillAreaList();
        } else {
            setWindowTitle(AppTitle());
        }
        Message(QString::fromStdString(failure), MessageIcon::Critical);
        return false;
    }
    session_->Adopt(std::move(fresh));
    SetCopyableText(lblSeed, seedLine);
    // The same map again, every value the window used.
    madeBy_ = GenerateCommand({width, height, quickMode, worldType, *seed, players,
                               symmetric && (players == 2 || players == 4)});
    mnuEditCopyCommand->setEnabled(true);
    lblSeed->setToolTip(distanceTip);
    FillAnimalList();
    FillAreaList();
    // The headquarters are marked until the next command.
    picBG->SetToolMarks(std::move(sites));
    VScroll1->setEnabled(true);
    VScroll1_Change();
    Pro->hide();
    return true;
}

void frmLoad::SetProgress(int value)
{
    // The bar repaints at once, so it moves while the generation holds the window's thread.
    Pro->SetValue(value);
    if (progressObserver_)
        progressObserver_(value);
}

void frmLoad::mnuToolsHarbor_Click()
{
    if (Message(QStringLiteral(
                    "Are you sure you want to convert all buildable castle areas to harbor areas?"),
                MessageIcon::None, MessageButtons::YesNo)
        != MessageAnswer::Yes)
        return;
    std::vector<std::size_t> changed;
    MapDocument fixed = Document();
    const int32_t count = CoastalCastleFix(fixed, &changed);
    // The picture stays as it was drawn; the points changed are marked over it, also after an
    // undo or a redo of the fix.
    std::vector<MapPoint> marks;
    marks.reserve(changed.size());
    const auto width = static_cast<std::size_t>(std::max<int16_t>(1, Document().Header.Width));
    for (const std::size_t index : changed)
        marks.push_back({static_cast<int>(index % width), static_cast<int>(index / width)});
    if (count != 0)
        session_->Push(new HarbourMarksCommand(*session_, changed,
                                               [this, marks] { picBG->SetToolMarks(marks); }));
    picBG->SetToolMarks(std::move(marks));
    if (count != 0) {
        Message(
            tr("There is now %1 new positions for harbors!\r\n\r\nRemember to save!").arg(count),
            MessageIcon::Information);
    } else {
        Message(tr("There were no positions to fix"), MessageIcon::Information);
    }
}

void frmLoad::mnuToolsAnimalRemoval_Click()
{
    if (Message(tr("Are you sure you want to remove all animals?"), MessageIcon::None,
                MessageButtons::YesNo)
        != MessageAnswer::Yes)
        return;
    if (!Document().Animals.empty())
        session_->Push(new RemoveAnimalsCommand(*session_));
    LiF->clear();
    Message(tr("File footer cleared"), MessageIcon::None);
}

void frmLoad::mnuToolsRecompute_Click()
{
    if (!HasMap()) {
        Message(tr("There is no map to work on yet"), MessageIcon::Information);
        return;
    }
    auto command = std::make_unique<CheckFixCommand>(*session_, CheckFix::Recompute, std::nullopt);
    const bool changes = command->Changes();
    if (changes)
        session_->Push(command.release());
    Message(changes ? tr("Shading and building quality recomputed.")
                    : tr("Shading and building quality were already as recomputed."),
            MessageIcon::Information);
}

} // namespace trelvik
