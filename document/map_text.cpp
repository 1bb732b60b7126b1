// SPDX-License-Identifier: GPL-3.0-or-later
#include "map_text.h"

#include "code_tables.h"

namespace trelvik {

std::string HexPad(unsigned value, int digits)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    do {
        text.insert(text.begin(), kDigits[value % 16]);
        value /= 16;
    } while (value != 0);
    if (static_cast<int>(text.size()) < digits)
        text.insert(0, static_cast<std::size_t>(digits) - text.size(), '0');
    return text;
}

std::string UnknownBytesText(const MapHeader &header)
{
    std::string text = "Unknown bytes:";
    for (uint8_t b : header.UnknownBytes)
        text += " " + HexPad(b, 2);
    return text;
}

std::string HeadquartersText(const MapHeader &header)
{
    std::string text;
    for (std::size_t p = 0; p < kHeadquartersCount; ++p) {
        text += "Player " + std::to_string(p + 1) + ": " + std::to_string(header.HeadquartersX[p])
                + " x " + std::to_string(header.HeadquartersY[p]) + "\r\n";
    }
    return text;
}

std::string AnimalRow(const AnimalEntry &animal)
{
    return AnimalName(animal.Species) + "\t" + std::to_string(animal.X) + " x "
           + std::to_string(animal.Y);
}

std::string AreaRow(const AreaEntry &area)
{
    return AreaTypeName(area.Type) + "\t" + std::to_string(area.X) + " x " + std::to_string(area.Y)
           + "\t" + std::to_string(area.Size) + " bytes";
}

std::vector<std::string> AreaRows(const MapHeader &header)
{
    std::vector<std::string> rows;
    for (const AreaEntry &area : header.Areas) {
        if (area.Type == 0)
            break;
        rows.push_back(AreaRow(area));
    }
    return rows;
}

std::string SizeText(const MapHeader &header)
{
    return std::to_string(header.Width) + " x " + std::to_string(header.Height);
}

} // namespace trelvik
