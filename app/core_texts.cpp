// SPDX-License-Identifier: GPL-3.0-or-later
// The core's fixed names that the window shows, listed here so that lupdate puts them in the
// translation files under the context "core". The core keeps them in its own tables, in
// English, and never sees Qt; CoreText() looks them up when the window shows them. A name added
// to one of those tables belongs here too.
#include "core_texts.h"

#include "document/code_tables.h"
#include "document/map_text.h"
#include "edit/brush.h"

#include <charconv>
#include <optional>

#include <QCoreApplication>
#include <QtGlobal>

namespace trelvik {
namespace {

[[maybe_unused]] constexpr const char *kCoreTexts[] = {
    // World types (document/code_tables.cpp)
    QT_TRANSLATE_NOOP("core", "Greenland"),
    QT_TRANSLATE_NOOP("core", "Wasteland"),
    QT_TRANSLATE_NOOP("core", "Winter"),
    // Animals
    QT_TRANSLATE_NOOP("core", "Rabbit"),
    QT_TRANSLATE_NOOP("core", "Fox"),
    QT_TRANSLATE_NOOP("core", "Stag"),
    QT_TRANSLATE_NOOP("core", "Deer"),
    QT_TRANSLATE_NOOP("core", "Duck"),
    QT_TRANSLATE_NOOP("core", "Sheep"),
    QT_TRANSLATE_NOOP("core", "Donkey"),
    // Area types
    QT_TRANSLATE_NOOP("core", "Land"),
    QT_TRANSLATE_NOOP("core", "Water"),
    // Kinds of ground, building qualities, objects and trees, as the point read-out names them
    QT_TRANSLATE_NOOP("core", "savannah"),
    QT_TRANSLATE_NOOP("core", "mountain"),
    QT_TRANSLATE_NOOP("core", "snow"),
    QT_TRANSLATE_NOOP("core", "swamp"),
    QT_TRANSLATE_NOOP("core", "desert"),
    QT_TRANSLATE_NOOP("core", "water"),
    QT_TRANSLATE_NOOP("core", "shallow water"),
    QT_TRANSLATE_NOOP("core", "meadow"),
    QT_TRANSLATE_NOOP("core", "steppe"),
    QT_TRANSLATE_NOOP("core", "flower meadow"),
    QT_TRANSLATE_NOOP("core", "lava"),
    QT_TRANSLATE_NOOP("core", "mountain meadow"),
    QT_TRANSLATE_NOOP("core", "buildable mountain"),
    QT_TRANSLATE_NOOP("core", "harbour"),
    QT_TRANSLATE_NOOP("core", "nothing"),
    QT_TRANSLATE_NOOP("core", "flag"),
    QT_TRANSLATE_NOOP("core", "hut"),
    QT_TRANSLATE_NOOP("core", "house"),
    QT_TRANSLATE_NOOP("core", "castle"),
    QT_TRANSLATE_NOOP("core", "mine"),
    QT_TRANSLATE_NOOP("core", "headquarters"),
    QT_TRANSLATE_NOOP("core", "tree"),
    QT_TRANSLATE_NOOP("core", "decoration"),
    QT_TRANSLATE_NOOP("core", "granite"),
    QT_TRANSLATE_NOOP("core", "pine"),
    QT_TRANSLATE_NOOP("core", "birch"),
    QT_TRANSLATE_NOOP("core", "oak"),
    QT_TRANSLATE_NOOP("core", "palm"),
    QT_TRANSLATE_NOOP("core", "pineapple"),
    QT_TRANSLATE_NOOP("core", "cypress"),
    QT_TRANSLATE_NOOP("core", "cherry"),
    QT_TRANSLATE_NOOP("core", "fir"),
    QT_TRANSLATE_NOOP("core", "outside the map"),
    // The fairness measures (play/fairness.cpp)
    QT_TRANSLATE_NOOP("core", "building sites"),
    QT_TRANSLATE_NOOP("core", "huts"),
    QT_TRANSLATE_NOOP("core", "houses"),
    QT_TRANSLATE_NOOP("core", "castles"),
    QT_TRANSLATE_NOOP("core", "mines"),
    QT_TRANSLATE_NOOP("core", "coal"),
    QT_TRANSLATE_NOOP("core", "iron"),
    QT_TRANSLATE_NOOP("core", "gold"),
    QT_TRANSLATE_NOOP("core", "trees"),
    QT_TRANSLATE_NOOP("core", "stones"),
    QT_TRANSLATE_NOOP("core", "fish"),
    QT_TRANSLATE_NOOP("core", "steps to a mine"),
    // The map check's severities and fixes (check/map_check.cpp)
    QT_TRANSLATE_NOOP("core", "error"),
    QT_TRANSLATE_NOOP("core", "warning"),
    QT_TRANSLATE_NOOP("core", "Recompute shading and building quality"),
    QT_TRANSLATE_NOOP("core", "Rebuild the area table"),
    QT_TRANSLATE_NOOP("core", "Take the players from the marks"),
    QT_TRANSLATE_NOOP("core", "Remove this mark"),
    // Fixed messages of reading a map and of the view (document/map_file.cpp,
    // viewer/view_refresh.cpp)
    QT_TRANSLATE_NOOP("core", "Not a Settlers II map file"),
    QT_TRANSLATE_NOOP("core", "Invalid map size"),
    QT_TRANSLATE_NOOP("core", "Settlers II view"),
};

QString Tr(const char *text)
{
    return QCoreApplication::translate("core", text);
}

// The number after `prefix` in "<prefix><number><suffix>", when the text is just that.
std::optional<unsigned>
NumberIn(std::string_view text, std::string_view prefix, std::string_view suffix)
{
    if (text.size() <= prefix.size() + suffix.size() || !text.starts_with(prefix)
        || !text.ends_with(suffix))
        return std::nullopt;
    const std::string_view digits =
        text.substr(prefix.size(), text.size() - prefix.size() - suffix.size());
    unsigned value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc{} || end != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

QString Number(std::integral auto value)
{
    return QString::number(value);
}

} // namespace

QString CoreText(std::string_view text)
{
    if (text.empty())
        return {};
    if (const auto code = NumberIn(text, "Unknown (", ")"))
        return Tr(QT_TRANSLATE_NOOP("core", "Unknown (%1)")).arg(*code);
    if (const auto player = NumberIn(text, "player ", ""))
        return Tr(QT_TRANSLATE_NOOP("core", "player %1")).arg(*player);
    if (const auto size = NumberIn(text, "size ", ""))
        return Tr(QT_TRANSLATE_NOOP("core", "size %1")).arg(*size);
    if (constexpr std::string_view kHarbour = "harbour, "; text.starts_with(kHarbour))
        return Tr("harbour") + QStringLiteral(", ") + CoreText(text.substr(kHarbour.size()));
    // translate() wants a terminated key; the core's names are short.
    const std::string key(text);
    return Tr(key.c_str());
}

QString AnimalRowText(const AnimalEntry &animal)
{
    return CoreText(AnimalName(animal.Species))
           + QStringLiteral("\t%1 x %2").arg(Number(animal.X), Number(animal.Y));
}

QString AreaRowText(const AreaEntry &area)
{
    return CoreText(AreaTypeName(area.Type))
           + QStringLiteral("\t%1 x %2\t").arg(Number(area.X), Number(area.Y))
           + Tr(QT_TRANSLATE_NOOP("core", "%1 bytes")).arg(area.Size);
}

QString HeadquartersLines(const MapHeader &header)
{
    QString text;
    for (std::size_t p = 0; p < kHeadquartersCount; ++p)
        text += Tr(QT_TRANSLATE_NOOP("core", "Player %1: %2 x %3"))
                    .arg(Number(p + 1), Number(header.HeadquartersX[p]),
                         Number(header.HeadquartersY[p]))
                + QStringLiteral("\r\n");
    return text;
}

QString UnknownBytesLine(const MapHeader &header)
{
    QString text = Tr(QT_TRANSLATE_NOOP("core", "Unknown bytes:"));
    for (const uint8_t b : header.UnknownBytes)
        text += QLatin1Char(' ') + QString::fromStdString(HexPad(b, 2));
    return text;
}

QString MapInfoLines(const MapDocument &document, int layer)
{
    if (layer < 1 || layer > kLayerCount)
        return Tr("Settlers II view");
    const LayerBlockHeader &block = document.BlockHeader(layer);
    return Tr(QT_TRANSLATE_NOOP("core", "Map data %1")).arg(layer) + QStringLiteral("\r\n")
           + Tr(QT_TRANSLATE_NOOP("core", "Header: %1 %2 | %3 | %4 x %5 | %6 | %7 bytes"))
                 .arg(QString::fromStdString(HexPad(block.Marker[0], 0)),
                      QString::fromStdString(HexPad(block.Marker[1], 0)), Number(block.Zero),
                      Number(block.Width), Number(block.Height), Number(block.One),
                      Number(block.DataLength));
}

QString ReadoutLine(const PointReadout &readout)
{
    QString text = QStringLiteral("x %1, y %2").arg(readout.X).arg(readout.Y);
    for (std::size_t i = 0; i < kLayerCount; ++i) {
        text += QStringLiteral(" | %1: %2").arg(i + 1).arg(readout.Values[i]);
        if (!readout.Names[i].empty())
            text += QStringLiteral(" (") + CoreText(readout.Names[i]) + QLatin1Char(')');
    }
    return text;
}

QString TerrainLabelText(uint8_t code)
{
    const std::string label = edit::TerrainLabel(code);
    const std::string name = TerrainName(code);
    if (name.empty() || label.compare(0, name.size(), name) != 0)
        return QString::fromStdString(label);
    return CoreText(name) + QString::fromStdString(label.substr(name.size()));
}

} // namespace trelvik
