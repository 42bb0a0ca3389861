# Cross-compiling the game's Qt-free modules for WebAssembly (wasm32-wasi) with Debian's
# clang, wasi-libc and libc++: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/wasm32-wasi.cmake.
# There libc++ has no <filesystem>, a linked throw fails and there are no threads.
set(CMAKE_SYSTEM_NAME WASI)
set(CMAKE_SYSTEM_PROCESSOR wasm32)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasi)
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
# Debian 12's clang 14 does not look for libc++'s headers of this target by itself: the
# folder that libc++'s package for it installs them into is given (the caller finds it in
# the package's file list).
if(MORVEL_WASM_LIBCXX_INCLUDE)
  set(CMAKE_CXX_FLAGS_INIT "-nostdinc++ -isystem ${MORVEL_WASM_LIBCXX_INCLUDE}")
endif()
set(CMAKE_CXX_FLAGS_INIT "${CMAKE_CXX_FLAGS_INIT} -fno-exceptions")
# The header folder above is no concern of the link.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-Wno-unused-command-line-argument")
# wasm-ld wants an index in every archive, which only LLVM's archiver writes for
# WebAssembly objects (binutils' ar leaves it out).
find_program(MORVEL_LLVM_AR NAMES llvm-ar REQUIRED)
find_program(MORVEL_LLVM_RANLIB NAMES llvm-ranlib REQUIRED)
set(CMAKE_AR ${MORVEL_LLVM_AR} CACHE FILEPATH "" FORCE)
set(CMAKE_RANLIB ${MORVEL_LLVM_RANLIB} CACHE FILEPATH "" FORCE)
