#include "app/layer_surface.h"
#include "app/tab_stop_delegate.h"
#include "app_test_support.h"
#include "controls/ctl_tabs.h"
#include "controls/insane_progress.h"
#include "document/fixed_text_field.h"
#include "document/map_file.h"
#include "test_maps.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

using namespace trelvik;
using namespace trelvik::test;

namespace {

constexpr int16_t kWidth = 64;
constexpr int16_t kHeight = 48;

// The colours of a JASC palette file, read here on their own so the picture is checked
// against the file rather than against the viewer's loader.
std::array<QRgb, 256> ReadPalette(const std::string &path)
{
    std::array<QRgb, 256> colours{};
    std::ifstream in(path);
    std::string line;
    for (int skip = 0; skip < 3; ++skip)
        std::getline(in, line);
    for (std::size_t i = 0; i < colours.size() && std::getline(in, line); ++i) {
        std::istringstream fields(line);
        int r = 0, g = 0, b = 0;
        fields >> r >> g >> b;
        colours[i] = qRgb(r, g, b);
    }
    return colours;
}

// Grey of byte b under a ramp factor in ten-thousandths: rounded half to even, low eight bits.
QRgb Grey(int b, int factor)
{
    const int product = b * factor;
    int whole = product / 10000;
    const int rest = product % 10000;
    if (rest > 5000 || (rest == 5000 && whole % 2 == 1))
        ++whole;
    const int g = whole & 255;
    return qRgb(g, g, g);
}

// The test maps fill layer k with (i * 7 + k * 31) mod 256 at point i.
int LayerByte(int k, int i)
{
    return (i * 7 + k * 31) & 0xFF;
}

std::string PaletteFile(const char *world)
{
    return std::string(TRELVIK_PALETTE_DIR) + "/" + world + ".pal";
}

std::vector<uint8_t> DatBytes(const MapDocument &document)
{
    const std::vector<uint8_t> full = WriteMapBytes(document);
    std::vector<uint8_t> dat(
        full.begin() + static_cast<std::ptrdiff_t>(kMapHeaderSize - kDatHeaderSize), full.end());
    return dat;
}

} // namespace

class FrmLoadFilesTest : public QObject
{
    Q_OBJECT

private slots:
    void startState()
    {
        WindowUnderTest t;
        frmLoad &w = *t.Window;
        QCOMPARE(w.windowTitle(), QStringLiteral("Trelvik"));
        QVERIFY(!w.windowIcon().isNull());
        QCOMPARE(w.centralWidget()->size(), QSize(553, 297));
        QCOMPARE(w.font().family(), QStringLiteral("Tahoma"));
        QCOMPARE(t.Child<QWidget>("picBG")->geometry(), QRect(8, 8, 260, 260));
        QCOMPARE(t.Child<QWidget>("Tabsy")->geometry(), QRect(280, 0, 265, 265));
        QCOMPARE(t.Child<QWidget>("Filename")->geometry(), QRect(8, 272, 537, 19));
        QCOMPARE(t.Child<QWidget>("Pro")->geometry(), QRect(8, 272, 537, 19));
        QVERIFY(t.Child<QWidget>("Pro")->isHidden());
        QVERIFY(t.Child<QLineEdit>("Filename")->text().isEmpty());

        auto *tabs = t.Child<ctlTabs>("Tabsy");
        QCOMPARE(tabs->Tabs(), qint16{5});
        QCOMPARE(tabs->SelectedTab(), qint16{1});
        QCOMPARE(tabs->TabsWidth(), 52);
        QCOMPARE(tabs->TabsHeight(), 20);
        const QStringList captions = {QStringLiteral("Info"), QStringLiteral("HQ"),
                                      QStringLiteral("View"), QStringLiteral("Animals"),
                                      QStringLiteral("Areas")};
        const QStringList panels = {QStringLiteral("Map information"),
                                    QStringLiteral("Headquarters"), QStringLiteral("Map data view"),
                                    QStringLiteral("Animals (file footer)"),
                                    QStringLiteral("Passable areas (max 250 items, from header)")};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(tabs->Caption(i + 1).value_or(QString()), captions[i]);
            auto *frame = w.findChild<QGroupBox *>(QStringLiteral("Frame%1").arg(i));
            QVERIFY(frame);
            QCOMPARE(frame->title(), panels[i]);
            QCOMPARE(frame->geometry(), QRect(288, 32, 249, 225));
            QCOMPARE(frame->isHidden(), i != 0);
        }

