// SPDX-License-Identifier: GPL-3.0-or-later
// The information panel: the header fields, the headquarters, the two lists and the buttons
// that edit the header.
#include "core_texts.h"
#include "document/code_tables.h"
#include "document/fixed_text_field.h"
#include "document/map_text.h"
#include "edit_commands.h"
#include "frm_load.h"
#include "play/fairness.h"
#include "starts_table.h"
#include "tab_stop_delegate.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QUndoStack>

namespace trelvik {
namespace {

constexpr int kFieldLength = 20;

QLabel *ValueLabel(QWidget *parent, const char *name, const QFont &bold, QRect geometry)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(bold);
    label->setGeometry(geometry);
    return label;
}

QLineEdit *TextField(QWidget *parent, const char *name, const QFont &bold, QRect geometry)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setFont(bold);
    field->setMaxLength(kFieldLength);
    field->setGeometry(geometry);
    return field;
}

QPushButton *Button(QWidget *parent, const char *name, const QString &caption, QRect geometry)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    return button;
}

QListWidget *ListBox(QWidget *parent, const char *name, QRect geometry, TabStopDelegate *&delegate)
{
    auto *list = new QListWidget(parent);
    list->setObjectName(QLatin1String(name));
    list->setGeometry(geometry);
    list->setUniformItemSizes(true);
    delegate = new TabStopDelegate(list);
    list->setItemDelegate(delegate);
    return list;
}

// A field's name for screen readers: its caption without the access key and the colon.
QString AccessibleName(QString caption)
{
    caption.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    return caption.trimmed().remove(QRegularExpression(QStringLiteral(":$")));
}

} // namespace

void frmLoad::BuildInfoPanel(QGroupBox *panel)
{
    QFont bold = font();
    bold.setBold(true);
    const QString captions[] = {tr("Map name:"), tr("Map author:"), tr("World type:"), tr("Size:"),
                                tr("Players:")};
    const int rows[] = {24, 50, 106, 124, 142};
    for (std::size_t i = 0; i < lbl.size(); ++i) {
        lbl[i] = new QLabel(captions[i], panel);
        lbl[i]->setObjectName(QStringLiteral("lbl%1").arg(i));
        lbl[i]->setGeometry(8, rows[i], 72, 17);
    }
    txtTitle = TextField(panel, "txtTitle", bold, QRect(80, 22, 160, 21));
    txtAuthor = TextField(panel, "txtAuthor", bold, QRect(80, 48, 160, 21));
    butInfoSave = Button(panel, "butInfoSave", tr("&Change"), QRect(80, 76, 78, 23));
    butInfoSave->setToolTip(tr("Set map and author name (file wiil not be saved)"));
    butInfoRestore = Button(panel, "butInfoRestore", tr("&Restore"), QRect(162, 76, 78, 23));
    butInfoRestore->setToolTip(tr("Restore current map and author names"));
    lblType = ValueLabel(panel, "lblType", bold, QRect(80, 106, 160, 17));
    lblSize = ValueLabel(panel, "lblSize", bold, QRect(80, 124, 160, 17));
    lblPlayers = ValueLabel(panel, "lblPlayers", bold, QRect(80, 142, 160, 17));
    // Each field is named after its caption, for screen readers too.
    const std::array<QWidget *, 5> fields = {txtTitle, txtAuthor, lblType, lblSize, lblPlayers};
    for (std::size_t i = 0; i < lbl.size(); ++i) {
        lbl[i]->setBuddy(fields[i]);
        fields[i]->setAccessibleName(AccessibleName(lbl[i]->text()));
    }
    // A generated map's seed, whole, to be selected and copied, or copied as a command line.
    lblSeed = new QLabel(panel);
    lblSeed->setObjectName(QStringLiteral("lblSeed"));
    lblSeed->setAccessibleName(tr("Seed"));
    lblSeed->setGeometry(8, 162, 232, 28);
    lblSeed->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblSeed->setWordWrap(true);
    MakeCopyable(lblSeed, {mnuEditCopyCommand});
    panel->setContextMenuPolicy(Qt::ActionsContextMenu);
    panel->addAction(mnuEditCopyCommand);
    butReload = Button(panel, "butReload", tr("Re&load map"), QRect(8, 194, 232, 23));
    butReload->setToolTip(tr("Reload map file"));
    // Typing is an edit before Change stores it.
    for (QLineEdit *field : {txtTitle, txtAuthor})
        connect(field, &QLineEdit::textChanged, this, &frmLoad::UpdateModified);

    for (QPushButton *command : {butInfoSave, butInfoRestore, butReload})
        connect(command, &QPushButton::clicked, this, &frmLoad::BeginCommand);
    connect(butInfoSave, &QPushButton::clicked, this, &frmLoad::butInfoSave_Click);
    connect(butInfoRestore, &QPushButton::clicked, this, &frmLoad::butInfoRestore_Click);
    connect(butReload, &QPushButton::clicked, this, &frmLoad::butReload_Click);
}

