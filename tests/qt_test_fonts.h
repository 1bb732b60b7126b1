// SPDX-License-Identifier: GPL-3.0-or-later
// The widget and window tests draw with the fonts named in their own font setup
// (tests/fonts/fonts.conf.in), never with whatever a machine has installed, so that their
// pictures are the same on every machine. Each test class calls UseTestFonts() from its
// initMain(), which runs before the application starts fontconfig, and checks
// MissingTestFont() in initTestCase(). Windows has no fontconfig: there the offscreen platform
// reads the fonts of one folder, which holds copies of the same files.
#pragma once

#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <QString>

namespace trelvik::test {

inline void UseTestFonts()
{
    qputenv("FONTCONFIG_FILE", TRELVIK_TEST_FONTCONFIG);
    qputenv("QT_QPA_FONTDIR", TRELVIK_TEST_FONT_COPIES);
}

// Windows has no fontconfig to ask for slight hinting, and FreeType there hints fully unless
// a font prefers otherwise: the application's font, which every widget's font takes what it
// leaves unset from, prefers the same hinting on Windows. Called once the application runs.
inline void UseTestHinting()
{
#ifdef Q_OS_WIN
    QFont font = QApplication::font();
    font.setHintingPreference(QFont::PreferVerticalHinting);
    QApplication::setFont(font);
#endif
}

// The first font file the setup names that the machine lacks, or an empty text.
inline QString MissingTestFont()
{
    for (const char *file : {TRELVIK_TEST_FONT_FILES})
        if (!QFileInfo::exists(QString::fromUtf8(file)))
            return QString::fromUtf8(file)
                   + QStringLiteral(" is missing: run scripts/install-deps");
    return {};
}

} // namespace trelvik::test
