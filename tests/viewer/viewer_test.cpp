// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_maps.h"
#include "viewer/composed_view.h"
#include "viewer/decimal_number.h"
#include "viewer/layer_image.h"
#include "viewer/palette_file.h"
#include "viewer/point_readout.h"
#include "viewer/view_geometry.h"
#include "viewer/view_refresh.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <sstream>

namespace trelvik {
namespace {

// Every terrain byte (its two high bits ignored) and shading of every world type against the
// whole table; world type 3 takes the Greenland column. Winter ramp steps past its end are left
// open and only counted.
TEST(ComposedView, EveryIndexOfTheTerrainTable)
{
    const std::vector<test::TableRow> rows = test::ReadTable("viewer/composed_table.tsv");
    const std::vector<std::string> &ramp = rows.at(0).Fields; // "ramp", then eight indices
    MapDocument doc = test::MakeFlatMap(256, 256);
    for (std::size_t i = 0; i < 65536; ++i) {
        doc.Layer(3)[i] = static_cast<uint8_t>(i);
        doc.Layer(13)[i] = static_cast<uint8_t>(i >> 8);
    }
    for (uint8_t world = 0; world < 4; ++world) {
        doc.Header.WorldType = world;
        const ComposedView view = BuildComposedView(doc);
        int checked = 0;
        for (auto row = rows.begin() + 1; row != rows.end(); ++row) {
            const auto field = [&row](std::size_t i) { return std::stoi(row->Fields.at(i)); };
            for (std::size_t i = 0; i < view.size() && field(2) == world % 3; ++i) {
                const int t = static_cast<int>(i & 63), s = static_cast<int>(i >> 8);
                const int d = field(4) ? (s - 1) / field(4) : 0;
                if (t < field(0) || t > field(1))
                    continue;
                if (++checked; row->Fields[3] == "ramp" && d > 7)
                    continue;
                ASSERT_EQ(view[i],
                          row->Fields[3] == "ramp" ? std::stoi(ramp.at(1 + d)) : field(3) + d)
                    << row->Name() << ": world " << +world << ", terrain byte " << (i & 255)
                    << ", shading " << s;
            }
        }
        EXPECT_EQ(checked, 65536) << "world " << +world;
    }
}

TEST(ComposedView, FollowsLayersThreeAndThirteenWithinTheirBounds)
{
    MapDocument doc = test::MakeFlatMap(10, 10, 1);
    doc.Layer(3)[7] = 0xC5; // water with both high bits
    doc.Layer(13)[9] = 200;
    doc.Layer(3).resize(60);
    doc.Layer(13).resize(40);
    ComposedView view = BuildComposedView(doc);
    ASSERT_EQ(view.size(), 100u);
    for (std::size_t i = 0; i < view.size(); ++i)
        EXPECT_EQ(view[i], i == 7 ? 61 : i == 9 ? 161 + 199 / 12 : i < 40 ? 166 : 0) << i;
    doc.Layer(1).resize(30); // the view has layer 1's bounds
    EXPECT_EQ(BuildComposedView(doc).size(), 30u);
}

// The lower triangles are layer 2 through the colours of the point's shading, index 0 past the
// shorter of layers 2 and 13. Edits at random points, corners and edges among them, made again
// point by point equal both pictures made whole; points past the map are skipped, and pictures
// of another size (the map resized) are made whole.
TEST(ComposedView, LowerTrianglesAndPartialUpdates)
{
    struct Row
    {
        const char *Name;
        int16_t Width, Height;
        uint8_t World;
        std::size_t Layer2, Layer13, Stale; // their lengths; 0: the map's
    };
    const Row rows[] = {
        {"one point", 1, 1, 0, 0, 0, 0},         {"one row", 17, 1, 1, 0, 0, 0},
        {"one column", 1, 23, 2, 0, 0, 0},       {"wide winter", 90, 12, 2, 0, 0, 0},
        {"short layer 2", 30, 20, 1, 450, 0, 0}, {"short shading", 30, 20, 0, 0, 333, 0},
        {"resized map", 16, 16, 0, 0, 0, 100},
    };
    for (const Row &row : rows) {
        for (uint32_t seed = 1; seed <= 20; ++seed) {
            std::mt19937 random(seed);
            MapDocument doc = test::MakeFlatMap(row.Width, row.Height, row.World);
            const std::size_t size = doc.Layer(1).size(), w = doc.Header.Width;
            for (const int k : {2, 3, 13})
                std::generate(doc.Layer(k).begin(), doc.Layer(k).end(), std::ref(random));
            doc.Layer(2).resize(row.Layer2 ? row.Layer2 : size);
            doc.Layer(13).resize(row.Layer13 ? row.Layer13 : size);
            ComposedView upper = BuildComposedView(doc), lower = BuildLowerTriangles(doc);
            for (std::size_t i = 0; i < size; ++i) {
                const bool known = i < doc.Layer(2).size() && i < doc.Layer(13).size();
                ASSERT_EQ(lower[i],
                          known ? ComposedIndex(row.World, doc.Layer(2)[i], doc.Layer(13)[i]) : 0)
                    << row.Name << ", seed " << seed << ", point " << i;
            }
            upper.resize(row.Stale ? row.Stale : size), lower.resize(upper.size());
            std::vector<std::size_t> points = {0, w - 1, size - w, size - 1, size, size + 7};
            for (std::size_t n = random() % 40; n > 0; --n)
                points.push_back(random() % size);
            for (const std::size_t i : points)
                for (const int k : {2, 3, 13})
                    if (i < doc.Layer(k).size())
                        doc.Layer(k)[i] = static_cast<uint8_t>(random());
            UpdateComposedPoints(doc, upper, lower, points);
            ASSERT_EQ(upper, BuildComposedView(doc)) << row.Name << ", seed " << seed;
            ASSERT_EQ(lower, BuildLowerTriangles(doc)) << row.Name << ", seed " << seed;
        }
    }
}

TEST(GreyRamp, ExactRoundingHalfToEvenAndWrapping)
{
    // i * f / 10000 rounded half to even in integers, against the ramp, for every entry.
    for (const int32_t factor : {1, 4999, 5000, 15000, 19960, 25000, 40000, 123457}) {
        ColourTable table;
        for (std::size_t i = 0; i < kColourCount; ++i)
            table.Entries[i].Reserved = static_cast<uint8_t>(255 - i);
        FillGreyRamp(table, factor);
        for (int i = 0; i < 256; ++i) {
            const int64_t scaled = int64_t{i} * factor;
            const int64_t rest = scaled % 10000;
            const int64_t whole =
                scaled / 10000 + (rest > 5000 || (rest == 5000 && scaled / 10000 % 2));
            const ColourEntry &e = table.Entries[static_cast<std::size_t>(i)];
            ASSERT_EQ(e, (ColourEntry{
                             static_cast<uint8_t>(whole % 256), static_cast<uint8_t>(whole % 256),
                             static_cast<uint8_t>(whole % 256), static_cast<uint8_t>(255 - i)}))
                << "factor " << factor << " entry " << i;
        }
    }
    using Row = std::array<int, 3>; // numerator, divisor, quotient
    for (const auto &[n, d, q] : {Row{5, 2, 2}, Row{7, 2, 4}, Row{-5, 2, -2}, Row{-7, 2, -4},
                                  Row{-5, 3, -2}, Row{-4, 3, -1}, Row{0, 7, 0}})
        EXPECT_EQ(DivideRoundHalfEven(n, d), q) << n << "/" << d;
}

TEST(DecimalNumber, ParsingAndRounding)
{
    for (const test::TableRow &row : test::ReadTable("viewer/numbers.tsv")) {
        const auto number = ParseDecimal(test::Unescape(row.Fields.at(0)));
        ASSERT_EQ(number.has_value(), row.Fields.at(1) != "-") << row.Name();
        if (number) {
            EXPECT_EQ(RoundHalfEven(*number), std::stoll(row.Fields[1])) << row.Name();
            EXPECT_EQ(RoundHalfEven(MinusOne(*number)), std::stoll(row.Fields.at(2))) << row.Name();
        }
    }
}

// A table whose every entry differs from anything a palette line writes.
ColourTable MarkedTable()
{
    ColourTable table;
    for (std::size_t i = 0; i < kColourCount; ++i)
        table.Entries[i] = {static_cast<uint8_t>(i), 1, 2, 0xEE};
    return table;
}

TEST(PaletteFile, LoadsWhatItReportsAndLeavesTheRest)
{
    const std::map<std::string, PaletteOutcome> outcomes = {
        {"Loaded", PaletteOutcome::Loaded},
        {"NotJascPal", PaletteOutcome::NotJascPal},
        {"WrongVersion", PaletteOutcome::WrongVersion},
        {"BadCount", PaletteOutcome::BadCount},
        {"BadColour", PaletteOutcome::BadColour},
        {"EndedEarly", PaletteOutcome::EndedEarly}};
    const std::string head = "JASC-PAL\r\n0100\r\n";
    std::vector<test::TableRow> rows = test::ReadTable("viewer/palettes.tsv");
    std::string many = "H300\\r\\n"; // colour lines past the 256th are read and ignored
    for (int i = 0; i < 300; ++i) {
        if (i == 260) // a bad line past the table still ends the load
            rows.push_back({-2, {many + "bad", "BadColour", "256", "0 0 0"}});
        many += std::to_string(i % 256) + " 0 0\\r\\n";
    }
    rows.push_back({-1, {many, "Loaded", "256", "0 0 0"}});
    rows.push_back({-3, {"H1\\r\\n1 2 3 " + std::string(100000, 'x'), "Loaded", "1", "3 2 1"}});
    rows.push_back({-4, {"H1\\r\\n1 2 " + std::string(100000, '0') + "3", "BadColour", "0"}});
    for (const test::TableRow &row : rows) {
        std::string text = test::Unescape(row.Fields.at(0));
        if (text.starts_with('H'))
            text = head + text.substr(1);
        ColourTable table = MarkedTable();
        std::istringstream stream(text);
        const PaletteLoadResult result = LoadPaletteStream(stream, table);
        EXPECT_EQ(result.Outcome, outcomes.at(row.Fields.at(1))) << row.Name();
        const int stored = std::stoi(row.Fields.at(2));
        EXPECT_EQ(result.EntriesStored, stored) << row.Name();
        if (stored > 0) {
            std::istringstream entry(row.Fields.at(3));
            int blue = 0, green = 0, red = 0;
            entry >> blue >> green >> red;
            EXPECT_EQ(table.Entries[0],
                      (ColourEntry{static_cast<uint8_t>(blue), static_cast<uint8_t>(green),
                                   static_cast<uint8_t>(red), 0}))
                << row.Name();
        }
        for (std::size_t i = static_cast<std::size_t>(stored); i < kColourCount; ++i)
            ASSERT_EQ(table.Entries[i], MarkedTable().Entries[i]) << row.Name() << " entry " << i;
    }
    ColourTable table = MarkedTable();
    EXPECT_EQ(LoadPaletteFile("/nonexistent/Greenland.pal", table).Outcome,
              PaletteOutcome::CannotOpen);
    EXPECT_FALSE(LoadPaletteFile(std::filesystem::temp_directory_path().string(), table).Ok());
    EXPECT_EQ(table, MarkedTable());
}

// The shipped palettes tell water, shore, meadow and mountain of a generated map apart (their
// composed indices at the flat shading of 64), and only water is blue.
TEST(PaletteFile, ShippedPalettesTellTheTerrainsOfAGeneratedMapApart)
{
    const std::array<const char *, 3> names = {"Greenland.pal", "Wasteland.pal", "Winter.pal"};
    for (uint8_t world = 0; world < 3; ++world) {
        const std::string path = std::string(TRELVIK_PALETTE_DIR) + "/" + names[world];
        const std::vector<uint8_t> bytes = test::ReadBytes(path);
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 21), "JASC-PAL\r\n0100\r\n256\r\n");
        ColourTable table;
        ASSERT_EQ(LoadPaletteFile(path, table).EntriesStored, 256) << path;
        std::vector<ColourEntry> roles;
        for (const uint8_t code : {5, 4, 8, 11}) // water, shore, meadow, mountain
            roles.push_back(table.Entries[ComposedIndex(world, code, 64)]);
        for (std::size_t a = 0; a < roles.size(); ++a) {
            const bool blue = roles[a].Blue - std::max(roles[a].Red, roles[a].Green) >= 40;
            EXPECT_EQ(blue, a == 0) << names[world] << " role " << a;
            for (std::size_t b = a + 1; b < roles.size(); ++b)
                EXPECT_GE(std::abs(roles[a].Red - roles[b].Red)
                              + std::abs(roles[a].Green - roles[b].Green)
                              + std::abs(roles[a].Blue - roles[b].Blue),
                          60)
                    << names[world] << " roles " << a << " and " << b;
        }
    }
}