void frmLoad::BuildListPanels()
{
    QFont bold = font();
    bold.setBold(true);
    S2info = ListBox(Frame[1], "S2info", QRect(8, 22, 233, 94), hqDelegate_);
    S2info->setFont(bold);
    S2info->setAccessibleName(tr("Headquarters"));
    // How the starts compare: one row a player, one column a measure.
    lblStarts = new QLabel(Frame[1]);
    lblStarts->setObjectName(QStringLiteral("lblStarts"));
    lblStarts->setGeometry(8, 116, 233, 17);
    tblStarts = new QTableWidget(Frame[1]);
    tblStarts->setObjectName(QStringLiteral("tblStarts"));
    tblStarts->setGeometry(8, 134, 233, 83);
    tblStarts->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblStarts->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblStarts->setSelectionMode(QAbstractItemView::SingleSelection);
    tblStarts->verticalHeader()->setDefaultSectionSize(16);
    tblStarts->horizontalHeader()->setDefaultSectionSize(40);
    tblStarts->setAccessibleName(tr("How the starts compare"));

    LiF = ListBox(Frame[3], "LiF", QRect(8, 22, 233, 195), lifDelegate_);
    LiF->setAccessibleName(tr("Animals"));
    lblUnknown = new QLabel(Frame[4]);
    lblUnknown->setObjectName(QStringLiteral("lblUnknown"));
    lblUnknown->setGeometry(8, 22, 233, 17);
    LiH = ListBox(Frame[4], "LiH", QRect(8, 42, 233, 175), lihDelegate_);
    LiH->setAccessibleName(tr("Passable areas"));

    // A row chosen in a list, or clicked even when it is the current one, marks its point.
    const auto markAnimal = [this](int row) {
        if (row >= 0 && static_cast<std::size_t>(row) < Document().Animals.size())
            SelectPoint(Document().Animals[static_cast<std::size_t>(row)].X,
                        Document().Animals[static_cast<std::size_t>(row)].Y);
    };
    const auto markHeadquarters = [this](int row) {
        const MapHeader &header = Document().Header;
        if (HasMap() && row >= 0 && row < static_cast<int>(header.HeadquartersX.size()))
            SelectPoint(header.HeadquartersX[static_cast<std::size_t>(row)],
                        header.HeadquartersY[static_cast<std::size_t>(row)]);
    };
    const auto markStart = [this](int row) {
        const auto report = MeasureFairness(Document());
        if (report && row >= 0 && static_cast<std::size_t>(row) < report->Players.size())
            SelectPoint(static_cast<int>(report->Players[static_cast<std::size_t>(row)].At.X),
                        static_cast<int>(report->Players[static_cast<std::size_t>(row)].At.Y));
    };
    const auto markArea = [this](int row) {
        if (row >= 0 && static_cast<std::size_t>(row) < Document().Header.Areas.size())
            SelectPoint(Document().Header.Areas[static_cast<std::size_t>(row)].X,
                        Document().Header.Areas[static_cast<std::size_t>(row)].Y);
    };
    const auto byRow = [](auto mark) { return [mark](const QModelIndex &at) { mark(at.row()); }; };
    connect(LiF, &QListWidget::currentRowChanged, this, markAnimal);
    connect(LiF, &QListWidget::clicked, this, byRow(markAnimal));
    connect(S2info, &QListWidget::currentRowChanged, this, markHeadquarters);
    connect(S2info, &QListWidget::clicked, this, byRow(markHeadquarters));
    connect(tblStarts, &QTableWidget::currentCellChanged, this, markStart);
    connect(tblStarts, &QTableWidget::cellClicked, this, markStart);
    connect(LiH, &QListWidget::currentRowChanged, this, markArea);
    connect(LiH, &QListWidget::clicked, this, byRow(markArea));
}

