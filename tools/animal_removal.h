// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/map_document.h"

namespace trelvik {

/// Empties the map's animal list (the file's footer); layers and headers stay as they are.
void RemoveAnimals(MapDocument &document);

} // namespace trelvik
