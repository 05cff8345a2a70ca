# Run at the end of `cmake --install`: desktops find "Open with" entries and icons through
# caches, so the caches of the prefix installed into are refreshed, where the tools are there,
# for the program to be offered at once. A staged install (DESTDIR set, as for a package) is
# left to the package manager of the system that installs it.
# TAVORET_DATADIR: the data folder, relative to the prefix or absolute.
if(NOT "$ENV{DESTDIR}" STREQUAL "")
  return()
endif()
set(datadir "${TAVORET_DATADIR}")
if(NOT IS_ABSOLUTE "${datadir}")
  set(datadir "${CMAKE_INSTALL_PREFIX}/${datadir}")
endif()

find_program(UPDATE_DESKTOP_DATABASE update-desktop-database)
if(UPDATE_DESKTOP_DATABASE)
  message(STATUS "Refreshing: ${datadir}/applications/mimeinfo.cache")
  execute_process(COMMAND "${UPDATE_DESKTOP_DATABASE}" -q "${datadir}/applications")
endif()
find_program(GTK_UPDATE_ICON_CACHE gtk-update-icon-cache)
if(GTK_UPDATE_ICON_CACHE)
  message(STATUS "Refreshing: ${datadir}/icons/hicolor/icon-theme.cache")
  # A user's hicolor folder has no theme index of its own: the system's one applies.
  execute_process(COMMAND "${GTK_UPDATE_ICON_CACHE}" -q -f -t "${datadir}/icons/hicolor")
endif()
