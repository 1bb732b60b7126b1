#include "controls/property_bag.h"
#include "controls/uni_label.h"
#include "controls/uni_text_format.h"
#include "uni_widget_test_support.h"

#include <memory>

#include <QFontMetrics>
#include <QSignalSpy>
#include <QtTest>

using namespace trelvik;
using namespace trelvik::test;

namespace {

constexpr quint32 kWhite = 0x00FFFFFF;
constexpr quint32 kBlack = 0x00000000;

std::unique_ptr<UniLabel> MakeLabel(const QString &caption, QSize size = QSize(160, 60))
{
    auto label = std::make_unique<UniLabel>();
    label->resize(size);
    label->SetFont(TestFont());
    label->SetBackColor(kWhite);
    label->SetForeColor(kBlack);
    label->SetCaption(caption);
    return label;
}

// Height of n lines as the text layout stacks them: each line its ascent plus descent rounded up
// to whole pixels, with the leading between lines.
int LinesHeight(const QFont &font, int lines)
{
    const QFontMetricsF metrics(font);
    return lines * qCeil(metrics.height()) + (lines - 1) * qCeil(metrics.leading());
}

// Width of one line as the text layout measures it: its advance rounded up to whole pixels.
int TextWidth(const QString &line)
{
    return qCeil(QFontMetricsF(TestFont()).horizontalAdvance(line));
}

} // namespace

class UniLabelTest : public QObject
{
    Q_OBJECT

private slots:
    void changeIsRaisedOncePerRealChange()
    {
        auto label = MakeLabel(QStringLiteral("start"));
        QSignalSpy change(label.get(), &UniLabel::Change);
        label->SetCaption(QStringLiteral("start"));
        label->SetCaptionLen(5);
        label->SetCaptionAscW(5, 65);
        label->SetCaptionAscW(-1, 65);
        label->SetCaptionAscW(0, 's');
        QCOMPARE(change.count(), 0);

        label->SetCaption(QStringLiteral("Hello"));
        QCOMPARE(change.count(), 1);
        label->SetCaptionLen(3);
        QCOMPARE(change.count(), 2);
        label->SetCaptionLen(7);
        QCOMPARE(change.count(), 3);
        label->SetCaptionAscW(6, 'z');
        QCOMPARE(change.count(), 4);
        label->SetCaptionAscB(0, 'J');
        QCOMPARE(change.count(), 5);
        QCOMPARE(label->Caption(), QStringLiteral("Jel") + QString(3, QChar(0)) + QChar(u'z'));

        label->SetCaptionB(QByteArray("A\0B\0C", 5));
        QCOMPARE(change.count(), 6);
        QCOMPARE(label->CaptionLen(), 2);
        QCOMPARE(label->GetCaptionB().size(), 5);
        label->SetCaptionB(QByteArray());
        QCOMPARE(change.count(), 7);
        QCOMPARE(label->CaptionLen(), 0);
    }

    void changeComesAfterTheNewCaptionIsDrawn()
    {
        auto label = MakeLabel(QString());
        bool inkAtChange = false;
        connect(label.get(), &UniLabel::Change, this, [&] {
            inkAtChange = !InkBounds(label->Surface(), ResolveOleColour(kWhite).rgb()).isNull();
        });
        label->SetCaption(QStringLiteral("Ink"));
        QVERIFY(inkAtChange);
    }

    void autoSizeTakesTheMeasuredExtent()
    {
        auto label = MakeLabel(QStringLiteral("Hi\nA wider second line"));
        label->SetAutoSize(true);
        const QFontMetrics metrics(TestFont());
        const int widest =
            std::max(metrics.horizontalAdvance(QStringLiteral("Hi")),
                     metrics.horizontalAdvance(QStringLiteral("A wider second line")));
        QCOMPARE(label->width(), widest);
        QCOMPARE(label->height(), LinesHeight(TestFont(), 2));
        QCOMPARE(label->TextRect(), (WinRect{0, 0, label->width(), label->height()}));
        QVERIFY(label->FormatFlags() & kDtNoClip);

        // The access-key marker takes no room and an ampersand pair shows one ampersand.
        label->SetCaption(QStringLiteral("&OK && go"));
        QCOMPARE(label->width(), TextWidth(QStringLiteral("OK & go")));
        QCOMPARE(label->height(), LinesHeight(TestFont(), 1));
    }

