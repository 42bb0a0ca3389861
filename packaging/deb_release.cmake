# The Debian revision and the changelog's distribution of a package made on this system,
# read from its os-release file:
#  - Debian N: 1~debN and the release's code name. Packages from outside the archive say
#    the release they were made for: 1.3-1~deb12 sorts before 1.3-1~deb13, so upgrading
#    Debian 12 to 13 and installing the package made for 13 is an upgrade;
#  - Debian testing or unstable, which have no release number: 1 and unstable, as uploads
#    there say (1.3-1 sorts after every 1.3-1~debN);
#  - any other system (Ubuntu, say): 1 and its code name, or unstable without one.
#
# As a script, for the tests: cmake -DOS_RELEASE=FILE -DVERSION=V -DCHANGELOG=OUT -P this
# writes the changelog that a package made there would carry.
function(morvel_deb_release os_release out_release out_distribution)
  foreach(key ID VERSION_ID VERSION_CODENAME)
    set(${key} "")
  endforeach()
  if(EXISTS "${os_release}")
    file(STRINGS "${os_release}" lines REGEX "^(ID|VERSION_ID|VERSION_CODENAME)=")
    foreach(line IN LISTS lines)
      if(line MATCHES "^([A-Z_]+)=[\"']?([^\"']*)[\"']?$")
        set(${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
      endif()
    endforeach()
  endif()
  set(release 1)
  set(distribution unstable)
  if(ID STREQUAL "debian" AND VERSION_ID MATCHES "^[0-9]+$")
    set(release "1~deb${VERSION_ID}")
  endif()
  # A code name is a distribution's name only where it is a plain word; on Debian without
  # a release number it names testing, whose uploads go to unstable.
  if(VERSION_CODENAME MATCHES "^[a-z][a-z0-9-]*$" AND
     NOT (ID STREQUAL "debian" AND NOT VERSION_ID MATCHES "^[0-9]+$"))
    set(distribution "${VERSION_CODENAME}")
  endif()
  set(${out_release} "${release}" PARENT_SCOPE)
  set(${out_distribution} "${distribution}" PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  morvel_deb_release("${OS_RELEASE}" MORVEL_DEB_RELEASE MORVEL_DEB_DISTRIBUTION)
  set(MORVEL_DEB_VERSION "${VERSION}-${MORVEL_DEB_RELEASE}")
  configure_file("${CMAKE_CURRENT_LIST_DIR}/changelog.Debian.in" "${CHANGELOG}" @ONLY)
endif()
