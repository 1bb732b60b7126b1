#include "controls/property_bag.h"
#include "controls/uni_command.h"
#include "controls/uni_text_format.h"
#include "uni_widget_test_support.h"

#include <memory>

#include <QFontMetricsF>
#include <QSignalSpy>
#include <QtTest>

using namespace trelvik;
using namespace trelvik::test;

namespace {

constexpr quint32 kWhite = 0x00FFFFFF;
constexpr quint32 kBlack = 0x00000000;
constexpr quint32 kRed = 0x000000FF;

std::unique_ptr<UniCommand> MakeButton(const QString &caption, QSize size = QSize(120, 40))
{
    auto button = std::make_unique<UniCommand>();
    button->resize(size);
    button->SetFont(TestFont());
    button->SetBackColor(kWhite);
    button->SetForeColor(kBlack);
    button->SetCaption(caption);
    return button;
}

QColor Role(QPalette::ColorRole role)
{
    return QApplication::palette().color(role);
}

// Ink of the caption only: the face inside the two-pixel border.
QRect CaptionInk(const UniCommand &button)
{
    const QImage &surface = button.Surface();
    const QRect face(2, 2, surface.width() - 4, surface.height() - 4);
    return InkBounds(surface.copy(face), ResolveOleColour(kWhite).rgb()).translated(2, 2);
}

} // namespace

class UniCommandTest : public QObject
{
    Q_OBJECT

    QStringList log_;

    // Logs every event of the button together with the border in use when it was raised.
    void Watch(UniCommand *button)
    {
        log_.clear();
        auto border = [button] { return QString::number(button->CurrentBorder()); };
        connect(button, &UniCommand::MouseDown, this,
                [this, border](qint16 b, qint16, float, float) {
                    log_ << QStringLiteral("down%1@%2").arg(b).arg(border());
                });
        connect(button, &UniCommand::MouseMove, this,
                [this, border](qint16 b, qint16, float, float) {
                    log_ << QStringLiteral("move%1@%2").arg(b).arg(border());
                });
        connect(button, &UniCommand::MouseUp, this, [this, border](qint16 b, qint16, float, float) {
            log_ << QStringLiteral("up%1@%2").arg(b).arg(border());
        });
        connect(button, &UniCommand::Click, this, [this] { log_ << QStringLiteral("click"); });
        connect(button, &UniCommand::DblClick, this,
                [this, border] { log_ << QStringLiteral("dblclick@") + border(); });
        connect(button, &UniCommand::KeyDown, this, [this, border](qint16 code, qint16 shift) {
            log_ << QStringLiteral("keydown%1,%2@%3").arg(code).arg(shift).arg(border());
        });
        connect(button, &UniCommand::KeyPress, this,
                [this](qint16 ascii) { log_ << QStringLiteral("keypress%1").arg(ascii); });
        connect(button, &UniCommand::KeyUp, this, [this, border](qint16 code, qint16 shift) {
            log_ << QStringLiteral("keyup%1,%2@%3").arg(code).arg(shift).arg(border());
        });
    }

    static QStringList List(const char *events)
    {
        return QString::fromLatin1(events).split(QLatin1Char(' '));
    }

private slots:
    void initTestCase()
    {
        // Every role a different colour, so a border drawn in the wrong colour shows.
        QPalette palette;
        palette.setColor(QPalette::Button, QColor(200, 200, 200));
        palette.setColor(QPalette::Light, QColor(250, 250, 240));
        palette.setColor(QPalette::Midlight, QColor(220, 230, 220));
        palette.setColor(QPalette::Dark, QColor(120, 110, 120));
        palette.setColor(QPalette::Shadow, QColor(10, 20, 30));
        QApplication::setPalette(palette);
    }

