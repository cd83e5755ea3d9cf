# GoogleTest: the system's package natively; for Windows, built from the system's sources with
# the cross compiler, and run through Wine by CTest.
if(WIN32)
  set(QUENLAR_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources to cross-compile")
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  add_subdirectory(${QUENLAR_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  # GoogleTest's own sources are not held to the project's -Werror.
  foreach(_t gtest gtest_main gmock gmock_main)
    target_compile_options(${_t} PRIVATE -Wno-error)
  endforeach()
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine/run-test.sh)
else()
  find_package(GTest REQUIRED)
endif()