        auto *selector = t.Child<QScrollBar>("VScroll1");
        QVERIFY(!selector->isEnabled());
        QCOMPARE(selector->minimum(), 1);
        QCOMPARE(selector->maximum(), 15);
        QCOMPARE(selector->value(), 1);
        QCOMPARE(t.Child<QListWidget>("LiF")->count(), 0);
        QCOMPARE(t.Child<QListWidget>("LiH")->count(), 0);
        for (const char *list : {"LiF", "LiH"}) {
            auto *delegate =
                qobject_cast<TabStopDelegate *>(t.Child<QListWidget>(list)->itemDelegate());
            QVERIFY(delegate);
            QCOMPARE(delegate->TabStops(), (QList<int>{30, 70}));
        }
        QCOMPARE(t.Child<QLineEdit>("txtTitle")->maxLength(), 20);
        QCOMPARE(t.Child<QLineEdit>("txtAuthor")->maxLength(), 20);
        QVERIFY(t.Child<QLineEdit>("txtTitle")->font().bold());
        QCOMPARE(t.Child<QPushButton>("butInfoSave")->toolTip(),
                 QStringLiteral("Set map and author name (file wiil not be saved)"));
        QCOMPARE(t.Child<QPushButton>("butReload")->text(), QStringLiteral("Re&load map"));
        QVERIFY(w.Document() == MapDocument{});
    }

    void menusCarryCaptionsAndShortcuts()
    {
        WindowUnderTest t;
        const struct
        {
            const char *name;
            const char *caption;
            QKeySequence keys;
        } items[] = {
            {"mnuFileGenerate", "&New", QKeySequence(Qt::CTRL | Qt::Key_N)},
            {"mnuFileOpen", "&Open...", QKeySequence(Qt::CTRL | Qt::Key_O)},
            {"mnuFileSave", "&Save", QKeySequence(Qt::CTRL | Qt::Key_S)},
            {"mnuFileSaveAs", "Save &As...", QKeySequence(Qt::Key_F12)},
            {"mnuFileQuit", "E&xit", QKeySequence()},
            {"mnuEditCopy", "&Copy image", QKeySequence(Qt::CTRL | Qt::Key_C)},
            {"mnuToolsHarbor", "&Coastal castle fix...", QKeySequence()},
            {"mnuToolsAnimalRemoval", "Remove animals", QKeySequence()},
            {"mnuAbout", "&About Trelvik...", QKeySequence()},
        };
        for (const auto &item : items) {
            auto *action = t.Child<QAction>(item.name);
            QVERIFY2(action, item.name);
            QCOMPARE(action->text(), QLatin1String(item.caption));
            QCOMPARE(action->shortcut(), item.keys);
        }
        for (const char *separator : {"mnuFileLine1", "mnuToolsLine1"})
            QVERIFY(t.Child<QAction>(separator)->isSeparator());
        const QList<QAction *> menus = t.Window->menuBar()->actions();
        QCOMPARE(menus.size(), 4);
        QCOMPARE(menus[0]->text(), QStringLiteral("&File"));
        QCOMPARE(menus[1]->text(), QStringLiteral("&Edit"));
        QCOMPARE(menus[2]->text(), QStringLiteral("&Tools"));
        QCOMPARE(menus[3]->text(), QStringLiteral("&Help"));
        // The File menu in its order, separator before Exit.
        const QList<QAction *> file = menus[0]->menu()->actions();
        QCOMPARE(file.size(), 6);
        QVERIFY(file[4]->isSeparator());
        QCOMPARE(file[5]->objectName(), QStringLiteral("mnuFileQuit"));
    }

    void openGoodMapFillsEveryPanel()
    {
        TempDir dir;
        WindowUnderTest t;
        const std::string path = dir.File("good.swd");
        t.OpenDocument(MakeDocument(kWidth, kHeight, 12), path);

        QVERIFY(t.Messages->Shown.empty());
        const ShownDialog &dialog = t.Dialogs->Shown.at(0);
        QVERIFY(!dialog.Save);
        QCOMPARE(dialog.Request.Title, QStringLiteral("Open file..."));
        QVERIFY(dialog.Request.HideReadOnly);
        QCOMPARE(dialog.Request.Owner, t.Window.get());
        QCOMPARE(dialog.Request.Filters.size(), 2);
        QCOMPARE(dialog.Request.Filters[0].Description,
                 QStringLiteral("Settlers II map files (*.dat;*.swd;*.wld)"));

        QCOMPARE(t.Child<QLineEdit>("Filename")->text(), Q(path));
        QCOMPARE(t.Window->windowTitle(), QStringLiteral("Test Map - Trelvik"));
        QCOMPARE(t.Child<QLineEdit>("txtTitle")->text(), QStringLiteral("Test Map"));
        QCOMPARE(t.Child<QLineEdit>("txtAuthor")->text(), QStringLiteral("Tester"));
        QCOMPARE(t.Child<QLabel>("lblType")->text(), QStringLiteral("Wasteland"));
        QCOMPARE(t.Child<QLabel>("lblSize")->text(), QStringLiteral("64 x 48"));
        QCOMPARE(t.Child<QLabel>("lblPlayers")->text(), QStringLiteral("3"));
        QString headquarters;
        for (int p = 1; p <= 7; ++p)
            headquarters +=
                QStringLiteral("Player %1: %2 x %3\n").arg(p).arg((p - 1) * 10 + 1).arg(-p);
        QCOMPARE(t.Child<QLabel>("S2info")->text(), headquarters);
        QCOMPARE(t.Child<QLabel>("lblUnknown")->text(),
                 QStringLiteral("Unknown bytes: 01 AB 00 00 FF 10 7F 80"));

        auto *animals = t.Child<QListWidget>("LiF");
        QCOMPARE(animals->count(), 12);
        QCOMPARE(animals->item(2)->text(), QStringLiteral("Fox\t2 x -2"));
        QCOMPARE(animals->item(7)->text(), QStringLiteral("Deer\t7 x -7"));
        auto *areas = t.Child<QListWidget>("LiH");
        QCOMPARE(areas->count(), 2);
        QCOMPARE(areas->item(0)->text(), QStringLiteral("Land\t12 x 34\t567 bytes"));
        QCOMPARE(areas->item(1)->text(), QStringLiteral("Water\t-1 x 300\t-70000 bytes"));
        QVERIFY(t.Child<QScrollBar>("VScroll1")->isEnabled());
    }

    void openGoodMapDrawsEachPosition()
    {
        TempDir dir;
        WindowUnderTest t;
        t.OpenDocument(MakeDocument(kWidth, kHeight, 0), dir.File("good.swd"));
        const std::array<QRgb, 256> wasteland = ReadPalette(PaletteFile("Wasteland"));
        auto *info = t.Child<QLabel>("MapInfo");
        const QString header = QStringLiteral("\nHeader: 10 27 | 0 | 64 x 48 | 1 | 3072 bytes");

        // Position 1: the composed view through the world's palette. Point 24 has terrain
        // code 5 (water, index 61), point 53 code 16 (index 57) whatever its shading.
        QCOMPARE(info->text(), QStringLiteral("Settlers II view"));
        QImage picture = t.Window->CurrentPicture();
        QCOMPARE(picture.size(), QSize(kWidth, kHeight));
        QCOMPARE(picture.pixel(24, 0), wasteland[61]);
        QCOMPARE(picture.pixel(53, 0), wasteland[57]);

        const struct
        {
            int position;
            int layer;
            int factor; // 0: the world's palette
        } cases[] = {{2, 1, 40000}, {3, 2, 0}, {14, 13, 19960}};
        for (const auto &c : cases) {
            t.SelectPosition(c.position);
            QCOMPARE(info->text(), QStringLiteral("Map data %1").arg(c.layer) + header);
            picture = t.Window->CurrentPicture();
            QCOMPARE(picture.size(), QSize(kWidth, kHeight));
            for (int y = 0; y < kHeight; ++y) {
                for (int x = 0; x < kWidth; ++x) {
                    const int b = LayerByte(c.layer, y * kWidth + x);
                    const QRgb expected = c.factor == 0 ? wasteland[b] : Grey(b, c.factor);
                    if (picture.pixel(x, y) != expected)
                        QFAIL(qPrintable(QStringLiteral("position %1, pixel %2,%3")
                                             .arg(c.position)
                                             .arg(x)
                                             .arg(y)));
                }
            }
            // The surface shows the same picture the copy takes.
            const QImage shown = t.Child<LayerSurface>("picSprite")->Picture();
            QCOMPARE(shown.convertToFormat(QImage::Format_RGB32),
                     picture.convertToFormat(QImage::Format_RGB32));
        }
    }

    void rejectedOpenChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("title");
        QTest::newRow("not a map")
            << QByteArray(3000, 'x') << QStringLiteral("Not a Settlers II map file")
            << QStringLiteral("Error");
        MapDocument small = MakeDocument(kWidth, kHeight);
        small.Header.Width = 16;
        const std::vector<uint8_t> smallBytes = WriteMapBytes(small);
        QTest::newRow("invalid size")
            << QByteArray(reinterpret_cast<const char *>(smallBytes.data()),
                          static_cast<qsizetype>(smallBytes.size()))
            << QStringLiteral("Invalid map size") << QStringLiteral("Error");
        const std::vector<uint8_t> good = WriteMapBytes(MakeDocument(kWidth, kHeight));
        QTest::newRow("damaged") << QByteArray(reinterpret_cast<const char *>(good.data()), 3000)
                                 << QString() << QStringLiteral("Error");
    }

    void rejectedOpenChangesNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        QFETCH(QString, title);
        TempDir dir;
        WindowUnderTest t;
        const std::string goodPath = dir.File("good.wld");
        t.OpenDocument(MakeDocument(kWidth, kHeight, 3), goodPath);
        t.SelectPosition(2);
        const MapDocument before = t.Window->Document();
        const QImage pictureBefore = t.Window->CurrentPicture();

        const std::string badPath = dir.File("bad.swd");
        WriteBytes(badPath, std::vector<uint8_t>(bytes.begin(), bytes.end()));
        t.Dialogs->Choose(Q(badPath));
        t.Window->mnuFileOpen_Click();

        QCOMPARE(t.Messages->Shown.size(), std::size_t{1});
        const ShownMessage &shown = t.Messages->Shown.front();
        if (message.isEmpty())
            QVERIFY2(shown.Text.contains(QStringLiteral("damaged")), qPrintable(shown.Text));
        else
            QCOMPARE(shown.Text, message);
        QCOMPARE(shown.Title, title);
        QCOMPARE(shown.Icon, MessageIcon::Critical);
        QCOMPARE(shown.Buttons, MessageButtons::Ok);

        QVERIFY(t.Window->Document() == before);
        QCOMPARE(t.Child<QLineEdit>("Filename")->text(), Q(goodPath));
        QCOMPARE(t.Window->windowTitle(), QStringLiteral("Test Map - Trelvik"));
        QCOMPARE(t.Child<QListWidget>("LiF")->count(), 3);
        QCOMPARE(t.Child<QListWidget>("LiH")->count(), 2);
        QCOMPARE(t.Window->CurrentPicture(), pictureBefore);
    }

    void openOfMissingFileNamesIt()
    {
        TempDir dir;
        WindowUnderTest t;
        const std::string path = dir.File("missing.swd");
        t.Dialogs->Choose(Q(path));
        t.Window->mnuFileOpen_Click();
        QCOMPARE(t.Messages->Shown.size(), std::size_t{1});
        QVERIFY(t.Messages->Shown[0].Text.contains(Q(path)));
        QCOMPARE(t.Messages->Shown[0].Title, QStringLiteral("Error"));
        QVERIFY(t.Child<QLineEdit>("Filename")->text().isEmpty());
        QVERIFY(!t.Child<QScrollBar>("VScroll1")->isEnabled());
        QCOMPARE(t.Window->windowTitle(), QStringLiteral("Trelvik"));
    }

    void openCancelledChangesNothing()
    {
        WindowUnderTest t;
        t.Window->mnuFileOpen_Click();
        QCOMPARE(t.Dialogs->Shown.size(), std::size_t{1});
        QVERIFY(t.Messages->Shown.empty());
        QVERIFY(t.Child<QLineEdit>("Filename")->text().isEmpty());
        QVERIFY(!t.Child<QScrollBar>("VScroll1")->isEnabled());
    }

    void datMapSavesInFullLayout()
    {
        TempDir dir;
        WindowUnderTest t;
        const MapDocument source = MakeDocument(kWidth, kHeight, 4);
        const std::string path = dir.File("game.DAT");
        WriteBytes(path, DatBytes(source));
        t.Dialogs->Choose(Q(path));
        t.Window->mnuFileOpen_Click();
        QVERIFY(t.Messages->Shown.empty());
        QCOMPARE(t.Window->Document().Layers, source.Layers);
        QCOMPARE(t.Window->Document().Animals, source.Animals);

        t.Window->mnuFileSave_Click();
        QCOMPARE(t.Messages->Shown.size(), std::size_t{1});
        QCOMPARE(t.Messages->Shown[0].Text,
                 QStringLiteral("File '") + Q(path) + QStringLiteral("' saved successfully!"));
        QCOMPARE(t.Messages->Shown[0].Title, QStringLiteral("Trelvik"));
        QCOMPARE(t.Messages->Shown[0].Icon, MessageIcon::Information);

        const std::vector<uint8_t> written = ReadBytes(path);
        const std::size_t expectedSize =
            kMapHeaderSize + 14 * (kBlockHeaderSize + kWidth * kHeight) + 4 * 5 + 1;
        QCOMPARE(written.size(), expectedSize);
        QCOMPARE(std::string(written.begin(), written.begin() + 10), std::string("WORLD_V1.0"));
        QVERIFY(written == WriteMapBytes(t.Window->Document()));
        // Read back as a full map, it is the map that was shown.
        MapDocument reread;
        QVERIFY(ReadMapBytes(written, MapLayout::Full, reread).Ok());
        QVERIFY(reread == t.Window->Document());
    }

    void saveWithoutNameGoesToSaveAsAndCancels()
    {
        TempDir dir;
        WindowUnderTest t;
        t.Window->GenerateMap(64, 64, true);
        t.Window->mnuFileSave_Click();
        QCOMPARE(t.Dialogs->Shown.size(), std::size_t{1});
        const ShownDialog &dialog = t.Dialogs->Shown[0];
        QVERIFY(dialog.Save);
        QCOMPARE(dialog.Request.Title, QStringLiteral("Save map as..."));
        QVERIFY(dialog.Request.ConfirmOverwrite);
        QCOMPARE(dialog.Request.Filters.size(), 3);
        QCOMPARE(dialog.Request.Filters[1].Description,
                 QStringLiteral("Settlers II World file (*.wld)"));
        QVERIFY(t.Messages->Shown.empty());
        QVERIFY(t.Child<QLineEdit>("Filename")->text().isEmpty());
        QVERIFY(std::filesystem::is_empty(dir.Path()));
    }

    void saveBeforeAnyMapSaysSo()
    {
        WindowUnderTest t;
        t.Window->mnuFileSave_Click();
        t.Window->mnuFileSaveAs_Click();
        QVERIFY(t.Dialogs->Shown.empty());
        QCOMPARE(t.Messages->Shown.size(), std::size_t{2});
        for (const ShownMessage &shown : t.Messages->Shown) {
            QCOMPARE(shown.Text, QStringLiteral("There is no map to save yet"));
            QCOMPARE(shown.Title, QStringLiteral("Trelvik"));
        }
    }

    void saveAsAddsFilterExtension()
    {
        TempDir dir;
        WindowUnderTest t;
        t.Window->GenerateMap(64, 80, false);
        t.Dialogs->Choose(Q(dir.File("fresh")), 1);
        t.Window->mnuFileSaveAs_Click();
        const std::string written = dir.File("fresh.wld");
        QVERIFY(std::filesystem::exists(written));
        // The bar names the new file by the time the success is told.
        QCOMPARE(t.Messages->Shown.back().FilenameShown, Q(written));
        QCOMPARE(t.Child<QLineEdit>("Filename")->text(), Q(written));
        QCOMPARE(t.Messages->Shown.back().Text,
                 QStringLiteral("File '") + Q(written) + QStringLiteral("' saved successfully!"));
        QVERIFY(ReadBytes(written) == WriteMapBytes(t.Window->Document()));

        // The next Save As starts in the current file's folder.
        t.Dialogs->Choose(Q(dir.File("second")), 0);
        t.Window->mnuFileSaveAs_Click();
        QCOMPARE(t.Dialogs->Shown.back().Request.InitialDirectory, Q(dir.Path().string()));
        QCOMPARE(t.Dialogs->Shown.back().Request.DefaultExtension, QStringLiteral("wld"));
        QVERIFY(std::filesystem::exists(dir.File("second.swd")));
    }

    void failedSaveNamesFileAndKeepsName()
    {
        TempDir dir;
        WindowUnderTest t;
        const std::string path = dir.File("good.swd");
        t.OpenDocument(MakeDocument(kWidth, kHeight), path);
        const std::string target = dir.File("no-such-folder/x.swd");
        t.Dialogs->Choose(Q(target));
        t.Window->mnuFileSaveAs_Click();
        QCOMPARE(t.Messages->Shown.size(), std::size_t{1});
        QVERIFY(t.Messages->Shown[0].Text.contains(Q(target)));
        QCOMPARE(t.Messages->Shown[0].Title, QStringLiteral("Error"));
        QCOMPARE(t.Messages->Shown[0].Icon, MessageIcon::Critical);
        QCOMPARE(t.Child<QLineEdit>("Filename")->text(), Q(path));
        QVERIFY(t.Window->Document() == MakeDocument(kWidth, kHeight));
    }

    void reloadWithAndWithoutFile()
    {
        TempDir dir;
        WindowUnderTest t;
        t.Window->butReload_Click();
        t.Window->GenerateMap(64, 64, true);
        t.Window->butReload_Click();
        QCOMPARE(t.Messages->Shown.size(), std::size_t{2});
        for (const ShownMessage &shown : t.Messages->Shown) {
            QCOMPARE(shown.Text, QStringLiteral("Can't reload from file: map not saved"));
            QCOMPARE(shown.Title, QStringLiteral("Trelvik"));
            QCOMPARE(shown.Icon, MessageIcon::Information);
        }

        t.OpenDocument(MakeDocument(kWidth, kHeight, 2), dir.File("good.swd"));
        t.Child<QLineEdit>("txtTitle")->setText(QStringLiteral("Changed"));
        t.Window->butInfoSave_Click();
        t.Window->mnuToolsAnimalRemoval_Click(); // answered No by the empty script
        QCOMPARE(t.Window->windowTitle(), QStringLiteral("Changed - Trelvik"));
        t.Messages->Answers.push_back(MessageAnswer::Yes);
        t.Window->mnuToolsAnimalRemoval_Click();
        QVERIFY(t.Window->Document().Animals.empty());

        const std::size_t shownBefore = t.Messages->Shown.size();
        t.Window->butReload_Click();
        QCOMPARE(t.Messages->Shown.size(), shownBefore);
        QVERIFY(t.Window->Document() == MakeDocument(kWidth, kHeight, 2));
        QCOMPARE(t.Child<QLineEdit>("txtTitle")->text(), QStringLiteral("Test Map"));
        QCOMPARE(t.Child<QListWidget>("LiF")->count(), 2);
        QCOMPARE(t.Window->windowTitle(), QStringLiteral("Test Map - Trelvik"));
    }

    void droppedFileOpens()
    {
        TempDir dir;
        WindowUnderTest t;
        const std::string path = dir.File("dropped.swd");
        WriteBytes(path, WriteMapBytes(MakeDocument(kWidth, kHeight)));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(Q(path))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(t.Window.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(t.Window.get(), &drop);
        QCOMPARE(t.Child<QLineEdit>("Filename")->text(), Q(path));
        QCOMPARE(t.Window->windowTitle(), QStringLiteral("Test Map - Trelvik"));
    }

    void exitFreesTheMap()
    {
        TempDir dir;
        WindowUnderTest t;
        t.OpenDocument(MakeDocument(kWidth, kHeight, 2), dir.File("good.swd"));
        t.Window->show();
        QVERIFY(!t.Window->Composed().empty());
        t.Window->mnuFileQuit_Click();
        QVERIFY(!t.Window->isVisible());
        for (int k = 1; k <= kLayerCount; ++k)
            QVERIFY(t.Window->Document().Layer(k).empty());
        QVERIFY(t.Window->Document().Animals.empty());
        QVERIFY(t.Window->Composed().empty());
    }
};

QTEST_MAIN(FrmLoadFilesTest)
#include "test_frm_load_files.moc"
