# Read by CPack for each generator: the DEB follows Debian's layout for games, the archive
# keeps the movable folder. The install rules read MORVEL_LAYOUT.

# Every file date in the packages is SOURCE_DATE_EPOCH when it is set, otherwise the last
# commit's date, so that two builds of one commit give the same bytes. Asked here, when
# the package is made, so that it is the date of the commit being packaged. Outside a git
# checkout (an unpacked source archive) the changelog's last date stands in, as in
# Debian's own package builds.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git -C "${CPACK_MORVEL_SOURCE_DIR}" log -1 --format=%ct
                  OUTPUT_VARIABLE source_date OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE failed ERROR_QUIET)
  if(failed OR NOT source_date MATCHES "^[0-9]+$")
    set(source_date)
    file(STRINGS "${CPACK_MORVEL_SOURCE_DIR}/packaging/changelog.Debian.in" signed ENCODING UTF-8
         REGEX "^ -- .*>  ")
    if(signed)
      list(GET signed 0 signed)
      string(REGEX REPLACE "^ -- .*>  " "" signed "${signed}")
      execute_process(COMMAND date -u -d "${signed}" +%s OUTPUT_VARIABLE source_date
                      OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    endif()
  endif()
  if(source_date MATCHES "^[0-9]+$")
    set(ENV{SOURCE_DATE_EPOCH} ${source_date})
  else()
    message(WARNING "No SOURCE_DATE_EPOCH, commit or changelog date: the file dates are today's")
  endif()
endif()

if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_CUSTOM_INSTALL_VARIABLES MORVEL_LAYOUT=debian)
else()
  set(CPACK_CUSTOM_INSTALL_VARIABLES MORVEL_LAYOUT=archive)
endif()