void frmLoad::ShowHeaderInfo()
{
    const MapHeader &header = Document().Header;
    // The caption first: the fields' changes below ask for its changed mark.
    // Qt reads "[*]" in a caption as the modified mark's place; doubled, it shows as written.
    QString title = QString::fromStdString(FixedTextField::Display(header.Title));
    title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(title + QStringLiteral("[*] - ") + AppTitle());
    txtTitle->setText(QString::fromStdString(FixedTextField::Display(header.Title)));
    txtAuthor->setText(QString::fromStdString(FixedTextField::Display(header.Author)));
    lblType->setText(CoreText(WorldTypeName(header.WorldType)));
    lblSize->setText(QString::fromStdString(SizeText(header)));
    lblPlayers->setText(QString::number(header.PlayerCount));
    S2info->clear();
    S2info->addItems(DisplayText(HeadquartersLines(header)).split(u'\n', Qt::SkipEmptyParts));
    ShowStarts(lblStarts, tblStarts, MeasureFairness(Document()));
    lblUnknown->setText(UnknownBytesLine(header));
}

void frmLoad::FillAnimalList()
{
    LiF->clear();
    const MapHeader &header = Document().Header;
    for (const AnimalEntry &animal : Document().Animals) {
        const bool outside =
            animal.X < 0 || animal.Y < 0 || animal.X >= header.Width || animal.Y >= header.Height;
        LiF->addItem(AnimalRowText(animal) + (outside ? tr(" (outside the map)") : QString()));
    }
}

void frmLoad::FillAreaList()
{
    LiH->clear();
    // The table ends at its first empty entry.
    for (const AreaEntry &area : Document().Header.Areas) {
        if (area.Type == 0)
            break;
        LiH->addItem(AreaRowText(area));
    }
}

bool frmLoad::HasPendingText() const
{
    const MapHeader &header = Document().Header;
    return HasMap()
           && (txtTitle->text() != QString::fromStdString(FixedTextField::Display(header.Title))
               || txtAuthor->text()
                      != QString::fromStdString(FixedTextField::Display(header.Author)));
}

void frmLoad::StorePendingText()
{
    HeaderTextsCommand::TextField title{}, author{};
    FixedTextField::Store(title, txtTitle->text().toStdString());
    FixedTextField::Store(author, txtAuthor->text().toStdString());
    // Only a change that changes bytes is kept for undo and marks the map.
    if (title != Document().Header.Title || author != Document().Header.Author)
        session_->Push(new HeaderTextsCommand(*session_, title, author));
    ShowHeaderInfo();
}

void frmLoad::butInfoSave_Click()
{
    StorePendingText();
    Message(tr("Changed file header (file not saved)."), MessageIcon::Information);
}

void frmLoad::butInfoRestore_Click()
{
    ShowHeaderInfo();
}

} // namespace trelvik
