// SPDX-License-Identifier: GPL-3.0-or-later
// The window and the About box driven by the scripts of tests/data/app/commands/, each
// transcript (every dialog, message and panel text, pictures as hashes) compared whole with its
// file. Damaged and hostile files opened in the window: each is either turned
// away with a clear message, leaving everything the window showed as it was, or shown without
// reading outside its layers and without memory sized by what the header claims. Then the file
// dialogs' own logic, the About box's texts and the program's start.
#include "app/cls_file_dialog.h"
#include "app/edit_commands.h"
#include "app/frm_about.h"
#include "app/map_session.h"
#include "app/sys_info.h"
#include "app/translations.h"
#include "app_test_support.h"
#include "controls/ctl_tabs.h"
#include "controls/uni_command.h"
#include "document/layer_codes.h"
#include "play/headquarters.h"
#include "qt_test_fonts.h"
#include "test_platform.h"

#include <filesystem>
#include <random>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDockWidget>
#include <QFileDialog>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTableWidget>
#include <QUndoStack>
#include <QtTest>

using namespace trelvik;
using namespace trelvik::test;
namespace fs = std::filesystem;

namespace {

const std::string kMaps = TRELVIK_TEST_DATA_DIR "/app/maps/";

// The menus, the buttons and text fields, and what the window is built with.
QString Layout(const frmLoad &w)
{
    const QString icon = w.windowIcon().isNull() ? u"none"_s : u"set"_s;
    QString out = Text(u"font %1, icon %2\n"_s, w.font().family(), icon);
    for (QAction *menu : w.menuBar()->actions()) {
        out += menu->text() + u':';
        for (QAction *item : menu->menu()->actions())
            out += item->isSeparator() ? u" -"_s
                                       : u" %1 (%2) %3"_s.arg(item->text(), item->objectName(),
                                                              item->shortcut().toString());
        out += u'\n';
    }
    for (QPushButton *button : w.findChildren<QPushButton *>())
        out += u"%1: %2, tip %3\n"_s.arg(button->objectName(), button->text(), button->toolTip());
    for (QLineEdit *field : w.findChildren<QLineEdit *>())
        out += Text(u"%1: %2 characters%3\n"_s, field->objectName(), field->maxLength(),
                    field->isReadOnly() ? u", read-only"_s : u""_s);
    return out;
}

// Runs the commands of a script and tells what the window showed after each. A command is an
// action, button or field of the window (or of the About box once "frmAbout" opened it) by its
// name: an action with the file to choose in the dialog it opens ("-": confirmed without a
// name) and a filter, a field with its new text; "VScroll1 N", "Tabsy N", "answer
// yes|no|save|discard|cancel", "drag N", "release", "drop FILE", "key KEY WIDGET", "picture NAME
// [WIDGET]" (of the window, box or widget, as a hash), "listing" (of the folder), "PATH ...", "sh
// COMMAND" (its output noted) and "requires COMMAND" (the case is skipped unless it succeeds),
// "seed N" (of the window's random source), "hover|click X,Y", "pan [middle] X,Y X,Y", "wheel X,Y
// DELTA" (in the view area), "resize W H" (of the window), "row LIST N", "hq N" (a line of the HQ
// tab clicked), "generate W H MODE SEED [PLAYERS]"; $DIR is the folder. Returns "skip: why" when
// the case cannot run here.
QString Transcript(WindowUnderTest &t, const TempDir &dir, const QStringList &script)
{
    const QString folder = QDir::fromNativeSeparators(Q(dir.Path().string())); // as Qt writes it
    QImage marker(3, 3, QImage::Format_RGB32);
    marker.fill(Qt::red);
    QGuiApplication::clipboard()->setImage(marker);
    std::vector<int> progress;
    t.Window->SetProgressObserver([&](int value) {
        if (progress.empty())
            t.Log << u"while generating:\n"_s + Panels(t, false).trimmed();
        progress.push_back(value);
    });
    std::unique_ptr<frmAbout> about;
    QWidget *root = t.Window.get();
    bool generated = false;
    const auto state = [&] {
        const QString text = QGuiApplication::clipboard()->text();
        const QString clipboard = text.isEmpty()
                                      ? Describe(QGuiApplication::clipboard()->image(), !generated)
                                      : u"text: "_s + text;
        return (Panels(t, !generated) + u"clipboard "_s + clipboard).split(u'\n');
    };
    QStringList last = state();
    QString out = Layout(*t.Window) + last.join(u'\n') + u'\n';
    for (const QString &line : script) {
        const QString step = line.mid(2);
        QStringList words = step.split(u' ');
        const QString command = words.takeFirst();
        const QString rest = words.join(u' ').replace(u"$DIR"_s, folder);
        const auto path = [&](int i) {
            const QString word = words.value(i);
            return word == u"-"_s ? QString() : word.startsWith(u'/') ? word : folder + u'/' + word;
        };
        generated = generated || command == u"mnuFileGenerate"_s;
        if (auto *action = root->findChild<QAction *>(command)) {
            if (!words.isEmpty())
                t.Dialogs->Choose(path(0), words.value(1, u"-1"_s).toInt());
            action->trigger();
        } else if (auto *button = root->findChild<QPushButton *>(command)) {
            button->click();
        } else if (auto *uniButton = root->findChild<UniCommand *>(command)) {
            QTest::mouseClick(uniButton, Qt::LeftButton, {}, QPoint(60, 12));
        } else if (auto *field = root->findChild<QLineEdit *>(command)) {
            field->setText(rest);
        } else if (command == u"VScroll1"_s) {
            t.Select(rest.toInt());
        } else if (command == u"Tabsy"_s) {
            t.Child<ctlTabs>(command)->SetSelectedTab(static_cast<qint16>(rest.toInt()));
        } else if (command == u"answer"_s) {
            const QStringList names = {u"yes"_s, u"no"_s, u"save"_s, u"discard"_s, u"cancel"_s};
            const MessageAnswer answers[] = {MessageAnswer::Yes, MessageAnswer::No,
                                             MessageAnswer::Save, MessageAnswer::Discard,
                                             MessageAnswer::Cancel};
            t.Messages->Answers.push_back(answers[std::max<qsizetype>(0, names.indexOf(rest))]);
        } else if (command == u"drag"_s || command == u"release"_s) {
            t.Child<QScrollBar>(u"VScroll1"_s)->setSliderDown(command == u"drag"_s);
            if (command == u"drag"_s)
                t.Child<QScrollBar>(u"VScroll1"_s)->setSliderPosition(rest.toInt());
        } else if (command == u"drop"_s) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(path(0))});
            QDragEnterEvent enter({10, 10}, Qt::CopyAction, &data, Qt::LeftButton, {});
            QCoreApplication::sendEvent(t.Window.get(), &enter);
            QDropEvent drop({10, 10}, Qt::CopyAction, &data, Qt::LeftButton, {});
            QCoreApplication::sendEvent(t.Window.get(), &drop);
            t.Log << (enter.isAccepted() ? u"drag accepted"_s : u"drag refused"_s);
        } else if (command == u"frmAbout"_s) {
            about = std::make_unique<frmAbout>();
            about->SetMessageBoxes(t.Messages);
            about->show();
            about->setResult(-1);
            root = about.get();
        } else if (command == u"key"_s) {
            // To the widget named, or to the one with the focus.
            const QKeyCombination keys = QKeySequence(words[0])[0];
            QWidget *to = words.size() > 1 ? root->findChild<QWidget *>(words[1])
                                           : QApplication::focusWidget();
            QTest::keyClick(to, keys.key(), keys.keyboardModifiers());
        } else if (command == u"tab"_s || command == u"focus"_s) {
            // Tab pressed N times, or the focus put on a widget; where the focus went.
            QApplication::setActiveWindow(root);
            if (command == u"focus"_s)
                root->findChild<QWidget *>(words[0])->setFocus(Qt::OtherFocusReason);
            const auto focused = [] {
                return QApplication::focusWidget() ? QApplication::focusWidget()->objectName()
                                                   : u"(none)"_s;
            };
            QStringList went;
            for (int i = 0; i < words.value(0).toInt(); ++i) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                went << focused();
            }
            t.Log << u"focus: "_s + (went.isEmpty() ? focused() : went.join(u", "_s));
        } else if (command == u"geometry"_s) {
            for (const QString &name : words) {
                const QRect r = root->findChild<QWidget *>(name)->geometry();
                const QString tip = root->findChild<QWidget *>(name)->toolTip();
                t.Log << Text(u"%1 at %2,%3, %4 x %5%6"_s, name, r.x(), r.y(), r.width(),
                              r.height(), tip.isEmpty() ? QString() : u", tip: "_s + tip);
            }
        } else if (command == u"picture"_s) {
            // Saved beside the golden picture of that name, to be looked at when the hash differs.
            // "picture NAME WIDGET 2": painted at twice the pixels, as on a screen scaled 2x.
            QWidget *shown = words.size() > 1 ? root->findChild<QWidget *>(words[1]) : root;
            QImage picture = shown->grab().toImage().convertToFormat(QImage::Format_RGB32);
            if (words.value(2) == u"2"_s) {
                picture = QImage(shown->size() * 2, QImage::Format_RGB32);
                picture.setDevicePixelRatio(2);
                shown->render(&picture);
            }
            t.Log << u"picture "_s + words.value(0)
                         + (picture.save(ActualPath(words.value(0))) ? u": "_s
                                                                     : u" (not saved): "_s)
                         + Describe(picture, true);
        } else if (command == u"listing"_s) {
            QStringList listing;
            for (const auto &entry : fs::recursive_directory_iterator(dir.Path())) {
                QString name = QDir::fromNativeSeparators(Q(entry.path().string()));
                const std::vector<uint8_t> bytes = entry.is_regular_file()
                                                       ? ReadBytes(entry.path().string())
                                                       : std::vector<uint8_t>();
                const QString shown =
                    bytes == WriteMapBytes(t.Window->Document()) ? u", the map shown"_s : QString();
                if (entry.is_symlink())
                    name += u" -> "_s + Q(fs::read_symlink(entry.path()).string());
                else if (entry.is_regular_file())
                    name += u": %1 bytes%2%3"_s.arg(bytes.size())
                                .arg(generated ? QString() : u' ' + Hash(bytes), shown);
                listing << name + (entry.is_directory() ? u"/"_s : QString());
            }
            listing.sort();
            t.Log << listing;
        } else if (command == u"sh"_s || command == u"requires"_s) {
            QStringList output;
            const std::optional<int> status = RunShell(rest, output);
            if (!status)
                return u"skip: this case needs a POSIX shell"_s;
            if (status != 0 && command == u"requires"_s)
                return u"skip: this case needs "_s + words.join(u' ');
            t.Log << output;
            t.Log << (status == 0 ? QStringList()
                                  : QStringList{u"exit status "_s + QString::number(*status)});
        } else if (command == u"hover"_s || command == u"click"_s || command == u"pan"_s
                   || command == u"wheel"_s) {
            // At view area points "X,Y": the pointer moved, clicked, dragged with a button from
            // the first point to the second, or the wheel turned with Ctrl by a number.
            QWidget *area = t.Child<MapView>(u"picBG"_s)->viewport();
            const auto point = [&](int i) {
                return QPointF(words.value(i).section(u',', 0, 0).toDouble(),
                               words.value(i).section(u',', 1).toDouble());
            };
            const auto send = [&](QEvent::Type type, QPointF at, Qt::MouseButton changed,
                                  Qt::MouseButtons held) {
                QMouseEvent event(type, at, area->mapToGlobal(at), changed, held, {});
                QCoreApplication::sendEvent(area, &event);
            };
            const Qt::MouseButton pressed =
                words.value(0) == u"middle"_s ? Qt::MiddleButton : Qt::LeftButton;
            const int from = pressed == Qt::MiddleButton ? 1 : 0;
            if (command == u"wheel"_s) {
                QWheelEvent wheel(point(0), area->mapToGlobal(point(0)), {},
                                  {0, words.value(1).toInt()}, {}, Qt::ControlModifier,
                                  Qt::NoScrollPhase, false);
                QCoreApplication::sendEvent(area, &wheel);
            } else if (command == u"hover"_s) {
                send(QEvent::MouseMove, point(0), Qt::NoButton, {});
            } else {
                send(QEvent::MouseButtonPress, point(from), pressed, pressed);
                if (command == u"pan"_s)
                    send(QEvent::MouseMove, point(from + 1), Qt::NoButton, pressed);
                send(QEvent::MouseButtonRelease, point(from + (command == u"pan"_s)), pressed, {});
            }
        } else if (command == u"stroke"_s) {
            // The left button pressed at the first view area point "X,Y", moved through the
            // others and released at the last.
            QWidget *area = t.Child<MapView>(u"picBG"_s)->viewport();
            for (qsizetype i = 0; i < words.size(); ++i) {
                const QPoint at(words[i].section(u',', 0, 0).toInt(),
                                words[i].section(u',', 1).toInt());
                if (i == 0)
                    QTest::mousePress(area, Qt::LeftButton, {}, at);
                else
                    QTest::mouseMove(area, at);
                if (i + 1 == words.size())
                    QTest::mouseRelease(area, Qt::LeftButton, {}, at);
            }
        } else if (command == u"choose"_s) {
            if (auto *box = t.Child<QComboBox>(words.value(0)))
                box->setCurrentIndex(words.value(1).toInt());
            else if (auto *spin = t.Child<QSpinBox>(words.value(0)))
                spin->setValue(words.value(1).toInt());
        } else if (command == u"blank"_s) {
            // File > New blank map with width, height, world, terrain and height.
            edit::BlankMapRequest request;
            request.Width = static_cast<int16_t>(words.value(0).toInt());
            request.Height = static_cast<int16_t>(words.value(1).toInt());
            request.WorldType = static_cast<uint8_t>(words.value(2).toInt());
            request.Terrain = static_cast<uint8_t>(words.value(3).toInt());
            request.GroundHeight = static_cast<uint8_t>(words.value(4).toInt());
            t.Window->SetBlankMapChooser([request](QWidget *) { return std::optional(request); });
            t.Child<QAction>(u"mnuFileNewBlank"_s)->trigger();
        } else if (command == u"resize"_s) {
            t.Window->resize(words.value(0).toInt(), words.value(1).toInt());
            QCoreApplication::processEvents();
        } else if (command == u"row"_s) {
            if (auto *table = t.Child<QTableWidget>(words.value(0)))
                table->setCurrentCell(words.value(1).toInt(), 0);
            else if (auto *list = t.Child<QListWidget>(words.value(0)))
                list->setCurrentRow(words.value(1).toInt());
            else if (auto *view = t.Child<QAbstractItemView>(words.value(0)))
                view->setCurrentIndex(view->model()->index(words.value(1).toInt(), 0));
        } else if (command == u"hq"_s || command == u"click-row"_s) {
            // A row of a list clicked, the current one too: "hq N" on the HQ tab's list.
            auto *list = t.Child<QAbstractItemView>(command == u"hq"_s ? u"S2info"_s : words[0]);
            const QModelIndex row =
                list->model()->index(words.value(command == u"hq"_s ? 0 : 1).toInt(), 0);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(row).center());
        } else if (command == u"generate"_s) {
            generated = false; // from a seed: the same map on every run
            t.Window->GenerateMap(static_cast<int16_t>(words.value(0).toInt()),
                                  static_cast<int16_t>(words.value(1).toInt()),
                                  words.value(2) == u"QUICK"_s, words.value(3).toULongLong(), 0,
                                  words.value(4).toInt());
        } else if (command == u"recent"_s) {
            t.Log << u"recent files: "_s + t.Window->RecentFiles().join(u", "_s);
        } else if (command == u"seed"_s) {
            t.Window->Random().Seed(rest.toULongLong());
        } else if (command == u"PATH"_s) {
            qputenv("PATH", rest.toUtf8());
        } else {
            return out + u"unknown command "_s + command;
        }
        const bool rising = std::is_sorted(progress.begin(), progress.end());
        if (!progress.empty())
            t.Log << Text(u"progress from %1, %2, the last %3"_s, progress.front(),
                          rising ? u"rising"_s : u"falling back"_s,
                          progress.back() <= 10000 ? u"at most 10000"_s : u"past 10000"_s);
        // What the step showed, then the lines of the panels that it changed.
        QStringList now = state();
        if (about)
            now << Text(u"About box %1, result %2"_s, about->isVisible() ? u"open"_s : u"closed"_s,
                        about->result());
        out += u"> "_s + step + u'\n' + t.Log.join(u'\n') + (t.Log.isEmpty() ? QString() : u"\n"_s);
        for (qsizetype i = 0; i < now.size(); ++i)
            out += now[i] == last.value(i) ? QString() : now[i] + u'\n';
        last = now;
        t.Log.clear();
        progress.clear();
    }
    return out.replace(folder, u"$DIR"_s);
}

