# SPDX-License-Identifier: GPL-3.0-or-later
# trelvik_add_test(NAME SOURCES... LIBS... [QT])
#   Builds one test program and registers it with CTest. Core tests use GoogleTest; QT tests use
#   QtTest and run on the offscreen platform, so no display is needed, with LANGUAGE=en, so that
#   a window following the system's language speaks English there. Core tests carry the
#   label "core", widget and window tests the label "qt".
#   Under Wine a Windows program sees none of the build machine's QT_* variables, only the
#   WINEQT_* ones, without the WINE; trelvik_qt_test_environment(VAR NAME=VALUE...) sets both.
#   In a cross build GoogleTest is built from Debian's source package (TRELVIK_GTEST_SOURCE_DIR)
#   with the project's compiler.
set(TRELVIK_GTEST_SOURCE_DIR "" CACHE PATH "GoogleTest sources to build (cross builds)")
if(TRELVIK_GTEST_SOURCE_DIR)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(${TRELVIK_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    if(NOT TARGET GTest::gtest) # older GoogleTest sources define no namespaced targets
        add_library(GTest::gtest ALIAS gtest)
        add_library(GTest::gtest_main ALIAS gtest_main)
    endif()
else()
    find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# Windows programs under Wine see the build machine's files on drive Z:.
set(trelvik_drive "")
if(WIN32 AND CMAKE_CROSSCOMPILING)
    set(trelvik_drive "Z:")
endif()
set(TRELVIK_TEST_DATA_DIR ${trelvik_drive}${CMAKE_SOURCE_DIR}/tests/data)
set(TRELVIK_SHARED_DIR ${trelvik_drive}${CMAKE_SOURCE_DIR}/../shared)

# The widget and window tests draw text with these fonts only, from Debian's fonts-dejavu-core
# and fonts-dejavu-extra, through a font setup of their own (tests/fonts/fonts.conf.in).
set(TRELVIK_TEST_FONT_DIR /usr/share/fonts/truetype/dejavu)
set(trelvik_test_fonts
    DejaVuSans.ttf DejaVuSans-Bold.ttf DejaVuSans-Oblique.ttf DejaVuSans-BoldOblique.ttf
    DejaVuSans-ExtraLight.ttf DejaVuSerif.ttf DejaVuSerif-Bold.ttf DejaVuSerif-Italic.ttf
    DejaVuSerif-BoldItalic.ttf DejaVuSansMono.ttf DejaVuSansMono-Bold.ttf)
# Windows has no fontconfig: there Qt's offscreen platform reads every font of one folder
# (QT_QPA_FONTDIR) through FreeType, so the tests get a folder with copies of these alone.
set(TRELVIK_TEST_FONT_GLOBS "")
set(trelvik_test_font_files "")
set(trelvik_test_font_copies ${CMAKE_BINARY_DIR}/tests/fonts)
foreach(font IN LISTS trelvik_test_fonts)
    string(APPEND TRELVIK_TEST_FONT_GLOBS "      <glob>${TRELVIK_TEST_FONT_DIR}/${font}</glob>\n")
    list(APPEND trelvik_test_font_files "\"${trelvik_drive}${TRELVIK_TEST_FONT_DIR}/${font}\"")
    if(EXISTS ${TRELVIK_TEST_FONT_DIR}/${font}) # else the tests say which one is missing
        file(COPY ${TRELVIK_TEST_FONT_DIR}/${font} DESTINATION ${trelvik_test_font_copies})
    endif()
endforeach()
list(JOIN trelvik_test_font_files "," trelvik_test_font_files)
set(TRELVIK_TEST_FONT_CACHE ${CMAKE_BINARY_DIR}/tests/fontconfig-cache)
configure_file(${CMAKE_SOURCE_DIR}/tests/fonts/fonts.conf.in ${CMAKE_BINARY_DIR}/tests/fonts.conf
               @ONLY)

function(trelvik_qt_test_environment out)
    set(environment "")
    foreach(setting IN LISTS ARGN)
        list(APPEND environment ${setting})
        if(WIN32 AND CMAKE_CROSSCOMPILING AND setting MATCHES "^QT_")
            list(APPEND environment WINE${setting})
        endif()
    endforeach()
    set(${out} "${environment}" PARENT_SCOPE)
endfunction()

# What a widget or window test runs with: the offscreen platform, English, and under Wine the
# Qt libraries and plugins of TRELVIK_QT_WINDOWS (set by cmake/mingw-w64.cmake), and Qt's
# messages and QtTest's report on stderr (a program without a console sends them to the
# debugger).
trelvik_qt_test_environment(TRELVIK_QT_TEST_ENVIRONMENT QT_QPA_PLATFORM=offscreen LANGUAGE=en)
if(WIN32 AND CMAKE_CROSSCOMPILING)
    list(APPEND TRELVIK_QT_TEST_ENVIRONMENT WINEQT_FORCE_STDERR_LOGGING=1
         WINEQT_PLUGIN_PATH=Z:${TRELVIK_QT_WINDOWS}/plugins WINEPATH=Z:${TRELVIK_QT_WINDOWS}/bin)
endif()

function(trelvik_add_test name)
    cmake_parse_arguments(ARG "QT" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_compile_definitions(${name} PRIVATE
        TRELVIK_TEST_DATA_DIR="${TRELVIK_TEST_DATA_DIR}"
        TRELVIK_PALETTE_DIR="${trelvik_drive}${TRELVIK_PALETTE_DIR}"
        TRELVIK_BIN_DIR="${trelvik_drive}${CMAKE_RUNTIME_OUTPUT_DIRECTORY}")
    if(ARG_QT)
        target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test trelvik_qt_flags)
        target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
        target_compile_definitions(${name} PRIVATE
            TRELVIK_TEST_FONTCONFIG="${CMAKE_BINARY_DIR}/tests/fonts.conf"
            TRELVIK_TEST_FONT_FILES=${trelvik_test_font_files}
            TRELVIK_TEST_FONT_COPIES="${trelvik_drive}${trelvik_test_font_copies}")
        add_test(NAME ${name} COMMAND ${name})
        set_tests_properties(${name} PROPERTIES
            ENVIRONMENT "${TRELVIK_QT_TEST_ENVIRONMENT}"
            TIMEOUT 300
            LABELS qt)
    else()
        target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main
                                              trelvik_flags)
        # Listed when ctest runs, so that a cross build lists them through Wine only then.
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120 DISCOVERY_MODE PRE_TEST
                             PROPERTIES TIMEOUT 300 LABELS core)
    endif()
endfunction()
