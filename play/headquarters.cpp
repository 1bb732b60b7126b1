// SPDX-License-Identifier: GPL-3.0-or-later
#include "headquarters.h"

#include "ball_sums.h"
#include "building_quality.h"
#include "fairness.h"
#include "ground.h"
#include "symmetry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <span>

namespace trelvik {
namespace {

// Mining mountain this many steps from a site makes it a preferred site.
constexpr int64_t kNearestMine = 6;
constexpr int64_t kFarthestMine = 20;
// The spreading search looks at no more candidates than this; the best arrangement found among
// them is then nudged point by point within kNudgeRadius steps.
constexpr std::size_t kCoarseCandidates = 512;
// Only the pieces of land with the most candidates are searched.
constexpr std::size_t kPiecesSearched = 2;
constexpr int kNudgeRadius = 2;
constexpr int kGreedyStarts = 3;
constexpr int kImprovementRounds = 8;
// The balanced search needs the spread only as a yardstick and a place to start from.
constexpr int kBalancedSpreadRounds = 2;
// Rounds of moving sites to balance the starts.
constexpr int kBalanceRounds = 4;
constexpr int32_t kNone = -1;
// What candidateAt holds for a site: kNone, or whether it is preferred.
constexpr int8_t kPlain = 0;
constexpr int8_t kPreferred = 1;

// Steps to the nearest point with mining mountain all around, up to kFarthestMine (beyond: -1).
std::vector<int32_t> StepsToMines(const PointGrid &grid, const play::GroundFlags &ground)
{
    const std::size_t count = ground.size();
    std::vector<int32_t> steps(count, -1);
    std::vector<Point> ring, next;
    grid.ForEachPoint(count, [&](Point p, std::size_t i) {
        if ((ground[i] & play::kAllMining) != 0) {
            steps[i] = 0;
            ring.push_back(p);
        }
    });
    for (int32_t d = 1; d <= kFarthestMine && !ring.empty(); ++d) {
        next.clear();
        for (const Point p : ring) {
            const auto around = grid.NeighbourIndices(p.X, p.Y);
            for (std::size_t k = 0; k < around.size(); ++k) {
                if (steps[around[k]] < 0) {
                    steps[around[k]] = d;
                    next.push_back(grid.Neighbour(p, k));
                }
            }
        }
        std::swap(ring, next);
    }
    return steps;
}

struct Candidate
{
    Point At;
    bool Preferred = false;
    // For balanced starts: the building sites the ground gives around the site (see
    // StartScore).
    int64_t Room = 0;
};

// The balanced search keeps the players at least this share (in quarters) of the spread the
// spreading search found apart, and never closer than the minimum.
constexpr int64_t kKeptSpreadQuarters = 3;

// How good an arrangement of starts is for balanced play: the poorest start's room, less half
// the gap to the richest (which the finish must close by planting trees). Mines are not
// weighed: a start without them gets a mountain of its own later.
template <typename Room> int64_t StartScore(std::size_t count, Room room)
{
    int64_t low = std::numeric_limits<int64_t>::max(), high = 0;
    for (std::size_t i = 0; i < count; ++i) {
        low = std::min(low, room(i));
        high = std::max(high, room(i));
    }
    return low - (high - low) / 2;
}

// Spreads `players` sites over `candidates`: farthest-point picks from a few starts, then moves
// one site at a time to the candidate farthest from the others while that helps.
class Spreader
{
public:
    Spreader(const PointGrid &grid, std::span<const Candidate> candidates, int players)
        : mGrid(grid)
        , mCandidates(candidates)
        , mPlayers(static_cast<std::size_t>(players))
    {}

    // The best of `starts` greedy spreads, each improved in up to `rounds` rounds.
    std::vector<std::size_t> Best(int starts, int rounds)
    {
        std::vector<std::size_t> best;
        int64_t bestScore = -1;
        for (int s = 0; s < starts; ++s) {
            const std::size_t start =
                mCandidates.size() * static_cast<std::size_t>(s) / static_cast<std::size_t>(starts);
            std::vector<std::size_t> sites = Greedy(start);
            Improve(sites, rounds);
            const int64_t score = Score(sites);
            if (score > bestScore) {
                bestScore = score;
                best = sites;
            }
        }
        return best;
    }

private:
    int64_t Distance(std::size_t a, std::size_t b) const
    {
        return mGrid.Distance(mCandidates[a].At, mCandidates[b].At);
    }

