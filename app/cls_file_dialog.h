// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "file_dialogs.h"

#include <cstdint>

#include <QString>

class QWidget;

namespace trelvik {

// One open or save dialog: the window makes a new one for each Open and Save As, sets its
// properties, calls FileOpen or FileSave once and drops it.
class clsFileDialog
{
public:
    // The flags the program uses, with the values of the common dialogs.
    static constexpr int32_t kOverwritePrompt = 2;
    static constexpr int32_t kHideReadOnly = 4;

    explicit clsFileDialog(FileDialogs &dialogs)
        : dialogs_(dialogs)
    {}

    const QString &DefaultExtension() const { return defaultExtension_; }
    void SetDefaultExtension(const QString &extension) { defaultExtension_ = extension; }

    // Descriptions and patterns in alternation, separated by "|"; patterns within one filter
    // by ";".
    void SetFilter(const QString &filter);
    // The filter list as the common dialogs take it: every "|" a 0 character, each entry ending
    // in one and the list ending in a second one.
    QString PlatformFilter() const { return filter_ + QChar(0); }
    // The filters as the dialog shows them.
    QList<FileFilter> Filters() const;

    // 1-based as in the common dialogs; 0 selects the first filter too.
    int32_t FilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int32_t index) { filterIndex_ = index; }

    int32_t Flags() const { return flags_; }
    void SetFlags(int32_t flags) { flags_ = flags; }

    const QString &InitialDirectory() const { return initialDirectory_; }
    void SetInitialDirectory(const QString &directory) { initialDirectory_ = directory; }
    void SetInitialFile(const QString &name) { initialFile_ = name; }

    void SetObjectOwner(QWidget *owner) { owner_ = owner; }

    const QString &WindowTitle() const { return windowTitle_; }
    void SetWindowTitle(const QString &title) { windowTitle_ = title; }

    // True when the user chose a file; `Filename` then holds its full path and is otherwise
    // left as it was.
    bool FileOpen(QString &Filename);
    // True when the user chose a name. A name typed without an extension gets the one of the
    // filter in force (".swd" for "*.swd"), or DefaultExtension when that filter names none.
    bool FileSave(QString &Filename);

private:
    FileDialogRequest Request() const;

    FileDialogs &dialogs_;
    QString defaultExtension_;
    QString filter_;
    int32_t filterIndex_ = 0;
    int32_t flags_ = 0;
    QString initialDirectory_;
    QString initialFile_;
    QWidget *owner_ = nullptr;
    QString windowTitle_;
};

} // namespace trelvik
