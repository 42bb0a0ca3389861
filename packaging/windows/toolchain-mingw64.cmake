# Cross-builds for 64-bit Windows with Debian's MinGW-w64 (the POSIX thread model, which
# Qt's std::thread needs). Used for Qt itself and for the game, so both agree on the
# runtime. MORVEL_WINDOWS_QT (in the environment at the first configure, kept in the
# cache after) is the Qt built for Windows to find packages in.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${_triplet}-windres)
set(CMAKE_AR ${_triplet}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${_triplet}-gcc-ranlib-posix CACHE FILEPATH "")
set(CMAKE_STRIP ${_triplet}-strip CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${_triplet})
if(NOT MORVEL_WINDOWS_QT AND DEFINED ENV{MORVEL_WINDOWS_QT})
  set(MORVEL_WINDOWS_QT $ENV{MORVEL_WINDOWS_QT} CACHE PATH "The Qt built for Windows")
endif()
if(MORVEL_WINDOWS_QT)
  list(APPEND CMAKE_FIND_ROOT_PATH ${MORVEL_WINDOWS_QT})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No link time in the PE headers, so that two builds of the same sources give the same
# bytes.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-Wl,--no-insert-timestamp")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-Wl,--no-insert-timestamp")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-Wl,--no-insert-timestamp")
