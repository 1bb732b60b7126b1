// SPDX-License-Identifier: GPL-3.0-or-later
#include "layer_image.h"

#include <algorithm>
#include <limits>

namespace trelvik {
namespace {

// Fills rows [y0, y0 + h) and columns [x0, x0 + w) of the picture; the caller has clipped the
// rectangle to the picture and checked its size.
IndexedImage Cut(std::span<const uint8_t> bytes, int width, int x0, int y0, int w, int h)
{
    IndexedImage image;
    image.Width = w;
    image.Height = h;
    image.OriginX = x0;
    image.OriginY = y0;
    image.Pixels.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
    const auto stride = static_cast<std::size_t>(width);
    for (int row = 0; row < h; ++row) {
        const std::size_t source =
            static_cast<std::size_t>(y0 + row) * stride + static_cast<std::size_t>(x0);
        if (source >= bytes.size())
            break; // this row and all below lie past the array's end: index 0
        const std::size_t available = std::min(static_cast<std::size_t>(w), bytes.size() - source);
        const auto from = bytes.begin() + static_cast<std::ptrdiff_t>(source);
        std::copy(from, from + static_cast<std::ptrdiff_t>(available),
                  image.Pixels.begin()
                      + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(row)
                                                    * static_cast<std::size_t>(w)));
    }
    return image;
}

} // namespace

PictureResult RenderLayerImage(std::span<const uint8_t> bytes, int width, int height)
{
    if (width <= 0 || height <= 0)
        return {PictureOutcome::Made, IndexedImage{}};
    if (static_cast<int64_t>(width) * height > kMaxPicturePixels)
        return {PictureOutcome::TooLarge, IndexedImage{}};
    return {PictureOutcome::Made, Cut(bytes, width, 0, 0, width, height)};
}

IndexedImage RenderLayerWindow(std::span<const uint8_t> bytes,
                               int width,
                               int height,
                               int x,
                               int y,
                               int windowWidth,
                               int windowHeight)
{
    // 64-bit edges: a window far outside the picture must not overflow.
    const int64_t left = std::max<int64_t>(x, 0);
    const int64_t top = std::max<int64_t>(y, 0);
    const int64_t right = std::min<int64_t>(static_cast<int64_t>(x) + windowWidth, width);
    const int64_t bottom = std::min<int64_t>(static_cast<int64_t>(y) + windowHeight, height);
    if (right <= left || bottom <= top) {
        IndexedImage empty;
        empty.OriginX = static_cast<int>(std::clamp<int64_t>(left, 0, std::max(width, 0)));
        empty.OriginY = static_cast<int>(std::clamp<int64_t>(top, 0, std::max(height, 0)));
        return empty;
    }
    return Cut(bytes, width, static_cast<int>(left), static_cast<int>(top),
               static_cast<int>(right - left), static_cast<int>(bottom - top));
}

PictureResult ScaleImage(const IndexedImage &image, int factor)
{
    if (factor < 1 || image.Width <= 0 || image.Height <= 0
        || image.Pixels.size()
               != static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height))
        return {PictureOutcome::Made, IndexedImage{}};
    const int64_t width = int64_t{image.Width} * factor;
    const int64_t height = int64_t{image.Height} * factor;
    if (width * height > kMaxPicturePixels)
        return {PictureOutcome::TooLarge, IndexedImage{}};
    IndexedImage scaled;
    scaled.Width = static_cast<int>(width);
    scaled.Height = static_cast<int>(height);
    const auto scale = [factor](int origin) {
        return static_cast<int>(std::clamp<int64_t>(int64_t{origin} * factor,
                                                    std::numeric_limits<int>::min(),
                                                    std::numeric_limits<int>::max()));
    };
    scaled.OriginX = scale(image.OriginX);
    scaled.OriginY = scale(image.OriginY);
    scaled.Pixels.reserve(static_cast<std::size_t>(width * height));
    std::vector<uint8_t> row(static_cast<std::size_t>(width));
    for (int y = 0; y < image.Height; ++y) {
        for (int x = 0; x < image.Width; ++x) {
            std::fill_n(row.begin() + static_cast<std::ptrdiff_t>(x) * factor, factor,
                        image.At(x, y));
        }
        for (int copy = 0; copy < factor; ++copy)
            scaled.Pixels.insert(scaled.Pixels.end(), row.begin(), row.end());
    }
    return {PictureOutcome::Made, std::move(scaled)};
}

ViewOffset CentreInView(int width, int height, int innerWidth, int innerHeight)
{
    return {(innerWidth - width) / 2, (innerHeight - height) / 2};
}

IndexedImage RenderVisiblePart(
    std::span<const uint8_t> bytes, int width, int height, int innerWidth, int innerHeight)
{
    const ViewOffset offset = CentreInView(width, height, innerWidth, innerHeight);
    return RenderLayerWindow(bytes, width, height, -offset.Left, -offset.Top, innerWidth,
                             innerHeight);
}

std::vector<uint8_t> ToRgb(const IndexedImage &image, const ColourTable &table)
{
    std::vector<uint8_t> rgb;
    rgb.reserve(image.Pixels.size() * 3);
    for (const uint8_t index : image.Pixels) {
        const ColourEntry &entry = table.Entries[index];
        rgb.push_back(entry.Red);
        rgb.push_back(entry.Green);
        rgb.push_back(entry.Blue);
    }
    return rgb;
}

} // namespace trelvik
