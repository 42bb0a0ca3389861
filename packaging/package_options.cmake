# Read by CPack for each generator: the DEB follows Debian's layout for games, the archive
# keeps the movable folder. The install rules read MORVEL_LAYOUT.

# Every file date in the packages is SOURCE_DATE_EPOCH when it is set, otherwise the date
# of the Debian changelog's last entry, as in Debian's own package builds: one date for
# the same sources, whoever builds them, from a git checkout or not. (git refuses to read
# a checkout that another user owns.) A package whose date cannot be found is not made.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(changelog "${CPACK_MORVEL_SOURCE_DIR}/packaging/changelog.Debian.in")
  file(STRINGS "${changelog}" signed ENCODING UTF-8 REGEX "^ -- .*>  ")
  set(source_date)
  if(signed)
    list(GET signed 0 signed)
    string(REGEX REPLACE "^ -- .*>  " "" signed "${signed}")
    execute_process(COMMAND "${CMAKE_COMMAND}" -E env LC_ALL=C TZ=UTC0 date -u -d "${signed}" +%s
                    OUTPUT_VARIABLE source_date OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  endif()
  if(NOT source_date MATCHES "^[0-9]+$")
    message(FATAL_ERROR "No date for the package's files: SOURCE_DATE_EPOCH is not set and "
                        "${changelog} has no readable date in its last entry ('${signed}')")
  endif()
  set(ENV{SOURCE_DATE_EPOCH} ${source_date})
endif()

if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_CUSTOM_INSTALL_VARIABLES MORVEL_LAYOUT=debian)
else()
  set(CPACK_CUSTOM_INSTALL_VARIABLES MORVEL_LAYOUT=archive)
endif()
