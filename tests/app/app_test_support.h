// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the window tests share: scripted message boxes and file dialogs that note what they show
// in one log, a window wired to them, everything the window shows as text, golden files.
#include "app/file_dialogs.h"
#include "app/frm_load.h"
#include "app/map_view.h"
#include "app/message_boxes.h"
#include "document/map_file.h"
#include "test_maps.h"

#include <deque>
#include <memory>
#include <span>

#include <QDir>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTableWidget>
#include <QWindow>

namespace trelvik::test {

using namespace Qt::StringLiterals;

// The format with %1, %2, ... replaced by the arguments in turn.
template <typename... Args> QString Text(QString format, const Args &...args)
{
    ((format = format.arg(args)), ...);
    return format;
}

// The first of the queue, taken from it, or `otherwise` when it is empty.
template <typename T> T TakeFirst(std::deque<T> &queue, const T &otherwise)
{
    const T first = queue.empty() ? otherwise : queue.front();
    if (!queue.empty())
        queue.pop_front();
    return first;
}

inline QString Q(const std::string &text)
{
    return QString::fromStdString(text);
}

// Notes every message box as "message 'title' (icon, buttons): text [Filename: what the
// owner's file name field held]"; questions are answered from `Answers`, No (or Cancel) when
// it runs out.
struct FakeMessageBoxes : MessageBoxes
{
    explicit FakeMessageBoxes(QStringList &log)
        : Log(log)
    {}
    MessageAnswer Show(QWidget *owner,
                       const QString &text,
                       const QString &title,
                       MessageIcon icon,
                       MessageButtons buttons) override
    {
        const QString icons[] = {u"no icon"_s, u"information"_s, u"critical"_s};
        const auto *name = owner ? owner->findChild<QLineEdit *>(u"Filename"_s) : nullptr;
        const QString kind = icons[static_cast<int>(icon)]
                             + (buttons == MessageButtons::Ok      ? u", OK"_s
                                : buttons == MessageButtons::YesNo ? u", Yes/No"_s
                                                                   : u", Save/Discard/Cancel"_s);
        Log << Text(u"message '%1' (%2): %3 [Filename: %4]"_s, title, kind, text,
                    name ? name->text() : QString())
                   .replace(u"\r\n"_s, u"\\r\\n"_s);
        return buttons == MessageButtons::Ok      ? MessageAnswer::Ok
               : buttons == MessageButtons::YesNo ? TakeFirst(Answers, MessageAnswer::No)
                                                  : TakeFirst(Answers, MessageAnswer::Cancel);
    }

    QStringList &Log;
    std::deque<MessageAnswer> Answers;
};

// Notes every file dialog with its request and answers from `Answers`; none left cancels.
struct FakeFileDialogs : FileDialogs
{
    explicit FakeFileDialogs(QStringList &log)
        : Log(log)
    {}
    FileDialogAnswer ShowOpen(const FileDialogRequest &r) override { return Next(u"open"_s, r); }
    FileDialogAnswer ShowSave(const FileDialogRequest &r) override { return Next(u"save"_s, r); }
    FileDialogAnswer Next(const QString &kind, const FileDialogRequest &r)
    {
        QStringList filters;
        for (const FileFilter &filter : r.Filters)
            filters << filter.Description + u" ["_s + filter.Patterns.join(u' ') + u']';
        const QString options = QString(r.HideReadOnly ? u", hide read-only"_s : QString())
                                + (r.ConfirmOverwrite ? u", confirm overwrite"_s : QString());
        Log << Text(
            u"%1 dialog '%2', owner %3, filters %4, filter %5, folder '%6', extension '%7'%8%9"_s,
            kind, r.Title, r.Owner ? r.Owner->objectName() : u"none"_s, filters.join(u", "_s),
            r.SelectedFilter, r.InitialDirectory, r.DefaultExtension, options,
            r.InitialFile.isEmpty() ? QString() : u", name '%1'"_s.arg(r.InitialFile));
        return TakeFirst(Answers, FileDialogAnswer{});
    }
    // A negative filter leaves the answer's own default, as a dialog that reports none.
    void Choose(const QString &path, int filter = -1)
    {
        Answers.push_back(filter < 0 ? FileDialogAnswer{true, path}
                                     : FileDialogAnswer{true, path, filter});
    }

