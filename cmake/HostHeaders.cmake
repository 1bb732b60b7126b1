# SPDX-License-Identifier: GPL-3.0-or-later
# In a cross build the header-only libraries come from the build machine's Debian packages:
# only their own folders are put on the include path (never all of /usr/include, whose C
# library headers are not the target's), and their CMake targets are stood in for.
set(trelvik_host_headers ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${trelvik_host_headers})
foreach(folder CLI nlohmann stb)
    if(NOT EXISTS /usr/include/${folder})
        message(FATAL_ERROR "/usr/include/${folder} is missing: run scripts/install-deps --windows")
    endif()
    file(CREATE_LINK /usr/include/${folder} ${trelvik_host_headers}/${folder} SYMBOLIC)
endforeach()
include_directories(SYSTEM ${trelvik_host_headers})
add_library(CLI11::CLI11 INTERFACE IMPORTED)
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