// Runs the build's trelvik-cli with `arguments`, split as a shell splits them; its exit status.
int RunCli(const QStringList &arguments)
{
    QProcess cli;
    cli.setStandardOutputFile(QProcess::nullDevice());
    cli.start(QStringLiteral(TRELVIK_BIN_DIR "/trelvik-cli"), arguments);
    return cli.waitForFinished(60000) && cli.exitStatus() == QProcess::NormalExit ? cli.exitCode()
                                                                                  : -1;
}

// Edit > Copy command, run with the program's folder and another output file, makes the very
// map shown.
bool SameAsCopiedCommand(WindowUnderTest &t, const TempDir &dir)
{
    QGuiApplication::clipboard()->clear();
    t.Child<QAction>(u"mnuEditCopyCommand"_s)->trigger();
    QStringList command = QProcess::splitCommand(QGuiApplication::clipboard()->text());
    if (command.size() < 5
        || command.mid(0, 3) != QStringList{u"trelvik-cli"_s, u"generate"_s, u"--seed"_s}
        || command[command.size() - 2] != u"-o"_s)
        return false;
    command.back() = Q(dir.File("copied.swd"));
    return RunCli(command.mid(1)) == 0
           && ReadBytes(dir.File("copied.swd")) == WriteMapBytes(t.Window->Document());
}

