// SPDX-License-Identifier: GPL-3.0-or-later
#include "message_boxes.h"

#include <utility>

#include <QAbstractButton>
#include <QCoreApplication>
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
    // Every button with its access key (Alt+D discards), whatever the platform's texts.
    const auto standard = [&box](QMessageBox::StandardButtons kinds) {
        box.setStandardButtons(kinds);
        const std::pair<QMessageBox::StandardButton, QString> texts[] = {
            {QMessageBox::Ok, QCoreApplication::translate("trelvik::MessageBoxes", "&OK")},
            {QMessageBox::Yes, QCoreApplication::translate("trelvik::MessageBoxes", "&Yes")},
            {QMessageBox::No, QCoreApplication::translate("trelvik::MessageBoxes", "&No")},
            {QMessageBox::Save, QCoreApplication::translate("trelvik::MessageBoxes", "&Save")},
            {QMessageBox::Discard,
             QCoreApplication::translate("trelvik::MessageBoxes", "&Discard")},
            {QMessageBox::Cancel, QCoreApplication::translate("trelvik::MessageBoxes", "&Cancel")}};
        for (const auto &[kind, caption] : texts)
            if (QAbstractButton *button = box.button(kind))
                button->setText(caption);
    };
    // Centred on the window, also while the window system is still placing it at start.
    const auto centred = [&box, owner] {
        if (owner == nullptr || !owner->isVisible())
            return;
        box.adjustSize();
        box.move(owner->window()->geometry().center() - box.rect().center());
    };
    if (buttons == MessageButtons::YesNo) {
        standard(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        centred();
        return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    if (buttons == MessageButtons::SaveDiscardCancel) {
        standard(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Save);
        box.setEscapeButton(QMessageBox::Cancel);
        centred();
        const int answer = box.exec();
        return answer == QMessageBox::Save      ? MessageAnswer::Save
               : answer == QMessageBox::Discard ? MessageAnswer::Discard
                                                : MessageAnswer::Cancel;
    }
    standard(QMessageBox::Ok);
    centred();
    box.exec();
    return MessageAnswer::Ok;
}

} // namespace trelvik
