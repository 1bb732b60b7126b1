// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <cstdlib>

namespace trelvik::fuzz {

/// Stops the run so the fuzzer keeps the input as a crash. assert() would vanish in the
/// optimised builds the fuzzer runs, so the targets use this instead.
[[noreturn]] inline void CheckFailed(const char *condition, const char *file, int line)
{
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::abort();
}

} // namespace trelvik::fuzz

#define TRELVIK_FUZZ_CHECK(condition)                                                              \
    ((condition) ? static_cast<void>(0)                                                            \
                 : ::trelvik::fuzz::CheckFailed(#condition, __FILE__, __LINE__))
