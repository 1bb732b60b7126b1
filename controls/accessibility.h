// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace trelvik {

// Makes the self-drawn controls known to assistive tools: the tab strip as a page tab list
// with one page tab per caption, the progress bar with its value, the command button as a push
// button that can be pressed, the label as static text. Installs the accessibility factory once
// however often it is called; every control's constructor calls it.
void InstallAccessibility();

} // namespace trelvik