TEST(LayerImage, WindowsAndWholePicturesShowTheBytesAndZeroPastTheirEnd)
{
    std::mt19937 random(12345);
    const auto pick = [&random](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(random);
    };
    for (int round = 0; round < 500; ++round) {
        const int w = pick(-2, 40);
        const int h = pick(-2, 40);
        std::vector<uint8_t> bytes(static_cast<std::size_t>(pick(0, 1700)));
        for (auto &b : bytes)
            b = static_cast<uint8_t>(pick(1, 255));
        const PictureResult whole = RenderLayerImage(bytes, w, h);
        ASSERT_TRUE(whole.Ok());
        const int x = pick(-50, 50), y = pick(-50, 50), ww = pick(-5, 60), wh = pick(-5, 60);
        const IndexedImage part = RenderLayerWindow(bytes, w, h, x, y, ww, wh);
        const int factor = pick(0, 5);
        const IndexedImage scaled = ScaleImage(part, factor).Image;
        ASSERT_EQ(scaled.Width, factor * part.Width) << round;
        ASSERT_EQ(scaled.Height, factor * part.Height) << round;
        ASSERT_EQ(scaled.OriginX, factor && part.Width ? factor * part.OriginX : 0) << round;
        for (std::size_t i = 0; i < scaled.Pixels.size(); ++i)
            ASSERT_EQ(scaled.Pixels[i], part.At(static_cast<int>(i) % scaled.Width / factor,
                                                static_cast<int>(i) / scaled.Width / factor));
        const int left = std::max(x, 0), top = std::max(y, 0);
        const bool empty = std::min(x + ww, w) <= left || std::min(y + wh, h) <= top;
        ASSERT_EQ(part.Width, empty ? 0 : std::min(x + ww, w) - left) << round;
        ASSERT_EQ(part.Height, empty ? 0 : std::min(y + wh, h) - top) << round;
        ASSERT_EQ(part.Pixels.size(), static_cast<std::size_t>(part.Width * part.Height));
        ASSERT_EQ(whole.Image.Pixels.size(),
                  static_cast<std::size_t>(std::max(w, 0) * std::max(h, 0)));
        for (int py = 0; py < part.Height; ++py) {
            for (int px = 0; px < part.Width; ++px) {
                const int cx = part.OriginX + px, cy = part.OriginY + py;
                const auto source = static_cast<std::size_t>(cy * w + cx);
                const uint8_t expected = source < bytes.size() ? bytes[source] : 0;
                ASSERT_EQ(part.At(px, py), expected) << round;
                ASSERT_EQ(whole.Image.At(cx, cy), expected) << round;
            }
        }
    }
    // (map width, height, view width, height) -> offset of the map in the view; a map larger
    // than the view is cut one more on the right and bottom.
    for (const auto &[w, h, vw, vh, left, top] : {std::tuple{64, 64, 256, 256, 96, 96},
                                                  {255, 80, 260, 260, 2, 90},
                                                  {259, 258, 256, 256, -1, -1},
                                                  {1024, 261, 260, 260, -382, 0}}) {
        EXPECT_EQ(CentreInView(w, h, vw, vh), (ViewOffset{left, top})) << w << "x" << h;
        const IndexedImage shown = RenderVisiblePart(std::vector<uint8_t>(9), w, h, vw, vh);
        EXPECT_EQ(shown.OriginX, std::max(-left, 0)) << w;
        EXPECT_EQ(shown.Width, std::min(w, vw)) << w;
    }
    const std::vector<uint8_t> bytes = {7, 9, 0};
    EXPECT_EQ(RenderLayerImage(bytes, 32767, 32767).Outcome, PictureOutcome::TooLarge);
    EXPECT_TRUE(RenderLayerImage(bytes, 4096, 4096).Ok());
    EXPECT_FALSE(RenderLayerImage(bytes, 4097, 4096).Ok());
    EXPECT_TRUE(ScaleImage(IndexedImage{256, 256, 0, 0, std::vector<uint8_t>(65536)}, 16).Ok());
    EXPECT_EQ(ScaleImage(IndexedImage{257, 256, 0, 0, std::vector<uint8_t>(257 * 256)}, 16).Outcome,
              PictureOutcome::TooLarge);
    EXPECT_EQ(RenderVisiblePart(bytes, 32767, 32767, 260, 260).Pixels,
              std::vector<uint8_t>(260 * 260));
    ColourTable table;
    table.Entries[7] = {1, 2, 3, 99}; // blue, green, red, reserved
    table.Entries[9] = {10, 20, 30, 0};
    EXPECT_EQ(ToRgb(RenderLayerImage(bytes, 3, 1).Image, table),
              (std::vector<uint8_t>{3, 2, 1, 30, 20, 10, 0, 0, 0}));
}

