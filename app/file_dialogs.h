// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace trelvik {

// One filter of a file dialog: what the user reads and the name patterns it stands for.
struct FileFilter
{
    QString Description;
    QStringList Patterns;
};

// Everything a file dialog is shown with.
struct FileDialogRequest
{
    QWidget *Owner = nullptr;
    QList<FileFilter> Filters;
    // 0-based; an index outside the list selects the first filter.
    int SelectedFilter = 0;
    QString InitialDirectory;
    // The name proposed in a save dialog, without folder; may be empty.
    QString InitialFile;
    QString Title;
    // Without the dot; used for a typed name without one when the chosen filter names none.
    QString DefaultExtension;
    bool HideReadOnly = false;
    bool ConfirmOverwrite = false;
};

struct FileDialogAnswer
{
    bool Confirmed = false;
    QString Path;
    // 0-based index of the filter in force when the user confirmed.
    int SelectedFilter = 0;
};

// The two common dialogs, reached through an interface so that tests can choose a path or
// cancel without a dialog on screen.
class FileDialogs
{
public:
    virtual ~FileDialogs() = default;
    virtual FileDialogAnswer ShowOpen(const FileDialogRequest &request) = 0;
    virtual FileDialogAnswer ShowSave(const FileDialogRequest &request) = 0;
};

// "Settlers II map files (*.dat *.swd *.wld)": Qt reads the patterns from the parentheses,
// separated by blanks. A description that already ends in parentheses has them replaced; the
// Windows pattern "*.*" becomes "*", which matches every name as it does there.
QString QtFilterText(const FileFilter &filter);

// The extension a save name gets from a filter ("swd" for "*.swd"), or empty when its first
// pattern names no single extension.
QString FilterExtension(const FileFilter &filter);

// Modal QFileDialog.
class QtFileDialogs : public FileDialogs
{
public:
    FileDialogAnswer ShowOpen(const FileDialogRequest &request) override;
    FileDialogAnswer ShowSave(const FileDialogRequest &request) override;

private:
    FileDialogAnswer Show(const FileDialogRequest &request, bool save);
};

} // namespace trelvik
