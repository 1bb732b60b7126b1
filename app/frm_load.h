// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "check/map_check.h"
#include "cls_file_dialog.h"
#include "document/map_document.h"
#include "edit/stroke.h"
#include "file_dialogs.h"
#include "generator/random_source.h"
#include "map_session.h"
#include "message_boxes.h"
#include "new_map_dialog.h"
#include "viewer/colour_table.h"
#include "viewer/composed_view.h"
#include "viewer/view_geometry.h"
#include "viewer/view_refresh.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include <QImage>
#include <QMainWindow>

class QAction;
class QDockWidget;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QScrollBar;
class QSettings;
class QTableWidget;
class QUndoStack;

namespace trelvik {

class BrushBar;
class CheckPanel;
class ctlTabs;
class InsaneProgress;
class MapView;
class TabStopDelegate;

// The program's one window. It owns the map document, the random source, the colour table and
// the composed view for its whole life and runs every command on its own thread. Controls carry
// their names as object names ("Filename", "VScroll1", "mnuFileOpen", ...).
class frmLoad : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr int kClientWidth = 553;
    static constexpr int kClientHeight = 297;
    static constexpr int kPanelCount = 5;

    // Null services fall back to the Qt dialogs.
    explicit frmLoad(std::unique_ptr<MessageBoxes> messages = nullptr,
                     std::unique_ptr<FileDialogs> dialogs = nullptr,
                     QWidget *parent = nullptr);
    ~frmLoad() override;

    static QString AppTitle();

    const MapDocument &Document() const;
    const ColourTable &Colours() const { return colourTable_; }
    const ComposedView &Composed() const;
    // The map shown, its file and its history.
    MapSession &Session() { return *session_; }
    /// Seeded from the clock and the entropy source when the window is made; tests seed it.
    RandomSource &Random() { return random_; }

    // The folder the palettes are read from; the program's own folder unless set.
    void SetProgramDir(const QString &dir) { programDir_ = dir; }
    // Help > About; the default shows the About box modally.
    void SetAboutHook(std::function<void(QWidget *owner)> hook) { aboutHook_ = std::move(hook); }
    // Told every progress value the generation sets on Pro, as it is set.
    void SetProgressObserver(std::function<void(int value)> observer)
    {
        progressObserver_ = std::move(observer);
    }

    // Where the current picture's top-left corner lies in picBG's inside (negative when the
    // picture is larger and cut), and the picture as last drawn, whole, for copying.
    QPoint PictureOffset() const;
    QImage CurrentPicture(QString *error = nullptr) const;

    // Opens a map as File > Open does after its dialog: used for the command line and drops.
    bool OpenMapFile(const QString &path);

