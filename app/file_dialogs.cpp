// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_dialogs.h"

#include <QFileDialog>
#include <QRegularExpression>

namespace trelvik {

QString QtFilterText(const FileFilter &filter)
{
    QString description = filter.Description;
    static const QRegularExpression kTrailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    description.remove(kTrailingPatterns);
    QStringList patterns;
    for (const QString &pattern : filter.Patterns)
        patterns << (pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern);
    if (patterns.isEmpty())
        patterns << QStringLiteral("*");
    return description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

QString FilterExtension(const FileFilter &filter)
{
    if (filter.Patterns.isEmpty())
        return {};
    const QString &first = filter.Patterns.front();
    if (!first.startsWith(QLatin1String("*.")))
        return {};
    const QString extension = first.mid(2);
    static const QRegularExpression kPlainExtension(QStringLiteral("^[A-Za-z0-9_]+$"));
    return kPlainExtension.match(extension).hasMatch() ? extension : QString();
}

FileDialogAnswer QtFileDialogs::ShowOpen(const FileDialogRequest &request)
{
    return Show(request, false);
}

FileDialogAnswer QtFileDialogs::ShowSave(const FileDialogRequest &request)
{
    return Show(request, true);
}

FileDialogAnswer QtFileDialogs::Show(const FileDialogRequest &request, bool save)
{
    QFileDialog dialog(request.Owner, request.Title, request.InitialDirectory);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.ConfirmOverwrite);
    if (!request.InitialFile.isEmpty())
        dialog.selectFile(request.InitialFile);
    // Qt's dialogs have no read-only check box, so HideReadOnly asks for nothing here.

    QStringList nameFilters;
    for (const FileFilter &filter : request.Filters)
        nameFilters << QtFilterText(filter);
    dialog.setNameFilters(nameFilters);
    const int selected = request.SelectedFilter >= 0 && request.SelectedFilter < nameFilters.size()
                             ? request.SelectedFilter
                             : 0;

    // The suffix follows the chosen filter, so the dialog asks about overwriting the name that
    // will really be written.
    const auto suffixFor = [&request](int index) {
        if (index < 0 || index >= request.Filters.size())
            return request.DefaultExtension;
        const QString extension = FilterExtension(request.Filters.at(index));
        return extension.isEmpty() ? request.DefaultExtension : extension;
    };
    if (!nameFilters.isEmpty()) {
        dialog.selectNameFilter(nameFilters.at(selected));
        if (save) {
            dialog.setDefaultSuffix(suffixFor(selected));
            QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                             [&dialog, &nameFilters, &suffixFor](const QString &chosen) {
                                 dialog.setDefaultSuffix(suffixFor(nameFilters.indexOf(chosen)));
                             });
        }
    }

    FileDialogAnswer answer;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return answer;
    answer.Confirmed = true;
    answer.Path = dialog.selectedFiles().front();
    answer.SelectedFilter =
        std::max(0, static_cast<int>(nameFilters.indexOf(dialog.selectedNameFilter())));
    return answer;
}

} // namespace trelvik
