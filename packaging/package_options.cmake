# Read by CPack for each generator: the DEB follows Debian's layout for games, the archive
# keeps the movable folder. The install rules read MORVEL_LAYOUT.
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_CUSTOM_INSTALL_VARIABLES MORVEL_LAYOUT=debian)
else()
  set(CPACK_CUSTOM_INSTALL_VARIABLES MORVEL_LAYOUT=archive)
endif()