    void autoSizeStopsAtTheLargestSurface()
    {
        auto label = MakeLabel(QString(5000, QLatin1Char('W')));
        label->SetAutoSize(true);
        QCOMPARE(label->width(), UniLabel::kMaxLayoutSide);
        QCOMPARE(label->Surface().width(), UniLabel::kMaxLayoutSide);
        QCOMPARE(label->height(), LinesHeight(TestFont(), 1));
    }

    void autoSizeWithWordWrapChangesOnlyTheHeight()
    {
        const QString text = QStringLiteral("one two three four five six seven eight nine ten");
        auto label = MakeLabel(text, QSize(90, 5));
        label->SetWordWrap(true);
        label->SetAutoSize(true);
        QCOMPARE(label->width(), 90);
        const QFontMetrics metrics(TestFont());
        const QRect wrapped = metrics.boundingRect(QRect(0, 0, 90, 0), Qt::TextWordWrap, text);
        QCOMPARE(label->height(), wrapped.height());
        // The caption is far wider than 90 pixels, so it takes several whole lines.
        QVERIFY(label->height() >= LinesHeight(TestFont(), 3));
        QCOMPARE(label->height() % LinesHeight(TestFont(), 1), 0);
        QCOMPARE(label->TextRect().right, 90);
        QVERIFY(label->FormatFlags() & kDtWordBreak);
        QVERIFY(!(label->FormatFlags() & kDtNoClip));
    }

    void lineBreakStartsANewLineInEveryMode_data()
    {
        QTest::addColumn<bool>("autoSize");
        QTest::addColumn<bool>("wordWrap");
        QTest::addColumn<QString>("caption");
        const QString lf = QStringLiteral("Top\nBottom");
        const QString crlf = QStringLiteral("Top\r\nBottom");
        QTest::newRow("fixed") << false << false << lf;
        QTest::newRow("fixed, wrap") << false << true << lf;
        QTest::newRow("auto size") << true << false << lf;
        QTest::newRow("auto size, wrap") << true << true << lf;
        QTest::newRow("fixed, CR LF") << false << false << crlf;
        QTest::newRow("auto size, CR LF") << true << false << crlf;
    }

    void lineBreakStartsANewLineInEveryMode()
    {
        QFETCH(bool, autoSize);
        QFETCH(bool, wordWrap);
        QFETCH(QString, caption);
        auto label = MakeLabel(caption, QSize(200, 80));
        label->SetWordWrap(wordWrap);
        label->SetAutoSize(autoSize);
        const QFontMetrics metrics(TestFont());
        const QList<int> rows = InkRows(label->Surface(), ResolveOleColour(kWhite).rgb());
        QVERIFY(!rows.isEmpty());
        QVERIFY(rows.first() < metrics.height());
        QVERIFY(rows.last() >= metrics.lineSpacing());
        // Between the two lines lies at least one empty row.
        bool gap = false;
        for (int i = 1; i < rows.size(); ++i)
            gap = gap || rows[i] > rows[i - 1] + 1;
        QVERIFY(gap);
        if (autoSize)
            QCOMPARE(label->height(), LinesHeight(TestFont(), 2));
    }

