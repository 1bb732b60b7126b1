// SPDX-License-Identifier: GPL-3.0-or-later
// The core's fixed names that the window shows, listed here so that lupdate puts them in the
// translation files under the context "core". The core keeps them in its own tables, in
// English, and never sees Qt; CoreText() looks them up when the window shows them. A name added
// to one of those tables belongs here too.
#include "core_texts.h"

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

} // namespace

QString CoreText(std::string_view text)
{
    if (text.empty())
        return {};
    // translate() wants a terminated key; the core's names are short.
    const std::string key(text);
    return QCoreApplication::translate("core", key.c_str());
}

} // namespace trelvik
