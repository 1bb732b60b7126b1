// SPDX-License-Identifier: GPL-3.0-or-later
#include "frm_about.h"

#include "controls/ole_colour.h"
#include "controls/uni_command.h"
#include "controls/uni_label.h"
#include "frm_load.h"
#include "message_boxes.h"
#include "sys_info.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>

// The resources live in a static library, so they are registered by hand before first use.
static void InitProgramResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(trelvik);
        return true;
    }();
    (void)done;
}

namespace trelvik {

namespace {

// A one-pixel line of a 3-D colour; drawn as a child so it shows above the header band.
void AddLine(QWidget *parent, const char *name, QRect area, int colourIndex)
{
    auto *line = new QWidget(parent);
    line->setObjectName(QLatin1String(name));
    line->setGeometry(area);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, ResolveOleColour(SystemOleColour(colourIndex)));
    line->setPalette(palette);
    line->setAutoFillBackground(true);
}

UniLabel *AddLabel(QWidget *parent, const char *name, QRect area)
{
    auto *label = new UniLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(area);
    return label;
}

UniCommand *AddButton(QWidget *parent, const char *name, const QString &caption, QRect area)
{
    auto *button = new UniCommand(parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(area);
    button->SetCaption(caption);
    return button;
}

} // namespace

QIcon ProgramIcon()
{
    InitProgramResources();
    return QIcon(QStringLiteral(":/trelvik/icon.png"));
}

QString VersionText(int major, int minor, int revision)
{
    return QCoreApplication::translate("trelvik::frmAbout", "Version %1.%2.%3")
        .arg(major)
        .arg(minor, 2, 10, QLatin1Char('0'))
        .arg(revision, 4, 10, QLatin1Char('0'));
}

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent)
    , ownMessages_(std::make_unique<QtMessageBoxes>())
    , messages_(ownMessages_.get())
{
    setObjectName(QStringLiteral("frmAbout"));
    setModal(true);
    setFixedSize(kClientWidth, kClientHeight);
    setWindowIcon(ProgramIcon());
    QFont dialogFont(QStringLiteral("Tahoma"));
    dialogFont.setPointSize(8);
    setFont(dialogFont);

    auto *picHeader = new QWidget(this);
    picHeader->setObjectName(QStringLiteral("picHeader"));
    picHeader->setGeometry(0, 0, kClientWidth, 57);
    QPalette headerPalette = picHeader->palette();
    headerPalette.setColor(QPalette::Window, ResolveOleColour(SystemOleColour(kColourWindow)));
    picHeader->setPalette(headerPalette);
    picHeader->setAutoFillBackground(true);

    auto *imgIcon = new QLabel(picHeader);
    imgIcon->setObjectName(QStringLiteral("imgIcon"));
    imgIcon->setGeometry(8, 8, 32, 32);
    imgIcon->setPixmap(ProgramIcon().pixmap(32, 32));

    lblTitle = AddLabel(picHeader, "lblTitle", QRect(56, 8, 313, 17));
    QFont titleFont(QStringLiteral("Tahoma"));
    titleFont.setPointSize(8);
    titleFont.setBold(true);
    lblTitle->SetFont(titleFont);
    lblVersion = AddLabel(picHeader, "lblVersion", QRect(64, 32, 305, 17));
    lblVersion->SetFont(dialogFont);
    for (UniLabel *label : {lblTitle, lblVersion}) {
        label->SetBackColor(SystemOleColour(kColourWindow));
        label->SetForeColor(SystemOleColour(kColourWindowText));
    }
    AddLine(picHeader, "Line1_0", QRect(0, 56, kClientWidth, 1), kColourButtonShadow);

    lblDescription = AddLabel(this, "lblDescription", QRect(16, 64, 353, 49));
    lblDescription->SetFont(dialogFont);
    lblDescription->SetWordWrap(true);
    lblDescription->SetCaption(tr("Generates maps for the classic game, The Settlers II"));

    // The separator runs from x = 8 up to x = 376, the end point left out as lines are drawn.
    AddLine(this, "Line1_1", QRect(8, 120, 368, 1), kColourButtonShadow);
    AddLine(this, "Line1_2", QRect(8, 121, 368, 1), kColourButtonHighlight);

    // The licence, beside the buttons.
    UniLabel *lblLicence = AddLabel(this, "lblLicence", QRect(16, 128, 225, 57));
    lblLicence->SetFont(dialogFont);
    lblLicence->SetWordWrap(true);
    lblLicence->SetCaption(
        tr("Free software under the GNU General Public License, version 3 or later. "
           "It comes with no warranty."));

    cmdOK = AddButton(this, "cmdOK", tr("&OK"), QRect(248, 128, 121, 25));
    cmdOK->SetFont(dialogFont);
    cmdOK->SetDefault(true);
    cmdSysInfo = AddButton(this, "cmdSysInfo", tr("&System Info"), QRect(248, 160, 121, 25));
    cmdSysInfo->SetFont(dialogFont);
    connect(cmdOK, &UniCommand::Click, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &UniCommand::Click, this, &frmAbout::cmdSysInfo_Click);
    setTabOrder(cmdOK, cmdSysInfo);
    cmdOK->setFocus();

    Form_Load();
}

frmAbout::~frmAbout() = default;

void frmAbout::SetMessageBoxes(MessageBoxes *messages)
{
    messages_ = messages != nullptr ? messages : ownMessages_.get();
}

void frmAbout::keyPressEvent(QKeyEvent *event)
{
    // The buttons pass Enter on to the dialog, which answers it with the default button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        cmdOK_Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmAbout::Form_Load()
{
    setWindowTitle(tr("About %1").arg(frmLoad::AppTitle()));
    lblVersion->SetCaption(VersionText(kVersionMajor, kVersionMinor, kVersionRevision));
    lblTitle->SetCaption(frmLoad::AppTitle());
}

void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::StartSysInfo()
{
    if (StartSysInfoTool())
        return;
    messages_->Show(this, tr("System Information Is Unavailable At This Time"), frmLoad::AppTitle(),
                    MessageIcon::None, MessageButtons::Ok);
}

} // namespace trelvik
