// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "map_document.h"

#include <string>
#include <vector>

namespace trelvik {

/// Texts that describe a map the way the information panel shows them; the window and the
/// command line share them.

/// `value` in upper-case hexadecimal, padded with "0" in front to at least `digits` characters.
std::string HexPad(unsigned value, int digits);

/// "Unknown bytes:" followed by " XX" for each of the eight bytes.
std::string UnknownBytesText(const MapHeader &header);

/// Seven lines "Player p: x x y", each ending with CR LF.
std::string HeadquartersText(const MapHeader &header);

/// "name<TAB>x x y" for one animal.
std::string AnimalRow(const AnimalEntry &animal);

/// "type<TAB>x x y<TAB>size bytes" for one area entry.
std::string AreaRow(const AreaEntry &area);

/// The rows of the area table up to its first empty entry.
std::vector<std::string> AreaRows(const MapHeader &header);

/// "W x H" of the header's last two fields.
std::string SizeText(const MapHeader &header);

} // namespace trelvik
