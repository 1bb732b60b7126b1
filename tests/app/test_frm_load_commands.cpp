#include "app/layer_surface.h"
#include "app_test_support.h"
#include "controls/ctl_tabs.h"
#include "document/fixed_text_field.h"
#include "document/map_file.h"
#include "generator/random_source.h"
#include "test_maps.h"

#include <QAction>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QtTest>

using namespace trelvik;
using namespace trelvik::test;

namespace {

// A map whose every point is a castle site and whose every triangle is water (code 5), so the
// castle fix marks exactly the points two or more rows and columns away from every edge.
MapDocument CoastalDocument(int16_t width, int16_t height)
{
    MapDocument document = MakeDocument(width, height, 6);
    std::fill(document.Layer(2).begin(), document.Layer(2).end(), uint8_t{5});
    std::fill(document.Layer(3).begin(), document.Layer(3).end(), uint8_t{5});
    std::fill(document.Layer(9).begin(), document.Layer(9).end(), uint8_t{4});
    return document;
}

} // namespace

class FrmLoadCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void changeCutsTitleAndRestoreShowsHeader()
    {
        TempDir dir;
        WindowUnderTest t;
        t.OpenDocument(MakeDocument(64, 64), dir.File("m.swd"));
        auto *title = t.Child<QLineEdit>("txtTitle");
        auto *author = t.Child<QLineEdit>("txtAuthor");
        const QString typed = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXY");
        QCOMPARE(typed.size(), 25);
        title->setText(typed);
        author->setText(QStringLiteral("Mapper"));
        t.Window->butInfoSave_Click();

        const QString cut = typed.left(20);
        QCOMPARE(title->text(), cut);
        QCOMPARE(author->text(), QStringLiteral("Mapper"));
        QCOMPARE(t.Window->windowTitle(), cut + QStringLiteral(" - Trelvik"));
        const auto &stored = t.Window->Document().Header.Title;
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(stored.data()), 20), cut.toLatin1());
        QCOMPARE(t.Messages->Shown.size(), std::size_t{1});
        QCOMPARE(t.Messages->Shown[0].Text,
                 QStringLiteral("Changed file header (file not saved)."));
        QCOMPARE(t.Messages->Shown[0].Icon, MessageIcon::Information);
        QCOMPARE(t.Messages->Shown[0].Title, QStringLiteral("Trelvik"));

        // Typing alone changes nothing; Restore brings back what the header holds.
        title->setText(QStringLiteral("Other"));
        author->clear();
        t.Window->butInfoRestore_Click();
        QCOMPARE(title->text(), cut);
        QCOMPARE(author->text(), QStringLiteral("Mapper"));
        // The file is written only by Save.
        MapDocument onDisk;
        QVERIFY(ReadMapFile(dir.File("m.swd"), onDisk).Ok());
        QCOMPARE(FixedTextField::Display(onDisk.Header.Title), std::string("Test Map"));
    }

    void newMapShowsProgressThenTheMap()
    {
        TempDir dir;
        WindowUnderTest t;
        t.OpenDocument(MakeDocument(64, 64, 5), dir.File("m.swd"));

        // The first New after start draws from the source's start state: width, height, mode.
        RandomSource reference;
        const int width = (reference.RandomBelow(13) + 4) * 16;
        const int height = (reference.RandomBelow(13) + 4) * 16;
        const bool quick = reference.RandomBelow(2) != 0;
        const QString caption =
            QStringLiteral("Generating a new map... (%1 x %2) %3")
                .arg(width)
                .arg(height)
                .arg(quick ? QStringLiteral("QUICK") : QStringLiteral("NORMAL"));

        auto *pro = t.Child<QWidget>("Pro");
        std::vector<int> values;
        bool captionSeen = true;
        bool barShown = true;
        bool listsEmpty = true;
        t.Window->SetProgressObserver([&](int value) {
            values.push_back(value);
            captionSeen = captionSeen && t.Window->windowTitle() == caption;
            barShown = barShown && !pro->isHidden();
            listsEmpty = listsEmpty && t.Child<QListWidget>("LiF")->count() == 0
                         && t.Child<QListWidget>("LiH")->count() == 0
                         && t.Child<QLineEdit>("Filename")->text().isEmpty();
        });
        t.Window->mnuFileGenerate_Click();

        QVERIFY(values.size() >= 2);
        QCOMPARE(values.front(), 0);
        QVERIFY(std::is_sorted(values.begin(), values.end()));
        QVERIFY(values.back() <= 10000);
        QVERIFY(captionSeen);
        QVERIFY(barShown);
        QVERIFY(listsEmpty);

        QVERIFY(pro->isHidden());
        QCOMPARE(t.Window->windowTitle(), QStringLiteral("New Map - Trelvik"));
        QVERIFY(t.Child<QLineEdit>("Filename")->text().isEmpty());
        QCOMPARE(t.Child<QListWidget>("LiF")->count(), 0);
        QCOMPARE(t.Child<QListWidget>("LiH")->count(), 0);
        QVERIFY(t.Child<QScrollBar>("VScroll1")->isEnabled());
        QCOMPARE(t.Window->Document().Header.Width, width);
        QCOMPARE(t.Window->Document().Header.Height, height);
        QCOMPARE(t.Child<QLabel>("lblSize")->text(),
                 QStringLiteral("%1 x %2").arg(width).arg(height));
        QCOMPARE(t.Child<QLabel>("lblType")->text(), QStringLiteral("Greenland"));
        QCOMPARE(t.Child<QLabel>("lblPlayers")->text(), QStringLiteral("1"));
        QCOMPARE(t.Child<QLineEdit>("txtAuthor")->text(), QStringLiteral("Quarnelthwaite"));
        QCOMPARE(t.Window->CurrentPicture().size(), QSize(width, height));
        QCOMPARE(t.Window->Composed().size(), std::size_t(width * height));
    }

    void newMapBeforeAnythingElseEnablesSelector()
    {
        WindowUnderTest t;
        t.Window->GenerateMap(256, 80, true);
        QVERIFY(t.Child<QScrollBar>("VScroll1")->isEnabled());
        QCOMPARE(t.Child<QLabel>("MapInfo")->text(), QStringLiteral("Settlers II view"));
        t.SelectPosition(15);
        QCOMPARE(t.Child<QLabel>("MapInfo")->text(),
                 QStringLiteral("Map data 14\nHeader: 10 27 | 0 | 256 x 80 | 1 | 20480 bytes"));
    }

    void draggingTheThumbRedrawsAtOnce()
    {
        TempDir dir;
        WindowUnderTest t;
        t.OpenDocument(MakeDocument(64, 64), dir.File("m.swd"));
        auto *selector = t.Child<QScrollBar>("VScroll1");
        selector->setSliderDown(true);
        selector->setSliderPosition(5);
        // The value follows only when the thumb is let go; the picture does not wait for it.
        QCOMPARE(selector->value(), 1);
        QVERIFY(t.Child<QLabel>("MapInfo")->text().startsWith(QStringLiteral("Map data 4\n")));
        selector->setSliderDown(false);
        QCOMPARE(selector->value(), 5);
        QVERIFY(t.Child<QLabel>("MapInfo")->text().startsWith(QStringLiteral("Map data 4\n")));
    }

    void castleFixAnsweredYesAndNo()
    {
        TempDir dir;
        WindowUnderTest t;
        t.OpenDocument(CoastalDocument(40, 36), dir.File("coast.swd"));
        const MapDocument before = t.Window->Document();

        t.Window->mnuToolsHarbor_Click();
        QCOMPARE(t.Messages->Shown.size(), std::size_t{1});
        const ShownMessage &question = t.Messages->Shown[0];
        QCOMPARE(
            question.Text,
            QStringLiteral(
                "Are you sure you want to convert all buildable castle areas to harbor areas?"));
        QCOMPARE(question.Title, QStringLiteral("Trelvik"));
        QCOMPARE(question.Buttons, MessageButtons::YesNo);
        QVERIFY(t.Window->Document() == before);

        t.Messages->Answers = {MessageAnswer::Yes, MessageAnswer::Yes};
        t.Window->mnuToolsHarbor_Click();
        QCOMPARE(t.Messages->Shown.size(), std::size_t{3});
        // (40 - 4) x (36 - 4) points lie two or more points inside every edge.
        QCOMPARE(t.Messages->Shown[2].Text,
                 QStringLiteral(
                     "There is now 1152 new positions for harbors!\r\n\r\nRemember to save!"));
        QCOMPARE(t.Messages->Shown[2].Icon, MessageIcon::Information);
        QCOMPARE(t.Messages->Shown[2].Buttons, MessageButtons::Ok);
        QCOMPARE(t.Window->Document().Layer(2)[2 * 40 + 2], uint8_t{5 | 0x40});
        QCOMPARE(t.Window->Document().Layer(2)[1 * 40 + 2], uint8_t{5});

        t.Window->mnuToolsHarbor_Click();
        QCOMPARE(t.Messages->Shown.back().Text, QStringLiteral("There were no positions to fix"));
        QCOMPARE(t.Messages->Shown.back().Icon, MessageIcon::Information);
    }

    void castleFixBeforeAnyMapFindsNothing()
    {
        WindowUnderTest t;
        t.Messages->Answers = {MessageAnswer::Yes};
        t.Window->mnuToolsHarbor_Click();
        QCOMPARE(t.Messages->Shown.back().Text, QStringLiteral("There were no positions to fix"));
    }

    void removeAnimalsAnsweredYesAndNo()
    {
        TempDir dir;
        WindowUnderTest t;
        t.OpenDocument(MakeDocument(64, 64, 5), dir.File("m.swd"));
        auto *list = t.Child<QListWidget>("LiF");

        t.Messages->Answers = {MessageAnswer::No};
        t.Window->mnuToolsAnimalRemoval_Click();
        QCOMPARE(t.Messages->Shown.size(), std::size_t{1});
        QCOMPARE(t.Messages->Shown[0].Text,
                 QStringLiteral("Are you sure you want to remove all animals?"));
        QCOMPARE(t.Messages->Shown[0].Buttons, MessageButtons::YesNo);
        QCOMPARE(t.Messages->Shown[0].Title, QStringLiteral("Trelvik"));
        QCOMPARE(list->count(), 5);
        QCOMPARE(t.Window->Document().Animals.size(), std::size_t{5});

        const auto layersBefore = t.Window->Document().Layers;
        t.Messages->Answers = {MessageAnswer::Yes};
        t.Window->mnuToolsAnimalRemoval_Click();
        QCOMPARE(list->count(), 0);
        QVERIFY(t.Window->Document().Animals.empty());
        QVERIFY(t.Window->Document().Layers == layersBefore);
        QCOMPARE(t.Messages->Shown.back().Text, QStringLiteral("File footer cleared"));
        QCOMPARE(t.Messages->Shown.back().Icon, MessageIcon::None);
        QCOMPARE(t.Messages->Shown.back().Buttons, MessageButtons::Ok);
    }

    void copyImagePutsWholePictureOnClipboard()
    {
        TempDir dir;
        WindowUnderTest t;
        // Before any map the blank surface is copied.
        t.Window->mnuEditCopy_Click();
        QCOMPARE(QGuiApplication::clipboard()->image().size(), QSize(256, 256));

        // A map wider than the view: the surface shows a part, the copy the whole.
        t.OpenDocument(MakeDocument(272, 48), dir.File("wide.swd"));
        t.SelectPosition(2);
        QCOMPARE(t.Child<LayerSurface>("picSprite")->Picture().size(), QSize(256, 48));
        t.Window->mnuEditCopy_Click();
        const QImage copied = QGuiApplication::clipboard()->image();
        QCOMPARE(copied.size(), QSize(272, 48));
        QCOMPARE(copied.pixel(0, 0), t.Window->CurrentPicture().pixel(0, 0));
        QVERIFY(t.Messages->Shown.empty());
    }

    void hugeClaimedSizeIsDrawnCutAndNotCopied()
    {
        TempDir dir;
        WindowUnderTest t;
        MapDocument document = MakeDocument(64, 64);
        document.Header.Width = 32767;
        document.Header.Height = 32767;
        t.OpenDocument(document, dir.File("huge.swd"));
        QVERIFY(t.Messages->Shown.empty());
        QCOMPARE(t.Window->PictureOffset(), QPoint((256 - 32767) / 2, (256 - 32767) / 2));
        QCOMPARE(t.Child<LayerSurface>("picSprite")->Picture().size(), QSize(256, 256));

        t.Window->mnuEditCopy_Click();
        QCOMPARE(t.Messages->Shown.size(), std::size_t{1});
        QVERIFY(t.Messages->Shown[0].Text.contains(QStringLiteral("32767 x 32767")));
        QCOMPARE(t.Messages->Shown[0].Title, QStringLiteral("Error"));
    }

    void viewCutAndCentred_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QPoint>("offset");
        QTest::addColumn<QRect>("sprite");
        // The inside of picBG is 256 x 256 and starts 2 pixels in, behind the border.
        QTest::newRow("64 x 64") << 64 << 64 << QPoint(96, 96) << QRect(98, 98, 64, 64);
        QTest::newRow("256 x 256") << 256 << 256 << QPoint(0, 0) << QRect(2, 2, 256, 256);
        QTest::newRow("259 x 32") << 259 << 32 << QPoint(-1, 112) << QRect(2, 114, 256, 32);
        QTest::newRow("288 x 320") << 288 << 320 << QPoint(-16, -32) << QRect(2, 2, 256, 256);
    }

    void viewCutAndCentred()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QPoint, offset);
        QFETCH(QRect, sprite);
        TempDir dir;
        WindowUnderTest t;
        t.OpenDocument(MakeDocument(static_cast<int16_t>(width), static_cast<int16_t>(height)),
                       dir.File("m.swd"));
        t.SelectPosition(2);
        QCOMPARE(t.Window->PictureOffset(), offset);
        auto *surface = t.Child<LayerSurface>("picSprite");
        QCOMPARE(surface->geometry(), sprite);
        // The surface's top-left pixel is the picture's pixel at minus the offset (or 0).
        const QImage whole = t.Window->CurrentPicture();
        QCOMPARE(whole.size(), QSize(width, height));
        const int x = std::max(0, -offset.x());
        const int y = std::max(0, -offset.y());
        QCOMPARE(surface->Picture().pixel(0, 0), whole.pixel(x, y));
        QCOMPARE(surface->Picture().pixel(sprite.width() - 1, sprite.height() - 1),
                 whole.pixel(x + sprite.width() - 1, y + sprite.height() - 1));
    }

    void tabsShowOnePanel()
    {
        WindowUnderTest t;
        auto *tabs = t.Child<ctlTabs>("Tabsy");
        const auto hidden = [&t](int panel) {
            return t.Window->findChild<QGroupBox *>(QStringLiteral("Frame%1").arg(panel))
                ->isHidden();
        };
        tabs->SetSelectedTab(4);
        QVERIFY(!hidden(3));
        QVERIFY(hidden(0));
        // Out of range or unchanged: nothing happens.
        t.Window->Tabsy_TabClick(4, 9);
        t.Window->Tabsy_TabClick(4, 0);
        t.Window->Tabsy_TabClick(4, 4);
        QVERIFY(!hidden(3));
        for (int panel : {0, 1, 2, 4})
            QVERIFY(hidden(panel));
    }

    void aboutGoesThroughItsHook()
    {
        WindowUnderTest t;
        QWidget *owner = nullptr;
        t.Window->SetAboutHook([&owner](QWidget *w) { owner = w; });
        t.Child<QAction>("mnuAbout")->trigger();
        QCOMPARE(owner, t.Window.get());
    }
};

QTEST_MAIN(FrmLoadCommandsTest)
#include "test_frm_load_commands.moc"
