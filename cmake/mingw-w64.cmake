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

# Qt for Windows, as scripts/install-deps --windows builds it (scripts/build-qt-windows): its
# libraries and CMake packages from its prefix, its tools (moc, rcc, uic) from the build
# machine's Qt of the same version.
if(NOT TRELVIK_QT_WINDOWS)
    if(DEFINED ENV{TRELVIK_QT_WINDOWS})
        set(TRELVIK_QT_WINDOWS "$ENV{TRELVIK_QT_WINDOWS}")
    elseif(DEFINED ENV{XDG_CACHE_HOME})
        set(TRELVIK_QT_WINDOWS "$ENV{XDG_CACHE_HOME}/trelvik/qt-windows")
    else()
        set(TRELVIK_QT_WINDOWS "$ENV{HOME}/.cache/trelvik/qt-windows")
    endif()
endif()
if(EXISTS "${TRELVIK_QT_WINDOWS}/lib/cmake/Qt6")
    get_filename_component(TRELVIK_QT_WINDOWS "${TRELVIK_QT_WINDOWS}" REALPATH)
    list(APPEND CMAKE_FIND_ROOT_PATH "${TRELVIK_QT_WINDOWS}")
    list(APPEND CMAKE_PREFIX_PATH "${TRELVIK_QT_WINDOWS}")
    set(QT_HOST_PATH /usr)
    execute_process(COMMAND gcc -print-multiarch OUTPUT_VARIABLE trelvik_multiarch
                    OUTPUT_STRIP_TRAILING_WHITESPACE)
    set(QT_HOST_PATH_CMAKE_DIR /usr/lib/${trelvik_multiarch}/cmake)
endif()
