# The 64-bit edition (x86_64), for 64-bit Windows and for hosts whose Wine runs 64-bit code only.
set(QUENLAR_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