    void unknownAlignmentKeepsThePreviousFlags()
    {
        auto label = MakeLabel(QStringLiteral("Mid"), QSize(120, 30));
        label->SetAlignment(2);
        QCOMPARE(label->FormatFlags(), kDtCenter);
        const QImage centred = label->Surface().copy();
        label->SetAlignment(5);
        QCOMPARE(label->FormatFlags(), kDtCenter);
        QCOMPARE(label->Surface(), centred);
        label->SetAlignment(0);
        QVERIFY(label->Surface() != centred);

        // The flags kept include the word break of the layout before.
        label->SetWordWrap(true);
        QCOMPARE(label->FormatFlags(), kDtLeft | kDtWordBreak);
        label->SetAlignment(-1);
        label->SetWordWrap(false);
        QCOMPARE(label->FormatFlags(), kDtLeft | kDtWordBreak);
    }

    void alignmentPlacesTheCaption()
    {
        auto label = MakeLabel(QStringLiteral("Text"), QSize(200, 30));
        const QRgb white = ResolveOleColour(kWhite).rgb();
        const QRect left = InkBounds(label->Surface(), white);
        label->SetAlignment(1);
        const QRect right = InkBounds(label->Surface(), white);
        label->SetAlignment(2);
        const QRect centre = InkBounds(label->Surface(), white);
        QVERIFY(left.left() < 4);
        QVERIFY(right.right() > 200 - 4);
        QVERIFY(std::abs((centre.left() + centre.right()) - 200) <= 4);
        QCOMPARE(left.height(), right.height());
    }

    void equalColoursDrawOnlyTheBackground()
    {
        auto label = MakeLabel(QStringLiteral("Invisible text"));
        label->SetForeColor(0x00336699);
        label->SetBackColor(0x00336699);
        const QImage &surface = label->Surface();
        QCOMPARE(surface.size(), QSize(160, 60));
        QVERIFY(InkBounds(surface, qRgb(0x99, 0x66, 0x33)).isNull());

        label->SetForeColor(0x00336698);
        QVERIFY(!InkBounds(label->Surface(), qRgb(0x99, 0x66, 0x33)).isNull());
    }

