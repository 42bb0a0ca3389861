# Writes the desktop entry while installing; included by the install script with
# MORVEL_APP_ID, MORVEL_ENTRY_IN (the template), MORVEL_ENTRY (where it goes), MORVEL_BINDIR
# and, for a package or an archive, MORVEL_LAYOUT set.
if(DEFINED MORVEL_LAYOUT)
  # A package or an archive can be unpacked anywhere: the program is found on the PATH
  # (Debian puts /usr/games on it).
  set(MORVEL_EXEC morvel)
else()
  set(MORVEL_EXEC "${CMAKE_INSTALL_PREFIX}/${MORVEL_BINDIR}/morvel")
  # A path with blanks or reserved characters is quoted by freedesktop's rules for Exec:
  # ", `, $ and \ escaped inside the quotes, and every backslash escaped once more for the
  # string value.
  if(MORVEL_EXEC MATCHES "[ \t\"`$\\]")
    string(REPLACE "\\" "\\\\\\\\" MORVEL_EXEC "${MORVEL_EXEC}")
    string(REGEX REPLACE "([\"`$])" "\\\\\\\\\\1" MORVEL_EXEC "${MORVEL_EXEC}")
    set(MORVEL_EXEC "\"${MORVEL_EXEC}\"")
  endif()
endif()
configure_file("${MORVEL_ENTRY_IN}" "${MORVEL_ENTRY}" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${MORVEL_ENTRY}")
