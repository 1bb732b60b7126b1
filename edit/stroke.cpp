// SPDX-License-Identifier: GPL-3.0-or-later
#include "stroke.h"

#include "document/layer_codes.h"
#include "play/areas.h"
#include "play/building_quality.h"
#include "play/ground.h"
#include "play/headquarters.h"
#include "play/objects.h"
#include "play/shading.h"

#include <algorithm>
#include <array>
#include <utility>

namespace trelvik::edit {
namespace {

constexpr int16_t kUnusedSlot = -1; // 0xFFFF, as editors write it
constexpr uint8_t kLastSpecies = 9;

void SortUnique(std::vector<std::size_t> &indices)
{
    std::ranges::sort(indices);
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
}

// The point and the eighteen around it up to two steps away.
void AddNear(const PointGrid &grid, std::size_t index, std::vector<std::size_t> &out)
{
    const Point p = grid.PointAt(index);
    out.push_back(index);
    const auto around = grid.NeighbourIndices(p.X, p.Y);
    out.insert(out.end(), around.begin(), around.end());
    const auto ring = grid.RingIndices(p.X, p.Y);
    out.insert(out.end(), ring.begin(), ring.end());
}

std::string At(Point p)
{
    return "(" + std::to_string(p.X) + ", " + std::to_string(p.Y) + ")";
}

// Layer 13 of one point, as ComputeShading works it out.
uint8_t ShadeAt(const PointGrid &grid, const MapLayer &heights, Point p)
{
    const int h = grid.Read(heights, p);
    const int value = kFlatShading + 9 * (grid.Read(heights, grid.NorthEast(p)) - h)
                      - 6 * (grid.Read(heights, grid.West(p)) - h)
                      - 3 * (grid.Read(heights, grid.Offset(p, -2, 0)) - h)
                      - 9 * (grid.Read(heights, grid.West(grid.SouthWest(p))) - h);
    return static_cast<uint8_t>(std::clamp(value, 0, 2 * kFlatShading));
}

bool IsCastle(const MapLayer &quality, std::size_t i)
{
    return i < quality.size()
           && (quality[i] & kQualityMask) == static_cast<uint8_t>(BuildingQuality::Castle);
}

// Water among the eighteen triangles around a point (those with a corner at most one step away),
// as the coastal castle fix looks for it, but wrapping at the edges and reading the terrain
// code without the harbour bit.
bool ByTheWater(const PointGrid &grid, const MapDocument &document, Point p)
{
    struct Near
    {
        int Layer, Row, Column;
    };
    static constexpr std::array<Near, 18> kNear = {{{2, -2, -1},
                                                    {2, -2, 0},
                                                    {2, -2, 1},
                                                    {3, -2, -1},
                                                    {3, -2, 0},
                                                    {2, -1, -2},
                                                    {2, -1, 1},
                                                    {3, -1, -2},
                                                    {3, -1, 0},
                                                    {2, 0, -1},
                                                    {2, 0, 1},
                                                    {3, 0, -2},
                                                    {3, 0, 1},
                                                    {2, 1, -1},
                                                    {2, 1, 0},
                                                    {3, 1, -2},
                                                    {3, 1, -1},
                                                    {3, 1, 0}}};
    return std::ranges::any_of(kNear, [&](const Near &n) {
        const uint8_t code = grid.Read(document.Layer(n.Layer), grid.Offset(p, n.Column, n.Row));
        return IsCastleFixWaterCode(static_cast<uint8_t>(code & kTerrainMask));
    });
}

bool TouchesLava(const PointGrid &grid, const MapDocument &document, Point p)
{
    return std::ranges::any_of(TrianglesAround(grid, document, p), IsLavaCode);
}

// Objects a brush may take away: trees, granite and decorations, never a headquarters.
bool Clearable(uint8_t type)
{
    return IsTreeObject(type) || IsGraniteObject(type) || IsDecorationObject(type);
}

} // namespace

// The writes of one dab (or one headquarters move) into a ChangeSet, and what they touched.
struct Stroke::Writes
{
    MapDocument &Document;
    ChangeSet &Changes;
    std::vector<std::size_t> Touched; // points whose bytes changed
    std::vector<std::size_t> Heights; // points whose height changed
    std::vector<std::size_t> Around;  // corners of changed triangles, points whose object changed

