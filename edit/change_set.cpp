// SPDX-License-Identifier: GPL-3.0-or-later
#include "change_set.h"

#include <algorithm>
#include <utility>

namespace trelvik::edit {
namespace {

bool ValidLayer(int layer)
{
    return layer >= 1 && layer <= kLayerCount;
}

void Write(MapDocument &document, int layer, std::size_t index, uint8_t value)
{
    MapLayer &bytes = document.Layer(layer);
    if (index < bytes.size())
        bytes[index] = value;
}

} // namespace

void ChangeSet::Note(int layer, std::size_t index, uint8_t old, uint8_t value)
{
    const auto [at, added] = mWhere.try_emplace(Key(layer, index), mEntries.size());
    if (added)
        mEntries.push_back({index, static_cast<uint8_t>(layer), old, value});
    else
        mEntries[at->second].New = value;
}

void ChangeSet::Set(MapDocument &document, int layer, std::size_t index, uint8_t value)
{
    if (!ValidLayer(layer))
        return;
    MapLayer &bytes = document.Layer(layer);
    if (index >= bytes.size() || bytes[index] == value)
        return;
    Note(layer, index, bytes[index], value);
    bytes[index] = value;
}

void ChangeSet::SetHeader(MapDocument &document, const MapHeader &header)
{
    if (!mOldHeader)
        mOldHeader = document.Header;
    document.Header = header;
    mNewHeader = header;
}

void ChangeSet::SetAnimals(MapDocument &document, std::vector<AnimalEntry> animals)
{
    if (!mOldAnimals)
        mOldAnimals = document.Animals;
    document.Animals = std::move(animals);
    mNewAnimals = document.Animals;
}

void ChangeSet::Undo(MapDocument &document) const
{
    for (const Entry &e : mEntries)
        Write(document, e.Layer, e.Index, e.Old);
    if (mOldHeader)
        document.Header = *mOldHeader;
    if (mOldAnimals)
        document.Animals = *mOldAnimals;
}

void ChangeSet::Redo(MapDocument &document) const
{
    for (const Entry &e : mEntries)
        Write(document, e.Layer, e.Index, e.New);
    if (mNewHeader)
        document.Header = *mNewHeader;
    if (mNewAnimals)
        document.Animals = *mNewAnimals;
}

bool ChangeSet::Empty() const
{
    return !HeaderChanged() && !AnimalsChanged()
           && std::ranges::all_of(mEntries, [](const Entry &e) { return e.Old == e.New; });
}

std::vector<std::size_t> ChangeSet::Points() const
{
    std::vector<std::size_t> points;
    for (const Entry &e : mEntries)
        if (e.Old != e.New)
            points.push_back(e.Index);
    std::ranges::sort(points);
    points.erase(std::unique(points.begin(), points.end()), points.end());
    return points;
}

bool ChangeSet::HeaderChanged() const
{
    return mOldHeader && *mOldHeader != *mNewHeader;
}

bool ChangeSet::AnimalsChanged() const
{
    return mOldAnimals && *mOldAnimals != *mNewAnimals;
}

std::optional<uint8_t> ChangeSet::OldByte(int layer, std::size_t index) const
{
    const auto at = mWhere.find(Key(layer, index));
    if (at == mWhere.end())
        return std::nullopt;
    return mEntries[at->second].Old;
}

void ChangeSet::Merge(const ChangeSet &later)
{
    for (const Entry &e : later.mEntries)
        Note(e.Layer, e.Index, e.Old, e.New);
    if (later.mOldHeader) {
        if (!mOldHeader)
            mOldHeader = later.mOldHeader;
        mNewHeader = later.mNewHeader;
    }
    if (later.mOldAnimals) {
        if (!mOldAnimals)
            mOldAnimals = later.mOldAnimals;
        mNewAnimals = later.mNewAnimals;
    }
}

} // namespace trelvik::edit