    bool LoadMap(const QString &path);
    // A new map; from the given seed, or a fresh one from the clock, of the given world type;
    // finished for play when players (1 to 7) are asked for, mirrored when `symmetric` (2 or 4
    // players). False, with the map shown before kept, when the terrains tried cannot hold the
    // players.
    bool GenerateMap(int16_t width,
                     int16_t height,
                     bool quickMode,
                     std::optional<uint64_t> seed = std::nullopt,
                     uint8_t worldType = 0,
                     int players = 0,
                     bool symmetric = false);
    // File > New with choices: asks for the size, mode, world and seed (a fresh seed proposed);
    // none when cancelled. The default shows the New map dialog.
    void SetNewMapChooser(std::function<std::optional<NewMapChoice>(QWidget *, uint64_t)> chooser)
    {
        newMapChooser_ = std::move(chooser);
    }
    const QUndoStack &UndoStack() const;
    // File > New blank map: asks for the size, world, terrain and height; none when cancelled.
    // The default shows the New blank map dialog.
    void SetBlankMapChooser(std::function<std::optional<edit::BlankMapRequest>(QWidget *)> chooser)
    {
        blankMapChooser_ = std::move(chooser);
    }
    QStringList RecentFiles() const;
    void ShowHeaderInfo();
    void FillAnimalList();
    void FillAreaList();
    void Form_Load();
    void Form_Unload();

public slots:
    void mnuFileGenerate_Click();
    void mnuFileNewWithChoices_Click();
    void mnuFileNewBlank_Click();
    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    void mnuFileQuit_Click();
    void mnuEditCopy_Click();
    void mnuEditCopyView_Click();
    void mnuToolsHarbor_Click();
    void mnuToolsAnimalRemoval_Click();
    void mnuToolsRecompute_Click();
    // Tools > Check map: the check's panel shown (made the first time) and the check run.
    void mnuToolsCheck_Click();
    void mnuAbout_Click();
    void butInfoSave_Click();
    void butInfoRestore_Click();
    void butReload_Click();
    void VScroll1_Change();
    void VScroll1_Scroll();
    void Tabsy_TabClick(qint16 OldTab, qint16 NewTab);
    // The inspector line: the point under the pointer, or the point last clicked until the
    // next click.
    void ShowPointHovered(std::optional<trelvik::MapPoint> point);
    void ShowPointClicked(std::optional<trelvik::MapPoint> point);

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildMenus();
    void BuildControls(QWidget *client);
    void BuildInfoPanel(QGroupBox *panel);
    void BuildViewPanel(QGroupBox *panel);
    void BuildListPanels();
    void BuildViewMenu();
    // Lays the window out for the client area's size: the view area takes any extra room.
    void LayOutClient(QSize size);
    // Notes where each control sits at the smallest size and which way it grows.
    void AnchorControls();
    void BuildLanguageMenu(QMenu *menu);
    // The brushes' tool bar, Edit > Tools and View > Brushes.
    void BuildBrushes();
    // Another brush chosen, or Inspect: the view area strokes or inspects, with the aids the
    // brush needs (triangles, the resources overlay, the check's count).
    void BrushChosen();
    void ShowEditingAids();
    // The points changed by an edit drawn again, and nothing else.
    void ShowChangedPoints(std::span<const std::size_t> points);
    // A stroke: the press starts it, each point the drag reaches is a dab, the release makes
    // it one step that can be undone.
    void StrokeStarted(MapPoint point);
    void StrokeMoved(MapPoint point);
    void StrokeEnded(MapPoint point);
    void ShowBrushOutline(std::optional<MapPoint> point);
    // The map check's count on the status bar while a brush is chosen (RunCheck brings it up to
    // date after every stroke, undo and redo); none takes it away.
    void ShowBrushCheck(const CheckReport *report);
    // Two halves from the window's random source, drawn in a fixed order.
    uint64_t DrawSeed();
    // Every command starts here: the marks of the last tool go.
    void BeginCommand();
    void ShowReadout(std::optional<MapPoint> point);
    // Marks a point of the map (an animal, area or headquarters) when it lies on the map.
    void SelectPoint(int x, int y);
    // The session holds another map (read, made or none): its header, an empty seed line, no
    // point marked or pinned, and the next picture placed anew.
    void ShowNewDocument();
    // An edit, undo or redo: the parts of the window that show what changed.
    void ShowChange(const SessionChange &change);
    // Tells, once per palette, that a palette could not be read and the picture lacks colours.
    void ReportPalette(const RefreshPlan &plan, const PaletteLoadResult &result);
    MessageAnswer Message(const QString &text,
                          MessageIcon icon,
                          MessageButtons buttons = MessageButtons::Ok,
                          const QString &title = AppTitle());
    bool HasMap() const;
    bool SaveTo(const QString &path);
    // Save and Save As; true when the map was written.
    bool Save();
    bool SaveAs();
    // Before edits would be lost: asks "Save changes to NAME?" when the map is marked as
    // changed; false when the command must not go on (Cancel, or a Save that failed).
    bool MaybeSave();
    // The caption's mark: the map differs from the file last read or written, or a name or
    // author typed is not stored yet.
    void UpdateModified();
    bool HasPendingText() const;
    // The name and author typed, stored as one step that can be undone when they change bytes.
    void StorePendingText();
    // After a file was read or written: it heads the recent files.
    void RememberFile(const QString &path);
    void ShowRecentFiles();
    void OpenRecentFile(int index);
    // The map check, run again while its panel is open or a brush is chosen: after every edit,
    // undo and redo, and for every map read or made.
    void RunCheck();
    // The chosen finding's point marked, or no mark for a finding of the whole map.
    void ShowFinding(const Finding &finding);
    // The finding's fix, as one step that can be undone.
    void FixFinding(const Finding &finding);
    void SetProgress(int value);
    void DrawPicture(std::span<const uint8_t> bytes, int width, int height);

    std::unique_ptr<MessageBoxes> messages_;
    std::unique_ptr<FileDialogs> dialogs_;
    std::function<void(QWidget *)> aboutHook_;
    std::function<void(int)> progressObserver_;
    QString programDir_;
    // The palette last found missing or damaged, so that it is reported once, not at every
    // picture; cleared once a palette loads.
    std::string paletteFailure_;

