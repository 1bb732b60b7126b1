// SPDX-License-Identifier: GPL-3.0-or-later
#include "colour_table.h"

#include "decimal_number.h"

namespace trelvik {

void FillGreyRamp(ColourTable &table, int32_t factorTenThousandths)
{
    for (std::size_t i = 0; i < kColourCount; ++i) {
        const int64_t scaled = static_cast<int64_t>(i) * factorTenThousandths;
        const int64_t grey = DivideRoundHalfEven(scaled, kGreyRampScale);
        // Two's-complement masking keeps the low byte of negative values too.
        const auto low = static_cast<uint8_t>(static_cast<uint64_t>(grey) & 0xFFu);
        ColourEntry &entry = table.Entries[i];
        entry.Blue = low;
        entry.Green = low;
        entry.Red = low;
    }
}

} // namespace trelvik
