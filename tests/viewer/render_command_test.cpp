#include "document/map_file.h"
#include "hand_map.h"
#include "run_program.h"
#include "test_maps.h"
#include "viewer/palette_file.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wshadow"
#pragma GCC diagnostic ignored "-Wpedantic"
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

namespace trelvik {
namespace {

using test::RunCli;
using Rgb = std::array<int, 3>;

struct Png
{
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Rgb;

    std::array<int, 3> At(int x, int y) const
    {
        const auto i = static_cast<std::size_t>((y * Width + x) * 3);
        return {Rgb[i], Rgb[i + 1], Rgb[i + 2]};
    }
};

Png Decode(const std::string &path)
{
    Png png;
    int channels = 0;
    unsigned char *data = stbi_load(path.c_str(), &png.Width, &png.Height, &channels, 3);
    if (data == nullptr)
        return png;
    png.Rgb.assign(data, data + static_cast<std::ptrdiff_t>(png.Width) * png.Height * 3);
    stbi_image_free(data);
    return png;
}

// A palette whose every entry tells its index apart: (i, 255 - i, 3i mod 256).
Rgb TestColour(int i)
{
    return {i, 255 - i, (3 * i) % 256};
}

void WriteTestPalette(const std::string &path)
{
    std::ofstream out(path, std::ios::binary);
    out << "JASC-PAL\r\n0100\r\n256\r\n";
    for (int i = 0; i < 256; ++i) {
        const Rgb c = TestColour(i);
        out << c[0] << ' ' << c[1] << ' ' << c[2] << "\r\n";
    }
}

class RenderCommand : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // 37 points wide: rows are not a multiple of four bytes long.
        MapDocument doc = test::MakeFlatMap(37, 32, 0);
        doc.Layer(3)[test::PointIndex(doc, 36, 31)] = 5; // the very last point is water
        doc.Layer(1)[test::PointIndex(doc, 3, 2)] = 63;
        doc.Layer(1)[test::PointIndex(doc, 4, 2)] = 64;
        doc.Layer(2)[test::PointIndex(doc, 1, 0)] = 0x45;
        map = dir.File("map.swd");
        ASSERT_TRUE(WriteMapFile(map, doc).Ok);
        std::filesystem::create_directories(dir.Path() / "pal");
        WriteTestPalette(dir.File("pal/Greenland.pal"));
        std::filesystem::create_directories(dir.Path() / "none");
    }

    Png Render(const std::string &options, const std::string &name = "out.png")
    {
        const auto run = RunCli("render " + map + " " + options + " -o " + dir.File(name));
        EXPECT_EQ(run.ExitCode, 0) << run.Err;
        const Png png = Decode(dir.File(name));
        EXPECT_EQ(png.Width, 37);
        EXPECT_EQ(png.Height, 32);
        return png;
    }

    test::TempDir dir;
    std::string map;
};

TEST_F(RenderCommand, ComposedViewThroughTheWorldPalette)
{
    const Png png = Render("--palette-dir " + dir.File("pal"));
    ASSERT_FALSE(png.Rgb.empty());
    EXPECT_EQ(png.At(0, 0), TestColour(231)); // meadow at shading 64
    EXPECT_EQ(png.At(35, 31), TestColour(231));
    EXPECT_EQ(png.At(36, 31), TestColour(61)); // water, last pixel of the last row
    EXPECT_EQ(png.At(36, 30), TestColour(231));
}

TEST_F(RenderCommand, LayersThroughRampsAndPalette)
{
    const Png heights = Render("--layer 1 --palette-dir " + dir.File("pal"), "heights.png");
    ASSERT_FALSE(heights.Rgb.empty());
    EXPECT_EQ(heights.At(0, 0), (Rgb{48, 48, 48})); // height 12 through factor 4
    EXPECT_EQ(heights.At(3, 2), (Rgb{252, 252, 252}));
    EXPECT_EQ(heights.At(4, 2), (Rgb{0, 0, 0}));

    const Png shading = Render("--layer 13", "shading.png");
    ASSERT_FALSE(shading.Rgb.empty());
    EXPECT_EQ(shading.At(20, 20), (Rgb{128, 128, 128}));

    const Png terrain = Render("--layer 2 --palette-dir " + dir.File("pal"), "terrain.png");
    ASSERT_FALSE(terrain.Rgb.empty());
    EXPECT_EQ(terrain.At(0, 0), TestColour(8));
    EXPECT_EQ(terrain.At(1, 0), TestColour(0x45));
}

TEST_F(RenderCommand, MissingPaletteLeavesTheTableBlack)
{
    const auto run = RunCli("render " + map + " --palette-dir " + dir.File("none") + " -o "
                            + dir.File("black.png"));
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_NE(run.Err.find("Greenland.pal"), std::string::npos) << run.Err;
    const Png png = Decode(dir.File("black.png"));
    ASSERT_EQ(png.Rgb.size(), 37u * 32u * 3u);
    EXPECT_TRUE(std::all_of(png.Rgb.begin(), png.Rgb.end(), [](uint8_t v) { return v == 0; }));
}

TEST_F(RenderCommand, PalettesBesideTheProgramByDefault)
{
    ColourTable shipped;
    ASSERT_TRUE(LoadPaletteFile(std::string(TRELVIK_PALETTE_DIR) + "/Greenland.pal", shipped).Ok());
    const Png png = Render("");
    ASSERT_FALSE(png.Rgb.empty());
    const ColourEntry &meadow = shipped.Entries[231];
    EXPECT_EQ(png.At(0, 0), (Rgb{meadow.Red, meadow.Green, meadow.Blue}));
}

TEST_F(RenderCommand, ExitCodes)
{
    EXPECT_EQ(RunCli("render " + map + " --layer 0 -o " + dir.File("a.png")).ExitCode, 2);
    EXPECT_EQ(RunCli("render " + map + " --layer 15 -o " + dir.File("a.png")).ExitCode, 2);
    EXPECT_EQ(RunCli("render " + map).ExitCode, 2);
    EXPECT_EQ(RunCli("render " + dir.File("missing.swd") + " -o " + dir.File("a.png")).ExitCode, 1);
    EXPECT_EQ(RunCli("render " + map + " -o " + dir.File("no/such/a.png")).ExitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.File("a.png")));
}

TEST_F(RenderCommand, AbsurdClaimedSizeIsRefused)
{
    // A header claiming 5000 x 5000 points over layers of 64 bytes.
    MapDocument doc = test::MakeFlatMap(8, 8, 0);
    doc.Header.Width = 5000;
    doc.Header.Height = 5000;
    const std::string path = dir.File("huge.swd");
    ASSERT_TRUE(WriteMapFile(path, doc).Ok);
    const auto run = RunCli("render " + path + " -o " + dir.File("huge.png"));
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_NE(run.Err.find("too large"), std::string::npos) << run.Err;
    EXPECT_FALSE(std::filesystem::exists(dir.File("huge.png")));
}

} // namespace
} // namespace trelvik
