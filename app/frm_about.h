// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include <QDialog>
#include <QIcon>

namespace trelvik {

class MessageBoxes;
class UniCommand;
class UniLabel;

// The program's icon, from the program's resources.
QIcon ProgramIcon();

// "Version " + major + "." + minor as at least two digits + "." + revision as at least four.
QString VersionText(int major, int minor, int revision);

// The About box: names the program, shows its version and a one-line description, and offers
// "&OK" (the default: Enter and Escape close as well) and "&System Info", which starts the
// platform's system information tool or says that there is none. Controls carry their names as
// object names ("lblTitle", "cmdSysInfo", ...).
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kClientWidth = 382;
    static constexpr int kClientHeight = 193;
    static constexpr int kVersionMajor = 0;
    static constexpr int kVersionMinor = 91;
    static constexpr int kVersionRevision = 0;

    explicit frmAbout(QWidget *parent = nullptr);
    ~frmAbout() override;

    // Where the box's messages go; Qt message boxes unless set. The box does not own them, and
    // null puts the Qt message boxes back.
    void SetMessageBoxes(MessageBoxes *messages);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void StartSysInfo();

    std::unique_ptr<MessageBoxes> ownMessages_;
    MessageBoxes *messages_ = nullptr;
    UniLabel *lblTitle = nullptr;
    UniLabel *lblVersion = nullptr;
    UniLabel *lblDescription = nullptr;
    UniCommand *cmdOK = nullptr;
    UniCommand *cmdSysInfo = nullptr;
};

} // namespace trelvik
