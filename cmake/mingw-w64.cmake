# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds for 64-bit Windows with Debian's MinGW-w64 compilers (the POSIX thread model, so
# that std::thread and std::mutex work). The programs link libgcc, libstdc++ and winpthread
# statically, so each .exe runs on its own. Tests run under Wine (cmake/wine-run).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TRELVIK_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TRELVIK_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TRELVIK_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TRELVIK_MINGW_PREFIX}-windres)

# Libraries and headers of the target only; programs (cmake, wine) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${TRELVIK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs (and GoogleTest's test discovery) run through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run)
