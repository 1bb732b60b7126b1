// SPDX-License-Identifier: GPL-3.0-or-later
#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QRegularExpression>
#include <QTranslator>

namespace trelvik {
namespace {

struct Language
{
    const char *Code;
    const char *Name;
};

// English is the source; each further language has translations/trelvik_<code>.ts.
constexpr Language kLanguages[] = {{"en", "English"}, {"de", "Deutsch"}};

// The translators in force, owned by the application object (so they go with it).
QPointer<QTranslator> ownTranslator;
QPointer<QTranslator> qtTranslator;
QString inForce = QStringLiteral("en");

bool Available(const QString &code)
{
    for (const Language &language : kLanguages)
        if (code == QLatin1String(language.Code))
            return true;
    return false;
}

// "de" of "de", "de-AT", "de_AT.UTF-8"; in lower case.
QString LanguagePart(const QString &name)
{
    const qsizetype end = name.indexOf(QRegularExpression(QStringLiteral("[-_.@]")));
    return name.left(end).toLower();
}

void Drop(QPointer<QTranslator> &translator)
{
    if (translator) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

} // namespace

QStringList AvailableLanguages()
{
    QStringList codes;
    for (const Language &language : kLanguages)
        codes << QLatin1String(language.Code);
    return codes;
}

QString LanguageName(const QString &code)
{
    for (const Language &language : kLanguages)
        if (code == QLatin1String(language.Code))
            return QString::fromUtf8(language.Name);
    return code;
}

QString ResolveLanguage(const QString &code)
{
    const QStringList wanted = code.isEmpty() ? QLocale::system().uiLanguages() : QStringList{code};
    for (const QString &name : wanted)
        if (const QString language = LanguagePart(name); Available(language))
            return language;
    return QStringLiteral("en");
}

QString UseLanguage(const QString &code)
{
    const QString language = ResolveLanguage(code);
    const bool installed = language == QLatin1String("en") || ownTranslator;
    if (language == inForce && installed)
        return inForce;
    Drop(ownTranslator);
    Drop(qtTranslator);
    inForce = QStringLiteral("en");
    if (language == QLatin1String("en"))
        return inForce;

    auto *own = new QTranslator(QCoreApplication::instance());
    if (!own->load(QStringLiteral(":/i18n/trelvik_") + language + QStringLiteral(".qm"))) {
        delete own;
        return inForce;
    }
    QCoreApplication::installTranslator(own);
    ownTranslator = own;
    auto *qt = new QTranslator(QCoreApplication::instance());
    // Beside the program first (the Windows packages carry them there), then Qt's own folder.
    const QString qtName = QStringLiteral("qtbase_") + language;
    if (qt->load(qtName, QCoreApplication::applicationDirPath() + QStringLiteral("/translations"))
        || qt->load(qtName, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qt);
        qtTranslator = qt;
    } else {
        delete qt;
    }
    inForce = language;
    return inForce;
}

} // namespace trelvik
