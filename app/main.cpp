// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/frm_about.h"
#include "app/frm_load.h"
#include "app/translations.h"

#include <cstdio>
#include <cstring>

#include <QApplication>
#include <QSettings>
#include <QStringList>
#include <QTimer>

namespace {

constexpr char kUsage[] =
    "Usage: trelvik [MAP]\n"
    "Opens the Settlers II map MAP (.swd, .wld or .dat) in Trelvik's window, or an empty window.\n"
    "\n"
    "Options:\n"
    "  -h, --help     Show this help and exit\n"
    "  -v, --version  Show the version and exit\n"
    "\n"
    "The command line tool for scripts is trelvik-cli; see trelvik-cli --help.\n";

bool Is(const char *argument, const char *shortName, const char *longName)
{
    return std::strcmp(argument, shortName) == 0 || std::strcmp(argument, longName) == 0;
}

} // namespace

int main(int argc, char *argv[])
{
    // Answered before the window system is reached, so that they work without a display.
    for (int i = 1; i < argc; ++i) {
        if (Is(argv[i], "-h", "--help")) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (Is(argv[i], "-v", "--version")) {
            std::printf("trelvik %d.%d.%d\n", trelvik::frmAbout::kVersionMajor,
                        trelvik::frmAbout::kVersionMinor, trelvik::frmAbout::kVersionRevision);
            return 0;
        }
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Trelvik"));
    // Settings and recent files live where the system keeps them: ~/.config/Trelvik/Trelvik.conf
    // on Linux, the registry's HKEY_CURRENT_USER\Software\Trelvik\Trelvik on Windows.
    QApplication::setOrganizationName(QStringLiteral("Trelvik"));
    QApplication::setDesktopFileName(QStringLiteral("trelvik"));

    // Qt has taken its own options (-style, -platform, ...); what is left is a map or nothing.
    const QStringList arguments = QApplication::arguments().mid(1);
    QString map;
    bool options = true;
    for (const QString &argument : arguments) {
        if (options && argument == QStringLiteral("--")) {
            options = false;
            continue;
        }
        const bool option = options && argument.startsWith(u'-') && argument != QStringLiteral("-");
        if (option || !map.isEmpty()) {
            std::fprintf(stderr, "trelvik: %s '%s'\nTry 'trelvik --help'.\n",
                         option ? "unknown option" : "one map at a time, not also",
                         qPrintable(argument));
            return 2;
        }
        map = argument;
    }

    // The system's language unless View > Language chose one.
    trelvik::UseLanguage(QSettings().value(trelvik::kLanguageKey).toString());

    trelvik::frmLoad window;
    window.show();
    // A map named on the command line opens as if chosen with File > Open, once the window is
    // on the screen, so that a message about it shows over the window.
    if (!map.isEmpty())
        QTimer::singleShot(0, &window, [&window, map] { window.OpenMapFile(map); });
    return app.exec();
}