// Opens a file through File > Open. A rejected one leaves every panel, the picture, the file
// name and the document as they were, and says why in one box titled "Error" that names the
// file or the problem; an accepted one is shown as the reader reads it.
QString OpenFile(WindowUnderTest &t, const std::string &path, const QString &before, bool &accepted)
{
    t.Log.clear();
    t.Open(path);
    const QString after = Panels(t);
    const QString message = t.Log.last().section(u" [Filename: "_s, 0, 0);
    accepted = t.Log.size() == 1;
    if (!accepted) {
        const bool clear = message.contains(Q(path))
                           || message.endsWith(u": Not a Settlers II map file"_s)
                           || message.endsWith(u": Invalid map size"_s);
        if (t.Log.size() != 2 || !message.startsWith(u"message 'Error' (critical, OK): "_s)
            || !clear)
            return t.Log.join(u'\n');
        return after == before ? QString()
                               : u"the window showed\n%1and then\n%2"_s.arg(before, after);
    }
    MapDocument read;
    const bool shown = ReadMapFile(path, read).Ok() && read == t.Window->Document();
    const bool named = after.contains(u"\nFilename: "_s + Q(path) + u'\n');
    return shown && named && !after.contains(u"(disabled)"_s) ? QString() : u"shows\n"_s + after;
}

// At 1:1 the picture shown must be the bytes seen through the colour table in force: centred
// in the view area when it fits, else cut to the area at the scroll bars' place, a point past
// the end of the bytes showing index 0.
QString ShownPixelsDifference(const WindowUnderTest &t, std::span<const uint8_t> bytes)
{
    const int w = t.Window->Document().Header.Width;
    const int h = t.Window->Document().Header.Height;
    const auto *view = t.Child<MapView>(u"picBG"_s);
    const QSize area = view->viewport()->size();
    const QPoint pan(view->horizontalScrollBar()->value(), view->verticalScrollBar()->value());
    const QImage shown = view->Picture();
    const QPoint offset((area.width() - w) / 2, (area.height() - h) / 2);
    if (shown.size() != QSize(std::min(w, area.width()), std::min(h, area.height()))
        || t.Window->PictureOffset()
               != QPoint(w > area.width() ? -pan.x() : offset.x(),
                         h > area.height() ? -pan.y() : offset.y()))
        return u"a picture of %1 x %2"_s.arg(shown.width()).arg(shown.height());
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const int64_t at = int64_t{y + (h > area.height() ? pan.y() : 0)} * w + x
                               + (w > area.width() ? pan.x() : 0);
            const auto index = static_cast<std::size_t>(at);
            const ColourEntry &c =
                t.Window->Colours().Entries[index < bytes.size() ? bytes[index] : 0];
            if (shown.pixel(x, y) != qRgb(c.Red, c.Green, c.Blue))
                return u"pixel %1,%2 (point %3)"_s.arg(x).arg(y).arg(at);
        }
    }
    return {};
}

// Views every selector position, checking each picture point against the bytes it shows, and
// runs both tools answered Yes.
QString Exercise(WindowUnderTest &t)
{
    const MapDocument &document = t.Window->Document();
    for (int position = 1; position <= 15; ++position) {
        t.Select(position);
        t.Window->VScroll1_Change();
        const QString info = t.Child<QLabel>(u"MapInfo"_s)->text();
        const QString expected =
            position == 1 ? u"Settlers II view"_s : u"Map data %1\n"_s.arg(position - 1);
        const auto bytes = position == 1 ? std::span<const uint8_t>(t.Window->Composed())
                                         : document.Layer(position - 1);
        const QString problem =
            (info.startsWith(expected) ? QString() : info) + ShownPixelsDifference(t, bytes);
        if (!problem.isEmpty())
            return u"position %1: %2"_s.arg(position).arg(problem);
    }
    // The map check on whatever the map holds: each kind of fix it offers is carried out and
    // undone, which gives back the map as it was.
    t.Child<QAction>(u"mnuToolsCheck"_s)->trigger();
    const MapDocument unfixed = document;
    auto *list = t.Child<QAbstractItemView>(u"lstCheck"_s);
    auto *fix = t.Child<QPushButton>(u"butCheckFix"_s);
    QStringList fixed;
    for (int r = 0; r < list->model()->rowCount(); ++r) {
        list->setCurrentIndex(list->model()->index(r, 0));
        if (!fix->isEnabled() || fixed.contains(fix->text()))
            continue;
        fixed << fix->text();
        const int steps = t.Window->UndoStack().index();
        fix->click();
        if (t.Window->UndoStack().index() != steps + 1)
            return u"the fix '%1' left no step to undo"_s.arg(fixed.back());
        t.Child<QAction>(u"mnuEditUndo"_s)->trigger();
        if (!(document == unfixed))
            return u"undoing the fix '%1' did not give the map back"_s.arg(fixed.back());
    }
    std::vector<std::size_t> lengths;
    for (const MapLayer &layer : document.Layers)
        lengths.push_back(layer.size());
    t.Log.clear();
    t.Messages->Answers = {MessageAnswer::Yes, MessageAnswer::Yes};
    t.Window->mnuToolsHarbor_Click();
    t.Window->mnuToolsAnimalRemoval_Click();
    if (t.Log.size() != 4 || !t.Log[3].contains(u"File footer cleared"_s)
        || !document.Animals.empty())
        return t.Log.join(u'\n');
    for (std::size_t k = 0; k < lengths.size(); ++k) {
        if (document.Layers[k].size() != lengths[k])
            return u"the castle fix changed the length of layer %1"_s.arg(k + 1);
    }
    return {};
}

