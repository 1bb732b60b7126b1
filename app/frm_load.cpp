// SPDX-License-Identifier: GPL-3.0-or-later
#include "frm_load.h"

#include "controls/ctl_tabs.h"
#include "controls/insane_progress.h"
#include "frm_about.h"
#include "map_view.h"
#include "tab_stop_delegate.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTableWidget>
#include <QUndoStack>

namespace trelvik {
namespace {

// Help > About: the About box, modal; returns when it closes.
void OpenAboutBox(QWidget *owner)
{
    frmAbout box(owner);
    box.exec();
}

QAction *AddItem(QMenu *menu, const char *name, const QString &caption, const QKeySequence &keys)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(keys);
    return action;
}

void AddSeparator(QMenu *menu, const char *name)
{
    menu->addSeparator()->setObjectName(QLatin1String(name));
}

const char *const kPanelCaptions[frmLoad::kPanelCount] = {
    QT_TRANSLATE_NOOP("trelvik::frmLoad", "Map information"),
    QT_TRANSLATE_NOOP("trelvik::frmLoad", "Headquarters"),
    QT_TRANSLATE_NOOP("trelvik::frmLoad", "Map data view"),
    QT_TRANSLATE_NOOP("trelvik::frmLoad", "Animals (file footer)"),
    QT_TRANSLATE_NOOP("trelvik::frmLoad", "Passable areas (max 250 items, from header)")};
const char *const kTabCaptions[frmLoad::kPanelCount] = {
    QT_TRANSLATE_NOOP("trelvik::frmLoad", "Info"), QT_TRANSLATE_NOOP("trelvik::frmLoad", "HQ"),
    QT_TRANSLATE_NOOP("trelvik::frmLoad", "View"), QT_TRANSLATE_NOOP("trelvik::frmLoad", "Animals"),
    QT_TRANSLATE_NOOP("trelvik::frmLoad", "Areas")};

} // namespace

QString DisplayText(const std::string &text)
{
    return DisplayText(QString::fromStdString(text));
}

