// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/map_document.h"
#include "document/map_file.h"
#include "viewer/composed_view.h"

#include <cstddef>
#include <vector>

#include <QObject>
#include <QString>

class QUndoCommand;
class QUndoStack;

namespace trelvik {

// What an edit, its undo or its redo changed, for those who show the map: the points whose
// layer bytes changed, and which other parts of the document may differ.
struct SessionChange
{
    // Sorted point indices; with AllPoints the whole map may differ instead.
    std::vector<std::size_t> Points;
    bool AllPoints = false;
    bool Header = false;
    // The header's area table.
    bool Areas = false;
    bool Animals = false;

    bool LayersChanged() const { return AllPoints || !Points.empty(); }
};

// The map being worked on: the document, the file it came from or went to, its history of edits
// and whether it differs from that file, with the pictures derived from it kept current. The
// window only shows it: it listens to Replaced (a map read, made or dropped) and Changed (an
// edit, undo or redo), and every edit goes through Push, as an undo command that changes the
// document through Edit() and tells Announce what it changed.
class MapSession : public QObject
{
    Q_OBJECT

public:
    explicit MapSession(QObject *parent = nullptr);
    ~MapSession() override;

    const MapDocument &Document() const { return document_; }
    // A map is held: a document read or made, with the signature of one.
    bool HasMap() const;
    // The file the map was read from or last saved to; empty for a map never saved.
    const QString &Path() const { return path_; }
    // The layout a save to Path() writes.
    MapLayout Format() const;
    QUndoStack &History() { return *history_; }
    const QUndoStack &History() const { return *history_; }
    // The map differs from its file, or was never saved.
    bool Modified() const;
    // The terrain picture: one palette index per point, the triangle to the lower right of each.
    const ComposedView &Composed() const { return composed_; }
    // The other triangle of each point, the one below it.
    const ComposedView &LowerTriangles() const { return lower_; }

    // Reads a map; on success it replaces the one held, with no history, and Path() is `path`.
    // On failure nothing changes.
    ReadResult Open(const QString &path);
    // Writes the map; on success Path() is `path` and the map counts as saved.
    WriteResult Save(const QString &path);
    // A map made here replaces the one held: no file, no history, changed until saved.
    void Adopt(MapDocument document);
    // No map.
    void Clear();

    // Carries the edit out and keeps it for undo.
    void Push(QUndoCommand *command);
    // The document for an undo command to change; it then calls Announce.
    MapDocument &Edit() { return document_; }
    // Brings the derived pictures up to date with the change, then tells the listeners.
    void Announce(const SessionChange &change);

signals:
    void Replaced();
    void Changed(const trelvik::SessionChange &change);
    void ModifiedChanged();
    void PathChanged(const QString &path);

private:
    void Replace(MapDocument document, const QString &path, bool neverSaved);
    void SetPath(const QString &path);

    MapDocument document_;
    QString path_;
    QUndoStack *history_ = nullptr;
    // A map made here and never saved counts as changed.
    bool neverSaved_ = false;
    ComposedView composed_;
    ComposedView lower_;
};

// A path as the core's file functions take it: UTF-8.
std::string CorePath(const QString &path);

} // namespace trelvik