    QStringList &Log;
    std::deque<FileDialogAnswer> Answers;
};

// A window wired to the fakes and to the build's palettes; Help > About is noted in the log.
// The settings of a first start; the cases written for maps opened at 1:1 keep new maps unfitted.
inline bool ClearSettings()
{
    QSettings settings;
    settings.clear();
    settings.setValue(kFitNewMapsKey, false);
    return true;
}

struct WindowUnderTest
{
    QStringList Log;
    // A window starts with no recent files unless it stands for a restart (the settings live
    // in the test's own folder).
    bool settingsCleared;
    FakeMessageBoxes *Messages = new FakeMessageBoxes(Log);
    FakeFileDialogs *Dialogs = new FakeFileDialogs(Log);
    std::unique_ptr<frmLoad> Window = std::make_unique<frmLoad>(
        std::unique_ptr<MessageBoxes>(Messages), std::unique_ptr<FileDialogs>(Dialogs));

    explicit WindowUnderTest(bool restart = false)
        : settingsCleared(restart || ClearSettings())
    {
        Window->SetProgramDir(QStringLiteral(TRELVIK_PALETTE_DIR));
        Window->show(); // laid out as on the screen, the caption given to the window system
        Window->SetAboutHook(
            [this](QWidget *owner) { Log << u"About box of "_s + owner->objectName(); });
    }
    template <typename T = QWidget> T *Child(const QString &name) const
    {
        return Window->findChild<T *>(name);
    }
    void Open(const std::string &path) // File > Open, choosing `path`, edits dropped unasked
    {
        Window->setWindowModified(false);
        Dialogs->Choose(Q(path));
        Window->mnuFileOpen_Click();
    }
    void Select(int position) { Child<QScrollBar>(u"VScroll1"_s)->setValue(position); }
};

inline QString Hash(std::span<const uint8_t> bytes) // FNV-1a
{
    uint32_t hash = 2166136261u;
    for (const uint8_t byte : bytes)
        hash = (hash ^ byte) * 16777619u;
    return u"#%1"_s.arg(hash, 8, 16, QLatin1Char('0'));
}

inline QString Describe(const QImage &image, bool hashes)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const std::span bits(reinterpret_cast<const uint8_t *>(rgb.constBits()),
                         static_cast<std::size_t>(rgb.sizeInBytes()));
    return Text(u"%1 x %2"_s, rgb.width(), rgb.height()) + (hashes ? u' ' + Hash(bits) : QString());
}

