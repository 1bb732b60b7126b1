#include "app/cls_file_dialog.h"
#include "app/tab_stop_delegate.h"
#include "app_test_support.h"
#include "test_maps.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontMetrics>
#include <QTimer>
#include <QtTest>

using namespace trelvik;
using namespace trelvik::test;

namespace {

const QString kSaveFilter = QStringLiteral("Settlers II Map Editor file (*.swd)|*.swd|Settlers II "
                                           "World file (*.wld)|*.wld|All files (*.*)|*.*");

} // namespace

class FileDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void filterTextBecomesZeroSeparatedList()
    {
        FakeFileDialogs dialogs;
        clsFileDialog dialog(dialogs);
        dialog.SetFilter(QStringLiteral("Maps|*.swd"));
        const QString expected =
            QStringLiteral("Maps") + QChar(0) + QStringLiteral("*.swd") + QChar(0) + QChar(0);
        QCOMPARE(dialog.PlatformFilter(), expected);

        // A text that already ends in a 0 character gets no second one of its own.
        dialog.SetFilter(QStringLiteral("Maps|*.swd") + QChar(0));
        QCOMPARE(dialog.PlatformFilter(), expected);
    }

    void filtersBecomeQtFilterList()
    {
        FakeFileDialogs dialogs;
        clsFileDialog dialog(dialogs);
        dialog.SetFilter(QStringLiteral(
            "Settlers II map files (*.dat;*.swd;*.wld)|*.dat;*.swd;*.wld|All files (*.*)|*.*"));
        const QList<FileFilter> filters = dialog.Filters();
        QCOMPARE(filters.size(), 2);
        QCOMPARE(filters[0].Patterns, (QStringList{QStringLiteral("*.dat"), QStringLiteral("*.swd"),
                                                   QStringLiteral("*.wld")}));
        QCOMPARE(QtFilterText(filters[0]),
                 QStringLiteral("Settlers II map files (*.dat *.swd *.wld)"));
        // "*.*" matches every name on Windows; Qt needs "*" for that.
        QCOMPARE(QtFilterText(filters[1]), QStringLiteral("All files (*)"));
        QCOMPARE(FilterExtension(filters[0]), QStringLiteral("dat"));
        QCOMPARE(FilterExtension(filters[1]), QString());
        // A description without patterns of its own gets them appended.
        QCOMPARE(QtFilterText({QStringLiteral("Maps"), {QStringLiteral("*.swd")}}),
                 QStringLiteral("Maps (*.swd)"));
    }

    void openHandsOverPropertiesAndKeepsNameOnCancel()
    {
        FakeFileDialogs dialogs;
        clsFileDialog dialog(dialogs);
        QWidget owner;
        dialog.SetFilter(kSaveFilter);
        dialog.SetFlags(clsFileDialog::kHideReadOnly);
        dialog.SetFilterIndex(2);
        dialog.SetObjectOwner(&owner);
        dialog.SetWindowTitle(QStringLiteral("Open file..."));
        dialog.SetInitialDirectory(QStringLiteral("/maps"));

        QString name = QStringLiteral("unchanged");
        QVERIFY(!dialog.FileOpen(name));
        QCOMPARE(name, QStringLiteral("unchanged"));
        QCOMPARE(dialogs.Shown.size(), std::size_t{1});
        const ShownDialog &shown = dialogs.Shown.front();
        QVERIFY(!shown.Save);
        QCOMPARE(shown.Request.Owner, &owner);
        QCOMPARE(shown.Request.Title, QStringLiteral("Open file..."));
        QCOMPARE(shown.Request.InitialDirectory, QStringLiteral("/maps"));
        QCOMPARE(shown.Request.SelectedFilter, 1);
        QCOMPARE(shown.Request.Filters.size(), 3);
        QVERIFY(shown.Request.HideReadOnly);
        QVERIFY(!shown.Request.ConfirmOverwrite);

        dialogs.Choose(QStringLiteral("/maps/a.wld"));
        QVERIFY(dialog.FileOpen(name));
        QCOMPARE(name, QStringLiteral("/maps/a.wld"));
    }

    void saveGivesTypedNameTheFilterExtension_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("defaultExtension");
        QTest::addColumn<QString>("expected");
        QTest::newRow("editor filter")
            << QStringLiteral("/m/new") << 0 << QStringLiteral("") << QStringLiteral("/m/new.swd");
        QTest::newRow("world filter")
            << QStringLiteral("/m/new") << 1 << QStringLiteral("") << QStringLiteral("/m/new.wld");
        QTest::newRow("own extension kept") << QStringLiteral("/m/new.dat") << 1
                                            << QStringLiteral("") << QStringLiteral("/m/new.dat");
        QTest::newRow("dot in folder only")
            << QStringLiteral("/m.v2/new") << 0 << QStringLiteral("")
            << QStringLiteral("/m.v2/new.swd");
        QTest::newRow("trailing dot")
            << QStringLiteral("/m/new.") << 1 << QStringLiteral("") << QStringLiteral("/m/new.wld");
        QTest::newRow("all files, default")
            << QStringLiteral("/m/new") << 2 << QStringLiteral(".swd")
            << QStringLiteral("/m/new.swd");
        QTest::newRow("all files, no default")
            << QStringLiteral("/m/new") << 2 << QStringLiteral("") << QStringLiteral("/m/new");
        QTest::newRow("filter out of range")
            << QStringLiteral("/m/new") << 7 << QStringLiteral("wld")
            << QStringLiteral("/m/new.wld");
    }

    void saveGivesTypedNameTheFilterExtension()
    {
        QFETCH(QString, typed);
        QFETCH(int, filter);
        QFETCH(QString, defaultExtension);
        QFETCH(QString, expected);
        FakeFileDialogs dialogs;
        clsFileDialog dialog(dialogs);
        dialog.SetFilter(kSaveFilter);
        dialog.SetFlags(clsFileDialog::kOverwritePrompt);
        dialog.SetDefaultExtension(defaultExtension);
        dialogs.Choose(typed, filter);
        QString name;
        QVERIFY(dialog.FileSave(name));
        QCOMPARE(name, expected);
        QVERIFY(dialogs.Shown.front().Save);
        QVERIFY(dialogs.Shown.front().Request.ConfirmOverwrite);
        QVERIFY(!dialogs.Shown.front().Request.HideReadOnly);
    }

    void saveCancelledKeepsName()
    {
        FakeFileDialogs dialogs;
        clsFileDialog dialog(dialogs);
        QString name = QStringLiteral("before");
        QVERIFY(!dialog.FileSave(name));
        QCOMPARE(name, QStringLiteral("before"));
        // A confirmed dialog with no name is no choice either.
        dialogs.Choose(QString());
        QVERIFY(!dialog.FileSave(name));
        QCOMPARE(name, QStringLiteral("before"));
    }

    void qtSaveDialogAddsSuffixOfChosenFilter()
    {
        TempDir dir;
        QtFileDialogs dialogs;
        FileDialogRequest request;
        request.Filters = {{QStringLiteral("Editor (*.swd)"), {QStringLiteral("*.swd")}},
                           {QStringLiteral("World (*.wld)"), {QStringLiteral("*.wld")}},
                           {QStringLiteral("All files (*.*)"), {QStringLiteral("*.*")}}};
        request.SelectedFilter = 1;
        request.InitialDirectory = Q(dir.Path().string());
        request.Title = QStringLiteral("Save map as...");
        request.ConfirmOverwrite = true;
        QStringList shownFilters;
        QString shownTitle;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            shownFilters = dialog->nameFilters();
            shownTitle = dialog->windowTitle();
            dialog->selectFile(Q(dir.File("typed")));
            static_cast<QDialog *>(dialog)->accept();
        });
        const FileDialogAnswer answer = dialogs.ShowSave(request);
        QCOMPARE(shownTitle, QStringLiteral("Save map as..."));
        QCOMPARE(shownFilters,
                 (QStringList{QStringLiteral("Editor (*.swd)"), QStringLiteral("World (*.wld)"),
                              QStringLiteral("All files (*)")}));
        QVERIFY(answer.Confirmed);
        QCOMPARE(answer.Path, Q(dir.File("typed.wld")));
        QCOMPARE(answer.SelectedFilter, 1);
    }

    void qtOpenDialogCancelled()
    {
        QtFileDialogs dialogs;
        FileDialogRequest request;
        request.Filters = {{QStringLiteral("Maps"), {QStringLiteral("*.swd")}}};
        QTimer::singleShot(0, [] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
            dialog->reject();
        });
        QVERIFY(!dialogs.ShowOpen(request).Confirmed);
    }

    void tabStopsScaleWithTheFont()
    {
        // Dialog units are quarters of the average character width: fonts of growing size
        // give growing stops, each in the ratio 30 : 70.
        QFont small(QStringLiteral("DejaVu Sans"));
        small.setPixelSize(8);
        QFont large = small;
        large.setPixelSize(32);
        const QList<int> smallStops = TabStopPixels({30, 70}, small);
        const QList<int> largeStops = TabStopPixels({30, 70}, large);
        QCOMPARE(smallStops.size(), 2);
        QVERIFY(largeStops[0] > smallStops[0]);
        const int average = QFontMetrics(large).averageCharWidth();
        QVERIFY(average > 0);
        QCOMPARE(largeStops[0], (30 * average) / 4);
        QCOMPARE(largeStops[1], (70 * average) / 4);
    }
};

QTEST_MAIN(FileDialogTest)
#include "test_file_dialog.moc"