    // Smallest distance, then the number of preferred sites, as one number to compare.
    int64_t Score(const std::vector<std::size_t> &sites) const
    {
        int64_t smallest = std::numeric_limits<int32_t>::max();
        int64_t preferred = 0;
        for (std::size_t i = 0; i < sites.size(); ++i) {
            preferred += mCandidates[sites[i]].Preferred ? 1 : 0;
            for (std::size_t j = i + 1; j < sites.size(); ++j)
                smallest = std::min(smallest, Distance(sites[i], sites[j]));
        }
        return smallest * 8 + preferred;
    }

    // True when (distance, preferred) of a beats b's.
    bool Better(int64_t da, std::size_t a, int64_t db, std::size_t b) const
    {
        if (da != db)
            return da > db;
        return mCandidates[a].Preferred && !mCandidates[b].Preferred;
    }

    std::vector<std::size_t> Greedy(std::size_t start) const
    {
        std::vector<std::size_t> sites{start};
        std::vector<int64_t> nearest(mCandidates.size(), std::numeric_limits<int64_t>::max());
        while (sites.size() < mPlayers) {
            std::size_t pick = 0;
            for (std::size_t c = 0; c < mCandidates.size(); ++c) {
                nearest[c] = std::min(nearest[c], Distance(c, sites.back()));
                if (Better(nearest[c], c, nearest[pick], pick))
                    pick = c;
            }
            sites.push_back(pick);
        }
        return sites;
    }

    void Improve(std::vector<std::size_t> &sites, int rounds) const
    {
        // apart[j][c]: steps from site j to candidate c, kept as sites move.
        std::vector<std::vector<int64_t>> apart(sites.size(),
                                                std::vector<int64_t>(mCandidates.size()));
        for (std::size_t j = 0; j < sites.size(); ++j)
            for (std::size_t c = 0; c < mCandidates.size(); ++c)
                apart[j][c] = Distance(sites[j], c);
        const auto nearestOther = [&](std::size_t i, std::size_t c) {
            int64_t d = std::numeric_limits<int64_t>::max();
            for (std::size_t j = 0; j < sites.size(); ++j)
                if (j != i)
                    d = std::min(d, apart[j][c]);
            return d;
        };
        for (int round = 0; round < rounds; ++round) {
            bool moved = false;
            for (std::size_t i = 0; i < sites.size(); ++i) {
                std::size_t pick = sites[i];
                int64_t pickDistance = nearestOther(i, pick);
                for (std::size_t c = 0; c < mCandidates.size(); ++c) {
                    const int64_t d = nearestOther(i, c);
                    if (Better(d, c, pickDistance, pick)) {
                        pick = c;
                        pickDistance = d;
                    }
                }
                if (pick != sites[i]) {
                    sites[i] = pick;
                    for (std::size_t c = 0; c < mCandidates.size(); ++c)
                        apart[i][c] = Distance(pick, c);
                    moved = true;
                }
            }
            if (!moved)
                break;
        }
    }

