# Builds as Debian builds its packages: the compiler and linker flags of dpkg-buildflags
# (stack protector, _FORTIFY_SOURCE, format checks, RELRO and immediate binding), without its
# -g/-O choice, which stays the build type's. Off for the sanitizer build, where ASan replaces
# the checks, and where dpkg-buildflags is missing.
option(TAVORET_DEBIAN_FLAGS "Build with Debian's hardening flags from dpkg-buildflags" ON)
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
set(TAVORET_HARDENED OFF)
if(TAVORET_DEBIAN_FLAGS AND NOT TAVORET_SANITIZE AND DPKG_BUILDFLAGS)
  set(TAVORET_HARDENED ON)
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                      ${DPKG_BUILDFLAGS} --get ${kind}
      WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE
      COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    list(FILTER flags EXCLUDE REGEX "^-(g|O[0-9s]?)$")
    # _FORTIFY_SOURCE needs the optimiser, which a Debug build leaves off.
    list(TRANSFORM flags REPLACE "^(-D_FORTIFY_SOURCE=.*)$" "$<$<NOT:$<CONFIG:Debug>>:\\1>")
    if(kind STREQUAL "LDFLAGS")
      add_link_options(${flags})
    else()
      add_compile_options(${flags})
    endif()
  endforeach()
endif()

# The same commit builds the same binary: Qt's resource compiler writes the time of the last
# commit (or SOURCE_DATE_EPOCH, where the packager sets it) into the resources instead of the
# files' times. tavoret_source_date(<target>) makes a target's AUTORCC do so.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(TAVORET_SOURCE_DATE $ENV{SOURCE_DATE_EPOCH})
else()
  execute_process(COMMAND git log -1 --format=%ct WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
    OUTPUT_VARIABLE TAVORET_SOURCE_DATE OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(NOT TAVORET_SOURCE_DATE MATCHES "^[0-9]+$")
  # Neither a packager's date nor a Git checkout: the time of the build description.
  file(TIMESTAMP ${CMAKE_SOURCE_DIR}/CMakeLists.txt TAVORET_SOURCE_DATE "%s" UTC)
endif()
function(tavoret_source_date target)
  get_target_property(rcc Qt6::rcc IMPORTED_LOCATION)
  if(NOT rcc)
    get_target_property(rcc Qt6::rcc LOCATION)
  endif()
  # The date is in the wrapper's name: the resource compiler's recorded settings include the
  # program it ran, so a new commit's date makes an incremental build compile them again.
  set(wrapper ${CMAKE_CURRENT_BINARY_DIR}/rcc-at-${TAVORET_SOURCE_DATE})
  file(GLOB stale ${CMAKE_CURRENT_BINARY_DIR}/rcc-at-*)
  list(REMOVE_ITEM stale ${wrapper})
  if(stale)
    file(REMOVE ${stale})
  endif()
  file(CONFIGURE OUTPUT ${wrapper} CONTENT
"#!/bin/sh
SOURCE_DATE_EPOCH=${TAVORET_SOURCE_DATE} QT_RCC_SOURCE_DATE_OVERRIDE=${TAVORET_SOURCE_DATE} exec '${rcc}' \"$@\"
")
  file(CHMOD ${wrapper} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)
  set_target_properties(${target} PROPERTIES AUTORCC_EXECUTABLE ${wrapper})
endfunction()
