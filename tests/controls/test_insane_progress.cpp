#include "controls/insane_progress.h"
#include "controls/ole_colour.h"
#include "controls/property_bag.h"

#include <cmath>
#include <limits>
#include <random>

#include <QApplication>
#include <QResizeEvent>
#include <QSignalSpy>
#include <QtTest>

using namespace trelvik;

namespace {

constexpr qint64 kUnits = InsaneProgress::kValueScale;

// Counts the paint events that reach the widget, to prove a redraw shows at once.
class CountingProgress : public InsaneProgress
{
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        ++paints;
        InsaneProgress::paintEvent(event);
    }
};

bool IsCorner(int x, int y, int w, int h)
{
    if (w < 7 || h < 7)
        return false;
    const bool outerRow = y == 0 || y == h - 1;
    const bool secondRow = y == 1 || y == h - 2;
    return (outerRow && (x <= 1 || x >= w - 2)) || (secondRow && (x == 0 || x == w - 1));
}

// Every pixel as a full rebuild at fill length `length` leaves it.
QString CheckPicture(const QImage &image, int length)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int expected = IsCorner(x, y, image.width(), image.height()) ? 0
                                 : x < length                                  ? 2
                                                                               : 1;
            if (image.pixelIndex(x, y) != expected)
                return QStringLiteral("pixel %1,%2 is %3, expected %4")
                    .arg(x)
                    .arg(y)
                    .arg(image.pixelIndex(x, y))
                    .arg(expected);
        }
    }
    return {};
}

} // namespace

