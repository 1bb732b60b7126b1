// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "play/fairness.h"

class QLabel;
class QTableWidget;

namespace trelvik {

/// Shows a fairness report: one row a player (its headquarters in the row's tooltip), one
/// column a measure, and the measure whose smallest ÷ largest is lowest highlighted; the
/// caption says how far the starts were counted and which measure is least even. No report (a
/// damaged map) or no players: an empty table and a caption that says why.
void ShowStarts(QLabel *caption, QTableWidget *table, const std::optional<FairnessReport> &report);

} // namespace trelvik
