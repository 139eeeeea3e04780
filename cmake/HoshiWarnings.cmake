# SPDX-License-Identifier: GPL-3.0-or-later
# Warnings on for our own targets; Qt's headers are system headers and stay quiet.
function(hoshi_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /permissive-)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
                                                 -Wnon-virtual-dtor -Wold-style-cast)
    endif()
endfunction()

# A subsystem library: every .cpp of the folder whose name matches the pattern.
function(hoshi_library target)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_library(${target} STATIC ${ARG_SOURCES})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} PUBLIC ${ARG_LIBS})
    hoshi_warnings(${target})
endfunction()
