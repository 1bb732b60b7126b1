// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands.h"
#include "common.h"
#include "document/map_file.h"
#include "viewer/composed_view.h"
#include "viewer/layer_image.h"
#include "viewer/view_refresh.h"

#include <iostream>
#include <memory>
#include <optional>

// The one place that compiles the PNG writer; its own code is not held to our warnings.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wpedantic"
#pragma GCC diagnostic ignored "-Wshadow"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

namespace trelvik::cli {
namespace {

// Collects what the PNG writer hands out.
void AppendBytes(void *context, void *data, int size)
{
    auto &out = *static_cast<std::vector<uint8_t> *>(context);
    const auto *bytes = static_cast<const uint8_t *>(data);
    out.insert(out.end(), bytes, bytes + size);
}

// Writes 8-bit RGB pixels (rows top to bottom, no padding) as a PNG file; `path` is UTF-8. The
// picture is encoded whole, then saved as maps are, so a failure leaves an existing file as it
// was. Returns nothing, or why it failed.
std::optional<std::string>
WritePngFile(const std::string &path, int width, int height, const std::vector<uint8_t> &rgb)
{
    constexpr int kChannels = 3;
    std::vector<uint8_t> png;
    if (width <= 0 || height <= 0
        || rgb.size()
               != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * kChannels
        || stbi_write_png_to_func(AppendBytes, &png, width, height, kChannels, rgb.data(),
                                  width * kChannels)
               == 0)
        return "the picture cannot be encoded";
    return WriteFileSafely(path, png);
}

struct RenderOptions
{
    std::string In;
    std::string Out;
    int Layer = 0; // 0: the composed view
    std::string PaletteDir;
    int Scale = 1; // each map point drawn as Scale x Scale pixels
};

int Render(const RenderOptions &options, const CommandContext &ctx)
{
    const auto doc = LoadMapOrReport(options.In);
    if (!doc)
        return kExitMapError;

    // The same refresh the window runs at selector position K + 1 (1 for the composed view),
    // starting from a black table as a freshly opened window does.
    const int position = options.Layer == 0 ? kFirstSelectorPosition : options.Layer + 1;
    const std::string paletteDir = options.PaletteDir.empty() ? ctx.ProgramDir : options.PaletteDir;
    const RefreshPlan plan = PlanRefresh(*doc, position, paletteDir);
    ColourTable table;
    const PaletteLoadResult colours = ApplyColourAction(plan, table);
    if (!colours.Ok()) {
        std::cerr << "trelvik-cli: warning: palette " << Shown(plan.PalettePath)
                  << " could not be read in full; " << colours.EntriesStored
                  << " colours were loaded, the others stay black\n";
    }

    const ComposedView composed = plan.Layer == 0 ? BuildComposedView(*doc) : ComposedView{};
    const int width = doc->Header.Width;
    const int height = doc->Header.Height;
    const PictureResult whole = RenderLayerImage(PlannedBytes(plan, *doc, composed), width, height);
    const PictureResult picture = whole.Ok() ? ScaleImage(whole.Image, options.Scale) : whole;
    if (!picture.Ok())
        return Fail("The picture of " + std::to_string(width) + " x " + std::to_string(height)
                    + " points at scale " + std::to_string(options.Scale)
                    + " is too large to render");
    if (picture.Image.Pixels.empty())
        return Fail("The map has no points to draw (" + std::to_string(width) + " x "
                    + std::to_string(height) + ")");
    if (const auto reason = WritePngFile(options.Out, picture.Image.Width, picture.Image.Height,
                                         ToRgb(picture.Image, table)))
        return Fail("Cannot write the picture to " + options.Out + ": " + *reason);

    std::cout << plan.MapInfo << '\n' << "Wrote " << Shown(options.Out) << '\n';
    return kExitOk;
}

} // namespace

void AddRenderCommand(CLI::App &app, CommandContext &ctx)
{
    auto options = std::make_shared<RenderOptions>();
    CLI::App *sub = app.add_subcommand(
        "render", "Draw the composed terrain view or one layer of a map as a PNG picture");
    sub->add_option("FILE", options->In, "Map file to read")->required();
    sub->add_option("--layer", options->Layer, "Layer to draw (1 to 14); default: terrain view")
        ->check(CLI::Range(1, 14));
    sub->add_option("--palette-dir", options->PaletteDir,
                    "Folder of the world palettes (default: the program's folder)");
    sub->add_option("--scale", options->Scale,
                    "Draw each map point as N x N pixels (1 to 16); default: 1")
        ->check(CLI::Range(1, 16));
    sub->add_option("-o,--output", options->Out, "PNG file to write")->required();
    sub->callback([options, &ctx] { ctx.ExitCode = Render(*options, ctx); });
}

} // namespace trelvik::cli
