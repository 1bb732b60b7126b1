// SPDX-License-Identifier: GPL-3.0-or-later
#include "edit_commands.h"

#include "core_texts.h"
#include "tools/animal_removal.h"
#include "tools/coastal_castle_fix.h"

#include <algorithm>
#include <utility>

#include <QCoreApplication>

namespace trelvik {
namespace {

// The header panel and the animal list are shown again after each of these commands, with the
// points and the area table when they changed.
SessionChange HeaderAndAnimals(bool allPoints = false, bool areas = false)
{
    SessionChange change;
    change.AllPoints = allPoints;
    change.Header = true;
    change.Areas = areas;
    change.Animals = true;
    return change;
}

} // namespace

HeaderTextsCommand::HeaderTextsCommand(MapSession &session,
                                       const TextField &title,
                                       const TextField &author)
    : QUndoCommand(QCoreApplication::translate("EditCommands", "Change"))
    , session_(session)
    , title_(title)
    , author_(author)
{}

void HeaderTextsCommand::Swap()
{
    // Holds the other state between calls, so undo and redo are the same exchange.
    MapDocument &document = session_.Edit();
    std::swap(document.Header.Title, title_);
    std::swap(document.Header.Author, author_);
    session_.Announce(HeaderAndAnimals());
}

HarbourMarksCommand::HarbourMarksCommand(MapSession &session,
                                         std::vector<std::size_t> points,
                                         AfterStep after)
    : QUndoCommand(QCoreApplication::translate("EditCommands", "Coastal castle fix"))
    , session_(session)
    , points_(std::move(points))
    , after_(std::move(after))
{}

void HarbourMarksCommand::Mark(bool set)
{
    // The fix marked only points without the mark, inside layer 2.
    MapLayer &layer = session_.Edit().Layer(2);
    SessionChange change = HeaderAndAnimals();
    for (const std::size_t point : points_) {
        if (point < layer.size()) {
            layer[point] = static_cast<uint8_t>(set ? layer[point] | kHarbourBit
                                                    : layer[point] & ~kHarbourBit);
            change.Points.push_back(point);
        }
    }
    std::sort(change.Points.begin(), change.Points.end());
    session_.Announce(change);
    if (after_)
        after_();
}

RemoveAnimalsCommand::RemoveAnimalsCommand(MapSession &session)
    : QUndoCommand(QCoreApplication::translate("EditCommands", "Remove animals"))
    , session_(session)
    , removed_(session.Document().Animals)
{}

void RemoveAnimalsCommand::undo()
{
    session_.Edit().Animals = removed_;
    session_.Announce(HeaderAndAnimals());
}

void RemoveAnimalsCommand::redo()
{
    RemoveAnimals(session_.Edit());
    session_.Announce(HeaderAndAnimals());
}

CheckFixCommand::CheckFixCommand(MapSession &session, CheckFix fix, std::optional<Point> at)
    : QUndoCommand(CoreText(FixName(fix)))
    , session_(session)
{
    const MapDocument &document = session.Document();
    MapDocument fixed = document;
    if (!ApplyFix(fixed, fix, at))
        return;
    // Only the parts that differ are kept, each holding the state the document does not.
    if (fixed.Header != document.Header)
        header_ = fixed.Header;
    if (fixed.BlockHeaders != document.BlockHeaders)
        blockHeaders_ = fixed.BlockHeaders;
    for (int k = 1; k <= kLayerCount; ++k) {
        if (fixed.Layer(k) != document.Layer(k))
            layers_.emplace_back(k, std::move(fixed.Layer(k)));
    }
    if (fixed.Animals != document.Animals)
        animals_ = std::move(fixed.Animals);
    change_ = HeaderAndAnimals(!layers_.empty() || blockHeaders_,
                               header_ && header_->Areas != document.Header.Areas);
}

bool CheckFixCommand::Changes() const
{
    return header_ || blockHeaders_ || !layers_.empty() || animals_;
}

void CheckFixCommand::Swap()
{
    MapDocument &document = session_.Edit();
    if (header_)
        std::swap(document.Header, *header_);
    if (blockHeaders_)
        std::swap(document.BlockHeaders, *blockHeaders_);
    for (auto &[k, layer] : layers_)
        std::swap(document.Layer(k), layer);
    if (animals_)
        std::swap(document.Animals, *animals_);
    session_.Announce(change_);
}

StrokeCommand::StrokeCommand(MapSession &session, edit::ChangeSet changes, const QString &text)
    : QUndoCommand(text)
    , session_(session)
    , changes_(std::move(changes))
{}

void StrokeCommand::undo()
{
    changes_.Undo(session_.Edit());
    Announce();
}

void StrokeCommand::redo()
{
    if (!std::exchange(done_, false))
        changes_.Redo(session_.Edit());
    Announce();
}

void StrokeCommand::Announce()
{
    SessionChange change;
    change.Points = changes_.Points();
    change.Header = changes_.HeaderChanged();
    change.Areas = change.Header;
    change.Animals = changes_.AnimalsChanged();
    session_.Announce(change);
}

} // namespace trelvik
