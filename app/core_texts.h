// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include <QString>

namespace trelvik {

// A text of the core (a name from one of its tables: world types, animals, terrains, object and
// building quality names, the map check's severities and fixes, the fairness measures, fixed
// messages) in the window's language: its translation in the context "core" where there is one,
// else the text itself. core_texts.cpp lists the texts that have translations; a composed text
// (with numbers or names in it) has none and comes back as it is.
QString CoreText(std::string_view text);
inline QString CoreText(const std::string &text)
{
    return CoreText(std::string_view(text));
}
inline QString CoreText(const char *text)
{
    return CoreText(std::string_view(text));
}

} // namespace trelvik
