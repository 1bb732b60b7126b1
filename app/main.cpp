// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/frm_load.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Trelvik"));
    // The recent files live in ~/.config/Trelvik/Trelvik.conf.
    QApplication::setOrganizationName(QStringLiteral("Trelvik"));
    QApplication::setDesktopFileName(QStringLiteral("trelvik"));

    trelvik::frmLoad window;
    window.show();
    // A map named on the command line opens as if chosen with File > Open.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        window.OpenMapFile(arguments.at(1));
    return app.exec();
}
