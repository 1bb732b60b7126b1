// SPDX-License-Identifier: GPL-3.0-or-later
// The widget and window tests draw with the fonts named in their own font setup
// (tests/fonts/fonts.conf.in), never with whatever a machine has installed, so that their
// pictures are the same on every machine. Each test class calls UseTestFonts() from its
// initMain(), which runs before the application starts fontconfig, and checks
// MissingTestFont() in initTestCase().
#pragma once

#include <QFileInfo>
#include <QString>

namespace trelvik::test {

inline void UseTestFonts()
{
    qputenv("FONTCONFIG_FILE", TRELVIK_TEST_FONTCONFIG);
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
