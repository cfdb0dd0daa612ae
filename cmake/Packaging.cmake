# What `cmake --install` puts where, and the Debian package made from it (scripts/package.sh, or
# `cpack -G DEB` in a build folder where the program is built).

include(GNUInstallDirs)
# Installing (and so cpack) needs only what the install rules name, not every test.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

# The desktop's name for the program: the desktop entry's and the AppStream file's name. The
# maintainer's domain is reserved and never resolves; replace both when the project has a home.
set(ZELTOMIL_APP_ID invalid.zeltomil.zeltomil)
set(ZELTOMIL_MAINTAINER "ゼルトミル developers <noreply@zeltomil.invalid>")
# Lets the window manager and the Wayland compositor match the program's windows to its entry.
target_compile_definitions(zeltomil PRIVATE ZELTOMIL_APP_ID="${ZELTOMIL_APP_ID}")

install(TARGETS zeltomil RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES resources/zelto.hlp DESTINATION ${CMAKE_INSTALL_DATADIR}/zeltomil)
install(DIRECTORY sample/ DESTINATION ${CMAKE_INSTALL_DATADIR}/zeltomil/sample)
install(FILES resources/zeltomil.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
        RENAME ${ZELTOMIL_APP_ID}.desktop)
install(FILES resources/icons/zeltomil.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
  install(FILES resources/icons/zeltomil-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME zeltomil.png)
endforeach()

configure_file(packaging/zeltomil.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/packaging/${ZELTOMIL_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/${ZELTOMIL_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The manual page and the changelog are installed compressed the way Debian wants them: the
# best compression and no time stamp or file name in the gzip header, so that builds repeat.
set(zel_gzipped)
foreach(pair "docs/zeltomil.1|zeltomil.1.gz" "packaging/changelog|changelog.gz")
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 source)
  list(GET pair 1 target)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/${target}
    COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/${source} > ${CMAKE_BINARY_DIR}/packaging/${target}
    DEPENDS ${CMAKE_SOURCE_DIR}/${source}
    VERBATIM)
  list(APPEND zel_gzipped ${CMAKE_BINARY_DIR}/packaging/${target})
endforeach()
add_custom_target(zeltomil_packaging_files DEPENDS ${zel_gzipped})
# Installing follows building the program alone (the package script builds nothing else).
add_dependencies(zeltomil zeltomil_packaging_files)
install(FILES ${CMAKE_BINARY_DIR}/packaging/zeltomil.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
set(zel_docdir ${CMAKE_INSTALL_DATADIR}/doc/zeltomil)
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz DESTINATION ${zel_docdir})
install(FILES packaging/copyright DESTINATION ${zel_docdir})

# The Debian package. Its libraries come from dpkg-shlibdeps; the fonts and Qt's platform
# plugins are loaded at run time and named here. The symbols go into a separate -dbgsym
# package, and the program in the package is stripped.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zeltomil)
set(CPACK_PACKAGE_CONTACT "${ZELTOMIL_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ZELTOMIL_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "duty roster board (当番表ボード)")
# The long description; CPack puts the summary above it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "ゼルトミル shows a name tag for each person of a roster and, beside each tag,
a row of duty markers in two colours, green and yellow. Duties are picked
from two lists and placed on a person's row with the pointer; markers are
moved or thrown away the same way.

Names and duty lists are edited in the program. Every change is written at
once to the roster files, which are plain Shift-JIS (CP932) text with CR LF
line ends and stay exchangeable with rosters made on Windows.

The program's windows and messages are in Japanese.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, fonts-ipafont-gothic | fonts-noto-cjk, fonts-ipafont-mincho | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/RepairDebugPackage.cmake)
# Folders the package creates get the usual modes whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
