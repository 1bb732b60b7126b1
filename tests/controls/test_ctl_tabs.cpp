#include "controls/ctl_tabs.h"
#include "controls/property_bag.h"
#include "controls/tab_layout.h"

#include <memory>
#include <type_traits>

#include <QApplication>
#include <QFocusEvent>
#include <QSignalSpy>
#include <QtTest>

using namespace trelvik;

static_assert(std::is_same_v<decltype(&ctlTabs::TabClick), void (ctlTabs::*)(qint16, qint16)>,
              "TabClick passes its arguments by value, so a handler cannot change them");

namespace {

const QRgb kAmbient = qRgb(1, 2, 3);

// Distinct colours for the roles the strip draws with, so every pixel tells where it came from.
QPalette TestPalette()
{
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Button, QColor(200, 200, 200));   // button face
    palette.setColor(QPalette::Dark, QColor(100, 100, 100));     // button shadow
    palette.setColor(QPalette::Light, QColor(255, 255, 255));    // 3-D highlight
    palette.setColor(QPalette::ButtonText, QColor(0, 0, 0));     // button text
    palette.setColor(QPalette::Shadow, QColor(20, 20, 20));      // 3-D dark shadow
    palette.setColor(QPalette::Midlight, QColor(230, 230, 230)); // 3-D light
    return palette;
}

const QRgb kFace = qRgb(200, 200, 200);
const QRgb kShadow = qRgb(100, 100, 100);
const QRgb kHighlight = qRgb(255, 255, 255);

// A host form holding one strip, shown on the offscreen platform.
struct Form
{
    std::unique_ptr<QWidget> host = std::make_unique<QWidget>();
    ctlTabs *tabs = nullptr;

    explicit Form(QSize size = QSize(300, 100))
    {
        QPalette palette = host->palette();
        palette.setColor(QPalette::Window, QColor::fromRgb(kAmbient));
        host->setPalette(palette);
        host->resize(size + QSize(20, 20));
        tabs = new ctlTabs(host.get());
        tabs->setGeometry(QRect(QPoint(0, 0), size));
        host->show();
    }

    void MainWindowTabs()
    {
        tabs->SetTabs(5);
        tabs->SetTabsWidth(52);
        tabs->SetTabsHeight(20);
        const QStringList names{QStringLiteral("Info"), QStringLiteral("HQ"),
                                QStringLiteral("View"), QStringLiteral("Animals"),
                                QStringLiteral("Areas")};
        for (int i = 1; i <= 5; ++i)
            tabs->SetCaption(i, names.at(i - 1));
    }

    void ClearCaptions()
    {
        for (int i = 1; i <= tabs->Tabs(); ++i)
            tabs->SetCaption(i, QString());
    }
};

QRgb Pixel(const ctlTabs &tabs, int x, int y)
{
    return tabs.Surface().pixel(x, y);
}

QList<int> Click(QSignalSpy &spy)
{
    const QList<QVariant> args = spy.takeFirst();
    return {args.at(0).toInt(), args.at(1).toInt()};
}

// Centre of the pixels inside `area` that differ from `fill`: where the caption's ink sits.
QPointF InkCentre(const QImage &image, const QRect &area, QRgb fill)
{
    double sumX = 0;
    double sumY = 0;
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != fill) {
                sumX += x;
                sumY += y;
                ++count;
            }
    return count == 0 ? QPointF(-1, -1) : QPointF(sumX / count, sumY / count);
}

} // namespace

