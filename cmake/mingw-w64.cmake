# Cross-build for 64-bit Windows with MinGW-w64 (Debian: g++-mingw-w64-x86-64-posix).
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# The posix flavour of the compiler provides std::thread (the read-ahead and
# kriging threads). Everything is linked statically, so vadz.exe needs no DLL
# beside it, only what Windows itself has.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VADZ_MINGW_PREFIX x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${VADZ_MINGW_PREFIX}-gcc-posix ${VADZ_MINGW_PREFIX}-gcc)
find_program(CMAKE_CXX_COMPILER NAMES ${VADZ_MINGW_PREFIX}-g++-posix ${VADZ_MINGW_PREFIX}-g++)
find_program(CMAKE_RC_COMPILER NAMES ${VADZ_MINGW_PREFIX}-windres)

# Libraries and headers of the target only, programs of the build machine.
# Target libraries installed elsewhere (a static libpng built with this file)
# are added with -DCMAKE_FIND_ROOT_PATH=<their prefix>.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${VADZ_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Static zlib (libz.a of libz-mingw-w64-dev), not its DLL import library,
# for a library that needs it (libpng).
set(ZLIB_USE_STATIC_LIBS ON)

# libgcc, libstdc++ and winpthread linked into the program.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Tests run through Wine when it is there (ctest, test discovery).
if(NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
  find_program(VADZ_WINE NAMES wine64 wine)
  if(VADZ_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${VADZ_WINE})
  endif()
endif()
