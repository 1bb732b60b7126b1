#pragma once

#include "app_test_support.h"
#include "test_maps.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace trelvik::test {

// Far above what a small map file and the 256 x 256 view need, far below a layer of any huge
// claimed size.
inline constexpr std::size_t kAllocationBound = std::size_t{4} << 20;

// Opens files in a window through File > Open and checks what the window does with each.
class HostileOpener
{
public:
    HostileOpener(WindowUnderTest &t, const TempDir &dir)
        : t_(t)
        , dir_(dir)
    {}

    // Opens the file and checks the outcome: a rejected file leaves the window exactly as it
    // was and says why, in a box titled "Error" naming the file or the problem; an accepted
    // one is shown as the reader reads it. Neither asks for a block of kAllocationBound or
    // more. Returns whether it was accepted.
    bool Open(const std::string &path);
    // Writes the bytes to a file of that name in the folder and opens it.
    bool OpenBytes(const std::string &name, const std::vector<uint8_t> &bytes);

    // Views every selector position, checking each picture point against the bytes it shows,
    // runs both tools answered Yes and copies the picture, which a picture of more than
    // 4096 x 4096 points refuses with a message, leaving the clipboard as it was.
    void Exercise();

private:
    std::vector<std::size_t> LayerLengths() const;
    void CheckAccepted(const std::string &path);
    // The picture is centred in the view and cut to it; a point past the end of the bytes
    // shows index 0 of the colour table in force.
    void CheckShownPixels(std::span<const uint8_t> bytes);

    WindowUnderTest &t_;
    const TempDir &dir_;
};

} // namespace trelvik::test
