# GoogleTest for the core's tests: the installed package, or, when
# cross-building for Windows, built here from a source folder (Debian's
# googletest package ships one in /usr/src/googletest).
set(PLIEGO_GTEST_SOURCE "" CACHE PATH "Build GoogleTest from this source folder instead of the installed package")
if(PLIEGO_GTEST_SOURCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(${PLIEGO_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  if(NOT TARGET GTest::gtest_main)
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()
else()
  find_package(GTest REQUIRED)
endif()
