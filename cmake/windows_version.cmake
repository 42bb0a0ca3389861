# The four numbers of a version that Windows wants in a program's version information
# and manifest: "1.3" is 1.3.0.0 and "1.3.1" is 1.3.1.0. A fifth number would make the
# manifest invalid, and the program would not start.
function(morvel_four_part_version version out)
  if(NOT version MATCHES "^[0-9]+(\\.[0-9]+)?(\\.[0-9]+)?(\\.[0-9]+)?$")
    message(FATAL_ERROR "Windows takes a version of one to four numbers, not '${version}'")
  endif()
  string(REPLACE "." ";" parts "${version}")
  list(LENGTH parts count)
  while(count LESS 4)
    list(APPEND parts 0)
    math(EXPR count "${count} + 1")
  endwhile()
  list(JOIN parts "." dotted)
  set(${out} ${dotted} PARENT_SCOPE)
endfunction()

# cmake -DMORVEL_PRINT_VERSION=1.3 -P windows_version.cmake prints 1.3.0.0.
if(CMAKE_SCRIPT_MODE_FILE AND DEFINED MORVEL_PRINT_VERSION)
  morvel_four_part_version(${MORVEL_PRINT_VERSION} four)
  execute_process(COMMAND ${CMAKE_COMMAND} -E echo ${four})
endif()
