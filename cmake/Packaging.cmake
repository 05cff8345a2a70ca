# The Debian package: `cpack -G DEB` in the build folder (scripts/dev.sh package).
# Every install carries the manual page, the licence notice and a changelog in Debian's form.

# Fills in packaging/<name>.in and compresses it as Debian wants it (no name, no time stamp)
# into <name>.gz in the build folder.
function(tavoret_gzipped_page name)
  configure_file(packaging/${name}.in ${CMAKE_CURRENT_BINARY_DIR}/${name} @ONLY)
  execute_process(COMMAND gzip -9nc ${CMAKE_CURRENT_BINARY_DIR}/${name}
    OUTPUT_FILE ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz COMMAND_ERROR_IS_FATAL ANY)
endfunction()
tavoret_gzipped_page(tavoret.1)
tavoret_gzipped_page(changelog)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/tavoret.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES packaging/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES packaging/tavoret.lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME tavoret)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavoret)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tavoret developers")
set(CPACK_PACKAGE_CONTACT "The Tavoret developers <developers@tavoret.org>")
# The program's own description, which names it first (see packaging/tavoret.lintian-overrides).
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION [[
Tavoret shows the characters 32 to 255 of a font as a chart of 16 by 14
cells, at a font size and cell size of your choice. It previews TrueType
files without installing them, copies a character to the clipboard in the
chart's face, and installs a previewed file into the user's fonts folder.]])
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A Wayland session gets a native window through Qt's Wayland platform; the forms are laid out
# for Liberation Sans, the interface's stand-in face.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-wayland, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# Installs into a staging folder through DESTDIR, so that the desktop caches are left to dpkg.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# cpack packs what is built: it does not build every test and benchmark first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
# The package's file times are the source date too: CPack's DEB generator takes them from
# SOURCE_DATE_EPOCH, which the packager may set; otherwise the last commit's time.
file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/CPackSourceDate.cmake CONTENT
"if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(ENV{SOURCE_DATE_EPOCH} ${TAVORET_SOURCE_DATE})
endif()
")
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_BINARY_DIR}/CPackSourceDate.cmake)
include(CPack)
