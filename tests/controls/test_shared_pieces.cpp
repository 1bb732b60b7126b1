#include "controls/edge_drawing.h"
#include "controls/ole_colour.h"
#include "controls/property_bag.h"
#include "controls/twips.h"
#include "controls/win_rect.h"

#include <random>

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QtTest>

using namespace trelvik;

namespace {

// A palette whose roles all differ, so a wrong role shows up as a wrong colour.
QPalette DistinctPalette()
{
    QPalette palette;
    int shade = 10;
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        if (role == QPalette::NoRole)
            continue;
        palette.setColor(QPalette::All, static_cast<QPalette::ColorRole>(role),
                         QColor(shade, 255 - shade, (shade * 7) % 256));
        shade += 11;
    }
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(1, 2, 3));
    return palette;
}

QRgb Role(QPalette::ColorRole role)
{
    return QApplication::palette().color(role).rgb();
}

} // namespace

class TestSharedPieces : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setPalette(DistinctPalette()); }

    void rgbColoursAreBlueGreenRed()
    {
        QCOMPARE(ResolveOleColour(0x000000FF).rgb(), qRgb(255, 0, 0));
        QCOMPARE(ResolveOleColour(0x00FF0000).rgb(), qRgb(0, 0, 255));
        QCOMPARE(ResolveOleColour(0x00123456).rgb(), qRgb(0x56, 0x34, 0x12));
        // Bits 24..30 do not name a system colour.
        QCOMPARE(ResolveOleColour(0x7F00FF00).rgb(), qRgb(0, 255, 0));

        std::mt19937 random(7);
        for (int i = 0; i < 500; ++i) {
            const QColor colour(static_cast<int>(random() % 256), static_cast<int>(random() % 256),
                                static_cast<int>(random() % 256));
            const quint32 ole = OleColourFromQColor(colour);
            QVERIFY((ole & 0xFF000000u) == 0);
            QCOMPARE(ResolveOleColour(ole), colour);
        }
    }

    void systemColoursFollowThePalette_data()
    {
        QTest::addColumn<quint32>("ole");
        QTest::addColumn<int>("role");
        QTest::newRow("button face") << 0x8000000Fu << int(QPalette::Button);
        QTest::newRow("button shadow") << 0x80000010u << int(QPalette::Dark);
        QTest::newRow("button text") << 0x80000012u << int(QPalette::ButtonText);
        QTest::newRow("3-D highlight") << 0x80000014u << int(QPalette::Light);
        QTest::newRow("3-D dark shadow") << 0x80000015u << int(QPalette::Shadow);
        QTest::newRow("3-D light") << 0x80000016u << int(QPalette::Midlight);
        QTest::newRow("highlight") << 0x8000000Du << int(QPalette::Highlight);
        QTest::newRow("highlight text") << 0x8000000Eu << int(QPalette::HighlightedText);
        QTest::newRow("window") << 0x80000005u << int(QPalette::Base);
        QTest::newRow("window text") << 0x80000008u << int(QPalette::Text);
        QTest::newRow("menu text") << 0x80000007u << int(QPalette::WindowText);
        QTest::newRow("info text") << 0x80000017u << int(QPalette::ToolTipText);
        QTest::newRow("info background") << 0x80000018u << int(QPalette::ToolTipBase);
        QTest::newRow("unknown index") << 0x8000001Eu << int(QPalette::Window);
        QTest::newRow("high bits ignored") << 0x8012340Fu << int(QPalette::Button);
    }

    void systemColoursFollowThePalette()
    {
        QFETCH(quint32, ole);
        QFETCH(int, role);
        QCOMPARE(ResolveOleColour(ole).rgb(), Role(static_cast<QPalette::ColorRole>(role)));
    }

    void greyTextIsDisabledText() { QCOMPARE(ResolveOleColour(0x80000011).rgb(), qRgb(1, 2, 3)); }

    void propertyBagKeysIgnoreCase()
    {
        PropertyBag bag;
        bag.Write(QStringLiteral("TabWide"), 70);
        bag.Write(QStringLiteral("Caption"), QStringLiteral("Info"));
        bag.Write(QStringLiteral("TABWIDE"), 52);
        bag.Write(QStringLiteral("Bytes"), QByteArray("\x01\x00\x02", 3));
        QFont font(QStringLiteral("DejaVu Sans"), 9);
        font.setBold(true);
        bag.Write(QStringLiteral("Font"), font);

        QCOMPARE(bag.Keys(), (QStringList{QStringLiteral("tabwide"), QStringLiteral("caption"),
                                          QStringLiteral("bytes"), QStringLiteral("font")}));
        QCOMPARE(bag.Read(QStringLiteral("tabwide"), 0).toInt(), 52);
        QVERIFY(bag.Contains(QStringLiteral("CAPTION")));
        QVERIFY(!bag.Contains(QStringLiteral("Captio")));
        QCOMPARE(bag.Read(QStringLiteral("missing"), 17).toInt(), 17);
        QCOMPARE(bag.Read(QStringLiteral("BYTES"), {}).toByteArray().size(), 3);
        QCOMPARE(bag.Read(QStringLiteral("font"), {}).value<QFont>(), font);
    }

    void rectangleBordersBelongToIt()
    {
        const WinRect rect{10, 20, 15, 30};
        QCOMPARE(rect.width(), 5);
        QCOMPARE(rect.height(), 10);
        QVERIFY(rect.contains(10, 20));
        QVERIFY(rect.contains(15, 30));
        QVERIFY(!rect.contains(16, 25));
        QVERIFY(!rect.contains(12, 19));
        QCOMPARE(rect.toQRect(), QRect(10, 20, 5, 10));
        // An inverted rectangle contains nothing.
        QVERIFY(!(WinRect{5, 5, 3, 3}).contains(4, 4));
    }

    void twipsRoundHalfToEven()
    {
        QCOMPARE(PixelsFromTwips(7.5), 0);
        QCOMPARE(PixelsFromTwips(22.5), 2);
        QCOMPARE(PixelsFromTwips(37.5), 2);
        QCOMPARE(PixelsFromTwips(8055), 537);
        QCOMPARE(TwipsFromPixels(52), 780);
    }

    // Both rings on all sides: the outer ring on the border pixels, the inner one inside it,
    // each with its bottom/right colour owning the top-right and bottom-left corners.
    void edgeRingsOnAllSides_data()
    {
        QTest::addColumn<int>("edge");
        QTest::addColumn<int>("outerTopLeft");
        QTest::addColumn<int>("outerBottomRight");
        QTest::addColumn<int>("innerTopLeft");
        QTest::addColumn<int>("innerBottomRight");
        QTest::newRow("raised") << EDGE_RAISED << int(QPalette::Midlight) << int(QPalette::Shadow)
                                << int(QPalette::Light) << int(QPalette::Dark);
        QTest::newRow("sunken") << EDGE_SUNKEN << int(QPalette::Dark) << int(QPalette::Light)
                                << int(QPalette::Shadow) << int(QPalette::Midlight);
    }

    void edgeRingsOnAllSides()
    {
        QFETCH(int, edge);
        QFETCH(int, outerTopLeft);
        QFETCH(int, outerBottomRight);
        QFETCH(int, innerTopLeft);
        QFETCH(int, innerBottomRight);

        const QRgb background = qRgb(200, 100, 50);
        QImage image(14, 12, QImage::Format_RGB32);
        image.fill(background);
        const WinRect rect{2, 1, 12, 10};
        {
            QPainter painter(&image);
            DrawEdge(painter, rect, edge, BF_RECT);
        }
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                QRgb expected = background;
                const bool inside =
                    x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
                const bool outer = inside
                                   && (x == rect.left || x == rect.right - 1 || y == rect.top
                                       || y == rect.bottom - 1);
                const bool inner = inside && !outer
                                   && (x == rect.left + 1 || x == rect.right - 2
                                       || y == rect.top + 1 || y == rect.bottom - 2);
                if (outer) {
                    const bool bottomRight = x == rect.right - 1 || y == rect.bottom - 1;
                    expected = Role(static_cast<QPalette::ColorRole>(bottomRight ? outerBottomRight
                                                                                 : outerTopLeft));
                } else if (inner) {
                    const bool bottomRight = x == rect.right - 2 || y == rect.bottom - 2;
                    expected = Role(static_cast<QPalette::ColorRole>(bottomRight ? innerBottomRight
                                                                                 : innerTopLeft));
                }
                if (image.pixel(x, y) != expected)
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            }
        }
    }

    // The tab strip's case: a lone raised inner ring on three sides lies on the border pixels
    // and leaves the fourth side open.
    void loneInnerEdgeOnThreeSides()
    {
        const QRgb background = qRgb(1, 1, 1);
        QImage image(8, 6, QImage::Format_RGB32);
        image.fill(background);
        {
            QPainter painter(&image);
            DrawEdge(painter, WinRect{0, 0, 8, 6}, BDR_RAISEDINNER, BF_LEFT | BF_TOP | BF_RIGHT);
        }
        const QRgb highlight = Role(QPalette::Light);
        const QRgb shadow = Role(QPalette::Dark);
        for (int x = 0; x < 7; ++x)
            QCOMPARE(image.pixel(x, 0), highlight);
        for (int y = 0; y < 6; ++y) {
            QCOMPARE(image.pixel(0, y), highlight);
            QCOMPARE(image.pixel(7, y), shadow);
        }
        for (int y = 1; y < 6; ++y)
            for (int x = 1; x < 7; ++x)
                QCOMPARE(image.pixel(x, y), background);
    }

    void edgeZeroDrawsNothing()
    {
        QImage image(6, 6, QImage::Format_RGB32);
        image.fill(qRgb(9, 9, 9));
        const QImage before = image;
        {
            QPainter painter(&image);
            DrawEdge(painter, WinRect{0, 0, 6, 6}, 0, BF_RECT);
            DrawEdge(painter, WinRect{0, 0, 6, 6}, EDGE_RAISED, 0);
        }
        QCOMPARE(image, before);
    }

    void focusRectangleInvertsEveryOtherBorderPixel()
    {
        QImage image(20, 12, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qRgb(x * 10, y * 20, 77));
        const QImage before = image;
        const WinRect rect{3, 2, 15, 9};
        {
            QPainter painter(&image);
            DrawFocusRect(painter, rect);
        }
        int inverted = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const bool border = x >= rect.left && x < rect.right && y >= rect.top
                                    && y < rect.bottom
                                    && (x == rect.left || x == rect.right - 1 || y == rect.top
                                        || y == rect.bottom - 1);
                const bool expectInverted = border && (x + y) % 2 == 0;
                const QRgb expected =
                    expectInverted ? (before.pixel(x, y) ^ 0x00FFFFFFu) : before.pixel(x, y);
                QCOMPARE(image.pixel(x, y), expected);
                inverted += expectInverted ? 1 : 0;
            }
        }
        // 12 + 12 + 5 + 5 border pixels, half of them dotted.
        QCOMPARE(inverted, 17);
        {
            QPainter painter(&image);
            DrawFocusRect(painter, rect);
        }
        QCOMPARE(image, before);
    }
};

QTEST_MAIN(TestSharedPieces)
#include "test_shared_pieces.moc"
