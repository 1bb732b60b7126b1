#pragma once

#include <cstddef>

namespace trelvik::test {

// The program that links allocation_watch.cpp replaces the global operator new, so a test can
// tell the largest single block asked for since the last reset. Qt's own buffers (images, byte
// arrays) come from malloc and are not seen; the containers of the core and the window are.
void ResetLargestAllocation();
std::size_t LargestAllocation();

} // namespace trelvik::test
