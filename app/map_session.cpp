// SPDX-License-Identifier: GPL-3.0-or-later
#include "map_session.h"

#include <QUndoStack>

namespace trelvik {

std::string CorePath(const QString &path)
{
    // UTF-8 on every system: the core widens it for Windows' own file functions, so a name in
    // any script survives, where the local 8-bit code page would turn letters into '?'.
    return path.toUtf8().toStdString();
}

MapSession::MapSession(QObject *parent)
    : QObject(parent)
    , history_(new QUndoStack(this))
{
    connect(history_, &QUndoStack::cleanChanged, this, &MapSession::ModifiedChanged);
}

MapSession::~MapSession() = default;

bool MapSession::HasMap() const
{
    return HasMapSignature(document_.Header);
}

MapLayout MapSession::Format() const
{
    return LayoutForFileName(CorePath(path_));
}

bool MapSession::Modified() const
{
    return HasMap() && (neverSaved_ || !history_->isClean());
}

ReadResult MapSession::Open(const QString &path)
{
    MapDocument read;
    ReadResult result = ReadMapFile(CorePath(path), read);
    if (result.Ok())
        Replace(std::move(read), path, false);
    return result;
}

WriteResult MapSession::Save(const QString &path)
{
    WriteResult result = WriteMapFile(CorePath(path), document_);
    if (!result.Ok)
        return result;
    SetPath(path);
    history_->setClean();
    neverSaved_ = false;
    emit ModifiedChanged();
    return result;
}

void MapSession::Adopt(MapDocument document)
{
    Replace(std::move(document), QString(), true);
}

void MapSession::Clear()
{
    Replace(MapDocument{}, QString(), false);
    ComposedView().swap(composed_);
    ComposedView().swap(lower_);
}

void MapSession::Replace(MapDocument document, const QString &path, bool neverSaved)
{
    document_ = std::move(document);
    composed_ = BuildComposedView(document_);
    lower_ = BuildLowerTriangles(document_);
    neverSaved_ = neverSaved;
    SetPath(path);
    emit Replaced();
    // The steps of the map before go once the listeners show the new one.
    history_->clear();
    emit ModifiedChanged();
}

void MapSession::SetPath(const QString &path)
{
    if (path == path_)
        return;
    path_ = path;
    emit PathChanged(path_);
}

void MapSession::Push(QUndoCommand *command)
{
    history_->push(command);
}

void MapSession::Announce(const SessionChange &change)
{
    if (change.AllPoints) {
        composed_ = BuildComposedView(document_);
        lower_ = BuildLowerTriangles(document_);
    } else {
        UpdateComposedPoints(document_, composed_, lower_, change.Points);
    }
    emit Changed(change);
}

} // namespace trelvik
