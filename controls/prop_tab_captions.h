// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <vector>

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace trelvik {

class ctlTabs;

// What the page needs of the design environment that shows it.
class TabCaptionsHost
{
public:
    virtual ~TabCaptionsHost() = default;

    // The controls being designed; the page edits the first of them.
    virtual std::vector<ctlTabs *> SelectedControls() const = 0;
    // Once set, the host calls ApplyChanges when the designer confirms.
    virtual void SetChanged(bool changed) = 0;
};

// The "Tab Captions" property page of the tab strip: the captions of the selected strip as one
// list that the designer renames, reorders, extends and shortens. The strip itself changes only
// when the host calls ApplyChanges. Geometry is the page's twips layout at 15 twips per pixel.
class propTabCaptions : public QWidget
{
    Q_OBJECT

public:
    // Members of the `cmd` button array.
    enum CommandIndex : int { kCmdDown = 0, kCmdUp = 1, kCmdAdd = 2, kCmdDelete = 3 };

    // A tab strip counts its tabs in 16 bits, so the list never grows past that.
    static constexpr int kMaxEntries = 32767;

    // The host must outlive the page.
    explicit propTabCaptions(TabCaptionsHost &host, QWidget *parent = nullptr);

    // Notices from the host.
    void SelectionChanged();
    void ApplyChanges();

    // Set while the page itself fills the list or the text box.
    bool Updating() const { return updating_; }

    QLabel *lblCaption() const { return lblCaption_; }
    QLineEdit *txtCaption() const { return txtCaption_; }
    QListWidget *cmbCaptions() const { return cmbCaptions_; }
    QPushButton *cmd(int index) const { return cmd_.at(static_cast<size_t>(index)); }

private:
    void cmbCaptions_Click();
    void txtCaption_Change();
    void cmd_Click(int index);

    // Makes `row` the selected entry and shows it in the text box as a list click does.
    void SelectEntry(int row);
    void SwapEntries(int first, int second);
    ctlTabs *FirstSelected() const;

    TabCaptionsHost &host_;
    bool updating_ = false;
    QLabel *lblCaption_ = nullptr;
    QLineEdit *txtCaption_ = nullptr;
    QListWidget *cmbCaptions_ = nullptr;
    std::array<QPushButton *, 4> cmd_{};
};

} // namespace trelvik