    const PointGrid &mGrid;
    std::span<const Candidate> mCandidates;
    std::size_t mPlayers;
};

// Moves each site to a candidate within kNudgeRadius steps where it lies farther from the
// others, or as far and beside a mine; the coarse search saw only some candidates.
void Nudge(const PointGrid &grid,
           std::vector<Candidate> &sites,
           const std::vector<int8_t> &candidateAt)
{
    for (std::size_t i = 0; i < sites.size(); ++i) {
        const auto nearestOther = [&](Point p) {
            int64_t d = std::numeric_limits<int64_t>::max();
            for (std::size_t j = 0; j < sites.size(); ++j)
                if (j != i)
                    d = std::min(d, grid.Distance(p, sites[j].At));
            return d;
        };
        Candidate pick = sites[i];
        int64_t pickDistance = nearestOther(pick.At);
        const Point centre = sites[i].At;
        for (int dy = -kNudgeRadius; dy <= kNudgeRadius; ++dy) {
            for (int dx = -kNudgeRadius; dx <= kNudgeRadius; ++dx) {
                const Point p = grid.Offset(centre, dx, dy);
                const int8_t c = candidateAt[grid.IndexOf(p)];
                if (c == kNone || grid.Distance(p, centre) > kNudgeRadius)
                    continue;
                const Candidate option{p, c == kPreferred};
                const int64_t d = nearestOther(p);
                if (d > pickDistance
                    || (d == pickDistance && option.Preferred && !pick.Preferred)) {
                    pick = option;
                    pickDistance = d;
                }
            }
        }
        sites[i] = pick;
    }
}

// Moves each site to a candidate within kNudgeRadius steps that balances the starts better,
// keeping the sites `apart`; `describe` fills in a candidate's Room.
template <typename Describe>
void NudgeBalanced(const PointGrid &grid,
                   std::vector<Candidate> &sites,
                   const std::vector<int8_t> &candidateAt,
                   int64_t apart,
                   Describe describe)
{
    const auto score = [&] {
        return StartScore(sites.size(), [&](std::size_t i) { return sites[i].Room; });
    };
    for (std::size_t i = 0; i < sites.size(); ++i) {
        const Candidate kept = sites[i];
        Candidate pick = kept;
        int64_t best = score();
        for (int dy = -kNudgeRadius; dy <= kNudgeRadius; ++dy) {
            for (int dx = -kNudgeRadius; dx <= kNudgeRadius; ++dx) {
                const Point p = grid.Offset(kept.At, dx, dy);
                const int8_t c = candidateAt[grid.IndexOf(p)];
                if (c == kNone || grid.Distance(p, kept.At) > kNudgeRadius)
                    continue;
                bool far = true;
                for (std::size_t j = 0; j < sites.size() && far; ++j)
                    far = j == i || grid.Distance(p, sites[j].At) >= apart;
                if (!far)
                    continue;
                sites[i] = describe(Candidate{p, c == kPreferred});
                const int64_t value = score();
                if (value > best) {
                    best = value;
                    pick = sites[i];
                }
            }
        }
        sites[i] = pick;
    }
}

// Moves sites among the candidates to balance the starts (StartScore), keeping every two at
// least `apart` steps apart: each site in turn goes to the candidate that raises the score most,
// while one does.
std::vector<std::size_t> Balance(const PointGrid &grid,
                                 std::span<const Candidate> candidates,
                                 std::vector<std::size_t> sites,
                                 int64_t apart)
{
    std::vector<std::vector<int64_t>> distance(sites.size(),
                                               std::vector<int64_t>(candidates.size()));
    const auto measure = [&](std::size_t j) {
        for (std::size_t c = 0; c < candidates.size(); ++c)
            distance[j][c] = grid.Distance(candidates[sites[j]].At, candidates[c].At);
    };
    for (std::size_t j = 0; j < sites.size(); ++j)
        measure(j);
    const auto score = [&](std::size_t moved, std::size_t to) {
        const auto at = [&](std::size_t i) { return i == moved ? to : sites[i]; };
        return StartScore(sites.size(), [&](std::size_t i) { return candidates[at(i)].Room; });
    };
    for (int round = 0; round < kBalanceRounds; ++round) {
        bool moved = false;
        for (std::size_t i = 0; i < sites.size(); ++i) {
            std::size_t pick = sites[i];
            int64_t best = score(i, pick);
            for (std::size_t c = 0; c < candidates.size(); ++c) {
                bool far = true;
                for (std::size_t j = 0; j < sites.size() && far; ++j)
                    far = j == i || distance[j][c] >= apart;
                if (!far)
                    continue;
                const int64_t value = score(i, c);
                if (value > best) {
                    best = value;
                    pick = c;
                }
            }
            if (pick != sites[i]) {
                sites[i] = pick;
                measure(i);
                moved = true;
            }
        }
        if (!moved)
            break;
    }
    return sites;
}

} // namespace

std::optional<HeadquartersSites> FindHeadquartersSites(const MapDocument &document,
                                                       int players,
                                                       const play::TerrainReading *terrain,
                                                       SiteGoal goal,
                                                       const std::vector<uint8_t> *groundQuality,
                                                       const play::Mirror *mirror)
{
    const bool mirrored = mirror != nullptr && (mirror->LeftRight || mirror->TopBottom);
    if (mirrored)
        goal = SiteGoal::BalancedStarts;
    const PointGrid grid(document);
    if (players < 1 || players > kMaxPlayers || grid.Empty())
        return std::nullopt;
    // Every point must be there to be judged; a map with short layers has no sites.
    const auto count = static_cast<std::size_t>(grid.Width() * grid.Height());
    for (int layer : {1, 2, 3})
        if (document.Layer(layer).size() < count)
            return std::nullopt;

    const play::TerrainReading fresh =
        terrain != nullptr ? play::TerrainReading{} : play::ReadTerrain(grid, document);
    const play::TerrainReading &land = terrain != nullptr ? *terrain : fresh;
    const play::GroundFlags &ground = land.Ground;
    // The balanced search looks at mines its own way.
    const std::vector<int32_t> toMines =
        goal == SiteGoal::Spread ? StepsToMines(grid, ground) : std::vector<int32_t>();
    std::vector<std::size_t> inPiece(land.Pieces.List.size(), 0); // candidates in each piece
    std::vector<int8_t> candidateAt(count, kNone);
    const auto buildable = [&ground](std::size_t i) {
        return (ground[i] & play::kAllBuildable) != 0;
    };
    const auto consider = [&](std::size_t i, const auto &neighbours) {
        const int32_t piece = land.Pieces.Of[i];
        if (!buildable(i) || piece < 0
            || land.Pieces.List[static_cast<std::size_t>(piece)].Kind != play::PieceKind::Land
            || !std::ranges::all_of(neighbours, buildable))
            return;
        candidateAt[i] = !toMines.empty() && toMines[i] >= kNearestMine ? kPreferred : kPlain;
        ++inPiece[static_cast<std::size_t>(piece)];
    };
    grid.ForEachPointByRows(
        [&](std::size_t i, const PointGrid::NearOffsets &o) {
            if (!buildable(i)) // most points are no candidates: look no further
                return;
            std::array<std::size_t, 6> neighbours{};
            for (std::size_t k = 0; k < neighbours.size(); ++k)
                neighbours[k] = static_cast<std::size_t>(static_cast<int64_t>(i) + o.Neighbours[k]);
            consider(i, neighbours);
        },
        [&](Point p, std::size_t i) { consider(i, grid.NeighbourIndices(p.X, p.Y)); });
    // The candidates of a piece on a lattice of `stride` points each way.
    const auto lattice = [&](std::size_t piece, int64_t stride) {
        std::vector<Candidate> found;
        for (int64_t y = 0; y < grid.Height(); y += stride) {
            for (int64_t x = 0; x < grid.Width(); x += stride) {
                const std::size_t i = grid.IndexOf({x, y});
                if (candidateAt[i] != kNone && land.Pieces.Of[i] == static_cast<int32_t>(piece))
                    found.push_back(Candidate{{x, y}, candidateAt[i] == kPreferred});
            }
        }
        return found;
    };

    // The pieces with the most candidates; of equal ones the first in row order.
    std::vector<std::size_t> order(inPiece.size());
    for (std::size_t k = 0; k < order.size(); ++k)
        order[k] = k;
    std::ranges::stable_sort(order,
                             [&](std::size_t a, std::size_t b) { return inPiece[a] > inPiece[b]; });
    if (order.size() > kPiecesSearched)
        order.resize(kPiecesSearched);
    // For balanced starts: the building sites and mine sites the ground and heights give
    // around each point.
    std::vector<uint8_t> freshQuality;
    const bool known = groundQuality != nullptr && groundQuality->size() >= count;
    if (goal == SiteGoal::BalancedStarts && !known)
        freshQuality = GroundQuality(document, ground);
    const std::vector<uint8_t> &quality = known ? *groundQuality : freshQuality;
    const play::Ball ball(grid, kDefaultFairnessRadius);
    // A building site counts 1.
    std::array<uint32_t, 256> worth{};
    for (const auto q : {BuildingQuality::Hut, BuildingQuality::House, BuildingQuality::Castle})
        worth[static_cast<std::size_t>(q)] = 1;
    const auto describe = [&](Candidate c) {
        const std::size_t centre = grid.IndexOf(c.At);
        uint32_t sum = 0;
        ball.ForEach(centre, [&](std::size_t k) { sum += worth[quality[k]]; });
        sum -= worth[quality[centre]]; // the site itself is no room around it
        c.Room = sum;
        return c;
    };
    const int64_t minimum =
        players > 1 ? MinimumPlayerDistance(grid.Width(), grid.Height()) : int64_t{0};

    std::optional<HeadquartersSites> best;
    int64_t bestScore = 0;
    if (mirrored) {
        // One site in the part the mirror keeps, and its images: the richest such site whose
        // images are sites on its land too, at least half as far apart as such sites can be
        // and never closer than the minimum; of equal ones the farthest apart, then the first.
        std::vector<std::pair<Point, int64_t>> options; // the sites and their spread
        int64_t widest = 0;
        grid.ForEachPoint(count, [&](Point p, std::size_t i) {
            if (candidateAt[i] == kNone || !play::InKeptPart(grid, p, *mirror))
                return;
            const std::vector<Point> images = play::MirrorImages(grid, p, *mirror);
            if (images.size() != static_cast<std::size_t>(players))
                return;
            for (const Point image : images) {
                const std::size_t k = grid.IndexOf(image);
                if (candidateAt[k] == kNone || land.Pieces.Of[k] != land.Pieces.Of[i])
                    return;
            }
            const int64_t spread = SmallestDistance(grid, images).value_or(0);
            options.emplace_back(p, spread);
            widest = std::max(widest, spread);
        });
        const int64_t apart = std::max(minimum, widest / 2);
        for (const auto &[p, spread] : options) {
            if (spread < apart)
                continue;
            const Candidate c = describe(Candidate{p, false});
            const int64_t score = c.Room;
            if (!best || score > bestScore
                || (score == bestScore && spread > best->SmallestDistance)) {
                best = HeadquartersSites{play::MirrorImages(grid, p, *mirror), spread};
                bestScore = score;
            }
        }
        return best;
    }
    for (const std::size_t piece : order) {
        if (inPiece[piece] < static_cast<std::size_t>(players))
            break;
        // A coarse lattice of the piece's candidates keeps the search short on big maps.
        const auto stride = static_cast<int64_t>(
            std::ceil(std::sqrt(static_cast<double>(inPiece[piece]) / kCoarseCandidates)));
        std::vector<Candidate> coarse = lattice(piece, stride);
        if (coarse.size() < static_cast<std::size_t>(players))
            coarse = lattice(piece, 1);
        std::vector<std::size_t> picked =
            goal == SiteGoal::Spread
                ? Spreader(grid, coarse, players).Best(kGreedyStarts, kImprovementRounds)
                : Spreader(grid, coarse, players).Best(1, kBalancedSpreadRounds);
        std::vector<Candidate> sites;
        int64_t score = 0;
        if (goal == SiteGoal::Spread) {
            for (const std::size_t k : picked)
                sites.push_back(coarse[k]);
            Nudge(grid, sites, candidateAt);
        } else {
            for (Candidate &c : coarse)
                c = describe(c);
            std::vector<Point> spread;
            for (const std::size_t k : picked)
                spread.push_back(coarse[k].At);
            const int64_t apart = std::max(minimum, SmallestDistance(grid, spread).value_or(0)
                                                        * kKeptSpreadQuarters / 4);
            for (const std::size_t k : Balance(grid, coarse, picked, apart))
                sites.push_back(coarse[k]);
            NudgeBalanced(grid, sites, candidateAt, apart, describe);
            score = StartScore(sites.size(), [&](std::size_t i) { return sites[i].Room; });
        }
        HeadquartersSites found;
        for (const Candidate &c : sites)
            found.Sites.push_back(c.At);
        found.SmallestDistance = SmallestDistance(grid, found.Sites).value_or(0);
        const bool better =
            !best
            || (goal == SiteGoal::Spread
                    ? found.SmallestDistance > best->SmallestDistance
                    : (found.SmallestDistance >= minimum && best->SmallestDistance < minimum)
                          || ((found.SmallestDistance >= minimum)
                                  == (best->SmallestDistance >= minimum)
                              && score > bestScore));
        if (better) {
            best = std::move(found);
            bestScore = score;
        }
    }
    return best;
}

void LevelGround(MapDocument &document, Point site)
{
    const PointGrid grid(document);
    MapLayer &heights = document.Layer(1);
    if (grid.Empty())
        return;
    std::array<Point, 7> inner{};
    inner[0] = site;
    std::ranges::copy(grid.Neighbours(site), inner.begin() + 1);
    int low = std::numeric_limits<int>::max();
    for (const Point p : inner)
        low = std::min<int>(low, grid.Read(heights, p));
    const auto set = [&](Point p, int value) {
        const std::size_t i = grid.IndexOf(p);
        if (i < heights.size())
            heights[i] = static_cast<uint8_t>(value);
    };
    // The twelve points two steps away first: none of them is one of the inner seven.
    for (const std::size_t i : grid.RingIndices(site.X, site.Y))
        if (i < heights.size())
            heights[i] =
                static_cast<uint8_t>(std::clamp<int>(heights[i], std::max(low - 2, 0), low + 2));
    for (const Point p : inner)
        set(p, low);
}

void MarkHeadquarters(MapDocument &document, const std::vector<Point> &sites)
{
    const PointGrid grid(document);
    MapHeader &header = document.Header;
    header.PlayerCount = static_cast<uint8_t>(std::min<std::size_t>(sites.size(), kMaxPlayers));
    header.HeadquartersX.fill(-1); // 0xFFFF: no player
    header.HeadquartersY.fill(-1);
    for (std::size_t k = 0; k < header.PlayerCount; ++k) {
        const Point p = sites[k];
        header.HeadquartersX[k] = static_cast<int16_t>(p.X);
        header.HeadquartersY[k] = static_cast<int16_t>(p.Y);
        const std::size_t i = grid.IndexOf(p);
        if (i < document.Layer(5).size() && i < document.Layer(6).size()) {
            document.Layer(5)[i] = static_cast<uint8_t>(k);
            document.Layer(6)[i] = kHeadquartersObject;
        }
    }
}

std::vector<Point> FindHeadquartersMarks(const MapDocument &document)
{
    const PointGrid grid(document);
    const MapLayer &objects = document.Layer(6);
    std::vector<Point> marks;
    const std::size_t count = grid.PointsIn(objects);
    for (std::size_t i = 0; i < count; ++i)
        if (objects[i] == kHeadquartersObject)
            marks.push_back(grid.PointAt(i));
    return marks;
}

std::array<std::optional<Point>, kHeadquartersCount>
FirstMarkOfEachPlayer(const MapDocument &document)
{
    const PointGrid grid(document);
    const MapLayer &objects = document.Layer(6);
    const MapLayer &owners = document.Layer(5);
    std::array<std::optional<Point>, kHeadquartersCount> marks{};
    const std::size_t count = grid.PointsIn(objects);
    for (std::size_t i = 0; i < count; ++i) {
        if (objects[i] != kHeadquartersObject)
            continue;
        const std::size_t player = i < owners.size() ? owners[i] : 0;
        if (player < marks.size() && !marks[player])
            marks[player] = grid.PointAt(i);
    }
    return marks;
}

std::optional<int64_t> SmallestDistance(const PointGrid &grid, const std::vector<Point> &points)
{
    std::optional<int64_t> smallest;
    for (std::size_t i = 0; i < points.size(); ++i)
        for (std::size_t j = i + 1; j < points.size(); ++j)
            smallest = std::min(smallest.value_or(std::numeric_limits<int64_t>::max()),
                                grid.Distance(points[i], points[j]));
    return smallest;
}

} // namespace trelvik
