// SPDX-License-Identifier: GPL-3.0-or-later
// What keeps edits from being lost: the changed mark, the question before a map is dropped,
// undo and redo, the recent files, Save and Save As, and File > New with choices.
#include "controls/insane_progress.h"
#include "edit_commands.h"
#include "frm_load.h"
#include "map_view.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QSettings>
#include <QUndoStack>

namespace trelvik {
namespace {

const char *const kSaveFilter =
    QT_TRANSLATE_NOOP("trelvik::frmLoad",
                      "Settlers II Map Editor file (*.swd)|*.swd|Settlers II "
                      "World file (*.wld)|*.wld|All files (*.*)|*.*");
const QString kRecentKey = QStringLiteral("recentFiles");
constexpr qsizetype kRecentCount = 8;

std::optional<NewMapChoice> AskForNewMap(QWidget *owner, uint64_t proposedSeed)
{
    NewMapDialog dialog(owner, proposedSeed);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Choice();
}

} // namespace

QStringList frmLoad::RecentFiles() const
{
    return settings_->value(kRecentKey).toStringList();
}

void frmLoad::UpdateModified()
{
    setWindowModified(session_->Modified() || (HasMap() && HasPendingText()));
}

bool frmLoad::MaybeSave()
{
    if (!isWindowModified())
        return true;
    const QString &path = session_->Path();
    const QString name = path.isEmpty() ? txtTitle->text() : QFileInfo(path).fileName();
    switch (Message(tr("Save changes to %1?").arg(name), MessageIcon::None,
                    MessageButtons::SaveDiscardCancel)) {
    case MessageAnswer::Save:
        return Save();
    case MessageAnswer::Discard:
        return true;
    default:
        return false;
    }
}

bool frmLoad::Save()
{
    if (!HasMap()) {
        Message(tr("There is no map to save yet"), MessageIcon::Information);
        return false;
    }
    if (session_->Path().isEmpty())
        return SaveAs();
    return SaveTo(session_->Path());
}

bool frmLoad::SaveAs()
{
    if (!HasMap()) {
        Message(tr("There is no map to save yet"), MessageIcon::Information);
        return false;
    }
    const QFileInfo current(session_->Path());
    clsFileDialog dialog(*dialogs_);
    dialog.SetFilter(tr(kSaveFilter));
    dialog.SetFlags(clsFileDialog::kOverwritePrompt);
    // The current file proposes its folder, its name and its type; a .dat map is written in
    // the full layout, so it proposes the .swd name. A new map proposes its own name.
    const QString suffix = current.suffix().toLower();
    dialog.SetDefaultExtension(suffix == QStringLiteral("dat") ? QStringLiteral("swd")
                                                               : current.suffix());
    dialog.SetFilterIndex(suffix == QStringLiteral("wld") ? 2 : 1);
    if (session_->Path().isEmpty()) {
        dialog.SetInitialFile(txtTitle->text().trimmed() + QStringLiteral(".swd"));
    } else {
        dialog.SetInitialDirectory(current.absolutePath());
        dialog.SetInitialFile(suffix == QStringLiteral("wld")
                                  ? current.fileName()
                                  : current.completeBaseName() + QStringLiteral(".swd"));
    }
    dialog.SetObjectOwner(this);
    dialog.SetWindowTitle(tr("Save map as..."));
    QString path;
    if (!dialog.FileSave(path))
        return false;
    // The session takes the name only once the file is written, so nothing points at a file
    // that was not made.
    return SaveTo(path);
}

void frmLoad::RememberFile(const QString &path)
{
    QStringList files = RecentFiles();
    const QString full = QFileInfo(path).absoluteFilePath();
    files.removeAll(full);
    files.prepend(full);
    settings_->setValue(kRecentKey, files.mid(0, kRecentCount));
    ShowRecentFiles();
}

void frmLoad::ShowRecentFiles()
{
    const QStringList files = RecentFiles();
    for (qsizetype i = 0; i < kRecentCount; ++i) {
        QAction *item = mnuFileRecent[static_cast<std::size_t>(i)];
        item->setVisible(i < files.size());
        if (i < files.size())
            item->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(files.at(i)));
    }
}

void frmLoad::OpenRecentFile(int index)
{
    QStringList files = RecentFiles();
    if (index < 0 || index >= files.size() || !MaybeSave())
        return;
    const QString path = files.at(index);
    if (!QFileInfo::exists(path)) {
        files.removeAt(index);
        settings_->setValue(kRecentKey, files);
        ShowRecentFiles();
        Message(QStringLiteral("The file '%1' is no longer there; it is taken off the list of "
                               "recent files.")
                    .arg(path),
                MessageIcon::Information);
        return;
    }
    OpenMapFile(path);
}

void frmLoad::ShowChange(const SessionChange &change)
{
    if (change.Header)
        ShowHeaderInfo();
    if (change.Animals)
        FillAnimalList();
    if (change.Areas)
        FillAreaList();
    picBG->SetToolMarks({});
    if (change.AllPoints)
        VScroll1_Change();
    else if (!change.Points.empty())
        ShowChangedPoints(change.Points);
}

void frmLoad::mnuFileNewWithChoices_Click()
{
    if (!MaybeSave())
        return;
    const auto chooser = newMapChooser_ ? newMapChooser_ : AskForNewMap;
    const std::optional<NewMapChoice> choice =
        chooser(this, QRandomGenerator::system()->generate64());
    if (choice)
        GenerateMap(choice->Width, choice->Height, choice->QuickMode, choice->Seed,
                    choice->WorldType, choice->Players, choice->Symmetric);
}

} // namespace trelvik