    MapSession *session_ = nullptr;
    RandomSource random_;
    ColourTable colourTable_;
    std::unique_ptr<QSettings> settings_;
    std::function<std::optional<NewMapChoice>(QWidget *, uint64_t)> newMapChooser_;
    std::function<std::optional<edit::BlankMapRequest>(QWidget *)> blankMapChooser_;
    BrushBar *brushBar_ = nullptr;
    // The stroke under way, between a press and a release.
    std::unique_ptr<edit::Stroke> stroke_;
    QString strokeBrush_;
    MapPoint strokeAt_;
    // The layer the view area shows (0 for the terrain picture), as last drawn.
    int shownLayer_ = 0;
    // The resources overlay's codes while the resources brush is chosen.
    std::vector<uint8_t> overlay_;
    // The next picture drawn is of a new map.
    bool newMap_ = true;
    std::optional<MapPoint> pinned_;
    // How the map shown was made: the command line that makes it again; empty for a file.
    QString madeBy_;

    QAction *mnuFileGenerate = nullptr;
    QAction *mnuFileOpen = nullptr;
    QAction *mnuFileSave = nullptr;
    QAction *mnuFileSaveAs = nullptr;
    QAction *mnuFileQuit = nullptr;
    QAction *mnuFileNewWithChoices = nullptr;
    QAction *mnuFileNewBlank = nullptr;
    QMenu *mnuEditTools = nullptr;
    std::array<QAction *, 8> mnuFileRecent{};
    QAction *mnuEditUndo = nullptr;
    QAction *mnuEditRedo = nullptr;
    QAction *mnuEditCopy = nullptr;
    QAction *mnuEditCopyView = nullptr;
    QAction *mnuEditCopyCommand = nullptr;
    QAction *mnuViewZoomIn = nullptr;
    QAction *mnuViewZoomOut = nullptr;
    QAction *mnuViewActualSize = nullptr;
    QAction *mnuViewFit = nullptr;
    QAction *mnuViewFitNewMaps = nullptr;
    QAction *mnuToolsHarbor = nullptr;
    QAction *mnuToolsAnimalRemoval = nullptr;
    QAction *mnuToolsRecompute = nullptr;
    QAction *mnuToolsCheck = nullptr;
    QAction *mnuAbout = nullptr;

    MapView *picBG = nullptr;
    QLabel *Inspector = nullptr;
    QLabel *lblBrushCheck = nullptr;
    ctlTabs *Tabsy = nullptr;
    std::array<QGroupBox *, kPanelCount> Frame{};
    QLineEdit *Filename = nullptr;
    InsaneProgress *Pro = nullptr;

    std::array<QLabel *, 5> lbl{};
    QLineEdit *txtTitle = nullptr;
    QLineEdit *txtAuthor = nullptr;
    QPushButton *butInfoSave = nullptr;
    QPushButton *butInfoRestore = nullptr;
    QLabel *lblType = nullptr;
    QLabel *lblSize = nullptr;
    QLabel *lblPlayers = nullptr;
    QLabel *lblSeed = nullptr;
    QPushButton *butReload = nullptr;
    QListWidget *S2info = nullptr;
    QLabel *lblStarts = nullptr;
    QTableWidget *tblStarts = nullptr;
    QScrollBar *VScroll1 = nullptr;
    QLabel *MapInfo = nullptr;
    QListWidget *LiF = nullptr;
    QLabel *lblUnknown = nullptr;
    QListWidget *LiH = nullptr;
    TabStopDelegate *lifDelegate_ = nullptr;
    TabStopDelegate *lihDelegate_ = nullptr;
    TabStopDelegate *hqDelegate_ = nullptr;
    // A control's place at the smallest size, and by which of the extra widths and height
    // (none, the view's, the panel's, all, the height) its left, top, width and height grow.
    struct Anchor
    {
        QWidget *Widget;
        QRect Base;
        uint8_t X, Y, Width, Height;
    };
    std::vector<Anchor> anchors_;
    // None until Tools > Check map first shows it.
    QDockWidget *dockCheck = nullptr;
    CheckPanel *checkPanel_ = nullptr;
};

// Where the window keeps whether new maps are fitted to the view area, and the language.
inline constexpr char kFitNewMapsKey[] = "fitNewMaps";
inline constexpr char kLanguageKey[] = "language";

// A label whose text can be selected and copied from the keyboard too, with a context menu
// holding Copy, Select all and `extra`; shown cut with an ellipsis when it does not fit (its
// tooltip then holds the whole), unless it wraps.
void MakeCopyable(QLabel *label, const QList<QAction *> &extra = {});
void SetCopyableText(QLabel *label, const QString &text);
// The label's whole text, also when it is shown cut.
QString WholeText(const QLabel *label);

// A text of the core (UTF-8, lines ending in CR LF) as a label shows it.
QString DisplayText(const std::string &text);
QString DisplayText(QString text);

} // namespace trelvik