QString DisplayText(QString shown)
{
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

const MapDocument &frmLoad::Document() const
{
    return session_->Document();
}

const ComposedView &frmLoad::Composed() const
{
    return session_->Composed();
}

const QUndoStack &frmLoad::UndoStack() const
{
    return session_->History();
}

QString frmLoad::AppTitle()
{
    return QStringLiteral("Trelvik");
}

frmLoad::frmLoad(std::unique_ptr<MessageBoxes> messages,
                 std::unique_ptr<FileDialogs> dialogs,
                 QWidget *parent)
    : QMainWindow(parent)
    , messages_(messages ? std::move(messages) : std::make_unique<QtMessageBoxes>())
    , dialogs_(dialogs ? std::move(dialogs) : std::make_unique<QtFileDialogs>())
    , aboutHook_(OpenAboutBox)
    , programDir_(QCoreApplication::applicationDirPath())
{
    setObjectName(QStringLiteral("frmLoad"));
    // The first File > New draws its size and mode from here, so every start draws anew.
    random_.SeedFromClock();
    setWindowTitle(AppTitle());
    setWindowIcon(ProgramIcon());
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    setFont(font);
    setAcceptDrops(true);
    session_ = new MapSession(this);
    connect(session_, &MapSession::ModifiedChanged, this, &frmLoad::UpdateModified);
    // Every edit, undo and redo moves the index.
    connect(&session_->History(), &QUndoStack::indexChanged, this, &frmLoad::RunCheck);
    connect(session_, &MapSession::Replaced, this, &frmLoad::ShowNewDocument);
    connect(session_, &MapSession::Changed, this, &frmLoad::ShowChange);
    settings_ = std::make_unique<QSettings>();

    BuildMenus();
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    // The window opens at the client's size and may be made larger, never smaller.
    client->setMinimumSize(kClientWidth, kClientHeight);
    client->installEventFilter(this);
    setCentralWidget(client);
    BuildControls(client);
    BuildBrushes();
    Inspector = new QLabel(statusBar());
    Inspector->setObjectName(QStringLiteral("Inspector"));
    Inspector->setAccessibleName(tr("Point read-out"));
    Inspector->setIndent(4);
    // At least a little of it shows, however narrow the window; the rest is cut with an
    // ellipsis.
    Inspector->setMinimumWidth(40);
    Inspector->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    MakeCopyable(Inspector);
    statusBar()->addWidget(Inspector, 1);
    // Tab goes through the view area, the tabs, the shown panel and the file name, and on to the
    // read-out.
    QWidget *previous = picBG;
    const std::array<QWidget *, 14> order = {
        Tabsy,     txtTitle, txtAuthor, butInfoSave, butInfoRestore, lblSeed,  butReload, S2info,
        tblStarts, VScroll1, LiF,       LiH,         Filename,       Inspector};
    for (QWidget *next : order) {
        setTabOrder(previous, next);
        previous = next;
    }
    statusBar()->setSizeGripEnabled(true);
    Form_Load();
    ShowRecentFiles();
    resize(minimumSizeHint());
}

frmLoad::~frmLoad()
{
    // The children outlive this part of the window, and some tell of their own end (the undo
    // stack clears itself): nothing of theirs may reach the window any more.
    for (QObject *child : findChildren<QObject *>())
        child->disconnect(this);
}

void frmLoad::BuildMenus()
{
    QMenu *file = menuBar()->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    mnuFileGenerate =
        AddItem(file, "mnuFileGenerate", tr("&New"), QKeySequence(Qt::CTRL | Qt::Key_N));
    mnuFileNewWithChoices = AddItem(file, "mnuFileNewWithChoices", tr("New &with choices..."),
                                    QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
    mnuFileNewBlank = AddItem(file, "mnuFileNewBlank", tr("New &blank map..."), QKeySequence());
    mnuFileOpen = AddItem(file, "mnuFileOpen", tr("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuFileSave = AddItem(file, "mnuFileSave", tr("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuFileSaveAs = AddItem(file, "mnuFileSaveAs", tr("Save &As..."), QKeySequence(Qt::Key_F12));
    AddSeparator(file, "mnuFileLine1");
    for (std::size_t i = 0; i < mnuFileRecent.size(); ++i) {
        const auto number = static_cast<int>(i) + 1;
        const std::string name = "mnuFileRecent" + std::to_string(number);
        mnuFileRecent[i] =
            AddItem(file, name.c_str(), QString(),
                    QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_0 + number)));
        connect(mnuFileRecent[i], &QAction::triggered, this, [this, i] {
            BeginCommand();
            OpenRecentFile(static_cast<int>(i));
        });
    }
    AddSeparator(file, "mnuFileLine2");
    mnuFileQuit = AddItem(file, "mnuFileQuit", tr("E&xit"), QKeySequence());

    QMenu *edit = menuBar()->addMenu(tr("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    // Named after the step they take back or do again ("&Undo Remove animals"); the marks of
    // the last command go before the step, which may mark points of its own.
    mnuEditUndo = AddItem(edit, "mnuEditUndo", tr("&Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z));
    mnuEditRedo =
        AddItem(edit, "mnuEditRedo", tr("&Redo"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    for (QAction *step : {mnuEditUndo, mnuEditRedo})
        step->setEnabled(false);
    connect(&session_->History(), &QUndoStack::canUndoChanged, mnuEditUndo, &QAction::setEnabled);
    connect(&session_->History(), &QUndoStack::canRedoChanged, mnuEditRedo, &QAction::setEnabled);
    connect(&session_->History(), &QUndoStack::undoTextChanged, this, [this](const QString &step) {
        mnuEditUndo->setText(step.isEmpty() ? tr("&Undo") : tr("&Undo %1").arg(step));
    });
    connect(&session_->History(), &QUndoStack::redoTextChanged, this, [this](const QString &step) {
        mnuEditRedo->setText(step.isEmpty() ? tr("&Redo") : tr("&Redo %1").arg(step));
    });
    AddSeparator(edit, "mnuEditLine1");
    mnuEditCopy =
        AddItem(edit, "mnuEditCopy", tr("&Copy image"), QKeySequence(Qt::CTRL | Qt::Key_C));
    mnuEditCopyView = AddItem(edit, "mnuEditCopyView", tr("Copy &view"),
                              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    // The command line that makes the map shown again, for a map made here.
    mnuEditCopyCommand = AddItem(edit, "mnuEditCopyCommand", tr("Copy co&mmand"), QKeySequence());
    mnuEditCopyCommand->setEnabled(false);
    AddSeparator(edit, "mnuEditLine2");
    // The brushes, filled in once the tool bar is made.
    mnuEditTools = edit->addMenu(tr("&Tools", "the brushes"));
    mnuEditTools->setObjectName(QStringLiteral("mnuEditTools"));
    mnuEditTools->menuAction()->setObjectName(QStringLiteral("mnuEditToolsMenu"));
    BuildViewMenu();

    QMenu *tools = menuBar()->addMenu(tr("&Tools"));
    tools->setObjectName(QStringLiteral("mnuTools"));
    mnuToolsHarbor = AddItem(tools, "mnuToolsHarbor", tr("&Coastal castle fix..."), QKeySequence());
    AddSeparator(tools, "mnuToolsLine1");
    mnuToolsAnimalRemoval =
        AddItem(tools, "mnuToolsAnimalRemoval", tr("Remove &animals"), QKeySequence());
    AddSeparator(tools, "mnuToolsLine2");
    mnuToolsRecompute = AddItem(tools, "mnuToolsRecompute",
                                tr("&Recompute shading and building quality"), QKeySequence());
    AddSeparator(tools, "mnuToolsLine3");
    mnuToolsCheck = AddItem(tools, "mnuToolsCheck", tr("Check &map"), QKeySequence(Qt::Key_F7));

    QMenu *help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    mnuAbout = AddItem(help, "mnuAbout", tr("&About Trelvik..."), QKeySequence());

    // Connected first, so that it runs before each command's own handler.
    for (QAction *command :
         {mnuFileGenerate, mnuFileNewWithChoices, mnuFileNewBlank, mnuFileOpen, mnuFileSave,
          mnuFileSaveAs, mnuFileQuit, mnuToolsHarbor, mnuToolsAnimalRemoval, mnuToolsRecompute,
          mnuToolsCheck, mnuEditUndo, mnuEditRedo})
        connect(command, &QAction::triggered, this, &frmLoad::BeginCommand);
    connect(mnuEditUndo, &QAction::triggered, &session_->History(), &QUndoStack::undo);
    connect(mnuEditRedo, &QAction::triggered, &session_->History(), &QUndoStack::redo);
    connect(mnuFileGenerate, &QAction::triggered, this, &frmLoad::mnuFileGenerate_Click);
    connect(mnuFileNewWithChoices, &QAction::triggered, this,
            &frmLoad::mnuFileNewWithChoices_Click);
    connect(mnuFileNewBlank, &QAction::triggered, this, &frmLoad::mnuFileNewBlank_Click);
    connect(mnuFileOpen, &QAction::triggered, this, &frmLoad::mnuFileOpen_Click);
    connect(mnuFileSave, &QAction::triggered, this, &frmLoad::mnuFileSave_Click);
    connect(mnuFileSaveAs, &QAction::triggered, this, &frmLoad::mnuFileSaveAs_Click);
    connect(mnuFileQuit, &QAction::triggered, this, &frmLoad::mnuFileQuit_Click);
    connect(mnuEditCopy, &QAction::triggered, this, &frmLoad::mnuEditCopy_Click);
    connect(mnuEditCopyView, &QAction::triggered, this, &frmLoad::mnuEditCopyView_Click);
    connect(mnuEditCopyCommand, &QAction::triggered, this,
            [this] { QGuiApplication::clipboard()->setText(madeBy_); });
    connect(mnuToolsHarbor, &QAction::triggered, this, &frmLoad::mnuToolsHarbor_Click);
    connect(mnuToolsAnimalRemoval, &QAction::triggered, this,
            &frmLoad::mnuToolsAnimalRemoval_Click);
    connect(mnuToolsRecompute, &QAction::triggered, this, &frmLoad::mnuToolsRecompute_Click);
    connect(mnuToolsCheck, &QAction::triggered, this, &frmLoad::mnuToolsCheck_Click);
    connect(mnuAbout, &QAction::triggered, this, &frmLoad::mnuAbout_Click);
}

void frmLoad::BuildControls(QWidget *client)
{
    picBG = new MapView(client);
    picBG->setObjectName(QStringLiteral("picBG"));
    picBG->setGeometry(8, 8, 260, 260);
    connect(picBG, &MapView::PointHovered, this, &frmLoad::ShowPointHovered);
    connect(picBG, &MapView::PointClicked, this, &frmLoad::ShowPointClicked);

    Tabsy = new ctlTabs(client);
    Tabsy->setObjectName(QStringLiteral("Tabsy"));
    Tabsy->setGeometry(280, 0, 265, 265);
    Tabsy->SetTabs(kPanelCount);
    Tabsy->SetTabsWidth(52);
    Tabsy->SetTabsHeight(20);
    for (int t = 0; t < kPanelCount; ++t)
        Tabsy->SetCaption(t + 1, tr(kTabCaptions[t]));
    Tabsy->SetSelectedTab(1);

    for (int i = 0; i < kPanelCount; ++i) {
        Frame[static_cast<std::size_t>(i)] = new QGroupBox(tr(kPanelCaptions[i]), client);
        QGroupBox *panel = Frame[static_cast<std::size_t>(i)];
        panel->setObjectName(QStringLiteral("Frame%1").arg(i));
        panel->setGeometry(288, 32, 249, 225);
        panel->setVisible(i == 0);
    }
    BuildInfoPanel(Frame[0]);
    BuildViewPanel(Frame[2]);
    BuildListPanels();
    connect(Tabsy, &ctlTabs::TabClick, this, &frmLoad::Tabsy_TabClick);

    Filename = new QLineEdit(client);
    Filename->setObjectName(QStringLiteral("Filename"));
    Filename->setGeometry(8, 272, 537, 19);
    Filename->setReadOnly(true);
    // It shows the session's file.
    connect(session_, &MapSession::PathChanged, Filename, &QLineEdit::setText);
    Pro = new InsaneProgress(client);
    Pro->setObjectName(QStringLiteral("Pro"));
    Pro->setGeometry(8, 272, 537, 19);
    Pro->hide();
    AnchorControls();
    picBG->SetFitNewMaps(mnuViewFitNewMaps->isChecked());
}

void frmLoad::Form_Load()
{
    const QList<int> stops = {30, 70};
    lifDelegate_->SetTabStops(stops);
    lihDelegate_->SetTabStops(stops);
}

void frmLoad::Form_Unload()
{
    const QSignalBlocker quiet(session_);
    session_->Clear();
    picBG->ReleaseMemory();
}

void frmLoad::closeEvent(QCloseEvent *event)
{
    if (!MaybeSave()) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

void frmLoad::mnuFileQuit_Click()
{
    close();
}

void frmLoad::mnuAbout_Click()
{
    if (aboutHook_)
        aboutHook_(this);
}

void frmLoad::Tabsy_TabClick(qint16 OldTab, qint16 NewTab)
{
    if (NewTab < 1 || NewTab > Tabsy->Tabs() || NewTab > kPanelCount || NewTab == OldTab)
        return;
    Frame[static_cast<std::size_t>(NewTab - 1)]->setVisible(true);
    if (OldTab >= 1 && OldTab <= kPanelCount)
        Frame[static_cast<std::size_t>(OldTab - 1)]->setVisible(false);
}

MessageAnswer frmLoad::Message(const QString &text,
                               MessageIcon icon,
                               MessageButtons buttons,
                               const QString &title)
{
    return messages_->Show(this, text, title, icon, buttons);
}

void frmLoad::dragEnterEvent(QDragEnterEvent *event)
{
    const QMimeData *mime = event->mimeData();
    if (mime->hasUrls() && mime->urls().size() == 1 && mime->urls().front().isLocalFile())
        event->acceptProposedAction();
}

void frmLoad::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return;
    event->acceptProposedAction();
    if (MaybeSave())
        OpenMapFile(urls.front().toLocalFile());
}

} // namespace trelvik
