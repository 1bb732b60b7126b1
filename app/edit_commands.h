// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/map_check.h"
#include "document/map_document.h"
#include "edit/change_set.h"
#include "map_session.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include <QUndoCommand>

namespace trelvik {

// The editing commands of the window, kept for undo. Each keeps only what it changed, changes
// the session's document and announces what it changed after every undo and redo; `after`,
// when given, runs next (a tool's own marks).
using AfterStep = std::function<void()>;

// Change: the map name and author fields of the header.
class HeaderTextsCommand : public QUndoCommand
{
public:
    using TextField = decltype(MapHeader::Title);
    HeaderTextsCommand(MapSession &session, const TextField &title, const TextField &author);
    void undo() override { Swap(); }
    void redo() override { Swap(); }

private:
    void Swap();
    MapSession &session_;
    TextField title_;
    TextField author_;
};

// The coastal castle fix: the harbour mark of the layer-2 points it set.
class HarbourMarksCommand : public QUndoCommand
{
public:
    HarbourMarksCommand(MapSession &session, std::vector<std::size_t> points, AfterStep after);
    void undo() override { Mark(false); }
    void redo() override { Mark(true); }

private:
    void Mark(bool set);
    MapSession &session_;
    std::vector<std::size_t> points_;
    AfterStep after_;
};

// Animal removal: the animals it removed.
class RemoveAnimalsCommand : public QUndoCommand
{
public:
    explicit RemoveAnimalsCommand(MapSession &session);
    void undo() override;
    void redo() override;

private:
    MapSession &session_;
    std::vector<AnimalEntry> removed_;
};

// A fix offered by the map check, and Tools > Recompute: whichever parts of the document it
// changed (the header, the layers, the animals), before and after.
class CheckFixCommand : public QUndoCommand
{
public:
    // Works the fix out on a copy of the document; Changes() tells whether it changes anything.
    CheckFixCommand(MapSession &session, CheckFix fix, std::optional<Point> at);
    bool Changes() const;
    void undo() override { Swap(); }
    void redo() override { Swap(); }

private:
    void Swap();
    MapSession &session_;
    std::optional<MapHeader> header_;
    std::optional<decltype(MapDocument::BlockHeaders)> blockHeaders_;
    std::vector<std::pair<int, MapLayer>> layers_; // by number, only the layers changed
    std::optional<std::vector<AnimalEntry>> animals_;
    SessionChange change_;
};

// A brush's stroke: the bytes it changed, before and after. The stroke has already changed the
// document when the command is made, so its first redo only tells the session.
class StrokeCommand : public QUndoCommand
{
public:
    StrokeCommand(MapSession &session, edit::ChangeSet changes, const QString &text);
    void undo() override;
    void redo() override;

private:
    void Announce();
    MapSession &session_;
    edit::ChangeSet changes_;
    bool done_ = true;
};

} // namespace trelvik
