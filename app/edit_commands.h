// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/map_check.h"
#include "document/map_document.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include <QUndoCommand>

namespace trelvik {

// The editing commands of the window, kept for undo. Each keeps only what it changed and calls
// `shown` after every undo and redo, so that the window shows the document again.
using ShowDocument = std::function<void()>;

// Change: the map name and author fields of the header.
class HeaderTextsCommand : public QUndoCommand
{
public:
    using TextField = decltype(MapHeader::Title);
    HeaderTextsCommand(MapDocument &document,
                       const TextField &title,
                       const TextField &author,
                       ShowDocument shown);
    void undo() override { Swap(); }
    void redo() override { Swap(); }

private:
    void Swap();
    MapDocument &document_;
    TextField title_;
    TextField author_;
    ShowDocument shown_;
};

// The coastal castle fix: the harbour mark of the layer-2 points it set.
class HarbourMarksCommand : public QUndoCommand
{
public:
    HarbourMarksCommand(MapDocument &document, std::vector<std::size_t> points, ShowDocument shown);
    void undo() override { Mark(false); }
    void redo() override { Mark(true); }

private:
    void Mark(bool set);
    MapDocument &document_;
    std::vector<std::size_t> points_;
    ShowDocument shown_;
};

// Animal removal: the animals it removed.
class RemoveAnimalsCommand : public QUndoCommand
{
public:
    RemoveAnimalsCommand(MapDocument &document, ShowDocument shown);
    void undo() override;
    void redo() override;

private:
    MapDocument &document_;
    std::vector<AnimalEntry> removed_;
    ShowDocument shown_;
};

// A fix offered by the map check, and Tools > Recompute: whichever parts of the document it
// changed (the header, the layers, the animals), before and after.
class CheckFixCommand : public QUndoCommand
{
public:
    // Works the fix out on a copy of the document; Changes() tells whether it changes anything.
    CheckFixCommand(MapDocument &document,
                    CheckFix fix,
                    std::optional<Point> at,
                    ShowDocument shown);
    bool Changes() const;
    void undo() override { Swap(); }
    void redo() override { Swap(); }

private:
    void Swap();
    MapDocument &document_;
    std::optional<MapHeader> header_;
    std::optional<decltype(MapDocument::BlockHeaders)> blockHeaders_;
    std::vector<std::pair<int, MapLayer>> layers_; // by number, only the layers changed
    std::optional<std::vector<AnimalEntry>> animals_;
    ShowDocument shown_;
};

} // namespace trelvik
