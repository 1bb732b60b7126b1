// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/map_document.h"
#include "viewer/point_readout.h"

#include <string>
#include <string_view>

#include <QString>

namespace trelvik {

// A text of the core (a name from one of its tables: world types, animals, terrains, object and
// building quality names, the map check's severities and fixes, the fairness measures, fixed
// messages) in the window's language: its translation in the context "core" where there is one,
// else the text itself. core_texts.cpp lists the texts that have translations. Of the composed
// names it knows "Unknown (n)", "player n", "size n" and "harbour, <ground>"; any other composed
// text (a sentence with numbers or names in it) comes back as it is.
QString CoreText(std::string_view text);
inline QString CoreText(const std::string &text)
{
    return CoreText(std::string_view(text));
}
inline QString CoreText(const char *text)
{
    return CoreText(std::string_view(text));
}

// The core's composed lines of map_text.h, view_refresh.h and point_readout.h, put together
// again with their words and names in the window's language. In English each is exactly the
// core's text (as QString::fromStdString of it).
QString AnimalRowText(const AnimalEntry &animal);             // AnimalRow
QString AreaRowText(const AreaEntry &area);                   // AreaRow
QString HeadquartersLines(const MapHeader &header);           // HeadquartersText
QString UnknownBytesLine(const MapHeader &header);            // UnknownBytesText
QString MapInfoLines(const MapDocument &document, int layer); // MapInfoText
QString ReadoutLine(const PointReadout &readout);             // ReadoutText
QString TerrainLabelText(uint8_t code);                       // edit::TerrainLabel

} // namespace trelvik
