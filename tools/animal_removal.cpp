// SPDX-License-Identifier: GPL-3.0-or-later
#include "animal_removal.h"

namespace trelvik {

void RemoveAnimals(MapDocument &document)
{
    document.Animals.clear();
}

} // namespace trelvik