std::vector<int> Numbers(const std::string &text)
{
    std::vector<int> numbers;
    std::istringstream stream(text);
    for (int n; stream >> n;)
        numbers.push_back(n);
    return numbers;
}

TEST(ViewGeometry, TableOfViews)
{
    for (const test::TableRow &row : test::ReadTable("viewer/geometry.tsv")) {
        const std::string &kind = row.Fields.at(0);
        std::vector<int> in = Numbers(row.Fields.at(1)), out;
        ViewGeometry view;
        if (kind != "in" && kind != "out" && kind != "fit") {
            view = {in.at(0), in.at(1), in.at(2), in.at(3), in.at(4), in.at(5), in.at(6)};
            in.erase(in.begin(), in.begin() + 7); // the arguments remain
        }
        const ViewGeometry centred = view.Centred();
        const ViewGeometry moved = kind == "drag"   ? view.PannedBy(in.at(0), in.at(1))
                                   : kind == "zoom" ? view.ZoomedAbout(in.at(0), in.at(1), in.at(2))
                                                    : view.Clamped();
        if (kind == "in" || kind == "out")
            out = {kind == "in" ? NextZoomIn(in.at(0)) : NextZoomOut(in.at(0))};
        else if (kind == "fit")
            out = {FitZoom(in.at(0), in.at(1), in.at(2), in.at(3))};
        else if (kind == "view")
            out = {view.RangeX(),     view.RangeY(),    view.OriginX(), view.OriginY(),
                   moved.PanX,        moved.PanY,       centred.PanX,   centred.PanY,
                   centred.OriginX(), centred.OriginY()};
        else if (const PixelRect v = view.VisiblePoints(); kind == "visible")
            out = {v.Left, v.Top, v.Width, v.Height};
        else if (const auto point = view.MapPointAt(in.at(0), in.at(1)); kind == "at" && point)
            out = {point->X, point->Y};
        else if (const PixelRect r = view.ScreenRectOf({in[0], in[1]}); kind == "rect")
            out = {r.Left, r.Top, r.Width, r.Height};
        else if (kind == "zoom" || kind == "drag")
            out = {moved.PanX, moved.PanY};
        EXPECT_EQ(out, Numbers(row.Fields.at(2))) << row.Name();
    }
}