    void dragOutAndBackInClicksOnce()
    {
        auto button = MakeButton(QStringLiteral("Go"));
        Watch(button.get());
        SendMouse(button.get(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {10, 10});
        SendMouse(button.get(), QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {120, 10});
        SendMouse(button.get(), QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {119.5, 39.5});
        SendMouse(button.get(), QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {0, 0});
        QCOMPARE(log_, List("down1@10 move1@5 move1@10 up1@5 click"));
    }

    void releaseOutsideRaisesNoClick()
    {
        auto button = MakeButton(QStringLiteral("Go"));
        Watch(button.get());
        SendMouse(button.get(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {10, 10});
        SendMouse(button.get(), QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {10, -1});
        SendMouse(button.get(), QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {10, -1});
        SendMouse(button.get(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {10, 10});
        SendMouse(button.get(), QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton,
                  {-0.5, 10});
        QCOMPARE(log_, List("down1@10 move1@5 up1@5 down1@10 up1@5"));
    }

    void moveWithOtherButtonsChangesNothing()
    {
        auto button = MakeButton(QStringLiteral("Go"));
        Watch(button.get());
        SendMouse(button.get(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {10, 10});
        SendMouse(button.get(), QEvent::MouseMove, Qt::NoButton, Qt::LeftButton | Qt::RightButton,
                  {200, 10});
        SendMouse(button.get(), QEvent::MouseMove, Qt::NoButton, Qt::NoButton, {200, 10});
        QCOMPARE(log_, List("down1@10 move3@10 move0@10"));
    }

    void rightButtonOnlyForwardsItsEvents()
    {
        auto button = MakeButton(QStringLiteral("Go"));
        Watch(button.get());
        const QImage before = button->Surface().copy();
        SendMouse(button.get(), QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton,
                  {10, 10});
        QCOMPARE(button->Surface(), before);
        SendMouse(button.get(), QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton,
                  {10, 10});
        QCOMPARE(button->Surface(), before);
        QCOMPARE(log_, List("down2@5 up2@5"));
    }

    void doubleClickPressesAndTheReleaseClicks()
    {
        auto button = MakeButton(QStringLiteral("Go"));
        Watch(button.get());
        SendMouse(button.get(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {5, 5});
        SendMouse(button.get(), QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {5, 5});
        SendMouse(button.get(), QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton,
                  {5, 5});
        SendMouse(button.get(), QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {5, 5});
        QCOMPARE(log_, List("down1@10 up1@5 click dblclick@10 up1@5 click"));
    }

    void spaceKeyPressesWithoutClicking()
    {
        auto button = MakeButton(QStringLiteral("Go"));
        Watch(button.get());
        QTest::keyPress(button.get(), Qt::Key_Space);
        QTest::keyRelease(button.get(), Qt::Key_Space);
        QTest::keyPress(button.get(), Qt::Key_A);
        QTest::keyRelease(button.get(), Qt::Key_A);
        QCOMPARE(log_, List("keydown32,0@10 keypress32 keyup32,0@5 keydown65,0@5 keypress97 "
                            "keyup65,0@5"));
    }

    void focusLossLiftsAPressedButton()
    {
        auto button = MakeButton(QStringLiteral("Go"));
        const QImage up = button->Surface().copy();
        SendMouse(button.get(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {5, 5});
        QCOMPARE(button->CurrentBorder(), 10);
        QFocusEvent focusOut(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QCoreApplication::sendEvent(button.get(), &focusOut);
        QCOMPARE(button->CurrentBorder(), 5);
        QCOMPARE(button->Surface(), up);
    }

    void clickDepthShiftsTheCaption_data()
    {
        QTest::addColumn<int>("depth");
        QTest::addColumn<QPoint>("shift");
        QTest::newRow("0") << 0 << QPoint(0, 0);
        QTest::newRow("1") << 1 << QPoint(0, 1);
        QTest::newRow("2") << 2 << QPoint(1, 0);
        QTest::newRow("3") << 3 << QPoint(1, 1);
        QTest::newRow("4") << 4 << QPoint(1, 2);
        QTest::newRow("5") << 5 << QPoint(2, 1);
        QTest::newRow("6") << 6 << QPoint(2, 2);
        QTest::newRow("7") << 7 << QPoint(0, 0);
        QTest::newRow("negative") << -4 << QPoint(0, 0);
    }

    void clickDepthShiftsTheCaption()
    {
        QFETCH(int, depth);
        QFETCH(QPoint, shift);
        auto button = MakeButton(QStringLiteral("Shift"));
        button->SetClickDepth(depth);
        const QRect up = CaptionInk(*button);
        const QImage upImage = button->Surface().copy();
        SendMouse(button.get(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {5, 5});
        const QRect down = CaptionInk(*button);
        QVERIFY(!up.isNull());
        QCOMPARE(down, up.translated(shift));
        // The caption's pixels move unchanged.
        const QImage &downImage = button->Surface();
        for (int y = up.top(); y <= up.bottom(); ++y)
            for (int x = up.left(); x <= up.right(); ++x)
                QCOMPARE(downImage.pixel(x + shift.x(), y + shift.y()), upImage.pixel(x, y));
    }

    void borderUpZeroShowsAfterThePressAndRelease()
    {
        auto button = MakeButton(QStringLiteral("Go"));
        const QImage raised = button->Surface().copy();
        QCOMPARE(raised.pixel(0, 0), Role(QPalette::Midlight).rgb());
        QCOMPARE(raised.pixel(119, 39), Role(QPalette::Shadow).rgb());
        button->SetBorderUp(0);
        QCOMPARE(button->Surface(), raised);
        SendMouse(button.get(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {5, 5});
        // Sunken: the outer ring's top and left in the button shadow colour.
        QCOMPARE(button->Surface().pixel(0, 0), Role(QPalette::Dark).rgb());
        SendMouse(button.get(), QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {5, 5});
        QCOMPARE(button->CurrentBorder(), 0);
        const QRgb white = ResolveOleColour(kWhite).rgb();
        for (int x = 0; x < 120; ++x) {
            QCOMPARE(button->Surface().pixel(x, 0), white);
            QCOMPARE(button->Surface().pixel(x, 39), white);
        }
    }

    void defaultButtonWearsTheFrame()
    {
        auto button = MakeButton(QStringLiteral("&OK"), QSize(30, 20));
        button->SetFillColor(kRed);
        const QImage plain = button->Surface().copy();
        button->SetDefault(true);
        const QImage &framed = button->Surface();
        QVERIFY(framed != plain);
        const QRgb red = qRgb(255, 0, 0);
        for (int x = 0; x < 30; ++x) {
            QCOMPARE(framed.pixel(x, 0), red);
            QCOMPARE(framed.pixel(x, 19), red);
        }
        for (int y = 0; y < 20; ++y) {
            QCOMPARE(framed.pixel(0, y), red);
            QCOMPARE(framed.pixel(29, y), red);
        }
        // The raised edge one pixel inside: both rings moved in by one.
        QCOMPARE(framed.pixel(1, 1), Role(QPalette::Midlight).rgb());
        QCOMPARE(framed.pixel(2, 2), Role(QPalette::Light).rgb());
        QCOMPARE(framed.pixel(28, 18), Role(QPalette::Shadow).rgb());
        QCOMPARE(framed.pixel(27, 17), Role(QPalette::Dark).rgb());
        QCOMPARE(plain.pixel(1, 1), Role(QPalette::Light).rgb());

        button->SetDefault(false);
        QCOMPARE(button->Surface(), plain);

        // Without a border there is no frame either.
        button->SetDefault(true);
        button->SetBorderUp(0);
        SendMouse(button.get(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {5, 5});
        SendMouse(button.get(), QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {5, 5});
        QCOMPARE(button->Surface().pixel(0, 0), ResolveOleColour(kWhite).rgb());
    }

    void focusRectangleFollowsShowFocus()
    {
        auto button = MakeButton(QStringLiteral("Go"), QSize(40, 20));
        QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
        QCoreApplication::sendEvent(button.get(), &focusIn);
        const QImage without = button->Surface().copy();
        button->SetShowFocus(true);
        const QImage with = button->Surface().copy();
        // Only dotted pixels on the rectangle (3, 3) - (37, 17) change, every other one of them.
        int changed = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 40; ++x) {
                if (with.pixel(x, y) == without.pixel(x, y))
                    continue;
                ++changed;
                QVERIFY(x == 3 || x == 36 || y == 3 || y == 16);
                QCOMPARE((x + y) % 2, 0);
            }
        QVERIFY(with.pixel(3, 3) != without.pixel(3, 3));
        QVERIFY(changed >= 40);
        QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(button.get(), &focusOut);
        QCOMPARE(button->Surface(), without);
    }

    void equalColoursHideOnlyTheCaption()
    {
        auto button = MakeButton(QStringLiteral("Hidden"));
        button->SetForeColor(kWhite);
        QVERIFY(CaptionInk(*button).isNull());
        QCOMPARE(button->Surface().pixel(0, 0), Role(QPalette::Midlight).rgb());
    }

    void autoSizeIsTheCaptionPlusNine()
    {
        auto button = MakeButton(QStringLiteral("&System Info"), QSize(10, 10));
        button->SetAutoSize(true);
        const QFontMetricsF metrics(TestFont());
        QCOMPARE(button->width(),
                 qCeil(metrics.horizontalAdvance(QStringLiteral("System Info"))) + 9);
        QCOMPARE(button->height(), qCeil(metrics.height()) + 9);
        QCOMPARE(button->TextRect().left, 5);
        QCOMPARE(button->TextRect().top, 4);
        QVERIFY(button->FormatFlags() & kDtNoClip);

        button->SetCaption(QStringLiteral("Two\nlines"));
        QCOMPARE(button->height(), 2 * qCeil(metrics.height()) + 9);
    }

    void autoSizeWithWordWrapKeepsTheWidth()
    {
        const QString text = QStringLiteral("one two three four five six");
        auto button = MakeButton(text, QSize(60, 10));
        button->SetWordWrap(true);
        button->SetAutoSize(true);
        QCOMPARE(button->width(), 60);
        const QFontMetrics metrics(TestFont());
        const int wrapped =
            metrics.boundingRect(QRect(0, 0, 60 - 6, 0), Qt::TextWordWrap, text).height();
        QVERIFY(wrapped >= 3 * qCeil(QFontMetricsF(TestFont()).height()));
        QCOMPARE(button->height(), wrapped + 9);
        QCOMPARE(button->TextRect(), (WinRect{3, 3, 57, 3 + wrapped}));
    }

    void fixedSizeCentresTheCaptionVertically_data()
    {
        QTest::addColumn<int>("height");
        QTest::newRow("tall") << 40;
        QTest::newRow("odd") << 41;
        QTest::newRow("lower than the caption") << 10;
        QTest::newRow("lower, odd") << 11;
    }

    void fixedSizeCentresTheCaptionVertically()
    {
        QFETCH(int, height);
        auto button = MakeButton(QStringLiteral("Go"), QSize(50, height));
        const int line = qCeil(QFontMetricsF(TestFont()).height());
        const WinRect rect = button->TextRect();
        // Equal room above and below, the odd pixel going below.
        QCOMPARE(rect.top + rect.bottom, height);
        QVERIFY(rect.bottom - rect.top == line || rect.bottom - rect.top == line + 1);
        QCOMPARE(rect.left, 3);
        QCOMPARE(rect.right, 47);

        button->SetCaption(QString());
        QCOMPARE(button->TextRect(), (WinRect{3, 3, 47, height - 3}));
    }

    void accessKeyRaisesClick()
    {
        QWidget window;
        window.resize(200, 100);
        auto *ok = new UniCommand(&window);
        ok->SetCaption(QStringLiteral("&x"));
        auto *other = new UniCommand(&window);
        other->SetCaption(QStringLiteral("&&word"));
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QSignalSpy okClick(ok, &UniCommand::Click);
        QSignalSpy otherClick(other, &UniCommand::Click);

        QTest::keyClick(&window, Qt::Key_X, Qt::AltModifier);
        QCOMPARE(okClick.count(), 1);
        QTest::keyClick(&window, Qt::Key_W, Qt::AltModifier);
        QCOMPARE(otherClick.count(), 0);

        ok->SetCaption(QStringLiteral("Yes&"));
        QVERIFY(!ok->AccessKey().has_value());
        QTest::keyClick(&window, Qt::Key_X, Qt::AltModifier);
        QCOMPARE(okClick.count(), 1);

        // Every caption operation sets the key again, so the underlined letter always works.
        ok->SetCaption(QStringLiteral("&x"));
        ok->SetCaptionAscW(1, qint16('y'));
        QCOMPARE(ok->AccessKey(), std::optional<char16_t>(u'y'));
        QTest::keyClick(&window, Qt::Key_Y, Qt::AltModifier);
        QCOMPARE(okClick.count(), 2);
        QTest::keyClick(&window, Qt::Key_X, Qt::AltModifier);
        QCOMPARE(okClick.count(), 2);
    }

    void propertiesRoundTrip()
    {
        auto button = MakeButton(QString::fromUtf8("&Über \xF0\x9F\x98\x80"));
        button->SetAlignment(0);
        button->SetBorderDown(9);
        button->SetBorderUp(6);
        button->SetClickDepth(5);
        button->SetFillColor(SystemOleColour(kColourHighlight));
        button->SetMousePointer(11);
        button->SetShowFocus(true);
        button->SetWordWrap(true);
        QPixmap icon(16, 16);
        icon.fill(Qt::green);
        button->SetMouseIcon(icon);
        PropertyBag first;
        button->WriteProperties(first);

        UniCommand copy;
        copy.resize(button->size());
        copy.ReadProperties(first);
        PropertyBag second;
        copy.WriteProperties(second);
        QCOMPARE(second.Keys(), first.Keys());
        for (const QString &key : first.Keys()) {
            if (key == QStringLiteral("mouseicon"))
                QCOMPARE(second.Read(key, QVariant()).value<QPixmap>().toImage(),
                         first.Read(key, QVariant()).value<QPixmap>().toImage());
            else
                QCOMPARE(second.Read(key, QVariant()), first.Read(key, QVariant()));
        }
        QCOMPARE(copy.CurrentBorder(), 6);
        QCOMPARE(copy.PressOffset(), QPoint(2, 1));
        QCOMPARE(copy.AccessKey(), std::optional<char16_t>(u'Ü'));
        QCOMPARE(copy.cursor().shape(), Qt::WaitCursor);
        // The original still wears the border it had before BorderUp changed, until a click.
        QCOMPARE(button->CurrentBorder(), 5);
        SendMouse(button.get(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {5, 5});
        SendMouse(button.get(), QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {5, 5});
        QCOMPARE(copy.Surface(), button->Surface());
        for (const char *key :
             {"Alignment", "AutoRedraw", "AutoSize", "BackColor", "BorderDown", "BorderUp",
              "CaptionB", "CaptionLen", "ClickDepth", "FillColor", "Font", "ForeColor", "MouseIcon",
              "MousePointer", "ShowFocus", "WordWrap"})
            QVERIFY2(first.Contains(QString::fromLatin1(key)), key);
    }

    void missingKeysTakeTheirDefaults()
    {
        UniCommand button;
        button.setObjectName(QStringLiteral("cmdOK"));
        button.resize(60, 24);
        button.SetBorderUp(0);
        button.SetClickDepth(0);
        button.ReadProperties(PropertyBag());
        QCOMPARE(button.Caption(), QStringLiteral("cmdOK"));
        QCOMPARE(button.Alignment(), 2);
        QCOMPARE(button.BorderDown(), 10);
        QCOMPARE(button.BorderUp(), 5);
        QCOMPARE(button.CurrentBorder(), 5);
        QCOMPARE(button.ClickDepth(), 3);
        QCOMPARE(button.PressOffset(), QPoint(1, 1));
        QCOMPARE(button.FillColor(), 0x80000008u);
        QCOMPARE(button.MousePointer(), 0);
        QVERIFY(!button.ShowFocus());
        QCOMPARE(button.FormatFlags(), kDtCenter);

        UniCommand fresh;
        fresh.setObjectName(QStringLiteral("cmd&Go"));
        fresh.InitProperties();
        QCOMPARE(fresh.Caption(), QStringLiteral("cmd&Go"));
        QCOMPARE(fresh.AccessKey(), std::optional<char16_t>(u'G'));
    }
};

QTEST_MAIN(UniCommandTest)
#include "test_uni_command.moc"
