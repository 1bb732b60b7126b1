// SPDX-License-Identifier: GPL-3.0-or-later
// The languages of the window: the translations built into the program load, Qt's own come
// along, and going back to English takes every translator away again.
#include "app/core_texts.h"
#include "app/translations.h"

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

    void switchesLanguage()
    {
        QCOMPARE(UseLanguage(u"de"_s), u"de"_s);
        QCOMPARE(UseLanguage(u"de-DE"_s), u"de"_s); // again: nothing installed twice
        QCOMPARE(CoreText("Greenland"), u"Grünland"_s);
        QCOMPARE(CoreText("Greenland (composed) 3"), u"Greenland (composed) 3"_s);
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
