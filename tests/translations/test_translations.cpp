// SPDX-License-Identifier: GPL-3.0-or-later
// The languages of the window: the translations built into the program load, Qt's own come
// along, and going back to English takes every translator away again.
#include "app/core_texts.h"
#include "app/translations.h"
#include "document/map_text.h"
#include "viewer/view_refresh.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace trelvik;

class TranslationsTest : public QObject
{
    Q_OBJECT

private slots:
    void choosesAvailableLanguages()
    {
        QCOMPARE(AvailableLanguages(), (QStringList{u"en"_s, u"de"_s}));
        QCOMPARE(LanguageName(u"de"_s), u"Deutsch"_s);
        QCOMPARE(ResolveLanguage(u"de_AT.UTF-8"_s), u"de"_s);
        QCOMPARE(ResolveLanguage(u"de-CH"_s), u"de"_s);
        QCOMPARE(ResolveLanguage(u"fr"_s), u"en"_s);
    }

    void composesAsTheCoreInEnglish()
    {
        UseLanguage(u"en"_s);
        MapDocument document;
        MapHeader &header = document.Header;
        header.Width = header.Height = 1;
        for (std::size_t p = 0; p < kHeadquartersCount; ++p)
            header.HeadquartersX[p] = static_cast<int16_t>(p * 40 - 7);
        header.UnknownBytes[3] = 0xA7;
        for (int code = 0; code < 256; ++code) {
            const AnimalEntry animal{static_cast<uint8_t>(code), -3, static_cast<int16_t>(code)};
            QCOMPARE(AnimalRowText(animal), QString::fromStdString(AnimalRow(animal)));
            const AreaEntry area{static_cast<uint8_t>(code), 5, -6, code * 1000};
            QCOMPARE(AreaRowText(area), QString::fromStdString(AreaRow(area)));
            for (int k = 1; k <= kLayerCount; ++k)
                document.Layer(k) = {static_cast<uint8_t>(code * k)};
            document.BlockHeader(1 + code % kLayerCount).Marker[0] = static_cast<uint8_t>(code);
            const std::optional<PointReadout> readout = ReadPoint(document, 0, 0);
            QVERIFY(readout);
            QCOMPARE(ReadoutLine(*readout), QString::fromStdString(ReadoutText(*readout)));
        }
        for (int layer = 0; layer <= kLayerCount + 1; ++layer)
            QCOMPARE(MapInfoLines(document, layer),
                     QString::fromStdString(MapInfoText(document, layer)));
        QCOMPARE(HeadquartersLines(header), QString::fromStdString(HeadquartersText(header)));
        QCOMPARE(UnknownBytesLine(header), QString::fromStdString(UnknownBytesText(header)));
    }

    void switchesLanguage()
    {
        QCOMPARE(UseLanguage(u"de"_s), u"de"_s);
        QCOMPARE(UseLanguage(u"de-DE"_s), u"de"_s); // again: nothing installed twice
        QCOMPARE(CoreText("Greenland"), u"Grünland"_s);
        QCOMPARE(CoreText("Greenland (composed) 3"), u"Greenland (composed) 3"_s);
        QCOMPARE(CoreText("harbour, meadow"), u"Hafen, Wiese"_s);
        QCOMPARE(CoreText("Unknown (12)"), u"Unbekannt (12)"_s);
        QCOMPARE(AnimalRowText({2, 3, 4}), u"Fuchs\t3 x 4"_s);
        // Qt's own translations, for the standard buttons.
        QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), u"Abbrechen"_s);

        QCOMPARE(UseLanguage(u"fr"_s), u"en"_s);
        QCOMPARE(CoreText("Greenland"), u"Greenland"_s);
        QDialogButtonBox english(QDialogButtonBox::Cancel);
        QCOMPARE(english.button(QDialogButtonBox::Cancel)->text(), u"Cancel"_s);
        QCOMPARE(UseLanguage(u"de"_s), u"de"_s);
        QCOMPARE(CoreText("Winter"), u"Winterwelt"_s);
        UseLanguage(u"en"_s);
    }
};

QTEST_MAIN(TranslationsTest)
#include "test_translations.moc"
