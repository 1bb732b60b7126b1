// SPDX-License-Identifier: GPL-3.0-or-later
#include "message_boxes.h"

#include <QMessageBox>

namespace trelvik {

MessageAnswer QtMessageBoxes::Show(QWidget *owner,
                                   const QString &text,
                                   const QString &title,
                                   MessageIcon icon,
                                   MessageButtons buttons)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));

    QMessageBox box(owner);
    box.setWindowTitle(title);
    box.setText(shown);
    box.setTextFormat(Qt::PlainText);
    switch (icon) {
    case MessageIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    if (buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    if (buttons == MessageButtons::SaveDiscardCancel) {
        box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Save);
        box.setEscapeButton(QMessageBox::Cancel);
        const int answer = box.exec();
        return answer == QMessageBox::Save      ? MessageAnswer::Save
               : answer == QMessageBox::Discard ? MessageAnswer::Discard
                                                : MessageAnswer::Cancel;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MessageAnswer::Ok;
}

} // namespace trelvik
