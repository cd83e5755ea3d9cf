# Cross-compiles for Windows with Debian's MinGW-w64. Included by mingw-i686.cmake and
# mingw-x86_64.cmake, which set QUENLAR_MINGW_ARCH first. The posix thread model gives the
# standard library's std::mutex, which GoogleTest needs; -static links winpthread in.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${QUENLAR_MINGW_ARCH})

set(QUENLAR_MINGW_PREFIX ${QUENLAR_MINGW_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER   ${QUENLAR_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUENLAR_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${QUENLAR_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUENLAR_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained executable: no libgcc, libstdc++ or winpthread DLLs beside it. No link time
# in the header either, so that the same sources give the same bytes (scripts/release.sh).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--gc-sections -Wl,--no-insert-timestamp")
set(CMAKE_C_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_CXX_FLAGS_INIT "-ffunction-sections -fdata-sections")
# A release build carries no symbols.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
