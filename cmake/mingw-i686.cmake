# The main edition: 32-bit Windows (i686), which runs on every Windows the program supports.
set(QUENLAR_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
