# SPDX-License-Identifier: GPL-3.0-or-later
# Built with sanitizers, every test (and the program an end-to-end test
# starts) stops at the first report and fails; leaks inside system libraries
# are suppressed by the list in tests/sanitizers.
set(HOSHI_SANITIZER_ENVIRONMENT "")
if(CMAKE_CXX_FLAGS MATCHES "-fsanitize=")
    set(HOSHI_SANITIZER_ENVIRONMENT
        "ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:check_initialization_order=1:strict_init_order=1:fast_unwind_on_malloc=0"
        "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/sanitizers/lsan.supp:print_suppressions=0"
        "UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1")
endif()

# One Qt Test executable per test_*.cpp file, run by CTest without a screen.
function(hoshi_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
    hoshi_warnings(${name})
    add_test(NAME ${name} COMMAND ${name})
    set(environment QT_QPA_PLATFORM=offscreen ${HOSHI_SANITIZER_ENVIRONMENT})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${environment}" TIMEOUT 120)
endfunction()

# The test's windows on an offscreen screen of that size (a file in
# tests/support/screens), at a scale factor (SCALE) and with further
# variables (ENVIRONMENT).
function(hoshi_test_on_screen test screen)
    cmake_parse_arguments(ARG "" "SCALE" "ENVIRONMENT" ${ARGN})
    set(environment "QT_QPA_PLATFORM=offscreen:configfile=${PROJECT_SOURCE_DIR}/tests/support/screens/${screen}.json"
        ${ARG_ENVIRONMENT} ${HOSHI_SANITIZER_ENVIRONMENT})
    if(ARG_SCALE)
        list(APPEND environment QT_SCALE_FACTOR=${ARG_SCALE})
    endif()
    set_tests_properties(${test} PROPERTIES ENVIRONMENT "${environment}" TIMEOUT 120)
endfunction()

# A test binary run as a window on a private Xvfb screen of this size (WIDTHxHEIGHT).
function(hoshi_test_on_xvfb test binary screen)
    cmake_parse_arguments(ARG "" "SCALE" "" ${ARGN})
    add_test(NAME ${test} COMMAND bash ${PROJECT_SOURCE_DIR}/tests/support/on_xvfb.sh ${screen} $<TARGET_FILE:${binary}>)
    set(environment ${HOSHI_SANITIZER_ENVIRONMENT})
    if(ARG_SCALE)
        list(APPEND environment QT_SCALE_FACTOR=${ARG_SCALE})
    endif()
    set_tests_properties(${test} PROPERTIES ENVIRONMENT "${environment}" TIMEOUT 120)
endfunction()

# Every test_*.cpp in the calling folder becomes a test linked with LIBS.
function(hoshi_add_tests_in_dir prefix)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/test_*.cpp)
    foreach(source IN LISTS sources)
        get_filename_component(stem ${source} NAME_WE)
        hoshi_add_test(${prefix}_${stem} SOURCES ${source} LIBS ${ARG_LIBS})
    endforeach()
endfunction()

# An end-to-end script run against the built program under its own Xvfb with a JIS keymap.
function(hoshi_add_e2e_test name script)
    add_test(NAME e2e_${name}
             COMMAND bash ${PROJECT_SOURCE_DIR}/tests/e2e/with_xvfb.sh
                     ${CMAKE_CURRENT_SOURCE_DIR}/${script} $<TARGET_FILE:hoshinotamago>)
    set_tests_properties(e2e_${name} PROPERTIES TIMEOUT 180 LABELS e2e
                         ENVIRONMENT "${HOSHI_SANITIZER_ENVIRONMENT}")
endfunction()
