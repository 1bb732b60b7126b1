#include "controls/uni_caption.h"

#include <random>

#include <QTest>

using trelvik::UniCaption;

namespace {

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int v : values)
        bytes.append(static_cast<char>(v));
    return bytes;
}

} // namespace

class UniCaptionTest : public QObject
{
    Q_OBJECT

private slots:
    void surrogatePairsKeepTheirCodeUnits()
    {
        // U+00E9 and U+1F600; the second is the surrogate pair D83D DE00.
        UniCaption caption(QString::fromUtf8("\xC3\xA9\xF0\x9F\x98\x80"));
        QCOMPARE(caption.CaptionLen(), 3);
        QCOMPARE(caption.GetCaptionB(), Bytes({0xE9, 0x00, 0x3D, 0xD8, 0x00, 0xDE}));
        QCOMPARE(caption.CaptionAscW(1), qint16(0xD83D - 0x10000));
        QCOMPARE(caption.CaptionAscW(2), qint16(0xDE00 - 0x10000));
        QCOMPARE(caption.CaptionAscB(1), quint8(0x3D));
        QCOMPARE(caption.Caption(), QString::fromUtf8("\xC3\xA9\xF0\x9F\x98\x80"));
    }

    void nonLatinTextRoundTrips()
    {
        const QString text = QString::fromUtf8("Гора 山 واحة Ωμέγα \xF0\x9D\x84\x9E");
        UniCaption caption(text);
        QCOMPARE(caption.Caption(), text);
        QCOMPARE(caption.DrawnText(), text);
        QCOMPARE(caption.CaptionLen(), text.size());
        QCOMPARE(caption.GetCaptionB().size(), 2 * text.size());
    }

    void loneSurrogateSurvives()
    {
        UniCaption caption(QStringLiteral("ab"));
        QVERIFY(caption.SetCaptionAscW(0, qint16(0xD800 - 0x10000)));
        QCOMPARE(caption.Caption().at(0).unicode(), char16_t(0xD800));
        QCOMPARE(caption.GetCaptionB(), Bytes({0x00, 0xD8, 'b', 0x00}));
    }

    void captionLenTruncatesThenExtendsWithZeros()
    {
        UniCaption caption(QStringLiteral("Hello"));
        QVERIFY(caption.SetCaptionLen(3));
        QCOMPARE(caption.Caption(), QStringLiteral("Hel"));
        QVERIFY(caption.SetCaptionLen(7));
        QCOMPARE(caption.CaptionLen(), 7);
        QCOMPARE(caption.GetCaptionB(), Bytes({'H', 0, 'e', 0, 'l', 0, 0, 0, 0, 0, 0, 0, 0, 0}));
        QCOMPARE(caption.Caption(), QStringLiteral("Hel") + QString(4, QChar(0)));
    }

    void captionLenClampsAndSkipsNoChange()
    {
        UniCaption caption(QStringLiteral("abc"));
        QVERIFY(!caption.SetCaptionLen(3));
        QVERIFY(caption.SetCaptionLen(-5));
        QCOMPARE(caption.CaptionLen(), 0);
        QVERIFY(caption.GetCaptionB().isEmpty());
        QVERIFY(!caption.SetCaptionLen(-1));
        QVERIFY(!caption.SetCaptionLen(0));
    }

    void fiveBytesGiveTwoCodeUnits()
    {
        UniCaption caption;
        QVERIFY(caption.SetCaptionB(Bytes({'A', 0, 'B', 0, 'C'})));
        QCOMPARE(caption.CaptionLen(), 2);
        QCOMPARE(caption.Caption(), QStringLiteral("AB"));
        QCOMPARE(caption.DrawnText(), QStringLiteral("AB"));
        // The odd byte stays and becomes the low byte of the next code unit once there is one.
        QCOMPARE(caption.GetCaptionB().size(), 5);
        QVERIFY(caption.SetCaptionLen(3));
        QCOMPARE(caption.CaptionAscW(2), qint16('C'));
        QVERIFY(!caption.SetCaptionB(caption.GetCaptionB()));
        QVERIFY(caption.SetCaptionB(QByteArray()));
        QCOMPARE(caption.CaptionLen(), 0);
    }

    void indexOutsideTheCaptionIsIgnored()
    {
        UniCaption caption(QStringLiteral("xy"));
        QCOMPARE(caption.CaptionAscW(-1), qint16(0));
        QCOMPARE(caption.CaptionAscW(2), qint16(0));
        QCOMPARE(caption.CaptionAscB(2), quint8(0));
        QVERIFY(!caption.SetCaptionAscW(2, 65));
        QVERIFY(!caption.SetCaptionAscW(-1, 65));
        QVERIFY(!caption.SetCaptionAscB(2, 65));
        QCOMPARE(caption.Caption(), QStringLiteral("xy"));
    }