// Over random views: a map point's corner pixels lead back to it; the visible rectangle holds
// exactly the points whose pixels reach into the view; zooming keeps the point under the
// cursor whenever some pan within the range can.
TEST(ViewGeometry, PointsPixelsAndZoomAnchorsOfRandomViews)
{
    std::mt19937 random(2024);
    const auto pick = [&random](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, std::max(lo, hi))(random);
    };
    for (int round = 0; round < 3000; ++round) {
        const int zoom = kZoomFactors[static_cast<std::size_t>(pick(0, 7))];
        const int width = pick(1, round % 50 ? 300 : 32767), height = pick(1, 300);
        const ViewGeometry view{width, height,           pick(0, 900),    pick(0, 900),
                                zoom,  pick(-100, 6000), pick(-100, 6000)};
        const PixelRect visible = view.VisiblePoints();
        for (int probe = 0; probe < 10; ++probe) { // points in and just around the visible part
            const MapPoint p{
                std::clamp(pick(visible.Left - 1, visible.Left + visible.Width), 0, width - 1),
                std::clamp(pick(visible.Top - 1, visible.Top + visible.Height), 0, height - 1)};
            const PixelRect r = view.ScreenRectOf(p);
            ASSERT_EQ(view.MapPointAt(r.Left, r.Top), p) << round;
            ASSERT_EQ(view.MapPointAt(r.Left + zoom - 1, r.Top + zoom - 1), p) << round;
            const bool shown = r.Left + zoom > 0 && r.Left < view.ViewWidth && r.Top + zoom > 0
                               && r.Top < view.ViewHeight;
            ASSERT_EQ(shown, p.X >= visible.Left && p.X < visible.Left + visible.Width
                                 && p.Y >= visible.Top && p.Y < visible.Top + visible.Height)
                << round;
            const int vx = pick(0, view.ViewWidth - 1), vy = pick(0, view.ViewHeight - 1);
            const int newZoom = kZoomFactors[static_cast<std::size_t>(pick(0, 7))];
            const ViewGeometry zoomed = view.ZoomedAbout(newZoom, vx, vy);
            const std::optional<MapPoint> under = view.MapPointAt(vx, vy);
            if (!under)
                continue;
            const PixelRect after = zoomed.ScreenRectOf(*under);
            // Per axis, unless the picture is centred: when some pan in 0..range keeps the
            // point under the cursor, the zoomed view does.
            const auto anchored = [newZoom](int point, int v, int map, int size, int left) {
                const int64_t range = int64_t{map} * newZoom - size;
                const bool possible =
                    range >= 0
                    && std::max<int64_t>(int64_t{point} * newZoom - v, 0)
                           <= std::min<int64_t>(int64_t{point + 1} * newZoom - 1 - v, range);
                return !possible || (v >= left && v < left + newZoom);
            };
            ASSERT_TRUE(anchored(under->X, vx, width, view.ViewWidth, after.Left)) << round;
            ASSERT_TRUE(anchored(under->Y, vy, height, view.ViewHeight, after.Top)) << round;
        }
    }
}