class TestCtlTabs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setPalette(TestPalette()); }

    void newInstanceLook()
    {
        Form form;
        ctlTabs &tabs = *form.tabs;
        QCOMPARE(tabs.Tabs(), qint16(2));
        QCOMPARE(tabs.SelectedTab(), qint16(1));
        QCOMPARE(tabs.Caption(1), QStringLiteral("Tab 1"));
        QCOMPARE(tabs.Caption(2), QStringLiteral("Tab 2"));
        QVERIFY(tabs.TabFontActive().bold() != tabs.TabFont().bold());
        QCOMPARE(tabs.TabRects().size(), size_t(2));
        QCOMPARE(tabs.TabRects()[0], (WinRect{0, 0, 71, 21}));
        QCOMPARE(tabs.TabRects()[1], (WinRect{71, 1, 140, 20}));

        // Active tab: highlight on the left and top, shadow on the right, open at the bottom
        // where it meets the body.
        for (int y = 0; y <= 20; ++y) {
            QCOMPARE(Pixel(tabs, 0, y), kHighlight);
            QCOMPARE(Pixel(tabs, 70, y), kShadow);
        }
        for (int x = 0; x < 70; ++x)
            QCOMPARE(Pixel(tabs, x, 0), kHighlight);
        for (int x = 1; x < 70; ++x)
            QCOMPARE(Pixel(tabs, x, 20), kFace);
        // Inactive tab: inset fill, its frame left in the ambient colour above the body edge.
        QCOMPARE(Pixel(tabs, 71, 1), qRgb(100, 100, 100));
        QCOMPARE(Pixel(tabs, 139, 19), qRgb(100, 100, 100));
        QCOMPARE(Pixel(tabs, 100, 0), kAmbient);
        QCOMPARE(Pixel(tabs, 140, 10), kAmbient);
        QCOMPARE(Pixel(tabs, 100, 20), kHighlight);
        QCOMPARE(Pixel(tabs, 200, 10), kAmbient);
        // Body: face colour inside a raised inner edge.
        QCOMPARE(Pixel(tabs, 150, 50), kFace);
        QCOMPARE(Pixel(tabs, 0, 60), kHighlight);
        QCOMPARE(Pixel(tabs, 150, 99), kShadow);
        QCOMPARE(Pixel(tabs, 299, 60), kShadow);
        // Captions centred in their tabs.
        const QPointF ink1 = InkCentre(tabs.Surface(), QRect(1, 1, 69, 19), kFace);
        const QPointF ink2 = InkCentre(tabs.Surface(), QRect(71, 1, 69, 19), kShadow);
        QVERIFY(qAbs(ink1.x() - 35) < 4 && qAbs(ink1.y() - 10) < 4);
        QVERIFY(qAbs(ink2.x() - 105) < 4 && qAbs(ink2.y() - 10) < 4);
    }

    void styleOneEndsAtTheRightEdge()
    {
        Form form(QSize(400, 120));
        form.MainWindowTabs();
        form.tabs->SetStyle(1);
        form.tabs->SetSelectedTab(5);
        QCOMPARE(form.tabs->TabRects()[4].right, 400);
        QCOMPARE(form.tabs->TabRects()[4].left, 400 - 53);
        QCOMPARE(Pixel(*form.tabs, 399, 5), kShadow);
        QCOMPARE(Pixel(*form.tabs, 0, 5), kAmbient);
    }

    void everyStylesRectangles_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<WinRect>("first");
        QTest::addColumn<WinRect>("last");
        QTest::addColumn<WinRect>("body");
        // W 400, H 300, TW 52, TH 20, five tabs.
        QTest::newRow("0 top from left")
            << 0 << WinRect{0, 0, 53, 21} << WinRect{208, 0, 261, 21} << WinRect{0, 20, 400, 300};
        QTest::newRow("1 top to right") << 1 << WinRect{139, 0, 192, 21} << WinRect{347, 0, 400, 21}
                                        << WinRect{0, 20, 400, 300};
        QTest::newRow("2 bottom from left")
            << 2 << WinRect{0, 279, 53, 300} << WinRect{208, 279, 261, 300}
            << WinRect{0, 0, 400, 280};
        QTest::newRow("3 bottom to right")
            << 3 << WinRect{139, 279, 192, 300} << WinRect{347, 279, 400, 300}
            << WinRect{0, 0, 400, 280};
        QTest::newRow("4 left from top")
            << 4 << WinRect{0, 0, 53, 21} << WinRect{0, 80, 53, 101} << WinRect{52, 0, 400, 300};
        QTest::newRow("5 right from top") << 5 << WinRect{347, 0, 400, 21}
                                          << WinRect{347, 80, 400, 101} << WinRect{0, 0, 348, 300};
        QTest::newRow("6 left to bottom") << 6 << WinRect{0, 199, 53, 220}
                                          << WinRect{0, 279, 53, 300} << WinRect{52, 0, 400, 300};
        QTest::newRow("7 right to bottom")
            << 7 << WinRect{347, 199, 400, 220} << WinRect{347, 279, 400, 300}
            << WinRect{0, 0, 348, 300};
    }

    void everyStylesRectangles()
    {
        QFETCH(int, style);
        QFETCH(WinRect, first);
        QFETCH(WinRect, last);
        QFETCH(WinRect, body);
        const TabStripSize size{400, 300, 52, 20, 5};
        QCOMPARE(TabRect(style, 1, size), first);
        QCOMPARE(TabRect(style, 5, size), last);
        QCOMPARE(TabBodyRect(style, size), body);

        Form form(QSize(400, 300));
        form.MainWindowTabs();
        form.ClearCaptions();
        form.tabs->SetStyle(style);
        const auto &rects = form.tabs->TabRects();
        QCOMPARE(rects[0], first);
        QCOMPARE(rects[4], (WinRect{last.left + 1, last.top + 1, last.right - 1, last.bottom - 1}));

        // The active tab's edge runs on three sides; the side facing the body shows the fill.
        const ctlTabs &tabs = *form.tabs;
        const int midX = (first.left + first.right) / 2;
        const int midY = (first.top + first.bottom) / 2;
        const bool horizontal = style < 4;
        const bool bodyAfter = style == 0 || style == 1 || style == 4 || style == 6;
        if (horizontal) {
            const int bodySide = bodyAfter ? first.bottom - 1 : first.top;
            const int outerSide = bodyAfter ? first.top : first.bottom - 1;
            QCOMPARE(Pixel(tabs, midX, bodySide), kFace);
            QCOMPARE(Pixel(tabs, midX, outerSide), bodyAfter ? kHighlight : kShadow);
            QCOMPARE(Pixel(tabs, first.left, midY), kHighlight);
            QCOMPARE(Pixel(tabs, first.right - 1, midY), kShadow);
        } else {
            const int bodySide = bodyAfter ? first.right - 1 : first.left;
            const int outerSide = bodyAfter ? first.left : first.right - 1;
            QCOMPARE(Pixel(tabs, bodySide, midY), kFace);
            QCOMPARE(Pixel(tabs, outerSide, midY), bodyAfter ? kHighlight : kShadow);
            QCOMPARE(Pixel(tabs, midX, first.top), kHighlight);
            QCOMPARE(Pixel(tabs, midX, first.bottom - 1), kShadow);
        }
        // The last tab is inactive: inset fill, frame not drawn.
        QCOMPARE(Pixel(tabs, last.left + 1, last.top + 1), kShadow);
        QCOMPARE(Pixel(tabs, last.right - 2, last.bottom - 2), kShadow);
    }

    void captionAlignments_data()
    {
        QTest::addColumn<int>("alignment");
        QTest::addColumn<QPointF>("corner");
        // Tab (10, 20, 81, 41), caption 30 x 14.
        QTest::newRow("0 top left") << 0 << QPointF(13, 22);
        QTest::newRow("1 top centre") << 1 << QPointF(29.5, 22);
        QTest::newRow("2 top right") << 2 << QPointF(47, 22);
        QTest::newRow("3 middle left") << 3 << QPointF(13, 22.5);
        QTest::newRow("4 centre") << 4 << QPointF(29.5, 22.5);
        QTest::newRow("5 middle right") << 5 << QPointF(47, 22.5);
        QTest::newRow("6 bottom left") << 6 << QPointF(13, 25);
        QTest::newRow("7 bottom centre") << 7 << QPointF(29.5, 25);
        QTest::newRow("8 bottom right") << 8 << QPointF(47, 25);
    }

    void captionAlignments()
    {
        QFETCH(int, alignment);
        QFETCH(QPointF, corner);
        QCOMPARE(CaptionPosition(alignment, WinRect{10, 20, 81, 41}, 30, 14), corner);

        // On a large tab the caption's ink moves the same way.
        Form form(QSize(400, 200));
        form.tabs->SetTabsWidth(200);
        form.tabs->SetTabsHeight(90);
        form.tabs->SetCaption(1, QStringLiteral("Mm"));
        form.tabs->SetCaptionAlignment(alignment);
        const QPointF ink = InkCentre(form.tabs->Surface(), QRect(1, 1, 199, 89), kFace);
        const double expectedX = alignment % 3 == 0 ? 3 : alignment % 3 == 1 ? 100 : 197;
        const double expectedY = alignment / 3 == 0 ? 2 : alignment / 3 == 1 ? 45 : 89;
        QVERIFY2(qAbs(ink.x() - expectedX) < 30 && qAbs(ink.y() - expectedY) < 15,
                 qPrintable(QStringLiteral("ink at %1,%2").arg(ink.x()).arg(ink.y())));
    }

    void clicksOnSharedLinesAndFrames()
    {
        Form form(QSize(400, 100));
        form.MainWindowTabs();
        ctlTabs &tabs = *form.tabs;
        QSignalSpy spy(&tabs, &ctlTabs::TabClick);

        // Tab 1 active: (0, 0, 53, 21); tab 2 inset: (53, 1, 104, 20).
        QTest::mouseClick(&tabs, Qt::LeftButton, {}, QPoint(53, 10));
        QCOMPARE(Click(spy), (QList<int>{1, 1}));
        QTest::mouseClick(&tabs, Qt::RightButton, {}, QPoint(54, 10));
        QCOMPARE(Click(spy), (QList<int>{1, 2}));
        QCOMPARE(tabs.SelectedTab(), qint16(2));

        // Tab 2 active: (52, 0, 105, 21). Column 52 is tab 1's inset right border and tab 2's
        // left border: the lower tab wins, and likewise column 105 goes to tab 2 over tab 3.
        QTest::mouseClick(&tabs, Qt::LeftButton, {}, QPoint(105, 10));
        QCOMPARE(Click(spy), (QList<int>{2, 2}));
        QTest::mouseClick(&tabs, Qt::LeftButton, {}, QPoint(52, 10));
        QCOMPARE(Click(spy), (QList<int>{2, 1}));

        // Frames of inactive tabs, the gap right of the tabs and the body hit nothing.
        for (const QPoint point : {QPoint(120, 0), QPoint(130, 21), QPoint(300, 5), QPoint(5, 60)})
            QTest::mouseClick(&tabs, Qt::LeftButton, {}, point);
        QCOMPARE(spy.count(), 0);
        QCOMPARE(tabs.SelectedTab(), qint16(1));
        // Row 0 above inactive tab 2, clear of tab 1's rectangle.
        QTest::mouseClick(&tabs, Qt::LeftButton, {}, QPoint(60, 0));
        QCOMPARE(spy.count(), 0);
    }

    void arrowKeysAtBothEnds()
    {
        Form form;
        form.MainWindowTabs();
        ctlTabs &tabs = *form.tabs;
        QSignalSpy spy(&tabs, &ctlTabs::TabClick);
        QTest::keyClick(&tabs, Qt::Key_Left);
        QCOMPARE(Click(spy), (QList<int>{1, 0}));
        QTest::keyClick(&tabs, Qt::Key_Up, Qt::ShiftModifier);
        QCOMPARE(Click(spy), (QList<int>{1, 0}));
        QCOMPARE(tabs.SelectedTab(), qint16(1));
        QTest::keyClick(&tabs, Qt::Key_Right);
        QCOMPARE(Click(spy), (QList<int>{1, 2}));
        tabs.SetSelectedTab(5);
        spy.clear();
        QTest::keyClick(&tabs, Qt::Key_Down);
        QCOMPARE(Click(spy), (QList<int>{5, 6}));
        QTest::keyClick(&tabs, Qt::Key_Right);
        QCOMPARE(Click(spy), (QList<int>{5, 6}));
        QCOMPARE(tabs.SelectedTab(), qint16(5));
        QTest::keyClick(&tabs, Qt::Key_Up);
        QCOMPARE(Click(spy), (QList<int>{5, 4}));
        QTest::keyClick(&tabs, Qt::Key_A);
        QTest::keyClick(&tabs, Qt::Key_Home);
        QCOMPARE(spy.count(), 0);
    }

    void selectingATab()
    {
        Form form;
        form.MainWindowTabs();
        ctlTabs &tabs = *form.tabs;
        QSignalSpy clicks(&tabs, &ctlTabs::TabClick);
        QSignalSpy changed(&tabs, &ctlTabs::PropertyChanged);
        tabs.SetSelectedTab(9);
        QCOMPARE(tabs.SelectedTab(), qint16(5));
        QCOMPARE(Click(clicks), (QList<int>{1, 9}));
        tabs.SetSelectedTab(-3);
        QCOMPARE(tabs.SelectedTab(), qint16(1));
        QCOMPARE(Click(clicks), (QList<int>{5, -3}));
        tabs.SetSelectedTab(1);
        QCOMPARE(Click(clicks), (QList<int>{1, 1}));
        QCOMPARE(changed.count(), 3);
        QCOMPARE(changed.at(0).at(0).toString(), QStringLiteral("TABSELECTED"));

        // By the time the host hears of the click the strip shows the new tab.
        int activeWidthSeen = 0;
        connect(&tabs, &ctlTabs::TabClick, this, [&](qint16, qint16 newTab) {
            activeWidthSeen = tabs.TabRects()[static_cast<size_t>(newTab - 1)].width();
        });
        tabs.SetSelectedTab(3);
        QCOMPARE(activeWidthSeen, 53);
    }

    void changingTheNumberOfTabs()
    {
        Form form;
        form.MainWindowTabs();
        ctlTabs &tabs = *form.tabs;
        tabs.SetSelectedTab(5);
        QSignalSpy clicks(&tabs, &ctlTabs::TabClick);
        QSignalSpy changed(&tabs, &ctlTabs::PropertyChanged);

        tabs.SetTabs(3);
        QCOMPARE(tabs.SelectedTab(), qint16(3));
        QCOMPARE(Click(clicks), (QList<int>{5, 3}));
        QCOMPARE(changed.count(), 2);
        QCOMPARE(changed.at(0).at(0).toString(), QStringLiteral("TABCOUNT"));
        QCOMPARE(changed.at(1).at(0).toString(), QStringLiteral("TABSELECTED"));
        QCOMPARE(tabs.TabRects().size(), size_t(3));
        QVERIFY(!tabs.Caption(4).has_value());

        tabs.SetTabs(5);
        tabs.SetSelectedTab(2);
        clicks.clear();
        changed.clear();
        tabs.SetTabs(3);
        QCOMPARE(tabs.SelectedTab(), qint16(2));
        QCOMPARE(clicks.count(), 0);
        QCOMPARE(changed.count(), 1);

        tabs.SetTabs(6);
        QCOMPARE(clicks.count(), 0);
        QCOMPARE(tabs.Caption(3), QStringLiteral("View"));
        QCOMPARE(tabs.Caption(4), QString());
        QCOMPARE(tabs.Caption(6), QString());

        const int redraws = tabs.RedrawCount();
        changed.clear();
        tabs.SetTabs(0);
        tabs.SetTabs(-4);
        QCOMPARE(tabs.Tabs(), qint16(6));
        QCOMPARE(tabs.RedrawCount(), redraws);
        QCOMPARE(changed.count(), 0);
    }

    void refusedValuesChangeNothing()
    {
        Form form;
        ctlTabs &tabs = *form.tabs;
        QSignalSpy changed(&tabs, &ctlTabs::PropertyChanged);
        const int redraws = tabs.RedrawCount();
        tabs.SetStyle(8);
        tabs.SetStyle(-1);
        tabs.SetCaptionAlignment(9);
        QVERIFY(!tabs.SetCaption(0, QStringLiteral("x")));
        QVERIFY(!tabs.SetCaption(3, QStringLiteral("x")));
        QVERIFY(!tabs.Caption(0).has_value());
        QVERIFY(!tabs.Caption(3).has_value());
        QCOMPARE(tabs.Style(), 0);
        QCOMPARE(tabs.CaptionAlignment(), 4);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(tabs.RedrawCount(), redraws);

        QVERIFY(tabs.SetCaption(2, QStringLiteral("HQ")));
        QCOMPARE(changed.takeFirst().at(0).toString(), QStringLiteral("TABCAPTION2"));
        QCOMPARE(tabs.RedrawCount(), redraws + 1);
    }

    void oddTabSizesNeitherDrawNorHit()
    {
        Form form;
        ctlTabs &tabs = *form.tabs;
        tabs.SetTabsWidth(0);
        tabs.SetTabsHeight(-5);
        QSignalSpy spy(&tabs, &ctlTabs::TabClick);
        QTest::mouseClick(&tabs, Qt::LeftButton, {}, QPoint(40, 10));
        QCOMPARE(spy.count(), 0);
        tabs.SetTabsWidth(std::numeric_limits<int>::max());
        tabs.SetTabsHeight(std::numeric_limits<int>::min());
        tabs.SetTabs(std::numeric_limits<qint16>::max());
        QCOMPARE(tabs.TabRects().size(), size_t(32767));
        QTest::keyClick(&tabs, Qt::Key_Left);
        QCOMPARE(spy.count(), 1);
    }

    void focusRectangleNeedsOptionAndFocus()
    {
        Form form;
        ctlTabs &tabs = *form.tabs;
        form.ClearCaptions();
        const QImage plain = tabs.Surface();
        QFocusEvent focusIn(QEvent::FocusIn, Qt::OtherFocusReason);
        QFocusEvent focusOut(QEvent::FocusOut, Qt::OtherFocusReason);

        int redraws = tabs.RedrawCount();
        QCoreApplication::sendEvent(&tabs, &focusIn);
        QVERIFY(tabs.HasFocus());
        QCOMPARE(tabs.RedrawCount(), redraws);
        QCOMPARE(tabs.Surface(), plain);
        QCoreApplication::sendEvent(&tabs, &focusOut);

        tabs.SetUseFocusRect(true);
        QCOMPARE(tabs.Surface(), plain);
        redraws = tabs.RedrawCount();
        QCoreApplication::sendEvent(&tabs, &focusIn);
        QCOMPARE(tabs.RedrawCount(), redraws + 1);
        // Dotted rectangle (2, 2, 69, 19) on the active tab: every other border pixel inverted.
        const QImage &focused = tabs.Surface();
        const WinRect dots{2, 2, 69, 19};
        int inverted = 0;
        for (int y = 0; y < plain.height(); ++y) {
            for (int x = 0; x < plain.width(); ++x) {
                const bool onBorder = x >= dots.left && x < dots.right && y >= dots.top
                                      && y < dots.bottom
                                      && (x == dots.left || x == dots.right - 1 || y == dots.top
                                          || y == dots.bottom - 1);
                const bool dotted = onBorder && (x + y) % 2 == 0;
                const QRgb expected = dotted ? plain.pixel(x, y) ^ 0x00FFFFFFu : plain.pixel(x, y);
                QCOMPARE(focused.pixel(x, y), expected);
                inverted += dotted ? 1 : 0;
            }
        }
        QVERIFY(inverted > 60);

        QCoreApplication::sendEvent(&tabs, &focusOut);
        QVERIFY(!tabs.HasFocus());
        QCOMPARE(tabs.Surface(), plain);
    }

    void ambientColourChangeRedraws()
    {
        Form form;
        const int redraws = form.tabs->RedrawCount();
        QPalette palette = form.host->palette();
        palette.setColor(QPalette::Window, QColor(9, 8, 7));
        form.host->setPalette(palette);
        QVERIFY(form.tabs->RedrawCount() > redraws);
        QCOMPARE(Pixel(*form.tabs, 250, 5), qRgb(9, 8, 7));
    }

    void fontsAreCopied()
    {
        QFont from(QStringLiteral("DejaVu Serif"), 13);
        from.setItalic(true);
        from.setUnderline(true);
        from.setStrikeOut(true);
        from.setWeight(QFont::DemiBold);
        QFont to(QStringLiteral("DejaVu Sans"), 8);
        CopyFont(from, to);
        QCOMPARE(to.family(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(to.pointSizeF(), 13.0);
        QVERIFY(to.italic() && to.underline() && to.strikeOut() && to.bold());
        QCOMPARE(to.weight(), QFont::DemiBold);

        Form form;
        QSignalSpy changed(form.tabs, &ctlTabs::PropertyChanged);
        form.tabs->SetTabFontActive(from);
        QCOMPARE(form.tabs->TabFontActive().weight(), QFont::DemiBold);
        QCOMPARE(changed.takeFirst().at(0).toString(), QStringLiteral("TABFONTACTIVE"));
    }

    void persistenceRoundTrip()
    {
        Form form(QSize(400, 200));
        form.MainWindowTabs();
        ctlTabs &source = *form.tabs;
        source.SetSelectedTab(3);
        source.SetStyle(6);
        source.SetCaptionAlignment(8);
        source.SetUseFocusRect(true);
        QFont font(QStringLiteral("DejaVu Serif"), 11);
        font.setItalic(true);
        source.SetTabFont(font);
        source.SetTabColor(0x000000FF);
        source.SetTabColorActive(0x0000FF00);
        source.SetTextColor(0x80000008);
        source.SetTextColorActive(0x00FF0000);

        PropertyBag bag;
        source.WriteProperties(bag);
        QCOMPARE(bag.Keys(),
                 (QStringList{QStringLiteral("tabwide"), QStringLiteral("tabhigh"),
                              QStringLiteral("tabcount"), QStringLiteral("tabselected"),
                              QStringLiteral("tabstyle"), QStringLiteral("captionstyle"),
                              QStringLiteral("focusrect"), QStringLiteral("tabcaption1"),
                              QStringLiteral("tabcaption2"), QStringLiteral("tabcaption3"),
                              QStringLiteral("tabcaption4"), QStringLiteral("tabcaption5"),
                              QStringLiteral("tabfont"), QStringLiteral("tabfontactive"),
                              QStringLiteral("tabcolor"), QStringLiteral("tabcoloractive"),
                              QStringLiteral("textcolor"), QStringLiteral("textcoloractive")}));

        Form other(QSize(400, 200));
        ctlTabs &copy = *other.tabs;
        QSignalSpy clicks(&copy, &ctlTabs::TabClick);
        QSignalSpy changed(&copy, &ctlTabs::PropertyChanged);
        const int redraws = copy.RedrawCount();
        copy.ReadProperties(bag);
        QCOMPARE(copy.RedrawCount(), redraws + 1);
        QCOMPARE(clicks.count(), 0);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(copy.Tabs(), qint16(5));
        QCOMPARE(copy.SelectedTab(), qint16(3));
        QCOMPARE(copy.Style(), 6);
        QCOMPARE(copy.CaptionAlignment(), 8);
        QVERIFY(copy.UseFocusRect());
        QCOMPARE(copy.Caption(4), QStringLiteral("Animals"));
        QCOMPARE(copy.TabFont(), source.TabFont());
        QCOMPARE(copy.TabFontActive(), source.TabFontActive());
        QCOMPARE(copy.TextColor(), 0x80000008u);
        QCOMPARE(copy.TabRects(), source.TabRects());
        QCOMPARE(copy.Surface(), source.Surface());
    }

    void bagWithoutCaptionsGivesEmptyCaptions()
    {
        Form form;
        PropertyBag bag;
        bag.Write(QStringLiteral("TabCount"), 3);
        form.tabs->ReadProperties(bag);
        QCOMPARE(form.tabs->Tabs(), qint16(3));
        for (int i = 1; i <= 3; ++i)
            QCOMPARE(form.tabs->Caption(i), QString());
        QCOMPARE(form.tabs->TabsWidth(), 70);
        QCOMPARE(form.tabs->TabColor(), ctlTabs::kDefaultTabColor);
    }

    void damagedBagFallsBackToDefaults()
    {
        Form form;
        PropertyBag bag;
        bag.Write(QStringLiteral("TABCOUNT"), 0);
        bag.Write(QStringLiteral("TABSELECTED"), 40);
        bag.Write(QStringLiteral("TABSTYLE"), 9);
        bag.Write(QStringLiteral("CAPTIONSTYLE"), -1);
        bag.Write(QStringLiteral("TABWIDE"), QStringLiteral("wide"));
        bag.Write(QStringLiteral("TABFONT"), QStringLiteral("not a font"));
        form.tabs->ReadProperties(bag);
        QCOMPARE(form.tabs->Tabs(), qint16(2));
        QCOMPARE(form.tabs->SelectedTab(), qint16(2));
        QCOMPARE(form.tabs->Style(), 0);
        QCOMPARE(form.tabs->CaptionAlignment(), 4);
        QCOMPARE(form.tabs->TabsWidth(), 70);
        QCOMPARE(form.tabs->TabRects().size(), size_t(2));

        bag.Write(QStringLiteral("TABCOUNT"), 70000);
        form.tabs->ReadProperties(bag);
        QCOMPARE(form.tabs->Tabs(), qint16(2));
    }
};

QTEST_MAIN(TestCtlTabs)
#include "test_ctl_tabs.moc"
