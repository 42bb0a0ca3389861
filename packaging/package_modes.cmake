# Run by CPack before and after it makes the packages, so that their bytes do not depend
# on the builder's umask. CPack copies the modes of what it finds on disk: of the folders
# in its staging area, which it makes with the builder's umask, and, for a .deb, of the
# three files it puts in the package's ar archive.
if(NOT DEFINED CPACK_PACKAGE_FILES)
  # Before: every folder of the package 755, as Debian has them.
  file(CHMOD_RECURSE "${CPACK_TEMPORARY_DIRECTORY}" DIRECTORY_PERMISSIONS
       OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  return()
endif()

# After: in each .deb, the mode of every ar member (8 octal digits and blanks, 40 bytes
# into its 60-byte header) becomes 100644, as dpkg-deb writes it.
file(WRITE "${CPACK_TOPLEVEL_DIRECTORY}/ar-mode" "100644  ")
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(NOT package MATCHES "\\.deb$")
    continue()
  endif()
  file(SIZE "${package}" size)
  set(offset 8)  # past "!<arch>\n"
  while(offset LESS size)
    file(READ "${package}" header OFFSET ${offset} LIMIT 60)
    string(SUBSTRING "${header}" 48 10 length)
    string(STRIP "${length}" length)
    if(NOT length MATCHES "^[0-9]+$")
      message(FATAL_ERROR "${package}: no ar member header at byte ${offset}")
    endif()
    math(EXPR at "${offset} + 40")
    execute_process(COMMAND dd "of=${package}" bs=1 seek=${at} count=8 conv=notrunc status=none
                    INPUT_FILE "${CPACK_TOPLEVEL_DIRECTORY}/ar-mode" RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "${package}: the mode of its ar member at byte ${offset} is not set")
    endif()
    math(EXPR offset "${offset} + 60 + ${length} + ${length} % 2")
  endwhile()
endforeach()