class TestInsaneProgress : public QObject
{
    Q_OBJECT

private slots:
    void fillLengthRoundsHalfToEven_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<qint64>("units");
        QTest::addColumn<int>("length");
        QTest::newRow("268.5 down to even") << 537 << 5000 * kUnits << 268;
        QTest::newRow("full") << 537 << 10000 * kUnits << 537;
        QTest::newRow("quarter, 134.25") << 537 << 2500 * kUnits << 134;
        QTest::newRow("1.5 up to even") << 3 << 5000 * kUnits << 2;
        QTest::newRow("2.5 down to even") << 5 << 5000 * kUnits << 2;
        QTest::newRow("0.5 down to even") << 1 << 5000 * kUnits << 0;
        QTest::newRow("smallest step") << 537 << qint64(1) << 0;
        QTest::newRow("empty bar") << 0 << 10000 * kUnits << 0;
        QTest::newRow("above range clamps") << 100 << 20000 * kUnits << 100;
        QTest::newRow("below range clamps") << 100 << -kUnits << 0;
    }

    void fillLengthRoundsHalfToEven()
    {
        QFETCH(int, width);
        QFETCH(qint64, units);
        QFETCH(int, length);
        QCOMPARE(ProgressFillLength(width, units), length);
    }

    void fillLengthNeverPassesTheWidth()
    {
        std::mt19937 random(11);
        for (int i = 0; i < 20000; ++i) {
            const int width = static_cast<int>(random() % 5000);
            const auto units = static_cast<qint64>(random() % (10000 * kUnits + 1));
            const int length = ProgressFillLength(width, units);
            QVERIFY(length >= 0 && length <= width);
        }
    }

    void strideIsWidthRoundedUpToFour()
    {
        QCOMPARE(ProgressStride(537), 540);
        QCOMPARE(ProgressStride(540), 540);
        QCOMPARE(ProgressStride(1), 4);
        QCOMPARE(ProgressStride(0), 0);
        for (const int width : {537, 540}) {
            InsaneProgress bar;
            bar.resize(width, 19);
            bar.show();
            QCOMPARE(bar.Surface().format(), QImage::Format_Indexed8);
            QCOMPARE(bar.Surface().width(), width);
            QCOMPARE(bar.Surface().bytesPerLine(), 540);
        }
    }

    void corners_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<double>("value");
        QTest::newRow("main window bar, empty") << 537 << 19 << 0.0;
        QTest::newRow("main window bar, full") << 537 << 19 << 10000.0;
        QTest::newRow("smallest rounded, half") << 7 << 7 << 5000.0;
        QTest::newRow("height 6 is square") << 40 << 6 << 5000.0;
        QTest::newRow("width 6 is square") << 6 << 19 << 10000.0;
    }

    // Corner pixels take index 0 only on bars at least 7 pixels each way; the rest show the
    // fill.
    void corners()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(double, value);
        InsaneProgress bar;
        bar.resize(width, height);
        bar.show();
        bar.SetValue(value);
        const QImage &image = bar.Surface();
        QCOMPARE(image.size(), QSize(width, height));
        const QString problem = CheckPicture(image, bar.FillLength());
        QVERIFY2(problem.isEmpty(), qPrintable(problem));

        int cornerPixels = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                cornerPixels += image.pixelIndex(x, y) == 0 ? 1 : 0;
        QCOMPARE(cornerPixels, width >= 7 && height >= 7 ? 12 : 0);
    }

    void halfOf537FillsColumns0To267()
    {
        InsaneProgress bar;
        bar.resize(537, 19);
        bar.show();
        bar.SetValue(5000);
        QCOMPARE(bar.FillLength(), 268);
        QCOMPARE(bar.Surface().pixelIndex(267, 9), 2);
        QCOMPARE(bar.Surface().pixelIndex(268, 9), 1);
        // Only the columns from the old end (0) to the new one were written.
        QCOMPARE(bar.LastColumnsWritten(), 269);
    }

    void valuesAreClamped()
    {
        InsaneProgress bar;
        bar.resize(100, 10);
        bar.show();
        bar.SetValue(-5);
        QCOMPARE(bar.ValueUnits(), 0);
        bar.SetValue(20000);
        QCOMPARE(bar.ValueUnits(), 10000 * kUnits);
        QCOMPARE(bar.FillLength(), 100);
        QVERIFY(CheckPicture(bar.Surface(), 100).isEmpty());
        bar.SetValue(std::numeric_limits<double>::quiet_NaN());
        QCOMPARE(bar.ValueUnits(), 0);
        bar.SetValue(std::numeric_limits<double>::infinity());
        QCOMPARE(bar.Value(), 10000.0);
        bar.SetValueUnits(std::numeric_limits<qint64>::min());
        QCOMPARE(bar.FillLength(), 0);
        bar.SetValueUnits(std::numeric_limits<qint64>::max());
        QCOMPARE(bar.FillLength(), 100);
        // Four decimals, the fifth rounded.
        bar.SetValue(1.00004);
        QCOMPARE(bar.ValueUnits(), 10000);
        bar.SetValue(1.00006);
        QCOMPARE(bar.ValueUnits(), 10001);
    }

    void sameLengthDrawsNothing()
    {
        CountingProgress bar;
        bar.resize(537, 19);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        QSignalSpy changed(&bar, &InsaneProgress::PropertyChanged);
        const int redraws = bar.RedrawCount();
        const int paints = bar.paints;
        bar.SetValue(5000);
        QCOMPARE(bar.RedrawCount(), redraws + 1);
        // Shown at once, without the event loop running.
        QCOMPARE(bar.paints, paints + 1);
        bar.SetValue(5000);
        // 537 * 4990 / 10000 = 267.96: a different value with the same fill length.
        bar.SetValue(4990);
        QCOMPARE(bar.RedrawCount(), redraws + 1);
        QCOMPARE(bar.paints, paints + 1);
        QCOMPARE(bar.LastColumnsWritten(), 0);
        // The host hears of every setting, drawn or not.
        QCOMPARE(changed.count(), 3);
        QCOMPARE(changed.at(0).at(0).toString(), QStringLiteral("Value"));
    }

    void fullToEmptyInOneRebuild()
    {
        InsaneProgress bar;
        bar.resize(537, 19);
        bar.show();
        bar.SetValue(10000);
        const int redraws = bar.RedrawCount();
        bar.SetValue(0);
        QCOMPARE(bar.RedrawCount(), redraws + 1);
        QCOMPARE(bar.LastColumnsWritten(), 537);
        const QString problem = CheckPicture(bar.Surface(), 0);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    // Incremental rebuilds must leave the same picture as a full one, whatever the order.
    void incrementalMatchesFullRebuild()
    {
        for (unsigned seed = 1; seed <= 40; ++seed) {
            std::mt19937 random(seed);
            InsaneProgress bar;
            bar.resize(7 + static_cast<int>(random() % 300), 1 + static_cast<int>(random() % 12));
            bar.show();
            int previous = bar.FillLength();
            for (int step = 0; step < 30; ++step) {
                bar.SetValueUnits(static_cast<qint64>(random() % (10000 * kUnits + 1)));
                const int length = bar.FillLength();
                const int expectedColumns =
                    length == previous ? 0
                                       : std::min(std::max(previous, length), bar.width() - 1)
                                             - std::min(previous, length) + 1;
                QCOMPARE(bar.LastColumnsWritten(), expectedColumns);
                const QString problem = CheckPicture(bar.Surface(), length);
                QVERIFY2(problem.isEmpty(), qPrintable(problem));
                previous = length;
            }
        }
    }

    void coloursComeFromTheColourEntries()
    {
        InsaneProgress bar;
        bar.resize(60, 10);
        bar.show();
        bar.SetValue(5000);
        const QImage before = bar.Surface();
        const int redraws = bar.RedrawCount();
        bar.SetBarColor(0x000000FF);
        QCOMPARE(bar.RedrawCount(), redraws + 1);
        QCOMPARE(bar.Surface().pixel(45, 5), qRgb(255, 0, 0));
        bar.SetProgColor(0x0000FF00);
        QCOMPARE(bar.Surface().pixel(10, 5), qRgb(0, 255, 0));
        bar.SetBackColor(0x00FF0000);
        QCOMPARE(bar.Surface().pixel(0, 0), qRgb(0, 0, 255));
        bar.SetBarColor(0x80000005);
        QCOMPARE(bar.Surface().pixel(45, 5), QApplication::palette().color(QPalette::Base).rgb());
        // A colour change leaves the pixel indices alone; unused entries stay black.
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 60; ++x)
                QCOMPARE(bar.Surface().pixelIndex(x, y), before.pixelIndex(x, y));
        QCOMPARE(bar.Surface().colorCount(), 256);
        for (int i = 3; i < 256; ++i)
            QCOMPARE(bar.Surface().color(i), qRgb(0, 0, 0));
    }

    void newInstanceUsesSystemColours()
    {
        InsaneProgress bar;
        bar.resize(30, 10);
        bar.show();
        const QPalette palette = QApplication::palette();
        QCOMPARE(bar.Surface().color(0), palette.color(QPalette::Button).rgb());
        QCOMPARE(bar.Surface().color(1), palette.color(QPalette::HighlightedText).rgb());
        QCOMPARE(bar.Surface().color(2), palette.color(QPalette::Highlight).rgb());
    }

    void resizeToTheSameSizeKeepsTheBar()
    {
        InsaneProgress bar;
        bar.resize(50, 12);
        bar.show();
        bar.SetValue(3000);
        QResizeEvent same(bar.size(), bar.size());
        QCoreApplication::sendEvent(&bar, &same);
        const QString problem = CheckPicture(bar.Surface(), 15);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        bar.resize(80, 12);
        QVERIFY(CheckPicture(bar.Surface(), 24).isEmpty());
    }

    void persistenceRoundTrip()
    {
        InsaneProgress source;
        source.SetBackColor(0x00112233);
        source.SetBarColor(0x80000005);
        source.SetProgColor(0x000000FF);
        source.SetValue(1234.5678);
        PropertyBag bag;
        source.WriteProperties(bag);
        QCOMPARE(bag.Keys(), (QStringList{QStringLiteral("backcolor"), QStringLiteral("barcolor"),
                                          QStringLiteral("progcolor"), QStringLiteral("value")}));

        InsaneProgress copy;
        copy.resize(100, 10);
        copy.show();
        const int redraws = copy.RedrawCount();
        copy.ReadProperties(bag);
        QCOMPARE(copy.BackColor(), 0x00112233u);
        QCOMPARE(copy.BarColor(), 0x80000005u);
        QCOMPARE(copy.ProgColor(), 0x000000FFu);
        QCOMPARE(copy.ValueUnits(), 12345678);
        QCOMPARE(copy.RedrawCount(), redraws + 1);
        QCOMPARE(copy.Surface().color(2), qRgb(255, 0, 0));
        // The read value reaches the pixels at the next resize.
        QCOMPARE(copy.FillLength(), 0);
        copy.resize(200, 10);
        QCOMPARE(copy.FillLength(), 25);
    }

    void missingOrBadKeysGiveDefaults()
    {
        PropertyBag bag;
        bag.Write(QStringLiteral("VALUE"), 50000);
        bag.Write(QStringLiteral("BarColor"), QStringLiteral("red"));
        bag.Write(QStringLiteral("ProgColor"), qint64(-2147483633)); // a signed 0x8000000F
        InsaneProgress bar;
        bar.SetBackColor(0x00FFFFFF);
        bar.ReadProperties(bag);
        QCOMPARE(bar.BackColor(), InsaneProgress::kDefaultBackColor);
        QCOMPARE(bar.BarColor(), InsaneProgress::kDefaultBarColor);
        QCOMPARE(bar.ProgColor(), 0x8000000Fu);
        QCOMPARE(bar.Value(), 10000.0);
    }
};

QTEST_MAIN(TestInsaneProgress)
#include "test_insane_progress.moc"
