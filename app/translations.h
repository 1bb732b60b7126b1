// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace trelvik {

// The languages of the window as ISO 639-1 codes: "en" first (the texts as written in the
// source), then every language with a translation built into the program.
QStringList AvailableLanguages();

// A language's name in that language ("English", "Deutsch"); the code itself for one not
// available.
QString LanguageName(const QString &code);

// The available language a choice stands for: the code itself when available ("de-AT" and
// "de_AT" count as "de"); for an empty code, the first of the system's user interface
// languages that is available; otherwise "en".
QString ResolveLanguage(const QString &code);

// Puts the window's texts in ResolveLanguage(code): takes away the translators installed by an
// earlier call and installs the program's own (from its resources) and Qt's (qtbase_XX.qm from
// Qt's translations folder, left out when absent) for that language; English installs none.
// Asking for the language already in force changes nothing. Needs the application object;
// returns the language now in force.
QString UseLanguage(const QString &code);

} // namespace trelvik
