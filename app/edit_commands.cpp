// SPDX-License-Identifier: GPL-3.0-or-later
#include "edit_commands.h"

#include "core_texts.h"
#include "tools/animal_removal.h"
#include "tools/coastal_castle_fix.h"

#include <utility>

#include <QCoreApplication>

namespace trelvik {

HeaderTextsCommand::HeaderTextsCommand(MapDocument &document,
                                       const TextField &title,
                                       const TextField &author,
                                       ShowDocument shown)
    : QUndoCommand(QCoreApplication::translate("EditCommands", "Change"))
    , document_(document)
    , title_(title)
    , author_(author)
    , shown_(std::move(shown))
{}

void HeaderTextsCommand::Swap()
{
    // Holds the other state between calls, so undo and redo are the same exchange.
    std::swap(document_.Header.Title, title_);
    std::swap(document_.Header.Author, author_);
    shown_();
}

HarbourMarksCommand::HarbourMarksCommand(MapDocument &document,
                                         std::vector<std::size_t> points,
                                         ShowDocument shown)
    : QUndoCommand(QCoreApplication::translate("EditCommands", "Coastal castle fix"))
    , document_(document)
    , points_(std::move(points))
    , shown_(std::move(shown))
{}

void HarbourMarksCommand::Mark(bool set)
{
    // The fix marked only points without the mark, inside layer 2.
    MapLayer &layer = document_.Layer(2);
    for (const std::size_t point : points_) {
        if (point < layer.size())
            layer[point] = static_cast<uint8_t>(set ? layer[point] | kHarbourBit
                                                    : layer[point] & ~kHarbourBit);
    }
    shown_();
}

RemoveAnimalsCommand::RemoveAnimalsCommand(MapDocument &document, ShowDocument shown)
    : QUndoCommand(QCoreApplication::translate("EditCommands", "Remove animals"))
    , document_(document)
    , removed_(document.Animals)
    , shown_(std::move(shown))
{}

void RemoveAnimalsCommand::undo()
{
    document_.Animals = removed_;
    shown_();
}

void RemoveAnimalsCommand::redo()
{
    RemoveAnimals(document_);
    shown_();
}

CheckFixCommand::CheckFixCommand(MapDocument &document,
                                 CheckFix fix,
                                 std::optional<Point> at,
                                 ShowDocument shown)
    : QUndoCommand(CoreText(FixName(fix)))
    , document_(document)
    , shown_(std::move(shown))
{
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
}

bool CheckFixCommand::Changes() const
{
    return header_ || blockHeaders_ || !layers_.empty() || animals_;
}

void CheckFixCommand::Swap()
{
    if (header_)
        std::swap(document_.Header, *header_);
    if (blockHeaders_)
        std::swap(document_.BlockHeaders, *blockHeaders_);
    for (auto &[k, layer] : layers_)
        std::swap(document_.Layer(k), layer);
    if (animals_)
        std::swap(document_.Animals, *animals_);
    shown_();
}

} // namespace trelvik