// Writes variants of a file of 64 x 48 points into the folder: cut where the structure changes,
// bits flipped where the structure lies, block lengths of every kind, huge claimed sizes.
void WriteVariants(const std::vector<uint8_t> &good,
                   const TempDir &dir,
                   std::vector<std::string> &paths)
{
    const auto add = [&](const std::string &name, const std::vector<uint8_t> &bytes) {
        WriteBytes(paths.emplace_back(dir.File(name)), bytes);
    };
    const auto block = [](std::size_t k) { return 2352 + (k - 1) * (16 + 64 * 48); };
    const auto put = [](std::vector<uint8_t> &bytes, std::size_t at, int64_t value) {
        for (std::size_t i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
    };
    std::vector<std::size_t> cuts = {0, 1, 9, 10, 11, 2341, 2342, 2351, 2352, 2353};
    for (std::size_t k = 1; k <= 14; ++k) {
        for (const std::size_t d : {0u, 1u, 12u, 15u, 16u, 17u, 16u + 64 * 48 - 1})
            cuts.push_back(block(k) + d);
    }
    // Every 509th byte, then every length from the end of the blocks through the footer.
    for (std::size_t at = 13; at < block(15) + 19;
         at = at < block(15) ? std::min(at + 509, block(15)) : at + 1)
        cuts.push_back(at);
    for (const std::size_t at : cuts)
        add("cut-" + std::to_string(at) + ".swd",
            std::vector<uint8_t>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(at)));
    add("cut-0.dat", std::vector<uint8_t>());
    for (uint32_t seed = 1; seed <= 120; ++seed) {
        std::mt19937 rng(seed);
        std::vector<uint8_t> bytes = good;
        for (uint32_t f = 0, flips = 1 + rng() % 4; f < flips; ++f) {
            const uint32_t where = rng() % 4;
            const std::size_t header = block(1 + rng() % 14) + rng() % 16;
            const std::size_t at = where == 0   ? 2348 + rng() % 4
                                   : where == 1 ? rng() % bytes.size()
                                   : rng() % 2  ? rng() % 10
                                                : header;
            bytes[at] = static_cast<uint8_t>(bytes[at] ^ (1u << (rng() % 8)));
        }
        add("flip-" + std::to_string(seed) + ".wld", bytes);
    }
    for (const std::size_t k : {1u, 7u, 14u}) {
        const std::size_t at = block(k) + 12; // the block's data length
        for (const int64_t length : {int64_t{-1}, int64_t{INT32_MIN}, int64_t{INT32_MAX},
                                     static_cast<int64_t>(good.size() - at - 3), int64_t{0}}) {
            std::vector<uint8_t> bytes = good;
            put(bytes, at, length);
            if (length == 0) // and no bytes: an empty layer
                bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(at + 4),
                            bytes.begin() + static_cast<std::ptrdiff_t>(at + 4 + 64 * 48));
            add("length-" + std::to_string(k) + "-" + std::to_string(length) + ".swd", bytes);
        }
    }
    // 32767 x 32767 points claimed; 6000 x 40, so that the first row in view is part real,
    // part past the end of the layers.
    for (const auto &[width, height] : {std::pair(32767, 32767), std::pair(6000, 40)}) {
        std::vector<uint8_t> bytes = good;
        put(bytes, 2348, width + (int64_t{height} << 16)); // the width, then the height
        add("claims-" + std::to_string(width) + ".swd", bytes);
    }
}

// The findings the check's panel lists, in its order: "code@x, y", or the code alone for a
// finding of the whole map.
QStringList ListedFindings(const WindowUnderTest &t)
{
    const QAbstractItemModel *model = t.Child<QAbstractItemView>(u"lstCheck"_s)->model();
    QStringList rows;
    for (int r = 0; r < model->rowCount(); ++r) {
        const QString point = model->index(r, 2).data().toString();
        rows << model->index(r, 1).data().toString() + (point.isEmpty() ? QString() : u'@' + point);
    }
    return rows;
}

// The code of the finding chosen in the check's panel; empty when none is.
QString ChosenFinding(const WindowUnderTest &t)
{
    const QModelIndex current = t.Child<QAbstractItemView>(u"lstCheck"_s)->currentIndex();
    return current.isValid() ? current.siblingAtColumn(1).data().toString() : QString();
}

// Whether the ring on `point` lies wholly inside the view area.
bool InView(const WindowUnderTest &t, MapPoint point)
{
    const auto *view = t.Child<MapView>(u"picBG"_s);
    const PixelRect shown = view->Geometry().ScreenRectOf(point);
    return view->viewport()->rect().contains(
        QRect(shown.Left, shown.Top, shown.Width, shown.Height));
}

} // namespace

