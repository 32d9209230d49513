# GoogleTest for the tests: CMake's GTest package where one is
# installed for this target (CMAKE_FIND_ROOT_PATH keeps the cross build from
# taking the build machine's), otherwise built from the sources in
# BRISKO_GOOGLETEST_SOURCE. Either way GTest::gtest_main. No test needs
# GoogleMock: the fake host of tests/support records every call.
include_guard(GLOBAL)

set(BRISKO_GOOGLETEST_SOURCE "/usr/src/googletest" CACHE PATH
    "GoogleTest sources, built for the target when no GTest package fits it")
find_package(GTest CONFIG QUIET)
if(NOT TARGET GTest::gtest_main)
  if(NOT EXISTS "${BRISKO_GOOGLETEST_SOURCE}/CMakeLists.txt")
    message(FATAL_ERROR "No GTest package for this target and no GoogleTest sources in "
                        "BRISKO_GOOGLETEST_SOURCE (${BRISKO_GOOGLETEST_SOURCE}); run tools/setup.sh")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(${BRISKO_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  message(STATUS "GoogleTest: built from ${BRISKO_GOOGLETEST_SOURCE}")
else()
  message(STATUS "GoogleTest: the GTest package in ${GTest_DIR}")
endif()

# The Windows target's compilers use the win32 threading model, whose C++
# library (GCC 12) has no std::mutex: tests/support/gtest_notification.h
# supplies the one GoogleTest class that needs it, for GoogleTest and every
# program that uses it.
if(BRISKO_WINDOWS AND TARGET gtest)
  target_compile_options(gtest PUBLIC
                         "SHELL:-include ${CMAKE_SOURCE_DIR}/tests/support/gtest_notification.h")
endif()
