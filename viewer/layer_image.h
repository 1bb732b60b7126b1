// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "colour_table.h"

#include <cstdint>
#include <span>
#include <vector>

namespace trelvik {

/// A rectangle of a map picture: one palette index per pixel, rows top to bottom, each row
/// exactly Width bytes (no padding). (OriginX, OriginY) is where its top-left pixel lies in
/// the whole picture.
struct IndexedImage
{
    int Width = 0;
    int Height = 0;
    int OriginX = 0;
    int OriginY = 0;
    std::vector<uint8_t> Pixels;

    uint8_t At(int x, int y) const
    {
        return Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width)
                      + static_cast<std::size_t>(x)];
    }
};

/// The largest whole picture made in one piece: 4096 x 4096 points, sixteen times the largest
/// map the game knows. Bigger claims come only from damaged headers.
inline constexpr int64_t kMaxPicturePixels = 4096LL * 4096LL;

enum class PictureOutcome {
    Made,
    TooLarge,
};

struct PictureResult
{
    PictureOutcome Outcome = PictureOutcome::Made;
    IndexedImage Image;

    bool Ok() const { return Outcome == PictureOutcome::Made; }
};

/// The whole w x h picture of a byte array: pixel (x, y) is byte y * w + x, row 0 on top.
/// Points past the end of the array show index 0. Sizes of 0 or less give an empty picture;
/// a picture of more than kMaxPicturePixels is refused.
PictureResult RenderLayerImage(std::span<const uint8_t> bytes, int width, int height);

/// The part of the w x h picture inside the rectangle (x, y, windowWidth, windowHeight) of
/// picture coordinates, clipped to the picture. Its memory is bounded by the window, whatever
/// size the map claims.
IndexedImage RenderLayerWindow(std::span<const uint8_t> bytes,
                               int width,
                               int height,
                               int x,
                               int y,
                               int windowWidth,
                               int windowHeight);

/// The picture with every pixel made a factor x factor square, its origin scaled alike. A
/// factor below 1, or pixels that do not fill the picture's size, give an empty picture; a
/// result of more than kMaxPicturePixels is refused.
PictureResult ScaleImage(const IndexedImage &image, int factor);

/// Where the top-left corner of a w x h picture lies in a view of the given inner size, so that
/// the picture is centred; truncating division, so a picture larger than the view gets a
/// negative offset and an odd excess is cut one more on the right or bottom.
struct ViewOffset
{
    int Left = 0;
    int Top = 0;

    bool operator==(const ViewOffset &) const = default;
};

ViewOffset CentreInView(int width, int height, int innerWidth, int innerHeight);

/// The part of the picture that a view of the given inner size shows when the picture is
/// centred in it (CentreInView).
IndexedImage RenderVisiblePart(
    std::span<const uint8_t> bytes, int width, int height, int innerWidth, int innerHeight);

/// Red, green, blue bytes for every pixel, through the colour table.
std::vector<uint8_t> ToRgb(const IndexedImage &image, const ColourTable &table);

} // namespace trelvik