    bool Write(int layer, std::size_t index, uint8_t value)
    {
        const MapLayer &bytes = Document.Layer(layer);
        if (index >= bytes.size() || bytes[index] == value)
            return false;
        Changes.Set(Document, layer, index, value);
        Touched.push_back(index);
        return true;
    }

    uint8_t Read(int layer, std::size_t index) const
    {
        const MapLayer &bytes = Document.Layer(layer);
        return index < bytes.size() ? bytes[index] : uint8_t{0};
    }
};

Stroke::Stroke(MapDocument &document, const Brush &brush, uint64_t seed)
    : mDocument(document)
    , mBrush(brush)
    , mGrid(document)
    , mRandom(seed)
{
    mBrush.Size = ClampedSize(mBrush.Size);
    mScratch.Layer(5).assign(1, 0);
    mScratch.Layer(6).assign(1, 0);
}

std::vector<std::size_t> Stroke::Dab(Point centre)
{
    if (mGrid.Empty() || mFinished)
        return {};
    centre = mGrid.Offset(centre, 0, 0);
    if (!mPress)
        mPress = centre;
    Writes w{mDocument, mChanges, {}, {}, {}};
    switch (mBrush.Kind) {
    case BrushKind::Terrain:
        PaintTerrain(w, centre);
        break;
    case BrushKind::Height:
        ShapeHeights(w, centre);
        break;
    case BrushKind::Objects:
        PlaceObjects(w, centre);
        break;
    case BrushKind::Resources:
        PlaceResources(w, centre);
        break;
    case BrushKind::Animals:
        PlaceAnimals(w, centre);
        break;
    case BrushKind::Harbour:
        MarkHarbours(w, centre);
        break;
    case BrushKind::Players:
        break; // the work happens at the release
    }
    FollowDerived(w);
    SortUnique(w.Touched);
    return w.Touched;
}

// Both triangle bytes get the code; the bits above it stay. A tree or granite left standing in
// the water or by lava (what the check warns of) is cleared with the paint: the map maker who
// floods a forest means the water, not trees in it.
void Stroke::PaintTerrain(Writes &w, Point centre)
{
    const auto code = static_cast<uint8_t>(mBrush.Terrain & kTerrainMask);
    for (const Triangle &t : BrushTriangles(mGrid, centre, mBrush.Size)) {
        const uint8_t old = w.Read(t.Layer, t.Index);
        if (!w.Write(t.Layer, t.Index, static_cast<uint8_t>((old & ~kTerrainMask) | code)))
            continue;
        mTerrainChanged = true;
        // The triangle's corners: the point, its south-east neighbour, and its south-west
        // (layer 2) or east (layer 3) neighbour.
        const Point p = mGrid.PointAt(t.Index);
        w.Around.push_back(t.Index);
        w.Around.push_back(mGrid.IndexOf(mGrid.SouthEast(p)));
        w.Around.push_back(
            mGrid.IndexOf(t.Layer == 2 ? mGrid.SouthWest(p) : mGrid.Neighbour(p, 3)));
    }
    SortUnique(w.Around);
    for (const std::size_t i : w.Around) {
        const uint8_t type = w.Read(6, i);
        if (!IsTreeObject(type) && !IsGraniteObject(type))
            continue;
        const Point p = mGrid.PointAt(i);
        if ((play::GroundAt(mGrid, mDocument, p) & play::kAllWater) == 0
            && !TouchesLava(mGrid, mDocument, p))
            continue;
        w.Write(6, i, kNoObject);
        w.Write(5, i, 0);
    }
    // What lies under a point goes with the ground it needs: minerals and empty mountain with
    // mining ground, drinking water with buildable land, fish with water.
    for (const std::size_t i : w.Around) {
        const uint8_t resource = w.Read(12, i);
        const uint16_t g = play::GroundAt(mGrid, mDocument, mGrid.PointAt(i));
        const bool mining = (g & play::kAllMining) != 0;
        bool fits = true; // bytes of no kind known here are left as they are
        if (resource == kDrinkingWaterResource)
            fits = (g & play::kAllBuildable) != 0;
        else if (resource == kFishResource)
            fits = (g & play::kAllWater) != 0;
        else if (resource == kEmptyMountainResource || MineralIn(resource))
            fits = mining;
        if (!fits)
            w.Write(12, i, mining ? kEmptyMountainResource : kNoResource);
    }
}

void Stroke::ShapeHeights(Writes &w, Point centre)
{
    const MapLayer &heights = mDocument.Layer(1);
    if (!mFlatHeight)
        mFlatHeight = std::min<int>(mGrid.Read(heights, centre), kMaxHeight);
    const int step = std::clamp(mBrush.HeightStep, 1, kMaxHeight);
    // Worked out from the heights before the dab, then written, so that smoothing does not
    // depend on the order of the points.
    std::vector<std::pair<std::size_t, uint8_t>> fresh;
    for (const Point p : BrushPoints(mGrid, centre, mBrush.Size)) {
        const std::size_t i = mGrid.IndexOf(p);
        if (i >= heights.size())
            continue;
        const int h = heights[i];
        int value = h;
        switch (mBrush.Height) {
        case HeightMode::Raise:
            value = h >= kMaxHeight ? h : std::min(h + step, kMaxHeight);
            break;
        case HeightMode::Lower:
            value = std::max(h - step, 0);
            break;
        case HeightMode::Flatten:
            value = *mFlatHeight;
            break;
        case HeightMode::Smooth: {
            int sum = 0;
            for (const Point n : mGrid.Neighbours(p))
                sum += mGrid.Read(heights, n);
            value = std::min((sum + 3) / 6, kMaxHeight);
            break;
        }
        }
        fresh.emplace_back(i, static_cast<uint8_t>(value));
    }
    for (const auto &[i, value] : fresh)
        if (w.Write(1, i, value))
            w.Heights.push_back(i);
}

// Objects stand only on land with no water, snow or lava around, never on or beside a
// headquarters (the building quality there must stay castle) and never over one.
void Stroke::PlaceObjects(Writes &w, Point centre)
{
    const MapLayer &types = mDocument.Layer(6);
    for (const Point p : BrushPoints(mGrid, centre, mBrush.Size)) {
        const std::size_t i = mGrid.IndexOf(p);
        if (i >= types.size() || i >= mDocument.Layer(5).size())
            continue;
        const uint8_t type = types[i];
        uint8_t newType = type, newKind = w.Read(5, i);
        if (mBrush.Object == ObjectChoice::Erase) {
            if (!Clearable(type))
                continue;
            newType = kNoObject;
            newKind = 0;
        } else {
            const uint16_t g = play::GroundAt(mGrid, mDocument, p);
            const bool dry = (g & (play::kTouchesWater | play::kTouchesDanger)) == 0;
            const auto nearHeadquarters =
                std::ranges::any_of(QualityNeighbourhood(mGrid, i), [&](std::size_t k) {
                    return w.Read(6, k) == kHeadquartersObject;
                });
            if (!dry || nearHeadquarters)
                continue;
            switch (mBrush.Object) {
            case ObjectChoice::Tree:
                if ((g & play::kAllBuildable) == 0 || IsTreeObject(type))
                    continue;
                mScratch.Header.WorldType = mDocument.Header.WorldType;
                PlantTree(mScratch, 0, mRandom);
                newType = mScratch.Layer(6)[0];
                newKind = mScratch.Layer(5)[0];
                break;
            case ObjectChoice::Granite:
                if ((g & play::kAllFirm) == 0)
                    continue;
                if (!IsGraniteObject(type))
                    newType = mRandom.Below(2) == 0 ? kFirstGraniteObject : kLastGraniteObject;
                newKind = static_cast<uint8_t>(std::clamp<int>(mBrush.GraniteSize, 1, 6));
                break;
            case ObjectChoice::Decoration:
                if ((g & play::kAllWalkable) == 0)
                    continue;
                newType = kDecorationObject;
                newKind = mBrush.Decoration;
                break;
            case ObjectChoice::Erase:
                break;
            }
        }
        const bool changed = w.Write(6, i, newType);
        if (w.Write(5, i, newKind) || changed)
            w.Around.push_back(i);
    }
}

// Minerals only where all six triangles are mining mountain, water to drink only under land
// all buildable, fish only in open water; erasing leaves what hand-made maps hold with nothing
// there: 0x40 under mining mountain, 0 elsewhere.
void Stroke::PlaceResources(Writes &w, Point centre)
{
    const int amount = std::clamp(mBrush.Amount, 1, static_cast<int>(kMaxMineralAmount));
    for (const Point p : BrushPoints(mGrid, centre, mBrush.Size)) {
        const std::size_t i = mGrid.IndexOf(p);
        if (i >= mDocument.Layer(12).size())
            continue;
        const uint16_t g = play::GroundAt(mGrid, mDocument, p);
        const bool mining = (g & play::kAllMining) != 0;
        std::optional<uint8_t> value;
        switch (mBrush.Resource) {
        case ResourceChoice::Coal:
        case ResourceChoice::Iron:
        case ResourceChoice::Gold:
        case ResourceChoice::Granite: {
            constexpr std::array<Mineral, 4> kMinerals = {Mineral::Coal, Mineral::Iron,
                                                          Mineral::Gold, Mineral::Granite};
            if (mining)
                value = ResourceByte(kMinerals[static_cast<std::size_t>(mBrush.Resource)], amount);
            break;
        }
        case ResourceChoice::Water:
            if ((g & play::kAllBuildable) != 0)
                value = kDrinkingWaterResource;
            break;
        case ResourceChoice::Fish:
            if ((g & play::kAllWater) != 0)
                value = kFishResource;
            break;
        case ResourceChoice::Erase:
            value = mining ? kEmptyMountainResource : kNoResource;
            break;
        }
        if (value)
            w.Write(12, i, *value);
    }
}

// Layer 7 and the animal list together: one animal of the species on each walkable point with
// none, or none on the brush's points.
void Stroke::PlaceAnimals(Writes &w, Point centre)
{
    std::vector<AnimalEntry> animals = mDocument.Animals;
    const auto standsAt = [](Point p) {
        return [p](const AnimalEntry &a) { return a.X == p.X && a.Y == p.Y; };
    };
    bool changed = false;
    for (const Point p : BrushPoints(mGrid, centre, mBrush.Size)) {
        const std::size_t i = mGrid.IndexOf(p);
        if (i >= mDocument.Layer(7).size())
            continue;
        if (mBrush.Erase) {
            w.Write(7, i, 0);
            changed |= std::erase_if(animals, standsAt(p)) > 0;
            continue;
        }
        if (mBrush.Animal == 0 || mBrush.Animal > kLastSpecies || w.Read(7, i) != 0
            || animals.size() >= kMaxAnimals || std::ranges::any_of(animals, standsAt(p))
            || (play::GroundAt(mGrid, mDocument, p) & play::kAllWalkable) == 0)
            continue;
        w.Write(7, i, mBrush.Animal);
        animals.push_back(
            AnimalEntry{mBrush.Animal, static_cast<int16_t>(p.X), static_cast<int16_t>(p.Y)});
        changed = true;
    }
    if (changed)
        mChanges.SetAnimals(mDocument, std::move(animals));
}

void Stroke::MarkHarbours(Writes &w, Point centre)
{
    const MapLayer &quality = mDocument.Layer(9);
    for (const Point p : BrushPoints(mGrid, centre, mBrush.Size)) {
        const std::size_t i = mGrid.IndexOf(p);
        if (i >= mDocument.Layer(2).size())
            continue;
        const uint8_t terrain = w.Read(2, i);
        if (mBrush.Erase)
            w.Write(2, i, static_cast<uint8_t>(terrain & ~kHarbourBit));
        else if (IsCastle(quality, i) && ByTheWater(mGrid, mDocument, p))
            w.Write(2, i, static_cast<uint8_t>(terrain | kHarbourBit));
    }
}

// Shading up to two steps from a changed height (the formula reads two points west), building
// quality up to two steps from every change (heights reach two steps, terrain and objects one,
// and a building's flag stands on its south-east neighbour), and harbour marks on those points
// that are no longer castle sites by the water.
void Stroke::FollowDerived(Writes &w)
{
    std::vector<std::size_t> shade, near;
    SortUnique(w.Heights);
    SortUnique(w.Around);
    for (const std::size_t i : w.Heights)
        AddNear(mGrid, i, shade);
    SortUnique(shade);
    for (const std::size_t i : w.Around)
        AddNear(mGrid, i, near);
    near.insert(near.end(), shade.begin(), shade.end());
    SortUnique(near);
    const MapLayer &heights = mDocument.Layer(1);
    for (const std::size_t i : shade)
        w.Write(13, i, ShadeAt(mGrid, heights, mGrid.PointAt(i)));

    // UpdateBuildingQuality writes layer 9 itself: its bytes are put back and written again
    // through the change set.
    MapLayer &quality = mDocument.Layer(9);
    std::vector<std::pair<std::size_t, uint8_t>> before;
    for (const std::size_t i : near)
        if (i < quality.size())
            before.emplace_back(i, quality[i]);
    UpdateBuildingQuality(mDocument, near);
    for (const auto &[i, old] : before) {
        const uint8_t fresh = quality[i];
        quality[i] = old;
        w.Write(9, i, fresh);
    }
    for (const std::size_t i : near) {
        const uint8_t terrain = w.Read(2, i);
        if ((terrain & kHarbourBit) != 0
            && (!IsCastle(quality, i) || !ByTheWater(mGrid, mDocument, mGrid.PointAt(i))))
            w.Write(2, i, static_cast<uint8_t>(terrain & ~kHarbourBit));
    }
}

ChangeSet Stroke::Finish(Point at)
{
    if (mFinished)
        return mChanges;
    mFinished = true;
    mRefusal.clear();
    if (mBrush.Kind == BrushKind::Players && !mGrid.Empty())
        PlacePlayer(at);
    if (mTerrainChanged)
        UpdateAreas();
    return mChanges;
}

// ComputeAreas works on the whole map; what it changed is put back and written again through
// the change set.
void Stroke::UpdateAreas()
{
    const MapHeader header = mDocument.Header;
    const MapLayer ids = mDocument.Layer(14);
    ComputeAreas(mDocument);
    const MapHeader areas = mDocument.Header;
    mDocument.Header = header;
    MapLayer fresh = std::exchange(mDocument.Layer(14), ids);
    for (std::size_t i = 0; i < std::min(fresh.size(), ids.size()); ++i)
        mChanges.Set(mDocument, 14, i, fresh[i]);
    if (areas != header)
        mChanges.SetHeader(mDocument, areas);
}

namespace {

// The header's player count and slots from the marks: the count reaches the highest player
// marked, each slot below it holds that player's first mark, the others 0xFFFF.
MapHeader HeaderFromMarks(const MapDocument &document)
{
    const auto marks = FirstMarkOfEachPlayer(document);
    MapHeader header = document.Header;
    header.PlayerCount = 0;
    for (std::size_t k = 0; k < marks.size(); ++k)
        if (marks[k])
            header.PlayerCount = static_cast<uint8_t>(k + 1);
    for (std::size_t k = 0; k < marks.size(); ++k) {
        const bool used = k < header.PlayerCount && marks[k];
        header.HeadquartersX[k] = used ? static_cast<int16_t>(marks[k]->X) : kUnusedSlot;
        header.HeadquartersY[k] = used ? static_cast<int16_t>(marks[k]->Y) : kUnusedSlot;
    }
    return header;
}

bool MarkAt(const MapDocument &document, std::size_t i)
{
    const MapLayer &types = document.Layer(6);
    return i < types.size() && types[i] == kHeadquartersObject && i < document.Layer(5).size()
           && document.Layer(5)[i] < kHeadquartersCount;
}

} // namespace

void Stroke::PlacePlayer(Point at)
{
    const Point press = mPress.value_or(at);
    const auto points = static_cast<std::size_t>(mGrid.Width() * mGrid.Height());
    if (std::ranges::any_of(mDocument.Layers,
                            [&](const MapLayer &l) { return l.size() < points; })) {
        mRefusal = "The map's layers do not hold all its points: no headquarters can be placed.";
        return;
    }
    if (!mGrid.Holds(press) || !mGrid.Holds(at)) {
        mRefusal = "The headquarters would lie off the map.";
        return;
    }
    const std::size_t pressed = mGrid.IndexOf(press);
    if (mBrush.Erase) {
        if (!ErasePlayer(press))
            mRefusal = "There is no headquarters at " + At(press) + " to erase.";
        return;
    }
    int player = std::clamp(mBrush.Player, 0, kHeadquartersCount - 1);
    Point site = press;
    if (MarkAt(mDocument, pressed)) {
        const int owner = mDocument.Layer(5)[pressed];
        if (at != press) {
            player = owner;
            site = at;
        } else if (owner == player) {
            return; // already there
        } else {
            mRefusal = "Player " + std::to_string(owner + 1) + "'s headquarters stands at "
                       + At(press) + ".";
            return;
        }
    }
    if (mDocument.Layer(6)[mGrid.IndexOf(site)] == kHeadquartersObject) {
        mRefusal = "Another headquarters stands at " + At(site) + ".";
        return;
    }
    const auto marks = FirstMarkOfEachPlayer(mDocument);
    int marked = 0;
    while (marked < kHeadquartersCount && marks[static_cast<std::size_t>(marked)])
        ++marked;
    if (!marks[static_cast<std::size_t>(player)] && player > marked) {
        mRefusal = "Place player " + std::to_string(marked + 1) + "'s headquarters first.";
        return;
    }
    ChangeSet move;
    if (MovePlayer(player, site, move))
        mChanges.Merge(move);
    else
        move.Undo(mDocument);
}

// Puts `player`'s headquarters on `site` (taking it off where it stood): the ground levelled,
// no object within kObjectFreeRadius steps, the mark, the header, shading and quality around.
// False, with a refusal, when the site is no castle site then or another headquarters loses
// its castle site; `changes` then holds what to undo.
bool Stroke::MovePlayer(int player, Point site, ChangeSet &changes)
{
    const std::vector<Point> others = FindHeadquartersMarks(mDocument);
    const std::optional<Point> own =
        FirstMarkOfEachPlayer(mDocument)[static_cast<std::size_t>(player)];
    const MapLayer &quality = mDocument.Layer(9);
    std::vector<std::size_t> castles;
    for (const Point p : others)
        if (IsCastle(quality, mGrid.IndexOf(p)))
            castles.push_back(mGrid.IndexOf(p));

    for (const Point p : others) {
        if (p != own && mGrid.Distance(p, site) <= kLevelledRadius) {
            mRefusal =
                "A headquarters at " + At(site) + " would stand too near the one at " + At(p) + ".";
            return false;
        }
    }
    Writes w{mDocument, changes, {}, {}, {}};
    const std::size_t s = mGrid.IndexOf(site);
    if (own) {
        const std::size_t i = mGrid.IndexOf(*own);
        w.Write(6, i, kNoObject);
        w.Write(5, i, 0);
        w.Around.push_back(i);
        std::erase(castles, i);
    }
    // LevelGround writes layer 1 itself, up to two steps from the site.
    std::vector<std::size_t> levelled;
    AddNear(mGrid, s, levelled);
    SortUnique(levelled);
    MapLayer &heights = mDocument.Layer(1);
    std::vector<uint8_t> before;
    for (const std::size_t i : levelled)
        before.push_back(heights[i]);
    LevelGround(mDocument, site);
    for (std::size_t k = 0; k < levelled.size(); ++k) {
        const uint8_t fresh = heights[levelled[k]];
        heights[levelled[k]] = before[k];
        if (w.Write(1, levelled[k], fresh))
            w.Heights.push_back(levelled[k]);
    }
    play::StepWalker walker(mGrid);
    const auto clear = [&](std::size_t i) {
        if (Clearable(w.Read(6, i))) {
            w.Write(6, i, kNoObject);
            w.Write(5, i, 0);
            w.Around.push_back(i);
        }
    };
    clear(s);
    walker.Walk(s, kObjectFreeRadius, [&](std::size_t i, int) { clear(i); });
    w.Write(6, s, kHeadquartersObject);
    w.Write(5, s, static_cast<uint8_t>(player));
    w.Around.push_back(s);
    FollowDerived(w);
    changes.SetHeader(mDocument, HeaderFromMarks(mDocument));

    if (!IsCastle(quality, s)) {
        mRefusal = "The ground at " + At(site) + " cannot hold a castle.";
        return false;
    }
    for (const std::size_t i : castles) {
        if (!IsCastle(quality, i)) {
            mRefusal = "A headquarters at " + At(site)
                       + " would take the castle site of the one at " + At(mGrid.PointAt(i)) + ".";
            return false;
        }
    }
    return true;
}

// Takes the mark at `press` off; the players after it move up one, so that the players stay
// numbered without gaps and the header agrees with the marks.
bool Stroke::ErasePlayer(Point press)
{
    const std::size_t i = mGrid.IndexOf(press);
    if (!MarkAt(mDocument, i))
        return false;
    const int player = mDocument.Layer(5)[i];
    const auto marks = FirstMarkOfEachPlayer(mDocument);
    Writes w{mDocument, mChanges, {}, {}, {}};
    w.Write(6, i, kNoObject);
    w.Write(5, i, 0);
    w.Around.push_back(i);
    // A second mark of a player goes alone; the first takes its player along.
    if (marks[static_cast<std::size_t>(player)] == press)
        for (int k = player + 1; k < kHeadquartersCount; ++k)
            if (const auto &mark = marks[static_cast<std::size_t>(k)])
                w.Write(5, mGrid.IndexOf(*mark), static_cast<uint8_t>(k - 1));
    FollowDerived(w);
    mChanges.SetHeader(mDocument, HeaderFromMarks(mDocument));
    return true;
}

} // namespace trelvik::edit
