#pragma once

#include "app_test_support.h"
#include "document/map_document.h"

#include <QImage>
#include <QPoint>
#include <QString>
#include <QStringList>

namespace trelvik::test {

// Everything the window shows of its map, taken so that a command that must change nothing can
// be checked against every panel at once.
struct WindowSnapshot
{
    MapDocument Document;
    QString Caption;
    QString Filename;
    QStringList Labels;     // title, author, world, size, players, HQ, unknown bytes, MapInfo
    QStringList AnimalRows; // LiF
    QStringList AreaRows;   // LiH
    int Selector = 0;
    bool SelectorEnabled = false;
    QImage Shown; // what picSprite holds
    QPoint SurfacePosition;
    QPoint PictureOffset;
};

WindowSnapshot TakeSnapshot(const WindowUnderTest &t);

// The first thing that differs, named for a failure message; empty when the two are alike.
QString SnapshotDifference(const WindowSnapshot &before, const WindowSnapshot &after);

} // namespace trelvik::test
