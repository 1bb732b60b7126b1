// Map reading from bytes in both layouts. The first input byte picks the layout and the name
// (see map_input.h); the reader must accept or reject every file cleanly, and a rejected file
// must leave the map that was open before untouched.

#include "fuzz_check.h"
#include "map_input.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    using namespace trelvik;
    const auto input = fuzz::SplitMapInput(data, size);
    if (!input)
        return 0;

    static const MapDocument previous = fuzz::MakeSmallMap(32, 32, 40, 2, 1);
    MapDocument document = previous;
    const ReadResult result = ReadMapBytes(input->Bytes, input->Layout, document, input->Name);
    fuzz::CheckRead(*input, result, previous, document);
    if (result.Ok())
        fuzz::CheckRoundTrip(document);
    return 0;
}
