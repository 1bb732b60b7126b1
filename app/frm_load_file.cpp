// SPDX-License-Identifier: GPL-3.0-or-later
// The file commands: Open, Save, Save As, Reload and the open routine they share.
#include "core_texts.h"
#include "document/map_file.h"
#include "frm_load.h"
#include "viewer/composed_view.h"

#include <algorithm>
#include <string_view>

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QUndoStack>

namespace trelvik {
namespace {

const char *const kOpenFilter = QT_TRANSLATE_NOOP(
    "trelvik::frmLoad",
    "Settlers II map files (*.dat;*.swd;*.wld)|*.dat;*.swd;*.wld|All files (*.*)|*.*");

} // namespace

bool frmLoad::HasMap() const
{
    return session_->HasMap();
}

void frmLoad::mnuFileOpen_Click()
{
    if (!MaybeSave())
        return;
    clsFileDialog dialog(*dialogs_);
    dialog.SetFilter(tr(kOpenFilter));
    dialog.SetFlags(clsFileDialog::kHideReadOnly);
    dialog.SetObjectOwner(this);
    dialog.SetWindowTitle(tr("Open file..."));
    QString path;
    if (!dialog.FileOpen(path))
        return;
    OpenMapFile(path);
}

bool frmLoad::OpenMapFile(const QString &path)
{
    // The path becomes the current file only once the map is read: after a rejected file,
    // Save must still write to the file the shown map came from.
    if (!LoadMap(path))
        return false;
    VScroll1->setEnabled(true);
    VScroll1_Change();
    return true;
}

bool frmLoad::LoadMap(const QString &path)
{
    // Devices and pipes may never end (/dev/zero) or block on opening (a pipe without a
    // writer), so only files and folders reach the reader; a folder is turned away by it.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile() && !info.isDir()) {
        Message(tr("Cannot open the file '%1': it is not a regular file.").arg(path),
                MessageIcon::Critical, MessageButtons::Ok, tr("Error"));
        return false;
    }
    const ReadResult result = session_->Open(path);
    if (!result.Ok()) {
        Message(CoreText(result.Message), MessageIcon::Critical, MessageButtons::Ok, tr("Error"));
        return false;
    }
    RememberFile(path);
    return true;
}

void frmLoad::mnuFileSave_Click()
{
    Save();
}

void frmLoad::mnuFileSaveAs_Click()
{
    SaveAs();
}

bool frmLoad::SaveTo(const QString &path)
{
    // A name or author typed and not yet stored is saved with the map; the stored bytes are
    // kept as they are otherwise (they need not be what the fields show, byte for byte).
    if (HasPendingText())
        StorePendingText();
    const WriteResult result = session_->Save(path);
    if (!result.Ok) {
        // The message is about the file named; the map's own file shows again after it.
        Filename->setText(path);
        Message(CoreText(result.Message), MessageIcon::Critical, MessageButtons::Ok, tr("Error"));
        Filename->setText(session_->Path());
        return false;
    }
    RememberFile(path);
    UpdateModified();
    Message(tr("File '%1' saved successfully!").arg(path), MessageIcon::Information);
    return true;
}

void frmLoad::butReload_Click()
{
    if (session_->Path().isEmpty()) {
        Message(tr("Can't reload from file: map not saved"), MessageIcon::Information);
        return;
    }
    if (!MaybeSave())
        return;
    if (LoadMap(session_->Path()))
        VScroll1_Change();
}

} // namespace trelvik