// Layer 3 ends before (3,2), layer 13 before (3,1).
TEST(PointReadout, ValuesAndNamesOfAHandMadeMap)
{
    MapDocument doc = test::MakeFlatMap(4, 3);
    using Byte = std::tuple<int, int, int>; // layer, index, value
    for (const auto &[k, i, value] :
         {Byte{2, 5, 0x51}, {3, 5, 0x53}, {5, 5, 2},     {6, 5, 0x80},  {9, 5, 0x84},
          {2, 6, 34},       {5, 6, 5},    {6, 6, 0xCD},  {7, 6, 10},    {3, 8, 16},
          {5, 8, 0x37},     {6, 8, 0xC6}, {7, 8, 9},     {9, 8, 5},     {2, 9, 0x48},
          {5, 9, 0x77},     {6, 9, 0xC6}, {9, 9, 7},     {2, 11, 0x45}, {5, 11, 0x72},
          {6, 11, 0xC4},    {7, 11, 3},   {9, 11, 0x68}, {14, 11, 254}})
        doc.Layer(k)[static_cast<std::size_t>(i)] = static_cast<uint8_t>(value);
    doc.Layer(3).resize(11);
    doc.Layer(13).resize(7);
    for (const test::TableRow &row : test::ReadTable("viewer/readouts.tsv")) {
        const auto readout =
            ReadPoint(doc, std::stoi(row.Fields.at(0)), std::stoi(row.Fields.at(1)));
        EXPECT_EQ(readout ? ReadoutText(*readout) : std::string(kOutsideTheMap), row.Fields.at(2))
            << row.Name();
    }
}

