# SPDX-License-Identifier: GPL-3.0-or-later
# Warning and sanitizer flags, carried by two interface targets:
#   trelvik_flags       every target of the project
#   trelvik_core_flags  the plain C++ core, which also builds with -Wconversion
add_library(trelvik_flags INTERFACE)
target_compile_options(trelvik_flags INTERFACE -Wall -Wextra -Wpedantic -Wshadow)
# GCC 12 reports false -Wrestrict warnings inside std::string at -O2 and above (GCC bug 105329).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(trelvik_flags INTERFACE -Wno-restrict)
endif()
# Windows' headers without their rarely used parts and without the min and max macros.
if(WIN32)
    target_compile_definitions(trelvik_flags INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX)
endif()
if(TRELVIK_WERROR)
    target_compile_options(trelvik_flags INTERFACE -Werror)
endif()

if(TRELVIK_SANITIZE)
    set(trelvik_sanitize_flags -fsanitize=address,undefined -fno-sanitize-recover=all
                               -fno-omit-frame-pointer)
    target_compile_options(trelvik_flags INTERFACE ${trelvik_sanitize_flags})
    target_link_options(trelvik_flags INTERFACE ${trelvik_sanitize_flags})
endif()

add_library(trelvik_core_flags INTERFACE)
target_link_libraries(trelvik_core_flags INTERFACE trelvik_flags)
target_compile_options(trelvik_core_flags INTERFACE -Wconversion -Wsign-conversion)

# Qt code: every conversion between bytes and QString must be spelled out.
add_library(trelvik_qt_flags INTERFACE)
target_link_libraries(trelvik_qt_flags INTERFACE trelvik_flags)
target_compile_definitions(trelvik_qt_flags INTERFACE QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII)

# Precompiled headers for the heavy library headers (Qt's modules, CLI11, nlohmann-json) of the
# libraries and programs made of many files: the Windows build, which compiles every file with
# MinGW on each CI run, takes half the time with them. Off elsewhere, so that the other builds
# still catch a file that misses an include.
option(TRELVIK_PCH "Precompile the heavy library headers" OFF)
function(trelvik_precompile target)
    if(TRELVIK_PCH)
        target_precompile_headers(${target} PRIVATE ${ARGN})
    endif()
endfunction()
