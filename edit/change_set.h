// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/map_document.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

namespace trelvik::edit {

/// What one edit changed, byte by byte: for every layer byte it wrote, the byte it held before
/// the first write and the one it holds now; the header and the animal list whole, when they
/// were replaced. Undo and Redo put back exactly those bytes.
class ChangeSet
{
public:
    /// Writes `value` into layer `layer` (1..14) at `index`, noting the byte it held the first
    /// time that byte changes in this set. Writing the byte it holds is not a change. A layer
    /// number outside 1..14 or an index past the layer's end writes nothing.
    void Set(MapDocument &document, int layer, std::size_t index, uint8_t value);
    /// Replaces the header / the animal list, noting the old one the first time.
    void SetHeader(MapDocument &document, const MapHeader &header);
    void SetAnimals(MapDocument &document, std::vector<AnimalEntry> animals);

    /// Back to the bytes before the set.
    void Undo(MapDocument &document) const;
    /// Forward to the bytes after it.
    void Redo(MapDocument &document) const;

    /// True when nothing differs: bytes set back to their old value count as no change.
    bool Empty() const;
    /// Sorted, unique indices of the points whose layer bytes changed.
    std::vector<std::size_t> Points() const;
    bool HeaderChanged() const;
    bool AnimalsChanged() const;
    /// The number of layer bytes the set keeps (each with its old and new value).
    std::size_t Size() const { return mEntries.size(); }

    /// The byte layer `layer` held at `index` before this set, when the set wrote it.
    std::optional<uint8_t> OldByte(int layer, std::size_t index) const;

    /// Folds a set made after this one into it: the old bytes stay this set's, the new ones
    /// become `later`'s.
    void Merge(const ChangeSet &later);

private:
    struct Entry
    {
        std::size_t Index = 0;
        uint8_t Layer = 0;
        uint8_t Old = 0;
        uint8_t New = 0;
    };

    static uint64_t Key(int layer, std::size_t index)
    {
        return (static_cast<uint64_t>(index) << 4U) | static_cast<uint64_t>(layer);
    }

    void Note(int layer, std::size_t index, uint8_t old, uint8_t value);

    std::vector<Entry> mEntries;
    std::unordered_map<uint64_t, std::size_t> mWhere; // Key -> position in mEntries
    std::optional<MapHeader> mOldHeader, mNewHeader;
    std::optional<std::vector<AnimalEntry>> mOldAnimals, mNewAnimals;
};

} // namespace trelvik::edit
