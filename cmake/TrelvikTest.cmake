# trelvik_add_test(NAME SOURCES... LIBS... [QT])
#   Builds one test program and registers it with CTest. Core tests use GoogleTest; QT tests use
#   QtTest and run on the offscreen platform, so no display is needed. Core tests carry the
#   label "core", widget and window tests the label "qt".
find_package(GTest REQUIRED)
include(GoogleTest)

set(TRELVIK_TEST_DATA_DIR ${CMAKE_SOURCE_DIR}/tests/data)
set(TRELVIK_SHARED_DIR ${CMAKE_SOURCE_DIR}/../shared)

function(trelvik_add_test name)
    cmake_parse_arguments(ARG "QT" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_compile_definitions(${name} PRIVATE
        TRELVIK_TEST_DATA_DIR="${TRELVIK_TEST_DATA_DIR}"
        TRELVIK_PALETTE_DIR="${TRELVIK_PALETTE_DIR}"
        TRELVIK_BIN_DIR="${CMAKE_RUNTIME_OUTPUT_DIRECTORY}")
    if(ARG_QT)
        target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test trelvik_qt_flags)
        add_test(NAME ${name} COMMAND ${name})
        set_tests_properties(${name} PROPERTIES
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_QPA_FONTDIR=/usr/share/fonts/truetype/dejavu"
            TIMEOUT 300
            LABELS qt)
    else()
        target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main
                                              trelvik_flags)
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                             PROPERTIES TIMEOUT 300 LABELS core)
    endif()
endfunction()