TEST(ViewRefresh, PlansColoursAndTextsForEveryPosition)
{
    MapDocument doc = test::MakeFlatMap(64, 64, 1);
    const ComposedView composed = BuildComposedView(doc);
    for (const test::TableRow &row : test::ReadTable("viewer/positions.tsv")) {
        const RefreshPlan plan = PlanRefresh(doc, std::stoi(row.Fields.at(0)), "/opt/t");
        const int layer = std::stoi(row.Fields.at(1));
        const bool palette = row.Fields.at(2) == "pal";
        EXPECT_EQ(plan.Layer, layer) << row.Name();
        EXPECT_EQ(plan.Action, palette ? ColourAction::PaletteFile : ColourAction::GreyRamp)
            << row.Name();
        EXPECT_EQ(plan.GreyFactor, palette ? 0 : std::lround(std::stod(row.Fields[2]) * 10000))
            << row.Name();
        // The system's own separator joins folder and name ('\\' on Windows).
        const std::string inFolder = (std::filesystem::path("/opt/t") / "Wasteland.pal").string();
        EXPECT_EQ(plan.PalettePath, palette ? inFolder : "") << row.Name();
        EXPECT_EQ(plan.MapInfo, test::Unescape(row.Fields.at(3))) << row.Name();
        EXPECT_EQ(PlannedBytes(plan, doc, composed).data(),
                  layer ? doc.Layer(layer).data() : composed.data())
            << row.Name();
    }
    doc.BlockHeader(14) = LayerBlockHeader{{0x0A, 0x00}, -1, -5, 300, 0, -7};
    EXPECT_EQ(MapInfoText(doc, 14), "Map data 14\r\nHeader: A 0 | -1 | -5 x 300 | 0 | -7 bytes");
    doc.Header.WorldType = 7;
    EXPECT_EQ(PlanRefresh(doc, 15, "").PalettePath, "Unknown (7).pal");
    doc.Header.WorldType = 2;
    EXPECT_EQ(PlanRefresh(doc, 1, "").PalettePath, "Winter.pal");
}

