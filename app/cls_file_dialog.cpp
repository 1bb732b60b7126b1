// SPDX-License-Identifier: GPL-3.0-or-later
#include "cls_file_dialog.h"

#include <QFileInfo>

namespace trelvik {

void clsFileDialog::SetFilter(const QString &filter)
{
    filter_ = filter;
    filter_.replace(QLatin1Char('|'), QChar(0));
    if (!filter_.endsWith(QChar(0)))
        filter_ += QChar(0);
}

QList<FileFilter> clsFileDialog::Filters() const
{
    QStringList pieces = filter_.split(QChar(0));
    // The text always ends in a 0 character, which leaves one empty piece at the end.
    if (!pieces.isEmpty() && pieces.back().isEmpty())
        pieces.removeLast();
    QList<FileFilter> filters;
    for (qsizetype i = 0; i < pieces.size(); i += 2) {
        FileFilter filter;
        filter.Description = pieces.at(i);
        const QString patterns = i + 1 < pieces.size() ? pieces.at(i + 1) : QString();
        filter.Patterns = patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString &pattern : filter.Patterns)
            pattern = pattern.trimmed();
        filters << filter;
    }
    return filters;
}

FileDialogRequest clsFileDialog::Request() const
{
    FileDialogRequest request;
    request.Owner = owner_;
    request.Filters = Filters();
    request.SelectedFilter = filterIndex_ > 0 ? filterIndex_ - 1 : 0;
    request.InitialDirectory = initialDirectory_;
    request.InitialFile = initialFile_;
    request.Title = windowTitle_;
    request.DefaultExtension = defaultExtension_;
    if (request.DefaultExtension.startsWith(QLatin1Char('.')))
        request.DefaultExtension.remove(0, 1);
    request.HideReadOnly = (flags_ & kHideReadOnly) != 0;
    request.ConfirmOverwrite = (flags_ & kOverwritePrompt) != 0;
    return request;
}

bool clsFileDialog::FileOpen(QString &Filename)
{
    const FileDialogAnswer answer = dialogs_.ShowOpen(Request());
    if (!answer.Confirmed || answer.Path.isEmpty())
        return false;
    Filename = answer.Path;
    return true;
}

bool clsFileDialog::FileSave(QString &Filename)
{
    const FileDialogRequest request = Request();
    const FileDialogAnswer answer = dialogs_.ShowSave(request);
    if (!answer.Confirmed || answer.Path.isEmpty())
        return false;

    QString path = answer.Path;
    if (QFileInfo(path).suffix().isEmpty() && !path.endsWith(QLatin1Char('/'))) {
        QString extension;
        if (answer.SelectedFilter >= 0 && answer.SelectedFilter < request.Filters.size())
            extension = FilterExtension(request.Filters.at(answer.SelectedFilter));
        if (extension.isEmpty())
            extension = request.DefaultExtension;
        if (!extension.isEmpty()) {
            if (!path.endsWith(QLatin1Char('.')))
                path += QLatin1Char('.');
            path += extension;
        }
    }
    Filename = path;
    return true;
}

} // namespace trelvik
