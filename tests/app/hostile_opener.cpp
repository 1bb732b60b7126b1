#include "hostile_opener.h"

#include "allocation_watch.h"
#include "app/layer_surface.h"
#include "document/map_file.h"
#include "test_maps.h"
#include "window_snapshot.h"

#include <algorithm>

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QtTest>

namespace trelvik::test {
namespace {

// The inside of picBG.
constexpr int kView = 256;

QImage Marker()
{
    QImage marker(3, 3, QImage::Format_RGB32);
    marker.fill(qRgb(200, 10, 10));
    return marker;
}

QString Describe(const QString &what, std::size_t largest)
{
    return QStringLiteral("%1: a block of %2 bytes").arg(what).arg(largest);
}

QString Describe(const std::string &what, std::size_t largest)
{
    return Describe(Q(what), largest);
}

} // namespace

bool HostileOpener::Open(const std::string &path)
{
    const WindowSnapshot before = TakeSnapshot(t_);
    const std::size_t shownBefore = t_.Messages->Shown.size();
    ResetLargestAllocation();
    t_.Dialogs->Choose(Q(path));
    t_.Window->mnuFileOpen_Click();
    const std::size_t largest = LargestAllocation();
    [&] { QVERIFY2(largest < kAllocationBound, qPrintable(Describe(path, largest))); }();

    if (t_.Messages->Shown.size() == shownBefore) {
        CheckAccepted(path);
        return true;
    }
    [&] {
        QCOMPARE(t_.Messages->Shown.size(), shownBefore + 1);
        const ShownMessage &shown = t_.Messages->Shown.back();
        QCOMPARE(shown.Title, QStringLiteral("Error"));
        QCOMPARE(shown.Icon, MessageIcon::Critical);
        QCOMPARE(shown.Buttons, MessageButtons::Ok);
        const bool clear = shown.Text.contains(Q(path))
                           || shown.Text == QStringLiteral("Not a Settlers II map file")
                           || shown.Text == QStringLiteral("Invalid map size");
        QVERIFY2(clear, qPrintable(shown.Text));
        const QString changed = SnapshotDifference(before, TakeSnapshot(t_));
        QVERIFY2(changed.isEmpty(), qPrintable(Q(path) + QStringLiteral(": ") + changed));
    }();
    return false;
}

bool HostileOpener::OpenBytes(const std::string &name, const std::vector<uint8_t> &bytes)
{
    const std::string path = dir_.File(name);
    WriteBytes(path, bytes);
    return Open(path);
}

void HostileOpener::Exercise()
{
    const MapHeader header = t_.Window->Document().Header;
    for (int position = 1; position <= 15; ++position) {
        ResetLargestAllocation();
        t_.SelectPosition(position);
        t_.Window->VScroll1_Change();
        const std::size_t largest = LargestAllocation();
        const QString info = t_.Child<QLabel>("MapInfo")->text();
        if (position == 1) {
            QCOMPARE(info, QStringLiteral("Settlers II view"));
            CheckShownPixels(t_.Window->Composed());
        } else {
            QVERIFY(info.startsWith(QStringLiteral("Map data %1\n").arg(position - 1)));
            CheckShownPixels(t_.Window->Document().Layer(position - 1));
        }
        QVERIFY2(largest < kAllocationBound,
                 qPrintable(Describe(QStringLiteral("position %1").arg(position), largest)));
        if (QTest::currentTestFailed())
            return;
    }

    const std::vector<std::size_t> lengths = LayerLengths();
    ResetLargestAllocation();
    t_.Messages->Answers = {MessageAnswer::Yes};
    t_.Window->mnuToolsHarbor_Click();
    const QString fixed = t_.Messages->Shown.back().Text;
    QVERIFY2(fixed == QStringLiteral("There were no positions to fix")
                 || fixed.startsWith(QStringLiteral("There is now ")),
             qPrintable(fixed));
    QCOMPARE(LayerLengths(), lengths);

    t_.Messages->Answers = {MessageAnswer::Yes};
    t_.Window->mnuToolsAnimalRemoval_Click();
    QCOMPARE(t_.Messages->Shown.back().Text, QStringLiteral("File footer cleared"));
    QVERIFY(t_.Window->Document().Animals.empty());
    QCOMPARE(t_.Child<QListWidget>("LiF")->count(), 0);
    QVERIFY2(LargestAllocation() < kAllocationBound,
             qPrintable(Describe(QStringLiteral("the tools"), LargestAllocation())));

    QGuiApplication::clipboard()->setImage(Marker());
    const std::size_t shownBefore = t_.Messages->Shown.size();
    ResetLargestAllocation();
    t_.Window->mnuEditCopy_Click();
    const std::size_t largest = LargestAllocation();
    const QImage copied = QGuiApplication::clipboard()->image();
    if (int64_t{header.Width} * header.Height <= int64_t{4096} * 4096) {
        QCOMPARE(t_.Messages->Shown.size(), shownBefore);
        QCOMPARE(copied.size(), QSize(header.Width, header.Height));
        QCOMPARE(copied.convertToFormat(QImage::Format_RGB32),
                 t_.Window->CurrentPicture().convertToFormat(QImage::Format_RGB32));
    } else {
        // Refused before anything of its size is made: the clipboard keeps what it had.
        QVERIFY2(largest < kAllocationBound,
                 qPrintable(Describe(QStringLiteral("the refused copy"), largest)));
        QCOMPARE(t_.Messages->Shown.size(), shownBefore + 1);
        const ShownMessage &shown = t_.Messages->Shown.back();
        QCOMPARE(shown.Title, QStringLiteral("Error"));
        QCOMPARE(shown.Icon, MessageIcon::Critical);
        QVERIFY2(
            shown.Text.contains(QStringLiteral("%1 x %2").arg(header.Width).arg(header.Height)),
            qPrintable(shown.Text));
        QCOMPARE(copied.convertToFormat(QImage::Format_RGB32), Marker());
    }
}

std::vector<std::size_t> HostileOpener::LayerLengths() const
{
    std::vector<std::size_t> lengths;
    for (int k = 1; k <= kLayerCount; ++k)
        lengths.push_back(t_.Window->Document().Layer(k).size());
    return lengths;
}

void HostileOpener::CheckAccepted(const std::string &path)
{
    const MapDocument &document = t_.Window->Document();
    MapDocument expected;
    QVERIFY(ReadMapFile(path, expected).Ok());
    QVERIFY(document == expected);
    QCOMPARE(t_.Child<QLineEdit>("Filename")->text(), Q(path));
    QCOMPARE(t_.Window->windowTitle(),
             t_.Child<QLineEdit>("txtTitle")->text() + QStringLiteral(" - Trelvik"));
    QCOMPARE(t_.Child<QLabel>("lblSize")->text(),
             QStringLiteral("%1 x %2").arg(document.Header.Width).arg(document.Header.Height));
    QCOMPARE(static_cast<std::size_t>(t_.Child<QListWidget>("LiF")->count()),
             document.Animals.size());
    QVERIFY(t_.Child<QScrollBar>("VScroll1")->isEnabled());
    // The composed view is as long as layer 1, whatever the header claims.
    QCOMPARE(t_.Window->Composed().size(), document.Layer(1).size());
}

void HostileOpener::CheckShownPixels(std::span<const uint8_t> bytes)
{
    const MapHeader &header = t_.Window->Document().Header;
    const int w = header.Width;
    const int h = header.Height;
    const int firstX = w > kView ? (w - kView) / 2 : 0;
    const int firstY = h > kView ? (h - kView) / 2 : 0;
    const QImage shown = t_.Child<LayerSurface>("picSprite")->Picture();
    QCOMPARE(shown.size(), QSize(std::min(w, kView), std::min(h, kView)));
    const auto &colours = t_.Window->Colours().Entries;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const auto index = static_cast<std::size_t>(int64_t{y + firstY} * w + x + firstX);
            const uint8_t value = index < bytes.size() ? bytes[index] : 0;
            const ColourEntry &c = colours[value];
            if (shown.pixel(x, y) != qRgb(c.Red, c.Green, c.Blue))
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2 of point %3")
                                     .arg(x)
                                     .arg(y)
                                     .arg(static_cast<qulonglong>(index))));
        }
    }
}

} // namespace trelvik::test
