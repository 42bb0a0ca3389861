# Everything the Windows build does differently, cross-built on Debian with MinGW-w64
# (packaging/windows/toolchain-mingw64.cmake).

# The Qt plugins' targets (the platform plugin, the style), which the folder ships: Debian's
# Qt from 6.8 on leaves them out of find_package unless asked.
set(QT_SKIP_AUTO_PLUGIN_INCLUSION OFF)

# The MinGW runtime the programs and Qt load: shipped beside them, and found by Wine when
# the tests run.
set(MORVEL_MINGW_RUNTIME)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll libssp-0.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${found}")
    message(FATAL_ERROR "The MinGW runtime ${dll} is not where the compiler looks")
  endif()
  list(APPEND MORVEL_MINGW_RUNTIME ${found})
endforeach()

# Programs built here run under Wine: the GoogleTest discovery at build time and CTest.
set(_dll_folders)
foreach(dll ${MORVEL_MINGW_RUNTIME})
  get_filename_component(folder ${dll} DIRECTORY)
  get_filename_component(folder ${folder} REALPATH)
  list(APPEND _dll_folders ${folder})
endforeach()
if(MORVEL_WINDOWS_QT)
  list(APPEND _dll_folders ${MORVEL_WINDOWS_QT}/bin)
endif()
list(REMOVE_DUPLICATES _dll_folders)
list(JOIN _dll_folders ":" _winepath)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/packaging/windows/wine-run.sh ${_winepath})
# The tests are listed when CTest runs, not by the build, which then needs no Wine.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)

# morvel-cli's command-line parser is header-only: its headers alone, never the rest of
# /usr/include, which is the build machine's own.
find_path(MORVEL_CLI11_HEADERS CLI/CLI.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH
          NO_DEFAULT_PATH REQUIRED)
file(COPY ${MORVEL_CLI11_HEADERS}/CLI DESTINATION ${CMAKE_BINARY_DIR}/cli11/include)
add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${CMAKE_BINARY_DIR}/cli11/include)
set(CLI11_FOUND TRUE)

include(${CMAKE_CURRENT_LIST_DIR}/windows_version.cmake)
# The icon, the version information (in Czech) and the manifest of a program:
# morvel_program_resources(TARGET DESCRIPTION GUI|CONSOLE). A GUI program opens no console
# window of its own.
function(morvel_program_resources target description kind)
  set(MORVEL_RC_NAME ${target})
  set(MORVEL_RC_DESCRIPTION ${description})
  morvel_four_part_version(${PROJECT_VERSION} MORVEL_RC_VERSION_DOTTED)
  string(REPLACE "." "," MORVEL_RC_VERSION "${MORVEL_RC_VERSION_DOTTED}")
  set(MORVEL_RC_ICON ${PROJECT_SOURCE_DIR}/assets/icons/morvel.ico)
  set(MORVEL_RC_MANIFEST ${CMAKE_BINARY_DIR}/windows/morvel.manifest)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/morvel.manifest.in
                 ${MORVEL_RC_MANIFEST} @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/program.rc.in
                 ${CMAKE_BINARY_DIR}/windows/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_BINARY_DIR}/windows/${target}.rc)
  if(kind STREQUAL "GUI")
    set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
  endif()
endfunction()