class AppTest : public QObject
{
    Q_OBJECT

public:
    static void initMain() { UseTestFonts(); }

private slots:
    void initTestCase()
    {
        const QString missing = MissingTestFont();
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
        UseTestHinting();
        UseEnglishSystemMessages();
        static TempDir settings;
        QCoreApplication::setOrganizationName(u"TrelvikTest"_s);
        QSettings::setDefaultFormat(QSettings::IniFormat);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, Q(settings.Path().string()));
        // Far above what small maps and the 256 x 256 view need, far below a layer or a picture
        // of a huge claimed size: asking for one ends the test.
        if (CapMemory(std::size_t{768} << 20)) {
            std::vector<uint8_t> block;
            QVERIFY_THROWS_EXCEPTION(std::bad_alloc, block.resize(std::size_t{1} << 30));
        }
    }

    // The session alone: what it holds, what it tells its listeners, and that a failed read or
    // write changes nothing.
    void session()
    {
        TempDir dir;
        const std::string file = dir.File("flat.swd");
        MapDocument flat = MakeFlatMap(32, 32);
        QVERIFY(WriteMapFile(file, flat).Ok);
        MapSession session;
        std::vector<SessionChange> changes;
        QStringList heard;
        connect(&session, &MapSession::Changed, &session,
                [&](const SessionChange &change) { changes.push_back(change); });
        connect(&session, &MapSession::Replaced, &session, [&] { heard << u"replaced"_s; });
        connect(&session, &MapSession::PathChanged, &session,
                [&](const QString &path) { heard << QFileInfo(path).fileName(); });

        QVERIFY(!session.Open(Q(dir.File("missing.swd"))).Ok());
        QVERIFY(!session.HasMap() && session.Path().isEmpty() && heard.isEmpty());
        QVERIFY(session.Open(Q(file)).Ok());
        QCOMPARE(heard, (QStringList{u"flat.swd"_s, u"replaced"_s}));
        QVERIFY(session.HasMap() && !session.Modified());
        QCOMPARE(session.Document(), flat);

        // An edit announces its points, keeps the terrain picture current and undoes exactly.
        const std::vector<std::size_t> points = {3, 40, 1023};
        session.Push(new HarbourMarksCommand(session, points, {}));
        QCOMPARE(changes.size(), std::size_t{1});
        QCOMPARE(changes[0].Points, points);
        QVERIFY(session.Modified());
        QCOMPARE(session.Composed(), BuildComposedView(session.Document()));
        session.History().undo();
        QCOMPARE(session.Document(), flat);
        QVERIFY(!session.Modified());
        session.History().redo();

        // A write that fails keeps the file and the mark; one that works moves both.
        QVERIFY(!session.Save(Q(dir.File("gone/x.swd"))).Ok);
        QCOMPARE(QFileInfo(session.Path()).fileName(), u"flat.swd"_s);
        QVERIFY(session.Modified());
        QVERIFY(session.Save(Q(dir.File("copy.wld"))).Ok);
        QCOMPARE(QFileInfo(session.Path()).fileName(), u"copy.wld"_s);
        QVERIFY(!session.Modified());

        session.Adopt(MakeFlatMap(8, 8));
        QVERIFY(session.Path().isEmpty() && session.Modified() && !session.History().canUndo());
        session.Clear();
        QVERIFY(!session.HasMap() && !session.Modified() && session.Composed().empty());
    }

    void hostileFiles()
    {
        TempDir dir;
        WindowUnderTest t;
        const std::vector<uint8_t> good = WriteMapBytes(MakeDocument(64, 48, 4));
        const std::string goodPath = dir.File("good.swd");
        WriteBytes(goodPath, good);
        // A folder, and the files of the platform's own kinds.
        const HostileFiles hostile = MakeHostileFiles(dir, goodPath);
        QVERIFY(!hostile.Paths.empty() && fs::create_directory(dir.File("folder.swd")));
        std::vector<std::string> paths = hostile.Paths;
        paths.push_back(dir.File("folder.swd"));
        WriteVariants(good, dir, paths);
        QString shownGood;
        const auto reopen = [&] {
            t.Open(goodPath);
            t.Select(2);
            shownGood = Panels(t);
        };
        reopen();
        int accepted = 0;
        for (const std::string &path : paths) {
            bool shown = false;
            const QString failure = OpenFile(t, path, shownGood, shown);
            QVERIFY2(failure.isEmpty(), qPrintable(Q(path) + u": "_s + failure));
            // Maps of other sizes or layer lengths are viewed and changed, and a few others.
            const MapDocument &map = t.Window->Document();
            const auto odd = [&map](const MapLayer &layer) {
                return std::ssize(layer) != int64_t{map.Header.Width} * map.Header.Height;
            };
            if (shown
                && (std::any_of(map.Layers.begin(), map.Layers.end(), odd) || map.Header.Width != 64
                    || ++accepted % 8 == 1)) {
                const QString exercise = Exercise(t);
                QVERIFY2(exercise.isEmpty(), qPrintable(Q(path) + u": "_s + exercise));
            }
            if (shown)
                reopen();
        }
        QCOMPARE(Exercise(t), QString());
    }

    void commands_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString &name : QDir(GoldenPath(u"commands"_s)).entryList(QDir::Files))
            QTest::newRow(qPrintable(name)) << name;
    }

    void commands()
    {
        QFETCH(QString, name);
        TempDir dir;
        for (const auto &map : fs::directory_iterator(kMaps)) // fs::copy fails on MinGW
            fs::copy_file(map.path(), dir.Path() / map.path().filename());
        QFile file(GoldenPath(u"commands/"_s + name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList script =
            QString::fromUtf8(file.readAll()).split(u'\n').filter(QRegularExpression(u"^> "_s));
        const QByteArray path = qgetenv("PATH");
        QString transcript = Transcript(*std::make_unique<WindowUnderTest>(), dir, script);
        qputenv("PATH", path);
        if (transcript.startsWith(u"skip: "_s))
            QSKIP(qPrintable(transcript));
        const QString difference = GoldenDifference(u"commands/"_s + name, transcript.toUtf8());
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    // Tools > Check map lists what the check finds, errors first and in bold; choosing a finding
    // rings its point and brings it into view; its fix is one step that undo takes back byte for
    // byte; the list follows every edit, undo and redo, and every map read or made.
    void checkMap()
    {
        TempDir dir;
        WindowUnderTest t;
        auto *check = t.Child<QAction>(u"mnuToolsCheck"_s);
        QCOMPARE(check->shortcut(), QKeySequence(Qt::Key_F7));
        QVERIFY(!t.Child<QDockWidget>(u"dockCheck"_s));
        check->trigger();
        auto *dock = t.Child<QDockWidget>(u"dockCheck"_s);
        QVERIFY(dock && dock->isVisible());
        auto *summary = t.Child<QLabel>(u"lblCheckSummary"_s);
        auto *list = t.Child<QAbstractItemView>(u"lstCheck"_s);
        auto *fix = t.Child<QPushButton>(u"butCheckFix"_s);
        auto *view = t.Child<MapView>(u"picBG"_s);
        QCOMPARE(summary->text(), u"There is no map to check."_s);
        QCOMPARE(list->model()->rowCount(), 0);
        QVERIFY(!fix->isEnabled());

        // A clean map for two players, checked as soon as it is made.
        QVERIFY(t.Window->GenerateMap(64, 64, true, 5, 0, 2));
        QCOMPARE(summary->text(), u"no problems found"_s);
        QCOMPARE(list->model()->rowCount(), 0);
        const MapDocument clean = t.Window->Document();
        const PointGrid grid(clean);
        // Then an animal of no known kind, stale shading at (5, 7), a third player in the header
        // only, and a mark for player 9 on the first point without an object from (50, 50) on.
        MapDocument unmarked = clean;
        unmarked.Animals.push_back({0, 3, 4});
        unmarked.Layer(13)[grid.IndexOf({5, 7})] ^= 0x10;
        unmarked.Header.PlayerCount = 3;
        MapDocument broken = unmarked;
        std::size_t index = grid.IndexOf({50, 50});
        while (broken.Layer(6)[index] != kNoObject)
            ++index;
        const Point stray = grid.PointAt(index);
        broken.Layer(6)[index] = kHeadquartersObject;
        broken.Layer(5)[index] = 8;
        const std::string path = dir.File("broken.swd");
        QVERIFY(WriteMapFile(path, broken).Ok);
        t.Open(path);
        QVERIFY(!t.Window->isWindowModified());

        const QString strayAt = u"%1, %2"_s.arg(stray.X).arg(stray.Y);
        const QStringList found = {u"hq-bad-player@"_s + strayAt, u"player-without-hq"_s,
                                   u"animal-unknown@3, 4"_s, u"shading-stale@5, 7"_s};
        QCOMPARE(ListedFindings(t), found);
        QCOMPARE(summary->text(), u"2 errors, 2 warnings"_s);
        QVERIFY(!fix->isEnabled());

        // Each finding chosen: the first with the mouse, the others with the arrow key, the view
        // zoomed in and at its top-left corner so that the far points lie out of view.
        struct Row
        {
            QString Severity;
            QString Button; // disabled "Fix" for a finding with no fix
            std::optional<MapPoint> Ring;
        };
        const Row rows[] = {
            {u"error"_s, u"Remove this mark"_s,
             MapPoint{static_cast<int>(stray.X), static_cast<int>(stray.Y)}},
            {u"error"_s, u"Take the players from the marks"_s, std::nullopt},
            {u"warning"_s, u"Fix"_s, MapPoint{3, 4}},
            {u"warning"_s, u"Recompute shading and building quality"_s, MapPoint{5, 7}},
        };
        view->SetZoom(8);
        view->horizontalScrollBar()->setValue(0);
        view->verticalScrollBar()->setValue(0);
        QVERIFY(!InView(t, *rows[0].Ring));
        const QAbstractItemModel *model = list->model();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(model->index(0, 1)).center());
        for (int r = 0; r < 4; ++r) {
            if (r > 0)
                QTest::keyClick(list, Qt::Key_Down);
            const Row &row = rows[r];
            QCOMPARE(list->currentIndex().row(), r);
            QCOMPARE(model->index(r, 0).data().toString(), row.Severity);
            QCOMPARE(model->index(r, 3).data(Qt::FontRole).value<QFont>().bold(),
                     row.Severity == u"error"_s);
            QVERIFY(!model->index(r, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
            QCOMPARE(fix->text(), row.Button);
            QCOMPARE(fix->isEnabled(), row.Button != u"Fix"_s);
            QCOMPARE(view->Selection(), row.Ring);
            QVERIFY(!row.Ring || InView(t, *row.Ring));
        }
        QVERIFY(model->index(1, 3).data().toString().startsWith(u"Player 3 has no headquarters"_s));
        // Clicked again after another list moved the ring, the finding takes it back.
        t.Child<QListWidget>(u"LiF"_s)->setCurrentRow(0);
        QCOMPARE_NE(view->Selection(), rows[3].Ring);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(model->index(3, 1)).center());
        QCOMPARE(view->Selection(), rows[3].Ring);

        // The mark removed: the map is as it was before the mark, byte for byte, and changed.
        list->setCurrentIndex(model->index(0, 0));
        fix->click();
        QVERIFY(t.Window->Document() == unmarked);
        QCOMPARE(t.Window->UndoStack().count(), 1);
        QCOMPARE(t.Window->UndoStack().undoText(), u"Remove this mark"_s);
        QVERIFY(t.Window->isWindowModified());
        QCOMPARE(ListedFindings(t), found.mid(1));
        QCOMPARE(summary->text(), u"1 error, 2 warnings"_s);
        QCOMPARE(ChosenFinding(t), QString());
        QVERIFY(!fix->isEnabled());
        QVERIFY(t.Window->Composed() == BuildComposedView(unmarked));
        // Undone: the file's bytes and the finding are back; redone: gone again.
        t.Child<QAction>(u"mnuEditUndo"_s)->trigger();
        QVERIFY(WriteMapBytes(t.Window->Document()) == ReadBytes(path));
        QCOMPARE(ListedFindings(t), found);
        QVERIFY(!t.Window->isWindowModified());
        QVERIFY(t.Window->Composed() == BuildComposedView(broken));
        t.Child<QAction>(u"mnuEditRedo"_s)->trigger();
        QVERIFY(t.Window->Document() == unmarked);
        QCOMPARE(ListedFindings(t), found.mid(1));

        // The players taken from the marks: two, in the slots they had.
        MapDocument expected = unmarked;
        expected.Header.PlayerCount = 2;
        list->setCurrentIndex(model->index(0, 0));
        fix->click();
        QVERIFY(t.Window->Document() == expected);
        QCOMPARE(t.Child<QLabel>(u"lblPlayers"_s)->text(), u"2"_s);
        QCOMPARE(ListedFindings(t), found.mid(2));
        // The shading recomputed: the map as made, with its odd animal.
        expected.Layer(13) = clean.Layer(13);
        list->setCurrentIndex(model->index(1, 0));
        QCOMPARE(fix->text(), rows[3].Button);
        fix->click();
        QVERIFY(t.Window->Document() == expected);
        QVERIFY(t.Window->Composed() == BuildComposedView(expected));
        QCOMPARE(ListedFindings(t), found.mid(2, 1));
        QCOMPARE(summary->text(), u"0 errors, 1 warning"_s);
        QCOMPARE(t.Window->UndoStack().count(), 3);

        // Another command's edit, undo and redo refresh the list too; the finding chosen stays
        // chosen while it is listed.
        t.Child<QAction>(u"mnuEditUndo"_s)->trigger();
        QCOMPARE(ListedFindings(t), found.mid(2));
        list->setCurrentIndex(model->index(0, 0));
        QCOMPARE(ChosenFinding(t), u"animal-unknown"_s);
        t.Child<QAction>(u"mnuToolsRecompute"_s)->trigger();
        QCOMPARE(ListedFindings(t), found.mid(2, 1));
        QCOMPARE(ChosenFinding(t), u"animal-unknown"_s);
        t.Child<QAction>(u"mnuEditUndo"_s)->trigger();
        QCOMPARE(ListedFindings(t), found.mid(2));
        QCOMPARE(ChosenFinding(t), u"animal-unknown"_s);
        for (int undo = 0; undo < 2; ++undo)
            t.Child<QAction>(u"mnuEditUndo"_s)->trigger();
        QVERIFY(WriteMapBytes(t.Window->Document()) == ReadBytes(path));
        QCOMPARE(ListedFindings(t), found);

        // Closed, the panel comes back with the map as it is then.
        dock->close();
        t.Child<QAction>(u"mnuEditRedo"_s)->trigger();
        check->trigger();
        QVERIFY(dock->isVisible());
        QCOMPARE(ListedFindings(t), found.mid(1));
    }

    void fileDialogs()
    {
        // A filter text that already ends in a 0 character gets no second one of its own.
        QtFileDialogs dialogs;
        clsFileDialog dialog(dialogs);
        dialog.SetFilter(u"Maps|*.swd"_s + QChar(0));
        QCOMPARE(dialog.PlatformFilter(), u"Maps"_s + QChar(0) + u"*.swd"_s + QChar(0) + QChar(0));
        // The Qt dialog shows the filters, the second one chosen, and gives a name typed without
        // an extension the extension of the filter in force.
        TempDir dir;
        dialog.SetFilter(u"E (*.e)|*.e|W|*.wld; *.x|All (*.*)|*.*|Odd"_s);
        dialog.SetFilterIndex(2);
        dialog.SetInitialDirectory(Q(dir.Path().string()));
        dialog.SetWindowTitle(u"Save map as..."_s);
        QString seen;
        QTimer::singleShot(0, [&] {
            auto *shown = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            seen = Text(u"%1: %2, %3"_s, shown->windowTitle(), shown->nameFilters().join(u", "_s),
                        shown->selectedNameFilter());
            shown->selectFile(Q(dir.File("typed")));
            static_cast<QDialog *>(shown)->accept();
        });
        QString name;
        QVERIFY(dialog.FileSave(name));
        QCOMPARE(seen,
                 u"Save map as...: E (*.e), W (*.wld *.x), All (*), Odd (*), W (*.wld *.x)"_s);
        QCOMPARE(name, QDir::fromNativeSeparators(Q(dir.File("typed.wld"))));
        QTimer::singleShot(0, [&] {
            auto *shown = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            seen = shown->fileMode() == QFileDialog::ExistingFile ? u"existing"_s : u"any"_s;
            shown->reject();
        });
        QVERIFY(!dialog.FileOpen(name)
                && name == QDir::fromNativeSeparators(Q(dir.File("typed.wld"))));
        QCOMPARE(seen, u"existing"_s);
    }

    void aboutTexts()
    {
        QCOMPARE(VersionText(0, 5, 12), u"Version 0.05.0012"_s);
        QCOMPARE(VersionText(2, 123, 45678), u"Version 2.123.45678"_s);
        // Registry values: one terminating zero dropped; numbers little-endian.
        const std::string rows[][3] = {
            {"C:\\x.exe", "1", "C:\\x.exe"},
            {std::string("C:\\x.exe\0", 9), "1", "C:\\x.exe"},
            {std::string("ab\0\0", 4), "1", std::string("ab\0", 3)},
            {"\x05\x01", "4", "261"},
            {std::string("\0\0\0\x80", 4), "4", "2147483648"},
            {"\xFF\xFF\xFF\xFF", "4", "4294967295"},
            {"", "4", "0"},
            {"text", "2", "before"},
        };
        for (const auto &[bytes, type, expected] : rows) {
            std::string text = "before";
            RegistryValueText(std::vector<uint8_t>(bytes.begin(), bytes.end()), std::stoul(type),
                              text);
            QVERIFY2(text == expected, bytes.c_str());
        }
    }

    void freshWindowsDrawAnew()
    {
        // Each window seeds its own source: two windows, and a source that was never seeded,
        // draw different first numbers (the size and mode of the first File > New).
        RandomSource unseeded;
        const uint64_t first = WindowUnderTest().Window->Random().Next32();
        QCOMPARE_NE(first, WindowUnderTest().Window->Random().Next32());
        QCOMPARE_NE(first, unseeded.Next32());
    }

    // The recent files outlast the window; one that has gone leaves the list with a message,
    // one that is no map is refused as File > Open refuses it.
    void recentFiles()
    {
        TempDir dir;
        for (const char *name : {"a.swd", "b.swd", "c.swd"})
            fs::copy_file(kMaps + "example.swd", dir.File(name));
        {
            WindowUnderTest t;
            for (const char *name : {"a.swd", "b.swd", "a.swd", "c.swd"})
                t.Open(dir.File(name));
        }
        WindowUnderTest t(true);
        const QString folder = QDir::fromNativeSeparators(Q(dir.Path().string())) + u'/';
        QCOMPARE(t.Window->RecentFiles(),
                 QStringList({folder + u"c.swd"_s, folder + u"a.swd"_s, folder + u"b.swd"_s}));
        fs::remove(dir.File("c.swd"));
        fs::copy_file(kMaps + "notmap.swd", dir.File("a.swd"),
                      fs::copy_options::overwrite_existing);
        t.Child<QAction>(u"mnuFileRecent1"_s)->trigger();
        t.Child<QAction>(u"mnuFileRecent1"_s)->trigger();
        QCOMPARE(t.Window->RecentFiles(), QStringList({folder + u"a.swd"_s, folder + u"b.swd"_s}));
        QCOMPARE(t.Log.size(), 2);
        QVERIFY2(t.Log[0].contains(u"c.swd' is no longer there"_s), qPrintable(t.Log[0]));
        QVERIFY2(t.Log[1].contains(u"Not a Settlers II map file"_s), qPrintable(t.Log[1]));
        QCOMPARE(t.Child<QAction>(u"mnuFileRecent3"_s)->isVisible(), false);
    }

    // File > New with choices makes the bytes the command line makes from the same choices,
    // and proposes a fresh seed each time.
    void newMapWithChoices()
    {
        TempDir dir;
        WindowUnderTest t;
        std::vector<uint64_t> proposed;
        NewMapChoice choice;
        t.Window->SetNewMapChooser([&](QWidget *, uint64_t seed) {
            proposed.push_back(seed);
            return std::optional(choice);
        });
        for (const NewMapChoice &c :
             {NewMapChoice{64, 96, true, 1, 1}, NewMapChoice{160, 64, false, 2, 42},
              NewMapChoice{80, 80, false, 0, 18446744073709551615ull},
              NewMapChoice{64, 64, true, 2, 5, 7}, NewMapChoice{128, 96, false, 0, 9, 3},
              NewMapChoice{96, 64, true, 1, 6, 2, true},
              NewMapChoice{128, 128, false, 0, 7, 4, true}}) {
            choice = c;
            t.Messages->Answers = {MessageAnswer::Discard}; // the map made before
            t.Child<QAction>(u"mnuFileNewWithChoices"_s)->trigger();
            QVERIFY2(SameAsCopiedCommand(t, dir), qPrintable(QGuiApplication::clipboard()->text()));
            QCOMPARE(t.Child<QLabel>(u"lblSeed"_s)->text().section(u' ', 1, 1),
                     QString::number(c.Seed));
            // The players and how far apart their headquarters are.
            const auto *seedLine = t.Child<QLabel>(u"lblSeed"_s);
            QCOMPARE(seedLine->text().endsWith(u", %1 players"_s.arg(c.Players)),
                     c.Players > 0 && !c.Symmetric);
            QCOMPARE(seedLine->text().endsWith(u", %1 players, symmetric"_s.arg(c.Players)),
                     c.Symmetric);
            QCOMPARE(seedLine->toolTip().contains(u"%1 steps apart"_s.arg(
                         SmallestDistance(PointGrid(t.Window->Document()),
                                          FindHeadquartersMarks(t.Window->Document()))
                             .value_or(-1))),
                     c.Players > 1);
        }
        QVERIFY(proposed.size() == 7 && proposed[0] != proposed[1] && proposed[1] != proposed[2]);
        // File > New: the seed alone makes the same map, and so does the command copied.
        t.Window->Random().Seed(11);
        for (int i = 0; i < 4; ++i) {
            t.Messages->Answers = {MessageAnswer::Discard};
            t.Child<QAction>(u"mnuFileGenerate"_s)->trigger();
            const QString seed = t.Child<QLabel>(u"lblSeed"_s)->text().section(u' ', 1, 1);
            QCOMPARE(RunCli({u"generate"_s, u"--seed"_s, seed, u"-o"_s, Q(dir.File("alone.swd"))}),
                     0);
            QVERIFY2(ReadBytes(dir.File("alone.swd")) == WriteMapBytes(t.Window->Document()),
                     qPrintable(seed));
            QVERIFY(SameAsCopiedCommand(t, dir));
        }
        // The dialog remembers the last choices, and proposes a fresh seed.
        {
            NewMapDialog chosen(nullptr, 1);
            chosen.SetChoice(choice);
            chosen.accept();
        }
        NewMapChoice again = choice;
        again.Seed = 2;
        QCOMPARE(NewMapDialog(nullptr, 2).Choice(), std::optional(again));
        // The dialog takes only a decimal seed that fits in 64 bits.
        NewMapDialog dialog(nullptr, 7);
        dialog.SetChoice(choice);
        QCOMPARE(dialog.Choice(), std::optional(choice));
        // A symmetric map is for 2 or 4 players only.
        auto *symmetric = dialog.findChild<QCheckBox *>(u"chkSymmetric"_s);
        for (const int players : {0, 1, 3, 5, 6, 7, 2, 4}) {
            dialog.findChild<QSpinBox *>(u"spnPlayers"_s)->setValue(players);
            symmetric->setChecked(true);
            QCOMPARE(symmetric->isEnabled(), players == 2 || players == 4);
            QCOMPARE(dialog.Choice()->Symmetric, players == 2 || players == 4);
        }
        for (const QString &text : {u"18446744073709551616"_s, u"-1"_s, u"1e3"_s, u""_s, u"٣"_s}) {
            dialog.findChild<QLineEdit *>(u"txtSeed"_s)->setText(text);
            QVERIFY2(!dialog.Choice(), qPrintable(text));
        }
    }

    // Every menu item and button has an access key, none twice in one menu or dialog, in every
    // language; each field is named after its caption for screen readers.
    void accessKeys_data()
    {
        QTest::addColumn<QString>("language");
        for (const QString &code : AvailableLanguages())
            QTest::newRow(qPrintable(code)) << code;
    }

    void accessKeys()
    {
        QFETCH(QString, language);
        QCOMPARE(UseLanguage(language), language);
        QStringList faults;
        const auto check = [&faults](const QString &where, const QStringList &texts) {
            QList<int> keys;
            for (const QString &text : texts) {
                const int key = QKeySequence::mnemonic(text)[0].key();
                if (key == 0 || keys.contains(key))
                    faults << where + u": "_s + text;
                keys << key;
            }
        };
        const auto texts = [](const auto &items) {
            QStringList shown;
            for (const auto *item : items)
                if (!item->isSeparator() && item->isVisible())
                    shown << item->text();
            return shown;
        };
        {
            WindowUnderTest t;
            check(u"menu bar"_s, texts(t.Window->menuBar()->actions()));
            for (const QMenu *menu : t.Window->findChildren<QMenu *>())
                check(menu->objectName(), texts(menu->actions()));
            QStringList buttons;
            for (const QPushButton *button : t.Window->findChildren<QPushButton *>())
                buttons << button->text();
            check(u"window"_s, buttons);
            for (const QLabel *caption : t.Window->findChildren<QLabel *>())
                if (caption->buddy()) {
                    const QString name = QAccessible::queryAccessibleInterface(caption->buddy())
                                             ->text(QAccessible::Name);
                    if (!QString(caption->text()).remove(u'&').startsWith(name) || name.isEmpty())
                        faults << caption->buddy()->objectName() + u" is named "_s + name;
                }
            // The save question: its own access keys, centred on the window; Alt+D discards.
            QTimer::singleShot(0, [&] {
                auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                QStringList keys;
                for (const QAbstractButton *button : box->buttons())
                    keys << button->text();
                check(u"question"_s, keys);
                if ((box->geometry().center() - t.Window->geometry().center()).manhattanLength()
                    > 4)
                    faults << u"the question is not centred on the window"_s;
                QAbstractButton *discard = box->button(QMessageBox::Discard);
                if (language == u"en"_s
                    && QKeySequence::mnemonic(discard->text()) != QKeySequence(Qt::ALT | Qt::Key_D))
                    faults << u"Alt+D does not discard"_s;
                discard->click();
            });
            if (QtMessageBoxes().Show(t.Window.get(), u"?"_s, u"?"_s, MessageIcon::None,
                                      MessageButtons::SaveDiscardCancel)
                != MessageAnswer::Discard)
                faults << u"Discard does not discard"_s;
        }
        NewMapDialog dialog(nullptr, 1);
        QStringList fields;
        for (const QAbstractButton *button : dialog.findChildren<QAbstractButton *>())
            fields << button->text();
        for (const QLabel *caption : dialog.findChildren<QLabel *>())
            fields << caption->text();
        check(u"New map"_s, fields);
        UseLanguage(u"en"_s);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }

    // View > Language is remembered and takes the next window into that language.
    void language()
    {
        WindowUnderTest t;
        t.Child<QAction>(u"mnuViewLanguage_de"_s)->trigger();
        QCOMPARE(QSettings().value(kLanguageKey).toString(), u"de"_s);
        QCOMPARE(t.Log.size(), 1);
        UseLanguage(QSettings().value(kLanguageKey).toString());
        WindowUnderTest german(true);
        QCOMPARE(german.Child<QAction>(u"mnuViewLanguage_de"_s)->isChecked(), true);
        QCOMPARE(german.Window->menuBar()->actions().front()->text(), u"&Datei"_s);
        QCOMPARE(german.Child<QGroupBox>(u"Frame0"_s)->title() == u"Map information"_s, false);
        UseLanguage(u"en"_s);
    }

    // Names in any script: palettes are found in a program folder whose name is not ASCII, a
    // map there opens and saves under its own name, and a missing or damaged palette is told
    // once rather than leaving a silently black picture.
    void unicodePaths()
    {
        TempDir dir;
        const QString folder = Q(dir.File("Jürgen Ørsted"));
        QVERIFY(QDir().mkpath(folder + u"/Kärten"_s) && QDir().mkpath(folder + u"/Ölberg"_s));
        for (const QString &name : {u"Greenland.pal"_s, u"Wasteland.pal"_s, u"Winter.pal"_s}) {
            QVERIFY(QFile::copy(TRELVIK_PALETTE_DIR u"/"_s + name, folder + u'/' + name));
            WriteBytes((folder + u"/Ölberg/"_s + name).toStdString(),
                       {'J', 'A',  'S',  'C', '-', 'P', 'A',  'L',  '\r', '\n', '0', '1',  '0',
                        '0', '\r', '\n', '2', '5', '6', '\r', '\n', '1',  ' ',  '2', '\r', '\n'});
        }
        const MapDocument map = MakeDocument(64, 48, 2);
        const std::string ascii = dir.File("plain.swd");
        const std::string named = (folder + u"/Kärten/Tür.swd"_s).toStdString();
        WriteBytes(ascii, WriteMapBytes(map));
        WriteBytes(named, WriteMapBytes(map));
        WindowUnderTest t;
        t.Open(ascii);
        const QImage plain = t.Window->CurrentPicture();
        t.Window->SetProgramDir(folder);
        t.Open(named);
        QCOMPARE(t.Child<QLineEdit>(u"Filename"_s)->text(), Q(named));
        QVERIFY(t.Window->CurrentPicture() == plain);
        t.Dialogs->Choose(folder + u"/Kärten/Öl.swd"_s);
        t.Child<QAction>(u"mnuFileSaveAs"_s)->trigger();
        QVERIFY(ReadBytes((folder + u"/Kärten/Öl.swd"_s).toStdString()) == WriteMapBytes(map));
        QVERIFY2(t.Log.filter(u"critical"_s).isEmpty(), qPrintable(t.Log.join(u'\n')));
        const struct
        {
            QString Dir;
            QString Says;
        } broken[] = {{u"/Kärten"_s, u"is missing or cannot be read"_s},
                      {u"/Ölberg"_s, u"is damaged"_s}};
        for (const auto &row : broken) {
            t.Log.clear();
            t.Window->SetProgramDir(folder + row.Dir);
            for (int i = 0; i < 2; ++i) { // told once, not at every picture
                t.Select(2);
                t.Select(1);
            }
            QCOMPARE(t.Log.size(), 1);
            QVERIFY2(t.Log.front().contains(row.Says)
                         && t.Log.front().contains(QDir::toNativeSeparators(folder + row.Dir)),
                     qPrintable(t.Log.front()));
        }
    }

    void programStarts()
    {
        // The program runs until it is ended, with an empty window or with the map named as its
        // argument, which it reads at start: the map joins its recent files.
        TempDir dir;
        const QString map = Q(dir.File("started.swd"));
        fs::copy_file(kMaps + "example.swd", map.toStdString());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        const std::unique_ptr<QSettings> settings = StartedProgramSettings(environment, dir);
        QProcess empty;
        QProcess opening;
        for (QProcess *program : {&empty, &opening})
            program->setProcessEnvironment(environment);
        empty.start(QStringLiteral(TRELVIK_BIN_DIR "/trelvik"), {});
        opening.start(QStringLiteral(TRELVIK_BIN_DIR "/trelvik"), {map});
        QVERIFY(QTest::qWaitFor(
            [&] {
                settings->sync();
                return settings->value(u"recentFiles"_s)
                    .toStringList()
                    .contains(QFileInfo(map).absoluteFilePath());
            },
            20000));
        QVERIFY(!empty.waitForFinished(200) && !opening.waitForFinished(10));
        empty.kill();
        opening.kill();
        QVERIFY(empty.waitForFinished() && opening.waitForFinished());
        // --help and --version answer without a window; other options are refused.
        const struct
        {
            QString Argument;
            int Status;
            QString Says;
        } runs[] = {{u"--help"_s, 0, u"Usage: trelvik [MAP]"_s},
                    {u"-v"_s, 0,
                     Text(u"trelvik %1.%2.%3\n"_s, frmAbout::kVersionMajor, frmAbout::kVersionMinor,
                          frmAbout::kVersionRevision)},
                    {u"--bogus"_s, 2, u"trelvik: unknown option '--bogus'"_s}};
        for (const auto &run : runs) {
            QProcess program;
            program.setProcessChannelMode(QProcess::MergedChannels);
            program.start(QStringLiteral(TRELVIK_BIN_DIR "/trelvik"), {run.Argument});
            QVERIFY2(program.waitForFinished(20000) && program.exitCode() == run.Status
                         && QString::fromUtf8(program.readAll()).remove(u'\r').contains(run.Says),
                     qPrintable(run.Argument));
        }
    }
};

QTEST_MAIN(AppTest)
#include "test_app.moc"