    void ascBKeepsTheHighByte()
    {
        UniCaption caption(QString(QChar(0x0416))); // Ж
        QVERIFY(caption.SetCaptionAscB(0, 0x10));
        QCOMPARE(caption.CaptionAscW(0), qint16(0x0410));
        QVERIFY(!caption.SetCaptionAscB(0, 0x10));
        QVERIFY(!caption.SetCaptionAscW(0, 0x0410));
    }

    void accessKey_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("key"); // -1: none
        QTest::newRow("ampersand x") << QStringLiteral("&x") << int('x');
        QTest::newRow("pair then word") << QStringLiteral("&&word") << -1;
        QTest::newRow("trailing ampersand") << QStringLiteral("word&") << -1;
        QTest::newRow("only an ampersand") << QStringLiteral("&") << -1;
        QTest::newRow("empty") << QString() << -1;
        QTest::newRow("pair then marker") << QStringLiteral("a&&b&c") << int('c');
        QTest::newRow("three ampersands then x") << QStringLiteral("&&&x") << int('x');
        QTest::newRow("three ampersands") << QStringLiteral("&&&") << -1;
        QTest::newRow("first marker wins") << QStringLiteral("&OK &No") << int('O');
        QTest::newRow("non-Latin") << QString::fromUtf8("&Ж") << 0x0416;
        QTest::newRow("marker before a space") << QStringLiteral("a& b") << int(' ');
    }

    void accessKey()
    {
        QFETCH(QString, text);
        QFETCH(int, key);
        const auto found = UniCaption(text).AccessKey();
        QCOMPARE(found.has_value() ? int(*found) : -1, key);
    }

    void accessKeyOnlySeesTheDrawnUnits()
    {
        UniCaption caption(QStringLiteral("ab&c"));
        QVERIFY(caption.SetCaptionLen(3));
        QVERIFY(!caption.AccessKey().has_value());
    }

    void restoreNeverReachesPastTheStoredBytes()
    {
        UniCaption longer;
        longer.Restore(Bytes({'a', 0, 'b', 0}), 1000);
        QCOMPARE(longer.CaptionLen(), 2);
        QCOMPARE(longer.DrawnText(), QStringLiteral("ab"));

        UniCaption shorter;
        shorter.Restore(Bytes({'a', 0, 'b', 0, 'c'}), 1);
        QCOMPARE(shorter.CaptionLen(), 1);
        QCOMPARE(shorter.GetCaptionB(), Bytes({'a', 0}));

        UniCaption odd;
        odd.Restore(Bytes({'a', 0, 'b'}), 1);
        QCOMPARE(odd.GetCaptionB().size(), 3);

        UniCaption negative;
        negative.Restore(Bytes({'a', 0}), -3);
        QCOMPARE(negative.CaptionLen(), 0);
        QVERIFY(negative.GetCaptionB().isEmpty());
    }

    // Over many random operation sequences: the length always matches the bytes, and an
    // operation reports a change exactly when the bytes or the length differ afterwards.
    void changeReportMatchesRealChange()
    {
        for (unsigned seed = 1; seed <= 300; ++seed) {
            std::mt19937 random(seed);
            auto below = [&random](int n) { return int(random() % unsigned(n)); };
            UniCaption caption;
            for (int step = 0; step < 60; ++step) {
                const QByteArray before = caption.GetCaptionB();
                const qint32 lenBefore = caption.CaptionLen();
                bool reported = false;
                switch (below(6)) {
                case 0: {
                    static const QString texts[] = {QString(), QStringLiteral("a"),
                                                    QStringLiteral("&x"),
                                                    QString::fromUtf8("\xF0\x9F\x98\x80!")};
                    reported = caption.SetCaption(texts[below(4)]);
                    break;
                }
                case 1:
                    reported = caption.SetCaptionLen(below(8) - 2);
                    break;
                case 2:
                    reported = caption.SetCaptionAscB(below(8) - 2, quint8(below(3)));
                    break;
                case 3:
                    reported = caption.SetCaptionAscW(below(8) - 2, qint16(below(3) - 1));
                    break;
                case 4: {
                    QByteArray bytes(below(6), '\0');
                    for (char &b : bytes)
                        b = char(below(2));
                    reported = caption.SetCaptionB(bytes);
                    break;
                }
                default:
                    reported = caption.SetCaptionB(caption.GetCaptionB());
                    break;
                }
                const bool changed =
                    caption.GetCaptionB() != before || caption.CaptionLen() != lenBefore;
                QCOMPARE(reported, changed);
                QCOMPARE(caption.CaptionLen(), caption.GetCaptionB().size() / 2);
                QCOMPARE(caption.DrawnText().size(), caption.CaptionLen());
            }
        }
    }
};

QTEST_GUILESS_MAIN(UniCaptionTest)
#include "test_uni_caption.moc"
