// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "edit/blank_map.h"
#include "edit/brush.h"

#include <cstdint>
#include <optional>

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace trelvik {

// What File > New with choices asks for: the same as `trelvik-cli generate --seed S --size WxH
// --mode M --world W [--players N [--symmetric]]`.
struct NewMapChoice
{
    int16_t Width = 128;
    int16_t Height = 128;
    bool QuickMode = false;
    uint8_t WorldType = 0;
    uint64_t Seed = 0;
    int Players = 0;        // 0: terrain only
    bool Symmetric = false; // with 2 or 4 players: mirrored, every start on the same ground

    bool operator==(const NewMapChoice &) const = default;
};

// The New map dialog: width and height (64 to 256 in steps of 16), mode, world, a seed, which
// OK accepts only as a decimal number that fits in 64 bits, the players (0 to 7) and, for 2 or
// 4 players, whether the map is symmetric.
class NewMapDialog : public QDialog
{
    Q_OBJECT

public:
    NewMapDialog(QWidget *owner, uint64_t proposedSeed);
    // The choice as the fields hold it; none while the seed is no number.
    std::optional<NewMapChoice> Choice() const;
    void SetChoice(const NewMapChoice &choice);

    void accept() override;

private:
    QComboBox *width_ = nullptr;
    QComboBox *height_ = nullptr;
    QComboBox *mode_ = nullptr;
    QComboBox *world_ = nullptr;
    QLineEdit *seed_ = nullptr;
    QSpinBox *players_ = nullptr;
    QCheckBox *symmetric_ = nullptr;
};

// File > New blank map: width and height as the New map dialog offers them, the world, and the
// terrain and height of every point. The choices are proposed again the next time.
class BlankMapDialog : public QDialog
{
    Q_OBJECT

public:
    explicit BlankMapDialog(QWidget *owner);
    edit::BlankMapRequest Request() const;
    void SetRequest(const edit::BlankMapRequest &request);

    void accept() override;

private:
    QComboBox *width_ = nullptr;
    QComboBox *height_ = nullptr;
    QComboBox *world_ = nullptr;
    QComboBox *terrain_ = nullptr;
    QSpinBox *groundHeight_ = nullptr;
};

// Shows the New blank map dialog; none when it is cancelled.
std::optional<edit::BlankMapRequest> AskForBlankMap(QWidget *owner);

} // namespace trelvik