// The colour table carries over: a missing palette leaves what the last refresh left.
TEST(ViewRefresh, ColourTableCarriesOverBetweenRefreshes)
{
    test::TempDir folder;
    const std::string dir = folder.Path().string();
    const MapDocument doc = test::MakeFlatMap(8, 8, 1); // Wasteland: no palette in the folder
    ColourTable table;
    EXPECT_EQ(ApplyColourAction(PlanRefresh(doc, 3, dir), table).Outcome,
              PaletteOutcome::CannotOpen);
    EXPECT_EQ(table, ColourTable{});
    ApplyColourAction(PlanRefresh(doc, 2, dir), table);
    const ColourTable ramp = table;
    ApplyColourAction(PlanRefresh(doc, 3, dir), table);
    EXPECT_EQ(table, ramp);
    std::ofstream(folder.File("Wasteland.pal"), std::ios::binary)
        << "JASC-PAL\r\n0100\r\n2\r\n1 2 3\r\n4 5 6\r\n";
    EXPECT_TRUE(ApplyColourAction(PlanRefresh(doc, 3, dir), table).Ok());
    EXPECT_EQ(table.Entries[1], (ColourEntry{6, 5, 4, 0}));
    EXPECT_EQ(table.Entries[63], ramp.Entries[63]);
    // Position 14: layer 13's flat shading of 64 shows as grey 128.
    const RefreshPlan shading = PlanRefresh(doc, 14, dir);
    ApplyColourAction(shading, table);
    const auto rgb = ToRgb(RenderLayerImage(PlannedBytes(shading, doc, {}), 8, 8).Image, table);
    EXPECT_EQ(rgb, std::vector<uint8_t>(8 * 8 * 3, 128));
}

} // namespace
} // namespace trelvik
