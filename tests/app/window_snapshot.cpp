#include "window_snapshot.h"

#include "app/layer_surface.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>

namespace trelvik::test {
namespace {

QStringList Rows(const QListWidget *list)
{
    QStringList rows;
    for (int i = 0; i < list->count(); ++i)
        rows << list->item(i)->text();
    return rows;
}

} // namespace

WindowSnapshot TakeSnapshot(const WindowUnderTest &t)
{
    WindowSnapshot s;
    s.Document = t.Window->Document();
    s.Caption = t.Window->windowTitle();
    s.Filename = t.Child<QLineEdit>("Filename")->text();
    s.Labels << t.Child<QLineEdit>("txtTitle")->text() << t.Child<QLineEdit>("txtAuthor")->text();
    for (const char *name : {"lblType", "lblSize", "lblPlayers", "S2info", "lblUnknown", "MapInfo"})
        s.Labels << t.Child<QLabel>(name)->text();
    s.AnimalRows = Rows(t.Child<QListWidget>("LiF"));
    s.AreaRows = Rows(t.Child<QListWidget>("LiH"));
    const auto *selector = t.Child<QScrollBar>("VScroll1");
    s.Selector = selector->value();
    s.SelectorEnabled = selector->isEnabled();
    const auto *surface = t.Child<LayerSurface>("picSprite");
    s.Shown = surface->Picture().convertToFormat(QImage::Format_RGB32);
    s.SurfacePosition = surface->pos();
    s.PictureOffset = t.Window->PictureOffset();
    return s;
}

QString SnapshotDifference(const WindowSnapshot &before, const WindowSnapshot &after)
{
    if (!(before.Document == after.Document))
        return QStringLiteral("the document");
    if (before.Caption != after.Caption)
        return QStringLiteral("the caption: '%1' became '%2'").arg(before.Caption, after.Caption);
    if (before.Filename != after.Filename)
        return QStringLiteral("Filename: '%1' became '%2'").arg(before.Filename, after.Filename);
    for (qsizetype i = 0; i < before.Labels.size() && i < after.Labels.size(); ++i) {
        if (before.Labels[i] != after.Labels[i]) {
            return QStringLiteral("a panel text: '%1' became '%2'")
                .arg(before.Labels[i], after.Labels[i]);
        }
    }
    if (before.AnimalRows != after.AnimalRows)
        return QStringLiteral("the animal list");
    if (before.AreaRows != after.AreaRows)
        return QStringLiteral("the area list");
    if (before.Selector != after.Selector || before.SelectorEnabled != after.SelectorEnabled)
        return QStringLiteral("the selector");
    if (before.Shown != after.Shown || before.SurfacePosition != after.SurfacePosition
        || before.PictureOffset != after.PictureOffset)
        return QStringLiteral("the picture");
    return {};
}

} // namespace trelvik::test
