# SPDX-License-Identifier: GPL-3.0-or-later
# A Debian package of the installed tree:
#   cmake --preset release && cmake --build --preset release && (cd build/release && cpack -G DEB)
# Qt's plugins (speech, sound) and the Japanese font are loaded at run time,
# so they are named here; the libraries linked are found by dpkg-shlibdeps.

# Build folders configured before a real maintainer was named drop the placeholder.
if(HOSHI_PACKAGE_MAINTAINER MATCHES "@example\\.org>$")
    unset(HOSHI_PACKAGE_MAINTAINER CACHE)
endif()
set(HOSHI_PACKAGE_MAINTAINER "ほしのたまご developers <hoshinotamago@users.noreply.github.com>"
    CACHE STRING "Maintainer of the Debian package: name <address>")

set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VENDOR "ほしのたまご")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "keyboard typing tutor for children who follow it by ear")
# Debian keeps extended description lines under 80 columns.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "A typing tutor for beginners and children, many of them blind or with\n"
    "low vision, with a Japanese user interface. It is worked entirely from\n"
    "the keyboard: a key guide, a finger guide, timed drills, and timed typing\n"
    "of Japanese or English text files. Every step is put on the clipboard as\n"
    "a short reading for a screen reader to speak. The English typing mode\n"
    "uses the speech voice instead.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${HOSHI_HOMEPAGE_URL})

set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${HOSHI_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The multimedia backends (plugins/multimedia) come with libqt6multimedia6
# and the X11 platform plugin with libqt6gui6, both linked libraries.
# The reading voice speaks through speech-dispatcher's espeak-ng module and
# reads kanji with MeCab's naist-jdic; the program runs silent without them.
set(HOSHI_RUNTIME_PLUGINS
    "fonts-ipafont-gothic, speech-dispatcher, speech-dispatcher-espeak-ng, mecab-naist-jdic")
find_program(HOSHI_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(HOSHI_DPKG_SHLIBDEPS)
    # Adds the Qt libraries the program links, with their versions.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "${HOSHI_RUNTIME_PLUGINS}")
else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS
        "libqt6widgets6, libqt6multimedia6, libqt6dbus6, libspeechd2, libmecab2, ${HOSHI_RUNTIME_PLUGINS}")
endif()
# Wayland needs Qt's plugin (without it the program uses X11); the window
# icon is an SVG, drawn by Qt's SVG icon engine.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "qt6-translations-l10n, at-spi2-core, qt6-wayland, libqt6svg6")

# A stripped install (cpack, cmake --install --strip) also drops the
# compiler's notes, as Debian's own packages do: every ELF file installed
# before this point, whichever target made it.
find_program(HOSHI_OBJCOPY NAMES objcopy ${CMAKE_OBJCOPY})
if(HOSHI_OBJCOPY)
    # The manifest leaves out DESTDIR, which cpack sets.
    install(CODE "
        if(CMAKE_INSTALL_DO_STRIP)
            foreach(file IN LISTS CMAKE_INSTALL_MANIFEST_FILES)
                set(file \"\$ENV{DESTDIR}\${file}\")
                if(NOT IS_SYMLINK \"\${file}\" AND EXISTS \"\${file}\")
                    file(READ \"\${file}\" magic LIMIT 4 HEX)
                    if(magic STREQUAL \"7f454c46\")
                        execute_process(COMMAND \"${HOSHI_OBJCOPY}\" --remove-section=.comment
                                                --remove-section=.note \"\${file}\"
                                        COMMAND_ERROR_IS_FATAL ANY)
                    endif()
                endif()
            endforeach()
        endif()")
endif()

# The documents every Debian package carries.
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in ${CMAKE_BINARY_DIR}/debian/changelog.Debian @ONLY)
find_program(HOSHI_GZIP gzip)
if(HOSHI_GZIP)
    set(changelog ${CMAKE_BINARY_DIR}/debian/changelog.Debian.gz)
    add_custom_command(OUTPUT ${changelog}
        COMMAND ${HOSHI_GZIP} -9 -n -c ${CMAKE_BINARY_DIR}/debian/changelog.Debian > ${changelog}
        DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog.Debian VERBATIM)
    add_custom_target(hoshi_debian_changelog ALL DEPENDS ${changelog})
    install(FILES ${changelog} DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()
install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME ${PROJECT_NAME})

include(CPack)
