// Takes the README's pictures of the window: after File > New, and with a map opened at the
// composed view, at layer 1 and with its animal list. Run it on a display, a virtual one will do:
//   xvfb-run -a -s "-screen 0 1024x768x24" <build>/bin/trelvik_screenshots docs/images
#include "app/frm_load.h"
#include "controls/ctl_tabs.h"
#include "document/fixed_text_field.h"
#include "document/map_file.h"
#include "generator/generate_map.h"

#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QScrollBar>
#include <QTest>

namespace {

bool Save(trelvik::frmLoad &window, const QDir &folder, const char *name)
{
    QTest::qWait(300);
    const QString path = folder.filePath(QLatin1String(name));
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("wrote %s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: trelvik_screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));

    trelvik::frmLoad window;
    window.show();
    window.mnuFileGenerate_Click();
    if (!Save(window, folder, "window-new-map.png"))
        return 1;

    // A second map, saved under a name of its own and opened as a user would.
    trelvik::MapDocument example;
    trelvik::RandomSource random;
    random.Seed(20261206);
    trelvik::GenerateMap(example, 160, 128, false, random);
    trelvik::FixedTextField::Store(example.Header.Title, "Example");
    trelvik::FixedTextField::Store(example.Header.Author, "Trelvik");
    for (uint8_t species = 1; species <= 9; ++species) {
        example.Animals.push_back(
            {species, static_cast<int16_t>(species * 13), static_cast<int16_t>(species * 11)});
    }
    const QString path = QDir::temp().filePath(QStringLiteral("trelvik-example.swd"));
    if (!trelvik::WriteMapFile(QFile::encodeName(path).toStdString(), example).Ok)
        return 1;
    window.OpenMapFile(path);
    if (!Save(window, folder, "window-open-composed.png"))
        return 1;
    auto *tabs = window.findChild<trelvik::ctlTabs *>(QStringLiteral("Tabsy"));
    tabs->SetSelectedTab(3);
    window.findChild<QScrollBar *>(QStringLiteral("VScroll1"))->setValue(2);
    if (!Save(window, folder, "window-open-layer1.png"))
        return 1;
    tabs->SetSelectedTab(4);
    const bool ok = Save(window, folder, "window-animals.png");
    QFile::remove(path);
    return ok ? 0 : 1;
}