// Everything the window shows, as text: caption (as shown), file name, every panel, the selector,
// the picture and the document, their contents as hashes unless `hashes` is false (a generated map
// differs from run to run).
inline QString Panels(const WindowUnderTest &t, bool hashes = true)
{
    QString out = u"caption: "_s + t.Window->windowHandle()->title()
                  + (t.Window->isVisible() ? u""_s : u" (window closed)"_s) + u'\n';
    for (const char *name :
         {"Filename", "txtTitle", "txtAuthor", "lblType", "lblSize", "lblPlayers", "S2info",
          "lblStarts", "tblStarts", "lblUnknown", "MapInfo", "LiF", "LiH"}) {
        const QString key = QLatin1String(name);
        QString text;
        if (const auto *label = t.Child<QLabel>(key))
            text = label->text();
        if (const auto *field = t.Child<QLineEdit>(key))
            text = field->text();
        if (const auto *table = t.Child<QTableWidget>(key)) {
            text = QString::number(table->rowCount()) + u" rows"_s;
            for (int r = 0; r < table->rowCount(); ++r) {
                text += u" | "_s + table->verticalHeaderItem(r)->text() + u':';
                for (int c = 0; c < table->columnCount(); ++c)
                    text +=
                        u' ' + table->item(r, c)->text()
                        + (table->item(r, c)->background().style() != Qt::NoBrush ? u"*"_s : u""_s);
            }
        }
        if (const auto *list = t.Child<QListWidget>(key)) {
            text = QString::number(list->count()) + u" rows"_s;
            for (int i = 0; i < list->count(); ++i)
                text += u" | "_s + list->item(i)->text();
        }
        out += key + u": "_s + text.replace(u'\n', u" / "_s).replace(u'\t', u"\\t"_s) + u'\n';
    }
    QString panels;
    for (int i = 0; i < frmLoad::kPanelCount; ++i)
        panels += t.Child(u"Frame%1"_s.arg(i))->isHidden() ? QString() : QString::number(i);
    const auto *selector = t.Child<QScrollBar>(u"VScroll1"_s);
    auto *view = t.Child<MapView>(u"picBG"_s);
    const QPoint offset = t.Window->PictureOffset();
    const QString shown = Describe(view->Picture(), hashes);
    const QPoint at =
        view->viewport()->pos() + QPoint(std::max(0, offset.x()), std::max(0, offset.y()));
    out += Text(u"panel %1 shown, selector at %2%3, progress bar %4\n"_s, panels, selector->value(),
                selector->isEnabled() ? u""_s : u" (disabled)"_s,
                t.Child(u"Pro"_s)->isHidden() ? u"hidden"_s : u"shown"_s);
    out += Text(u"picture at %1,%2, offset %3,%4: shown %5, whole %6\n"_s, at.x(), at.y(),
                offset.x(), offset.y(), shown, Describe(t.Window->CurrentPicture(), hashes));
    const ViewGeometry &g = view->Geometry();
    const auto selection = view->Selection();
    out += Text(u"zoom %1, pan %2,%3 of %4,%5, area %6 x %7; marks %8, selection %9\n"_s, g.Zoom,
                g.PanX, g.PanY, g.RangeX(), g.RangeY(), g.ViewWidth, g.ViewHeight,
                view->ToolMarks().size(),
                selection ? Text(u"%1,%2"_s, selection->X, selection->Y) : u"none"_s);
    out += u"inspector: "_s + WholeText(t.Child<QLabel>(u"Inspector"_s)) + u'\n';
    // The map check's panel once Tools > Check map has made it: its summary, its button and its
    // findings, the chosen one marked.
    if (const auto *dock = t.Child<QDockWidget>(u"dockCheck"_s)) {
        const auto *list = t.Child<QAbstractItemView>(u"lstCheck"_s);
        const auto *fix = t.Child<QPushButton>(u"butCheckFix"_s);
        const QAbstractItemModel *model = list->model();
        QString rows;
        for (int r = 0; r < model->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < model->columnCount(); ++c)
                cells << model->index(r, c).data().toString();
            rows += Text(u" | %1 %2%3: %4%5"_s, cells[0], cells[1],
                         cells[2].isEmpty() ? QString() : u" at "_s + cells[2], cells[3],
                         list->currentIndex().row() == r ? u" (chosen)"_s : QString());
        }
        out += Text(u"check panel %1: %2; button %3%4; %5 rows%6\n"_s,
                    dock->isHidden() ? u"hidden"_s : u"shown"_s,
                    t.Child<QLabel>(u"lblCheckSummary"_s)->text(), fix->text(),
                    fix->isEnabled() ? QString() : u", disabled"_s, model->rowCount(), rows);
    }
    // The brushes' tool bar once shown: what the brush does, the check's count and the step
    // Undo takes back.
    if (const auto *bar = t.Child<QWidget>(u"tbrBrushes"_s); bar && !bar->isHidden())
        out += Text(u"brush: %1; %2; %3; size %4\n"_s, t.Child<QLabel>(u"lblBrush"_s)->text(),
                    t.Child<QLabel>(u"lblBrushCheck"_s)->text(),
                    t.Child<QAction>(u"mnuEditUndo"_s)->text(),
                    t.Child<QWidget>(u"spnBrushSize"_s)->isEnabled() ? u"open"_s : u"fixed"_s);
    out += Text(u"composed view %1 points"_s, t.Window->Composed().size());
    return out + (hashes ? u", document "_s + Hash(WriteMapBytes(t.Window->Document())) : QString())
           + u'\n';
}

inline QString GoldenPath(const QString &name)
{
    return QStringLiteral(TRELVIK_TEST_DATA_DIR "/app/") + name;
}

inline bool UpdatingGolden()
{
    return qEnvironmentVariable("TRELVIK_UPDATE_GOLDEN") == "1"_L1;
}

// Where an actual file is saved next to its golden one: golden-actual/ in the working folder, or
// the golden file itself when TRELVIK_UPDATE_GOLDEN=1 asks for the golden files to be rewritten.
inline QString ActualPath(const QString &name)
{
    const QString path = UpdatingGolden()
                             ? GoldenPath(name)
                             : QDir::current().absoluteFilePath(u"golden-actual/"_s + name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    return path;
}

// Empty when `actual` matches the golden file tests/data/app/<name>; otherwise says so and where
// the actual file was saved.
inline QString GoldenDifference(const QString &name, const QByteArray &actual)
{
    QFile golden(GoldenPath(name));
    if (!UpdatingGolden() && golden.open(QIODevice::ReadOnly) && golden.readAll() == actual)
        return {};
    QFile file(ActualPath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(actual) != actual.size())
        return u"cannot write "_s + file.fileName();
    return UpdatingGolden() ? QString()
                            : Text(u"%1 differs from the golden file %2; the actual one is %3"_s,
                                   name, GoldenPath(name), file.fileName());
}

} // namespace trelvik::test
