// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace trelvik {

enum class MessageIcon {
    None,
    Information,
    Critical,
};

enum class MessageButtons {
    Ok,
    YesNo,
    SaveDiscardCancel,
};

enum class MessageAnswer {
    Ok,
    Yes,
    No,
    Save,
    Discard,
    Cancel,
};

// Every message box of the window goes through this, so that tests can answer the questions
// and read what would have been shown. Texts may hold CR LF line breaks, as the window writes
// them.
class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;
    virtual MessageAnswer Show(QWidget *owner,
                               const QString &text,
                               const QString &title,
                               MessageIcon icon,
                               MessageButtons buttons) = 0;
};

// Modal QMessageBox; CR LF becomes a plain line break.
class QtMessageBoxes : public MessageBoxes
{
public:
    MessageAnswer Show(QWidget *owner,
                       const QString &text,
                       const QString &title,
                       MessageIcon icon,
                       MessageButtons buttons) override;
};

} // namespace trelvik
