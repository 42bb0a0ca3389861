# GoogleTest from Debian's googletest sources, built with the tests where no GoogleTest
# of the target's own is installed: for Windows, and for WebAssembly (wasm32-wasi), which
# has no threads and none of the file-descriptor calls GoogleTest captures output with.
macro(morvel_bundled_gtest)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  if(CMAKE_SYSTEM_NAME STREQUAL "WASI")
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  endif()
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # Not our code: its warnings are not ours to fail on.
  target_compile_options(gtest PRIVATE -w)
  target_compile_options(gtest_main PRIVATE -w)
  if(CMAKE_SYSTEM_NAME STREQUAL "WASI")
    # Its own build asks for exceptions, which this target cannot link: the later flag wins.
    target_compile_options(gtest PRIVATE -fno-exceptions)
    target_compile_definitions(gtest PUBLIC GTEST_HAS_STREAM_REDIRECTION=0)
    # Newer GoogleTest includes <csignal>, which this target's C library offers only as
    # its emulation (Debian 13's refuses the header otherwise).
    target_compile_definitions(gtest PRIVATE _WASI_EMULATED_SIGNAL)
    target_link_libraries(gtest PUBLIC wasi-emulated-signal)
  endif()
  if(NOT TARGET GTest::gtest_main)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()
endmacro()