    void mouseEventsAreForwarded()
    {
        auto label = MakeLabel(QStringLiteral("Click me"));
        QStringList log;
        connect(label.get(), &UniLabel::MouseDown, this, [&](qint16 b, qint16 s, float x, float y) {
            log << QStringLiteral("down %1 %2 %3 %4").arg(b).arg(s).arg(x).arg(y);
        });
        connect(label.get(), &UniLabel::MouseUp, this, [&](qint16 b, qint16 s, float, float) {
            log << QStringLiteral("up %1 %2").arg(b).arg(s);
        });
        connect(label.get(), &UniLabel::MouseMove, this, [&](qint16 b, qint16, float x, float) {
            log << QStringLiteral("move %1 %2").arg(b).arg(x);
        });
        connect(label.get(), &UniLabel::Click, this, [&] { log << QStringLiteral("click"); });
        connect(label.get(), &UniLabel::DblClick, this, [&] { log << QStringLiteral("dblclick"); });

        SendMouse(label.get(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {10.5, 7},
                  Qt::ShiftModifier | Qt::AltModifier);
        SendMouse(label.get(), QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {12, 7});
        SendMouse(label.get(), QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {12, 7});
        QCOMPARE(log, (QStringList{QStringLiteral("down 1 5 10.5 7"), QStringLiteral("move 1 12"),
                                   QStringLiteral("up 1 0"), QStringLiteral("click")}));

        log.clear();
        SendMouse(label.get(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {10, 7});
        SendMouse(label.get(), QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {170, 7});
        SendMouse(label.get(), QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, {10, 7},
                  Qt::ControlModifier);
        SendMouse(label.get(), QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, {10, 7});
        QCOMPARE(log, (QStringList{QStringLiteral("down 1 0 10 7"), QStringLiteral("up 1 0"),
                                   QStringLiteral("down 2 2 10 7"), QStringLiteral("up 2 0")}));

        log.clear();
        SendMouse(label.get(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {3, 3});
        SendMouse(label.get(), QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {3, 3});
        SendMouse(label.get(), QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, {3, 3});
        SendMouse(label.get(), QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {3, 3});
        QCOMPARE(log, (QStringList{QStringLiteral("down 1 0 3 3"), QStringLiteral("up 1 0"),
                                   QStringLiteral("click"), QStringLiteral("dblclick"),
                                   QStringLiteral("up 1 0")}));
    }

    void propertiesRoundTrip()
    {
        auto label = MakeLabel(QString::fromUtf8("Größe \xF0\x9F\x98\x80"));
        label->SetAlignment(1);
        label->SetAutoRedraw(true);
        label->SetWordWrap(true);
        label->SetAutoSize(true);
        label->SetBackColor(SystemOleColour(kColourInfoBackground));
        label->SetForeColor(0x00123456);
        QFont font = TestFont(17);
        font.setBold(true);
        label->SetFont(font);
        PropertyBag first;
        label->WriteProperties(first);

        UniLabel copy;
        copy.resize(label->width(), 1);
        copy.ReadProperties(first);
        PropertyBag second;
        copy.WriteProperties(second);
        QCOMPARE(second.Keys(), first.Keys());
        for (const QString &key : first.Keys())
            QCOMPARE(second.Read(key, QVariant()), first.Read(key, QVariant()));
        QCOMPARE(copy.Caption(), label->Caption());
        QCOMPARE(copy.size(), label->size());
        QCOMPARE(copy.Surface(), label->Surface());
        QCOMPARE(first.Keys(),
                 (QStringList{QStringLiteral("alignment"), QStringLiteral("autoredraw"),
                              QStringLiteral("autosize"), QStringLiteral("backcolor"),
                              QStringLiteral("captionb"), QStringLiteral("captionlen"),
                              QStringLiteral("font"), QStringLiteral("forecolor"),
                              QStringLiteral("wordwrap")}));
    }

    void missingKeysTakeTheirDefaults()
    {
        UniLabel label;
        label.setObjectName(QStringLiteral("lblTitle"));
        label.SetAlignment(2);
        label.SetBackColor(kWhite);
        label.ReadProperties(PropertyBag());
        QCOMPARE(label.Caption(), QStringLiteral("lblTitle"));
        QCOMPARE(label.CaptionLen(), 8);
        QCOMPARE(label.Alignment(), 0);
        QCOMPARE(label.BackColor(), SystemOleColour(kColourButtonFace));
        QCOMPARE(label.ForeColor(), SystemOleColour(kColourButtonText));
        QVERIFY(!label.AutoSize() && !label.WordWrap() && !label.AutoRedraw());

        UniLabel fresh;
        fresh.setObjectName(QStringLiteral("lblNew"));
        fresh.InitProperties();
        QCOMPARE(fresh.Caption(), QStringLiteral("lblNew"));
    }

    void storedLengthIsReadWithTheBytes()
    {
        PropertyBag bag;
        bag.Write(QStringLiteral("CAPTIONB"), QByteArray("a\0b\0c", 5));
        UniLabel label;
        label.ReadProperties(bag);
        QCOMPARE(label.CaptionLen(), 2); // no stored length: the bytes halved, rounded down

        bag.Write(QStringLiteral("captionlen"), 1000000);
        label.ReadProperties(bag);
        QCOMPARE(label.CaptionLen(), 2); // a stored length never reaches past the bytes

        bag.Write(QStringLiteral("CaptionLen"), 1);
        label.ReadProperties(bag);
        QCOMPARE(label.Caption(), QStringLiteral("a"));

        bag.Write(QStringLiteral("ForeColor"), -2147483640); // 0x80000008 kept as a signed long
        label.ReadProperties(bag);
        QCOMPARE(label.ForeColor(), 0x80000008u);
    }
};

QTEST_MAIN(UniLabelTest)
#include "test_uni_label.moc"
